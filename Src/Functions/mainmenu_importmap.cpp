#include "Functions/mainmenu_importmap.hpp"

#include <algorithm>
#include <cerrno>
#include <cstdint>
#include <cstdio>
#include <memory>
#include <string>
#include <vector>

#include "ACAPinc.h"
#include "APICommon.hpp"
#include "Classes/ImportOptions.hpp"
#include "Classes/ImportStep.hpp"
#include "Classes/import_folder_scan.hpp"
#include "Classes/import_map.hpp"
#include "Classes/terrain_import_ini.hpp"
#include "DG.h"
#include "Folder.hpp"
#include "Functions/SettingDialogFunctions.hpp"
#include "Helpers/CatchAll.hpp"
#include "Helpers/ExclusiveFile.hpp"
#include "Helpers/OutsideLinks.hpp"
#include "Helpers/PrivateFolder.hpp"
#include "VelmoraMain.hpp"
#include "utils/IOUtils.hpp"

const char* const mainmenu_importmap::report_prefix = kImportReportPrefix;

const char* const import_init_error_prefix = "Error point: VELMORA / MenuImportMap() / t_config->init() / ";

namespace {

constexpr short kNorwegianDialogOffset = 20;
constexpr short kListItem = 15;
constexpr short kAddZipItem = 16;
constexpr short kDeleteItem = 17;
constexpr short kNameColumn = 1;
constexpr short kFirstLayerColumn = 2;   // columns 2..8 the seven categories
constexpr short k2dColumn = 9;
constexpr short kSurroundingsColumn = 10;
constexpr short kDeleteColumn = 11;
constexpr short kColumnCount = 11;
constexpr short kFailureCountItem = 3;
constexpr short kProjectNameItem = 3;
constexpr short kReloadItem = 4;

enum ProjectResult : Int32 { ResultCancel = 0, ResultImport = 1, ResultAddZip = 2, ResultDelete = 3 };

// The project list's tab columns: 2..10 are 20 wide, 40 apart from 210; 11 at 595.
constexpr Int32 kJustifyLeft = 0, kJustifyCenter = 256, kTruncateEnd = 4096;

// The items a category's row has besides its include box (item + category), disabled when
// the category is not imported; the 2D base map's and the surroundings model's likewise.
const short kCategoryRowItems[] = {11, 18, 32, 39, 46, 53, 60, 67, 74, 81, 88, 95};
const short k2dRowItems[] = {105, 106, 108, 109, 110};
const short kSurroundingsRowItems[] = {111, 112, 114, 115, 116};
constexpr short kIncludeItem = 25, kInclude2dItem = 107, kIncludeSurroundingsItem = 113;
constexpr short kHidden2dLayerItem = 110, kSecondSurfaceItem = 117;
constexpr int kHouses = 1;

// Items the user may type into in the colours dialog (message 10 answers 0 for them).
const struct {
	short first, last;
} kColorsTypedItems[] = {{32, 59}, {108, 108}, {114, 114}};

short DialogId(short other) { return IsArchiCADNorwegian() ? static_cast<short>(other + kNorwegianDialogOffset) : other; }

// The pieces of a dialog's user data record.
struct Record {
	void** entries;
	import_folder_scan& scan() const { return *static_cast<import_folder_scan*>(entries[ImportRecordScan]); }
	short dialog() const { return *static_cast<short*>(entries[ImportRecordDialogId]); }
	Int32& result() const { return *static_cast<Int32*>(entries[ImportRecordResult]); }
	short& row() const { return *static_cast<short*>(entries[ImportRecordRow]); }
	terrain_import_ini* minor() const { return static_cast<terrain_import_ini*>(entries[ImportRecordMinor]); }
};

Record RecordOf(long long userData) { return Record{reinterpret_cast<void**>(static_cast<std::intptr_t>(userData))}; }

// Opens dialog `other` (or its Norwegian twin) with the record; the record's dialog id is set.
void ShowDialog(short other, DGDialCallBack handler, void** record, short& dialogId)
{
	dialogId = DialogId(other);
	const GSResModule own = ACAPI_GetOwnResModule();
	DGModalDialog(own, dialogId, own, handler, static_cast<DGUserData>(reinterpret_cast<std::intptr_t>(record)));
}

void SetEnabled(short dialog, short item, bool enabled)
{
	if (enabled) DGEnableItem(dialog, item);
	else DGDisableItem(dialog, item);
}

// ---- project list -----------------------------------------------------------------------

// The ticked flag behind a layer cell (columns 2..10) and whether its file is there.
bool* LayerFlag(import_project& p, short column, bool& present)
{
	if (column >= kFirstLayerColumn && column < kFirstLayerColumn + TerrainCategoryCount) {
		present = p.present[column - kFirstLayerColumn];
		return &p.selected[column - kFirstLayerColumn];
	}
	if (column == k2dColumn) { present = p.present_2d; return &p.selected_2d; }
	if (column == kSurroundingsColumn) { present = p.present_surroundings; return &p.selected_surroundings; }
	present = false;
	return nullptr;
}

short CellIcon(import_project& p, short column)
{
	if (column == kDeleteColumn) return p.delete_mark ? ImportIconOn : ImportIconOff;
	bool present = false;
	const bool* flag = LayerFlag(p, column, present);
	return flag == nullptr || !present ? ImportIconAbsent : *flag ? ImportIconOn : ImportIconOff;
}

void ShowCell(const Record& r, short row, short column)
{
	import_project& p = r.scan().projects[static_cast<std::size_t>(row - 1)];
	DGListSetTabItemIcon(r.dialog(), kListItem, row, column, ACAPI_GetOwnResModule(), CellIcon(p, column));
}

bool AnyDeleteMark(const import_folder_scan& scan)
{
	for (const import_project& p : scan.projects)
		if (p.delete_mark) return true;
	return false;
}

void ClearDeleteMarks(import_folder_scan& scan)
{
	for (import_project& p : scan.projects) p.delete_mark = false;
}

void UpdateButtons(const Record& r)
{
	SetEnabled(r.dialog(), DG_OK, r.row() >= 1);
	SetEnabled(r.dialog(), kDeleteItem, AnyDeleteMark(r.scan()));
}

void FillProjectList(const Record& r)
{
	const short d = r.dialog();
	DGListSetTabFieldCount(d, kListItem, kColumnCount);
	DGListSetTabData(d, kListItem, kNameColumn, 1, 209, kJustifyLeft, kTruncateEnd, false, true);
	for (short column = kFirstLayerColumn; column <= kSurroundingsColumn; ++column) {
		const short begin = static_cast<short>(210 + 40 * (column - kFirstLayerColumn));
		DGListSetTabData(d, kListItem, column, begin, static_cast<short>(begin + 20), kJustifyCenter, kTruncateEnd, false, true);
	}
	DGListSetTabData(d, kListItem, kDeleteColumn, 595, 615, kJustifyCenter, kTruncateEnd, false, true);
	import_folder_scan& scan = r.scan();
	for (std::size_t i = 0; i < scan.projects.size(); ++i) {
		const short row = static_cast<short>(i + 1);
		if (!DGListInsertItem(d, kListItem, DG_LIST_BOTTOM)) break;
		DGListSetItemText(d, kListItem, row, kNameColumn, scan.projects[i].name);
		for (short column = kFirstLayerColumn; column <= kDeleteColumn; ++column) ShowCell(r, row, column);
	}
	for (import_project& p : scan.projects) p.chosen = false;
}

void ClickList(const Record& r, const DGListClickData* click)
{
	if (click == nullptr || click->row < 1 || static_cast<std::size_t>(click->row) > r.scan().projects.size()) return;
	if (r.row() >= 1) DGListDeselectItem(r.dialog(), kListItem, r.row());
	r.row() = click->row;
	DGListSelectItem(r.dialog(), kListItem, click->row);
	import_project& p = r.scan().projects[static_cast<std::size_t>(click->row - 1)];
	if (click->column == kDeleteColumn) {
		p.delete_mark = !p.delete_mark;
	} else {
		bool present = false;
		bool* flag = LayerFlag(p, click->column, present);
		if (flag == nullptr || !present) return;
		*flag = !*flag;
	}
	ShowCell(r, click->row, click->column);
}

short ClickProjectDialog(const Record& r, short item, long long msgData)
{
	import_folder_scan& scan = r.scan();
	switch (item) {
		case kListItem: ClickList(r, reinterpret_cast<const DGListClickData*>(static_cast<std::intptr_t>(msgData))); return 0;
		case DG_OK:
			r.result() = ResultImport;
			if (r.row() >= 1 && static_cast<std::size_t>(r.row()) <= scan.projects.size())
				scan.projects[static_cast<std::size_t>(r.row() - 1)].chosen = true;
			ClearDeleteMarks(scan);
			return 1;
		case DG_CANCEL: r.result() = ResultCancel; ClearDeleteMarks(scan); return 1;
		case kAddZipItem: r.result() = ResultAddZip; return 1;
		case kDeleteItem: r.result() = ResultDelete; return 1;
		default: return 0;
	}
}

// ---- import colours ---------------------------------------------------------------------

void OpenColors(const Record& r)
{
	terrain_import_ini* minor = r.minor();
	const short d = r.dialog();
	const import_project* project = r.scan().current;
	DGSetItemText(d, kProjectNameItem, project != nullptr ? project->name : GS::UniString());
	SettingDialogFunctions::InitFunctions(minor, r.entries);
	for (int i = 0; i < TerrainCategoryCount; ++i) {
		DGDisableItem(d, static_cast<short>(kIncludeItem + i));
		if (minor->include[i]) continue;
		for (const short item : kCategoryRowItems) DGDisableItem(d, static_cast<short>(item + i));
		if (i == kHouses) DGDisableItem(d, kSecondSurfaceItem);
	}
	DGDisableItem(d, kInclude2dItem);
	if (!minor->include_customs_2d)
		for (const short item : k2dRowItems) DGDisableItem(d, item);
	DGHideItem(d, kHidden2dLayerItem);
	DGDisableItem(d, kIncludeSurroundingsItem);
	if (!minor->include_customs_surroundings)
		for (const short item : kSurroundingsRowItems) DGDisableItem(d, item);
}

short ColorsTypingAnswer(short item)
{
	for (const auto& t : kColorsTypedItems)
		if (item >= t.first && item <= t.last) return 0;
	return 1;
}

// ---- the import ---------------------------------------------------------------------------

// This import's display values: the layers' from the working settings' categories, the 2D
// base map's and the surroundings model's pen and layer.
void SetDisplayValues(std::vector<import_object>& objects, const terrain_import_ini& minor)
{
	for (import_object& o : objects) {
		if (o.type == ImportSurroundings) {
			o.pen = minor.customs_surroundings_pen;
			o.layer = minor.customs_surroundings_layer;
			continue;
		}
		if (o.type == Import2DBaseMap) {
			o.pen = minor.customs_2d_pen;
			o.layer = minor.customs_2d_layer;
			continue;
		}
		const int c = static_cast<int>(o.type);
		if (c < 0 || c >= TerrainCategoryCount) continue;
		if (!minor.include[c])
			WriteReport_AlertPrefixed("Internal error warning: MenuImportMap() / ",
			                          "t_scan->user_selection[] fill from invalid t_config_minor->ini_import[]");
		o.pen = minor.pen[c];
		o.fill = minor.fill[c];
		o.fillpen = minor.fillpen[c];
		o.bckgrnd = minor.bckgrnd[c];
		o.surface = minor.surface[c];
		o.surface_2 = minor.surface_2[c];
		o.layer = minor.layer[c];
	}
}

// The chosen project's ticks become the working settings' include flags.
void TakeTicks(const import_project& p, terrain_import_ini& minor)
{
	for (int c = 0; c < TerrainCategoryCount; ++c) minor.include[c] = p.selected[c];
	minor.include_customs_2d = p.selected_2d;
	minor.include_customs_surroundings = p.selected_surroundings;
}

void WriteGeolocation(Importer& importer)
{
	bool changed = false;
	importer.ReadPlanGeoLocation(changed);
	if (changed) {
		Int32 answer = 0;
		short dialogId = 0;
		dialogId = DialogId(ImportGeolocationDialogId);
		const GSResModule own = ACAPI_GetOwnResModule();
		DGModalDialog(own, dialogId, own, mainmenu_importmap::import_confirmation_dg_handler,
		              static_cast<DGUserData>(reinterpret_cast<std::intptr_t>(&answer)));
		if (answer != 1) return;
	}
	importer.SetPlanGeoLocation();
}

void Import(import_folder_scan& scan, short row, terrain_import_ini& minor)
{
	if (row <= 0) return;
	ClearDeleteMarks(scan);
	if (!scan.filter_user_selection())
		WriteReport_AlertPrefixed("Error point: VELMORA / MenuImportMap() / t_scan->filter_user_selection() / ", scan.error_text);
	const unsigned int count = scan.user_selection_count();
	if (count == 0 || scan.current == nullptr) return;
	Importer importer(GetImportOptions(&scan));
	double east = 0, north = 0;
	importer.ExtractOrigo(&east, &north);
	std::vector<import_object*> objects;
	for (import_object& o : scan.user_selection) objects.push_back(&o);
	importer.PickOrigo(false, objects.data(), count);
	TakeTicks(*scan.current, minor);

	Int32 result = 0;
	short dialogId = 0;
	void* record[ImportRecordSize] = {&scan, &dialogId, &result, &minor};
	ShowDialog(ImportColorsDialogId, mainmenu_importmap::import_colors_dg_handler, record, dialogId);
	if (result != 1) return;
	SetDisplayValues(scan.user_selection, minor);
	importer.MapInsert(objects.data(), count);
	WriteGeolocation(importer);
}

// ---- add ZIP --------------------------------------------------------------------------------

// The ZIP file's name up to its last "." (all of it when it has none).
GS::UniString ProjectNameOf(const IO::Location& zip)
{
	IO::Name name;
	if (zip.GetLastLocalName(&name) != NoError) return GS::UniString();
	GS::UniString text = name.ToString();
	const USize dot = text.FindLast(u'.');
	return dot == GS::UniString::MaxLength ? text : text.GetSubstring(0, dot);
}

// A PowerShell literal: in single quotes, each embedded quote doubled.
GS::UniString PowerShellQuote(const GS::UniString& text)
{
	GS::UniString quoted(u"'");
	for (USize i = 0; i < text.GetLength(); ++i) {
		if (text[i] == u'\'') quoted.Append(u'\'');
		quoted.Append(text[i]);
	}
	quoted.Append(u'\'');
	return quoted;
}

// Base64 of the text's UTF-16 units, little-endian: what PowerShell's -EncodedCommand takes.
GS::UniString EncodedCommand(const GS::UniString& script)
{
	static const char kDigits[] = "ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz0123456789+/";
	std::vector<unsigned char> bytes;
	for (USize i = 0; i < script.GetLength(); ++i) {
		bytes.push_back(static_cast<unsigned char>(script[i] & 0xFF));
		bytes.push_back(static_cast<unsigned char>(script[i] >> 8));
	}
	GS::UniString out;
	for (std::size_t i = 0; i < bytes.size(); i += 3) {
		const std::size_t n = std::min<std::size_t>(3, bytes.size() - i);
		const unsigned long group = static_cast<unsigned long>(bytes[i]) << 16 | (n > 1 ? bytes[i + 1] << 8 : 0) | (n > 2 ? bytes[i + 2] : 0);
		for (std::size_t k = 0; k < 4; ++k)
			out.Append(k <= n ? static_cast<GS::UniChar>(kDigits[(group >> (18 - 6 * k)) & 63]) : u'=');
	}
	return out;
}

} // namespace

