// The add-on's resource file: a text format of our own.
//
//   # comment
//   strings 32000              a string list; its items are numbered from 1
//     "Velmora"
//     "Imports map data."
//   end
//   dialog 32502 "Title"       a dialog and its items
//     item 1 button "OK"
//     item 35 int "" value 1 min 1 max 255 disabled hidden
//     item 36 popup "" entry "Pen" entry "Fill" value 1   popup entries, the selected one
//     item 15 list columns 11 entry "row 1"               tab columns; rows (first cell)
//     item 104 icon image 32731                           the icon or image shown
//   end
//   icon 32100 "icons/x.png"   an icon or image file, relative to the resource file
//   image 32200 "images/y.png"
//
// Texts are UTF-8 in double quotes, with \" and \\ as escapes.
#ifndef VHOST_RESOURCES_HPP
#define VHOST_RESOURCES_HPP

#include <map>
#include <string>
#include <vector>

#include "UniString.hpp"

namespace vhost {

struct DialogItemDef {
	Int16 id = 0;
	std::string kind;      // button, text, edit, int, real, check, radio, popup, list, usercontrol, icon, picture, ...
	GS::UniString text;
	double value = 0.0;
	double minValue = 0.0;
	double maxValue = 0.0;
	bool enabled = true;
	bool hidden = false;
	std::vector<GS::UniString> entries; // popup entries or list rows
	Int16 columns = 0;                  // list tab columns (0: one plain column)
	Int16 image = 0;                    // icon or image resource id
};

struct DialogDef {
	Int16 id = 0;
	GS::UniString title;
	std::vector<DialogItemDef> items;
};

struct Resources {
	std::map<Int16, std::vector<GS::UniString>> strings;
	std::map<Int16, DialogDef> dialogs;
	std::map<Int16, std::string> icons;   // id -> absolute file path
	std::map<Int16, std::string> images;
};

// Parses resource text. On a syntax error answers false with "line N: why" in error.
bool ParseResources(const std::string& text, const std::string& baseFolder, Resources& out, std::string& error);
bool LoadResources(const std::string& path, Resources& out, std::string& error);

// The resources of the current project's add-on (loaded on first use from its resource file).
const Resources& AddonResources();

} // namespace vhost

#endif
