#include "TerrainScenes.hpp"

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <random>

namespace sample {

namespace {

constexpr int kMaxMeshVertices = 65535;

struct Maker {
	const TerrainSpec& spec;
	std::mt19937 random;
	double width, depth;

	explicit Maker(const TerrainSpec& s)
		: spec(s), random(s.seed), width((s.columns - 1) * s.spacing), depth((s.rows - 1) * s.spacing) {}

	double Uniform(double lo, double hi) { return std::uniform_real_distribution<double>(lo, hi)(random); }
	double Round(double v) const { return spec.quantum > 0 ? std::round(v / spec.quantum) * spec.quantum : v; }
	double Height(double x, double y)
	{
		const double hills = 150 + 6 * std::sin(x / (width + 1) * 5.1) * std::cos(y / (depth + 1) * 3.7) + 0.01 * x;
		return Round(hills);
	}
	Simple3dsVertex Vertex(double x, double y, double lift = 0)
	{
		return {static_cast<float>(Round(x)), static_cast<float>(Round(y)), static_cast<float>(Height(x, y) + lift)};
	}

	// Row bands of at most kMaxMeshVertices vertices; neighbouring bands share a row.
	void Surface(Simple3dsScene& scene)
	{
		const int bandRows = std::max(2, kMaxMeshVertices / spec.columns);
		for (int r0 = 0; r0 + 1 < spec.rows; r0 += bandRows - 1) {
			const int r1 = std::min(spec.rows - 1, r0 + bandRows - 1);
			Simple3dsMesh mesh;
			for (int r = r0; r <= r1; ++r)
				for (int c = 0; c < spec.columns; ++c) {
					const bool border = r == 0 || c == 0 || r == spec.rows - 1 || c == spec.columns - 1;
					const double j = border ? 0 : spec.jitter * spec.spacing;
					const double dx = j > 0 ? Uniform(-j, j) : 0, dy = j > 0 ? Uniform(-j, j) : 0;
					mesh.vertices.push_back(Vertex(c * spec.spacing + dx, r * spec.spacing + dy));
				}
			for (int r = 0; r < r1 - r0; ++r)
				for (int c = 0; c + 1 < spec.columns; ++c) {
					const auto at = [&](int rr, int cc) { return static_cast<std::uint16_t>(rr * spec.columns + cc); };
					mesh.faces.push_back({at(r, c), at(r, c + 1), at(r + 1, c + 1)});
					mesh.faces.push_back({at(r, c), at(r + 1, c + 1), at(r + 1, c)});
				}
			scene.meshes.push_back(std::move(mesh));
		}
	}

	// The border rectangle, counter-clockwise; with notches, extra border points and inward dents.
	std::vector<std::array<double, 2>> Outline()
	{
		std::vector<std::array<double, 2>> corners = {{0, 0}, {width, 0}, {width, depth}, {0, depth}};
		std::vector<std::array<double, 2>> outline;
		for (int side = 0; side < 4; ++side) {
			const auto a = corners[side], b = corners[(side + 1) % 4];
			outline.push_back(a);
			if (!spec.notches) continue;
			const double t0 = Uniform(0.2, 0.4), t1 = t0 + Uniform(0.05, 0.2), t2 = Uniform(0.7, 0.9);
			const double nx = -(b[1] - a[1]), ny = b[0] - a[0], len = std::hypot(nx, ny);
			const double dent = Uniform(0.5, 3.0) * spec.spacing / len;
			const auto along = [&](double t, double in) {
				return std::array<double, 2>{Round(a[0] + (b[0] - a[0]) * t + nx * in), Round(a[1] + (b[1] - a[1]) * t + ny * in)};
			};
			outline.push_back(along(t0, 0));
			outline.push_back(along(t0, dent));
			outline.push_back(along(t1, dent));
			outline.push_back(along(t1, 0));
			outline.push_back(along(t2, 0));
		}
		if (spec.closed) outline.push_back(outline.front());
		return outline;
	}

