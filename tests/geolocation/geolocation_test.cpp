// The local-origin file, the origin macro and the project geolocation, through the host.
#include <cstring>
#include <filesystem>
#include <string>
#include <vector>

#include <gtest/gtest.h>
#include <nlohmann/json.hpp>

#include "ACAPinc.h"
#include "Classes/OriginFile.hpp"
#include "Classes/import_map.hpp"
#include "GSMemory.hpp"
#include "Helpers/LibraryManager.hpp"
#include "TestSupport.hpp"

namespace {

using testsupport::Loc;
using testsupport::WriteFile;

// An origin file of ours, laid out as the map packages write it.
const std::string kOrigin =
	"Lokalt nullpunkt for kartpakken\n"
	"Koordinater i meter\r\n"
	"Nord: 6650123.25\n"
	"Øst: 598765.5\n"
	"Høydesystem: NN2000\n"
	"Kartprojeksjon: UTM\n"
	"Sone: 32\n"
	"Koordinatsystem: EUREF89 UTM sone 32\n"
	"Global lat: 59.91273\n"
	"Global lon: 10.74609\n"
	"Globalt nullpunkt øst: 598765.5\n"
	"Globalt nullpunkt nord: 6650123.25\n";

TEST(OriginLines, PositionsThreeAndFour)
{
	const struct { const char* why; std::string text; double x, y; } cases[] = {
		{"the package's file", kOrigin, 598765.5, 6650123.25},
		{"carriage returns", "a\r\nb\r\nN: 10.5\r\nE: -3\r\n", -3, 10.5},
		{"only three lines", "a\nb\nN: 10\n", 0, 0},
		{"line 4 not ended", "a\nb\nN: 10\nE: 20", 0, 0},
		{"no colon on line 4", "a\nb\nN: 10\nE 20\n", 0, 0},
		{"colon on line 5 only", "a\nb\nN 10\nE 20\nX: 5\n", 0, 0},
		{"first colon counts", "a\nb\nN: 10: 11\nE:20\n", 20, 10},
		{"not a number", "a\nb\nN: abc\nE: 20\n", 20, 0},
		{"nan and infinity", "a\nb\nN: nan\nE: 1e400\n", 0, 0},
		{"empty", "", 0, 0},
	};
	for (const auto& c : cases) {
		SCOPED_TRACE(c.why);
		double x = 7, y = 7;
		ParseOriginLines(c.text.data(), c.text.size(), x, y);
		EXPECT_EQ(x, c.x);
		EXPECT_EQ(y, c.y);
	}
}

TEST(OriginKeys, RulesOfBothReaders)
{
	struct Case { const char* why; std::string text; OriginKey key; bool coordData; bool geoLocation; const char* value; };
	const Case cases[] = {
		{"zone with a blank", "Sone: 32\n", OriginKey::Zone, true, true, "32"},
		{"zone of one digit", "Sone:3\n", OriginKey::Zone, false, true, "3"},
		{"zone too short for both", "Sone:\n", OriginKey::Zone, false, false, ""},
		{"lower-case key", "høydesystem: NN2000\n", OriginKey::HeightSystem, false, false, ""},
		{"height system", "  Høydesystem:  NN2000 \r\n", OriginKey::HeightSystem, true, true, "NN2000"},
		{"projection", "Kartprojeksjon: UTM\n", OriginKey::Projection, true, true, "UTM"},
		{"BOM on line 1", "\xEF\xBB\xBFSone: 32\n", OriginKey::Zone, false, true, "32"},
		{"latitude", "Global lat: 59.9\n", OriginKey::Latitude, false, true, "59.9"},
		{"latitude not a number", "Global lat: nord\n", OriginKey::Latitude, false, false, ""},
		{"latitude NaN", "Global lat: NaN\n", OriginKey::Latitude, false, false, ""},
		{"east infinite", "Globalt nullpunkt øst: 1e999\n", OriginKey::East, false, false, ""},
		{"later line wins", "Sone: 32\nSone: 33\n", OriginKey::Zone, true, true, "33"},
		{"no line feed at the end", "Koordinatsystem: EUREF89", OriginKey::CoordinateSystem, false, true, "EUREF89"},
	};
	for (const Case& c : cases) {
		SCOPED_TRACE(c.why);
		const OriginValues data = ScanOriginKeys(c.text.c_str(), CoordSystemKeyRules(), false);
		const OriginValues geo = ScanOriginKeys(c.text.c_str(), GeoLocationKeyRules(), true);
		EXPECT_EQ(data.Has(c.key), c.coordData);
		EXPECT_EQ(geo.Has(c.key), c.geoLocation);
		if (c.geoLocation) { EXPECT_EQ(geo.Text(c.key), c.value); }
		if (c.coordData) { EXPECT_EQ(data.Text(c.key), c.value); }
	}
	const OriginValues all = ScanOriginKeys(kOrigin.c_str(), GeoLocationKeyRules(), true);
	EXPECT_EQ(all.Count(), 8);
	EXPECT_EQ(all.Number(OriginKey::North), 6650123.25);
	EXPECT_EQ(ScanOriginKeys("nothing here\n", GeoLocationKeyRules(), true).Count(), 0);
}

TEST(OriginMacro, RowsOfAnyLengthWithSafeTexts)
{
	const std::vector<std::string> rows = OriginMacroRows(598765.5, 6650123.25, 0, "NN\"2000", "UTM", "32", "\n");
	EXPECT_EQ(rows, (std::vector<std::string>{"Velmora_X = 598765.500000\n", "Velmora_Y = 6650123.250000\n",
		"Velmora_Z = 0.000000\n", "Vertical_Datum=\"NN_2000\"\n", "Map_Projection=\"UTM\"\n", "Map_Zone=\"32\"\n",
		"end Velmora_X, Velmora_Y, Velmora_Z, Vertical_Datum, Map_Projection, Map_Zone\n"}));
	const std::vector<std::string> huge = OriginMacroRows(1e300, -1e300, 0, std::string(400, 'd'), "", "", "\n");
	EXPECT_EQ(huge[0].size(), std::string("Velmora_X = ").size() + 301 + 7 + 1);
	EXPECT_EQ(huge[0].back(), '\n');
	EXPECT_EQ(huge[1].rfind("Velmora_Y = -1", 0), 0u);
	EXPECT_EQ(huge[3].size(), std::string("Vertical_Datum=\"\"\n").size() + 400);
}

TEST(OriginMacro, NumbersInAnyProcessLocale)
{
	std::vector<std::string> rows;
	{
		const testsupport::CommaLocale comma;
		ASSERT_EQ(comma.Why(), "");
		rows = OriginMacroRows(598765.5, -6650123.25, 1e200, "NN2000", "UTM", "32", "\n");
	}
	ASSERT_EQ(rows.size(), 7u);
	EXPECT_EQ(rows[0], "Velmora_X = 598765.500000\n");
	EXPECT_EQ(rows[1], "Velmora_Y = -6650123.250000\n");
	EXPECT_EQ(rows[2].find(','), std::string::npos) << rows[2];
	EXPECT_EQ(rows[2].substr(rows[2].size() - 8), ".000000\n");
}

class Geolocation : public testsupport::HostTest {
protected:
	void SetUp() override
	{
		HostTest::SetUp();
		file_ = RunRoot() + "/pkg/3D-modell/Lokalt nullpunkt.txt";
		importer_.options.origin_location = Loc(file_);
	}
	// The master script of the embedded library's origin macro; empty when there is none.
	std::string MacroScript()
	{
		API_LibPart part{};
		const std::u16string name = u"Velmora_XYZ";
		std::copy(name.begin(), name.end(), part.docu_UName);
		if (ACAPI_LibraryPart_Search(&part, false) != NoError) return "";
		delete part.location;
		API_LibPartSection section{};
		section.sectType = API_Sect1DScript;
		GSHandle bytes = nullptr;
		if (ACAPI_LibraryPart_GetSection(part.index, &section, &bytes, nullptr) != NoError) return "";
		const std::string text(*bytes, BMGetHandleSize(bytes));
		BMKillHandle(&bytes);
		return text;
	}
	std::string file_;
	Importer importer_{ImportOptions()};
};

TEST_F(Geolocation, OriginAndCoordinateSystemFromTheFile)
{
	WriteFile(file_, kOrigin);
	double x = 1, y = 1;
	Importer::ReadCoordSystemOrigo(Loc(file_), x, y);
	EXPECT_EQ(x, 598765.5);
	EXPECT_EQ(y, 6650123.25);
	double east = 0, north = 0;
	EXPECT_EQ(importer_.ExtractOrigo(&east, &north), NoError);
	EXPECT_EQ(east, 598765.5);
	EXPECT_EQ(north, 6650123.25);
	GS::UniString datum, projection, zone;
	Importer::ReadCoordSystemData(Loc(file_), datum, projection, zone);
	EXPECT_EQ(datum, "NN2000");
	EXPECT_EQ(projection, "UTM");
	EXPECT_EQ(zone, "32");

	// An unreadable file: the origin is 0, the texts stay, nothing is reported.
	Importer::ReadCoordSystemOrigo(Loc(file_ + ".none"), x, y);
	EXPECT_EQ(x, 0);
	EXPECT_EQ(y, 0);
	Importer::ReadCoordSystemData(Loc(file_ + ".none"), datum, projection, zone);
	EXPECT_EQ(zone, "32");
	EXPECT_TRUE(Host().reports.empty());
}

TEST_F(Geolocation, MacroMadeOnceInTheEmbeddedLibrary)
{
	EXPECT_EQ(Importer::CreateMacroObject(598765.5, 6650123.25, 0, "NN2000", "UTM", "32"), NoError);
	EXPECT_EQ(MacroScript(), "Velmora_X = 598765.500000\nVelmora_Y = 6650123.250000\nVelmora_Z = 0.000000\n"
		"Vertical_Datum=\"NN2000\"\nMap_Projection=\"UTM\"\nMap_Zone=\"32\"\n"
		"end Velmora_X, Velmora_Y, Velmora_Z, Vertical_Datum, Map_Projection, Map_Zone\n");
	EXPECT_TRUE(std::filesystem::exists(vhost::EmbeddedLibraryFolder() + "/VELMORA Library/Velmora_XYZ.gsm"));
	// A second import finds it and keeps the first values.
	EXPECT_EQ(Importer::CreateMacroObject(1, 2, 0, "X", "Y", "Z"), NoError);
	EXPECT_NE(MacroScript().find("Velmora_X = 598765.500000"), std::string::npos);
	EXPECT_TRUE(Host().reports.empty());
}

TEST_F(Geolocation, MacroFailuresAreReported)
{
	const struct { const char* fault; GSErrCode result; const char* report; } cases[] = {
		{"ACAPI_LibraryManagement_GetLibraries", APIERR_GENERAL, "Error in finding GSM location"},
		{"ACAPI_LibraryPart_Create", APIERR_BADPARS, "Error creating libpart"},
		{"ACAPI_LibraryPart_NewSection", APIERR_BADPARS, "Error creating section in libpart"},
	};
	for (const auto& c : cases) {
		SCOPED_TRACE(c.fault);
		SetUp();
		vhost::InjectFault(c.fault, APIERR_GENERAL);
		EXPECT_EQ(Importer::CreateMacroObject(1, 2, 0, "", "", ""), c.result);
		EXPECT_EQ(ReportTexts(), std::vector<std::string>{c.report});
		vhost::ClearFaults();
	}
}

TEST_F(Geolocation, ProjectGeolocationFromTheKeys)
{
	struct Case { const char* why; double lat, lon; bool changed; };
	const Case cases[] = {{"a new project", 0, 0, false}, {"a project placed before", 59.91273, 10.74609, true},
		{"only the longitude set", 0, -0.5, true}, {"below the threshold", 0.000001, 0, false}};
	for (const Case& c : cases) {
		SCOPED_TRACE(c.why);
		SetUp();
		WriteFile(file_, kOrigin);
		API_GeoLocation before {};
		before.latitude = c.lat;
		before.longitude = c.lon;
		before.geoReferenceData.geodeticDatum = "kept";
		ASSERT_EQ(ACAPI_GeoLocation_SetGeoLocation(&before), NoError);
		Importer importer{importer_.options};
		bool changed = !c.changed;
		EXPECT_EQ(importer.ReadPlanGeoLocation(changed), NoError);
		EXPECT_EQ(changed, c.changed);
		EXPECT_EQ(Host().geoLocation.latitude, c.lat); // nothing written yet
		EXPECT_EQ(importer.SetPlanGeoLocation(), NoError);
		const API_GeoLocation& g = Host().geoLocation;
		EXPECT_EQ(g.latitude, 59.91273);
		EXPECT_EQ(g.longitude, 10.74609);
		EXPECT_EQ(g.surveyPointPosition.x, -598765.5);
		EXPECT_EQ(g.geoReferenceData.eastings, 598765.5);
		EXPECT_EQ(g.surveyPointPosition.y, -6650123.25);
		EXPECT_EQ(g.geoReferenceData.northings, 6650123.25);
		EXPECT_EQ(g.geoReferenceData.name, "EUREF89 UTM sone 32");
		EXPECT_EQ(g.geoReferenceData.description, "EUREF89 UTM sone 32");
		EXPECT_EQ(g.geoReferenceData.verticalDatum, "NN2000");
		EXPECT_EQ(g.geoReferenceData.mapProjection, "UTM");
		EXPECT_EQ(g.geoReferenceData.mapZone, "32");
		EXPECT_EQ(g.geoReferenceData.geodeticDatum, "kept");
	}
}

TEST_F(Geolocation, OnlyTheKeysFoundChange)
{
	API_GeoLocation before {};
	before.latitude = 60;
	before.geoReferenceData.mapZone = "33";
	before.geoReferenceData.mapProjection = "old";
	ASSERT_EQ(ACAPI_GeoLocation_SetGeoLocation(&before), NoError);
	WriteFile(file_, "\xEF\xBB\xBFSone:32\nGlobal lat: nord\n");
	bool changed = true;
	EXPECT_EQ(importer_.ReadPlanGeoLocation(changed), NoError);
	EXPECT_FALSE(changed);
	EXPECT_TRUE(importer_.geolocation_valid);
	EXPECT_EQ(importer_.SetPlanGeoLocation(), NoError);
	EXPECT_EQ(Host().geoLocation.geoReferenceData.mapZone, "32");
	EXPECT_EQ(Host().geoLocation.geoReferenceData.mapProjection, "old");
	EXPECT_EQ(Host().geoLocation.latitude, 60);
	const nlohmann::json dump = nlohmann::json::parse(vhost::DumpJson());
	EXPECT_EQ(dump["geolocation"]["latitude"], 60);
	EXPECT_EQ(dump["geolocation"]["georeference"]["mapZone"], "32");
	EXPECT_EQ(dump["geolocation"]["georeference"]["mapProjection"], "old");
}

TEST_F(Geolocation, NothingIsWrittenWithoutKeysOrARecord)
{
	API_GeoLocation before {};
	before.latitude = 60;
	ASSERT_EQ(ACAPI_GeoLocation_SetGeoLocation(&before), NoError);
	bool changed = true;
	// No file.
	EXPECT_NE(importer_.ReadPlanGeoLocation(changed), NoError);
	EXPECT_FALSE(changed);
	EXPECT_EQ(importer_.SetPlanGeoLocation(), APIERR_BADDATABASE);
	// No keys.
	WriteFile(file_, "Lokalt nullpunkt\nNord: 1\n");
	EXPECT_EQ(importer_.ReadPlanGeoLocation(changed), NoError);
	EXPECT_FALSE(importer_.geolocation_valid);
	EXPECT_EQ(importer_.SetPlanGeoLocation(), APIERR_BADDATABASE);
	// The project's record cannot be read: reported, nothing set.
	WriteFile(file_, kOrigin);
	vhost::InjectFault("ACAPI_GeoLocation_GetGeoLocation", APIERR_GENERAL);
	Host().reports.clear();
	EXPECT_EQ(importer_.ReadPlanGeoLocation(changed), APIERR_GENERAL);
	vhost::ClearFaults();
	EXPECT_FALSE(importer_.geolocation_valid);
	EXPECT_EQ(importer_.SetPlanGeoLocation(), APIERR_BADDATABASE);
	ASSERT_EQ(ReportTexts().size(), 1u);
	EXPECT_NE(ReportTexts()[0].find(std::to_string(APIERR_GENERAL)), std::string::npos);
	EXPECT_EQ(Host().geoLocation.latitude, 60);
}

} // namespace

