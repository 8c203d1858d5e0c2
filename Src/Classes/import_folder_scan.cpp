#include "import_folder_scan.hpp"

#include "Classes/folder_scan.hpp"
#include "File.hpp"
#include "Helpers/GSErrorCodes.hpp"

const char* const const_terrain_import_filenames[TerrainCategoryCount] = {
	"Terreng.3ds", "Bygning.3ds", "Veg.3ds", "Gjerder.3ds", "Objekter.3ds", "Vann.3ds", "Hekk.3ds",
};

namespace {

constexpr int HedgeCategory = ImportVegetation;
const char* const kVegetationAlternative = "Vegetasjon.3ds";
const char* const k3dsFolder = "3ds";
const char* const kBaseMapFolder = "Basiskart";
const char* const kBaseMapFile = "Alle data.dxf";
const char* const kSurroundingsFolder = "Visualiseringsterreng";
const char* const kSurroundingsFile = "Visualiseringsterreng_med_bygg.skp";

// import folder / project / 3D-modell / folder; false when a name cannot be appended.
bool DataFolder(const GS::UniString& importFolder, const GS::UniString& project, const char* folder, IO::Location& loc)
{
	loc = IO::Location(importFolder);
	return loc.AppendToLocal(IO::Name(project)) == NoError && loc.AppendToLocal(IO::Name(ImportModelFolder)) == NoError &&
	       loc.AppendToLocal(IO::Name(folder)) == NoError;
}

int CategoryOf(const GS::UniString& fileName)
{
	for (int c = 0; c < TerrainCategoryCount; ++c) {
		if (fileName == const_terrain_import_filenames[c]) return c;
		if (c == HedgeCategory && fileName == kVegetationAlternative) return c;
	}
	return -1;
}

bool Lists(const GS::UniString& folder, const char* fileName)
{
	folder_scan scan;
	scan.list_files(folder);
	return scan.names.Contains(GS::UniString(fileName));
}

void ScanProject(const GS::UniString& importFolder, const terrain_import_ini& config, import_project& p)
{
	IO::Location loc;
	if (DataFolder(importFolder, p.name, k3dsFolder, loc)) {
		folder_scan scan;
		scan.list_files(loc.ToDisplayText());
		for (const GS::UniString& file : scan.names) {
			const int c = CategoryOf(file);
			if (c < 0) continue;
			p.present[c] = true;
			p.selected[c] = config.include[c];
		}
	}
	if (DataFolder(importFolder, p.name, kBaseMapFolder, loc) && Lists(loc.ToDisplayText(), kBaseMapFile)) {
		p.present_2d = true;
		p.selected_2d = config.include_customs_2d;
	}
	if (DataFolder(importFolder, p.name, kSurroundingsFolder, loc) && Lists(loc.ToDisplayText(), kSurroundingsFile)) {
		p.present_surroundings = true;
		p.selected_surroundings = config.include_customs_surroundings;
	}
}

} // namespace

void import_folder_scan::import_folder_scan_cleanup()
{
	projects.clear();
	current = nullptr;
	user_selection.clear();
}

void import_folder_scan::load()
{
	import_folder_scan_cleanup();
	if (config == nullptr) return;
	folder_scan scan;
	scan.list_folders(config->user_import_folder);
	for (const GS::UniString& name : scan.names) {
		import_project p;
		p.name = name;
		ScanProject(config->user_import_folder, *config, p);
		projects.push_back(p);
	}
}

bool import_folder_scan::filter_user_selection()
{
	error_text[0] = 0;
	user_selection.clear();
	current = nullptr;
	for (const import_project& p : projects) {
		if (p.chosen) { current = &p; break; }
	}
	if (current == nullptr || config == nullptr) return true;
	const import_project& p = *current;
	const GS::UniString& root = config->user_import_folder;

	IO::Location loc;
	for (int c = 0; c < TerrainCategoryCount; ++c) {
		if (!p.present[c] || !p.selected[c]) continue;
		import_object o;
		o.type = static_cast<ImportObjectType>(c);
		o.include = true;
		GSErrCode err = DataFolder(root, p.name, k3dsFolder, loc) ? NoError : ErrLocation;
		if (err == NoError) err = loc.AppendToLocal(IO::Name(const_terrain_import_filenames[c]));
		if (err != NoError) {
			SetErrorText(error_text, "import_folder_scan::filter_user_selection() AppendToLocal *%d:%s:%s*", static_cast<int>(err),
			             GetGSErrName(err), GetGSErrDetail(err));
			user_selection.clear();
			return false;
		}
		if (c == HedgeCategory && IO::File(loc).GetStatus() == ErrFileNotFound) loc.SetLastLocalName(IO::Name(kVegetationAlternative));
		o.location = loc;
		user_selection.push_back(o);
	}
	if (p.present_2d && DataFolder(root, p.name, kBaseMapFolder, loc) && loc.AppendToLocal(IO::Name(kBaseMapFile)) == NoError) {
		import_object o;
		o.type = Import2DBaseMap;
		o.include = p.selected_2d;
		o.location = loc;
		user_selection.push_back(o);
	}
	if (p.present_surroundings && p.selected_surroundings && DataFolder(root, p.name, kSurroundingsFolder, loc) &&
	    loc.AppendToLocal(IO::Name(kSurroundingsFile)) == NoError) {
		import_object o;
		o.type = ImportSurroundings;
		o.include = true;
		o.location = loc;
		user_selection.push_back(o);
	}
	return true;
}