GS::UniString ZipExpandCommand(const IO::Location& zip, const IO::Location& target, bool posixShell)
{
	if (posixShell)
		return GS::UniString("ditto -x -k ") + shell_quote(zip.ToDisplayText()) + GS::UniString(" ") + shell_quote(target.ToDisplayText());
	const GS::UniString script = GS::UniString("Expand-Archive -LiteralPath ") + PowerShellQuote(zip.ToDisplayText()) +
	                             GS::UniString(" -DestinationPath ") + PowerShellQuote(target.ToDisplayText());
	return GS::UniString("powershell -NoProfile -NonInteractive -EncodedCommand ") + EncodedCommand(script);
}

namespace {

bool ProjectListed(const import_folder_scan& scan, const GS::UniString& name)
{
	for (const import_project& p : scan.projects)
		if (p.name == name) return true;
	return false;
}

// What is told of a project just expanded from the ZIP file zipName: the links the sweep
// removed (an archive's link would carry a file of the user's into the project), and a project
// without its map data folder at the top, as it would show nothing.
void ReportExpandedProject(const IO::Location& project, const char* zipName, int removedLinks)
{
	if (removedLinks > 0)
		WriteReport_Alert("The ZIP file %s held %d links to places outside the project; they were removed.", zipName, removedLinks);
	IO::Location model(project);
	if (model.AppendToLocal(IO::Name(ImportModelFolder)) != NoError || !kivel::IsFolderExist(model))
		WriteReport_Alert("The ZIP file %s holds no %s folder at its top; its project shows no map data.", zipName, ImportModelFolder);
}

void ShowProjectExists(const import_folder_scan& scan)
{
	Int32 result = 0;
	short dialogId = 0;
	void* record[ImportRecordSize] = {const_cast<import_folder_scan*>(&scan), &dialogId, &result, nullptr};
	ShowDialog(ImportProjectExistsDialogId, mainmenu_importmap::import_alert_dg_handler, record, dialogId);
}

std::string Utf8Path(const IO::Location& location) { return location.ToDisplayText().ToCStr(GS::CC_UTF8).Get(); }

// The sub-folder of the run's own folder the ZIP file expands into: not the map data folder's
// name, so that the own folder, listed as a project for a moment, shows nothing to import.
constexpr const char* kExpansionFolder = "expanded";

const char* RemovalTail(bool removed) { return removed ? "nothing was kept." : "its folder could not be removed."; }

// An Add ZIP in a folder of this run's own in the import folder, so that no other run (another
// window, another process) can see a half-made project or lose its own to this run's cleanup:
// the ZIP file is expanded and checked there, and only then moved to the project's name if no
// other run took it meanwhile.
class ZipExpansion {
public:
	ZipExpansion(IO::Folder& importFolder, const char* zipName) : importFolder_(importFolder), zipName_(zipName)
	{
		importFolder.GetLocation(&folder_);
	}
	// Whatever stopped the run, its own folder does not outlive it.
	~ZipExpansion()
	{
		try {
			if (ownLeft_) Remove();
		} catch (...) {
		}
	}
	ZipExpansion(const ZipExpansion&) = delete;
	ZipExpansion& operator=(const ZipExpansion&) = delete;