namespace {

class GeocoordinateObject : public Geolocation {
protected:
	nlohmann::json Elements() { return nlohmann::json::parse(vhost::DumpJson())["elements"]; }
};

TEST_F(GeocoordinateObject, PlacedAtTheOriginOverTheActiveStory)
{
	ASSERT_EQ(LoadVelmoraLibrary(), NoError);
	Host().stories = {{0, 0.0}, {1, 3.5}};
	Host().actStory = 1;
	import_object object;
	object.min_z = 10;
	object.layer = 0;
	Importer::rubber_pos = API_Coord3D{5, 6, 0};
	const int handles = vhost::LiveHandles();
	EXPECT_EQ(importer_.PlaceGeolocalTag(&object, 598765.5, 6650123.25, "NN2000", "UTM", "32"), NoError);
	EXPECT_EQ(vhost::LiveHandles(), handles); // the object's memo is given back
	Importer::rubber_pos = API_Coord3D{};
	EXPECT_EQ(MacroScript().rfind("Velmora_X = 598760.500000\nVelmora_Y = 6650117.250000\n", 0), 0u);
	ASSERT_EQ(Host().undo.size(), 1u);
	EXPECT_EQ(Host().undo[0].name, "Placing VELMORA Geocoordinate");
	EXPECT_EQ(Host().undo[0].result, NoError);
	const nlohmann::json elements = Elements();
	ASSERT_EQ(elements.size(), 1u);
	const nlohmann::json& e = elements[0];
	EXPECT_EQ(e["layer"], 1);
	EXPECT_EQ(e["libPart"], "Velmora_Geocoordinate");
	EXPECT_EQ(e["level"], 6.5);
	EXPECT_EQ(e["pos"], nlohmann::json::array({5.0, 6.0}));
	ASSERT_EQ(e["params"][0]["name"], "bGeodeticData");
	EXPECT_EQ(e["params"][0]["value"], 1.0);
	EXPECT_TRUE(Host().reports.empty()) << ReportTexts()[0];
}

TEST_F(GeocoordinateObject, FailuresAreReportedAndPlaceNothing)
{
	import_object object;
	// The story list cannot be read: nothing is made.
	const auto stories = Host().stories;
	Host().stories.clear();
	EXPECT_EQ(importer_.PlaceGeolocalTag(&object, 1, 2, "", "", ""), APIERR_GENERAL);
	Host().stories = stories;
	EXPECT_EQ(MacroScript(), "");
	ASSERT_EQ(ReportTexts().size(), 1u);
	// The geocoordinate part is not loaded: the macro is made, the step reports and is undone.
	Host().reports.clear();
	EXPECT_EQ(importer_.PlaceGeolocalTag(&object, 1, 2, "", "", ""), NoError);
	EXPECT_NE(MacroScript(), "");
	ASSERT_EQ(ReportTexts().size(), 1u);
	EXPECT_EQ(ReportTexts()[0].rfind("Error while getting parameters of VELMORA Geocoordinate: ", 0), 0u);
	EXPECT_TRUE(Elements().empty());
}

} // namespace
