// The menu command that shows the about dialog.
#ifndef VELMORA_MAINMENU_ABOUT_HPP
#define VELMORA_MAINMENU_ABOUT_HPP

class mainmenu_about {
public:
	// Runs the command; it reports its own failures.
	void do_it();
};

#endif
