// 3DS loading speed: our loader (from memory, trace to a file) against lib3ds (memory IO)
// and assimp's 3DS importer (from memory), on generated terrain files of about 10 MB and
// 100 MB. The files are written to a temporary folder at run time and removed afterwards.
//   bench_3ds [MB...]   (default: 10 100)
#include <chrono>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <iostream>
#include <iterator>
#include <string>
#include <vector>

#include <unistd.h>

#include <assimp/Importer.hpp>
#include <assimp/scene.h>
#include <lib3ds/file.h>
#include <lib3ds/io.h>
#include <lib3ds/mesh.h>

#include "Simple3dslib/Simple3ds.hpp"

namespace {

namespace fs = std::filesystem;

// A 3DS writer that back-patches chunk lengths.
class Writer {
public:
	void U16(std::uint16_t v) { Put(&v, 2); }
	void U32(std::uint32_t v) { Put(&v, 4); }
	void F32(float v) { Put(&v, 4); }
	void U8(std::uint8_t v) { Put(&v, 1); }
	void Str(const std::string& s) { Put(s.c_str(), s.size() + 1); }
	void Begin(std::uint16_t id)
	{
		U16(id);
		open_.push_back(bytes_.size());
		U32(0);
	}
	void End()
	{
		const std::size_t at = open_.back();
		open_.pop_back();
		const std::uint32_t length = static_cast<std::uint32_t>(bytes_.size() - at + 2);
		std::memcpy(bytes_.data() + at, &length, 4);
	}
	std::vector<std::uint8_t>& Bytes() { return bytes_; }

private:
	void Put(const void* p, std::size_t n)
	{
		const auto* b = static_cast<const std::uint8_t*>(p);
		bytes_.insert(bytes_.end(), b, b + n);
	}
	std::vector<std::uint8_t> bytes_;
	std::vector<std::size_t> open_;
};

constexpr int Side = 181; // vertices per tile side: 32761 vertices, 64800 faces
const char* const Materials[] = {"Asfalt", "Fjell", "Gress"};

void Tile(Writer& w, int tx, int ty)
{
	w.Begin(0x4000);
	w.Str("Terrain" + std::to_string(tx) + "_" + std::to_string(ty));
	w.Begin(0x4100);
	w.Begin(0x4110);
	w.U16(Side * Side);
	for (int j = 0; j < Side; ++j)
		for (int i = 0; i < Side; ++i) {
			const float x = static_cast<float>((tx * (Side - 1) + i) * 2), y = static_cast<float>((ty * (Side - 1) + j) * 2);
			w.F32(x);
			w.F32(y);
			w.F32(100.0f + 0.01f * x + 5.0f * static_cast<float>((i * 7 + j * 13) % 17) / 17.0f);
		}
	w.End();
	w.Begin(0x4120);
	const int faces = 2 * (Side - 1) * (Side - 1);
	w.U16(static_cast<std::uint16_t>(faces));
	for (int j = 0; j + 1 < Side; ++j)
		for (int i = 0; i + 1 < Side; ++i) {
			const auto v = static_cast<std::uint16_t>(j * Side + i);
			const auto up = static_cast<std::uint16_t>(v + Side);
			w.U16(v), w.U16(static_cast<std::uint16_t>(v + 1)), w.U16(static_cast<std::uint16_t>(up + 1)), w.U16(7);
			w.U16(v), w.U16(static_cast<std::uint16_t>(up + 1)), w.U16(up), w.U16(7);
		}
	for (int m = 0; m < 3; ++m) { // faces in thirds by material
		const int first = faces * m / 3, last = faces * (m + 1) / 3;
		w.Begin(0x4130);
		w.Str(Materials[m]);
		w.U16(static_cast<std::uint16_t>(last - first));
		for (int f = first; f < last; ++f) w.U16(static_cast<std::uint16_t>(f));
		w.End();
	}
	w.End();
	w.Begin(0x4140);
	w.U16(Side * Side);
	for (int j = 0; j < Side; ++j)
		for (int i = 0; i < Side; ++i) w.F32(i / float(Side - 1)), w.F32(j / float(Side - 1));
	w.End();
	w.End();
	w.End();
}

std::vector<std::uint8_t> Terrain(std::size_t megabytes)
{
	Writer w;
	w.Begin(0x4D4D);
	w.Begin(0x0002), w.U32(3), w.End();
	w.Begin(0x3D3D);
	for (const char* name : Materials) {
		w.Begin(0xAFFF);
		w.Begin(0xA000), w.Str(name), w.End();
		w.Begin(0xA020), w.Begin(0x0011), w.U8(0x40), w.U8(0x80), w.U8(0x20), w.End(), w.End();
		w.End();
	}
	for (int t = 0; w.Bytes().size() < megabytes * 1000000; ++t) Tile(w, t % 10, t / 10);
	w.End();
	w.End();
	return std::move(w.Bytes());
}

double Seconds(const std::chrono::steady_clock::time_point& since)
{
	return std::chrono::duration<double>(std::chrono::steady_clock::now() - since).count();
}

template <typename F>
double Best(int runs, F&& load)
{
	double best = 1e30;
	for (int i = 0; i < runs; ++i) {
		const auto t = std::chrono::steady_clock::now();
		load();
		best = std::min(best, Seconds(t));
	}
	return best;
}

// lib3ds reads through callbacks; these serve it from memory.
struct Memory {
	const std::vector<std::uint8_t>* bytes;
	long pos;
};
Lib3dsBool MemError(void*) { return LIB3DS_FALSE; }
long MemSeek(void* self, long offset, Lib3dsIoSeek origin)
{
	auto* m = static_cast<Memory*>(self);
	const long base = origin == LIB3DS_SEEK_SET ? 0 : origin == LIB3DS_SEEK_CUR ? m->pos : static_cast<long>(m->bytes->size());
	m->pos = base + offset;
	return 0;
}
long MemTell(void* self) { return static_cast<Memory*>(self)->pos; }
size_t MemRead(void* self, void* buffer, size_t size)
{
	auto* m = static_cast<Memory*>(self);
	const long left = static_cast<long>(m->bytes->size()) - m->pos;
	const size_t n = left <= 0 ? 0 : std::min(size, static_cast<size_t>(left));
	std::memcpy(buffer, m->bytes->data() + m->pos, n);
	m->pos += static_cast<long>(n);
	return n;
}
size_t MemWrite(void*, const void*, size_t) { return 0; }

struct Counts {
	std::size_t meshes = 0, vertices = 0, faces = 0;
};

Counts Ours(const std::vector<std::uint8_t>& bytes, const fs::path& traceFile)
{
	std::ofstream trace(traceFile, std::ios::binary | std::ios::trunc);
	Simple3dsScene scene;
	if (!Simple3ds::LoadSceneFromMemory(scene, bytes, trace)) std::cerr << "our loader failed\n";
	Counts c;
	for (const Simple3dsMesh& m : scene.meshes) c.meshes++, c.vertices += m.vertices.size(), c.faces += m.faces.size();
	return c;
}

Counts Lib3ds(const std::vector<std::uint8_t>& bytes)
{
	Memory memory{&bytes, 0};
	Lib3dsIo* io = lib3ds_io_new(&memory, MemError, MemSeek, MemTell, MemRead, MemWrite);
	Lib3dsFile* file = lib3ds_file_new();
	if (!lib3ds_file_read(file, io)) std::cerr << "lib3ds failed\n";
	Counts c;
	for (Lib3dsMesh* m = file->meshes; m != nullptr; m = m->next) c.meshes++, c.vertices += m->points, c.faces += m->faces;
	lib3ds_file_free(file);
	lib3ds_io_free(io);
	return c;
}

Counts AssimpLoad(const std::vector<std::uint8_t>& bytes)
{
	Assimp::Importer importer;
	const aiScene* scene = importer.ReadFileFromMemory(bytes.data(), bytes.size(), 0, "3ds");
	Counts c;
	if (scene == nullptr) {
		std::cerr << "assimp failed: " << importer.GetErrorString() << "\n";
		return c;
	}
	for (unsigned i = 0; i < scene->mNumMeshes; ++i)
		c.meshes++, c.vertices += scene->mMeshes[i]->mNumVertices, c.faces += scene->mMeshes[i]->mNumFaces;
	return c;
}

void Print(const char* who, double seconds, const Counts& c, double ours)
{
	std::printf("  %-8s %9.2f ms  %5zu meshes %9zu vertices %9zu faces  %7.1fx ours\n", who, seconds * 1e3, c.meshes,
	            c.vertices, c.faces, seconds / ours);
}

} // namespace

