// The elements, layers and solid links in the project dump, streamed element by element.
#include "ACAPinc.h"
#include "vhost/AttributeIndex.hpp"
#include "vhost/Elements.hpp"
#include "vhost/JsonWriter.hpp"
#include "vhost/LibraryStore.hpp"
#include "vhost/Text.hpp"

namespace vhost {

namespace {

void Xy(JsonWriter& w, const API_Coord& c)
{
	w.BeginArray();
	w.Value(c.x);
	w.Value(c.y);
	w.EndArray();
}

std::string FourCC(UInt32 code)
{
	std::string s;
	for (int shift = 24; shift >= 0; shift -= 8) s += static_cast<char>((code >> shift) & 0xFF);
	return s;
}

// Points 1..n of a one-based table.
void Points(JsonWriter& w, const ElementRecord& r)
{
	w.BeginArray();
	for (std::size_t i = 1; i < r.coords.size(); ++i) Xy(w, r.coords[i]);
	w.EndArray();
}

// The members of a one-based polygon: its points, contour ends and arcs.
void ContourFields(JsonWriter& w, const ElementRecord& r)
{
	Points(w.Key("points"), r);
	w.Key("ends").BeginArray();
	for (std::size_t i = 1; i < r.pends.size(); ++i) w.Value(r.pends[i]);
	w.EndArray();
	w.Key("arcs").BeginArray();
	for (const API_PolyArc& a : r.parcs) {
		w.BeginObject();
		w.Field("begIndex", a.begIndex).Field("endIndex", a.endIndex).Field("arcAngle", a.arcAngle);
		w.EndObject();
	}
	w.EndArray();
}

std::string LibPartName(Int32 libInd)
{
	const LibraryPartRecord* part = PartByIndex(libInd);
	return part != nullptr ? vhost::Utf16ToUtf8(part->name) : std::string();
}

void ObjectFields(JsonWriter& w, const ElementRecord& r)
{
	const API_ObjectType& o = r.element.object;
	w.Field("libInd", o.libInd).Field("libPart", LibPartName(o.libInd));
	Xy(w.Key("pos"), o.pos);
	w.Field("level", o.level).Field("angle", o.angle).Field("a", o.xRatio).Field("b", o.yRatio).Field("pen", o.pen);
	w.Field("reflected", o.reflected).Field("useObjPens", o.useObjPens).Field("useObjLtypes", o.useObjLtypes);
	WriteParamList(w.Key("params"), r.params);
}

void MeshFields(JsonWriter& w, const ElementRecord& r)
{
	const API_MeshType& m = r.element.mesh;
	w.Field("level", m.level).Field("skirtLevel", m.skirtLevel);
	w.Key("pens").BeginObject();
	w.Field("contour", m.contPen).Field("levelLines", m.levelPen).Field("useSectPens", m.useSectPens);
	w.Field("sectContour", m.sectContPen).Field("sectLevel", m.sectLevelPen).Field("fill", m.fillPen).Field("fillBackground", m.fillBGPen);
	w.EndObject();
	w.Key("topMaterial").BeginObject();
	w.Field("overridden", m.topMat.overridden).Field("index", vhost::IndexValue(m.topMat.attributeIndex));
	w.EndObject();
	w.Field("materialsChained", m.materialsChained).Field("showLevelLines", m.showLevelLines).Field("skirt", m.skirt);
	w.Field("fill", vhost::IndexValue(m.fillInd));
	w.Key("polygon").BeginObject();
	ContourFields(w, r);
	w.EndObject();
	w.Key("heights").BeginArray();
	for (std::size_t i = 1; i < r.meshPolyZ.size(); ++i) w.Value(r.meshPolyZ[i]);
	w.EndArray();
	w.Key("levelLines").BeginArray();
	Int32 begin = 0;
	for (Int32 end : r.meshLevelEnds) {
		w.BeginArray();
		for (Int32 k = begin; k < end && k < static_cast<Int32>(r.meshLevelCoords.size()); ++k) {
			const API_MeshLevelCoord& c = r.meshLevelCoords[static_cast<std::size_t>(k)];
			w.BeginArray();
			w.Value(c.c.x);
			w.Value(c.c.y);
			w.Value(c.c.z);
			w.EndArray();
		}
		w.EndArray();
		begin = end;
	}
	w.EndArray();
}

void DrawingFields(JsonWriter& w, const ElementRecord& r)
{
	const API_Element& e = r.element;
	switch (e.header.type.typeID) {
		case API_LineID:
			w.Field("pen", e.line.linePen);
			Xy(w.Key("begin"), e.line.begC);
			Xy(w.Key("end"), e.line.endC);
			break;
		case API_PolyLineID: w.Field("pen", e.polyLine.linePen); ContourFields(w, r); break;
		case API_ArcID:
			w.Field("pen", e.arc.linePen);
			Xy(w.Key("centre"), e.arc.origC);
			w.Field("r", e.arc.r).Field("begAng", e.arc.begAng).Field("endAng", e.arc.endAng);
			break;
		case API_CircleID:
			w.Field("pen", e.circle.linePen);
			Xy(w.Key("centre"), e.circle.origC);
			w.Field("r", e.circle.r);
			break;
		case API_TextID:
			w.Field("pen", e.text.pen);
			Xy(w.Key("loc"), e.text.loc);
			w.Field("size", e.text.size).Field("angle", e.text.angle).Field("nonBreaking", e.text.nonBreaking);
			w.Field("charCode", e.text.charCode).Field("text", vhost::Utf16ToUtf8(r.text));
			break;
		default: break;
	}
}

void WriteElement(JsonWriter& w, const ElementRecord& r, const LayerNames& layers)
{
	const API_Elem_Head& h = r.element.header;
	w.BeginObject();
	w.Field("guid", GuidChars(h.guid).View()).Field("type", ElemTypeName(h.type.typeID)).Field("typeID", static_cast<Int32>(h.type.typeID));
	w.Field("layer", vhost::IndexValue(h.layer)).Field("layerName", layers.Of(vhost::IndexValue(h.layer)));
	w.Field("story", h.floorInd);
	switch (h.type.typeID) {
		case API_ObjectID:
		case API_LampID: ObjectFields(w, r); break;
		case API_MeshID: MeshFields(w, r); break;
		default: DrawingFields(w, r); break;
	}
	w.EndObject();
}

} // namespace

void DumpElements(JsonWriter& w)
{
	w.Key("elements").BeginArray();
	const LayerNames layers;
	for (const ElementRecord& r : Current().state.elements) WriteElement(w, r, layers);
	w.EndArray();
}

void DumpLayers(JsonWriter& w)
{
	const auto& layers = Current().attributes.layers;
	w.Key("layers").BeginArray();
	for (std::size_t i = 0; i < layers.size(); ++i) {
		w.BeginObject();
		w.Field("index", i + 1).Field("name", vhost::Utf16ToUtf8(layers[i].name)).Field("flags", layers[i].flags);
		w.EndObject();
	}
	w.EndArray();
}

void DumpSolidLinks(JsonWriter& w)
{
	w.Key("solidLinks").BeginArray();
	for (const SolidLinkRecord& l : Current().state.solidLinks) {
		w.BeginObject();
		w.Field("target", GuidText(l.target)).Field("operator", GuidText(l.operatorElem));
		w.Field("operation", FourCC(l.operation)).Field("flags", l.flags);
		w.EndObject();
	}
	w.EndArray();
}

void DumpAddonCalls(JsonWriter& w)
{
	w.Key("addonCalls").BeginArray();
	for (const AddonCallRecord& c : Current().addonCalls) {
		w.BeginObject();
		w.Field("developerID", c.developerID).Field("localID", c.localID).Field("command", FourCC(c.command));
		w.Field("version", c.version).Field("params", c.params).Field("result", c.result);
		w.EndObject();
	}
	w.EndArray();
}

} // namespace vhost
