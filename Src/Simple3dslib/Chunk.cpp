#include "Simple3dslib/Chunk.hpp"

namespace Simple3ds {

namespace {

constexpr std::array<Simple3dsChunkMapEntry, 591> Rows = {{
#include "Simple3dslib/ChunkNames.inc"
}};
constexpr std::size_t RowCount = Rows.size();
static_assert(Rows[RowCount - 1].id == 0xFFFF, "the chunk-name table is complete");

// Row number + 1 for every id (0: no row), so a name is one indexed load away.
struct NameIndex {
	std::uint16_t row[65536];
};

constexpr NameIndex MakeNameIndex()
{
	NameIndex index{};
	for (std::size_t i = 0; i < RowCount; ++i) index.row[Rows[i].id] = static_cast<std::uint16_t>(i + 1);
	return index;
}

constexpr NameIndex nameIndex = MakeNameIndex();

} // namespace

const std::array<Simple3dsChunkMapEntry, 591>& simple3dsChunkMap = Rows;

const char* ChunkName(std::uint16_t id)
{
	const std::uint16_t row = nameIndex.row[id];
	return row == 0 ? "***UNKNOWN***" : Rows[row - 1].name;
}

std::string Chunk::GetName() const { return ChunkName(id); }

} // namespace Simple3ds
