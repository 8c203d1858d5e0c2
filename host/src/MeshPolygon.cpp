// Simple polygons: the check a mesh outline passes on Create and the split of a contour
// whose edges cross or touch into simple pieces.
#include "vhost/MeshPolygon.hpp"

#include <algorithm>
#include <cmath>
#include <cstring>
#include <optional>

#include "ACAPinc.h"
#include "vhost/Unset.hpp"

namespace vhost {

namespace {

// How many records of T a handle holds.
template <typename T>
Int32 Records(T** h)
{
	return h ? BMGetHandleSize(reinterpret_cast<GSConstHandle>(h)) / static_cast<Int32>(sizeof(T)) : 0;
}

bool SamePlace(const RingPoint& a, const RingPoint& b) { return a.x == b.x && a.y == b.y; }

// Twice the signed area of a, b, c: > 0 when c lies left of a -> b.
double Orient(const RingPoint& a, const RingPoint& b, const RingPoint& c)
{
	return (b.x - a.x) * (c.y - a.y) - (b.y - a.y) * (c.x - a.x);
}

// p on the closed segment a-b (p collinear with it).
bool Within(const RingPoint& a, const RingPoint& b, const RingPoint& p)
{
	return std::min(a.x, b.x) <= p.x && p.x <= std::max(a.x, b.x) && std::min(a.y, b.y) <= p.y && p.y <= std::max(a.y, b.y);
}

// Where the closed segments a-b and c-d meet: a point of one on the other, or the crossing
// point (a new point, source 0); none when they do not meet.
std::optional<RingPoint> Meet(const RingPoint& a, const RingPoint& b, const RingPoint& c, const RingPoint& d)
{
	const double o1 = Orient(a, b, c), o2 = Orient(a, b, d), o3 = Orient(c, d, a), o4 = Orient(c, d, b);
	if (o3 == 0 && Within(c, d, a)) return a;
	if (o4 == 0 && Within(c, d, b)) return b;
	if (o1 == 0 && Within(a, b, c)) return c;
	if (o2 == 0 && Within(a, b, d)) return d;
	if ((o1 > 0) == (o2 > 0) || (o3 > 0) == (o4 > 0) || o1 == 0 || o2 == 0 || o3 == 0 || o4 == 0) return std::nullopt;
	const double t = o3 / (o3 - o4);
	return RingPoint{a.x + (b.x - a.x) * t, a.y + (b.y - a.y) * t, 0};
}

// Neighbouring edges a-b, b-c that run back over each other.
bool Folds(const RingPoint& a, const RingPoint& b, const RingPoint& c)
{
	return Orient(a, b, c) == 0 && ((b.x - a.x) * (c.x - b.x) + (b.y - a.y) * (c.y - b.y)) < 0;
}

struct Conflict {
	std::size_t i = 0, j = 0;   // edges i (point i to i + 1) and j, i < j
	RingPoint at;
	bool fold = false;          // edges i and i + 1 fold back at point i + 1
};

// The first pair of edges of the ring (in edge order) that meet other than neighbours at
// their shared point.
std::optional<Conflict> FirstConflict(const Ring& r)
{
	const std::size_t n = r.size();
	const auto at = [&](std::size_t k) -> const RingPoint& { return r[k % n]; };
	for (std::size_t i = 0; i < n; ++i) {
		if (Folds(at(i), at(i + 1), at(i + 2))) return Conflict{i, i + 1, at(i + 1), true};
		for (std::size_t j = i + 2; j < n; ++j) {
			if (i == 0 && j == n - 1) continue;   // neighbours across the closing point
			if (auto meet = Meet(at(i), at(i + 1), at(j), at(j + 1))) return Conflict{i, j, *meet, false};
		}
	}
	return std::nullopt;
}

double Area2(const Ring& r)
{
	double sum = 0;
	for (std::size_t k = 0; k < r.size(); ++k) {
		const RingPoint& a = r[k];
		const RingPoint& b = r[(k + 1) % r.size()];
		sum += a.x * b.y - b.x * a.y;
	}
	return sum;
}

// Drops repeated neighbours (keeping a known source) and the closing repeat.
Ring Tidy(Ring r)
{
	Ring out;
	for (const RingPoint& p : r) {
		if (!out.empty() && SamePlace(out.back(), p)) {
			if (out.back().source == 0) out.back().source = p.source;
			continue;
		}
		out.push_back(p);
	}
	while (out.size() > 1 && SamePlace(out.front(), out.back())) {
		if (out.front().source == 0) out.front().source = out.back().source;
		out.pop_back();
	}
	return out;
}

// The contours of a polygon memo as rings, each point's source its one-based index.
std::vector<Ring> Rings(const API_Coord* coords, const Int32* ends, Int32 contours)
{
	std::vector<Ring> rings;
	for (Int32 k = 1; k <= contours; ++k) {
		Ring r;
		for (Int32 i = ends[k - 1] + 1; i <= ends[k]; ++i) r.push_back({coords[i].x, coords[i].y, i});
		rings.push_back(r);
	}
	return rings;
}

template <typename T>
T** NewTable(const std::vector<T>& table)
{
	GSHandle h = BMAllocateHandle(static_cast<Int32>(table.size() * sizeof(T)), ALLOCATE_CLEAR, 0);
	if (h != nullptr && !table.empty()) std::memcpy(*h, table.data(), table.size() * sizeof(T));
	return reinterpret_cast<T**>(h);
}

// A piece as host handles: one closed contour, the first point repeated at the end.
API_RegularizedPoly Piece(const Ring& r, bool withAttrs)
{
	std::vector<API_Coord> coords(1);
	std::vector<UInt32> ids(1);
	std::vector<Int32> attrs(1);
	for (std::size_t k = 0; k <= r.size(); ++k) {
		const RingPoint& p = r[k % r.size()];
		coords.push_back({p.x, p.y});
		ids.push_back(static_cast<UInt32>(k % r.size() + 1));
		attrs.push_back(p.source);
	}
	API_RegularizedPoly piece;
	BNZeroMemory(&piece, sizeof piece);
	piece.coords = NewTable(coords);
	piece.pends = NewTable(std::vector<Int32>{0, static_cast<Int32>(r.size() + 1)});
	piece.parcs = NewTable(std::vector<API_PolyArc>{});
	piece.vertexIDs = NewTable(ids);
	if (withAttrs) piece.vertexAttrs = NewTable(attrs);
	return piece;
}

} // namespace

GSErrCode CheckSimpleOutline(const API_Polygon& poly, const API_ElementMemo& memo)
{
	const std::vector<Ring> rings = Rings(*memo.coords, *memo.pends, poly.nSubPolys);
	std::vector<Ring> tidy;
	for (const Ring& raw : rings) {
		Ring r = raw;
		if (r.size() > 1 && SamePlace(r.front(), r.back())) r.pop_back();   // the closing repeat
		for (std::size_t k = 0; k < r.size(); ++k)
			if (SamePlace(r[k], r[(k + 1) % r.size()])) return APIERR_IRREGULARPOLY;
		if (r.size() < 3 || FirstConflict(r)) return APIERR_IRREGULARPOLY;
		tidy.push_back(r);
	}
	for (std::size_t a = 0; a < tidy.size(); ++a)
		for (std::size_t b = a + 1; b < tidy.size(); ++b)
			for (std::size_t i = 0; i < tidy[a].size(); ++i)
				for (std::size_t j = 0; j < tidy[b].size(); ++j)
					if (Meet(tidy[a][i], tidy[a][(i + 1) % tidy[a].size()], tidy[b][j], tidy[b][(j + 1) % tidy[b].size()]))
						return APIERR_IRREGULARPOLY;
	return NoError;
}

std::vector<Ring> SplitIntoSimpleRings(const Ring& ring)
{
	std::vector<Ring> work = {Tidy(ring)}, done;
	// Every split or fold removes a meeting of edges; the bound only guards against a loop.
	std::size_t budget = 8 * ring.size() + 16;
	while (!work.empty() && budget-- > 0) {
		Ring r = work.back();
		work.pop_back();
		if (r.size() < 3) continue;
		const std::optional<Conflict> c = FirstConflict(r);
		if (!c) {
			const double area = Area2(r);
			if (area < 0) std::reverse(r.begin(), r.end());
			if (area != 0) done.push_back(r);
			continue;
		}
		const std::size_t n = r.size();
		if (c->fold) {
			r.erase(r.begin() + static_cast<std::ptrdiff_t>((c->i + 1) % n));
			work.push_back(Tidy(r));
			continue;
		}
		// Two loops through the meeting point: edges i + 1 .. j, and j + 1 .. i.
		Ring first = {c->at}, second = {c->at};
		for (std::size_t k = c->i + 1; k <= c->j; ++k) first.push_back(r[k % n]);
		for (std::size_t k = c->j + 1; k <= c->i + n; ++k) second.push_back(r[k % n]);
		work.push_back(Tidy(second));
		work.push_back(Tidy(first));
	}
	return done;
}

} // namespace vhost

