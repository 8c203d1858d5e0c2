#include "generic/Environment.hpp"

#include "generic/HostApi.hpp"

namespace kivel::Environment {

GSErrCode GetToolBoxMode(API_ToolBoxItem& item) { return KIVEL_HOST_CALL(ACAPI_Toolbox_GetToolBoxMode(&item), ACAPI_Environment(CommandCode("GTBX"), &item)); }
GSErrCode SetToolBoxMode(API_ToolBoxItem& item) { return KIVEL_HOST_CALL(ACAPI_Toolbox_SetToolBoxMode(&item), ACAPI_Environment(CommandCode("STBX"), &item)); }

GSErrCode SetToolBoxMode(API_ElemTypeID type)
{
	API_ToolBoxItem item{};
	item.type.typeID = type;
	return SetToolBoxMode(item);
}

GSErrCode GetSpecialFolder(API_SpecFolderID* id, IO::Location* location)
{
	return KIVEL_HOST_CALL(ACAPI_ProjectSettings_GetSpecFolder(id, location), ACAPI_Environment(CommandCode("GSPF"), id, location));
}

GSErrCode Get3DWindowSets(API_3DWindowInfo* info) { return KIVEL_HOST_CALL(ACAPI_View_Get3DWindowSets(info), ACAPI_Environment(CommandCode("GW3D"), info)); }
GSErrCode Change3DWindowSets(API_3DWindowInfo* info) { return KIVEL_HOST_CALL(ACAPI_View_Change3DWindowSets(info), ACAPI_Environment(CommandCode("CW3D"), info)); }
GSErrCode Get3DStyle(API_3DStyle* style) { return KIVEL_HOST_CALL(ACAPI_View_Get3DStyle(style), ACAPI_Environment(CommandCode("GD3S"), style)); }
GSErrCode Change3DStyle(API_3DStyle* style) { return KIVEL_HOST_CALL(ACAPI_View_Change3DStyle(style), ACAPI_Environment(CommandCode("CD3S"), style)); }
GSErrCode Get3DProjectionSets(API_3DProjectionInfo* info) { return KIVEL_HOST_CALL(ACAPI_View_Get3DProjectionSets(info), ACAPI_Environment(CommandCode("GP3D"), info)); }
GSErrCode Change3DProjectionSets(API_3DProjectionInfo* info) { return KIVEL_HOST_CALL(ACAPI_View_Change3DProjectionSets(info, nullptr), ACAPI_Environment(CommandCode("CP3D"), info, nullptr)); }

GSErrCode GetRenderingSets(void* data, API_RendSetTypeID type, const GS::UniString* name)
{
	return KIVEL_HOST_CALL(ACAPI_Rendering_GetRenderingSets(data, type, name), ACAPI_Environment(CommandCode("GREN"), data, &type, Arg(name)));
}

GSErrCode ChangeRenderingSets(void* data, API_RendSetTypeID type)
{
	return KIVEL_HOST_CALL(ACAPI_Rendering_ChangeRenderingSets(data, type), ACAPI_Environment(CommandCode("CREN"), data, &type));
}

GSErrCode GetStructureDisplay(API_UIStructureDisplay* display) { return KIVEL_HOST_CALL(ACAPI_Navigator_GetStructureDisplay(display), ACAPI_Environment(CommandCode("GSTD"), display)); }
GSErrCode ChangeStructureDisplay(API_UIStructureDisplay* display) { return KIVEL_HOST_CALL(ACAPI_Navigator_ChangeStructureDisplay(display), ACAPI_Environment(CommandCode("CSTD"), display)); }
GSErrCode GetServerApplicationInfo(API_ServerApplicationInfo& info) { return KIVEL_HOST_CALL(ACAPI_AddOnIdentification_Application(&info), ACAPI_Environment(CommandCode("APPL"), &info)); }

GSErrCode GetPreferencesPlatform(int* version, int* nByte, void* data, unsigned short* platform)
{
	return KIVEL_HOST_CALL(ACAPI_Preferences_Platform(version, nByte, static_cast<GSPtr>(data), platform),
	                       ACAPI_GetPreferences_Platform(version, nByte, static_cast<GSPtr>(data), platform));
}

} // namespace kivel::Environment
