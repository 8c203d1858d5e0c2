// Tool box, special folders, 3D and rendering settings, host identification, preferences.
// Each returns the host's error code unchanged.
#ifndef KIVEL_ENVIRONMENT_HPP
#define KIVEL_ENVIRONMENT_HPP

#include "ACAPinc.h"

namespace kivel::Environment {

GSErrCode GetToolBoxMode(API_ToolBoxItem& item);
GSErrCode SetToolBoxMode(API_ToolBoxItem& item);
// Sets the tool of that element type: a cleared tool box item with only the type code.
GSErrCode SetToolBoxMode(API_ElemTypeID type);
GSErrCode GetSpecialFolder(API_SpecFolderID* id, IO::Location* location);
GSErrCode Get3DWindowSets(API_3DWindowInfo* info);
GSErrCode Change3DWindowSets(API_3DWindowInfo* info);
GSErrCode Get3DStyle(API_3DStyle* style);
GSErrCode Change3DStyle(API_3DStyle* style);
GSErrCode Get3DProjectionSets(API_3DProjectionInfo* info);
GSErrCode Change3DProjectionSets(API_3DProjectionInfo* info);
GSErrCode GetRenderingSets(void* data, API_RendSetTypeID type, const GS::UniString* name);
GSErrCode ChangeRenderingSets(void* data, API_RendSetTypeID type);
GSErrCode GetStructureDisplay(API_UIStructureDisplay* display);
GSErrCode ChangeStructureDisplay(API_UIStructureDisplay* display);
// The running host; on success the record's language code is valid.
GSErrCode GetServerApplicationInfo(API_ServerApplicationInfo& info);
GSErrCode GetPreferencesPlatform(int* version, int* nByte, void* data, unsigned short* platform);

} // namespace kivel::Environment

#endif
