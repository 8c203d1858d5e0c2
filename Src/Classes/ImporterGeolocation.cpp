// The importer's local origin, origin macro, geocoordinate object and project geolocation.
#include <cmath>
#include <cstring>
#include <memory>
#include <vector>

#include "APICommon.hpp"
#include "Classes/ImportStep.hpp"
#include "Classes/OriginFile.hpp"
#include "Classes/import_map.hpp"
#include "File.hpp"
#include "GSRoot.hpp"
#include "Helpers/BinFileHelper.hpp"
#include "Helpers/LibraryManager.hpp"
#include "Helpers/MemoOwner.hpp"
#include "generic/GenericHelpers.hpp"
#include "generic/LibraryManager.hpp"
#include "generic/LibraryPart.hpp"
#include "generic/Story.hpp"

namespace {

const char* const kMacroName = "Velmora_XYZ";
const char* const kGeocoordinateName = "Velmora_Geocoordinate";
const char* const kGeodeticFlag = "bGeodeticData";
// A latitude or longitude beyond this is a geolocation the user set.
constexpr double kSetAngle = 0.00001;

std::string CText(const GS::UniString& text) { return std::string(text.ToCStr(GS::CC_Default).Get()); }

void SetName(API_LibPart& part, const char* name)
{
	const GS::UniString text(name);
	for (USize i = 0; i < text.GetLength() && i + 1 < static_cast<USize>(API_UniLongNameLen); ++i) part.docu_UName[i] = text[i];
}

// The whole file, or false (silently) when it cannot be read whole.
bool ReadWhole(const IO::Location& location, std::vector<char>& bytes)
{
	IO::File file(location);
	UInt64 length = 0;
	if (file.GetStatus() != NoError || file.GetDataLength(&length) != NoError || length > 0x7FFFFFFF) return false;
	if (file.Open(IO::File::ReadMode) != NoError) return false;
	bytes.assign(length, 0);
	UInt32 read = 0;
	if (length > 0 && file.ReadBin(bytes.data(), static_cast<UInt32>(length), &read) != NoError) return false;
	return read == length;
}

// The keyed values of the file; nothing when it cannot be read.
bool ReadKeys(const IO::Location& location, const std::vector<OriginKeyRule>& rules, bool skipBom, OriginValues& values,
	GSErrCode& err)
{
	std::vector<unsigned char> data;
	err = ReadBinaryData(data, location);
	if (err != NoError) return false;
	const std::unique_ptr<char[]> text(convertVectorToCharArray(data));
	values = ScanOriginKeys(text.get(), rules, skipBom);
	return true;
}

GSErrCode WriteMacro(API_LibPart& part, const std::vector<std::string>& rows)
{
	kivel::LibraryPart::OverwriteLibPart(true);
	const GSErrCode created = kivel::LibraryPart::Create(&part);
	kivel::LibraryPart::OverwriteLibPart(false);
	if (created != NoError) {
		WriteReport_Alert("Error creating libpart");
		return APIERR_BADPARS;
	}
	API_LibPartSection section{};
	section.sectType = API_Sect1DScript;
	if (kivel::LibraryPart::NewSection(&section) != NoError) {
		WriteReport_Alert("Error creating section in libpart");
		return APIERR_BADPARS;
	}
	for (const std::string& row : rows) kivel::LibraryPart::WriteSection(static_cast<int>(row.size()), row.c_str());
	kivel::LibraryPart::EndSection();
	return kivel::LibraryPart::Save(&part);
}

// The level of the active story, through the story list.
GSErrCode ActiveStoryLevel(double& level)
{
	API_StoryInfo info{};
	if (const GSErrCode err = kivel::Story::GetSettings(info, 0)) return err;
	const short position = static_cast<short>(info.actStory - info.firstStory);
	BMKillHandle(reinterpret_cast<GSHandle*>(&info.data));
	return kivel::Story::GetStoryLevel(position, level);
}

// The geocoordinate object at the picked origin, in the undoable step. Its level is the
// frame's lowest height over the active story, as for every placed object.
GSErrCode PlaceGeocoordinateElement(const import_object* object, Int32 libInd, double storyLevel)
{
	API_Element element;
	MemoOwner owner;
	kivel::SetTypeId(element, API_ObjectID);
	if (const GSErrCode err = ACAPI_Element_GetDefaults(&element, &owner.memo)) {
		WriteReport_Alert("Error while getting default settings of VELMORA Geocoordinate: %d", static_cast<int>(err));
		return err;
	}
	ACAPI_DisposeElemMemoHdls(&owner.memo);
	double a = 0.0, b = 0.0;
	int count = 0;
	if (const GSErrCode err = kivel::LibraryPart::GetParameters(libInd, a, b, count, owner.memo.params)) {
		WriteReport_Alert("Error while getting parameters of VELMORA Geocoordinate: %d", static_cast<int>(err));
		return err;
	}
	for (int i = 0; i < count; ++i)
		if (std::strcmp((*owner.memo.params)[i].name, kGeodeticFlag) == 0) (*owner.memo.params)[i].value.real = 1.0;
	element.object.pos.x = Importer::rubber_pos.x;
	element.object.pos.y = Importer::rubber_pos.y;
	element.object.level = (object != nullptr ? object->min_z : 0.0) - storyLevel;
	element.object.libInd = libInd;
	element.header.layer = kivel::CreateAttributeIndex(object != nullptr && object->layer != 0 ? object->layer : 1);
	element.object.useObjPens = false;
	element.object.useObjLtypes = false;
	if (const GSErrCode err = ACAPI_Element_Create(&element, &owner.memo))
		WriteReport_Alert("Error while placing VELMORA Geocoordinate: %d", static_cast<int>(err));
	return NoError;
}

} // namespace

