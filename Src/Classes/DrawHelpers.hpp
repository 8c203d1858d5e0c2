// The 2D drawing of a DXF base map: every entity becomes host lines, polylines, arcs,
// circles and texts on layers named after its DXF layer. Block inserts are expanded in
// place (shifted by their insertion point, never scaled or turned).
#ifndef VELMORA_DRAWHELPERS_HPP
#define VELMORA_DRAWHELPERS_HPP

#include <map>
#include <string>
#include <string_view>

#include "ACAPinc.h"
#include "Helpers/DxfText.hpp"
#include "SimpleDxflib/SimpleDxfEntities.hpp"

namespace DrawHelpers {

// One drawing's run: how its texts are decoded, the layers found so far, what was skipped,
// and how much its inserts may still add. Entities that cannot be drawn are counted here
// and reported once per drawing by ReportSkipped. The limits bound insert expansion, which
// multiplies what the file holds; the top-level entities are drawn whatever their number.
struct Drawing {
	DxfText::Encoding encoding;
	std::map<std::string_view, Int32> layers;    // DXF layer name -> host layer index (0: none)
	long maxElements = 1000000;                  // elements insert expansion draws at most
	long maxVisits = 20000000;                   // entities insert expansion looks at at most
	long elements = 0;                           // drawn by insert expansion
	long visits = 0;                             // looked at by insert expansion
	int insertsWithoutBlock = 0;                 // inserts of a block the drawing does not have
	int polyfaceMeshes = 0;
	int invalidItems = 0;
	int expanding = 0;                           // inserts being expanded around the entity in hand
	bool stopped = false;                        // a limit was reached; inserts add nothing more
};

// Draws one entity (an insert: its block's entities) and answers 1 for an entity handled
// (also one that draws nothing: a point, a degenerate segment), the sum over the block for
// an insert, 0 for an entity skipped (type below 1, layer "DEFAULT", an insert without a
// block, a polyface mesh, a polyline without vertices, an empty block, in or of an insert
// past the limits), -1 for an entity of an unknown type (which ends the insert it is in).
// An entity with a layer name goes on the host layer of that name (made when missing; when
// it cannot be made the entity stays on `layer`). Points are ((x + origin x) / scale, (y +
// origin y) / scale).
int DrawEntity(Drawing& drawing, const SimpleDxf::Entity* entity, API_AttributeIndex layer, const API_Coord3D& origin, double scale);

// The element makers: each places one element through the host and reports a refusal
// ("Error while placing VELMORA geometries: %d"). They count against the drawing's limit.
void DrawLine(Drawing& drawing, const API_AttributeIndex& layer, const API_Coord3D& origin, double scale, double x1, double y1, double x2, double y2);
// A polyline of the vertices, closed (the first point repeated at the end) when kind is 1
// or 2, it has three vertices or more and bit 0 of flags is set.
void DrawPolyLine(Drawing& drawing, const API_AttributeIndex& layer, const API_Coord3D& origin, double scale, int kind, int flags,
	const SimpleDxf::VertexList& vertices);
void DrawCircle(Drawing& drawing, const API_AttributeIndex& layer, const API_Coord3D& origin, double scale, double cx, double cy, double r);
// Angles in degrees, counter-clockwise.
void DrawArc(Drawing& drawing, const API_AttributeIndex& layer, const API_Coord3D& origin, double scale, double cx, double cy, double r,
	double startDegrees, double endDegrees);
void DrawText(Drawing& drawing, const API_AttributeIndex& layer, const API_Coord3D& origin, double scale, double x, double y, const GS::UniString& text);

// Reports, once each, the kinds of entities the drawing skipped, with their counts, and a
// limit that stopped it.
void ReportSkipped(const Drawing& drawing);

} // namespace DrawHelpers

namespace AttributeHelpers {

// The index of the host layer named name (UTF-8), made with all other settings zero when
// there is none. The name is cut to its first 254 bytes, between characters. Answers 0
// when there is no such layer and none could be made.
Int32 FindOrCreateLayer(const std::string& name);

} // namespace AttributeHelpers

#endif
