// Import speed: a generated map package of about 100 MB (a terrain of a million vertices, a
// 50 MB base map, 20,000 trees) and the same package at half size. Every measurement is a
// fresh process, the runs taking turns round after round:
//   import  velmora-host import PACKAGE (the whole command with its default answers);
//   --out   the same with --out DIR: the project written as files (project.json, plan.svg,
//           library/) when the run ends;
//   parse   this program with --parse: our readers load every 3DS, DXF and CSV file of the
//           package once;
//   steps   this program with --steps: the run's steps in-process, each timed.
// Prints medians of wall and processor time and the peak memory, the import over the parse
// time (goal: at most 5), the import with --out over the import (goals: time at most 1.5,
// peak memory at most 1.15) and each step's time at full size over its time at half size
// (goal: at most 2.5, i.e. no worse than linear).
//   bench_import [--rounds N]   (default 3)
#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <functional>
#include <map>
#include <memory>
#include <sstream>
#include <string>
#include <vector>

#include <fcntl.h>
#include <unistd.h>

#include "ACAPinc.h"
#include "Classes/HouseReader.hpp"
#include "Classes/ImportOptions.hpp"
#include "Classes/MapInsert.hpp"
#include "Classes/SkpImporter.hpp"
#include "Classes/VegetationReader.hpp"
#include "Classes/import_folder_scan.hpp"
#include "Classes/import_map.hpp"
#include "Classes/terrain_import_ini.hpp"
#include "FreshProcess.hpp"
#include "Spawn.hpp"
#include "Helpers/LibraryManager.hpp"
#include "Simple3dslib/Simple3ds.hpp"
#include "SimpleCsvlib/SimpleCsv.hpp"
#include "SimpleDxflib/SimpleDxf.hpp"
#include "generic/GenericHelpers.hpp"
#include "generic/LibraryManager.hpp"
#include "sample/SamplePackage.hpp"
#include "vhost/Project.hpp"

