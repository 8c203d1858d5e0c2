// The menu command that opens the support page.
#ifndef VELMORA_MAINMENU_SUPPORT_HPP
#define VELMORA_MAINMENU_SUPPORT_HPP

class mainmenu_support {
public:
	// What the command's reports begin with ("Error point: VELMORA / MenuSupportOpen() / ").
	// Anything thrown in the command is reported once with it and "Internal error: ".
	static const char* const report_prefix;

	// Runs the command; it reports its own failures.
	void do_it();
};

#endif
