// The buildings layer of a map project: a 3DS model whose buildings are placed as the
// "Velmora_Building" part of "VelmoraLib", their geometry carried in its array parameters.
#ifndef VELMORA_HOUSEREADER_HPP
#define VELMORA_HOUSEREADER_HPP

#include "Gdl/GdlMesh.hpp"
#include "Classes/ObjectGenerationInfo.hpp"
#include "Classes/VelmoraLibParts.hpp"
#include "Location.hpp"

// The display values of the buildings layer, as host attribute indices.
struct BuildingDisplay {
	PartDisplay part;
	Int16 surface = 1, surface2 = 1; // matWall and matRoof
};

class HouseReader {
public:
	// Appends one buildings record (import kind 1) per mesh record of the model with at least
	// 3 vertices and one face, at x = y = 0 and z = elevation. Answers the part search's code
	// when "Velmora_Building" is not loaded (reported, nothing read), the mesh reader's code
	// when the model cannot be read (reported by the mesh reader), else 0.
	static GSErrCode Read(const IO::Location& model, GS::Array<ObjectGenerationInfo>& out, short layer, double elevation, short pen,
	                      short fillPen, short backPen, short fill, short surface, short surface2);

	// The records of the meshes, as Read appends them, with the given part.
	static void AppendRecords(const API_LibPart& part, const GS::Array<GS::Array<kivel::GdlMeshMaterialData>>& meshes, short layer,
	                          double elevation, const BuildingDisplay& display, GS::Array<ObjectGenerationInfo>& out);

	// The four tables of one mesh record, laid out like the rows of the GDL statements:
	// vertArray (x, y, z per vertex), vectArray (x, y, z per face normal), edgeArray (vertex1,
	// vertex2, face1, face2, status per edge) and pgonArray (edge count, normal number, 0, then
	// the signed edge numbers per face). Numbers are the record's own, 1-based.
	static ObjectParameter::NumberTable VertTable(const kivel::GdlMeshMaterialData& mesh);
	static ObjectParameter::NumberTable VectTable(const kivel::GdlMeshMaterialData& mesh);
	static ObjectParameter::NumberTable EdgeTable(const kivel::GdlMeshMaterialData& mesh);
	static ObjectParameter::NumberTable PgonTable(const kivel::GdlMeshMaterialData& mesh);
};

#endif
