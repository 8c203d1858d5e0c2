// Records handed to the host with a field never set: the host refuses them and names the
// call and the field; the same record with the field set gets the answer it always got.
#include <cstring>
#include <functional>
#include <memory>
#include <string>

#include <gtest/gtest.h>

#include "ACAPI_GeoLocation.h"
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


// A valid element of the kind (objects and lamps of the part), spoilt before the host sees it.
GSErrCode CreateKind(API_ElemTypeID kind, Int32 part, const std::function<void(API_Element&)>& spoil)
{
	if (kind == API_MeshID) return CreateMesh([&](API_Element& e, API_ElementMemo&) { spoil(e); });
	API_Element e = Defaults(kind);
	API_ElementMemo memo;
	BNZeroMemory(&memo, sizeof memo);
	GS::UniString text("a");
	e.object.libInd = kind == API_ObjectID || kind == API_LampID ? part : e.object.libInd;
	if (kind == API_LineID) e = Line({0, 0}, {1, 1});
	if (kind == API_ArcID) e.arc = {e.arc.head, 1, {}, {0, 0}, 1.0, 0.0, 1.0};
	if (kind == API_CircleID) e.circle = {e.circle.head, 1, {}, {0, 0}, 1.0};
	if (kind == API_TextID) memo.textContent = &text;
	spoil(e);
	return InStep([&] { return ACAPI_Element_Create(&e, &memo); });
}

// A material record named name, with every field set (to zero) and no texture file.
API_Attribute Material(const char* name)
{
	API_Attribute m;
	BNZeroMemory(&m, sizeof m);
	m.header.typeID = API_MaterialID;
	std::strcpy(m.header.name, name);
	return m;
}

// A new material named after the field that the row leaves unset.
GSErrCode CreateMaterial(const char* name, const std::function<void(API_Attribute&)>& spoil)
{
	API_Attribute m = Material(name);
	spoil(m);
	return ACAPI_Attribute_Create(&m, nullptr);
}

// The material at index changed to a fresh record of it, spoilt as the row says.
GSErrCode ModifyMaterial(API_AttributeIndex index, const std::function<void(API_Attribute&)>& spoil)
{
	API_Attribute m = Material("Stone");
	m.header.index = index;
	spoil(m);
	return ACAPI_Attribute_Modify(&m, nullptr);
}

GSErrCode CreateLayer(const char* name, const std::function<void(API_Attribute&)>& spoil)
{
	API_Attribute layer;
	BNZeroMemory(&layer, sizeof layer);
	layer.header.typeID = API_LayerID;
	std::strcpy(layer.header.name, name);
	spoil(layer);
	return ACAPI_Attribute_Create(&layer, nullptr);
}

// A part record as an add-on makes one for Create: a placeable object in the embedded library.
GSErrCode CreatePart(const std::u16string& name, const std::function<void(API_LibPart&)>& spoil)
{
	API_LibPart p;
	BNZeroMemory(&p, sizeof p);
	std::copy(name.begin(), name.end(), p.docu_UName);
	IO::Location folder(vhost::EmbeddedLibraryFolder().c_str());
	p.typeID = APILib_ObjectID;
	p.isPlaceable = true;
	p.location = &folder;
	spoil(p);
	return ACAPI_LibraryPart_Create(&p);
}

// A part of that name being created, then call on it.
GSErrCode WithNewPart(const std::function<GSErrCode()>& call, const std::u16string& name = u"Unsaved")
{
	if (CreatePart(name, [](API_LibPart&) {}) != NoError) return APIERR_GENERAL;
	vhost::Current().debug.clear(); // the line of a part an earlier run left unsaved is not the call's
	return call();
}

GSErrCode AddParam(API_MDCLParameterType type, const std::function<void(API_MDCLParameter&)>& spoil)
{
	return WithParamList([&](GSHandle list) {
		API_MDCLParameter par;
		BNZeroMemory(&par, sizeof par);
		par.name = "Value";
		par.type = type;
		spoil(par);
		return ACAPI_AddOnAddOnCommunication_AddMDCLParameter(list, &par);
	});
}

GSErrCode SetGeoLocation(const std::function<void(API_GeoLocation&)>& spoil)
{
	API_GeoLocation g {};
	g.geoReferenceData.scale = 1.0;
	spoil(g);
	return ACAPI_GeoLocation_SetGeoLocation(&g);
}

