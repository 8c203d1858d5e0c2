// The DXF base map as 2D elements, in one undoable step.
#include <vector>

#include "APICommon.hpp"
#include "Classes/DrawHelpers.hpp"
#include "Classes/ImportStep.hpp"
#include "Classes/import_map.hpp"
#include "Helpers/BinFileHelper.hpp"
#include "SimpleDxflib/SimpleDxf.hpp"

namespace {

// Every top-level entity in file order.
GSErrCode DrawAllEntities(const SimpleDxf::SimpleDxf& dxf, const API_AttributeIndex& layer, DrawHelpers::Drawing& drawing)
{
	if (dxf.entities == nullptr) return NoError;
	for (const auto& entity : *dxf.entities) DrawHelpers::DrawEntity(drawing, entity.get(), layer, API_Coord3D{0, 0, 0}, 1.0);
	return NoError;
}

} // namespace

void Importer::Place2DElements(const IO::Location& file, const API_AttributeIndex& layer)
{
	std::vector<unsigned char> bytes;
	if (ReadBinaryData(bytes, file) != NoError) return;
	SimpleDxf::SimpleDxf dxf;
	if (!dxf.LoadSceneFromMemory(bytes) && !dxf.error.empty()) WriteReport_AlertPrefixed("Base map: ", dxf.error.c_str());
	if (!dxf.unresolved.empty()) WriteReport_AlertPrefixed("Base map: ", dxf.unresolved.c_str());
	bytes = std::vector<unsigned char>();
	DrawHelpers::Drawing drawing;
	if (dxf.header != nullptr) drawing.encoding = DxfText::EncodingOf(dxf.header->version, dxf.header->codePage);
	else drawing.encoding = DxfText::EncodingOf("", "");
	// Something thrown stops the drawing there: what was drawn before stays.
	RunImportStep("Placing VELMORA elements", OnThrow::Keep, [&] { return DrawAllEntities(dxf, layer, drawing); });
	DrawHelpers::ReportSkipped(drawing);
}
