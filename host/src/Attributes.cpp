// Attribute calls over the project's attribute store. Layers are modelled; a new attribute
// kind adds its case to the dispatch of Create, Search, Get and GetNum.
#include <algorithm>
#include "vhost/Text.hpp"
#include <cstring>

#include "ACAPinc.h"
#include "vhost/Elements.hpp"
#include "vhost/AttributeIndex.hpp"
#include "vhost/Text.hpp"
#include "vhost/Materials.hpp"
#include "vhost/Unset.hpp"
#include "NamedCall.hpp"

namespace vhost {

// The name the head carries: *uniStringNamePtr when set, else the 8-bit name field in the
// host's default code (UTF-8). False when the field is not terminated or not valid UTF-8.
bool HeadName(const API_Attr_Head& head, std::u16string& name)
{
	if (head.uniStringNamePtr != nullptr) {
		name = vhost::Units(*head.uniStringNamePtr);
		return true;
	}
	const char* end = std::find(head.name, head.name + API_AttrNameLen, '\0');
	if (end == head.name + API_AttrNameLen) return false;
	return vhost::Utf8ToUtf16(head.name, static_cast<USize>(end - head.name), name);
}

// UTF-8 of name in the name field, cut on a character boundary so that it fits.
void PutName(const std::u16string& name, char (&field)[API_AttrNameLen])
{
	std::string utf8 = vhost::Utf16ToUtf8(name);
	if (utf8.size() >= sizeof(field)) {
		std::size_t cut = sizeof(field) - 1;
		while (cut > 0 && (static_cast<unsigned char>(utf8[cut]) & 0xC0) == 0x80) --cut;
		utf8.resize(cut);
	}
	std::memset(field, 0, sizeof(field));
	std::memcpy(field, utf8.data(), utf8.size());
}

namespace {

constexpr std::size_t kMaxNameUnits = API_AttrNameLen - 1;

Int32 LayerByName(const std::u16string& name)
{
	const auto& layers = Current().attributes.layers;
	for (std::size_t i = 0; i < layers.size(); ++i)
		if (layers[i].name == name) return static_cast<Int32>(i + 1);
	return 0;
}

GSErrCode CreateLayer(API_Attribute& attribute)
{
	// The layer keeps these two as they come, and the dump shows the flags.
	static const RecordField kept[] = {VHOST_FIELD(API_Attribute, header.flags), VHOST_FIELD(API_Attribute, layer.conClassId)};
	if (const GSErrCode err = CheckFieldsSet("ACAPI_Attribute_Create", &attribute, kept)) return err;
	std::u16string name;
	if (!HeadName(attribute.header, name) || name.empty() || name.size() > kMaxNameUnits) return APIERR_BADNAME;
	if (LayerByName(name) != 0) return APIERR_ATTREXIST;
	auto& layers = Current().attributes.layers;
	layers.push_back(LayerRecord{name, attribute.header.flags, attribute.layer.conClassId});
	attribute.header.index = API_AttributeIndex(static_cast<Int32>(layers.size()));
	return NoError;
}

} // namespace

const LayerRecord* FindLayer(Int32 index)
{
	const auto& layers = Current().attributes.layers;
	return index >= 1 && static_cast<std::size_t>(index) <= layers.size() ? &layers[static_cast<std::size_t>(index) - 1] : nullptr;
}

// The head fields every attribute call reads, and the name when the head carries it itself.
// Reads the name field only, never past it.
GSErrCode CheckHeadSet(const char* call, const API_Attr_Head& head, bool readsName)
{
	static const RecordField fields[] = {VHOST_FIELD(API_Attr_Head, typeID), VHOST_FIELD(API_Attr_Head, uniStringNamePtr)};
	if (const GSErrCode err = CheckFieldsSet(call, &head, fields)) return err;
	if (readsName && head.uniStringNamePtr == nullptr && UnterminatedFill(head.name, API_AttrNameLen)) return RefuseUnset(call, "name");
	return NoError;
}

LayerNames::LayerNames()
{
	for (Int32 i = 0; i <= static_cast<Int32>(Current().attributes.layers.size()); ++i) {
		const LayerRecord* layer = FindLayer(i);
		names_.push_back(layer != nullptr ? Utf16ToUtf8(layer->name) : std::string());
	}
}

const std::string& LayerNames::Of(Int32 index) const
{
	return index >= 0 && static_cast<std::size_t>(index) < names_.size() ? names_[static_cast<std::size_t>(index)] : names_[0];
}

} // namespace vhost

