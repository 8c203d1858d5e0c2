#include "terrain_import_ini.hpp"

#include <cstdio>
#include <cstdlib>
#include <cstring>

#include "File.hpp"
#include "FileSystem.hpp"
#include "Folder.hpp"
#include "Helpers/GSErrorCodes.hpp"
#include "Helpers/NumberRange.hpp"
#include "Helpers/StrConvert.hpp"
#include "utils/TextUnits.hpp"

const char* const def_terrain_import_foldername_app = "Velmora";
const char* const def_terrain_import_filename_ini = "terrainsettings.txt";
const char* const unreadable_suffix = ".unreadable";
const char* const terrain_category_names[TerrainCategoryCount] = {"terrain", "houses",   "roads",     "fences",
                                                                  "customobj", "water", "vegetation"};

namespace {

using Ini = terrain_import_ini;

// The seven value groups, in the order the file holds them, with their defaults.
const struct {
	const char* prefix;
	Int16 (Ini::*values)[TerrainCategoryCount];
	Int16 defaultValue;
} kGroups[] = {
	{"pen_", &Ini::pen, 1},         {"fill_", &Ini::fill, 1},       {"fillpen_", &Ini::fillpen, 1},
	{"bckgrnd_", &Ini::bckgrnd, 0}, {"surface_", &Ini::surface, 0}, {"surface_2_", &Ini::surface_2, 0},
	{"layer_", &Ini::layer, 1},
};

// The records after the groups: include flags (file form, "%d") and values ("%hd").
const struct {
	const char* key;
	Int32 Ini::*flag;
	Int16 Ini::*value;
} kCustoms[] = {
	{"include_customs_2d", &Ini::include_customs_2d_file, nullptr},
	{"customs_2d_pen", nullptr, &Ini::customs_2d_pen},
	{"customs_2d_layer", nullptr, &Ini::customs_2d_layer},
	{"include_customs_surroundings", &Ini::include_customs_surroundings_file, nullptr},
	{"customs_surroundings_pen", nullptr, &Ini::customs_surroundings_pen},
	{"customs_surroundings_layer", nullptr, &Ini::customs_surroundings_layer},
};

constexpr const char* kFolderKey = "user_import_folder";

bool KeyIs(const char* key, const char* prefix, const char* suffix)
{
	const std::size_t n = std::strlen(prefix);
	return std::strncmp(key, prefix, n) == 0 && std::strcmp(key + n, suffix) == 0;
}

void SetRecord(mini_ini_config_struc& r, const char* key, const char* format, int value)
{
	std::snprintf(r.key, sizeof r.key, "%s", key);
	std::snprintf(r.value, sizeof r.value, format, value);
}

// Reads a leading decimal number as sscanf's "%d" would (white space, sign, digits), but a
// number beyond the field's range is held at its nearest limit instead of being undefined.
// No number: the field stays as it was.
template <typename T>
void ScanNumber(const char* text, T& field)
{
	char* end = nullptr;
	const long long v = std::strtoll(text, &end, 10);
	if (end != text) field = HoldInRange<T>(v);
}

bool FolderExists(const IO::Location& loc) { return IO::Folder(loc).GetStatus() == NoError; }

// The special location with "Velmora" appended; false when either step fails.
bool AppFolder(IO::FileSystem::SpecialFolderID id, IO::Location& loc)
{
	return IO::fileSystem.GetSpecialLocation(id, &loc) == NoError && FolderExists(loc) &&
	       loc.AppendToLocal(IO::Name(def_terrain_import_foldername_app)) == NoError;
}

// Creates "Velmora" in the folder `appFolder` lies in, when it is not there yet.
void CreateAppFolder(const IO::Location& appFolder)
{
	if (FolderExists(appFolder)) return;
	IO::Location parent = appFolder;
	if (parent.DeleteLastLocalName() != NoError) return;
	IO::Folder(parent).CreateFolder(IO::Name(def_terrain_import_foldername_app), IO::AcceptAccessDenied);
}

// Names tried for the aside file, so that one kept before is never overwritten.
constexpr int kAsideNames = 99;

// The first of "<name>.unreadable", "<name>.unreadable-2", ... that nothing holds; the last
// one when every one is taken (the move then fails with the host's own answer).
GSErrCode FreshAsideName(const IO::Location& file, IO::Location& aside)
{
	IO::Name name;
	if (const GSErrCode err = file.GetLastLocalName(&name)) return err;
	for (int n = 1; n <= kAsideNames; ++n) {
		aside = file;
		GS::UniString candidate = name.ToString() + unreadable_suffix;
		if (n > 1) candidate += GS::UniString::Printf("-%d", n);
		if (const GSErrCode err = aside.SetLastLocalName(IO::Name(candidate))) return err;
		if (!IO::fileSystem.Exists(aside)) break;
	}
	return NoError;
}

} // namespace

