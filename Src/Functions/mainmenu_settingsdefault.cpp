#include "Functions/mainmenu_settingsdefault.hpp"

void mainmenu_settingsdefault::do_it()
{
	// Not built yet: the command does nothing, and reports nothing.
}
