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
	std::vector<std::array<std::uint32_t, 3>> faces; // indices into points
	int material = -1;                               // index into the file's materials, -1: none
};

// The most points or faces of one 3DS mesh (its counts are 16-bit).
constexpr std::size_t Max3dsCount = 0xFFFF;

// The bytes of a 3DS file holding the materials and meshes. A mesh over `limit` points or
// faces (at most Max3dsCount, at least 3) is written as several meshes, its faces in order,
// each piece taking the points its faces use (a point shared by two pieces is in both; a
// point no face uses is left out); the pieces after the first are named name2, name3, ...
// A face naming a point the mesh does not have throws std::out_of_range.
std::vector<std::uint8_t> Write3ds(const std::vector<Material3ds>& materials, const std::vector<Mesh3ds>& meshes,
                                   std::size_t limit = Max3dsCount);

// Adds an axis-aligned box (12 triangles) to a mesh.
void AddBox(Mesh3ds& mesh, float x0, float y0, float z0, float x1, float y1, float z1);

} // namespace sample

#endif
