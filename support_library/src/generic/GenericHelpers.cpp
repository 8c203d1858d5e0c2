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

GSErrCode Tool(const GS::Array<API_Guid>& elements, API_ToolCmdID command)
{
	return KIVEL_HOST_CALL(ACAPI_Grouping_Tool(elements, command, nullptr), ACAPI_Element_Tool(elements, command, nullptr));
}

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

// Host 26 has no index type of its own: an index there is the plain int.
int GetAttributeIndex(const API_AttributeIndex& index) { return KIVEL_HOST_CALL(index.ToInt32(), index); }
API_AttributeIndex CreateAttributeIndex(int value) { return KIVEL_HOST_CALL(ACAPI_CreateAttributeIndex(value), value); }

GSErrCode Get3DInfo(const API_Elem_Head& head, API_ElemInfo3D& info) { return KIVEL_HOST_CALL(ACAPI_ModelAccess_Get3DInfo(head, &info), ACAPI_Element_Get3DInfo(head, &info)); }
GSErrCode Get3DNum(API_3DTypeID type, int* count) { return KIVEL_HOST_CALL(ACAPI_ModelAccess_GetNum(type, count), ACAPI_3D_GetNum(type, count)); }
GSErrCode Get3DComponent(API_Component3D& component) { return KIVEL_HOST_CALL(ACAPI_ModelAccess_GetComponent(&component), ACAPI_3D_GetComponent(&component)); }
GSErrCode Get3DOffset(API_Coord& offset) { return KIVEL_HOST_CALL(ACAPI_ProjectSetting_GetOffset(&offset), ACAPI_Database(CommandCode("GOFS"), &offset)); }
GSErrCode CreateSight(void** sight) { return KIVEL_HOST_CALL(ACAPI_Sight_CreateSight(sight), ACAPI_3D_CreateSight(sight)); }
GSErrCode DeleteSight(void* sight) { return KIVEL_HOST_CALL(ACAPI_Sight_DeleteSight(sight), ACAPI_3D_DeleteSight(sight)); }
GSErrCode SelectSight(void* sight, void** oldSight) { return KIVEL_HOST_CALL(ACAPI_Sight_SelectSight(sight, oldSight), ACAPI_3D_SelectSight(sight, oldSight)); }
GSErrCode GetCurrentWindowSight(void** sight) { return KIVEL_HOST_CALL(ACAPI_Sight_GetCurrentWindowSight(sight), ACAPI_3D_GetCurrentWindowSight(sight)); }
GSErrCode Switch3DSight(API_3DSightID sight) { return KIVEL_HOST_CALL(ACAPI_Sight_Switch3DSight(sight), ACAPI_Database(CommandCode("S3DS"), &sight)); }

GSErrCode GetPenRGB(short pen, API_RGBColor* color)
{
#if KIVEL_HOST_27_OR_LATER
	API_Pen record{};
	record.index = CreateAttributeIndex(pen);
	if (const GSErrCode err = ACAPI_Attribute_GetPen(record)) return err;
	const API_RGBColor& rgb = record.rgb;
#else
	API_Attribute record;
	BNZeroMemory(&record, sizeof record);
	record.header.typeID = API_PenID;
	record.header.index = CreateAttributeIndex(pen);
	if (const GSErrCode err = ACAPI_Attribute_Get(&record)) return err;
	const API_RGBColor& rgb = record.pen.rgb;
#endif
	if (color != nullptr) *color = rgb;
	return NoError;
}

GSErrCode GetUserData(const API_Elem_Head& head, API_UserData& data, unsigned int mask) { return ACAPI_Element_GetUserData(&head, &data, mask); }
GSErrCode SetUserData(const API_Elem_Head& head, const API_UserData& data) { return ACAPI_Element_SetUserData(&head, &data); }
GSErrCode DeleteUserData(API_Elem_Head& head) { return KIVEL_HOST_CALL(ACAPI_UserData_DeleteUserData(&head), ACAPI_Element_DeleteUserData(&head)); }
GSErrCode TriangulatePoly(API_ElementMemo* memo, API_Coord*** coords) { return KIVEL_HOST_CALL(ACAPI_Polygon_TriangulatePoly(memo, coords), ACAPI_Goodies(CommandCode("TRIP"), memo, coords)); }
GSErrCode DrawingPrimitive_ShapePrims(const API_Elem_Head& head, ShapePrimsProc* proc) { return KIVEL_HOST_CALL(ACAPI_DrawingPrimitive_ShapePrims(head, proc), ACAPI_Element_ShapePrims(head, proc)); }

GSErrCode NeigToElemID(const API_NeigID& neig, API_ElemTypeID& type)
{
	API_ElemType converted{};
	const GSErrCode err = KIVEL_HOST_CALL(ACAPI_Element_NeigIDToElemType(neig, converted), ACAPI_Goodies_NeigIDToElemType(neig, converted));
	type = err == NoError ? converted.typeID : API_ZombieElemID;
	return err;
}

GSErrCode BringToFront(const GS::Array<API_Guid>& elements) { return Tool(elements, APITool_BringToFront); }
GSErrCode BringForward(const GS::Array<API_Guid>& elements) { return Tool(elements, APITool_BringForward); }
GSErrCode SendToBack(const GS::Array<API_Guid>& elements) { return Tool(elements, APITool_SendToBack); }
GSErrCode SendBackward(const GS::Array<API_Guid>& elements) { return Tool(elements, APITool_SendBackward); }
GSErrCode Lock(const GS::Array<API_Guid>& elements) { return Tool(elements, APITool_Lock); }
GSErrCode Unlock(const GS::Array<API_Guid>& elements) { return Tool(elements, APITool_Unlock); }

GSErrCode SearchElementByCoord(const API_ElemSearchPars& pars, API_Guid& guid)
{
	return KIVEL_HOST_CALL(ACAPI_Element_SearchElementByCoord(&pars, &guid), ACAPI_Goodies(CommandCode("SELM"), Arg(&pars), &guid));
}

GSErrCode RunParameterScript(API_Elem_Head& head, unsigned int mask)
{
	return KIVEL_HOST_CALL(ACAPI_LibraryManagement_RunGDLParScript(&head, mask), ACAPI_Goodies(CommandCode("RPAS"), &head, &mask));
}


} // namespace kivel