GSErrCode ACAPI_Attribute_Create(API_Attribute* attribute, API_AttributeDef* /*defs*/)
{
	if (attribute == nullptr) return APIERR_BADPARS;
	if (const GSErrCode err = vhost::CheckHeadSet("ACAPI_Attribute_Create", attribute->header, true)) return err;
	if (const GSErrCode err = vhost::FaultFor("ACAPI_Attribute_Create")) return err;
	switch (attribute->header.typeID) {
		case API_LayerID: return vhost::CreateLayer(*attribute);
		case API_MaterialID: return vhost::CreateMaterial(*attribute);
		default: return APIERR_NOTSUPPORTED;
	}
}

GSErrCode ACAPI_Attribute_Search(API_Attr_Head* attrHead)
{
	if (attrHead == nullptr) return APIERR_BADPARS;
	if (const GSErrCode err = vhost::CheckHeadSet("ACAPI_Attribute_Search", *attrHead, true)) return err;
	if (attrHead->typeID == API_MaterialID) return vhost::SearchMaterial(*attrHead);
	if (attrHead->typeID != API_LayerID) return APIERR_NOTSUPPORTED;
	std::u16string name;
	if (!vhost::HeadName(*attrHead, name)) return APIERR_BADNAME;
	const Int32 index = vhost::LayerByName(name);
	if (index == 0) return APIERR_BADNAME;
	attrHead->index = API_AttributeIndex(index);
	return NoError;
}

GSErrCode ACAPI_Attribute_Get(API_Attribute* attribute)
{
	const vhost::NamedCall named(__func__);
	if (attribute == nullptr) return APIERR_BADPARS;
	if (const GSErrCode err = vhost::CheckHeadSet("ACAPI_Attribute_Get", attribute->header, false)) return err;
	static const vhost::RecordField index[] = {VHOST_FIELD(API_Attr_Head, index)};
	if (const GSErrCode err = vhost::CheckFieldsSet("ACAPI_Attribute_Get", &attribute->header, index)) return err;
	if (attribute->header.typeID == API_MaterialID) return vhost::GetMaterial(*attribute);
	if (attribute->header.typeID != API_LayerID) return APIERR_NOTSUPPORTED;
	const vhost::LayerRecord* layer = vhost::FindLayer(vhost::IndexValue(attribute->header.index));
	if (layer == nullptr) return APIERR_BADINDEX;
	vhost::PutName(layer->name, attribute->header.name);
	if (attribute->header.uniStringNamePtr != nullptr) *attribute->header.uniStringNamePtr = vhost::FromUnits(layer->name);
	attribute->header.flags = layer->flags;
	attribute->layer.conClassId = layer->conClassId;
	return NoError;
}

GSErrCode ACAPI_Attribute_GetNum(API_AttrTypeID typeID, UInt32& count)
{
	if (typeID == API_MaterialID) {
		count = static_cast<UInt32>(vhost::Current().materials.size());
		return NoError;
	}
	if (typeID != API_LayerID) return APIERR_NOTSUPPORTED;
	count = static_cast<UInt32>(vhost::Current().attributes.layers.size());
	return NoError;
}

GSErrCode ACAPI_DisposeAttrDefsHdls(API_AttributeDef* defs)
{
	if (defs == nullptr) return APIERR_BADPARS;
	BMKillHandle(&defs->ltype_dashItems);
	BMKillHandle(&defs->fill_lineItems);
	return NoError;
}
