#include "VelmoraLibParts.hpp"

#include "ACAPinc.h"
#include "generic/LibraryManager.hpp"

GSErrCode FindVelmoraLibPart(API_LibPart& part, const char* name)
{
	const GSErrCode err = kivel::LibraryManager::SearchByLibraryPartName(part, GS::UniString(name), false, false, false);
	if (err != NoError)
		ACAPI_WriteReport("Can't find '%s' object! The library is not loaded or the product library is outdated!", true, name);
	return err;
}

void AddDisplayParameters(ObjectGenerationInfo& record, const PartDisplay& display)
{
	const struct { const char* name; API_AddParID type; Int16 value; } params[] = {
		{"gs_cont_pen", APIParT_PenCol, display.pen},
		{"gs_fill_type", APIParT_FillPat, display.fill},
		{"gs_fill_pen", APIParT_PenCol, display.fillPen},
		{"gs_back_pen", APIParT_PenCol, display.backPen},
		{"pen3D", APIParT_PenCol, display.pen},
	};
	for (const auto& p : params) record.AddParameter(ObjectParameter(p.type, GS::UniString(p.name), static_cast<double>(p.value)));
}
