#include "SimpleDxf.hpp"

#include <charconv>
#include <cmath>
#include <cstring>
#include <iterator>
#include <limits>
#include <new>

#include "Helpers/DecimalText.hpp"
#include "Helpers/LineEnd.hpp"

namespace SimpleDxf {

namespace {

// Longest line kept; the rest of a longer line is skipped.
constexpr std::size_t MaxLine = 1023;

bool IsSpace(unsigned char c) { return c == ' ' || (c >= 9 && c <= 13); }

std::string_view TrimSpace(std::string_view text)
{
	std::size_t first = 0;
	while (first < text.size() && IsSpace(static_cast<unsigned char>(text[first]))) ++first;
	std::size_t last = text.size();
	while (last > first && IsSpace(static_cast<unsigned char>(text[last - 1]))) --last;
	return text.substr(first, last - first);
}

std::string_view SkipSign(std::string_view text)
{
	text = TrimSpace(text);
	if (!text.empty() && text.front() == '+') {
		text.remove_prefix(1);
		if (!text.empty() && text.front() == '-') return {};   // "+-1" is no number
	}
	return text;
}

// Group codes are compared as text; a plain decimal ("0", "10", "210") maps to its
// number, anything else (leading zeros, signs, letters, too long) to -1.
int CodeNumber(std::string_view code)
{
	if (code.empty() || code.size() > 4 || (code.size() > 1 && code.front() == '0')) return -1;
	int n = 0;
	for (const char c : code) {
		if (c < '0' || c > '9') return -1;
		n = n * 10 + (c - '0');
	}
	return n;
}

bool IsDigit(char c) { return c >= '0' && c <= '9'; }

#if defined(__BYTE_ORDER__) && __BYTE_ORDER__ != __ORDER_LITTLE_ENDIAN__
constexpr bool LittleEndian = false;
#else
constexpr bool LittleEndian = true;
#endif

} // namespace

double ToDouble(std::string_view text)
{
	double value = 0;
	if (DecimalText::Parse(text, value)) return value;   // most values: a plain decimal, trimmed
	text = SkipSign(text);
	if (DecimalText::Parse(text, value)) return value;
	const auto result = std::from_chars(text.data(), text.data() + text.size(), value);
	if (result.ec != std::errc() || !std::isfinite(value)) return 0;
	return value;
}

int32_t ToInt(std::string_view text)
{
	text = SkipSign(text);
	int64_t value = 0;
	const auto result = std::from_chars(text.data(), text.data() + text.size(), value);
	if (result.ec == std::errc::result_out_of_range) return text.front() == '-' ? INT32_MIN : INT32_MAX;
	if (result.ec != std::errc()) return 0;
	if (value < INT32_MIN) return INT32_MIN;
	if (value > INT32_MAX) return INT32_MAX;
	return static_cast<int32_t>(value);
}

std::string_view Trim(std::string_view text) { return TrimSpace(text); }

char* trimwhitespace(char* text)
{
	const std::string_view kept = Trim(text);
	char* first = text + (kept.data() - text);
	first[kept.size()] = 0;
	return first;
}

// ---- pair reading ----------------------------------------------------------------------

inline std::string_view SimpleDxf::NextLine()
{
	const char* base = reinterpret_cast<const char*>(bytes_);
	const std::size_t end = static_cast<std::size_t>(LineEndSearch::Find(base + pos_, base + size_) - base);
	std::size_t first = pos_, last = std::min(end, pos_ + MaxLine);
	while (first < last && IsSpace(static_cast<unsigned char>(base[first]))) ++first;
	while (last > first && IsSpace(static_cast<unsigned char>(base[last - 1]))) --last;
	pos_ = end;
	if (pos_ < size_ && base[pos_] == '\r') ++pos_;
	if (pos_ < size_ && base[pos_] == '\n') ++pos_;
	return std::string_view(base + first, last - first);
}

namespace {

// The usual code line read from one word: up to 7 spaces, then 1 to 4 digits (no leading
// zero) that end within the word. Gives the number, the count of spaces before the digits and
// the count of digits; false for anything else.
inline bool PlainCodeWord(const char* at, int& number, unsigned& lead, unsigned& count)
{
	constexpr uint64_t Ones = 0x0101010101010101u, Highs = Ones << 7;
	uint64_t word;
	std::memcpy(&word, at, 8);
	const uint64_t text = word ^ (Ones * ' ');   // spaces become zero bytes
	if (text == 0) return false;
	lead = static_cast<unsigned>(LineEndSearch::LowestBit(text)) / 8;
	const uint64_t t = (word >> (8 * lead)) - Ones * '0';
	// Bytes that are no digit get their high bit; bytes above the first one may be wrong.
	const uint64_t marks = ((t + Ones * 0x76) | t) & Highs;
	count = marks ? static_cast<unsigned>(LineEndSearch::LowestBit(marks)) / 8 : 8;
	if (count == 0 || count > 4 || lead + count >= 8 || (count > 1 && (t & 0xFF) == 0)) return false;
	// The digits right-aligned in four bytes, then pairs, then the number.
	const uint32_t v = static_cast<uint32_t>(t) << (8 * (4 - count));
	const uint32_t pairs = (v & 0x00FF00FFu) * 10 + ((v >> 8) & 0x00FF00FFu);
	number = static_cast<int>((pairs & 0xFFFFu) * 100 + (pairs >> 16));
	return true;
}

} // namespace

inline bool SimpleDxf::ReadPlainCode()
{
	const char* base = reinterpret_cast<const char*>(bytes_);
	if (LittleEndian && size_ - pos_ >= 8) {
		int number = 0;
		unsigned lead = 0, count = 0;
		if (!PlainCodeWord(base + pos_, number, lead, count)) return false;
		std::size_t p = pos_ + lead + count;
		if (base[p] == '\r') ++p;
		else if (base[p] != '\n') return false;
		if (p < size_ && base[p] == '\n') ++p;
		pair_.code = std::string_view(base + pos_ + lead, count);
		pair_.number = number;
		pos_ = p;
		return true;
	}
	std::size_t p = pos_;
	const std::size_t limit = std::min(size_, pos_ + 8);
	while (p < limit && base[p] == ' ') ++p;
	const std::size_t first = p;
	int number = 0;
	for (; p < limit && IsDigit(base[p]); ++p) number = number * 10 + (base[p] - '0');
	const std::size_t count = p - first;
	if (count == 0 || count > 4 || (count > 1 && base[first] == '0')) return false;
	if (p < size_ && base[p] == '\r') ++p;
	else if (p < size_ && base[p] != '\n') return false;
	if (p < size_ && base[p] == '\n') ++p;
	pair_.code = std::string_view(base + first, count);
	pair_.number = number;
	pos_ = p;
	return true;
}

bool SimpleDxf::ReadCode()
{
	if (pos_ >= size_) {
		atEnd_ = true;
		return false;
	}
	if (!ReadPlainCode()) {
		pair_.code = NextLine();
		pair_.number = CodeNumber(pair_.code);
	}
	pair_.value = NextLine();
	if (mode_ == 0) lineCounter += 2;
	return true;
}

bool SimpleDxf::ReadUntilCode(int code)
{
	do {
		if (!ReadCode()) return false;
	} while (pair_.number != code);
	return true;
}

bool SimpleDxf::SkipToValue(std::string_view value)
{
	do {
		if (!ReadCode()) return false;
	} while (pair_.value != value);
	return true;
}

bool SimpleDxf::SkipToCode0() { return ReadUntilCode(0); }

bool SimpleDxf::Fail(std::string why)
{
	if (error.empty()) error = std::move(why);
	if (outcome == ReadOutcome::Read) outcome = ReadOutcome::Damaged;
	return false;
}

// ---- loading ---------------------------------------------------------------------------

bool SimpleDxf::LoadSceneFromMemory(const std::vector<unsigned char>& bytes)
{
	return LoadSceneFromMemory(bytes.data(), bytes.size());
}

bool SimpleDxf::LoadSceneFromMemory(const unsigned char* bytes, std::size_t size)
{
	mode_ = 0;
	return Load(bytes, size);
}

bool SimpleDxf::LoadSceneFromFile(const char* path)
{
	mode_ = 1;
	error.clear();
	outcome = ReadOutcome::Read;
	stream_.open(path, std::ios::in | std::ios::binary);
	if (!stream_.is_open()) return Fail(std::string("cannot open ") + path);
	data_.assign(std::istreambuf_iterator<char>(stream_), std::istreambuf_iterator<char>());
	const bool readAll = !stream_.bad();
	stream_.close();
	if (!readAll) return Fail(std::string("cannot read ") + path);
	const bool ok = Load(data_.data(), data_.size());
	data_.clear();
	data_.shrink_to_fit();
	return ok;
}

bool SimpleDxf::Load(const unsigned char* bytes, std::size_t size)
{
	header.reset();
	tables.reset();
	blocks.reset();
	entities.reset();
	error.clear();
	outcome = ReadOutcome::Read;
	unresolved.clear();
	lineCounter = 0;
	bytes_ = bytes;
	size_ = size;
	pos_ = 0;
	atEnd_ = false;
	pair_ = CodePair();
	lastLayer_ = nullptr;
	layerNames_.clear();
	lastLayerName_ = {};
	const bool read = ReadSections();
	VertexList().swap(vertices_);   // a long polyline's list is not kept beyond the load
	bytes_ = nullptr;
	size_ = 0;
	pair_ = CodePair();
	if (!read) return false;
	try {
		FillProperties();
	} catch (const std::bad_alloc&) {
		outcome = ReadOutcome::OutOfMemory;
		return Fail("out of memory while resolving the inserts");
	}
	return true;
}

std::string_view SimpleDxf::LayerName(std::string_view name)
{
	if (name.empty()) return {};
	if (name != lastLayerName_) {
		auto found = layerNames_.find(name);
		if (found == layerNames_.end()) found = layerNames_.emplace(name).first;
		lastLayerName_ = *found;
	}
	return lastLayerName_;
}

// ---- sections --------------------------------------------------------------------------

bool SimpleDxf::ReadSections()
{
	try {
		// The pairs of a section we do not know pass through this loop one by one; the data
		// may end there only after its ENDSEC.
		bool inOtherSection = false;
		if (!ReadCode()) return true;
		for (;;) {
			if (Is(0, "EOF")) return true;
			if (Is(0, "ENDSEC")) inOtherSection = false;
			if (Is(0, "SECTION")) {
				inOtherSection = false;
				if (!ReadUntilCode(2)) return Fail("the data ends before the name of a section");
				const std::string_view name = pair_.value;
				bool ok = true;
				if (name == "HEADER") ok = ReadHeader();
				else if (name == "TABLES") ok = ReadTables();
				else if (name == "BLOCKS") ok = ReadBlocks();
				else if (name == "ENTITIES") ok = ReadEntities();
				else if (name == "CLASSES" || name == "OBJECTS" || name == "THUMBNAILIMAGE") ok = SkipToValue("ENDSEC");
				else inOtherSection = true;
				if (!ok) return Fail("the data ends inside a section");
			}
			if (!ReadCode()) return inOtherSection ? Fail("the data ends inside a section") : true;
		}
	} catch (const std::bad_alloc&) {
		outcome = ReadOutcome::OutOfMemory;
		return Fail("out of memory while reading");
	} catch (const std::exception& e) {
		return Fail(std::string("reading failed: ") + e.what());
	}
}

bool SimpleDxf::ReadHeaderPoint(double& x, double& y, double& z)
{
	if (!ReadCode()) return false;
	while (pair_.number != 9 && pair_.number != 0) {
		if (pair_.number == 10) x = ToDouble(pair_.value);
		else if (pair_.number == 20) y = ToDouble(pair_.value);
		else if (pair_.number == 30) z = ToDouble(pair_.value);
		if (!ReadCode()) return false;
	}
	return true;
}

bool SimpleDxf::ReadHeader()
{
	if (!ReadCode()) return false;
	header = std::make_unique<Header>();
	Header& h = *header;
	for (;;) {
		if (Is(0, "ENDSEC")) return true;
		if (pair_.number == 9) {
			const std::string_view name = pair_.value;
			// Text variables: the value of their group code, up to the next variable.
			const int textCode = name == "$ACADVER" ? 1 : name == "$DWGCODEPAGE" ? 3 : -1;
			if (textCode > 0) {
				std::string& into = textCode == 1 ? h.version : h.codePage;
				do {
					if (!ReadCode()) return false;
				} while (pair_.number != textCode && pair_.number != 9);
				if (pair_.number == textCode) into.assign(pair_.value);
				if (pair_.number != 9) {
					do {
						if (!ReadCode()) return false;
					} while (pair_.number != 9 && pair_.number != 0);
				}
				continue;
			}
			double* point = name == "$INSBASE" ? &h.insBaseX
			              : name == "$EXTMIN"  ? &h.extMinX
			              : name == "$EXTMAX"  ? &h.extMaxX : nullptr;
			if (point) {
				if (!ReadHeaderPoint(point[0], point[1], point[2])) return false;
				continue;
			}
		}
		if (!ReadCode()) return false;
	}
}

// ---- tables ----------------------------------------------------------------------------

void LType::Take(int code, std::string_view value)
{
	switch (code) {
	case 2: name.assign(value); break;
	case 70: flags = ToInt(value); break;
	case 3: description.assign(value); break;
	case 72: alignment = ToInt(value); break;
	case 73: elementCount = ToInt(value); break;
	case 40: patternLength = ToDouble(value); break;
	case 49: dashLengths.push_back(ToDouble(value)); break;
	default: break;
	}
}

void Layer::Take(int code, std::string_view value)
{
	switch (code) {
	case 2: name.assign(value); break;
	case 70: flags = ToInt(value); break;
	case 62: colour = ToInt(value); break;
	case 6: lineType.assign(value); break;
	default: break;
	}
}

void Style::Take(int code, std::string_view value)
{
	switch (code) {
	case 2: name.assign(value); break;
	case 70: flags = ToInt(value); break;
	case 40: fixedHeight = ToDouble(value); break;
	case 41: widthFactor = ToDouble(value); break;
	case 50: obliqueAngle = ToDouble(value); break;
	case 71: generationFlags = ToInt(value); break;
	case 42: lastHeight = ToDouble(value); break;
	case 3: fontFile.assign(value); break;
	case 4: bigFontFile.assign(value); break;
	default: break;
	}
}

void AppID::Take(int code, std::string_view value)
{
	if (code == 2) name.assign(value);
	else if (code == 70) flags = ToInt(value);
}

bool SimpleDxf::ReadTables()
{
	if (!ReadCode()) return false;
	tables = std::make_unique<Tables>();
	for (;;) {
		if (Is(0, "ENDSEC")) return true;
		if (Is(0, "TABLE")) {
			if (!ReadUntilCode(2)) return false;
			const std::string_view name = pair_.value;
			bool ok = true;
			if (name == "APPID") ok = ReadAppIDs();
			else if (name == "LAYER") ok = ReadLayers();
			else if (name == "LTYPE") ok = ReadLTypes();
			else if (name == "STYLE") ok = ReadStyles();
			else if (name == "BLOCK_RECORD" || name == "DIMSTYLE" || name == "UCS" || name == "VIEW" || name == "VPORT")
				ok = SkipToValue("ENDTAB");
			if (!ok) return false;
		}
		if (!ReadCode()) return false;
	}
}

// One algorithm for the four tables: records of one keyword, the first of a name wins,
// records without a name are dropped.
template <typename T>
bool SimpleDxf::ReadTable(std::string_view keyword, NameMap<T>& map, int32_t& count)
{
	if (!ReadCode()) return false;
	map.clear();
	for (;;) {
		if (Is(0, "ENDTAB")) return true;
		if (pair_.number == 70) {
			count = ToInt(pair_.value);
		} else if (Is(0, keyword)) {
			auto record = std::make_unique<T>();
			if (!ReadCode()) return false;
			while (pair_.number != 0) {
				record->Take(pair_.number, pair_.value);
				if (!ReadCode()) return false;
			}
			if (!record->name.empty()) map.try_emplace(record->name, std::move(record));
			continue;
		}
		if (!ReadCode()) return false;
	}
}

bool SimpleDxf::ReadLayers() { return ReadTable("LAYER", tables->layers, tables->layerCount); }
bool SimpleDxf::ReadLTypes() { return ReadTable("LTYPE", tables->lineTypes, tables->lineTypeCount); }
bool SimpleDxf::ReadStyles() { return ReadTable("STYLE", tables->styles, tables->styleCount); }
bool SimpleDxf::ReadAppIDs() { return ReadTable("APPID", tables->appIds, tables->appIdCount); }

// ---- blocks and entities ---------------------------------------------------------------

bool SimpleDxf::ReadBlocks()
{
	if (!ReadCode()) return false;
	blocks = std::make_unique<BlockMap>();
	for (;;) {
		if (Is(0, "ENDSEC")) return true;
		if (Is(0, "BLOCK")) {
			auto block = std::make_unique<Block>();
			if (!ReadBlock(*block)) return false;
			if (!block->name.empty()) blocks->try_emplace(block->name, std::move(block));
		}
		if (!ReadCode()) return false;
	}
}

bool SimpleDxf::ReadBlock(Block& block)
{
	if (!ReadCode()) return false;
	for (;;) {
		if (Is(0, "ENDBLK")) return true;
		if (pair_.number == 0) {
			std::unique_ptr<Entity> entity;
			bool known = false;
			if (!ReadEntity(entity, known)) return false;
			if (entity) block.entities.push_back(std::move(entity));
			if (!known && !SkipToCode0()) return false;
			continue;
		}
		switch (pair_.number) {
		case 8: block.layerName.assign(pair_.value); break;
		case 2: block.name.assign(pair_.value); break;
		case 70: block.flags = ToInt(pair_.value); break;
		case 10: block.x = ToDouble(pair_.value); break;
		case 20: block.y = ToDouble(pair_.value); break;
		case 30: block.z = ToDouble(pair_.value); break;
		default: break;
		}
		if (!ReadCode()) return false;
	}
}

bool SimpleDxf::ReadEntities()
{
	if (!ReadCode()) return false;
	entities = std::make_unique<EntityList>();
	for (;;) {
		if (Is(0, "ENDSEC")) return true;
		if (pair_.number == 0) {
			std::unique_ptr<Entity> entity;
			bool known = false;
			if (!ReadEntity(entity, known)) return false;
			if (entity) entities->push_back(std::move(entity));
			if (known) continue;
		}
		if (!ReadCode()) return false;
	}
}

template <typename T, bool (SimpleDxf::*Read)(T&)>
bool SimpleDxf::MakeAndRead(std::unique_ptr<Entity>& out)
{
	auto entity = std::make_unique<T>();
	if (!(this->*Read)(*entity)) return false;
	out = std::move(entity);
	return true;
}

bool SimpleDxf::ReadEntity(std::unique_ptr<Entity>& out, bool& known)
{
	struct Kind {
		std::string_view keyword;
		bool (SimpleDxf::*read)(std::unique_ptr<Entity>&);
	};
	static const Kind kinds[] = {
		{"POLYLINE", &SimpleDxf::MakeAndRead<Polyline, &SimpleDxf::ReadPolyLine>},
		{"LWPOLYLINE", &SimpleDxf::MakeAndRead<Polyline, &SimpleDxf::ReadLWPolyLine>},
		{"INSERT", &SimpleDxf::MakeAndRead<Insert, &SimpleDxf::ReadInsert>},
		{"LINE", &SimpleDxf::MakeAndRead<Line, &SimpleDxf::ReadLine>},
		{"CIRCLE", &SimpleDxf::MakeAndRead<Circle, &SimpleDxf::ReadCircle>},
		{"ARC", &SimpleDxf::MakeAndRead<Arc, &SimpleDxf::ReadArc>},
		{"POINT", &SimpleDxf::MakeAndRead<Point, &SimpleDxf::ReadPoint>},
		{"TEXT", &SimpleDxf::MakeAndRead<Text, &SimpleDxf::ReadText>},
	};
	for (const Kind& kind : kinds) {
		if (pair_.value != kind.keyword) continue;
		known = true;
		if (!(this->*kind.read)(out)) return false;
		// An insert without a block name can never be resolved.
		if (out->typeId == InsertType && static_cast<Insert&>(*out).blockName.empty()) out.reset();
		return true;
	}
	known = false;
	return true;
}

} // namespace SimpleDxf
