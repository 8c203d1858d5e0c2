#include "Functions/mainmenu_settingsdefault.hpp"

#include <cstdint>
#include <memory>

#include "ACAPinc.h"
#include "APICommon.hpp"
#include "DG.h"
#include "Helpers/CatchAll.hpp"
#include "Functions/SettingDialogFunctions.hpp"
#include "VelmoraMain.hpp"

const char* const mainmenu_settingsdefault::report_prefix = "Error point: VELMORA / MenuTerrainSettingsOpen() / ";

const char* const settings_init_error_prefix = "Error point: VELMORA / MenuTerrainSettingsOpen() / t_config->init() / ";
const char* const settings_save_error_prefix = "Error point: VELMORA / MenuTerrainSettingsOpen() / t_config->save() / ";

namespace {

constexpr short kChooseFolderItem = 102;
constexpr short kFolderTextItem = 103;
constexpr short kLockItem = 104;
constexpr short kHiddenLayerItem = 110;
constexpr short kIncludeItem = 25;
constexpr short kInclude2dItem = 107;
constexpr short kIncludeSurroundingsItem = 113;

// Items the user may type into (message 10 answers 0 for them).
const struct {
	short first, last;
} kTypedItems[] = {{32, 59}, {103, 103}, {108, 108}, {114, 114}};

// The pieces of the user data record.
struct Record {
	void** entries;
	terrain_import_ini* config() const { return static_cast<terrain_import_ini*>(entries[SettingsRecordConfig]); }
	short dialog() const { return *static_cast<short*>(entries[SettingsRecordDialogId]); }
	bool& accepted() const { return *static_cast<bool*>(entries[SettingsRecordAccepted]); }
	bool& locked() const { return *static_cast<bool*>(entries[SettingsRecordLocked]); }
};

short TypingAnswer(short item)
{
	for (const auto& r : kTypedItems)
		if (item >= r.first && item <= r.last) return 0;
	return 1;
}

void Open(const Record& r)
{
	SettingDialogFunctions::InitFunctions(r.config(), r.entries);
	DGHideItem(r.dialog(), kHiddenLayerItem);
	DGSetItemText(r.dialog(), kFolderTextItem, r.config()->user_import_folder);
	DGDisableItem(r.dialog(), kFolderTextItem);
	DGSetItemImage(r.dialog(), kLockItem, ACAPI_GetOwnResModule(), LockedImageId);
	r.locked() = true;
}

void Close(const Record& r)
{
	terrain_import_ini* config = r.config();
	const short d = r.dialog();
	for (int i = 0; i < TerrainCategoryCount; ++i) config->include[i] = DGGetItemValLong(d, static_cast<short>(kIncludeItem + i)) != 0;
	config->include_customs_2d = DGGetItemValLong(d, kInclude2dItem) != 0;
	config->include_customs_surroundings = DGGetItemValLong(d, kIncludeSurroundingsItem) != 0;
	SettingDialogFunctions::CloseFunctions(config, r.entries);
	config->user_import_folder = DGGetItemText(d, kFolderTextItem);
}

void ChooseFolder(const Record& r)
{
	IO::Location folder;
	SelectUserWorkFolder(&folder);
	if (folder.IsEmpty()) return;
	r.config()->user_import_folder = folder.ToDisplayText();
	DGSetItemText(r.dialog(), kFolderTextItem, r.config()->user_import_folder);
}

void ToggleLock(const Record& r)
{
	r.locked() = !r.locked();
	if (r.locked())
		DGDisableItem(r.dialog(), kFolderTextItem);
	else
		DGEnableItem(r.dialog(), kFolderTextItem);
	DGSetItemImage(r.dialog(), kLockItem, ACAPI_GetOwnResModule(), r.locked() ? LockedImageId : UnlockedImageId);
}

short Click(const Record& r, short item)
{
	switch (item) {
		case DG_OK: r.accepted() = true; return 1;
		case DG_CANCEL: r.accepted() = false; return 1;
		case kChooseFolderItem: ChooseFolder(r); return 0;
		case kLockItem: ToggleLock(r); return 0;
		default: return 0;
	}
}

} // namespace

short mainmenu_settingsdefault::settings_dg_handler(short message, short /*dialID*/, short item, long long userData,
	long long /*msgData*/)
{
	return CatchAll(report_prefix, short{0}, [&]() -> short {
		if (message == DG_MSG_FILTERCHAR) return TypingAnswer(item);
		const Record r{reinterpret_cast<void**>(static_cast<std::intptr_t>(userData))};
		if (r.entries == nullptr) return 0;
		switch (message) {
			case DG_MSG_INIT: Open(r); return 0;
			case DG_MSG_CLOSE: Close(r); return 0;
			case DG_MSG_CLICK: return Click(r, item);
			case DG_MSG_CHANGE: SettingDialogFunctions::ChangeFunctions(r.config(), r.entries, item); return 0;
			default: return 0;
		}
	});
}

void mainmenu_settingsdefault::do_it()
{
	// About 64 MiB: never on the stack.
	const auto t_config = std::make_unique<terrain_import_ini>();
	if (!t_config->init()) {
		WriteReport_AlertPrefixed(settings_init_error_prefix, t_config->error);
		return;
	}
	// The factory values stand in for an unreadable user file; the user is told once.
	if (t_config->user_file_unreadable) WriteReport_AlertPrefixed(settings_init_error_prefix, t_config->error);
	short dialogId = IsArchiCADNorwegian() ? SettingsDialogIdNorwegian : SettingsDialogId;
	bool accepted = false;
	bool locked = true;
	void* record[SettingsRecordSize] = {t_config.get(), &dialogId, &accepted, &locked};
	const GSResModule own = ACAPI_GetOwnResModule();
	DGModalDialog(own, dialogId, own, settings_dg_handler, static_cast<DGUserData>(reinterpret_cast<std::intptr_t>(record)));
	if (accepted && !t_config->save()) WriteReport_AlertPrefixed(settings_save_error_prefix, t_config->error);
}

void SelectUserWorkFolder(IO::Location* out)
{
	if (out == nullptr) return;
	*out = IO::Location();
	DG::FileDialog dialog(DG::FileDialog::OpenFolder);
	if (!dialog.Invoke()) return;
	*out = dialog.GetSelectedFolder();
	if (!out->IsEmpty()) return;
	*out = dialog.GetSelectedFile();
	out->DeleteLastLocalName();
}
