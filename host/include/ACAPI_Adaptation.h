// The host calls that the add-on's adaptation layer wraps: stories, environment, interface,
// calls between add-ons, element types, 3D, attributes.
//
// What this host models: the story settings, the special folders, the tool box mode (it is
// only recorded), user-control callbacks (recorded) and attribute indices. Every other call
// here answers APIERR_NOTSUPPORTED and changes nothing.
#ifndef VHOST_ACAPI_ADAPTATION_H
#define VHOST_ACAPI_ADAPTATION_H

#include "APIdefs_Attributes.h"
#include "APIdefs_Elements.h"
#include "APIdefs_Environment.h"
#include "APIdefs_Interface.h"
#include "Array.hpp"
#include "GSOptional.hpp"
#include "HashTable.hpp"

// User data of elements (the same names in every host generation).
GSErrCode ACAPI_Element_GetUserData(const API_Elem_Head* elemHead, API_UserData* userData, UInt32 mask);
GSErrCode ACAPI_Element_SetUserData(const API_Elem_Head* elemHead, const API_UserData* userData);

// Attributes deleted (the same names in every host generation; in host 26 an index is an int).
GSErrCode ACAPI_Attribute_Delete(const API_Attr_Head& attrHead);
GSErrCode ACAPI_Attribute_DeleteMore(API_AttrTypeID attrType, const GS::Array<API_AttributeIndex>& indices);

#if VHOST_HOST29_NAMES
// Stories. GetStorySettings fills the record and a new handle of one API_StoryType per story,
// lowest first (the caller frees it); the mask is accepted and everything is filled.
GSErrCode ACAPI_ProjectSetting_GetStorySettings(API_StoryInfo* storyInfo, UInt32 mask);
GSErrCode ACAPI_ProjectSetting_ChangeStorySettings(API_StoryCmdType* storyCmd);
GSErrCode ACAPI_ProjectSetting_GetOffset(API_Coord* offset);

// Tool box: the host records every mode set; Get answers the last one (none: a cleared item).
GSErrCode ACAPI_Toolbox_GetToolBoxMode(API_ToolBoxItem* toolBoxItem);
GSErrCode ACAPI_Toolbox_SetToolBoxMode(API_ToolBoxItem* toolBoxItem);

// Special folders, all under the run root. APIERR_BADID for a folder the host does not have.
GSErrCode ACAPI_ProjectSettings_GetSpecFolder(API_SpecFolderID* specID, IO::Location* location);

// 3D window, rendering, navigator, preferences.
GSErrCode ACAPI_View_Get3DWindowSets(API_3DWindowInfo* info);
GSErrCode ACAPI_View_Change3DWindowSets(API_3DWindowInfo* info);
GSErrCode ACAPI_View_Get3DStyle(API_3DStyle* style);
GSErrCode ACAPI_View_Change3DStyle(API_3DStyle* style);
GSErrCode ACAPI_View_Get3DProjectionSets(API_3DProjectionInfo* info);
GSErrCode ACAPI_View_Change3DProjectionSets(API_3DProjectionInfo* info, void* reserved);
GSErrCode ACAPI_Rendering_GetRenderingSets(void* data, API_RendSetTypeID type, const GS::UniString* name);
GSErrCode ACAPI_Rendering_ChangeRenderingSets(void* data, API_RendSetTypeID type);
GSErrCode ACAPI_Navigator_GetStructureDisplay(API_UIStructureDisplay* display);
GSErrCode ACAPI_Navigator_ChangeStructureDisplay(API_UIStructureDisplay* display);
GSErrCode ACAPI_Preferences_Platform(Int32* version, Int32* nByte, GSPtr data, UInt16* platform);

// Dialogs and user input.
GSErrCode ACAPI_Dialog_ObjectSettings(API_ObjectSettingsPars* objectSettingsPars);
GSErrCode ACAPI_Dialog_SettingsDialog(API_ToolBoxItem* toolBoxItem, const API_Guid* guid, void* reserved);
// Recorded: the host shows a picker of the callback's kind in that dialog item.
GSErrCode ACAPI_Dialog_SetUserControlCallback(API_UCCallbackType* callback);
GSErrCode ACAPI_Dialog_CreateAttributePicker(const API_AttributePickerParams& params, GS::Owner<API_AttributePicker>& picker);
GSErrCode ACAPI_UserInput_ClearElementHighlight();
GSErrCode ACAPI_UserInput_SetElementHighlight(const GS::HashTable<API_Guid, API_RGBAColor>& highlight,
	const GS::Optional<bool>& wireframe3D, const GS::Optional<API_RGBAColor>& nonHighlightedColor);
GSErrCode ACAPI_UserInput_GetPoint(API_GetPointType* pointInfo, RubberLineInfoProc* rubberLineInfoProc, Get3DComponentProc* get3DComponentProc);
GSErrCode ACAPI_UserInput_GetLine(API_GetLineType* lineInfo, RubberLineInfoProc* rubberLineInfoProc);
GSErrCode ACAPI_UserInput_GetArc(API_GetArcType* arcInfo, RubberLineInfoProc* rubberLineInfoProc);
GSErrCode ACAPI_UserInput_GetPoly(API_GetPolyType* polyInfo, API_RubberPolyCallbacks* callbacks);
GSErrCode ACAPI_UserInput_CancelUserInput();
GSErrCode ACAPI_UserInput_CompleteUserInput();
GSErrCode ACAPI_UserInput_DrawRubberLine(API_RubberLineType* line);
GSErrCode ACAPI_UserInput_DrawRubberArc(API_RubberArcType* arc);
GSErrCode ACAPI_UserInput_InitNeigFilter(API_NeigFilter* neigFilter, API_InitNeigFilterID filterID);
GSErrCode ACAPI_UserInput_SetNeigFilter(API_NeigFilter* neigFilter, API_NeigID neigID);

