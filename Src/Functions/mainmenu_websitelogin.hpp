// The menu command that opens the map website's login page.
#ifndef VELMORA_MAINMENU_WEBSITELOGIN_HPP
#define VELMORA_MAINMENU_WEBSITELOGIN_HPP

class mainmenu_websitelogin {
public:
	// What the command's reports begin with ("Error point: VELMORA / MenuWebsiteLogin() / ").
	// Anything thrown in the command is reported once with it and "Internal error: ".
	static const char* const report_prefix;

	// Runs the command; it reports its own failures.
	void do_it();
};

#endif
