// Loads generated base maps (about 10 MB and 100 MB) from memory with our DXF reader, with
// libdime and with dxflib, and prints the times and the ratios. The maps are written at run
// time into a temporary folder and removed afterwards.
//   bench_dxf [MB ...]    (default: 10 100)
#include <algorithm>
#include <chrono>
#include <cstdarg>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <functional>
#include <sstream>
#include <string>
#include <vector>

#include <dime/Input.h>
#include <dime/Model.h>
#include <dxflib/dl_creationadapter.h>
#include <dxflib/dl_dxf.h>

#include "SimpleDxflib/SimpleDxf.hpp"

namespace {

// ---- the generator ---------------------------------------------------------------------

class Writer {
public:
	void Pair(int code, const char* value) { Printf("%3d\n%s\n", code, value); }
	void Pair(int code, double value) { Printf("%3d\n%.3f\n", code, value); }
	void Pair(int code, int value) { Printf("%3d\n%d\n", code, value); }
	void Printf(const char* format, ...) __attribute__((format(printf, 2, 3)))
	{
		char line[256];
		va_list args;
		va_start(args, format);
		const int n = std::vsnprintf(line, sizeof line, format, args);
		va_end(args);
		text.append(line, static_cast<std::size_t>(std::min(n, static_cast<int>(sizeof line) - 1)));
	}
	std::string text;
};

// A small deterministic random walk, so every run writes the same map.
struct Walk {
	unsigned state = 12345;
	double Next(double spread)
	{
		state = state * 1103515245u + 12345u;
		return (static_cast<double>((state >> 8) & 0xFFFF) / 65535.0 - 0.5) * spread;
	}
};

void WriteBlocks(Writer& w)
{
	w.Pair(0, "SECTION");
	w.Pair(2, "BLOCKS");
	auto block = [&](const char* name, const std::function<void()>& body) {
		w.Pair(0, "BLOCK"); w.Pair(8, "0"); w.Pair(2, name); w.Pair(70, 0);
		w.Pair(10, 0.0); w.Pair(20, 0.0); w.Pair(30, 0.0);
		body();
		w.Pair(0, "ENDBLK"); w.Pair(8, "0");
	};
	block("TRE", [&] {
		w.Pair(0, "CIRCLE"); w.Pair(8, "Vegetasjon"); w.Pair(10, 0.0); w.Pair(20, 0.0); w.Pair(30, 0.0); w.Pair(40, 2.5);
		w.Pair(0, "LINE"); w.Pair(8, "Vegetasjon"); w.Pair(10, -1.0); w.Pair(20, 0.0); w.Pair(30, 0.0);
		w.Pair(11, 1.0); w.Pair(21, 0.0); w.Pair(31, 0.0);
	});
	block("KUM", [&] {
		w.Pair(0, "INSERT"); w.Pair(8, "Kum"); w.Pair(2, "TRE"); w.Pair(10, 0.0); w.Pair(20, 0.0); w.Pair(30, 0.0);
		w.Pair(0, "ARC"); w.Pair(8, "Kum"); w.Pair(10, 0.0); w.Pair(20, 0.0); w.Pair(30, 0.0); w.Pair(40, 1.0);
		w.Pair(50, 0.0); w.Pair(51, 180.0);
	});
	block("GRUPPE", [&] {
		for (int i = 0; i < 3; ++i) {
			w.Pair(0, "INSERT"); w.Pair(8, "0"); w.Pair(2, "KUM"); w.Pair(10, i * 4.0); w.Pair(20, 0.0); w.Pair(30, 0.0);
		}
	});
	w.Pair(0, "ENDSEC");
}

// One tile of the map: a 3D POLYLINE and an LWPOLYLINE level line, lines, texts, inserts.
void WriteTile(Writer& w, Walk& walk, int tile)
{
	const double x0 = 597000.0 + (tile % 100) * 100.0, y0 = 6643000.0 + (tile / 100) * 100.0;
	const double z = 100.0 + (tile % 50);
	w.Pair(0, "POLYLINE"); w.Pair(8, "H\xC3\xB8ydekurve"); w.Pair(66, 1); w.Pair(10, 0.0); w.Pair(20, 0.0); w.Pair(30, 0.0);
	w.Pair(70, 8);
	for (int i = 0; i < 60; ++i) {
		w.Pair(0, "VERTEX"); w.Pair(8, "H\xC3\xB8ydekurve");
		w.Pair(10, x0 + i * 1.5 + walk.Next(1)); w.Pair(20, y0 + walk.Next(40)); w.Pair(30, z); w.Pair(70, 32);
	}
	w.Pair(0, "SEQEND"); w.Pair(8, "H\xC3\xB8ydekurve");
	w.Pair(0, "LWPOLYLINE"); w.Pair(8, "H\xC3\xB8ydekurve"); w.Pair(90, 60); w.Pair(70, 0); w.Pair(38, z + 0.5);
	for (int i = 0; i < 60; ++i) {
		w.Pair(10, x0 + i * 1.5 + walk.Next(1)); w.Pair(20, y0 + 50 + walk.Next(40));
	}
	for (int i = 0; i < 20; ++i) {
		w.Pair(0, "LINE"); w.Pair(8, "Vegkant");
		w.Pair(10, x0 + walk.Next(100)); w.Pair(20, y0 + walk.Next(100)); w.Pair(30, 0.0);
		w.Pair(11, x0 + walk.Next(100)); w.Pair(21, y0 + walk.Next(100)); w.Pair(31, 0.0);
	}
	for (int i = 0; i < 4; ++i) {
		w.Pair(0, "TEXT"); w.Pair(8, "Tekst"); w.Pair(10, x0 + walk.Next(100)); w.Pair(20, y0 + walk.Next(100));
		w.Pair(30, 0.0); w.Pair(40, 2.0); w.Pair(1, "M\xC3\xB8lledammen");
	}
	for (const char* name : {"TRE", "KUM", "GRUPPE"}) {
		w.Pair(0, "INSERT"); w.Pair(8, "Vegetasjon"); w.Pair(2, name);
		w.Pair(10, x0 + walk.Next(100)); w.Pair(20, y0 + walk.Next(100)); w.Pair(30, 0.0);
		w.Pair(41, 1.0); w.Pair(42, 1.0); w.Pair(43, 1.0);
	}
}

std::string GenerateMap(std::size_t targetBytes)
{
	Writer w;
	w.text.reserve(targetBytes + (1 << 20));
	w.Pair(0, "SECTION"); w.Pair(2, "HEADER");
	w.Pair(9, "$ACADVER"); w.Pair(1, "AC1009");
	w.Pair(9, "$EXTMIN"); w.Pair(10, 597000.0); w.Pair(20, 6643000.0); w.Pair(30, 0.0);
	w.Pair(9, "$EXTMAX"); w.Pair(10, 607000.0); w.Pair(20, 6653000.0); w.Pair(30, 200.0);
	w.Pair(0, "ENDSEC");
	w.Pair(0, "SECTION"); w.Pair(2, "TABLES"); w.Pair(0, "TABLE"); w.Pair(2, "LAYER"); w.Pair(70, 6);
	for (const char* layer : {"0", "H\xC3\xB8ydekurve", "Vegkant", "Tekst", "Vegetasjon", "Kum"}) {
		w.Pair(0, "LAYER"); w.Pair(2, layer); w.Pair(70, 0); w.Pair(62, 7); w.Pair(6, "CONTINUOUS");
	}
	w.Pair(0, "ENDTAB"); w.Pair(0, "ENDSEC");
	WriteBlocks(w);
	w.Pair(0, "SECTION"); w.Pair(2, "ENTITIES");
	Walk walk;
	for (int tile = 0; w.text.size() < targetBytes; ++tile) WriteTile(w, walk, tile);
	w.Pair(0, "ENDSEC");
	w.Pair(0, "EOF");
	return std::move(w.text);
}

// ---- the peers -------------------------------------------------------------------------

// dxflib hands every entity to callbacks; this one counts them, which is less work than
// building a model the way our reader and libdime do.
class CountingAdapter : public DL_CreationAdapter {
public:
	void addLine(const DL_LineData&) override { ++count; }
	void addPolyline(const DL_PolylineData&) override { ++count; }
	void addVertex(const DL_VertexData&) override { ++count; }
	void addText(const DL_TextData&) override { ++count; }
	void addInsert(const DL_InsertData&) override { ++count; }
	void addCircle(const DL_CircleData&) override { ++count; }
	void addArc(const DL_ArcData&) override { ++count; }
	long count = 0;
};

long LoadOurs(const std::vector<unsigned char>& bytes)
{
	SimpleDxf::SimpleDxf dxf;
	if (!dxf.LoadSceneFromMemory(bytes)) {
		std::fprintf(stderr, "our reader failed: %s\n", dxf.error.c_str());
		std::exit(1);
	}
	return static_cast<long>(dxf.entities->size());
}

long LoadDime(const std::vector<unsigned char>& bytes)
{
	FILE* memory = fmemopen(const_cast<unsigned char*>(bytes.data()), bytes.size(), "rb");
	dimeInput in;
	in.setFileHandle(memory);
	dimeModel model;
	const bool ok = model.read(&in);
	std::fclose(memory);
	if (!ok) {
		std::fprintf(stderr, "libdime failed\n");
		std::exit(1);
	}
	return model.getNumLayers();
}

long LoadDxflib(const std::vector<unsigned char>& bytes)
{
	std::istringstream stream(std::string(bytes.begin(), bytes.end()));
	CountingAdapter adapter;
	DL_Dxf dxf;
	if (!dxf.in(stream, &adapter)) {
		std::fprintf(stderr, "dxflib failed\n");
		std::exit(1);
	}
	return adapter.count;
}

// Best of a few runs, in seconds.
double Time(const std::function<long()>& load, int runs)
{
	double best = 1e30;
	for (int i = 0; i < runs; ++i) {
		const auto start = std::chrono::steady_clock::now();
		volatile long sink = load();
		(void)sink;
		best = std::min(best, std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count());
	}
	return best;
}

void Bench(std::size_t megabytes, const std::filesystem::path& folder)
{
	const std::filesystem::path file = folder / ("basemap-" + std::to_string(megabytes) + "MB.dxf");
	{
		const std::string text = GenerateMap(megabytes << 20);
		std::ofstream(file, std::ios::binary).write(text.data(), static_cast<std::streamsize>(text.size()));
	}
	std::ifstream in(file, std::ios::binary);
	const std::vector<unsigned char> bytes((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
	const int runs = megabytes >= 50 ? 2 : 5;
	const double ours = Time([&] { return LoadOurs(bytes); }, runs);
	const double dime = Time([&] { return LoadDime(bytes); }, runs);
	const double dxflib = Time([&] { return LoadDxflib(bytes); }, runs);
	std::printf("%6.1f MB  ours %8.3f s  libdime %8.3f s  dxflib %8.3f s  |  libdime/ours %5.1fx  dxflib/ours %5.1fx\n",
	            static_cast<double>(bytes.size()) / (1 << 20), ours, dime, dxflib, dime / ours, dxflib / ours);
	std::filesystem::remove(file);
}

} // namespace

int main(int argc, char** argv)
{
	std::vector<std::size_t> sizes;
	for (int i = 1; i < argc; ++i) sizes.push_back(static_cast<std::size_t>(std::atol(argv[i])));
	if (sizes.empty()) sizes = {10, 100};
	char folderTemplate[] = "/tmp/bench_dxf.XXXXXX";
	if (!mkdtemp(folderTemplate)) return 1;
	const std::filesystem::path folder(folderTemplate);
	for (const std::size_t mb : sizes) Bench(mb, folder);
	std::filesystem::remove_all(folder);
	return 0;
}
