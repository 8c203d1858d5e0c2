// The records a 3DS file is read into: plain values, every field zero, empty or false at start.
#ifndef VELMORA_SIMPLE3DS_SCENE_HPP
#define VELMORA_SIMPLE3DS_SCENE_HPP

#include <cstdint>
#include <string>
#include <vector>

// Face material index of a face that no material group names.
constexpr std::uint16_t Simple3dsNoMaterial = 0xFFFF;

struct Simple3dsVertex {
	float x = 0, y = 0, z = 0; // in the file's units
};

// Exact float comparison, no tolerance (so 0 equals -0).
inline bool operator==(const Simple3dsVertex& l, const Simple3dsVertex& r)
{
	return l.x == r.x && l.y == r.y && l.z == r.z;
}

struct Simple3dsFace {
	std::uint16_t a = 0, b = 0, c = 0;  // vertex indices as stored (checked below the vertex count)
	std::uint16_t flags = 0;            // the stored flag word, never changed
	std::uint16_t material = 0;         // scene material index, or Simple3dsNoMaterial
};

struct Simple3dsUV {
	float u = 0, v = 0;
};

struct Simple3dsColor {
	float r = 0, g = 0, b = 0; // nominally 0 to 1
};

struct Simple3dsTextureMap {
	std::string fileName;
	float percentage = 0;
	float uScale = 0;
	float vScale = 0;
	float angle = 0;
};

struct Simple3dsMaterial {
	std::string name;
	Simple3dsColor ambient, diffuse, specular;
	float shininess = 0;
	float transparency = 0;
	bool selfIllum = false;
	float xpfall = 0;
	Simple3dsTextureMap texture;
};

// One triangle object; its object name is not kept. `uvs` is empty or has one entry per vertex.
struct Simple3dsMesh {
	std::vector<Simple3dsVertex> vertices;
	std::vector<Simple3dsFace> faces;
	std::vector<Simple3dsUV> uvs;
};

struct Simple3dsScene {
	std::vector<Simple3dsMaterial> materials; // in file order
	std::vector<Simple3dsMesh> meshes;        // in file order
};

#endif
