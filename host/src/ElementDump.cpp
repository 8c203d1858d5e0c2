// The elements, layers and solid links in the project dump.
#include "ACAPinc.h"
#include "vhost/Text.hpp"
#include "vhost/Elements.hpp"
#include "vhost/Text.hpp"
#include "vhost/LibraryStore.hpp"
#include "vhost/AttributeIndex.hpp"

namespace vhost {

namespace {

using json = nlohmann::ordered_json;

std::string GuidText(const API_Guid& g) { return vhost::ToUtf8(APIGuidToString(g)); }

json Xy(const API_Coord& c) { return json::array({c.x, c.y}); }

std::string FourCC(UInt32 code)
{
	std::string s;
	for (int shift = 24; shift >= 0; shift -= 8) s += static_cast<char>((code >> shift) & 0xFF);
	return s;
}

// Points 1..n of a one-based table.
json Points(const ElementRecord& r)
{
	json points = json::array();
	for (std::size_t i = 1; i < r.coords.size(); ++i) points.push_back(Xy(r.coords[i]));
	return points;
}

json Contours(const ElementRecord& r)
{
	json ends = json::array();
	for (std::size_t i = 1; i < r.pends.size(); ++i) ends.push_back(r.pends[i]);
	json arcs = json::array();
	for (const API_PolyArc& a : r.parcs) arcs.push_back({{"begIndex", a.begIndex}, {"endIndex", a.endIndex}, {"arcAngle", a.arcAngle}});
	return {{"points", Points(r)}, {"ends", ends}, {"arcs", arcs}};
}

std::string LibPartName(Int32 libInd)
{
	const LibraryPartRecord* part = PartByIndex(libInd);
	return part != nullptr ? vhost::Utf16ToUtf8(part->name) : std::string();
}

void ObjectFields(const ElementRecord& r, json& j)
{
	const API_ObjectType& o = r.element.object;
	j["libInd"] = o.libInd;
	j["libPart"] = LibPartName(o.libInd);
	j["pos"] = Xy(o.pos);
	j["level"] = o.level;
	j["angle"] = o.angle;
	j["a"] = o.xRatio;
	j["b"] = o.yRatio;
	j["pen"] = o.pen;
	j["reflected"] = o.reflected;
	j["useObjPens"] = o.useObjPens;
	j["useObjLtypes"] = o.useObjLtypes;
	j["params"] = ParamListJson(r.params);
}

void MeshFields(const ElementRecord& r, json& j)
{
	const API_MeshType& m = r.element.mesh;
	j["level"] = m.level;
	j["skirtLevel"] = m.skirtLevel;
	j["pens"] = {{"contour", m.contPen}, {"levelLines", m.levelPen}, {"useSectPens", m.useSectPens},
		{"sectContour", m.sectContPen}, {"sectLevel", m.sectLevelPen}, {"fill", m.fillPen}, {"fillBackground", m.fillBGPen}};
	j["topMaterial"] = {{"overridden", m.topMat.overridden}, {"index", vhost::IndexValue(m.topMat.attributeIndex)}};
	j["materialsChained"] = m.materialsChained;
	j["showLevelLines"] = m.showLevelLines;
	j["skirt"] = m.skirt;
	j["fill"] = vhost::IndexValue(m.fillInd);
	j["polygon"] = Contours(r);
	json heights = json::array();
	for (std::size_t i = 1; i < r.meshPolyZ.size(); ++i) heights.push_back(r.meshPolyZ[i]);
	j["heights"] = heights;
	json lines = json::array();
	Int32 begin = 0;
	for (Int32 end : r.meshLevelEnds) {
		json line = json::array();
		for (Int32 k = begin; k < end && k < static_cast<Int32>(r.meshLevelCoords.size()); ++k) {
			const API_MeshLevelCoord& c = r.meshLevelCoords[static_cast<std::size_t>(k)];
			line.push_back(json::array({c.c.x, c.c.y, c.c.z}));
		}
		lines.push_back(line);
		begin = end;
	}
	j["levelLines"] = lines;
}

void DrawingFields(const ElementRecord& r, json& j)
{
	const API_Element& e = r.element;
	switch (e.header.type.typeID) {
		case API_LineID: j["pen"] = e.line.linePen; j["begin"] = Xy(e.line.begC); j["end"] = Xy(e.line.endC); break;
		case API_PolyLineID: j["pen"] = e.polyLine.linePen; j.update(Contours(r)); break;
		case API_ArcID:
			j["pen"] = e.arc.linePen; j["centre"] = Xy(e.arc.origC); j["r"] = e.arc.r;
			j["begAng"] = e.arc.begAng; j["endAng"] = e.arc.endAng;
			break;
		case API_CircleID: j["pen"] = e.circle.linePen; j["centre"] = Xy(e.circle.origC); j["r"] = e.circle.r; break;
		case API_TextID:
			j["pen"] = e.text.pen; j["loc"] = Xy(e.text.loc); j["size"] = e.text.size; j["angle"] = e.text.angle;
			j["nonBreaking"] = e.text.nonBreaking; j["charCode"] = e.text.charCode; j["text"] = vhost::Utf16ToUtf8(r.text);
			break;
		default: break;
	}
}

json ElementJson(const ElementRecord& r)
{
	const API_Elem_Head& h = r.element.header;
	const LayerRecord* layer = FindLayer(vhost::IndexValue(h.layer));
	json j = {{"guid", GuidText(h.guid)}, {"type", ElemTypeName(h.type.typeID)}, {"typeID", static_cast<Int32>(h.type.typeID)},
		{"layer", vhost::IndexValue(h.layer)}, {"layerName", layer != nullptr ? vhost::Utf16ToUtf8(layer->name) : std::string()},
		{"story", h.floorInd}};
	switch (h.type.typeID) {
		case API_ObjectID:
		case API_LampID: ObjectFields(r, j); break;
		case API_MeshID: MeshFields(r, j); break;
		default: DrawingFields(r, j); break;
	}
	return j;
}

} // namespace

void DumpElements(json& j)
{
	const Project& p = Current();
	j["elements"] = json::array();
	for (const ElementRecord& r : p.state.elements) j["elements"].push_back(ElementJson(r));
	json layers = json::array();
	for (std::size_t i = 0; i < p.attributes.layers.size(); ++i) {
		const LayerRecord& l = p.attributes.layers[i];
		layers.push_back({{"index", i + 1}, {"name", vhost::Utf16ToUtf8(l.name)}, {"flags", l.flags}});
	}
	if (!j.contains("attributes")) j["attributes"] = json::object();
	j["attributes"]["layers"] = layers;
}

void DumpSolidLinks(json& j)
{
	j["solidLinks"] = json::array();
	for (const SolidLinkRecord& l : Current().state.solidLinks)
		j["solidLinks"].push_back({{"target", GuidText(l.target)}, {"operator", GuidText(l.operatorElem)},
			{"operation", FourCC(l.operation)}, {"flags", l.flags}});
}

void DumpAddonCalls(json& j)
{
	j["addonCalls"] = json::array();
	for (const AddonCallRecord& c : Current().addonCalls)
		j["addonCalls"].push_back({{"developerID", c.developerID}, {"localID", c.localID}, {"command", FourCC(c.command)},
			{"version", c.version}, {"params", c.params}, {"result", c.result}});
}

} // namespace vhost
