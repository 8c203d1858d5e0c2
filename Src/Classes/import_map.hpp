// The importer: places one chosen map project into the open host project.
#ifndef VELMORA_IMPORT_MAP_HPP
#define VELMORA_IMPORT_MAP_HPP

#include <string>

#include "ACAPI_GeoLocation.h"
#include "APIdefs_Attributes.h"
#include "APIdefs_Base.h"
#include "APIdefs_LibraryParts.h"
#include "Array.hpp"
#include "Classes/ImportOptions.hpp"
#include "Classes/import_folder_scan.hpp"

class Importer {
public:
	explicit Importer(const ImportOptions& importOptions) : options(importOptions) {}

	const ImportOptions& GetOptions() const { return options; }

	// The 3D extent of the vertices of the objects' 3DS files (the 2D base map and the
	// surroundings model are not 3DS and are skipped). A file that cannot be read or parsed
	// is reported and left out; the others are still measured. No vertex at all: all zeros.
	static GSErrCode CalcBoundingBox(const import_object** objects, unsigned int count, API_Box3D* box);
	// The x/y extent of points, from the empty extent (what the box held is not kept); z
	// stays. An empty array leaves the empty-extent values.
	static void Calc2dBoundingBox(const GS::Array<API_Coord>& points, API_Box3D* box);
	// The area outline of "Area.json": the points of the first ring of "coordinates". A
	// missing or malformed file gives an empty outline; `why` (when given) then says what
	// was wrong, and nothing is reported.
	static GS::Array<API_Coord> ReadOutline(const IO::Location& location, std::string* why = nullptr);
	// The minimum corner of the 3D extent of the layer at `location` (the objects of that
	// location), into `point` when given. No such 3DS object, a file that cannot be read or
	// parsed, or no vertex: the alert "Error: could not retrieve reference point!" and
	// APIERR_GENERAL, and `point` is unchanged.
	static GSErrCode GetReferencePoint(const IO::Location& location, import_object** objects, unsigned int count,
	                                   API_Coord3D* point = nullptr);
	// Writes the frame into every object: minimum corner, whole-number sizes, origin, angle.
	static void SetMapLayerMetaData(import_object** objects, unsigned int count, const API_Box3D& box, const API_Coord3D& origin,
	                                double angle);

	// Computes the extent (x/y from the outline, z from the 3DS files; without an outline the
	// 3DS x/y extent, with one report) and writes the frame. interactive asks the user for
	// the origin point and the direction (cancel returns the host's code, no frame).
	GSErrCode PickOrigo(bool interactive, import_object** objects, unsigned int count);

	// Places the map project: the objects' files with their placement frame and display
	// values (at least one). Every failure is reported where it happens and the run goes on;
	// something thrown while one file is read (out of memory for a huge one) fails that file
	// alone, and inside an undoable step it is that step's failure (ImportStep.hpp). Answers
	// the first failing code of the object placement, terrain, surroundings and cutting
	// steps, else 0. (MapInsert.cpp)
	GSErrCode MapInsert(import_object** objects, unsigned int count);

	// Draws the DXF base map `file` as 2D elements (lines, polylines, arcs, circles, texts on
	// layers named after the drawing's) in one undoable step "Placing VELMORA elements";
	// `layer` takes the entities that name no layer. A file that cannot be read draws
	// nothing; entities that cannot be drawn are left out and reported once per kind.
	static void Place2DElements(const IO::Location& file, const API_AttributeIndex& layer);

	// The local origin and coordinate-system data of "Lokalt nullpunkt.txt"
	// (ImporterGeolocation.cpp).
	// x (east) and y (north) from lines 3 and 4; both 0 when the file cannot be read.
	static void ReadCoordSystemOrigo(const IO::Location& location, double& x, double& y);
	// The height system, projection and zone; a key that is not found leaves its output.
	static void ReadCoordSystemData(const IO::Location& location, GS::UniString& datum, GS::UniString& projection,
	                                GS::UniString& zone);
	// Makes the origin macro "Velmora_XYZ" in the embedded library unless a loaded part of
	// that name exists (then 0, left as it is). Reports and answers the failing step's code.
	static GSErrCode CreateMacroObject(double x, double y, double z, const GS::UniString& datum,
	                                   const GS::UniString& projection, const GS::UniString& zone);
	// The origin macro, then the geocoordinate object "Velmora_Geocoordinate" at the picked
	// origin in the undoable step "Placing VELMORA Geocoordinate". Reports its failures.
	GSErrCode PlaceGeolocalTag(import_object* object, double x, double y, const GS::UniString& datum,
	                           const GS::UniString& projection, const GS::UniString& zone);
	// Reads the project's geolocation and puts the local-origin file's keyed values over it;
	// changed tells whether a non-zero latitude or longitude is overwritten. Without any key
	// nothing changes. When the project's geolocation cannot be read it is reported and the
	// valid flag stays unset. 0, or the read error.
	GSErrCode ReadPlanGeoLocation(bool& changed);
	// Writes the geolocation read above; APIERR_BADDATABASE when none was read.
	GSErrCode SetPlanGeoLocation();
	// The local origin of the options' local-origin file. Always 0.
	GSErrCode ExtractOrigo(double* east, double* north) const;

	// Copies the options' ortho photos into "VELMORA Library" of the project's embedded
	// library, renames each "Velmora_<BASE>_<project>.jpg" (over an older one), registers it
	// as a picture part and, with makeMaterials, makes its texture material "Velmora_<BASE>"
	// (ImporterOrtho.cpp). A material of that name whose texture is this image is reused; one
	// of another image makes the next free "Velmora_<BASE>_<n>". An image whose ground size
	// does not read as positive millimetres is reported and gets no material. surfaceIndex,
	// when 0, takes the first material. libraries receives the project's library list (empty
	// when it cannot be read). The last register or create result; a failed library list at
	// once; 0 without an embedded library.
	GSErrCode OrthoPhotoToEmbedded(import_object** objects, bool makeMaterials, short& surfaceIndex,
	                               GS::Array<API_LibraryInfo>& libraries);

	ImportOptions options;
	bool geolocation_valid = false;
	API_GeoLocation geolocation {};

	// The feedback of the interactive pick: where the frame is and how it is turned.
	static API_Coord3D rubber_pos;
	static double rubber_angle;
};

#endif
