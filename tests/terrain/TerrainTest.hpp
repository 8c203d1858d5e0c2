// Helpers of the terrain mesh tests: small scenes, drawings and options made by hand.
#ifndef VELMORA_TERRAINTEST_HPP
#define VELMORA_TERRAINTEST_HPP

#include <array>
#include <cstring>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "Classes/MeshCreator.hpp"
#include "SimpleDxflib/SimpleDxf.hpp"

namespace terraintest {

// One mesh of loose vertices.
inline Simple3dsScene Points(const std::vector<Simple3dsVertex>& vertices)
{
	Simple3dsScene scene;
	scene.meshes.push_back({vertices, {}, {}});
	return scene;
}

// One mesh of separate triangles (three vertices each).
inline Simple3dsScene Triangles(const std::vector<std::array<Simple3dsVertex, 3>>& triangles)
{
	Simple3dsScene scene;
	Simple3dsMesh mesh;
	for (const auto& t : triangles) {
		const auto at = static_cast<std::uint16_t>(mesh.vertices.size());
		mesh.vertices.insert(mesh.vertices.end(), t.begin(), t.end());
		mesh.faces.push_back({at, static_cast<std::uint16_t>(at + 1), static_cast<std::uint16_t>(at + 2), 0, 0});
	}
	scene.meshes.push_back(mesh);
	return scene;
}

inline MeshCreatorOptions Options(const std::vector<API_Coord>& outline, double angle = 0, API_Coord3D offset = {})
{
	MeshCreatorOptions o;
	for (const API_Coord& c : outline) o.areaPolygon.Push(c);
	o.angle = angle;
	o.offset = offset;
	return o;
}

// The 10 m square, closed.
inline std::vector<API_Coord> Square(double side = 10) { return {{0, 0}, {side, 0}, {side, side}, {0, side}, {0, 0}}; }

inline void Load(SimpleDxf::SimpleDxf& drawing, const std::string& text)
{
	ASSERT_TRUE(drawing.LoadSceneFromMemory(reinterpret_cast<const unsigned char*>(text.data()), text.size())) << drawing.error;
}

// The same doubles, bit for bit.
inline bool Same(double a, double b) { return std::memcmp(&a, &b, sizeof a) == 0; }
inline bool Same(const API_Coord3D& a, const API_Coord3D& b) { return Same(a.x, b.x) && Same(a.y, b.y) && Same(a.z, b.z); }
inline ::testing::AssertionResult SamePoints(const std::vector<API_Coord3D>& a, const std::vector<API_Coord3D>& b)
{
	if (a.size() != b.size()) return ::testing::AssertionFailure() << "sizes " << a.size() << " and " << b.size();
	for (std::size_t i = 0; i < a.size(); ++i)
		if (!Same(a[i], b[i]))
			return ::testing::AssertionFailure() << "point " << i << ": (" << a[i].x << ", " << a[i].y << ", " << a[i].z
			                                     << ") and (" << b[i].x << ", " << b[i].y << ", " << b[i].z << ")";
	return ::testing::AssertionSuccess();
}
inline ::testing::AssertionResult SameLines(const ElevationLines& a, const ElevationLines& b)
{
	if (a.lines.size() != b.lines.size()) return ::testing::AssertionFailure() << "line counts " << a.lines.size() << " and " << b.lines.size();
	for (std::size_t i = 0; i < a.lines.size(); ++i)
		if (auto same = SamePoints(a.lines[i].points, b.lines[i].points); !same) return same << " of line " << i;
	return ::testing::AssertionSuccess();
}

} // namespace terraintest

#endif
