// Item calls of open dialogs: values, texts, states, images, popups and lists.
#include <algorithm>
#include <cmath>

#include "ACAPinc.h"
#include "vhost/Unset.hpp"
#include "DG.h"
#include "DialogsInternal.hpp"
#include "vhost/Project.hpp"
#include "NamedCall.hpp"

namespace vhost::dialogs {

void DialogFault(const char* call, const std::string& why)
{
	Current().dialogFaults.push_back(std::string(call) + ": " + why);
}

DialogState* Dialog(const char* call, short dialID)
{
	auto& open = Current().openDialogs;
	for (auto it = open.rbegin(); it != open.rend(); ++it)
		if (it->id == dialID) return &*it;
	DialogFault(call, "dialog " + std::to_string(dialID) + " is not open");
	return nullptr;
}

DialogItemState* Item(const char* call, short dialID, short item, const char* kind)
{
	// A fault named by the call: a code leaves the call undone, a throwing one throws.
	if (FaultsArmed() && FaultFor(call) != NoError) return nullptr;
	DialogState* d = Dialog(call, dialID);
	if (d == nullptr) return nullptr;
	for (DialogItemState& i : d->items) {
		if (i.def.id != item) continue;
		if (kind != nullptr && i.def.kind != kind) {
			DialogFault(call, "item " + std::to_string(item) + " of dialog " + std::to_string(dialID) + " is a " + i.def.kind + ", not a " + kind);
			return nullptr;
		}
		return &i;
	}
	DialogFault(call, "dialog " + std::to_string(dialID) + " has no item " + std::to_string(item));
	return nullptr;
}

bool KnownImage(const char* call, GSResModule module, short id)
{
	const Resources& r = AddonResources();
	if (module == ACAPI_GetOwnResModule() && (r.icons.count(id) != 0 || r.images.count(id) != 0)) return true;
	DialogFault(call, "no icon or image " + std::to_string(id) + " in resource module " + std::to_string(module));
	return false;
}

void SetValue(DialogItemState& item, double value)
{
	if (item.def.minValue < item.def.maxValue) value = std::clamp(value, item.def.minValue, item.def.maxValue);
	item.value = value;
}

GS::UniString ShownText(const DialogItemState& item)
{
	if (item.def.kind != "popup") return item.text;
	const auto pos = static_cast<std::size_t>(item.value);
	return pos >= 1 && pos <= item.entries.size() ? item.entries[pos - 1] : GS::UniString();
}

} // namespace vhost::dialogs

using namespace vhost::dialogs;
using vhost::DialogItemState;

namespace {

// Position pos of a list of count (1..count), with a fault otherwise.
bool InRange(const char* call, short pos, std::size_t count)
{
	if (pos >= 1 && static_cast<std::size_t>(pos) <= count) return true;
	DialogFault(call, "position " + std::to_string(pos) + " is not within 1.." + std::to_string(count));
	return false;
}

// Where an insert at pos goes (0-based), or -1 (with a fault).
long InsertAt(const char* call, short pos, short bottom, std::size_t count)
{
	if (pos == bottom) return static_cast<long>(count);
	if (pos >= 1 && static_cast<std::size_t>(pos) <= count + 1) return pos - 1;
	DialogFault(call, "cannot insert at " + std::to_string(pos));
	return -1;
}

// Deletes entry pos (or all) of v, keeping the selection (value) on the same entry.
template <typename T>
void DeleteAt(const char* call, DialogItemState& item, std::vector<T>& v, short pos)
{
	if (pos == DG_ALL_ITEMS) { v.clear(); item.value = 0; return; }
	if (!InRange(call, pos, v.size())) return;
	v.erase(v.begin() + (pos - 1));
	if (item.value == pos) item.value = 0;
	else if (item.value > pos) item.value -= 1;
}

std::size_t Columns(const DialogItemState& list) { return std::max<std::size_t>(1, list.tabs.size()); }

vhost::ListRow* Row(const char* call, short dialID, short item, short row)
{
	DialogItemState* list = Item(call, dialID, item, "list");
	if (list == nullptr || !InRange(call, row, list->rows.size())) return nullptr;
	return &list->rows[static_cast<std::size_t>(row) - 1];
}

// Cell index (0-based) of tab in a row of the list, or -1 (with a fault).
long Cell(const char* call, short dialID, short item, short row, short tab, vhost::ListRow*& r)
{
	r = Row(call, dialID, item, row);
	if (r == nullptr || !InRange(call, tab, r->cells.size())) return -1;
	return tab - 1;
}

vhost::ListRow EmptyRow(std::size_t columns)
{
	vhost::ListRow r;
	r.cells.resize(columns);
	r.icons.resize(columns, 0);
	return r;
}

} // namespace

