// DXF entities, polylines, inserts and their resolution, and the independent drawings.
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "DxfTestUtil.hpp"
#include "TestSupport.hpp"

using namespace dxftest;
using Dxf = SimpleDxf::SimpleDxf;

namespace {

std::string Entities(const std::string& body) { return "0\nSECTION\n2\nENTITIES\n" + body + "0\nENDSEC\n0\nEOF\n"; }

std::string Drawing(const std::string& blocks, const std::string& entities)
{
	return "0\nSECTION\n2\nBLOCKS\n" + blocks + "0\nENDSEC\n" + Entities(entities);
}

std::string Block(const std::string& name, const std::string& body)
{
	return "0\nBLOCK\n2\n" + name + "\n" + body + "0\nENDBLK\n";
}

std::string InsertOf(const std::string& name) { return "0\nINSERT\n2\n" + name + "\n"; }

const SimpleDxf::Polyline& OnlyPolyline(const Dxf& dxf)
{
	if (!dxf.entities || dxf.entities->size() != 1) throw std::runtime_error("not one entity");
	return As<SimpleDxf::Polyline>(*dxf.entities->at(0));
}

std::vector<double> Xs(const SimpleDxf::VertexList& list)
{
	std::vector<double> xs;
	for (const auto& v : list) xs.push_back(v->x);
	return xs;
}

} // namespace

TEST(DxfEntities, SimpleEntitiesTakeTheirCodes)
{
	const std::string body =
		"0\nLINE\n8\nL1\n8\nL2\n2\nn\n10\n1\n20\n2\n30\n3\n11\n4\n21\n5\n31\n6\n210\n0\n220\n0\n230\n1\n39\n9\n62\n5\n"
		"0\nCIRCLE\n10\n1\n20\n2\n30\n3\n40\n4\n39\n5\n"
		"0\nARC\n40\n2\n50\n0\n51\n90\n"
		"0\nPOINT\n10\n7\n20\n8\n30\n9\n39\n1\n"
		"0\nTEXT\n10\n1\n20\n2\n1\nM\xC3\xB8lledammen\n"
		"0\nINSERT\n2\nB\n10\n1\n20\n2\n30\n3\n50\n45\n";
	Dxf dxf;
	EXPECT_TRUE(Load(dxf, Entities(body)));   // B is not a block: that is no failure of the reading
	ASSERT_EQ(dxf.entities->size(), 6u);
	const auto& line = As<SimpleDxf::Line>(*dxf.entities->at(0));
	EXPECT_EQ(line.layerName, "L2");
	EXPECT_EQ(line.name, "n");
	EXPECT_EQ(std::vector<double>({line.x1, line.y1, line.z1, line.x2, line.y2, line.z2}),
	          std::vector<double>({1, 2, 3, 4, 5, 6}));
	EXPECT_DOUBLE_EQ(line.extrusionZ, 1);
	EXPECT_EQ(line.colour, 0);                   // only vertices take a colour
	EXPECT_TRUE(line.is3D);
	const auto& circle = As<SimpleDxf::Circle>(*dxf.entities->at(1));
	EXPECT_EQ(std::vector<double>({circle.x, circle.y, circle.z, circle.radius, circle.thickness}),
	          std::vector<double>({1, 2, 3, 4, 5}));
	EXPECT_TRUE(circle.is2D);
	const auto& arc = As<SimpleDxf::Arc>(*dxf.entities->at(2));
	EXPECT_EQ(std::vector<double>({arc.radius, arc.startAngle, arc.endAngle}), std::vector<double>({2, 0, 90}));
	const auto& point = As<SimpleDxf::Point>(*dxf.entities->at(3));
	EXPECT_EQ(std::vector<double>({point.x, point.y, point.z, point.thickness}), std::vector<double>({7, 8, 9, 1}));
	const auto& text = As<SimpleDxf::Text>(*dxf.entities->at(4));
	EXPECT_EQ(text.text, "M\xC3\xB8lledammen");
	EXPECT_FALSE(text.is2D || text.is3D);
	EXPECT_TRUE(text.layerName.empty());
	EXPECT_EQ(text.layer, nullptr);
	const auto& insert = As<SimpleDxf::Insert>(*dxf.entities->at(5));
	EXPECT_EQ(std::vector<double>({insert.x, insert.y, insert.z, insert.scaleX, insert.scaleY, insert.scaleZ}),
	          std::vector<double>({1, 2, 3, 0, 0, 0}));
}

