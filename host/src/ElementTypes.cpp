// Element-type, 3D, sight, user-data, grouping and attribute calls of the adaptation layer.
// Attribute indices are real; the rest is not modelled and answers APIERR_NOTSUPPORTED.
#include "ACAPinc.h"

namespace {

GSErrCode Refused() { return APIERR_NOTSUPPORTED; }

} // namespace

GSErrCode ACAPI_Element_GetElemTypeName(const API_ElemType&, GS::UniString&) { return Refused(); }
GSErrCode ACAPI_Element_NeigIDToElemType(API_NeigID, API_ElemType&) { return Refused(); }
GSErrCode ACAPI_ModelAccess_Get3DInfo(const API_Elem_Head&, API_ElemInfo3D*) { return Refused(); }
GSErrCode ACAPI_ModelAccess_GetNum(API_3DTypeID, Int32*) { return Refused(); }
GSErrCode ACAPI_ModelAccess_GetComponent(API_Component3D*) { return Refused(); }
GSErrCode ACAPI_Sight_CreateSight(void**) { return Refused(); }
GSErrCode ACAPI_Sight_DeleteSight(void*) { return Refused(); }
GSErrCode ACAPI_Sight_SelectSight(void*, void**) { return Refused(); }
GSErrCode ACAPI_Sight_GetCurrentWindowSight(void**) { return Refused(); }
GSErrCode ACAPI_Sight_Switch3DSight(API_3DSightID) { return Refused(); }
GSErrCode ACAPI_Element_GetUserData(const API_Elem_Head*, API_UserData*, UInt32) { return Refused(); }
GSErrCode ACAPI_Element_SetUserData(const API_Elem_Head*, const API_UserData*) { return Refused(); }
GSErrCode ACAPI_UserData_DeleteUserData(API_Elem_Head*) { return Refused(); }
GSErrCode ACAPI_Polygon_TriangulatePoly(API_ElementMemo*, API_Coord***) { return Refused(); }
GSErrCode ACAPI_DrawingPrimitive_ShapePrims(const API_Elem_Head&, ShapePrimsProc*) { return Refused(); }
GSErrCode ACAPI_Grouping_Tool(const GS::Array<API_Guid>&, API_ToolCmdID, void*) { return Refused(); }
GSErrCode ACAPI_Element_SearchElementByCoord(const API_ElemSearchPars*, API_Guid*) { return Refused(); }

#if VELMORA_HOST_API >= 27
API_AttributeIndex ACAPI_CreateAttributeIndex(Int32 index) { return API_AttributeIndex(index); }
#endif
GSErrCode ACAPI_Attribute_GetPen(API_Pen&) { return Refused(); }
GSErrCode ACAPI_Attribute_Delete(const API_Attr_Head&) { return Refused(); }
GSErrCode ACAPI_Attribute_DeleteMore(API_AttrTypeID, const GS::Array<API_AttributeIndex>&) { return Refused(); }
