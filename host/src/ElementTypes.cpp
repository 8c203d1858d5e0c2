// Element-type, 3D, sight, user-data, grouping and attribute calls of the adaptation layer.
// Attribute indices are real; the rest is not modelled and answers APIERR_NOTSUPPORTED.
#include "ACAPinc.h"
#include "NamedCall.hpp"

GSErrCode ACAPI_Element_GetElemTypeName(const API_ElemType&, GS::UniString&) { return vhost::NotModelled(__func__); }
GSErrCode ACAPI_Element_NeigIDToElemType(API_NeigID, API_ElemType&) { return vhost::NotModelled(__func__); }
GSErrCode ACAPI_ModelAccess_Get3DInfo(const API_Elem_Head&, API_ElemInfo3D*) { return vhost::NotModelled(__func__); }
GSErrCode ACAPI_ModelAccess_GetNum(API_3DTypeID, Int32*) { return vhost::NotModelled(__func__); }
GSErrCode ACAPI_ModelAccess_GetComponent(API_Component3D*) { return vhost::NotModelled(__func__); }
GSErrCode ACAPI_Sight_CreateSight(void**) { return vhost::NotModelled(__func__); }
GSErrCode ACAPI_Sight_DeleteSight(void*) { return vhost::NotModelled(__func__); }
GSErrCode ACAPI_Sight_SelectSight(void*, void**) { return vhost::NotModelled(__func__); }
GSErrCode ACAPI_Sight_GetCurrentWindowSight(void**) { return vhost::NotModelled(__func__); }
GSErrCode ACAPI_Sight_Switch3DSight(API_3DSightID) { return vhost::NotModelled(__func__); }
GSErrCode ACAPI_Element_GetUserData(const API_Elem_Head*, API_UserData*, UInt32) { return vhost::NotModelled(__func__); }
GSErrCode ACAPI_Element_SetUserData(const API_Elem_Head*, const API_UserData*) { return vhost::NotModelled(__func__); }
GSErrCode ACAPI_UserData_DeleteUserData(API_Elem_Head*) { return vhost::NotModelled(__func__); }
GSErrCode ACAPI_Polygon_TriangulatePoly(API_ElementMemo*, API_Coord***) { return vhost::NotModelled(__func__); }
GSErrCode ACAPI_DrawingPrimitive_ShapePrims(const API_Elem_Head&, ShapePrimsProc*) { return vhost::NotModelled(__func__); }
GSErrCode ACAPI_Grouping_Tool(const GS::Array<API_Guid>&, API_ToolCmdID, void*) { return vhost::NotModelled(__func__); }
GSErrCode ACAPI_Element_SearchElementByCoord(const API_ElemSearchPars*, API_Guid*) { return vhost::NotModelled(__func__); }

#if VELMORA_HOST_API >= 27
API_AttributeIndex ACAPI_CreateAttributeIndex(Int32 index) { return API_AttributeIndex(index); }
#endif
GSErrCode ACAPI_Attribute_GetPen(API_Pen&) { return vhost::NotModelled(__func__); }
GSErrCode ACAPI_Attribute_Delete(const API_Attr_Head&) { return vhost::NotModelled(__func__); }
GSErrCode ACAPI_Attribute_DeleteMore(API_AttrTypeID, const GS::Array<API_AttributeIndex>&) { return vhost::NotModelled(__func__); }
