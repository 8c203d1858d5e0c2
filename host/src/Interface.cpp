// Dialog, user-input and menu-item calls of the adaptation layer. The user-control
// callback is the dialogs' (DialogItems.cpp); the rest is not modelled and answers APIERR_NOTSUPPORTED.
#include "ACAPinc.h"
#include "vhost/Project.hpp"
#include "NamedCall.hpp"

GSErrCode ACAPI_Dialog_ObjectSettings(API_ObjectSettingsPars*) { return vhost::NotModelled(__func__); }
GSErrCode ACAPI_Dialog_SettingsDialog(API_ToolBoxItem*, const API_Guid*, void*) { return vhost::NotModelled(__func__); }
GSErrCode ACAPI_Dialog_CreateAttributePicker(const API_AttributePickerParams&, GS::Owner<API_AttributePicker>&) { return vhost::NotModelled(__func__); }
GSErrCode ACAPI_UserInput_ClearElementHighlight() { return vhost::NotModelled(__func__); }
GSErrCode ACAPI_UserInput_SetElementHighlight(const GS::HashTable<API_Guid, API_RGBAColor>&, const GS::Optional<bool>&,
	const GS::Optional<API_RGBAColor>&) { return vhost::NotModelled(__func__); }
GSErrCode ACAPI_UserInput_GetArc(API_GetArcType*, RubberLineInfoProc*) { return vhost::NotModelled(__func__); }
GSErrCode ACAPI_UserInput_GetPoly(API_GetPolyType*, API_RubberPolyCallbacks*) { return vhost::NotModelled(__func__); }
GSErrCode ACAPI_UserInput_CancelUserInput() { return vhost::NotModelled(__func__); }
GSErrCode ACAPI_UserInput_CompleteUserInput() { return vhost::NotModelled(__func__); }
GSErrCode ACAPI_UserInput_DrawRubberArc(API_RubberArcType*) { return vhost::NotModelled(__func__); }
GSErrCode ACAPI_UserInput_InitNeigFilter(API_NeigFilter*, API_InitNeigFilterID) { return vhost::NotModelled(__func__); }
GSErrCode ACAPI_UserInput_SetNeigFilter(API_NeigFilter*, API_NeigID) { return vhost::NotModelled(__func__); }

GSErrCode ACAPI_MenuItem_GetMenuItemText(const API_MenuItemRef*, char*, GS::UniString*) { return vhost::NotModelled(__func__); }
GSErrCode ACAPI_MenuItem_SetMenuItemText(const API_MenuItemRef*, char*, GS::UniString*) { return vhost::NotModelled(__func__); }
GSErrCode ACAPI_MenuItem_AddMenuItemText(const API_MenuItemRef*, char*, GS::UniString*) { return vhost::NotModelled(__func__); }
GSErrCode ACAPI_MenuItem_GetMenuItemFlags(const API_MenuItemRef*, GSFlags*, GS::UniString*) { return vhost::NotModelled(__func__); }
GSErrCode ACAPI_MenuItem_SetMenuItemFlags(const API_MenuItemRef*, GSFlags*, GS::UniString*) { return vhost::NotModelled(__func__); }
