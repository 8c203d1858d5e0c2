#include "generic/Environment.hpp"

#include "generic/HostApi.hpp"

namespace kivel::Environment {

GSErrCode GetToolBoxMode(API_ToolBoxItem& item) { return ACAPI_Toolbox_GetToolBoxMode(&item); }
GSErrCode SetToolBoxMode(API_ToolBoxItem& item) { return ACAPI_Toolbox_SetToolBoxMode(&item); }

GSErrCode SetToolBoxMode(API_ElemTypeID type)
{
	API_ToolBoxItem item{};
	item.type.typeID = type;
	return SetToolBoxMode(item);
}

GSErrCode GetSpecialFolder(API_SpecFolderID* id, IO::Location* location) { return ACAPI_ProjectSettings_GetSpecFolder(id, location); }
GSErrCode Get3DWindowSets(API_3DWindowInfo* info) { return ACAPI_View_Get3DWindowSets(info); }
GSErrCode Change3DWindowSets(API_3DWindowInfo* info) { return ACAPI_View_Change3DWindowSets(info); }
GSErrCode Get3DStyle(API_3DStyle* style) { return ACAPI_View_Get3DStyle(style); }
GSErrCode Change3DStyle(API_3DStyle* style) { return ACAPI_View_Change3DStyle(style); }
GSErrCode Get3DProjectionSets(API_3DProjectionInfo* info) { return ACAPI_View_Get3DProjectionSets(info); }
GSErrCode Change3DProjectionSets(API_3DProjectionInfo* info) { return ACAPI_View_Change3DProjectionSets(info, nullptr); }
GSErrCode GetRenderingSets(void* data, API_RendSetTypeID type, const GS::UniString* name) { return ACAPI_Rendering_GetRenderingSets(data, type, name); }
GSErrCode ChangeRenderingSets(void* data, API_RendSetTypeID type) { return ACAPI_Rendering_ChangeRenderingSets(data, type); }
GSErrCode GetStructureDisplay(API_UIStructureDisplay* display) { return ACAPI_Navigator_GetStructureDisplay(display); }
GSErrCode ChangeStructureDisplay(API_UIStructureDisplay* display) { return ACAPI_Navigator_ChangeStructureDisplay(display); }
GSErrCode GetServerApplicationInfo(API_ServerApplicationInfo& info) { return ACAPI_AddOnIdentification_Application(&info); }

GSErrCode GetPreferencesPlatform(int* version, int* nByte, void* data, unsigned short* platform)
{
	return ACAPI_Preferences_Platform(version, nByte, static_cast<GSPtr>(data), platform);
}

} // namespace kivel::Environment
