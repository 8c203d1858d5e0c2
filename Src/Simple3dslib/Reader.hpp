// The 3DS chunk reader: chunk headers, the walk over a container's children, and one handler
// per chunk that the scene loader reads. The trace of a load goes to its stream through a
// fixed buffer as the load goes, or is kept in the reader when it has no stream.
#ifndef VELMORA_SIMPLE3DS_READER_HPP
#define VELMORA_SIMPLE3DS_READER_HPP

#include <cstdint>
#include <fstream>
#include <memory>
#include <ostream>
#include <string>
#include <vector>

#include "Simple3dslib/Chunk.hpp"
#include "Simple3dslib/DataReader.hpp"
#include "Simple3dslib/Simple3dsScene.hpp"

namespace Simple3ds {

// Trace text on its way to a stream. It is written out whenever the next piece would not fit
// in the buffer, so a load holds at most Capacity bytes of trace however long the trace is.
// Without a stream the whole text is kept.
class TraceBuffer {
public:
	static constexpr std::size_t Capacity = 64 * 1024;

	explicit TraceBuffer(std::ostream* out);
	TraceBuffer(const TraceBuffer&) = delete;
	TraceBuffer& operator=(const TraceBuffer&) = delete;
	// Writes out what is buffered.
	~TraceBuffer() { Flush(); }

	void append(const char* text, std::size_t n);
	TraceBuffer& operator+=(char c)
	{
		if (out_ != nullptr && text_.size() == Capacity) Flush();
		text_ += c;
		return *this;
	}
	TraceBuffer& operator+=(const char* text);
	TraceBuffer& operator+=(const std::string& text) { append(text.data(), text.size()); return *this; }
	// Writes the buffered text to the stream and empties the buffer; no effect without one.
	void Flush();
	// The text not yet written: without a stream, the whole trace.
	const std::string& Text() const { return text_; }

private:
	std::ostream* out_;
	std::string text_;
};

// Every handler answers true when its chunk was read and false when the chunk is bad, which
// fails its parent at once. A handler reads only inside its own chunk.
class Reader {
public:
	// Over a stream opened in binary mode, or over bytes; either must outlive the reader. The
	// trace goes to `trace` as the load goes (the rest when the reader ends or on FlushTrace),
	// or is kept for Trace() when `trace` is null; a given stream must outlive the reader.
	explicit Reader(std::ifstream& stream, std::ostream* trace = nullptr);
	explicit Reader(const std::vector<std::uint8_t>& bytes, std::ostream* trace = nullptr);

	// Reads the header at `pos` and traces it ("Chunk ID: ...", "Chunk size: ..."). False,
	// with no trace, when the header is not inside the data or its length is below 6; `chunk`
	// is then marked invalid.
	bool ReadChunk(Chunk& chunk, std::uint32_t pos);
	// The same, but false without reading when the header does not end by `limit`.
	bool ReadChunk(Chunk& chunk, std::uint32_t pos, std::uint32_t limit);

	// The trace kept so far (a reader without a trace stream keeps all of it).
	const std::string& Trace() const { return trace_.Text(); }
	// Writes what is buffered of the trace to its stream.
	void FlushTrace() { trace_.Flush(); }

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
	TraceBuffer trace_;
};

} // namespace Simple3ds

#endif
