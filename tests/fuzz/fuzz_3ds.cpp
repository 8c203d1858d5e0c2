// Feeds arbitrary bytes to the 3DS scene loader and checks that whatever it keeps is
// consistent: faces index their own vertices, texture coordinates match the vertices, and
// face materials name a material of the scene or none.
#include <cstdint>
#include <cstdlib>
#include <ostream>
#include <vector>

#include "Simple3dslib/Simple3ds.hpp"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
	const std::vector<std::uint8_t> bytes(data, data + size);
	std::ostream discard(nullptr);
	Simple3dsScene scene;
	Simple3ds::LoadSceneFromMemory(scene, bytes, discard);
	for (const Simple3dsMesh& mesh : scene.meshes) {
		if (!mesh.uvs.empty() && mesh.uvs.size() != mesh.vertices.size()) std::abort();
		for (const Simple3dsFace& f : mesh.faces) {
			if (f.a >= mesh.vertices.size() || f.b >= mesh.vertices.size() || f.c >= mesh.vertices.size()) std::abort();
			if (f.material != Simple3dsNoMaterial && f.material >= scene.materials.size()) std::abort();
		}
	}
	return 0;
}
