#include "SimpleCsv.hpp"

#include <algorithm>
#include <cstdint>
#include <cstring>
#include <new>
#include <stdexcept>
#include <unordered_map>
#include <vector>

#include "ACAPinc.h"
#include "Helpers/BinFileHelper.hpp"
#include "utils/TextUnits.hpp"

namespace SimpleCsv {

namespace {

// Lines up to (not including) each line feed; the last needs none. Lines are views into
// the text; a line holding a carriage return is given without it, from a copy.
class LineReader {
public:
	explicit LineReader(std::string_view text) : text_(text) {}
	bool Next(std::string_view& line)
	{
		if (pos_ >= text_.size()) return false;
		const char* begin = text_.data() + pos_;
		const std::size_t left = text_.size() - pos_;
		const void* lf = std::memchr(begin, '\n', left);
		const std::size_t length = lf ? static_cast<std::size_t>(static_cast<const char*>(lf) - begin) : left;
		pos_ += length + 1;
		++number_;
		line = std::string_view(begin, length);
		if (std::memchr(begin, '\r', length) != nullptr) {
			copy_.assign(line);
			removeLineEnds(copy_);
			line = copy_;
		}
		return true;
	}
	int Number() const { return number_; }

private:
	std::string_view text_;
	std::size_t pos_ = 0;
	int number_ = 0;
	std::string copy_;
};

// Lines that hold more than a line end: about the rows the text gives (lines of several
// carriage returns alone count too).
std::size_t CountRows(std::string_view text)
{
	std::size_t rows = 0;
	const char* p = text.data();
	const char* const end = p + text.size();
	while (p < end) {
		const void* lf = std::memchr(p, '\n', static_cast<std::size_t>(end - p));
		const char* stop = lf ? static_cast<const char*>(lf) : end;
		if (stop - p > 1 || (stop - p == 1 && *p != '\r')) ++rows;
		p = stop + 1;
	}
	return rows;
}

// Cells up to each comma; an empty line gives none and a trailing comma no empty last cell.
// Stops after `most` cells; `cells` is reused from line to line. Bytes or UTF-16 units.
template <typename C>
void SplitCells(std::basic_string_view<C> line, std::size_t most, std::vector<std::basic_string_view<C>>& cells)
{
	cells.clear();
	const C* p = line.data();
	const C* const end = p + line.size();
	while (p < end && cells.size() < most) {
		const C* comma = std::char_traits<C>::find(p, static_cast<std::size_t>(end - p), C(','));
		const C* stop = comma ? comma : end;
		cells.emplace_back(p, static_cast<std::size_t>(stop - p));
		p = stop + 1;
	}
}

constexpr std::uint64_t HighBits = 0x8080808080808080u;

bool IsAscii(std::string_view text)
{
	std::uint64_t seen = 0;
	std::size_t i = 0;
	for (; i + 8 <= text.size(); i += 8) {
		std::uint64_t word;
		std::memcpy(&word, text.data() + i, 8);
		seen |= word;
	}
	for (; i < text.size(); ++i) seen |= static_cast<unsigned char>(text[i]);
	return (seen & HighBits) == 0;
}

// Decodes the sequence at p (before end) into a code point; answers its length, 0 when it is
// not UTF-8 (overlong forms, surrogates and values past U+10FFFF are not).
std::size_t DecodeOne(const unsigned char* p, const unsigned char* end, char32_t& cp)
{
	const unsigned char lead = *p;
	if (lead < 0x80) {
		cp = lead;
		return 1;
	}
	std::size_t extra;
	char32_t least;
	if ((lead & 0xE0) == 0xC0) extra = 1, cp = lead & 0x1Fu, least = 0x80;
	else if ((lead & 0xF0) == 0xE0) extra = 2, cp = lead & 0x0Fu, least = 0x800;
	else if ((lead & 0xF8) == 0xF0) extra = 3, cp = lead & 0x07u, least = 0x10000;
	else return 0;
	if (static_cast<std::size_t>(end - p) <= extra) return 0;
	for (std::size_t k = 1; k <= extra; ++k) {
		if ((p[k] & 0xC0) != 0x80) return 0;
		cp = (cp << 6) | (p[k] & 0x3Fu);
	}
	if (cp < least || cp > 0x10FFFF || (cp >= 0xD800 && cp <= 0xDFFF)) return 0;
	return extra + 1;
}

// UTF-8 to UTF-16 code units in out, which holds at least text.size() units; runs of ASCII
// are widened a word at a time. Answers the count, or -1 for text that is not UTF-8.
std::ptrdiff_t ToUnits(std::string_view text, char16_t* out)
{
	const auto* p = reinterpret_cast<const unsigned char*>(text.data());
	const auto* const end = p + text.size();
	char16_t* const first = out;
	while (p < end) {
		std::uint64_t word;
		if (end - p >= 8 && (std::memcpy(&word, p, 8), (word & HighBits) == 0)) {
			for (int k = 0; k < 8; ++k) out[k] = p[k];
			p += 8;
			out += 8;
			continue;
		}
		char32_t cp = 0;
		const std::size_t n = DecodeOne(p, end, cp);
		if (n == 0) return -1;
		p += n;
		if (cp < 0x10000) {
			*out++ = static_cast<char16_t>(cp);
		} else {
			cp -= 0x10000;
			*out++ = static_cast<char16_t>(0xD800 + (cp >> 10));
			*out++ = static_cast<char16_t>(0xDC00 + (cp & 0x3FF));
		}
	}
	return out - first;
}

std::string NotUtf8(const std::string& shownName, int line)
{
	return "Error: File (" + shownName + ") is not UTF-8 text (line " + std::to_string(line) + ").";
}

std::string ColumnName(const std::wstring& name)
{
	std::u16string units;
	units.reserve(name.size());
	for (const wchar_t c : name) units.push_back(static_cast<char16_t>(c));
	return kivel::Utf16ToUtf8(units);
}

} // namespace

bool ToWide(std::string_view text, std::wstring& out)
{
	std::u16string units(text.size(), u'\0');
	const std::ptrdiff_t n = ToUnits(text, units.data());
	if (n < 0) return false;
	out.assign(units.begin(), units.begin() + n);
	return true;
}

std::wstring toWstring(const std::string& text)
{
	std::wstring wide;
	if (!ToWide(text, wide)) throw std::range_error("toWstring: text is not UTF-8");
	return wide;
}

std::string stripBom(const std::string& text)
{
	if (text.size() >= 3 && text.compare(0, 3, "\xEF\xBB\xBF") == 0) return text.substr(3);
	return text;
}

void removeLineEnds(std::string& text)
{
	text.erase(std::remove(text.begin(), text.end(), '\r'), text.end());
	text.erase(std::remove(text.begin(), text.end(), '\n'), text.end());
}

std::string ReadTable(std::string_view text, const std::string& shownName, const GS::Array<std::wstring>& columns,
                      Rows& rows)
{
	const std::string_view bom = "\xEF\xBB\xBF";   // only the first line's, before its CRs go
	LineReader lines(text.substr(0, 3) == bom ? text.substr(3) : text);
	std::string_view line;
	std::vector<std::string_view> cells;
	std::unordered_map<std::wstring, std::size_t> columnIndex;
	columnIndex.max_load_factor(1.0f);
	if (lines.Next(line)) {
		SplitCells(line, line.size(), cells);
		std::wstring wide;
		for (std::size_t i = 0; i < cells.size(); ++i) {
			if (!ToWide(cells[i], wide)) return NotUtf8(shownName, 1);
			columnIndex[wide] = i;   // a repeated name maps to its last column
		}
	}
	std::vector<std::size_t> wanted;
	wanted.reserve(columns.GetSize());
	std::size_t cellsNeeded = 0;
	for (const std::wstring& name : columns) {
		const auto found = columnIndex.find(name);
		if (found == columnIndex.end()) return "Field " + ColumnName(name) + " not found in CSV headers.";
		wanted.push_back(found->second);
		cellsNeeded = std::max(cellsNeeded, found->second + 1);
	}

	const UInt32 rowsBefore = rows.GetSize();
	rows.SetCapacity(static_cast<UInt32>(std::min<std::size_t>(rowsBefore + CountRows(text), UINT32_MAX)));
	std::vector<char16_t> units;
	std::vector<std::u16string_view> unitCells;
	while (lines.Next(line)) {
		if (line.empty()) continue;
		if (units.size() < line.size()) units.resize(line.size());
		// An ASCII line is split as bytes; any other is checked and widened whole (the whole
		// line must be UTF-8), then split as units: a comma is one unit either way.
		const bool ascii = IsAscii(line);
		std::size_t count = 0;
		if (ascii) {
			SplitCells(line, cellsNeeded, cells);
			count = cells.size();
		} else {
			const std::ptrdiff_t n = ToUnits(line, units.data());
			if (n < 0) {
				rows.SetSize(rowsBefore);
				return NotUtf8(shownName, lines.Number());
			}
			SplitCells(std::u16string_view(units.data(), static_cast<std::size_t>(n)), cellsNeeded, unitCells);
			count = unitCells.size();
		}
		Row row;
		row.SetCapacity(static_cast<UInt32>(wanted.size()));
		for (const std::size_t index : wanted) {
			if (index >= count) {
				row.Push(GS::UniString());
			} else if (ascii) {
				const std::string_view cell = cells[index];
				char16_t* const wide = units.data();
				std::copy(cell.begin(), cell.end(), wide);
				row.Push(GS::UniString(wide, static_cast<USize>(cell.size())));
			} else {
				row.Push(GS::UniString(unitCells[index].data(), static_cast<USize>(unitCells[index].size())));
			}
		}
		rows.Push(std::move(row));
	}
	return {};
}

bool SimpleCsv::LoadFromFile(const IO::Location& file, const GS::Array<std::wstring>& columns, Rows& rows) const
{
	const std::string shownName = file.ToDisplayText().ToCStr().Get();
	std::vector<unsigned char> bytes;
	if (ReadBinaryData(bytes, file) != NoError) {
		ACAPI_WriteReport("Error: File (%s) not found!", true, shownName.c_str());
		return false;
	}
	const std::string_view text(reinterpret_cast<const char*>(bytes.data()), bytes.size());
	const UInt32 rowsBefore = rows.GetSize();
	std::string failure;
	try {
		failure = ReadTable(text, shownName, columns, rows);
	} catch (const std::bad_alloc&) {
		rows.SetSize(rowsBefore);
		ReportStoppedRead(ReadOutcome::OutOfMemory, shownName.c_str(), nullptr);
		return false;
	}
	if (failure.empty()) return true;
	ACAPI_WriteReport("%s", true, failure.c_str());
	return false;
}

} // namespace SimpleCsv
