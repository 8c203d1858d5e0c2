// The host's add-on API, as the add-on calls it.
#ifndef VHOST_ACAPINC_H
#define VHOST_ACAPINC_H

#include <functional>

#include "ACAPI_Dialogs.h"
#include "ACAPI_GeoLocation.h"
#include "APIdefs_Base.h"
#include "APIdefs_Errors.h"
#include "ACAPI_Adaptation.h"
#include "ACAPI_Attributes.h"
#include "ACAPI_Elements.h"
#include "ACAPI_LibraryParts.h"
#include "ACAPI_Polygon.h"
#include "FileSystem.hpp"
#include "GSRoot.hpp"
#if VELMORA_HOST_API < 27
#include "ACAPI_Host26.h"
#endif

// The four entry points every add-on exports (with C linkage).
extern "C" {
API_AddonType CheckEnvironment(API_EnvirParams* envir);
GSErrCode RegisterInterface(void);
GSErrCode Initialize(void);
GSErrCode FreeData(void);
}

// Report window. The format is printf-style; with withAlert the text is also shown as an alert.
// withAlert is an int, the type a flag has after promotion, so that the arguments after it
// are reached in a defined way.
void ACAPI_WriteReport(const char* format, int withAlert, ...);

#if VHOST_HOST29_NAMES
// Menus.
GSErrCode ACAPI_MenuItem_RegisterMenu(short menuStrResID, short promptStrResID, APIMenuCodeID menuPosCode, GSFlags menuFlags);
GSErrCode ACAPI_MenuItem_InstallMenuHandler(short menuStrResID, APIMenuCommandProc* handlerProc);
#endif

// Identification of the add-on and its host.
GSErrCode ACAPI_GetOwnLocation(IO::Location* ownFileLoc);
GSResModule ACAPI_GetOwnResModule();
#if VHOST_HOST29_NAMES
GSErrCode ACAPI_AddOnIdentification_Application(API_ServerApplicationInfo* appInfo);
#endif
// Asks the host to keep the add-on loaded after the command.
GSErrCode ACAPI_KeepInMemory(bool keepInMemory);

// Runs fn as one undoable step named name. An error result rolls the step back.
GSErrCode ACAPI_CallUndoableCommand(const GS::UniString& undoString, const std::function<GSErrCode()>& command);

#endif