TEST(DxfEntities, FlagsOfLinesAndRoundThings)
{
	struct Case { const char* name; std::string body; bool is3D; };
	const Case cases[] = {
		{"flat line", "0\nLINE\n30\n5\n31\n5\n", false},
		{"line rising", "0\nLINE\n30\n5\n31\n5.1\n", true},
		{"line within tolerance", "0\nLINE\n31\n0.000001\n", false},
		{"line with extrusion", "0\nLINE\n220\n-0.5\n", true},
		{"circle without extrusion", "0\nCIRCLE\n40\n1\n", false},
		{"circle with 0,0,1", "0\nCIRCLE\n230\n1\n", true},
		{"arc tilted", "0\nARC\n210\n0.3\n", true},
		{"point", "0\nPOINT\n30\n100\n", false},
	};
	for (const Case& c : cases) {
		Dxf dxf;
		ASSERT_TRUE(Load(dxf, Entities(c.body))) << c.name;
		const SimpleDxf::Entity& e = *dxf.entities->at(0);
		EXPECT_EQ(e.is3D, c.is3D) << c.name;
		EXPECT_EQ(e.is2D, !c.is3D) << c.name;
	}
}

TEST(DxfEntities, LayersAreConnectedByName)
{
	const std::string text = "0\nSECTION\n2\nTABLES\n0\nTABLE\n2\nLAYER\n0\nLAYER\n2\nVeg\n62\n3\n0\nENDTAB\n0\nENDSEC\n" +
	                         Entities("0\nLINE\n8\nVeg\n0\nLINE\n8\nVann\n0\nLINE\n8\nVeg\n");
	Dxf dxf;
	ASSERT_TRUE(Load(dxf, text));
	ASSERT_NE(dxf.entities->at(0)->layer, nullptr);
	EXPECT_EQ(dxf.entities->at(0)->layer->colour, 3);
	EXPECT_EQ(dxf.entities->at(1)->layer, nullptr);
	EXPECT_EQ(dxf.entities->at(2)->layer, dxf.entities->at(0)->layer);
}

TEST(DxfPolyline, VerticesUntilSeqendAndFlagsFromTheFirst)
{
	struct Case { const char* name; std::string body; std::vector<double> xs; bool is3D; };
	const Case cases[] = {
		{"2D", "0\nPOLYLINE\n8\nH\n70\n1\n66\n1\n30\n50\n0\nVERTEX\n10\n1\n0\nVERTEX\n10\n2\n0\nVERTEX\n10\n3\n0\nSEQEND\n",
		 {1, 2, 3}, false},
		{"3D first", "0\nPOLYLINE\n0\nVERTEX\n70\n32\n10\n1\n0\nVERTEX\n10\n2\n0\nSEQEND\n", {1, 2}, true},
		{"3D later", "0\nPOLYLINE\n0\nVERTEX\n10\n1\n0\nVERTEX\n70\n32\n10\n2\n0\nSEQEND\n", {1, 2}, false},
		{"mesh vertex", "0\nPOLYLINE\n0\nVERTEX\n70\n64\n0\nSEQEND\n", {0}, true},
		{"no vertices", "0\nPOLYLINE\n70\n1\n0\nSEQEND\n", {}, false},
	};
	for (const Case& c : cases) {
		Dxf dxf;
		ASSERT_TRUE(Load(dxf, Entities(c.body))) << c.name;
		const auto& p = OnlyPolyline(dxf);
		EXPECT_EQ(p.kind, 1) << c.name;
		EXPECT_EQ(p.typeId, SimpleDxf::PolylineType) << c.name;
		EXPECT_EQ(Xs(p.vertices), c.xs) << c.name;
		EXPECT_EQ(p.is3D, c.is3D) << c.name;
		EXPECT_EQ(p.is2D, !c.is3D && !c.xs.empty()) << c.name;
	}
	Dxf dxf;
	ASSERT_TRUE(Load(dxf, Entities(cases[0].body)));
	const auto& p = OnlyPolyline(dxf);
	EXPECT_EQ(p.layerName, "H");
	EXPECT_EQ(p.flags, 1);
	EXPECT_DOUBLE_EQ(p.z, 50);
}

