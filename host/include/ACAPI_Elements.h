// Element calls: defaults, create, get, change, list, delete, memos, solid links.
//
// Elements live in the open project in creation order, each known by a GUID the host gives
// it. Create, Change, Delete and the solid-link calls work only inside an undoable step
// (APIERR_NEEDSUNDOSCOPE); a step that fails is rolled back. The kinds modelled are
// object, lamp, mesh, line, polyline, arc, circle and text; any other known kind answers
// APIERR_NOTSUPPORTED, an unknown type code APIERR_BADELEMENTTYPE.
#ifndef VHOST_ACAPI_ELEMENTS_H
#define VHOST_ACAPI_ELEMENTS_H

#include "APIdefs_Elements.h"
#include "Array.hpp"

// The current settings of the tool for element->header.type: the kind's record with its
// defaults, layer 1, the active story. The type stays; the memo is not touched.
GSErrCode ACAPI_Element_GetDefaults(API_Element* element, API_ElementMemo* memo);

// Places a new element and writes its GUID into element->header.guid. Refused: a layer
// that does not exist (APIERR_BADINDEX); numbers that are not finite (APIERR_BADPARS);
// an object whose library part is not loaded (APIERR_BADINDEX) - without memo parameters it
// takes the part's defaults; a polyline or mesh whose memo tables are missing or do not
// match the counts (APIERR_BADPARS) or whose contour ends are wrong (APIERR_BADPOLY); a mesh
// outline the host cannot use (see vhost::CheckMesh); an arc or circle of radius <= 0
// (APIERR_BADPARS); a text without content (APIERR_BADPARS). The memo stays the caller's.
GSErrCode ACAPI_Element_Create(API_Element* element, API_ElementMemo* memo);

// Fills the record of the element whose GUID element->header.guid holds (APIERR_BADID when
// there is none). mask is accepted and the whole record is filled.
GSErrCode ACAPI_Element_Get(API_Element* element, UInt32 mask = 0);

// Fills memo with new handles of the element's memo data the mask names (the caller frees
// them with ACAPI_DisposeElemMemoHdls); parts the element does not have stay null.
GSErrCode ACAPI_Element_GetMemo(const API_Guid& guid, API_ElementMemo* memo, UInt64 mask = APIMemoMask_All);

// Changes the element of element->header.guid: every byte the mask marks (see
// ACAPI_ELEMENT_MASK_SET) is taken from element; its GUID and type never change. With
// memoMask APIMemoMask_AddPars the object's parameters are replaced from memo, with
// APIMemoMask_TextContent the text's content; other memo parts and changes of polygon
// counts answer APIERR_NOTSUPPORTED. The changed element is checked as on Create;
// element then holds the stored record.
GSErrCode ACAPI_Element_Change(API_Element* element, const API_Element* mask, const API_ElementMemo* memo, UInt64 memoMask, bool withDel);

// The GUIDs of every element of the type (API_ZombieElemID: of every type), in creation
// order. Filters: APIFilt_OnVisLayer (layer not hidden), APIFilt_OnActFloor (active story);
// other filter bits answer APIERR_NOTSUPPORTED. The variation and renovation filter are
// accepted and not applied.
GSErrCode ACAPI_Element_GetElemList(const API_ElemType& type, GS::Array<API_Guid>* elemList, API_ElemFilterFlags filterBits = APIFilt_None,
	API_ElemVariationID variationID = APIVarId_Generic, const API_Guid& renovationFilter = APINULLGuid);

// Deletes the elements, and the solid links they take part in. An unknown GUID answers
// APIERR_BADID and deletes nothing.
GSErrCode ACAPI_Element_Delete(const GS::Array<API_Guid>& elemGuids);

// Frees every handle of the memo and its text; nulls the fields. A zeroed memo is no error.
GSErrCode ACAPI_DisposeElemMemoHdls(API_ElementMemo* memo);

// Links the operator's body to the target's by the operation (both 3D elements:
// APIERR_BADELEMENTTYPE otherwise; unknown: APIERR_BADID; the same element or an unknown
// operation: APIERR_BADPARS; the same pair twice: APIERR_LINKEXIST).
GSErrCode ACAPI_Element_SolidLink_Create(const API_Guid& guidTarget, const API_Guid& guidOperator, API_SolidOperationID operation, GSFlags linkFlags);

#endif
