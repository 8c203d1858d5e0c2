// The host-26 entry points (ACAPI_Host26.h), built when the host is built for generation 26:
// each forwards to the later call that does the same on the one project model.
#include "ACAPinc.h"

#if VELMORA_HOST_API < 27

#include <string>
#include <utility>

#include "NamedCall.hpp"
#include "vhost/Project.hpp"

namespace {

using Command = GSErrCode (*)(void* par1, void* par2, void* par3);

struct Entry {
	char code[5];
	Command run;
};

template <typename T>
T* P(void* par) { return static_cast<T*>(par); }
// A scalar passed by its address; none reads as zero.
template <typename T>
T V(void* par) { return par != nullptr ? *static_cast<T*>(par) : T{}; }
template <typename F>
F* Fn(void* par) { return reinterpret_cast<F*>(par); }

// The commands of each dispatcher, with the later call each stands for.
const Entry kEnvironment[] = {
	{"GSTO", [](void* a, void* b, void*) { return ACAPI_ProjectSetting_GetStorySettings(P<API_StoryInfo>(a), V<UInt32>(b)); }},
	{"CSTO", [](void* a, void*, void*) { return ACAPI_ProjectSetting_ChangeStorySettings(P<API_StoryCmdType>(a)); }},
	{"GTBX", [](void* a, void*, void*) { return ACAPI_Toolbox_GetToolBoxMode(P<API_ToolBoxItem>(a)); }},
	{"STBX", [](void* a, void*, void*) { return ACAPI_Toolbox_SetToolBoxMode(P<API_ToolBoxItem>(a)); }},
	{"GSPF", [](void* a, void* b, void*) { return ACAPI_ProjectSettings_GetSpecFolder(P<API_SpecFolderID>(a), P<IO::Location>(b)); }},
	{"GW3D", [](void* a, void*, void*) { return ACAPI_View_Get3DWindowSets(P<API_3DWindowInfo>(a)); }},
	{"CW3D", [](void* a, void*, void*) { return ACAPI_View_Change3DWindowSets(P<API_3DWindowInfo>(a)); }},
	{"GD3S", [](void* a, void*, void*) { return ACAPI_View_Get3DStyle(P<API_3DStyle>(a)); }},
	{"CD3S", [](void* a, void*, void*) { return ACAPI_View_Change3DStyle(P<API_3DStyle>(a)); }},
	{"GP3D", [](void* a, void*, void*) { return ACAPI_View_Get3DProjectionSets(P<API_3DProjectionInfo>(a)); }},
	{"CP3D", [](void* a, void* b, void*) { return ACAPI_View_Change3DProjectionSets(P<API_3DProjectionInfo>(a), b); }},
	{"GREN", [](void* a, void* b, void* c) { return ACAPI_Rendering_GetRenderingSets(a, V<API_RendSetTypeID>(b), P<const GS::UniString>(c)); }},
	{"CREN", [](void* a, void* b, void*) { return ACAPI_Rendering_ChangeRenderingSets(a, V<API_RendSetTypeID>(b)); }},
	{"GSTD", [](void* a, void*, void*) { return ACAPI_Navigator_GetStructureDisplay(P<API_UIStructureDisplay>(a)); }},
	{"CSTD", [](void* a, void*, void*) { return ACAPI_Navigator_ChangeStructureDisplay(P<API_UIStructureDisplay>(a)); }},
	{"APPL", [](void* a, void*, void*) { return ACAPI_AddOnIdentification_Application(P<API_ServerApplicationInfo>(a)); }},
	{"GLIB", [](void* a, void* b, void*) { return ACAPI_LibraryManagement_GetLibraries(P<GS::Array<API_LibraryInfo>>(a), P<Int32>(b)); }},
	{"SLIB", [](void* a, void*, void*) { return ACAPI_LibraryManagement_SetLibraries(P<GS::Array<API_LibraryInfo>>(a)); }},
	{"ALIB", [](void* a, void*, void*) { return ACAPI_LibraryManagement_AddLibraries(P<IO::Location>(a)); }},
	{"OWLP", [](void* a, void*, void*) { return ACAPI_LibraryManagement_OverwriteLibPart(V<bool>(a)); }},
};

const Entry kDatabase[] = {
	{"GOFS", [](void* a, void*, void*) { return ACAPI_ProjectSetting_GetOffset(P<API_Coord>(a)); }},
	{"S3DS", [](void* a, void*, void*) { return ACAPI_Sight_Switch3DSight(V<API_3DSightID>(a)); }},
};

const Entry kGoodies[] = {
	{"ICLP", [](void* a, void*, void*) { return ACAPI_AddOnAddOnCommunication_InitMDCLParameterList(P<GSHandle>(a)); }},
	{"FCLP", [](void* a, void*, void*) { return ACAPI_AddOnAddOnCommunication_FreeMDCLParameterList(P<GSHandle>(a)); }},
	{"NCLP", [](void* a, void* b, void*) { return ACAPI_AddOnAddOnCommunication_GetMDCLParameterNum(P<char*>(a), P<Int32>(b)); }},
	{"GCLP", [](void* a, void* b, void*) { return ACAPI_AddOnAddOnCommunication_GetMDCLParameter(P<char*>(a), P<API_MDCLParameter>(b)); }},
	{"ACLP", [](void* a, void* b, void*) { return ACAPI_AddOnAddOnCommunication_AddMDCLParameter(P<char*>(a), P<API_MDCLParameter>(b)); }},
	{"CCLP", [](void* a, void* b, void*) { return ACAPI_AddOnAddOnCommunication_ChangeMDCLParameter(P<char*>(a), P<API_MDCLParameter>(b)); }},
	{"OPAR", [](void* a, void*, void*) { return ACAPI_LibraryPart_OpenParameters(P<API_ParamOwnerType>(a)); }},
	{"CPAR", [](void*, void*, void*) { return ACAPI_LibraryPart_CloseParameters(); }},
	{"GPAR", [](void* a, void*, void*) { return ACAPI_LibraryPart_GetActParameters(P<API_GetParamsType>(a)); }},
	{"GPVL", [](void* a, void*, void*) { return ACAPI_LibraryPart_GetParamValues(P<API_GetParamValuesType>(a)); }},
	{"CHGP", [](void* a, void*, void*) { return ACAPI_LibraryPart_ChangeAParameter(P<API_ChangeParamType>(a)); }},
	{"COMP", [](void* a, void* b, void*) { return ACAPI_LibraryPart_CompareLibPartUnIds(P<const char>(a), P<const char>(b)); }},
	{"GLUI", [](void* a, void* b, void*) { return ACAPI_LibraryPart_GetBuiltInLibpartUnId(V<short>(a), P<char>(b)); }},
	{"TRIP", [](void* a, void* b, void*) { return ACAPI_Polygon_TriangulatePoly(P<API_ElementMemo>(a), P<API_Coord**>(b)); }},
	{"SELM", [](void* a, void* b, void*) { return ACAPI_Element_SearchElementByCoord(P<const API_ElemSearchPars>(a), P<API_Guid>(b)); }},
	{"RPAS", [](void* a, void* b, void*) { return ACAPI_LibraryManagement_RunGDLParScript(P<const API_Elem_Head>(a), V<UInt32>(b)); }},
};

const Entry kInterface[] = {
	{"OBJS", [](void* a, void*, void*) { return ACAPI_Dialog_ObjectSettings(P<API_ObjectSettingsPars>(a)); }},
	{"SETD", [](void* a, void* b, void* c) { return ACAPI_Dialog_SettingsDialog(P<API_ToolBoxItem>(a), P<const API_Guid>(b), c); }},
	{"IPOI", [](void* a, void* b, void* c) { return ACAPI_UserInput_GetPoint(P<API_GetPointType>(a), Fn<RubberLineInfoProc>(b), Fn<Get3DComponentProc>(c)); }},
	{"ILIN", [](void* a, void* b, void*) { return ACAPI_UserInput_GetLine(P<API_GetLineType>(a), Fn<RubberLineInfoProc>(b)); }},
	{"IARC", [](void* a, void* b, void*) { return ACAPI_UserInput_GetArc(P<API_GetArcType>(a), Fn<RubberLineInfoProc>(b)); }},
	{"IPOL", [](void* a, void* b, void*) { return ACAPI_UserInput_GetPoly(P<API_GetPolyType>(a), P<API_RubberPolyCallbacks>(b)); }},
	{"INCA", [](void*, void*, void*) { return ACAPI_UserInput_CancelUserInput(); }},
	{"INOK", [](void*, void*, void*) { return ACAPI_UserInput_CompleteUserInput(); }},
	{"DRLI", [](void* a, void*, void*) { return ACAPI_UserInput_DrawRubberLine(P<API_RubberLineType>(a)); }},
	{"DRAR", [](void* a, void*, void*) { return ACAPI_UserInput_DrawRubberArc(P<API_RubberArcType>(a)); }},
	{"GMIT", [](void* a, void* b, void* c) { return ACAPI_MenuItem_GetMenuItemText(P<const API_MenuItemRef>(a), P<char>(b), P<GS::UniString>(c)); }},
	{"SMIT", [](void* a, void* b, void* c) { return ACAPI_MenuItem_SetMenuItemText(P<const API_MenuItemRef>(a), P<char>(b), P<GS::UniString>(c)); }},
	{"AMIT", [](void* a, void* b, void* c) { return ACAPI_MenuItem_AddMenuItemText(P<const API_MenuItemRef>(a), P<char>(b), P<GS::UniString>(c)); }},
	{"GMIF", [](void* a, void* b, void* c) { return ACAPI_MenuItem_GetMenuItemFlags(P<const API_MenuItemRef>(a), P<GSFlags>(b), P<GS::UniString>(c)); }},
	{"SMIF", [](void* a, void* b, void* c) { return ACAPI_MenuItem_SetMenuItemFlags(P<const API_MenuItemRef>(a), P<GSFlags>(b), P<GS::UniString>(c)); }},
	{"INFI", [](void* a, void* b, void*) { return ACAPI_UserInput_InitNeigFilter(P<API_NeigFilter>(a), V<API_InitNeigFilterID>(b)); }},
	{"SNFI", [](void* a, void* b, void*) { return ACAPI_UserInput_SetNeigFilter(P<API_NeigFilter>(a), V<API_NeigID>(b)); }},
	{"SUCC", [](void* a, void*, void*) { return ACAPI_Dialog_SetUserControlCallback(P<API_UCCallbackType>(a)); }},
};

template <std::size_t N>
GSErrCode Dispatch(const char* dispatcher, const Entry (&commands)[N], GSType code, void* par1, void* par2, void* par3)
{
	std::string text(dispatcher);
	text += ' ';
	for (int shift = 24; shift >= 0; shift -= 8) text += static_cast<char>((code >> shift) & 0xFF);
	vhost::Current().dispatcherCalls.push_back(text);
	const vhost::NamedCall forwarding(nullptr, true); // the command's own entry point is this call
	for (const Entry& e : commands)
		if (API_FourCC(e.code) == code) return e.run(par1, par2, par3);
	return APIERR_NOTSUPPORTED;
}

// A host-26 entry point that stands for a later one: one call of the add-on, by its own name.
template <typename Later, typename... Args>
GSErrCode Forward(const char* name, Later later, Args&&... args)
{
	const vhost::NamedCall call(name, true);
	return later(std::forward<Args>(args)...);
}

} // namespace

