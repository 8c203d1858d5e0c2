// The import run's pieces: the terrain job and the three undoable steps of Importer::MapInsert.
#ifndef VELMORA_MAPINSERT_HPP
#define VELMORA_MAPINSERT_HPP

#include <vector>

#include "APIdefs_Attributes.h"
#include "APIdefs_Base.h"
#include "Array.hpp"
#include "Classes/ObjectGenerationInfo.hpp"
#include "Classes/import_folder_scan.hpp"

class Importer;

// One terrain job. The layer objects are the import list's, not owned.
struct MeshGenerationInfo {
	import_object* terrain = nullptr;
	import_object* water = nullptr;
	import_object* road = nullptr;
	import_object* drawing = nullptr; // source of level lines
	API_AttributeIndex material = API_AttributeIndex(1);
	bool active = false;
	Int16 layer = 1;
	double elevation = 0.0; // metres
	bool useLevelLines = false;
};

// Where the objects go: the frame origin and angle of the first import object and the level
// of the current story.
struct PlacementBase {
	double originX = 0.0;
	double originY = 0.0;
	double angle = 0.0;
	double storyLevel = 0.0;
};

// The run's element identities: every terrain piece, and the last road and water object.
struct RunElements {
	std::vector<API_Guid> terrain;
	API_Guid road = APINULLGuid;
	API_Guid water = APINULLGuid;
};

// The generated parts the host refused for the length of their names: how many, and by how
// many bytes the longest name's file name is too long.
struct LongPartNames {
	int parts = 0;
	std::size_t excess = 0;
};

// The generated part "<prefix>_<word>" of a road, fences, objects, water or vegetation layer
// into out. False for the other kinds, and when the part could not be made (its elements are
// then not placed): reported once, naming the part, or, when the host refused the name and
// its file name is too long, counted in longNames for ReportLongPartNames.
bool GenerateLayerPart(const import_object& object, const GS::UniString& prefix, ObjectGenerationInfo& out,
                       LongPartNames& longNames);
// One report for all parts refused for their names' length: the project's name is too long
// for them, and by how much. Nothing when none was.
void ReportLongPartNames(const LongPartNames& longNames);

// Places one object element per record, in order, with its parameter values. A record whose
// part has no index (its creation failed) is not placed. Failures are reported once per part
// and message with the number of elements it hit; the placed elements stay. Answers the
// first failure's code, else 0; road and water identities go into elements.
GSErrCode PlaceObjectElements(const GS::Array<ObjectGenerationInfo>& objects, const PlacementBase& base, RunElements& elements);

// The terrain mesh of the job, offset and turned by the frame, its outline the building-area
// polygon. On success every piece made goes into elements.terrain. Answers CreateMesh's code.
GSErrCode PlaceTerrainMesh(const MeshGenerationInfo& job, const PlacementBase& base, const GS::Array<API_Coord>& polygon,
                           const Importer& importer, RunElements& elements);

// Cuts every terrain piece by the road and by the water element ('SSUU' solid links). Each
// failed link is reported and the first failure's code answered; the links made stay.
GSErrCode CutTerrainMesh(const RunElements& elements);

#endif
