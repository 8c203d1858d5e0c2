// The host's dialog layer (DG) as the add-on calls it: modal dialogs with one callback each,
// their items, alerts, and file and folder dialogs.
//
// A modal dialog is described in the add-on's resource file (see vhost/Resources.hpp); its
// items start with the values, texts, states and images written there. Inside this host
// every dialog is played by the UI script (see vhost/Script.hpp): the host sends
// DG_MSG_INIT, plays the script's steps for it, and sends DG_MSG_CLOSE.
//
// Item calls address an open dialog by the id its callback receives (the resource id). A
// call on a dialog that is not open, on an item the dialog lacks, or of the wrong kind
// changes nothing, answers a zero or empty value, and is recorded as a dialog fault, which
// fails the run. Rows, columns and popup entries are numbered from 1.
#ifndef VHOST_DG_H
#define VHOST_DG_H

#include <string>
#include <vector>

#include "APIdefs_Base.h"
#include "Location.hpp"

// Spelled out as long long: the add-on's callbacks take 64-bit user and message data.
using DGUserData = long long;
using DGMessageData = long long;
using DGDialCallBack = short (*)(short message, short dialID, short item, DGUserData userData, DGMessageData msgData);

// Messages the host sends to a dialog callback.
constexpr short DG_MSG_INIT = 1;       // the dialog opened; item 0. Answer 0.
constexpr short DG_MSG_CLOSE = 3;      // the dialog is closing; item is the one that closed it
                                       // (DG_CANCEL when the host cancelled it). Answer 0.
constexpr short DG_MSG_CLICK = 4;      // item was clicked; a non-zero answer closes the dialog.
                                       // For a list, msgData is the address of a DGListClickData.
constexpr short DG_MSG_CHANGE = 6;     // the user changed item's value or text. Answer 0.
constexpr short DG_MSG_FILTERCHAR = 10;// a key is about to be typed into an edit or number item;
                                       // a non-zero answer refuses it.

// Item ids of the usual buttons; DGModalDialog answers DG_CANCEL when the host cancelled.
constexpr short DG_OK = 1;
constexpr short DG_CANCEL = 2;

// Positions for inserting at the end and for deleting every entry or row.
constexpr short DG_LIST_BOTTOM = -1;
constexpr short DG_POPUP_BOTTOM = -1;
constexpr short DG_ALL_ITEMS = -2;

// What a click on a list carries: the clicked row and tab column. The host selects the
// row before it sends the click.
struct DGListClickData {
	short row;
	short column;
};

// Opens dialog resId of the resource module and runs it to its end. The callback gets the
// messages above with resId as the dialog id and userData as given. Answers the item that
// closed the dialog; DG_CANCEL when the host cancelled it; 0 when it could not open (an
// unknown dialog or module, no callback).
short DGModalDialog(GSResModule dialResModule, short resId, GSResModule dialIconResModule, DGDialCallBack callback,
	DGUserData userData);

// Values. A popup's or a list's value is its selected entry or row (0 when none). Setting a
// value keeps it within the item's range when its minimum is below its maximum.
Int32 DGGetItemValLong(short dialID, short item);
void DGSetItemValLong(short dialID, short item, Int32 value);
double DGGetItemValDouble(short dialID, short item);
void DGSetItemValDouble(short dialID, short item, double value);
void DGSetItemMinLong(short dialID, short item, Int32 minValue);
void DGSetItemMaxLong(short dialID, short item, Int32 maxValue);

// Texts. A popup's text is the text of its selected entry.
GS::UniString DGGetItemText(short dialID, short item);
void DGSetItemText(short dialID, short item, const GS::UniString& text);

// States. A disabled or hidden item cannot be clicked or changed by the user.
void DGEnableItem(short dialID, short item);
void DGDisableItem(short dialID, short item);
bool DGIsItemEnabled(short dialID, short item);
void DGShowItem(short dialID, short item);
void DGHideItem(short dialID, short item);
bool DGIsItemVisible(short dialID, short item);

// Shows icon or image imageResId of the resource module in the item; it must exist there.
void DGSetItemImage(short dialID, short item, GSResModule resModule, short imageResId);
short DGGetItemImage(short dialID, short item); // 0 when none

// Tool tips of dialog items, for the whole host.
void DGEnableToolTips();
void DGDisableToolTips();
bool DGIsToolTipsEnabled();

// Popup items. Insert makes an empty entry at pos (1..count+1, or DG_POPUP_BOTTOM) and
// answers false for any other position. Deleting the selected entry clears the selection.
bool DGPopUpInsertItem(short dialID, short item, short pos);
void DGPopUpDeleteItem(short dialID, short item, short pos); // pos or DG_ALL_ITEMS
void DGPopUpSetItemText(short dialID, short item, short pos, const GS::UniString& text);
GS::UniString DGPopUpGetItemText(short dialID, short item, short pos);
void DGPopUpSelectItem(short dialID, short item, short pos);
short DGPopUpGetSelected(short dialID, short item);
short DGPopUpGetItemCount(short dialID, short item);

