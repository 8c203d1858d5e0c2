// Polygon regularisation: a polygon whose edges cross or touch becomes simple pieces.
#ifndef VHOST_ACAPI_POLYGON_H
#define VHOST_ACAPI_POLYGON_H

#include "APIdefs_Elements.h"

// A polygon in host handles, laid out as an element memo's polygon: coords one-based (entry
// 0 unused), pends the running end of each contour (pends[0] = 0), parcs the arc segments,
// vertexIDs one id per point (may be null). The counts are the handles' sizes.
struct API_RegularizedPoly {
	API_Coord** coords;
	Int32** pends;
	API_PolyArc** parcs;
	UInt32** vertexIDs;
	Int32** vertexAttrs;   // result: per point, the one-based input point it stems from, 0 for a new point
	bool needVertexAttrs;    // input: fill vertexAttrs of the pieces
};

// Splits the polygon into simple pieces: one closed contour each (its first point repeated
// at its end), no crossing, touching or zero-length edges, no arcs, counter-clockwise. On
// success *pieces is a new handle of *count records; the caller disposes each record
// (ACAPI_Polygon_DisposeRegularizedPoly) and then the handle (BMKillHandle). A polygon that is
// simple already gives one piece. Refused: missing or inconsistent handles, points that are
// not finite (APIERR_BADPARS); arcs or more than one contour (APIERR_NOTSUPPORTED). A polygon
// with no area at all gives no pieces (*count 0, a null handle).
GSErrCode ACAPI_Polygon_RegularizePolygon(const API_RegularizedPoly* poly, Int32* count, API_RegularizedPoly*** pieces);

// Frees the handles of one record and nulls them.
GSErrCode ACAPI_Polygon_DisposeRegularizedPoly(API_RegularizedPoly* poly);

#endif
