#include "SamplePackage.hpp"

#include <cmath>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <vector>

#include <jpeglib.h>
#include <unistd.h>

#include "Writer3ds.hpp"
#include "Zip.hpp"

namespace sample {

namespace fs = std::filesystem;

namespace {

constexpr double HillX = 200, HillY = 150, HillBase = 20, HillRise = 15, HillSpread = 8000;
constexpr double RoadY = 60, RoadHalfWidth = 4;
constexpr double PondX = 320, PondY = 240, PondRadius = 25;

std::string Write(const fs::path& path, const void* data, std::size_t size)
{
	fs::create_directories(path.parent_path());
	std::ofstream out(path, std::ios::binary);
	out.write(static_cast<const char*>(data), static_cast<std::streamsize>(size));
	return out ? "" : "cannot write " + path.u8string();
}

std::string Write(const fs::path& path, const std::string& text) { return Write(path, text.data(), text.size()); }
std::string Write(const fs::path& path, const std::vector<std::uint8_t>& bytes) { return Write(path, bytes.data(), bytes.size()); }

float F(double v) { return static_cast<float>(v); }

Mesh3ds TerrainMesh(int grid)
{
	Mesh3ds m{"Terreng", {}, {}, {}, 0};
	for (int j = 0; j < grid; ++j)
		for (int i = 0; i < grid; ++i) {
			const double x = AreaWidth * i / (grid - 1), y = AreaDepth * j / (grid - 1);
			m.points.push_back({F(x), F(y), F(TerrainHeight(x, y))});
			m.uvs.push_back({F(x / AreaWidth), F(y / AreaDepth)});
		}
	for (int j = 0; j + 1 < grid; ++j)
		for (int i = 0; i + 1 < grid; ++i) {
			const auto a = static_cast<std::uint32_t>(j * grid + i);
			const std::uint32_t b = a + 1, c = a + static_cast<std::uint32_t>(grid), d = c + 1;
			m.faces.push_back({a, b, d});
			m.faces.push_back({a, d, c});
		}
	return m;
}

// A strip along y = RoadY, just above the terrain.
Mesh3ds RoadMesh(int grid)
{
	Mesh3ds m{"Veg", {}, {}, {}, 0};
	const int n = grid;
	for (int i = 0; i < n; ++i) {
		const double x = 20 + (AreaWidth - 40) * i / (n - 1);
		for (double side : {-RoadHalfWidth, RoadHalfWidth})
			m.points.push_back({F(x), F(RoadY + side), F(TerrainHeight(x, RoadY + side) + 0.1)});
	}
	for (int i = 0; i + 1 < n; ++i) {
		const auto a = static_cast<std::uint32_t>(2 * i);
		m.faces.push_back({a, a + 2, a + 3});
		m.faces.push_back({a, a + 3, a + 1});
	}
	return m;
}

// A flat round pond.
Mesh3ds WaterMesh(int grid)
{
	Mesh3ds m{"Vann", {}, {}, {}, 0};
	const float z = F(TerrainHeight(PondX, PondY) - 0.5);
	m.points.push_back({F(PondX), F(PondY), z});
	const int n = std::max(8, grid);
	for (int i = 0; i < n; ++i) {
		const double a = 2 * M_PI * i / n;
		m.points.push_back({F(PondX + PondRadius * std::cos(a)), F(PondY + PondRadius * std::sin(a)), z});
	}
	for (int i = 0; i < n; ++i)
		m.faces.push_back({0, static_cast<std::uint32_t>(1 + i), static_cast<std::uint32_t>(1 + (i + 1) % n)});
	return m;
}

// Boxes standing on the terrain, one mesh (and one material) each.
std::vector<Mesh3ds> Buildings(int grid, std::vector<Material3ds>& materials)
{
	std::vector<Mesh3ds> meshes;
	const int count = std::max(3, grid / 4);
	for (int k = 0; k < count; ++k) {
		const double x = 40 + (AreaWidth - 80) * k / std::max(1, count - 1), y = 100 + 30 * (k % 3);
		const double z = TerrainHeight(x, y) - 0.5, height = 6 + 3 * (k % 4);
		materials.push_back({"Bygning " + std::to_string(k + 1), {static_cast<std::uint8_t>(150 + 10 * (k % 8)), 90, 70}, ""});
		Mesh3ds m{"Bygning" + std::to_string(k + 1), {}, {}, {}, static_cast<int>(materials.size() - 1)};
		AddBox(m, F(x - 6), F(y - 4), F(z), F(x + 6), F(y + 4), F(z + height));
		meshes.push_back(m);
	}
	return meshes;
}

// Thin boxes along lines: fences (0.1 m wide) or hedges (1 m wide), a line holding
// kRowPieces of them; further lines lie `step` apart in y.
constexpr int kRowPieces = 34, kObjectsInRow = 12;

Mesh3ds Row(const char* name, double y0, double step, double width, double height, int pieces)
{
	Mesh3ds m{name, {}, {}, {}, 0};
	for (int k = 0; k < pieces; ++k) {
		const double x = 30 + 10.0 * (k % kRowPieces), y = y0 + step * (k / kRowPieces);
		const double z = TerrainHeight(x + 4, y);
		AddBox(m, F(x), F(y), F(z - 0.2), F(x + 8), F(y + width), F(z + height));
	}
	return m;
}

Mesh3ds Objects(int grid)
{
	Mesh3ds m{"Objekter", {}, {}, {}, 0};
	for (int k = 0; k < std::max(4, grid / 3); ++k) {
		const double x = 60 + 25.0 * (k % kObjectsInRow), y = 200 + 2.0 * (k / kObjectsInRow);
		const double z = TerrainHeight(x, y);
		AddBox(m, F(x), F(y), F(z), F(x + 2), F(y + 0.6), F(z + 0.8));
	}
	return m;
}

std::vector<std::uint8_t> Layer(const Mesh3ds& mesh, const char* material, std::array<std::uint8_t, 3> colour)
{
	return Write3ds({{material, colour, ""}}, {mesh});
}

// The level line of height `level` of the hill: a circle.
double LevelRadius(double level) { return std::sqrt(-HillSpread * std::log((level - HillBase) / HillRise)); }

// The fractional part of k times an irrational step: points spread evenly over [0, 1).
double Spread(int k, double step) { return std::fmod(k * step, 1.0); }

// Fills the base map's entities up to about `bytes`: in turns a level line of 360 points at
// a height between the whole ones (a fifth of the bytes) and house outlines on layer "0",
// every fourth with its number on "Tekst".
template <typename Pair>
void AddBulk(std::ostringstream& d, Pair pair, std::size_t bytes)
{
	constexpr int kLinePoints = 360;
	int line = 0, house = 0;
	const auto size = [&d] { return static_cast<std::size_t>(d.tellp()); };
	while (size() < bytes) {
		const std::size_t start = size();
		const double level = 20.5 + 14 * Spread(line++, 0.6180339887), r = LevelRadius(level);
		pair(0, "LWPOLYLINE"); pair(8, "høydekurve"); pair(90, kLinePoints); pair(70, 1); pair(38, level);
		for (int i = 0; i < kLinePoints; ++i) {
			const double a = 2 * M_PI * i / kLinePoints;
			pair(10, HillX + r * std::cos(a)); pair(20, HillY + r * std::sin(a));
		}
		for (const std::size_t end = std::min(bytes, size() + 4 * (size() - start)); size() < end;) {
			const double x = 10 + 370 * Spread(house, 0.7548776662), y = 10 + 280 * Spread(house, 0.5698402910);
			pair(0, "LWPOLYLINE"); pair(8, "0"); pair(90, 4); pair(70, 1);
			for (const auto& [dx, dy] : {std::pair{0.0, 0.0}, {8.0, 0.0}, {8.0, 6.0}, {0.0, 6.0}}) { pair(10, x + dx); pair(20, y + dy); }
			if (house % 4 == 0) {
				pair(0, "TEXT"); pair(8, "Tekst"); pair(10, x + 1); pair(20, y + 1); pair(30, 0.0); pair(40, 2.0);
				pair(1, std::to_string(house + 1));
			}
			++house;
		}
	}
}

std::string Dxf(int grid, std::size_t bytes)
{
	std::ostringstream d;
	d.precision(10);
	auto pair = [&d](int code, const auto& value) { d << code << "\n" << value << "\n"; };
	pair(0, "SECTION"); pair(2, "HEADER");
	pair(9, "$ACADVER"); pair(1, "AC1027");
	pair(9, "$EXTMIN"); pair(10, 0.0); pair(20, 0.0); pair(30, HillBase);
	pair(9, "$EXTMAX"); pair(10, AreaWidth); pair(20, AreaDepth); pair(30, HillBase + HillRise);
	pair(0, "ENDSEC");
	pair(0, "SECTION"); pair(2, "TABLES");
	pair(0, "TABLE"); pair(2, "LTYPE"); pair(70, 1);
	pair(0, "LTYPE"); pair(2, "CONTINUOUS"); pair(70, 0); pair(3, "Solid line"); pair(72, 65); pair(73, 0); pair(40, 0.0);
	pair(0, "ENDTAB");
	const char* layers[] = {"0", "høydekurve", "Veg", "Tekst", "Vegetasjon"};
	pair(0, "TABLE"); pair(2, "LAYER"); pair(70, 5);
	for (int i = 0; i < 5; ++i) { pair(0, "LAYER"); pair(2, layers[i]); pair(70, 0); pair(62, i + 1); pair(6, "CONTINUOUS"); }
	pair(0, "ENDTAB");
	pair(0, "ENDSEC");
	pair(0, "SECTION"); pair(2, "BLOCKS");
	pair(0, "BLOCK"); pair(8, "0"); pair(2, "TRE"); pair(70, 0); pair(10, 0.0); pair(20, 0.0); pair(30, 0.0);
	pair(0, "CIRCLE"); pair(8, "Vegetasjon"); pair(10, 0.0); pair(20, 0.0); pair(30, 0.0); pair(40, 2.0);
	pair(0, "ENDBLK");
	pair(0, "BLOCK"); pair(8, "0"); pair(2, "TREGRUPPE"); pair(70, 0); pair(10, 0.0); pair(20, 0.0); pair(30, 0.0);
	for (int k = 0; k < 3; ++k) {
		pair(0, "INSERT"); pair(8, "Vegetasjon"); pair(2, "TRE"); pair(10, 5.0 * k); pair(20, 0.0); pair(30, 0.0);
		pair(41, 1.0); pair(42, 1.0); pair(43, 1.0);
	}
	pair(0, "ENDBLK");
	pair(0, "ENDSEC");

	pair(0, "SECTION"); pair(2, "ENTITIES");
	const int points = std::max(12, 2 * grid);
	for (int level = 22; level <= 34; level += 2) {
		const double r = LevelRadius(level);
		if (level <= 28) { // 3D polylines
			pair(0, "POLYLINE"); pair(8, "høydekurve"); pair(66, 1); pair(10, 0.0); pair(20, 0.0); pair(30, 0.0); pair(70, 9);
			for (int i = 0; i < points; ++i) {
				const double a = 2 * M_PI * i / points;
				pair(0, "VERTEX"); pair(8, "høydekurve");
				pair(10, HillX + r * std::cos(a)); pair(20, HillY + r * std::sin(a)); pair(30, static_cast<double>(level)); pair(70, 32);
			}
			pair(0, "SEQEND"); pair(8, "høydekurve");
		} else { // light polylines with elevation
			pair(0, "LWPOLYLINE"); pair(8, "høydekurve"); pair(90, points); pair(70, 1); pair(38, static_cast<double>(level));
			for (int i = 0; i < points; ++i) {
				const double a = 2 * M_PI * i / points;
				pair(10, HillX + r * std::cos(a)); pair(20, HillY + r * std::sin(a));
			}
		}
	}
	for (double side : {-RoadHalfWidth, RoadHalfWidth}) {
		pair(0, "LINE"); pair(8, "Veg");
		pair(10, 20.0); pair(20, RoadY + side); pair(30, 0.0); pair(11, AreaWidth - 20); pair(21, RoadY + side); pair(31, 0.0);
	}
	// A turning place at the road's east end.
	pair(0, "ARC"); pair(8, "Veg"); pair(10, AreaWidth - 20); pair(20, RoadY); pair(30, 0.0); pair(40, RoadHalfWidth);
	pair(50, -90.0); pair(51, 90.0);
	pair(0, "TEXT"); pair(8, "Tekst"); pair(10, 150.0); pair(20, 65.0); pair(30, 0.0); pair(40, 3.0); pair(1, "Storgata");
	pair(0, "TEXT"); pair(8, "Tekst"); pair(10, 300.0); pair(20, 270.0); pair(30, 0.0); pair(40, 3.0); pair(1, "Dammen");
	pair(0, "INSERT"); pair(8, "Vegetasjon"); pair(2, "TREGRUPPE"); pair(10, 60.0); pair(20, 250.0); pair(30, 0.0);
	pair(41, 1.0); pair(42, 1.0); pair(43, 1.0);
	AddBulk(d, pair, bytes);
	pair(0, "ENDSEC");
	pair(0, "EOF");
	return d.str();
}

// The surroundings model. We cannot write SketchUp files; the headless host's model-import
// add-on reads this stand-in instead and places the objects it names.
std::string SurroundingsModel() { return "VHOST-MODEL 1\nobjects 1\n"; }

std::string AreaJson()
{
	std::ostringstream a;
	a << "{\"type\": \"Polygon\", \"coordinates\": [[[0, 0], [" << AreaWidth << ", 0], [" << AreaWidth << ", " << AreaDepth
	  << "], [0, " << AreaDepth << "], [0, 0]]]}\n";
	return a.str();
}

std::string LocalOrigin()
{
	return "Lokalt nullpunkt for kartdata\n"
	       "Koordinatsystem: EUREF89 UTM sone 32\n"
	       "Nord: 6650000.000\n"
	       "Øst: 598000.000\n"
	       "Høydesystem: NN2000\n"
	       "Kartprojeksjon: UTM\n"
	       "Sone: 32\n"
	       "Global lat: 59.9786\n"
	       "Global lon: 10.7296\n"
	       "Globalt nullpunkt øst: 598000.000\n"
	       "Globalt nullpunkt nord: 6650000.000\n";
}

std::string TreeList(int count)
{
	static const char* const kinds[] = {"furu", "gran", "bjork", "eik", "lønn"};
	std::ostringstream t;
	t << "x,y,z,tre_diameter,tre_hoyde,tre_størrelse,tre_type,tre_type_tekst,kommentar\n";
	for (int k = 0; k < count; ++k) {
		const double x = 20 + (k * 37) % 360, y = 220 + (k * 13) % 70;
		t << x << "," << y << "," << TerrainHeight(x, y) << "," << 3 + k % 4 << "," << 8 + k % 10 << ",middels," << 1 + k % 5 << ","
		  << kinds[k % 5] << ",\"tre nr " << k + 1 << ", registrert\"\n";
	}
	return t.str();
}

// A gradient picture of the area, `w` by `h` pixels.
std::string WriteJpeg(const fs::path& path, int w, int h)
{
	fs::create_directories(path.parent_path());
	std::FILE* out = std::fopen(path.c_str(), "wb");
	if (out == nullptr) return "cannot write " + path.u8string();
	jpeg_compress_struct cinfo;
	jpeg_error_mgr jerr;
	cinfo.err = jpeg_std_error(&jerr);
	jpeg_create_compress(&cinfo);
	jpeg_stdio_dest(&cinfo, out);
	cinfo.image_width = static_cast<JDIMENSION>(w);
	cinfo.image_height = static_cast<JDIMENSION>(h);
	cinfo.input_components = 3;
	cinfo.in_color_space = JCS_RGB;
	jpeg_set_defaults(&cinfo);
	jpeg_set_quality(&cinfo, 85, TRUE);
	jpeg_start_compress(&cinfo, TRUE);
	std::vector<JSAMPLE> row(static_cast<std::size_t>(3 * w));
	for (int y = 0; y < h; ++y) {
		for (int x = 0; x < w; ++x) {
			const double height = TerrainHeight(AreaWidth * x / w, AreaDepth * (h - 1 - y) / h);
			const auto g = static_cast<JSAMPLE>(80 + 8 * (height - HillBase));
			row[3 * x] = static_cast<JSAMPLE>(g / 2);
			row[3 * x + 1] = g;
			row[3 * x + 2] = static_cast<JSAMPLE>(g / 3);
		}
		JSAMPROW rows[] = {row.data()};
		jpeg_write_scanlines(&cinfo, rows, 1);
	}
	jpeg_finish_compress(&cinfo);
	jpeg_destroy_compress(&cinfo);
	return std::fclose(out) == 0 ? "" : "cannot write " + path.u8string();
}

} // namespace

double TerrainHeight(double x, double y)
{
	const double dx = x - HillX, dy = y - HillY;
	return HillBase + HillRise * std::exp(-(dx * dx + dy * dy) / HillSpread);
}

std::string MakeProjectFolder(const std::string& folder, const PackageOptions& o)
{
	if (o.grid < 2 || o.grid > MaxGrid) return "the grid must be 2 to " + std::to_string(MaxGrid) + " points a side";
	if (o.trees < 0) return "the number of trees must not be negative";
	const fs::path root = fs::u8path(folder);
	if (fs::exists(root)) return folder + " exists already";
	const fs::path model = root / "3D-modell";
	const fs::path layers = model / "3ds";
	std::vector<Material3ds> buildingMaterials;
	const std::vector<Mesh3ds> buildings = Buildings(o.grid, buildingMaterials);
	const std::pair<fs::path, std::vector<std::uint8_t>> files3ds[] = {
		{layers / "Terreng.3ds", Write3ds({{"Terreng", {120, 160, 80}, "ortofoto.jpg"}}, {TerrainMesh(o.grid)})},
		{layers / "Bygning.3ds", Write3ds(buildingMaterials, buildings)},
		{layers / "Veg.3ds", Layer(RoadMesh(o.grid), "Asfalt", {60, 60, 60})},
		{layers / "Gjerder.3ds", Layer(Row("Gjerde", 40, -2, 0.1, 1.2, std::max(4, o.grid / 2)), "Tre", {140, 100, 60})},
		{layers / "Objekter.3ds", Layer(Objects(o.grid), "Benk", {100, 70, 40})},
		{layers / "Vann.3ds", Layer(WaterMesh(o.grid), "Vann", {40, 90, 200})},
		{layers / (o.hedgeName ? "Hekk.3ds" : "Vegetasjon.3ds"), Layer(Row("Hekk", 280, -3, 1.0, 1.5, std::max(4, o.grid / 2)), "Hekk", {40, 120, 40})},
	};
	for (const auto& f : files3ds)
		if (std::string e = Write(f.first, f.second); !e.empty()) return e;
	const std::pair<fs::path, std::string> texts[] = {
		{model / "Basiskart" / "Alle data.dxf", Dxf(o.grid, o.baseMapBytes)},
		{model / "Area.json", AreaJson()},
		{model / "Lokalt nullpunkt.txt", LocalOrigin()},
		{model / "Vegetasjon" / "Vegetasjon.csv", TreeList(o.trees > 0 ? o.trees : std::max(10, o.grid))},
		{model / "Visualiseringsterreng" / "Visualiseringsterreng_med_bygg.skp", SurroundingsModel()},
	};
	for (const auto& t : texts)
		if (std::string e = Write(t.first, t.second); !e.empty()) return e;
	// The name tells the picture's ground size: 400 m by 300 m.
	return WriteJpeg(model / "Ortofoto" / "Ortofoto_SCALE_1000_X400000MM_Y300000MM.jpg", 4 * o.grid, 3 * o.grid);
}

std::string MakeProjectZip(const std::string& zipPath, const PackageOptions& options)
{
	const fs::path staging = fs::temp_directory_path() / ("velmora-sample-" + std::to_string(::getpid()));
	fs::remove_all(staging);
	std::string error = MakeProjectFolder(staging.string(), options);
	if (error.empty()) error = ZipFolder(staging.string(), zipPath);
	fs::remove_all(staging);
	return error;
}

} // namespace sample
