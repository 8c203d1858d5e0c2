// A uniform grid of square cells in plan, to find the few items near a point among many.
// Items are small integers stored in every cell their box overlaps; a search visits every
// item of every cell its box overlaps: a superset of the items inside the box, so callers
// evaluate their own test on each item they are given.
#ifndef VELMORA_CELLGRID_HPP
#define VELMORA_CELLGRID_HPP

#include <cstddef>
#include <cstdint>
#include <vector>

struct PlanBox {
	double xMin = 0, yMin = 0, xMax = 0, yMax = 0;
};

// The box of a window |dx| < half, |dy| < half around (x, y), widened by far more than the
// rounding of those tests, so an item that passes them always lies in the box.
PlanBox WindowBox(double x, double y, double half);

class CellGrid {
public:
	// An empty grid over `extent` (items outside it go to its border cells) with square
	// cells no smaller than `minCell`, about `cellBudget` of them (at least one). A
	// non-finite extent gives one cell.
	CellGrid(const PlanBox& extent, double minCell, std::size_t cellBudget);

	// Stores item in every cell that box overlaps; an item with a non-finite box is visited
	// by every search.
	void Add(std::uint32_t item, const PlanBox& box);
	// Stores item along the segment from a to b widened by halfWidth in y and by padX in x:
	// per column of cells only the rows the widened segment passes.
	void AddBand(std::uint32_t item, double ax, double ay, double bx, double by, double halfWidth, double padX);

	// Calls visit(item) for every item stored in a cell that box overlaps (an item may come
	// more than once); stops when visit answers true, and then answers true. A box with a
	// NaN bound searches the whole grid.
	template <typename Visit>
	bool Search(const PlanBox& box, Visit&& visit) const
	{
		for (const std::uint32_t item : everywhere_)
			if (visit(item)) return true;
		int c0, c1, r0, r1;
		Range(box.xMin, box.xMax, x0_, nx_, c0, c1);
		Range(box.yMin, box.yMax, y0_, ny_, r0, r1);
		for (int r = r0; r <= r1; ++r)
			for (int c = c0; c <= c1; ++c)
				for (std::int32_t e = head_[static_cast<std::size_t>(r) * nx_ + c]; e >= 0; e = entries_[e].next)
					if (visit(entries_[e].item)) return true;
		return false;
	}

	std::size_t CellCount() const { return head_.size(); }
	std::size_t EntryCount() const { return entries_.size(); }

private:
	struct Entry {
		std::uint32_t item;
		std::int32_t next;
	};
	// The cells [first, last] that the interval [lo, hi] overlaps on an axis from origin.
	void Range(double lo, double hi, double origin, int count, int& first, int& last) const;
	void AddCells(std::uint32_t item, int c0, int c1, int r0, int r1);

	double x0_ = 0, y0_ = 0, cell_ = 1;
	int nx_ = 1, ny_ = 1;
	std::vector<std::int32_t> head_;      // per cell: first entry, or -1
	std::vector<Entry> entries_;
	std::vector<std::uint32_t> everywhere_;
};

#endif
