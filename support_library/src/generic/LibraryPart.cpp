#include "generic/LibraryPart.hpp"

#include "generic/HostApi.hpp"

namespace kivel {
namespace LibraryPart {

GSErrCode GetParameters(int libInd, double& a, double& b, int& addParNum, API_AddParType**& addPars)
{
	Int32 n = 0;
	const GSErrCode err = KIVEL_HOST_CALL(ACAPI_LibraryPart_GetParams(libInd, &a, &b, &n, &addPars), ACAPI_LibPart_GetParams(libInd, &a, &b, &n, &addPars));
	addParNum = n;
	return err;
}

GSErrCode OpenParameters(API_ParamOwnerType* owner) { return KIVEL_HOST_CALL(ACAPI_LibraryPart_OpenParameters(owner), ACAPI_Goodies(CommandCode("OPAR"), owner)); }
GSErrCode CloseParameters() { return KIVEL_HOST_CALL(ACAPI_LibraryPart_CloseParameters(), ACAPI_Goodies(CommandCode("CPAR"))); }
GSErrCode GetActParameters(API_GetParamsType* params) { return KIVEL_HOST_CALL(ACAPI_LibraryPart_GetActParameters(params), ACAPI_Goodies(CommandCode("GPAR"), params)); }
GSErrCode GetParameterValues(API_GetParamValuesType* values) { return KIVEL_HOST_CALL(ACAPI_LibraryPart_GetParamValues(values), ACAPI_Goodies(CommandCode("GPVL"), values)); }
GSErrCode ChangeAParameter(API_ChangeParamType* change) { return KIVEL_HOST_CALL(ACAPI_LibraryPart_ChangeAParameter(change), ACAPI_Goodies(CommandCode("CHGP"), change)); }

GSErrCode GetSectionList(int libInd, int* count, API_LibPartSection*** sections)
{
	return KIVEL_HOST_CALL(ACAPI_LibraryPart_GetSectionList(libInd, count, sections), ACAPI_LibPart_GetSectionList(libInd, count, sections));
}

GSErrCode GetSection(int libInd, API_LibPartSection* section, char*** data, GS::UniString* text, const GS::UniString* password)
{
	return KIVEL_HOST_CALL(ACAPI_LibraryPart_GetSection(libInd, section, data, text, password), ACAPI_LibPart_GetSection(libInd, section, data, text, password));
}

GSErrCode NewSection(const API_LibPartSection* section) { return KIVEL_HOST_CALL(ACAPI_LibraryPart_NewSection(section), ACAPI_LibPart_NewSection(section)); }
GSErrCode WriteSection(int nByte, const char* data) { return KIVEL_HOST_CALL(ACAPI_LibraryPart_WriteSection(nByte, data), ACAPI_LibPart_WriteSection(nByte, data)); }
GSErrCode EndSection() { return KIVEL_HOST_CALL(ACAPI_LibraryPart_EndSection(), ACAPI_LibPart_EndSection()); }

GSErrCode AddSection(const API_LibPartSection* section, char** data, GS::UniString* text)
{
	return KIVEL_HOST_CALL(ACAPI_LibraryPart_AddSection(section, data, text), ACAPI_LibPart_AddSection(section, data, text));
}

GSErrCode UpdateSection(int libInd, const API_LibPartSection* section, char** data, GS::UniString* text, GS::UniString* password)
{
	return KIVEL_HOST_CALL(ACAPI_LibraryPart_UpdateSection(libInd, section, data, text, password), ACAPI_LibPart_UpdateSection(libInd, section, data, text, password));
}

GSErrCode GetSectionParamDef(const API_LibPart* part, API_AddParType** addPars, double* a, double* b, char** draw2D, char*** section, GS::UniString* password)
{
	return KIVEL_HOST_CALL(ACAPI_LibraryPart_GetSect_ParamDef(part, addPars, a, b, draw2D, section, password), ACAPI_LibPart_GetSect_ParamDef(part, addPars, a, b, draw2D, section, password));
}

GSErrCode SetDetailsParamDef(const API_LibPart* part, char** section, const API_LibPartDetails* details)
{
	return KIVEL_HOST_CALL(ACAPI_LibraryPart_SetDetails_ParamDef(part, section, details), ACAPI_LibPart_SetDetails_ParamDef(part, section, details));
}

GSErrCode CompareLibPartUnIds(const char* unID1, const char* unID2) { return KIVEL_HOST_CALL(ACAPI_LibraryPart_CompareLibPartUnIds(unID1, unID2), ACAPI_Goodies(CommandCode("COMP"), Arg(unID1), Arg(unID2))); }
GSErrCode OverwriteLibPart(bool overwrite) { return KIVEL_HOST_CALL(ACAPI_LibraryManagement_OverwriteLibPart(overwrite), ACAPI_Environment(CommandCode("OWLP"), &overwrite)); }
GSErrCode Create(const API_LibPart* part) { return KIVEL_HOST_CALL(ACAPI_LibraryPart_Create(part), ACAPI_LibPart_Create(part)); }
GSErrCode Save(API_LibPart* part) { return KIVEL_HOST_CALL(ACAPI_LibraryPart_Save(part), ACAPI_LibPart_Save(part)); }
GSErrCode Register(API_LibPart* part) { return KIVEL_HOST_CALL(ACAPI_LibraryPart_Register(part), ACAPI_LibPart_Register(part)); }
GSErrCode RegisterBuiltInLibrary() { return KIVEL_HOST_CALL(ACAPI_AddOnIntegration_RegisterBuiltInLibrary(), ACAPI_Register_BuiltInLibrary()); }
GSErrCode GetBuiltInLibraryUnID(short resID, char* unID) { return KIVEL_HOST_CALL(ACAPI_LibraryPart_GetBuiltInLibpartUnId(resID, unID), ACAPI_Goodies(CommandCode("GLUI"), &resID, unID)); }
GSErrCode GetDetails(int libInd, API_LibPartDetails* details) { return KIVEL_HOST_CALL(ACAPI_LibraryPart_GetDetails(libInd, details), ACAPI_LibPart_GetDetails(libInd, details)); }

} // namespace LibraryPart
} // namespace kivel