terrain_import_ini::terrain_import_ini() { terrain_import_ini_clear(); }

void terrain_import_ini::terrain_import_ini_clear()
{
	for (auto& r : records) r.key[0] = r.value[0] = 0;
	record_error[0] = error[0] = import_folder_bytes[0] = 0;
	for (int c = 0; c < TerrainCategoryCount; ++c) {
		include[c] = false;
		include_file[c] = 0;
		for (const auto& g : kGroups) (this->*g.values)[c] = g.defaultValue;
	}
	include_customs_2d = include_customs_surroundings = false;
	include_customs_2d_file = include_customs_surroundings_file = 0;
	customs_2d_pen = customs_2d_layer = customs_surroundings_pen = customs_surroundings_layer = 1;
	user_import_folder.Clear();
}

void terrain_import_ini::ParseRecord(const mini_ini_config_struc& r)
{
	for (int c = 0; c < TerrainCategoryCount; ++c) {
		const char* category = terrain_category_names[c];
		if (KeyIs(r.key, "include_", category)) ScanNumber(r.value, include_file[c]);
		for (const auto& g : kGroups)
			if (KeyIs(r.key, g.prefix, category)) ScanNumber(r.value, (this->*g.values)[c]);
	}
	for (const auto& k : kCustoms) {
		if (std::strcmp(r.key, k.key) != 0) continue;
		if (k.flag != nullptr) ScanNumber(r.value, this->*k.flag);
		else ScanNumber(r.value, this->*k.value);
	}
	if (std::strcmp(r.key, kFolderKey) == 0) {
		char hex[MiniIniValueSize];
		std::snprintf(hex, sizeof hex, "%.*s", static_cast<int>(2 * TerrainIniFolderMaxBytes), r.value);
		base16_to_utf8(hex, import_folder_bytes);
		user_import_folder = GS::UniString(import_folder_bytes, GS::CC_UTF8);
	}
}

void terrain_import_ini::SetFlagsFromFileForms()
{
	for (int c = 0; c < TerrainCategoryCount; ++c) include[c] = include_file[c] != 0;
	include_customs_2d = include_customs_2d_file != 0;
	include_customs_surroundings = include_customs_surroundings_file != 0;
}

bool terrain_import_ini::init_loader(GS::UniString name, bool fullPath, bool clearFirst)
{
	if (clearFirst) terrain_import_ini_clear();
	if (!MiniIniConfigRead(name, fullPath, records, TerrainIniRecordCount, file_buffer, MiniIniFileBufferSize, record_error)) {
		SetErrorText(error, "terrain_import_ini::init_loader() / %s", record_error);
		return false;
	}
	for (const auto& r : records) {
		if (r.key[0] == 0) break;
		ParseRecord(r);
		SetFlagsFromFileForms();
	}
	return true;
}

bool terrain_import_ini::init()
{
	IO::Location common;
	if (AppFolder(IO::FileSystem::CommonDocuments, common)) CreateAppFolder(common);

	if (!init_loader(def_terrain_import_filename_ini, false, true)) return false;

	// A user file that is there but cannot be read keeps the factory values; the caller
	// reports it, and the next save moves it aside instead of writing over it.
	user_file_unreadable = false;
	IO::Location user;
	if (AppFolder(IO::FileSystem::CommonDocuments, user) && user.AppendToLocal(IO::Name(def_terrain_import_filename_ini)) == NoError &&
	    IO::File(user).GetStatus() == NoError)
		user_file_unreadable = !init_loader(user.ToDisplayText(), true, false);

	IO::Location importRoot;
	if (user_import_folder.IsEmpty() && IO::fileSystem.GetSpecialLocation(IO::FileSystem::DefaultImportRoot, &importRoot) == NoError &&
	    importRoot.AppendToLocal(IO::Name(def_terrain_import_foldername_app)) == NoError)
		user_import_folder = importRoot.ToDisplayText();

	IO::Location defaultFolder;
	if (AppFolder(IO::FileSystem::DefaultImportRoot, defaultFolder) && defaultFolder.ToDisplayText() == user_import_folder)
		CreateAppFolder(defaultFolder);
	return true;
}

bool terrain_import_ini::SaveError(const char* why)
{
	SetErrorText(error, "terrain_import_ini::save() / %s", why);
	return false;
}

