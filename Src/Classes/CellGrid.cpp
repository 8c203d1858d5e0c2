#include "Classes/CellGrid.hpp"

#include <algorithm>
#include <cmath>

namespace {

constexpr int kMaxSide = 1 << 14;   // cells per axis

bool Finite(const PlanBox& b)
{
	return std::isfinite(b.xMin) && std::isfinite(b.yMin) && std::isfinite(b.xMax) && std::isfinite(b.yMax);
}

// Rounding room of a window test at these magnitudes.
double Slack(double x, double y, double half)
{
	return 1e-9 + 1e-9 * (std::fabs(x) + std::fabs(y) + std::fabs(half));
}

} // namespace

PlanBox WindowBox(double x, double y, double half)
{
	const double w = half + Slack(x, y, half);
	return {x - w, y - w, x + w, y + w};
}

CellGrid::CellGrid(const PlanBox& extent, double minCell, std::size_t cellBudget)
{
	const double w = extent.xMax - extent.xMin, h = extent.yMax - extent.yMin;
	if (Finite(extent) && std::isfinite(w) && std::isfinite(h) && w >= 0 && h >= 0) {
		const double budget = static_cast<double>(std::max<std::size_t>(cellBudget, 1));
		const double side = std::sqrt(std::max(w * h, std::max(w, h) * std::max(w, h) / budget) / budget);
		const double cell = std::max({minCell, side, 1e-9});
		if (std::isfinite(cell)) {
			x0_ = extent.xMin;
			y0_ = extent.yMin;
			cell_ = cell;
			nx_ = static_cast<int>(std::min(std::floor(w / cell) + 1, static_cast<double>(kMaxSide)));
			ny_ = static_cast<int>(std::min(std::floor(h / cell) + 1, static_cast<double>(kMaxSide)));
		}
	}
	head_.assign(static_cast<std::size_t>(nx_) * ny_, -1);
}

void CellGrid::Range(double lo, double hi, double origin, int count, int& first, int& last) const
{
	const auto index = [&](double v) {
		const double t = std::floor((v - origin) / cell_);
		return t < 0 ? 0 : t >= count ? count - 1 : static_cast<int>(t);
	};
	if (std::isnan(lo) || std::isnan(hi)) {
		first = 0;
		last = count - 1;
		return;
	}
	first = index(lo);
	last = index(hi);
	if (last < first) last = first;
}

void CellGrid::AddCells(std::uint32_t item, int c0, int c1, int r0, int r1)
{
	for (int r = r0; r <= r1; ++r)
		for (int c = c0; c <= c1; ++c) {
			std::int32_t& head = head_[static_cast<std::size_t>(r) * nx_ + c];
			entries_.push_back({item, head});
			head = static_cast<std::int32_t>(entries_.size() - 1);
		}
}

void CellGrid::Add(std::uint32_t item, const PlanBox& box)
{
	if (!Finite(box)) {
		everywhere_.push_back(item);
		return;
	}
	int c0, c1, r0, r1;
	Range(box.xMin, box.xMax, x0_, nx_, c0, c1);
	Range(box.yMin, box.yMax, y0_, ny_, r0, r1);
	AddCells(item, c0, c1, r0, r1);
}

void CellGrid::AddBand(std::uint32_t item, double ax, double ay, double bx, double by, double halfWidth, double padX)
{
	const double xl = std::min(ax, bx), xr = std::max(ax, bx);
	const PlanBox whole = {xl - padX, std::min(ay, by) - halfWidth, xr + padX, std::max(ay, by) + halfWidth};
	int c0, c1;
	Range(whole.xMin, whole.xMax, x0_, nx_, c0, c1);
	if (!Finite(whole) || !std::isfinite(halfWidth) || c1 - c0 < 2 || xr - xl < padX) {
		Add(item, whole);
		return;
	}
	// Per column: the rows of the segment's y over the column's x range (a little wider, for
	// the rounding of the column of a point), clamped to the segment; columns beside the
	// segment take its whole y range.
	const double slope = (by - ay) / (bx - ax), margin = cell_ * 1e-6;
	for (int c = c0; c <= c1; ++c) {
		const double lo = x0_ + c * cell_ - margin, hi = x0_ + (c + 1) * cell_ + margin;
		double y0 = whole.yMin + halfWidth, y1 = whole.yMax - halfWidth;
		if (hi >= xl && lo <= xr) {
			y0 = ay + (std::clamp(lo, xl, xr) - ax) * slope;
			y1 = ay + (std::clamp(hi, xl, xr) - ax) * slope;
		}
		int r0, r1;
		Range(std::min(y0, y1) - halfWidth, std::max(y0, y1) + halfWidth, y0_, ny_, r0, r1);
		AddCells(item, c, c, r0, r1);
	}
}