GSErrCode Importer::PlaceGeolocalTag(import_object* object, double x, double y, const GS::UniString& datum,
	const GS::UniString& projection, const GS::UniString& zone)
{
	double storyLevel = 0.0;
	if (const GSErrCode err = ActiveStoryLevel(storyLevel)) {
		WriteReport_Alert("Error while reading the active story's level: %d", static_cast<int>(err));
		return err;
	}
	IO::Location* found = nullptr;
	const GSErrCode located = GetEmbeddedLocation(found, true);
	const std::unique_ptr<IO::Location> folder(found);
	if (located != NoError || folder == nullptr) {
		WriteReport_Alert("Error in finding GSM location");
		return located != NoError ? located : APIERR_GENERAL;
	}
	if (const GSErrCode err = CreateMacroObject(x - rubber_pos.x, y - rubber_pos.y, 0.0, datum, projection, zone)) {
		WriteReport_Alert("Error while setting global geolocation object");
		return err;
	}
	API_LibPart part{};
	SetName(part, kGeocoordinateName);
	kivel::LibraryManager::Search(part, false, false, false);
	const Int32 libInd = part.index;
	RunImportStep("Placing VELMORA Geocoordinate", OnThrow::RollBack,
		[&]() -> GSErrCode { return PlaceGeocoordinateElement(object, libInd, storyLevel); });
	return NoError;
}

void Importer::ReadCoordSystemOrigo(const IO::Location& location, double& x, double& y)
{
	x = y = 0.0;
	std::vector<char> bytes;
	if (ReadWhole(location, bytes)) ParseOriginLines(bytes.data(), bytes.size(), x, y);
}

void Importer::ReadCoordSystemData(const IO::Location& location, GS::UniString& datum, GS::UniString& projection,
	GS::UniString& zone)
{
	OriginValues values;
	GSErrCode err = NoError;
	if (!ReadKeys(location, CoordSystemKeyRules(), false, values, err)) return;
	if (values.Has(OriginKey::HeightSystem)) datum = values.Text(OriginKey::HeightSystem);
	if (values.Has(OriginKey::Projection)) projection = values.Text(OriginKey::Projection);
	if (values.Has(OriginKey::Zone)) zone = values.Text(OriginKey::Zone);
}

