// The import run: library, geolocation, ortho photos, generated parts and readers, object
// placement, terrain, 2D drawing, surroundings model and the cut of roads and water.
#include "Classes/MapInsert.hpp"

#include <cctype>
#include <cstring>
#include <map>
#include <string>
#include <tuple>
#include <type_traits>

#include "ACAPinc.h"
#include "APICommon.hpp"
#include "Classes/HouseReader.hpp"
#include "Classes/ImportStep.hpp"
#include "Classes/MeshCreator.hpp"
#include "Classes/SkpImporter.hpp"
#include "Classes/VegetationReader.hpp"
#include "Classes/import_map.hpp"
#include "File.hpp"
#include "Gdl/GDLCreator.hpp"
#include "Helpers/CatchAll.hpp"
#include "Helpers/FileNameLength.hpp"
#include "Helpers/GSErrorCodes.hpp"
#include "Helpers/LibraryManager.hpp"
#include "Helpers/MemoOwner.hpp"
#include "generic/GenericHelpers.hpp"
#include "generic/LibraryManager.hpp"
#include "generic/LibraryPart.hpp"
#include "generic/Story.hpp"
#include "libpart/MemoParams.hpp"

namespace {

// The word of each 3D layer kind: it names the generated part ("<project>_<word>").
struct LayerKind {
	ImportObjectType type;
	const char* word;
	bool generatesPart;
	bool flat;
	double z; // level of the generated part's element
};

const LayerKind kLayerKinds[] = {
	{ImportObjectType(0), "Terreng", false, false, 0.0},
	{ImportObjectType(1), "Bygning", false, false, 0.0},
	{ImportObjectType(2), "Veg", true, true, 0.1},
	{ImportObjectType(3), "Gjerder", true, false, 0.0},
	{ImportObjectType(4), "Objekter", true, false, 0.0},
	{ImportObjectType(5), "Vann", true, true, 0.0},
	{ImportObjectType(6), "Vegetasjon", true, false, 0.0},
};

const LayerKind* KindOf(ImportObjectType type)
{
	for (const LayerKind& kind : kLayerKinds)
		if (kind.type == type) return &kind;
	return nullptr;
}

constexpr int kDrawing = 100;
constexpr int kSurroundings = 101;
constexpr GSErrCode kFileNotFound = static_cast<GSErrCode>(0x81010100);
constexpr const char* kPartFileExtension = ".gsm";   // the host keeps a part in "<name>.gsm"

void KeepFirst(GSErrCode& result, GSErrCode err)
{
	if (result == NoError) result = err;
}

void SetPartName(API_LibPart& part, const GS::UniString& name)
{
	const USize n = std::min<USize>(name.GetLength(), API_UniLongNameLen - 1);
	for (USize i = 0; i < n; ++i) part.docu_UName[i] = name[i];
	part.docu_UName[n] = 0;
}

std::string PartName(const API_LibPart& part)
{
	USize n = 0;
	while (n < API_UniLongNameLen && part.docu_UName[n] != 0) ++n;
	return GS::UniString(part.docu_UName, n).ToCStr().Get();
}

// The missing hedge layer of a vegetation folder is read from "Vegetasjon.3ds" beside it.
IO::Location PartSource(const IO::Location& location)
{
	IO::Name name;
	if (location.GetLastLocalName(&name) != NoError || name.ToString() != GS::UniString("Hekk.3ds")) return location;
	IO::File file(location);
	if (file.GetStatus() != kFileNotFound) return location;
	IO::Location fallback(location);
	fallback.SetLastLocalName(IO::Name("Vegetasjon.3ds"));
	return fallback;
}

} // namespace

bool GenerateLayerPart(const import_object& object, const GS::UniString& prefix, ObjectGenerationInfo& out,
                       LongPartNames& longNames)
{
	const LayerKind* found = KindOf(object.type);
	if (found == nullptr || !found->generatesPart) return false;
	const LayerKind& kind = *found;
	API_LibPart part{};
	const GS::UniString name = prefix + GS::UniString("_") + GS::UniString(kind.word);
	SetPartName(part, name);
	API_Box3D box{};
	box.xMin = object.min_x;
	box.yMin = object.min_y;
	box.zMin = object.min_z;
	box.xMax = object.min_x + object.size_x;
	box.yMax = object.min_y + object.size_y;
	box.zMax = object.min_z + object.size_z;
	CGDLCreator creator(PartSource(object.location), object.pen, object.fillpen, object.bckgrnd, object.fill, object.surface,
	                    kind.flat, -0.1);
	const GSErrCode err = creator.CreateLibpart(&part, &box);
	const std::size_t excess = FileNameExcess(name + kPartFileExtension);
	if (err == APIERR_BADNAME && excess > 0) {
		++longNames.parts;
		longNames.excess = std::max(longNames.excess, excess);
		return false;
	}
	if (err != NoError) {
		WriteReport_Alert("Error creating the library part \"%s\": it is not placed *%d:%s:%s*", PartName(part).c_str(), err,
		                  GetGSErrName(err), GetGSErrDetail(err));
		return false;
	}
	out = ObjectGenerationInfo(part, object.type, object.layer, kind.z);
	return true;
}

