// The menu command that shows the help dialog.
#ifndef VELMORA_MAINMENU_HELP_HPP
#define VELMORA_MAINMENU_HELP_HPP

class mainmenu_help {
public:
	// Runs the command; it reports its own failures.
	void do_it();
};

#endif
