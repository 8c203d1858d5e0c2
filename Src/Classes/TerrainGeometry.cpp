#include "Classes/TerrainGeometry.hpp"

#include <algorithm>
#include <cmath>
#include <limits>

namespace {

constexpr double kOnEdge = 0.01;        // IsOnEdge's tolerance
constexpr double kDegenerate = 0.00001; // an edge this short on an axis runs along the other
constexpr std::size_t kMaxCells = std::size_t{1} << 22;

bool Finite(double x, double y) { return std::isfinite(x) && std::isfinite(y); }

bool StrictlyBetween(double v, double a, double b) { return (v > a && v < b) || (v > b && v < a); }

bool Within(const API_Coord3D& c, double x, double y, double d)
{
	return std::fabs(c.x - x) < d && std::fabs(c.y - y) < d;
}

bool Contains(const PlanBox& outer, const PlanBox& inner)
{
	return inner.xMin >= outer.xMin && inner.yMin >= outer.yMin && inner.xMax <= outer.xMax && inner.yMax <= outer.yMax;
}

PlanBox PointBox(double x, double y) { return {x, y, x, y}; }

// Candidates of a grid search in ascending order, kept for the next search inside the same box.
struct OrderedCache {
	bool valid = false;
	PlanBox box;
	std::vector<std::size_t> order;

	template <typename Gather>
	std::size_t Next(const PlanBox& want, std::size_t from, std::size_t none, Gather&& gather)
	{
		if (!valid || !Contains(box, want)) {
			order.clear();
			gather(want, order);
			std::sort(order.begin(), order.end());
			order.erase(std::unique(order.begin(), order.end()), order.end());
			box = want;
			valid = true;
		}
		const auto it = std::lower_bound(order.begin(), order.end(), from);
		return it == order.end() ? none : *it;
	}
};

} // namespace

API_Coord3D MeshTranOptions::Place(double x, double y, double z) const
{
	const double c = std::cos(angle), s = std::sin(angle);
	return {offsetX + x * c - y * s, offsetY + x * s + y * c, z + offsetZ};
}

std::size_t ElevationLines::PointCount() const
{
	std::size_t count = 0;
	for (const ElevationLine& line : lines) count += line.points.size();
	return count;
}

PlanBox PlanExtent(const std::vector<API_Coord3D>& points)
{
	PlanBox box;
	bool any = false;
	for (const API_Coord3D& p : points) {
		if (!Finite(p.x, p.y)) continue;
		if (!any) box = PointBox(p.x, p.y);
		box = {std::min(box.xMin, p.x), std::min(box.yMin, p.y), std::max(box.xMax, p.x), std::max(box.yMax, p.y)};
		any = true;
	}
	return box;
}

// ---- the literal tests -------------------------------------------------------------------

bool EdgeHolds(const API_Coord3D& a, const API_Coord3D& b, const API_Coord3D& p)
{
	const bool flatX = std::fabs(a.x - b.x) < kDegenerate, flatY = std::fabs(a.y - b.y) < kDegenerate;
	if (flatX && flatY) return false;
	if (flatX) return StrictlyBetween(p.y, a.y, b.y) && std::fabs(a.x - p.x) < kOnEdge;
	if (flatY) return StrictlyBetween(p.x, a.x, b.x) && std::fabs(a.y - p.y) < kOnEdge;
	return StrictlyBetween(p.x, a.x, b.x) && std::fabs((b.y - a.y) / (b.x - a.x) - (b.y - p.y) / (b.x - p.x)) < kOnEdge;
}

bool IsOnEdge(const API_Coord3D& p, const Contour& contour, int& index)
{
	for (const API_Coord3D& c : contour)
		if (Within(c, p.x, p.y, kOnEdge)) {
			index = -1;
			return true;
		}
	for (std::size_t i = 0; i + 1 < contour.size(); ++i)
		if (EdgeHolds(contour[i], contour[i + 1], p)) {
			index = static_cast<int>(i);
			return true;
		}
	return false;
}

