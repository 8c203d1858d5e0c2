#include "Functions/mainmenu_support.hpp"

void mainmenu_support::do_it()
{
	// Not built yet: the command does nothing, and reports nothing.
}
