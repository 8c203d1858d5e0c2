// The menu command that shows the help dialog: the user guide, the tutorial videos and the
// terrain data web page, from the addresses of "url.txt".
#ifndef VELMORA_MAINMENU_HELP_HPP
#define VELMORA_MAINMENU_HELP_HPP

#include "Location.hpp"

// Help dialog resources (other languages, Norwegian) and its items.
constexpr short kHelpDialogId = 32503;
constexpr short kHelpDialogIdNorwegian = 32523;
constexpr short kHelpClose = 1;
constexpr short kHelpUserGuide = 3;
constexpr short kHelpTutorialVideos = 5;
constexpr short kHelpTerrainData = 7;

class mainmenu_help {
public:
	// What the command's reports begin with ("Error point: VELMORA / MenuHelpOpen() / "). Anything
	// thrown in the command or one of its dialog callbacks is reported once with it and "Internal
	// error: "; the callback then answers 0.
	static const char* const report_prefix;

	// Reads "url.txt" anew and shows the help dialog; when the file cannot be read, reports
	// why and shows nothing.
	void do_it();

	// The dialog's callback; user data is the command's url_ini. Item 1 closes the dialog;
	// items 3, 5 and 7 open their target and keep it open.
	static short help_dg_handler(short message, short dialID, short item, long long userData, long long msgData);
	// The user guide file beside the add-on (only when it exists; nothing is reported).
	static void select_user_guide(void** urls);
	static void select_tutorial_videos(void** urls);
	static void select_terrain_data_web_page(void** urls);
};

// Opens an existing file with the system ("open" and the path quoted for the shell); a file
// that does not exist opens nothing. Always 0.
int OpenFileWithSystem(const IO::Location& file);

#endif
