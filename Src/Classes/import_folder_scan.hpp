// The projects of the user's import folder, the layer files each one holds, and the user's
// choice turned into the ordered list of files to import.
#ifndef VELMORA_IMPORT_FOLDER_SCAN_HPP
#define VELMORA_IMPORT_FOLDER_SCAN_HPP

#include <vector>

#include "Classes/MiniIni.hpp"
#include "Classes/terrain_import_ini.hpp"
#include "Location.hpp"
#include "UniString.hpp"

enum ImportObjectType : Int32 {
	ImportTerrain = 0,
	ImportBuildings = 1,
	ImportRoads = 2,
	ImportFences = 3,
	ImportOtherObjects = 4,
	ImportWater = 5,
	ImportVegetation = 6,
	Import2DBaseMap = 100,
	ImportSurroundings = 101,
};

// The 3DS file of each category (index = category = ImportObjectType of the 3D kinds).
extern const char* const const_terrain_import_filenames[TerrainCategoryCount];
// The folder at the top of a project that holds every file an import reads.
constexpr const char* ImportModelFolder = "3D-modell";

// One file to import, with its display values and the placement frame.
struct import_object {
	IO::Location location;
	ImportObjectType type = ImportTerrain;
	bool include = false; // 3D kinds and the surroundings: true; the 2D base map: placed or not
	Int16 pen = 1, fill = 1, fillpen = 1, bckgrnd = 1, surface = 1, surface_2 = 1, layer = 1;
	double min_y = 0, min_x = 0, min_z = 0;
	double origin_y = 0, origin_x = 0, origin_z = 0;
	double angle = 0; // radians
	UInt64 size_x = 0, size_y = 0, size_z = 0;
};

// One project folder and what it holds; a selected flag is only ever true for a present file.
struct import_project {
	GS::UniString name;
	bool present[TerrainCategoryCount] = {};
	bool present_2d = false;
	bool present_surroundings = false;
	bool selected[TerrainCategoryCount] = {};
	bool selected_2d = false;
	bool selected_surroundings = false;
	bool delete_mark = false;
	bool chosen = false;
};

class import_folder_scan {
public:
	// Rebuilds the project list from disk (sorted by name); the selection is dropped.
	void load();
	// Rebuilds user_selection from the first chosen project: 3D layers in category order, then
	// the 2D base map (whenever present), then the surroundings model. False only when a path
	// cannot be formed, with error_text set.
	bool filter_user_selection();
	void import_folder_scan_cleanup();
	unsigned int user_selection_count() const { return static_cast<unsigned int>(user_selection.size()); }

	const terrain_import_ini* config = nullptr; // not owned; set by the owner
	std::vector<import_project> projects;
	const import_project* current = nullptr;    // points into projects
	char error_text[MiniIniErrorSize] = {};
	// Valid until the next load, filter_user_selection or the scan's end.
	std::vector<import_object> user_selection;
};

#endif
