// The CSV table reader: header mapping, cells, line ends, UTF-8 and the file messages.
#include <stdexcept>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "SimpleCsvlib/SimpleCsv.hpp"
#include "TestSupport.hpp"
#include "vhost/Text.hpp"

namespace {

using Table = std::vector<std::vector<std::string>>;

Table AsTable(const SimpleCsv::Rows& rows)
{
	Table table;
	for (const auto& row : rows) {
		std::vector<std::string> cells;
		for (const auto& cell : row) cells.push_back(vhost::ToUtf8(cell));
		table.push_back(cells);
	}
	return table;
}

GS::Array<std::wstring> Names(std::initializer_list<const wchar_t*> names)
{
	GS::Array<std::wstring> out;
	for (const wchar_t* n : names) out.Push(n);
	return out;
}

} // namespace

TEST(CsvTable, EdgeCases)
{
	struct Case {
		const char* name;
		std::string text;
		GS::Array<std::wstring> columns;
		Table rows;
	};
	const Case cases[] = {
		{"request order", "x,y,art\n1,2,furu\n3,4,gran\n", Names({L"art", L"x"}), {{"furu", "1"}, {"gran", "3"}}},
		{"byte-order mark", "\xEF\xBB\xBFx,y\n5,6\n", Names({L"x"}), {{"5"}}},
		{"CR LF", "x,y\r\n1,2\r\n3,4\r\n", Names({L"y"}), {{"2"}, {"4"}}},
		{"repeated name takes its last column", "a,a,b\n1,2,3\n", Names({L"a"}), {{"2"}}},
		{"semicolon does not separate", "a;b,c\n1;2,3\n", Names({L"a;b"}), {{"1;2"}}},
		{"quotes stay and commas split", "a,b,c\n\"a,b\",c\n", Names({L"a", L"b", L"c"}), {{"\"a", "b\"", "c"}}},
		{"white space stays", "x, y\n 1, 2\n", Names({L" y", L"x"}), {{" 2", " 1"}}},
		{"no requested names", "", Names({}), {}},
		{"header only", "x,y\n", Names({L"x"}), {}},
		{"trailing line feed adds no row", "x\n1\n", Names({L"x"}), {{"1"}}},
		{"empty first cell", ",x\n0,1\n", Names({L"", L"x"}), {{"0", "1"}}},
		{"short row gives empty texts", "x,y,z\n1\n4,5\n", Names({L"z", L"x"}), {{"", "1"}, {"", "4"}}},
		{"trailing comma gives no last cell", "x,y\n1,\n", Names({L"y", L"x"}), {{"", "1"}}},
		{"empty lines give no row", "x\n\n1\n\r\n", Names({L"x"}), {{"1"}}},
		{"UTF-8 names and cells", "tre_st\xC3\xB8rrelse\nl\xC3\xB8nn\n", Names({L"tre_st\u00F8rrelse"}), {{"l\xC3\xB8nn"}}},
		{"CR alone: one header line", "x\r1\r", Names({L"x1"}), {}},
		{"CR inside a line joins its cells", "x,y\n1\r2,3\n4,5\n", Names({L"y", L"x"}), {{"3", "12"}, {"5", "4"}}},
		{"mark split by a CR is no mark", "\xEF\r\xBB\xBFx\n1\n", Names({L"\uFEFFx"}), {{"1"}}},
		{"long cells, letters at every offset",
		 "k,v\nabcdefghijklmnopq\xC3\xB8rstu,\xF0\x9F\x8C\xB2" + std::string(20, 'a') + "\xC3\xA6\n",
		 Names({L"v", L"k"}), {{"\xF0\x9F\x8C\xB2" + std::string(20, 'a') + "\xC3\xA6", "abcdefghijklmnopq\xC3\xB8rstu"}}},
	};
	for (const Case& c : cases) {
		SimpleCsv::Rows rows;
		EXPECT_EQ(SimpleCsv::ReadTable(c.text, "t.csv", c.columns, rows), "") << c.name;
		EXPECT_EQ(AsTable(rows), c.rows) << c.name;
	}
}

