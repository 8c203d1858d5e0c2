// Material attributes with textures: create, search by name, get, modify, dump.
#include "vhost/Materials.hpp"

#include <cmath>

#include "ACAPinc.h"
#include "vhost/Elements.hpp"
#include "vhost/AttributeIndex.hpp"
#include "vhost/Project.hpp"
#include "vhost/Text.hpp"
#include "vhost/Unset.hpp"

namespace vhost {

namespace {

using json = nlohmann::ordered_json;

constexpr std::size_t kMaxNameUnits = API_AttrNameLen - 1;

std::vector<MaterialRecord>& Materials() { return Current().materials; }

Int32 MaterialByName(const std::u16string& name)
{
	const auto& materials = Materials();
	for (std::size_t i = 0; i < materials.size(); ++i)
		if (materials[i].name == name) return static_cast<Int32>(i + 1);
	return 0;
}

MaterialRecord* MaterialAt(Int32 index)
{
	auto& materials = Materials();
	return index >= 1 && static_cast<std::size_t>(index) <= materials.size() ? &materials[static_cast<std::size_t>(index) - 1]
	                                                                         : nullptr;
}

bool Percent(short value) { return value >= 0 && value <= 100; }

bool ValidNumbers(const API_MaterialType& m)
{
	const API_Texture& t = m.texture;
	return std::isfinite(t.xSize) && std::isfinite(t.ySize) && std::isfinite(t.rotAng) && t.xSize >= 0 && t.ySize >= 0 &&
		Percent(m.ambientPc) && Percent(m.diffusePc) && Percent(m.specularPc) && Percent(m.transpPc);
}

// Every field of the material past its head: the host keeps the record whole.
const RecordField kMaterialFields[] = {
	VHOST_FIELD(API_Attribute, material.mtype), VHOST_FIELD(API_Attribute, material.ambientPc),
	VHOST_FIELD(API_Attribute, material.diffusePc), VHOST_FIELD(API_Attribute, material.specularPc),
	VHOST_FIELD(API_Attribute, material.transpPc), VHOST_FIELD(API_Attribute, material.shine),
	VHOST_FIELD(API_Attribute, material.transpAtt), VHOST_FIELD(API_Attribute, material.emissionAtt),
	VHOST_FIELD(API_Attribute, material.surfaceRGB.f_red), VHOST_FIELD(API_Attribute, material.surfaceRGB.f_green),
	VHOST_FIELD(API_Attribute, material.surfaceRGB.f_blue), VHOST_FIELD(API_Attribute, material.specularRGB.f_red),
	VHOST_FIELD(API_Attribute, material.specularRGB.f_green), VHOST_FIELD(API_Attribute, material.specularRGB.f_blue),
	VHOST_FIELD(API_Attribute, material.emissionRGB.f_red), VHOST_FIELD(API_Attribute, material.emissionRGB.f_green),
	VHOST_FIELD(API_Attribute, material.emissionRGB.f_blue), VHOST_FIELD(API_Attribute, material.ffillInd),
	VHOST_FIELD(API_Attribute, material.fillCol), VHOST_FIELD(API_Attribute, material.texture.fileLoc),
	VHOST_FIELD(API_Attribute, material.texture.status), VHOST_FIELD(API_Attribute, material.texture.xSize),
	VHOST_FIELD(API_Attribute, material.texture.ySize), VHOST_FIELD(API_Attribute, material.texture.rotAng),
};

// The texture's file, read through its pointer when set.
const RecordField kTextureFile[] = {VHOST_FIELD(API_Attribute, material.texture.fileLoc)};

GSErrCode CheckMaterialSet(const char* call, const API_Attribute& attribute)
{
	if (const GSErrCode err = CheckFieldsSet(call, &attribute, kMaterialFields)) return err;
	if (UnterminatedFill(attribute.material.texture.texName, API_AttrNameLen)) return RefuseUnset(call, "material.texture.texName");
	return NoError;
}

// The record as kept: its pointers and name field cleared, the texture file by path.
GSErrCode Keep(const char* call, const API_Attribute& attribute, Int32 index, MaterialRecord& kept)
{
	if (const GSErrCode err = CheckMaterialSet(call, attribute)) return err;
	if (!HeadName(attribute.header, kept.name) || kept.name.empty() || kept.name.size() > kMaxNameUnits) return APIERR_BADNAME;
	const Int32 sameName = MaterialByName(kept.name);
	if (sameName != 0 && sameName != index) return APIERR_ATTREXIST;
	if (!ValidNumbers(attribute.material)) return APIERR_BADPARS;
	kept.record = attribute.material;
	kept.record.head = API_Attr_Head();
	kept.record.head.typeID = API_MaterialID;
	kept.record.head.index = API_AttributeIndex(index);
	kept.record.texture.fileLoc = nullptr;
	kept.textureFile = attribute.material.texture.fileLoc != nullptr ? PathOf(*attribute.material.texture.fileLoc) : "";
	return NoError;
}

json Rgb(const API_RGBColor& c) { return json::array({c.f_red, c.f_green, c.f_blue}); }

} // namespace

GSErrCode CreateMaterial(API_Attribute& attribute)
{
	const Int32 index = static_cast<Int32>(Materials().size() + 1);
	MaterialRecord kept;
	if (const GSErrCode err = Keep("ACAPI_Attribute_Create", attribute, index, kept)) return err;
	Materials().push_back(kept);
	attribute.header.index = API_AttributeIndex(index);
	return NoError;
}

GSErrCode ModifyMaterial(API_Attribute& attribute)
{
	static const RecordField index[] = {VHOST_FIELD(API_Attr_Head, index)};
	if (const GSErrCode err = CheckFieldsSet("ACAPI_Attribute_Modify", &attribute.header, index)) return err;
	MaterialRecord* old = MaterialAt(vhost::IndexValue(attribute.header.index));
	if (old == nullptr) return APIERR_BADINDEX;
	MaterialRecord kept;
	if (const GSErrCode err = Keep("ACAPI_Attribute_Modify", attribute, vhost::IndexValue(attribute.header.index), kept)) return err;
	*old = kept;
	return NoError;
}

GSErrCode SearchMaterial(API_Attr_Head& head)
{
	std::u16string name;
	if (!HeadName(head, name)) return APIERR_BADNAME;
	const Int32 index = MaterialByName(name);
	if (index == 0) return APIERR_BADNAME;
	head.index = API_AttributeIndex(index);
	return NoError;
}

GSErrCode GetMaterial(API_Attribute& attribute)
{
	if (const GSErrCode err = CheckFieldsSet("ACAPI_Attribute_Get", &attribute, kTextureFile)) return err;
	const MaterialRecord* m = MaterialAt(vhost::IndexValue(attribute.header.index));
	if (m == nullptr) return APIERR_BADINDEX;
	GS::UniString* nameOut = attribute.header.uniStringNamePtr;
	IO::Location* fileOut = attribute.material.texture.fileLoc;
	attribute.material = m->record;
	attribute.header.uniStringNamePtr = nameOut;
	PutName(m->name, attribute.header.name);
	if (nameOut != nullptr) *nameOut = FromUnits(m->name);
	attribute.material.texture.fileLoc = fileOut;
	if (fileOut != nullptr) *fileOut = IO::Location(m->textureFile.c_str());
	return NoError;
}

nlohmann::ordered_json MaterialsJson()
{
	json materials = json::array();
	const auto& all = Materials();
	for (std::size_t i = 0; i < all.size(); ++i) {
		const API_MaterialType& m = all[i].record;
		const API_Texture& t = m.texture;
		const std::u16string texName(t.texName, std::char_traits<char16_t>::length(t.texName));
		materials.push_back({{"index", i + 1}, {"name", Utf16ToUtf8(all[i].name)}, {"type", m.mtype},
			{"surface", Rgb(m.surfaceRGB)}, {"ambient", m.ambientPc}, {"diffuse", m.diffusePc},
			{"specular", m.specularPc}, {"transparency", m.transpPc}, {"fill", vhost::IndexValue(m.ffillInd)},
			{"fillColor", m.fillCol},
			{"texture", {{"file", all[i].textureFile}, {"name", Utf16ToUtf8(texName)}, {"status", t.status},
				{"width", t.xSize}, {"height", t.ySize}, {"rotation", t.rotAng}}}});
	}
	return materials;
}

} // namespace vhost

GSErrCode ACAPI_Attribute_Modify(API_Attribute* attribute, API_AttributeDef* /*defs*/)
{
	if (attribute == nullptr) return APIERR_BADPARS;
	if (const GSErrCode err = vhost::CheckHeadSet("ACAPI_Attribute_Modify", attribute->header, true)) return err;
	if (const GSErrCode err = vhost::FaultFor("ACAPI_Attribute_Modify")) return err;
	if (attribute->header.typeID != API_MaterialID) return APIERR_NOTSUPPORTED;
	return vhost::ModifyMaterial(*attribute);
}