namespace {

namespace fs = std::filesystem;

struct Size {
	const char* name;
	sample::PackageOptions options;
};

sample::PackageOptions Package(int grid, int trees, std::size_t baseMapMB)
{
	sample::PackageOptions o;
	o.grid = grid;
	o.trees = trees;
	o.baseMapBytes = baseMapMB * 1000000;
	return o;
}

// Half: half the vertices, trees and base map of full.
const Size kSizes[] = {{"half", Package(707, 10000, 25)}, {"full", Package(1000, 20000, 50)}};

const char* const kSteps[] = {"scan",  "frame",     "library", "geolocation", "material", "generated parts",
                              "buildings", "trees", "terrain", "2D",          "surroundings", "cut"};

constexpr const char* kPackageName = "Kart";

// ---- children ------------------------------------------------------------------------------

// Results go to the pipe on the saved standard output; the readers' traces to /dev/null.
std::FILE* ResultStream()
{
	const int saved = ::dup(1);
	const int null = ::open("/dev/null", O_WRONLY);
	::dup2(null, 1);
	::close(null);
	return ::fdopen(saved, "w");
}

std::vector<std::uint8_t> Bytes(const fs::path& path)
{
	std::ifstream in(path, std::ios::binary);
	return std::vector<std::uint8_t>(std::istreambuf_iterator<char>(in), {});
}

// Our readers over every file of the package, each once; prints the seconds and file count.
int Parse(const std::string& package)
{
	std::FILE* out = ResultStream();
	std::vector<std::shared_ptr<void>> kept;   // the models stay to the end, as an import keeps what it read
	const double start = bench::Now(), cpuStart = bench::CpuSeconds();
	int files = 0;
	for (const auto& entry : fs::recursive_directory_iterator(package)) {
		const std::string ext = entry.path().extension().string();
		bool read = true;
		if (ext == ".3ds") {
			const auto scene = std::make_shared<Simple3dsScene>();
			std::ostringstream trace;
			read = Simple3ds::LoadSceneFromMemory(*scene, Bytes(entry.path()), trace);
			kept.push_back(scene);
		} else if (ext == ".dxf") {
			const auto drawing = std::make_shared<SimpleDxf::SimpleDxf>();
			read = drawing->LoadSceneFromFile(entry.path().c_str());
			kept.push_back(drawing);
		} else if (ext == ".csv") {
			const GS::Array<std::wstring> columns = {L"x", L"y", L"z", L"tre_diameter", L"tre_hoyde", L"tre_størrelse",
			                                         L"tre_type", L"tre_type_tekst"};
			const auto rows = std::make_shared<SimpleCsv::Rows>();
			read = SimpleCsv::SimpleCsv().LoadFromFile(IO::Location(entry.path().c_str()), columns, *rows);
			kept.push_back(rows);
		} else {
			continue;
		}
		if (!read) return std::fprintf(stderr, "cannot parse %s\n", entry.path().c_str()), 1;
		++files;
	}
	std::fprintf(out, "parse %.6f\nparse cpu %.6f\nfiles %d\n", bench::Now() - start, bench::CpuSeconds() - cpuStart, files);
	std::fflush(out);
	std::_Exit(0);   // not torn down: the parse time is what is measured
}

// The import run's steps in the order of the import command and Importer::MapInsert (scan,
// frame, library, geolocation tag, ortho photo material, parts, buildings, trees, placement
// in one undoable step each, terrain, 2D, surroundings, cut, plan geolocation), through the
// run's own public functions. The objects keep the scan's display values; the story is 0.
int Steps(const std::string& home, const std::string& addonFolder)
{
	std::FILE* out = ResultStream();
	vhost::Reset(home, addonFolder);
	std::map<std::string, double> seconds, cpu;
	const auto time = [&](const char* step, const std::function<void()>& work) {
		const double start = bench::Now(), cpuStart = bench::CpuSeconds();
		work();
		seconds[step] += bench::Now() - start;
		cpu[step] += bench::CpuSeconds() - cpuStart;
	};
	const auto config = std::make_unique<terrain_import_ini>();
	import_folder_scan scan;
	std::vector<import_object*> objects;
	time("scan", [&] {
		config->init();
		config->user_import_folder = GS::UniString((home + "/Documents/Velmora").c_str());
		scan.config = config.get();
		scan.load();
		for (import_project& p : scan.projects) p.chosen = p.name == GS::UniString(kPackageName);
		scan.filter_user_selection();
		for (import_object& o : scan.user_selection) objects.push_back(&o);
	});
	if (objects.size() != 9) return std::fprintf(stderr, "the scan chose %zu files, not 9\n", objects.size()), 1;
	const auto count = static_cast<unsigned int>(objects.size());
	Importer importer(GetImportOptions(&scan));
	time("frame", [&] { importer.PickOrigo(false, objects.data(), count); });
	time("library", [&] { LoadVelmoraLibrary(); });
	time("geolocation", [&] {
		double x = 0, y = 0;
		GS::UniString datum, projection, zone;
		Importer::ReadCoordSystemOrigo(importer.options.origin_location, x, y);
		Importer::ReadCoordSystemData(importer.options.origin_location, datum, projection, zone);
		importer.PlaceGeolocalTag(objects[0], x, y, datum, projection, zone);
	});
	short surfaceIndex = 0;
	GS::Array<API_LibraryInfo> libraries;
	time("material", [&] { importer.OrthoPhotoToEmbedded(objects.data(), true, surfaceIndex, libraries); });
	PlacementBase base{objects[0]->origin_x, objects[0]->origin_y, objects[0]->angle, 0.0};
	RunElements elements;
	const auto place = [&](const GS::Array<ObjectGenerationInfo>& records) {
		ACAPI_CallUndoableCommand("Placing VELMORA elements", [&] { return PlaceObjectElements(records, base, elements); });
	};
	MeshGenerationInfo job;
	for (import_object* o : objects) {
		GS::Array<ObjectGenerationInfo> records;
		time("generated parts", [&] {
			ObjectGenerationInfo part;
			LongPartNames longNames;
			if (!GenerateLayerPart(*o, importer.options.name_prefix, part, longNames)) return;
			records.Push(part);
			place(records);
		});
		if (o->type == ImportBuildings) {
			time("buildings", [&] {
				HouseReader::Read(o->location, records, o->layer, 0.0, o->pen, o->fillpen, o->bckgrnd, o->fill, o->surface, o->surface_2);
				place(records);
			});
		}
		if (o->type == ImportVegetation) {
			time("trees", [&] {
				records.Clear();
				VegetationReader::Read(importer.options.vegetation_location, records, o->layer, 0.0, o->pen, o->fillpen, o->bckgrnd, o->fill);
				place(records);
			});
		}
		if (o->type == ImportTerrain) job.terrain = o, job.layer = o->layer;
		if (o->type == ImportRoads) job.road = o;
		if (o->type == ImportWater) job.water = o;
		if (o->type == Import2DBaseMap) job.drawing = o;
	}
	if (!libraries.IsEmpty()) time("material", [&] { kivel::LibraryManager::SetLibraries(libraries); });
	job.material = kivel::CreateAttributeIndex(surfaceIndex);
	job.useLevelLines = true;
	time("terrain", [&] {
		const GS::Array<API_Coord> polygon = Importer::ReadOutline(importer.options.area_location);
		ACAPI_CallUndoableCommand("Placing VELMORA mesh elements",
		                          [&] { return PlaceTerrainMesh(job, base, polygon, importer, elements); });
	});
	for (import_object* o : objects) {
		if (o->type == ImportSurroundings) time("surroundings", [&] { ImportSurroundingModel(*o); });
		if (o->type == Import2DBaseMap) time("2D", [&] { Importer::Place2DElements(o->location, kivel::CreateAttributeIndex(o->layer)); });
	}
	time("cut", [&] { ACAPI_CallUndoableCommand("Cutting VELMORA mesh elements", [&] { return CutTerrainMesh(elements); }); });
	time("geolocation", [&] {
		bool changed = false;
		importer.ReadPlanGeoLocation(changed);
		importer.SetPlanGeoLocation();
	});
	for (const char* step : kSteps) std::fprintf(out, "%s\t%.6f\n%s cpu\t%.6f\n", step, seconds[step], step, cpu[step]);
	std::fprintf(out, "elements\t%zu\n", vhost::Current().state.elements.size());
	return 0;
}

// ---- the parent ----------------------------------------------------------------------------

struct Run {
	std::map<std::string, double> values;   // named figures the child printed
	double wall = 0, cpu = 0, peakMB = 0;   // the child's wall and processor seconds, peak memory
};

// Runs argv as a child (its standard error, the host's reports, goes to /dev/null); its
// standard output is read as "name value" lines. A failed child ends the benchmark.
Run Child(const std::vector<std::string>& argv)
{
	const bench::Spawned spawned = bench::Spawn(argv, 1, true);
	if (!spawned.ok) {
		std::string command;
		for (const std::string& a : argv) command += " '" + a + "'";
		std::fprintf(stderr, "bench_import: this failed (run it by hand to see why):%s\n", command.c_str());
		std::exit(1);
	}
	Run run{{}, spawned.seconds, spawned.cpuSeconds, spawned.peakMB};
	std::istringstream lines(spawned.text);
	for (std::string line; std::getline(lines, line);) {
		const std::size_t cut = line.find_last_of(" \t");
		if (cut != std::string::npos) run.values[line.substr(0, cut)] = std::atof(line.c_str() + cut + 1);
	}
	return run;
}

// Empties the run root but for the package, so that every run starts from a new project,
// with settings that include every layer, the base map and the surroundings model.
void Clean(const fs::path& home)
{
	for (const auto& entry : fs::directory_iterator(home))
		if (entry.path().filename() != "Documents") fs::remove_all(entry.path());
	fs::create_directories(home / "Common Documents" / "Velmora");
	std::ofstream(home / "Common Documents" / "Velmora" / "terrainsettings.txt")
	    << "[include_terrain=1][include_houses=1][include_roads=1][include_fences=1][include_customobj=1][include_water=1]"
	       "[include_vegetation=1][include_customs_2d=1][include_customs_surroundings=1]";
}

double MB(const fs::path& folder)
{
	double bytes = 0;
	for (const auto& e : fs::recursive_directory_iterator(folder))
		if (e.is_regular_file()) bytes += static_cast<double>(e.file_size());
	return bytes / 1e6;
}

// Wall and processor seconds of one measurement, round by round.
struct Times {
	std::vector<double> wall, cpu;
	void Add(double w, double c) { wall.push_back(w), cpu.push_back(c); }
};

struct Figures {
	Times import, importOut, parse;
	std::vector<double> importPeak, importOutPeak, parsePeak;
	std::map<std::string, Times> steps;
	double elements = 0;
};

// Steps shorter than this at full size are below what the clock and a shared machine let
// one judge: their ratio is printed, not judged.
constexpr double kJudged = 0.01;

// Medians at both sizes and full over half; goal > 0 judges the processor-time ratio.
void Row(const char* name, const Times& half, const Times& full, double goal)
{
	const double hw = bench::Median(half.wall), hc = bench::Median(half.cpu);
	const double fw = bench::Median(full.wall), fc = bench::Median(full.cpu);
	const double ratio = hc > 0 ? fc / hc : 0.0;
	const char* verdict = goal <= 0 ? "" : fc < kJudged ? "  (too short to judge)" : ratio > goal ? "  over the goal" : "";
	std::printf("  %-22s %8.3f %8.3f   %8.3f %8.3f   %6.2f %6.2f%s\n", name, hw, hc, fw, fc, hw > 0 ? fw / hw : 0.0, ratio, verdict);
}

void MemoryRow(const char* name, const std::vector<double>& half, const std::vector<double>& full)
{
	std::printf("  %-22s %14.0f MB   %14.0f MB   %6.2f\n", name, bench::Median(half), bench::Median(full),
	            bench::Median(full) / bench::Median(half));
}

} // namespace

