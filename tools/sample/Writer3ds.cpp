#include "Writer3ds.hpp"

#include <cstring>
#include <stdexcept>

namespace sample {

namespace {

class Bytes {
public:
	void U8(std::uint8_t v) { out_.push_back(v); }
	void U16(std::uint16_t v) { U8(static_cast<std::uint8_t>(v)); U8(static_cast<std::uint8_t>(v >> 8)); }
	void U32(std::uint32_t v) { U16(static_cast<std::uint16_t>(v)); U16(static_cast<std::uint16_t>(v >> 16)); }
	void F32(float f) { std::uint32_t v; std::memcpy(&v, &f, 4); U32(v); }
	void Str(const std::string& s) { out_.insert(out_.end(), s.begin(), s.end()); U8(0); }
	// Starts a chunk; End patches its length.
	std::size_t Begin(std::uint16_t id) { const std::size_t at = out_.size(); U16(id); U32(0); return at; }
	void End(std::size_t at)
	{
		const auto length = static_cast<std::uint32_t>(out_.size() - at);
		for (int i = 0; i < 4; ++i) out_[at + 2 + i] = static_cast<std::uint8_t>(length >> (8 * i));
	}
	std::vector<std::uint8_t>& Data() { return out_; }

private:
	std::vector<std::uint8_t> out_;
};

void WriteMaterial(Bytes& b, const Material3ds& m)
{
	const auto mat = b.Begin(0xAFFF);
	const auto name = b.Begin(0xA000);
	b.Str(m.name);
	b.End(name);
	const auto diffuse = b.Begin(0xA020);
	const auto rgb = b.Begin(0x0011);
	for (std::uint8_t c : m.diffuse) b.U8(c);
	b.End(rgb);
	b.End(diffuse);
	if (!m.texture.empty()) {
		const auto map = b.Begin(0xA200);
		const auto pct = b.Begin(0x0030);
		b.U16(100);
		b.End(pct);
		const auto file = b.Begin(0xA300);
		b.Str(m.texture);
		b.End(file);
		b.End(map);
	}
	b.End(mat);
}

void WriteMesh(Bytes& b, const Mesh3ds& mesh, const std::vector<Material3ds>& materials)
{
	const auto object = b.Begin(0x4000);
	b.Str(mesh.name);
	const auto tri = b.Begin(0x4100);
	const auto points = b.Begin(0x4110);
	b.U16(static_cast<std::uint16_t>(mesh.points.size()));
	for (const auto& p : mesh.points) for (float v : p) b.F32(v);
	b.End(points);
	if (!mesh.uvs.empty()) {
		const auto uv = b.Begin(0x4140);
		b.U16(static_cast<std::uint16_t>(mesh.uvs.size()));
		for (const auto& t : mesh.uvs) for (float v : t) b.F32(v);
		b.End(uv);
	}
	const auto faces = b.Begin(0x4120);
	b.U16(static_cast<std::uint16_t>(mesh.faces.size()));
	for (const auto& f : mesh.faces) {
		for (std::uint32_t i : f) b.U16(static_cast<std::uint16_t>(i));
		b.U16(7); // all three edges visible
	}
	if (mesh.material >= 0) {
		const auto group = b.Begin(0x4130);
		b.Str(materials.at(static_cast<std::size_t>(mesh.material)).name);
		b.U16(static_cast<std::uint16_t>(mesh.faces.size()));
		for (std::size_t i = 0; i < mesh.faces.size(); ++i) b.U16(static_cast<std::uint16_t>(i));
		b.End(group);
	}
	b.End(faces);
	b.End(tri);
	b.End(object);
}

// Writes mesh as pieces of at most limit points and faces (see Write3ds).
void WritePieces(Bytes& b, const Mesh3ds& mesh, const std::vector<Material3ds>& materials, std::size_t limit)
{
	constexpr std::uint32_t kNone = 0xFFFFFFFF;
	std::vector<std::uint32_t> local(mesh.points.size(), kNone); // point index in the current piece
	std::vector<std::uint32_t> taken;                             // the points the piece took
	Mesh3ds piece{mesh.name, {}, {}, {}, mesh.material};
	int written = 0;
	const auto flush = [&] {
		if (written > 0) piece.name = mesh.name + std::to_string(written + 1);
		WriteMesh(b, piece, materials);
		++written;
		for (std::uint32_t p : taken) local[p] = kNone;
		taken.clear();
		piece.points.clear();
		piece.uvs.clear();
		piece.faces.clear();
	};
	for (const auto& f : mesh.faces) {
		std::size_t fresh = 0;
		for (int k = 0; k < 3; ++k)
			if (local.at(f[k]) == kNone && (k == 0 || f[k] != f[0]) && (k < 2 || f[k] != f[1])) ++fresh;
		if (piece.faces.size() + 1 > limit || piece.points.size() + fresh > limit) flush();
		std::array<std::uint32_t, 3> face{};
		for (int k = 0; k < 3; ++k) {
			std::uint32_t& at = local[f[k]];
			if (at == kNone) {
				at = static_cast<std::uint32_t>(piece.points.size());
				taken.push_back(f[k]);
				piece.points.push_back(mesh.points[f[k]]);
				if (!mesh.uvs.empty()) piece.uvs.push_back(mesh.uvs.at(f[k]));
			}
			face[k] = at;
		}
		piece.faces.push_back(face);
	}
	if (!piece.faces.empty()) flush();
}

} // namespace

std::vector<std::uint8_t> Write3ds(const std::vector<Material3ds>& materials, const std::vector<Mesh3ds>& meshes, std::size_t limit)
{
	if (limit < 3 || limit > Max3dsCount) throw std::invalid_argument("3DS mesh limit out of range");
	Bytes b;
	const auto main = b.Begin(0x4D4D);
	const auto version = b.Begin(0x0002);
	b.U32(3);
	b.End(version);
	const auto editor = b.Begin(0x3D3D);
	const auto meshVersion = b.Begin(0x3D3E);
	b.U32(3);
	b.End(meshVersion);
	for (const auto& m : materials) WriteMaterial(b, m);
	for (const auto& mesh : meshes) {
		const bool fits = mesh.points.size() <= limit && mesh.faces.size() <= limit;
		fits ? WriteMesh(b, mesh, materials) : WritePieces(b, mesh, materials, limit);
	}
	b.End(editor);
	b.End(main);
	return std::move(b.Data());
}

void AddBox(Mesh3ds& mesh, float x0, float y0, float z0, float x1, float y1, float z1)
{
	const auto base = static_cast<std::uint32_t>(mesh.points.size());
	for (int i = 0; i < 8; ++i) mesh.points.push_back({i & 1 ? x1 : x0, i & 2 ? y1 : y0, i & 4 ? z1 : z0});
	static const std::uint16_t quads[6][4] = {{0, 2, 3, 1}, {4, 5, 7, 6}, {0, 1, 5, 4}, {2, 6, 7, 3}, {0, 4, 6, 2}, {1, 3, 7, 5}};
	for (const auto& q : quads) {
		mesh.faces.push_back({base + q[0], base + q[1], base + q[2]});
		mesh.faces.push_back({base + q[0], base + q[2], base + q[3]});
	}
}

} // namespace sample
