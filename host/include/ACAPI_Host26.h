// The entry points of host generation 26, offered when the host is built for it
// (VELMORA_HOST_API=26). They reach the same model as the later names they stand for
// (ACAPI_Adaptation.h, ACAPI_LibraryParts.h, ACAPinc.h): the named calls take the same
// arguments, and the four dispatchers take a command code and untyped arguments.
#ifndef VHOST_ACAPI_HOST26_H
#define VHOST_ACAPI_HOST26_H

#include "ACAPI_Adaptation.h"
#include "ACAPI_LibraryParts.h"
#include "APIdefs_Base.h"

// The dispatchers. code is a four-character command code (API_FourCC); par1 to par3 are the
// command's record pointers in the order of the later call, a scalar (a mask, a flag, an id)
// passed by its address. A code the host does not model answers APIERR_NOTSUPPORTED. Every
// command sent is recorded in the project ("Environment GSPF").
GSErrCode ACAPI_Environment(GSType code, void* par1 = nullptr, void* par2 = nullptr, void* par3 = nullptr);
GSErrCode ACAPI_Database(GSType code, void* par1 = nullptr, void* par2 = nullptr, void* par3 = nullptr);
GSErrCode ACAPI_Goodies(GSType code, void* par1 = nullptr, void* par2 = nullptr, void* par3 = nullptr);
GSErrCode ACAPI_Interface(GSType code, void* par1 = nullptr, void* par2 = nullptr, void* par3 = nullptr);

// Named calls, each the same as its later name.
GSErrCode ACAPI_GetPreferences_Platform(Int32* version, Int32* nByte, GSPtr data, UInt16* platform);
GSErrCode ACAPI_Interface_ClearElementHighlight();
GSErrCode ACAPI_Interface_SetElementHighlight(const GS::HashTable<API_Guid, API_RGBAColor>& highlight,
	const GS::Optional<bool>& wireframe3D, const GS::Optional<API_RGBAColor>& nonHighlightedColor);
GSErrCode ACAPI_Interface_CreateAttributePicker(const API_AttributePickerParams& params, GS::Owner<API_AttributePicker>& picker);
GSErrCode ACAPI_Register_Menu(short menuStrResID, short promptStrResID, APIMenuCodeID menuPosCode, GSFlags menuFlags);
GSErrCode ACAPI_Install_MenuHandler(short menuStrResID, APIMenuCommandProc* handlerProc);

GSErrCode ACAPI_Command_Test(const API_ModulID* mdid, GSType cmdID, Int32 cmdVersion);
GSErrCode ACAPI_Command_Call(const API_ModulID* mdid, GSType cmdID, Int32 cmdVersion, GSHandle params, GSPtr resultData, bool silentMode);
GSErrCode ACAPI_Command_ExternalCall(const IO::Location* projectFile, const API_ModulID* mdid, GSType cmdID, Int32 cmdVersion,
	GSHandle params, bool silentMode, APIModulCommandCallBackProc* resultCallback);
GSErrCode ACAPI_Command_CallFromEventLoop(const API_ModulID* mdid, GSType cmdID, Int32 cmdVersion, GSHandle params,
	bool silentMode, APIModulCommandCallBackProc* completionCallback);
GSErrCode ACAPI_Install_ModulCommandHandler(GSType cmdID, Int32 cmdVersion, APIModulCommandProc* handlerProc);
GSErrCode ACAPI_Register_SupportedService(GSType cmdID, Int32 cmdVersion);
GSErrCode ACAPI_Register_RequiredService(const API_ModulID* mdid, GSType cmdID, Int32 cmdVersion);

GSErrCode ACAPI_Goodies_GetElemTypeName(const API_ElemType& type, GS::UniString& name);
GSErrCode ACAPI_Goodies_NeigIDToElemType(API_NeigID neigID, API_ElemType& type);
GSErrCode ACAPI_Element_Get3DInfo(const API_Elem_Head& elemHead, API_ElemInfo3D* info3D);
GSErrCode ACAPI_3D_GetNum(API_3DTypeID typeID, Int32* count);
GSErrCode ACAPI_3D_GetComponent(API_Component3D* component);
GSErrCode ACAPI_3D_CreateSight(void** sight);
GSErrCode ACAPI_3D_DeleteSight(void* sight);
GSErrCode ACAPI_3D_SelectSight(void* sight, void** oldSight);
GSErrCode ACAPI_3D_GetCurrentWindowSight(void** sight);
GSErrCode ACAPI_Element_DeleteUserData(API_Elem_Head* elemHead);
GSErrCode ACAPI_Element_ShapePrims(const API_Elem_Head& elemHead, ShapePrimsProc* shapePrimsProc);
GSErrCode ACAPI_Element_Tool(const GS::Array<API_Guid>& elements, API_ToolCmdID command, void* reserved);

GSErrCode ACAPI_LibPart_Search(API_LibPart* ancestor, bool createIfMissing, bool onlyPlaceable = false);
GSErrCode ACAPI_LibPart_Get(API_LibPart* libPart);
GSErrCode ACAPI_LibPart_GetNum(Int32* count);
GSErrCode ACAPI_LibPart_GetParams(Int32 libInd, double* a, double* b, Int32* addParNum, API_AddParType*** addPars);
GSErrCode ACAPI_LibPart_GetDetails(Int32 libInd, API_LibPartDetails* details);
GSErrCode ACAPI_LibPart_GetSectionList(Int32 libInd, Int32* nSection, API_LibPartSection*** sections);
GSErrCode ACAPI_LibPart_GetSection(Int32 libInd, API_LibPartSection* section, GSHandle* sectionHdl, GS::UniString* sectionStr, const GS::UniString* password = nullptr);
GSErrCode ACAPI_LibPart_UpdateSection(Int32 libInd, const API_LibPartSection* section, GSHandle sectionHdl, GS::UniString* sectionStr, const GS::UniString* password = nullptr);
GSErrCode ACAPI_LibPart_Create(const API_LibPart* libPart);
GSErrCode ACAPI_LibPart_NewSection(const API_LibPartSection* section);
GSErrCode ACAPI_LibPart_WriteSection(Int32 nByte, GSConstPtr data);
GSErrCode ACAPI_LibPart_EndSection();
GSErrCode ACAPI_LibPart_AddSection(const API_LibPartSection* section, GSConstHandle sectionHdl, const GS::UniString* sectionStr);
GSErrCode ACAPI_LibPart_Save(API_LibPart* libPart);
GSErrCode ACAPI_LibPart_Register(API_LibPart* libPart);
GSErrCode ACAPI_LibPart_GetSect_ParamDef(const API_LibPart* libPart, API_AddParType** addPars, double* a, double* b, GSHandle sect2DDrawHdl, GSHandle* sectHdl, GS::UniString* password = nullptr);
GSErrCode ACAPI_LibPart_SetDetails_ParamDef(const API_LibPart* libPart, GSHandle paramHdl, const API_LibPartDetails* details);
GSErrCode ACAPI_Register_BuiltInLibrary();

#endif
