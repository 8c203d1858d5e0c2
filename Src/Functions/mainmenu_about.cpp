#include "Functions/mainmenu_about.hpp"

void mainmenu_about::do_it()
{
	// Not built yet: the command does nothing, and reports nothing.
}
