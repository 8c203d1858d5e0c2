// Fuzzes the tree list from bytes to records: any table must read without fault, and every
// row taken holds finite numbers and gives a record of eleven parameters.
#include <cmath>
#include <cstddef>
#include <cstdint>
#include <cstring>
#include <string_view>

#include "Classes/VegetationReader.hpp"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
	const std::string_view text(reinterpret_cast<const char*>(data), size);
	SimpleCsv::Rows rows;
	if (!SimpleCsv::ReadTable(text, "fuzz.csv", VegetationReader::Columns(), rows).empty()) return 0;
	API_LibPart part;
	std::memset(&part, 0, sizeof part);
	for (const SimpleCsv::Row& row : rows) {
		TreeRow tree;
		if (VegetationReader::ParseRow(row, tree) != nullptr) continue;
		for (const double v : {tree.x, tree.y, tree.z, tree.diameter, tree.height})
			if (!std::isfinite(v)) __builtin_trap();
		VegetationReader::GetTreePart(tree.kind);
		if (VegetationReader::MakeRecord(part, tree, 1, PartDisplay{}).parameters.GetSize() != 11) __builtin_trap();
	}
	return 0;
}
