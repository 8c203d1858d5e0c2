#include "generic/Interface.hpp"

#include "ACUtils.hpp"
#include "generic/GenericHelpers.hpp"
#include "generic/HostApi.hpp"

namespace kivel::Interface {

GSErrCode ShowObjectSettings(API_ObjectSettingsPars* pars) { return KIVEL_HOST_CALL(ACAPI_Dialog_ObjectSettings(pars), ACAPI_Interface(CommandCode("OBJS"), pars)); }

GSErrCode ShowObjectSettings(API_ElemTypeID type, const char* subtypeID)
{
	API_ObjectSettingsPars pars{};
	const GSErrCode err = ShowObjectSettings(pars, type, subtypeID);
	ACAPI_DisposeAddParHdl(&pars.addPars); // the record is discarded, and its parameters with it
	return err;
}

GSErrCode ShowObjectSettings(API_ObjectSettingsPars& pars, API_ElemTypeID type)
{
	pars = API_ObjectSettingsPars();
	SetTypeId(pars, type);
	return ShowObjectSettings(&pars);
}

GSErrCode ShowObjectSettings(API_ObjectSettingsPars& pars, API_ElemTypeID type, const char* subtypeID)
{
	if (!FitsField(pars.subtypeID, subtypeID)) return APIERR_BADNAME;
	pars = API_ObjectSettingsPars();
	SetTypeId(pars, type);
	CopyToField(pars.subtypeID, subtypeID);
	return ShowObjectSettings(&pars);
}

GSErrCode SettingsDialog(API_ToolBoxItem* item, const API_Guid* guid)
{
	return KIVEL_HOST_CALL(ACAPI_Dialog_SettingsDialog(item, guid, nullptr), ACAPI_Interface(CommandCode("SETD"), item, Arg(guid), nullptr));
}
GSErrCode ClearElementHighlight() { return KIVEL_HOST_CALL(ACAPI_UserInput_ClearElementHighlight(), ACAPI_Interface_ClearElementHighlight()); }

GSErrCode SetElementHighlight(const GS::HashTable<API_Guid, API_RGBAColor>& highlight, const GS::Optional<bool>& wireframe3D,
	const GS::Optional<API_RGBAColor>& nonHighlightedColor)
{
	return KIVEL_HOST_CALL(ACAPI_UserInput_SetElementHighlight(highlight, wireframe3D, nonHighlightedColor),
	                       ACAPI_Interface_SetElementHighlight(highlight, wireframe3D, nonHighlightedColor));
}

GSErrCode GetPoint(API_GetPointType& info, RubberLineInfoProc* rubberLine, Get3DComponentProc* get3DComponent)
{
	return KIVEL_HOST_CALL(ACAPI_UserInput_GetPoint(&info, rubberLine, get3DComponent), ACAPI_Interface(CommandCode("IPOI"), &info, Arg(rubberLine), Arg(get3DComponent)));
}

GSErrCode GetLine(API_GetLineType& info, RubberLineInfoProc* rubberLine)
{
	return KIVEL_HOST_CALL(ACAPI_UserInput_GetLine(&info, rubberLine), ACAPI_Interface(CommandCode("ILIN"), &info, Arg(rubberLine)));
}

GSErrCode GetArc(API_GetArcType& info, RubberLineInfoProc* rubberLine)
{
	return KIVEL_HOST_CALL(ACAPI_UserInput_GetArc(&info, rubberLine), ACAPI_Interface(CommandCode("IARC"), &info, Arg(rubberLine)));
}

GSErrCode GetPoly(API_GetPolyType& info, API_RubberPolyCallbacks* callbacks) { return KIVEL_HOST_CALL(ACAPI_UserInput_GetPoly(&info, callbacks), ACAPI_Interface(CommandCode("IPOL"), &info, callbacks)); }
GSErrCode CancelUserInput() { return KIVEL_HOST_CALL(ACAPI_UserInput_CancelUserInput(), ACAPI_Interface(CommandCode("INCA"))); }
GSErrCode CompleteUserInput() { return KIVEL_HOST_CALL(ACAPI_UserInput_CompleteUserInput(), ACAPI_Interface(CommandCode("INOK"))); }
GSErrCode DrawRubberLine(API_RubberLineType* line) { return KIVEL_HOST_CALL(ACAPI_UserInput_DrawRubberLine(line), ACAPI_Interface(CommandCode("DRLI"), line)); }
GSErrCode DrawRubberArc(API_RubberArcType* arc) { return KIVEL_HOST_CALL(ACAPI_UserInput_DrawRubberArc(arc), ACAPI_Interface(CommandCode("DRAR"), arc)); }

GSErrCode RegisterMenu(short menuStrResID, short promptStrResID, APIMenuCodeID menuPosCode, unsigned int flags)
{
	return KIVEL_HOST_CALL(ACAPI_MenuItem_RegisterMenu(menuStrResID, promptStrResID, menuPosCode, flags),
	                       ACAPI_Register_Menu(menuStrResID, promptStrResID, menuPosCode, flags));
}

GSErrCode InstallMenuHandler(short menuStrResID, MenuHandler* handler)
{
	return KIVEL_HOST_CALL(ACAPI_MenuItem_InstallMenuHandler(menuStrResID, handler), ACAPI_Install_MenuHandler(menuStrResID, handler));
}

GSErrCode GetMenuItemText(const API_MenuItemRef* item, char* text, GS::UniString* uniText)
{
	return KIVEL_HOST_CALL(ACAPI_MenuItem_GetMenuItemText(item, text, uniText), ACAPI_Interface(CommandCode("GMIT"), Arg(item), text, uniText));
}

GSErrCode SetMenuItemText(const API_MenuItemRef* item, char* text, GS::UniString* uniText)
{
	return KIVEL_HOST_CALL(ACAPI_MenuItem_SetMenuItemText(item, text, uniText), ACAPI_Interface(CommandCode("SMIT"), Arg(item), text, uniText));
}

GSErrCode AddMenuItemText(const API_MenuItemRef* item, char* text, GS::UniString* uniText)
{
	return KIVEL_HOST_CALL(ACAPI_MenuItem_AddMenuItemText(item, text, uniText), ACAPI_Interface(CommandCode("AMIT"), Arg(item), text, uniText));
}

GSErrCode GetMenuItemFlags(const API_MenuItemRef* item, unsigned int* flags, GS::UniString* text)
{
	return KIVEL_HOST_CALL(ACAPI_MenuItem_GetMenuItemFlags(item, flags, text), ACAPI_Interface(CommandCode("GMIF"), Arg(item), flags, text));
}

GSErrCode SetMenuItemFlags(const API_MenuItemRef* item, unsigned int* flags, GS::UniString* text)
{
	return KIVEL_HOST_CALL(ACAPI_MenuItem_SetMenuItemFlags(item, flags, text), ACAPI_Interface(CommandCode("SMIF"), Arg(item), flags, text));
}

GSErrCode InitNeigFilter(char (*filter)[16], API_InitNeigFilterID id)
{
	return KIVEL_HOST_CALL(ACAPI_UserInput_InitNeigFilter(filter, id), ACAPI_Interface(CommandCode("INFI"), filter, &id));
}

GSErrCode SetNeigFilter(char (*filter)[16], API_NeigID neig)
{
	return KIVEL_HOST_CALL(ACAPI_UserInput_SetNeigFilter(filter, neig), ACAPI_Interface(CommandCode("SNFI"), filter, &neig));
}

GSErrCode SetUserControlCallback(API_UCCallbackType* callback) { return KIVEL_HOST_CALL(ACAPI_Dialog_SetUserControlCallback(callback), ACAPI_Interface(CommandCode("SUCC"), callback)); }

GSErrCode CreateAttributePicker(const API_AttributePickerParams& params, GS::Owner<API_AttributePicker>& picker)
{
	return KIVEL_HOST_CALL(ACAPI_Dialog_CreateAttributePicker(params, picker), ACAPI_Interface_CreateAttributePicker(params, picker));
}

} // namespace kivel::Interface
