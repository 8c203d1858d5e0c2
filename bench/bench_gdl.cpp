// Generated-part speed: a road layer of 500,000 faces (slabs) and an object layer of a million
// textured vertices (bodies). For each file, in fresh processes taking turns round after round:
//   load      the 3DS file read and parsed (what any import pays first)
//   records   the mesh reader: load plus the GDL mesh records
//   rows      the geometry rows written with our number writer
//   snprintf  the same rows written with snprintf into a row buffer (the plain way)
//   part      the whole part made in the headless host (read, every section, save)
// It prints medians, peak memory, the snprintf/rows ratio with a check that both wrote the
// same bytes, and the part time beside the load time.
//   bench_gdl [--rounds N]        (default 5)
//   bench_gdl --generate DIR      only writes the two layer files into DIR
#include <algorithm>
#include <ctime>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <iostream>
#include <map>
#include <sstream>
#include <string>
#include <vector>

#include <unistd.h>


#include "Gdl/GDLCreator.hpp"
#include "Gdl/GdlScripts.hpp"
#include "Gdl/MeshReader.hpp"
#include "Helpers/BinFileHelper.hpp"
#include "Simple3dslib/Simple3ds.hpp"
#include "sample/Writer3ds.hpp"
#include "FreshProcess.hpp"
#include "vhost/Project.hpp"
#include "vhost/Text.hpp"

