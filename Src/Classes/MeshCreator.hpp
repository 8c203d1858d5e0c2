// The terrain mesh of an import: from the area outline, the terrain, road and water surfaces
// (3DS) and the level lines of the base map (DXF) to one host mesh element.
#ifndef VELMORA_MESHCREATOR_HPP
#define VELMORA_MESHCREATOR_HPP

#include <vector>

#include "ACAPinc.h"
#include "APIdefs_Attributes.h"
#include "Array.hpp"
#include "Classes/TerrainGeometry.hpp"
#include "Location.hpp"
#include "Simple3dslib/Simple3dsScene.hpp"

namespace SimpleDxf {
class SimpleDxf;
}

// One terrain job, as the import run fills it.
struct MeshCreatorOptions {
	bool useLevelLines = false;       // take level lines from dxfFile
	IO::Location terrainFile;         // 3DS, required
	IO::Location waterFile;           // 3DS; empty when the job has none
	IO::Location roadFile;            // 3DS; empty when the job has none
	API_Coord3D offset {};               // placement offset; z is not used
	double angle = 0;                 // placement rotation, radians, counter-clockwise
	Int16 pen = 0;                    // carried, not read here
	Int16 fillPen = 0;
	Int16 backgroundPen = 0;
	Int16 fillType = 0;               // fill attribute index
	Int16 surface = 0;                // carried, not read here
	Int16 meshPen = 61;
	GS::Array<API_Coord> areaPolygon; // building-area outline, local coordinates
	bool optionFlag = false;          // carried, not read here
	API_AttributeIndex material {};      // surface material; 0 for none
	Int16 layer = 0;                  // layer attribute index
	double elevation = 0;             // carried, not read here
	IO::Location dxfFile;             // base map with level lines; empty when none
	bool baseMapDrawn = false;        // the run also draws dxfFile as 2D elements
};

// The contour of a run with its index-aligned search radii and height marks: a point is
// lifted when its height came from the surfaces (a vertex, an inserted point near it, a
// neighbour, the water), not from the lowest height.
struct TerrainContour {
	Contour points;
	std::vector<double> radii;
	std::vector<char> lifted;

	// Appends a point with radius 15.0.
	void Add(const API_Coord3D& p, bool isLifted);
	void Insert(std::size_t k, const API_Coord3D& p, bool isLifted);
};

// What the element is made of: plan coordinates, heights lowered by zMin.
struct TerrainResult {
	Contour contour;
	std::vector<API_Coord3D> elevationPoints;
	ElevationLines levelLines;
	double zMin = 0;                  // the lowest height of the loaded surfaces
};

// The mesh polygon as the element takes it (zero-based here, one-based in the memo): the
// contour's points and heights, turned counter-clockwise when the signed area of its
// consecutive pairs is negative (points and heights together), then every point moved 0.01
// outward along each edge it ends (edges of zero length move nothing); the first and the
// last point also take the shift of the last and the first edge.
struct MeshOutline {
	std::vector<API_Coord> points;
	std::vector<double> heights;
};
MeshOutline OutlineOf(const Contour& contour);

// The height of a point of a regularised piece from its source: the outline point source
// (one-based), or for a new point (0) that of the outline point nearest in plan (the first of
// equals). False when source names no outline point.
bool PieceHeight(Int32 source, const API_Coord& at, const MeshOutline& outline, double& z);

class CMeshCreator {
public:
	explicit CMeshCreator(const MeshCreatorOptions& options);

	// Builds the mesh of the job: 0 and the element(s) made, or the step's error code (the
	// failure is reported where it happens).
	GSErrCode CreateMesh();
	// The mesh made by the last CreateMesh (the last piece when the outline was split); null
	// before.
	API_Guid GetMeshGuid() const { return meshGuid; }
	// Every piece made, in order (also those made before a later piece failed).
	const std::vector<API_Guid>& GetMeshGuids() const { return meshGuids; }
	// The searches of the steps below (the grids unless told otherwise).
	void SetSearch(TerrainSearch search) { search_ = search; }
	const MeshTranOptions& Placement() const { return tran_; }

