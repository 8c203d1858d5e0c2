// Modal dialogs, played by the UI script.
#include <algorithm>
#include <cmath>
#include <cstdint>
#include <cstdlib>
#include <set>

#include "ACAPinc.h"
#include "DG.h"
#include "DialogsInternal.hpp"
#include "vhost/Project.hpp"
#include "vhost/Text.hpp"

namespace vhost::dialogs {

void BreakScript(const ScriptStep* step, const std::string& why)
{
	Project& p = Current();
	ScriptError(step, why);
	p.scriptBroken = true;
	p.scriptPos = p.script.size();
}

bool ToShort(const std::string& text, short& out)
{
	char* end = nullptr;
	const long v = std::strtol(text.c_str(), &end, 10);
	if (text.empty() || *end != 0 || v < -32768 || v > 32767) return false;
	out = static_cast<short>(v);
	return true;
}

} // namespace vhost::dialogs

namespace {

using namespace vhost;
using namespace vhost::dialogs;

// Item kinds by what a person can do with them.
const std::set<std::string> kTyped = {"edit", "int", "real"};          // keys go through message 10
const std::set<std::string> kValued = {"int", "real", "check", "radio", "popup", "usercontrol"};

DialogState MakeState(const DialogDef& def, DialogCallback callback, long long userData)
{
	DialogState d;
	d.id = def.id;
	d.callback = callback;
	d.userData = userData;
	for (const DialogItemDef& itemDef : def.items) {
		DialogItemState i;
		i.def = itemDef;
		i.text = itemDef.text;
		i.enabled = itemDef.enabled;
		i.hidden = itemDef.hidden;
		i.image = itemDef.image;
		i.tabs.resize(static_cast<std::size_t>(itemDef.columns));
		if (itemDef.kind == "list") {
			for (const GS::UniString& first : itemDef.entries) {
				ListRow r;
				r.cells.resize(std::max<std::size_t>(1, i.tabs.size()));
				r.icons.resize(r.cells.size(), 0);
				r.cells[0] = first;
				i.rows.push_back(r);
			}
		} else {
			i.entries = itemDef.entries;
		}
		SetValue(i, itemDef.value);
		d.items.push_back(i);
	}
	return d;
}

// A callback that throws is recorded as an exception crossing into the host; it answers 0.
short Send(const DialogState& d, short message, short item, long long msgData = 0)
{
	short answer = 0;
	Guarded("dialog callback", [&] {
		answer = d.callback(message, d.id, item, d.userData, msgData);
		return GSErrCode(NoError);
	});
	return answer;
}

std::string Name(const DialogState& d) { return "dialog " + std::to_string(d.id); }

DialogItemState* FindItem(DialogState& d, const std::string& arg, std::string& why)
{
	short id = 0;
	if (!ToShort(arg, id)) { why = "bad item '" + arg + "'"; return nullptr; }
	for (DialogItemState& i : d.items)
		if (i.def.id == id) return &i;
	why = Name(d) + " has no item " + arg;
	return nullptr;
}

// A person can only act on an item that is shown and enabled.
bool Usable(const DialogState& d, const DialogItemState& i, std::string& why)
{
	const char* state = i.hidden ? "hidden" : !i.enabled ? "disabled" : nullptr;
	if (state == nullptr) return true;
	why = "item " + std::to_string(i.def.id) + " of " + Name(d) + " is " + state;
	return false;
}

// Typing into an item: the callback may refuse the keys.
bool Typed(const DialogState& d, const DialogItemState& i, std::string& why)
{
	if (kTyped.count(i.def.kind) == 0 || Send(d, DG_MSG_FILTERCHAR, i.def.id) == 0) return true;
	why = "item " + std::to_string(i.def.id) + " of " + Name(d) + " refuses typing";
	return false;
}

bool PlaySet(DialogState& d, DialogItemState& i, const std::string& arg, std::string& why)
{
	char* end = nullptr;
	const double v = vhost::ReadNumber(arg.c_str(), &end);
	if (arg.empty() || *end != 0) { why = "bad value '" + arg + "'"; return false; }
	if (kValued.count(i.def.kind) == 0) { why = "item " + std::to_string(i.def.id) + " (" + i.def.kind + ") has no value to set"; return false; }
	if (i.def.kind != "real" && v != std::floor(v)) { why = "item " + std::to_string(i.def.id) + " takes whole numbers"; return false; }
	if (i.def.kind == "popup" && (v < 1 || v > static_cast<double>(i.entries.size()))) {
		why = "popup " + std::to_string(i.def.id) + " has no entry " + arg;
		return false;
	}
	if (!Typed(d, i, why)) return false;
	SetValue(i, v);
	Send(d, DG_MSG_CHANGE, i.def.id);
	return true;
}

bool PlayText(DialogState& d, DialogItemState& i, const std::string& text, std::string& why)
{
	if (i.def.kind != "edit") { why = "item " + std::to_string(i.def.id) + " (" + i.def.kind + ") is not an edit text"; return false; }
	if (!Typed(d, i, why)) return false;
	i.text = GS::UniString(text);
	Send(d, DG_MSG_CHANGE, i.def.id);
	return true;
}

short PlayClick(DialogState& d, DialogItemState& i)
{
	if (i.def.kind == "check") i.value = i.value != 0 ? 0 : 1;
	if (i.def.kind == "radio") i.value = 1;
	return Send(d, DG_MSG_CLICK, i.def.id) != 0 ? i.def.id : 0;
}

// The clicked row: 'listclick' gives its number, 'listpick' the text its first column shows
// (the first such row, in the list's order, as a person finds it).
bool ClickedRow(const DialogItemState& i, const ScriptStep& s, short& row, std::string& why)
{
	if (s.verb == "listpick") {
		for (std::size_t r = 0; r < i.rows.size(); ++r)
			if (vhost::ToUtf8(i.rows[r].cells[0]) == s.args[1]) {
				row = static_cast<short>(r + 1);
				return true;
			}
		why = "list " + s.args[0] + " has no row '" + s.args[1] + "'";
		return false;
	}
	if (ToShort(s.args[1], row) && row >= 1 && static_cast<std::size_t>(row) <= i.rows.size()) return true;
	why = "list " + s.args[0] + " has no row " + s.args[1] + " (it has " + std::to_string(i.rows.size()) + ")";
	return false;
}

bool PlayListClick(DialogState& d, DialogItemState& i, const ScriptStep& s, short& close, std::string& why)
{
	DGListClickData data;
	BNZeroMemory(&data, sizeof data);
	if (i.def.kind != "list") { why = "item " + s.args[0] + " is not a list"; return false; }
	if (!ClickedRow(i, s, data.row, why)) return false;
	const std::size_t columns = std::max<std::size_t>(1, i.tabs.size());
	if (!ToShort(s.args[2], data.column) || data.column < 1 || static_cast<std::size_t>(data.column) > columns) {
		why = "list " + s.args[0] + " has no column " + s.args[2] + " (it has " + std::to_string(columns) + ")";
		return false;
	}
	// With an icon, the click is made only when the cell shows it (to tick what is unticked).
	short icon = 0;
	if (s.args.size() == 4) {
		if (!ToShort(s.args[3], icon)) { why = "bad icon id " + s.args[3]; return false; }
		const ListRow& row = i.rows[static_cast<std::size_t>(data.row - 1)];
		const std::size_t c = static_cast<std::size_t>(data.column - 1);
		if (c >= row.icons.size() || row.icons[c] != icon) return true;
	}
	i.value = data.row;
	const auto msgData = static_cast<long long>(reinterpret_cast<std::intptr_t>(&data));
	close = Send(d, DG_MSG_CLICK, i.def.id, msgData) != 0 ? i.def.id : 0;
	return true;
}

bool PlayExpect(DialogState& d, const ScriptStep& s, std::string& why)
{
	const std::string& what = s.args[0];
	const bool isState = what == "enabled" || what == "disabled" || what == "hidden" || what == "shown";
	if (!(isState && s.args.size() == 2) && !((what == "value" || what == "text") && s.args.size() == 3)) {
		why = "bad expectation 'expect " + what + "'";
		return false;
	}
	DialogItemState* i = FindItem(d, s.args[1], why);
	if (i == nullptr) return false;
	std::string seen, wanted = isState ? what : s.args[2];
	if (isState) {
		const bool on = what == "enabled" || what == "disabled" ? i->enabled : !i->hidden;
		seen = what == "enabled" || what == "disabled" ? (on ? "enabled" : "disabled") : (on ? "shown" : "hidden");
	} else if (what == "text") {
		seen = vhost::ToUtf8(ShownText(*i));
	} else {
		char* end = nullptr;
		const double v = vhost::ReadNumber(wanted.c_str(), &end);
		if (wanted.empty() || *end != 0) { why = "bad value '" + wanted + "'"; return false; }
		if (std::fabs(v - i->value) <= 1e-9) return true;
		seen = vhost::NumberText(i->value, std::chars_format::general, 10);
	}
	if (seen == wanted) return true;
	why = "item " + s.args[1] + " of " + Name(d) + ": expected " + what + " '" + wanted + "', found '" + seen + "'";
	return false;
}

// Plays one step on the dialog; close becomes the item that closes it (0: stays open).
bool PlayStep(DialogState& d, const ScriptStep& s, short& close, std::string& why)
{
	close = 0;
	if (s.verb == "expect") return PlayExpect(d, s, why);
	DialogItemState* i = FindItem(d, s.args[0], why);
	if (i == nullptr || !Usable(d, *i, why)) return false;
	if (s.verb == "set") return PlaySet(d, *i, s.args[1], why);
	if (s.verb == "text") return PlayText(d, *i, s.args[1], why);
	if (s.verb == "listclick" || s.verb == "listpick") return PlayListClick(d, *i, s, close, why);
	if (i->def.kind == "list") { why = "item " + s.args[0] + " is a list: click it with 'listclick'"; return false; }
	close = PlayClick(d, *i);
	return true;
}

bool IsDialogStep(const std::string& verb)
{
	return verb == "set" || verb == "text" || verb == "click" || verb == "listclick" || verb == "listpick" || verb == "expect";
}

// Plays the steps for an open dialog until one closes it. 0: the host cancels it.
short Play(DialogState& d)
{
	for (;;) {
		if (Current().scriptBroken) return 0;
		const ScriptStep* next = PeekStep();
		if (next == nullptr) { BreakScript(nullptr, "the script ran out with " + Name(d) + " open"); return 0; }
		const ScriptStep s = *next;
		if (!IsDialogStep(s.verb)) { BreakScript(next, "step '" + s.verb + "' while " + Name(d) + " is open"); return 0; }
		TakeStep();
		short close = 0;
		std::string why;
		if (!PlayStep(d, s, close, why)) { BreakScript(&s, why); return 0; }
		if (close != 0) return close;
	}
}

// Takes the script's 'dialog ID' step for a dialog that opens; false when it does not fit.
bool Expected(short resId)
{
	if (Current().scriptBroken) return false;
	const ScriptStep* s = PeekStep();
	short wanted = 0;
	if (s != nullptr && s->verb == "dialog" && ToShort(s->args[0], wanted) && wanted == resId) {
		TakeStep();
		return true;
	}
	const std::string want = s == nullptr ? "the script has ended" : "the script wants '" + s->verb + (s->args.empty() ? "" : " " + s->args[0]) + "'";
	BreakScript(s, "unexpected dialog " + std::to_string(resId) + " (" + want + ")");
	return false;
}

// Pops the dialog however its callback leaves.
struct OpenDialogScope {
	~OpenDialogScope() { Current().openDialogs.pop_back(); }
};

} // namespace

