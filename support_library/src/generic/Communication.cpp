#include "generic/Communication.hpp"

#include "generic/HostApi.hpp"

namespace kivel::Communication {

GSErrCode InterAddonCommunicationTest(const API_ModulID* mdid, unsigned int cmdID, int cmdVersion)
{
	return ACAPI_AddOnAddOnCommunication_Test(mdid, cmdID, cmdVersion);
}

GSErrCode InterAddonCommunicationCall(const API_ModulID* mdid, unsigned int cmdID, int cmdVersion, char** params, char* resultData, bool silentMode)
{
	return ACAPI_AddOnAddOnCommunication_Call(mdid, cmdID, cmdVersion, params, resultData, silentMode);
}

GSErrCode InterAddonCommunicationExternalCall(const IO::Location* projectFile, const API_ModulID* mdid, unsigned int cmdID, int cmdVersion,
	char** params, bool silentMode, APIModulCommandCallBackProc* resultCallback)
{
	return ACAPI_AddOnAddOnCommunication_ExternalCall(projectFile, mdid, cmdID, cmdVersion, params, silentMode, resultCallback);
}

GSErrCode InterAddonCommunicationCallFromEventLoop(const API_ModulID* mdid, unsigned int cmdID, int cmdVersion, char** params,
	bool silentMode, APIModulCommandCallBackProc* completionCallback)
{
	return ACAPI_AddOnAddOnCommunication_CallFromEventLoop(mdid, cmdID, cmdVersion, params, silentMode, completionCallback);
}

GSErrCode InstallModulCommandHandler(unsigned int cmdID, int cmdVersion, APIModulCommandProc* handler)
{
	return ACAPI_AddOnIntegration_InstallModulCommandHandler(cmdID, cmdVersion, handler);
}

GSErrCode RegisterSupportedService(unsigned int cmdID, int cmdVersion) { return ACAPI_AddOnAddOnCommunication_RegisterSupportedService(cmdID, cmdVersion); }

GSErrCode RegisterRequiredService(const API_ModulID* mdid, unsigned int cmdID, int cmdVersion)
{
	return ACAPI_AddOnIntegration_RegisterRequiredService(mdid, cmdID, cmdVersion);
}

GSErrCode InitMDCLParameterList(char*** params) { return ACAPI_AddOnAddOnCommunication_InitMDCLParameterList(params); }
GSErrCode FreeMDCLParameterList(char*** params) { return ACAPI_AddOnAddOnCommunication_FreeMDCLParameterList(params); }

GSErrCode GetMDCLParameterNumber(char** params, int& count) { return ACAPI_AddOnAddOnCommunication_GetMDCLParameterNum(params, &count); }
GSErrCode GetMDCLParameter(char** params, API_MDCLParameter& par) { return ACAPI_AddOnAddOnCommunication_GetMDCLParameter(params, &par); }
GSErrCode AddMDCLParameter(char** params, API_MDCLParameter& par) { return ACAPI_AddOnAddOnCommunication_AddMDCLParameter(params, &par); }
GSErrCode ChangeMDCLParameter(char** params, API_MDCLParameter& par) { return ACAPI_AddOnAddOnCommunication_ChangeMDCLParameter(params, &par); }

} // namespace kivel::Communication
