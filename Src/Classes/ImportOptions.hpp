// The side files of the chosen map project, found once when the user imports.
#ifndef VELMORA_IMPORTOPTIONS_HPP
#define VELMORA_IMPORTOPTIONS_HPP

#include "Array.hpp"
#include "Classes/import_folder_scan.hpp"
#include "Folder.hpp"
#include "Location.hpp"
#include "UniString.hpp"

// An empty location means the file was not found.
struct ImportOptions {
	IO::Location area_location;          // 3D-modell/Area.json
	GS::Array<IO::Location> images;      // one each from Ortofoto, Arealplan_raster, Bakgrunnskart
	bool mesh_option = true;             // handed on to the terrain options unchanged
	GS::UniString name_prefix;           // the project's folder name
	IO::Location origin_location;        // 3D-modell/Lokalt nullpunkt.txt
	IO::Location vegetation_location;    // 3D-modell/Vegetasjon/Vegetasjon.csv
};

// Needs a scan whose filter_user_selection left a current project and at least one object.
ImportOptions GetImportOptions(const import_folder_scan* scan);

// Folder enumeration callback: an image file ("JPG", base name holding "SCALE", "_X" and
// "_Y", any case) replaces *(IO::Location*)userData by its own location. Goes on, unless
// something throws: that is reported once ("Velmora / EnumCallBack# Internal error: <what>")
// and the enumeration stops.
bool EnumCallBack(const IO::Folder& folder, const IO::Name& name, bool isFolder, void* userData);

#endif
