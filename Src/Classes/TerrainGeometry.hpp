// Plan geometry of the terrain mesh: placement, level lines, the contour tests, and the
// searches the mesh steps run over the contour and over point sets. Plain records only.
#ifndef VELMORA_TERRAINGEOMETRY_HPP
#define VELMORA_TERRAINGEOMETRY_HPP

#include <cstddef>
#include <cstdint>
#include <initializer_list>
#include <memory>
#include <vector>

#include "APIdefs_Base.h"
#include "Classes/CellGrid.hpp"

// The placement of local coordinates in the project: a rotation (radians, counter-clockwise)
// and then an offset in plan; offsetZ is 0.
struct MeshTranOptions {
	double angle = 0;
	double offsetX = 0, offsetY = 0, offsetZ = 0;

	// (offsetX + x cos a - y sin a, offsetY + x sin a + y cos a, z + offsetZ).
	API_Coord3D Place(double x, double y, double z) const;
};

// One level line: its points in order.
struct ElevationLine {
	std::vector<API_Coord3D> points;

	ElevationLine() = default;
	ElevationLine(std::initializer_list<API_Coord3D> list) : points(list) {}
	void AddPoint(const API_Coord3D& point) { points.push_back(point); }
};

struct ElevationLines {
	std::vector<ElevationLine> lines;

	void AddLine(const ElevationLine& line) { lines.push_back(line); }
	void AddLine(ElevationLine&& line) { lines.push_back(std::move(line)); }
	std::size_t PointCount() const;
};

using Contour = std::vector<API_Coord3D>;

// True when p lies on the contour (plan only, tolerance 0.01): index -1 when a contour point
// is within 0.01 in x and y, else index i of the first edge from point i to i + 1 (no edge
// from the last point back to the first) that p lies on, strictly between its ends. index is
// left alone when the answer is false.
bool IsOnEdge(const API_Coord3D& p, const Contour& contour, int& index);
bool IsOnEdge(const API_Coord3D& p, const Contour& contour);
// Whether p lies on the edge from a to b as IsOnEdge tests it.
bool EdgeHolds(const API_Coord3D& a, const API_Coord3D& b, const API_Coord3D& p);

// True when p is inside the contour by the even-odd rule over its edges, the last point
// joined to the first (a closed outline repeats its first point: that edge adds nothing);
// a point on the contour (IsOnEdge) is inside. The same answer every time.
bool InnerPoint(const API_Coord& p, const Contour& contour);
// The even-odd rule alone (for a point known to be off the contour).
bool EvenOdd(const API_Coord& p, const Contour& contour);
// Whether the edge from a to b crosses the ray from p towards +x (one count of the rule).
bool CrossesRay(const API_Coord3D& a, const API_Coord3D& b, const API_Coord& p);

// How the mesh steps search: through uniform grids, or by the literal scans of every point
// and edge (the reference the grids must match exactly).
enum class TerrainSearch { Grid, Reference };

// Searches over a contour that may grow by insertions, each giving the answer of the literal
// scan. The contour must outlive the index; its points may change height, and every
// insertion must be told (Inserted) before the next search.
class ContourIndex {
public:
	ContourIndex(const Contour& contour, TerrainSearch mode);
	~ContourIndex();
	ContourIndex(const ContourIndex&) = delete;
	ContourIndex& operator=(const ContourIndex&) = delete;

	// The contour got a point at position k.
	void Inserted(std::size_t k);
	// IsOnEdge(p, contour, index).
	bool OnEdge(const API_Coord3D& p, int& index) const;
	// Some contour point with |dx| < d and |dy| < d.
	bool PointNear(double x, double y, double d) const;
	// The first position from `from` on whose point may lie within |dx| < d, |dy| < d of
	// (x, y) (every position is a candidate in the reference mode), or Size() when none.
	// Successive calls for a window inside the previous one reuse its search.
	std::size_t NextNear(double x, double y, double d, std::size_t from) const;
	// InnerPoint(p, contour).
	bool Inside(const API_Coord& p) const;
	// EvenOdd(p, contour).
	bool EvenOdd(const API_Coord& p) const;
	std::size_t Size() const { return contour_.size(); }

private:
	struct Grids;
	const Contour& contour_;
	std::unique_ptr<Grids> grids_;   // null in the reference mode
};

// Searches over a growing list of points in list order, each giving the answer of the
// literal scan.
class PointIndex {
public:
	// extent: where most points will lie; minCell: the usual search distance; expected: about
	// how many points will come (a hint).
	PointIndex(TerrainSearch mode, const PlanBox& extent, double minCell, std::size_t expected);
	~PointIndex();
	PointIndex(const PointIndex&) = delete;
	PointIndex& operator=(const PointIndex&) = delete;

	void Add(const API_Coord3D& p);
	const API_Coord3D& operator[](std::size_t i) const { return points_[i]; }
	std::size_t Size() const { return points_.size(); }
	// Some point with |dx| < d, |dy| < d and, when dz > 0, |dz| < dz.
	bool Near(const API_Coord3D& p, double d, double dz) const;
	// As ContourIndex::NextNear.
	std::size_t NextNear(double x, double y, double d, std::size_t from) const;

private:
	struct Grid;
	std::vector<API_Coord3D> points_;
	std::unique_ptr<Grid> grid_;     // null in the reference mode
};

// The plan box of the finite points of a list (a zero box when there is none).
PlanBox PlanExtent(const std::vector<API_Coord3D>& points);

#endif
