// The terrain mesh's plan geometry on small hand-made inputs.
#include <cmath>

#include <gtest/gtest.h>

#include "TerrainTest.hpp"
#include "TestSupport.hpp"

namespace {

using namespace terraintest;

const Simple3dsScene kNone;

std::vector<double> Heights(const Contour& contour)
{
	std::vector<double> z;
	for (const API_Coord3D& c : contour) z.push_back(c.z);
	return z;
}

TerrainResult Build(const CMeshCreator& creator, const Simple3dsScene& terrain, const Simple3dsScene& road = kNone,
                    const Simple3dsScene& water = kNone)
{
	SimpleDxf::SimpleDxf none;
	TerrainResult result;
	EXPECT_TRUE(creator.BuildTerrain(terrain, road, water, none, result));
	return result;
}

TEST(TerrainPipeline, FallbackTerrainOfThreeVertices)
{
	// One vertex on the bottom edge, one inside, one on the right edge.
	const TerrainResult r = Build(CMeshCreator(Options(Square())), Points({{5, 0, 102}, {4, 4, 100}, {10, 7, 104}}));
	const Contour expected = {{0, 0, 2}, {5, 0, 2}, {10, 0, 2}, {10, 7, 4}, {10, 10, 4}, {0, 10, 2}, {0, 0, 2}};
	EXPECT_TRUE(SamePoints(r.contour, expected));
	EXPECT_TRUE(SamePoints(r.elevationPoints, {{4, 4, 0}}));
	EXPECT_TRUE(r.levelLines.lines.empty());
	EXPECT_EQ(r.zMin, 100);
}

TEST(TerrainPipeline, RealHeightEqualToTheLowestIsKept)
{
	// The vertex on the edge is the lowest; its height is real and spreads to the corners
	// near it, while the far corners take the higher vertex on the right edge.
	const TerrainResult r = Build(CMeshCreator(Options(Square())), Points({{5, 0, 100}, {4, 4, 101}, {10, 7, 104}}));
	EXPECT_EQ(Heights(r.contour), (std::vector<double>{0, 0, 0, 4, 4, 0, 0}));
}

TEST(TerrainPipeline, EmptyTerrainMakesNothingAndAnEmptyFirstMeshIsSkipped)
{
	CMeshCreator creator(Options(Square()));
	SimpleDxf::SimpleDxf none;
	TerrainResult result;
	Simple3dsScene empty;
	EXPECT_FALSE(creator.BuildTerrain(empty, kNone, kNone, none, result));
	empty.meshes.resize(2);
	EXPECT_FALSE(creator.BuildTerrain(empty, kNone, kNone, none, result));
	// The box starts at the first vertex of the second mesh, so the lowest height is its own.
	empty.meshes[1].vertices = {{4, 4, 120}, {6, 6, 130}};
	ASSERT_TRUE(creator.BuildTerrain(empty, kNone, kNone, none, result));
	EXPECT_EQ(result.zMin, 120);
	EXPECT_TRUE(SamePoints(result.elevationPoints, {{4, 4, 0}, {6, 6, 10}}));
}

TEST(TerrainPipeline, InsertionRulesNearCorners)
{
	const CMeshCreator creator(Options(Square()));
	const struct {
		const char* what;
		Simple3dsVertex vertex;
		bool road;
		std::size_t contourSize;
	} cases[] = {
		{"terrain vertex on an edge", {5, 0, 1}, false, 6},
		{"terrain vertex on an edge within 0.2 of a corner", {0.15, 0, 1}, false, 5},
		{"terrain vertex on an edge 0.2 from a corner", {0.2, 0, 1}, false, 6},
		{"road vertex on an edge within 0.2 of a corner", {0.15, 0, 1}, true, 6},
		{"terrain vertex at a corner", {10.005, 0.005, 1}, false, 5},
		{"road vertex at a corner", {10.005, 0.005, 1}, true, 5},
		{"vertex off the contour", {5, 0.02, 1}, false, 5},
	};
	for (const auto& c : cases) {
		TerrainContour contour;
		for (const API_Coord& p : Square()) contour.Add({p.x, p.y, 0}, false);
		std::vector<API_Coord3D> extra;
		API_Box3D box = {};
		if (c.road)
			creator.AddExtraContourPoints(extra, box, Points({c.vertex}), contour);
		else
			creator.CollectExtraContourPoints(extra, box, Points({c.vertex}), contour);
		EXPECT_EQ(contour.points.size(), c.contourSize) << c.what;
		EXPECT_EQ(contour.radii.size(), c.contourSize) << c.what;
		EXPECT_EQ(extra.size(), c.contourSize - 5) << c.what;
		EXPECT_EQ(box.zMax, 1) << c.what;
	}
}

TEST(TerrainPipeline, CornerAtAVertexKeepsNoHeightAndIsLiftedByItsNeighbours)
{
	// The vertex at the corner inserts nothing; the corner is lifted from the inserted
	// point 3 m along the bottom edge (nearer than the one 6 m up the left edge).
	const TerrainResult r = Build(CMeshCreator(Options(Square())), Points({{0.005, 0, 50}, {3, 0, 53}, {0, 6, 56}}));
	ASSERT_EQ(r.contour.size(), 7u);
	EXPECT_EQ(r.contour[0].z, 3);
	// Corners with no lifted point in their 15 m window keep the lowest height.
	const TerrainResult far = Build(CMeshCreator(Options(Square(40))), Points({{0.005, 0, 50}, {39, 0, 53}}));
	EXPECT_EQ(Heights(far.contour), (std::vector<double>{0, 3, 3, 0, 0, 0}));
}

} // namespace

