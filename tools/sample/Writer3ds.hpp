// A small 3DS writer for generated sample data: materials and triangle meshes.
#ifndef VELMORA_SAMPLE_WRITER3DS_HPP
#define VELMORA_SAMPLE_WRITER3DS_HPP

#include <array>
#include <cstdint>
#include <string>
#include <vector>

namespace sample {

struct Material3ds {
	std::string name;
	std::array<std::uint8_t, 3> diffuse = {200, 200, 200};
	std::string texture; // empty: none
};

struct Mesh3ds {
	std::string name;
	std::vector<std::array<float, 3>> points;
	std::vector<std::array<float, 2>> uvs;          // empty or one per point
	std::vector<std::array<std::uint16_t, 3>> faces;
	int material = -1;                               // index into the file's materials, -1: none
};

// The bytes of a 3DS file holding the materials and meshes. Meshes over 65535 points or
// faces cannot be written (3DS counts are 16-bit); callers split them.
std::vector<std::uint8_t> Write3ds(const std::vector<Material3ds>& materials, const std::vector<Mesh3ds>& meshes);

// Adds an axis-aligned box (12 triangles) to a mesh.
void AddBox(Mesh3ds& mesh, float x0, float y0, float z0, float x1, float y1, float z1);

} // namespace sample

#endif