// One field of a record of a call, left unset in the second run; the call otherwise answers whenSet.
#define VELMORA_UNSET_ROW(call, field, whenSet, ...) \
	Case { call, #field, whenSet, [part](bool u) { (void)part; return (__VA_ARGS__)([u](auto& r) { Unset(r.field, u); }); } }
#define VELMORA_ELEMENT_ROW(kind, field) \
	Case { "ACAPI_Element_Create", #field, NoError, [part](bool u) { \
		return CreateKind(kind, part, [u](API_Element& e) { Unset(e.field, u); }); } }
#define VELMORA_MATERIAL_ROW(field) \
	Case { "ACAPI_Attribute_Create", #field, NoError, [](bool u) { \
		return CreateMaterial(#field, [u](API_Attribute& m) { Unset(m.field, u); }); } }

TEST_F(UnsetFields, ARecordWithAFieldNeverSetIsRefusedAndTheFieldNamed)
{
	MakeLayer("Terrain");
	const Int32 part = MakePart("Box");
	API_Attribute made = Material("Stone");
	ASSERT_EQ(ACAPI_Attribute_Create(&made, nullptr), NoError);
	const API_AttributeIndex stone = made.header.index;
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
		{"ACAPI_Element_Create", "params", NoError, [](bool u) { // a handle a mesh does not keep
			 return CreateMesh([u](API_Element&, API_ElementMemo& m) { Unset(m.params, u); });
		 }},
		{"ACAPI_Element_Create", "textContent", NoError, [](bool u) {
			 API_Element e = Line({0, 0}, {1, 1});
			 API_ElementMemo memo;
			 BNZeroMemory(&memo, sizeof memo);
			 Unset(memo.textContent, u);
			 return InStep([&] { return ACAPI_Element_Create(&e, &memo); });
		 }},
		VELMORA_ELEMENT_ROW(API_LineID, header.floorInd),
		{"ACAPI_Element_Get", "header.guid", NoError, [](bool u) {
			 API_Element e = Line({0, 0}, {1, 1});
			 if (InStep([&] { return ACAPI_Element_Create(&e, nullptr); }) != NoError) return APIERR_GENERAL;
			 Unset(e.header.guid, u);
			 return ACAPI_Element_Get(&e, 0);
		 }},
		{"ACAPI_Element_Change", "header.guid", NoError, [](bool u) {
			 API_Element e = Line({0, 0}, {1, 1});
			 if (InStep([&] { return ACAPI_Element_Create(&e, nullptr); }) != NoError) return APIERR_GENERAL;
			 API_Element mask;
			 ACAPI_ELEMENT_MASK_CLEAR(mask);
			 Unset(e.header.guid, u);
			 return InStep([&] { return ACAPI_Element_Change(&e, &mask, nullptr, 0, true); });
		 }},
		VELMORA_UNSET_ROW("ACAPI_LibraryManagement_RunGDLParScript", guid, NoError, [](auto spoil) {
			 API_Elem_Head head;
			 BNZeroMemory(&head, sizeof head);
			 spoil(head);
			 return ACAPI_LibraryManagement_RunGDLParScript(&head, 0);
		 }),
		VELMORA_ELEMENT_ROW(API_ObjectID, object.libInd),
		VELMORA_ELEMENT_ROW(API_ObjectID, object.pos.x),
		VELMORA_ELEMENT_ROW(API_ObjectID, object.pos.y),
		VELMORA_ELEMENT_ROW(API_ObjectID, object.level),
		VELMORA_ELEMENT_ROW(API_ObjectID, object.xRatio),
		VELMORA_ELEMENT_ROW(API_ObjectID, object.yRatio),
		VELMORA_ELEMENT_ROW(API_ObjectID, object.reflected),
		VELMORA_ELEMENT_ROW(API_ObjectID, object.useObjPens),
		VELMORA_ELEMENT_ROW(API_ObjectID, object.useObjLtypes),
		VELMORA_ELEMENT_ROW(API_ObjectID, object.angle),
		VELMORA_ELEMENT_ROW(API_LampID, object.pen),
		VELMORA_ELEMENT_ROW(API_LampID, object.angle),
		VELMORA_ELEMENT_ROW(API_MeshID, mesh.level),
		VELMORA_ELEMENT_ROW(API_MeshID, mesh.skirtLevel),
		VELMORA_ELEMENT_ROW(API_MeshID, mesh.useSectPens),
		VELMORA_ELEMENT_ROW(API_MeshID, mesh.topMat.overridden),
		VELMORA_ELEMENT_ROW(API_MeshID, mesh.topMat.attributeIndex),
		VELMORA_ELEMENT_ROW(API_MeshID, mesh.materialsChained),
		VELMORA_ELEMENT_ROW(API_MeshID, mesh.showLevelLines),
		VELMORA_ELEMENT_ROW(API_MeshID, mesh.skirt),
		VELMORA_ELEMENT_ROW(API_MeshID, mesh.fillInd),
		VELMORA_ELEMENT_ROW(API_LineID, line.begC.x),
		VELMORA_ELEMENT_ROW(API_LineID, line.begC.y),
		VELMORA_ELEMENT_ROW(API_LineID, line.endC.x),
		VELMORA_ELEMENT_ROW(API_LineID, line.endC.y),
		VELMORA_ELEMENT_ROW(API_ArcID, arc.origC.x),
		VELMORA_ELEMENT_ROW(API_ArcID, arc.origC.y),
		VELMORA_ELEMENT_ROW(API_ArcID, arc.r),
		VELMORA_ELEMENT_ROW(API_ArcID, arc.begAng),
		VELMORA_ELEMENT_ROW(API_ArcID, arc.endAng),
		VELMORA_ELEMENT_ROW(API_CircleID, circle.origC.x),
		VELMORA_ELEMENT_ROW(API_CircleID, circle.origC.y),
		VELMORA_ELEMENT_ROW(API_CircleID, circle.r),
		VELMORA_ELEMENT_ROW(API_TextID, text.size),
		VELMORA_ELEMENT_ROW(API_TextID, text.angle),
		VELMORA_ELEMENT_ROW(API_TextID, text.loc.x),
		VELMORA_ELEMENT_ROW(API_TextID, text.loc.y),
		VELMORA_ELEMENT_ROW(API_TextID, text.nonBreaking),
		VELMORA_ELEMENT_ROW(API_TextID, text.charCode),
		{"ACAPI_Attribute_Create", "header.flags", NoError, [](bool u) {
			 return CreateLayer("Flags", [u](API_Attribute& l) { Unset(l.header.flags, u); });
		 }},
		{"ACAPI_Attribute_Create", "layer.conClassId", NoError, [](bool u) {
			 return CreateLayer("Class", [u](API_Attribute& l) { Unset(l.layer.conClassId, u); });
		 }},
		VELMORA_MATERIAL_ROW(material.mtype),
		VELMORA_MATERIAL_ROW(material.ambientPc),
		VELMORA_MATERIAL_ROW(material.diffusePc),
		VELMORA_MATERIAL_ROW(material.specularPc),
		VELMORA_MATERIAL_ROW(material.transpPc),
		VELMORA_MATERIAL_ROW(material.shine),
		VELMORA_MATERIAL_ROW(material.transpAtt),
		VELMORA_MATERIAL_ROW(material.emissionAtt),
		VELMORA_MATERIAL_ROW(material.surfaceRGB.f_red),
		VELMORA_MATERIAL_ROW(material.surfaceRGB.f_green),
		VELMORA_MATERIAL_ROW(material.surfaceRGB.f_blue),
		VELMORA_MATERIAL_ROW(material.specularRGB.f_red),
		VELMORA_MATERIAL_ROW(material.specularRGB.f_green),
		VELMORA_MATERIAL_ROW(material.specularRGB.f_blue),
		VELMORA_MATERIAL_ROW(material.emissionRGB.f_red),
		VELMORA_MATERIAL_ROW(material.emissionRGB.f_green),
		VELMORA_MATERIAL_ROW(material.emissionRGB.f_blue),
		VELMORA_MATERIAL_ROW(material.ffillInd),
		VELMORA_MATERIAL_ROW(material.fillCol),
		VELMORA_MATERIAL_ROW(material.texture.fileLoc),
		VELMORA_MATERIAL_ROW(material.texture.texName),
		VELMORA_MATERIAL_ROW(material.texture.status),
		VELMORA_MATERIAL_ROW(material.texture.xSize),
		VELMORA_MATERIAL_ROW(material.texture.ySize),
		VELMORA_MATERIAL_ROW(material.texture.rotAng),
		{"ACAPI_Attribute_Modify", "typeID", NoError, [stone](bool u) {
			 return ModifyMaterial(stone, [u](API_Attribute& m) { Unset(m.header.typeID, u); });
		 }},
		{"ACAPI_Attribute_Modify", "index", NoError, [stone](bool u) {
			 return ModifyMaterial(stone, [u](API_Attribute& m) { Unset(m.header.index, u); });
		 }},
		{"ACAPI_Attribute_Modify", "material.texture.xSize", NoError, [stone](bool u) {
			 return ModifyMaterial(stone, [u](API_Attribute& m) { Unset(m.material.texture.xSize, u); });
		 }},
		{"ACAPI_Attribute_Get", "material.texture.fileLoc", NoError, [stone](bool u) {
			 API_Attribute m;
			 BNZeroMemory(&m, sizeof m);
			 m.header.typeID = API_MaterialID;
			 m.header.index = stone;
			 IO::Location texture;
			 m.material.texture.fileLoc = &texture;
			 Unset(m.material.texture.fileLoc, u);
			 return ACAPI_Attribute_Get(&m);
		 }},
		VELMORA_UNSET_ROW("ACAPI_LibraryPart_Create", typeID, NoError, [](auto spoil) { return CreatePart(u"Crate", spoil); }),
		VELMORA_UNSET_ROW("ACAPI_LibraryPart_Create", isTemplate, NoError, [](auto spoil) { return CreatePart(u"Crate", spoil); }),
		VELMORA_UNSET_ROW("ACAPI_LibraryPart_Create", isPlaceable, NoError, [](auto spoil) { return CreatePart(u"Crate", spoil); }),
		VELMORA_UNSET_ROW("ACAPI_LibraryPart_Create", location, NoError, [](auto spoil) { return CreatePart(u"Crate", spoil); }),
		VELMORA_UNSET_ROW("ACAPI_LibraryPart_Create", docu_UName, NoError, [](auto spoil) { return CreatePart(u"Crate", spoil); }),
		VELMORA_UNSET_ROW("ACAPI_LibraryPart_Create", ownUnID, NoError, [](auto spoil) { return CreatePart(u"Crate", spoil); }),
		VELMORA_UNSET_ROW("ACAPI_LibraryPart_Create", parentUnID, NoError, [](auto spoil) { return CreatePart(u"Crate", spoil); }),
		{"ACAPI_LibraryPart_Search", "location", NoError, [](bool u) {
			 API_LibPart p;
			 BNZeroMemory(&p, sizeof p);
			 const std::u16string name = u"Box";
			 std::copy(name.begin(), name.end(), p.docu_UName);
			 IO::Location where;
			 p.location = &where;
			 Unset(p.location, u);
			 return ACAPI_LibraryPart_Search(&p, false, false);
		 }},
		{"ACAPI_LibraryPart_Get", "location", NoError, [part](bool u) {
			 API_LibPart p;
			 BNZeroMemory(&p, sizeof p);
			 p.index = part;
			 IO::Location where;
			 p.location = &where;
			 Unset(p.location, u);
			 return ACAPI_LibraryPart_Get(&p);
		 }},
		{"ACAPI_LibraryPart_Save", "location", NoError, [](bool u) {
			 API_LibPart p;
			 BNZeroMemory(&p, sizeof p);
			 IO::Location where;
			 p.location = &where;
			 Unset(p.location, u);
			 return WithNewPart([&] { return ACAPI_LibraryPart_Save(&p); }, u ? u"Shelf" : u"Saved"); // the first is saved
		 }},
		VELMORA_UNSET_ROW("ACAPI_LibraryPart_NewSection", sectType, NoError, [](auto spoil) {
			 API_LibPartSection section{API_SectParamDef, 0};
			 spoil(section);
			 return WithNewPart([&] { return ACAPI_LibraryPart_NewSection(&section); });
		 }),
		VELMORA_UNSET_ROW("ACAPI_LibraryPart_AddSection", subIdent, NoError, [](auto spoil) {
			 API_LibPartSection section{API_SectParamDef, 0};
			 spoil(section);
			 GSHandle bytes = BMAllocateHandle(0, ALLOCATE_CLEAR, 0);
			 const GSErrCode err = WithNewPart([&] { return ACAPI_LibraryPart_AddSection(&section, bytes, nullptr); });
			 BMKillHandle(&bytes);
			 return err;
		 }),
		VELMORA_UNSET_ROW("ACAPI_LibraryPart_GetSection", sectType, NoError, [part](auto spoil) {
			 API_LibPartSection section{API_SectParamDef, 0};
			 spoil(section);
			 GSHandle bytes = nullptr;
			 const GSErrCode err = ACAPI_LibraryPart_GetSection(part, &section, &bytes, nullptr, nullptr);
			 BMKillHandle(&bytes);
			 return err;
		 }),
		VELMORA_UNSET_ROW("ACAPI_LibraryPart_SetDetails_ParamDef", fixSize, NoError, [](auto spoil) {
			 API_LibPartDetails details;
			 BNZeroMemory(&details, sizeof details);
			 spoil(details);
			 API_LibPart p;
			 BNZeroMemory(&p, sizeof p);
			 double a = 1.0, b = 1.0;
			 API_AddParType** none = NewTable<API_AddParType>(0);
			 GSHandle section = nullptr;
			 if (ACAPI_LibraryPart_GetSect_ParamDef(&p, none, &a, &b, nullptr, &section) != NoError) return APIERR_GENERAL;
			 const GSErrCode err = ACAPI_LibraryPart_SetDetails_ParamDef(&p, section, &details);
			 BMKillHandle(&section);
			 ACAPI_DisposeAddParHdl(&none);
			 return err;
		 }),
		VELMORA_UNSET_ROW("ACAPI_AddOnAddOnCommunication_AddMDCLParameter", int_par, NoError,
			[](auto spoil) { return AddParam(MDCLPar_int, spoil); }),
		VELMORA_UNSET_ROW("ACAPI_AddOnAddOnCommunication_AddMDCLParameter", float_par, NoError,
			[](auto spoil) { return AddParam(MDCLPar_float, spoil); }),
		VELMORA_UNSET_ROW("ACAPI_AddOnAddOnCommunication_AddMDCLParameter", string_par, NoError,
			[](auto spoil) { return AddParam(MDCLPar_string, spoil); }),
		VELMORA_UNSET_ROW("ACAPI_AddOnAddOnCommunication_AddMDCLParameter", ptr_par, NoError,
			[](auto spoil) { return AddParam(MDCLPar_pointer, spoil); }),
		{"ACAPI_AddOnAddOnCommunication_ChangeMDCLParameter", "int_par", NoError, [](bool u) {
			 return WithParamList([u](GSHandle list) {
				 API_MDCLParameter par;
				 BNZeroMemory(&par, sizeof par);
				 par.name = "LibIndex";
				 par.type = MDCLPar_int;
				 par.int_par = 5;
				 Unset(par.int_par, u);
				 return ACAPI_AddOnAddOnCommunication_ChangeMDCLParameter(list, &par);
			 });
		 }},
		VELMORA_UNSET_ROW("ACAPI_AddOnAddOnCommunication_Call", developerID, APIERR_MODULNOTINSTALLED, [](auto spoil) {
			 API_ModulID id{1, 2};
			 spoil(id);
			 return ACAPI_AddOnAddOnCommunication_Call(&id, 0x54455354, 1, nullptr, nullptr, true);
		 }),
		VELMORA_UNSET_ROW("ACAPI_AddOnAddOnCommunication_Test", localID, APIERR_MODULNOTINSTALLED, [](auto spoil) {
			 API_ModulID id{1, 2};
			 spoil(id);
			 return ACAPI_AddOnAddOnCommunication_Test(&id, 0x54455354, 1);
		 }),
		VELMORA_UNSET_ROW("ACAPI_GeoLocation_SetGeoLocation", latitude, NoError, SetGeoLocation),
		VELMORA_UNSET_ROW("ACAPI_GeoLocation_SetGeoLocation", north, NoError, SetGeoLocation),
		VELMORA_UNSET_ROW("ACAPI_GeoLocation_SetGeoLocation", surveyPointPosition.z, NoError, SetGeoLocation),
		VELMORA_UNSET_ROW("ACAPI_GeoLocation_SetGeoLocation", geoReferenceData.eastings, NoError, SetGeoLocation),
		VELMORA_UNSET_ROW("ACAPI_GeoLocation_SetGeoLocation", geoReferenceData.scale, NoError, SetGeoLocation),
		VELMORA_UNSET_ROW("ACAPI_Toolbox_SetToolBoxMode", type.variationID, NoError, [](auto spoil) {
			 API_ToolBoxItem item;
			 BNZeroMemory(&item, sizeof item);
			 item.type.typeID = API_LineID;
			 spoil(item);
			 return ACAPI_Toolbox_SetToolBoxMode(&item);
		 }),
		VELMORA_UNSET_ROW("ACAPI_Toolbox_SetToolBoxMode", type.classID, NoError, [](auto spoil) {
			 API_ToolBoxItem item;
			 BNZeroMemory(&item, sizeof item);
			 item.type.typeID = API_LineID;
			 spoil(item);
			 return ACAPI_Toolbox_SetToolBoxMode(&item);
		 }),
		VELMORA_UNSET_ROW("ACAPI_UserInput_DrawRubberLine", c2.y, NoError, [](auto spoil) {
			 API_RubberLineType line;
			 BNZeroMemory(&line, sizeof line);
			 spoil(line);
			 return ACAPI_UserInput_DrawRubberLine(&line);
		 }),
	};
	for (const Case& c : cases) {
		const std::string line = std::string(c.call) + ": " + c.field + " was never set";
		Host().debug.clear();
		EXPECT_EQ(c.run(false), c.whenSet) << c.call << " " << c.field << " set";
		for (const std::string& d : Host().debug) EXPECT_EQ(d.find("was never set"), std::string::npos) << d;
		Host().debug.clear();
		EXPECT_EQ(c.run(true), APIERR_BADPARS) << line;
		EXPECT_EQ(Host().debug.size(), 1u) << line; // every row reports, not only the first that fails
		if (!Host().debug.empty()) {
			EXPECT_EQ(Host().debug[0], line);
		}
	}
}

// The fill the host's checks look for is really there in the test builds: the compiler writes it
// into every field of a record declared without an initialiser (its padding it clears). The
// fields are read through the host's own check. Reading what nobody set is the point here; a
// build without the fill warns of it, and the test is to fail at run time then, not to vanish.
#pragma GCC diagnostic push
#pragma GCC diagnostic ignored "-Wmaybe-uninitialized"
#define VELMORA_EXPECT_FILLED(field) EXPECT_TRUE(vhost::HoldsFill(&(field), sizeof(field))) << #field
TEST(UnsetFill, ARecordDeclaredWithoutAnInitialiserHoldsTheFill)
{
	API_Element element;
	API_LibPart part; // the biggest record
	VELMORA_EXPECT_FILLED(element.header.type.typeID);
	VELMORA_EXPECT_FILLED(element.header.layer);
	VELMORA_EXPECT_FILLED(element.text.pen);
	VELMORA_EXPECT_FILLED(element.text.size);
	VELMORA_EXPECT_FILLED(element.text.nonBreaking);
	VELMORA_EXPECT_FILLED(part.docu_UName);
	VELMORA_EXPECT_FILLED(part.isPlaceable);
	VELMORA_EXPECT_FILLED(part.location);
}
#pragma GCC diagnostic pop

// And the test runs' allocator into every fresh block: a record made with new holds it, also
// when a block of its size was just written and freed by another user.
TEST(UnsetFill, ARecordMadeWithNewHoldsTheFill)
{
	auto* used = new API_Attribute;
	std::memset(static_cast<void*>(used), 0x11, sizeof *used);
	EXPECT_FALSE(vhost::HoldsFill(used, sizeof *used)); // written: the bytes are there until freed
	delete used;
	const std::unique_ptr<API_Attribute> attribute(new API_Attribute);
	EXPECT_TRUE(vhost::HoldsFill(attribute.get(), sizeof *attribute));
	const std::unique_ptr<API_LibPart[]> parts(new API_LibPart[2]);
	EXPECT_TRUE(vhost::HoldsFill(parts.get(), 2 * sizeof(API_LibPart)));
}

} // namespace
