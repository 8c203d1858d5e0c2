#include "Functions/mainmenu_help.hpp"

void mainmenu_help::do_it()
{
	// Not built yet: the command does nothing, and reports nothing.
}
