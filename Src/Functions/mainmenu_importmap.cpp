#include "Functions/mainmenu_importmap.hpp"

void mainmenu_importmap::do_it()
{
	// Not built yet: the command does nothing, and reports nothing.
}