GSErrCode ACAPI_Polygon_RegularizePolygon(const API_RegularizedPoly* poly, Int32* count, API_RegularizedPoly*** pieces)
{
	if (poly == nullptr || count == nullptr || pieces == nullptr) return APIERR_BADPARS;
	static const vhost::RecordField fields[] = {
		VHOST_FIELD(API_RegularizedPoly, coords), VHOST_FIELD(API_RegularizedPoly, pends), VHOST_FIELD(API_RegularizedPoly, parcs),
		VHOST_FIELD(API_RegularizedPoly, vertexIDs), VHOST_FIELD(API_RegularizedPoly, needVertexAttrs)};
	if (const GSErrCode err = vhost::CheckFieldsSet("ACAPI_Polygon_RegularizePolygon", poly, fields)) return err;
	if (poly->coords == nullptr || poly->pends == nullptr) return APIERR_BADPARS;
	*count = 0;
	*pieces = nullptr;
	const Int32 points = vhost::Records(poly->coords) - 1, contours = vhost::Records(poly->pends) - 1;
	if (points < 1 || contours < 1) return APIERR_BADPARS;
	if (vhost::Records(poly->parcs) > 0 || contours > 1) return APIERR_NOTSUPPORTED;
	const Int32* ends = *poly->pends;
	if (ends[0] != 0 || ends[1] != points) return APIERR_BADPARS;
	for (Int32 i = 1; i <= points; ++i)
		if (!std::isfinite((*poly->coords)[i].x) || !std::isfinite((*poly->coords)[i].y)) return APIERR_BADPARS;

	const std::vector<vhost::Ring> rings = vhost::SplitIntoSimpleRings(vhost::Rings(*poly->coords, ends, 1).front());
	if (rings.empty()) return NoError;
	GSHandle list = BMAllocateHandle(static_cast<Int32>(rings.size() * sizeof(API_RegularizedPoly)), ALLOCATE_CLEAR, 0);
	if (list == nullptr) return APIERR_MEMFULL;
	auto* records = reinterpret_cast<API_RegularizedPoly*>(*list);
	for (std::size_t k = 0; k < rings.size(); ++k) records[k] = vhost::Piece(rings[k], poly->needVertexAttrs);
	*count = static_cast<Int32>(rings.size());
	*pieces = reinterpret_cast<API_RegularizedPoly**>(list);
	return NoError;
}

GSErrCode ACAPI_Polygon_DisposeRegularizedPoly(API_RegularizedPoly* poly)
{
	if (poly == nullptr) return APIERR_BADPARS;
	BMKillHandle(reinterpret_cast<GSHandle*>(&poly->coords));
	BMKillHandle(reinterpret_cast<GSHandle*>(&poly->pends));
	BMKillHandle(reinterpret_cast<GSHandle*>(&poly->parcs));
	BMKillHandle(reinterpret_cast<GSHandle*>(&poly->vertexIDs));
	BMKillHandle(reinterpret_cast<GSHandle*>(&poly->vertexAttrs));
	return NoError;
}
