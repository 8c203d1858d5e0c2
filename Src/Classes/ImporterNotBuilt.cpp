// The import run and the project geolocation are not built yet. Until they are, each of
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

// The command does not use these values; the geolocation calls after the run report.
GSErrCode Importer::ExtractOrigo(double* east, double* north) const
{
	if (east != nullptr) *east = 0;
	if (north != nullptr) *north = 0;
	return APIERR_NOTSUPPORTED;
}

GSErrCode Importer::ReadPlanGeoLocation(bool& changed)
{
	changed = false;
	return NotBuilt("Importer::ReadPlanGeoLocation: the project geolocation");
}

GSErrCode Importer::SetPlanGeoLocation() { return NotBuilt("Importer::SetPlanGeoLocation: the project geolocation"); }
