// The GDL mesh records: value-type rules, and the mesh reader over small meshes built in
// memory (numbering, soft edges, shared sides, dropped faces, material records) and files.
#include <algorithm>
#include <cmath>
#include <limits>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "../r3ds/Writer3ds.hpp"
#include "Gdl/MeshReader.hpp"
#include "TestSupport.hpp"

namespace {

using kivel::GdlEdge;
using kivel::GdlMeshMaterialData;

struct Built {
	GS::Array<GdlMeshMaterialData> records;
	kivel::MeshFaceCounts counts;
};

Built Build(Simple3dsMesh mesh, int materialCount, bool checkDuplicates = false)
{
	Built b;
	b.records = kivel::BuildMeshRecords(mesh, materialCount, 45, checkDuplicates, b.counts);
	return b;
}

Simple3dsFace F(int a, int b, int c, std::uint16_t material = 0)
{
	return {static_cast<std::uint16_t>(a), static_cast<std::uint16_t>(b), static_cast<std::uint16_t>(c), 0, material};
}

// The unit square as two triangles; the fourth corner is raised by `lift` to fold it along
// the diagonal 0-2.
Simple3dsMesh Square(float lift = 0, std::uint16_t material = 0)
{
	Simple3dsMesh m;
	m.vertices = {{0, 0, 0}, {1, 0, 0}, {1, 1, 0}, {0, 1, lift}};
	m.faces = {F(0, 1, 2, material), F(0, 2, 3, material)};
	return m;
}

std::vector<std::vector<int>> EdgeRows(const GdlMeshMaterialData& r)
{
	std::vector<std::vector<int>> out;
	for (const GdlEdge& e : r.edges) out.push_back({e.key, e.vertex1, e.vertex2, e.face1, e.face2, e.status});
	return out;
}

std::vector<std::vector<int>> FaceRows(const GdlMeshMaterialData& r)
{
	std::vector<std::vector<int>> out;
	for (const kivel::GdlFace& f : r.faces) {
		std::vector<int> row = {f.normalIndex};
		for (int e : f.edges) row.push_back(e);
		out.push_back(row);
	}
	return out;
}

// Every face's signed edges close a loop over its own corners, and every edge names the face.
void ExpectConsistent(const GdlMeshMaterialData& r)
{
	for (UInt32 n = 0; n < r.faces.GetSize(); ++n) {
		const kivel::GdlFace& f = r.faces[n];
		ASSERT_EQ(f.edges.GetSize(), 3u);
		for (UInt32 j = 0; j < 3; ++j) {
			const int e = f.edges[j], next = f.edges[(j + 1) % 3];
			ASSERT_NE(e, 0) << "face " << n + 1 << " side " << j;
			ASSERT_NE(next, 0);
			const GdlEdge& a = r.edges[static_cast<UInt32>(std::abs(e) - 1)];
			const GdlEdge& b = r.edges[static_cast<UInt32>(std::abs(next) - 1)];
			const int aEnd = e > 0 ? a.vertex2 : a.vertex1;
			const int bStart = next > 0 ? b.vertex1 : b.vertex2;
			EXPECT_EQ(aEnd, bStart) << "face " << n + 1 << " does not close at side " << j;
			EXPECT_TRUE(a.face1 == static_cast<int>(n) + 1 || a.face2 == static_cast<int>(n) + 1);
		}
	}
}

TEST(GdlMeshTypes, EdgeFaceSlotsAndSolids)
{
	GdlEdge e(3, 4, -1, -1, 0);
	EXPECT_EQ(e.key, 0);
	EXPECT_FALSE(e.IsManifold());
	e.AddFaceIdx(5);
	e.AddFaceIdx(6);
	e.AddFaceIdx(7); // both set: no change
	EXPECT_EQ(e.face1, 5);
	EXPECT_EQ(e.face2, 6);
	EXPECT_TRUE(e.IsManifold());
	GdlEdge open(1, 1, 2, 4, -1, 2);
	open.Finalize();
	EXPECT_EQ(open.face2, 0);
	EXPECT_FALSE(open.IsManifold());
	EXPECT_FALSE(open.IsVisible());

	GdlMeshMaterialData r;
	for (int i = 1; i <= 3; ++i) r.faces.Push(kivel::GdlFace(i, {1, 2, 3}));
	r.edges.Push(GdlEdge(1, 1, 2, 1, 2, 0));
	EXPECT_FALSE(r.ISolid()) << "three faces are never solid";
	r.faces.Push(kivel::GdlFace(4, {1, 2, 3}));
	EXPECT_TRUE(r.ISolid());
	r.edges.Push(open);
	EXPECT_FALSE(r.ISolid());
	r.edges.Clear();
	EXPECT_TRUE(r.ISolid()) << "four faces without edges count as solid";
}

TEST(GdlMeshTypes, ComparisonsWithinTolerance)
{
	const kivel::API_Coord3D_compare less;
	EXPECT_FALSE(less({0, 0, 0}, {5e-7, 0, 0})) << "within the tolerance nothing is smaller";
	EXPECT_TRUE(less({0, 5, 5}, {2e-6, 0, 0}));
	EXPECT_TRUE(less({0, 0, 9}, {0, 2e-6, 0}));
	EXPECT_TRUE(less({0, 0, 0}, {0, 0, 2e-6}));
	EXPECT_FALSE(less({0, 0, 2e-6}, {0, 0, 0}));
	const kivel::Coord3DUV_compare lessUV;
	EXPECT_TRUE(lessUV(kivel::Coord3DUV(0, 0, 0, 0.1f, 0), kivel::Coord3DUV(0, 0, 0, 0.2f, 0)));
	EXPECT_TRUE(lessUV(kivel::Coord3DUV(0, 0, 0, 0, 0.1f), kivel::Coord3DUV(0, 0, 0, 0, 0.2f)));
	EXPECT_TRUE(kivel::IsEqualCoord3D(kivel::Coord3DUV(1, 2, 3, 0, 0), kivel::Coord3DUV(1, 2, 3)));
	EXPECT_TRUE(kivel::IsEqualCoord3D(API_Coord3D{1, 2, 3}, API_Coord3D{1 + 9e-7, 2, 3}));
	EXPECT_FALSE(kivel::IsEqualCoord3D(API_Coord3D{1, 2, 3}, API_Coord3D{1, 2, 3 + 2e-6}));

	const kivel::Triplet_compare tless;
	EXPECT_FALSE(tless({3, 1, 2}, {1, 2, 3}));
	EXPECT_FALSE(tless({1, 2, 3}, {2, 3, 1}));
	EXPECT_TRUE(tless({1, 2, 3}, {4, 1, 2}));
	EXPECT_TRUE(kivel::IsEqualTriplets({1, 2, 3}, {3, 2, 1}));
	EXPECT_FALSE(kivel::IsEqualTriplets({1, 2, 3}, {1, 2, 4}));
	EXPECT_TRUE(kivel::IsValidTriplet({1, 2, 3}));
	EXPECT_FALSE(kivel::IsValidTriplet({1, 2, 1}));
}

TEST(GdlMeshTypes, VectorsAndNormal)
{
	API_Coord3D n;
	BNZeroMemory(&n, sizeof n);
	kivel::CalcNormal(n, {0, 0, 0}, {1, 0, 0}, {1, 1, 0});
	EXPECT_EQ(n.x, 0);
	EXPECT_EQ(n.y, 0);
	EXPECT_EQ(n.z, 1) << "(C - B) x (A - B)";
	API_Coord3D v = {1, 1, 0};
	kivel::Normalize(v);
	EXPECT_EQ(v.x, 1 / static_cast<double>(std::sqrt(2.0f))) << "the length is rounded to single precision";
	API_Coord3D c;
	BNZeroMemory(&c, sizeof c);
	kivel::CrossVect(c, {1, 2, 3}, {4, 5, 6});
	EXPECT_EQ(c.x, -3);
	EXPECT_EQ(c.y, 6);
	EXPECT_EQ(c.z, -3);
	kivel::SubstractVect(c, {1, 2, 3}, {4, 6, 8});
	EXPECT_EQ(c.z, -5);
}

TEST(MeshRecords, FlatSquare)
{
	Built b = Build(Square(), 1);
	ASSERT_EQ(b.records.GetSize(), 2u);
	EXPECT_EQ(b.records[0].material, -1);
	EXPECT_TRUE(b.records[0].faces.IsEmpty());
	EXPECT_TRUE(b.records[0].vertices.IsEmpty());
	const GdlMeshMaterialData& r = b.records[1];
	EXPECT_EQ(r.material, 0);
	ASSERT_EQ(r.vertices.GetSize(), 4u);
	EXPECT_EQ(r.vertices[2].x, 1);
	EXPECT_EQ(r.vertices[2].y, 1);
	EXPECT_FALSE(r.vertices[2].hasUV);
	EXPECT_EQ(r.vertices[2].u, 0);
	ASSERT_EQ(r.normals.GetSize(), 2u);
	EXPECT_EQ(r.normals[0].z, 1);
	const std::vector<std::vector<int>> edges = {
	    {1, 1, 2, 1, 0, 0}, {2, 2, 3, 1, 0, 0}, {3, 1, 3, 1, 2, 2}, {4, 3, 4, 2, 0, 0}, {5, 1, 4, 2, 0, 0}};
	EXPECT_EQ(EdgeRows(r), edges);
	EXPECT_EQ(FaceRows(r), (std::vector<std::vector<int>>{{1, 1, 2, -3}, {2, 3, 4, -5}}));
	EXPECT_FALSE(r.ISolid());
	EXPECT_EQ(b.counts.invalid, 0);
	ExpectConsistent(r);
}

TEST(MeshRecords, FoldDecidesSoftDiagonal)
{
	struct Case {
		double degrees;
		int status;
	};
	// The second half turns about the diagonal 0-2 by the given angle.
	for (const Case c : {Case{0, 2}, Case{30, 2}, Case{90, 0}, Case{150, 0}}) {
		const double t = c.degrees * M_PI / 180;
		Simple3dsMesh m = Square();
		m.vertices[3] = {static_cast<float>(0.5 - 0.5 * std::cos(t)), static_cast<float>(0.5 + 0.5 * std::cos(t)),
		                 static_cast<float>(std::sqrt(0.5) * std::sin(t))};
		Built b = Build(m, 1);
		const GdlEdge& diagonal = b.records[1].edges[2];
		EXPECT_EQ(diagonal.status, c.status) << c.degrees;
		EXPECT_EQ(diagonal.face1, 1);
		EXPECT_EQ(diagonal.face2, 2);
		ExpectConsistent(b.records[1]);
	}
}

TEST(MeshRecords, DroppedFacesAreCounted)
{
	const float nan = std::numeric_limits<float>::quiet_NaN();
	const float inf = std::numeric_limits<float>::infinity();
	Simple3dsMesh m;
	m.vertices = {{0, 0, 0}, {1, 0, 0}, {1, 1, 0}, // the good face
	              {5, 5, 0}, {5, 5, 0}, {6, 5, 0}, // two equal corners
	              {0, 0, 5e-10f},                  // 5e-7 from corner 0 once scaled
	              {2, 2, 2}, {4, 4, 4},            // on one line with corner 0
	              {nan, 0, 0}, {0, inf, 0}};       // not finite
	m.faces = {F(0, 1, 2), F(3, 4, 5), F(0, 6, 2), F(0, 7, 8), F(9, 1, 2), F(0, 10, 2), F(1, 3, 2)};
	Built b = Build(m, 1);
	EXPECT_EQ(b.counts.invalid, 5) << "the first and the last face are good";
	const GdlMeshMaterialData& r = b.records[1];
	ASSERT_EQ(r.faces.GetSize(), 2u);
	EXPECT_EQ(r.vertices.GetSize(), 4u) << "corners of dropped faces enter only through kept ones";
	for (const kivel::Coord3DUV& v : r.vertices) EXPECT_TRUE(std::isfinite(v.x) && std::isfinite(v.y) && std::isfinite(v.z));
	ExpectConsistent(r);

	// Texture coordinates: a non-finite one drops its face; a mesh without any keeps its faces.
	Simple3dsMesh t = Square();
	t.uvs = {{0, 0}, {1, 0}, {1, inf}, {0, 1}};
	EXPECT_EQ(Build(t, 1).counts.invalid, 2);
	t.uvs = {{0, 0}, {1, 0}, {1, 1}};
	Built shortUV = Build(t, 1);
	EXPECT_EQ(shortUV.counts.invalid, 1) << "only the face with a corner past the coordinates";
	EXPECT_EQ(shortUV.records[1].faces.GetSize(), 1u);
	t.uvs.clear();
	Built noUV = Build(t, 1);
	EXPECT_EQ(noUV.counts.invalid, 0);
	EXPECT_EQ(noUV.records[1].faces.GetSize(), 2u);
	// A corner index past the vertices.
	Simple3dsMesh past = Square();
	past.faces.push_back(F(0, 2, 9));
	EXPECT_EQ(Build(past, 1).counts.invalid, 1);
}

TEST(MeshRecords, TextureCoordinatesAndScale)
{
	Simple3dsMesh m = Square();
	m.vertices[1] = {0.1f, 0, 0};
	m.uvs = {{0, 0}, {0.25f, 0}, {1, 1}, {0, 1}};
	Built b = Build(m, 1);
	const kivel::Coord3DUV& v = b.records[1].vertices[1];
	EXPECT_TRUE(v.hasUV);
	EXPECT_EQ(v.u, 0.25);
	EXPECT_EQ(v.x, static_cast<double>(0.1f * 1000.0f / 1000.0f)) << "scaled and unscaled in single precision";
}

TEST(MeshRecords, MaterialRecords)
{
	// Three materials; faces of material 1 only in record 2, faces of no group in record 0.
	Simple3dsMesh m;
	m.vertices = {{0, 0, 0}, {1, 0, 0}, {1, 1, 0}, {0, 1, 0}, {2, 0, 0}};
	m.faces = {F(0, 1, 2, 1), F(0, 2, 3, Simple3dsNoMaterial), F(1, 4, 2, 1)};
	Built b = Build(m, 3);
	ASSERT_EQ(b.records.GetSize(), 4u);
	const std::vector<int> materials = {b.records[0].material, b.records[1].material, b.records[2].material, b.records[3].material};
	EXPECT_EQ(materials, (std::vector<int>{-1, 0, 1, 2}));
	EXPECT_EQ(b.records[0].faces.GetSize(), 1u) << "faces of no material keep their geometry";
	EXPECT_EQ(b.records[1].faces.GetSize(), 0u);
	EXPECT_EQ(b.records[2].faces.GetSize(), 2u);
	EXPECT_EQ(b.records[3].faces.GetSize(), 0u);
	EXPECT_EQ(b.records[2].vertices.GetSize(), 4u) << "numbered within the record";
	// Without scene materials everything is in the one record of material -1.
	Built none = Build(Square(0, Simple3dsNoMaterial), 0);
	ASSERT_EQ(none.records.GetSize(), 1u);
	EXPECT_EQ(none.records[0].material, -1);
	EXPECT_EQ(none.records[0].faces.GetSize(), 2u);
	ExpectConsistent(none.records[0]);
}

TEST(MeshRecords, ThreeFacesOnOneSide)
{
	// A and B walk side 0-1 upwards, C downwards; C is closer in direction to B.
	Simple3dsMesh m;
	m.vertices = {{0, 0, 0}, {1, 0, 0}, {0.5f, 1, 0}, {0.5f, 0, 1}, {0.5f, -1, 0.2f}};
	m.faces = {F(0, 1, 2), F(0, 1, 3), F(1, 0, 4)};
	Built b = Build(m, 1);
	const GdlMeshMaterialData& r = b.records[1];
	ASSERT_EQ(r.faces.GetSize(), 3u);
	const int shared1 = r.faces[0].edges[0], shared2 = r.faces[1].edges[0];
	EXPECT_EQ(shared1, 1);
	EXPECT_EQ(shared2, 4) << "B made its own candidate";
	const int cSide = r.faces[2].edges[0];
	EXPECT_EQ(cSide, -4) << "C walks it the other way and names the last candidate listing it";
	EXPECT_EQ(r.edges[3].face1, 2);
	EXPECT_EQ(r.edges[3].face2, 3);
	EXPECT_EQ(r.edges[0].face1, 1);
	EXPECT_EQ(r.edges[0].face2, 0);
	ExpectConsistent(r);
}

TEST(MeshRecords, OppositeFacesOnSharedSideStayNamed)
{
	// A walks side 0-1 one way, B and C the other way in the same plane: both exactly opposite
	// to A, so no angle is below 180 degrees; A still pairs (with B) and C keeps its own edge.
	Simple3dsMesh m;
	m.vertices = {{0, 0, 0}, {1, 0, 0}, {0.5f, 1, 0}, {0.5f, 1, 0}, {0.2f, 2, 0}};
	m.faces = {F(0, 1, 2), F(1, 0, 3), F(1, 0, 4)};
	Built b = Build(m, 1);
	const GdlMeshMaterialData& r = b.records[1];
	ASSERT_EQ(r.normals.GetSize(), 3u);
	ASSERT_EQ(r.normals[0].z * r.normals[1].z, -1) << "the fixture needs exactly opposite normals";
	ASSERT_EQ(r.normals[0].z * r.normals[2].z, -1);
	ExpectConsistent(r);
	EXPECT_EQ(r.faces[0].edges[0], 1);
	EXPECT_EQ(r.faces[1].edges[0], -1);
	EXPECT_EQ(r.faces[2].edges[0], -6) << "C met the side closed already and made its own candidate";
}

TEST(MeshRecords, ASliverOfNoDirectionIsPairedByItsOwnNormal)
{
	// A and the far sliver S walk side 0-1 one way, C the other way about 169 degrees from A.
	// S's normal is 0/0, no angle at all: C pairs with A. Were it 0 in the pairing too, S
	// would be 90 degrees from C and taken instead. The record still holds 0 for it.
	Simple3dsMesh m;
	m.vertices = {{0, 0, 0}, {1, 0, 0}, {0.5f, 1, 0}, {1e27f, 1e27f, 1e27f}, {0.5f, 1, 0.2f}};
	m.faces = {F(0, 1, 2), F(1, 3, 0), F(1, 0, 4)};
	Built b = Build(m, 1);
	const GdlMeshMaterialData& r = b.records[1];
	ASSERT_EQ(r.normals.GetSize(), 3u);
	EXPECT_EQ(b.counts.invalid, 0) << "the sliver passes the area test";
	EXPECT_EQ(r.normals[0].z, 1.0);
	EXPECT_EQ(r.normals[1].x, 0.0);
	EXPECT_EQ(r.normals[1].y, 0.0);
	EXPECT_EQ(r.normals[1].z, 0.0);
	ExpectConsistent(r);
	EXPECT_EQ(r.faces[0].edges[0], 1) << "A keeps the first candidate of the side";
	EXPECT_EQ(r.faces[1].edges[2], 6);
	EXPECT_EQ(r.faces[2].edges[0], -6) << "C ends on the last candidate naming it";
}

TEST(MeshRecords, DuplicateCheckWhenSwitchedOn)
{
	Simple3dsMesh m = Square();
	m.faces.push_back(F(2, 0, 1));
	EXPECT_EQ(Build(m, 1).counts.duplicated, 0);
	EXPECT_EQ(Build(m, 1).records[1].faces.GetSize(), 3u);
	Built b = Build(m, 1, true);
	EXPECT_EQ(b.counts.duplicated, 1);
	EXPECT_EQ(b.records[1].faces.GetSize(), 2u);
}

class MeshReaderFile : public testsupport::HostTest {};

TEST_F(MeshReaderFile, ReadsScalesAndFails)
{
	using namespace w3ds;
	testsupport::TempDir dir;
	const std::string good = dir / "good.3ds";
	testsupport::WriteFile(good, File(Material("Asfalt") + Object("Vei", Points({{0, 0, 0}, {1, 0, 0}, {1, 1, 0}}) +
	                                                                      Faces({F(0, 1, 2)}, Group("Asfalt", {0})))));
	kivel::MeshReader reader(testsupport::Loc(good));
	ASSERT_EQ(reader.Read(), 0);
	EXPECT_EQ(reader.GetScene().meshes[0].vertices[1].x, 1000.0f);
	ASSERT_EQ(reader.GetMeshes().GetSize(), 1u);
	ASSERT_EQ(reader.GetMeshes()[0].GetSize(), 2u);
	EXPECT_EQ(reader.GetMeshes()[0][1].faces.GetSize(), 1u);
	EXPECT_EQ(reader.GetMeshes()[0][1].vertices[1].x, 1.0);
	EXPECT_EQ(reader.GetInvalidFaceCount(), 0);
	EXPECT_EQ(reader.GetDuplicatedFaceCount(), 0);

	kivel::MeshReader missing(testsupport::Loc(dir / "none.3ds"));
	EXPECT_NE(missing.Read(), 0);
	EXPECT_TRUE(missing.GetMeshes().IsEmpty());
	const std::string bad = dir / "bad.3ds";
	testsupport::WriteFile(bad, "not a 3ds file");
	kivel::MeshReader broken(testsupport::Loc(bad));
	EXPECT_EQ(broken.Read(), 2);
	const std::vector<std::string> reports = ReportTexts();
	const std::string notFound = "Error: 3DS File (" + (dir / "none.3ds") + ") not found!";
	const std::string unparsed = "Error while parsing 3DS File (" + bad + ")!";
	EXPECT_NE(std::find(reports.begin(), reports.end(), notFound), reports.end()) << notFound;
	EXPECT_EQ(reports.back(), unparsed);
}

} // namespace
