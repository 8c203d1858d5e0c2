// The host's side of dialogs: the state of open modal dialogs and the record of what was
// shown (dialogs, alerts, file and folder dialogs). The add-on sees these through DG.h.
#ifndef VHOST_DIALOGS_HPP
#define VHOST_DIALOGS_HPP

#include <string>
#include <vector>

#include "vhost/Resources.hpp"

namespace vhost {

// The dialog callback as the host calls it: message, dialog id, item, user data, message data.
using DialogCallback = short (*)(short message, short dialID, short item, long long userData, long long msgData);

struct ListTab {
	short begPos = 0, endPos = 0;
	Int32 justification = 0, truncation = 0;
	bool hasSeparator = false, enabled = true;
};

struct ListRow {
	std::vector<GS::UniString> cells; // one per tab column (at least one)
	std::vector<short> icons;         // icon resource id per column, 0 when none
	long long userData = 0;
};

// One item of an open dialog. A popup's and a list's value is the selected entry or row
// (1-based, 0 when none).
struct DialogItemState {
	DialogItemDef def;
	double value = 0.0;
	GS::UniString text;
	bool enabled = true;
	bool hidden = false;
	short image = 0;                    // icon or image resource id, 0 when none
	std::vector<GS::UniString> entries; // popup entries
	std::vector<ListRow> rows;          // list rows
	std::vector<ListTab> tabs;          // list tab columns (empty: one plain column)
	Int32 userControlType = -1;         // set by the user-control call; -1 when none
};

struct DialogState {
	short id = 0;
	DialogCallback callback = nullptr;
	long long userData = 0;
	std::vector<DialogItemState> items;
};

// A modal dialog that was shown: its id, the item that closed it, and whether the host
// closed it as cancelled (the script had no answer, or a step did not fit).
struct DialogRecord {
	short id = 0;
	short closedBy = 0;
	bool cancelled = false;
};

struct AlertRecord {
	Int32 type = 0;
	std::string title, largeText, smallText;
	std::vector<std::string> buttons; // the non-empty button texts, in order
	short answer = 0;                 // button pressed (1-based); 0 when no step answered it
};

struct FileDialogRecord {
	std::string kind;   // "file" or "folder"
	std::string title;
	std::string answer; // the chosen path; empty when cancelled
};

// A file type registered with a type manager.
struct FileTypeRecord {
	std::string manager;
	std::string description;
	std::string extension;
};

} // namespace vhost

#endif
