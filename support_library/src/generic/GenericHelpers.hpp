// Element types, attribute indices and other host services. The forwarders return the host's
// error code unchanged and report nothing.
#ifndef KIVEL_GENERICHELPERS_HPP
#define KIVEL_GENERICHELPERS_HPP

#include "ACAPinc.h"

namespace kivel {

// The type code of a record's element type. No host call.
API_ElemTypeID GetTypeId(const API_Element& r);
API_ElemTypeID GetTypeId(const API_Elem_Head& r);
API_ElemTypeID GetTypeId(const API_ObjectSettingsPars& r);
API_ElemTypeID GetTypeId(const API_ElemSearchPars& r);
API_ElemTypeID GetTypeId(const API_ToolBoxItem& r);
API_ElemTypeID GetTypeId(const API_ParamOwnerType& r);
API_ElemTypeID GetTypeId(const API_PrimElemRef& r);
API_ElemTypeID GetTypeId(const API_SectElemType& r);

// Stores the type code; nothing else changes.
void SetTypeId(API_Element& r, API_ElemTypeID type);
void SetTypeId(API_Elem_Head& r, API_ElemTypeID type);
void SetTypeId(API_ObjectSettingsPars& r, API_ElemTypeID type);
void SetTypeId(API_ElemSearchPars& r, API_ElemTypeID type);
void SetTypeId(API_ToolBoxItem& r, API_ElemTypeID type);
void SetTypeId(API_ParamOwnerType& r, API_ElemTypeID type);
void SetTypeId(API_PrimElemRef& r, API_ElemTypeID type);
void SetTypeId(API_SectElemType& r, API_ElemTypeID type);

// The variation code, for the records that carry one.
API_ElemVariationID GetVariationId(const API_Element& r);
API_ElemVariationID GetVariationId(const API_Elem_Head& r);
API_ElemVariationID GetVariationId(const API_ObjectSettingsPars& r);
API_ElemVariationID GetVariationId(const API_ToolBoxItem& r);
void SetVariationId(API_Element& r, API_ElemVariationID variation);
void SetVariationId(API_Elem_Head& r, API_ElemVariationID variation);
void SetVariationId(API_ObjectSettingsPars& r, API_ElemVariationID variation);
void SetVariationId(API_ToolBoxItem& r, API_ElemVariationID variation);

// The plain 32-bit value of an attribute index, and an index holding a value.
int GetAttributeIndex(const API_AttributeIndex& index);
API_AttributeIndex CreateAttributeIndex(int value);

GSErrCode Get3DInfo(const API_Elem_Head& head, API_ElemInfo3D& info);
GSErrCode Get3DNum(API_3DTypeID type, int* count);
GSErrCode Get3DComponent(API_Component3D& component);
GSErrCode Get3DOffset(API_Coord& offset);
GSErrCode CreateSight(void** sight);
GSErrCode DeleteSight(void* sight);
GSErrCode SelectSight(void* sight, void** oldSight);
GSErrCode GetCurrentWindowSight(void** sight);
GSErrCode Switch3DSight(API_3DSightID sight);

// The colour of pen number pen. On a host error color is not touched.
GSErrCode GetPenRGB(short pen, API_RGBColor* color);

GSErrCode GetUserData(const API_Elem_Head& head, API_UserData& data, unsigned int mask);
GSErrCode SetUserData(const API_Elem_Head& head, const API_UserData& data);
GSErrCode DeleteUserData(API_Elem_Head& head);
GSErrCode TriangulatePoly(API_ElementMemo* memo, API_Coord*** coords);
GSErrCode DrawingPrimitive_ShapePrims(const API_Elem_Head& head, ShapePrimsProc* proc);

// The element type of a neighbour kind; type becomes 0 on a host error.
GSErrCode NeigToElemID(const API_NeigID& neig, API_ElemTypeID& type);

// Drawing order and locking of elements.
GSErrCode BringToFront(const GS::Array<API_Guid>& elements);
GSErrCode BringForward(const GS::Array<API_Guid>& elements);
GSErrCode SendToBack(const GS::Array<API_Guid>& elements);
GSErrCode SendBackward(const GS::Array<API_Guid>& elements);
GSErrCode Lock(const GS::Array<API_Guid>& elements);
GSErrCode Unlock(const GS::Array<API_Guid>& elements);

GSErrCode SearchElementByCoord(const API_ElemSearchPars& pars, API_Guid& guid);
// Runs the parameter script of the element's library part.
GSErrCode RunParameterScript(API_Elem_Head& head, unsigned int mask);

} // namespace kivel

#endif