bool IsOnEdge(const API_Coord3D& p, const Contour& contour)
{
	int index = 0;
	return IsOnEdge(p, contour, index);
}

bool CrossesRay(const API_Coord3D& a, const API_Coord3D& b, const API_Coord& p)
{
	return (a.y > p.y) != (b.y > p.y) && p.x < a.x + (p.y - a.y) * (b.x - a.x) / (b.y - a.y);
}

bool InnerPoint(const API_Coord& p, const Contour& contour)
{
	return IsOnEdge({p.x, p.y, 0}, contour) || EvenOdd(p, contour);
}

bool EvenOdd(const API_Coord& p, const Contour& contour)
{
	bool inside = false;
	for (std::size_t i = 0; i < contour.size(); ++i)
		inside ^= CrossesRay(contour[i], contour[(i + 1) % contour.size()], p);
	return inside;
}

// ---- contour index -----------------------------------------------------------------------

// Grids over the contour by point id (ids stay with their points while positions shift):
// points, edges (by the id of their first point, stored along the band where IsOnEdge can
// hold) and, once the contour is fixed, rows of edges for the even-odd rule.
struct ContourIndex::Grids {
	CellGrid points, edges;
	std::vector<std::uint32_t> idAt;     // position -> id
	std::vector<std::uint32_t> positionOf; // id -> position
	std::size_t builtFor = 0;
	mutable OrderedCache cache;
	// Rows: the edges (by first position; the last joins the first point) whose y range
	// meets each row; rowStart has rows + 1 entries.
	mutable bool sealed = false;
	mutable std::vector<std::uint32_t> rowStart, rowEdges;
	mutable double rowY0 = 0, rowHeight = 1;

	explicit Grids(const Contour& c)
		: points(PlanExtent(c), 1.0, Budget(c.size())), edges(PlanExtent(c), 1.0, Budget(c.size())), builtFor(c.size())
	{
		for (std::uint32_t i = 0; i < c.size(); ++i) {
			idAt.push_back(i);
			positionOf.push_back(i);
			points.Add(i, PointBox(c[i].x, c[i].y));
		}
		for (std::uint32_t i = 0; i + 1 < c.size(); ++i) AddEdge(c, i);
	}
	static std::size_t Budget(std::size_t n) { return std::min(4 * n + 16, kMaxCells); }
	void AddEdge(const Contour& c, std::uint32_t id)
	{
		const API_Coord3D& a = c[positionOf[id]];
		const API_Coord3D& b = c[positionOf[id] + 1];
		const double pad = 1e-6 + 1e-9 * (std::fabs(a.x) + std::fabs(a.y) + std::fabs(b.x) + std::fabs(b.y));
		edges.AddBand(id, a.x, a.y, b.x, b.y, kOnEdge + kOnEdge * std::fabs(b.x - a.x) + pad, kOnEdge + pad);
	}
	int Row(double y, int rows) const
	{
		const double t = std::floor((y - rowY0) / rowHeight);
		return t < 0 ? 0 : t >= rows ? rows - 1 : static_cast<int>(t);
	}
	void Seal(const Contour& c) const;
	bool Parity(const Contour& c, const API_Coord& p) const;
};

