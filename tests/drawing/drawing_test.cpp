// The DXF base map drawn as host 2D elements.
#include <algorithm>
#include <cmath>
#include "vhost/Text.hpp"
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "ACAPinc.h"
#include "Classes/DrawHelpers.hpp"
#include "Classes/import_map.hpp"
#include "SimpleDxflib/SimpleDxf.hpp"
#include "TestSupport.hpp"
#include "vhost/Elements.hpp"
#include "vhost/AttributeIndex.hpp"

namespace {

std::string Header(const std::string& version, const std::string& codePage)
{
	return "0\nSECTION\n2\nHEADER\n9\n$ACADVER\n1\n" + version + "\n9\n$DWGCODEPAGE\n3\n" + codePage + "\n0\nENDSEC\n";
}

std::string Blocks(const std::string& body) { return "0\nSECTION\n2\nBLOCKS\n" + body + "0\nENDSEC\n"; }
std::string Block(const std::string& name, const std::string& body) { return "0\nBLOCK\n2\n" + name + "\n" + body + "0\nENDBLK\n"; }
std::string Entities(const std::string& body) { return "0\nSECTION\n2\nENTITIES\n" + body + "0\nENDSEC\n0\nEOF\n"; }

std::string LineOn(const std::string& layer, double x1, double y1, double x2, double y2)
{
	return "0\nLINE\n8\n" + layer + "\n10\n" + std::to_string(x1) + "\n20\n" + std::to_string(y1) + "\n11\n" + std::to_string(x2) +
		"\n21\n" + std::to_string(y2) + "\n";
}

std::string LwPolyline(const std::vector<API_Coord>& points, int flags, const std::string& layer = "")
{
	std::string s = "0\nLWPOLYLINE\n" + (layer.empty() ? std::string() : "8\n" + layer + "\n") + "70\n" + std::to_string(flags) + "\n";
	for (const API_Coord& p : points) s += "10\n" + std::to_string(p.x) + "\n20\n" + std::to_string(p.y) + "\n";
	return s;
}

// The older form: a POLYLINE entity followed by its VERTEX entities and SEQEND.
std::string OldPolyline(const std::vector<API_Coord>& points, int flags)
{
	std::string s = "0\nPOLYLINE\n66\n1\n70\n" + std::to_string(flags) + "\n";
	for (const API_Coord& p : points) s += "0\nVERTEX\n10\n" + std::to_string(p.x) + "\n20\n" + std::to_string(p.y) + "\n";
	return s + "0\nSEQEND\n";
}

std::string InsertAt(const std::string& block, double x, double y, const std::string& extra = "")
{
	return "0\nINSERT\n2\n" + block + "\n10\n" + std::to_string(x) + "\n20\n" + std::to_string(y) + "\n" + extra;
}

class Drawing : public testsupport::HostTest {
protected:
	// Draws the DXF text as the import's base map; entities without a layer go on layer 1.
	void Draw(const std::string& dxf, Int32 layer = 1)
	{
		const std::string path = RunRoot() + "/Alle data.dxf";
		testsupport::WriteFile(path, dxf);
		Importer::Place2DElements(testsupport::Loc(path), API_AttributeIndex(layer));
	}

	std::vector<const vhost::ElementRecord*> Of(API_ElemTypeID type) const { return vhost::ElementsOfType(type); }

