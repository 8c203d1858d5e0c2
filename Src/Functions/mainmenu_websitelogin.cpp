#include "Functions/mainmenu_websitelogin.hpp"

void mainmenu_websitelogin::do_it()
{
	// Not built yet: the command does nothing, and reports nothing.
}
