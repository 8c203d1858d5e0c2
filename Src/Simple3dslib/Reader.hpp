// The 3DS chunk reader: chunk headers, the walk over a container's children, and one handler
// per chunk that the scene loader reads. The trace of a load is collected in the reader and
// written out by the caller in one piece.
#ifndef VELMORA_SIMPLE3DS_READER_HPP
#define VELMORA_SIMPLE3DS_READER_HPP

#include <cstdint>
#include <fstream>
#include <memory>
#include <string>
#include <vector>

#include "Simple3dslib/Chunk.hpp"
#include "Simple3dslib/DataReader.hpp"
#include "Simple3dslib/Simple3dsScene.hpp"

namespace Simple3ds {

// Every handler answers true when its chunk was read and false when the chunk is bad, which
// fails its parent at once. A handler reads only inside its own chunk.
class Reader {
public:
	// Over a stream opened in binary mode, or over bytes; either must outlive the reader.
	explicit Reader(std::ifstream& stream);
	explicit Reader(const std::vector<std::uint8_t>& bytes);

	// Reads the header at `pos` and traces it ("Chunk ID: ...", "Chunk size: ..."). False,
	// with no trace, when the header is not inside the data or its length is below 6; `chunk`
	// is then marked invalid.
	bool ReadChunk(Chunk& chunk, std::uint32_t pos);
	// The same, but false without reading when the header does not end by `limit`.
	bool ReadChunk(Chunk& chunk, std::uint32_t pos, std::uint32_t limit);

	// The trace written so far.
	const std::string& Trace() const { return trace_; }

	bool Read_M3DMAGIC(Simple3dsScene& scene, const Chunk& chunk);
	bool Read_MDATA(Simple3dsScene& scene, const Chunk& chunk);
	bool Read_MAT_ENTRY(Simple3dsScene& scene, const Chunk& chunk);
	bool Read_NAMED_OBJECT(Simple3dsScene& scene, const Chunk& chunk);
	bool Read_N_TRI_OBJECT(Simple3dsScene& scene, const Chunk& chunk);
	bool Read_POINT_ARRAY(Simple3dsMesh& mesh, const Chunk& chunk);
	bool Read_FACE_ARRAY(Simple3dsMesh& mesh, const std::vector<Simple3dsMaterial>& materials, const Chunk& chunk);
	bool Read_MSH_MAT_GROUP(Simple3dsMesh& mesh, const std::vector<Simple3dsMaterial>& materials, const Chunk& chunk);
	bool Read_TEX_VERTS(Simple3dsMesh& mesh, const Chunk& chunk);
	bool Read_MAT_NAME(Simple3dsMaterial& material, const Chunk& chunk);
	bool Read_MAT_AMBIENT(Simple3dsMaterial& material, const Chunk& chunk);
	bool Read_MAT_DIFFUSE(Simple3dsMaterial& material, const Chunk& chunk);
	bool Read_MAT_SPECULAR(Simple3dsMaterial& material, const Chunk& chunk);
	bool Read_MAT_SHIN2PCT(Simple3dsMaterial& material, const Chunk& chunk);
	bool Read_MAT_TRANSPARENCY(Simple3dsMaterial& material, const Chunk& chunk);
	bool Read_MAT_XPFALL(Simple3dsMaterial& material, const Chunk& chunk);
	bool Read_MAT_TEXMAP(Simple3dsTextureMap& texture, const Chunk& chunk);
	// Colour rule: a linear colour (0x0012, 0x0013) replaces a gamma one (0x0010, 0x0011),
	// a gamma colour after a linear one is ignored, otherwise the last one wins.
	bool Read_Color(Simple3dsColor& color, const Chunk& chunk);
	bool Read_COLOR_F(Simple3dsColor& color, const Chunk& chunk);
	bool Read_COLOR_24(Simple3dsColor& color, const Chunk& chunk);
	bool Read_LIN_COLOR_F(Simple3dsColor& color, const Chunk& chunk);
	bool Read_LIN_COLOR_24(Simple3dsColor& color, const Chunk& chunk);
	// Percentage rule: 0x0030 gives its uint16 / 100, 0x0031 its float; the last one wins.
	bool Read_Percentage(float& value, const Chunk& chunk);
	bool Read_INT_PERCENTAGE(std::uint16_t& value, const Chunk& chunk);
	bool Read_FLOAT_PERCENTAGE(float& value, const Chunk& chunk);
	bool Read_UNKNOWN(const Chunk& chunk);

private:
	template <typename OnChild>
	bool ForEachChild(const Chunk& parent, std::uint64_t first, OnChild&& onChild);
	const std::uint8_t* ArrayIn(const Chunk& chunk, std::uint64_t at, std::uint32_t count, std::uint32_t entrySize);
	bool StringIn(const Chunk& chunk, std::uint64_t at, std::string& out);
	bool CountIn(const Chunk& chunk, std::uint64_t at, std::uint16_t& count);
	bool FloatIn(const Chunk& chunk, float& out);
	bool TracedColor(Simple3dsColor& color, const Chunk& chunk, const char* label);

	std::unique_ptr<DataReader> source_;
	std::string trace_;
};

} // namespace Simple3ds

#endif