Int32 DGGetItemValLong(short dialID, short item)
{
	const DialogItemState* i = Item("DGGetItemValLong", dialID, item);
	return i != nullptr ? static_cast<Int32>(std::lround(i->value)) : 0;
}

void DGSetItemValLong(short dialID, short item, Int32 value) { DGSetItemValDouble(dialID, item, value); }

double DGGetItemValDouble(short dialID, short item)
{
	const DialogItemState* i = Item("DGGetItemValDouble", dialID, item);
	return i != nullptr ? i->value : 0.0;
}

void DGSetItemValDouble(short dialID, short item, double value)
{
	if (DialogItemState* i = Item("DGSetItemVal", dialID, item)) SetValue(*i, value);
}

void DGSetItemMinLong(short dialID, short item, Int32 minValue)
{
	if (DialogItemState* i = Item("DGSetItemMinLong", dialID, item)) i->def.minValue = minValue;
}

void DGSetItemMaxLong(short dialID, short item, Int32 maxValue)
{
	if (DialogItemState* i = Item("DGSetItemMaxLong", dialID, item)) i->def.maxValue = maxValue;
}

GS::UniString DGGetItemText(short dialID, short item)
{
	const DialogItemState* i = Item("DGGetItemText", dialID, item);
	return i != nullptr ? ShownText(*i) : GS::UniString();
}

void DGSetItemText(short dialID, short item, const GS::UniString& text)
{
	if (DialogItemState* i = Item("DGSetItemText", dialID, item)) i->text = text;
}

void DGEnableItem(short dialID, short item)
{
	if (DialogItemState* i = Item("DGEnableItem", dialID, item)) i->enabled = true;
}

void DGDisableItem(short dialID, short item)
{
	if (DialogItemState* i = Item("DGDisableItem", dialID, item)) i->enabled = false;
}

bool DGIsItemEnabled(short dialID, short item)
{
	const DialogItemState* i = Item("DGIsItemEnabled", dialID, item);
	return i != nullptr && i->enabled;
}

void DGShowItem(short dialID, short item)
{
	if (DialogItemState* i = Item("DGShowItem", dialID, item)) i->hidden = false;
}

void DGHideItem(short dialID, short item)
{
	if (DialogItemState* i = Item("DGHideItem", dialID, item)) i->hidden = true;
}

bool DGIsItemVisible(short dialID, short item)
{
	const DialogItemState* i = Item("DGIsItemVisible", dialID, item);
	return i != nullptr && !i->hidden;
}

void DGSetItemImage(short dialID, short item, GSResModule resModule, short imageResId)
{
	DialogItemState* i = Item("DGSetItemImage", dialID, item);
	if (i != nullptr && KnownImage("DGSetItemImage", resModule, imageResId)) i->image = imageResId;
}

short DGGetItemImage(short dialID, short item)
{
	const DialogItemState* i = Item("DGGetItemImage", dialID, item);
	return i != nullptr ? i->image : 0;
}

void DGEnableToolTips() { vhost::Current().toolTips = true; }
void DGDisableToolTips() { vhost::Current().toolTips = false; }
bool DGIsToolTipsEnabled() { return vhost::Current().toolTips; }

