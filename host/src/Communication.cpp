// Calls between add-ons: not modelled yet; every call answers APIERR_NOTSUPPORTED.
#include "ACAPinc.h"

namespace {

GSErrCode Refused() { return APIERR_NOTSUPPORTED; }

} // namespace

GSErrCode ACAPI_AddOnAddOnCommunication_Test(const API_ModulID*, GSType, Int32) { return Refused(); }
GSErrCode ACAPI_AddOnAddOnCommunication_Call(const API_ModulID*, GSType, Int32, GSHandle, GSPtr, bool) { return Refused(); }
GSErrCode ACAPI_AddOnAddOnCommunication_ExternalCall(const IO::Location*, const API_ModulID*, GSType, Int32, GSHandle, bool,
	APIModulCommandCallBackProc*) { return Refused(); }
GSErrCode ACAPI_AddOnAddOnCommunication_CallFromEventLoop(const API_ModulID*, GSType, Int32, GSHandle, bool,
	APIModulCommandCallBackProc*) { return Refused(); }
GSErrCode ACAPI_AddOnIntegration_InstallModulCommandHandler(GSType, Int32, APIModulCommandProc*) { return Refused(); }
GSErrCode ACAPI_AddOnAddOnCommunication_RegisterSupportedService(GSType, Int32) { return Refused(); }
GSErrCode ACAPI_AddOnIntegration_RegisterRequiredService(const API_ModulID*, GSType, Int32) { return Refused(); }
GSErrCode ACAPI_AddOnAddOnCommunication_InitMDCLParameterList(GSHandle*) { return Refused(); }
GSErrCode ACAPI_AddOnAddOnCommunication_FreeMDCLParameterList(GSHandle*) { return Refused(); }
GSErrCode ACAPI_AddOnAddOnCommunication_GetMDCLParameterNum(GSHandle, Int32*) { return Refused(); }
GSErrCode ACAPI_AddOnAddOnCommunication_GetMDCLParameter(GSHandle, API_MDCLParameter*) { return Refused(); }
GSErrCode ACAPI_AddOnAddOnCommunication_AddMDCLParameter(GSHandle, API_MDCLParameter*) { return Refused(); }
GSErrCode ACAPI_AddOnAddOnCommunication_ChangeMDCLParameter(GSHandle, API_MDCLParameter*) { return Refused(); }
