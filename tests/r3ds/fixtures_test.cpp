// Files written by other tools, read from memory and from a stream, whole and cut short.
#include <algorithm>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "Load.hpp"
#include "TestSupport.hpp"

namespace {

std::vector<std::uint8_t> Fixture(const std::string& name)
{
	return w3ds::Bytes(testsupport::ReadFile(std::string(VELMORA_FIXTURES) + "/3ds/" + name));
}

// Faces index their own vertices, texture coordinates match them, materials exist or are none.
void ExpectConsistent(const Simple3dsScene& scene)
{
	for (const Simple3dsMesh& mesh : scene.meshes) {
		EXPECT_TRUE(mesh.uvs.empty() || mesh.uvs.size() == mesh.vertices.size());
		for (const Simple3dsFace& f : mesh.faces) {
			ASSERT_LT(std::max({f.a, f.b, f.c}), mesh.vertices.size());
			ASSERT_TRUE(f.material == Simple3dsNoMaterial || f.material < scene.materials.size());
		}
	}
}

TEST(Fixtures, TerrainTiny)
{
	const Loaded r = Load(Fixture("terrain-tiny.3ds"));
	ASSERT_TRUE(r.ok);
	ExpectConsistent(r.scene);
	ASSERT_EQ(r.scene.materials.size(), 3u);
	const auto textured = std::count_if(r.scene.materials.begin(), r.scene.materials.end(),
	                                    [](const Simple3dsMaterial& m) { return m.texture.fileName == "ortofoto.jpg"; });
	EXPECT_EQ(textured, 1);
	ASSERT_EQ(r.scene.meshes.size(), 1u);
	const Simple3dsMesh& mesh = r.scene.meshes[0];
	EXPECT_EQ(mesh.vertices.size(), 576u);
	EXPECT_EQ(mesh.faces.size(), 1058u);
	EXPECT_EQ(mesh.uvs.size(), 576u);
	// A square grid: the same extent in x and y.
	const auto [xLo, xHi] = std::minmax_element(mesh.vertices.begin(), mesh.vertices.end(),
	                                            [](auto& a, auto& b) { return a.x < b.x; });
	const auto [yLo, yHi] = std::minmax_element(mesh.vertices.begin(), mesh.vertices.end(),
	                                            [](auto& a, auto& b) { return a.y < b.y; });
	EXPECT_GT(xHi->x - xLo->x, 0);
	EXPECT_FLOAT_EQ(xHi->x - xLo->x, yHi->y - yLo->y);
	EXPECT_TRUE(Contains(r.trace, "Mesh[0]:\n- nVertices: 576\n- nFaces: 1058\n"));
}

TEST(Fixtures, BuildingsEachInItsOwnMaterial)
{
	const Loaded r = Load(Fixture("buildings.3ds"));
	ASSERT_TRUE(r.ok);
	ExpectConsistent(r.scene);
	ASSERT_EQ(r.scene.materials.size(), 12u);
	ASSERT_EQ(r.scene.meshes.size(), 12u);
	std::size_t vertices = 0, faces = 0;
	std::vector<std::uint16_t> used;
	for (const Simple3dsMesh& mesh : r.scene.meshes) {
		vertices += mesh.vertices.size();
		faces += mesh.faces.size();
		ASSERT_FALSE(mesh.faces.empty());
		for (const Simple3dsFace& f : mesh.faces) EXPECT_EQ(f.material, mesh.faces[0].material);
		used.push_back(mesh.faces[0].material);
	}
	EXPECT_EQ(vertices, 288u);
	EXPECT_EQ(faces, 144u);
	std::sort(used.begin(), used.end());
	EXPECT_EQ(std::unique(used.begin(), used.end()), used.end()) << "no two meshes share a material";
}

TEST(Fixtures, StreamSourceReadsTheSameScene)
{
	const std::string path = std::string(VELMORA_FIXTURES) + "/3ds/terrain-tiny.3ds";
	const Loaded memory = Load(Fixture("terrain-tiny.3ds"));
	Simple3dsScene scene;
	testing::internal::CaptureStdout();
	const bool ok = Simple3ds::LoadSceneFromFile(scene, path.c_str());
	const std::string out = testing::internal::GetCapturedStdout();
	ASSERT_TRUE(ok);
	EXPECT_EQ(out, "File name: " + path + "\n" + memory.trace);
	ASSERT_EQ(scene.meshes.size(), 1u);
	EXPECT_TRUE(scene.meshes[0].vertices == memory.scene.meshes[0].vertices);
	EXPECT_EQ(scene.materials.back().texture.fileName, memory.scene.materials.back().texture.fileName);

	testing::internal::CaptureStdout();
	EXPECT_FALSE(Simple3ds::LoadSceneFromFile(scene, "/nonexistent/x.3ds"));
	EXPECT_EQ(testing::internal::GetCapturedStdout(), "Could not open: /nonexistent/x.3ds\n");
}

// Every prefix of a valid file loads to false or to a consistent part of the whole scene.
TEST(Fixtures, EveryPrefixLoadsSafely)
{
	for (const char* name : {"buildings.3ds", "terrain-tiny.3ds"}) {
		SCOPED_TRACE(name);
		const std::vector<std::uint8_t> whole = Fixture(name);
		const Loaded full = Load(whole);
		std::size_t failed = 0;
		for (std::size_t n = 0; n < whole.size(); ++n) {
			const Loaded part = Load(std::vector<std::uint8_t>(whole.begin(), whole.begin() + n));
			failed += !part.ok;
			ExpectConsistent(part.scene);
			ASSERT_LE(part.scene.meshes.size(), full.scene.meshes.size()) << n;
			ASSERT_LE(part.scene.materials.size(), full.scene.materials.size()) << n;
			for (std::size_t i = 0; i + 1 < part.scene.meshes.size(); ++i)
				ASSERT_TRUE(part.scene.meshes[i].vertices == full.scene.meshes[i].vertices) << n;
			if (HasFatalFailure()) return;
		}
		EXPECT_GT(failed, 0u);
	}
}

} // namespace