// Menu item texts and flags.
GSErrCode ACAPI_MenuItem_GetMenuItemText(const API_MenuItemRef* menuItemRef, char* itemText, GS::UniString* itemUniText);
GSErrCode ACAPI_MenuItem_SetMenuItemText(const API_MenuItemRef* menuItemRef, char* itemText, GS::UniString* itemUniText);
GSErrCode ACAPI_MenuItem_AddMenuItemText(const API_MenuItemRef* menuItemRef, char* itemText, GS::UniString* itemUniText);
GSErrCode ACAPI_MenuItem_GetMenuItemFlags(const API_MenuItemRef* menuItemRef, GSFlags* itemFlags, GS::UniString* itemText);
GSErrCode ACAPI_MenuItem_SetMenuItemFlags(const API_MenuItemRef* menuItemRef, GSFlags* itemFlags, GS::UniString* itemText);

// Calls between add-ons.
GSErrCode ACAPI_AddOnAddOnCommunication_Test(const API_ModulID* mdid, GSType cmdID, Int32 cmdVersion);
GSErrCode ACAPI_AddOnAddOnCommunication_Call(const API_ModulID* mdid, GSType cmdID, Int32 cmdVersion, GSHandle params, GSPtr resultData, bool silentMode);
GSErrCode ACAPI_AddOnAddOnCommunication_ExternalCall(const IO::Location* projectFile, const API_ModulID* mdid, GSType cmdID, Int32 cmdVersion,
	GSHandle params, bool silentMode, APIModulCommandCallBackProc* resultCallback);
GSErrCode ACAPI_AddOnAddOnCommunication_CallFromEventLoop(const API_ModulID* mdid, GSType cmdID, Int32 cmdVersion, GSHandle params,
	bool silentMode, APIModulCommandCallBackProc* completionCallback);
GSErrCode ACAPI_AddOnIntegration_InstallModulCommandHandler(GSType cmdID, Int32 cmdVersion, APIModulCommandProc* handlerProc);
GSErrCode ACAPI_AddOnAddOnCommunication_RegisterSupportedService(GSType cmdID, Int32 cmdVersion);
GSErrCode ACAPI_AddOnIntegration_RegisterRequiredService(const API_ModulID* mdid, GSType cmdID, Int32 cmdVersion);
GSErrCode ACAPI_AddOnAddOnCommunication_InitMDCLParameterList(GSHandle* params);
GSErrCode ACAPI_AddOnAddOnCommunication_FreeMDCLParameterList(GSHandle* params);
GSErrCode ACAPI_AddOnAddOnCommunication_GetMDCLParameterNum(GSHandle params, Int32* nPars);
GSErrCode ACAPI_AddOnAddOnCommunication_GetMDCLParameter(GSHandle params, API_MDCLParameter* par);
GSErrCode ACAPI_AddOnAddOnCommunication_AddMDCLParameter(GSHandle params, API_MDCLParameter* par);
GSErrCode ACAPI_AddOnAddOnCommunication_ChangeMDCLParameter(GSHandle params, API_MDCLParameter* par);

// Element types, 3D, sights, drawing primitives, user data, grouping, search.
// GetElemTypeName writes the display name of a type into name (nothing when it fails).
GSErrCode ACAPI_Element_GetElemTypeName(const API_ElemType& type, GS::UniString& name);
GSErrCode ACAPI_Element_NeigIDToElemType(API_NeigID neigID, API_ElemType& type);
GSErrCode ACAPI_ModelAccess_Get3DInfo(const API_Elem_Head& elemHead, API_ElemInfo3D* info3D);
GSErrCode ACAPI_ModelAccess_GetNum(API_3DTypeID typeID, Int32* count);
GSErrCode ACAPI_ModelAccess_GetComponent(API_Component3D* component);
GSErrCode ACAPI_Sight_CreateSight(void** sight);
GSErrCode ACAPI_Sight_DeleteSight(void* sight);
GSErrCode ACAPI_Sight_SelectSight(void* sight, void** oldSight);
GSErrCode ACAPI_Sight_GetCurrentWindowSight(void** sight);
GSErrCode ACAPI_Sight_Switch3DSight(API_3DSightID sightID);
GSErrCode ACAPI_UserData_DeleteUserData(API_Elem_Head* elemHead);
GSErrCode ACAPI_Polygon_TriangulatePoly(API_ElementMemo* memo, API_Coord*** coords);
GSErrCode ACAPI_DrawingPrimitive_ShapePrims(const API_Elem_Head& elemHead, ShapePrimsProc* shapePrimsProc);
GSErrCode ACAPI_Grouping_Tool(const GS::Array<API_Guid>& elements, API_ToolCmdID command, void* reserved);
GSErrCode ACAPI_Element_SearchElementByCoord(const API_ElemSearchPars* pars, API_Guid* guid);

// Attributes.
API_AttributeIndex ACAPI_CreateAttributeIndex(Int32 index);
GSErrCode ACAPI_Attribute_GetPen(API_Pen& pen);
#endif // VHOST_HOST29_NAMES

#endif
