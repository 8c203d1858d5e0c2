// Fuzzes the CSV table core: any bytes, with two requested columns, must read without fault.
#include <cstddef>
#include <cstdint>
#include <string_view>

#include "SimpleCsvlib/SimpleCsv.hpp"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
	const std::string_view text(reinterpret_cast<const char*>(data), size);
	const GS::Array<std::wstring> columns{L"x", L"tre_type"};
	SimpleCsv::Rows rows;
	const std::string failure = SimpleCsv::ReadTable(text, "fuzz.csv", columns, rows);
	for (const auto& row : rows)
		if (row.GetSize() != columns.GetSize()) __builtin_trap();
	if (!failure.empty() && !rows.IsEmpty()) __builtin_trap();
	return 0;
}
