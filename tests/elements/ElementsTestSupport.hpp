// Element makers for the element layer's tests: each fills a record and memo as an add-on
// would and calls the host.
#ifndef VELMORA_ELEMENTSTESTSUPPORT_HPP
#define VELMORA_ELEMENTSTESTSUPPORT_HPP

#include <cstring>
#include <functional>
#include <string>
#include <vector>

#include "ACAPinc.h"
#include "vhost/Text.hpp"
#include "TestSupport.hpp"
#include "vhost/Project.hpp"
#include "vhost/AttributeIndex.hpp"

namespace elementstest {

using ElementsTest = testsupport::HostTest;

inline GSErrCode InStep(const std::function<GSErrCode()>& fn) { return ACAPI_CallUndoableCommand("Test step", fn); }

inline API_Element Defaults(API_ElemTypeID type)
{
	API_Element e;
	BNZeroMemory(&e, sizeof e);
	e.header.type.typeID = type;
	ACAPI_Element_GetDefaults(&e, nullptr);
	return e;
}

inline API_Element Line(API_Coord a, API_Coord b)
{
	API_Element e = Defaults(API_LineID);
	e.line.begC = a;
	e.line.endC = b;
	return e;
}

inline GSErrCode Created(API_Element& e, API_ElementMemo* memo, API_Guid* guid)
{
	const GSErrCode err = ACAPI_Element_Create(&e, memo);
	if (guid != nullptr) *guid = e.header.guid;
	if (memo != nullptr) ACAPI_DisposeElemMemoHdls(memo);
	return err;
}

inline GSErrCode CreateLine(API_Coord a, API_Coord b, API_Guid* guid)
{
	API_Element e = Line(a, b);
	return Created(e, nullptr, guid);
}

template <typename T>
T** NewTable(std::size_t n)
{
	return reinterpret_cast<T**>(BMAllocateHandle(static_cast<Int32>(n * sizeof(T)), ALLOCATE_CLEAR, 0));
}

// A one-contour polygon in the memo: coords 1..n, pends[1] = n when fillEnds.
inline void FillPolygon(API_ElementMemo& memo, const std::vector<API_Coord>& points, bool fillEnds)
{
	memo.coords = NewTable<API_Coord>(points.size() + 1);
	for (std::size_t i = 0; i < points.size(); ++i) (*memo.coords)[i + 1] = points[i];
	memo.pends = NewTable<Int32>(2);
	if (fillEnds) (*memo.pends)[1] = static_cast<Int32>(points.size());
}

inline GSErrCode CreatePolyLineRaw(const std::vector<API_Coord>& points, bool fillEnds, API_Guid* guid = nullptr)
{
	API_Element e = Defaults(API_PolyLineID);
	e.polyLine.poly = {static_cast<Int32>(points.size()), 1, 0};
	API_ElementMemo memo;
	BNZeroMemory(&memo, sizeof memo);
	FillPolygon(memo, points, fillEnds);
	return Created(e, &memo, guid);
}

inline GSErrCode CreatePolyLine(const std::vector<API_Coord>& points, API_Guid* guid) { return CreatePolyLineRaw(points, true, guid); }

inline GSErrCode CreateArc(API_Coord c, double r, double beg, double end, API_Guid* guid)
{
	API_Element e = Defaults(API_ArcID);
	e.arc.origC = c;
	e.arc.r = r;
	e.arc.begAng = beg;
	e.arc.endAng = end;
	return Created(e, nullptr, guid);
}

inline GSErrCode CreateCircle(API_Coord c, double r, API_Guid* guid)
{
	API_Element e = Defaults(API_CircleID);
	e.circle.origC = c;
	e.circle.r = r;
	return Created(e, nullptr, guid);
}

inline GSErrCode CreateText(API_Coord at, const std::u16string& text, API_Guid* guid)
{
	API_Element e = Defaults(API_TextID);
	e.text.loc = at;
	API_ElementMemo memo;
	BNZeroMemory(&memo, sizeof memo);
	memo.textContent = new GS::UniString(vhost::FromUnits(text));
	return Created(e, &memo, guid);
}

// A placeable object part in the embedded library with one length parameter HEIGHT.
inline Int32 MakePart(const std::string& name, double height = 1.0)
{
	API_LibPart part;
	std::memset(&part, 0, sizeof(part));
	const std::u16string uname = vhost::Units(GS::UniString(name));
	std::copy(uname.begin(), uname.end(), part.docu_UName);
	IO::Location folder(vhost::EmbeddedLibraryFolder().c_str());
	part.typeID = APILib_ObjectID;
	part.isPlaceable = true;
	part.location = &folder;
	EXPECT_EQ(ACAPI_LibraryPart_Create(&part), NoError);
	API_AddParType** params = NewTable<API_AddParType>(1);
	API_AddParType& p = (*params)[0];
	p.typeID = APIParT_Length;
	std::strcpy(p.name, "HEIGHT");
	p.value.real = height;
	double a = 1.0, b = 1.0;
	GSHandle sect = nullptr;
	EXPECT_EQ(ACAPI_LibraryPart_GetSect_ParamDef(&part, params, &a, &b, nullptr, &sect), NoError);
	const API_LibPartSection pard{API_SectParamDef, 0};
	EXPECT_EQ(ACAPI_LibraryPart_AddSection(&pard, sect, nullptr), NoError);
	EXPECT_EQ(ACAPI_LibraryPart_Save(&part), NoError);
	BMKillHandle(&sect);
	ACAPI_DisposeAddParHdl(&params);
	return part.index;
}

inline API_Guid PlaceObject(Int32 libInd)
{
	API_Guid guid;
	BNZeroMemory(&guid, sizeof guid);
	EXPECT_EQ(InStep([&] {
		API_Element e = Defaults(API_ObjectID);
		e.object.libInd = libInd;
		return Created(e, nullptr, &guid);
	}), NoError);
	return guid;
}

// A square mesh of outline heights 0..3 (closed: 5 points) with two level lines of two
// points; without heights when withHeights is false.
inline GSErrCode CreateMeshRaw(bool withHeights, API_Guid* guid = nullptr)
{
	API_Element e = Defaults(API_MeshID);
	const std::vector<API_Coord> outline = {{0, 0}, {10, 0}, {10, 10}, {0, 10}, {0, 0}};
	e.mesh.poly = {5, 1, 0};
	e.mesh.levelLines = {4, 2};
	e.mesh.topMat = {true, API_AttributeIndex(3)};
	API_ElementMemo memo;
	BNZeroMemory(&memo, sizeof memo);
	FillPolygon(memo, outline, true);
	if (withHeights) {
		memo.meshPolyZ = NewTable<double>(6);
		for (int i = 1; i <= 5; ++i) (*memo.meshPolyZ)[i] = static_cast<double>((i - 1) % 4);
	}
	memo.meshLevelCoords = NewTable<API_MeshLevelCoord>(4);
	const API_Coord3D points[4] = {{1, 1, 4}, {9, 1, 4}, {2, 5, 5}, {8, 5, 5}};
	for (int i = 0; i < 4; ++i) (*memo.meshLevelCoords)[i] = {points[i], i + 1};
	memo.meshLevelEnds = NewTable<Int32>(2);
	(*memo.meshLevelEnds)[0] = 2;
	(*memo.meshLevelEnds)[1] = 4;
	return Created(e, &memo, guid);
}

inline API_Guid PlaceMesh()
{
	API_Guid guid;
	BNZeroMemory(&guid, sizeof guid);
	EXPECT_EQ(InStep([&] { return CreateMeshRaw(true, &guid); }), NoError);
	return guid;
}

inline Int32 MakeLayer(const std::string& name)
{
	API_Attribute layer;
	BNZeroMemory(&layer, sizeof layer);
	layer.header.typeID = API_LayerID;
	std::strncpy(layer.header.name, name.c_str(), API_AttrNameLen - 1);
	EXPECT_EQ(ACAPI_Attribute_Create(&layer, nullptr), NoError);
	return vhost::IndexValue(layer.header.index);
}

} // namespace elementstest

#endif
