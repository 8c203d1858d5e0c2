// Records handed to the host with a field never set: the host refuses them and names the
// call and the field; the same record with the field set gets the answer it always got.
#include <cstring>
#include <functional>
#include <string>

#include <gtest/gtest.h>

#include "ACAPinc.h"
#include "ElementsTestSupport.hpp"
#include "vhost/AttributeIndex.hpp"
#include "vhost/Unset.hpp"

namespace {

using namespace elementstest;

class UnsetFields : public ElementsTest {};

// What a stack record nobody set holds, put into one field.
template <typename T>
void Unset(T& field, bool unset)
{
	if (unset) std::memset(static_cast<void*>(&field), vhost::kUnsetFill, sizeof field);
}

// A square mesh, spoilt before the host sees it; the handles made are freed either way.
GSErrCode CreateMesh(const std::function<void(API_Element&, API_ElementMemo&)>& spoil)
{
	API_Element e = Defaults(API_MeshID);
	e.mesh.poly = {5, 1, 0};
	API_ElementMemo memo;
	BNZeroMemory(&memo, sizeof memo);
	FillPolygon(memo, {{0, 0}, {10, 0}, {10, 10}, {0, 10}, {0, 0}}, true);
	memo.meshPolyZ = NewTable<double>(6);
	API_ElementMemo made = memo;
	spoil(e, memo);
	const GSErrCode err = InStep([&] { return ACAPI_Element_Create(&e, &memo); });
	ACAPI_DisposeElemMemoHdls(&made);
	return err;
}

GSErrCode SearchLayer(const std::function<void(API_Attr_Head&)>& spoil)
{
	API_Attribute layer;
	BNZeroMemory(&layer, sizeof layer);
	layer.header.typeID = API_LayerID;
	std::strcpy(layer.header.name, "Terrain");
	spoil(layer.header);
	return ACAPI_Attribute_Search(&layer.header);
}

GSErrCode WithParamList(const std::function<GSErrCode(GSHandle)>& call)
{
	GSHandle list = nullptr;
	EXPECT_EQ(ACAPI_AddOnAddOnCommunication_InitMDCLParameterList(&list), NoError);
	API_MDCLParameter par;
	BNZeroMemory(&par, sizeof par);
	par.name = "LibIndex";
	par.type = MDCLPar_int;
	EXPECT_EQ(ACAPI_AddOnAddOnCommunication_AddMDCLParameter(list, &par), NoError);
	const GSErrCode err = call(list);
	ACAPI_AddOnAddOnCommunication_FreeMDCLParameterList(&list);
	return err;
}

TEST_F(UnsetFields, ARecordWithAFieldNeverSetIsRefusedAndTheFieldNamed)
{
	MakeLayer("Terrain");
	const Int32 part = MakePart("Box");
	struct Case {
		const char* call;
		const char* field;
		GSErrCode whenSet; // the answer with the field set
		std::function<GSErrCode(bool unset)> run;
	};
	const Case cases[] = {
		{"ACAPI_Element_GetDefaults", "header.type.typeID", NoError, [](bool u) {
			 API_Element e;
			 BNZeroMemory(&e, sizeof e);
			 e.header.type.typeID = API_LineID;
			 Unset(e.header.type.typeID, u);
			 return ACAPI_Element_GetDefaults(&e, nullptr);
		 }},
		{"ACAPI_Element_Create", "header.layer", NoError, [](bool u) {
			 return CreateMesh([u](API_Element& e, API_ElementMemo&) { Unset(e.header.layer, u); });
		 }},
		{"ACAPI_Element_Create", "mesh.poly.nCoords", NoError, [](bool u) {
			 return CreateMesh([u](API_Element& e, API_ElementMemo&) { Unset(e.mesh.poly.nCoords, u); });
		 }},
		{"ACAPI_Element_Create", "mesh.sectContPen", NoError, [](bool u) {
			 return CreateMesh([u](API_Element& e, API_ElementMemo&) { Unset(e.mesh.sectContPen, u); });
		 }},
		{"ACAPI_Element_Create", "coords", NoError, [](bool u) {
			 return CreateMesh([u](API_Element&, API_ElementMemo& m) { Unset(m.coords, u); });
		 }},
		{"ACAPI_Element_Create", "meshLevelEnds", NoError, [](bool u) {
			 return CreateMesh([u](API_Element&, API_ElementMemo& m) { Unset(m.meshLevelEnds, u); });
		 }},
		{"ACAPI_Element_Create", "line.linePen", NoError, [](bool u) {
			 API_Element e = Line({0, 0}, {1, 1});
			 Unset(e.line.linePen, u);
			 return InStep([&] { return ACAPI_Element_Create(&e, nullptr); });
		 }},
		{"ACAPI_Element_Create", "textContent", NoError, [](bool u) {
			 API_Element e = Defaults(API_TextID);
			 API_ElementMemo memo;
			 BNZeroMemory(&memo, sizeof memo);
			 GS::UniString text("a");
			 memo.textContent = &text;
			 Unset(memo.textContent, u);
			 return InStep([&] { return ACAPI_Element_Create(&e, &memo); });
		 }},
		{"ACAPI_Element_Change", "object.pen", NoError, [part](bool u) {
			 API_Element e = Defaults(API_ObjectID);
			 e.object.libInd = part;
			 if (InStep([&] { return ACAPI_Element_Create(&e, nullptr); }) != NoError) return APIERR_GENERAL;
			 API_Element mask;
			 ACAPI_ELEMENT_MASK_CLEAR(mask);
			 ACAPI_ELEMENT_MASK_SET(mask, API_ObjectType, pen);
			 e.object.pen = 3;
			 Unset(e.object.pen, u);
			 return InStep([&] { return ACAPI_Element_Change(&e, &mask, nullptr, 0, true); });
		 }},
		{"ACAPI_Element_Change", "mask header.guid", NoError, [](bool u) {
			 API_Element e = Line({0, 0}, {1, 1});
			 if (InStep([&] { return ACAPI_Element_Create(&e, nullptr); }) != NoError) return APIERR_GENERAL;
			 API_Element mask;
			 ACAPI_ELEMENT_MASK_CLEAR(mask);
			 Unset(mask, u); // a mask never cleared
			 if (!u) ACAPI_ELEMENT_MASK_SET(mask, API_LineType, linePen);
			 return InStep([&] { return ACAPI_Element_Change(&e, &mask, nullptr, 0, true); });
		 }},
		{"ACAPI_DisposeElemMemoHdls", "parcs", NoError, [](bool u) {
			 API_ElementMemo memo;
			 BNZeroMemory(&memo, sizeof memo);
			 memo.coords = NewTable<API_Coord>(2);
			 API_ElementMemo made = memo;
			 Unset(memo.parcs, u);
			 const GSErrCode err = ACAPI_DisposeElemMemoHdls(&memo);
			 if (u) ACAPI_DisposeElemMemoHdls(&made);
			 return err;
		 }},
		{"ACAPI_Attribute_Search", "typeID", NoError, [](bool u) {
			 return SearchLayer([u](API_Attr_Head& h) { Unset(h.typeID, u); });
		 }},
		{"ACAPI_Attribute_Search", "name", NoError, [](bool u) {
			 return SearchLayer([u](API_Attr_Head& h) { Unset(h.name, u); });
		 }},
		{"ACAPI_Attribute_Search", "uniStringNamePtr", NoError, [](bool u) {
			 return SearchLayer([u](API_Attr_Head& h) { Unset(h.uniStringNamePtr, u); });
		 }},
		{"ACAPI_Attribute_Get", "index", NoError, [](bool u) {
			 API_Attribute layer;
			 BNZeroMemory(&layer, sizeof layer);
			 layer.header.typeID = API_LayerID;
			 layer.header.index = vhost::MakeIndex(1);
			 Unset(layer.header.index, u);
			 return ACAPI_Attribute_Get(&layer);
		 }},
		{"ACAPI_Attribute_Create", "name", NoError, [](bool u) {
			 API_Attribute layer;
			 BNZeroMemory(&layer, sizeof layer);
			 layer.header.typeID = API_LayerID;
			 std::strcpy(layer.header.name, "Roads");
			 Unset(layer.header.name, u);
			 return ACAPI_Attribute_Create(&layer, nullptr);
		 }},
		{"ACAPI_Polygon_RegularizePolygon", "pends", NoError, [](bool u) {
			 API_ElementMemo memo;
			 BNZeroMemory(&memo, sizeof memo);
			 FillPolygon(memo, {{0, 0}, {1, 0}, {1, 1}, {0, 0}}, true);
			 API_RegularizedPoly poly;
			 BNZeroMemory(&poly, sizeof poly);
			 poly.coords = memo.coords;
			 poly.pends = memo.pends;
			 Unset(poly.pends, u);
			 Int32 count = 0;
			 API_RegularizedPoly** pieces = nullptr;
			 const GSErrCode err = ACAPI_Polygon_RegularizePolygon(&poly, &count, &pieces);
			 for (Int32 i = 0; i < count; ++i) ACAPI_Polygon_DisposeRegularizedPoly(&(*pieces)[i]);
			 BMKillHandle(reinterpret_cast<GSHandle*>(&pieces));
			 ACAPI_DisposeElemMemoHdls(&memo);
			 return err;
		 }},
		{"ACAPI_LibraryPart_Search", "docu_UName", NoError, [](bool u) {
			 API_LibPart p;
			 BNZeroMemory(&p, sizeof p);
			 const std::u16string name = u"Box";
			 std::copy(name.begin(), name.end(), p.docu_UName);
			 Unset(p.docu_UName, u);
			 const GSErrCode err = ACAPI_LibraryPart_Search(&p, false, false);
			 delete p.location; // the host's new location of the part, the caller's to free
			 return err;
		 }},
		{"ACAPI_LibraryPart_Get", "index", NoError, [part](bool u) {
			 API_LibPart p;
			 BNZeroMemory(&p, sizeof p);
			 p.index = part;
			 Unset(p.index, u);
			 const GSErrCode err = ACAPI_LibraryPart_Get(&p);
			 delete p.location;
			 return err;
		 }},
		{"ACAPI_LibraryPart_Register", "location", APIERR_BADPARS, [](bool u) {
			 API_LibPart p;
			 BNZeroMemory(&p, sizeof p);
			 p.typeID = APILib_ObjectID;
			 Unset(p.location, u);
			 return ACAPI_LibraryPart_Register(&p); // set, but null: refused without a debug line
		 }},
		{"ACAPI_AddOnAddOnCommunication_AddMDCLParameter", "type", NoError, [](bool u) {
			 return WithParamList([u](GSHandle list) {
				 API_MDCLParameter par;
				 BNZeroMemory(&par, sizeof par);
				 par.name = "Silent";
				 par.type = MDCLPar_int;
				 Unset(par.type, u);
				 return ACAPI_AddOnAddOnCommunication_AddMDCLParameter(list, &par);
			 });
		 }},
		{"ACAPI_AddOnAddOnCommunication_GetMDCLParameter", "index", NoError, [](bool u) {
			 return WithParamList([u](GSHandle list) {
				 API_MDCLParameter par;
				 BNZeroMemory(&par, sizeof par);
				 par.name = "LibIndex";
				 Unset(par.index, u);
				 return ACAPI_AddOnAddOnCommunication_GetMDCLParameter(list, &par);
			 });
		 }},
		{"ACAPI_Dialog_SetUserControlCallback", "dialogID", APIERR_BADID, [](bool u) {
			 API_UCCallbackType control;
			 BNZeroMemory(&control, sizeof control);
			 control.dialogID = 7;
			 Unset(control.dialogID, u);
			 return ACAPI_Dialog_SetUserControlCallback(&control); // no dialog is open
		 }},
	};
	for (const Case& c : cases) {
		const std::string line = std::string(c.call) + ": " + c.field + " was never set";
		Host().debug.clear();
		EXPECT_EQ(c.run(false), c.whenSet) << c.call << " " << c.field << " set";
		for (const std::string& d : Host().debug) EXPECT_EQ(d.find("was never set"), std::string::npos) << d;
		Host().debug.clear();
		EXPECT_EQ(c.run(true), APIERR_BADPARS) << line;
		ASSERT_EQ(Host().debug.size(), 1u) << line;
		EXPECT_EQ(Host().debug[0], line);
	}
}

} // namespace
