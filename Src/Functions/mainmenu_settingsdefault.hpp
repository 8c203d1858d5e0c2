// The menu command that edits the stored import settings.
#ifndef VELMORA_MAINMENU_SETTINGSDEFAULT_HPP
#define VELMORA_MAINMENU_SETTINGSDEFAULT_HPP

class mainmenu_settingsdefault {
public:
	// Runs the command; it reports its own failures.
	void do_it();
};

#endif
