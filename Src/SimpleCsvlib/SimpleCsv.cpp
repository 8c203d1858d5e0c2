#include "SimpleCsv.hpp"

#include <algorithm>
#include <stdexcept>
#include <unordered_map>
#include <vector>

#include "ACAPinc.h"
#include "Helpers/BinFileHelper.hpp"
#include "utils/TextUnits.hpp"

namespace SimpleCsv {

namespace {

// Lines up to (not including) each line feed; the last needs none.
class LineReader {
public:
	explicit LineReader(std::string_view text) : text_(text) {}
	bool Next(std::string& line)
	{
		if (pos_ >= text_.size()) return false;
		const std::size_t end = std::min(text_.find('\n', pos_), text_.size());
		line.assign(text_.substr(pos_, end - pos_));
		pos_ = end + 1;
		++number_;
		return true;
	}
	int Number() const { return number_; }

private:
	std::string_view text_;
	std::size_t pos_ = 0;
	int number_ = 0;
};

// Cells up to each comma; an empty line gives none and a trailing comma no empty last cell.
std::vector<std::string_view> SplitCells(std::string_view line)
{
	std::vector<std::string_view> cells;
	std::size_t pos = 0;
	while (pos < line.size()) {
		const std::size_t comma = std::min(line.find(',', pos), line.size());
		cells.push_back(line.substr(pos, comma - pos));
		pos = comma + 1;
	}
	return cells;
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
	std::u16string units;
	if (!kivel::Utf8ToUtf16(text, units)) return false;
	out.assign(units.begin(), units.end());
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
	LineReader lines(text);
	std::string line;
	std::unordered_map<std::wstring, std::size_t> columnIndex;
	columnIndex.max_load_factor(1.0f);
	if (lines.Next(line)) {
		line = stripBom(line);
		removeLineEnds(line);
		const std::vector<std::string_view> names = SplitCells(line);
		std::wstring wide;
		for (std::size_t i = 0; i < names.size(); ++i) {
			if (!ToWide(names[i], wide)) return NotUtf8(shownName, 1);
			columnIndex[wide] = i;   // a repeated name maps to its last column
		}
	}
	std::vector<std::size_t> wanted;
	wanted.reserve(columns.GetSize());
	for (const std::wstring& name : columns) {
		const auto found = columnIndex.find(name);
		if (found == columnIndex.end()) return "Field " + ColumnName(name) + " not found in CSV headers.";
		wanted.push_back(found->second);
	}

	const UInt32 rowsBefore = rows.GetSize();
	std::u16string units;
	while (lines.Next(line)) {
		removeLineEnds(line);
		if (line.empty()) continue;
		if (!kivel::IsValidUtf8(line)) {
			rows.SetSize(rowsBefore);
			return NotUtf8(shownName, lines.Number());
		}
		const std::vector<std::string_view> cells = SplitCells(line);
		Row row;
		row.SetCapacity(static_cast<UInt32>(wanted.size()));
		for (const std::size_t index : wanted) {
			if (index >= cells.size()) {
				row.Push(GS::UniString());
				continue;
			}
			kivel::Utf8ToUtf16(cells[index], units);
			row.Push(kivel::TextOfUnits(units));
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
	const std::string failure = ReadTable(text, shownName, columns, rows);
	if (failure.empty()) return true;
	ACAPI_WriteReport("%s", true, failure.c_str());
	return false;
}

} // namespace SimpleCsv