TEST(DxfPolyline, AnyOtherEntityEndsTheVerticesSeqendOrNot)
{
	const std::string body = "0\nPOLYLINE\n8\nH\n0\nVERTEX\n10\n1\n0\nVERTEX\n10\n2\n0\nLINE\n10\n9\n"
	                         "0\nPOLYLINE\n8\nH\n0\nVERTEX\n10\n5\n0\nSEQEND\n0\nCIRCLE\n";
	Dxf dxf;
	ASSERT_TRUE(Load(dxf, Entities(body))) << dxf.error;
	ASSERT_EQ(dxf.entities->size(), 4u);
	EXPECT_EQ(Xs(As<SimpleDxf::Polyline>(*dxf.entities->at(0)).vertices), std::vector<double>({1, 2}));
	EXPECT_DOUBLE_EQ(As<SimpleDxf::Line>(*dxf.entities->at(1)).x1, 9);
	EXPECT_EQ(Xs(As<SimpleDxf::Polyline>(*dxf.entities->at(2)).vertices), std::vector<double>({5}));
	EXPECT_EQ(dxf.entities->at(3)->typeId, SimpleDxf::CircleType);
}

// The pairs after SEQEND, up to the next entity, are the polyline's own: a layer there
// renames it, flags and the header point apply, and VERTEX records after them continue it.
TEST(DxfPolyline, PairsAfterSeqendAreThePolylinesOwn)
{
	const std::string body = "0\nPOLYLINE\n8\nH\n70\n0\n0\nVERTEX\n10\n5\n0\nSEQEND\n8\nOTHER\n70\n1\n10\n7\n20\n8\n30\n9\n"
	                         "0\nVERTEX\n10\n6\n0\nSEQEND\n0\nCIRCLE\n8\nC\n";
	Dxf dxf;
	ASSERT_TRUE(Load(dxf, Entities(body))) << dxf.error;
	ASSERT_EQ(dxf.entities->size(), 2u);
	const auto& p = As<SimpleDxf::Polyline>(*dxf.entities->at(0));
	EXPECT_EQ(p.layerName, "OTHER");
	EXPECT_EQ(p.flags, 1);
	EXPECT_DOUBLE_EQ(p.x, 7);
	EXPECT_DOUBLE_EQ(p.y, 8);
	EXPECT_DOUBLE_EQ(p.z, 9);
	EXPECT_EQ(Xs(p.vertices), std::vector<double>({5, 6}));
	EXPECT_EQ(dxf.entities->at(1)->layerName, "C");
}

TEST(DxfPolyline, CountsFillTheMAndNArraysAndAreOnlyHints)
{
	const std::string vertex = "0\nVERTEX\n10\n";
	{
		Dxf dxf;
		ASSERT_TRUE(Load(dxf, Entities("0\nPOLYLINE\n71\n2\n72\n1\n" + vertex + "1\n70\n64\n" + vertex + "2\n" + vertex +
		                               "3\n0\nSEQEND\n")));
		const auto& p = OnlyPolyline(dxf);
		EXPECT_EQ(Xs(p.mVertices), std::vector<double>({1, 2}));
		EXPECT_EQ(Xs(p.nVertices), std::vector<double>({3}));
		EXPECT_TRUE(p.vertices.empty());
		EXPECT_EQ(p.mCount, 2);
		EXPECT_EQ(p.nCount, 1);
		EXPECT_TRUE(p.is3D);                     // from the M array's first vertex
	}
	{
		// Counts far above what follows: only the vertices present, no huge allocation.
		Dxf dxf;
		ASSERT_TRUE(Load(dxf, Entities("0\nPOLYLINE\n71\n2000000000\n72\n-5\n" + vertex + "1\n0\nSEQEND\n0\nLINE\n")));
		ASSERT_EQ(dxf.entities->size(), 2u);
		const auto& p = As<SimpleDxf::Polyline>(*dxf.entities->at(0));
		EXPECT_EQ(p.mCount, 1);
		EXPECT_EQ(p.nCount, 0);
		EXPECT_LE(p.mVertices.capacity(), 4096u);
	}
	{
		// More vertices than the counts: the rest are listed.
		Dxf dxf;
		ASSERT_TRUE(Load(dxf, Entities("0\nPOLYLINE\n71\n1\n" + vertex + "1\n" + vertex + "2\n" + vertex + "3\n0\nSEQEND\n")));
		const auto& p = OnlyPolyline(dxf);
		EXPECT_EQ(Xs(p.mVertices), std::vector<double>({1}));
		EXPECT_EQ(Xs(p.vertices), std::vector<double>({2, 3}));
	}
}

