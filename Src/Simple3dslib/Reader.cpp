#include "Simple3dslib/Reader.hpp"

#include <charconv>
#include <cstdio>
#include <cstring>
#include <type_traits>

namespace Simple3ds {

namespace {

constexpr std::uint32_t TracedEntries = 20; // entry lines traced per array chunk

// Trace text in the stream's default formatting: decimal integers, floats as "%g".
template <typename T>
void Put(TraceBuffer& trace, const T& value)
{
	if constexpr (std::is_same_v<T, float>) {
		// The precision form of to_chars is printf's "%.6g" in the C locale, without its cost.
		char text[32];
		const auto end = std::to_chars(text, text + sizeof text, static_cast<double>(value), std::chars_format::general, 6);
		trace.append(text, static_cast<std::size_t>(end.ptr - text));
	} else if constexpr (std::is_integral_v<T>) {
		char text[24];
		trace.append(text, static_cast<std::size_t>(std::to_chars(text, text + sizeof text, value).ptr - text));
	} else {
		trace += value;
	}
}

template <typename... T>
void Line(TraceBuffer& trace, const T&... parts)
{
	(Put(trace, parts), ...);
	trace += '\n';
}

void PutHex(TraceBuffer& trace, std::uint32_t value)
{
	char text[16];
	trace.append(text, static_cast<std::size_t>(std::to_chars(text, text + sizeof text, value, 16).ptr - text));
}

std::uint16_t LeU16(const std::uint8_t* p) { return static_cast<std::uint16_t>(p[0] | p[1] << 8); }

float LeF32(const std::uint8_t* p)
{
	const std::uint32_t bits = static_cast<std::uint32_t>(p[0]) | static_cast<std::uint32_t>(p[1]) << 8 |
	                           static_cast<std::uint32_t>(p[2]) << 16 | static_cast<std::uint32_t>(p[3]) << 24;
	float f;
	std::memcpy(&f, &bits, sizeof f);
	return f;
}

} // namespace

TraceBuffer::TraceBuffer(std::ostream* out) : out_(out)
{
	if (out_ != nullptr) text_.reserve(Capacity);
}

void TraceBuffer::append(const char* text, std::size_t n)
{
	if (out_ != nullptr && text_.size() + n > Capacity) {
		Flush();
		if (n > Capacity) {   // a piece longer than the buffer goes out as it is
			out_->write(text, static_cast<std::streamsize>(n));
			return;
		}
	}
	text_.append(text, n);
}

TraceBuffer& TraceBuffer::operator+=(const char* text)
{
	append(text, std::strlen(text));
	return *this;
}

void TraceBuffer::Flush()
{
	if (out_ == nullptr || text_.empty()) return;
	out_->write(text_.data(), static_cast<std::streamsize>(text_.size()));
	text_.clear();
}

Reader::Reader(std::ifstream& stream, std::ostream* trace) : source_(std::make_unique<FileReader>(stream)), trace_(trace)
{
}

Reader::Reader(const std::vector<std::uint8_t>& bytes, std::ostream* trace)
    : source_(std::make_unique<ByteReader>(bytes)), trace_(trace)
{
}

bool Reader::ReadChunk(Chunk& chunk, std::uint32_t pos)
{
	chunk.valid = 0;
	chunk.start = chunk.dataStart = chunk.end = chunk.next = 0;
	std::uint16_t id = 0;
	std::uint32_t length = 0;
	if (!source_->ReadUint16(id, pos)) return false;
	chunk.id = id;
	if (!FitsIn(pos, 6, source_->Size()) || !source_->ReadUint32(length, pos + 2)) return false;
	chunk.length = length;
	if (length < ChunkHeaderSize) return false;
	chunk.start = pos;
	chunk.next = chunk.end = pos + length; // may wrap; the child walk refuses an end not after start
	chunk.dataStart = pos + ChunkHeaderSize;
	chunk.valid = 1;
	trace_ += "Chunk ID: ";
	PutHex(trace_, id);
	Line(trace_, " (", ChunkName(id), ")");
	trace_ += "Chunk size: ";
	Put(trace_, length);
	trace_ += '(';
	PutHex(trace_, length);
	trace_ += ")\n";
	return true;
}

bool Reader::ReadChunk(Chunk& chunk, std::uint32_t pos, std::uint32_t limit)
{
	if (!FitsIn(pos, ChunkHeaderSize, limit)) return false;
	return ReadChunk(chunk, pos);
}

// Walks the children from `first` while a whole header fits before the parent's end. An
// unreadable header ends the walk as read; a child that ends before its start (a wrapped
// length) or after its parent, or whose handler fails, fails the parent.
template <typename OnChild>
bool Reader::ForEachChild(const Chunk& parent, std::uint64_t first, OnChild&& onChild)
{
	Chunk child;
	for (std::uint64_t pos = first; FitsIn(pos, ChunkHeaderSize, parent.end); pos = child.next) {
		if (!ReadChunk(child, static_cast<std::uint32_t>(pos))) return true;
		if (child.end <= child.start || child.end > parent.end) return false;
		if (!onChild(child)) return false;
	}
	return true;
}

// `count` entries of `entrySize` bytes at `at`, all inside `chunk` and the data, or null.
const std::uint8_t* Reader::ArrayIn(const Chunk& chunk, std::uint64_t at, std::uint32_t count, std::uint32_t entrySize)
{
	const std::uint64_t bytes = static_cast<std::uint64_t>(count) * entrySize;
	if (!FitsIn(at, bytes, chunk.end)) return nullptr;
	return source_->View(static_cast<std::uint32_t>(at), static_cast<std::uint32_t>(bytes));
}

bool Reader::StringIn(const Chunk& chunk, std::uint64_t at, std::string& out)
{
	return at < chunk.end && source_->ReadString(out, static_cast<std::uint32_t>(at), chunk.end);
}

bool Reader::CountIn(const Chunk& chunk, std::uint64_t at, std::uint16_t& count)
{
	const std::uint8_t* p = ArrayIn(chunk, at, 1, 2);
	if (p == nullptr) return false;
	count = LeU16(p);
	return true;
}

bool Reader::FloatIn(const Chunk& chunk, float& out)
{
	const std::uint8_t* p = ArrayIn(chunk, chunk.dataStart, 1, 4);
	if (p == nullptr) return false;
	out = LeF32(p);
	return true;
}

bool Reader::Read_M3DMAGIC(Simple3dsScene& scene, const Chunk& chunk)
{
	return ForEachChild(chunk, chunk.dataStart,
	                    [&](const Chunk& c) { return c.id == 0x3D3D ? Read_MDATA(scene, c) : Read_UNKNOWN(c); });
}

bool Reader::Read_MDATA(Simple3dsScene& scene, const Chunk& chunk)
{
	return ForEachChild(chunk, chunk.dataStart, [&](const Chunk& c) {
		switch (c.id) {
			case 0xAFFF: return Read_MAT_ENTRY(scene, c);
			case 0x4000: return Read_NAMED_OBJECT(scene, c);
			default: return Read_UNKNOWN(c);
		}
	});
}

bool Reader::Read_MAT_ENTRY(Simple3dsScene& scene, const Chunk& chunk)
{
	Simple3dsMaterial material;
	const bool ok = ForEachChild(chunk, chunk.dataStart, [&](const Chunk& c) {
		switch (c.id) {
			case 0xA000: return Read_MAT_NAME(material, c);
			case 0xA010: return Read_MAT_AMBIENT(material, c);
			case 0xA020: return Read_MAT_DIFFUSE(material, c);
			case 0xA030: return Read_MAT_SPECULAR(material, c);
			case 0xA041: return Read_MAT_SHIN2PCT(material, c);
			case 0xA050: return Read_MAT_TRANSPARENCY(material, c);
			case 0xA052: return Read_MAT_XPFALL(material, c);
			case 0xA080: material.selfIllum = true; return true;
			case 0xA200: return Read_MAT_TEXMAP(material.texture, c);
			default: return Read_UNKNOWN(c);
		}
	});
	if (ok) scene.materials.push_back(std::move(material));
	return ok;
}

bool Reader::Read_NAMED_OBJECT(Simple3dsScene& scene, const Chunk& chunk)
{
	std::string name;
	if (!StringIn(chunk, chunk.dataStart, name)) return false;
	Line(trace_, "Named object name: ", name);
	const std::uint64_t first = static_cast<std::uint64_t>(chunk.dataStart) + name.size() + 1;
	return ForEachChild(chunk, first,
	                    [&](const Chunk& c) { return c.id == 0x4100 ? Read_N_TRI_OBJECT(scene, c) : Read_UNKNOWN(c); });
}

bool Reader::Read_N_TRI_OBJECT(Simple3dsScene& scene, const Chunk& chunk)
{
	Simple3dsMesh mesh;
	const bool ok = ForEachChild(chunk, chunk.dataStart, [&](const Chunk& c) {
		switch (c.id) {
			case 0x4110: return Read_POINT_ARRAY(mesh, c);
			case 0x4120: return Read_FACE_ARRAY(mesh, scene.materials, c);
			case 0x4140: return Read_TEX_VERTS(mesh, c);
			default: return Read_UNKNOWN(c);
		}
	});
	if (!ok) return false;
	// Faces may come before their points, so the indices are checked once the mesh is whole.
	const std::size_t nVertices = mesh.vertices.size();
	for (const Simple3dsFace& f : mesh.faces)
		if (f.a >= nVertices || f.b >= nVertices || f.c >= nVertices) return false;
	if (mesh.uvs.size() != nVertices) mesh.uvs.clear();
	const std::size_t index = scene.meshes.size();
	const std::size_t nFaces = mesh.faces.size();
	scene.meshes.push_back(std::move(mesh));
	Line(trace_, "Mesh[", index, "]:");
	Line(trace_, "- nVertices: ", nVertices);
	Line(trace_, "- nFaces: ", nFaces);
	return true;
}

bool Reader::Read_POINT_ARRAY(Simple3dsMesh& mesh, const Chunk& chunk)
{
	std::uint16_t n = 0;
	if (!CountIn(chunk, chunk.dataStart, n)) return false;
	const std::uint8_t* p = ArrayIn(chunk, chunk.dataStart + 2ull, n, 12);
	if (p == nullptr) return false;
	const std::size_t first = mesh.vertices.size();
	mesh.vertices.resize(first + n);
	Simple3dsVertex* out = mesh.vertices.data() + first;
	for (std::uint32_t i = 0; i < n; ++i, p += 12) out[i] = {LeF32(p), LeF32(p + 4), LeF32(p + 8)};
	for (std::uint32_t i = 0; i < n && i < TracedEntries; ++i) Line(trace_, out[i].x, " ", out[i].y, " ", out[i].z);
	return true;
}

bool Reader::Read_FACE_ARRAY(Simple3dsMesh& mesh, const std::vector<Simple3dsMaterial>& materials, const Chunk& chunk)
{
	std::uint16_t n = 0;
	if (!CountIn(chunk, chunk.dataStart, n)) return false;
	const std::uint8_t* p = ArrayIn(chunk, chunk.dataStart + 2ull, n, 8);
	if (p == nullptr) return false;
	const std::size_t first = mesh.faces.size();
	mesh.faces.resize(first + n);
	Simple3dsFace* out = mesh.faces.data() + first;
	for (std::uint32_t i = 0; i < n; ++i, p += 8)
		out[i] = {LeU16(p), LeU16(p + 2), LeU16(p + 4), LeU16(p + 6), Simple3dsNoMaterial};
	for (std::uint32_t i = 0; i < n && i < TracedEntries; ++i)
		Line(trace_, out[i].a, " ", out[i].b, " ", out[i].c, " ", out[i].flags);
	const std::uint64_t children = chunk.dataStart + 2ull + 8ull * n;
	return ForEachChild(chunk, children, [&](const Chunk& c) {
		return c.id == 0x4130 ? Read_MSH_MAT_GROUP(mesh, materials, c) : Read_UNKNOWN(c);
	});
}

bool Reader::Read_MSH_MAT_GROUP(Simple3dsMesh& mesh, const std::vector<Simple3dsMaterial>& materials, const Chunk& chunk)
{
	std::string name;
	if (!StringIn(chunk, chunk.dataStart, name) || materials.empty()) return false;
	std::size_t index = materials.size();
	for (std::size_t i = materials.size(); i-- > 0;)
		if (materials[i].name == name) { index = i; break; }
	if (index == materials.size()) return false;
	const std::uint64_t at = static_cast<std::uint64_t>(chunk.dataStart) + name.size() + 1;
	std::uint16_t n = 0;
	if (!CountIn(chunk, at, n)) return false;
	const std::uint8_t* p = ArrayIn(chunk, at + 2, n, 2);
	if (p == nullptr) return false;
	for (std::uint32_t i = 0; i < n; ++i, p += 2) {
		const std::uint16_t face = LeU16(p);
		if (face >= mesh.faces.size()) return false;
		mesh.faces[face].material = static_cast<std::uint16_t>(index);
	}
	return true;
}

bool Reader::Read_TEX_VERTS(Simple3dsMesh& mesh, const Chunk& chunk)
{
	std::uint16_t n = 0;
	if (!CountIn(chunk, chunk.dataStart, n)) return false;
	const std::uint8_t* p = ArrayIn(chunk, chunk.dataStart + 2ull, n, 8);
	if (p == nullptr) return false;
	const std::size_t first = mesh.uvs.size();
	mesh.uvs.resize(first + n);
	Simple3dsUV* out = mesh.uvs.data() + first;
	for (std::uint32_t i = 0; i < n; ++i, p += 8) out[i] = {LeF32(p), LeF32(p + 4)};
	for (std::uint32_t i = 0; i < n && i < TracedEntries; ++i) Line(trace_, out[i].u, " ", out[i].v);
	return true;
}

bool Reader::Read_MAT_NAME(Simple3dsMaterial& material, const Chunk& chunk)
{
	std::string name;
	if (!StringIn(chunk, chunk.dataStart, name)) return false;
	Line(trace_, "Material name: ", " ", name);
	material.name = std::move(name);
	return true;
}

bool Reader::TracedColor(Simple3dsColor& color, const Chunk& chunk, const char* label)
{
	if (!Read_Color(color, chunk)) return false;
	Line(trace_, label, color.r, ", ", color.g, ", ", color.b);
	return true;
}

bool Reader::Read_MAT_AMBIENT(Simple3dsMaterial& m, const Chunk& c) { return TracedColor(m.ambient, c, "Ambient color: "); }
bool Reader::Read_MAT_DIFFUSE(Simple3dsMaterial& m, const Chunk& c) { return TracedColor(m.diffuse, c, "Diffuse color: "); }
bool Reader::Read_MAT_SPECULAR(Simple3dsMaterial& m, const Chunk& c) { return TracedColor(m.specular, c, "Specular color: "); }
bool Reader::Read_MAT_SHIN2PCT(Simple3dsMaterial& m, const Chunk& c) { return Read_Percentage(m.shininess, c); }
bool Reader::Read_MAT_TRANSPARENCY(Simple3dsMaterial& m, const Chunk& c) { return Read_Percentage(m.transparency, c); }
bool Reader::Read_MAT_XPFALL(Simple3dsMaterial& m, const Chunk& c) { return Read_Percentage(m.xpfall, c); }

bool Reader::Read_MAT_TEXMAP(Simple3dsTextureMap& texture, const Chunk& chunk)
{
	return ForEachChild(chunk, chunk.dataStart, [&](const Chunk& c) {
		std::uint16_t percent = 0;
		switch (c.id) {
			case 0x0030:
				if (!Read_INT_PERCENTAGE(percent, c)) return false;
				texture.percentage = percent / 100.0f;
				return true;
			case 0xA300: return StringIn(c, c.dataStart, texture.fileName);
			case 0xA354: return FloatIn(c, texture.uScale);
			case 0xA356: return FloatIn(c, texture.vScale);
			case 0xA35C: return FloatIn(c, texture.angle);
			default: return Read_UNKNOWN(c);
		}
	});
}

bool Reader::Read_Color(Simple3dsColor& color, const Chunk& chunk)
{
	bool linear = false;
	return ForEachChild(chunk, chunk.dataStart, [&](const Chunk& c) {
		switch (c.id) {
			case 0x0010: return linear || Read_COLOR_F(color, c);
			case 0x0011: return linear || Read_COLOR_24(color, c);
			case 0x0012: linear = true; return Read_LIN_COLOR_24(color, c);
			case 0x0013: linear = true; return Read_LIN_COLOR_F(color, c);
			default: return Read_UNKNOWN(c);
		}
	});
}

bool Reader::Read_COLOR_F(Simple3dsColor& color, const Chunk& chunk)
{
	const std::uint8_t* p = ArrayIn(chunk, chunk.dataStart, 3, 4);
	if (p == nullptr) return false;
	color = {LeF32(p), LeF32(p + 4), LeF32(p + 8)};
	return true;
}

bool Reader::Read_COLOR_24(Simple3dsColor& color, const Chunk& chunk)
{
	const std::uint8_t* p = ArrayIn(chunk, chunk.dataStart, 3, 1);
	if (p == nullptr) return false;
	color = {p[0] / 255.0f, p[1] / 255.0f, p[2] / 255.0f};
	return true;
}

bool Reader::Read_LIN_COLOR_F(Simple3dsColor& color, const Chunk& chunk) { return Read_COLOR_F(color, chunk); }
bool Reader::Read_LIN_COLOR_24(Simple3dsColor& color, const Chunk& chunk) { return Read_COLOR_24(color, chunk); }

bool Reader::Read_Percentage(float& value, const Chunk& chunk)
{
	return ForEachChild(chunk, chunk.dataStart, [&](const Chunk& c) {
		std::uint16_t percent = 0;
		switch (c.id) {
			case 0x0030:
				if (!Read_INT_PERCENTAGE(percent, c)) return false;
				value = percent / 100.0f;
				return true;
			case 0x0031: return Read_FLOAT_PERCENTAGE(value, c);
			default: return Read_UNKNOWN(c);
		}
	});
}

bool Reader::Read_INT_PERCENTAGE(std::uint16_t& value, const Chunk& chunk) { return CountIn(chunk, chunk.dataStart, value); }
bool Reader::Read_FLOAT_PERCENTAGE(float& value, const Chunk& chunk) { return FloatIn(chunk, value); }
bool Reader::Read_UNKNOWN(const Chunk&) { return true; }

} // namespace Simple3ds
