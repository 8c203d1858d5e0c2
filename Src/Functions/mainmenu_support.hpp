// The menu command that opens the support page.
#ifndef VELMORA_MAINMENU_SUPPORT_HPP
#define VELMORA_MAINMENU_SUPPORT_HPP

class mainmenu_support {
public:
	// Runs the command; it reports its own failures.
	void do_it();
};

#endif