short DGModalDialog(GSResModule dialResModule, short resId, GSResModule dialIconResModule, DGDialCallBack callback,
	DGUserData userData)
{
	Project& p = Current();
	if (callback == nullptr) { DialogFault("DGModalDialog", "no callback"); return 0; }
	if (dialResModule != ACAPI_GetOwnResModule() || dialIconResModule != ACAPI_GetOwnResModule()) {
		DialogFault("DGModalDialog", "unknown resource module");
		return 0;
	}
	const auto def = AddonResources().dialogs.find(resId);
	if (def == AddonResources().dialogs.end()) {
		DialogFault("DGModalDialog", "no dialog " + std::to_string(resId) + " in the resource file");
		return 0;
	}
	p.dialogsShown.push_back({resId, 0, false});
	const std::size_t record = p.dialogsShown.size() - 1;
	p.openDialogs.push_back(MakeState(def->second, callback, userData));
	OpenDialogScope scope;
	DialogState& d = p.openDialogs.back();
	const bool expected = Expected(resId);
	Send(d, DG_MSG_INIT, 0);
	short closedBy = expected ? Play(d) : 0;
	const bool cancelled = closedBy == 0;
	if (cancelled) closedBy = DG_CANCEL;
	p.dialogsShown[record].closedBy = closedBy;
	p.dialogsShown[record].cancelled = cancelled;
	Send(d, DG_MSG_CLOSE, closedBy);
	return closedBy;
}
