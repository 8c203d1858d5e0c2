#include <algorithm>
#include <cstring>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "../r3ds/Writer3ds.hpp"
#include "Classes/HouseReader.hpp"
#include "ObjectsTest.hpp"
#include "sample/SamplePackage.hpp"

namespace {

using Table = ObjectParameter::NumberTable;

constexpr short kLayer = 4, kPen = 3, kFillPen = 5, kBackPen = 19, kFill = 65, kWall = 12, kRoof = 13;

class BuildingReader : public objtest::VelmoraLibTest {
protected:
	GSErrCode ReadFile(const std::string& path, double elevation = 0.0)
	{
		return HouseReader::Read(testsupport::Loc(path), records_, kLayer, elevation, kPen, kFillPen, kBackPen, kFill, kWall, kRoof);
	}
	// Writes a 3DS model (the body of its mesh data chunk) and reads it.
	GSErrCode Read(const std::string& mdataBody, double elevation = 0.0)
	{
		testsupport::WriteFile(ModelPath(), w3ds::File(mdataBody));
		return ReadFile(ModelPath(), elevation);
	}
	std::string ModelPath() const { return addon_ / "3ds/Bygning.3ds"; }

	static const Table& TableOf(const ObjectGenerationInfo& r, const char* key, API_AddParID type)
	{
		static const Table none;
		const ObjectParameter* p = r.parameters.GetPtr(GS::UniString(key));
		if (p == nullptr) {
			ADD_FAILURE() << "no parameter " << key;
			return none;
		}
		EXPECT_EQ(p->type, type) << key;
		EXPECT_TRUE(p->isArray) << key;
		return p->doubleArray;
	}
	static std::vector<std::vector<double>> Rows(const Table& t)
	{
		std::vector<std::vector<double>> rows;
		for (const auto& row : t) rows.emplace_back(row.begin(), row.end());
		return rows;
	}