	// Makes the run's own folder; false after telling why.
	bool Begin()
	{
		if (!kivel::IsFolderExist(folder_)) IO::fileSystem.CreateFolder(folder_);
		PrivateFolder::Failure failure;
		const std::string name = PrivateFolder::Make(Utf8Path(folder_), failure);
		if (name.empty()) {
			WriteReport_Alert("Error point: VELMORA / MenuImportMap() / Add ZIP / %s could not be expanded: no folder of its own could be "
			                  "made in the import folder (%s%s); nothing was kept.",
			                  zipName_, failure.call, ExclusiveFile::ErrnoText(failure.error).c_str());
			return false;
		}
		own_ = IO::Name(GS::UniString(name.c_str(), GS::CC_UTF8));
		ownLeft_ = true;
		expansion_ = folder_;
		if (expansion_.AppendToLocal(own_) == NoError && expansion_.AppendToLocal(IO::Name(kExpansionFolder)) == NoError) return true;
		WriteReport_Alert("Error point: VELMORA / MenuImportMap() / Add ZIP / %s could not be expanded: its folder gives no path; %s", zipName_,
		                  RemovalTail(Remove()));
		return false;
	}

	const IO::Location& Target() const { return expansion_; }

	// Removes the run's own folder and all it holds, its folders first opened to their owner
	// (the archive may have stored modes that forbid removing what they hold).
	bool Remove()
	{
		IO::Location own(folder_);
		if (own.AppendToLocal(own_) != NoError) return false;
		OpenFoldersToOwner(Utf8Path(own)); // the host's delete tells whether it was enough
		ownLeft_ = importFolder_.Contains(own_) && importFolder_.Delete(own_) != NoError;
		return !ownLeft_;
	}