GSErrCode ACAPI_Environment(GSType code, void* par1, void* par2, void* par3) { return Dispatch("Environment", kEnvironment, code, par1, par2, par3); }
GSErrCode ACAPI_Database(GSType code, void* par1, void* par2, void* par3) { return Dispatch("Database", kDatabase, code, par1, par2, par3); }
GSErrCode ACAPI_Goodies(GSType code, void* par1, void* par2, void* par3) { return Dispatch("Goodies", kGoodies, code, par1, par2, par3); }
GSErrCode ACAPI_Interface(GSType code, void* par1, void* par2, void* par3) { return Dispatch("Interface", kInterface, code, par1, par2, par3); }

GSErrCode ACAPI_GetPreferences_Platform(Int32* version, Int32* nByte, GSPtr data, UInt16* platform)
{
	return Forward(__func__, ACAPI_Preferences_Platform, version, nByte, data, platform);
}
GSErrCode ACAPI_Interface_ClearElementHighlight() { return Forward(__func__, ACAPI_UserInput_ClearElementHighlight); }
GSErrCode ACAPI_Interface_SetElementHighlight(const GS::HashTable<API_Guid, API_RGBAColor>& highlight,
	const GS::Optional<bool>& wireframe3D, const GS::Optional<API_RGBAColor>& nonHighlightedColor)
{
	return Forward(__func__, ACAPI_UserInput_SetElementHighlight, highlight, wireframe3D, nonHighlightedColor);
}
GSErrCode ACAPI_Interface_CreateAttributePicker(const API_AttributePickerParams& params, GS::Owner<API_AttributePicker>& picker)
{
	return Forward(__func__, ACAPI_Dialog_CreateAttributePicker, params, picker);
}
GSErrCode ACAPI_Register_Menu(short menuStrResID, short promptStrResID, APIMenuCodeID menuPosCode, GSFlags menuFlags)
{
	return Forward(__func__, ACAPI_MenuItem_RegisterMenu, menuStrResID, promptStrResID, menuPosCode, menuFlags);
}
GSErrCode ACAPI_Install_MenuHandler(short menuStrResID, APIMenuCommandProc* handlerProc)
{
	return Forward(__func__, ACAPI_MenuItem_InstallMenuHandler, menuStrResID, handlerProc);
}

