// The menu command that edits the stored import settings in one modal dialog and saves them
// to the user's settings file when the dialog is closed with OK.
#ifndef VELMORA_MAINMENU_SETTINGSDEFAULT_HPP
#define VELMORA_MAINMENU_SETTINGSDEFAULT_HPP

#include "Location.hpp"

// Dialog resource ids (Norwegian: the other id plus 20) and the lock images of item 104.
constexpr short SettingsDialogId = 32502;
constexpr short SettingsDialogIdNorwegian = 32522;
constexpr short LockedImageId = 32731;
constexpr short UnlockedImageId = 32732;

extern const char* const settings_init_error_prefix; // "Error point: VELMORA / MenuTerrainSettingsOpen() / t_config->init() / "
extern const char* const settings_save_error_prefix; // "... / t_config->save() / "

class mainmenu_settingsdefault {
public:
	// What the command's reports begin with ("Error point: VELMORA / MenuTerrainSettingsOpen() /
	// "). Anything thrown in the command or one of its dialog callbacks is reported once with it
	// and "Internal error: "; the callback then answers 0.
	static const char* const report_prefix;

	// Loads the settings (an alert with the init prefix and no dialog when that fails), shows
	// the settings dialog, and saves on OK (an alert with the save prefix when that fails).
	// Cancel saves nothing.
	void do_it();

	// The dialog callback. userData is the address of the four-pointer record of
	// SettingDialogFunctions.hpp. Answers 1 to close on a click of OK (1) or Cancel (2); for
	// message 10, 0 (typing allowed) for items 32..59, 103, 108 and 114 and 1 for the rest;
	// otherwise 0.
	static short settings_dg_handler(short message, short dialID, short item, long long userData, long long msgData);
};

// A folder dialog. out becomes the chosen folder, or the folder of a chosen file; it is left
// empty when the user cancels.
void SelectUserWorkFolder(IO::Location* out);

#endif
