// Library-part calls: parameters, sections, making and saving parts. Every call passes its
// arguments to the host unchanged and answers the host's error code (0 for success).
//
// Making a part: OverwriteLibPart(true); Create; OverwriteLibPart(false); for each section
// NewSection, WriteSection..., EndSection (or one AddSection with a whole section handle);
// Save, which fills the record's library index and location.
#ifndef KIVEL_LIBRARYPART_HPP
#define KIVEL_LIBRARYPART_HPP

#include "ACAPinc.h"

namespace kivel {
namespace LibraryPart {

// The part's default parameters; the caller owns addPars (ACAPI_DisposeAddParHdl).
GSErrCode GetParameters(int libInd, double& a, double& b, int& addParNum, API_AddParType**& addPars);
GSErrCode OpenParameters(API_ParamOwnerType* owner);
GSErrCode CloseParameters();
GSErrCode GetActParameters(API_GetParamsType* params);
GSErrCode GetParameterValues(API_GetParamValuesType* values);
GSErrCode ChangeAParameter(API_ChangeParamType* change);

GSErrCode GetSectionList(int libInd, int* count, API_LibPartSection*** sections);
GSErrCode GetSection(int libInd, API_LibPartSection* section, char*** data, GS::UniString* text, const GS::UniString* password);
GSErrCode NewSection(const API_LibPartSection* section);
GSErrCode WriteSection(int nByte, const char* data);
GSErrCode EndSection();
GSErrCode AddSection(const API_LibPartSection* section, char** data, GS::UniString* text);
GSErrCode UpdateSection(int libInd, const API_LibPartSection* section, char** data, GS::UniString* text, GS::UniString* password);
// Encodes records and A, B into a new parameter section handle (*section).
GSErrCode GetSectionParamDef(const API_LibPart* part, API_AddParType** addPars, double* a, double* b, char** draw2D, char*** section, GS::UniString* password);
GSErrCode SetDetailsParamDef(const API_LibPart* part, char** section, const API_LibPartDetails* details);
GSErrCode CompareLibPartUnIds(const char* unID1, const char* unID2);

GSErrCode OverwriteLibPart(bool overwrite);
GSErrCode Create(const API_LibPart* part);
GSErrCode Save(API_LibPart* part);
GSErrCode Register(API_LibPart* part);
GSErrCode RegisterBuiltInLibrary();
GSErrCode GetBuiltInLibraryUnID(short resID, char* unID);
GSErrCode GetDetails(int libInd, API_LibPartDetails* details);

} // namespace LibraryPart
} // namespace kivel

#endif