void ContourIndex::Grids::Seal(const Contour& c) const
{
	sealed = true;
	const std::size_t n = c.size();
	const PlanBox extent = PlanExtent(c);
	const int rows = static_cast<int>(std::max<std::size_t>(1, std::min<std::size_t>(n, 1 << 16)));
	rowY0 = extent.yMin;
	rowHeight = std::max((extent.yMax - extent.yMin) / rows, 1e-9);
	const auto span = [&](std::size_t i, int& r0, int& r1) {
		const API_Coord3D& a = c[i];
		const API_Coord3D& b = c[(i + 1) % n];
		r0 = Row(std::min(a.y, b.y), rows);
		r1 = Row(std::max(a.y, b.y), rows);
	};
	rowStart.assign(static_cast<std::size_t>(rows) + 1, 0);
	for (std::size_t i = 0; i < n; ++i) {
		int r0, r1;
		span(i, r0, r1);
		for (int r = r0; r <= r1; ++r) ++rowStart[r + 1];
	}
	for (int r = 0; r < rows; ++r) rowStart[r + 1] += rowStart[r];
	rowEdges.resize(rowStart.back());
	std::vector<std::uint32_t> fill(rowStart.begin(), rowStart.end() - 1);
	for (std::size_t i = 0; i < n; ++i) {
		int r0, r1;
		span(i, r0, r1);
		for (int r = r0; r <= r1; ++r) rowEdges[fill[r]++] = static_cast<std::uint32_t>(i);
	}
}

bool ContourIndex::Grids::Parity(const Contour& c, const API_Coord& p) const
{
	const std::size_t n = c.size();
	const int row = Row(p.y, static_cast<int>(rowStart.size()) - 1);
	bool inside = false;
	for (std::uint32_t k = rowStart[row]; k < rowStart[row + 1]; ++k) {
		const std::uint32_t i = rowEdges[k];
		inside ^= CrossesRay(c[i], c[(i + 1) % n], p);
	}
	return inside;
}

ContourIndex::ContourIndex(const Contour& contour, TerrainSearch mode) : contour_(contour)
{
	const bool finite = std::all_of(contour.begin(), contour.end(), [](const API_Coord3D& c) { return Finite(c.x, c.y); });
	// A contour with a point at infinity is searched literally: the grids cannot place it.
	if (mode == TerrainSearch::Grid && finite && contour.size() < std::numeric_limits<std::uint32_t>::max() / 4)
		grids_ = std::make_unique<Grids>(contour);
}

ContourIndex::~ContourIndex() = default;

void ContourIndex::Inserted(std::size_t k)
{
	if (!grids_) return;
	const API_Coord3D& p = contour_[k];
	Grids& g = *grids_;
	if (g.sealed || !Finite(p.x, p.y) || contour_.size() > 2 * g.builtFor + 64) {
		grids_.reset();
		if (Finite(p.x, p.y)) grids_ = std::make_unique<Grids>(contour_);   // rebuilt at the new size
		return;
	}
	const std::uint32_t id = static_cast<std::uint32_t>(g.positionOf.size());
	g.idAt.insert(g.idAt.begin() + static_cast<std::ptrdiff_t>(k), id);
	g.positionOf.push_back(0);
	for (std::size_t j = k; j < g.idAt.size(); ++j) g.positionOf[g.idAt[j]] = static_cast<std::uint32_t>(j);
	g.points.Add(id, PointBox(p.x, p.y));
	if (k > 0) g.AddEdge(contour_, g.idAt[k - 1]);
	if (k + 1 < contour_.size()) g.AddEdge(contour_, id);
	g.cache.valid = false;
}

bool ContourIndex::OnEdge(const API_Coord3D& p, int& index) const
{
	if (!grids_ || !Finite(p.x, p.y)) return IsOnEdge(p, contour_, index);
	const Grids& g = *grids_;
	if (PointNear(p.x, p.y, kOnEdge)) {
		index = -1;
		return true;
	}
	const std::size_t n = contour_.size();
	std::size_t best = n;
	g.edges.Search(PointBox(p.x, p.y), [&](std::uint32_t id) {
		const std::size_t at = g.positionOf[id];
		if (at + 1 < n && at < best && EdgeHolds(contour_[at], contour_[at + 1], p)) best = at;
		return false;
	});
	if (best == n) return false;
	index = static_cast<int>(best);
	return true;
}

bool ContourIndex::PointNear(double x, double y, double d) const
{
	if (!grids_) {
		return std::any_of(contour_.begin(), contour_.end(), [&](const API_Coord3D& c) { return Within(c, x, y, d); });
	}
	const Grids& g = *grids_;
	return g.points.Search(WindowBox(x, y, d), [&](std::uint32_t id) { return Within(contour_[g.positionOf[id]], x, y, d); });
}