GSErrCode ACAPI_Command_Test(const API_ModulID* mdid, GSType cmdID, Int32 cmdVersion)
{
	return Forward(__func__, ACAPI_AddOnAddOnCommunication_Test, mdid, cmdID, cmdVersion);
}
GSErrCode ACAPI_Command_Call(const API_ModulID* mdid, GSType cmdID, Int32 cmdVersion, GSHandle params, GSPtr resultData, bool silentMode)
{
	return Forward(__func__, ACAPI_AddOnAddOnCommunication_Call, mdid, cmdID, cmdVersion, params, resultData, silentMode);
}
GSErrCode ACAPI_Command_ExternalCall(const IO::Location* projectFile, const API_ModulID* mdid, GSType cmdID, Int32 cmdVersion,
	GSHandle params, bool silentMode, APIModulCommandCallBackProc* resultCallback)
{
	return Forward(__func__, ACAPI_AddOnAddOnCommunication_ExternalCall, projectFile, mdid, cmdID, cmdVersion, params, silentMode, resultCallback);
}
GSErrCode ACAPI_Command_CallFromEventLoop(const API_ModulID* mdid, GSType cmdID, Int32 cmdVersion, GSHandle params,
	bool silentMode, APIModulCommandCallBackProc* completionCallback)
{
	return Forward(__func__, ACAPI_AddOnAddOnCommunication_CallFromEventLoop, mdid, cmdID, cmdVersion, params, silentMode, completionCallback);
}
GSErrCode ACAPI_Install_ModulCommandHandler(GSType cmdID, Int32 cmdVersion, APIModulCommandProc* handlerProc)
{
	return Forward(__func__, ACAPI_AddOnIntegration_InstallModulCommandHandler, cmdID, cmdVersion, handlerProc);
}
GSErrCode ACAPI_Register_SupportedService(GSType cmdID, Int32 cmdVersion) { return Forward(__func__, ACAPI_AddOnAddOnCommunication_RegisterSupportedService, cmdID, cmdVersion); }
GSErrCode ACAPI_Register_RequiredService(const API_ModulID* mdid, GSType cmdID, Int32 cmdVersion)
{
	return Forward(__func__, ACAPI_AddOnIntegration_RegisterRequiredService, mdid, cmdID, cmdVersion);
}

