#include <string>

#include <gtest/gtest.h>

#include "Classes/VegetationReader.hpp"
#include "ObjectsTest.hpp"
#include "sample/SamplePackage.hpp"

namespace {

class SampleObjects : public objtest::VelmoraLibTest {
protected:
	void SetUp() override
	{
		VelmoraLibTest::SetUp();
		ASSERT_EQ(sample::MakeProjectFolder(Project(), {}), "");
	}
	std::string Project() const { return RunRoot() + "/Documents/Velmora/Prøve"; }
};

TEST_F(SampleObjects, EveryTreeOfTheSampleListIsPlacedWithItsKindAndSize)
{
	LoadLib();
	GS::Array<ObjectGenerationInfo> records;
	ASSERT_EQ(VegetationReader::Read(testsupport::Loc(Project() + "/3D-modell/Vegetasjon/Vegetasjon.csv"), records, 2, 0.0, 1, 2, 3, 4),
		NoError);
	// The sample writes 24 trees, cycling through furu, gran, bjork, eik and lønn.
	const char* parts[] = {"Velmora_Pine_Tree", "Velmora_Spruce_Tree", "Velmora_Birch_Tree", "Velmora_Oak_Tree", "Velmora_Spruce_Tree"};
	ASSERT_EQ(records.GetSize(), 24u);
	for (UInt32 k = 0; k < records.GetSize(); ++k) {
		const ObjectGenerationInfo& r = records[k];
		const double x = 20 + (k * 37) % 360, y = 220 + (k * 13) % 70;
		EXPECT_EQ(r.libPart.index, PartIndex(parts[k % 5])) << k;
		EXPECT_EQ(r.x, x) << k;
		EXPECT_EQ(r.y, y) << k;
		EXPECT_NEAR(r.z, sample::TerrainHeight(x, y), 1e-3) << k; // written with six digits
		EXPECT_EQ(Number(r, "A", APIParT_Length), 3 + k % 4) << k;
		EXPECT_EQ(Number(r, "TEMP_BB", APIParT_Length), (3 + k % 4) / 2.0) << k;
		EXPECT_EQ(Number(r, "ZZYZX", APIParT_Length), 8 + k % 10) << k;
		EXPECT_EQ(Number(r, "HTRUNK", APIParT_Length), (8 + k % 10) / 3.0) << k;
		EXPECT_EQ(r.layer, 2);
	}
	EXPECT_TRUE(ReportTexts().empty());
}

} // namespace
