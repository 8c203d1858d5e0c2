#include "generic/Communication.hpp"

#include "generic/HostApi.hpp"

namespace kivel::Communication {

GSErrCode InterAddonCommunicationTest(const API_ModulID* mdid, unsigned int cmdID, int cmdVersion)
{
	return KIVEL_HOST_CALL(ACAPI_AddOnAddOnCommunication_Test(mdid, cmdID, cmdVersion), ACAPI_Command_Test(mdid, cmdID, cmdVersion));
}

GSErrCode InterAddonCommunicationCall(const API_ModulID* mdid, unsigned int cmdID, int cmdVersion, char** params, char* resultData, bool silentMode)
{
	return KIVEL_HOST_CALL(ACAPI_AddOnAddOnCommunication_Call(mdid, cmdID, cmdVersion, params, resultData, silentMode),
	                       ACAPI_Command_Call(mdid, cmdID, cmdVersion, params, resultData, silentMode));
}

GSErrCode InterAddonCommunicationExternalCall(const IO::Location* projectFile, const API_ModulID* mdid, unsigned int cmdID, int cmdVersion,
	char** params, bool silentMode, APIModulCommandCallBackProc* resultCallback)
{
	return KIVEL_HOST_CALL(ACAPI_AddOnAddOnCommunication_ExternalCall(projectFile, mdid, cmdID, cmdVersion, params, silentMode, resultCallback),
	                       ACAPI_Command_ExternalCall(projectFile, mdid, cmdID, cmdVersion, params, silentMode, resultCallback));
}

GSErrCode InterAddonCommunicationCallFromEventLoop(const API_ModulID* mdid, unsigned int cmdID, int cmdVersion, char** params,
	bool silentMode, APIModulCommandCallBackProc* completionCallback)
{
	return KIVEL_HOST_CALL(ACAPI_AddOnAddOnCommunication_CallFromEventLoop(mdid, cmdID, cmdVersion, params, silentMode, completionCallback),
	                       ACAPI_Command_CallFromEventLoop(mdid, cmdID, cmdVersion, params, silentMode, completionCallback));
}

GSErrCode InstallModulCommandHandler(unsigned int cmdID, int cmdVersion, APIModulCommandProc* handler)
{
	return KIVEL_HOST_CALL(ACAPI_AddOnIntegration_InstallModulCommandHandler(cmdID, cmdVersion, handler),
	                       ACAPI_Install_ModulCommandHandler(cmdID, cmdVersion, handler));
}

GSErrCode RegisterSupportedService(unsigned int cmdID, int cmdVersion)
{
	return KIVEL_HOST_CALL(ACAPI_AddOnAddOnCommunication_RegisterSupportedService(cmdID, cmdVersion), ACAPI_Register_SupportedService(cmdID, cmdVersion));
}

GSErrCode RegisterRequiredService(const API_ModulID* mdid, unsigned int cmdID, int cmdVersion)
{
	return KIVEL_HOST_CALL(ACAPI_AddOnIntegration_RegisterRequiredService(mdid, cmdID, cmdVersion), ACAPI_Register_RequiredService(mdid, cmdID, cmdVersion));
}

GSErrCode InitMDCLParameterList(char*** params) { return KIVEL_HOST_CALL(ACAPI_AddOnAddOnCommunication_InitMDCLParameterList(params), ACAPI_Goodies(CommandCode("ICLP"), params)); }
GSErrCode FreeMDCLParameterList(char*** params) { return KIVEL_HOST_CALL(ACAPI_AddOnAddOnCommunication_FreeMDCLParameterList(params), ACAPI_Goodies(CommandCode("FCLP"), params)); }

GSErrCode GetMDCLParameterNumber(char** params, int& count)
{
	return KIVEL_HOST_CALL(ACAPI_AddOnAddOnCommunication_GetMDCLParameterNum(params, &count), ACAPI_Goodies(CommandCode("NCLP"), params, &count));
}

GSErrCode GetMDCLParameter(char** params, API_MDCLParameter& par)
{
	return KIVEL_HOST_CALL(ACAPI_AddOnAddOnCommunication_GetMDCLParameter(params, &par), ACAPI_Goodies(CommandCode("GCLP"), params, &par));
}

GSErrCode AddMDCLParameter(char** params, API_MDCLParameter& par)
{
	return KIVEL_HOST_CALL(ACAPI_AddOnAddOnCommunication_AddMDCLParameter(params, &par), ACAPI_Goodies(CommandCode("ACLP"), params, &par));
}

GSErrCode ChangeMDCLParameter(char** params, API_MDCLParameter& par)
{
	return KIVEL_HOST_CALL(ACAPI_AddOnAddOnCommunication_ChangeMDCLParameter(params, &par), ACAPI_Goodies(CommandCode("CCLP"), params, &par));
}

} // namespace kivel::Communication