// List boxes with one selected row. A list without tab fields has one column. Insert makes
// an empty row at pos (1..count+1, or DG_LIST_BOTTOM).
bool DGListInsertItem(short dialID, short item, short pos);
void DGListDeleteItem(short dialID, short item, short pos); // pos or DG_ALL_ITEMS
short DGListGetItemCount(short dialID, short item);
void DGListSetItemText(short dialID, short item, short row, short tab, const GS::UniString& text);
GS::UniString DGListGetItemText(short dialID, short item, short row, short tab);
void DGListSetTabItemIcon(short dialID, short item, short row, short tab, GSResModule resModule, short iconResId);
short DGListGetTabItemIcon(short dialID, short item, short row, short tab); // 0 when none
void DGListSelectItem(short dialID, short item, short row);
void DGListDeselectItem(short dialID, short item, short row);
short DGListGetSelected(short dialID, short item); // 0 when none
void DGListSetItemUserData(short dialID, short item, short row, DGUserData value);
DGUserData DGListGetItemUserData(short dialID, short item, short row);
// Sets the number of tab columns (1..255); rows keep the cells that still fit.
bool DGListSetTabFieldCount(short dialID, short item, short count);
short DGListGetTabFieldCount(short dialID, short item);
// Layout of tab column tab: its span, justification and truncation codes, separator, state.
bool DGListSetTabData(short dialID, short item, short tab, short begPos, short endPos, Int32 justification,
	Int32 truncation, bool hasSeparator, bool enabled);

// Alert types (recorded only).
constexpr short DG_ERROR = 0;
constexpr short DG_INFORMATION = 1;
constexpr short DG_WARNING = 2;

// A modal alert with up to three buttons; empty button texts at the end are no buttons, and
// an alert without any has one "OK" button. Answers the button the script's 'alert N' step
// pressed (1 for the first); 0 when no step answered it (a script error).
short DGAlert(short type, const GS::UniString& title, const GS::UniString& largeText, const GS::UniString& smallText,
	const GS::UniString& button1 = GS::UniString(), const GS::UniString& button2 = GS::UniString(),
	const GS::UniString& button3 = GS::UniString());

// File types known to the host, registered by name of a type manager.
namespace FTM {

using TypeID = Int32;
constexpr TypeID UnknownType = 0;

struct GroupID {
	Int32 id;
};
constexpr GroupID RootGroup = {};

struct FileType {
	FileType(const char* description, const char* extension, UInt32 macType, UInt32 macCreator, Int32 iconResId);
	std::string description;
	std::string extension; // without the dot
	UInt32 macType = 0, macCreator = 0;
	Int32 iconResId = 0;
};

// The types of one named manager. Managers of the same name share their types. Only the
// root group exists.
class FileTypeManager {
public:
	explicit FileTypeManager(const char* name);
	// The id of a type with the same extension (any case) in the group, or UnknownType.
	TypeID SearchForType(const FileType& type, const GroupID& group = RootGroup) const;
	// Adds the type; answers its id, or UnknownType for a type without extension or a group
	// that does not exist.
	TypeID AddType(const FileType& type, const GroupID& group = RootGroup);

private:
	std::string name_;
};

} // namespace FTM

namespace DG {

// A file or folder dialog, answered by the script's 'file', 'folder' or 'cancel' step.
// An open-file answer must be an existing file that fits a filter (when there are any), an
// open-folder answer an existing folder, a save answer a path in an existing folder;
// anything else is a script error and counts as cancelled. A relative answer is taken
// under the run root.
class FileDialog {
public:
	enum Type { OpenFile, OpenFolder, Save };

	explicit FileDialog(Type type);
	void SetTitle(const GS::UniString& title) { title_ = title; }
	// Offers only files of a registered type (its extension, any case); the text is what the
	// filter shows. The extension option is recorded only. False for an unknown type.
	bool AddFilter(FTM::TypeID type, Int32 extensionOption, const GS::UniString& text);
	// Shows the dialog; true when the user chose something.
	bool Invoke();
	USize GetSelectionCount() const { return selected_.IsEmpty() ? 0 : 1; }
	// The chosen file (or folder, for a folder dialog); empty when cancelled.
	const IO::Location& GetSelectedFile() const { return selected_; }
	// The chosen folder of a folder dialog; empty otherwise.
	IO::Location GetSelectedFolder() const { return type_ == OpenFolder ? selected_ : IO::Location(); }

private:
	Type type_;
	GS::UniString title_;
	std::vector<std::string> extensions_;
	IO::Location selected_;
};

} // namespace DG

#endif