GSErrCode Importer::CreateMacroObject(double x, double y, double z, const GS::UniString& datum,
	const GS::UniString& projection, const GS::UniString& zone)
{
	API_LibPart part{};
	part.typeID = APILib_ObjectID;
	SetName(part, kMacroName);
	if (kivel::LibraryManager::Search(part, false, false, false) == NoError) return NoError; // kept as it stands
	IO::Location* found = nullptr;
	const GSErrCode located = GetEmbeddedLocation(found, true);
	const std::unique_ptr<IO::Location> folder(found);
	if (located != NoError || folder == nullptr) {
		WriteReport_Alert("Error in finding GSM location");
		return APIERR_GENERAL;
	}
	part = API_LibPart{};
	part.typeID = APILib_ObjectID;
	SetName(part, kMacroName);
	part.location = folder.get();
	return WriteMacro(part, OriginMacroRows(x, y, z, CText(datum), CText(projection), CText(zone), GS::EOL));
}

GSErrCode Importer::ReadPlanGeoLocation(bool& changed)
{
	changed = false;
	OriginValues values;
	GSErrCode err = NoError;
	if (!ReadKeys(options.origin_location, GeoLocationKeyRules(), true, values, err)) return err;
	if (values.Count() == 0) return NoError;
	API_GeoLocation current;
	if (const GSErrCode readErr = ACAPI_GeoLocation_GetGeoLocation(&current)) {
		// Never put a zeroed record over the project's own.
		WriteReport_Alert("Error while reading the project's geolocation: %d:%s", static_cast<int>(readErr), ErrID_To_Name(readErr));
		return readErr;
	}
	API_GeoReferenceData& ref = current.geoReferenceData;
	if (values.Has(OriginKey::Latitude)) {
		if (std::fabs(current.latitude) > kSetAngle) changed = true;
		current.latitude = values.Number(OriginKey::Latitude);
	}
	if (values.Has(OriginKey::Longitude)) {
		if (std::fabs(current.longitude) > kSetAngle) changed = true;
		current.longitude = values.Number(OriginKey::Longitude);
	}
	if (values.Has(OriginKey::East)) {
		current.surveyPointPosition.x = -values.Number(OriginKey::East);
		ref.eastings = values.Number(OriginKey::East);
	}
	if (values.Has(OriginKey::North)) {
		current.surveyPointPosition.y = -values.Number(OriginKey::North);
		ref.northings = values.Number(OriginKey::North);
	}
	if (values.Has(OriginKey::CoordinateSystem)) {
		ref.name = values.Text(OriginKey::CoordinateSystem);
		ref.description = values.Text(OriginKey::CoordinateSystem);
	}
	if (values.Has(OriginKey::HeightSystem)) ref.verticalDatum = values.Text(OriginKey::HeightSystem);
	if (values.Has(OriginKey::Projection)) ref.mapProjection = values.Text(OriginKey::Projection);
	if (values.Has(OriginKey::Zone)) ref.mapZone = values.Text(OriginKey::Zone);
	geolocation = current;
	geolocation_valid = true;
	return NoError;
}

GSErrCode Importer::SetPlanGeoLocation()
{
	if (!geolocation_valid) return APIERR_BADDATABASE;
	return ACAPI_GeoLocation_SetGeoLocation(&geolocation);
}

GSErrCode Importer::ExtractOrigo(double* east, double* north) const
{
	double x = 0.0, y = 0.0;
	ReadCoordSystemOrigo(options.origin_location, x, y);
	if (east != nullptr) *east = x;
	if (north != nullptr) *north = y;
	return NoError;
}
