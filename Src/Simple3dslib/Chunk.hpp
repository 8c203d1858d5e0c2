// One 3DS chunk header as read, and the names the trace gives chunk ids.
#ifndef VELMORA_SIMPLE3DS_CHUNK_HPP
#define VELMORA_SIMPLE3DS_CHUNK_HPP

#include <array>
#include <cstdint>
#include <string>

namespace Simple3ds {

// Header layout in the file: uint16 id, uint32 length (header and children included).
constexpr std::uint32_t ChunkHeaderSize = 6;

struct Chunk {
	std::uint8_t valid = 0;       // 1 after a successful ReadChunk
	std::uint16_t id = 0;
	std::uint32_t length = 0;     // as stored, header included
	std::uint32_t start = 0;      // file position of the header
	std::uint32_t dataStart = 0;  // start + 6
	std::uint32_t end = 0;        // start + length, in 32 bits: a wrapped end is not after start
	std::uint32_t next = 0;       // where the next sibling begins (== end)

	// The table name of the id, or "***UNKNOWN***".
	std::string GetName() const;
};

struct Simple3dsChunkMapEntry {
	std::uint16_t id;
	const char* name;
};

// Every known chunk id with its trace name, ascending by id.
extern const std::array<Simple3dsChunkMapEntry, 591>& simple3dsChunkMap;

// The trace name of `id` (a static string), or "***UNKNOWN***". Constant time.
const char* ChunkName(std::uint16_t id);

} // namespace Simple3ds

#endif