	// The expansion checked for links leading out of it; false after removing it and telling why.
	bool Check(int& removedLinks)
	{
		const LinkSweep sweep = RemoveOutsideLinks(Utf8Path(expansion_));
		removedLinks = sweep.removed;
		if (sweep.Done()) return true;
		WriteReport_Alert("The ZIP file %s could not be checked for links to places outside the project; %s", zipName_, RemovalTail(Remove()));
		return false;
	}

	// Moves the expansion to the project; false, after removing the run's folder and telling
	// why, when it cannot be (taken: the project-exists dialog, as if it had been at the start).
	bool MoveTo(const IO::Location& project, const import_folder_scan& scan)
	{
		PrivateFolder::Failure failure;
		const bool moved = PrivateFolder::MoveIfFree(Utf8Path(expansion_), Utf8Path(project), failure);
		const bool removed = Remove();
		if (!removed)
			WriteReport_Alert("Error point: VELMORA / MenuImportMap() / Add ZIP / the folder %s in which %s was expanded could not be removed.",
			                  own_.ToString().ToCStr().Get(), zipName_);
		if (moved) return true;
		if (failure.error == EEXIST) ShowProjectExists(scan);
		else
			WriteReport_Alert("Error point: VELMORA / MenuImportMap() / Add ZIP / %s could not be moved to its project folder (%s%s); %s",
			                  zipName_, failure.call, ExclusiveFile::ErrnoText(failure.error).c_str(), RemovalTail(removed));
		return false;
	}

private:
	IO::Folder& importFolder_;
	const char* zipName_;
	IO::Location folder_, expansion_;
	IO::Name own_;
	bool ownLeft_ = false;
};

void AddZip(const import_folder_scan& scan, IO::Folder& importFolder)
{
	IO::Location zip;
	SelectZIPFile(&zip);
	if (zip.IsEmpty()) return;
	const GS::UniString name = ProjectNameOf(zip);
	const GS::UniString::CStr zipText = zip.ToDisplayText().ToCStr();
	IO::Location target;
	importFolder.GetLocation(&target);
	if (name.IsEmpty() || name == "." || name == ".." || target.AppendToLocal(IO::Name(name)) != NoError) {
		WriteReport_Alert("Error point: VELMORA / MenuImportMap() / Add ZIP / the name of %s gives no project folder name.", zipText.Get());
		return;
	}
	// Anything of that name on disk, a file or a link as well as a folder, is never written into.
	if (ProjectListed(scan, name) || importFolder.Contains(IO::Name(name))) {
		ShowProjectExists(scan);
		return;
	}
	ZipExpansion expansion(importFolder, zipText.Get());
	if (!expansion.Begin()) return;
	const int status = system_shell(ZipExpandCommand(zip, expansion.Target(), IsOSMacintosh() || IsOSLinux()));
	if (status != 0) {
		// A failed or partial expansion leaves nothing behind.
		WriteReport_Alert("Error point: VELMORA / MenuImportMap() / Add ZIP / %s could not be expanded (exit status %d); %s", zipText.Get(),
		                  status, RemovalTail(expansion.Remove()));
		return;
	}
	int removedLinks = 0;
	if (!expansion.Check(removedLinks) || !expansion.MoveTo(target, scan)) return;
	ReportExpandedProject(target, zipText.Get(), removedLinks);
}

// ---- delete -----------------------------------------------------------------------------------

void DeleteMarked(import_folder_scan& scan, IO::Folder& importFolder)
{
	Int32 result = 0;
	short dialogId = 0, row = 0;
	void* record[ImportRecordSize] = {&scan, &dialogId, &result, &row};
	ShowDialog(ImportDeleteQuestionDialogId, mainmenu_importmap::delete_alert_dg_handler, record, dialogId);
	if (result != 1) return;
	Int32 failures = 0;
	for (const import_project& p : scan.projects)
		if (p.delete_mark && importFolder.Delete(IO::Name(p.name)) != NoError) ++failures;
	if (failures == 0) return;
	result = failures;
	ShowDialog(ImportDeleteFailuresDialogId, mainmenu_importmap::delete_error_dg_handler, record, dialogId);
}

} // namespace

