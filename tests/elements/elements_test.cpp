// The host's element layer: create, get, change, list, delete, memos, layers, solid links,
// the dump and the plan drawing.
#include <cmath>
#include <cstdlib>
#include <cstring>
#include <functional>
#include <string>
#include <vector>

#include <gtest/gtest.h>
#include <nlohmann/json.hpp>

#include "ACAPinc.h"
#include "vhost/Text.hpp"
#include "ElementsTestSupport.hpp"
#include "TestSupport.hpp"
#include "vhost/Elements.hpp"
#include "vhost/AttributeIndex.hpp"
#include "vhost/LibraryStore.hpp"

namespace {

using namespace elementstest;

class Elements : public ElementsTest {};

TEST_F(Elements, CreationNeedsAnUndoableStepAndAFailedStepLeavesNothing)
{
	API_Element line = Line({0, 0}, {1, 1});
	EXPECT_EQ(ACAPI_Element_Create(&line, nullptr), APIERR_NEEDSUNDOSCOPE);
	API_Guid kept;
	ASSERT_EQ(InStep([&] { return CreateLine({0, 0}, {1, 0}, &kept); }), NoError);
	const API_Guid mesh = PlaceMesh();
	const API_Guid object = PlaceObject(MakePart("Box"));
	ASSERT_EQ(InStep([&] { return ACAPI_Element_SolidLink_Create(mesh, object, APISolid_SubstUp, 0); }), NoError);
	const GSErrCode failed = InStep([&] {
		API_Guid ignored;
		CreateLine({0, 0}, {2, 2}, &ignored);
		ACAPI_Element_Delete({kept});
		ACAPI_Element_Delete({object});
		return APIERR_GENERAL;
	});
	EXPECT_EQ(failed, APIERR_GENERAL);
	EXPECT_EQ(Host().state.elements.size(), 3u);
	EXPECT_EQ(Host().state.solidLinks.size(), 1u);
	EXPECT_NE(vhost::FindElement(kept), nullptr);
	EXPECT_TRUE(Host().undo.back().rolledBack);
}

TEST_F(Elements, DrawingKindsKeepWhatTheAddOnWrote)
{
	API_Guid line, poly, arc, circle, text;
	ASSERT_EQ(InStep([&] {
		GSErrCode err = CreateLine({1, 2}, {3, 4}, &line);
		if (err == NoError) err = CreatePolyLine({{0, 0}, {4, 0}, {4, 3}, {0, 0}}, &poly);
		if (err == NoError) err = CreateArc({5, 5}, 2.0, 0.0, M_PI / 2, &arc);
		if (err == NoError) err = CreateCircle({-1, -1}, 0.5, &circle);
		if (err == NoError) err = CreateText({7, 8}, u"Åsen – vei", &text);
		return err;
	}), NoError);

	API_Element got;
	got.header.guid = arc;
	ASSERT_EQ(ACAPI_Element_Get(&got), NoError);
	EXPECT_EQ(got.header.type.typeID, API_ArcID);
	EXPECT_DOUBLE_EQ(got.arc.endAng, M_PI / 2);
	EXPECT_DOUBLE_EQ(got.arc.r, 2.0);

	const int handlesBefore = vhost::LiveHandles();
	API_ElementMemo memo;
	ASSERT_EQ(ACAPI_Element_GetMemo(poly, &memo), NoError);
	ASSERT_NE(memo.coords, nullptr);
	EXPECT_EQ(BMGetHandleSize(reinterpret_cast<GSHandle>(memo.coords)), 5 * static_cast<Int32>(sizeof(API_Coord)));
	EXPECT_DOUBLE_EQ((*memo.coords)[3].y, 3.0);
	EXPECT_EQ((*memo.pends)[1], 4);
	EXPECT_EQ(memo.textContent, nullptr);
	ACAPI_DisposeElemMemoHdls(&memo);
	EXPECT_EQ(memo.coords, nullptr);
	EXPECT_EQ(vhost::LiveHandles(), handlesBefore);

	ASSERT_EQ(ACAPI_Element_GetMemo(text, &memo, APIMemoMask_TextContent), NoError);
	ASSERT_NE(memo.textContent, nullptr);
	EXPECT_EQ(vhost::Units(*memo.textContent), u"Åsen – vei");
	ACAPI_DisposeElemMemoHdls(&memo);
	EXPECT_EQ(ACAPI_Element_GetMemo(APINULLGuid, &memo), APIERR_BADID);
}

// Each case builds an element in a step and expects the host's answer.
struct Refusal {
	const char* what;
	GSErrCode expected;
	std::function<GSErrCode()> create;
};

TEST_F(Elements, CreateRefusesWhatTheHostWouldRefuse)
{
	const Int32 part = MakePart("Box");
	const std::vector<Refusal> cases = {
		{"layer that does not exist", APIERR_BADINDEX, [] { API_Element e = Line({0, 0}, {1, 0}); e.header.layer = API_AttributeIndex(7); return ACAPI_Element_Create(&e, nullptr); }},
		{"layer 0", APIERR_BADINDEX, [] { API_Element e = Line({0, 0}, {1, 0}); e.header.layer = API_AttributeIndex(0); return ACAPI_Element_Create(&e, nullptr); }},
		{"not a number", APIERR_BADPARS, [] { API_Element e = Line({0, 0}, {NAN, 0}); return ACAPI_Element_Create(&e, nullptr); }},
		{"polyline contour ends not filled", APIERR_BADPOLY, [] { return CreatePolyLineRaw({{0, 0}, {1, 0}, {1, 1}}, false); }},
		{"polyline of one point", APIERR_BADPARS, [] { API_Guid g; return CreatePolyLine({{0, 0}}, &g); }},
		{"polyline without memo", APIERR_BADPARS, [] { API_Element e = Defaults(API_PolyLineID); e.polyLine.poly = {2, 1, 0}; return ACAPI_Element_Create(&e, nullptr); }},
		{"arc of radius 0", APIERR_BADPARS, [] { API_Guid g; return CreateArc({0, 0}, 0.0, 0, 1, &g); }},
		{"circle of negative radius", APIERR_BADPARS, [] { API_Guid g; return CreateCircle({0, 0}, -1.0, &g); }},
		{"text without content", APIERR_BADPARS, [] { API_Guid g; return CreateText({0, 0}, u"", &g); }},
		{"object of an unknown part", APIERR_BADINDEX, [part] { API_Element e = Defaults(API_ObjectID); e.object.libInd = part + 5; return ACAPI_Element_Create(&e, nullptr); }},
		{"wall (not modelled)", APIERR_NOTSUPPORTED, [] { API_Element e; e.header.type.typeID = API_WallID; e.header.layer = API_AttributeIndex(1); return ACAPI_Element_Create(&e, nullptr); }},
		{"unknown type", APIERR_BADELEMENTTYPE, [] { API_Element e; e.header.type.typeID = static_cast<API_ElemTypeID>(99); return ACAPI_Element_Create(&e, nullptr); }},
		{"mesh without heights", APIERR_BADPARS, [] { return CreateMeshRaw(false); }},
	};
	for (const Refusal& c : cases) {
		EXPECT_EQ(InStep(c.create), c.expected) << c.what;
	}
	EXPECT_TRUE(Host().state.elements.empty());
	API_Element e = Defaults(API_WallID);
	EXPECT_EQ(e.header.type.typeID, API_WallID); // GetDefaults refused it and left the type
}

TEST_F(Elements, ObjectsTakeTheirPartsParametersOrTheirOwn)
{
	const Int32 part = MakePart("Box", 2.5);
	const API_Guid plain = PlaceObject(part);
	API_ElementMemo memo;
	ASSERT_EQ(ACAPI_Element_GetMemo(plain, &memo, APIMemoMask_AddPars), NoError);
	ASSERT_NE(memo.params, nullptr);
	EXPECT_STREQ((*memo.params)[0].name, "HEIGHT");
	EXPECT_DOUBLE_EQ((*memo.params)[0].value.real, 2.5);

	(*memo.params)[0].value.real = 7.0;
	API_Guid own;
	ASSERT_EQ(InStep([&] {
		API_Element e = Defaults(API_ObjectID);
		e.object.libInd = part;
		e.object.pos = {10, 20};
		const GSErrCode err = ACAPI_Element_Create(&e, &memo);
		own = e.header.guid;
		return err;
	}), NoError);
	ACAPI_DisposeElemMemoHdls(&memo);
	const nlohmann::json dump = nlohmann::json::parse(vhost::DumpJson());
	const auto& objects = dump["elements"];
	ASSERT_EQ(objects.size(), 2u);
	EXPECT_EQ(objects[1]["type"], "Object");
	EXPECT_EQ(objects[1]["libPart"], "Box");
	EXPECT_EQ(objects[1]["params"][0]["value"], 7.0);
	EXPECT_EQ(objects[0]["params"][0]["value"], 2.5);
}

TEST_F(Elements, ChangeTakesOnlyTheMaskedFields)
{
	const API_Guid object = PlaceObject(MakePart("Box"));
	const Int32 layer = MakeLayer("Omgivelser");
	API_Element e;
	e.header.guid = object;
	ASSERT_EQ(ACAPI_Element_Get(&e), NoError);
	API_Element mask;
	ACAPI_ELEMENT_MASK_CLEAR(mask);
	ACAPI_ELEMENT_MASK_SET(mask, API_ObjectType, pen);
	ACAPI_ELEMENT_MASK_SET(mask, API_Elem_Head, layer);
	e.object.pen = 42;
	e.header.layer = API_AttributeIndex(layer);
	e.object.pos = {99, 99}; // not masked
	EXPECT_EQ(ACAPI_Element_Change(&e, &mask, nullptr, 0, true), APIERR_NEEDSUNDOSCOPE);
	ASSERT_EQ(InStep([&] { return ACAPI_Element_Change(&e, &mask, nullptr, 0, true); }), NoError);
	const vhost::ElementRecord* r = vhost::FindElement(object);
	EXPECT_EQ(r->element.object.pen, 42);
	EXPECT_EQ(vhost::IndexValue(r->element.header.layer), layer);
	EXPECT_DOUBLE_EQ(r->element.object.pos.x, 0.0);

	e.header.layer = API_AttributeIndex(layer + 1);
	EXPECT_EQ(InStep([&] { return ACAPI_Element_Change(&e, &mask, nullptr, 0, true); }), APIERR_BADINDEX);
	e.header.guid = APINULLGuid;
	EXPECT_EQ(InStep([&] { return ACAPI_Element_Change(&e, &mask, nullptr, 0, true); }), APIERR_BADID);
}

// A failed step puts every element back as it was, whatever it changed, made or deleted.
TEST_F(Elements, AFailedStepPutsBackWhatItChanged)
{
	const auto pens = [this] {
		std::vector<std::pair<std::string, short>> out;
		for (const auto& r : Host().state.elements) out.emplace_back(vhost::ToUtf8(APIGuidToString(r.element.header.guid)), r.element.object.pen);
		return out;
	};
	const auto setPen = [](const API_Guid& guid, short pen) {
		API_Element e;
		e.header.guid = guid;
		if (const GSErrCode err = ACAPI_Element_Get(&e)) return err;
		API_Element mask;
		ACAPI_ELEMENT_MASK_CLEAR(mask);
		ACAPI_ELEMENT_MASK_SET(mask, API_ObjectType, pen);
		e.object.pen = pen;
		return ACAPI_Element_Change(&e, &mask, nullptr, 0, true);
	};
	const Int32 part = MakePart("Box");
	const API_Guid a = PlaceObject(part), b = PlaceObject(part);
	const struct {
		const char* what;
		std::function<void()> step;
	} cases[] = {
		{"change", [&] { setPen(a, 7); }},
		{"change twice", [&] { setPen(b, 7); setPen(b, 8); }},
		{"change, then delete", [&] { setPen(a, 7); ACAPI_Element_Delete({b}); }},
		{"delete, then change", [&] { ACAPI_Element_Delete({b}); setPen(a, 7); }},
		{"make and change the new one", [&] {
			API_Element e = Defaults(API_ObjectID);
			e.object.libInd = part;
			API_Guid made;
			Created(e, nullptr, &made);
			setPen(made, 9);
			setPen(a, 9);
		}},
	};
	for (const auto& c : cases) {
		ASSERT_EQ(InStep([&] { return setPen(a, 3); }), NoError); // a good step first: its change stays
		const auto before = pens();
		EXPECT_EQ(InStep([&] { c.step(); return APIERR_GENERAL; }), APIERR_GENERAL) << c.what;
		EXPECT_EQ(pens(), before) << c.what;
	}
	EXPECT_EQ(pens().front().second, 3);
}

TEST_F(Elements, ChangeReplacesParametersAndTextsButNoOutline)
{
	const API_Guid object = PlaceObject(MakePart("Box", 1.5));
	API_Guid text, poly;
	ASSERT_EQ(InStep([&] { return CreateText({0, 0}, u"Før", &text); }), NoError);
	ASSERT_EQ(InStep([&] { return CreatePolyLine({{0, 0}, {1, 1}}, &poly); }), NoError);
	API_ElementMemo memo;
	ASSERT_EQ(ACAPI_Element_GetMemo(object, &memo, APIMemoMask_AddPars), NoError);
	(*memo.params)[0].value.real = 9.0;
	API_Element e;
	e.header.guid = object;
	ASSERT_EQ(InStep([&] { return ACAPI_Element_Change(&e, nullptr, &memo, APIMemoMask_AddPars, true); }), NoError);
	ACAPI_DisposeElemMemoHdls(&memo);
	ASSERT_EQ(ACAPI_Element_GetMemo(object, &memo, APIMemoMask_AddPars), NoError);
	EXPECT_DOUBLE_EQ((*memo.params)[0].value.real, 9.0);
	ACAPI_DisposeElemMemoHdls(&memo);

	memo.textContent = new GS::UniString(vhost::FromUnits(u"Etter"));
	e.header.guid = text;
	ASSERT_EQ(InStep([&] { return ACAPI_Element_Change(&e, nullptr, &memo, APIMemoMask_TextContent, true); }), NoError);
	EXPECT_EQ(vhost::FindElement(text)->text, u"Etter");
	*memo.textContent = GS::UniString();
	EXPECT_EQ(InStep([&] { return ACAPI_Element_Change(&e, nullptr, &memo, APIMemoMask_TextContent, true); }), APIERR_BADPARS);
	ACAPI_DisposeElemMemoHdls(&memo);

	API_Element mask;
	ACAPI_ELEMENT_MASK_CLEAR(mask);
	ACAPI_ELEMENT_MASK_SET(mask, API_PolyLineType, poly);
	e.header.guid = poly;
	ASSERT_EQ(ACAPI_Element_Get(&e), NoError);
	e.polyLine.poly.nCoords = 3;
	EXPECT_EQ(InStep([&] { return ACAPI_Element_Change(&e, &mask, nullptr, 0, true); }), APIERR_NOTSUPPORTED);
	EXPECT_EQ(InStep([&] { return ACAPI_Element_Change(&e, nullptr, &memo, APIMemoMask_Polygon, true); }), APIERR_NOTSUPPORTED);
}

TEST_F(Elements, ListsFollowCreationOrderTypeAndFilters)
{
	const Int32 part = MakePart("Box");
	const API_Guid a = PlaceObject(part);
	API_Guid line;
	ASSERT_EQ(InStep([&] { return CreateLine({0, 0}, {1, 0}, &line); }), NoError);
	const API_Guid b = PlaceObject(part);
	GS::Array<API_Guid> list;
	list.Push(line); // the list is replaced, not appended to
	ASSERT_EQ(ACAPI_Element_GetElemList(API_ElemType{API_ObjectID, APIVarId_Generic, APINULLGuid}, &list), NoError);
	EXPECT_EQ(list, (GS::Array<API_Guid>{a, b}));
	ASSERT_EQ(ACAPI_Element_GetElemList(API_ElemType{}, &list), NoError);
	EXPECT_EQ(list.GetSize(), 3u);
	Host().attributes.layers[0].flags = APILay_Hidden;
	ASSERT_EQ(ACAPI_Element_GetElemList(API_ElemType{}, &list, APIFilt_OnVisLayer), NoError);
	EXPECT_TRUE(list.IsEmpty());
	EXPECT_EQ(ACAPI_Element_GetElemList(API_ElemType{}, &list, 0x4000), APIERR_NOTSUPPORTED);

	EXPECT_EQ(InStep([&] { return ACAPI_Element_Delete({a, APINULLGuid}); }), APIERR_BADID);
	ASSERT_EQ(InStep([&] { return ACAPI_Element_Delete({a}); }), NoError);
	ASSERT_EQ(ACAPI_Element_GetElemList(API_ElemType{API_ObjectID, APIVarId_Generic, APINULLGuid}, &list), NoError);
	EXPECT_EQ(list, (GS::Array<API_Guid>{b}));
}

TEST_F(Elements, SolidLinksJoinTwoBodiesOnce)
{
	const API_Guid mesh = PlaceMesh();
	const API_Guid road = PlaceObject(MakePart("Veg"));
	API_Guid line;
	ASSERT_EQ(InStep([&] { return CreateLine({0, 0}, {1, 0}, &line); }), NoError);
	EXPECT_EQ(ACAPI_Element_SolidLink_Create(mesh, road, APISolid_SubstUp, 0), APIERR_NEEDSUNDOSCOPE);
	ASSERT_EQ(InStep([&] { return ACAPI_Element_SolidLink_Create(mesh, road, APISolid_SubstUp, 0); }), NoError);
	EXPECT_EQ(InStep([&] { return ACAPI_Element_SolidLink_Create(mesh, road, APISolid_SubstUp, 0); }), APIERR_LINKEXIST);
	EXPECT_EQ(InStep([&] { return ACAPI_Element_SolidLink_Create(mesh, line, APISolid_SubstUp, 0); }), APIERR_BADELEMENTTYPE);
	EXPECT_EQ(InStep([&] { return ACAPI_Element_SolidLink_Create(mesh, mesh, APISolid_SubstUp, 0); }), APIERR_BADPARS);
	EXPECT_EQ(InStep([&] { return ACAPI_Element_SolidLink_Create(mesh, APINULLGuid, APISolid_SubstUp, 0); }), APIERR_BADID);
	const nlohmann::json dump = nlohmann::json::parse(vhost::DumpJson());
	ASSERT_EQ(dump["solidLinks"].size(), 1u);
	EXPECT_EQ(dump["solidLinks"][0]["operation"], "SSUU");
	ASSERT_EQ(InStep([&] { return ACAPI_Element_Delete({road}); }), NoError);
	EXPECT_TRUE(Host().state.solidLinks.empty());
}

TEST_F(Elements, MeshKeepsOutlineHeightsAndLevelLines)
{
	const API_Guid mesh = PlaceMesh();
	const nlohmann::json dump = nlohmann::json::parse(vhost::DumpJson());
	const auto& m = dump["elements"][0];
	EXPECT_EQ(m["type"], "Mesh");
	EXPECT_EQ(m["guid"], vhost::ToUtf8(APIGuidToString(mesh)));
	EXPECT_EQ(m["polygon"]["points"].size(), 5u);
	EXPECT_EQ(m["heights"][2], 2.0);
	ASSERT_EQ(m["levelLines"].size(), 2u);
	EXPECT_EQ(m["levelLines"][0].size(), 2u);
	EXPECT_EQ(m["levelLines"][1][0][2], 5.0);
	EXPECT_EQ(m["topMaterial"]["overridden"], true);
}

TEST_F(Elements, DumpAndPlanShowEveryKind)
{
	const API_Guid mesh = PlaceMesh();
	const API_Guid object = PlaceObject(MakePart("Tre & busk", 2.5));
	ASSERT_EQ(InStep([&] { return ACAPI_Element_SolidLink_Create(mesh, object, APISolid_SubstUp, 0); }), NoError);
	API_Guid g;
	ASSERT_EQ(InStep([&] {
		CreateLine({0, 0}, {10, 0}, &g);
		CreatePolyLine({{0, 0}, {5, 5}, {10, 0}}, &g);
		CreateArc({2, 2}, 1.0, 0.0, 3.0, &g);
		CreateCircle({3, 3}, 1.0, &g);
		return CreateText({1, 1}, u"<Nord>", &g);
	}), NoError);
	const nlohmann::json dump = nlohmann::json::parse(vhost::DumpJson());
	std::vector<std::string> types;
	for (const auto& e : dump["elements"]) types.push_back(e["type"]);
	EXPECT_EQ(types, (std::vector<std::string>{"Mesh", "Object", "Line", "PolyLine", "Arc", "Circle", "Text"}));
	EXPECT_EQ(dump["attributes"]["layers"][0]["name"], "Archicad Layer");
	const std::string svg = vhost::PlanSvg();
	for (const char* part : {"class=\"mesh\"", "class=\"object\"", "class=\"line\"", "class=\"polyline\"", "class=\"arc\"",
			 "class=\"circle\"", "&lt;Nord&gt;", "Tre &amp; busk"})
		EXPECT_NE(svg.find(part), std::string::npos) << part;
	// An object's hover text holds its parameters; the cut shows on both elements.
	const std::string meshId = vhost::ToUtf8(APIGuidToString(mesh)), objectId = vhost::ToUtf8(APIGuidToString(object));
	for (const std::string& part : {"\ncuts " + meshId + "\nHEIGHT = 2.5", "\ncut by " + objectId})
		EXPECT_NE(svg.find(part), std::string::npos) << part;
}

// A generated part is drawn from the rows of numbers of its 3D script, placed and turned
// with its object; two labels on one spot leave the second to the hover text.
TEST_F(Elements, PlanDrawsGeneratedPartsFromTheirScriptRows)
{
	const Int32 part = MakePart("Kart_Veg");
	vhost::PartByIndex(part)->sections.push_back({API_Sect3DScript, 0,
		"material M_\nTEVE 7,7,7,0,0!#1\nbase\n"           // a row before the body: not a vertex of it
		"vert 0,0,0\nVERT 2,0,0\nTEVE 2,1,0,0.5,0.5\nVERT A, B, 0\n"  // an expression is no vertex
		"EDGE 1,2,1,0,0\nEDGE 2,3,1,0,0\nEDGE 3,1,1,0,0\nPGON 3,1,0,1,2,3\nPGON 3,1,0,1,2,9\nBODY -1\n"
		"ADD 100, 100, 0\n"                                // no transformation beyond the rows
		"SLAB_ 3, -0.1, 0,0,0,15, 2,0,0,15, 0,1,0,10\n"});
	API_Guid straight{}, turned{}, twin{};
	ASSERT_EQ(InStep([&] {
		for (auto [angle, guid] : {std::pair{0.0, &straight}, std::pair{M_PI / 2, &turned}, std::pair{0.0, &twin}}) {
			API_Element e = Defaults(API_ObjectID);
			e.object.libInd = part;
			e.object.pos = {10, 10};
			e.object.angle = angle;
			if (const GSErrCode err = Created(e, nullptr, guid)) return err;
		}
		return NoError;
	}), NoError);
	const std::string svg = vhost::PlanSvg();
	// Drawn over x 9..12, y 10..12: 1000 pixels for 3 metres, y down, a margin of 20.
	const auto pixel = [](double x, double y) { return std::make_pair((x - 9) * 1000 / 3 + 20, (12 - y) * 1000 / 3 + 20); };
	const std::vector<std::pair<double, double>> plan[2] = {
		{{10, 10}, {12, 10}, {12, 11}, {10, 10}, {12, 10}, {10, 11}},   // the face, then the slab turned the same way
		{{10, 10}, {10, 12}, {9, 12}, {10, 10}, {10, 12}, {9, 10}}};
	int i = 0;
	for (const API_Guid& guid : {straight, turned}) {
		SCOPED_TRACE(i);
		const std::string group = testsupport::SvgGroup(svg, vhost::GuidText(guid));
		ASSERT_FALSE(group.empty());
		EXPECT_EQ(testsupport::SvgAttribute(group, "data-kind"), "road");
		const std::size_t shape = group.find("<path class=\"shape\"");
		ASSERT_NE(shape, std::string::npos);
		const std::string path = group.substr(shape);
		EXPECT_NE(testsupport::SvgAttribute(path, "fill"), "none");
		const auto points = testsupport::SvgPathPoints(testsupport::SvgAttribute(path, "d"));
		ASSERT_EQ(points.size(), plan[i].size());
		for (std::size_t k = 0; k < points.size(); ++k) {
			const auto expected = pixel(plan[i][k].first, plan[i][k].second);
			EXPECT_NEAR(points[k].first, expected.first, 0.01) << k;
			EXPECT_NEAR(points[k].second, expected.second, 0.01) << k;
		}
		EXPECT_NE(group.find("<title>Object " + vhost::GuidText(guid) + " on Archicad Layer\nKart_Veg"), std::string::npos);
		++i;
	}
	// The twin's label would lie on the first one's: only its hover text names it.
	std::size_t labels = 0;
	for (std::size_t at = 0; (at = svg.find(">Kart_Veg</text>", at)) != std::string::npos; ++at) ++labels;
	EXPECT_EQ(labels, 2u);
	const std::string group = testsupport::SvgGroup(svg, vhost::GuidText(twin));
	EXPECT_EQ(group.find("<text"), std::string::npos);
	EXPECT_NE(group.find("on Archicad Layer\nKart_Veg"), std::string::npos);
}

} // namespace
