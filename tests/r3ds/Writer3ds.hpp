// A small 3DS writer for the tests: chunks are built bottom-up as byte strings, so a fixture
// reads like the tree it encodes and any length or count can be made wrong on purpose.
#ifndef VELMORA_TESTS_WRITER3DS_HPP
#define VELMORA_TESTS_WRITER3DS_HPP

#include <cstdint>
#include <cstring>
#include <string>
#include <vector>

#include "Simple3dslib/Simple3dsScene.hpp"

namespace w3ds {

inline std::string U8(std::uint8_t v) { return std::string(1, static_cast<char>(v)); }
inline std::string U16(std::uint16_t v) { return {static_cast<char>(v & 0xFF), static_cast<char>(v >> 8)}; }
inline std::string U32(std::uint32_t v) { return U16(static_cast<std::uint16_t>(v)) + U16(static_cast<std::uint16_t>(v >> 16)); }
inline std::string F32(float f)
{
	std::uint32_t bits;
	std::memcpy(&bits, &f, sizeof bits);
	return U32(bits);
}
inline std::string Str(const std::string& s) { return s + std::string(1, '\0'); }

// A chunk with the right length, or with `length` as stored when it is given.
inline std::string Wrap(std::uint16_t id, const std::string& body, long long length = -1)
{
	return U16(id) + U32(length < 0 ? static_cast<std::uint32_t>(body.size() + 6) : static_cast<std::uint32_t>(length)) + body;
}

inline std::string File(const std::string& mdataBody) { return Wrap(0x4D4D, Wrap(0x3D3D, mdataBody)); }

inline std::string Color24(std::uint8_t r, std::uint8_t g, std::uint8_t b, bool linear = false)
{
	return Wrap(linear ? 0x0012 : 0x0011, U8(r) + U8(g) + U8(b));
}
inline std::string ColorF(float r, float g, float b, bool linear = false)
{
	return Wrap(linear ? 0x0013 : 0x0010, F32(r) + F32(g) + F32(b));
}
inline std::string IntPercent(std::uint16_t v) { return Wrap(0x0030, U16(v)); }
inline std::string FloatPercent(float v) { return Wrap(0x0031, F32(v)); }

inline std::string Material(const std::string& name, const std::string& more = "")
{
	return Wrap(0xAFFF, Wrap(0xA000, Str(name)) + more);
}

inline std::string Points(const std::vector<Simple3dsVertex>& v)
{
	std::string s = U16(static_cast<std::uint16_t>(v.size()));
	for (const auto& p : v) s += F32(p.x) + F32(p.y) + F32(p.z);
	return Wrap(0x4110, s);
}

// Faces as (a, b, c, flags); `children` follow the entries (material groups).
inline std::string Faces(const std::vector<Simple3dsFace>& f, const std::string& children = "")
{
	std::string s = U16(static_cast<std::uint16_t>(f.size()));
	for (const auto& x : f) s += U16(x.a) + U16(x.b) + U16(x.c) + U16(x.flags);
	return Wrap(0x4120, s + children);
}

inline std::string Group(const std::string& material, const std::vector<std::uint16_t>& faces)
{
	std::string s = Str(material) + U16(static_cast<std::uint16_t>(faces.size()));
	for (auto i : faces) s += U16(i);
	return Wrap(0x4130, s);
}

inline std::string Uvs(const std::vector<Simple3dsUV>& uv)
{
	std::string s = U16(static_cast<std::uint16_t>(uv.size()));
	for (const auto& t : uv) s += F32(t.u) + F32(t.v);
	return Wrap(0x4140, s);
}

inline std::string Object(const std::string& name, const std::string& meshBody)
{
	return Wrap(0x4000, Str(name) + Wrap(0x4100, meshBody));
}

inline std::vector<std::uint8_t> Bytes(const std::string& s) { return {s.begin(), s.end()}; }

} // namespace w3ds

#endif