TEST(DxfPolyline, VertexFields)
{
	Dxf dxf;
	ASSERT_TRUE(Load(dxf, Entities("0\nPOLYLINE\n0\nVERTEX\n8\nV\n10\n1\n20\n2\n30\n3\n70\n128\n62\n4\n71\n1\n73\n-3\n42\n1\n0\nSEQEND\n")));
	const SimpleDxf::Vertex& v = *OnlyPolyline(dxf).vertices.at(0);
	EXPECT_EQ(v.typeId, SimpleDxf::VertexType);
	EXPECT_EQ(std::vector<double>({v.x, v.y, v.z, v.bulge}), std::vector<double>({1, 2, 3, 1}));
	EXPECT_EQ(v.flags, 128);
	EXPECT_EQ(v.colour, 4);
	EXPECT_EQ(v.layerName, "V");
	EXPECT_EQ(v.face1, 1);
	EXPECT_FALSE(v.face2.has_value());
	EXPECT_EQ(v.face3, -3);
}

TEST(DxfLwPolyline, VerticesByGroupCode)
{
	struct Case { const char* name; std::string body; std::vector<double> xs, ys; double z; };
	const Case cases[] = {
		{"count and pairs", "0\nLWPOLYLINE\n90\n3\n10\n1\n20\n2\n10\n3\n20\n4\n10\n5\n20\n6\n", {1, 3, 5}, {2, 4, 6}, 0},
		{"bulge and widths", "0\nLWPOLYLINE\n90\n2\n70\n1\n43\n0\n10\n1\n20\n2\n40\n0.1\n41\n0.2\n42\n0.5\n91\n7\n10\n3\n20\n4\n",
		 {1, 3}, {2, 4}, 0},
		{"elevation", "0\nLWPOLYLINE\n38\n120\n90\n2\n10\n1\n20\n2\n10\n3\n20\n4\n", {1, 3}, {2, 4}, 120},
		{"elevation after the vertices", "0\nLWPOLYLINE\n10\n1\n20\n2\n38\n-7.5\n", {1}, {2}, -7.5},
		{"count after the first vertex", "0\nLWPOLYLINE\n10\n1\n20\n2\n90\n1\n", {1}, {2}, 0},
		{"count too large", "0\nLWPOLYLINE\n90\n999999999\n10\n1\n20\n2\n", {1}, {2}, 0},
		{"count too small", "0\nLWPOLYLINE\n90\n1\n10\n1\n20\n2\n10\n3\n20\n4\n", {1, 3}, {2, 4}, 0},
		{"y before any x", "0\nLWPOLYLINE\n20\n5\n10\n1\n", {1}, {0}, 0},
	};
	for (const Case& c : cases) {
		Dxf dxf;
		ASSERT_TRUE(Load(dxf, Entities(c.body + "0\nLINE\n"))) << c.name;
		ASSERT_EQ(dxf.entities->size(), 2u) << c.name;
		const auto& p = As<SimpleDxf::Polyline>(*dxf.entities->at(0));
		EXPECT_EQ(p.kind, 2) << c.name;
		EXPECT_EQ(Xs(p.vertices), c.xs) << c.name;
		std::vector<double> ys;
		for (const auto& v : p.vertices) {
			ys.push_back(v->y);
			EXPECT_DOUBLE_EQ(v->z, c.z) << c.name;
		}
		EXPECT_EQ(ys, c.ys) << c.name;
		EXPECT_TRUE(p.is2D) << c.name;
	}
	Dxf dxf;
	ASSERT_TRUE(Load(dxf, Entities(cases[1].body)));
	const auto& p = OnlyPolyline(dxf);
	EXPECT_EQ(p.flags, 1);
	EXPECT_DOUBLE_EQ(p.vertices.at(0)->bulge, 0.5);
	EXPECT_DOUBLE_EQ(p.vertices.at(1)->bulge, 0);
}

