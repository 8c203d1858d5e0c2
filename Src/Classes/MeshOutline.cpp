// The mesh polygon's orientation, outward shift and the heights of regularised pieces.
#include <algorithm>
#include <cmath>

#include "Classes/MeshCreator.hpp"

MeshOutline OutlineOf(const Contour& contour)
{
	MeshOutline o;
	for (const API_Coord3D& c : contour) {
		o.points.push_back({c.x, c.y});
		o.heights.push_back(c.z);
	}
	const std::size_t n = o.points.size();
	double area = 0;
	for (std::size_t k = 0; k + 1 < n; ++k) area += o.points[k].x * o.points[k + 1].y - o.points[k + 1].x * o.points[k].y;
	if (area / 2 < 0) {
		std::reverse(o.points.begin(), o.points.end());
		std::reverse(o.heights.begin(), o.heights.end());
	}
	for (std::size_t k = 0; k + 1 < n; ++k) {
		const double dx = o.points[k + 1].x - o.points[k].x, dy = o.points[k + 1].y - o.points[k].y;
		const double length = std::sqrt(dx * dx + dy * dy);
		if (length == 0) continue;   // no direction to move along
		const API_Coord u = {dy / length / 100, -dx / length / 100};
		const auto move = [&](std::size_t i) {
			o.points[i].x += u.x;
			o.points[i].y += u.y;
		};
		move(k);
		move(k + 1);
		if (k == 0) move(n - 1);
		if (k + 2 == n) move(0);
	}
	return o;
}

bool PieceHeight(Int32 source, const API_Coord& at, const MeshOutline& outline, double& z)
{
	if (source < 0 || static_cast<std::size_t>(source) > outline.points.size()) return false;
	if (source > 0) {
		z = outline.heights[static_cast<std::size_t>(source) - 1];
		return true;
	}
	std::size_t nearest = 0;
	double best = INFINITY;
	for (std::size_t i = 0; i < outline.points.size(); ++i) {
		const double dx = outline.points[i].x - at.x, dy = outline.points[i].y - at.y, d = dx * dx + dy * dy;
		if (d < best) {
			best = d;
			nearest = i;
		}
	}
	if (outline.points.empty()) return false;
	z = outline.heights[nearest];
	return true;
}
