// The ortho photo step is not built yet: until OrthoPhoto.cpp lands it answers
// APIERR_NOTSUPPORTED with a report and reads no library list, so the run hands none back
// and the terrain keeps material 0. This file goes when the step is built.
#include "ACAPinc.h"
#include "APICommon.hpp"
#include "Classes/import_map.hpp"

GSErrCode Importer::OrthoPhotoToEmbedded(import_object** /*objects*/, bool /*makeMaterials*/, short& /*surfaceIndex*/,
                                         GS::Array<API_LibraryInfo>& /*libraries*/)
{
	WriteReport_Alert("Importer::OrthoPhotoToEmbedded: the ortho photos are not built yet (%s)", ErrID_To_Name(APIERR_NOTSUPPORTED));
	return APIERR_NOTSUPPORTED;
}
