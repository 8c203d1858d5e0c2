// The import run is not built yet. Until they are, each of
// these answers APIERR_NOTSUPPORTED with a report, so that an import never looks done;
// this file goes when they are built.
#include "ACAPinc.h"
#include "APICommon.hpp"
#include "Classes/import_map.hpp"

namespace {

GSErrCode NotBuilt(const char* what)
{
	WriteReport_Alert("%s is not built yet (%s)", what, ErrID_To_Name(APIERR_NOTSUPPORTED));
	return APIERR_NOTSUPPORTED;
}

} // namespace

GSErrCode Importer::MapInsert(import_object** /*objects*/, unsigned int /*count*/) { return NotBuilt("Importer::MapInsert: the import run"); }