namespace {

// An AC1027 drawing of entities: "0\nPOLYLINE..." texts appended to the ENTITIES section.
std::string Drawing(const std::string& entities, const char* version = "AC1027")
{
	return std::string("0\nSECTION\n2\nHEADER\n9\n$ACADVER\n1\n") + version + "\n0\nENDSEC\n0\nSECTION\n2\nENTITIES\n" +
	       entities + "0\nENDSEC\n0\nEOF\n";
}

std::string Polyline(const char* layer, const std::vector<API_Coord3D>& points)
{
	std::string text = std::string("0\nPOLYLINE\n8\n") + layer + "\n66\n1\n70\n8\n";
	for (const API_Coord3D& p : points)
		text += std::string("0\nVERTEX\n8\n") + layer + "\n10\n" + std::to_string(p.x) + "\n20\n" + std::to_string(p.y) +
		        "\n30\n" + std::to_string(p.z) + "\n70\n32\n";
	return text + "0\nSEQEND\n";
}

std::string Line(const char* layer, API_Coord3D a, API_Coord3D b)
{
	return std::string("0\nLINE\n8\n") + layer + "\n10\n" + std::to_string(a.x) + "\n20\n" + std::to_string(a.y) + "\n30\n" +
	       std::to_string(a.z) + "\n11\n" + std::to_string(b.x) + "\n21\n" + std::to_string(b.y) + "\n31\n" +
	       std::to_string(b.z) + "\n";
}

void ExpectNear(const std::vector<API_Coord3D>& got, const std::vector<API_Coord3D>& want, const char* what)
{
	ASSERT_EQ(got.size(), want.size()) << what;
	for (std::size_t i = 0; i < got.size(); ++i) {
		EXPECT_NEAR(got[i].x, want[i].x, 1e-9) << what << " point " << i;
		EXPECT_NEAR(got[i].y, want[i].y, 1e-9) << what << " point " << i;
		EXPECT_NEAR(got[i].z, want[i].z, 1e-9) << what << " point " << i;
	}
}

TEST(TerrainLevelLines, TheLevelLayerInAnyCaseIsPlaced)
{
	const std::string entities =
		Polyline("H\xC3\x98YDEKURVE", {{1, 0, 150}, {2, 0, 151}, {3, 1, 152}}) + Line("H\xC3\xB8ydekurve", {1, 1, 150}, {2, 2, 150}) +
		Polyline("Veg", {{1, 0, 150}, {2, 0, 151}}) + Polyline("h\xC3\xB8ydekurve", {{5, 5, 150}}) +
		Polyline("h\xC3\xB8ydekurver", {{1, 0, 150}, {2, 0, 151}}) + "0\nCIRCLE\n8\nh\xC3\xB8ydekurve\n40\n2\n";
	SimpleDxf::SimpleDxf drawing;
	Load(drawing, Drawing(entities));
	const CMeshCreator creator(Options(Square(), M_PI / 2, {100, 50, 7}));
	ElevationLines lines;
	creator.AddLevelLines(lines, drawing);
	ASSERT_EQ(lines.lines.size(), 2u);
	ExpectNear(lines.lines[0].points, {{100, 51, 150}, {100, 52, 151}, {99, 53, 152}}, "polyline");
	ExpectNear(lines.lines[1].points, {{99, 51, 150}, {98, 52, 150}}, "line");
}

TEST(TerrainLevelLines, LevelLinesWithoutHeightsGiveNone)
{
	SimpleDxf::SimpleDxf drawing;
	Load(drawing, Drawing(Polyline("H\xC3\xB8ydekurve", {{1, 0, 0}, {2, 0, 0}}) + Line("H\xC3\xB8ydekurve", {1, 1, 0}, {2, 2, 0})));
	MeshCreatorOptions options = Options(Square());
	options.useLevelLines = true;
	const CMeshCreator creator(options);
	ElevationLines lines;
	creator.AddLevelLines(lines, drawing);
	EXPECT_TRUE(lines.lines.empty());
	// The fallback then runs: the terrain vertex inside becomes an elevation point.
	TerrainResult result;
	ASSERT_TRUE(creator.BuildTerrain(Points({{4, 4, 100}}), kNone, kNone, drawing, result));
	EXPECT_TRUE(SamePoints(result.elevationPoints, {{4, 4, 0}}));
}

TEST(TerrainLevelLines, LevelLinesFromTheDrawingLeaveNoRoomForTheFallback)
{
	SimpleDxf::SimpleDxf drawing;
	Load(drawing, Drawing(Polyline("H\xC3\xB8ydekurve", {{1, 2, 101}, {8, 2, 101}})));
	MeshCreatorOptions options = Options(Square());
	options.useLevelLines = true;
	TerrainResult result;
	const Simple3dsScene road = Triangles({{{{2, 2, 100}, {4, 2, 100}, {3, 4, 100}}}});
	ASSERT_TRUE(CMeshCreator(options).BuildTerrain(Points({{4, 4, 100}}), road, kNone, drawing, result));
	EXPECT_TRUE(result.elevationPoints.empty());
	ASSERT_EQ(result.levelLines.lines.size(), 1u);
	EXPECT_TRUE(SamePoints(result.levelLines.lines[0].points, {{1, 2, 1}, {8, 2, 1}}));
	// Without useLevelLines the drawing is not read.
	options.useLevelLines = false;
	ASSERT_TRUE(CMeshCreator(options).BuildTerrain(Points({{4, 4, 100}}), road, kNone, drawing, result));
	EXPECT_EQ(result.elevationPoints.size(), 1u);
	EXPECT_EQ(result.levelLines.lines.size(), 3u);   // the road triangle's edges
}

TEST(TerrainLevelLines, OldDrawingLayerNamesAreReadInTheirCodePage)
{
	const std::string bytes = testsupport::ReadFile(VELMORA_FIXTURES "/dxf/basemap-tiny-r12.dxf");
	ASSERT_FALSE(bytes.empty());
	const CMeshCreator creator(Options(Square()));
	const auto levelLines = [&](const std::string& text) {
		SimpleDxf::SimpleDxf drawing;
		Load(drawing, text);
		ElevationLines lines;
		creator.AddLevelLines(lines, drawing);
		return lines;
	};
	const ElevationLines lines = levelLines(bytes);
	EXPECT_EQ(lines.lines.size(), 14u);
	EXPECT_EQ(lines.PointCount(), 586u);
	for (const ElevationLine& line : lines.lines)
		for (const API_Coord3D& p : line.points) {
			EXPECT_GE(p.z, 157);
			EXPECT_LE(p.z, 170);
		}
	// The same bytes in another code page name another layer.
	std::string cyrillic = bytes;
	cyrillic.replace(cyrillic.find("ANSI_1252"), 9, "ANSI_1251");
	EXPECT_TRUE(levelLines(cyrillic).lines.empty());
}

TEST(TerrainRoad, EdgesInsideBecomeLevelLinesInRawCoordinates)
{
	// The placement moves the contour 1 m east; road lines stay where the file has them.
	const CMeshCreator creator(Options(Square(), 0, {1, 0, 0}));
	const Contour contour = {{1, 0, 0}, {11, 0, 0}, {11, 10, 0}, {1, 10, 0}, {1, 0, 0}};
	const Simple3dsScene road = Triangles({
		{{{2, 2, 5}, {4, 2, 5}, {3, 4, 6}}},            // inside: three lines
		{{{6, 6, 1}, {6.05f, 6.05f, 1}, {8, 6, 1}}},    // one edge too short
		{{{1, 3, 2}, {1, 6, 2}, {3, 5, 2}}},            // one edge along the contour
		{{{9, 9, 3}, {12, 9, 3}, {9, 12, 3}}},          // ends outside
	});
	ElevationLines lines;
	lines.AddLine({{3.0005, 4.0005, 7}});              // a point the road snaps to
	creator.AddElevationLinesFromRoad(lines, contour, road);
	std::vector<std::vector<API_Coord3D>> got;
	for (const ElevationLine& line : lines.lines) got.push_back(line.points);
	const std::vector<std::vector<API_Coord3D>> want = {
		{{3.0005, 4.0005, 7}},
		{{2, 2, 5}, {4, 2, 5}}, {{4, 2, 5}, {3.0005, 4.0005, 6}}, {{3.0005, 4.0005, 6}, {2, 2, 5}},
		{{6.05f, 6.05f, 1}, {8, 6, 1}}, {{8, 6, 1}, {6, 6, 1}},
		{{1, 6, 2}, {3, 5, 2}}, {{3, 5, 2}, {1, 3, 2}},
	};
	ASSERT_EQ(got.size(), want.size());
	for (std::size_t i = 0; i < want.size(); ++i) EXPECT_TRUE(SamePoints(got[i], want[i])) << "line " << i;
}

TEST(TerrainWater, EdgesNearTheContourLiftItOrAreDropped)
{
	const CMeshCreator creator(Options(Square()));
	TerrainContour contour;
	for (const API_Coord& p : Square()) contour.Add({p.x, p.y, 0}, false);
	const Simple3dsScene water = Triangles({
		{{{0.5, 0.5, 90}, {3, 3, 90}, {3, 1, 90}}},      // near the first corner only
		{{{9.5, 9.5, 91}, {9.6f, 9.2f, 92}, {7, 7, 93}}}, // near one corner, from both ends and from each
		{{{5, 5, 94}, {6, 5, 94}, {5, 6, 94}}},          // within 1.0 of a level-line point
	});
	ElevationLines lines;
	lines.AddLine({{5.5, 5.9, 0}});
	creator.AddElevationLinesFromWater(lines, contour, water);
	// The corner (10, 10) takes 91, 92, 92 and 91 in turn; the closing corner is never reached.
	EXPECT_EQ(Heights(contour.points), (std::vector<double>{90, 0, 91, 0, 0}));
	ASSERT_EQ(lines.lines.size(), 2u);
	EXPECT_TRUE(SamePoints(lines.lines[1].points, {{3, 3, 90}, {3, 1, 90}}));
}

TEST(TerrainPlacement, ContourAndElevationPointsArePlaced)
{
	const TerrainResult r = Build(CMeshCreator(Options(Square(), M_PI / 2, {100, 50, 9})), Points({{5, 0, 102}, {4, 4, 100}}));
	ASSERT_EQ(r.contour.size(), 6u);
	ExpectNear({r.contour[0], r.contour[1], r.contour[2]}, {{100, 50, 2}, {100, 55, 2}, {100, 60, 2}}, "contour");
	ExpectNear(r.elevationPoints, {{96, 54, 0}}, "elevation points");
}

} // namespace