	// Read a whole file and parse it: 0, or the read error (reported). A parse that stopped
	// early (damaged data, or memory ran out) is reported and answers 0: the run goes on with
	// what was read.
	static GSErrCode LoadDxfFile(SimpleDxf::SimpleDxf& drawing, const IO::Location& location);
	static GSErrCode Load3dsFile(Simple3dsScene& scene, const IO::Location& location);

	// Contour, heights, level lines and elevation points from loaded surfaces (an absent road
	// or water surface is an empty scene). False, with nothing made, when no terrain mesh
	// has a vertex.
	bool BuildTerrain(const Simple3dsScene& terrain, const Simple3dsScene& road, const Simple3dsScene& water,
	                  const SimpleDxf::SimpleDxf& drawing, TerrainResult& result) const;

	// The steps of BuildTerrain, in its order.
	// Extends box by every raw vertex and inserts every placed terrain vertex that lies on a
	// contour edge and not within 0.2 of a contour point into the contour and extraPoints.
	void CollectExtraContourPoints(std::vector<API_Coord3D>& extraPoints, API_Box3D& box, const Simple3dsScene& scene,
	                               TerrainContour& contour) const;
	// The same for a road or water surface, without the 0.2 test.
	void AddExtraContourPoints(std::vector<API_Coord3D>& extraPoints, API_Box3D& box, const Simple3dsScene& scene,
	                           TerrainContour& contour) const;
	// Contour points with no extra point within 1.0 in x, y and z get zMin and are not lifted;
	// the others keep their height and are lifted.
	void MarkContourHeights(TerrainContour& contour, const std::vector<API_Coord3D>& extraPoints, double zMin) const;
	// Gives every unlifted contour point the height of the last lifted contour point (then
	// source) in order within its shrinking search radius.
	void ElevateContour(TerrainContour& contour, const std::vector<API_Coord3D>& sources) const;
	// Appends the placed polylines and lines of the layer "høydekurve" (any letter case);
	// none at all when every such point has height 0.
	void AddLevelLines(ElevationLines& lines, const SimpleDxf::SimpleDxf& drawing) const;
	// Appends the placed terrain vertices inside the contour that are not near the contour,
	// a level-line point or an earlier elevation point.
	void AddElevationPoints(std::vector<API_Coord3D>& points, const Contour& contour, const ElevationLines& lines,
	                        const Simple3dsScene& terrain) const;
	// Appends road triangle edges (raw coordinates) inside the contour as two-point lines.
	void AddElevationLinesFromRoad(ElevationLines& lines, const Contour& contour, const Simple3dsScene& road) const;
	// Appends water triangle edges the same way; an edge near one contour point lifts it to
	// the water height instead.
	void AddElevationLinesFromWater(ElevationLines& lines, TerrainContour& contour, const Simple3dsScene& water) const;
	// Lowers every height by zMin.
	static void OffsetZCoords(ElevationLines& lines, std::vector<API_Coord3D>& points, Contour& contour, double zMin);

	// Creates the mesh element of the contour (heights lowered by zMin) in the active story,
	// with every level line and every elevation point (a one-point line after them); an
	// outline the host finds irregular is regularised and one mesh made per piece. 0, or the
	// failing step's code (-108 when memory runs out).
	GSErrCode CreateMeshImp(const Contour& contour, const std::vector<API_Coord3D>& points, const ElevationLines& lines,
	                        double zMin);
	// Writes the level-line coordinates (ids 1, 2, ... in order) and running ends into the
	// memo's tables, which hold room for them: the lines first, then each point as a line.
	static void FillMemoCoords(const std::vector<API_Coord3D>& points, const ElevationLines& lines, API_ElementMemo& memo);

private:
	GSErrCode CreatePieces(API_Element& element, const API_ElementMemo& memo, const MeshOutline& outline,
	                       const std::vector<API_Coord3D>& points, const ElevationLines& lines);
	void InsertOnEdges(std::vector<API_Coord3D>& extraPoints, API_Box3D& box, const Simple3dsScene& scene,
	                   TerrainContour& contour, bool keepAwayFromPoints) const;

	MeshCreatorOptions options_;
	MeshTranOptions tran_;
	API_Guid meshGuid;
	std::vector<API_Guid> meshGuids;
	TerrainSearch search_ = TerrainSearch::Grid;
};

#endif
