#include <cstring>
#include <filesystem>

#include <gtest/gtest.h>

#include "Helpers/LibraryManager.hpp"
#include "Helpers/ResourceHelpers.hpp"
#include "Helpers/SameLocation.hpp"
#include "TestSupport.hpp"
#include "generic/LibraryManager.hpp"
#include "generic/LibraryPart.hpp"
#include "libpart/MemoParams.hpp"
#include "LibTestHelpers.hpp"
#include "vhost/LibraryStore.hpp"
#include "vhost/Text.hpp"

namespace {

namespace fs = std::filesystem;
namespace LM = kivel::LibraryManager;

class AddonLibrary : public testsupport::HostTest {
protected:
	// The add-on's folder with a copy of the shipped VelmoraLib beside the module.
	void ShipVelmoraLib()
	{
		fs::copy(fs::u8path(std::string(VELMORA_SOURCE_DIR) + "/Resources/VelmoraLib"), fs::u8path(addon_ / "VelmoraLib"),
			fs::copy_options::recursive);
		Host().addonFile = addon_ / "Velmora.so";
	}
	UInt32 LibraryCount()
	{
		GS::Array<API_LibraryInfo> libs;
		EXPECT_EQ(LM::GetLibraries(libs), NoError);
		return libs.GetSize();
	}
	testsupport::TempDir addon_;
};

TEST_F(AddonLibrary, ConvertUnicodeAlwaysFitsTheField)
{
	struct Case { std::string text; int length; std::string kept; };
	const Case cases[] = {
		{"", 1, ""},
		{"abc", 4, "abc"},
		{std::string(254, 'a'), 255, std::string(254, 'a')},
		{std::string(255, 'a'), 256, std::string(255, 'a')},
		{std::string(300, 'a'), 256, std::string(255, 'a')},
		{std::string(254, 'a') + "æ", 255, std::string(254, 'a')}, // the cut would split the character
		{"æøå", 4, "æøå"},
	};
	for (const Case& c : cases) {
		GS::UniChar buffer[256];
		std::fill(std::begin(buffer), std::end(buffer), u'#');
		int length = -1;
		ConvertUnicode(c.text.c_str(), buffer, length);
		EXPECT_EQ(length, c.length) << c.text.size();
		EXPECT_EQ(buffer[length - 1], 0);
		EXPECT_EQ(buffer[255], 0);
		EXPECT_EQ(vhost::ToUtf8(GS::UniString(buffer)), c.kept);
	}
}

TEST_F(AddonLibrary, ResourceStringsInBothLanguages)
{
	testsupport::WriteFile(addon_ / "Velmora.rsrc",
		"strings 130\n  \"An update is available\"\n  \"Version %s\"\nend\n"
		"strings 131\n  \"En oppdatering er tilgjengelig\"\n  \"Versjon %s på nett\"\nend\n");
	Host().resourceFile = addon_ / "Velmora.rsrc";
	Host().resources.reset();
	EXPECT_EQ(GetResUniString(130, 1), GS::UniString("An update is available"));
	EXPECT_EQ(GetResUniString(131, 2), GS::UniString("Versjon %s på nett"));
	EXPECT_TRUE(GetResUniString(131, 3).IsEmpty());
	EXPECT_TRUE(GetResUniString(999, 1).IsEmpty());
	char* text = GetResString(131, 1);
	ASSERT_NE(text, nullptr);
	EXPECT_STREQ(text, "En oppdatering er tilgjengelig");
	delete[] text;
	EXPECT_EQ(GetResString(130, 3), nullptr);
}

TEST_F(AddonLibrary, VelmoraLibLoadsOnceAndItsPartsAreFound)
{
	ShipVelmoraLib();
	ASSERT_EQ(LoadVelmoraLibrary(), NoError);
	const UInt32 once = LibraryCount();
	// The host ignores a folder it has; the second load must not even ask it.
	vhost::InjectFault("ACAPI_LibraryManagement_AddLibraries", APIERR_GENERAL, "", 1);
	ASSERT_EQ(LoadVelmoraLibrary(), NoError);
	EXPECT_EQ(Host().faults.back().remaining, 1) << "the loaded library was added again";
	vhost::ClearFaults();
	EXPECT_EQ(LibraryCount(), once);
	EXPECT_EQ(once, 2u);
	for (const char* name : {"Velmora_Geocoordinate", "Velmora_Geolocal_Global", "Velmora_Building", "Velmora_Spruce_Tree",
			 "Velmora_Pine_Tree", "Velmora_Birch_Tree", "Velmora_Oak_Tree"}) {
		API_LibPart part;
		BNZeroMemory(&part, sizeof part);
		ASSERT_EQ(LM::SearchByLibraryPartName(part, GS::UniString(name), false, false, false), NoError) << name;
		double a = 0, b = 0;
		int n = 0;
		API_AddParType** params = nullptr;
		ASSERT_EQ(kivel::LibraryPart::GetParameters(part.index, a, b, n, params), NoError) << name;
		EXPECT_GT(n, 0) << name;
		ACAPI_DisposeAddParHdl(&params);
	}
	EXPECT_TRUE(ReportTexts().empty());
}

// The add-on's path may be spelt in another form than the loaded folder's.
TEST_F(AddonLibrary, VelmoraLibIsLoadedOnceWhateverTheSpellingOfItsPath)
{
	ShipVelmoraLib();
	ASSERT_EQ(LoadVelmoraLibrary(), NoError);
	const UInt32 once = LibraryCount();
	fs::create_directories(fs::u8path(addon_ / "sub"));
	for (const std::string& spelt : {addon_ / "./Velmora.so", addon_.Path() + "//Velmora.so", addon_ / "sub/../Velmora.so"}) {
		SCOPED_TRACE(spelt);
		Host().addonFile = spelt;
		vhost::InjectFault("ACAPI_LibraryManagement_AddLibraries", APIERR_GENERAL, "", 1);
		EXPECT_EQ(LoadVelmoraLibrary(), NoError);
		EXPECT_EQ(Host().faults.back().remaining, 1) << "the loaded library was added again";
		vhost::ClearFaults();
		EXPECT_EQ(LibraryCount(), once);
	}
	EXPECT_TRUE(ReportTexts().empty());
}

TEST(AddonLocations, SameLocationComparesThePlaces)
{
	const struct { const char* a; const char* b; bool same; } cases[] = {
		{"/x/VelmoraLib", "/x/./VelmoraLib", true},   {"/x/VelmoraLib", "/x//VelmoraLib/", true},
		{"/x/VelmoraLib", "/x/y/../VelmoraLib", true}, {"/x/VelmoraLib", "/x/velmoralib", false},
		{"/x/VelmoraLib", "/y/VelmoraLib", false},    {"/../x", "/x", true},
		{"/x/y/..", "/x", true},                       {"/x/Åse", "/x/./Åse", true},
	};
	for (const auto& c : cases)
		EXPECT_EQ(SameLocation(IO::Location(c.a), IO::Location(c.b)), c.same) << c.a << " " << c.b;
}

TEST_F(AddonLibrary, AFolderThatCannotBeLoadedIsReported)
{
	EXPECT_EQ(LoadAddOnLibrary(testsupport::Loc(addon_ / "missing")), APIERR_BADPARS);
	ASSERT_EQ(Host().reports.size(), 1u);
	EXPECT_EQ(Host().reports[0].text, "Velmora GDL library could not be loaded");
	EXPECT_TRUE(Host().reports[0].alert);
}

TEST_F(AddonLibrary, EmbeddedLocationIsTheGeneratedFolderOrAnError)
{
	const std::string expected = vhost::EmbeddedLibraryFolder() + "/VELMORA Library";
	for (int round = 0; round < 2; ++round) { // the second finds the folder made by the first
		IO::Location* out = nullptr;
		ASSERT_EQ(GetEmbeddedLocation(out, true), NoError);
		ASSERT_NE(out, nullptr);
		EXPECT_EQ(vhost::PathOf(*out), expected);
		EXPECT_TRUE(fs::is_directory(fs::u8path(expected)));
		delete out;
	}
}

TEST_F(AddonLibrary, EmbeddedLocationNeverSucceedsWithoutALocation)
{
	struct Case { const char* what; void (*arrange)(); GSErrCode result; };
	const Case cases[] = {
		{"unreadable library list", [] { vhost::InjectFault("ACAPI_LibraryManagement_GetLibraries", APIERR_GENERAL); }, APIERR_GENERAL},
		{"no embedded library", [] { vhost::Library().libraries.clear(); }, APIERR_NOLIB},
		{"a file in the folder's place", [] { testsupport::WriteFile(vhost::EmbeddedLibraryFolder() + "/VELMORA Library", "x"); }, APIERR_GENERAL},
	};
	for (const Case& c : cases) {
		vhost::Reset(RunRoot(), VELMORA_BUILD_DIR);
		fs::remove_all(fs::u8path(vhost::EmbeddedLibraryFolder() + "/VELMORA Library"));
		c.arrange();
		IO::Location* out = reinterpret_cast<IO::Location*>(&out); // must be nulled
		EXPECT_EQ(GetEmbeddedLocation(out, true), c.result) << c.what;
		EXPECT_EQ(out, nullptr) << c.what;
	}
}

TEST_F(AddonLibrary, UserLibraryChoiceMakesTheFolderUnderTheUsersLibrary)
{
	const std::string expected = vhost::UserLibraryFolder() + "/VELMORA Library";
	for (int round = 0; round < 2; ++round) { // the second finds the folder loaded already
		// The host takes a list with a loaded folder twice as it is; the add-on must not hand it back.
		if (round == 1) vhost::InjectFault("ACAPI_LibraryManagement_SetLibraries", APIERR_GENERAL, "", 1);
		IO::Location* out = nullptr;
		ASSERT_EQ(GetEmbeddedLocation(out, false), NoError) << round;
		ASSERT_NE(out, nullptr);
		EXPECT_EQ(vhost::PathOf(*out), expected);
		EXPECT_TRUE(IO::fileSystem.IsFolder(*out));
		delete out;
		GS::Array<API_LibraryInfo> libs;
		ASSERT_EQ(LM::GetLibraries(libs), NoError);
		ASSERT_EQ(libs.GetSize(), 2u) << round;
		EXPECT_EQ(vhost::PathOf(libs[1].location), expected);
		EXPECT_EQ(libs[1].name, GS::UniString("VELMORA Library"));
	}
	EXPECT_EQ(Host().faults.back().remaining, 1) << "the list was handed back though the folder was loaded";
}

} // namespace