TEST(DxfInsert, ResolvesToTheBlockWithItsAggregateFlags)
{
	const std::string blocks = Block("B", "0\nLINE\n0\nCIRCLE\n") + Block("E", "") + Block("M", "0\nLINE\n0\nLINE\n31\n2\n") +
	                           Block("T", "0\nTEXT\n");
	struct Case { const char* block; bool is2D, is3D, all2D, all3D; };
	const Case cases[] = {
		{"B", true, false, true, false},
		{"E", false, false, true, true},
		{"M", true, true, false, false},
		{"T", false, false, false, false},
	};
	for (const Case& c : cases) {
		Dxf dxf;
		ASSERT_TRUE(Load(dxf, Drawing(blocks, InsertOf(c.block)))) << c.block << ": " << dxf.error;
		const auto& insert = As<SimpleDxf::Insert>(*dxf.entities->at(0));
		ASSERT_EQ(insert.block, dxf.blocks->at(c.block).get()) << c.block;
		EXPECT_EQ(insert.is2D, c.is2D) << c.block;
		EXPECT_EQ(insert.is3D, c.is3D) << c.block;
		EXPECT_EQ(insert.all2D, c.all2D) << c.block;
		EXPECT_EQ(insert.all3D, c.all3D) << c.block;
	}
}

TEST(DxfInsert, NestedBlocksAndSharedBlocksResolveOnce)
{
	const std::string blocks = Block("A", "0\nLINE\n31\n1\n") + Block("B", InsertOf("A") + "0\nCIRCLE\n") +
	                           Block("C", InsertOf("B") + InsertOf("A"));
	Dxf dxf;
	ASSERT_TRUE(Load(dxf, Drawing(blocks, InsertOf("C") + InsertOf("B")))) << dxf.error;
	const auto& top = As<SimpleDxf::Insert>(*dxf.entities->at(0));
	EXPECT_TRUE(top.is2D && top.is3D);
	EXPECT_FALSE(top.all2D);
	EXPECT_TRUE(top.all3D);   // both of its inserts are 3D (and B also 2D)
	const SimpleDxf::Block& a = *dxf.blocks->at("A");
	EXPECT_EQ(a.entities.at(0)->visitMark, 2u);
	EXPECT_EQ(dxf.blocks->at("C")->height, 3);
	EXPECT_EQ(As<SimpleDxf::Insert>(*dxf.blocks->at("C")->entities.at(1)).block, &a);
}

// An insert that cannot be resolved is no failure of the reading: the load answers true, the
// insert keeps a null block and its reason, and only cycles and depth are named.
TEST(DxfInsert, ResolutionFailuresKeepTheLoadAndLeaveNoPath)
{
	using SimpleDxf::Resolution;
	struct Case { const char* name; std::string text; Resolution first; const char* unresolved; };
	const Case cases[] = {
		{"unknown block", Drawing(Block("A", "0\nLINE\n"), InsertOf("Z")), Resolution::Missing, ""},
		{"no BLOCKS section", Entities(InsertOf("A")), Resolution::Missing, ""},
		{"self", Drawing(Block("A", InsertOf("A")), InsertOf("A")), Resolution::Resolved, "Circular references! (block \"A\")"},
		{"cycle of two", Drawing(Block("A", InsertOf("B")) + Block("B", InsertOf("A")), InsertOf("B")), Resolution::Resolved,
		 "Circular references! (block \"B\")"},
	};
	for (const Case& c : cases) {
		Dxf dxf;
		EXPECT_TRUE(Load(dxf, c.text)) << c.name << ": " << dxf.error;
		EXPECT_EQ(dxf.error, "") << c.name;
		EXPECT_EQ(dxf.unresolved, c.unresolved) << c.name;
		ASSERT_TRUE(dxf.entities) << c.name;
		EXPECT_EQ(As<SimpleDxf::Insert>(*dxf.entities->at(0)).resolution, c.first) << c.name;
		// Following block pointers from any insert always ends.
		std::function<int(const SimpleDxf::Block&, int)> depth = [&](const SimpleDxf::Block& b, int d) {
			EXPECT_LE(d, SimpleDxf::MaxBlockNesting) << c.name;
			if (d > SimpleDxf::MaxBlockNesting) return d;
			int most = d;
			for (const auto& e : b.entities)
				if (e->typeId == SimpleDxf::InsertType)
					if (const SimpleDxf::Block* inner = As<SimpleDxf::Insert>(*e).block) most = std::max(most, depth(*inner, d + 1));
			return most;
		};
		for (const auto& e : *dxf.entities)
			if (const SimpleDxf::Block* b = As<SimpleDxf::Insert>(*e).block) depth(*b, 1);
	}
}