bool terrain_import_ini::save()
{
	error[0] = 0;
	for (auto& r : records) r.key[0] = r.value[0] = 0;
	for (int c = 0; c < TerrainCategoryCount; ++c) include_file[c] = include[c] ? 1 : 0;
	include_customs_2d_file = include_customs_2d ? 1 : 0;
	include_customs_surroundings_file = include_customs_surroundings ? 1 : 0;

	unsigned int n = 0;
	char key[MiniIniKeySize];
	for (int c = 0; c < TerrainCategoryCount; ++c) {
		std::snprintf(key, sizeof key, "include_%s", terrain_category_names[c]);
		SetRecord(records[n++], key, "%d", include_file[c]);
	}
	for (const auto& g : kGroups) {
		for (int c = 0; c < TerrainCategoryCount; ++c) {
			std::snprintf(key, sizeof key, "%s%s", g.prefix, terrain_category_names[c]);
			SetRecord(records[n++], key, "%hd", (this->*g.values)[c]);
		}
	}
	for (const auto& k : kCustoms)
		SetRecord(records[n++], k.key, k.flag != nullptr ? "%d" : "%hd", k.flag != nullptr ? this->*k.flag : this->*k.value);

	user_import_folder.Trim();
	const std::string folder = kivel::ToUtf8(user_import_folder);
	if (folder.size() > TerrainIniFolderMaxBytes) {
		char why[128];
		std::snprintf(why, sizeof why, "user_import_folder is %d bytes of UTF-8; at most %d fit the settings file",
		              static_cast<int>(folder.size()), static_cast<int>(TerrainIniFolderMaxBytes));
		return SaveError(why);
	}
	std::memcpy(import_folder_bytes, folder.c_str(), folder.size() + 1);
	std::snprintf(records[n].key, sizeof records[n].key, "%s", kFolderKey);
	utf8_to_base16(import_folder_bytes, records[n].value);
	++n;

	IO::Location loc;
	if (IO::fileSystem.GetSpecialLocation(IO::FileSystem::CommonDocuments, &loc) != NoError || !FolderExists(loc))
		return SaveError("IO::FileSystem::CommonDocuments path does not exist ???");
	if (loc.AppendToLocal(IO::Name(def_terrain_import_foldername_app)) != NoError)
		return SaveError("IO::FileSystem::CommonDocuments + def_terrain_import_foldername_app AppendToLocal() failed.");
	CreateAppFolder(loc);
	if (!FolderExists(loc))
		return SaveError("IO::FileSystem::CommonDocuments + def_terrain_import_foldername_app path does not exist and cannot be created.");
	if (loc.AppendToLocal(IO::Name(def_terrain_import_filename_ini)) != NoError)
		return SaveError("IO::FileSystem::CommonDocuments + def_terrain_import_foldername_app + def_terrain_import_filename_ini AppendToLocal() failed.");
	if (user_file_unreadable && !MoveUnreadableAside(loc)) return false;
	if (!MiniIniConfigWrite(loc.ToDisplayText(), true, records, TerrainIniRecordCount, file_buffer, MiniIniFileBufferSize, record_error))
		return SaveError(record_error);
	return true;
}

bool terrain_import_ini::MoveUnreadableAside(const IO::Location& file)
{
	IO::Location aside;
	GSErrCode err = NoError;
	// Gone since init: nothing to keep.
	if (IO::fileSystem.Exists(file)) err = FreshAsideName(file, aside);
	if (err == NoError && IO::fileSystem.Exists(file)) err = IO::fileSystem.Move(file, aside);
	if (err != NoError) {
		char why[MiniIniErrorSize];
		std::snprintf(why, sizeof why, "the unreadable settings file cannot be moved aside to %s%s *%d:%s:%s*",
		              def_terrain_import_filename_ini, unreadable_suffix, static_cast<int>(err), GetGSErrName(err), GetGSErrDetail(err));
		return SaveError(why);
	}
	user_file_unreadable = false;
	return true;
}

void terrain_import_ini::copy_from(const terrain_import_ini* source, bool all)
{
	for (int c = 0; c < TerrainCategoryCount; ++c) {
		if (all) include[c] = source->include[c];
		if (!all && !include[c]) continue;
		for (const auto& g : kGroups) (this->*g.values)[c] = (source->*g.values)[c];
	}
	if (all) {
		include_customs_2d = source->include_customs_2d;
		include_customs_surroundings = source->include_customs_surroundings;
	}
	if (all || include_customs_2d) {
		customs_2d_pen = source->customs_2d_pen;
		customs_2d_layer = source->customs_2d_layer;
	}
	if (all || include_customs_surroundings) {
		customs_surroundings_pen = source->customs_surroundings_pen;
		customs_surroundings_layer = source->customs_surroundings_layer;
	}
}
