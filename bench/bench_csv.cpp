// CSV loading: our table reader (the whole-file read of an import, then the rows of the eight
// tree-list columns as host texts) against libcsv (read in 64 KiB blocks, the same eight cells
// of every row kept as strings), each loading from the file in a fresh process. The generated
// tree lists are written the way a script's CSV writer writes them: no quoting, LF line ends,
// UTF-8 species names. "rowsonly" builds the rows alone, without reading the cells: the floor of
// the load's time and memory.
//   bench_csv [--rounds N] [--sizes MB,MB] [--steady] [FILE ...]
#include <algorithm>
#include <cstdio>
#include <cstring>
#include <string>
#include <vector>

#include <csv.h>

#include "FreshProcess.hpp"
#include "Helpers/BinFileHelper.hpp"
#include "Location.hpp"
#include "SimpleCsvlib/SimpleCsv.hpp"

namespace {

const char* const Header = "id,x,y,z,tre_diameter,tre_hoyde,tre_st\xC3\xB8rrelse,tre_type,tre_type_tekst,kommentar\n";
const char* const Wanted[] = {"x", "y", "z", "tre_diameter", "tre_hoyde", "tre_st\xC3\xB8rrelse", "tre_type", "tre_type_tekst"};
const char* const Kinds[] = {"Bj\xC3\xB8rk", "Gran", "Furu", "L\xC3\xB8vtre"};

void Generate(std::size_t megabytes, const std::string& path)
{
	std::FILE* out = std::fopen(path.c_str(), "wb");
	if (out == nullptr) std::perror(path.c_str()), std::exit(1);
	std::fputs(Header, out);
	unsigned state = 7;
	auto next = [&state](unsigned range) {
		state = state * 1103515245u + 12345u;
		return (state >> 8) % range;
	};
	for (long id = 1; std::ftell(out) < static_cast<long>(megabytes * 1000000); ++id) {
		const unsigned kind = next(4);
		std::fprintf(out, "%ld,%.3f,%.3f,%.2f,%.1f,%.1f,%s,%u,%s,%s\n", id, 597000.0 + next(1000000) / 100.0,
		             6643000.0 + next(1000000) / 100.0, 100.0 + next(5000) / 100.0, 0.2 + next(20) / 10.0,
		             4.0 + next(200) / 10.0, next(2) ? "stor" : "middels", kind + 1, Kinds[kind],
		             next(8) == 0 ? "registrert 2021" : "");
	}
	std::fclose(out);
}

std::string Ours(const std::string& path)
{
	GS::Array<std::wstring> columns;
	for (const char* name : Wanted) {
		std::wstring wide;
		SimpleCsv::ToWide(name, wide);
		columns.Push(wide);
	}
	auto* rows = new SimpleCsv::Rows;
	if (!SimpleCsv::SimpleCsv().LoadFromFile(IO::Location(path.c_str()), columns, *rows))
		std::fprintf(stderr, "our reader failed\n"), std::exit(1);
	const std::string summary = std::to_string(rows->GetSize()) + " rows";
	bench::Dispose(rows);
	return summary;
}

// Not a reader: the least a load into our rows costs, for scale. The whole-file read, then for
// every line a row of eight host texts of ten units each, as the tree list's cells mostly are.
std::string RowsOnly(const std::string& path)
{
	auto* bytes = new std::vector<unsigned char>;
	if (ReadBinaryData(*bytes, IO::Location(path.c_str())) != NoError) std::fprintf(stderr, "read failed\n"), std::exit(1);
	const auto lines = static_cast<UInt32>(std::count(bytes->begin(), bytes->end(), '\n'));
	const GS::UniChar text[] = {u'5', u'9', u'7', u'1', u'2', u'3', u'.', u'4', u'5', u'0'};
	auto* rows = new SimpleCsv::Rows;
	rows->SetCapacity(lines);
	for (UInt32 i = 1; i < lines; ++i) {   // the header gives no row
		SimpleCsv::Row row;
		row.SetCapacity(std::size(Wanted));
		for (std::size_t k = 0; k < std::size(Wanted); ++k) row.Push(GS::UniString(text, std::size(text)));
		rows->Push(std::move(row));
	}
	const std::string summary = std::to_string(rows->GetSize()) + " rows (built, not read)";
	bench::Dispose(bytes);
	bench::Dispose(rows);
	return summary;
}

// libcsv calls back per cell and per row end; the wanted cells of each row are kept.
struct Table {
	std::vector<int> slot;                        // per column: its place among the wanted, or -1
	std::vector<std::vector<std::string>> rows;
	std::vector<std::string> row;
	std::size_t column = 0;
	bool header = true;
};

void OnCell(void* text, std::size_t size, void* data)
{
	auto& t = *static_cast<Table*>(data);
	if (t.header) {
		int place = -1;
		for (std::size_t w = 0; w < std::size(Wanted); ++w)
			if (std::strlen(Wanted[w]) == size && std::memcmp(Wanted[w], text, size) == 0) place = static_cast<int>(w);
		t.slot.push_back(place);
	} else if (t.column < t.slot.size() && t.slot[t.column] >= 0) {
		t.row[static_cast<std::size_t>(t.slot[t.column])].assign(static_cast<const char*>(text), size);
	}
	++t.column;
}

void OnRow(int, void* data)
{
	auto& t = *static_cast<Table*>(data);
	if (!t.header) t.rows.push_back(t.row);
	t.header = false;
	t.row.assign(std::size(Wanted), std::string());
	t.column = 0;
}

std::string Libcsv(const std::string& path)
{
	std::FILE* in = std::fopen(path.c_str(), "rb");
	if (in == nullptr) std::perror(path.c_str()), std::exit(1);
	csv_parser parser;
	csv_init(&parser, 0);
	auto* table = new Table;
	std::vector<char> block(64 * 1024);
	for (std::size_t n; (n = std::fread(block.data(), 1, block.size(), in)) > 0;)
		if (csv_parse(&parser, block.data(), n, OnCell, OnRow, table) != n) std::fprintf(stderr, "libcsv failed\n"), std::exit(1);
	csv_fini(&parser, OnCell, OnRow, table);
	csv_free(&parser);
	std::fclose(in);
	const std::string summary = std::to_string(table->rows.size()) + " rows";
	bench::Dispose(table);
	return summary;
}

} // namespace

int main(int argc, char** argv)
{
	const std::vector<bench::Tool> tools = {{"ours", Ours}, {"libcsv", Libcsv}, {"rowsonly", RowsOnly}};
	return bench::Main(argc, argv, tools, {{"trees.csv", Generate}});
}
