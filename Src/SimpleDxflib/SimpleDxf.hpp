// A reader of ASCII DXF drawings: header, the LAYER/LTYPE/STYLE/APPID tables, blocks and
// the entities the map import uses. Never trusts a count or a length from the file.
#ifndef VELMORA_SIMPLEDXF_HPP
#define VELMORA_SIMPLEDXF_HPP

#include <cstddef>
#include <cstdint>
#include <fstream>
#include <functional>
#include <map>
#include <memory>
#include <set>
#include <string>
#include <string_view>
#include <vector>

#include "Helpers/ReadOutcome.hpp"
#include "SimpleDxfEntities.hpp"

namespace SimpleDxf {

// Number conversion as C's atof/atoi, but always in the C locale and without allocation:
// leading white space and one '+' are skipped, conversion stops at the first character
// that does not fit, no digits give 0. A real that is out of range or not finite gives 0;
// an integer out of range is clamped to the 32-bit range.
double ToDouble(std::string_view text);
int32_t ToInt(std::string_view text);

// Trims C white space (bytes 9..13 and space; bytes of 128 and above never count) from
// both ends of a text in place and answers the first kept character.
char* trimwhitespace(char* text);
// The same on a view.
std::string_view Trim(std::string_view text);

// The pair last read: group code and value, trimmed, as views into the drawing's bytes
// (valid until the next pair is read). number is the group code as an integer, or -1 when
// the code is not a plain decimal number; comparing number equals comparing the text.
struct CodePair {
	std::string_view code;
	std::string_view value;
	int number = -1;
};

struct Header {
	std::string version;            // $ACADVER
	std::string codePage;           // $DWGCODEPAGE (group code 3), e.g. "ANSI_1252"
	double insBaseX = 0, insBaseY = 0, insBaseZ = 0;
	double extMinX = 0, extMinY = 0, extMinZ = 0;
	double extMaxX = 0, extMaxY = 0, extMaxZ = 0;
};

struct LType {
	std::string name;
	int32_t flags = 0;
	std::string description;
	int32_t alignment = 0;
	int32_t elementCount = 0;
	double patternLength = 0;
	std::vector<double> dashLengths;
	void Take(int code, std::string_view value);
};

struct Layer {
	std::string name;
	int32_t flags = 0;
	int32_t colour = 0;
	std::string lineType;
	void Take(int code, std::string_view value);
};

struct Style {
	std::string name;
	int32_t flags = 0;
	double fixedHeight = 0;
	double widthFactor = 0;
	double obliqueAngle = 0;
	int32_t generationFlags = 0;
	double lastHeight = 0;
	std::string fontFile;
	std::string bigFontFile;
	void Take(int code, std::string_view value);
};

struct AppID {
	std::string name;
	int32_t flags = 0;
	void Take(int code, std::string_view value);
};

// Maps by name, ordered by byte comparison, looked up by views.
template <typename T>
using NameMap = std::map<std::string, std::unique_ptr<T>, std::less<>>;

struct Tables {
	int32_t lineTypeCount = 0;
	NameMap<LType> lineTypes;
	int32_t layerCount = 0;
	NameMap<Layer> layers;
	int32_t styleCount = 0;
	NameMap<Style> styles;
	int32_t appIdCount = 0;
	NameMap<AppID> appIds;
};

using BlockMap = NameMap<Block>;

// Nesting of blocks deeper than this is refused ("Blocks nested deeper than 64 levels"), as a
// cycle is ("Circular references!").
constexpr int MaxBlockNesting = 64;

class SimpleDxf {
public:
	SimpleDxf() = default;
	SimpleDxf(const SimpleDxf&) = delete;
	SimpleDxf& operator=(const SimpleDxf&) = delete;

	// Reads a drawing from bytes that need to live only during the call, then resolves its
	// inserts and flags. Answers false when the data ends inside a section or memory runs
	// out while reading; error and outcome then say why. What was read stays in the drawing
	// either way. Data that ends between sections (with or without "EOF") is a complete
	// drawing. Inserts that cannot be resolved do not fail the load: each keeps a null block
	// and its reason, and unresolved names the refusal of inserts that close a cycle of
	// blocks or nest deeper than MaxBlockNesting.
	bool LoadSceneFromMemory(const std::vector<unsigned char>& bytes);
	bool LoadSceneFromMemory(const unsigned char* bytes, std::size_t size);
	// The same for a file, read whole first. False also when it does not open.
	bool LoadSceneFromFile(const char* path);

