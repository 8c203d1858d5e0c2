#include <cfloat>
#include <cmath>
#include <cstdint>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "ACAPinc.h"
#include "Classes/import_map.hpp"
#include "TestSupport.hpp"
#include "sample/Writer3ds.hpp"
#include "vhost/Script.hpp"

namespace {

// A 3DS layer with one mesh through the given points.
std::string Layer(const std::vector<std::array<float, 3>>& points)
{
	sample::Mesh3ds mesh{"m", points, {}, {{0, 1, 2}}, -1};
	const auto bytes = sample::Write3ds({}, {mesh});
	return std::string(bytes.begin(), bytes.end());
}

class Frame : public testsupport::HostTest {
protected:
	std::string Model() const { return RunRoot() + "/Documents/Velmora/p/3D-modell"; }
	void Add(ImportObjectType type, const std::string& rel, const std::string* bytes)
	{
		import_object o;
		o.type = type;
		o.location = testsupport::Loc(Model() + "/" + rel);
		if (bytes != nullptr) testsupport::WriteFile(Model() + "/" + rel, *bytes);
		objects.push_back(o);
	}
	void Outline(const std::string& json)
	{
		testsupport::WriteFile(Model() + "/Area.json", json);
		options.area_location = testsupport::Loc(Model() + "/Area.json");
	}
	GSErrCode Pick(bool interactive = false)
	{
		pointers.clear();
		for (auto& o : objects) pointers.push_back(&o);
		Importer importer(options);
		return importer.PickOrigo(interactive, pointers.data(), static_cast<unsigned int>(pointers.size()));
	}
	static void ExpectFrame(const import_object& o, double minX, double minY, double minZ, UInt64 sx, UInt64 sy, UInt64 sz)
	{
		EXPECT_DOUBLE_EQ(o.min_x, minX);
		EXPECT_DOUBLE_EQ(o.min_y, minY);
		EXPECT_FLOAT_EQ(static_cast<float>(o.min_z), static_cast<float>(minZ));
		EXPECT_EQ(o.size_x, sx);
		EXPECT_EQ(o.size_y, sy);
		EXPECT_EQ(o.size_z, sz);
	}

