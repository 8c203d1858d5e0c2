// Dialogs, user input, menus, neighbour filters, user controls and attribute pickers.
// Each returns the host's error code unchanged.
#ifndef KIVEL_INTERFACE_HPP
#define KIVEL_INTERFACE_HPP

#include "ACAPinc.h"

namespace kivel::Interface {

using MenuHandler = GSErrCode(const API_MenuParams* params);

GSErrCode ShowObjectSettings(API_ObjectSettingsPars* pars);
// Shows the settings of that element type and library-part sub-type; the record is discarded.
// APIERR_BADNAME (and no dialog) when subtypeID does not fit the record's field.
GSErrCode ShowObjectSettings(API_ElemTypeID type, const char* subtypeID);
// Clears pars and sets its type code first; the caller reads the result from pars.
GSErrCode ShowObjectSettings(API_ObjectSettingsPars& pars, API_ElemTypeID type);
// As above, with the sub-type id copied into pars. APIERR_BADNAME, with pars untouched and no
// dialog, when subtypeID does not fit the field.
GSErrCode ShowObjectSettings(API_ObjectSettingsPars& pars, API_ElemTypeID type, const char* subtypeID);
GSErrCode SettingsDialog(API_ToolBoxItem* item, const API_Guid* guid);
GSErrCode ClearElementHighlight();
GSErrCode SetElementHighlight(const GS::HashTable<API_Guid, API_RGBAColor>& highlight, const GS::Optional<bool>& wireframe3D,
	const GS::Optional<API_RGBAColor>& nonHighlightedColor);
// A cancelled input comes back as the host's error code.
GSErrCode GetPoint(API_GetPointType& info, RubberLineInfoProc* rubberLine, Get3DComponentProc* get3DComponent);
GSErrCode GetLine(API_GetLineType& info, RubberLineInfoProc* rubberLine);
GSErrCode GetArc(API_GetArcType& info, RubberLineInfoProc* rubberLine);
GSErrCode GetPoly(API_GetPolyType& info, API_RubberPolyCallbacks* callbacks);
GSErrCode CancelUserInput();
GSErrCode CompleteUserInput();
GSErrCode DrawRubberLine(API_RubberLineType* line);
GSErrCode DrawRubberArc(API_RubberArcType* arc);
GSErrCode RegisterMenu(short menuStrResID, short promptStrResID, APIMenuCodeID menuPosCode, unsigned int flags);
GSErrCode InstallMenuHandler(short menuStrResID, MenuHandler* handler);
GSErrCode GetMenuItemText(const API_MenuItemRef* item, char* text, GS::UniString* uniText);
GSErrCode SetMenuItemText(const API_MenuItemRef* item, char* text, GS::UniString* uniText);
GSErrCode AddMenuItemText(const API_MenuItemRef* item, char* text, GS::UniString* uniText);
GSErrCode GetMenuItemFlags(const API_MenuItemRef* item, unsigned int* flags, GS::UniString* text);
GSErrCode SetMenuItemFlags(const API_MenuItemRef* item, unsigned int* flags, GS::UniString* text);
GSErrCode InitNeigFilter(char (*filter)[16], API_InitNeigFilterID id);
GSErrCode SetNeigFilter(char (*filter)[16], API_NeigID neig);
GSErrCode SetUserControlCallback(API_UCCallbackType* callback);
GSErrCode CreateAttributePicker(const API_AttributePickerParams& params, GS::Owner<API_AttributePicker>& picker);

} // namespace kivel::Interface

#endif
