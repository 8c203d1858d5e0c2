// Scene loading from files built by the test writer: what is read, the trace, the rules for
// colours, percentages and material groups, and what a bad chunk does to the scene.
#include <algorithm>
#include <cmath>
#include <streambuf>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "Load.hpp"
#include "Simple3dslib/Reader.hpp"

namespace {

using namespace w3ds;

const std::vector<Simple3dsVertex> Square = {{0, 0, 0}, {1, 0, 0}, {1, 1, 0.5f}, {0, 1, 0}};
const std::vector<Simple3dsFace> Halves = {{0, 1, 2, 7, 0}, {0, 2, 3, 3, 0}};

std::string SquareMesh(const std::string& groups = "")
{
	return Points(Square) + Faces(Halves, groups) + Uvs({{0, 0}, {1, 0}, {1, 1}, {0, 1}});
}

TEST(LoadScene, ReadsMaterialsAndMeshes)
{
	const std::string texmap = Wrap(0xA200, IntPercent(75) + Wrap(0xA300, Str("ortofoto.jpg")) + Wrap(0xA354, F32(2)) +
	                                            Wrap(0xA356, F32(3)) + Wrap(0xA35C, F32(45)) + Wrap(0xA351, U16(0)));
	const std::string stone = Material("Stone", Wrap(0xA010, Color24(255, 0, 51)) + Wrap(0xA020, ColorF(0.25f, 0.5f, 1)) +
	                                                Wrap(0xA030, Color24(0, 0, 255, true)) + Wrap(0xA041, IntPercent(30)) +
	                                                Wrap(0xA050, FloatPercent(0.75f)) + Wrap(0xA052, IntPercent(5)) +
	                                                Wrap(0xA080, "") + texmap);
	const Loaded r = Load(File(Wrap(0x3D3E, U32(3)) + stone + Material("Grass") +
	                           Object("Tile", SquareMesh(Group("Grass", {1}))) + Wrap(0x4000, Str("Empty"))));
	ASSERT_TRUE(r.ok);
	ASSERT_EQ(r.scene.materials.size(), 2u);
	const Simple3dsMaterial& m = r.scene.materials[0];
	EXPECT_EQ(m.name, "Stone");
	EXPECT_FLOAT_EQ(m.ambient.r, 1);
	EXPECT_FLOAT_EQ(m.ambient.g, 0);
	EXPECT_FLOAT_EQ(m.ambient.b, 51 / 255.0f);
	EXPECT_FLOAT_EQ(m.diffuse.g, 0.5f);
	EXPECT_FLOAT_EQ(m.specular.b, 1);
	EXPECT_FLOAT_EQ(m.shininess, 0.3f);
	EXPECT_FLOAT_EQ(m.transparency, 0.75f);
	EXPECT_FLOAT_EQ(m.xpfall, 0.05f);
	EXPECT_TRUE(m.selfIllum);
	EXPECT_EQ(m.texture.fileName, "ortofoto.jpg");
	EXPECT_FLOAT_EQ(m.texture.percentage, 0.75f);
	EXPECT_FLOAT_EQ(m.texture.uScale, 2);
	EXPECT_FLOAT_EQ(m.texture.vScale, 3);
	EXPECT_FLOAT_EQ(m.texture.angle, 45);
	EXPECT_FALSE(r.scene.materials[1].selfIllum);

	ASSERT_EQ(r.scene.meshes.size(), 1u);
	const Simple3dsMesh& mesh = r.scene.meshes[0];
	ASSERT_EQ(mesh.vertices.size(), 4u);
	EXPECT_TRUE(mesh.vertices[2] == (Simple3dsVertex{1, 1, 0.5f}));
	ASSERT_EQ(mesh.faces.size(), 2u);
	EXPECT_EQ(mesh.faces[0].c, 2);
	EXPECT_EQ(mesh.faces[0].flags, 7) << "the flag word is kept as stored";
	EXPECT_EQ(mesh.faces[0].material, Simple3dsNoMaterial) << "no group names face 0";
	EXPECT_EQ(mesh.faces[1].material, 1);
	ASSERT_EQ(mesh.uvs.size(), 4u);
	EXPECT_FLOAT_EQ(mesh.uvs[2].u, 1);
}

TEST(LoadScene, WritesTheTraceLines)
{
	const std::string mat = Material("Red", Wrap(0xA010, Color24(255, 0, 0)) + Wrap(0xA020, "") +
	                                            Wrap(0xA030, ColorF(0.5f, 0.25f, 1e-7f)));
	const Loaded r = Load(File(mat + Object("Tile", SquareMesh())));
	ASSERT_TRUE(r.ok);
	const std::string expected =
	    "Chunk ID: 4d4d (CHUNK_M3DMAGIC)\n"
	    "Chunk size: " + std::to_string(r.trace.empty() ? 0 : 6 + 6 + mat.size() + Object("Tile", SquareMesh()).size()) +
	    "(";
	EXPECT_EQ(r.trace.substr(0, expected.size()), expected);
	for (const char* line : {"Chunk ID: 3d3d (CHUNK_MDATA)\n", "Chunk ID: afff (CHUNK_MAT_ENTRY)\n",
	                         "Material name:  Red\n", "Ambient color: 1, 0, 0\n", "Diffuse color: 0, 0, 0\n",
	                         "Specular color: 0.5, 0.25, 1e-07\n", "Named object name: Tile\n",
	                         "Chunk ID: 4110 (CHUNK_POINT_ARRAY)\nChunk size: 56(38)\n0 0 0\n1 0 0\n1 1 0.5\n0 1 0\n",
	                         "\n0 1 2 7\n0 2 3 3\n", "\n0 0\n1 0\n1 1\n0 1\n",
	                         "Mesh[0]:\n- nVertices: 4\n- nFaces: 2\n"})
		EXPECT_TRUE(Contains(r.trace, line)) << line << "\nin\n" << r.trace;
}

TEST(LoadScene, TracesOnlyTheFirstTwentyEntriesOfAnArray)
{
	std::vector<Simple3dsVertex> many;
	for (int i = 0; i < 30; ++i) many.push_back({static_cast<float>(i), 0, 0});
	const Loaded r = Load(File(Object("Row", Points(many))));
	ASSERT_TRUE(r.ok);
	ASSERT_EQ(r.scene.meshes.at(0).vertices.size(), 30u);
	EXPECT_TRUE(Contains(r.trace, "\n19 0 0\n"));
	EXPECT_FALSE(Contains(r.trace, "\n20 0 0\n"));
}

TEST(LoadScene, ReadsAFileWithoutTheMagicWrapper)
{
	const Loaded r = Load(Wrap(0x3D3D, Material("A") + Object("T", SquareMesh())));
	EXPECT_TRUE(r.ok);
	EXPECT_EQ(r.scene.materials.size(), 1u);
	EXPECT_EQ(r.scene.meshes.size(), 1u);
}

TEST(LoadScene, FaceArrayWithNoFacesReadsItsChildrenAfterTheCount)
{
	const Loaded r = Load(File(Material("A") + Object("T", Points(Square) + Faces({}, Group("A", {})))));
	EXPECT_TRUE(r.ok);
	EXPECT_TRUE(Contains(r.trace, "Chunk ID: 4130 (CHUNK_MSH_MAT_GROUP)"));
	EXPECT_EQ(r.scene.meshes.size(), 1u);
	// A group in an empty face array that names a face fails.
	EXPECT_FALSE(Load(File(Material("A") + Object("T", Points(Square) + Faces({}, Group("A", {0}))))).ok);
}

TEST(LoadScene, ColourRulePrefersLinearColours)
{
	struct Case {
		std::string children;
		Simple3dsColor expected;
	} const cases[] = {
	    {Color24(255, 0, 0) + Color24(0, 0, 255, true), {0, 0, 1}},
	    {Color24(0, 0, 255, true) + Color24(255, 0, 0), {0, 0, 1}},
	    {ColorF(0.1f, 0.2f, 0.3f, true) + ColorF(1, 1, 1), {0.1f, 0.2f, 0.3f}},
	    {ColorF(1, 1, 1) + Color24(0, 255, 0), {0, 1, 0}},
	    {Color24(0, 0, 255, true) + ColorF(0.5f, 0.5f, 0.5f, true), {0.5f, 0.5f, 0.5f}},
	    {"", {0, 0, 0}},
	};
	for (const Case& c : cases) {
		const Loaded r = Load(File(Material("M", Wrap(0xA020, c.children))));
		ASSERT_TRUE(r.ok);
		const Simple3dsColor& got = r.scene.materials.at(0).diffuse;
		EXPECT_EQ(got.r, c.expected.r);
		EXPECT_EQ(got.g, c.expected.g);
		EXPECT_EQ(got.b, c.expected.b);
	}
	// A short colour fails its material (and the rest of the file).
	EXPECT_FALSE(Load(File(Material("M", Wrap(0xA020, Wrap(0x0011, U8(1) + U8(2)))))).ok);
}

TEST(LoadScene, PercentageRule)
{
	struct Case {
		std::string children;
		float expected;
	} const cases[] = {
	    {IntPercent(50), 0.5f},
	    {FloatPercent(50), 50.0f},
	    {IntPercent(50) + FloatPercent(0.25f), 0.25f},
	    {"", 0.0f},
	};
	for (const Case& c : cases) {
		const Loaded r = Load(File(Material("M", Wrap(0xA050, c.children))));
		ASSERT_TRUE(r.ok);
		EXPECT_EQ(r.scene.materials.at(0).transparency, c.expected);
	}
}

TEST(LoadScene, GroupTakesTheLastMaterialOfItsName)
{
	const Loaded r = Load(File(Material("Twin") + Material("Other") + Material("Twin") +
	                           Object("T", SquareMesh(Group("Twin", {0, 1})))));
	ASSERT_TRUE(r.ok);
	EXPECT_EQ(r.scene.meshes.at(0).faces[0].material, 2);
	EXPECT_EQ(r.scene.meshes.at(0).faces[1].material, 2);
}

// A bad chunk fails its object: that mesh is dropped, the rest of MDATA is not read, and
// what came before stays.
TEST(LoadScene, BadChunkDropsItsMeshAndStopsTheFile)
{
	struct Case {
		const char* what;
		std::string mesh;
	} const cases[] = {
	    {"group face index equal to the face count", SquareMesh(Group("A", {2}))},
	    {"group naming an unknown material", SquareMesh(Group("Nope", {0}))},
	    {"face vertex index equal to the vertex count", Points(Square) + Faces({{0, 1, 4, 0, 0}})},
	    {"first face vertex index past the vertex count", Points(Square) + Faces({{4, 1, 2, 0, 0}})},
	    {"second face vertex index past the vertex count", Points(Square) + Faces({{0, 65535, 2, 0, 0}})},
	    {"face before its points, index out of range", Faces({{0, 1, 9, 0, 0}}) + Points(Square)},
	    {"point count beyond its chunk", Wrap(0x4110, U16(5) + std::string(48, '\0'))},
	    {"face count beyond its chunk", Points(Square) + Wrap(0x4120, U16(3) + std::string(16, '\0'))},
	    {"uv count beyond its chunk", Points(Square) + Wrap(0x4140, U16(2) + std::string(8, '\0'))},
	    {"group count beyond its chunk", Points(Square) + Faces(Halves, Wrap(0x4130, Str("A") + U16(3) + U16(0)))},
	    {"child running past its parent", Points(Square) + Wrap(0x4120, U16(0), 400)},
	};
	for (const Case& c : cases) {
		SCOPED_TRACE(c.what);
		const Loaded r = Load(File(Material("A") + Object("First", SquareMesh()) + Object("Bad", c.mesh) +
		                           Object("Never", SquareMesh()) + Material("Late")));
		EXPECT_FALSE(r.ok);
		EXPECT_EQ(r.scene.materials.size(), 1u);
		EXPECT_EQ(r.scene.meshes.size(), 1u);
		EXPECT_FALSE(Contains(r.trace, "Named object name: Never"));
	}
}

TEST(LoadScene, StringsEndAtTheirChunk)
{
	// The name's NUL lies in the next chunk: the name chunk is bad.
	const std::string name = Wrap(0xA000, "Open") + Wrap(0x0000, "");
	EXPECT_FALSE(Load(File(Wrap(0xAFFF, name))).ok);
	EXPECT_FALSE(Load(File(Wrap(0x4000, "Obj"))).ok);
	EXPECT_FALSE(Load(File(Material("A") + Object("T", SquareMesh(Wrap(0x4130, "A"))))).ok);
}

TEST(LoadScene, UvsThatDoNotMatchTheVerticesAreDropped)
{
	const Loaded r = Load(File(Object("T", Points(Square) + Faces(Halves) + Uvs({{0, 0}, {1, 1}}))));
	ASSERT_TRUE(r.ok);
	EXPECT_TRUE(r.scene.meshes.at(0).uvs.empty());
	ASSERT_EQ(r.scene.meshes.at(0).faces.size(), 2u);
	EXPECT_EQ(r.scene.meshes[0].faces[1].material, Simple3dsNoMaterial) << "no materials: the faces stay, with none";
	// Several arrays append to the same mesh.
	const Loaded twice = Load(File(Object("T", Points(Square) + Points(Square) + Uvs({{0, 0}, {1, 1}, {2, 2}, {3, 3}}) +
	                                              Uvs({{0, 0}, {1, 1}, {2, 2}, {3, 3}}))));
	ASSERT_TRUE(twice.ok);
	EXPECT_EQ(twice.scene.meshes.at(0).vertices.size(), 8u);
	EXPECT_EQ(twice.scene.meshes.at(0).uvs.size(), 8u);
}

TEST(LoadScene, AnswersFalseForWhatIsNotA3dsFile)
{
	EXPECT_FALSE(Load(std::string()).ok);
	EXPECT_FALSE(Load(std::string("\x4D\x4D\x10\x00\x00", 5)).ok);
	EXPECT_FALSE(Load(Wrap(0x1234, "")).ok);
	EXPECT_FALSE(Load(Wrap(0x4D4D, "", 5)).ok);
	const Loaded empty = Load(Wrap(0x4D4D, ""));
	EXPECT_TRUE(empty.ok);
	EXPECT_TRUE(empty.scene.meshes.empty());
}

TEST(LoadScene, InvalidChildHeaderEndsTheWalkAsRead)
{
	const Loaded r = Load(File(Material("A") + Wrap(0x0002, "", 3) + Material("Unseen")));
	EXPECT_TRUE(r.ok);
	EXPECT_EQ(r.scene.materials.size(), 1u);
	const Loaded first = Load(File(Wrap(0xAFFF, Wrap(0xA000, "", 2))));
	EXPECT_TRUE(first.ok);
	ASSERT_EQ(first.scene.materials.size(), 1u) << "the material itself is read, with no child";
	EXPECT_EQ(first.scene.materials[0].name, "");
}

TEST(LoadScene, UnknownChunksAreSkippedByTheirLength)
{
	const Loaded r = Load(File(Wrap(0xB000, Material("Hidden")) + Wrap(0x1234, std::string(40, '\x7f')) +
	                           Object("T", Wrap(0x4160, std::string(48, '\0')) + SquareMesh())));
	ASSERT_TRUE(r.ok);
	EXPECT_TRUE(r.scene.materials.empty()) << "a material inside an unknown chunk is not read";
	EXPECT_EQ(r.scene.meshes.size(), 1u);
	EXPECT_TRUE(Contains(r.trace, "Chunk ID: 1234 (***UNKNOWN***)\nChunk size: 46(2e)\n"));
}

TEST(LoadScene, HostileSeedsEndQuickly)
{
	const Loaded wrapEnd = Load(std::string("\x4D\x4D\xFF\xFF\xFF\xFF\x02\x00\xF8\xFF\xFF\xFF", 12));
	EXPECT_TRUE(wrapEnd.ok) << "the child ends inside the top chunk; the walk stops at the top's end";
	EXPECT_TRUE(wrapEnd.scene.meshes.empty());
	const Loaded wrapBack =
	    Load(std::string("\x4D\x4D\xFF\xFF\xFF\xFF\x02\x00\x06\x00\x00\x00\x02\x00\xFA\xFF\xFF\xFF", 18));
	EXPECT_FALSE(wrapBack.ok) << "a length that wraps the end back before the start is bad";
	EXPECT_EQ(std::count(wrapBack.trace.begin(), wrapBack.trace.end(), '\n'), 6);
}

// A stream that records the size of every piece written to it.
class PieceCounter : public std::streambuf {
public:
	std::string text;
	std::vector<std::size_t> pieces;

protected:
	std::streamsize xsputn(const char* s, std::streamsize n) override
	{
		text.append(s, static_cast<std::size_t>(n));
		pieces.push_back(static_cast<std::size_t>(n));
		return n;
	}
	int_type overflow(int_type c) override
	{
		if (c != traits_type::eof()) xsputn(reinterpret_cast<const char*>(&c), 1);
		return c;
	}
};

// A trace of some megabytes leaves the loader in pieces of at most the buffer as it goes, and
// the bytes are those of a reader that keeps its whole trace.
TEST(LoadScene, LongTraceGoesOutInBufferedPiecesUnchanged)
{
	std::string objects;
	for (int i = 0; i < 3000; ++i) objects += Object("Box" + std::to_string(i), SquareMesh());
	const std::vector<std::uint8_t> bytes = Bytes(File(Material("Red") + objects));

	PieceCounter sink;
	std::ostream out(&sink);
	Simple3dsScene streamed;
	ASSERT_TRUE(Simple3ds::LoadSceneFromMemory(streamed, bytes, out));
	EXPECT_EQ(streamed.meshes.size(), 3000u);

	Simple3ds::Reader keeper(bytes);
	Simple3ds::Chunk top;
	Simple3dsScene kept;
	ASSERT_TRUE(keeper.ReadChunk(top, 0));
	ASSERT_TRUE(keeper.Read_M3DMAGIC(kept, top));
	ASSERT_GT(keeper.Trace().size(), 10 * Simple3ds::TraceBuffer::Capacity);
	EXPECT_EQ(sink.text, keeper.Trace());
	EXPECT_GT(sink.pieces.size(), 10u);
	EXPECT_LE(*std::max_element(sink.pieces.begin(), sink.pieces.end()), Simple3ds::TraceBuffer::Capacity);
}

TEST(Vertex, ComparesExactly)
{
	EXPECT_FALSE((Simple3dsVertex{1, 2, 3}) == (Simple3dsVertex{1, 2, 3.001f}));
	EXPECT_TRUE((Simple3dsVertex{0, 0, 0}) == (Simple3dsVertex{-0.0f, 0, 0}));
}

} // namespace
