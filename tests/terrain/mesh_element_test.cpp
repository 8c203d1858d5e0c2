// The mesh element: the host's outline check and regularisation, and the add-on's element
// with its settings, memo and pieces.
#include <cmath>
#include <functional>
#include <new>

#include <gtest/gtest.h>

#include "ACAPinc.h"
#include "TerrainTest.hpp"
#include "TestSupport.hpp"
#include "vhost/AttributeIndex.hpp"
#include "vhost/Elements.hpp"

namespace {

using namespace terraintest;
using MeshElement = testsupport::HostTest;

template <typename T>
T** Table(const std::vector<T>& values)
{
	auto** h = reinterpret_cast<T**>(BMAllocateHandle(static_cast<Int32>(values.size() * sizeof(T)), ALLOCATE_CLEAR, 0));
	for (std::size_t i = 0; i < values.size(); ++i) (*h)[i] = values[i];
	return h;
}

template <typename T>
std::vector<T> Read(T** h)
{
	if (h == nullptr) return {};
	return std::vector<T>(*h, *h + BMGetHandleSize(reinterpret_cast<GSConstHandle>(h)) / static_cast<Int32>(sizeof(T)));
}

GSErrCode InStep(const std::function<GSErrCode()>& fn) { return ACAPI_CallUndoableCommand("Mesh", fn); }

// A bare mesh of an outline (one-based, as given) with heights 0 and no level lines.
GSErrCode CreateOutline(const std::vector<API_Coord>& outline)
{
	API_Element e;
	BNZeroMemory(&e, sizeof e);
	e.header.type.typeID = API_MeshID;
	ACAPI_Element_GetDefaults(&e, nullptr);
	const Int32 n = static_cast<Int32>(outline.size());
	e.mesh.poly = {n, 1, 0};
	std::vector<API_Coord> coords = {{0, 0}};
	coords.insert(coords.end(), outline.begin(), outline.end());
	API_ElementMemo memo;
	BNZeroMemory(&memo, sizeof memo);
	memo.coords = Table(coords);
	memo.pends = Table(std::vector<Int32>{0, n});
	memo.meshPolyZ = Table(std::vector<double>(outline.size() + 1, 0.0));
	const GSErrCode err = InStep([&] { return ACAPI_Element_Create(&e, &memo); });
	ACAPI_DisposeElemMemoHdls(&memo);
	return err;
}

TEST_F(MeshElement, HostRefusesOutlinesThatAreNotSimple)
{
	const struct {
		const char* what;
		std::vector<API_Coord> outline;
		GSErrCode result;
	} cases[] = {
		{"closed square", {{0, 0}, {10, 0}, {10, 10}, {0, 10}, {0, 0}}, NoError},
		{"open square", {{0, 0}, {10, 0}, {10, 10}, {0, 10}}, NoError},
		{"crossing edges", {{0, 0}, {10, 10}, {10, 0}, {0, 10}, {0, 0}}, APIERR_IRREGULARPOLY},
		{"zero-length edge", {{0, 0}, {10, 0}, {10, 0}, {10, 10}, {0, 10}, {0, 0}}, APIERR_IRREGULARPOLY},
		{"edge running back over the last", {{0, 0}, {10, 0}, {5, 0}, {5, 10}, {0, 0}}, APIERR_IRREGULARPOLY},
		{"a point on another edge", {{0, 0}, {10, 0}, {10, 10}, {5, 0}, {0, 10}, {0, 0}}, APIERR_IRREGULARPOLY},
		{"two points only once closed", {{0, 0}, {10, 0}, {0, 0}}, APIERR_IRREGULARPOLY},
	};
	for (const auto& c : cases) EXPECT_EQ(CreateOutline(c.outline), c.result) << c.what;
	EXPECT_EQ(vhost::ElementsOfType(API_MeshID).size(), 2u);
}

struct Pieces {
	GSErrCode err = NoError;
	std::vector<std::vector<API_Coord>> coords;
	std::vector<std::vector<Int32>> sources;
};

Pieces Regularize(const std::vector<API_Coord>& outline, bool withArc = false)
{
	API_RegularizedPoly poly;
	BNZeroMemory(&poly, sizeof poly);
	std::vector<API_Coord> coords = {{0, 0}};
	coords.insert(coords.end(), outline.begin(), outline.end());
	poly.coords = Table(coords);
	poly.pends = Table(std::vector<Int32>{0, static_cast<Int32>(outline.size())});
	poly.parcs = Table(withArc ? std::vector<API_PolyArc>{{1, 2, 0.5}} : std::vector<API_PolyArc>{});
	poly.needVertexAttrs = true;
	Int32 count = -1;
	API_RegularizedPoly** list = nullptr;
	Pieces out;
	out.err = ACAPI_Polygon_RegularizePolygon(&poly, &count, &list);
	for (Int32 i = 0; i < count; ++i) {
		API_RegularizedPoly& piece = (*list)[i];
		std::vector<API_Coord> c = Read(piece.coords);
		out.coords.emplace_back(c.begin() + 1, c.end());
		std::vector<Int32> s = Read(piece.vertexAttrs);
		out.sources.emplace_back(s.begin() + 1, s.end());
		EXPECT_EQ(Read(piece.pends), (std::vector<Int32>{0, static_cast<Int32>(c.size() - 1)}));
		EXPECT_TRUE(Read(piece.parcs).empty());
		ACAPI_Polygon_DisposeRegularizedPoly(&piece);
	}
	BMKillHandle(reinterpret_cast<GSHandle*>(&list));
	ACAPI_Polygon_DisposeRegularizedPoly(&poly);
	return out;
}

bool Equal(const std::vector<API_Coord>& a, const std::vector<API_Coord>& b)
{
	if (a.size() != b.size()) return false;
	for (std::size_t i = 0; i < a.size(); ++i)
		if (std::fabs(a[i].x - b[i].x) > 1e-12 || std::fabs(a[i].y - b[i].y) > 1e-12) return false;
	return true;
}

TEST_F(MeshElement, RegularisationGivesSimplePiecesWithTheirSources)
{
	const int handles = vhost::LiveHandles();
	// A bow tie: two triangles meeting at the new point (5, 5).
	const Pieces bow = Regularize({{0, 0}, {10, 10}, {10, 0}, {0, 10}, {0, 0}});
	ASSERT_EQ(bow.err, NoError);
	ASSERT_EQ(bow.coords.size(), 2u);
	EXPECT_TRUE(Equal(bow.coords[0], {{5, 5}, {10, 0}, {10, 10}, {5, 5}}) || Equal(bow.coords[0], {{10, 0}, {10, 10}, {5, 5}, {10, 0}}));
	for (const auto& sources : bow.sources) {
		EXPECT_EQ(std::count(sources.begin(), sources.end(), 0), sources.front() == 0 ? 2 : 1);
		for (Int32 s : sources) EXPECT_LE(s, 5);
	}
	// A simple outline comes back whole; a repeated point is dropped.
	const Pieces square = Regularize({{0, 0}, {10, 0}, {10, 0}, {10, 10}, {0, 10}});
	ASSERT_EQ(square.coords.size(), 1u);
	EXPECT_TRUE(Equal(square.coords[0], {{0, 0}, {10, 0}, {10, 10}, {0, 10}, {0, 0}}));
	EXPECT_EQ(square.sources[0], (std::vector<Int32>{1, 2, 4, 5, 1}));
	// Clockwise input comes back counter-clockwise.
	const Pieces turned = Regularize({{0, 0}, {0, 10}, {10, 10}, {10, 0}});
	ASSERT_EQ(turned.coords.size(), 1u);
	EXPECT_EQ(turned.sources[0], (std::vector<Int32>{4, 3, 2, 1, 4}));
	// No area: no pieces. Arcs: not modelled.
	const Pieces flat = Regularize({{0, 0}, {5, 0}, {10, 0}, {0, 0}});
	EXPECT_EQ(flat.err, NoError);
	EXPECT_TRUE(flat.coords.empty());
	EXPECT_EQ(Regularize({{0, 0}, {10, 0}, {10, 10}}, true).err, APIERR_NOTSUPPORTED);
	EXPECT_EQ(vhost::LiveHandles(), handles);
}

TEST(PieceHeights, FromTheSourcePointOrTheNearest)
{
	const MeshOutline outline = {{{0, 0}, {10, 0}, {10, 10}}, {1, 2, 3}};
	const struct {
		Int32 source;
		API_Coord at;
		bool found;
		double z;
	} cases[] = {
		{1, {50, 50}, true, 1}, {3, {0, 0}, true, 3}, // the source's height wherever the point lies
		{0, {9, 1}, true, 2}, {0, {-1, -1}, true, 1}, // a new point: its nearest outline point's
		{4, {0, 0}, false, -7}, {-1, {0, 0}, false, -7}, // no such outline point
	};
	for (const auto& c : cases) {
		double z = -7;
		EXPECT_EQ(PieceHeight(c.source, c.at, outline, z), c.found) << c.source;
		EXPECT_EQ(z, c.z) << c.source;
	}
	double z = -7;
	EXPECT_FALSE(PieceHeight(0, {0, 0}, MeshOutline(), z)) << "an empty outline has no nearest point";
	EXPECT_FALSE(PieceHeight(1, {0, 0}, MeshOutline(), z));
}

const vhost::ElementRecord& Record(const API_Guid& guid)
{
	const vhost::ElementRecord* r = vhost::FindElement(guid);
	if (r == nullptr) throw std::runtime_error("no such element");
	return *r;
}

MeshCreatorOptions Settings()
{
	MeshCreatorOptions o = Options(Square());
	o.fillPen = 7;
	o.backgroundPen = 8;
	o.fillType = 3;
	o.material = API_AttributeIndex(4);
	o.layer = 1;
	return o;
}

TEST_F(MeshElement, SettingsMemoAndOutwardShift)
{
	Host().stories = {vhost::StoryRecord{0, 2.5}};
	CMeshCreator creator(Settings());
	const Contour clockwise = {{0, 0, 1}, {0, 10, 4}, {10, 10, 3}, {10, 0, 2}, {0, 0, 1}};
	ElevationLines lines;
	lines.AddLine({{1, 1, 5}, {2, 1, 5}, {3, 1, 5}});
	lines.AddLine({{1, 2, 6}, {2, 2, 6}});
	const std::vector<API_Coord3D> points = {{4, 4, 1}, {5, 5, 2}, {6, 6, 3}, {7, 7, 4}};
	ASSERT_EQ(InStep([&] { return creator.CreateMeshImp(clockwise, points, lines, 100); }), NoError);
	const vhost::ElementRecord& r = Record(creator.GetMeshGuid());
	const API_MeshType& m = r.element.mesh;
	EXPECT_EQ(m.level, 97.5);
	EXPECT_EQ(m.skirtLevel, 15.7);
	EXPECT_EQ(std::vector<int>({m.contPen, m.levelPen, m.sectContPen, m.sectLevelPen}), std::vector<int>(4, 61));
	EXPECT_TRUE(m.useSectPens && m.topMat.overridden && m.materialsChained && m.showLevelLines);
	EXPECT_EQ(vhost::IndexValue(m.topMat.attributeIndex), 4);
	EXPECT_EQ(m.skirt, 0);
	EXPECT_EQ(std::vector<int>({m.fillPen, m.fillBGPen, vhost::IndexValue(m.fillInd), vhost::IndexValue(m.head.layer)}), std::vector<int>({7, 8, 3, 1}));
	// Turned counter-clockwise with its heights, then 0.01 outward on every side.
	ASSERT_TRUE(Equal(std::vector<API_Coord>(r.coords.begin() + 1, r.coords.end()),
	                  {{-0.01, -0.01}, {10.01, -0.01}, {10.01, 10.01}, {-0.01, 10.01}, {-0.01, -0.01}}));
	EXPECT_EQ(r.meshPolyZ, (std::vector<double>{0, 1, 2, 3, 4, 1}));
	EXPECT_EQ(r.pends, (std::vector<Int32>{0, 5}));
	ASSERT_EQ(r.meshLevelCoords.size(), 9u);
	for (std::size_t i = 0; i < 9; ++i) EXPECT_EQ(r.meshLevelCoords[i].vertexID, static_cast<Int32>(i + 1));
	EXPECT_EQ(r.meshLevelCoords[5].c.z, 1);
	EXPECT_EQ(r.meshLevelEnds, (std::vector<Int32>{3, 5, 6, 7, 8, 9}));
	EXPECT_TRUE(Host().memoryFaults.empty());
}

TEST_F(MeshElement, StoryLevelThatCannotBeReadGivesLevelZeroAndAReport)
{
	Host().stories.clear();
	CMeshCreator creator(Settings());
	ASSERT_EQ(InStep([&] { return creator.CreateMeshImp({{0, 0, 0}, {10, 0, 0}, {10, 10, 0}}, {}, {}, 100); }), NoError);
	EXPECT_EQ(Record(creator.GetMeshGuid()).element.mesh.level, 100);
	ASSERT_EQ(ReportTexts().size(), 1u);
	EXPECT_NE(ReportTexts()[0].find("level 0"), std::string::npos);
}

TEST_F(MeshElement, IrregularContourGivesOneMeshPerPiece)
{
	CMeshCreator creator(Settings());
	// Crossing edges: the triangle by (0, 2) and a larger one; the new crossing point near
	// (1.67, 1.67) takes the height of (0, 2), its nearest outline point.
	const Contour bow = {{0, 0, 1}, {10, 10, 2}, {10, 0, 3}, {0, 2, 4}, {0, 0, 1}};
	ElevationLines lines;
	lines.AddLine({{6, 4, 2}, {8, 4, 2}});
	ASSERT_EQ(InStep([&] { return creator.CreateMeshImp(bow, {{9, 3, 2}}, lines, 0); }), NoError);
	ASSERT_EQ(creator.GetMeshGuids().size(), 2u);
	EXPECT_EQ(creator.GetMeshGuid(), creator.GetMeshGuids().back());
	bool crossingSeen = false;
	for (const API_Guid& guid : creator.GetMeshGuids()) {
		const vhost::ElementRecord& r = Record(guid);
		EXPECT_EQ(r.meshLevelEnds, (std::vector<Int32>{2, 3}));
		EXPECT_EQ(r.meshLevelCoords.size(), 3u);
		for (std::size_t k = 1; k < r.coords.size(); ++k)
			if (std::fabs(r.coords[k].x - r.coords[k].y) < 0.05 && r.coords[k].x > 1 && r.coords[k].x < 2) {
				crossingSeen = true;
				EXPECT_EQ(r.meshPolyZ[k], 4);
			}
	}
	EXPECT_TRUE(crossingSeen);
	EXPECT_TRUE(Host().memoryFaults.empty());
}

// The host runs out of memory while it makes the first piece: everything the add-on held for
// the pieces is released on the way out.
TEST_F(MeshElement, AThrowWhileAPieceIsMadeLeavesNoHandle)
{
	CMeshCreator creator(Settings());
	const Contour bow = {{0, 0, 1}, {10, 10, 2}, {10, 0, 3}, {0, 2, 4}, {0, 0, 1}};
	ElevationLines lines;
	lines.AddLine({{6, 4, 2}, {8, 4, 2}});
	const int before = vhost::LiveHandles();
	vhost::InjectBadAlloc("ACAPI_Element_Create", "Mesh", 1);
	bool thrown = false;
	InStep([&]() -> GSErrCode {
		try {
			return creator.CreateMeshImp(bow, {{9, 3, 2}}, lines, 0);
		} catch (const std::bad_alloc&) {
			thrown = true;
			return APIERR_GENERAL;
		}
	});
	EXPECT_TRUE(thrown);
	EXPECT_EQ(Host().faults[0].remaining, 0) << "the fault did not fire";
	EXPECT_EQ(vhost::LiveHandles(), before);
}

TEST_F(MeshElement, ContourWithoutAreaMakesNothing)
{
	CMeshCreator creator(Settings());
	// Every point in one place: no edge to shift along, nothing left after regularisation.
	EXPECT_EQ(InStep([&] { return creator.CreateMeshImp({{1, 1, 0}, {1, 1, 0}, {1, 1, 0}}, {}, {}, 0); }), APIERR_IRREGULARPOLY);
	EXPECT_EQ(creator.GetMeshGuid(), APINULLGuid);
	EXPECT_TRUE(creator.GetMeshGuids().empty());
	EXPECT_TRUE(vhost::ElementsOfType(API_MeshID).empty());
	EXPECT_EQ(InStep([&] { return creator.CreateMeshImp({{0, 0, 0}, {5, 0, 0}}, {}, {}, 0); }), APIERR_BADPARS);
	EXPECT_EQ(ReportTexts().back(), "Not enough points");
}

} // namespace
