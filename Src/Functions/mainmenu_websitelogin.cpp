#include "Functions/mainmenu_websitelogin.hpp"

#include "Functions/WebCommand.hpp"

void mainmenu_websitelogin::do_it()
{
	OpenUrlField(&url_ini::open_main, "Error point: VELMORA / MenuWebsiteLogin() / t_url->init() / ");
}
