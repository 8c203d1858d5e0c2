// A reader of comma-separated UTF-8 tables whose first line names the columns. No quoting:
// a comma always separates, and quote characters stay in the cells.
#ifndef VELMORA_SIMPLECSV_HPP
#define VELMORA_SIMPLECSV_HPP

#include <string>
#include <string_view>

#include "Array.hpp"
#include "Location.hpp"
#include "UniString.hpp"

namespace SimpleCsv {

using Row = GS::Array<GS::UniString>;
using Rows = GS::Array<Row>;

// UTF-8 to wide text, one wide character per UTF-16 code unit. Throws std::range_error on
// text that is not valid UTF-8.
std::wstring toWstring(const std::string& text);
// The same without throwing: answers false (out then unspecified) on invalid UTF-8.
bool ToWide(std::string_view text, std::wstring& out);
// A copy without a leading UTF-8 byte-order mark.
std::string stripBom(const std::string& text);
// Removes every carriage return and line feed, in place.
void removeLineEnds(std::string& text);

// Reads CSV text (the core of LoadFromFile, with no host calls). Appends one row per
// non-empty data line holding, for each name of columns in its order, the cell of that
// column (an empty text when the line is shorter). Answers an empty text on success;
// otherwise the message to show (a requested column missing from the header, or text
// that is not UTF-8, naming shownName and the line), and rows is left as it came.
std::string ReadTable(std::string_view text, const std::string& shownName, const GS::Array<std::wstring>& columns,
                      Rows& rows);

class SimpleCsv {
public:
	// Reads file and appends its rows as ReadTable does. Answers false, after reporting
	// why with an alert, when the file cannot be read or does not fit in memory, a column
	// is missing or the text is not UTF-8; rows is then left as it came.
	bool LoadFromFile(const IO::Location& file, const GS::Array<std::wstring>& columns, Rows& rows) const;
};

} // namespace SimpleCsv

#endif