void ReportLongPartNames(const LongPartNames& longNames)
{
	if (longNames.parts == 0) return;
	WriteReport_Alert("The project's name is %zu bytes too long for the names of its library parts: a part's file name (the "
	                  "project's name, \"_\", the layer's word and \"%s\") may have at most %zu bytes. %d parts are not made, "
	                  "and their elements are not placed.",
	                  longNames.excess, kPartFileExtension, kLongestFileName, longNames.parts);
}

namespace {

// The level of the current story; 0 with a report when the story list cannot be read.
double CurrentStoryLevel()
{
	API_StoryInfo info{};
	const GSErrCode err = kivel::Story::GetSettings(info, 0);
	const int index = info.actStory - info.firstStory;
	double level = 0.0;
	if (err != NoError || info.data == nullptr || index < 0 || index > info.lastStory - info.firstStory ||
	    static_cast<std::size_t>(index) >= BMGetHandleSize(reinterpret_cast<GSHandle>(info.data)) / sizeof(API_StoryType))
		WriteReport_Alert("The story list could not be read: elements are placed at level 0 *%d:%s:%s*", err, GetGSErrName(err),
		                  GetGSErrDetail(err));
	else
		level = (*info.data)[index].level;
	if (info.data != nullptr) BMKillHandle(reinterpret_cast<GSHandle*>(&info.data));
	return level;
}

// ---- object placement ---------------------------------------------------------------------

// Failures of one placement message and part, reported once with their count.
using FailureKey = std::tuple<const char*, GSErrCode, std::string>;

std::string UpperName(const char* name)
{
	std::string s(name);
	for (char& c : s) c = static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
	return s;
}

void SetParameters(const ObjectGenerationInfo& record, API_AddParType** params, int count)
{
	if (record.parameters.IsEmpty() || params == nullptr) return;
	for (int i = 0; i < count; ++i) {
		API_AddParType& rec = (*params)[i];
		const ObjectParameter* value = record.parameters.GetPtr(GS::UniString(UpperName(rec.name).c_str()));
		if (value == nullptr) continue;
		if (!value->isArray && value->IsStringParameter())
			kivel::MP::SetStringParam(rec, value->stringValue);
		else if (!value->isArray)
			kivel::MP::SetDoubleParam(rec, value->doubleValue);
		else if (value->IsStringParameter())
			kivel::MP::SetStringParamArray(rec, value->stringArray);
		else
			kivel::MP::SetDoubleParamArray(rec, value->doubleArray);
	}
}

// Places one record: 0, or the failing call's message and code.
GSErrCode PlaceOne(const ObjectGenerationInfo& record, const PlacementBase& base, API_Guid& made, const char*& message)
{
	API_Element element;
	BNZeroMemory(&element, sizeof element);
	kivel::SetTypeId(element, API_ObjectID);
	MemoOwner owner; // freed also when a host call throws
	API_ElementMemo& memo = owner.memo;
	GSErrCode err = ACAPI_Element_GetDefaults(&element, &memo);
	if (err != NoError) {
		message = "Error while getting default settings of VELMORA geometries";
		return err;
	}
	double a = 0.0, b = 0.0;
	int count = 0;
	err = kivel::LibraryPart::GetParameters(record.libPart.index, a, b, count, memo.params);
	if (err != NoError) {
		message = "Error while getting parameters of VELMORA geometries";
		return err;
	}
	API_ObjectType& object = element.object;
	object.pos.x = base.originX + record.x;
	object.pos.y = base.originY + record.y;
	object.level = record.z - base.storyLevel;
	object.angle = base.angle;
	object.libInd = record.libPart.index;
	element.header.layer = kivel::CreateAttributeIndex(record.layer);
	object.useObjPens = true;
	object.useObjLtypes = true;
	if (const ObjectParameter* size = record.parameters.GetPtr("A")) object.xRatio = size->doubleValue;
	if (const ObjectParameter* size = record.parameters.GetPtr("B")) object.yRatio = size->doubleValue;
	SetParameters(record, memo.params, count);
	err = ACAPI_Element_Create(&element, &memo);
	if (err == NoError) {
		made = element.header.guid;
		if (record.type == ImportObjectType(6)) kivel::RunParameterScript(element.header, 0);
	} else {
		message = "Error while placing VELMORA geometries";
	}
	return err;
}

} // namespace