GSErrCode ACAPI_Goodies_GetElemTypeName(const API_ElemType& type, GS::UniString& name) { return Forward(__func__, ACAPI_Element_GetElemTypeName, type, name); }
GSErrCode ACAPI_Goodies_NeigIDToElemType(API_NeigID neigID, API_ElemType& type) { return Forward(__func__, ACAPI_Element_NeigIDToElemType, neigID, type); }
GSErrCode ACAPI_Element_Get3DInfo(const API_Elem_Head& elemHead, API_ElemInfo3D* info3D) { return Forward(__func__, ACAPI_ModelAccess_Get3DInfo, elemHead, info3D); }
GSErrCode ACAPI_3D_GetNum(API_3DTypeID typeID, Int32* count) { return Forward(__func__, ACAPI_ModelAccess_GetNum, typeID, count); }
GSErrCode ACAPI_3D_GetComponent(API_Component3D* component) { return Forward(__func__, ACAPI_ModelAccess_GetComponent, component); }
GSErrCode ACAPI_3D_CreateSight(void** sight) { return Forward(__func__, ACAPI_Sight_CreateSight, sight); }
GSErrCode ACAPI_3D_DeleteSight(void* sight) { return Forward(__func__, ACAPI_Sight_DeleteSight, sight); }
GSErrCode ACAPI_3D_SelectSight(void* sight, void** oldSight) { return Forward(__func__, ACAPI_Sight_SelectSight, sight, oldSight); }
GSErrCode ACAPI_3D_GetCurrentWindowSight(void** sight) { return Forward(__func__, ACAPI_Sight_GetCurrentWindowSight, sight); }
GSErrCode ACAPI_Element_DeleteUserData(API_Elem_Head* elemHead) { return Forward(__func__, ACAPI_UserData_DeleteUserData, elemHead); }
GSErrCode ACAPI_Element_ShapePrims(const API_Elem_Head& elemHead, ShapePrimsProc* proc) { return Forward(__func__, ACAPI_DrawingPrimitive_ShapePrims, elemHead, proc); }
GSErrCode ACAPI_Element_Tool(const GS::Array<API_Guid>& elements, API_ToolCmdID command, void* reserved)
{
	return Forward(__func__, ACAPI_Grouping_Tool, elements, command, reserved);
}

