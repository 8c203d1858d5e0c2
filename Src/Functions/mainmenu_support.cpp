#include "Functions/mainmenu_support.hpp"

#include "Functions/WebCommand.hpp"

const char* const mainmenu_support::report_prefix = "Error point: VELMORA / MenuSupportOpen() / ";

void mainmenu_support::do_it()
{
	OpenUrlField(&url_ini::support_main, "Error point: VELMORA / MenuSupportOpen() / t_url->init() / ");
}