int main(int argc, char** argv)
{
	std::vector<std::size_t> sizes;
	for (int i = 1; i < argc; ++i) sizes.push_back(std::strtoul(argv[i], nullptr, 10));
	if (sizes.empty()) sizes = {10, 100};
	fs::path dir = fs::temp_directory_path() / ("velmora-bench-3ds-" + std::to_string(::getpid()));
	fs::create_directories(dir);
	for (const std::size_t mb : sizes) {
		const fs::path file = dir / ("terrain-" + std::to_string(mb) + "MB.3ds");
		{
			const std::vector<std::uint8_t> generated = Terrain(mb);
			std::ofstream(file, std::ios::binary).write(reinterpret_cast<const char*>(generated.data()),
			                                            static_cast<std::streamsize>(generated.size()));
		}
		std::ifstream in(file, std::ios::binary);
		const std::vector<std::uint8_t> bytes((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
		const int runs = mb >= 50 ? 3 : 7;
		std::printf("%s: %zu bytes, best of %d\n", file.filename().c_str(), bytes.size(), runs);
		Counts ours, lib3ds, assimp;
		const double tOurs = Best(runs, [&] { ours = Ours(bytes, dir / "trace.txt"); });
		const double tLib3ds = Best(runs, [&] { lib3ds = Lib3ds(bytes); });
		const double tAssimp = Best(runs, [&] { assimp = AssimpLoad(bytes); });
		Print("ours", tOurs, ours, tOurs);
		Print("lib3ds", tLib3ds, lib3ds, tOurs);
		Print("assimp", tAssimp, assimp, tOurs);
		std::printf("  ratios: lib3ds/ours %.1f (goal >= 6), assimp/ours %.1f (goal >= 40)\n", tLib3ds / tOurs,
		            tAssimp / tOurs);
	}
	fs::remove_all(dir);
	return 0;
}
