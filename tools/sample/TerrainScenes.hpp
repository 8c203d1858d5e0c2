// Synthetic terrains for the terrain mesh's tests and benchmark: a gridded terrain surface
// whose border vertices lie on the area outline, optional roads, water and DXF level lines.
// The same spec always gives the same data.
#ifndef VELMORA_SAMPLE_TERRAINSCENES_HPP
#define VELMORA_SAMPLE_TERRAINSCENES_HPP

#include <array>
#include <string>
#include <vector>

#include "Simple3dslib/Simple3dsScene.hpp"

namespace sample {

struct TerrainSpec {
	unsigned seed = 1;
	int columns = 25, rows = 25;   // terrain vertices per side (meshes are split at 65535)
	double spacing = 2.0;          // metres between grid vertices
	double jitter = 0;             // random move of inner vertices, in spacings
	double quantum = 0;            // coordinates and heights rounded to its multiples (0: not)
	bool notches = false;          // the outline has notches and extra points along its border
	bool closed = true;            // the outline repeats its first point
	int roadSegments = 0;          // quads of the road strip
	int waterRing = 0;             // triangles of the water fan
	int levelLines = 0;            // DXF POLYLINEs on the level layer ...
	int levelLinePoints = 0;       // ... of this many points each
	bool flatLevels = false;       // every level line at height 0
};

struct Terrain {
	Simple3dsScene terrain, road, water;
	std::vector<std::array<double, 2>> outline;  // local coordinates
	std::string dxf;                             // an AC1027 drawing; empty without level lines
};

Terrain MakeTerrain(const TerrainSpec& spec);

} // namespace sample

#endif