bool DGPopUpInsertItem(short dialID, short item, short pos)
{
	DialogItemState* p = Item("DGPopUpInsertItem", dialID, item, "popup");
	const long at = p != nullptr ? InsertAt("DGPopUpInsertItem", pos, DG_POPUP_BOTTOM, p->entries.size()) : -1;
	if (at < 0) return false;
	p->entries.insert(p->entries.begin() + at, GS::UniString());
	if (p->value > at) p->value += 1;
	return true;
}

void DGPopUpDeleteItem(short dialID, short item, short pos)
{
	if (DialogItemState* p = Item("DGPopUpDeleteItem", dialID, item, "popup")) DeleteAt("DGPopUpDeleteItem", *p, p->entries, pos);
}

void DGPopUpSetItemText(short dialID, short item, short pos, const GS::UniString& text)
{
	DialogItemState* p = Item("DGPopUpSetItemText", dialID, item, "popup");
	if (p != nullptr && InRange("DGPopUpSetItemText", pos, p->entries.size())) p->entries[static_cast<std::size_t>(pos) - 1] = text;
}

GS::UniString DGPopUpGetItemText(short dialID, short item, short pos)
{
	const DialogItemState* p = Item("DGPopUpGetItemText", dialID, item, "popup");
	if (p == nullptr || !InRange("DGPopUpGetItemText", pos, p->entries.size())) return GS::UniString();
	return p->entries[static_cast<std::size_t>(pos) - 1];
}

void DGPopUpSelectItem(short dialID, short item, short pos)
{
	DialogItemState* p = Item("DGPopUpSelectItem", dialID, item, "popup");
	if (p != nullptr && InRange("DGPopUpSelectItem", pos, p->entries.size())) p->value = pos;
}

short DGPopUpGetSelected(short dialID, short item)
{
	const DialogItemState* p = Item("DGPopUpGetSelected", dialID, item, "popup");
	return p != nullptr ? static_cast<short>(p->value) : 0;
}

short DGPopUpGetItemCount(short dialID, short item)
{
	const DialogItemState* p = Item("DGPopUpGetItemCount", dialID, item, "popup");
	return p != nullptr ? static_cast<short>(p->entries.size()) : 0;
}

bool DGListInsertItem(short dialID, short item, short pos)
{
	DialogItemState* l = Item("DGListInsertItem", dialID, item, "list");
	const long at = l != nullptr ? InsertAt("DGListInsertItem", pos, DG_LIST_BOTTOM, l->rows.size()) : -1;
	if (at < 0) return false;
	l->rows.insert(l->rows.begin() + at, EmptyRow(Columns(*l)));
	if (l->value > at) l->value += 1;
	return true;
}

void DGListDeleteItem(short dialID, short item, short pos)
{
	if (DialogItemState* l = Item("DGListDeleteItem", dialID, item, "list")) DeleteAt("DGListDeleteItem", *l, l->rows, pos);
}

short DGListGetItemCount(short dialID, short item)
{
	const DialogItemState* l = Item("DGListGetItemCount", dialID, item, "list");
	return l != nullptr ? static_cast<short>(l->rows.size()) : 0;
}

void DGListSetItemText(short dialID, short item, short row, short tab, const GS::UniString& text)
{
	vhost::ListRow* r = nullptr;
	const long c = Cell("DGListSetItemText", dialID, item, row, tab, r);
	if (c >= 0) r->cells[static_cast<std::size_t>(c)] = text;
}

GS::UniString DGListGetItemText(short dialID, short item, short row, short tab)
{
	vhost::ListRow* r = nullptr;
	const long c = Cell("DGListGetItemText", dialID, item, row, tab, r);
	return c >= 0 ? r->cells[static_cast<std::size_t>(c)] : GS::UniString();
}

void DGListSetTabItemIcon(short dialID, short item, short row, short tab, GSResModule resModule, short iconResId)
{
	vhost::ListRow* r = nullptr;
	const long c = Cell("DGListSetTabItemIcon", dialID, item, row, tab, r);
	if (c >= 0 && KnownImage("DGListSetTabItemIcon", resModule, iconResId)) r->icons[static_cast<std::size_t>(c)] = iconResId;
}

