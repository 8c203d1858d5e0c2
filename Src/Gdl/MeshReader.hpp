// Reads a 3DS file into GDL mesh records: per mesh, one record per material (a first one for
// faces of no material), each with its own numbered vertices, one normal per face, edges that
// know their faces and whether they are soft (normals 45 degrees apart or less), and faces as
// signed edge lists. Degenerate faces are dropped and counted.
#ifndef VELMORA_GDL_MESHREADER_HPP
#define VELMORA_GDL_MESHREADER_HPP

#include <map>
#include <utility>

#include "ACAPinc.h"
#include "Gdl/GdlMesh.hpp"
#include "Simple3dslib/Simple3dsScene.hpp"

namespace kivel {

// One edge candidate while a record is built. face1/sign1 is the face that made it (sign +1
// when that face walks it from vertex1 to vertex2); face2 is -1 and sign2 0 while unset.
struct AcEdgeData {
	int vertex1 = 0; // smaller 3DS vertex index
	int vertex2 = 0; // larger
	int face1 = 0;   // mesh face index
	int sign1 = 0;
	int face2 = -1;
	int sign2 = 0;
	int status = 0; // 0 visible, 2 soft
	int index = 0;  // 1-based creation number within the record
};

// What BuildMeshRecords dropped.
struct MeshFaceCounts {
	int invalid = 0;    // degenerate, non-finite or out-of-range faces
	int duplicated = 0; // faces repeating another's three vertices (only when checked)
};

// The records of one mesh: materialCount + 1 of them, for material -1, 0, 1, ... Faces of no
// material group (Simple3dsNoMaterial, or an index past the scene's materials) go to the -1
// record. Scales the mesh's vertices by 1000 in place (single precision) first; the records'
// vertices carry the unscaled values. A face is dropped and counted as invalid when a corner
// index is past the vertices (or past the texture coordinates the mesh has), a corner is not
// finite, or the triangle is degenerate (two corners equal, or no area). With checkDuplicates,
// a face with the same three vertices as an earlier one is dropped and counted as duplicated.
// The records' normals are finite: a component that is not (a kept sliver's 0/0) is 0 there.
GS::Array<GdlMeshMaterialData> BuildMeshRecords(Simple3dsMesh& mesh, int materialCount, int smoothingAngle,
                                                bool checkDuplicates, MeshFaceCounts& counts);

class MeshReader {
public:
	explicit MeshReader(const IO::Location& location);

	// Reads and parses the file and builds the records of every mesh. Answers 0 (also for a
	// file without meshes), the whole-file read's error ("Error: 3DS File (%s) not found!" is
	// reported) or 2 when parsing fails ("Error while parsing 3DS File (%s)!", or "Error: File
	// (%s) does not fit in memory!" when memory ran out); after a
	// failure the meshes are empty.
	int Read();

	// The parsed scene, its mesh vertices scaled by 1000.
	const Simple3dsScene& GetScene() const { return scene; }
	// One array of records per 3DS mesh, in scene order.
	const GS::Array<GS::Array<GdlMeshMaterialData>>& GetMeshes() const { return meshes; }
	// Faces dropped as invalid, over all meshes.
	int GetInvalidFaceCount() const { return invalidFaceCount; }
	// Faces dropped as duplicates: 0, since the check is off.
	int GetDuplicatedFaceCount() const { return duplicatedFaceCount; }

private:
	IO::Location location;
	Simple3dsScene scene;
	int smoothingAngle = 45;
	bool checkDuplicates = false;
	GS::Array<GS::Array<GdlMeshMaterialData>> meshes;
	int duplicatedFaceCount = 0;
	int invalidFaceCount = 0;
};

} // namespace kivel

#endif
