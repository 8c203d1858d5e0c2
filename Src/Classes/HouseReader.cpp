#include "HouseReader.hpp"

#include "Gdl/MeshReader.hpp"

namespace {

constexpr const char* kBuildingPart = "Velmora_Building";

bool IsBuilding(const kivel::GdlMeshMaterialData& mesh) { return mesh.vertices.GetSize() >= 3 && !mesh.faces.IsEmpty(); }

template <typename T, typename RowOf>
ObjectParameter::NumberTable Table(const GS::Array<T>& items, RowOf rowOf)
{
	ObjectParameter::NumberTable table;
	table.SetCapacity(items.GetSize());
	for (const T& item : items) table.Push(rowOf(item));
	return table;
}

} // namespace

ObjectParameter::NumberTable HouseReader::VertTable(const kivel::GdlMeshMaterialData& mesh)
{
	return Table(mesh.vertices, [](const kivel::Coord3DUV& v) { return GS::Array<double>{v.x, v.y, v.z}; });
}

ObjectParameter::NumberTable HouseReader::VectTable(const kivel::GdlMeshMaterialData& mesh)
{
	return Table(mesh.normals, [](const Geometry::Vector3<double>& n) { return GS::Array<double>{n.x, n.y, n.z}; });
}

ObjectParameter::NumberTable HouseReader::EdgeTable(const kivel::GdlMeshMaterialData& mesh)
{
	return Table(mesh.edges, [](const kivel::GdlEdge& e) {
		return GS::Array<double>{double(e.vertex1), double(e.vertex2), double(e.face1), double(e.face2), double(e.status)};
	});
}

ObjectParameter::NumberTable HouseReader::PgonTable(const kivel::GdlMeshMaterialData& mesh)
{
	return Table(mesh.faces, [](const kivel::GdlFace& f) {
		GS::Array<double> row{double(f.edges.GetSize()), double(f.normalIndex), 0.0};
		for (const int edge : f.edges) row.Push(edge);
		return row;
	});
}

void HouseReader::AppendRecords(const API_LibPart& part, const GS::Array<GS::Array<kivel::GdlMeshMaterialData>>& meshes, short layer,
                                double elevation, const BuildingDisplay& display, GS::Array<ObjectGenerationInfo>& out)
{
	for (const GS::Array<kivel::GdlMeshMaterialData>& records : meshes)
		for (const kivel::GdlMeshMaterialData& mesh : records) {
			if (!IsBuilding(mesh)) continue;
			ObjectGenerationInfo record(part, ImportBuildings, layer, elevation);
			record.AddParameter(ObjectParameter(APIParT_Length, GS::UniString("vertArray"), VertTable(mesh)));
			record.AddParameter(ObjectParameter(APIParT_Length, GS::UniString("vectArray"), VectTable(mesh)));
			record.AddParameter(ObjectParameter(APIParT_Integer, GS::UniString("edgeArray"), EdgeTable(mesh)));
			record.AddParameter(ObjectParameter(APIParT_Integer, GS::UniString("pgonArray"), PgonTable(mesh)));
			AddDisplayParameters(record, display.part);
			record.AddParameter(ObjectParameter(APIParT_Mater, GS::UniString("matWall"), double(display.surface)));
			record.AddParameter(ObjectParameter(APIParT_Mater, GS::UniString("matRoof"), double(display.surface2)));
			out.Push(std::move(record));
		}
}

GSErrCode HouseReader::Read(const IO::Location& model, GS::Array<ObjectGenerationInfo>& out, short layer, double elevation, short pen,
                            short fillPen, short backPen, short fill, short surface, short surface2)
{
	API_LibPart part;
	BNZeroMemory(&part, sizeof part);
	if (const GSErrCode err = FindVelmoraLibPart(part, kBuildingPart); err != NoError) return err;
	kivel::MeshReader reader(model);
	if (const GSErrCode err = reader.Read(); err != NoError) return err;
	AppendRecords(part, reader.GetMeshes(), layer, elevation, BuildingDisplay{{pen, fillPen, backPen, fill}, surface, surface2}, out);
	return NoError;
}