	GS::Array<ObjectGenerationInfo> records_;
};

// A triangle in the xy plane at height z, counter-clockwise seen from above.
std::vector<Simple3dsVertex> Triangle(float x, float z) { return {{x, 0, z}, {x + 1, 0, z}, {x, 1, z}}; }

TEST_F(BuildingReader, OneTriangleGivesItsFourTablesAndTheDisplayValues)
{
	LoadLib();
	records_.Push(ObjectGenerationInfo()); // the reader appends
	ASSERT_EQ(Read(w3ds::Material("Tak") + w3ds::Object("Hus", w3ds::Points(Triangle(2, 5)) + w3ds::Faces({{0, 1, 2, 0, 0}}, w3ds::Group("Tak", {0}))),
		7.5), NoError);
	ASSERT_EQ(records_.GetSize(), 2u);
	const ObjectGenerationInfo& r = records_[1];
	EXPECT_EQ(r.libPart.index, PartIndex("Velmora_Building"));
	EXPECT_EQ(r.type, ImportBuildings);
	EXPECT_EQ(r.layer, kLayer);
	EXPECT_EQ(r.x, 0.0);
	EXPECT_EQ(r.y, 0.0);
	EXPECT_EQ(r.z, 7.5);
	using R = std::vector<std::vector<double>>;
	EXPECT_EQ(Rows(TableOf(r, "VERTARRAY", APIParT_Length)), (R{{2, 0, 5}, {3, 0, 5}, {2, 1, 5}}));
	EXPECT_EQ(Rows(TableOf(r, "VECTARRAY", APIParT_Length)), (R{{0, 0, 1}}));
	// Sides 0-1, 1-2, 2-0; the last is walked from the larger index, so its number is negative.
	EXPECT_EQ(Rows(TableOf(r, "EDGEARRAY", APIParT_Integer)), (R{{1, 2, 1, 0, 0}, {2, 3, 1, 0, 0}, {1, 3, 1, 0, 0}}));
	EXPECT_EQ(Rows(TableOf(r, "PGONARRAY", APIParT_Integer)), (R{{3, 1, 0, 1, 2, -3}}));
	const std::tuple<const char*, API_AddParID, double> values[] = {
		{"GS_CONT_PEN", APIParT_PenCol, kPen}, {"GS_FILL_TYPE", APIParT_FillPat, kFill}, {"GS_FILL_PEN", APIParT_PenCol, kFillPen},
		{"GS_BACK_PEN", APIParT_PenCol, kBackPen}, {"PEN3D", APIParT_PenCol, kPen}, {"MATWALL", APIParT_Mater, kWall},
		{"MATROOF", APIParT_Mater, kRoof},
	};
	for (const auto& v : values) EXPECT_EQ(Number(r, std::get<0>(v), std::get<1>(v)), std::get<2>(v)) << std::get<0>(v);
	EXPECT_EQ(r.parameters.GetSize(), 11u);
	EXPECT_TRUE(ReportTexts().empty());
}

TEST_F(BuildingReader, ASliverOfNoDirectionGivesFiniteNormals)
{
	LoadLib();
	// The second face's far corner swallows the near ones' differences: its normal is 0/0.
	std::vector<Simple3dsVertex> points = Triangle(0, 0);
	points.push_back({1e27f, 1e27f, 1e27f});
	ASSERT_EQ(Read(w3ds::Material("Tak") + w3ds::Object("Hus", w3ds::Points(points) +
		w3ds::Faces({{0, 1, 2, 0, 0}, {1, 3, 2, 0, 0}}, w3ds::Group("Tak", {0, 1})))), NoError);
	ASSERT_EQ(records_.GetSize(), 1u);
	using R = std::vector<std::vector<double>>;
	EXPECT_EQ(Rows(TableOf(records_[0], "VECTARRAY", APIParT_Length)), (R{{0, 0, 1}, {0, 0, 0}}));
}

TEST_F(BuildingReader, EachMaterialOfEachMeshIsOneBuilding)
{
	LoadLib();
	// The first mesh has a triangle of each material, the second two triangles of the second.
	std::vector<Simple3dsVertex> twoApart = Triangle(0, 0);
	for (const auto& v : Triangle(10, 0)) twoApart.push_back(v);
	const std::vector<Simple3dsFace> faces = {{0, 1, 2, 0, 0}, {3, 4, 5, 0, 0}};
	const std::string model = w3ds::Material("Vegg") + w3ds::Material("Tak") +
		w3ds::Object("A", w3ds::Points(twoApart) + w3ds::Faces(faces, w3ds::Group("Vegg", {0}) + w3ds::Group("Tak", {1}))) +
		w3ds::Object("B", w3ds::Points(twoApart) + w3ds::Faces(faces, w3ds::Group("Tak", {0, 1})));
	ASSERT_EQ(Read(model), NoError);
	// The first record of each mesh, material -1, has no faces and is no building.
	ASSERT_EQ(records_.GetSize(), 3u);
	const std::pair<UInt32, double> shape[] = {{3, 0}, {3, 10}, {6, 0}}; // vertices, first x
	for (UInt32 i = 0; i < 3; ++i) {
		const Table& verts = TableOf(records_[i], "VERTARRAY", APIParT_Length);
		ASSERT_EQ(verts.GetSize(), shape[i].first) << i;
		EXPECT_EQ(verts[0][0], shape[i].second) << i;
		EXPECT_EQ(TableOf(records_[i], "PGONARRAY", APIParT_Integer).GetSize(), shape[i].first / 3) << i;
		EXPECT_EQ(TableOf(records_[i], "EDGEARRAY", APIParT_Integer).GetSize(), shape[i].first) << i;
	}
}

TEST_F(BuildingReader, AModelWithoutMaterialsKeepsItsBuildings)
{
	LoadLib();
	const std::string mesh = w3ds::Points(Triangle(0, 3)) + w3ds::Faces({{0, 1, 2, 0, 0}});
	ASSERT_EQ(Read(w3ds::Object("A", mesh) + w3ds::Object("B", mesh)), NoError);
	ASSERT_EQ(records_.GetSize(), 2u); // one per mesh, from its material -1 record
	for (const ObjectGenerationInfo& r : records_) {
		EXPECT_EQ(TableOf(r, "VERTARRAY", APIParT_Length).GetSize(), 3u);
		EXPECT_EQ(TableOf(r, "PGONARRAY", APIParT_Integer).GetSize(), 1u);
	}
}

TEST_F(BuildingReader, RecordsWithoutFacesOrWithTooFewVerticesAreNoBuildings)
{
	API_LibPart part;
	std::memset(&part, 0, sizeof part);
	kivel::GdlMeshMaterialData withFaces;
	withFaces.material = 0;
	for (float x : {0.f, 1.f, 0.f}) withFaces.vertices.Push(kivel::Coord3DUV(x, x == 0.f ? 0.f : 1.f, 0.f));
	withFaces.faces.Push(kivel::GdlFace(1, GS::Array<int>{1, 2, -3}));
	kivel::GdlMeshMaterialData noFaces = withFaces; // all its faces dropped as degenerate
	noFaces.faces.Clear();
	kivel::GdlMeshMaterialData twoVertices = withFaces;
	twoVertices.vertices.Pop();
	const GS::Array<GS::Array<kivel::GdlMeshMaterialData>> meshes = {{noFaces, withFaces}, {twoVertices}, {}};
	GS::Array<ObjectGenerationInfo> out;
	HouseReader::AppendRecords(part, meshes, 1, 0.0, BuildingDisplay{}, out);
	ASSERT_EQ(out.GetSize(), 1u);
	EXPECT_EQ(TableOf(out[0], "PGONARRAY", APIParT_Integer)[0][5], -3.0);
}

TEST_F(BuildingReader, WithoutTheBuildingPartNothingIsRead)
{
	LoadLib({"Velmora_Building"});
	const GSErrCode err = ReadFile(addon_ / "no such.3ds");
	API_LibPart part;
	BNZeroMemory(&part, sizeof part);
	EXPECT_EQ(err, kivel::LibraryManager::SearchByLibraryPartName(part, GS::UniString("Velmora_Building"), false, false, false));
	EXPECT_NE(err, NoError);
	EXPECT_TRUE(records_.IsEmpty());
	ASSERT_EQ(Host().reports.size(), 1u); // the model is not even opened
	EXPECT_EQ(Host().reports[0].text, MissingPartReport("Velmora_Building"));
	EXPECT_TRUE(Host().reports[0].alert);
}

TEST_F(BuildingReader, AModelThatCannotBeReadGivesTheMeshReadersCode)
{
	LoadLib();
	const std::string missing = addon_ / "3ds/ingen.3ds";
	EXPECT_NE(ReadFile(missing), NoError);
	EXPECT_EQ(ReportTexts(), std::vector<std::string>{"Error: 3DS File (" + missing + ") not found!"});
	EXPECT_TRUE(records_.IsEmpty());
	EXPECT_EQ(Read(""), NoError); // a model without meshes has no buildings
	EXPECT_TRUE(records_.IsEmpty());
}

// The boxes' corners of a record: the smallest and largest x, y and z of its vertices.
std::vector<double> Extent(const Table& verts)
{
	std::vector<double> e = {1e30, 1e30, 1e30, -1e30, -1e30, -1e30};
	for (const auto& v : verts)
		for (int a = 0; a < 3; ++a) {
			e[a] = std::min(e[a], v[a]);
			e[a + 3] = std::max(e[a + 3], v[a]);
		}
	return e;
}

TEST_F(BuildingReader, EveryBoxOfTheSampleIsOneClosedBuilding)
{
	LoadLib();
	const std::string project = RunRoot() + "/Documents/Velmora/Prøve";
	ASSERT_EQ(sample::MakeProjectFolder(project, {}), "");
	ASSERT_EQ(ReadFile(project + "/3D-modell/3ds/Bygning.3ds"), NoError);
	ASSERT_EQ(records_.GetSize(), 6u); // the sample's 24-point grid has 24 / 4 buildings
	for (UInt32 k = 0; k < records_.GetSize(); ++k) {
		const ObjectGenerationInfo& r = records_[k];
		EXPECT_EQ(TableOf(r, "VERTARRAY", APIParT_Length).GetSize(), 8u) << k;
		EXPECT_EQ(TableOf(r, "VECTARRAY", APIParT_Length).GetSize(), 12u) << k;
		EXPECT_EQ(TableOf(r, "PGONARRAY", APIParT_Integer).GetSize(), 12u) << k;
		const Table& edges = TableOf(r, "EDGEARRAY", APIParT_Integer);
		ASSERT_EQ(edges.GetSize(), 18u) << k; // 12 box edges and a diagonal per side
		for (const auto& e : edges) EXPECT_TRUE(e[2] > 0 && e[3] > 0) << k; // closed: two faces on every edge
		const double x = 40 + (sample::AreaWidth - 80) * k / 5, y = 100 + 30 * (k % 3);
		const double z = sample::TerrainHeight(x, y) - 0.5, height = 6 + 3 * (k % 4);
		const std::vector<double> e = Extent(TableOf(r, "VERTARRAY", APIParT_Length));
		const double expected[] = {x - 6, y - 4, z, x + 6, y + 4, z + height};
		for (int a = 0; a < 6; ++a) EXPECT_NEAR(e[a], expected[a], 1e-3) << k << " " << a;
	}
	EXPECT_TRUE(ReportTexts().empty());
}

TEST_F(BuildingReader, TheIndependentModelGivesOneBuildingPerBox)
{
	LoadLib();
	ASSERT_EQ(ReadFile(std::string(VELMORA_FIXTURES) + "/3ds/buildings.3ds"), NoError);
	ASSERT_EQ(records_.GetSize(), 12u);
	UInt32 vertices = 0, faces = 0;
	for (const ObjectGenerationInfo& r : records_) {
		vertices += TableOf(r, "VERTARRAY", APIParT_Length).GetSize();
		faces += TableOf(r, "PGONARRAY", APIParT_Integer).GetSize();
	}
	EXPECT_EQ(vertices, 288u);
	EXPECT_EQ(faces, 144u);
}

} // namespace