TEST(CsvTable, FailuresNameTheCauseAndAppendNothing)
{
	struct Case { const char* name; std::string text; GS::Array<std::wstring> columns; std::string message; };
	const Case cases[] = {
		{"missing column", "x,y\n1,2\n", Names({L"x", L"art"}), "Field art not found in CSV headers."},
		{"space is part of the name", " x\n1\n", Names({L"x"}), "Field x not found in CSV headers."},
		{"empty file", "", Names({L"x"}), "Field x not found in CSV headers."},
		{"UTF-8 column name in message", "x\n", Names({L"st\u00F8rrelse"}), "Field st\xC3\xB8rrelse not found in CSV headers."},
		{"bad header", "x,\xFF\n1,2\n", Names({L"x"}), "Error: File (t.csv) is not UTF-8 text (line 1)."},
		{"bad cell", "x,y\n1,2\n3,\xC3(\n", Names({L"x"}), "Error: File (t.csv) is not UTF-8 text (line 3)."},
		{"surrogate", "x\n\xED\xA0\x80\n", Names({L"x"}), "Error: File (t.csv) is not UTF-8 text (line 2)."},
		{"overlong", "x\n\n\xC0\xAF\n", Names({L"x"}), "Error: File (t.csv) is not UTF-8 text (line 3)."},
		{"past U+10FFFF", "x\n12345678\xF4\x90\x80\x80\n", Names({L"x"}), "Error: File (t.csv) is not UTF-8 text (line 2)."},
	};
	for (const Case& c : cases) {
		SimpleCsv::Rows rows;
		rows.Push(SimpleCsv::Row{GS::UniString("kept")});
		EXPECT_EQ(SimpleCsv::ReadTable(c.text, "t.csv", c.columns, rows), c.message) << c.name;
		EXPECT_EQ(AsTable(rows), Table({{"kept"}})) << c.name;
	}
}

TEST(CsvTable, RowsAreAppended)
{
	SimpleCsv::Rows rows;
	ASSERT_EQ(SimpleCsv::ReadTable("x\n1\n", "", Names({L"x"}), rows), "");
	ASSERT_EQ(SimpleCsv::ReadTable("x\n2\n", "", Names({L"x"}), rows), "");
	EXPECT_EQ(AsTable(rows), Table({{"1"}, {"2"}}));
}

TEST(CsvTable, EveryPrefixReadsWithoutFault)
{
	const std::string text = "\xEF\xBB\xBFx,y,tre_type\r\n1,2,furu\r\n3,4,l\xC3\xB8nn\r\n5\r\n";
	const std::size_t headerEnd = text.find("tre_type") + 8;
	const std::size_t split = text.find("\xC3\xB8") + 1;
	for (std::size_t n = 0; n <= text.size(); ++n) {
		SimpleCsv::Rows rows;
		const std::string failure = SimpleCsv::ReadTable(text.substr(0, n), "p.csv", Names({L"tre_type", L"x"}), rows);
		for (const auto& row : rows) ASSERT_EQ(row.GetSize(), 2u) << n;
		// A cut fails only before the header names tre_type, or inside the two bytes of a letter.
		const bool whole = n >= headerEnd && n != split;
		ASSERT_EQ(failure.empty(), whole) << n << ": " << failure;
		ASSERT_LE(rows.GetSize(), 3u) << n;
	}
}

TEST(CsvHelpers, WideTextBomAndLineEnds)
{
	EXPECT_EQ(SimpleCsv::toWstring("a\xC3\xB8\xF0\x9F\x8C\xB2"), std::wstring(L"a\u00F8") + wchar_t(0xD83C) + wchar_t(0xDF32));
	EXPECT_THROW(SimpleCsv::toWstring("\xC3"), std::range_error);
	EXPECT_EQ(SimpleCsv::stripBom("\xEF\xBB\xBFx"), "x");
	EXPECT_EQ(SimpleCsv::stripBom("\xEF\xBB"), "\xEF\xBB");
	EXPECT_EQ(SimpleCsv::stripBom("x\xEF\xBB\xBF"), "x\xEF\xBB\xBF");
	std::string text = "\ra\r\nb\n";
	SimpleCsv::removeLineEnds(text);
	EXPECT_EQ(text, "ab");
}

