// The import command: the projects of the user's import folder in one dialog, where the user
// ticks the layers to import, adds a project from a ZIP file or deletes project folders;
// then the import colours for this import only, the import run and the project geolocation.
#ifndef VELMORA_MAINMENU_IMPORTMAP_HPP
#define VELMORA_MAINMENU_IMPORTMAP_HPP

#include "Location.hpp"
#include "UniString.hpp"

extern const char* const import_init_error_prefix; // "Error point: VELMORA / MenuImportMap() / t_config->init() / "

// Dialog resource ids (the Norwegian one is the other plus 20).
constexpr short ImportProjectDialogId = 32501;
constexpr short ImportDeleteQuestionDialogId = 32505;
constexpr short ImportDeleteFailuresDialogId = 32506;
constexpr short ImportColorsDialogId = 32508;
constexpr short ImportProjectExistsDialogId = 32509;
constexpr short ImportGeolocationDialogId = 32510;
// The project list's icons: ticked (or marked for deletion), not ticked, file absent.
constexpr short ImportIconOn = 32728;
constexpr short ImportIconOff = 32729;
constexpr short ImportIconAbsent = 32730;

// What the project, delete and delete-failure dialogs get as user data: four pointers. The
// import colours dialog gets the same with the last one replaced by the working settings;
// the geolocation question gets only a pointer to the result.
enum ImportDialogRecordEntry {
	ImportRecordScan = 0,     // import_folder_scan*
	ImportRecordDialogId = 1, // short*: the resource id the dialog was opened with
	ImportRecordResult = 2,   // Int32*: what the dialog answered (0 before it opens)
	ImportRecordRow = 3,      // short*: the selected project row, 1-based (0: none)
	ImportRecordMinor = 3,    // terrain_import_ini*: the colours dialog's working settings
	ImportRecordSize = 4
};

class mainmenu_importmap {
public:
	// What the command's reports begin with ("Error point: VELMORA / MenuImportMap() / ").
	// Anything thrown in the command or one of its dialog callbacks is reported once with it and
	// "Internal error: "; the callback then answers 0.
	static const char* const report_prefix;

	// Runs the command; it reports its own failures.
	void do_it();

	// The dialogs' callbacks (message, dialog id, item, user data record, message data); a
	// non-zero answer to a click closes the dialog.
	// Project list: result 1 import (the selected project is chosen), 0 cancel, 2 add ZIP,
	// 3 delete; ticks and delete marks are set by clicks on the list's cells.
	static short project_selection_dg_handler(short message, short dialID, short item, long long userData, long long msgData);
	// Result 1 yes, 0 no.
	static short delete_alert_dg_handler(short message, short dialID, short item, long long userData, long long msgData);
	// Shows the result (the number of failures) in item 3.
	static short delete_error_dg_handler(short message, short dialID, short item, long long userData, long long msgData);
	// The working settings of this import through the settings dialog's functions; item 4
	// reloads the included categories from the stored settings. Result 1 OK, 0 cancel.
	static short import_colors_dg_handler(short message, short dialID, short item, long long userData, long long msgData);
	static short import_alert_dg_handler(short message, short dialID, short item, long long userData, long long msgData);
	// User data: an Int32* result; 1 for item 1 (yes), 2 for any other item.
	static short import_confirmation_dg_handler(short message, short dialID, short item, long long userData, long long msgData);
};

// Lets the user pick one ZIP file; out is empty when cancelled.
void SelectZIPFile(IO::Location* out);

// The shell command that expands zip into the folder target, every path one quoted argument
// so that no name can break it: "ditto -x -k" with POSIX shell quoting (posixShell), else
// PowerShell's Expand-Archive with literal paths, handed over encoded (-EncodedCommand:
// Base64 of the script's UTF-16 units) so that the command interpreter expands nothing.
GS::UniString ZipExpandCommand(const IO::Location& zip, const IO::Location& target, bool posixShell);

#endif
