#include "generic/LibraryPart.hpp"

// Each wrapper names its host entry point once; a host-26 build replaces these bodies.
#if VELMORA_HOST_API < 27
#error "the host-26 library-part entry points are not built yet"
#endif

namespace kivel {
namespace LibraryPart {

GSErrCode GetParameters(int libInd, double& a, double& b, int& addParNum, API_AddParType**& addPars)
{
	Int32 n = 0;
	const GSErrCode err = ACAPI_LibraryPart_GetParams(libInd, &a, &b, &n, &addPars);
	addParNum = n;
	return err;
}

GSErrCode OpenParameters(API_ParamOwnerType* owner) { return ACAPI_LibraryPart_OpenParameters(owner); }
GSErrCode CloseParameters() { return ACAPI_LibraryPart_CloseParameters(); }
GSErrCode GetActParameters(API_GetParamsType* params) { return ACAPI_LibraryPart_GetActParameters(params); }
GSErrCode GetParameterValues(API_GetParamValuesType* values) { return ACAPI_LibraryPart_GetParamValues(values); }
GSErrCode ChangeAParameter(API_ChangeParamType* change) { return ACAPI_LibraryPart_ChangeAParameter(change); }

GSErrCode GetSectionList(int libInd, int* count, API_LibPartSection*** sections)
{
	return ACAPI_LibraryPart_GetSectionList(libInd, count, sections);
}

GSErrCode GetSection(int libInd, API_LibPartSection* section, char*** data, GS::UniString* text, const GS::UniString* password)
{
	return ACAPI_LibraryPart_GetSection(libInd, section, data, text, password);
}

GSErrCode NewSection(const API_LibPartSection* section) { return ACAPI_LibraryPart_NewSection(section); }
GSErrCode WriteSection(int nByte, const char* data) { return ACAPI_LibraryPart_WriteSection(nByte, data); }
GSErrCode EndSection() { return ACAPI_LibraryPart_EndSection(); }

GSErrCode AddSection(const API_LibPartSection* section, char** data, GS::UniString* text)
{
	return ACAPI_LibraryPart_AddSection(section, data, text);
}

GSErrCode UpdateSection(int libInd, const API_LibPartSection* section, char** data, GS::UniString* text, GS::UniString* password)
{
	return ACAPI_LibraryPart_UpdateSection(libInd, section, data, text, password);
}

GSErrCode GetSectionParamDef(const API_LibPart* part, API_AddParType** addPars, double* a, double* b, char** draw2D, char*** section, GS::UniString* password)
{
	return ACAPI_LibraryPart_GetSect_ParamDef(part, addPars, a, b, draw2D, section, password);
}

GSErrCode SetDetailsParamDef(const API_LibPart* part, char** section, const API_LibPartDetails* details)
{
	return ACAPI_LibraryPart_SetDetails_ParamDef(part, section, details);
}

GSErrCode CompareLibPartUnIds(const char* unID1, const char* unID2) { return ACAPI_LibraryPart_CompareLibPartUnIds(unID1, unID2); }
GSErrCode OverwriteLibPart(bool overwrite) { return ACAPI_LibraryManagement_OverwriteLibPart(overwrite); }
GSErrCode Create(const API_LibPart* part) { return ACAPI_LibraryPart_Create(part); }
GSErrCode Save(API_LibPart* part) { return ACAPI_LibraryPart_Save(part); }
GSErrCode Register(API_LibPart* part) { return ACAPI_LibraryPart_Register(part); }
GSErrCode RegisterBuiltInLibrary() { return ACAPI_AddOnIntegration_RegisterBuiltInLibrary(); }
GSErrCode GetBuiltInLibraryUnID(short resID, char* unID) { return ACAPI_LibraryPart_GetBuiltInLibpartUnId(resID, unID); }
GSErrCode GetDetails(int libInd, API_LibPartDetails* details) { return ACAPI_LibraryPart_GetDetails(libInd, details); }

} // namespace LibraryPart
} // namespace kivel