short DGListGetTabItemIcon(short dialID, short item, short row, short tab)
{
	vhost::ListRow* r = nullptr;
	const long c = Cell("DGListGetTabItemIcon", dialID, item, row, tab, r);
	return c >= 0 ? r->icons[static_cast<std::size_t>(c)] : 0;
}

void DGListSelectItem(short dialID, short item, short row)
{
	DialogItemState* l = Item("DGListSelectItem", dialID, item, "list");
	if (l != nullptr && InRange("DGListSelectItem", row, l->rows.size())) l->value = row;
}

void DGListDeselectItem(short dialID, short item, short row)
{
	DialogItemState* l = Item("DGListDeselectItem", dialID, item, "list");
	if (l != nullptr && InRange("DGListDeselectItem", row, l->rows.size()) && l->value == row) l->value = 0;
}

short DGListGetSelected(short dialID, short item)
{
	const DialogItemState* l = Item("DGListGetSelected", dialID, item, "list");
	return l != nullptr ? static_cast<short>(l->value) : 0;
}

void DGListSetItemUserData(short dialID, short item, short row, DGUserData value)
{
	if (vhost::ListRow* r = Row("DGListSetItemUserData", dialID, item, row)) r->userData = value;
}

DGUserData DGListGetItemUserData(short dialID, short item, short row)
{
	const vhost::ListRow* r = Row("DGListGetItemUserData", dialID, item, row);
	return r != nullptr ? r->userData : 0;
}

bool DGListSetTabFieldCount(short dialID, short item, short count)
{
	DialogItemState* l = Item("DGListSetTabFieldCount", dialID, item, "list");
	if (l == nullptr) return false;
	if (count < 1 || count > 255) {
		DialogFault("DGListSetTabFieldCount", "bad tab field count " + std::to_string(count));
		return false;
	}
	l->tabs.resize(static_cast<std::size_t>(count));
	for (vhost::ListRow& r : l->rows) {
		r.cells.resize(static_cast<std::size_t>(count));
		r.icons.resize(static_cast<std::size_t>(count), 0);
	}
	return true;
}

short DGListGetTabFieldCount(short dialID, short item)
{
	const DialogItemState* l = Item("DGListGetTabFieldCount", dialID, item, "list");
	return l != nullptr ? static_cast<short>(l->tabs.size()) : 0;
}

bool DGListSetTabData(short dialID, short item, short tab, short begPos, short endPos, Int32 justification,
	Int32 truncation, bool hasSeparator, bool enabled)
{
	DialogItemState* l = Item("DGListSetTabData", dialID, item, "list");
	if (l == nullptr || !InRange("DGListSetTabData", tab, l->tabs.size())) return false;
	if (begPos > endPos) {
		DialogFault("DGListSetTabData", "tab " + std::to_string(tab) + " ends before it begins");
		return false;
	}
	l->tabs[static_cast<std::size_t>(tab) - 1] = {begPos, endPos, justification, truncation, hasSeparator, enabled};
	return true;
}

GSErrCode ACAPI_Dialog_SetUserControlCallback(API_UCCallbackType* userControlInfo)
{
	const vhost::NamedCall named(__func__);
	if (userControlInfo == nullptr) return APIERR_BADPARS;
	static const vhost::RecordField fields[] = {VHOST_FIELD(API_UCCallbackType, type), VHOST_FIELD(API_UCCallbackType, dialogID),
		VHOST_FIELD(API_UCCallbackType, itemID)};
	if (const GSErrCode err = vhost::CheckFieldsSet("ACAPI_Dialog_SetUserControlCallback", userControlInfo, fields)) return err;
	DialogItemState* i = Item("ACAPI_Dialog_SetUserControlCallback", userControlInfo->dialogID, userControlInfo->itemID, "usercontrol");
	if (i == nullptr) return APIERR_BADID;
	i->userControlType = userControlInfo->type;
	return NoError;
}