namespace {

struct Expected { const char* part; const char* param; API_AddParID type; bool table; };

// The parameters the importer, the geolocation step and the two readers set on these parts.
constexpr Expected kReaderParams[] = {
	{"Velmora_Geocoordinate", "bGeodeticData", APIParT_Boolean, false},
	{"Velmora_Building", "vertArray", APIParT_Length, true},
	{"Velmora_Building", "vectArray", APIParT_Length, true},
	{"Velmora_Building", "edgeArray", APIParT_Integer, true},
	{"Velmora_Building", "pgonArray", APIParT_Integer, true},
	{"Velmora_Building", "matWall", APIParT_Mater, false},
	{"Velmora_Building", "matRoof", APIParT_Mater, false},
	{"Velmora_Building", "gs_fill_type", APIParT_FillPat, false},
	{"Velmora_Building", "pen3D", APIParT_PenCol, false},
	{"Velmora_Spruce_Tree", "temp_AA", APIParT_Length, false},
	{"Velmora_Pine_Tree", "temp_BB", APIParT_Length, false},
	{"Velmora_Birch_Tree", "ZZYZX", APIParT_Length, false},
	{"Velmora_Oak_Tree", "hTrunk", APIParT_Length, false},
	{"Velmora_Oak_Tree", "gs_cont_pen", APIParT_PenCol, false},
	{"Velmora_Oak_Tree", "gs_back_pen", APIParT_PenCol, false},
	{"Velmora_Spruce_Tree", "gs_fill_pen", APIParT_PenCol, false},
};

TEST_F(AddonLibrary, VelmoraLibPartsHaveTheParametersTheReadersSet)
{
	ShipVelmoraLib();
	ASSERT_EQ(LoadVelmoraLibrary(), NoError);
	for (const Expected& e : kReaderParams) {
		API_LibPart part;
		BNZeroMemory(&part, sizeof part);
		ASSERT_EQ(LM::SearchByLibraryPartName(part, GS::UniString(e.part), false, false, false), NoError) << e.part;
		double a = 0, b = 0;
		int n = 0;
		API_AddParType** params = nullptr;
		ASSERT_EQ(kivel::LibraryPart::GetParameters(part.index, a, b, n, params), NoError);
		libtest::Memo memo{params};
		API_AddParType rec;
		BNZeroMemory(&rec, sizeof rec);
		ASSERT_TRUE(kivel::MP::GetParam(memo, rec, e.param, n)) << e.part << " " << e.param;
		EXPECT_EQ(rec.typeID, e.type) << e.param;
		EXPECT_EQ(kivel::MP::IsArrayParam(rec), e.table) << e.param;
		if (e.table) EXPECT_TRUE(kivel::MP::SetDoubleParamArray(memo, e.param, n, GS::Array<GS::Array<double>>{{1, 2, 3}})) << e.param;
		else EXPECT_TRUE(kivel::MP::SetDoubleParam(memo, e.param, n, 1.0)) << e.param;
		ACAPI_DisposeAddParHdl(&params);
	}
}

} // namespace