	// A strip across the terrain from the west border, two vertices per station.
	void Road(Simple3dsScene& scene)
	{
		if (spec.roadSegments <= 0) return;
		Simple3dsMesh mesh;
		double y = Uniform(0.3, 0.7) * depth;
		const double half = Uniform(1.5, 3.0);
		for (int i = 0; i <= spec.roadSegments; ++i) {
			const double x = width * i / spec.roadSegments * 0.8;
			y = std::clamp(y + Uniform(-1, 1) * spec.spacing, half, depth - half);
			mesh.vertices.push_back(Vertex(x, y - half, 0.1));
			mesh.vertices.push_back(Vertex(x, y + half, 0.1));
		}
		for (int i = 0; i < spec.roadSegments; ++i) {
			const auto a = static_cast<std::uint16_t>(2 * i);
			mesh.faces.push_back({a, static_cast<std::uint16_t>(a + 2), static_cast<std::uint16_t>(a + 3)});
			mesh.faces.push_back({a, static_cast<std::uint16_t>(a + 3), static_cast<std::uint16_t>(a + 1)});
		}
		scene.meshes.push_back(std::move(mesh));
	}

	// A flat fan near the south border, so some of its ring comes near contour points.
	void Water(Simple3dsScene& scene)
	{
		if (spec.waterRing <= 0) return;
		Simple3dsMesh mesh;
		const double cx = Uniform(0.3, 0.7) * width, cy = Uniform(0.5, 2.0) * spec.spacing, radius = Uniform(1.5, 4.0) * spec.spacing;
		const float z = static_cast<float>(Height(cx, cy) - 0.5);
		mesh.vertices.push_back({static_cast<float>(Round(cx)), static_cast<float>(Round(cy)), z});
		for (int i = 0; i < spec.waterRing; ++i) {
			const double a = 2 * M_PI * i / spec.waterRing;
			mesh.vertices.push_back({static_cast<float>(Round(cx + radius * std::cos(a))), static_cast<float>(Round(cy + radius * std::sin(a))), z});
		}
		for (int i = 0; i < spec.waterRing; ++i)
			mesh.faces.push_back({0, static_cast<std::uint16_t>(1 + i), static_cast<std::uint16_t>(1 + (i + 1) % spec.waterRing)});
		scene.meshes.push_back(std::move(mesh));
	}

	std::string Dxf()
	{
		if (spec.levelLines <= 0) return {};
		std::string text;
		char line[96];
		const auto pair = [&](int code, const char* value) {
			std::snprintf(line, sizeof line, "%3d\n%s\n", code, value);
			text += line;
		};
		const auto real = [&](int code, double value) {
			std::snprintf(line, sizeof line, "%3d\n%.4f\n", code, value);
			text += line;
		};
		pair(0, "SECTION"); pair(2, "HEADER"); pair(9, "$ACADVER"); pair(1, "AC1027"); pair(0, "ENDSEC");
		pair(0, "SECTION"); pair(2, "ENTITIES");
		for (int k = 0; k < spec.levelLines; ++k) {
			const double y0 = Uniform(0, depth), z = spec.flatLevels ? 0 : Round(148 + k % 12);
			pair(0, "POLYLINE"); pair(8, k % 2 ? "H\xC3\x98YDEKURVE" : "h\xC3\xB8ydekurve"); pair(66, "1"); pair(70, "8");
			for (int i = 0; i < spec.levelLinePoints; ++i) {
				pair(0, "VERTEX"); pair(8, "h\xC3\xB8ydekurve");
				real(10, Round(width * i / std::max(1, spec.levelLinePoints - 1)));
				real(20, Round(y0 + Uniform(-0.5, 0.5) * spec.spacing));
				real(30, z);
				pair(70, "32");
			}
			pair(0, "SEQEND");
			pair(0, "LINE"); pair(8, "Veg");
			real(10, 0); real(20, y0); real(30, z); real(11, width); real(21, y0); real(31, z);
		}
		pair(0, "ENDSEC"); pair(0, "EOF");
		return text;
	}
};

} // namespace

Terrain MakeTerrain(const TerrainSpec& spec)
{
	Maker maker(spec);
	Terrain t;
	maker.Surface(t.terrain);
	t.outline = maker.Outline();
	maker.Road(t.road);
	maker.Water(t.water);
	t.dxf = maker.Dxf();
	return t;
}

} // namespace sample