// ---- the command ------------------------------------------------------------------------------

void mainmenu_importmap::do_it()
{
	// About 64 MiB each: never on the stack.
	const auto t_config = std::make_unique<terrain_import_ini>();
	if (!t_config->init()) {
		WriteReport_AlertPrefixed(import_init_error_prefix, t_config->error);
		return;
	}
	// The factory values stand in for an unreadable user file; the user is told once.
	if (t_config->user_file_unreadable) WriteReport_AlertPrefixed(import_init_error_prefix, t_config->error);
	const auto t_config_minor = std::make_unique<terrain_import_ini>();
	t_config_minor->copy_from(t_config.get(), true);
	import_folder_scan t_scan;
	t_scan.config = t_config.get();
	IO::Folder importFolder{IO::Location(t_config->user_import_folder)};
	for (;;) {
		t_scan.load();
		Int32 result = ResultCancel;
		short dialogId = 0, row = 0;
		void* record[ImportRecordSize] = {&t_scan, &dialogId, &result, &row};
		ShowDialog(ImportProjectDialogId, project_selection_dg_handler, record, dialogId);
		switch (result) {
			case ResultImport: Import(t_scan, row, *t_config_minor); return;
			case ResultAddZip: AddZip(t_scan, importFolder); break;
			case ResultDelete: DeleteMarked(t_scan, importFolder); break;
			default: return;
		}
	}
}

