#include "Functions/mainmenu_websitelogin.hpp"

#include "Functions/WebCommand.hpp"

const char* const mainmenu_websitelogin::report_prefix = "Error point: VELMORA / MenuWebsiteLogin() / ";

void mainmenu_websitelogin::do_it()
{
	OpenUrlField(&url_ini::open_main, "Error point: VELMORA / MenuWebsiteLogin() / t_url->init() / ");
}