namespace {

namespace fs = std::filesystem;

constexpr int kRoadMeshes = 8, kRoadColumns = 125, kRoadRows = 250; // 8 x 62,500 faces
constexpr int kBoxes = 41667, kBoxesPerMesh = 2730;                 // 24 vertices a box, 65,520 a mesh

// Processor time of this process: steadier than the wall clock on a busy machine.
double Now()
{
	timespec t{};
	::clock_gettime(CLOCK_PROCESS_CPUTIME_ID, &t);
	return static_cast<double>(t.tv_sec) + static_cast<double>(t.tv_nsec) / 1e9;
}

void WriteFile(const std::string& path, const std::vector<std::uint8_t>& bytes)
{
	std::ofstream out(path, std::ios::binary);
	out.write(reinterpret_cast<const char*>(bytes.data()), static_cast<std::streamsize>(bytes.size()));
}

// Strips of road surface, two triangles per cell, gently sloping.
void WriteRoad(const std::string& path)
{
	std::vector<sample::Mesh3ds> meshes;
	for (int m = 0; m < kRoadMeshes; ++m) {
		sample::Mesh3ds mesh{"Veg" + std::to_string(m), {}, {}, {}, 0};
		for (int j = 0; j <= kRoadRows; ++j)
			for (int i = 0; i <= kRoadColumns; ++i)
				mesh.points.push_back({12.5f + 0.73f * static_cast<float>(i) + 95.0f * static_cast<float>(m),
				                       3.25f + 1.17f * static_cast<float>(j), 101.3f + 0.013f * static_cast<float>(i + j)});
		for (int j = 0; j < kRoadRows; ++j)
			for (int i = 0; i < kRoadColumns; ++i) {
				const auto v = static_cast<std::uint16_t>(j * (kRoadColumns + 1) + i);
				const auto up = static_cast<std::uint16_t>(v + kRoadColumns + 1);
				mesh.faces.push_back({v, static_cast<std::uint16_t>(v + 1), static_cast<std::uint16_t>(up + 1)});
				mesh.faces.push_back({v, static_cast<std::uint16_t>(up + 1), up});
			}
		meshes.push_back(std::move(mesh));
	}
	WriteFile(path, sample::Write3ds({{"Asfalt", {60, 60, 60}, "asfalt.jpg"}}, meshes));
}

// Boxes of six sides, each side four corners of its own with texture coordinates.
void AddTexturedBox(sample::Mesh3ds& mesh, float x, float y, float z, float dx, float dy, float dz)
{
	const float c[8][3] = {{x, y, z}, {x + dx, y, z}, {x + dx, y + dy, z}, {x, y + dy, z},
	                       {x, y, z + dz}, {x + dx, y, z + dz}, {x + dx, y + dy, z + dz}, {x, y + dy, z + dz}};
	static const int sides[6][4] = {{0, 3, 2, 1}, {4, 5, 6, 7}, {0, 1, 5, 4}, {1, 2, 6, 5}, {2, 3, 7, 6}, {3, 0, 4, 7}};
	static const float uv[4][2] = {{0, 0}, {1, 0}, {1, 1}, {0, 1}};
	for (const auto& side : sides) {
		const auto base = static_cast<std::uint16_t>(mesh.points.size());
		for (int k = 0; k < 4; ++k) {
			mesh.points.push_back({c[side[k]][0], c[side[k]][1], c[side[k]][2]});
			mesh.uvs.push_back({uv[k][0], uv[k][1]});
		}
		mesh.faces.push_back({base, static_cast<std::uint16_t>(base + 1), static_cast<std::uint16_t>(base + 2)});
		mesh.faces.push_back({base, static_cast<std::uint16_t>(base + 2), static_cast<std::uint16_t>(base + 3)});
	}
}

void WriteObjects(const std::string& path)
{
	std::vector<sample::Mesh3ds> meshes;
	for (int first = 0; first < kBoxes; first += kBoxesPerMesh) {
		sample::Mesh3ds mesh{"Objekt" + std::to_string(first), {}, {}, {}, static_cast<int>(meshes.size() % 2)};
		for (int b = first; b < std::min(kBoxes, first + kBoxesPerMesh); ++b)
			AddTexturedBox(mesh, 3.1f * static_cast<float>(b % 200), 2.7f * static_cast<float>(b / 200), 100.25f, 1.3f, 0.6f, 0.9f);
		meshes.push_back(std::move(mesh));
	}
	WriteFile(path, sample::Write3ds({{"Benk", {100, 70, 40}, "tre.jpg"}, {"Stein", {90, 90, 90}, ""}}, meshes));
}

// The rows of AppendGdlGeometry, each printed with snprintf into a 1000-byte buffer.
void SnprintfGeometry(std::string& out, const GdlMeshes& meshes, bool flat, double thickness)
{
	char row[1000];
	auto put = [&](int n) { out.append(row, static_cast<std::size_t>(std::min(n, 999))); out += '\n'; };
	static const char* const frame[] = {"TEVE 0,0,0,0,0!#1", "TEVE 1,0,0,0,0!#2", "TEVE 0,1,0,0,0!#3", "TEVE 0,0,1,0,0!#4", "COOR 1024,-1,-2,-3,-4"};
	for (const auto& records : meshes)
		for (const kivel::GdlMeshMaterialData& r : records) {
			put(r.material == -1 ? std::snprintf(row, sizeof row, "material M_") : std::snprintf(row, sizeof row, "material uMat[%d]", r.material + 1));
			for (const char* f : frame) put(std::snprintf(row, sizeof row, "%s", f));
			if (flat && !r.ISolid()) {
				out += '\n';
				for (const kivel::GdlFace& f : r.faces) {
					const kivel::GdlEdge& e1 = r.edges[static_cast<UInt32>(std::abs(f.edges[0]) - 1)];
					const kivel::GdlEdge& e2 = r.edges[static_cast<UInt32>(std::abs(f.edges[1]) - 1)];
					const kivel::GdlEdge& e3 = r.edges[static_cast<UInt32>(std::abs(f.edges[2]) - 1)];
					const kivel::Coord3DUV& p1 = r.vertices[static_cast<UInt32>((f.edges[0] > 0 ? e1.vertex1 : e1.vertex2) - 1)];
					const kivel::Coord3DUV& p2 = r.vertices[static_cast<UInt32>((f.edges[0] > 0 ? e1.vertex2 : e1.vertex1) - 1)];
					const kivel::Coord3DUV& p3 = r.vertices[static_cast<UInt32>((f.edges[1] > 0 ? e2.vertex2 : e2.vertex1) - 1)];
					put(std::snprintf(row, sizeof row, "SLAB_ 3, %f, %f, %f, %f, %d, %f, %f, %f, %d, %f, %f, %f, %d", thickness, p1.x, p1.y, p1.z,
					                  e1.IsVisible() ? 15 : 10, p2.x, p2.y, p2.z, e2.IsVisible() ? 15 : 10, p3.x, p3.y, p3.z, e3.IsVisible() ? 15 : 10));
				}
				out += '\n';
				continue;
			}
			put(std::snprintf(row, sizeof row, "base"));
			for (const kivel::Coord3DUV& v : r.vertices)
				put(v.hasUV ? std::snprintf(row, sizeof row, "TEVE %f,%f,%f,%f,%f", v.x, v.y, v.z, v.u, v.v)
				            : std::snprintf(row, sizeof row, "VERT %f,%f,%f", v.x, v.y, v.z));
			for (const auto& n : r.normals) put(std::snprintf(row, sizeof row, "VECT %f,%f,%f", n.x, n.y, n.z));
			for (const kivel::GdlEdge& e : r.edges)
				put(std::snprintf(row, sizeof row, "EDGE %d,%d,%d,%d,%d", e.vertex1, e.vertex2, e.face1, e.face2, e.status));
			for (const kivel::GdlFace& f : r.faces)
				put(std::snprintf(row, sizeof row, "PGON 3,%d,0,%d,%d,%d", f.normalIndex, f.edges[0], f.edges[1], f.edges[2]));
			put(std::snprintf(row, sizeof row, "BODY -1"));
			out += '\n';
		}
}

std::uint64_t Hash(const std::string& s)
{
	std::uint64_t h = 1469598103934665603ull;
	for (unsigned char c : s) h = (h ^ c) * 1099511628211ull;
	return h;
}

// One measurement in this (child) process; prints "seconds summary" on stderr.
int Child(const std::string& tool, const std::string& path, bool flat)
{
	const IO::Location file(path.c_str());
	double seconds = 0;
	std::string summary;
	if (tool == "load") {
		const double t = Now();
		std::vector<unsigned char> bytes;
		Simple3dsScene scene;
		if (ReadBinaryData(bytes, file) != NoError || !Simple3ds::LoadSceneFromMemory(scene, bytes)) return 1;
		seconds = Now() - t;
		summary = std::to_string(scene.meshes.size()) + " meshes";
	} else if (tool == "records" || tool == "rows" || tool == "snprintf") {
		kivel::MeshReader reader(file);
		double t = Now();
		if (reader.Read() != 0) return 1;
		if (tool == "records") {
			seconds = Now() - t;
			std::size_t faces = 0;
			for (const auto& records : reader.GetMeshes())
				for (const auto& r : records) faces += r.faces.GetSize();
			summary = std::to_string(faces) + " faces";
		} else {
			std::string text;
			text.reserve(200u << 20); // both writers start with room enough
			t = Now();
			if (tool == "rows") {
				ScriptText out;
				out.Reserve(text.capacity());
				AppendGdlGeometry(out, reader.GetMeshes(), flat, -0.1);
				text = out.Take();
			} else {
				SnprintfGeometry(text, reader.GetMeshes(), flat, -0.1);
			}
			seconds = Now() - t;
			summary = std::to_string(text.size()) + " bytes #" + std::to_string(Hash(text));
		}
	} else if (tool == "part") {
		const fs::path root = fs::temp_directory_path() / ("bench_gdl_host_" + std::to_string(::getpid()));
		vhost::Reset(root.u8string(), "");
		CGDLCreator creator(file, 1, 2, 3, 4, 5, flat, -0.1);
		API_LibPart part = {};
		const std::u16string name = u"Bench";
		std::copy(name.begin(), name.end(), part.docu_UName);
		API_Box3D box = {0, 0, 0, 1000, 1000, 10};
		const double t = Now();
		const GSErrCode err = creator.CreateLibpart(&part, &box);
		seconds = Now() - t;
		std::error_code ec;
		fs::remove_all(root, ec);
		if (err != NoError) return 1;
		summary = "index " + std::to_string(part.index);
	} else {
		return 2;
	}
	std::fprintf(stderr, "%.6f %s\n", seconds, summary.c_str());
	return 0;
}

struct Sample {
	double seconds = 0, peakMB = 0;
	std::string summary;
};

// One run of a tool in a fresh process; its figures come on standard error (the 3DS trace
// goes to standard output, which is dropped).
Sample RunChild(const std::string& self, const std::string& tool, const std::string& path, bool flat)
{
	const bench::Spawned run = bench::Spawn({self, "--child", tool, path, flat ? "1" : "0"}, 2, true);
	if (!run.ok) {
		std::cerr << tool << " failed on " << path << ": " << run.text << "\n";
		std::exit(1);
	}
	Sample s;
	std::istringstream in(run.text);
	in >> s.seconds;
	std::getline(in >> std::ws, s.summary);
	s.peakMB = run.peakMB;
	return s;
}

} // namespace

