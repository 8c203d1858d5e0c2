// 3DS loading: our loader (the whole-file read of an import, then the scene with its trace
// written to a file) against lib3ds and assimp's 3DS importer, each loading from the file in
// a fresh process. The generated files are written by lib3ds itself: a terrain of large grid
// meshes with three materials and texture coordinates, and a file of many small meshes
// (boxes), whose chunks are small.
//   bench_3ds [--rounds N] [--sizes MB,MB] [--steady] [FILE ...]
#include <cmath>
#include <cstdio>
#include <cstring>
#include <fstream>
#include <string>
#include <vector>

#include <unistd.h>

#include <assimp/Importer.hpp>
#include <assimp/scene.h>
#include <lib3ds/file.h>
#include <lib3ds/material.h>
#include <lib3ds/mesh.h>

#include "FreshProcess.hpp"
#include "Helpers/BinFileHelper.hpp"
#include "Location.hpp"
#include "Simple3dslib/Simple3ds.hpp"

namespace {

const char* const Materials[] = {"Asfalt", "Fjell", "Gress"};

void AddMaterials(Lib3dsFile* file)
{
	for (int m = 0; m < 3; ++m) {
		Lib3dsMaterial* material = lib3ds_material_new();
		std::snprintf(material->name, sizeof material->name, "%s", Materials[m]);
		material->diffuse[0] = 0.25f + 0.25f * static_cast<float>(m);
		material->diffuse[1] = 0.5f;
		material->diffuse[2] = 0.125f;
		lib3ds_file_insert_material(file, material);
	}
}

constexpr int Side = 181;   // vertices per tile side: 32761 vertices, 64800 faces

Lib3dsMesh* TerrainTile(int tile)
{
	char name[16];
	std::snprintf(name, sizeof name, "T%d", tile);
	Lib3dsMesh* mesh = lib3ds_mesh_new(name);
	lib3ds_mesh_new_point_list(mesh, Side * Side);
	lib3ds_mesh_new_texel_list(mesh, Side * Side);
	const int tx = tile % 10, ty = tile / 10;
	for (int j = 0; j < Side; ++j)
		for (int i = 0; i < Side; ++i) {
			const int k = j * Side + i;
			const float x = static_cast<float>((tx * (Side - 1) + i) * 2), y = static_cast<float>((ty * (Side - 1) + j) * 2);
			mesh->pointL[k].pos[0] = x;
			mesh->pointL[k].pos[1] = y;
			mesh->pointL[k].pos[2] = 100.0f + 0.01f * x + 5.0f * std::sin(0.05f * x + 0.03f * y);
			mesh->texelL[k][0] = static_cast<float>(i) / (Side - 1);
			mesh->texelL[k][1] = static_cast<float>(j) / (Side - 1);
		}
	const int faces = 2 * (Side - 1) * (Side - 1);
	lib3ds_mesh_new_face_list(mesh, faces);
	int f = 0;
	for (int j = 0; j + 1 < Side; ++j)
		for (int i = 0; i + 1 < Side; ++i) {
			const auto v = static_cast<Lib3dsWord>(j * Side + i), up = static_cast<Lib3dsWord>(v + Side);
			const Lib3dsWord corners[2][3] = {{v, static_cast<Lib3dsWord>(v + 1), static_cast<Lib3dsWord>(up + 1)},
			                                  {v, static_cast<Lib3dsWord>(up + 1), up}};
			for (const auto& c : corners) {
				Lib3dsFace& face = mesh->faceL[f];
				std::snprintf(face.material, sizeof face.material, "%s", Materials[f * 3 / faces]);
				std::memcpy(face.points, c, sizeof c);
				face.flags = 7;
				face.smoothing = 1;
				++f;
			}
		}
	return mesh;
}

// A box of 8 corners and 12 faces, as a building footprint in a city model.
Lib3dsMesh* Box(int n)
{
	char name[16];
	std::snprintf(name, sizeof name, "B%d", n);
	Lib3dsMesh* mesh = lib3ds_mesh_new(name);
	lib3ds_mesh_new_point_list(mesh, 8);
	const float x = static_cast<float>(n % 1000) * 20, y = static_cast<float>(n / 1000) * 20, h = 6.0f + static_cast<float>(n % 7);
	for (int k = 0; k < 8; ++k) {
		mesh->pointL[k].pos[0] = x + ((k & 1) ? 12.0f : 0.0f);
		mesh->pointL[k].pos[1] = y + ((k & 2) ? 9.0f : 0.0f);
		mesh->pointL[k].pos[2] = (k & 4) ? h : 0.0f;
	}
	static const Lib3dsWord faces[12][3] = {{0, 2, 3}, {0, 3, 1}, {4, 5, 7}, {4, 7, 6}, {0, 1, 5}, {0, 5, 4},
	                                        {2, 6, 7}, {2, 7, 3}, {0, 4, 6}, {0, 6, 2}, {1, 3, 7}, {1, 7, 5}};
	lib3ds_mesh_new_face_list(mesh, 12);
	for (int f = 0; f < 12; ++f) {
		Lib3dsFace& face = mesh->faceL[f];
		std::snprintf(face.material, sizeof face.material, "%s", Materials[f < 4 ? 1 : 0]);
		std::memcpy(face.points, faces[f], sizeof faces[f]);
		face.flags = 7;
		face.smoothing = 1u << (f / 2);
	}
	return mesh;
}

// The meshes are linked in directly: lib3ds_file_insert_mesh keeps the list sorted by name,
// which takes quadratic time for many meshes.
Lib3dsFile* WithMeshes(std::size_t count, Lib3dsMesh* (*make)(int))
{
	Lib3dsFile* file = lib3ds_file_new();
	AddMaterials(file);
	for (std::size_t i = count; i-- > 0;) {
		Lib3dsMesh* mesh = make(static_cast<int>(i));
		mesh->next = file->meshes;
		file->meshes = mesh;
	}
	return file;
}

std::uintmax_t SavedSize(Lib3dsFile* file, const std::string& path)
{
	if (!lib3ds_file_save(file, path.c_str())) std::fprintf(stderr, "lib3ds could not write %s\n", path.c_str()), std::exit(1);
	lib3ds_file_free(file);
	return std::filesystem::file_size(path);
}

// Meshes made by make until the file is about the given size: the size of a mesh is taken
// from files of 1 and 11 meshes.
void Write(std::size_t megabytes, const std::string& path, Lib3dsMesh* (*make)(int))
{
	const auto one = SavedSize(WithMeshes(1, make), path);
	const double perMesh = static_cast<double>(SavedSize(WithMeshes(11, make), path) - one) / 10;
	const auto meshes = static_cast<std::size_t>(std::max(1.0, static_cast<double>(megabytes) * 1e6 / perMesh));
	SavedSize(WithMeshes(meshes, make), path);
}

std::string Summary(std::size_t meshes, std::size_t vertices, std::size_t faces)
{
	return std::to_string(meshes) + " meshes, " + std::to_string(vertices) + " vertices, " + std::to_string(faces) +
	       " faces";
}

std::string Ours(const std::string& path)
{
	auto* bytes = new std::vector<unsigned char>;
	if (ReadBinaryData(*bytes, IO::Location(path.c_str())) != NoError) std::fprintf(stderr, "read failed\n"), std::exit(1);
	const std::string tracePath = "/tmp/velmora-bench-3ds-trace-" + std::to_string(::getpid()) + ".txt";
	std::ofstream trace(tracePath, std::ios::binary | std::ios::trunc);
	auto* scene = new Simple3dsScene;
	if (!Simple3ds::LoadSceneFromMemory(*scene, *bytes, trace)) std::fprintf(stderr, "our loader failed\n"), std::exit(1);
	trace.close();
	std::remove(tracePath.c_str());
	std::size_t vertices = 0, faces = 0;
	for (const Simple3dsMesh& m : scene->meshes) vertices += m.vertices.size(), faces += m.faces.size();
	const std::string summary = Summary(scene->meshes.size(), vertices, faces);
	bench::Dispose(scene);
	bench::Dispose(bytes);
	return summary;
}

std::string Lib3ds(const std::string& path)
{
	Lib3dsFile* file = lib3ds_file_load(path.c_str());
	if (file == nullptr) std::fprintf(stderr, "lib3ds failed\n"), std::exit(1);
	std::size_t meshes = 0, vertices = 0, faces = 0;
	for (Lib3dsMesh* m = file->meshes; m != nullptr; m = m->next) meshes++, vertices += m->points, faces += m->faces;
	const std::string summary = Summary(meshes, vertices, faces);
	if (!bench::InChild()) lib3ds_file_free(file);
	return summary;
}

std::string AssimpLoad(const std::string& path)
{
	auto* importer = new Assimp::Importer;
	const aiScene* scene = importer->ReadFile(path, 0);
	if (scene == nullptr) std::fprintf(stderr, "assimp failed: %s\n", importer->GetErrorString()), std::exit(1);
	std::size_t vertices = 0, faces = 0;
	for (unsigned i = 0; i < scene->mNumMeshes; ++i) vertices += scene->mMeshes[i]->mNumVertices, faces += scene->mMeshes[i]->mNumFaces;
	const std::string summary = Summary(scene->mNumMeshes, vertices, faces);
	bench::Dispose(importer);
	return summary;
}

} // namespace

int main(int argc, char** argv)
{
	const std::vector<bench::Tool> tools = {{"ours", Ours}, {"lib3ds", Lib3ds}, {"assimp", AssimpLoad}};
	const std::vector<bench::Generated> kinds = {
	    {"terrain.3ds", [](std::size_t mb, const std::string& path) { Write(mb, path, TerrainTile); }},
	    // lib3ds keeps its meshes in a list sorted on insertion, so it reads many meshes in
	    // quadratic time: a minute a load at 100 MB. The boxes stop at 10 MB.
	    {"boxes.3ds", [](std::size_t mb, const std::string& path) { Write(mb, path, Box); }, 10},
	};
	return bench::Main(argc, argv, tools, kinds);
}
