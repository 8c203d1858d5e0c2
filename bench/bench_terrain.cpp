// Terrain mesh speed: the contour, level-line and elevation-point steps with the grid
// searches, and with the literal scans (the reference) on smaller cases beside them, then
// the mesh element made of them in the headless host. Each
// run is a fresh process (this program run with --child), the cases in turns; the table
// shows median times and the largest peak memory.
//   bench_terrain [rounds]   (default 3)
#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <string>
#include <utility>
#include <vector>

#include "Classes/MeshCreator.hpp"
#include "SimpleDxflib/SimpleDxf.hpp"
#include "FreshProcess.hpp"
#include "vhost/Project.hpp"
#include "sample/TerrainScenes.hpp"

namespace {

struct Case {
	const char* name;
	int side;             // terrain vertices per side
	int lines, linePoints; // DXF level lines
};

const Case kCases[] = {
	{"terrain 1000x1000, no level lines", 1000, 0, 0},
	{"terrain 200x200, no level lines", 200, 0, 0},
	{"terrain 500x500, 200000 level-line points", 500, 1000, 200},
	{"terrain 200x200, 40000 level-line points", 200, 200, 200},
};

// The child: makes the case's data (not timed), then loads the base map, builds the terrain
// and makes the element; prints the seconds of the three and the counts made.
int Child(int index, bool reference)
{
	const Case& c = kCases[index];
	sample::TerrainSpec spec;
	spec.columns = spec.rows = c.side;
	spec.spacing = 1000.0 / c.side;
	spec.jitter = 0.3;
	spec.roadSegments = 200;
	spec.waterRing = 24;
	spec.levelLines = c.lines;
	spec.levelLinePoints = c.linePoints;
	const sample::Terrain t = sample::MakeTerrain(spec);
	MeshCreatorOptions options;
	for (const auto& p : t.outline) options.areaPolygon.Push({p[0], p[1]});
	options.angle = 0.3;
	options.offset = {1000, 2000, 0};
	options.useLevelLines = c.lines > 0;
	options.layer = 1;
	CMeshCreator creator(options);
	creator.SetSearch(reference ? TerrainSearch::Reference : TerrainSearch::Grid);

	const auto start = std::chrono::steady_clock::now();
	SimpleDxf::SimpleDxf drawing;
	if (!t.dxf.empty() && !drawing.LoadSceneFromMemory(reinterpret_cast<const unsigned char*>(t.dxf.data()), t.dxf.size()))
		return 1;
	const auto parsed = std::chrono::steady_clock::now();
	TerrainResult result;
	if (!creator.BuildTerrain(t.terrain, t.road, t.water, drawing, result)) return 1;
	const auto built = std::chrono::steady_clock::now();
	char root[] = "/tmp/bench-terrain-XXXXXX";
	if (mkdtemp(root) == nullptr) return 1;
	vhost::Reset(root, root);
	const GSErrCode made = ACAPI_CallUndoableCommand("Placing VELMORA mesh elements", [&] {
		return creator.CreateMeshImp(result.contour, result.elevationPoints, result.levelLines, result.zMin);
	});
	const auto element = std::chrono::steady_clock::now();
	std::filesystem::remove_all(root);
	if (made != NoError) {
		std::fprintf(stderr, "bench_terrain: the mesh element failed: %d\n", static_cast<int>(made));
		return 1;
	}
	const auto seconds = [](auto from, auto to) { return std::chrono::duration<double>(to - from).count(); };
	std::printf("%.6f %.6f %.6f %zu %zu %zu\n", seconds(start, parsed), seconds(parsed, built), seconds(built, element),
	            result.contour.size(), result.elevationPoints.size(), result.levelLines.PointCount());
	return 0;
}

struct Sample {
	double parse = 0, build = 0, element = 0;
	long peakKb = 0;
	std::string counts;
};

bool RunChild(const char* self, int index, bool reference, Sample& out)
{
	const bench::Spawned run = bench::Spawn({self, "--child", std::to_string(index), reference ? "reference" : "grid"});
	std::size_t contour = 0, points = 0, linePoints = 0;
	if (!run.ok ||
	    std::sscanf(run.text.c_str(), "%lf %lf %lf %zu %zu %zu", &out.parse, &out.build, &out.element, &contour, &points, &linePoints) != 6)
		return false;
	out.peakKb = static_cast<long>(run.peakMB * 1024);
	out.counts = std::to_string(contour) + " contour, " + std::to_string(points) + " elevation, " + std::to_string(linePoints) + " line points";
	return true;
}

} // namespace

int main(int argc, char** argv)
{
	if (argc == 4 && std::strcmp(argv[1], "--child") == 0) return Child(std::atoi(argv[2]), std::strcmp(argv[3], "reference") == 0);
	const int rounds = argc > 1 ? std::max(1, std::atoi(argv[1])) : 3;
	// Runs: every case with the grids; the smaller ones also with the literal scans.
	struct Run {
		int index;
		bool reference;
		std::vector<double> parse, build, element;
		long peakKb = 0;
		std::string counts;
	};
	std::vector<Run> runs;
	for (const auto& [index, reference] : {std::pair{0, false}, {1, false}, {1, true}, {2, false}, {3, false}, {3, true}}) {
		runs.emplace_back();
		runs.back().index = index;
		runs.back().reference = reference;
	}
	for (int round = 0; round < rounds; ++round)
		for (Run& run : runs) {
			Sample s;
			if (!RunChild(argv[0], run.index, run.reference, s)) {
				std::fprintf(stderr, "bench_terrain: the run of case %d failed\n", run.index);
				return 1;
			}
			run.parse.push_back(s.parse);
			run.build.push_back(s.build);
			run.element.push_back(s.element);
			run.peakKb = std::max(run.peakKb, s.peakKb);
			run.counts = s.counts;
		}
	std::printf("%-44s %-9s %7s %7s %8s %7s %8s  %s\n", "case", "search", "dxf s", "mesh s", "element", "total s", "peak MB", "made");
	for (const Run& run : runs) {
		const double parse = bench::Median(run.parse), build = bench::Median(run.build), element = bench::Median(run.element);
		std::printf("%-44s %-9s %7.3f %7.3f %8.3f %7.3f %8.1f  %s\n", kCases[run.index].name, run.reference ? "reference" : "grid",
		            parse, build, element, parse + build + element, run.peakKb / 1024.0, run.counts.c_str());
	}
	for (const int index : {1, 3}) {
		double grid = 0, reference = 0;
		for (const Run& run : runs)
			if (run.index == index) (run.reference ? reference : grid) = bench::Median(run.build);
		std::printf("%s: the literal scans take %.1f times as long as the grids\n", kCases[index].name, grid > 0 ? reference / grid : 0.0);
	}
	return 0;
}
