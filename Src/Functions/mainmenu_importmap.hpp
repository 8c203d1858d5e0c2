// The menu command that imports a map package from the user's import folder.
#ifndef VELMORA_MAINMENU_IMPORTMAP_HPP
#define VELMORA_MAINMENU_IMPORTMAP_HPP

class mainmenu_importmap {
public:
	// Runs the command; it reports its own failures.
	void do_it();
};

#endif
