// The contour tests: on an edge, inside by the even-odd rule.
#include <gtest/gtest.h>

#include "Classes/TerrainGeometry.hpp"

namespace {

const Contour kSquare = {{0, 0, 0}, {10, 0, 0}, {10, 10, 0}, {0, 10, 0}, {0, 0, 0}};

struct EdgeCase {
	const char* what;
	Contour contour;
	API_Coord3D p;
	bool on;
	int index;
};

TEST(IsOnEdge, Cases)
{
	const Contour slanted = {{0, 0, 0}, {10, 5, 0}, {0, 10, 0}};
	const EdgeCase cases[] = {
		{"near a corner", kSquare, {10.005, 9.995, 0}, true, -1},
		{"on a horizontal edge", kSquare, {5, 0.009, 0}, true, 0},
		{"beside a horizontal edge", kSquare, {5, 0.011, 0}, false, 0},
		{"on a vertical edge", kSquare, {10.009, 5, 0}, true, 1},
		{"on the last edge", kSquare, {0, 5, 0}, true, 3},
		{"past the end of a vertical edge", kSquare, {10, 10.02, 0}, false, 0},
		{"on a slanted edge", slanted, {4, 2, 0}, true, 0},
		{"the slope tolerance grows away from the far end", slanted, {1, 0.58, 0}, true, 0},
		{"off a slanted edge", slanted, {4, 2.1, 0}, false, 0},
		{"no edge closes an open contour", slanted, {0, 5, 0}, false, 0},
		{"the first edge that holds wins", {{0, 0, 0}, {10, 0, 0}, {0, 0.005, 0}, {10, 0.005, 0}}, {5, 0.004, 0}, true, 0},
		{"a zero-length edge holds nothing", {{5, 5, 0}, {5, 5, 0}}, {5, 5.5, 0}, false, 0},
		{"a contour of one point", {{5, 5, 0}}, {5, 5.5, 0}, false, 0},
		{"the one point itself", {{5, 5, 0}}, {5, 5, 0}, true, -1},
	};
	for (const EdgeCase& c : cases) {
		int index = 99;
		EXPECT_EQ(IsOnEdge(c.p, c.contour, index), c.on) << c.what;
		EXPECT_EQ(index, c.on ? c.index : 99) << c.what;
		ContourIndex grid(c.contour, TerrainSearch::Grid);
		int gridIndex = 99;
		EXPECT_EQ(grid.OnEdge(c.p, gridIndex), c.on) << c.what;
		EXPECT_EQ(gridIndex, index) << c.what;
	}
}

TEST(InnerPoint, EvenOddOverTheContourClosedOrNot)
{
	const Contour open(kSquare.begin(), kSquare.end() - 1);
	// An L shape: the notch at the top right is outside.
	const Contour ell = {{0, 0, 0}, {10, 0, 0}, {10, 5, 0}, {5, 5, 0}, {5, 10, 0}, {0, 10, 0}};
	const struct {
		const char* what;
		const Contour& contour;
		API_Coord p;
		bool inside;
	} cases[] = {
		{"inside", kSquare, {3, 7}, true},
		{"inside an open outline", open, {3, 7}, true},
		{"outside", kSquare, {13, 7}, false},
		{"outside, level with an edge", kSquare, {-3, 0}, false},
		{"on an edge counts inside", kSquare, {10, 4}, true},
		{"at a corner counts inside", open, {0.001, 0.001}, true},
		{"level with a corner, inside", ell, {2, 5}, true},
		{"in the notch", ell, {7, 7}, false},
		{"below the notch", ell, {7, 3}, true},
		{"on the joining edge of an open outline", ell, {0, 5}, true},
		{"a one-point contour", Contour{{1, 1, 0}}, {1.5, 1.5}, false},
	};
	for (const auto& c : cases) {
		for (int repeat = 0; repeat < 3; ++repeat) EXPECT_EQ(InnerPoint(c.p, c.contour), c.inside) << c.what;
		EXPECT_EQ(ContourIndex(c.contour, TerrainSearch::Grid).Inside(c.p), c.inside) << c.what;
	}
}

} // namespace
