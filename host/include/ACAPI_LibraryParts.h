// Library and library-part calls.
//
// The host keeps an ordered list of loaded library folders, the project's embedded library
// first. Every part file inside a loaded folder is known by a 1-based index that never
// changes during a run. A part is made in steps: Create, then sections one at a time
// (NewSection, WriteSection..., EndSection, or one AddSection), then Save, which writes the
// part file, gives the part its index and makes it findable.
#ifndef VHOST_ACAPI_LIBRARYPARTS_H
#define VHOST_ACAPI_LIBRARYPARTS_H

#include "APIdefs_Elements.h"
#include "APIdefs_LibraryParts.h"

#if VHOST_HOST29_NAMES
// The loaded libraries in order; embeddedLibraryIndex (optional) receives the position of
// the embedded library.
GSErrCode ACAPI_LibraryManagement_GetLibraries(GS::Array<API_LibraryInfo>* libs, Int32* embeddedLibraryIndex = nullptr);
// Replaces the list. Every entry must be an existing folder (APIERR_BADPARS, nothing
// changed). The embedded library stays loaded whatever the list says; duplicates count once.
GSErrCode ACAPI_LibraryManagement_SetLibraries(const GS::Array<API_LibraryInfo>* libs);
// Adds one folder at the end (no change when it is loaded already).
GSErrCode ACAPI_LibraryManagement_AddLibraries(const IO::Location* folder);
// With overwrite on, Create accepts the name of a loaded part and Save replaces it.
GSErrCode ACAPI_LibraryManagement_OverwriteLibPart(bool overwrite);
// Runs the parameter script of the element's library part. The host only records the run
// (element GUID and mask); APIERR_BADPARS for a null head.
GSErrCode ACAPI_LibraryManagement_RunGDLParScript(const API_Elem_Head* head, UInt32 mask);
#endif // VHOST_HOST29_NAMES

// Copies files into a folder (made when missing). An existing target with overwrite off is
// APIERR_NAMEALREADYUSED; the other files are still copied.
GSErrCode ACAPI_LibraryManagement_CopyFilesIntoLibrary(const IO::Location& folder, const GS::Array<IO::Location>& files, bool overwrite);

// Records of parameter editing sessions, passed through.
struct API_ParamOwnerType;
struct API_GetParamsType;
struct API_GetParamValuesType;
struct API_ChangeParamType;

#if VHOST_HOST29_NAMES
// Finds a loaded part by its own unique id or else by its name (case-insensitive). Fills
// the record and sets *location to the part file (a new location when the pointer is null;
// the caller owns it). Not found: APIERR_BADNAME and the record unchanged.
// createIfMissing is not modelled (APIERR_NOTSUPPORTED when it would be needed).
GSErrCode ACAPI_LibraryPart_Search(API_LibPart* ancestor, bool createIfMissing, bool onlyPlaceable = false);
// The part of ->index, filled as by Search. APIERR_BADINDEX for an unknown index.
GSErrCode ACAPI_LibraryPart_Get(API_LibPart* libPart);
// How many indices have been given out.
GSErrCode ACAPI_LibraryPart_GetNum(Int32* count);
// The part's default parameters: A, B and a new handle of records (array values in their
// own handles; free it all with ACAPI_DisposeAddParHdl).
GSErrCode ACAPI_LibraryPart_GetParams(Int32 libInd, double* a, double* b, Int32* addParNum, API_AddParType*** addPars);
GSErrCode ACAPI_LibraryPart_GetDetails(Int32 libInd, API_LibPartDetails* details);
// A new handle of the part's section headers.
GSErrCode ACAPI_LibraryPart_GetSectionList(Int32 libInd, Int32* nSection, API_LibPartSection*** sections);
// A new handle with the bytes of the part's first section of that type and sub-identity.
GSErrCode ACAPI_LibraryPart_GetSection(Int32 libInd, API_LibPartSection* section, GSHandle* sectionHdl, GS::UniString* sectionStr, const GS::UniString* password = nullptr);
GSErrCode ACAPI_LibraryPart_UpdateSection(Int32 libInd, const API_LibPartSection* section, GSHandle sectionHdl, GS::UniString* sectionStr, const GS::UniString* password = nullptr);

// Starts a part. The record's location is its folder (the file gets the part's name) or
// its file. A loaded part of the same name or an existing file needs overwrite mode
// (APIERR_NAMEALREADYUSED). One part at a time (APIERR_REFUSEDCMD).
GSErrCode ACAPI_LibraryPart_Create(const API_LibPart* libPart);
GSErrCode ACAPI_LibraryPart_NewSection(const API_LibPartSection* section);
GSErrCode ACAPI_LibraryPart_WriteSection(Int32 nByte, GSConstPtr data);
GSErrCode ACAPI_LibraryPart_EndSection();
// Adds a whole section from a handle (its bytes are copied).
GSErrCode ACAPI_LibraryPart_AddSection(const API_LibPartSection* section, GSConstHandle sectionHdl, const GS::UniString* sectionStr);
// Finishes the part: closes an open section, writes the file, fills ->index and, when
// ->location is set, the file's location.
GSErrCode ACAPI_LibraryPart_Save(API_LibPart* libPart);
// Makes an existing file at ->location a part of ->typeID (named by ->docu_UName, or by
// the file name); fills ->index.
GSErrCode ACAPI_LibraryPart_Register(API_LibPart* libPart);

// Builds an encoded parameter section from the records (count from the handle size) and
// A and B. The records are checked: names terminated, kinds known, array values matching
// their dimensions (APIERR_BADPARS). Extra 2D data and passwords are not modelled.
GSErrCode ACAPI_LibraryPart_GetSect_ParamDef(const API_LibPart* libPart, API_AddParType** addPars, double* a, double* b, GSHandle sect2DDrawHdl, GSHandle* sectHdl, GS::UniString* password = nullptr);
// Writes the details into an encoded parameter section.
GSErrCode ACAPI_LibraryPart_SetDetails_ParamDef(const API_LibPart* libPart, GSHandle paramHdl, const API_LibPartDetails* details);
// 0 when the two unique ids are equal; APIERR_NOTEQUALMAIN or APIERR_NOTEQUALREVISION.
GSErrCode ACAPI_LibraryPart_CompareLibPartUnIds(const char* unID1, const char* unID2);
GSErrCode ACAPI_LibraryPart_GetBuiltInLibpartUnId(short templateFileResID, char* lpfUnID);
GSErrCode ACAPI_AddOnIntegration_RegisterBuiltInLibrary();

// Parameter editing sessions (not modelled: APIERR_NOTSUPPORTED).
GSErrCode ACAPI_LibraryPart_OpenParameters(API_ParamOwnerType* paramOwner);
GSErrCode ACAPI_LibraryPart_CloseParameters();
GSErrCode ACAPI_LibraryPart_GetActParameters(API_GetParamsType* theParams);
GSErrCode ACAPI_LibraryPart_GetParamValues(API_GetParamValuesType* paramValues);
GSErrCode ACAPI_LibraryPart_ChangeAParameter(API_ChangeParamType* changeParamType);

#endif // VHOST_HOST29_NAMES

// Frees a parameter handle and the array values of its records; nulls the caller's variable.
GSErrCode ACAPI_DisposeAddParHdl(API_AddParType*** addPars);

#endif