// A chain of blocks L1 -> L2 -> ... -> Llevels (the last holds a line), inserted at the top
// level when top.
std::string Chain(int levels, bool top = true)
{
	std::string blocks;
	for (int i = 1; i < levels; ++i) blocks += Block("L" + std::to_string(i), InsertOf("L" + std::to_string(i + 1)));
	blocks += Block("L" + std::to_string(levels), "0\nLINE\n");
	return Drawing(blocks, top ? InsertOf("L1") : "0\nLINE\n");
}

TEST(DxfInsert, NestingDeeperThanTheLimitIsRefused)
{
	Dxf deep;
	EXPECT_TRUE(Load(deep, Chain(SimpleDxf::MaxBlockNesting))) << deep.error;
	EXPECT_EQ(deep.unresolved, "");
	EXPECT_TRUE(As<SimpleDxf::Insert>(*deep.entities->at(0)).is2D);
	Dxf huge;
	EXPECT_TRUE(Load(huge, Chain(5000)));   // no recursion depth comes from the file
	EXPECT_EQ(huge.unresolved, "Blocks nested deeper than 64 levels (block \"L1\")");
}

// Whatever the depth, the refusal names the block of the outermost insert that was refused:
// the top-level one, else the insert of the deepest block.
TEST(DxfInsert, TheOutermostRefusedInsertIsNamed)
{
	const struct { int levels; bool top; const char* block; } cases[] = {
		{65, true, "L1"}, {66, true, "L1"}, {67, true, "L1"}, {200, true, "L1"},
		{66, false, "L2"}, {67, false, "L2"}, {200, false, "L2"},
	};
	for (const auto& c : cases) {
		SCOPED_TRACE(std::to_string(c.levels) + (c.top ? " inserted" : " not inserted"));
		Dxf dxf;
		EXPECT_TRUE(Load(dxf, Chain(c.levels, c.top))) << dxf.error;
		EXPECT_EQ(dxf.unresolved, std::string("Blocks nested deeper than 64 levels (block \"") + c.block + "\")");
		if (c.top) {
			EXPECT_EQ(As<SimpleDxf::Insert>(*dxf.entities->at(0)).resolution, SimpleDxf::Resolution::TooDeep);
		}
		// An insert of one of the innermost 64 blocks is resolved, one of the block outside them not.
		const auto firstInsertOf = [&](int level) -> const SimpleDxf::Insert& {
			return As<SimpleDxf::Insert>(*dxf.blocks->at("L" + std::to_string(level))->entities.at(0));
		};
		const int outside = c.levels - SimpleDxf::MaxBlockNesting;   // its insert names the 64th block from the end
		EXPECT_EQ(firstInsertOf(outside).resolution, SimpleDxf::Resolution::Resolved);
		EXPECT_EQ(firstInsertOf(outside).block, dxf.blocks->at("L" + std::to_string(outside + 1)).get());
		if (outside > 1) {
			EXPECT_EQ(firstInsertOf(outside - 1).resolution, SimpleDxf::Resolution::TooDeep);
		}
	}
}

TEST(DxfInsert, InsertsWithoutABlockNameAreSkipped)
{
	Dxf dxf;
	ASSERT_TRUE(Load(dxf, Drawing(Block("A", "0\nINSERT\n10\n1\n0\nLINE\n"), "0\nINSERT\n41\n2\n" + InsertOf("A"))));
	ASSERT_EQ(dxf.entities->size(), 1u);
	EXPECT_NE(As<SimpleDxf::Insert>(*dxf.entities->at(0)).block, nullptr);
	EXPECT_EQ(dxf.blocks->at("A")->entities.size(), 1u);
}

// ---- the independent drawings ------------------------------------------------------------