int main(int argc, char** argv)
{
	if (argc == 3 && std::strcmp(argv[1], "--parse") == 0) return Parse(argv[2]);
	if (argc == 4 && std::strcmp(argv[1], "--steps") == 0) return Steps(argv[2], argv[3]);
	int rounds = 3;
	if (argc == 3 && std::strcmp(argv[1], "--rounds") == 0) rounds = std::max(1, std::atoi(argv[2]));
	else if (argc != 1) return std::fprintf(stderr, "usage: bench_import [--rounds N]\n"), 2;

	// The add-on's update check goes to a port where nothing listens and fails at once.
	::setenv("VELMORA_UPDATE_BASE", "http://127.0.0.1:9", 1);
	const fs::path self = fs::read_symlink("/proc/self/exe");
	const fs::path build = self.parent_path().parent_path();
	const std::string host = (build / "velmora-host").string();
	const fs::path folder = fs::temp_directory_path() / ("velmora-bench-import-" + std::to_string(::getpid()));
	Figures figures[2];
	std::printf("generating the packages in %s\n", folder.c_str());
	for (int s = 0; s < 2; ++s) {
		const fs::path package = folder / kSizes[s].name / "Documents" / "Velmora" / kPackageName;
		// Written by the generator's own program: a child's peak memory counts what this
		// process holds when it starts one, so this process stays small.
		const sample::PackageOptions& o = kSizes[s].options;
		Child({(build / "make_sample_package").string(), "--grid", std::to_string(o.grid), "--trees", std::to_string(o.trees),
		       "--basemap-mb", std::to_string(o.baseMapBytes / 1000000), package.string()});
		std::printf("  %s: %.1f MB of files, terrain %d x %d vertices, %d trees, base map %.0f MB\n", kSizes[s].name, MB(package),
		            o.grid, o.grid, o.trees, static_cast<double>(o.baseMapBytes) / 1e6);
	}
	std::fflush(stdout);
	for (int r = 0; r < rounds; ++r)
		for (int k = 0; k < 2; ++k) {   // each round starts with the other size
			const int s = (k + r) % 2;
			const fs::path home = folder / kSizes[s].name;
			const std::string package = (home / "Documents" / "Velmora" / kPackageName).string();
			Figures& f = figures[s];
			Clean(home);
			const Run import = Child({host, "--home", home.string(), "import", package});
			f.import.Add(import.wall, import.cpu);
			f.importPeak.push_back(import.peakMB);
			Clean(home);
			const Run written = Child({host, "--home", home.string(), "--out", (home / "out").string(), "import", package});
			f.importOut.Add(written.wall, written.cpu);
			f.importOutPeak.push_back(written.peakMB);
			const Run parse = Child({self.string(), "--parse", package});
			f.parse.Add(parse.values.at("parse"), parse.values.at("parse cpu"));
			f.parsePeak.push_back(parse.peakMB);
			Clean(home);
			const Run steps = Child({self.string(), "--steps", home.string(), build.string()});
			for (const char* step : kSteps) f.steps[step].Add(steps.values.at(step), steps.values.at(std::string(step) + " cpu"));
			f.elements = steps.values.at("elements");
		}
	fs::remove_all(folder);

	std::printf("medians of %d rounds, every run a fresh process, the sizes in turn; seconds of wall and processor time\n", rounds);
	std::printf("  %-22s %17s   %17s   %13s\n", "", "half", "full", "full/half");
	std::printf("  %-22s %8s %8s   %8s %8s   %6s %6s\n", "", "wall", "cpu", "wall", "cpu", "wall", "cpu");
	const Figures &h = figures[0], &f = figures[1];
	Row("import (velmora-host)", h.import, f.import, 0);
	MemoryRow("  peak memory", h.importPeak, f.importPeak);
	Row("import --out", h.importOut, f.importOut, 0);
	MemoryRow("  peak memory", h.importOutPeak, f.importOutPeak);
	Row("parse (3DS, DXF, CSV)", h.parse, f.parse, 0);
	MemoryRow("  peak memory", h.parsePeak, f.parsePeak);
	const auto over = [](const Times& a, const Times& b, bool cpu) {
		return bench::Median(cpu ? a.cpu : a.wall) / bench::Median(cpu ? b.cpu : b.wall);
	};
	std::printf("  %-22s %8.2f %8.2f   %8.2f %8.2f   (goal: at most 5)\n", "import / parse", over(h.import, h.parse, false),
	            over(h.import, h.parse, true), over(f.import, f.parse, false), over(f.import, f.parse, true));
	const auto peak = [](const std::vector<double>& a, const std::vector<double>& b) { return bench::Median(a) / bench::Median(b); };
	std::printf("  %-22s %8.2f %8.2f   %8.2f %8.2f   (goal: at most 1.5)\n", "import --out / import", over(h.importOut, h.import, false),
	            over(h.importOut, h.import, true), over(f.importOut, f.import, false), over(f.importOut, f.import, true));
	std::printf("  %-22s %17.2f   %17.2f   (goal: at most 1.15)\n", "  peak memory", peak(h.importOutPeak, h.importPeak),
	            peak(f.importOutPeak, f.importPeak));
	std::printf("steps in-process (%.0f and %.0f elements made; goal: full/half of the processor time at most 2.5)\n", h.elements,
	            f.elements);
	Times half, full;
	half.Add(0, 0), full.Add(0, 0);
	for (const char* step : kSteps) {
		const Times &a = h.steps.at(step), &b = f.steps.at(step);
		Row(step, a, b, 2.5);
		half.wall[0] += bench::Median(a.wall), half.cpu[0] += bench::Median(a.cpu);
		full.wall[0] += bench::Median(b.wall), full.cpu[0] += bench::Median(b.cpu);
	}
	Row("sum of the steps", half, full, 2.5);
	return 0;
}