short mainmenu_importmap::project_selection_dg_handler(short message, short /*dialID*/, short item, long long userData,
                                                       long long msgData)
{
	return CatchAll(report_prefix, short{0}, [&]() -> short {
		const Record r = RecordOf(userData);
		if (r.entries == nullptr) return 0;
		UpdateButtons(r);
		switch (message) {
			case DG_MSG_INIT: FillProjectList(r); UpdateButtons(r); return 0;
			case DG_MSG_CLICK: {
				const short close = ClickProjectDialog(r, item, msgData);
				if (close == 0) UpdateButtons(r);
				return close;
			}
			default: return 0;
		}
	});
}

short mainmenu_importmap::delete_alert_dg_handler(short message, short /*dialID*/, short item, long long userData, long long /*msgData*/)
{
	return CatchAll(report_prefix, short{0}, [&]() -> short {
		const Record r = RecordOf(userData);
		if (r.entries == nullptr || message != DG_MSG_CLICK || (item != DG_OK && item != DG_CANCEL)) return 0;
		r.result() = item == DG_OK ? 1 : 0;
		return 1;
	});
}

short mainmenu_importmap::delete_error_dg_handler(short message, short /*dialID*/, short item, long long userData, long long /*msgData*/)
{
	return CatchAll(report_prefix, short{0}, [&]() -> short {
		const Record r = RecordOf(userData);
		if (r.entries == nullptr) return 0;
		if (message == DG_MSG_INIT) {
			char count[16];
			std::snprintf(count, sizeof count, "%d", static_cast<int>(r.result()));
			DGSetItemText(r.dialog(), kFailureCountItem, GS::UniString(count));
		}
		return message == DG_MSG_CLICK && item == DG_OK ? 1 : 0;
	});
}