GSErrCode PlaceObjectElements(const GS::Array<ObjectGenerationInfo>& objects, const PlacementBase& base, RunElements& elements)
{
	std::map<FailureKey, int> failures;
	GSErrCode result = NoError;
	for (const ObjectGenerationInfo& record : objects) {
		API_Guid made = APINULLGuid;
		const char* message = nullptr;
		const GSErrCode err = PlaceOne(record, base, made, message);
		if (err != NoError) {
			KeepFirst(result, err);
			++failures[FailureKey(message, err, PartName(record.libPart))];
			continue;
		}
		if (record.type == ImportObjectType(5)) elements.water = made;
		if (record.type == ImportObjectType(2)) elements.road = made;
	}
	for (const auto& [key, count] : failures) {
		const auto& [message, code, part] = key;
		WriteReport_Alert("%s: %d (part \"%s\", %d element(s))", message, code, part.c_str(), count);
	}
	return result;
}

GSErrCode PlaceTerrainMesh(const MeshGenerationInfo& job, const PlacementBase& base, const GS::Array<API_Coord>& polygon,
                           const Importer& importer, RunElements& elements)
{
	const import_object& terrain = *job.terrain;
	MeshCreatorOptions options;
	options.useLevelLines = job.useLevelLines;
	options.terrainFile = terrain.location;
	if (job.water != nullptr) options.waterFile = job.water->location;
	if (job.road != nullptr) options.roadFile = job.road->location;
	options.offset = API_Coord3D{base.originX, base.originY, 0.0};
	options.angle = base.angle;
	options.pen = terrain.pen;
	options.fillPen = terrain.fillpen;
	options.backgroundPen = terrain.bckgrnd;
	options.fillType = terrain.fill;
	options.surface = terrain.surface;
	options.meshPen = 61;
	options.areaPolygon = polygon;
	options.optionFlag = importer.GetOptions().mesh_option;
	options.material = job.material;
	options.layer = job.layer;
	options.elevation = job.elevation + base.storyLevel;
	if (job.drawing != nullptr) {
		options.dxfFile = job.drawing->location;
		options.baseMapDrawn = job.drawing->include;
	}
	CMeshCreator creator(options);
	const GSErrCode err = creator.CreateMesh();
	if (err == NoError) elements.terrain = creator.GetMeshGuids();
	return err;
}

GSErrCode CutTerrainMesh(const RunElements& elements)
{
	GSErrCode result = NoError;
	for (const API_Guid& piece : elements.terrain) {
		for (const API_Guid& tool : {elements.road, elements.water}) {
			if (tool == APINULLGuid) continue;
			const GSErrCode err = ACAPI_Element_SolidLink_Create(piece, tool, APISolid_SubstUp, 0);
			if (err == NoError) continue;
			KeepFirst(result, err);
			WriteReport_Alert("ACAPI_Element_SolidLink_Create *%d:%s:%s*", err, GetGSErrName(err), GetGSErrDetail(err));
		}
	}
	return result;
}

// ---- the run ------------------------------------------------------------------------------

