#include <cmath>
#include <cstdint>
#include <cstring>
#include <iterator>
#include <filesystem>

#include <gtest/gtest.h>
#include <nlohmann/json.hpp>

#include "LibTestHelpers.hpp"
#include "TestSupport.hpp"
#include "generic/LibraryManager.hpp"
#include "generic/LibraryPart.hpp"
#include "libpart/MemoParams.hpp"
#include "vhost/LibraryStore.hpp"
#include "vhost/Text.hpp"

namespace {

using libtest::Param;
using libtest::Record;
namespace LM = kivel::LibraryManager;
namespace LP = kivel::LibraryPart;

class LibraryStore : public testsupport::HostTest {
protected:
	IO::Location Embedded() const { return testsupport::Loc(vhost::EmbeddedLibraryFolder()); }

	// Create, one script section, one parameter section, save.
	GSErrCode MakePart(const char* name, const std::string& script, API_AddParType** params, API_LibPart* out = nullptr)
	{
		IO::Location folder = Embedded();
		API_LibPart part = Record(name, &folder);
		if (const GSErrCode err = LP::Create(&part); err != NoError) return err;
		const API_LibPartSection s3d{API_Sect3DScript, 0};
		EXPECT_EQ(LP::NewSection(&s3d), NoError);
		EXPECT_EQ(LP::WriteSection(static_cast<int>(script.size()), script.data()), NoError);
		EXPECT_EQ(LP::EndSection(), NoError);
		if (params != nullptr) {
			double a = 1.5, b = 2.25;
			GSHandle sect = nullptr;
			EXPECT_EQ(LP::GetSectionParamDef(&part, params, &a, &b, nullptr, &sect, nullptr), NoError);
			const API_LibPartDetails details{true, false, true, false};
			EXPECT_EQ(LP::SetDetailsParamDef(&part, sect, &details), NoError);
			const API_LibPartSection pard{API_SectParamDef, 0};
			EXPECT_EQ(LP::AddSection(&pard, sect, nullptr), NoError);
			BMKillHandle(&sect);
		}
		const GSErrCode err = LP::Save(&part);
		if (out != nullptr) { *out = part; out->location = nullptr; }
		return err;
	}
};

void ExpectSameRecord(const API_AddParType& want, const API_AddParType& got)
{
	SCOPED_TRACE(want.name);
	EXPECT_STREQ(got.name, want.name);
	EXPECT_EQ(got.typeID, want.typeID);
	EXPECT_EQ(got.typeMod, want.typeMod);
	EXPECT_EQ(got.flags, want.flags);
	EXPECT_EQ(GS::UniString(got.uDescname), GS::UniString(want.uDescname));
	if (want.typeMod == API_ParArray) {
		EXPECT_EQ(got.dim1, want.dim1);
		EXPECT_EQ(got.dim2, want.dim2);
		ASSERT_EQ(BMGetHandleSize(got.value.array), BMGetHandleSize(want.value.array));
		EXPECT_EQ(std::memcmp(*got.value.array, *want.value.array, static_cast<std::size_t>(BMGetHandleSize(want.value.array))), 0);
	} else if (want.typeID == APIParT_CString) {
		EXPECT_EQ(GS::UniString(got.value.uStr), GS::UniString(want.value.uStr));
	} else {
		EXPECT_EQ(got.value.real, want.value.real); // exactly
	}
}

std::vector<API_AddParType> SampleParams()
{
	std::vector<API_AddParType> p;
	p.push_back(Param("ZZYZX", APIParT_Length));
	kivel::MP::SetDoubleParam(p.back(), 0.1 + 0.2);
	const std::u16string desc = vhost::Units(GS::UniString("Høyde"));
	std::copy(desc.begin(), desc.end(), p.back().uDescname);
	p.push_back(Param("fontStyle", APIParT_CString, API_ParSimple, 1));
	kivel::MP::SetStringParam(p.back(), GS::UniString("Arial æøå \xF0\x9F\x8C\xB2"));
	p.push_back(Param("bShow3D", APIParT_Boolean, API_ParSimple, 129));
	kivel::MP::SetBooleanParam(p.back(), true);
	p.push_back(Param("edgeArray", APIParT_Integer, API_ParArray));
	kivel::MP::SetDoubleParamArray(p.back(), GS::Array<GS::Array<double>>{{1, 2, 3}, {-4, 5e-300, 6}});
	p.push_back(Param("string_2d", APIParT_CString, API_ParArray, 129));
	kivel::MP::SetStringParamArray(p.back(), GS::Array<GS::UniString>{"ab", "", "c"});
	p.push_back(Param("gs_2D_representation", APIParT_Title));
	return p;
}

TEST_F(LibraryStore, EmbeddedLibraryIsListedFirstWithType4)
{
	GS::Array<API_LibraryInfo> libs;
	int embedded = -1;
	ASSERT_EQ(LM::GetLibraries(libs, embedded), NoError);
	ASSERT_EQ(libs.GetSize(), 1u);
	EXPECT_EQ(embedded, 0);
	EXPECT_EQ(libs[0].libraryType, API_EmbeddedLibrary);
	EXPECT_EQ(libs[0].location, Embedded());
}

TEST_F(LibraryStore, CreatedPartIsFoundAndGivesBackItsParametersExactly)
{
	const int handlesBefore = vhost::LiveHandles();
	std::vector<API_AddParType> records = SampleParams();
	API_AddParType** params = libtest::Handle(records);
	API_LibPart saved;
	BNZeroMemory(&saved, sizeof saved);
	ASSERT_EQ(MakePart("Round_Trip", "BLOCK 1, 1, 1\n", params, &saved), NoError);
	EXPECT_GT(saved.index, 0);

	API_LibPart found;
	BNZeroMemory(&found, sizeof found);
	ASSERT_EQ(LM::SearchByLibraryPartName(found, GS::UniString("round_trip"), false, false, false), NoError);
	EXPECT_EQ(found.index, saved.index);
	EXPECT_EQ(found.location, nullptr);

	double a = 0, b = 0;
	int count = 0;
	API_AddParType** got = nullptr;
	ASSERT_EQ(LP::GetParameters(found.index, a, b, count, got), NoError);
	EXPECT_EQ(a, 1.5);
	EXPECT_EQ(b, 2.25);
	ASSERT_EQ(count, static_cast<int>(records.size()));
	for (int i = 0; i < count; ++i) ExpectSameRecord(records[static_cast<std::size_t>(i)], (*got)[i]);
	API_LibPartDetails details{};
	ASSERT_EQ(LP::GetDetails(found.index, &details), NoError);
	EXPECT_TRUE(details.object);
	EXPECT_FALSE(details.fixSize);
	EXPECT_TRUE(details.autoHotspot);

	EXPECT_EQ(ACAPI_DisposeAddParHdl(&got), NoError);
	EXPECT_EQ(ACAPI_DisposeAddParHdl(&params), NoError);
	EXPECT_EQ(got, nullptr);
	EXPECT_EQ(vhost::LiveHandles(), handlesBefore);
}

// Every read hands out records of its own, also when the part is read again unchanged, and
// a part replaced in place gives its new parameters.
TEST_F(LibraryStore, ParametersReadAgainAreFreshCopiesOfThePartAsItIsNow)
{
	const int handlesBefore = vhost::LiveHandles();
	std::vector<API_AddParType> first = SampleParams(), second = SampleParams();
	kivel::MP::SetDoubleParamArray(second[3], GS::Array<GS::Array<double>>{{7}});
	kivel::MP::SetDoubleParam(second[0], 9.0);
	API_AddParType **firstHandle = libtest::Handle(first), **secondHandle = libtest::Handle(second);
	API_LibPart made;
	BNZeroMemory(&made, sizeof made);
	ASSERT_EQ(MakePart("Again", "A\n", firstHandle, &made), NoError);
	double a = 0, b = 0;
	int count = 0;
	API_AddParType **one = nullptr, **two = nullptr, **three = nullptr;
	ASSERT_EQ(LP::GetParameters(made.index, a, b, count, one), NoError);
	ASSERT_EQ(LP::GetParameters(made.index, a, b, count, two), NoError);
	ASSERT_EQ(count, static_cast<int>(first.size()));
	EXPECT_NE((*one)[3].value.array, (*two)[3].value.array);
	kivel::MP::SetDoubleParamArray((*one)[3], GS::Array<GS::Array<double>>{{0}});
	for (int i = 0; i < count; ++i) ExpectSameRecord(first[static_cast<std::size_t>(i)], (*two)[i]);
	ASSERT_EQ(LP::OverwriteLibPart(true), NoError);
	ASSERT_EQ(MakePart("Again", "B\n", secondHandle), NoError);
	LP::OverwriteLibPart(false);
	ASSERT_EQ(LP::GetParameters(made.index, a, b, count, three), NoError);
	ASSERT_EQ(count, static_cast<int>(second.size()));
	for (int i = 0; i < count; ++i) ExpectSameRecord(second[static_cast<std::size_t>(i)], (*three)[i]);
	for (API_AddParType** h : {one, two, three, firstHandle, secondHandle}) EXPECT_EQ(ACAPI_DisposeAddParHdl(&h), NoError);
	EXPECT_EQ(vhost::LiveHandles(), handlesBefore);
}

TEST_F(LibraryStore, SavedPartIsAReadableFileThatLoadsAgain)
{
	ASSERT_EQ(MakePart("Readable", "! first\nLINE2 0, 0, 1, 1", nullptr), NoError);
	const std::string file = vhost::EmbeddedLibraryFolder() + "/Readable.gsm";
	const std::string text = testsupport::ReadFile(file);
	EXPECT_NE(text.find("| ! first\n| LINE2 0, 0, 1, 1\nend"), std::string::npos) << text;
	vhost::LibraryPartRecord back;
	std::string why;
	ASSERT_TRUE(vhost::ParseLibPartFile(text, back, why)) << why;
	ASSERT_EQ(back.sections.size(), 1u);
	EXPECT_EQ(back.sections[0].type, API_Sect3DScript);
	EXPECT_EQ(back.sections[0].bytes, "! first\nLINE2 0, 0, 1, 1");
	EXPECT_EQ(vhost::FormatLibPartFile(back), text);
}

TEST_F(LibraryStore, OverwriteModeDecidesWhetherANameCanBeReused)
{
	API_LibPart first, second;
	BNZeroMemory(&first, sizeof first);
	BNZeroMemory(&second, sizeof second);
	ASSERT_EQ(MakePart("Same", "A\n", nullptr, &first), NoError);
	EXPECT_EQ(MakePart("Same", "B\n", nullptr), APIERR_NAMEALREADYUSED);
	ASSERT_EQ(LP::OverwriteLibPart(true), NoError);
	ASSERT_EQ(MakePart("Same", "C\n", nullptr, &second), NoError);
	LP::OverwriteLibPart(false);
	EXPECT_EQ(second.index, first.index); // replaced in place: placed elements keep their part
	GSHandle h = nullptr;
	API_LibPartSection s{API_Sect3DScript, 0};
	ASSERT_EQ(LP::GetSection(second.index, &s, &h, nullptr, nullptr), NoError);
	EXPECT_EQ(std::string(*h, static_cast<std::size_t>(BMGetHandleSize(h))), "C\n");
	BMKillHandle(&h);
}

// A part whose file name (its name and ".gsm") would pass 255 bytes is refused for its name
// when it is started, and the library holds nothing of it; one byte less is a part.
TEST_F(LibraryStore, ANameTooLongForAFileIsRefusedAsAName)
{
	const std::string fits(251, 'N'), tooLong(252, 'N');
	const std::string half = std::string(125, 'N') + "\xC3\xB8"; // 126 letters in 127 bytes
	EXPECT_EQ(MakePart(fits.c_str(), "A\n", nullptr), NoError);
	EXPECT_EQ(MakePart(tooLong.c_str(), "A\n", nullptr), APIERR_BADNAME);
	EXPECT_EQ(MakePart((half + half).c_str(), "A\n", nullptr), APIERR_BADNAME); // bytes count, not letters
	API_LibPart found;
	BNZeroMemory(&found, sizeof found);
	EXPECT_EQ(LM::SearchByLibraryPartName(found, GS::UniString(tooLong.c_str()), false, false, false), APIERR_BADNAME);
	EXPECT_EQ(LM::SearchByLibraryPartName(found, GS::UniString(fits.c_str()), false, false, false), NoError);
	delete found.location;
	std::size_t told = 0;
	for (const std::string& line : Host().debug) told += line.find("the part's file name has 256 bytes, more than 255") != std::string::npos;
	EXPECT_EQ(told, 1u);
}

// Overwrite replaces only a part in the folder being written to: a namesake in another
// loaded library keeps its file and its index.
TEST_F(LibraryStore, OverwriteLeavesANamesakeInAnotherLibrary)
{
	const std::string otherPath = RunRoot() + "/Other";
	std::filesystem::create_directories(otherPath);
	IO::Location other = testsupport::Loc(otherPath);
	ASSERT_EQ(ACAPI_LibraryManagement_AddLibraries(&other), NoError);
	API_LibPart theirs = Record("Same", &other);
	ASSERT_EQ(LP::Create(&theirs), NoError);
	ASSERT_EQ(LP::Save(&theirs), NoError);
	const std::string theirFile = otherPath + "/Same.gsm";
	const std::string theirBytes = testsupport::ReadFile(theirFile);

	EXPECT_EQ(MakePart("same", "A\n", nullptr), APIERR_NAMEALREADYUSED); // a clash without overwrite
	ASSERT_EQ(LP::OverwriteLibPart(true), NoError);
	API_LibPart ours, again;
	BNZeroMemory(&ours, sizeof ours);
	BNZeroMemory(&again, sizeof again);
	ASSERT_EQ(MakePart("same", "B\n", nullptr, &ours), NoError);
	ASSERT_EQ(MakePart("Same", "C\n", nullptr, &again), NoError);   // this one is replaced
	LP::OverwriteLibPart(false);
	EXPECT_NE(ours.index, theirs.index);
	EXPECT_EQ(again.index, ours.index);
	EXPECT_EQ(testsupport::ReadFile(theirFile), theirBytes);
	API_LibPart kept{};
	kept.index = theirs.index;
	ASSERT_EQ(ACAPI_LibraryPart_Get(&kept), NoError);
	EXPECT_EQ(vhost::PathOf(*kept.location), theirFile);
	delete kept.location;
}

// Numbers JSON has no form for are kept exactly, in simple and array parameters and in A/B.
TEST_F(LibraryStore, NonFiniteParametersReadBackExactly)
{
	const double payloadNaN = [] {
		const std::uint64_t bits = 0xFFF4000000000123ull;
		double d;
		std::memcpy(&d, &bits, sizeof d);
		return d;
	}();
	const double specials[] = {std::nan(""), HUGE_VAL, -HUGE_VAL, payloadNaN, -0.0};
	std::vector<API_AddParType> records;
	for (const double v : specials) {
		records.push_back(Param("p", APIParT_Length));
		kivel::MP::SetDoubleParam(records.back(), v);
	}
	records.push_back(Param("arr", APIParT_RealNum, API_ParArray));
	kivel::MP::SetDoubleParamArray(records.back(), GS::Array<GS::Array<double>>{{HUGE_VAL, payloadNaN, 1.5}});
	API_AddParType** params = libtest::Handle(records);
	API_LibPart saved;
	BNZeroMemory(&saved, sizeof saved);
	ASSERT_EQ(MakePart("Specials", "\n", params, &saved), NoError);
	double a = 0, b = 0;
	int count = 0;
	API_AddParType** got = nullptr;
	ASSERT_EQ(LP::GetParameters(saved.index, a, b, count, got), NoError);
	ASSERT_EQ(count, static_cast<int>(records.size()));
	auto bitsOf = [](double d) { std::uint64_t u; std::memcpy(&u, &d, sizeof u); return u; };
	for (std::size_t i = 0; i < std::size(specials); ++i) EXPECT_EQ(bitsOf((*got)[i].value.real), bitsOf(specials[i])) << i;
	const API_AddParType& arr = (*got)[std::size(specials)];
	ASSERT_EQ(BMGetHandleSize(arr.value.array), 3 * static_cast<Int32>(sizeof(double)));
	const auto* cells = reinterpret_cast<const double*>(*arr.value.array);
	EXPECT_EQ(bitsOf(cells[0]), bitsOf(HUGE_VAL));
	EXPECT_EQ(bitsOf(cells[1]), bitsOf(payloadNaN));
	EXPECT_EQ(cells[2], 1.5);
	ACAPI_DisposeAddParHdl(&got);
	ACAPI_DisposeAddParHdl(&params);
}

TEST_F(LibraryStore, StepsOutOfOrderAreRefused)
{
	const API_LibPartSection s{API_Sect2DScript, 0};
	EXPECT_EQ(LP::NewSection(&s), APIERR_REFUSEDCMD);        // no part started
	EXPECT_EQ(LP::WriteSection(1, "x"), APIERR_REFUSEDCMD);
	EXPECT_EQ(LP::EndSection(), APIERR_REFUSEDCMD);
	EXPECT_EQ(LP::Save(nullptr), APIERR_REFUSEDCMD);
	IO::Location folder = Embedded();
	API_LibPart dropped = Record("Dropped", &folder);
	ASSERT_EQ(LP::Create(&dropped), NoError);
	ASSERT_EQ(LP::NewSection(&s), NoError);
	API_LibPart part = Record("Steps", &folder);
	ASSERT_EQ(LP::Create(&part), NoError);                     // drops the unsaved part, open section and all
	ASSERT_EQ(LP::NewSection(&s), NoError);
	EXPECT_EQ(LP::NewSection(&s), APIERR_REFUSEDCMD);         // one open section
	EXPECT_EQ(LP::WriteSection(-1, "x"), APIERR_BADPARS);
	ASSERT_EQ(LP::Save(&part), NoError);                       // closes the open section
	EXPECT_EQ(vhost::PathOf(*part.location), vhost::EmbeddedLibraryFolder() + "/Steps.gsm");
	EXPECT_FALSE(std::filesystem::exists(vhost::EmbeddedLibraryFolder() + "/Dropped.gsm"));
	API_LibPart found;
	BNZeroMemory(&found, sizeof found);
	EXPECT_EQ(LM::SearchByLibraryPartName(found, GS::UniString("Dropped"), false, false, false), APIERR_BADNAME);
}

TEST_F(LibraryStore, SearchFailsForMissingPartsAndFoldersOutsideLibraries)
{
	API_LibPart part;
	BNZeroMemory(&part, sizeof part);
	EXPECT_EQ(LM::SearchByLibraryPartName(part, GS::UniString("Nothing"), false, false, false), APIERR_BADNAME);
	std::memset(&part, 0, sizeof part);
	EXPECT_EQ(LM::Search(part, false, false, false), APIERR_BADPARS);
	// A part saved outside every loaded library is not found until its folder is loaded.
	testsupport::TempDir outside;
	const IO::Location folder = testsupport::Loc(outside.Path());
	IO::Location where = folder; // Save turns it into the part file's location
	API_LibPart rec = Record("Outside", &where);
	ASSERT_EQ(LP::Create(&rec), NoError);
	ASSERT_EQ(LP::Save(&rec), NoError);
	EXPECT_EQ(LM::SearchByLibraryPartName(part, GS::UniString("Outside"), false, false, false), APIERR_BADNAME);
	ASSERT_EQ(LM::AddLibrary(folder), NoError);
	EXPECT_EQ(LM::SearchByLibraryPartName(part, GS::UniString("Outside"), false, false, false), NoError);
	EXPECT_EQ(part.index, rec.index);
}

TEST_F(LibraryStore, SetLibrariesKeepsTheEmbeddedLibraryAndRefusesMissingFolders)
{
	testsupport::TempDir other;
	GS::Array<API_LibraryInfo> libs;
	libs.SetSize(1);
	libs[0].location = testsupport::Loc(other.Path());
	ASSERT_EQ(LM::SetLibraries(libs), NoError);
	GS::Array<API_LibraryInfo> now;
	int embedded = -1;
	ASSERT_EQ(LM::GetLibraries(now, embedded), NoError);
	ASSERT_EQ(now.GetSize(), 2u);
	EXPECT_EQ(now[static_cast<UInt32>(embedded)].location, Embedded());
	libs[0].location = testsupport::Loc(other.Path() + "/missing");
	EXPECT_EQ(LM::SetLibraries(libs), APIERR_BADPARS);
	ASSERT_EQ(LM::GetLibraries(now), NoError);
	EXPECT_EQ(now.GetSize(), 2u);
}

TEST_F(LibraryStore, PicturesAreRegisteredAndCopied)
{
	testsupport::TempDir src;
	testsupport::WriteFile(src / "photo.jpg", "JPEG");
	const IO::Location target = testsupport::Loc(vhost::EmbeddedLibraryFolder() + "/VELMORA Library");
	GS::Array<IO::Location> files{testsupport::Loc(src / "photo.jpg")};
	ASSERT_EQ(ACAPI_LibraryManagement_CopyFilesIntoLibrary(target, files, true), NoError);
	EXPECT_EQ(ACAPI_LibraryManagement_CopyFilesIntoLibrary(target, files, false), APIERR_NAMEALREADYUSED);
	IO::Location copy = target;
	copy.AppendToLocal(IO::Name("photo.jpg"));
	API_LibPart pict;
	std::memset(&pict, 0, sizeof pict);
	pict.typeID = APILib_PictID;
	pict.location = &copy;
	ASSERT_EQ(LP::Register(&pict), NoError);
	EXPECT_GT(pict.index, 0);
	API_LibPart found;
	BNZeroMemory(&found, sizeof found);
	ASSERT_EQ(LM::SearchByFileName(found, GS::UniString("photo.jpg"), false, false, false), NoError);
	EXPECT_EQ(found.index, pict.index);
	EXPECT_EQ(found.typeID, APILib_PictID);
}

TEST_F(LibraryStore, MalformedParameterRecordsAreRefused)
{
	struct Case {
		const char* what;
		void (*spoil)(API_AddParType&);
	};
	const Case cases[] = {
		{"name without terminator", [](API_AddParType& p) { std::memset(p.name, 'x', sizeof p.name); }},
		{"unknown type", [](API_AddParType& p) { p.typeID = static_cast<API_AddParID>(99); }},
		{"unknown modifier", [](API_AddParType& p) { p.typeMod = 1; }},
		{"array without handle", [](API_AddParType& p) { p.typeMod = API_ParArray; p.dim1 = 2; p.dim2 = 2; }},
	};
	for (const Case& c : cases) {
		API_AddParType p = Param("x", APIParT_Length);
		c.spoil(p);
		API_AddParType** h = libtest::Handle({p});
		IO::Location folder = Embedded();
		API_LibPart part = Record("Bad", &folder);
		double a = 1, b = 1;
		GSHandle sect = nullptr;
		EXPECT_EQ(LP::GetSectionParamDef(&part, h, &a, &b, nullptr, &sect, nullptr), APIERR_BADPARS) << c.what;
		EXPECT_EQ(sect, nullptr);
		BMKillHandle(reinterpret_cast<GSHandle*>(&h));
	}
}

TEST_F(LibraryStore, DumpListsLibrariesAndPartsAndWritesTheirFiles)
{
	API_AddParType** params = libtest::Handle(SampleParams());
	ASSERT_EQ(MakePart("Dumped", "BLOCK 1, 1, 1\n", params), NoError);
	ACAPI_DisposeAddParHdl(&params);
	const auto j = nlohmann::json::parse(vhost::DumpJson());
	ASSERT_EQ(j["libraries"].size(), 1u);
	EXPECT_EQ(j["libraries"][0]["type"], 4);
	ASSERT_EQ(j["libraryParts"].size(), 1u);
	const auto& part = j["libraryParts"][0];
	EXPECT_EQ(part["name"], "Dumped");
	EXPECT_EQ(part["index"], 1);
	EXPECT_EQ(part["parameters"]["parameters"][0]["name"], "ZZYZX");
	testsupport::TempDir out;
	ASSERT_TRUE(vhost::WriteLibraryParts(out.Path()));
	EXPECT_EQ(testsupport::ReadFile(out / "library/Dumped/3d.gdl"), "BLOCK 1, 1, 1\n");
	EXPECT_NE(testsupport::ReadFile(out / "library/Dumped/parameters.json").find("\"fontStyle\""), std::string::npos);
}

} // namespace