	std::string LayerName(Int32 index) const
	{
		const vhost::LayerRecord* layer = vhost::FindLayer(index);
		return layer != nullptr ? vhost::Utf16ToUtf8(layer->name) : std::string("?");
	}
	std::string LayerName(const vhost::ElementRecord* r) const { return LayerName(vhost::IndexValue(r->element.header.layer)); }
};

TEST_F(Drawing, ClosedPolylinesRepeatTheirFirstPointAndShortOnesBecomeLines)
{
	const std::vector<API_Coord> rectangle = {{0, 0}, {4, 0}, {4, 3}, {0, 3}};
	Draw(Entities(LwPolyline(rectangle, 1) + OldPolyline(rectangle, 1) + LwPolyline({{0, 0}, {5, 5}}, 1) +
		LwPolyline({{1, 1}, {2, 2}, {3, 1}}, 0)));
	const auto polylines = Of(API_PolyLineID);
	ASSERT_EQ(polylines.size(), 3u);
	for (const std::size_t i : {0u, 1u}) { // both forms close alike
		SCOPED_TRACE(i == 0 ? "LWPOLYLINE" : "POLYLINE");
		const vhost::ElementRecord& closed = *polylines[i];
		EXPECT_EQ(closed.element.polyLine.poly.nCoords, 5);
		ASSERT_EQ(closed.coords.size(), 6u);
		EXPECT_DOUBLE_EQ(closed.coords[3].x, 4.0);
		EXPECT_DOUBLE_EQ(closed.coords[5].x, closed.coords[1].x);
		EXPECT_DOUBLE_EQ(closed.coords[5].y, closed.coords[1].y);
		EXPECT_EQ(closed.pends[1], 5);
	}
	EXPECT_EQ(polylines[2]->element.polyLine.poly.nCoords, 3);
	ASSERT_EQ(Of(API_LineID).size(), 1u);
	EXPECT_DOUBLE_EQ(Of(API_LineID)[0]->element.line.endC.y, 5.0);
	ASSERT_EQ(Host().undo.size(), 1u);
	EXPECT_EQ(Host().undo[0].name, "Placing VELMORA elements");
	EXPECT_FALSE(Host().undo[0].rolledBack);
}

TEST_F(Drawing, DegenerateSegmentsDrawNothing)
{
	Draw(Entities(LwPolyline({{0, 0}, {0.000005, 0.000005}}, 0) + LwPolyline({{0, 0}, {0.00002, 0.00002}}, 0) +
		LineOn("0", 1, 1, 1.000005, 1) + LwPolyline({{2, 2}, {2, 2.000001}, {2.000003, 2}}, 1) + LwPolyline({{7, 7}}, 0) +
		"0\nPOINT\n10\n1\n20\n1\n"));
	ASSERT_EQ(Of(API_LineID).size(), 1u);
	EXPECT_DOUBLE_EQ(Of(API_LineID)[0]->element.line.endC.x, 0.00002);
	EXPECT_TRUE(Of(API_PolyLineID).empty());
	EXPECT_EQ(Host().state.elements.size(), 1u);
}

TEST_F(Drawing, ArcsCirclesAndTextsKeepTheirGeometry)
{
	Draw(Entities("0\nARC\n10\n5\n20\n6\n40\n2\n50\n0\n51\n90\n0\nCIRCLE\n10\n-1\n20\n-2\n40\n0.5\n"
		"0\nTEXT\n10\n3\n20\n4\n1\nStorgata 1\n"));
	ASSERT_EQ(Of(API_ArcID).size(), 1u);
	const API_ArcType& arc = Of(API_ArcID)[0]->element.arc;
	EXPECT_DOUBLE_EQ(arc.begAng, 0.0);
	EXPECT_DOUBLE_EQ(arc.endAng, M_PI / 2);
	EXPECT_DOUBLE_EQ(arc.r, 2.0);
	EXPECT_DOUBLE_EQ(arc.origC.y, 6.0);
	ASSERT_EQ(Of(API_CircleID).size(), 1u);
	EXPECT_DOUBLE_EQ(Of(API_CircleID)[0]->element.circle.r, 0.5);
	ASSERT_EQ(Of(API_TextID).size(), 1u);
	const vhost::ElementRecord& text = *Of(API_TextID)[0];
	EXPECT_EQ(text.text, u"Storgata 1");
	EXPECT_TRUE(text.element.text.nonBreaking);
	EXPECT_EQ(text.element.text.charCode, 1);
	EXPECT_DOUBLE_EQ(text.element.text.loc.x, 3.0);
}

TEST_F(Drawing, LayersAreNamedAfterTheDrawingsAndDefaultIsLeftOut)
{
	const std::string longName(300, 'L');
	Draw(Entities(LineOn("DEFAULT", 0, 0, 1, 0) + LineOn("Default", 0, 0, 2, 0) + LineOn(longName, 0, 0, 3, 0) +
		LineOn("Veg", 0, 0, 4, 0) + LineOn("Veg", 0, 0, 5, 0) + "0\nLINE\n10\n0\n20\n0\n11\n6\n21\n0\n"), 1);
	const auto lines = Of(API_LineID);
	ASSERT_EQ(lines.size(), 5u);
	EXPECT_EQ(LayerName(lines[0]), "Default");
	EXPECT_EQ(LayerName(lines[1]), longName.substr(0, 254));
	EXPECT_EQ(LayerName(lines[2]), "Veg");
	EXPECT_EQ(lines[3]->element.header.layer, lines[2]->element.header.layer);
	EXPECT_EQ(vhost::IndexValue(lines[4]->element.header.layer), 1); // no layer name: the import's layer
	EXPECT_EQ(Host().attributes.layers.size(), 4u);
}

TEST_F(Drawing, TextsAndLayerNamesAreDecodedByTheDrawingsCodePage)
{
	Draw(Header("AC1009", "ANSI_1252") + Entities(LineOn("H\xF8ydekurve", 0, 0, 1, 0) + "0\nTEXT\n8\n\xC6\n10\n0\n20\n0\n1\nBl\xE5" "b\xE6r\n"));
	ASSERT_EQ(Of(API_LineID).size(), 1u);
	EXPECT_EQ(LayerName(Of(API_LineID)[0]), "Høydekurve");
	ASSERT_EQ(Of(API_TextID).size(), 1u);
	EXPECT_EQ(Of(API_TextID)[0]->text, u"Blåbær");
	EXPECT_EQ(LayerName(Of(API_TextID)[0]), "Æ");
}

TEST_F(Drawing, NewDrawingsAreUtf8AndLongNamesAreCutBetweenLetters)
{
	std::string longName;
	for (int i = 0; i < 200; ++i) longName += "\xC3\xB8"; // 200 times "ø", 400 bytes
	const std::string oddName = std::string(253, 'L') + "\xC3\xB8" "x"; // the 254th byte starts "ø"
	Draw(Header("AC1027", "ANSI_1252") + Entities(LineOn(longName, 0, 0, 1, 0) + "0\nTEXT\n10\n0\n20\n0\n1\nA\xC3(\xC3\xA5\n" +
		LineOn(oddName, 0, 0, 2, 0)));
	ASSERT_EQ(Of(API_LineID).size(), 2u);
	EXPECT_EQ(LayerName(Of(API_LineID)[0]), longName.substr(0, 254));
	EXPECT_EQ(LayerName(Of(API_LineID)[1]), oddName.substr(0, 253));
	// The layer maker itself cuts between letters too, whoever calls it.
	const std::string otherName = std::string(253, 'M') + "\xC3\xB8";
	EXPECT_EQ(LayerName(AttributeHelpers::FindOrCreateLayer(otherName)), otherName.substr(0, 253));
	EXPECT_EQ(Of(API_TextID)[0]->text, u"A\uFFFD(å");
}

TEST_F(Drawing, InsertsDrawTheirBlockShiftedNeverScaled)
{
	const std::string blocks = Blocks(Block("Kum", LineOn("Kummer", 0, 0, 1, 0) + "0\nCIRCLE\n10\n0\n20\n0\n40\n0.3\n") +
		Block("Tom", "") + Block("Nest", InsertAt("Kum", 100, 0)));
	// The inserts' own layers play no part: the block's entities without a layer keep the
	// incoming one, and an insert on "DEFAULT" is drawn.
	Draw(blocks + Entities(InsertAt("Kum", 10, 20, "41\n2\n42\n2\n50\n45\n") + InsertAt("Kum", -5, 0, "8\nKumlag\n") +
		InsertAt("Tom", 0, 0) + InsertAt("Nest", 0, 1000, "8\nDEFAULT\n")));
	const auto lines = Of(API_LineID);
	ASSERT_EQ(lines.size(), 3u);
	EXPECT_DOUBLE_EQ(lines[0]->element.line.begC.x, 10.0);
	EXPECT_DOUBLE_EQ(lines[0]->element.line.endC.x, 11.0); // not scaled by 2
	EXPECT_DOUBLE_EQ(lines[0]->element.line.endC.y, 20.0);
	EXPECT_DOUBLE_EQ(lines[1]->element.line.begC.x, -5.0);
	EXPECT_DOUBLE_EQ(lines[2]->element.line.begC.x, 100.0);
	EXPECT_DOUBLE_EQ(lines[2]->element.line.begC.y, 1000.0);
	EXPECT_DOUBLE_EQ(Of(API_CircleID)[0]->element.circle.r, 0.3);
	const auto circles = Of(API_CircleID);
	ASSERT_EQ(circles.size(), 3u);
	for (const vhost::ElementRecord* circle : circles) EXPECT_EQ(vhost::IndexValue(circle->element.header.layer), 1);
	EXPECT_EQ(LayerName(lines[1]), "Kummer");
}

TEST_F(Drawing, BadEntitiesAreLeftOutAndReportedOnceWithTheirCount)
{
	const std::string polyface = "0\nPOLYLINE\n70\n64\n71\n2\n72\n1\n0\nVERTEX\n10\n1\n0\nVERTEX\n10\n2\n0\nVERTEX\n10\n3\n0\nSEQEND\n";
	const std::string blocks = Blocks(Block("A", InsertAt("B", 0, 0)) + Block("B", InsertAt("A", 0, 0)));
	Draw(blocks + Entities(InsertAt("Mangler", 0, 0) + polyface + LineOn("0", 0, 0, 1, 0) + InsertAt("Mangler", 1, 1) + InsertAt("A", 0, 0) +
		polyface + LineOn("0", 0, 0, 2, 0)));
	EXPECT_EQ(Of(API_LineID).size(), 2u);
	EXPECT_TRUE(Host().exceptions.empty());
	const std::vector<std::string> reports = ReportTexts();
	auto count = [&](const std::string& part) {
		return std::count_if(reports.begin(), reports.end(), [&](const std::string& r) { return r.find(part) != std::string::npos; });
	};
	// The two inserts of the missing block; the one that closes the cycle is the reader's.
	EXPECT_EQ(count("No block in insert command: 2 inserts left out"), 1);
	EXPECT_EQ(count("MVertices in 2D object.: 2 polylines left out"), 1);
	EXPECT_EQ(count("Base map: Circular references! (block \"A\")"), 1);
	EXPECT_EQ(count("Base map: "), 1);
	EXPECT_EQ(Host().undo.size(), 1u);
}

TEST_F(Drawing, RefusedElementsAndLayersDoNotStopTheDrawing)
{
	API_Attribute own;
	BNZeroMemory(&own, sizeof own);
	own.header.typeID = API_LayerID;
	std::strcpy(own.header.name, "Basiskart");
	ASSERT_EQ(ACAPI_Attribute_Create(&own, nullptr), NoError);
	vhost::InjectFault("ACAPI_Attribute_Create", APIERR_GENERAL);
	vhost::InjectFault("ACAPI_Element_Create", APIERR_BADPARS, "", 1);
	Draw(Entities(LineOn("Ny", 0, 0, 1, 0) + LineOn("Ny", 0, 0, 2, 0)), vhost::IndexValue(own.header.index));
	const auto lines = Of(API_LineID);
	ASSERT_EQ(lines.size(), 1u);
	EXPECT_EQ(LayerName(lines[0]), "Basiskart");
	EXPECT_EQ(ReportTexts(), std::vector<std::string>{"Error while placing VELMORA geometries: " + std::to_string(APIERR_BADPARS)});
}

TEST_F(Drawing, AFileThatCannotBeReadDrawsNothingAndSaysNothing)
{
	Importer::Place2DElements(testsupport::Loc(RunRoot() + "/none.dxf"), API_AttributeIndex(1));
	EXPECT_TRUE(Host().state.elements.empty());
	EXPECT_TRUE(Host().undo.empty());
	EXPECT_TRUE(Host().reports.empty());
}

// Blocks B0..Bn where each inserts the next twice: 2^n leaves from one insert.
std::string Doubling(int depth, const std::string& leaf)
{
	std::string blocks = Block("B" + std::to_string(depth), leaf);
	for (int i = depth - 1; i >= 0; --i) {
		const std::string next = "B" + std::to_string(i + 1);
		blocks += Block("B" + std::to_string(i), InsertAt(next, 0, 0) + InsertAt(next, 1, 0));
	}
	return Blocks(blocks) + Entities(InsertAt("B0", 0, 0));
}

// Draws the drawing's first entity with the limits in one step.
void DrawFirst(const std::string& text, DrawHelpers::Drawing& drawing)
{
	SimpleDxf::SimpleDxf dxf;
	ASSERT_TRUE(dxf.LoadSceneFromMemory(reinterpret_cast<const unsigned char*>(text.data()), text.size())) << dxf.error;
	ASSERT_EQ(ACAPI_CallUndoableCommand("Test", [&] {
		DrawHelpers::DrawEntity(drawing, dxf.entities->front().get(), API_AttributeIndex(1), API_Coord3D{}, 1.0);
		return NoError;
	}), NoError);
}

TEST_F(Drawing, InsertExpansionStopsAtTheDrawingsLimits)
{
	DrawHelpers::Drawing drawing;
	drawing.maxElements = 100;
	DrawFirst(Doubling(62, LineOn("0", 0, 0, 1, 0)), drawing);
	EXPECT_EQ(Of(API_LineID).size(), 100u);
	EXPECT_TRUE(drawing.stopped);
	DrawHelpers::ReportSkipped(drawing);
	ASSERT_EQ(ReportTexts().size(), 1u);
	EXPECT_NE(ReportTexts()[0].find("stopped after 100 elements"), std::string::npos);

	// Entities that draw nothing are bounded too.
	DrawHelpers::Drawing points;
	points.maxVisits = 1000;
	DrawFirst(Doubling(62, "0\nPOINT\n"), points);
	EXPECT_TRUE(points.stopped);
	EXPECT_EQ(points.visits, 1001);
	EXPECT_EQ(Host().state.elements.size(), 100u);
}

// The limits bound what inserts add, never the base map's own entities: a flat map of more
// entities than the limit is drawn whole, also after an insert was cut.
TEST_F(Drawing, TheLimitsCountOnlyWhatInsertsAdd)
{
	std::string lines;
	for (int i = 1; i <= 8; ++i) lines += LineOn("0", 0, i, 1, i);
	const std::string text = Blocks(Block("Ti", [] {
		std::string ten;
		for (int i = 1; i <= 10; ++i) ten += LineOn("0", 100, i, 101, i);
		return ten;
	}())) + Entities(InsertAt("Ti", 0, 0) + lines);
	const struct { long maxElements, maxVisits; std::size_t fromInsert; } cases[] = {{5, 1000, 5}, {1000, 3, 3}, {4, 1000, 4}};
	for (const auto& c : cases) {
		SCOPED_TRACE(c.maxElements);
		vhost::Reset(RunRoot(), VELMORA_BUILD_DIR);
		SimpleDxf::SimpleDxf dxf;
		ASSERT_TRUE(dxf.LoadSceneFromMemory(reinterpret_cast<const unsigned char*>(text.data()), text.size())) << dxf.error;
		DrawHelpers::Drawing drawing;
		drawing.maxElements = c.maxElements;
		drawing.maxVisits = c.maxVisits;
		ASSERT_EQ(ACAPI_CallUndoableCommand("Test", [&] {
			for (const auto& e : *dxf.entities) DrawHelpers::DrawEntity(drawing, e.get(), API_AttributeIndex(1), API_Coord3D{}, 1.0);
			return NoError;
		}), NoError);
		EXPECT_TRUE(drawing.stopped);
		std::size_t fromInsert = 0;
		for (const vhost::ElementRecord* l : Of(API_LineID)) fromInsert += l->element.line.begC.x == 100.0;
		EXPECT_EQ(fromInsert, c.fromInsert);
		EXPECT_EQ(Of(API_LineID).size() - fromInsert, 8u);
	}
}

// A chain of blocks deeper than the reader's limit is named once, as such and by the block
// of its top-level insert whatever its depth, and the rest of the base map is drawn.
TEST_F(Drawing, BlocksNestedTooDeepAreNamedOnceAndTheRestIsDrawn)
{
	for (const int levels : {65, 66, 67, 70}) {
		SCOPED_TRACE(levels);
		vhost::Reset(RunRoot(), VELMORA_BUILD_DIR);
		std::string chain;
		for (int i = 1; i <= levels; ++i)
			chain += Block("L" + std::to_string(i), i < levels ? InsertAt("L" + std::to_string(i + 1), 0, 0) : LineOn("0", 0, 0, 9, 9));
		Draw(Blocks(chain + Block("Kum", LineOn("0", 0, 0, 1, 0))) + Entities(InsertAt("L1", 0, 0) + LineOn("0", 0, 0, 2, 0) + InsertAt("Kum", 5, 0)));
		const auto lines = Of(API_LineID);
		ASSERT_EQ(lines.size(), 2u);
		EXPECT_DOUBLE_EQ(lines[0]->element.line.endC.x, 2.0);
		EXPECT_DOUBLE_EQ(lines[1]->element.line.endC.x, 6.0);
		EXPECT_EQ(ReportTexts(), std::vector<std::string>{"Base map: Blocks nested deeper than 64 levels (block \"L1\")"});
	}
}

} // namespace