GSErrCode ACAPI_LibPart_Search(API_LibPart* ancestor, bool createIfMissing, bool onlyPlaceable)
{
	return Forward(__func__, ACAPI_LibraryPart_Search, ancestor, createIfMissing, onlyPlaceable);
}
GSErrCode ACAPI_LibPart_Get(API_LibPart* libPart) { return Forward(__func__, ACAPI_LibraryPart_Get, libPart); }
GSErrCode ACAPI_LibPart_GetNum(Int32* count) { return Forward(__func__, ACAPI_LibraryPart_GetNum, count); }
GSErrCode ACAPI_LibPart_GetParams(Int32 libInd, double* a, double* b, Int32* addParNum, API_AddParType*** addPars)
{
	return Forward(__func__, ACAPI_LibraryPart_GetParams, libInd, a, b, addParNum, addPars);
}
GSErrCode ACAPI_LibPart_GetDetails(Int32 libInd, API_LibPartDetails* details) { return Forward(__func__, ACAPI_LibraryPart_GetDetails, libInd, details); }
GSErrCode ACAPI_LibPart_GetSectionList(Int32 libInd, Int32* nSection, API_LibPartSection*** sections)
{
	return Forward(__func__, ACAPI_LibraryPart_GetSectionList, libInd, nSection, sections);
}
GSErrCode ACAPI_LibPart_GetSection(Int32 libInd, API_LibPartSection* section, GSHandle* sectionHdl, GS::UniString* sectionStr, const GS::UniString* password)
{
	return Forward(__func__, ACAPI_LibraryPart_GetSection, libInd, section, sectionHdl, sectionStr, password);
}
GSErrCode ACAPI_LibPart_UpdateSection(Int32 libInd, const API_LibPartSection* section, GSHandle sectionHdl, GS::UniString* sectionStr, const GS::UniString* password)
{
	return Forward(__func__, ACAPI_LibraryPart_UpdateSection, libInd, section, sectionHdl, sectionStr, password);
}
GSErrCode ACAPI_LibPart_Create(const API_LibPart* libPart) { return Forward(__func__, ACAPI_LibraryPart_Create, libPart); }
GSErrCode ACAPI_LibPart_NewSection(const API_LibPartSection* section) { return Forward(__func__, ACAPI_LibraryPart_NewSection, section); }
GSErrCode ACAPI_LibPart_WriteSection(Int32 nByte, GSConstPtr data) { return Forward(__func__, ACAPI_LibraryPart_WriteSection, nByte, data); }
GSErrCode ACAPI_LibPart_EndSection() { return Forward(__func__, ACAPI_LibraryPart_EndSection); }
GSErrCode ACAPI_LibPart_AddSection(const API_LibPartSection* section, GSConstHandle sectionHdl, const GS::UniString* sectionStr)
{
	return Forward(__func__, ACAPI_LibraryPart_AddSection, section, sectionHdl, sectionStr);
}
GSErrCode ACAPI_LibPart_Save(API_LibPart* libPart) { return Forward(__func__, ACAPI_LibraryPart_Save, libPart); }
GSErrCode ACAPI_LibPart_Register(API_LibPart* libPart) { return Forward(__func__, ACAPI_LibraryPart_Register, libPart); }
GSErrCode ACAPI_LibPart_GetSect_ParamDef(const API_LibPart* libPart, API_AddParType** addPars, double* a, double* b, GSHandle sect2DDrawHdl,
	GSHandle* sectHdl, GS::UniString* password)
{
	return Forward(__func__, ACAPI_LibraryPart_GetSect_ParamDef, libPart, addPars, a, b, sect2DDrawHdl, sectHdl, password);
}
GSErrCode ACAPI_LibPart_SetDetails_ParamDef(const API_LibPart* libPart, GSHandle paramHdl, const API_LibPartDetails* details)
{
	return Forward(__func__, ACAPI_LibraryPart_SetDetails_ParamDef, libPart, paramHdl, details);
}
GSErrCode ACAPI_Register_BuiltInLibrary() { return Forward(__func__, ACAPI_AddOnIntegration_RegisterBuiltInLibrary); }

#endif
