#include "generic/Interface.hpp"

#include "ACUtils.hpp"
#include "generic/GenericHelpers.hpp"
#include "generic/HostApi.hpp"

namespace kivel::Interface {

GSErrCode ShowObjectSettings(API_ObjectSettingsPars* pars) { return ACAPI_Dialog_ObjectSettings(pars); }

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

GSErrCode SettingsDialog(API_ToolBoxItem* item, const API_Guid* guid) { return ACAPI_Dialog_SettingsDialog(item, guid, nullptr); }
GSErrCode ClearElementHighlight() { return ACAPI_UserInput_ClearElementHighlight(); }

GSErrCode SetElementHighlight(const GS::HashTable<API_Guid, API_RGBAColor>& highlight, const GS::Optional<bool>& wireframe3D,
	const GS::Optional<API_RGBAColor>& nonHighlightedColor)
{
	return ACAPI_UserInput_SetElementHighlight(highlight, wireframe3D, nonHighlightedColor);
}

GSErrCode GetPoint(API_GetPointType& info, RubberLineInfoProc* rubberLine, Get3DComponentProc* get3DComponent)
{
	return ACAPI_UserInput_GetPoint(&info, rubberLine, get3DComponent);
}

GSErrCode GetLine(API_GetLineType& info, RubberLineInfoProc* rubberLine) { return ACAPI_UserInput_GetLine(&info, rubberLine); }
GSErrCode GetArc(API_GetArcType& info, RubberLineInfoProc* rubberLine) { return ACAPI_UserInput_GetArc(&info, rubberLine); }
GSErrCode GetPoly(API_GetPolyType& info, API_RubberPolyCallbacks* callbacks) { return ACAPI_UserInput_GetPoly(&info, callbacks); }
GSErrCode CancelUserInput() { return ACAPI_UserInput_CancelUserInput(); }
GSErrCode CompleteUserInput() { return ACAPI_UserInput_CompleteUserInput(); }
GSErrCode DrawRubberLine(API_RubberLineType* line) { return ACAPI_UserInput_DrawRubberLine(line); }
GSErrCode DrawRubberArc(API_RubberArcType* arc) { return ACAPI_UserInput_DrawRubberArc(arc); }

GSErrCode RegisterMenu(short menuStrResID, short promptStrResID, APIMenuCodeID menuPosCode, unsigned int flags)
{
	return ACAPI_MenuItem_RegisterMenu(menuStrResID, promptStrResID, menuPosCode, flags);
}

GSErrCode InstallMenuHandler(short menuStrResID, MenuHandler* handler) { return ACAPI_MenuItem_InstallMenuHandler(menuStrResID, handler); }
GSErrCode GetMenuItemText(const API_MenuItemRef* item, char* text, GS::UniString* uniText) { return ACAPI_MenuItem_GetMenuItemText(item, text, uniText); }
GSErrCode SetMenuItemText(const API_MenuItemRef* item, char* text, GS::UniString* uniText) { return ACAPI_MenuItem_SetMenuItemText(item, text, uniText); }
GSErrCode AddMenuItemText(const API_MenuItemRef* item, char* text, GS::UniString* uniText) { return ACAPI_MenuItem_AddMenuItemText(item, text, uniText); }
GSErrCode GetMenuItemFlags(const API_MenuItemRef* item, unsigned int* flags, GS::UniString* text) { return ACAPI_MenuItem_GetMenuItemFlags(item, flags, text); }
GSErrCode SetMenuItemFlags(const API_MenuItemRef* item, unsigned int* flags, GS::UniString* text) { return ACAPI_MenuItem_SetMenuItemFlags(item, flags, text); }
GSErrCode InitNeigFilter(char (*filter)[16], API_InitNeigFilterID id) { return ACAPI_UserInput_InitNeigFilter(filter, id); }
GSErrCode SetNeigFilter(char (*filter)[16], API_NeigID neig) { return ACAPI_UserInput_SetNeigFilter(filter, neig); }
GSErrCode SetUserControlCallback(API_UCCallbackType* callback) { return ACAPI_Dialog_SetUserControlCallback(callback); }

GSErrCode CreateAttributePicker(const API_AttributePickerParams& params, GS::Owner<API_AttributePicker>& picker)
{
	return ACAPI_Dialog_CreateAttributePicker(params, picker);
}

} // namespace kivel::Interface
