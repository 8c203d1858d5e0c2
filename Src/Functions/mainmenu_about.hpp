// The menu command that shows the about dialog with the add-on's version and build date.
#ifndef VELMORA_MAINMENU_ABOUT_HPP
#define VELMORA_MAINMENU_ABOUT_HPP

#include "UniString.hpp"

// About dialog resources (other languages, Norwegian) and its items.
constexpr short kAboutDialogId = 32504;
constexpr short kAboutDialogIdNorwegian = 32524;
constexpr short kAboutClose = 1;
constexpr short kAboutVersionText = 4;
constexpr short kAboutDateText = 5;

class mainmenu_about {
public:
	// What the command's reports begin with ("Error point: VELMORA / MenuAbout() / "). Anything
	// thrown in the command or one of its dialog callbacks is reported once with it and "Internal
	// error: "; the callback then answers 0.
	static const char* const report_prefix;

	// Shows the about dialog.
	void do_it();

	// The dialog's callback: on open, every "{0}" of item 4's text becomes the version
	// ("3.0.5") and of item 5's text the build date ("2025.10.15"); item 1 closes it.
	static short about_dg_handler(short message, short dialID, short item, long long userData, long long msgData);
};

// The build date as shown: every "/" and "-" becomes ".".
GS::UniString AboutDateText();
// The version as shown: "major.minor.patch".
GS::UniString AboutVersionText();

#endif
