// The value items of the settings dialog, shared by every dialog that shows the import
// settings with the same item numbers (the settings command and the import colours).
//
// Items, for category i (0..6, in terrain_category_names order):
//   25+i include box; numbers 32+i pen, 39+i fill, 46+i fill pen, 53+i background pen;
//   pickers 60+i, 67+i, 74+i, 81+i showing the same values; surface picker 88+i; layer
//   picker 95+i. 107 the 2D base map's include box, 108 its pen (picker 109), 110 its layer;
//   113 the surroundings model's include box, 114 its pen (picker 115), 116 its layer;
//   117 the buildings' second surface.
#ifndef VELMORA_SETTINGDIALOGFUNCTIONS_HPP
#define VELMORA_SETTINGDIALOGFUNCTIONS_HPP

#include "Classes/terrain_import_ini.hpp"

// What a settings dialog's user data points at: an array of four pointers. The shared
// functions read only the first two entries.
enum SettingsDialogRecordEntry {
	SettingsRecordConfig = 0,   // terrain_import_ini* being edited
	SettingsRecordDialogId = 1, // short*: the resource id the dialog was opened with
	SettingsRecordAccepted = 2, // bool*: true once closed with OK
	SettingsRecordLocked = 3,   // bool*: the import folder's text is locked
	SettingsRecordSize = 4
};

// The host's user-control types of the pickers.
enum SettingsPickerType : Int32 {
	PickerPen = 0,
	PickerBackgroundPen = 1,
	PickerFill = 2,
	PickerSurface = 17,
	PickerLayer = 18
};

namespace SettingDialogFunctions {

// Enables tool tips, sets the include boxes from the flags, sets up every picker (before its
// value) and fills every number and picker from the settings.
void InitFunctions(terrain_import_ini* config, void** record);
// Copies the changed item's value to its partner (a number and its picker); an item without
// a partner changes nothing.
void ChangeFunctions(terrain_import_ini* config, void** record, short item);
// Reads pens, fills and background pens from the numbers, surfaces and layers from the
// pickers, each held at the 16-bit limits (70000 is 32767). Include flags and the folder
// are left to the caller.
void CloseFunctions(terrain_import_ini* config, void** record);

// The partner of an item (see ChangeFunctions), or 0 when it has none.
short PartnerItem(short item);

} // namespace SettingDialogFunctions

#endif
