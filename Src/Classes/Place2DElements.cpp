// The DXF base map as 2D elements, in one undoable step.
#include <exception>
#include <vector>

#include "APICommon.hpp"
#include "Classes/DrawHelpers.hpp"
#include "Classes/import_map.hpp"
#include "Helpers/BinFileHelper.hpp"
#include "SimpleDxflib/SimpleDxf.hpp"

namespace {

// Every top-level entity in file order. Nothing thrown leaves it: what was drawn before
// stays and the failure is reported.
GSErrCode DrawAllEntities(const SimpleDxf::SimpleDxf& dxf, const API_AttributeIndex& layer, DrawHelpers::Drawing& drawing)
{
	if (dxf.entities == nullptr) return NoError;
	try {
		for (const auto& entity : *dxf.entities) DrawHelpers::DrawEntity(drawing, entity.get(), layer, API_Coord3D{0, 0, 0}, 1.0);
	} catch (const std::exception& e) {
		WriteReport_AlertPrefixed("The 2D drawing stopped: ", e.what());
	} catch (...) {
		WriteReport_AlertPrefixed("The 2D drawing stopped: ", "unknown error");
	}
	return NoError;
}

} // namespace

void Importer::Place2DElements(const IO::Location& file, const API_AttributeIndex& layer)
{
	std::vector<unsigned char> bytes;
	if (ReadBinaryData(bytes, file) != NoError) return;
	SimpleDxf::SimpleDxf dxf;
	if (!dxf.LoadSceneFromMemory(bytes) && !dxf.error.empty()) WriteReport_AlertPrefixed("Base map: ", dxf.error.c_str());
	bytes = std::vector<unsigned char>();
	DrawHelpers::Drawing drawing;
	if (dxf.header != nullptr) drawing.encoding = DxfText::EncodingOf(dxf.header->version, dxf.header->codePage);
	else drawing.encoding = DxfText::EncodingOf("", "");
	ACAPI_CallUndoableCommand("Placing VELMORA elements", [&] { return DrawAllEntities(dxf, layer, drawing); });
	DrawHelpers::ReportSkipped(drawing);
}