std::size_t ContourIndex::NextNear(double x, double y, double d, std::size_t from) const
{
	const std::size_t n = contour_.size();
	if (!grids_) return std::min(from, n);
	if (!Finite(x, y)) return n;   // nothing lies near such a point
	const Grids& g = *grids_;
	return g.cache.Next(WindowBox(x, y, d), from, n, [&](const PlanBox& box, std::vector<std::size_t>& out) {
		g.points.Search(box, [&](std::uint32_t id) {
			out.push_back(g.positionOf[id]);
			return false;
		});
	});
}

bool ContourIndex::Inside(const API_Coord& p) const
{
	int index = 0;
	return OnEdge({p.x, p.y, 0}, index) || EvenOdd(p);
}

bool ContourIndex::EvenOdd(const API_Coord& p) const
{
	if (!grids_ || !Finite(p.x, p.y)) return ::EvenOdd(p, contour_);
	if (!grids_->sealed) grids_->Seal(contour_);
	return grids_->Parity(contour_, p);
}

// ---- point index -------------------------------------------------------------------------

struct PointIndex::Grid {
	CellGrid cells;
	double minCell;
	mutable OrderedCache cache;
	Grid(const PlanBox& extent, double cell, std::size_t budget) : cells(extent, cell, std::min(budget, kMaxCells)), minCell(cell) {}
};

PointIndex::PointIndex(TerrainSearch mode, const PlanBox& extent, double minCell, std::size_t expected)
{
	if (mode == TerrainSearch::Grid) grid_ = std::make_unique<Grid>(extent, minCell, expected + 16);
}

PointIndex::~PointIndex() = default;

void PointIndex::Add(const API_Coord3D& p)
{
	points_.push_back(p);
	if (!grid_ || points_.size() >= std::numeric_limits<std::uint32_t>::max()) return;
	if (points_.size() > 4 * grid_->cells.CellCount() && grid_->cells.CellCount() < kMaxCells) {
		// Outgrown: a finer grid over where the points turned out to lie.
		auto finer = std::make_unique<Grid>(PlanExtent(points_), grid_->minCell, 2 * points_.size());
		for (std::uint32_t i = 0; i + 1 < points_.size(); ++i)
			if (Finite(points_[i].x, points_[i].y)) finer->cells.Add(i, PointBox(points_[i].x, points_[i].y));
		grid_ = std::move(finer);
	}
	// A point at infinity or without a number is near nothing: it is never searched.
	if (Finite(p.x, p.y)) grid_->cells.Add(static_cast<std::uint32_t>(points_.size() - 1), PointBox(p.x, p.y));
	grid_->cache.valid = false;
}

bool PointIndex::Near(const API_Coord3D& p, double d, double dz) const
{
	const auto holds = [&](const API_Coord3D& q) { return Within(q, p.x, p.y, d) && (dz <= 0 || std::fabs(q.z - p.z) < dz); };
	if (!grid_ || points_.size() >= std::numeric_limits<std::uint32_t>::max())
		return std::any_of(points_.begin(), points_.end(), holds);
	if (!Finite(p.x, p.y)) return false;
	return grid_->cells.Search(WindowBox(p.x, p.y, d), [&](std::uint32_t i) { return holds(points_[i]); });
}

std::size_t PointIndex::NextNear(double x, double y, double d, std::size_t from) const
{
	const std::size_t n = points_.size();
	if (!grid_ || n >= std::numeric_limits<std::uint32_t>::max()) return std::min(from, n);
	if (!Finite(x, y)) return n;
	return grid_->cache.Next(WindowBox(x, y, d), from, n, [&](const PlanBox& box, std::vector<std::size_t>& out) {
		grid_->cells.Search(box, [&](std::uint32_t i) {
			out.push_back(i);
			return false;
		});
	});
}
