#include <map>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "ACAPinc.h"
#include "Classes/MapInsert.hpp"
#include "Classes/VegetationReader.hpp"
#include "ObjectsTest.hpp"

namespace {

constexpr const char* kHeader = "x,y,z,tre_diameter,tre_hoyde,tre_størrelse,tre_type,tre_type_tekst,kommentar\n";
constexpr short kLayer = 5, kPen = 3, kFillPen = 4, kBackPen = 19, kFill = 65;

class TreeReader : public objtest::VelmoraLibTest {
protected:
	// Writes a tree list and reads it.
	GSErrCode Read(const std::string& rows, bool withHeader = true)
	{
		testsupport::WriteFile(CsvPath(), (withHeader ? kHeader : "") + rows);
		return ReadFile(CsvPath());
	}
	GSErrCode ReadFile(const std::string& path)
	{
		return VegetationReader::Read(testsupport::Loc(path), records_, kLayer, 123.0, kPen, kFillPen, kBackPen, kFill);
	}
	std::string CsvPath() const { return addon_ / "Vegetasjon/Vegetasjon.csv"; }

	GS::Array<ObjectGenerationInfo> records_;
};

TEST_F(TreeReader, KindTextsAreMatchedExactly)
{
	struct Case { const char* text; int kind; TreePart part; };
	const Case cases[] = {
		{"furu", 1, TreePart::Pine}, {"gran", 2, TreePart::Spruce}, {"bjork", 3, TreePart::Birch}, {"eik", 4, TreePart::Oak},
		{"Eik", 1, TreePart::Spruce}, {"FURU", 1, TreePart::Spruce}, {" gran", 1, TreePart::Spruce}, {"eik ", 1, TreePart::Spruce},
		{"bjørk", 1, TreePart::Spruce}, {"lønn", 1, TreePart::Spruce}, {"", 1, TreePart::Spruce},
	};
	for (const Case& c : cases) {
		EXPECT_EQ(VegetationReader::GetTreeType(GS::UniString(c.text)), c.kind) << c.text;
		EXPECT_EQ(VegetationReader::GetTreePart(GS::UniString(c.text)), c.part) << c.text;
	}
}

// Three trees whose placement fails: one report names their part and the count.
TEST_F(TreeReader, FailedPlacementsOfOnePartAreReportedOnceWithTheirCount)
{
	LoadLib();
	ASSERT_EQ(Read("1,2,3,4,5,liten,1,furu\n4,5,6,4,5,liten,1,furu\n7,8,9,4,5,liten,1,furu\n"), NoError);
	ASSERT_EQ(records_.GetSize(), 3u);
	Host().reports.clear();
	vhost::InjectFault("ACAPI_Element_Create", APIERR_MEMFULL, "Object");
	RunElements elements;
	GSErrCode placed = NoError;
	ASSERT_EQ(ACAPI_CallUndoableCommand("Placing VELMORA elements", [&]() -> GSErrCode {
		placed = PlaceObjectElements(records_, PlacementBase(), elements);
		return NoError;
	}), NoError);
	vhost::ClearFaults();
	EXPECT_EQ(placed, APIERR_MEMFULL);
	const std::vector<std::string> reports = ReportTexts();
	ASSERT_EQ(reports.size(), 1u);
	EXPECT_NE(reports[0].find("(part \"Velmora_Pine_Tree\", 3 element(s))"), std::string::npos) << reports[0];
	EXPECT_NE(reports[0].find("Error while placing VELMORA geometries"), std::string::npos) << reports[0];
}

TEST_F(TreeReader, EachRowBecomesARecordOfItsKindsPart)
{
	LoadLib();
	const ObjectGenerationInfo before;
	records_.Push(before); // the reader appends
	ASSERT_EQ(Read("10.5,-20.25,101.5,6,9,medium,1,furu,x\n"
	               "1,2,3,4,5,liten,2,gran,\n"
	               "1,2,3,4,5,liten,3,bjork\n"
	               "1,2,3,4,5,liten,4,eik\n"
	               "1,2,3,4,5,liten,99,Eik\n"),
		NoError);
	ASSERT_EQ(records_.GetSize(), 6u);
	const char* parts[] = {"Velmora_Pine_Tree", "Velmora_Spruce_Tree", "Velmora_Birch_Tree", "Velmora_Oak_Tree", "Velmora_Spruce_Tree"};
	for (UInt32 i = 0; i < 5; ++i) {
		const ObjectGenerationInfo& r = records_[i + 1];
		EXPECT_EQ(r.libPart.index, PartIndex(parts[i])) << i;
		EXPECT_EQ(r.type, ImportVegetation);
		EXPECT_EQ(r.layer, kLayer);
	}
	const ObjectGenerationInfo& first = records_[1];
	EXPECT_EQ(first.x, 10.5);
	EXPECT_EQ(first.y, -20.25);
	EXPECT_EQ(first.z, 101.5); // from the file, not the elevation argument
	// Diameter 6 and height 9.
	const std::pair<const char*, double> sizes[] = {{"A", 6}, {"B", 6}, {"TEMP_AA", 3}, {"TEMP_BB", 3}, {"ZZYZX", 9}, {"HTRUNK", 3}};
	for (const auto& s : sizes) EXPECT_EQ(Number(first, s.first, APIParT_Length), s.second) << s.first;
	const std::tuple<const char*, API_AddParID, double> display[] = {
		{"GS_CONT_PEN", APIParT_PenCol, kPen}, {"GS_FILL_TYPE", APIParT_FillPat, kFill}, {"GS_FILL_PEN", APIParT_PenCol, kFillPen},
		{"GS_BACK_PEN", APIParT_PenCol, kBackPen}, {"PEN3D", APIParT_PenCol, kPen},
	};
	for (const auto& d : display) EXPECT_EQ(Number(first, std::get<0>(d), std::get<1>(d)), std::get<2>(d)) << std::get<0>(d);
	EXPECT_EQ(first.parameters.GetSize(), 11u);
	EXPECT_EQ(records_[2].parameters.Get(GS::UniString("HTRUNK")).doubleValue, 5.0 / 3);
	EXPECT_TRUE(ReportTexts().empty());
}

TEST_F(TreeReader, ARowThatDoesNotParseIsReportedAndSkipped)
{
	struct Case { const char* row; const char* message; };
	const Case cases[] = {
		{"abc,2,3,4,5,s,1,furu", "Error: Failed to parse tree x value"},
		{",2,3,4,5,s,1,furu", "Error: Failed to parse tree x value"},
		{"1,2 m,3,4,5,s,1,furu", "Error: Failed to parse tree y value"},
		{"1,2,nan,4,5,s,1,furu", "Error: Failed to parse tree x value"}, // the z cell's message names x
		{"1,2,3,inf,5,s,1,furu", "Error: Failed to parse tree diameter value"},
		{"1,2,3,4,1e999,s,1,furu", "Error: Failed to parse tree height value"},
		{"1,2,3,4,5,s,one,eik", "Error: Failed to parse tree type value"},
		{"1,2,3,4,5,s,1.0,eik", "Error: Failed to parse tree type value"},
		{"1,2,3,4,5,s,,eik", "Error: Failed to parse tree type value"},
		{"x,y,z,4,5,s,q,eik", "Error: Failed to parse tree x value"}, // only the first failure
		{"1,2,3,4", "Error: Failed to parse tree height value"},      // short rows get empty cells
	};
	LoadLib();
	for (const Case& c : cases) {
		Host().reports.clear();
		records_.Clear();
		ASSERT_EQ(Read(std::string("1,1,1,1,1,s,1,gran\n") + c.row + "\n2,2,2,2,2,s,1,gran\n"), NoError) << c.row;
		ASSERT_EQ(records_.GetSize(), 2u) << c.row; // the rows around it are read
		EXPECT_EQ(records_[1].x, 2.0) << c.row;
		ASSERT_EQ(Host().reports.size(), 1u) << c.row;
		EXPECT_EQ(Host().reports[0].text, c.message) << c.row;
		EXPECT_TRUE(Host().reports[0].alert) << c.row;
	}
}

TEST_F(TreeReader, NumbersInTheirPlainForms)
{
	LoadLib();
	ASSERT_EQ(Read(" -1.5 ,+2e1,.5,6.,9E0,s, 7 ,furu\n"), NoError);
	ASSERT_EQ(records_.GetSize(), 1u);
	EXPECT_EQ(records_[0].x, -1.5);
	EXPECT_EQ(records_[0].y, 20.0);
	EXPECT_EQ(records_[0].z, 0.5);
	EXPECT_EQ(Number(records_[0], "A", APIParT_Length), 6.0);
	EXPECT_EQ(Number(records_[0], "ZZYZX", APIParT_Length), 9.0);
}

TEST_F(TreeReader, AHeaderOnlyFileGivesNothing)
{
	LoadLib();
	EXPECT_EQ(Read(""), NoError);
	EXPECT_EQ(Read("\n\n"), NoError);
	EXPECT_TRUE(records_.IsEmpty());
	EXPECT_TRUE(ReportTexts().empty());
}

TEST_F(TreeReader, WithoutTheSprucePartNothingIsRead)
{
	LoadLib({"Velmora_Spruce_Tree"});
	const GSErrCode err = ReadFile(addon_ / "no such.csv");
	EXPECT_NE(err, NoError);
	API_LibPart part;
	BNZeroMemory(&part, sizeof part);
	EXPECT_EQ(err, kivel::LibraryManager::SearchByLibraryPartName(part, GS::UniString("Velmora_Spruce_Tree"), false, false, false));
	EXPECT_TRUE(records_.IsEmpty());
	ASSERT_EQ(Host().reports.size(), 1u); // the table is not even opened
	EXPECT_EQ(Host().reports[0].text, MissingPartReport("Velmora_Spruce_Tree"));
	EXPECT_TRUE(Host().reports[0].alert);
}

TEST_F(TreeReader, TreesOfAMissingPartAreSkippedWithOneReportPerPart)
{
	LoadLib({"Velmora_Oak_Tree", "Velmora_Pine_Tree"});
	ASSERT_EQ(Read("1,1,1,1,1,s,1,eik\n2,2,2,2,2,s,1,furu\n3,3,3,3,3,s,1,eik\n4,4,4,4,4,s,1,bjork\n5,5,5,5,5,s,1,gran\n"), NoError);
	ASSERT_EQ(records_.GetSize(), 2u);
	EXPECT_EQ(records_[0].libPart.index, PartIndex("Velmora_Birch_Tree"));
	EXPECT_EQ(records_[1].libPart.index, PartIndex("Velmora_Spruce_Tree"));
	EXPECT_EQ(ReportTexts(), (std::vector<std::string>{MissingPartReport("Velmora_Pine_Tree"), MissingPartReport("Velmora_Oak_Tree")}));
}

TEST_F(TreeReader, ATableThatCannotBeLoadedIsAGeneralError)
{
	LoadLib();
	const std::string missing = addon_ / "Vegetasjon/ingen.csv";
	EXPECT_EQ(ReadFile(missing), static_cast<GSErrCode>(0x81060001));
	EXPECT_EQ(Read("1,2,3,4,5,s,1,furu\n", false), APIERR_GENERAL); // no header: the columns are missing
	EXPECT_TRUE(records_.IsEmpty());
	const std::vector<std::string> reports = ReportTexts();
	ASSERT_EQ(reports.size(), 4u);
	EXPECT_EQ(reports[1], "Error: Failed to load (" + missing + ")");
	EXPECT_EQ(reports[3], "Error: Failed to load (" + CsvPath() + ")");
	for (const auto& r : Host().reports) EXPECT_TRUE(r.alert);
}

TEST_F(TreeReader, TheIndependentTreeListGivesEveryTree)
{
	LoadLib();
	ASSERT_EQ(ReadFile(std::string(VELMORA_FIXTURES) + "/csv/trees-comma.csv"), NoError);
	ASSERT_EQ(records_.GetSize(), 200u);
	std::map<Int32, int> perPart;
	for (const ObjectGenerationInfo& r : records_) ++perPart[r.libPart.index];
	// furu 61 pines; gran 58 and 28 of other kinds (Eik, osp, lønn) spruces; bjork 38; eik 15.
	EXPECT_EQ(perPart[PartIndex("Velmora_Pine_Tree")], 61);
	EXPECT_EQ(perPart[PartIndex("Velmora_Spruce_Tree")], 86);
	EXPECT_EQ(perPart[PartIndex("Velmora_Birch_Tree")], 38);
	EXPECT_EQ(perPart[PartIndex("Velmora_Oak_Tree")], 15);
	EXPECT_EQ(records_[0].x, 597511.82);
	EXPECT_EQ(records_[0].z, 118.47);
	EXPECT_EQ(Number(records_[0], "TEMP_AA", APIParT_Length), 3.7);
	EXPECT_TRUE(ReportTexts().empty());
}

} // namespace
