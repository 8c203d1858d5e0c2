// Feeds arbitrary 3DS bytes through the mesh records and the 3D script, and checks that every
// record is consistent (each face's signed edges exist, name the face and close around it;
// every vertex is finite) and that no number the script writes is "nan" or "inf".
#include <cmath>
#include <cstdint>
#include <cstdlib>
#include <ostream>
#include <string>
#include <vector>

#include "Gdl/GdlScripts.hpp"
#include "Gdl/MeshReader.hpp"
#include "Simple3dslib/Simple3ds.hpp"

namespace {

void Check(const kivel::GdlMeshMaterialData& r)
{
	const auto nv = static_cast<int>(r.vertices.GetSize());
	const auto ne = static_cast<int>(r.edges.GetSize());
	for (const kivel::Coord3DUV& v : r.vertices)
		if (!std::isfinite(v.x) || !std::isfinite(v.y) || !std::isfinite(v.z) || !std::isfinite(v.u) || !std::isfinite(v.v)) std::abort();
	for (const kivel::GdlEdge& e : r.edges)
		if (e.vertex1 < 1 || e.vertex1 > nv || e.vertex2 < 1 || e.vertex2 > nv || e.face1 < 0 || e.face2 < 0) std::abort();
	if (r.normals.GetSize() != r.faces.GetSize()) std::abort();
	for (UInt32 n = 0; n < r.faces.GetSize(); ++n) {
		const kivel::GdlFace& f = r.faces[n];
		if (f.edges.GetSize() != 3) std::abort();
		for (UInt32 j = 0; j < 3; ++j) {
			const int e = f.edges[j], next = f.edges[(j + 1) % 3];
			if (e == 0 || std::abs(e) > ne || next == 0 || std::abs(next) > ne) std::abort();
			const kivel::GdlEdge& a = r.edges[static_cast<UInt32>(std::abs(e) - 1)];
			const kivel::GdlEdge& b = r.edges[static_cast<UInt32>(std::abs(next) - 1)];
			if ((e > 0 ? a.vertex2 : a.vertex1) != (next > 0 ? b.vertex1 : b.vertex2)) std::abort();
			if (a.face1 != static_cast<int>(n) + 1 && a.face2 != static_cast<int>(n) + 1) std::abort();
		}
	}
}

// The text outside double-quoted names (names come from the file and may spell anything).
std::string Unquoted(const std::string& text)
{
	std::string out;
	bool quoted = false;
	for (char c : text) {
		if (c == '"') quoted = !quoted;
		else if (!quoted) out += c;
	}
	return out;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
	const std::vector<std::uint8_t> bytes(data, data + size);
	std::ostream discard(nullptr);
	Simple3dsScene scene;
	Simple3ds::LoadSceneFromMemory(scene, bytes, discard);
	GdlMeshes meshes;
	int invalid = 0;
	for (Simple3dsMesh& mesh : scene.meshes) {
		kivel::MeshFaceCounts counts;
		meshes.Push(kivel::BuildMeshRecords(mesh, static_cast<int>(scene.materials.size()), 45, size % 2 == 1, counts));
		invalid += counts.invalid;
		for (const kivel::GdlMeshMaterialData& r : meshes.GetLast()) Check(r);
	}
	for (bool flat : {false, true}) {
		const std::string text = Unquoted(Gdl3DScript(scene, meshes, invalid, flat, -0.1));
		if (text.find("nan") != std::string::npos || text.find("inf") != std::string::npos) std::abort();
	}
	return 0;
}
