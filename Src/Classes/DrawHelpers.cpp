#include "Classes/DrawHelpers.hpp"

#include <algorithm>
#include <cmath>
#include <cstring>

#include "ACUtils.hpp"
#include "APICommon.hpp"
#include "Helpers/MemoOwner.hpp"
#include "generic/GenericHelpers.hpp"

namespace DrawHelpers {

namespace {

constexpr double kPi = 3.14159265358979323846;
constexpr double kSamePoint = 1e-5;   // closer in both x and y: the same point
constexpr Int32 kSkipLayer = -1;      // the cached answer for the layer "DEFAULT"

API_Coord At(const API_Coord3D& origin, double scale, double x, double y)
{
	return API_Coord{(x + origin.x) / scale, (y + origin.y) / scale};
}

bool Same(double x1, double y1, double x2, double y2)
{
	return std::fabs(x2 - x1) < kSamePoint && std::fabs(y2 - y1) < kSamePoint;
}

// Whether the drawing may draw one more element (and counts it). The base map's own
// top-level entities are bounded by its size; only what insert expansion adds is counted.
bool Budget(Drawing& drawing)
{
	if (drawing.expanding == 0) return true;
	if (drawing.stopped || drawing.elements >= drawing.maxElements) {
		drawing.stopped = true;
		return false;
	}
	++drawing.elements;
	return true;
}

// The shared pattern of the makers: defaults of the type, the caller's geometry, create.
template <typename Fill>
void Place(Drawing& drawing, API_ElemTypeID type, const API_AttributeIndex& layer, Fill fill)
{
	if (!Budget(drawing)) return;
	API_Element element;
	BNZeroMemory(&element, sizeof element);
	MemoOwner owner; // freed also when a host call throws
	API_ElementMemo& memo = owner.memo;
	kivel::SetTypeId(element, type);
	ACAPI_Element_GetDefaults(&element, &memo); // the tool's current settings; refused ones stay zero
	element.header.layer = layer;
	const GSErrCode err = fill(element, memo);
	if (err == NoError) {
		if (const GSErrCode created = ACAPI_Element_Create(&element, &memo))
			WriteReport_Alert("Error while placing VELMORA geometries: %d", static_cast<int>(created));
	} else {
		WriteReport_Alert("Error while placing VELMORA geometries: %d", static_cast<int>(err));
	}
}

// Fewer than two points apart by the same-point rule.
bool Degenerate(const SimpleDxf::VertexList& vertices)
{
	for (const SimpleDxf::Vertex& v : vertices)
		if (!Same(vertices.front().x, vertices.front().y, v.x, v.y)) return false;
	return true;
}

// The host layer of an entity's layer name: kSkipLayer for "DEFAULT", 0 when it cannot be
// had (the entity then keeps the layer it was given). Looked up once per name and drawing.
Int32 LayerOf(Drawing& drawing, std::string_view name)
{
	const auto known = drawing.layers.find(name);
	if (known != drawing.layers.end()) return known->second;
	const std::u16string decoded = DxfText::Decode(name, drawing.encoding);
	const Int32 index = decoded == u"DEFAULT" ? kSkipLayer : AttributeHelpers::FindOrCreateLayer(DxfText::Utf8Prefix(decoded, 254));
	drawing.layers.emplace(name, index);
	return index;
}

int DrawInsert(Drawing& drawing, const SimpleDxf::Insert& insert, API_AttributeIndex layer, const API_Coord3D& origin, double scale)
{
	if (insert.block == nullptr) {
		// A refused insert (a cycle, too deep) was reported with the reading of the file.
		if (insert.resolution == SimpleDxf::Resolution::Missing) ++drawing.insertsWithoutBlock;
		return 0;
	}
	if (drawing.stopped) return 0;
	const API_Coord3D shifted{origin.x + insert.x, origin.y + insert.y, origin.z + insert.z};
	int sum = 0;
	++drawing.expanding;
	for (const auto& entity : insert.block->entities) {
		const int n = DrawEntity(drawing, entity.get(), layer, shifted, scale);
		if (n < 0) {
			sum = -1;
			break;
		}
		sum += n;
	}
	--drawing.expanding;
	return sum;
}

int DrawPolyline(Drawing& drawing, const SimpleDxf::Polyline& p, const API_AttributeIndex& layer, const API_Coord3D& origin, double scale)
{
	if (p.mCount > 0) {
		++drawing.polyfaceMeshes;
		return 0;
	}
	const SimpleDxf::VertexList& v = p.vertices;
	if (v.empty()) return 0;
	if (Degenerate(v)) return 1;
	if (v.size() == 2) DrawLine(drawing, layer, origin, scale, v[0].x, v[0].y, v[1].x, v[1].y);
	else DrawPolyLine(drawing, layer, origin, scale, p.kind, p.flags, v);
	return 1;
}

} // namespace

int DrawEntity(Drawing& drawing, const SimpleDxf::Entity* entity, API_AttributeIndex layer, const API_Coord3D& origin, double scale)
{
	if (entity == nullptr || entity->typeId < 1) return 0;
	if (drawing.expanding > 0 && (drawing.stopped || ++drawing.visits > drawing.maxVisits)) {
		drawing.stopped = true;
		return 0;
	}
	if (entity->typeId == SimpleDxf::InsertType)
		return DrawInsert(drawing, static_cast<const SimpleDxf::Insert&>(*entity), layer, origin, scale);
	if (!entity->layerName.empty()) {
		const Int32 index = LayerOf(drawing, entity->layerName);
		if (index == kSkipLayer) return 0;
		if (index > 0) layer = kivel::CreateAttributeIndex(index);
	}
	switch (entity->typeId) {
		case SimpleDxf::PolylineType:
			return DrawPolyline(drawing, static_cast<const SimpleDxf::Polyline&>(*entity), layer, origin, scale);
		case SimpleDxf::LineType: {
			const auto& l = static_cast<const SimpleDxf::Line&>(*entity);
			if (!Same(l.x1, l.y1, l.x2, l.y2)) DrawLine(drawing, layer, origin, scale, l.x1, l.y1, l.x2, l.y2);
			return 1;
		}
		case SimpleDxf::CircleType: {
			const auto& c = static_cast<const SimpleDxf::Circle&>(*entity);
			DrawCircle(drawing, layer, origin, scale, c.x, c.y, c.radius);
			return 1;
		}
		case SimpleDxf::ArcType: {
			const auto& a = static_cast<const SimpleDxf::Arc&>(*entity);
			DrawArc(drawing, layer, origin, scale, a.x, a.y, a.radius, a.startAngle, a.endAngle);
			return 1;
		}
		case SimpleDxf::PointType: return 1;
		case SimpleDxf::TextType: {
			const auto& t = static_cast<const SimpleDxf::Text&>(*entity);
			const std::u16string text = DxfText::Decode(t.text, drawing.encoding);
			DrawText(drawing, layer, origin, scale, t.x, t.y, GS::UniString(text.data(), text.size()));
			return 1;
		}
		default:
			++drawing.invalidItems;
			return -1;
	}
}

void DrawLine(Drawing& drawing, const API_AttributeIndex& layer, const API_Coord3D& origin, double scale, double x1, double y1, double x2, double y2)
{
	Place(drawing, API_LineID, layer, [&](API_Element& e, API_ElementMemo&) {
		e.line.begC = At(origin, scale, x1, y1);
		e.line.endC = At(origin, scale, x2, y2);
		return NoError;
	});
}

void DrawPolyLine(Drawing& drawing, const API_AttributeIndex& layer, const API_Coord3D& origin, double scale, int kind, int flags,
	const SimpleDxf::VertexList& vertices)
{
	const std::size_t n = vertices.size();
	const std::size_t e = (kind == 1 || kind == 2) && n >= 3 && (flags & 1) != 0 ? 1 : 0;
	Place(drawing, API_PolyLineID, layer, [&](API_Element& element, API_ElementMemo& memo) {
		element.polyLine.poly.nCoords = static_cast<Int32>(n + e);
		element.polyLine.poly.nSubPolys = 1;
		element.polyLine.poly.nArcs = 0;
		memo.coords = kivel::NewHandleTable<API_Coord>(n + e + 1);
		memo.pends = kivel::NewHandleTable<Int32>(2);
		memo.parcs = kivel::NewHandleTable<API_PolyArc>(0);
		if (memo.coords == nullptr || memo.pends == nullptr || memo.parcs == nullptr) return APIERR_MEMFULL;
		for (std::size_t i = 0; i < n; ++i) (*memo.coords)[i + 1] = At(origin, scale, vertices[i].x, vertices[i].y);
		if (e == 1) (*memo.coords)[n + 1] = (*memo.coords)[1];
		(*memo.pends)[1] = static_cast<Int32>(n + e);
		return NoError;
	});
}

void DrawCircle(Drawing& drawing, const API_AttributeIndex& layer, const API_Coord3D& origin, double scale, double cx, double cy, double r)
{
	Place(drawing, API_CircleID, layer, [&](API_Element& e, API_ElementMemo&) {
		e.circle.origC = At(origin, scale, cx, cy);
		e.circle.r = r / scale;
		return NoError;
	});
}

void DrawArc(Drawing& drawing, const API_AttributeIndex& layer, const API_Coord3D& origin, double scale, double cx, double cy, double r,
	double startDegrees, double endDegrees)
{
	Place(drawing, API_ArcID, layer, [&](API_Element& e, API_ElementMemo&) {
		e.arc.origC = At(origin, scale, cx, cy);
		e.arc.r = r / scale;
		e.arc.begAng = startDegrees * kPi / 180.0;
		e.arc.endAng = endDegrees * kPi / 180.0;
		return NoError;
	});
}

void DrawText(Drawing& drawing, const API_AttributeIndex& layer, const API_Coord3D& origin, double scale, double x, double y, const GS::UniString& text)
{
	Place(drawing, API_TextID, layer, [&](API_Element& e, API_ElementMemo& memo) {
		e.text.loc = At(origin, scale, x, y);
		e.text.nonBreaking = true;
		e.text.charCode = 1;
		memo.textContent = new GS::UniString(text);
		return NoError;
	});
}

void ReportSkipped(const Drawing& drawing)
{
	if (drawing.insertsWithoutBlock > 0)
		WriteReport_Alert("No block in insert command: %d inserts left out", drawing.insertsWithoutBlock);
	if (drawing.polyfaceMeshes > 0)
		WriteReport_Alert("MVertices in 2D object.: %d polylines left out", drawing.polyfaceMeshes);
	if (drawing.invalidItems > 0) WriteReport_Alert("invalid 2D item: %d entities left out", drawing.invalidItems);
	if (drawing.stopped)
		WriteReport_Alert("The block inserts of the 2D drawing were stopped after %ld elements and %ld entities; the rest of "
			"their blocks is left out", drawing.elements, drawing.visits);
}

} // namespace DrawHelpers

namespace AttributeHelpers {

Int32 FindOrCreateLayer(const std::string& name)
{
	std::size_t length = std::min<std::size_t>(name.size(), 254);
	while (length > 0 && length < name.size() && (static_cast<unsigned char>(name[length]) & 0xC0) == 0x80) --length;
	const std::string cut = name.substr(0, length);
	GS::UniString uniName(cut.c_str(), GS::CC_UTF8);
	API_Attribute layer;
	BNZeroMemory(&layer, sizeof layer);
	layer.header.typeID = API_LayerID;
	std::memcpy(layer.header.name, cut.data(), cut.size());
	layer.header.uniStringNamePtr = &uniName;
	if (ACAPI_Attribute_Search(&layer.header) == NoError) return kivel::GetAttributeIndex(layer.header.index);
	ACAPI_Attribute_Create(&layer, nullptr);
	return kivel::GetAttributeIndex(layer.header.index);
}

} // namespace AttributeHelpers