	ImportOptions options;
	std::vector<import_object> objects;
	std::vector<import_object*> pointers;
};

const std::string kTriangleOutline = "{\"coordinates\": [[[10, 20], [110, 20], [110, 70]]], \"type\": \"Polygon\"}";

TEST_F(Frame, XYFromTheOutlineZFromTheLayers)
{
	const std::string low = Layer({{-500, -500, 2.5f}, {0, 0, 10}, {1, 1, 11}});
	const std::string high = Layer({{900, 900, 40.9f}, {0, 0, 10}, {1, 1, 11}});
	Add(ImportTerrain, "3ds/Terreng.3ds", &low);
	Add(ImportRoads, "3ds/Veg.3ds", &high);
	const std::string notDxf = "0\nSECTION\n";
	Add(Import2DBaseMap, "Basiskart/Alle data.dxf", &notDxf);
	Outline(kTriangleOutline);
	ASSERT_EQ(Pick(), NoError);
	for (const import_object& o : objects) {
		ExpectFrame(o, 10, 20, 2.5, 100, 50, 38);
		EXPECT_EQ(o.origin_x, 0.0);
		EXPECT_EQ(o.origin_y, 0.0);
		EXPECT_EQ(o.angle, 0.0);
	}
	EXPECT_TRUE(Host().reports.empty());
}

TEST_F(Frame, OnlyTheBaseMapOrOnePointGiveZeroSizes)
{
	const std::string dxf = "0\nEOF\n";
	Add(Import2DBaseMap, "Basiskart/Alle data.dxf", &dxf);
	Outline(kTriangleOutline);
	ASSERT_EQ(Pick(), NoError);
	ExpectFrame(objects[0], 10, 20, 0, 100, 50, 0);
	Outline("{\"coordinates\": [[[5, 6]]]}");
	ASSERT_EQ(Pick(), NoError);
	ExpectFrame(objects[0], 5, 6, 0, 0, 0, 0);
}

TEST_F(Frame, SizesBeyondTheWholeNumberRangeAreHeldAtTheLargest)
{
	const std::string layer = Layer({{0, 0, -3e38f}, {1, 0, 3e38f}, {0, 1, 0}});
	Add(ImportTerrain, "3ds/Terreng.3ds", &layer);
	const struct { const char* json; UInt64 sizeX, sizeY; } cases[] = {
		{"{\"coordinates\": [[[-1e300, 0], [1e300, 10.5]]]}", UINT64_MAX, 10},
		{"{\"coordinates\": [[[-1e308, 0], [1e308, 10.5]]]}", UINT64_MAX, 10},  // the difference overflows a double
		{"{\"coordinates\": [[[0, 0], [18446744073709549568, 1]]]}", 18446744073709549568ull, 1}, // largest double below 2^64
		{"{\"coordinates\": [[[0, 0], [18446744073709551616, 1]]]}", UINT64_MAX, 1},              // 2^64
	};
	for (const auto& c : cases) {
		Outline(c.json);
		ASSERT_EQ(Pick(), NoError) << c.json;
		EXPECT_EQ(objects[0].size_x, c.sizeX) << c.json;
		EXPECT_EQ(objects[0].size_y, c.sizeY) << c.json;
		EXPECT_EQ(objects[0].size_z, UINT64_MAX) << c.json; // 6e38 between the float extremes
	}
}

TEST_F(Frame, MissingHekkIsMeasuredAsVegetasjon)
{
	const std::string veg = Layer({{0, 0, 3}, {1, 0, 7}, {0, 1, 9}});
	testsupport::WriteFile(Model() + "/3ds/Vegetasjon.3ds", veg);
	Add(ImportVegetation, "3ds/Hekk.3ds", nullptr);
	Outline(kTriangleOutline);
	ASSERT_EQ(Pick(), NoError);
	ExpectFrame(objects[0], 10, 20, 3, 100, 50, 6);
}

TEST_F(Frame, AnUnreadableLayerIsReportedAndTheOthersMeasured)
{
	const std::string good = Layer({{0, 0, 1}, {1, 0, 4}, {0, 1, 5}});
	Add(ImportFences, "3ds/Gjerder.3ds", nullptr);
	Add(ImportWater, "3ds/Vann.3ds", &good);
	Outline(kTriangleOutline);
	ASSERT_EQ(Pick(), NoError);
	ASSERT_EQ(ReportTexts().size(), 1u);
	EXPECT_EQ(ReportTexts()[0], "Error: 3DS File (" + Model() + "/3ds/Gjerder.3ds) not found!");
	EXPECT_TRUE(Host().reports[0].alert);
	for (const import_object& o : objects) ExpectFrame(o, 10, 20, 1, 100, 50, 4);
}

TEST_F(Frame, WithoutAnOutlineTheLayersGiveXYWithOneReport)
{
	const std::string layer = Layer({{1, 2, 3}, {11.5f, 2, 3}, {1, 22.9f, 8}});
	Add(ImportTerrain, "3ds/Terreng.3ds", &layer);
	const struct { const char* json; const char* why; } cases[] = {
		{nullptr, "no such file"},
		{"", "not JSON"},
		{"{\"coordinates\": [[[1, 2], [3, \"x\"]]]}", "a point is not a pair of numbers"},
		{"{\"coordinates\": [[[1, 2], [3]]]}", "a point is not a pair of numbers"},
		{"{\"coordinates\": [[[1, 2], [1e999, 3]]]}", "not JSON"}, // out of range
		{"{\"coordinates\": []}", "\"coordinates\" holds no ring of points"},
		{"{\"coordinates\": {\"a\": 1}}", "\"coordinates\" holds no ring of points"},
		{"{\"coordinates\": [[]]}", "the outline has no points"},
		{"[1, 2]", "no \"coordinates\" member"},
		{"{\"coordinates\": [[[1, 2]]]} // comment", "not JSON"},
	};
	for (const auto& c : cases) {
		Host().reports.clear();
		if (c.json != nullptr) Outline(c.json); else options.area_location = IO::Location();
		ASSERT_EQ(Pick(), NoError) << c.why;
		ExpectFrame(objects[0], 1, 2, 3, 10, 20, 5);
		ASSERT_EQ(ReportTexts().size(), 1u) << c.why;
		EXPECT_NE(ReportTexts()[0].find(std::string(c.why) + "; the extent of the 3DS files is used."), std::string::npos)
			<< ReportTexts()[0];
	}
}

TEST_F(Frame, NothingToMeasureGivesAnAllZeroFrame)
{
	// Neither missing file is opened: the surroundings model and the base map are not 3DS.
	Add(ImportSurroundings, "Visualiseringsterreng/Visualiseringsterreng_med_bygg.skp", nullptr);
	Add(Import2DBaseMap, "Basiskart/Alle data.dxf", nullptr);
	ASSERT_EQ(Pick(), NoError);
	ExpectFrame(objects[0], 0, 0, 0, 0, 0, 0);
	Host().reports.clear();   // the missing outline's
	const import_object* measured[] = {&objects[0], &objects[1]};
	API_Box3D box{1, 1, 1, 2, 2, 2};
	EXPECT_EQ(Importer::CalcBoundingBox(measured, 2, &box), NoError);
	EXPECT_EQ(box.zMax, 0);
	EXPECT_TRUE(Host().reports.empty()) << ReportTexts()[0];
}

TEST_F(Frame, ReferencePointIsTheMinimumCornerOfTheNamedLayer)
{
	const std::string low = Layer({{-5, 7, 2}, {3, 9, 4}, {0, 8, 3}});
	const std::string high = Layer({{-50, -70, -20}, {30, 90, 40}, {0, 0, 0}});
	Add(ImportTerrain, "3ds/Terreng.3ds", &low);
	Add(ImportRoads, "3ds/Veg.3ds", &high);
	Add(ImportFences, "3ds/Gjerder.3ds", nullptr);
	const std::string dxf = "0\nEOF\n";
	Add(Import2DBaseMap, "Basiskart/Alle data.dxf", &dxf);
	pointers.clear();
	for (auto& o : objects) pointers.push_back(&o);
	const auto n = static_cast<unsigned int>(pointers.size());
	API_Coord3D point{1, 1, 1};
	ASSERT_EQ(Importer::GetReferencePoint(objects[0].location, pointers.data(), n, &point), NoError);
	EXPECT_EQ(point.x, -5);
	EXPECT_EQ(point.y, 7);
	EXPECT_EQ(point.z, 2);
	ASSERT_EQ(Importer::GetReferencePoint(objects[1].location, pointers.data(), n, &point), NoError);
	EXPECT_EQ(point.x, -50);
	EXPECT_TRUE(Host().reports.empty());

	const struct { const char* name; IO::Location location; std::size_t reports; } failures[] = {
		{"unreadable layer", objects[2].location, 2},     // the file's own alert, then the point's
		{"no layer of that name", testsupport::Loc(Model() + "/3ds/Bygg.3ds"), 1},
		{"not a 3DS layer", objects[3].location, 1},
	};
	for (const auto& f : failures) {
		SCOPED_TRACE(f.name);
		Host().reports.clear();
		point = API_Coord3D{1, 2, 3};
		EXPECT_EQ(Importer::GetReferencePoint(f.location, pointers.data(), n, &point), APIERR_GENERAL);
		EXPECT_EQ(point.x, 1);
		ASSERT_EQ(ReportTexts().size(), f.reports);
		EXPECT_EQ(ReportTexts().back(), "Error: could not retrieve reference point!");
		EXPECT_TRUE(Host().reports.back().alert);
	}
}

TEST(Frame2d, ExtentOfPointsStartsFromTheEmptyExtent)
{
	API_Box3D box{-1000, -1000, 4, 1000, 1000, 8};
	GS::Array<API_Coord> points;
	points.Push(API_Coord{3, 5});
	points.Push(API_Coord{-2, 9});
	Importer::Calc2dBoundingBox(points, &box);
	EXPECT_EQ(box.xMin, -2);
	EXPECT_EQ(box.yMin, 5);
	EXPECT_EQ(box.xMax, 3);
	EXPECT_EQ(box.yMax, 9);
	EXPECT_EQ(box.zMin, 4);
	EXPECT_EQ(box.zMax, 8);
	Importer::Calc2dBoundingBox(GS::Array<API_Coord>(), &box);
	EXPECT_EQ(box.xMin, DBL_MAX);
	EXPECT_EQ(box.yMax, -DBL_MAX);
	EXPECT_EQ(box.zMin, 4);
}

TEST_F(Frame, InteractivePickTakesThePointAndTheDirection)
{
	const std::string layer = Layer({{0, 0, 0}, {1, 0, 1}, {0, 1, 2}});
	Add(ImportTerrain, "3ds/Terreng.3ds", &layer);
	Outline(kTriangleOutline);
	std::vector<vhost::ScriptStep> steps;
	std::string error;
	ASSERT_TRUE(vhost::ParseScript("point 100 200 5\nline 100 300\n", steps, error)) << error;
	vhost::SetScript(steps);
	ASSERT_EQ(Pick(true), NoError);
	EXPECT_EQ(objects[0].origin_x, 100.0);
	EXPECT_EQ(objects[0].origin_y, 200.0);
	EXPECT_EQ(objects[0].origin_z, 5.0);
	EXPECT_DOUBLE_EQ(objects[0].angle, M_PI / 2);
	ExpectFrame(objects[0], 10, 20, 0, 100, 50, 2);
	// Feedback at the point and along the line: the 100 x 50 extent, turned at the end.
	ASSERT_EQ(Host().rubberLines.size(), 8u);
	EXPECT_DOUBLE_EQ(Host().rubberLines[4].first.x, 100.0);
	EXPECT_NEAR(Host().rubberLines[4].second.x, 100.0, 1e-9);
	EXPECT_NEAR(Host().rubberLines[4].second.y, 300.0, 1e-9);

	for (auto& o : objects) o = import_object{o.location, o.type};
	steps.clear();
	ASSERT_TRUE(vhost::ParseScript("point 1 2\ncancel\n", steps, error));
	vhost::SetScript(steps);
	EXPECT_EQ(Pick(true), APIERR_CANCEL);
	EXPECT_EQ(objects[0].size_x, 0u); // no frame written
	EXPECT_TRUE(vhost::RunIsClean());
}

} // namespace
