// The import settings: per map category an include flag and seven display values, the 2D
// base map's and the surroundings model's flags, pens and layers, and the import folder.
// Factory values lie beside the add-on in "terrainsettings.txt"; the user's copy in the
// common documents folder ("Velmora/terrainsettings.txt") overrides them.
#ifndef VELMORA_TERRAIN_IMPORT_INI_HPP
#define VELMORA_TERRAIN_IMPORT_INI_HPP

#include "Classes/MiniIni.hpp"
#include "Location.hpp"
#include "UniString.hpp"

constexpr int TerrainCategoryCount = 7; // terrain, houses, roads, fences, customobj, water, vegetation
constexpr unsigned int TerrainIniRecordCount = 70;
constexpr unsigned int TerrainIniFolderBytes = 897;   // the folder's 8-bit form and a zero byte
constexpr unsigned int TerrainIniFolderMaxBytes = 895; // its hex form must fit a record value

extern const char* const def_terrain_import_foldername_app;  // "Velmora"
extern const char* const def_terrain_import_filename_ini;    // "terrainsettings.txt"
extern const char* const unreadable_suffix;                  // ".unreadable"
extern const char* const terrain_category_names[TerrainCategoryCount];

// About 64 MiB (the file buffer): always made on the heap, one per command.
class terrain_import_ini {
public:
	terrain_import_ini();
	// The defaults: nothing included; pens, fills, fill pens and layers 1; backgrounds and
	// surfaces 0; the customs pens and layers 1; no import folder; texts emptied.
	void terrain_import_ini_clear();
	// Factory file, then the user's file, then the default import folder when none is set.
	// False only when the factory file cannot be read (error holds why). A user file that is
	// there but cannot be read leaves the factory values, sets user_file_unreadable and its
	// reason in error, and init still succeeds: the caller reports it.
	bool init();
	// Reads one settings file (fullPath: the name is a path, else a name beside the add-on).
	bool init_loader(GS::UniString name, bool fullPath, bool clearFirst);
	// Writes every setting to the user's file. An unreadable user file found by init is first
	// moved aside to "terrainsettings.txt.unreadable" (replacing an older one), so its bytes
	// are kept; when that fails nothing is written. False with error set.
	bool save();
	// all: everything but the import folder; else only the values of the categories (and of
	// the customs) that this object includes.
	void copy_from(const terrain_import_ini* source, bool all);

	mini_ini_config_struc records[TerrainIniRecordCount];
	char file_buffer[MiniIniFileBufferSize];
	char record_error[MiniIniErrorSize];
	Int32 include_file[TerrainCategoryCount];
	Int32 include_customs_2d_file;
	Int32 include_customs_surroundings_file;
	char import_folder_bytes[TerrainIniFolderBytes];
	char error[MiniIniErrorSize];

	bool include[TerrainCategoryCount];
	Int16 pen[TerrainCategoryCount];
	Int16 fill[TerrainCategoryCount];
	Int16 fillpen[TerrainCategoryCount];
	Int16 bckgrnd[TerrainCategoryCount];
	Int16 surface[TerrainCategoryCount];
	Int16 surface_2[TerrainCategoryCount];
	Int16 layer[TerrainCategoryCount];
	bool include_customs_2d;
	bool include_customs_surroundings;
	Int16 customs_2d_pen;
	Int16 customs_2d_layer;
	Int16 customs_surroundings_pen;
	Int16 customs_surroundings_layer;
	GS::UniString user_import_folder;
	bool user_file_unreadable = false;

private:
	bool MoveUnreadableAside(const IO::Location& file);
	void ParseRecord(const mini_ini_config_struc& record);
	void SetFlagsFromFileForms();
	bool SaveError(const char* why);
};

#endif