short mainmenu_importmap::import_colors_dg_handler(short message, short /*dialID*/, short item, long long userData, long long /*msgData*/)
{
	return CatchAll(report_prefix, short{0}, [&]() -> short {
		if (message == DG_MSG_FILTERCHAR) return ColorsTypingAnswer(item);
		const Record r = RecordOf(userData);
		if (r.entries == nullptr || r.minor() == nullptr) return 0;
		switch (message) {
			case DG_MSG_INIT: OpenColors(r); return 0;
			case DG_MSG_CLOSE: SettingDialogFunctions::CloseFunctions(r.minor(), r.entries); return 0;
			case DG_MSG_CHANGE: SettingDialogFunctions::ChangeFunctions(r.minor(), r.entries, item); return 0;
			case DG_MSG_CLICK:
				if (item == kReloadItem) {
					r.minor()->copy_from(r.scan().config, false);
					OpenColors(r);
					return 0;
				}
				if (item != DG_OK && item != DG_CANCEL) return 0;
				r.result() = item == DG_OK ? 1 : 0;
				return 1;
			default: return 0;
		}
	});
}

short mainmenu_importmap::import_alert_dg_handler(short message, short /*dialID*/, short item, long long /*userData*/, long long /*msgData*/)
{
	return CatchAll(report_prefix, short{0}, [&]() -> short {
		return message == DG_MSG_CLICK && item == DG_OK ? 1 : 0;
	});
}

short mainmenu_importmap::import_confirmation_dg_handler(short message, short /*dialID*/, short item, long long userData,
                                                         long long /*msgData*/)
{
	return CatchAll(report_prefix, short{0}, [&]() -> short {
		auto* result = reinterpret_cast<Int32*>(static_cast<std::intptr_t>(userData));
		if (message != DG_MSG_CLICK || result == nullptr) return 0;
		*result = item == DG_OK ? 1 : 2;
		return 1;
	});
}

void SelectZIPFile(IO::Location* out)
{
	if (out == nullptr) return;
	*out = IO::Location();
	FTM::FileTypeManager manager("velmora_file_manager");
	const FTM::FileType zipType("", "zip", 0, 0, 0);
	FTM::TypeID type = manager.SearchForType(zipType, FTM::RootGroup);
	if (type == FTM::UnknownType) type = manager.AddType(zipType, FTM::RootGroup);
	DG::FileDialog dialog(DG::FileDialog::OpenFile);
	dialog.AddFilter(type, 1, GS::UniString("*.zip"));
	if (!dialog.Invoke()) return;
	*out = dialog.GetSelectedFile();
}
