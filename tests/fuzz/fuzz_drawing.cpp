// Fuzzes the 2D drawing of a base map: any bytes, read as a DXF drawing, draw into the host
// without fault and within the drawing's limits; their texts decode under every encoding.
#include <cstddef>
#include <cstdint>
#include <string_view>

#include "ACAPinc.h"
#include "Classes/DrawHelpers.hpp"
#include "SimpleDxflib/SimpleDxf.hpp"
#include "vhost/Project.hpp"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
	static const bool ready = [] {
		vhost::Reset("", "");
		return true;
	}();
	(void)ready;
	const std::string_view bytes(reinterpret_cast<const char*>(data), size);
	for (const char* version : {"AC1009", "AC1027", ""})
		for (const char* page : {"ANSI_1252", "DOS865", "ANSI_936", ""}) DxfText::Decode(bytes, DxfText::EncodingOf(version, page));

	SimpleDxf::SimpleDxf drawing;
	drawing.LoadSceneFromMemory(data, size);
	DrawHelpers::Drawing run;
	run.maxElements = 500;
	run.maxVisits = 5000;
	if (drawing.header) run.encoding = DxfText::EncodingOf(drawing.header->version, drawing.header->codePage);
	ACAPI_CallUndoableCommand("fuzz", [&] {
		if (drawing.entities)
			for (const auto& entity : *drawing.entities) DrawHelpers::DrawEntity(run, entity.get(), API_AttributeIndex(1), API_Coord3D{}, 1.0);
		return NoError;
	});
	if (run.elements > run.maxElements || run.visits > run.maxVisits + 1) __builtin_trap();
	vhost::Project& p = vhost::Current();
	if (!p.memoryFaults.empty() || !p.exceptions.empty()) __builtin_trap();
	p.state = vhost::UndoableState();
	p.attributes = vhost::AttributeStore();
	p.reports.clear();
	p.undo.clear();
	return 0;
}
