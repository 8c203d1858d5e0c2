// Calls between add-ons. Each passes its arguments unchanged and returns the host's code.
// One call of another add-on: InitMDCLParameterList, AddMDCLParameter per parameter,
// InterAddonCommunicationCall, GetMDCLParameter, FreeMDCLParameterList.
#ifndef KIVEL_COMMUNICATION_HPP
#define KIVEL_COMMUNICATION_HPP

#include "ACAPinc.h"

namespace kivel::Communication {

GSErrCode InterAddonCommunicationTest(const API_ModulID* mdid, unsigned int cmdID, int cmdVersion);
GSErrCode InterAddonCommunicationCall(const API_ModulID* mdid, unsigned int cmdID, int cmdVersion, char** params, char* resultData, bool silentMode);
GSErrCode InterAddonCommunicationExternalCall(const IO::Location* projectFile, const API_ModulID* mdid, unsigned int cmdID, int cmdVersion,
	char** params, bool silentMode, APIModulCommandCallBackProc* resultCallback);
GSErrCode InterAddonCommunicationCallFromEventLoop(const API_ModulID* mdid, unsigned int cmdID, int cmdVersion, char** params,
	bool silentMode, APIModulCommandCallBackProc* completionCallback);
GSErrCode InstallModulCommandHandler(unsigned int cmdID, int cmdVersion, APIModulCommandProc* handler);
GSErrCode RegisterSupportedService(unsigned int cmdID, int cmdVersion);
GSErrCode RegisterRequiredService(const API_ModulID* mdid, unsigned int cmdID, int cmdVersion);
GSErrCode InitMDCLParameterList(char*** params);
GSErrCode FreeMDCLParameterList(char*** params);
GSErrCode GetMDCLParameterNumber(char** params, int& count);
GSErrCode GetMDCLParameter(char** params, API_MDCLParameter& par);
GSErrCode AddMDCLParameter(char** params, API_MDCLParameter& par);
GSErrCode ChangeMDCLParameter(char** params, API_MDCLParameter& par);

} // namespace kivel::Communication

#endif
