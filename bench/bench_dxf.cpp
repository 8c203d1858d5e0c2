// DXF loading: our reader (the whole-file read of an import, then the drawing) against libdime
// and dxflib, each loading from the file in a fresh process. The generated base maps are
// written by dxflib's own writer (R12): 3D POLYLINE level lines, road edges, texts, trees and
// manholes as block inserts, circles and arcs.
//   bench_dxf [--rounds N] [--sizes MB,MB] [--steady] [FILE ...]
#include <cmath>
#include <cstdio>
#include <memory>
#include <string>
#include <vector>

#include <dime/Input.h>
#include <dime/Model.h>
#include <dxflib/dl_creationadapter.h>
#include <dxflib/dl_dxf.h>

#include "FreshProcess.hpp"
#include "Helpers/BinFileHelper.hpp"
#include "Location.hpp"
#include "SimpleDxflib/SimpleDxf.hpp"

namespace {

// ---- the generator, through dxflib -----------------------------------------------------

// A small deterministic random walk, so every run writes the same map.
struct Walk {
	unsigned state = 12345;
	double Next(double spread)
	{
		state = state * 1103515245u + 12345u;
		return (static_cast<double>((state >> 8) & 0xFFFF) / 65535.0 - 0.5) * spread;
	}
};

const char* const Layers[] = {"0", "H\xC3\xB8ydekurve", "Vegkant", "Tekst", "Vegetasjon", "Kum"};

DL_Attributes On(const char* layer) { return DL_Attributes(layer, 256, 0, "BYLAYER", 1.0); }

void WriteTables(DL_Dxf& dxf, DL_WriterA& w)
{
	w.sectionTables();
	dxf.writeVPort(w);
	w.tableLinetypes(1);
	dxf.writeLinetype(w, DL_LinetypeData("CONTINUOUS", "Solid line", 0, 0, 0.0));
	w.tableEnd();
	w.tableLayers(static_cast<int>(std::size(Layers)));
	for (const char* layer : Layers) dxf.writeLayer(w, DL_LayerData(layer, 0), DL_Attributes(layer, 7, 0, "CONTINUOUS", 1.0));
	w.tableEnd();
	w.tableStyle(1);
	dxf.writeStyle(w, DL_StyleData("Standard", 0, 0.0, 1.0, 0.0, 0, 2.5, "txt", ""));
	w.tableEnd();
	dxf.writeView(w);
	dxf.writeUcs(w);
	w.tableAppid(1);
	dxf.writeAppid(w, "ACAD");
	w.tableEnd();
	w.sectionEnd();
}

void WriteBlocks(DL_Dxf& dxf, DL_WriterA& w)
{
	w.sectionBlocks();
	dxf.writeBlock(w, DL_BlockData("TRE", 0, 0, 0, 0));
	dxf.writeCircle(w, DL_CircleData(0, 0, 0, 2.5), On("Vegetasjon"));
	dxf.writeLine(w, DL_LineData(-1, 0, 0, 1, 0, 0), On("Vegetasjon"));
	dxf.writeEndBlock(w, "TRE");
	dxf.writeBlock(w, DL_BlockData("KUM", 0, 0, 0, 0));
	dxf.writeInsert(w, DL_InsertData("TRE", 0, 0, 0, 1, 1, 1, 0, 1, 1, 0, 0), On("Kum"));
	dxf.writeArc(w, DL_ArcData(0, 0, 0, 1.0, 0, 180), On("Kum"));
	dxf.writeEndBlock(w, "KUM");
	dxf.writeBlock(w, DL_BlockData("GRUPPE", 0, 0, 0, 0));
	for (int i = 0; i < 3; ++i) dxf.writeInsert(w, DL_InsertData("KUM", i * 4.0, 0, 0, 1, 1, 1, 0, 1, 1, 0, 0), On("0"));
	dxf.writeEndBlock(w, "GRUPPE");
	w.sectionEnd();
}

// One 100 m tile of the map.
void WriteTile(DL_Dxf& dxf, DL_WriterA& w, Walk& walk, int tile)
{
	const double x0 = 597000.0 + (tile % 100) * 100.0, y0 = 6643000.0 + (tile / 100) * 100.0;
	for (int line = 0; line < 2; ++line) {
		const double z = 100.0 + (tile % 50) + line * 0.5;
		dxf.writePolyline(w, DL_PolylineData(60, 0, 0, 8), On("H\xC3\xB8ydekurve"));
		for (int i = 0; i < 60; ++i)
			dxf.writeVertex(w, DL_VertexData(x0 + i * 1.5 + walk.Next(1), y0 + line * 50 + walk.Next(40), z));
		dxf.writePolylineEnd(w);
	}
	for (int i = 0; i < 20; ++i)
		dxf.writeLine(w, DL_LineData(x0 + walk.Next(100), y0 + walk.Next(100), 0, x0 + walk.Next(100), y0 + walk.Next(100), 0),
		              On("Vegkant"));
	for (int i = 0; i < 4; ++i)
		dxf.writeText(w,
		              DL_TextData(x0 + walk.Next(100), y0 + walk.Next(100), 0, 0, 0, 0, 2.0, 1.0, 0, 0, 0, "M\xC3\xB8lledammen",
		                          "Standard", 0.0),
		              On("Tekst"));
	for (const char* name : {"TRE", "KUM", "GRUPPE"})
		dxf.writeInsert(w, DL_InsertData(name, x0 + walk.Next(100), y0 + walk.Next(100), 0, 1, 1, 1, 0, 1, 1, 0, 0),
		                On("Vegetasjon"));
	dxf.writeCircle(w, DL_CircleData(x0 + walk.Next(100), y0 + walk.Next(100), 0, 0.6), On("Kum"));
}

void WriteMap(int tiles, const std::string& path)
{
	DL_Dxf dxf;
	DL_WriterA* w = dxf.out(path.c_str(), DL_Codes::AC1009);
	if (w == nullptr) std::fprintf(stderr, "cannot write %s\n", path.c_str()), std::exit(1);
	dxf.writeHeader(*w);
	w->sectionEnd();
	WriteTables(dxf, *w);
	WriteBlocks(dxf, *w);
	w->sectionEntities();
	Walk walk;
	for (int tile = 0; tile < tiles; ++tile) WriteTile(dxf, *w, walk, tile);
	w->sectionEnd();
	w->dxfEOF();
	w->close();
	delete w;
}

// About the given size: the size of a tile is taken from maps of 1 and 11 tiles.
void Generate(std::size_t megabytes, const std::string& path)
{
	WriteMap(1, path);
	const auto one = std::filesystem::file_size(path);
	WriteMap(11, path);
	const double perTile = static_cast<double>(std::filesystem::file_size(path) - one) / 10;
	WriteMap(std::max(1, static_cast<int>(static_cast<double>(megabytes) * 1e6 / perTile)), path);
}

// ---- the tools -------------------------------------------------------------------------

// dxflib hands every entity to callbacks; this one counts them, which is less work than
// building a model the way our reader and libdime do.
class CountingAdapter : public DL_CreationAdapter {
public:
	void addLine(const DL_LineData&) override { ++entities; }
	void addPolyline(const DL_PolylineData&) override { ++entities; }
	void addVertex(const DL_VertexData&) override { ++vertices; }
	void addText(const DL_TextData&) override { ++entities; }
	void addInsert(const DL_InsertData&) override { ++entities; }
	void addCircle(const DL_CircleData&) override { ++entities; }
	void addArc(const DL_ArcData&) override { ++entities; }
	long entities = 0, vertices = 0;
};

std::string Ours(const std::string& path)
{
	auto* bytes = new std::vector<unsigned char>;
	if (ReadBinaryData(*bytes, IO::Location(path.c_str())) != NoError) std::fprintf(stderr, "read failed\n"), std::exit(1);
	auto* dxf = new SimpleDxf::SimpleDxf;
	if (!dxf->LoadSceneFromMemory(*bytes)) std::fprintf(stderr, "our reader failed: %s\n", dxf->error.c_str()), std::exit(1);
	std::size_t vertices = 0;
	for (const auto& e : *dxf->entities)
		if (e->typeId == SimpleDxf::PolylineType) vertices += static_cast<const SimpleDxf::Polyline&>(*e).vertices.size();
	const std::string summary =
	    std::to_string(dxf->entities->size()) + " entities in the section, " + std::to_string(vertices) + " vertices";
	bench::Dispose(bytes);   // the import frees the bytes once the drawing is read
	bench::Dispose(dxf);
	return summary;
}

std::string Dime(const std::string& path)
{
	dimeInput in;
	if (!in.setFile(path.c_str())) std::fprintf(stderr, "libdime cannot open %s\n", path.c_str()), std::exit(1);
	auto* model = new dimeModel;
	if (!model->read(&in)) std::fprintf(stderr, "libdime failed\n"), std::exit(1);
	const std::string summary = std::to_string(model->getNumLayers()) + " layers";
	bench::Dispose(model);
	return summary;
}

std::string Dxflib(const std::string& path)
{
	CountingAdapter adapter;
	DL_Dxf dxf;
	if (!dxf.in(path, &adapter)) std::fprintf(stderr, "dxflib failed\n"), std::exit(1);
	return std::to_string(adapter.entities) + " entities, " + std::to_string(adapter.vertices) + " vertices (counted)";
}

// The parse alone, from the file's bytes in memory.
class OursWarm : public bench::WarmParser {
public:
	explicit OursWarm(const std::string& path)
	{
		if (ReadBinaryData(bytes_, IO::Location(path.c_str())) != NoError) std::fprintf(stderr, "read failed\n"), std::exit(1);
	}
	void Parse() override
	{
		dxf_ = std::make_unique<SimpleDxf::SimpleDxf>();
		if (!dxf_->LoadSceneFromMemory(bytes_)) std::fprintf(stderr, "our reader failed: %s\n", dxf_->error.c_str()), std::exit(1);
	}
	void Release() override { dxf_.reset(); }

private:
	std::vector<unsigned char> bytes_;
	std::unique_ptr<SimpleDxf::SimpleDxf> dxf_;
};

} // namespace

int main(int argc, char** argv)
{
	const std::vector<bench::Tool> tools = {{"ours", Ours}, {"libdime", Dime}, {"dxflib", Dxflib}};
	return bench::Main(argc, argv, tools, {{"basemap.dxf", Generate}}, {{"ours", [](const std::string& path) { return std::make_unique<OursWarm>(path); }}});
}
