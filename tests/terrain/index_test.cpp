// The grid indexes against brute force on dense random data, where search windows cross
// cell borders all the time and matches sit at the tests' bounds.
#include <cmath>
#include <random>
#include <tuple>
#include <utility>

#include <gtest/gtest.h>

#include "Classes/TerrainGeometry.hpp"

namespace {

// Every match of a window in list order, through NextNear.
template <typename Index, typename Holds>
std::vector<std::size_t> Walk(const Index& index, double x, double y, double d, Holds&& holds)
{
	std::vector<std::size_t> found;
	for (std::size_t j = index.NextNear(x, y, d, 0); j < index.Size(); j = index.NextNear(x, y, d, j + 1))
		if (holds(j)) found.push_back(j);
	return found;
}

TEST(TerrainIndex, PointWindowsMatchBruteForce)
{
	std::mt19937 random(11);
	const double step = 0.004;
	const auto lattice = [&] { return (random() % 500) * step + 1000.0; };
	PointIndex grid(TerrainSearch::Grid, {1000, 1000, 1002, 1002}, 0.001, 3000);
	std::vector<API_Coord3D> points;
	for (int i = 0; i < 3000; ++i) {
		const API_Coord3D p = {lattice(), lattice(), static_cast<double>(random() % 3) * 0.005};
		points.push_back(p);
		grid.Add(p);
	}
	for (int q = 0; q < 1500; ++q) {
		const API_Coord3D p = {lattice(), lattice(), 0.005};
		for (const double d : {step, 0.01, 0.05, 0.2}) {
			const auto near2 = [&](const API_Coord3D& c) { return std::fabs(c.x - p.x) < d && std::fabs(c.y - p.y) < d; };
			bool any = false, any3 = false;
			std::vector<std::size_t> all;
			for (std::size_t i = 0; i < points.size(); ++i)
				if (near2(points[i])) {
					any = true;
					any3 = any3 || std::fabs(points[i].z - p.z) < 0.005;
					all.push_back(i);
				}
			ASSERT_EQ(grid.Near(p, d, 0), any) << q << " " << d;
			ASSERT_EQ(grid.Near(p, d, 0.005), any3) << q << " " << d;
			ASSERT_EQ(Walk(grid, p.x, p.y, d, [&](std::size_t j) { return near2(points[j]); }), all) << q << " " << d;
		}
	}
}

// A point near edge i of a contour: along it, then off it by about IsOnEdge's tolerance there
// (0.01 of the x distance to the edge's end), a little less or a little more.
API_Coord3D NearEdge(const Contour& contour, std::size_t i, std::mt19937& random)
{
	std::uniform_real_distribution<double> unit(0, 1);
	const API_Coord3D& a = contour[i];
	const API_Coord3D& b = contour[i + 1];
	const double t = unit(random), side = random() % 2 ? 1 : -1;
	const double off = side * (0.7 + 0.4 * unit(random)) * 0.01 * (1 + std::fabs(b.x - a.x) * (1 - t));
	return {a.x + (b.x - a.x) * t, a.y + (b.y - a.y) * t + off, 0};
}

Contour Star(int count, double inner, double outer)
{
	Contour contour;
	for (int i = 0; i < count; ++i) {
		const double a = 2 * M_PI * i / count + 0.3, r = i % 2 ? outer : inner;
		contour.push_back({500 + r * std::cos(a), -200 + r * std::sin(a), 0});
	}
	contour.push_back(contour.front());
	return contour;
}

// A turned 1 km square whose last side is a fine zigzag: many points make small cells, so the
// long sides' tolerance bands (about 10 m wide) cross many of them.
Contour ZigzagSquare()
{
	Contour contour;
	const auto turned = [](double x, double y) {
		const double a = 0.1;
		return API_Coord3D{x * std::cos(a) - y * std::sin(a), x * std::sin(a) + y * std::cos(a), 0};
	};
	for (const auto& [x, y] : {std::pair{0.0, 0.0}, std::pair{1000.0, 0.0}, std::pair{1000.0, 1000.0}}) contour.push_back(turned(x, y));
	for (int i = 1; i < 400; ++i) contour.push_back(turned(1000.0 - 2.5 * i, 1000.0 - 3.0 * (i % 2)));
	contour.push_back(turned(0, 1000));
	contour.push_back(contour.front());
	return contour;
}

// A star whose edges run in every direction, a large star of a few long edges, and the
// zigzag square, each growing by points inserted along their edges.
TEST(TerrainIndex, ContourSearchesMatchBruteForce)
{
	std::mt19937 random(5);
	std::uniform_real_distribution<double> unit(0, 1);
	for (Contour contour : {Star(60, 25, 40), Star(7, 1500, 2000), ZigzagSquare()}) {
		PlanBox box = PlanExtent(contour);
		ContourIndex index(contour, TerrainSearch::Grid);
		for (int round = 0; round < 8; ++round) {
			for (int q = 0; q < 600; ++q) {
				// A third of the queries near the longest edge: its band is the widest.
				std::size_t longest = 0;
				for (std::size_t i = 0; i + 1 < contour.size(); ++i)
					if (std::fabs(contour[i + 1].x - contour[i].x) > std::fabs(contour[longest + 1].x - contour[longest].x)) longest = i;
				const API_Coord3D p = q % 3 == 1 ? NearEdge(contour, longest, random)
				                    : q % 3 == 2 ? NearEdge(contour, random() % (contour.size() - 1), random)
				                            : API_Coord3D{box.xMin + (box.xMax - box.xMin) * unit(random), box.yMin + (box.yMax - box.yMin) * unit(random), 0};
				int want = 7, got = 7;
				ASSERT_EQ(index.OnEdge(p, got), IsOnEdge(p, contour, want)) << round << " " << q;
				ASSERT_EQ(got, want) << round << " " << q;
				ASSERT_EQ(index.Inside({p.x, p.y}), InnerPoint({p.x, p.y}, contour)) << round << " " << q;
				for (const double d : {0.01, 0.2, 1.0, 6.0}) {
					const auto holds = [&](std::size_t j) { return std::fabs(contour[j].x - p.x) < d && std::fabs(contour[j].y - p.y) < d; };
					std::vector<std::size_t> all;
					for (std::size_t i = 0; i < contour.size(); ++i)
						if (holds(i)) all.push_back(i);
					ASSERT_EQ(index.PointNear(p.x, p.y, d), !all.empty());
					ASSERT_EQ(Walk(index, p.x, p.y, d, holds), all);
				}
			}
			// Grow the contour where IsOnEdge puts points, as the mesh steps do.
			for (int k = 0; k < 60; ++k) {
				const API_Coord3D p = NearEdge(contour, random() % (contour.size() - 1), random);
				int edge = -1;
				if (!IsOnEdge(p, contour, edge) || edge < 0) continue;
				contour.insert(contour.begin() + edge + 1, p);
				index.Inserted(static_cast<std::size_t>(edge) + 1);
			}
		}
	}
}

} // namespace
