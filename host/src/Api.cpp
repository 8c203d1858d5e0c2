// Report window, menus, identification, undo.
#include <cstdarg>

#include "ACAPinc.h"
#include "vhost/Project.hpp"
#include "vhost/Text.hpp"
#include "NamedCall.hpp"

void ACAPI_WriteReport(const char* format, int withAlert, ...)
{
	va_list args;
	va_start(args, withAlert);
	const std::string text = vhost::ToUtf8(GS::UniString::VPrintf(format != nullptr ? format : "", args));
	va_end(args);
	vhost::Current().reports.push_back({text, withAlert != 0});
}

GSErrCode ACAPI_MenuItem_RegisterMenu(short menuStrResID, short promptStrResID, APIMenuCodeID menuPosCode, GSFlags menuFlags)
{
	const vhost::NamedCall named(__func__);
	vhost::Project& p = vhost::Current();
	if (const GSErrCode f = vhost::FaultFor("ACAPI_MenuItem_RegisterMenu")) return f;
	for (const auto& m : p.menus)
		if (m.menuResID == menuStrResID) return APIERR_REFUSEDCMD;
	p.menus.push_back({menuStrResID, promptStrResID, static_cast<Int32>(menuPosCode), menuFlags});
	return NoError;
}

GSErrCode ACAPI_MenuItem_InstallMenuHandler(short menuStrResID, APIMenuCommandProc* handlerProc)
{
	vhost::Project& p = vhost::Current();
	if (handlerProc == nullptr) return APIERR_BADPARS;
	if (const GSErrCode f = vhost::FaultFor("ACAPI_MenuItem_InstallMenuHandler")) return f;
	bool registered = false;
	for (const auto& m : p.menus) registered = registered || m.menuResID == menuStrResID;
	if (!registered) return APIERR_BADID;
	p.menuHandlers[menuStrResID] = reinterpret_cast<vhost::MenuHandler>(handlerProc);
	return NoError;
}

GSErrCode ACAPI_GetOwnLocation(IO::Location* ownFileLoc)
{
	if (ownFileLoc == nullptr) return APIERR_BADPARS;
	const vhost::Project& p = vhost::Current();
	if (p.addonFile.empty()) return APIERR_GENERAL;
	*ownFileLoc = IO::Location(p.addonFile.c_str());
	return NoError;
}

GSResModule ACAPI_GetOwnResModule() { return 1; }

GSErrCode ACAPI_AddOnIdentification_Application(API_ServerApplicationInfo* appInfo)
{
	const vhost::NamedCall named(__func__);
	if (appInfo == nullptr) return APIERR_BADPARS;
	*appInfo = API_ServerApplicationInfo();
	appInfo->mainVersion = VELMORA_HOST_API;
	appInfo->buildNum = 3000;
	appInfo->language = GS::UniString(vhost::Current().languageCode);
	return NoError;
}

GSErrCode ACAPI_KeepInMemory(bool keepInMemory)
{
	vhost::Current().keepInMemory = keepInMemory;
	if (keepInMemory) ++vhost::Current().keepInMemoryRequests;
	return NoError;
}

GSErrCode ACAPI_CallUndoableCommand(const GS::UniString& undoString, const std::function<GSErrCode()>& command)
{
	vhost::Project& p = vhost::Current();
	if (!command) return APIERR_BADPARS;
	if (p.undoDepth > 0) return APIERR_NESTING; // steps do not nest
	p.undoJournal = vhost::UndoJournal{p.state.elements.size(), p.state.solidLinks.size(), {}, std::nullopt};
	++p.undoDepth;
	const GSErrCode result = vhost::Guarded("undoable command", command);
	--p.undoDepth;
	vhost::UndoStep step{vhost::ToUtf8(undoString), result, false};
	if (result != NoError) {
		vhost::RollBackStep();
		step.rolledBack = true;
	}
	p.undoJournal = vhost::UndoJournal();
	p.undo.push_back(step);
	return result;
}