// Rows of ASCII cells and of cells with letters of two, three and four bytes, in every mix,
// some short and some long, with the columns asked for out of order: the same cells as a plain
// split of each line at its commas.
TEST(CsvTable, MixedLettersGiveTheCellsOfAPlainSplit)
{
	const std::vector<std::string> pieces = {"5971", "\xC3\xB8", "\xE2\x82\xAC", "\xF0\x9F\x8C\xB2", "a b", "", "12.5"};
	const int columnCount = 6;
	std::string text = "c0,c1,c2,c3,c4,c5\n";
	Table expected;
	unsigned state = 5;
	auto next = [&state](unsigned range) {
		state = state * 1103515245u + 12345u;
		return (state >> 8) % range;
	};
	for (int line = 0; line < 300; ++line) {
		std::vector<std::string> cells;
		const int count = 1 + static_cast<int>(next(columnCount + 1));   // a line may be short or long
		for (int c = 0; c < count; ++c) {
			std::string cell;
			for (unsigned k = next(5); k > 0; --k) cell += pieces[next(static_cast<unsigned>(pieces.size()))];
			cells.push_back(cell);
			text += (c ? "," : "") + cell;
		}
		text += "\n";
		if (count == 1 && cells[0].empty()) continue;   // an empty line gives no row
		// Requested: c4, c0, c2 (a trailing empty cell is no cell; a missing one is empty).
		auto cellOf = [&cells](std::size_t i) { return i < cells.size() ? cells[i] : std::string(); };
		expected.push_back({cellOf(4), cellOf(0), cellOf(2)});
	}
	SimpleCsv::Rows rows;
	ASSERT_EQ(SimpleCsv::ReadTable(text, "m.csv", Names({L"c4", L"c0", L"c2"}), rows), "");
	EXPECT_EQ(AsTable(rows), expected);
}

class CsvFile : public testsupport::HostTest {};

TEST_F(CsvFile, TreeListFromAnotherTool)
{
	SimpleCsv::Rows rows;
	const auto file = testsupport::Loc(std::string(VELMORA_FIXTURES) + "/csv/trees-comma.csv");
	ASSERT_TRUE(SimpleCsv::SimpleCsv().LoadFromFile(file, Names({L"x", L"tre_st\u00F8rrelse", L"kommentar", L"y"}), rows));
	ASSERT_EQ(rows.GetSize(), 200u);
	const Table table = AsTable(rows);
	EXPECT_EQ(table[0], std::vector<std::string>({"597511.82", "stor", "", "6643562.05"}));
	// No quoting: the comma inside a quoted comment separates, the quote stays.
	EXPECT_EQ(table[24], std::vector<std::string>({"597961.66", "medium", "\"Felles tre", "6643144.00"}));
	EXPECT_EQ(table[99][2], "\"Kalt \"\"Kongeeika\"\"\"");
	EXPECT_EQ(table[199][1], "medium");
	EXPECT_TRUE(ReportTexts().empty());
}

TEST_F(CsvFile, MessagesForAMissingFileAColumnAndBadText)
{
	testsupport::TempDir dir;
	testsupport::WriteFile(dir / "a.csv", "x\n1\n");
	testsupport::WriteFile(dir / "bad.csv", "x\n\xFE\n");
	SimpleCsv::Rows rows;
	const SimpleCsv::SimpleCsv csv;
	EXPECT_FALSE(csv.LoadFromFile(testsupport::Loc(dir / "none.csv"), Names({L"x"}), rows));
	EXPECT_FALSE(csv.LoadFromFile(testsupport::Loc(dir / "a.csv"), Names({L"y"}), rows));
	EXPECT_FALSE(csv.LoadFromFile(testsupport::Loc(dir / "bad.csv"), Names({L"x"}), rows));
	EXPECT_TRUE(rows.IsEmpty());
	EXPECT_EQ(ReportTexts(), std::vector<std::string>({"Error: File (" + dir / "none.csv" + ") not found!",
	                                                   "Field y not found in CSV headers.",
	                                                   "Error: File (" + dir / "bad.csv" + ") is not UTF-8 text (line 2)."}));
	for (const auto& report : Host().reports) EXPECT_TRUE(report.alert);
	EXPECT_TRUE(csv.LoadFromFile(testsupport::Loc(dir / "a.csv"), Names({L"x"}), rows));
	EXPECT_EQ(AsTable(rows), Table({{"1"}}));

	// A file or column name that looks like a format is printed as it stands.
	Host().reports.clear();
	testsupport::WriteFile(dir / "%d%s.csv", "x\n1\n");
	EXPECT_FALSE(csv.LoadFromFile(testsupport::Loc(dir / "%d%s.csv"), Names({L"%d%s"}), rows));
	EXPECT_EQ(ReportTexts(), std::vector<std::string>({"Field %d%s not found in CSV headers."}));
}
