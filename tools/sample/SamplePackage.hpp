// Our own sample map package: a project folder laid out as map providers deliver it, with
// every layer and side file the import reads, and the same package as a ZIP.
#ifndef VELMORA_SAMPLE_PACKAGE_HPP
#define VELMORA_SAMPLE_PACKAGE_HPP

#include <cstddef>
#include <string>

namespace sample {

struct PackageOptions {
	int grid = 24;                // terrain grid points per side (2 to MaxGrid); scales every layer
	bool hedgeName = false;       // the vegetation layer as "Hekk.3ds" instead of "Vegetasjon.3ds"
	int trees = 0;                // rows of the tree list; 0: max(10, grid)
	std::size_t baseMapBytes = 0; // the base map grows to about this size; 0: the small map
};
constexpr int MaxGrid = 4096;

// The terrain height at (x, y) in metres: one hill on a plane, so level lines are circles.
double TerrainHeight(double x, double y);
constexpr double AreaWidth = 400.0, AreaDepth = 300.0;

// Writes the project folder `folder` (it must not exist yet). Answers an empty text on
// success, else what failed.
std::string MakeProjectFolder(const std::string& folder, const PackageOptions& options);

// Writes the project as a ZIP whose entries start with "3D-modell/".
std::string MakeProjectZip(const std::string& zipPath, const PackageOptions& options);

} // namespace sample

#endif