namespace {

struct FixtureCounts {
	int polylines = 0, lwPolylines = 0, lines = 0, arcs = 0, circles = 0, points = 0, texts = 0, inserts = 0;
	int levelVertices = 0, resolvedInserts = 0, levelLines = 0;
};

FixtureCounts Count(const Dxf& dxf, const std::string& levelLayer)
{
	FixtureCounts n;
	for (const auto& e : *dxf.entities) {
		switch (e->typeId) {
		case SimpleDxf::PolylineType: {
			const auto& p = As<SimpleDxf::Polyline>(*e);
			(p.kind == 1 ? n.polylines : n.lwPolylines)++;
			if (p.layerName == levelLayer) {
				++n.levelLines;
				n.levelVertices += static_cast<int>(p.vertices.size());
			}
			break;
		}
		case SimpleDxf::LineType: ++n.lines; break;
		case SimpleDxf::ArcType: ++n.arcs; break;
		case SimpleDxf::CircleType: ++n.circles; break;
		case SimpleDxf::PointType: ++n.points; break;
		case SimpleDxf::TextType: ++n.texts; break;
		case SimpleDxf::InsertType:
			++n.inserts;
			if (As<SimpleDxf::Insert>(*e).block) ++n.resolvedInserts;
			break;
		default: break;
		}
	}
	return n;
}

Dxf* LoadFixture(Dxf& dxf, const std::string& name)
{
	const std::string bytes = testsupport::ReadFile(std::string(VELMORA_FIXTURES) + "/dxf/" + name);
	EXPECT_FALSE(bytes.empty()) << name;
	EXPECT_TRUE(Load(dxf, bytes)) << name << ": " << dxf.error;
	return &dxf;
}

} // namespace

TEST(DxfFixtures, BasemapTinyR2013)
{
	Dxf dxf;
	LoadFixture(dxf, "basemap-tiny.dxf");
	ASSERT_TRUE(dxf.header && dxf.tables && dxf.blocks && dxf.entities);
	EXPECT_EQ(dxf.header->version, "AC1027");
	EXPECT_LT(dxf.header->extMinX, dxf.header->extMaxX);
	EXPECT_LT(dxf.header->extMinY, dxf.header->extMaxY);
	const std::string level = "H\xC3\xB8ydekurve";
	const FixtureCounts n = Count(dxf, level);
	EXPECT_EQ(n.polylines, 11);
	EXPECT_EQ(n.lwPolylines, 7);
	EXPECT_EQ(n.levelVertices, 586);
	EXPECT_EQ(n.lines, 31);
	EXPECT_EQ(n.arcs, 1);
	EXPECT_EQ(n.circles, 1);
	EXPECT_EQ(n.points, 1);
	EXPECT_EQ(n.texts, 6);
	EXPECT_EQ(n.inserts, 10);
	EXPECT_EQ(n.resolvedInserts, 10);
	EXPECT_EQ(dxf.tables->layers.size(), 13u);
	EXPECT_EQ(dxf.tables->lineTypes.size(), 6u);
	EXPECT_EQ(dxf.blocks->size(), 8u);
	ASSERT_NE(dxf.tables->layers.count(level), 0u);
	// Level lines: 3D polylines carry the height in their vertices, LWPOLYLINEs in their elevation.
	for (const auto& e : *dxf.entities) {
		if (e->typeId != SimpleDxf::PolylineType || e->layerName != level) continue;
		const auto& p = As<SimpleDxf::Polyline>(*e);
		EXPECT_EQ(e->layer, dxf.tables->layers.at(level).get());
		EXPECT_EQ(p.is3D, p.kind == 1);
		EXPECT_GT(p.vertices.front()->z, 100.0);
		for (const auto& v : p.vertices) EXPECT_DOUBLE_EQ(v->z, p.vertices.front()->z);
	}
	// Blocks nested two deep: some insert reaches a block that holds an insert.
	int nested = 0;
	for (const auto& b : *dxf.blocks) nested += b.second->height == 2;
	EXPECT_GT(nested, 0);
}

TEST(DxfFixtures, BasemapTinyR12)
{
	Dxf dxf;
	LoadFixture(dxf, "basemap-tiny-r12.dxf");
	ASSERT_TRUE(dxf.header && dxf.tables && dxf.blocks && dxf.entities);
	EXPECT_EQ(dxf.header->version, "AC1009");
	const std::string level = "H\xF8ydekurve";   // one byte for the letter in the old format
	const FixtureCounts n = Count(dxf, level);
	EXPECT_EQ(n.polylines, 18);
	EXPECT_EQ(n.lwPolylines, 0);
	EXPECT_EQ(n.levelLines, 14);
	EXPECT_EQ(n.levelVertices, 586);
	EXPECT_EQ(n.lines, 31);
	EXPECT_EQ(n.arcs + n.circles + n.points, 3);
	EXPECT_EQ(n.texts, 6);
	EXPECT_EQ(n.inserts, 10);
	EXPECT_EQ(n.resolvedInserts, 10);
	EXPECT_EQ(dxf.tables->layers.count(level), 1u);
	EXPECT_EQ(dxf.blocks->size(), 8u);
}