int main(int argc, char** argv)
{
	if (argc == 5 && std::string(argv[1]) == "--child") return Child(argv[2], argv[3], std::string(argv[4]) == "1");
	if (argc == 3 && std::string(argv[1]) == "--generate") { // only the layer files, into a folder
		fs::create_directories(argv[2]);
		WriteRoad((fs::path(argv[2]) / "road.3ds").u8string());
		WriteObjects((fs::path(argv[2]) / "objects.3ds").u8string());
		return 0;
	}
	int rounds = 5;
	if (argc == 3 && std::string(argv[1]) == "--rounds") rounds = std::max(1, std::atoi(argv[2]));
	const std::string self = fs::canonical("/proc/self/exe").u8string();
	const fs::path dir = fs::temp_directory_path() / ("bench_gdl_" + std::to_string(::getpid()));
	fs::create_directories(dir);
	// Written by a child: a child's peak memory counts what this process holds when it
	// starts one, so this process stays small.
	if (!bench::Spawn({self, "--generate", dir.u8string()}).ok) {
		std::fprintf(stderr, "bench_gdl: cannot write the layers in %s\n", dir.u8string().c_str());
		return 1;
	}
	struct Layer {
		const char* name;
		bool flat;
	};
	const Layer layers[] = {{"road.3ds", true}, {"objects.3ds", false}};
	const char* const tools[] = {"load", "records", "rows", "snprintf", "part"};
	int failures = 0;
	for (const Layer& layer : layers) {
		const std::string path = (dir / layer.name).u8string();
		std::map<std::string, std::vector<double>> seconds, peak;
		std::map<std::string, std::string> summary;
		for (int r = 0; r < rounds; ++r)
			for (const char* tool : tools) {
				const Sample s = RunChild(self, tool, path, layer.flat);
				seconds[tool].push_back(s.seconds);
				peak[tool].push_back(s.peakMB);
				summary[tool] = s.summary;
			}
		std::printf("%s (%.1f MB, %s form), %d rounds, fresh process per run, median processor seconds:\n", layer.name,
		            static_cast<double>(fs::file_size(path)) / 1e6, layer.flat ? "slab" : "body", rounds);
		for (const char* tool : tools)
			std::printf("  %-9s %8.3f s  peak %7.1f MB  %s\n", tool, bench::Median(seconds[tool]), bench::Median(peak[tool]), summary[tool].c_str());
		const bool same = summary["rows"] == summary["snprintf"];
		failures += same ? 0 : 1;
		std::printf("  rows: snprintf/ours = %.2f (goal 4 or more), output %s\n", bench::Median(seconds["snprintf"]) / bench::Median(seconds["rows"]),
		            same ? "byte-identical" : "DIFFERENT");
		std::printf("  part/load = %.2f, records/load = %.2f\n", bench::Median(seconds["part"]) / bench::Median(seconds["load"]),
		            bench::Median(seconds["records"]) / bench::Median(seconds["load"]));
	}
	std::error_code ec;
	fs::remove_all(dir, ec);
	std::fflush(stdout);
	return failures == 0 ? 0 : 1;
}
