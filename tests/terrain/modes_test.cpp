// The grid searches give the literal scans' results bit for bit, on random terrains and on
// random inputs of the single steps.
#include <algorithm>
#include <cmath>
#include <limits>
#include <random>
#include <sstream>

#include <gtest/gtest.h>

#include "Simple3dslib/Simple3ds.hpp"
#include "sample/TerrainScenes.hpp"
#include "sample/Writer3ds.hpp"
#include "TerrainTest.hpp"

namespace {

using namespace terraintest;

struct ModeRun {
	TerrainResult result;
	bool built = false;
};

ModeRun BuildIn(TerrainSearch search, const MeshCreatorOptions& options, const sample::Terrain& t)
{
	SimpleDxf::SimpleDxf drawing;
	if (!t.dxf.empty()) Load(drawing, t.dxf);
	CMeshCreator creator(options);
	creator.SetSearch(search);
	ModeRun run;
	run.built = creator.BuildTerrain(t.terrain, t.road, t.water, drawing, run.result);
	return run;
}

::testing::AssertionResult SameRuns(const ModeRun& grid, const ModeRun& reference)
{
	if (grid.built != reference.built) return ::testing::AssertionFailure() << "built differs";
	if (!Same(grid.result.zMin, reference.result.zMin)) return ::testing::AssertionFailure() << "zMin differs";
	if (auto same = SamePoints(grid.result.contour, reference.result.contour); !same) return same << " (contour)";
	if (auto same = SamePoints(grid.result.elevationPoints, reference.result.elevationPoints); !same) return same << " (elevation points)";
	return SameLines(grid.result.levelLines, reference.result.levelLines);
}

MeshCreatorOptions OptionsFor(const sample::Terrain& t, std::mt19937& random, bool placed, bool levelLines)
{
	std::vector<API_Coord> outline;
	for (const auto& p : t.outline) outline.push_back({p[0], p[1]});
	std::uniform_real_distribution<double> any(-1, 1);
	MeshCreatorOptions o = Options(outline, placed ? any(random) * M_PI : 0,
	                               placed ? API_Coord3D{any(random) * 500, any(random) * 500, 0} : API_Coord3D{});
	o.useLevelLines = levelLines;
	return o;
}

TEST(TerrainModes, RandomTerrainsGiveTheSameMesh)
{
	const double spacings[] = {0.5, 1.0, 2.5};
	const double jitters[] = {0, 0.3, 0.49};
	const double quanta[] = {0, 0.005, 0.05};
	int withLines = 0, withPoints = 0, inserted = 0;
	for (unsigned seed = 1; seed <= 60; ++seed) {
		std::mt19937 random(seed);
		sample::TerrainSpec spec;
		spec.seed = seed;
		spec.columns = 6 + static_cast<int>(random() % 25);
		spec.rows = 6 + static_cast<int>(random() % 25);
		spec.spacing = spacings[seed % 3];
		spec.jitter = jitters[(seed / 3) % 3];
		spec.quantum = quanta[(seed / 9) % 3];
		spec.notches = seed % 2 == 0;
		spec.closed = seed % 7 != 0;
		spec.roadSegments = seed % 4 != 0 ? 4 + static_cast<int>(random() % 12) : 0;
		spec.waterRing = seed % 3 != 0 ? 6 + static_cast<int>(random() % 10) : 0;
		spec.levelLines = seed % 5 == 0 ? 4 : 0;
		spec.levelLinePoints = 12;
		spec.flatLevels = seed % 10 == 0;
		const sample::Terrain t = sample::MakeTerrain(spec);
		const MeshCreatorOptions options = OptionsFor(t, random, seed % 3 != 1, spec.levelLines > 0);
		const ModeRun grid = BuildIn(TerrainSearch::Grid, options, t);
		const ModeRun reference = BuildIn(TerrainSearch::Reference, options, t);
		ASSERT_TRUE(reference.built) << "seed " << seed;
		EXPECT_TRUE(SameRuns(grid, reference)) << "seed " << seed;
		withLines += !reference.result.levelLines.lines.empty();
		withPoints += !reference.result.elevationPoints.empty();
		inserted += reference.result.contour.size() > t.outline.size();
	}
	// The runs went through every branch: level lines, elevation points, inserted points.
	EXPECT_GT(withLines, 20);
	EXPECT_GT(withPoints, 40);
	EXPECT_GT(inserted, 40);
}

TEST(TerrainModes, PointsWithoutNumbersGiveTheSameMesh)
{
	sample::TerrainSpec spec;
	spec.roadSegments = 6;
	spec.waterRing = 8;
	sample::Terrain t = sample::MakeTerrain(spec);
	const float nan = std::numeric_limits<float>::quiet_NaN(), inf = std::numeric_limits<float>::infinity();
	t.terrain.meshes[0].vertices[30] = {nan, 3, 150};
	t.terrain.meshes[0].vertices[31] = {inf, 3, 150};
	t.terrain.meshes[0].vertices[32] = {4, -inf, 150};
	t.terrain.meshes[0].vertices[33] = {4, 4, nan};
	t.road.meshes[0].vertices[2] = {nan, nan, nan};
	std::mt19937 random(7);
	const MeshCreatorOptions options = OptionsFor(t, random, true, false);
	EXPECT_TRUE(SameRuns(BuildIn(TerrainSearch::Grid, options, t), BuildIn(TerrainSearch::Reference, options, t)));
}

// The scene's meshes as one mesh written in pieces of at most limit points and faces (the
// sample writer's split) and read back.
Simple3dsScene SplitScene(const Simple3dsScene& scene, std::size_t limit)
{
	sample::Mesh3ds whole{"Terreng", {}, {}, {}, -1};
	for (const Simple3dsMesh& m : scene.meshes) {
		const auto base = static_cast<std::uint32_t>(whole.points.size());
		for (const Simple3dsVertex& v : m.vertices) whole.points.push_back({v.x, v.y, v.z});
		for (const Simple3dsFace& f : m.faces) whole.faces.push_back({base + f.a, base + f.b, base + f.c});
	}
	Simple3dsScene split;
	std::ostringstream trace;
	EXPECT_TRUE(Simple3ds::LoadSceneFromMemory(split, sample::Write3ds({}, {whole}, limit), trace));
	return split;
}

std::vector<API_Coord3D> Sorted(std::vector<API_Coord3D> points)
{
	std::sort(points.begin(), points.end(),
	          [](const API_Coord3D& a, const API_Coord3D& b) { return std::tie(a.x, a.y, a.z) < std::tie(b.x, b.y, b.z); });
	return points;
}

// A terrain layer of many meshes (points on their seams in both) gives the mesh of one.
TEST(TerrainModes, ATerrainOfManyMeshesGivesTheMeshOfOne)
{
	for (const int levelLines : {0, 4}) {
		sample::TerrainSpec spec;
		spec.jitter = 0.3;
		spec.roadSegments = 6;
		spec.waterRing = 8;
		spec.levelLines = levelLines;
		spec.levelLinePoints = 12;
		const sample::Terrain whole = sample::MakeTerrain(spec);
		sample::Terrain pieces = whole;
		pieces.terrain = SplitScene(whole.terrain, 100);
		ASSERT_GT(pieces.terrain.meshes.size(), 5u);
		std::mt19937 random(11);
		const MeshCreatorOptions options = OptionsFor(whole, random, true, levelLines > 0);
		const ModeRun one = BuildIn(TerrainSearch::Grid, options, whole), many = BuildIn(TerrainSearch::Grid, options, pieces);
		ASSERT_TRUE(one.built && many.built);
		EXPECT_TRUE(Same(one.result.zMin, many.result.zMin));
		EXPECT_TRUE(SamePoints(one.result.contour, many.result.contour)) << levelLines;
		EXPECT_TRUE(SamePoints(Sorted(one.result.elevationPoints), Sorted(many.result.elevationPoints))) << levelLines;
		EXPECT_TRUE(SameLines(one.result.levelLines, many.result.levelLines)) << levelLines;
		EXPECT_EQ(one.result.elevationPoints.empty(), levelLines > 0);
	}
}

// Steps on inputs the pipeline itself does not make: sources for ElevateContour, level lines
// before the road and water, held elevation points. Points cluster on a coarse lattice so
// that distances equal to the tests' bounds occur.
struct StepInputs {
	TerrainContour contour;
	std::vector<API_Coord3D> sources;
	ElevationLines lines;
	Simple3dsScene road, water, terrain;
};

StepInputs RandomSteps(unsigned seed)
{
	std::mt19937 random(seed);
	const double lattice = seed % 2 ? 0.001 : 0.5;
	const auto coord = [&](double range) {
		return std::round(std::uniform_real_distribution<double>(0, range)(random) / lattice) * lattice;
	};
	const auto height = [&] { return static_cast<double>(100 + random() % 4); };
	StepInputs in;
	for (int i = 0; i < 40; ++i) in.contour.Add({coord(30), coord(30), height()}, random() % 3 == 0);
	in.contour.Add(in.contour.points.front(), in.contour.lifted.front());
	for (int i = 0; i < 30; ++i) in.sources.push_back({coord(30), coord(30), height()});
	for (int i = 0; i < 20; ++i) {
		ElevationLine line;
		for (int k = 0; k < 1 + static_cast<int>(random() % 3); ++k) line.AddPoint({coord(30), coord(30), height()});
		in.lines.AddLine(line);
	}
	for (Simple3dsScene* scene : {&in.road, &in.water, &in.terrain}) {
		Simple3dsMesh mesh;
		for (int i = 0; i < 90; ++i) {
			// Half the vertices sit on level-line points or contour points, a lattice step away or not.
			API_Coord3D p = {coord(30), coord(30), height()};
			if (i % 2) {
				const ElevationLine& line = in.lines.lines[random() % in.lines.lines.size()];
				p = random() % 2 ? line.points.front() : in.contour.points[random() % in.contour.points.size()];
				p.x += lattice * (static_cast<int>(random() % 3) - 1);
			}
			mesh.vertices.push_back({static_cast<float>(p.x), static_cast<float>(p.y), static_cast<float>(p.z)});
		}
		for (std::uint16_t f = 0; f + 2 < 90; f += 3) mesh.faces.push_back({f, static_cast<std::uint16_t>(f + 1), static_cast<std::uint16_t>(f + 2), 0, 0});
		scene->meshes.push_back(mesh);
	}
	return in;
}

TEST(TerrainModes, SingleStepsOnRandomInputs)
{
	for (unsigned seed = 1; seed <= 40; ++seed) {
		CMeshCreator grid(Options(Square(30)));
		CMeshCreator reference(Options(Square(30)));
		reference.SetSearch(TerrainSearch::Reference);
		StepInputs g = RandomSteps(seed), r = RandomSteps(seed);

		grid.ElevateContour(g.contour, g.sources);
		reference.ElevateContour(r.contour, r.sources);
		EXPECT_TRUE(SamePoints(g.contour.points, r.contour.points)) << "elevate, seed " << seed;
		EXPECT_EQ(g.contour.radii, r.contour.radii) << "elevate, seed " << seed;

		std::vector<API_Coord3D> gPoints = g.sources, rPoints = r.sources;
		grid.AddElevationPoints(gPoints, g.contour.points, g.lines, g.terrain);
		reference.AddElevationPoints(rPoints, r.contour.points, r.lines, r.terrain);
		EXPECT_TRUE(SamePoints(gPoints, rPoints)) << "elevation points, seed " << seed;

		grid.AddElevationLinesFromRoad(g.lines, g.contour.points, g.road);
		reference.AddElevationLinesFromRoad(r.lines, r.contour.points, r.road);
		EXPECT_TRUE(SameLines(g.lines, r.lines)) << "road, seed " << seed;

		grid.AddElevationLinesFromWater(g.lines, g.contour, g.water);
		reference.AddElevationLinesFromWater(r.lines, r.contour, r.water);
		EXPECT_TRUE(SameLines(g.lines, r.lines)) << "water, seed " << seed;
		EXPECT_TRUE(SamePoints(g.contour.points, r.contour.points)) << "water, seed " << seed;

		std::vector<API_Coord3D> gExtra, rExtra;
		API_Box3D gBox = {}, rBox = {};
		grid.CollectExtraContourPoints(gExtra, gBox, g.terrain, g.contour);
		reference.CollectExtraContourPoints(rExtra, rBox, r.terrain, r.contour);
		grid.AddExtraContourPoints(gExtra, gBox, g.road, g.contour);
		reference.AddExtraContourPoints(rExtra, rBox, r.road, r.contour);
		EXPECT_TRUE(SamePoints(g.contour.points, r.contour.points)) << "insertion, seed " << seed;
		EXPECT_TRUE(SamePoints(gExtra, rExtra)) << "insertion, seed " << seed;
	}
}

} // namespace