	// The parts of the drawing; each is null when its section was not in the data.
	std::unique_ptr<Header> header;
	std::unique_ptr<Tables> tables;
	std::unique_ptr<BlockMap> blocks;
	std::unique_ptr<EntityList> entities;
	// Why the last load failed; empty after a successful one.
	std::string error;
	// How the last load's reading ended.
	ReadOutcome outcome = ReadOutcome::Read;
	// Why inserts were refused by the last load: the first cycle closed ("Circular
	// references!"), else nesting deeper than MaxBlockNesting, naming the block of the
	// outermost refused insert (a top-level one first, else the one of the deepest block);
	// empty when none was. Inserts of missing blocks are not named here.
	std::string unresolved;
	// Lines read by the last load from memory (2 per pair).
	int64_t lineCounter = 0;

private:
	bool ReadCode();
	// The usual code line (spaces, a plain decimal, the line end) read in one pass; false,
	// with nothing read, for any other line.
	bool ReadPlainCode();
	std::string_view NextLine();
	bool Is(int code, std::string_view value) const { return pair_.number == code && pair_.value == value; }
	bool ReadUntilCode(int code);
	bool SkipToValue(std::string_view value);
	bool SkipToCode0();
	bool Fail(std::string why);
	bool Load(const unsigned char* bytes, std::size_t size);

	bool ReadSections();
	bool ReadHeader();
	bool ReadHeaderPoint(double& x, double& y, double& z);
	bool ReadTables();
	bool ReadLayers();
	bool ReadLTypes();
	bool ReadStyles();
	bool ReadAppIDs();
	template <typename T>
	bool ReadTable(std::string_view keyword, NameMap<T>& map, int32_t& count);
	bool ReadBlocks();
	bool ReadBlock(Block& block);
	bool ReadEntities();
	// At a code-0 pair: reads the entity it starts into out (null when the kind is not
	// kept or the record is unusable). known tells whether the kind is one of ours.
	bool ReadEntity(std::unique_ptr<Entity>& out, bool& known);
	template <typename T, bool (SimpleDxf::*Read)(T&)>
	bool MakeAndRead(std::unique_ptr<Entity>& out);
	template <typename T>
	bool ReadFields(T& entity);

	bool ReadPolyLine(Polyline& polyline);
	bool ReadLWPolyLine(Polyline& polyline);
	bool ReadInsert(Insert& insert);
	bool ReadLine(Line& line);
	bool ReadCircle(Circle& circle);
	bool ReadArc(Arc& arc);
	bool ReadPoint(Point& point);
	bool ReadText(Text& text);
	bool ReadVertex(Vertex& vertex);

	// Resolution: block heights first (cutting inserts that close cycles), then inserts to
	// blocks, flags and layers. Records refusals in unresolved.
	void FillProperties();
	void MeasureBlocks();
	void MeasureFrom(Block& root);
	Block* FindBlock(std::string_view name) const;
	void FillPropRec(Entity& entity, bool topLevel);
	void ResolveBlock(Block& block);
	void ResolveLayer(Entity& entity);
	// The refused insert of the deepest block seen so far, top-level ones first.
	struct DeepInsert {
		bool topLevel = false;
		int32_t height = 0;
		std::string blockName;
	};
	// The drawing's copy of a layer name read from the file.
	std::string_view LayerName(std::string_view name);

	const unsigned char* bytes_ = nullptr;
	std::size_t size_ = 0;
	std::size_t pos_ = 0;
	bool atEnd_ = false;
	CodePair pair_;
	std::ifstream stream_;
	std::vector<unsigned char> data_;   // file mode: the file's bytes
	uint8_t mode_ = 0;                  // 1 file mode, 0 memory mode
	const Layer* lastLayer_ = nullptr;  // layer lookups repeat the same name
	std::set<std::string, std::less<>> layerNames_;   // the texts entities' layer names view
	std::string_view lastLayerName_;    // the one the last entity took; entities repeat it
	DeepInsert deepest_;
	VertexList vertices_;               // a POLYLINE's plain vertices while they are read
};

} // namespace SimpleDxf

#endif