namespace {

// Reads one file of the run (a layer, the tree list, the base map, the surroundings model)
// with read, which answers a host code or nothing (0). Anything thrown while reading it,
// such as running out of memory for a huge file, fails that file alone: it is reported with
// the file's name, answers APIERR_GENERAL, and the run goes on with the next.
template <typename Read>
GSErrCode ReadOneFile(const IO::Location& file, Read&& read)
{
	const std::string prefix = std::string(kImportReportPrefix) + file.ToDisplayText().ToCStr().Get() + " / ";
	return CatchAll(prefix.c_str(), GSErrCode(APIERR_GENERAL), [&]() -> GSErrCode {
		if constexpr (std::is_void_v<decltype(read())>) {
			read();
			return NoError;
		} else {
			return read();
		}
	});
}

// The first pass: the terrain job and the records to place.
void CollectObjects(Importer& importer, import_object** objects, unsigned int count, short surfaceIndex, MeshGenerationInfo& job,
                    GS::Array<ObjectGenerationInfo>& records)
{
	const ImportOptions& options = importer.GetOptions();
	const GS::UniString prefix(options.name_prefix);
	LongPartNames longNames;
	for (unsigned int i = 0; i < count; ++i) {
		import_object& object = *objects[i];
		const int type = static_cast<int>(object.type);
		if (type == 0) {
			job.terrain = &object;
			job.active = true;
			job.layer = object.layer;
			job.material = kivel::CreateAttributeIndex(surfaceIndex);
			job.elevation = 0.0;
			job.useLevelLines = true;
		}
		if (type == 2) job.road = &object;
		if (type == 5) job.water = &object;
		if (type == kDrawing) job.drawing = &object;
		ReadOneFile(object.location, [&] {
			ObjectGenerationInfo record;
			if (GenerateLayerPart(object, prefix, record, longNames)) records.Push(record);
			if (type == 1)
				HouseReader::Read(object.location, records, object.layer, 0.0, object.pen, object.fillpen, object.bckgrnd,
				                  object.fill, object.surface, object.surface_2);
		});
		if (type == 6 && !options.vegetation_location.IsEmpty())
			ReadOneFile(options.vegetation_location, [&] {
				VegetationReader::Read(options.vegetation_location, records, object.layer, 0.0, object.pen, object.fillpen,
				                       object.bckgrnd, object.fill);
			});
	}
	ReportLongPartNames(longNames);
}

// The second pass, in list order: surroundings model and the included 2D base map.
void PlaceSecondPass(import_object** objects, unsigned int count, GSErrCode& result)
{
	for (unsigned int i = 0; i < count; ++i) {
		const import_object& object = *objects[i];
		const int type = static_cast<int>(object.type);
		if (type == kSurroundings) KeepFirst(result, ReadOneFile(object.location, [&] { return ImportSurroundingModel(object); }));
		if (type == kDrawing && object.include)
			ReadOneFile(object.location, [&] { Importer::Place2DElements(object.location, kivel::CreateAttributeIndex(object.layer)); });
	}
}

} // namespace

GSErrCode Importer::MapInsert(import_object** objects, unsigned int count)
{
	if (objects == nullptr || count == 0) return APIERR_BADPARS;
	LoadVelmoraLibrary();

	double x = 0.0, y = 0.0;
	GS::UniString datum, projection, zone;
	ReadCoordSystemOrigo(options.origin_location, x, y);
	ReadCoordSystemData(options.origin_location, datum, projection, zone);
	PlaceGeolocalTag(objects[0], x, y, datum, projection, zone);

	PlacementBase base;
	base.originX = objects[0]->origin_x;
	base.originY = objects[0]->origin_y;
	base.angle = objects[0]->angle;

	short surfaceIndex = 0;
	GS::Array<API_LibraryInfo> libraries;
	OrthoPhotoToEmbedded(objects, true, surfaceIndex, libraries);

	GS::Array<MeshGenerationInfo> jobs;
	jobs.Push(MeshGenerationInfo());
	GS::Array<ObjectGenerationInfo> records;
	CollectObjects(*this, objects, count, surfaceIndex, jobs[0], records);
	base.storyLevel = CurrentStoryLevel();

	GSErrCode result = NoError;
	RunElements elements;
	// A failed element must not roll back the ones placed: the step itself always succeeds.
	KeepFirst(result, RunImportStep("Placing VELMORA elements", OnThrow::Keep, [&]() -> GSErrCode {
		KeepFirst(result, PlaceObjectElements(records, base, elements));
		return NoError;
	}));
	// An empty list was not read: handing it back would drop every library of the project.
	if (!libraries.IsEmpty()) kivel::LibraryManager::SetLibraries(libraries);

	for (const MeshGenerationInfo& job : jobs) {
		if (!job.active || job.terrain == nullptr) continue;
		const GS::Array<API_Coord> polygon = ReadOutline(options.area_location);
		const GSErrCode err = RunImportStep("Placing VELMORA mesh elements", OnThrow::RollBack,
		                                    [&] { return PlaceTerrainMesh(job, base, polygon, *this, elements); });
		if (err != NoError) WriteReport_Alert("Error creating mesh: Terrain");
		KeepFirst(result, err);
	}

	PlaceSecondPass(objects, count, result);

	if (!elements.terrain.empty() && (elements.road != APINULLGuid || elements.water != APINULLGuid)) {
		// A failed cut is kept in the result; the cuts that worked stay.
		KeepFirst(result, RunImportStep("Cutting VELMORA mesh elements", OnThrow::RollBack, [&]() -> GSErrCode {
			KeepFirst(result, CutTerrainMesh(elements));
			return NoError;
		}));
	}
	return result;
}
