// The import command of velmora-host on our sample package, as a folder and as a ZIP.
#include <algorithm>
#include <cmath>
#include <cstdint>
#include <filesystem>
#include <fstream>
#include <functional>
#include <cstdlib>
#include <map>
#include <sstream>
#include <set>
#include <string>
#include <sys/wait.h>

#include <gtest/gtest.h>
#include <nlohmann/json.hpp>

#include "TestSupport.hpp"
#include "vhost/Text.hpp"

#if defined(__SANITIZE_ADDRESS__)
#define VELMORA_TEST_ASAN 1
#elif defined(__has_feature)
#if __has_feature(address_sanitizer)
#define VELMORA_TEST_ASAN 1
#endif
#endif

namespace {

#if defined(VELMORA_TEST_ASAN)
constexpr bool kAddressSanitizer = true;
#else
constexpr bool kAddressSanitizer = false;
#endif

// Runs a program line; answers its exit status and what it wrote on stderr.
int RunLine(const testsupport::TempDir& dir, const std::string& line, std::string& stderrText)
{
	const int status = std::system((line + " >'" + dir.Path() + "/stdout.txt' 2>'" + dir.Path() + "/stderr.txt'").c_str());
	stderrText = testsupport::ReadFile(dir / "stderr.txt");
	return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
}

// The undo steps of one import of the sample package, in order.
const std::vector<std::string> kSampleSteps = {"Placing VELMORA Geocoordinate", "Placing VELMORA elements",
                                               "Placing VELMORA mesh elements", "Placing VELMORA elements", "Import model",
                                               "Change Surrounding elements", "Cutting VELMORA mesh elements"};

// Writes the sample package as dir/name (a ZIP when zip).
void MakeSample(const testsupport::TempDir& dir, const std::string& name, bool zip = false)
{
	std::string err;
	ASSERT_EQ(RunLine(dir, testsupport::BuildProgram("make_sample_package") + " " + (zip ? "--zip '" : "'") + dir.Path() + "/" + name + "'", err),
	          0) << err;
}

// Runs velmora-host with `commands` in dir's run root, writing to dir/out; answers the project.
// before: shell commands that run first in the same shell (a limit for the host).
nlohmann::json RunHost(const testsupport::TempDir& dir, const std::string& commands, const std::string& before = "")
{
	std::string err;
	const int status = RunLine(dir, before + testsupport::BuildProgram("velmora-host") + " --home '" + dir.Path() + "/home' --out '" +
	                                    dir.Path() + "/out' " + commands, err);
	EXPECT_EQ(status, 0) << err;
	return nlohmann::json::parse(testsupport::ReadFile(dir / "out/project.json"));
}

std::vector<std::string> UndoSteps(const nlohmann::json& project)
{
	std::vector<std::string> steps;
	for (const auto& step : project["undo"]) {
		steps.push_back(step["name"]);
		EXPECT_EQ(step["result"], 0) << step["name"];
		EXPECT_FALSE(step["rolledBack"].get<bool>()) << step["name"];
	}
	return steps;
}

std::vector<int> DialogIds(const nlohmann::json& project)
{
	std::vector<int> ids;
	for (const auto& d : project["dialogs"]) ids.push_back(d["id"]);
	return ids;
}

std::vector<nlohmann::json> Elements(const nlohmann::json& project, const std::string& type)
{
	std::vector<nlohmann::json> out;
	for (const auto& e : project["elements"])
		if (e["type"] == type) out.push_back(e);
	return out;
}

// The value of an object's parameter, NaN when it has none of that name.
double Param(const nlohmann::json& object, const std::string& name)
{
	for (const auto& p : object["params"])
		if (p["name"] == name && p.contains("value")) return p["value"];
	return std::nan("");
}

TEST(Import, SamplePackageAsFolderAndAsZip)
{
	for (const bool zip : {false, true}) {
		SCOPED_TRACE(zip ? "ZIP" : "folder");
		testsupport::TempDir dir;
		// A name with a space and a quote: the package path reaches the script quoted.
		const std::string name = std::string("Kart \"B\"") + (zip ? ".zip" : "");
		MakeSample(dir, name, zip);
		const nlohmann::json project = RunHost(dir, "import '" + dir.Path() + "/" + name + "'");
		EXPECT_TRUE(std::filesystem::is_directory(dir / "home/Documents/Velmora/Kart \"B\"/3D-modell"));
		EXPECT_EQ(UndoSteps(project), kSampleSteps);
		// Add ZIP goes back to the project list.
		EXPECT_EQ(DialogIds(project), zip ? (std::vector<int>{32501, 32501, 32508}) : (std::vector<int>{32501, 32508}));

		std::set<std::string> parts;
		for (const auto& part : project["libraryParts"]) parts.insert(part["name"]);
		for (const char* layer : {"Veg", "Gjerder", "Objekter", "Vann", "Vegetasjon"}) EXPECT_EQ(parts.count(std::string("Kart \"B\"_") + layer), 1u) << layer;
		EXPECT_TRUE(std::filesystem::is_directory(dir / "out/library"));
		EXPECT_EQ(Elements(project, "Mesh").size(), 1u);
		EXPECT_EQ(project["solidLinks"].size(), 2u);
		EXPECT_TRUE(std::filesystem::exists(dir / "out/plan.svg"));
		EXPECT_TRUE(project["exceptions"].empty());
	}
}

// The whole project one import makes, checked against the package's own files.
TEST(Import, SampleProjectInDetail)
{
	testsupport::TempDir dir;
	MakeSample(dir, "Prøvekart");
	// Pens of this import's settings reach the elements.
	testsupport::WriteFile(dir / "home/Common Documents/Velmora/terrainsettings.txt", "[pen_roads=5][customs_surroundings_pen=7]");
	const nlohmann::json project = RunHost(dir, "import '" + dir.Path() + "/Prøvekart'");
	EXPECT_EQ(UndoSteps(project), kSampleSteps);
	EXPECT_TRUE(project["alerts"].empty());

	// The frame: the package's origin is the project's, the geocoordinate marks it.
	std::map<std::string, std::vector<nlohmann::json>> objects;
	for (const auto& o : Elements(project, "Object")) objects[o["libPart"]].push_back(o);
	ASSERT_EQ(objects["Velmora_Geocoordinate"].size(), 1u);
	EXPECT_EQ(objects["Velmora_Geocoordinate"][0]["pos"], nlohmann::json::parse("[0.0, 0.0]"));
	EXPECT_EQ(Param(objects["Velmora_Geocoordinate"][0], "bGeodeticData"), 1.0);

	// Every tree of the list, where it stands, its size and its kind's part.
	const std::map<std::string, std::string> kinds = {{"furu", "Velmora_Pine_Tree"}, {"gran", "Velmora_Spruce_Tree"},
	                                                  {"bjork", "Velmora_Birch_Tree"}, {"eik", "Velmora_Oak_Tree"}};
	std::istringstream list(testsupport::ReadFile(dir / "Prøvekart/3D-modell/Vegetasjon/Vegetasjon.csv"));
	std::string line;
	std::getline(list, line);
	std::size_t trees = 0;
	while (std::getline(list, line)) {
		std::vector<std::string> f;
		std::istringstream fields(line);
		for (std::string v; f.size() < 8 && std::getline(fields, v, ',');) f.push_back(v);
		const auto kind = kinds.find(f[7]);
		const std::string part = kind == kinds.end() ? "Velmora_Spruce_Tree" : kind->second;
		bool found = false;
		for (const auto& t : objects[part]) {
			if (t["pos"][0] != std::stod(f[0]) || t["pos"][1] != std::stod(f[1])) continue;
			found = true;
			EXPECT_NEAR(t["level"].get<double>(), std::stod(f[2]), 1e-9) << line;
			EXPECT_EQ(t["a"], std::stod(f[3])) << line;
			EXPECT_EQ(t["b"], std::stod(f[3])) << line;
			EXPECT_EQ(Param(t, "ZZYZX"), std::stod(f[4])) << line;
		}
		EXPECT_TRUE(found) << line;
		++trees;
	}
	EXPECT_EQ(trees, 24u);
	EXPECT_EQ(objects["Velmora_Pine_Tree"].size() + objects["Velmora_Spruce_Tree"].size() + objects["Velmora_Birch_Tree"].size() +
	              objects["Velmora_Oak_Tree"].size(),
	          trees);
	EXPECT_EQ(objects["Velmora_Building"].size(), 6u);

	// Each generated part placed once at the origin, its pens from the settings.
	for (const char* layer : {"Veg", "Gjerder", "Objekter", "Vann", "Vegetasjon"}) {
		const auto& placed = objects[std::string("Prøvekart_") + layer];
		ASSERT_EQ(placed.size(), 1u) << layer;
		EXPECT_EQ(placed[0]["pos"], nlohmann::json::parse("[0.0, 0.0]")) << layer;
		EXPECT_EQ(Param(placed[0], "iContPen"), Param(placed[0], "gs_cont_pen")) << layer;
	}
	EXPECT_EQ(Param(objects["Prøvekart_Veg"][0], "gs_cont_pen"), 5.0);
	ASSERT_EQ(objects["SurroundingArea"].size(), 1u);
	EXPECT_EQ(objects["SurroundingArea"][0]["pen"], 7);

	// The terrain: one mesh over the area (400 m by 300 m), textured with the ortho photo, cut by road and water.
	const auto meshes = Elements(project, "Mesh");
	ASSERT_EQ(meshes.size(), 1u);
	double lo[2] = {1e9, 1e9}, hi[2] = {-1e9, -1e9};
	for (const auto& p : meshes[0]["polygon"]["points"])
		for (int k = 0; k < 2; ++k) {
			lo[k] = std::min(lo[k], p[k].get<double>());
			hi[k] = std::max(hi[k], p[k].get<double>());
		}
	EXPECT_NEAR(lo[0], 0, 0.05);
	EXPECT_NEAR(lo[1], 0, 0.05);
	EXPECT_NEAR(hi[0], 400, 0.05);
	EXPECT_NEAR(hi[1], 300, 0.05);
	ASSERT_EQ(project["attributes"]["materials"].size(), 1u);
	const auto& material = project["attributes"]["materials"][0];
	EXPECT_EQ(material["name"], "Velmora_ORTOFOTO");
	EXPECT_EQ(material["texture"]["width"], 400.0);
	EXPECT_EQ(material["texture"]["height"], 300.0);
	EXPECT_TRUE(std::filesystem::is_regular_file(std::filesystem::u8path(material["texture"]["file"].get<std::string>())));
	EXPECT_EQ(meshes[0]["topMaterial"]["index"], material["index"]);
	std::set<std::string> cutters;
	for (const auto& link : project["solidLinks"]) {
		EXPECT_EQ(link["target"], meshes[0]["guid"]);
		EXPECT_EQ(link["operation"], "SSUU");
		cutters.insert(link["operator"]);
	}
	EXPECT_EQ(cutters, (std::set<std::string>{objects["Prøvekart_Veg"][0]["guid"], objects["Prøvekart_Vann"][0]["guid"]}));

	// The 2D base map on its own layers: road edges, the turning place, names, contours, a group of trees.
	const std::map<std::string, std::size_t> drawing = {{"Line", 2}, {"Arc", 1}, {"Text", 2}, {"PolyLine", 7}, {"Circle", 3}};
	for (const auto& [type, count] : drawing) EXPECT_EQ(Elements(project, type).size(), count) << type;
	std::set<std::string> names;
	for (const auto& t : Elements(project, "Text")) names.insert(t["text"]);
	EXPECT_EQ(names, (std::set<std::string>{"Storgata", "Dammen"}));
	for (const auto& c : Elements(project, "Circle")) EXPECT_EQ(c["layerName"], "Vegetasjon");

	// The geolocation of the local-origin file, written without a question into a project that had none.
	const auto& geo = project["geolocation"];
	EXPECT_EQ(geo["latitude"], 59.9786);
	EXPECT_EQ(geo["longitude"], 10.7296);
	EXPECT_EQ(geo["georeference"]["eastings"], 598000.0);
	EXPECT_EQ(geo["georeference"]["northings"], 6650000.0);
	EXPECT_EQ(geo["georeference"]["name"], "EUREF89 UTM sone 32");
	EXPECT_EQ(geo["georeference"]["verticalDatum"], "NN2000");
	EXPECT_EQ(geo["georeference"]["mapProjection"], "UTM");
	EXPECT_EQ(geo["georeference"]["mapZone"], "32");
}

// The base map's column unticked: nothing of the drawing is placed, and the terrain is the one
// the same import makes with it ticked. The settings leave the base map unticked; the two runs
// differ only in the script's tick of its column.
TEST(Import, AnUntickedBaseMapIsNotDrawnAndLeavesTheTerrain)
{
	const std::map<std::string, std::size_t> drawing = {{"Line", 2}, {"Arc", 1}, {"Text", 2}, {"PolyLine", 7}, {"Circle", 3}};
	nlohmann::json terrain[2];
	for (const bool ticked : {true, false}) {
		SCOPED_TRACE(ticked ? "ticked" : "unticked");
		testsupport::TempDir dir;
		MakeSample(dir, "home/Documents/Velmora/Prøvekart");
		testsupport::WriteFile(dir / "home/Common Documents/Velmora/terrainsettings.txt", "[include_customs_2d=0]");
		const std::string row = "listpick 15 \"Prøvekart\" ";
		std::string script = "dialog 32501\n" + row + "1\n";
		for (int column = 2; column <= 10; ++column) // the seven layers, the base map (9), the surroundings model
			if (column != 9 || ticked) script += row + std::to_string(column) + " 32729\n";
		testsupport::WriteFile(dir / "script.txt", script + "click 1\ndialog 32508\nclick 1\n");
		const nlohmann::json project = RunHost(dir, "--script '" + dir.Path() + "/script.txt' menu 32502");
		for (const auto& [type, count] : drawing) EXPECT_EQ(Elements(project, type).size(), ticked ? count : 0u) << type;
		const auto meshes = Elements(project, "Mesh");
		ASSERT_EQ(meshes.size(), 1u);
		terrain[ticked ? 0 : 1] = meshes[0];
	}
	EXPECT_EQ(terrain[1], terrain[0]);
}

// Whether the point lies inside the polygon or within tolerance of its outline.
bool Inside(const std::vector<std::pair<double, double>>& polygon, std::pair<double, double> p, double tolerance)
{
	bool inside = false;
	for (std::size_t i = 0, j = polygon.size() - 1; i < polygon.size(); j = i++) {
		const auto [xi, yi] = polygon[i];
		const auto [xj, yj] = polygon[j];
		if ((yi > p.second) != (yj > p.second) && p.first < (xj - xi) * (p.second - yi) / (yj - yi) + xi) inside = !inside;
		const double dx = xj - xi, dy = yj - yi, len = dx * dx + dy * dy;
		const double t = len > 0 ? std::clamp(((p.first - xi) * dx + (p.second - yi) * dy) / len, 0.0, 1.0) : 0.0;
		if (std::hypot(xi + t * dx - p.first, yi + t * dy - p.second) <= tolerance) return true;
	}
	return inside;
}

// The plan shows every building and the road part as a filled shape of their own geometry,
// lying on the terrain's area.
TEST(Import, SamplePlanShowsBuildingsAndTheRoadWithinTheArea)
{
	testsupport::TempDir dir;
	MakeSample(dir, "Prøvekart");
	const nlohmann::json project = RunHost(dir, "import '" + dir.Path() + "/Prøvekart'");
	const std::string svg = testsupport::ReadFile(dir / "out/plan.svg");
	const std::size_t mesh = svg.find("<g class=\"mesh\">");
	ASSERT_NE(mesh, std::string::npos);
	const auto area = testsupport::SvgPathPoints(testsupport::SvgAttribute(svg.substr(svg.find("<path", mesh)), "d"));
	ASSERT_GE(area.size(), 4u);
	std::vector<std::pair<std::string, std::string>> shaped; // GUID, kind
	for (const auto& o : Elements(project, "Object")) {
		if (o["libPart"] == "Velmora_Building") shaped.emplace_back(o["guid"], "building");
		if (o["libPart"] == "Prøvekart_Veg") shaped.emplace_back(o["guid"], "road");
	}
	ASSERT_EQ(shaped.size(), 7u);
	for (const auto& [guid, kind] : shaped) {
		SCOPED_TRACE(guid);
		const std::string group = testsupport::SvgGroup(svg, guid);
		EXPECT_EQ(testsupport::SvgAttribute(group, "data-kind"), kind);
		const std::size_t shape = group.find("<path class=\"shape\"");
		ASSERT_NE(shape, std::string::npos);
		const std::string path = group.substr(shape);
		const std::string fill = testsupport::SvgAttribute(path, "fill");
		EXPECT_TRUE(!fill.empty() && fill != "none") << fill;
		const auto points = testsupport::SvgPathPoints(testsupport::SvgAttribute(path, "d"));
		EXPECT_GE(points.size(), 3u);
		for (const auto& p : points) EXPECT_TRUE(Inside(area, p, 0.5)) << p.first << "," << p.second;
	}
}

// A ZIP whose file name is not UTF-8 (a Latin-1 "æ") cannot be expanded here, but the run
// ends with its message and the project is written, the name's bad byte as U+FFFD.
TEST(Import, ZipNameThatIsNotUtf8IsWrittenReplaced)
{
	testsupport::TempDir dir;
	MakeSample(dir, "Kart\xE6.zip", true);
	std::string err;
	EXPECT_EQ(RunLine(dir, testsupport::BuildProgram("velmora-host") + " --home '" + dir.Path() + "/home' --out '" + dir.Path() +
	                       "/out' import '" + dir.Path() + "/Kart\xE6.zip'", err),
	          1) << err;
	EXPECT_EQ(err.find("terminate"), std::string::npos) << err;
	const std::string text = testsupport::ReadFile(dir / "out/project.json");
	ASSERT_TRUE(vhost::IsValidUtf8(text.data(), text.size()));
	const nlohmann::json project = nlohmann::json::parse(text);
	ASSERT_EQ(project["fileDialogs"].size(), 1u);
	EXPECT_EQ(project["fileDialogs"][0]["answer"], dir.Path() + "/Kart\uFFFD.zip");
	EXPECT_TRUE(std::filesystem::is_regular_file(dir / "out/plan.svg"));
}

// The summary an import of the sample ends with, from what the project shows (the time as "T").
std::string SampleSummary(const nlohmann::json& project, const std::string& name)
{
	std::string steps;
	for (const std::string& step : UndoSteps(project)) steps += (steps.empty() ? ": " : ", ") + step;
	std::vector<std::pair<std::string, int>> types;
	for (const auto& e : project["elements"]) {
		auto it = std::find_if(types.begin(), types.end(), [&](const auto& t) { return t.first == e["type"]; });
		if (it == types.end()) types.emplace_back(e["type"], 1);
		else ++it->second;
	}
	std::string elements;
	for (const auto& [type, count] : types) elements += (elements.empty() ? " (" : ", ") + std::to_string(count) + " " + type;
	std::string parts;
	std::size_t partCount = 0;
	for (const auto& part : project["libraryParts"])
		if (part["location"].get<std::string>().find("/home/Project/Embedded Library/") != std::string::npos) {
			parts += (parts.empty() ? ": " : ", ") + part["name"].get<std::string>();
			++partCount;
		}
	std::size_t alerts = 0;
	for (const auto& r : project["reports"]) alerts += r["alert"].get<bool>() ? 1 : 0;
	return "Imported \"" + name + "\" in T\n  undo steps:      " + std::to_string(project["undo"].size()) + steps +
	       "\n  elements:        " + std::to_string(project["elements"].size()) + elements + ")\n  generated parts: " +
	       std::to_string(partCount) + parts + "\n  alerts:          " + std::to_string(alerts) + "\n";
}

// Standard output with each summary's time (" in 0.05 s" ending its first line) as " in T".
std::string WithoutTimes(std::string text)
{
	for (std::size_t at = text.find("Imported \""); at != std::string::npos; at = text.find("Imported \"", at + 1)) {
		const std::size_t end = text.find(" s\n", at), in = text.rfind(" in ", end);
		if (end == std::string::npos || in == std::string::npos || in < at) break;
		const std::string time = text.substr(in + 4, end - in - 4);
		if (time.size() >= 4 && time.find_first_not_of("0123456789.") == std::string::npos && time[time.size() - 3] == '.')
			text.replace(in + 4, end + 2 - in - 4, "T");
	}
	return text;
}

// The add-on's standard output (the 3DS reader's chunk trace) goes to the log with --out, nowhere
// without it, to the terminal with --verbose; the terminal shows the import's summary.
TEST(Import, TheTerminalShowsTheSummaryAndTheLogTheAddonsOutput)
{
	testsupport::TempDir dir;
	MakeSample(dir, "Prøvekart");
	const nlohmann::json project = RunHost(dir, "import '" + dir.Path() + "/Prøvekart'");
	const std::string summary = SampleSummary(project, "Prøvekart");
	EXPECT_NE(summary.find("\n  alerts:          1\n"), std::string::npos) << summary;
	EXPECT_NE(summary.find("\n  generated parts: 8: Velmora_XYZ, "), std::string::npos) << summary;
	EXPECT_EQ(WithoutTimes(testsupport::ReadFile(dir / "stdout.txt")), summary);
	const std::string log = testsupport::ReadFile(dir / "out/addon-output.log");
	EXPECT_NE(log.find("Chunk ID: 4d4d (CHUNK_M3DMAGIC)\n"), std::string::npos);
	EXPECT_GT(std::count(log.begin(), log.end(), '\n'), 1000);

	// Without --out, both streams as a terminal shows them: the alert, then the summary last.
	const struct { const char* options; const char* streams; bool trace; } runs[] = {{"", " 2>&1", false}, {"--verbose ", "", true}};
	for (const auto& run : runs) {
		SCOPED_TRACE(run.options);
		testsupport::TempDir other;
		MakeSample(other, "Prøvekart");
		std::string err;
		ASSERT_EQ(RunLine(other, "{ " + testsupport::BuildProgram("velmora-host") + " --home '" + other.Path() + "/home' " + run.options +
		                             "import '" + other.Path() + "/Prøvekart'" + run.streams + "; }", err),
		          0) << err;
		const std::string out = WithoutTimes(testsupport::ReadFile(other / "stdout.txt"));
		ASSERT_GE(out.size(), summary.size());
		EXPECT_EQ(out.substr(out.size() - summary.size()), summary);
		EXPECT_EQ(out.find("Chunk ID: 4d4d (CHUNK_M3DMAGIC)\n") != std::string::npos, run.trace);
		EXPECT_EQ(out.find("velmora-host: alert: Importing the surroundings model.") != std::string::npos, !run.trace);
	}
}

// A second import into a project that has a geolocation asks before changing it (yes here);
// the Norwegian host shows the Norwegian dialogs.
TEST(Import, SecondImportAsksAboutTheGeolocationAndNorwegianDialogs)
{
	testsupport::TempDir dir;
	MakeSample(dir, "Første");
	MakeSample(dir, "Andre");
	nlohmann::json project = RunHost(dir, "import '" + dir.Path() + "/Første' import '" + dir.Path() + "/Andre'");
	EXPECT_EQ(DialogIds(project), (std::vector<int>{32501, 32508, 32501, 32508, 32510}));
	// Each import ends with its own summary of what it added, the add-on's output between them
	// goes to the log only.
	const std::string out = WithoutTimes(testsupport::ReadFile(dir / "stdout.txt"));
	const std::size_t second = out.find("Imported \"Andre\" in T\n  undo steps:      7: Placing VELMORA Geocoordinate, ");
	EXPECT_EQ(out.find("Imported \"Første\" in T\n  undo steps:      7: "), 0u) << out;
	EXPECT_NE(second, std::string::npos) << out;
	EXPECT_EQ(out.find("Chunk ID"), std::string::npos);
	// The same package adds the same elements again.
	const auto elements = [&](std::size_t from) {
		const std::size_t at = out.find("\n  elements:", from);
		return at == std::string::npos ? std::string() : out.substr(at, out.find('\n', at + 1) - at);
	};
	EXPECT_FALSE(elements(0).empty()) << out;
	EXPECT_EQ(elements(second), elements(0));
	EXPECT_EQ(UndoSteps(project).size(), 2 * kSampleSteps.size());
	EXPECT_EQ(project["geolocation"]["latitude"], 59.9786);

	testsupport::TempDir nor;
	MakeSample(nor, "Kart");
	project = RunHost(nor, "--language NOR import '" + nor.Path() + "/Kart'");
	EXPECT_EQ(DialogIds(project), (std::vector<int>{32521, 32528}));
	EXPECT_EQ(UndoSteps(project), kSampleSteps);
}

// A folder goes to the import folder the settings chose, where the command lists it.
TEST(Import, FolderIsCopiedToTheImportFolderOfTheSettings)
{
	testsupport::TempDir dir;
	const std::string chosen = dir.Path() + "/Mine kart";
	std::string hex;
	for (const unsigned char c : chosen) {
		static const char digits[] = "0123456789ABCDEF";
		hex += digits[c >> 4];
		hex += digits[c & 15];
	}
	testsupport::WriteFile(dir / "home/Common Documents/Velmora/terrainsettings.txt", "[user_import_folder=" + hex + "]");
	std::filesystem::create_directories(dir / "Mine kart/Another");
	MakeSample(dir, "Prøvekart");
	const nlohmann::json project = RunHost(dir, "import '" + dir.Path() + "/Prøvekart'");
	EXPECT_TRUE(std::filesystem::is_directory(dir / "Mine kart/Prøvekart/3D-modell"));
	EXPECT_FALSE(std::filesystem::exists(dir / "home/Documents/Velmora/Prøvekart"));
	bool road = false;
	for (const auto& part : project["libraryParts"]) road |= part["name"] == "Prøvekart_Veg";
	EXPECT_TRUE(road);
}

// The project is picked by the name its row shows, in the list's own order: a link to a folder
// is no project (the folder listing takes it for a file), and the list orders by UTF-16 units
// (U+1F600 before U+FF21, the other way round by UTF-8 bytes).
TEST(Import, TheProjectIsPickedByTheNameItsRowShows)
{
	const struct { const char* name; std::vector<const char*> others; const char* link; } cases[] = {
		{"B", {"C"}, "A"},
		{"\xEF\xBC\xA1", {"\xF0\x9F\x98\x80"}, nullptr},
	};
	for (const auto& c : cases) {
		SCOPED_TRACE(c.name);
		testsupport::TempDir dir;
		const std::string projects = dir.Path() + "/home/Documents/Velmora/";
		for (const char* other : c.others) std::filesystem::create_directories(std::filesystem::u8path(projects + other + "/3D-modell/3ds"));
		if (c.link != nullptr) {
			std::filesystem::create_directories(dir / "elsewhere/3D-modell/3ds");
			std::filesystem::create_symlink(dir / "elsewhere", projects + c.link);
		}
		MakeSample(dir, c.name);
		const nlohmann::json project = RunHost(dir, "import '" + dir.Path() + "/" + c.name + "'");
		EXPECT_EQ(UndoSteps(project), kSampleSteps);
		std::set<std::string> parts;
		for (const auto& part : project["libraryParts"]) parts.insert(part["name"]);
		EXPECT_EQ(parts.count(std::string(c.name) + "_Veg"), 1u);
	}
}

// A project that does not reach the list (a ZIP that does not expand) is an error naming it.
TEST(Import, AProjectMissingFromTheListIsAnErrorNamingIt)
{
	testsupport::TempDir dir;
	testsupport::WriteFile(dir / "Broken.zip", "not a zip archive");
	std::string err;
	EXPECT_EQ(RunLine(dir, testsupport::BuildProgram("velmora-host") + " --home '" + dir.Path() + "/home' import '" + dir.Path() +
	                       "/Broken.zip'", err),
	          1);
	EXPECT_NE(err.find("velmora-host: import " + dir.Path() + "/Broken.zip: list 15 has no row 'Broken'"), std::string::npos) << err;
	EXPECT_EQ(err.find("script line"), std::string::npos) << err;
}

// A package without a 3D-modell folder holds nothing to import: the run says so and fails,
// whether it is a folder elsewhere (nothing is copied), one in the import folder already, or a
// ZIP (the command's own alert says it too).
TEST(Import, APackageWithoutTheModelFolderHoldsNothingToImport)
{
	testsupport::TempDir dir;
	testsupport::WriteFile(dir / "Loose/3ds/Terreng.3ds", "a layer outside its folder");
	std::string err;
	ASSERT_EQ(RunLine(dir, "cd '" + dir.Path() + "/Loose' && zip -q -r ../Tom.zip 3ds", err), 0) << err;
	const struct { const char* name; std::string package, home; } cases[] = {
		{"folder elsewhere", dir / "Kart", dir / "home1"},
		{"folder in the import folder", dir / "home2/Documents/Velmora/Tom", dir / "home2"},
		{"ZIP", dir / "Tom.zip", dir / "home3"},
	};
	for (const auto& c : cases) {
		SCOPED_TRACE(c.name);
		if (!std::filesystem::exists(c.package)) {
			std::filesystem::create_directories(std::filesystem::path(c.package).parent_path());
			std::filesystem::copy(dir / "Loose", c.package, std::filesystem::copy_options::recursive);
		}
		EXPECT_EQ(RunLine(dir, testsupport::BuildProgram("velmora-host") + " --home '" + c.home + "' import '" +
		                           c.package + "'", err),
		          1);
		EXPECT_NE(err.find("velmora-host: import: " + c.package + " holds nothing to import (no 3D-modell folder)\n"), std::string::npos)
			<< err;
		EXPECT_EQ(err.find("never reached"), std::string::npos) << err;
	}
	EXPECT_FALSE(std::filesystem::exists(dir / "home1/Documents/Velmora/Kart"));
}

// A package that is neither a folder nor a .zip is a bad argument.
TEST(Import, MissingPackageIsABadArgument)
{
	testsupport::TempDir dir;
	std::string err;
	EXPECT_EQ(RunLine(dir, testsupport::BuildProgram("velmora-host") + " --home '" + dir.Path() + "/home' import '" + dir.Path() +
	                       "/none'", err),
	          2);
	EXPECT_NE(err.find("is neither a package folder nor a .zip"), std::string::npos) << err;
}

// A tree list too large for the memory the host may use (its rows, then NUL bytes) fails
// alone: it is reported, and every other file of the package is imported.
TEST(Import, TreeListThatDoesNotFitInMemoryFailsAlone)
{
	if (kAddressSanitizer) GTEST_SKIP() << "the sanitizer's shadow memory does not fit under an address-space limit";
	if (!std::string(VELMORA_LAUNCHER).empty()) GTEST_SKIP() << "an emulator does not run under an address-space limit";
	const std::string limit = "ulimit -v 1048576; "; // 1 GiB; the sample import needs under 400 MiB
	const struct {
		std::uintmax_t bytes;
		const char* report; // which reading step ran out of memory
	} cases[] = {
		{std::uintmax_t{2} << 30, "out of memory for its 2147483648 bytes"}, // the file itself does not fit
		{std::uintmax_t{384} << 20, "does not fit in memory!"},              // the file fits, its table does not
	};
	for (const auto& c : cases) {
		SCOPED_TRACE(c.report);
		testsupport::TempDir dir;
		MakeSample(dir, "home/Documents/Velmora/Kart");
		// Sparse: the NUL bytes take no room on disk.
		std::filesystem::resize_file(dir / "home/Documents/Velmora/Kart/3D-modell/Vegetasjon/Vegetasjon.csv", c.bytes);
		// Imported where it lies: a copy would write the NUL bytes out.
		const nlohmann::json project = RunHost(dir, "import '" + dir.Path() + "/home/Documents/Velmora/Kart'", limit);
		EXPECT_TRUE(project["exceptions"].empty());
		std::vector<std::string> reports;
		for (const auto& r : project["reports"]) reports.push_back(r["text"]);
		const auto told = [&](const std::string& part) {
			return std::count_if(reports.begin(), reports.end(), [&](const std::string& r) { return r.find(part) != std::string::npos; });
		};
		EXPECT_EQ(told(c.report), 1);
		EXPECT_EQ(told("Error: Failed to load ("), 1);
		EXPECT_EQ(told("Internal error"), 0);
		EXPECT_EQ(UndoSteps(project), kSampleSteps);
		std::set<std::string> placed;
		for (const auto& o : Elements(project, "Object")) placed.insert(o["libPart"]);
		for (const char* tree : {"Velmora_Pine_Tree", "Velmora_Spruce_Tree", "Velmora_Birch_Tree", "Velmora_Oak_Tree"})
			EXPECT_EQ(placed.count(tree), 0u) << tree;
		for (const char* part : {"Kart_Vegetasjon", "Kart_Veg", "Velmora_Building", "SurroundingArea"}) EXPECT_EQ(placed.count(part), 1u) << part;
		EXPECT_EQ(Elements(project, "Mesh").size(), 1u);
		EXPECT_EQ(Elements(project, "Text").size(), 2u);
	}
}

// A project name too long for its parts' file names is said once, with how much too long,
// and the ortho photo that cannot take it names the same cause; the rest is imported.
TEST(Import, AProjectNameTooLongForItsPartsIsSaidOnce)
{
	testsupport::TempDir dir;
	const std::string name(250, 'P');   // "_Vegetasjon.gsm" makes the longest part file 265 bytes
	MakeSample(dir, name);
	const nlohmann::json project = RunHost(dir, "import '" + dir.Path() + "/" + name + "'");
	std::vector<std::string> reports;
	for (const auto& r : project["reports"]) reports.push_back(r["text"]);
	const auto told = [&](const std::string& part) {
		return std::count_if(reports.begin(), reports.end(), [&](const std::string& r) { return r.find(part) != std::string::npos; });
	};
	EXPECT_EQ(told("The project's name is 10 bytes too long for the names of its library parts"), 1);
	EXPECT_EQ(told("5 parts are not made"), 1);
	EXPECT_EQ(told("Error creating"), 0);
	EXPECT_EQ(told("APIERR_GENERAL"), 0);
	EXPECT_EQ(told("???"), 0);
	EXPECT_EQ(told("_" + name + ".jpg': that file name is 16 bytes longer than the 255 a file name may have"), 1);
	for (const auto& part : project["libraryParts"]) EXPECT_EQ(part["name"].get<std::string>().find(name), std::string::npos);
	EXPECT_EQ(Elements(project, "Mesh").size(), 1u);
}

// Puts `extra` bytes at the end of the MDATA chunk of a 3DS file written by the sample tools
// (the top chunk ends with it): their headers are written by `write`, and the rest stays a
// hole of NUL bytes that takes no room on disk.
void GrowMeshData(const std::string& path, std::uint32_t extra, const std::function<void(std::fstream&, std::streamoff)>& write)
{
	std::string bytes = testsupport::ReadFile(path);
	const auto u32 = [&](std::size_t at) {
		std::uint32_t v = 0;
		for (int i = 3; i >= 0; --i) v = v << 8 | static_cast<unsigned char>(bytes.at(at + static_cast<std::size_t>(i)));
		return v;
	};
	const auto put32 = [&](std::size_t at, std::uint32_t v) {
		for (int i = 0; i < 4; ++i) bytes.at(at + static_cast<std::size_t>(i)) = static_cast<char>(v >> (8 * i));
	};
	std::size_t mdata = 6;
	while (mdata + 6 <= bytes.size() && !(bytes[mdata] == 0x3D && bytes[mdata + 1] == 0x3D)) mdata += u32(mdata + 2);
	ASSERT_EQ(mdata + u32(mdata + 2), bytes.size()) << "MDATA is not the last chunk";
	put32(2, u32(2) + extra);
	put32(mdata + 2, u32(mdata + 2) + extra);
	std::fstream out(path, std::ios::in | std::ios::out | std::ios::binary | std::ios::trunc);
	out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
	write(out, static_cast<std::streamoff>(bytes.size()));
	ASSERT_TRUE(out.good());
	out.close();
	std::filesystem::resize_file(path, bytes.size() + extra);
}

// A chunk header, little-endian.
std::string ChunkHeader(std::uint16_t id, std::uint32_t length)
{
	std::string h;
	for (int i = 0; i < 2; ++i) h += static_cast<char>(id >> (8 * i));
	for (int i = 0; i < 4; ++i) h += static_cast<char>(length >> (8 * i));
	return h;
}

// A mesh of 512 point arrays of 65535 points each (402 MB, all at 0, 0, 0) after the
// terrain: under 1 GiB the file fits in memory, the points it holds do not.
void AddMeshTooLargeForMemory(const std::string& path)
{
	constexpr std::uint32_t kArrays = 512, kPoints = 0xFFFF, kArray = 6 + 2 + 12 * kPoints;
	constexpr std::uint32_t kMesh = 6 + kArrays * kArray, kObject = 6 + 1 + kMesh;
	GrowMeshData(path, kObject, [&](std::fstream& out, std::streamoff at) {
		out.seekp(at);
		out << ChunkHeader(0x4000, kObject) << '\0' << ChunkHeader(0x4100, kMesh);
		for (std::uint32_t k = 0; k < kArrays; ++k) {
			out.seekp(at + 6 + 1 + 6 + static_cast<std::streamoff>(k) * kArray);
			out << ChunkHeader(0x4110, kArray) << static_cast<char>(kPoints & 0xFF) << static_cast<char>(kPoints >> 8);
		}
	});
}

// A block of 8 million points before the base map's own blocks (64 MB): under 1 GiB the
// file fits in memory, its entities do not.
void AddBlockTooLargeForMemory(const std::string& path)
{
	std::string text = testsupport::ReadFile(path);
	const std::string section = "2\nBLOCKS\n";
	const std::size_t at = text.find(section);
	ASSERT_NE(at, std::string::npos);
	std::string points;
	for (int i = 0; i < (8 << 20); ++i) points += "0\nPOINT\n";
	text.insert(at + section.size(), "0\nBLOCK\n2\nFull\n" + points + "0\nENDBLK\n");
	testsupport::WriteFile(path, text);
}

// Imports the sample with its file `inModel` (in 3D-modell) grown by `grow` under an
// address-space limit. The file's reading runs out of memory: it is named as a file that does
// not fit in memory (once per reading), not as a damaged one (`damaged`), and the import goes
// on with what was read of it.
void ExpectNamedAsNotFittingInMemory(const std::string& inModel, void (*grow)(const std::string&), const std::string& damaged,
                                     int readings)
{
	const std::string limit = "ulimit -v 1048576; "; // 1 GiB; the sample import needs under 300 MiB
	testsupport::TempDir dir;
	MakeSample(dir, "home/Documents/Velmora/Kart");
	const std::string file = dir.Path() + "/home/Documents/Velmora/Kart/3D-modell/" + inModel;
	grow(file);
	const nlohmann::json project = RunHost(dir, "import '" + dir.Path() + "/home/Documents/Velmora/Kart'", limit);
	EXPECT_TRUE(project["exceptions"].empty());
	std::vector<std::string> reports;
	for (const auto& r : project["reports"]) reports.push_back(r["text"]);
	const auto told = [&](const std::string& part) {
		return std::count_if(reports.begin(), reports.end(), [&](const std::string& r) { return r.find(part) != std::string::npos; });
	};
	EXPECT_EQ(told("Error: File (" + file + ") does not fit in memory!"), readings);
	EXPECT_EQ(told(damaged), 0);
	EXPECT_EQ(told("Internal error"), 0);
	EXPECT_EQ(UndoSteps(project), kSampleSteps);
	EXPECT_EQ(Elements(project, "Mesh").size(), 1u);   // the terrain, from what was read
}

#define SKIP_WITHOUT_ADDRESS_LIMIT()                                                                                          \
	if (kAddressSanitizer) GTEST_SKIP() << "the sanitizer's shadow memory does not fit under an address-space limit";        \
	if (!std::string(VELMORA_LAUNCHER).empty()) GTEST_SKIP() << "an emulator does not run under an address-space limit"

// Read for the extent of the import and for the terrain.
TEST(Import, ATerrainThatDoesNotFitInMemoryIsNamedSo)
{
	SKIP_WITHOUT_ADDRESS_LIMIT();
	ExpectNamedAsNotFittingInMemory("3ds/Terreng.3ds", AddMeshTooLargeForMemory, "Error while parsing 3DS File (", 2);
}

// Read for the level lines of the terrain (and then for the 2D drawing, which says so in its own words).
TEST(Import, ABaseMapThatDoesNotFitInMemoryIsNamedSo)
{
	SKIP_WITHOUT_ADDRESS_LIMIT();
	ExpectNamedAsNotFittingInMemory("Basiskart/Alle data.dxf", AddBlockTooLargeForMemory, "Error while parsing DXF File (", 1);
}

} // namespace
