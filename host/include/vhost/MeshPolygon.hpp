// The shape of polygon contours as the host judges it: simple or not, and split into simple
// pieces (ACAPI_Polygon_RegularizePolygon).
#ifndef VHOST_MESHPOLYGON_HPP
#define VHOST_MESHPOLYGON_HPP

#include <cstddef>
#include <vector>

#include "APIdefs_Elements.h"

namespace vhost {

// A contour point and the one-based input point it stems from (0: made by a split).
struct RingPoint {
	double x = 0, y = 0;
	Int32 source = 0;
};
// A contour without its closing repeat; its last point joins its first.
using Ring = std::vector<RingPoint>;

// APIERR_IRREGULARPOLY when a contour of the polygon (counts already checked against the
// memo) has a zero-length edge (a closing repeat of the first point is none), fewer than
// three points, or two edges that cross, touch or overlap other than neighbours at their
// shared point; also when edges of different contours meet. Else NoError.
GSErrCode CheckSimpleOutline(const API_Polygon& poly, const API_ElementMemo& memo);

// The simple pieces of one contour (see ACAPI_Polygon_RegularizePolygon); empty when it
// has no area.
std::vector<Ring> SplitIntoSimpleRings(const Ring& ring);

} // namespace vhost

#endif
