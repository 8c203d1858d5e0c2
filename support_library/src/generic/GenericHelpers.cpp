#include "generic/GenericHelpers.hpp"

#include "generic/HostApi.hpp"

namespace kivel {

namespace {

// Where each record keeps its element type (hosts 27 and later: one API_ElemType member).
template <typename R>
API_ElemType& TypeOf(R& r) { return r.type; }
template <typename R>
const API_ElemType& TypeOf(const R& r) { return r.type; }
API_ElemType& TypeOf(API_Element& r) { return r.header.type; }
const API_ElemType& TypeOf(const API_Element& r) { return r.header.type; }

GSErrCode Tool(const GS::Array<API_Guid>& elements, API_ToolCmdID command) { return ACAPI_Grouping_Tool(elements, command, nullptr); }

} // namespace

API_ElemTypeID GetTypeId(const API_Element& r) { return TypeOf(r).typeID; }
API_ElemTypeID GetTypeId(const API_Elem_Head& r) { return TypeOf(r).typeID; }
API_ElemTypeID GetTypeId(const API_ObjectSettingsPars& r) { return TypeOf(r).typeID; }
API_ElemTypeID GetTypeId(const API_ElemSearchPars& r) { return TypeOf(r).typeID; }
API_ElemTypeID GetTypeId(const API_ToolBoxItem& r) { return TypeOf(r).typeID; }
API_ElemTypeID GetTypeId(const API_ParamOwnerType& r) { return TypeOf(r).typeID; }
API_ElemTypeID GetTypeId(const API_PrimElemRef& r) { return TypeOf(r).typeID; }
API_ElemTypeID GetTypeId(const API_SectElemType& r) { return TypeOf(r).typeID; }

void SetTypeId(API_Element& r, API_ElemTypeID type) { TypeOf(r).typeID = type; }
void SetTypeId(API_Elem_Head& r, API_ElemTypeID type) { TypeOf(r).typeID = type; }
void SetTypeId(API_ObjectSettingsPars& r, API_ElemTypeID type) { TypeOf(r).typeID = type; }
void SetTypeId(API_ElemSearchPars& r, API_ElemTypeID type) { TypeOf(r).typeID = type; }
void SetTypeId(API_ToolBoxItem& r, API_ElemTypeID type) { TypeOf(r).typeID = type; }
void SetTypeId(API_ParamOwnerType& r, API_ElemTypeID type) { TypeOf(r).typeID = type; }
void SetTypeId(API_PrimElemRef& r, API_ElemTypeID type) { TypeOf(r).typeID = type; }
void SetTypeId(API_SectElemType& r, API_ElemTypeID type) { TypeOf(r).typeID = type; }

API_ElemVariationID GetVariationId(const API_Element& r) { return TypeOf(r).variationID; }
API_ElemVariationID GetVariationId(const API_Elem_Head& r) { return TypeOf(r).variationID; }
API_ElemVariationID GetVariationId(const API_ObjectSettingsPars& r) { return TypeOf(r).variationID; }
API_ElemVariationID GetVariationId(const API_ToolBoxItem& r) { return TypeOf(r).variationID; }
void SetVariationId(API_Element& r, API_ElemVariationID variation) { TypeOf(r).variationID = variation; }
void SetVariationId(API_Elem_Head& r, API_ElemVariationID variation) { TypeOf(r).variationID = variation; }
void SetVariationId(API_ObjectSettingsPars& r, API_ElemVariationID variation) { TypeOf(r).variationID = variation; }
void SetVariationId(API_ToolBoxItem& r, API_ElemVariationID variation) { TypeOf(r).variationID = variation; }

int GetAttributeIndex(const API_AttributeIndex& index) { return index.ToInt32(); }
API_AttributeIndex CreateAttributeIndex(int value) { return ACAPI_CreateAttributeIndex(value); }

GSErrCode Get3DInfo(const API_Elem_Head& head, API_ElemInfo3D& info) { return ACAPI_ModelAccess_Get3DInfo(head, &info); }
GSErrCode Get3DNum(API_3DTypeID type, int* count) { return ACAPI_ModelAccess_GetNum(type, count); }
GSErrCode Get3DComponent(API_Component3D& component) { return ACAPI_ModelAccess_GetComponent(&component); }
GSErrCode Get3DOffset(API_Coord& offset) { return ACAPI_ProjectSetting_GetOffset(&offset); }
GSErrCode CreateSight(void** sight) { return ACAPI_Sight_CreateSight(sight); }
GSErrCode DeleteSight(void* sight) { return ACAPI_Sight_DeleteSight(sight); }
GSErrCode SelectSight(void* sight, void** oldSight) { return ACAPI_Sight_SelectSight(sight, oldSight); }
GSErrCode GetCurrentWindowSight(void** sight) { return ACAPI_Sight_GetCurrentWindowSight(sight); }
GSErrCode Switch3DSight(API_3DSightID sight) { return ACAPI_Sight_Switch3DSight(sight); }

GSErrCode GetPenRGB(short pen, API_RGBColor* color)
{
	API_Pen record{};
	record.index = CreateAttributeIndex(pen);
	if (const GSErrCode err = ACAPI_Attribute_GetPen(record)) return err;
	if (color != nullptr) *color = record.rgb;
	return NoError;
}

GSErrCode GetUserData(const API_Elem_Head& head, API_UserData& data, unsigned int mask) { return ACAPI_Element_GetUserData(&head, &data, mask); }
GSErrCode SetUserData(const API_Elem_Head& head, const API_UserData& data) { return ACAPI_Element_SetUserData(&head, &data); }
GSErrCode DeleteUserData(API_Elem_Head& head) { return ACAPI_UserData_DeleteUserData(&head); }
GSErrCode TriangulatePoly(API_ElementMemo* memo, API_Coord*** coords) { return ACAPI_Polygon_TriangulatePoly(memo, coords); }
GSErrCode DrawingPrimitive_ShapePrims(const API_Elem_Head& head, ShapePrimsProc* proc) { return ACAPI_DrawingPrimitive_ShapePrims(head, proc); }

GSErrCode NeigToElemID(const API_NeigID& neig, API_ElemTypeID& type)
{
	API_ElemType converted{};
	const GSErrCode err = ACAPI_Element_NeigIDToElemType(neig, converted);
	type = err == NoError ? converted.typeID : API_ZombieElemID;
	return err;
}

GSErrCode BringToFront(const GS::Array<API_Guid>& elements) { return Tool(elements, APITool_BringToFront); }
GSErrCode BringForward(const GS::Array<API_Guid>& elements) { return Tool(elements, APITool_BringForward); }
GSErrCode SendToBack(const GS::Array<API_Guid>& elements) { return Tool(elements, APITool_SendToBack); }
GSErrCode SendBackward(const GS::Array<API_Guid>& elements) { return Tool(elements, APITool_SendBackward); }
GSErrCode Lock(const GS::Array<API_Guid>& elements) { return Tool(elements, APITool_Lock); }
GSErrCode Unlock(const GS::Array<API_Guid>& elements) { return Tool(elements, APITool_Unlock); }

GSErrCode SearchElementByCoord(const API_ElemSearchPars& pars, API_Guid& guid) { return ACAPI_Element_SearchElementByCoord(&pars, &guid); }
GSErrCode RunParameterScript(API_Elem_Head& head, unsigned int mask) { return ACAPI_LibraryManagement_RunGDLParScript(&head, mask); }

} // namespace kivel
