#include "ACUtils.hpp"

#include "generic/HostApi.hpp"

namespace kivel {

namespace {

struct ErrName {
	UInt32 offset; // from 0x81060000
	const char* name;
};

// In offset order; the gaps between the rows have no name.
constexpr ErrName kErrNames[] = {
	{1, "APIERR_GENERAL"}, {2, "APIERR_MEMFULL"}, {3, "APIERR_CANCEL"},
	{101, "APIERR_BADID"}, {102, "APIERR_BADINDEX"}, {103, "APIERR_BADNAME"}, {104, "APIERR_BADPARS"},
	{105, "APIERR_BADPOLY"}, {106, "APIERR_BADDATABASE"}, {107, "APIERR_BADWINDOW"}, {108, "APIERR_BADKEYCODE"},
	{109, "APIERR_BADPLATFORMSIGN"}, {110, "APIERR_BADPLANE"}, {111, "APIERR_BADUSERID"}, {112, "APIERR_BADVALUE"},
	{113, "APIERR_BADELEMENTTYPE"}, {114, "APIERR_IRREGULARPOLY"},
	{201, "APIERR_NO3D"}, {202, "APIERR_NOMORE"}, {203, "APIERR_NOPLAN"}, {204, "APIERR_NOLIB"},
	{205, "APIERR_NOLIBSECT"}, {206, "APIERR_NOSEL - The selection was empty!"}, {207, "APIERR_NOTEDITABLE"},
	{208, "APIERR_NOTSUBTYPEOF"}, {209, "APIERR_NOTEQUALMAIN"}, {210, "APIERR_NOTEQUALREVISION"},
	{211, "APIERR_NOTEAMWORKPROJECT"},
	{220, "APIERR_NOUSERDATA"}, {221, "APIERR_MOREUSER"}, {222, "APIERR_LINKEXIST"}, {223, "APIERR_LINKNOTEXIST"},
	{224, "APIERR_WINDEXIST"}, {225, "APIERR_WINDNOTEXIST"}, {226, "APIERR_UNDOEMPTY"}, {227, "APIERR_REFERENCEEXIST"},
	{228, "APIERR_NAMEALREADYUSED"},
	{301, "APIERR_ATTREXIST"}, {302, "APIERR_DELETED"}, {303, "APIERR_LOCKEDLAY"}, {304, "APIERR_HIDDENLAY"},
	{305, "APIERR_INVALFLOOR"}, {306, "APIERR_NOTMINE"}, {307, "APIERR_NOACCESSRIGHT"}, {308, "APIERR_BADPROPERTY"},
	{309, "APIERR_BADCLASSIFICATION"},
	{401, "APIERR_MODULNOTINSTALLED"}, {402, "APIERR_MODULCMDMINE"}, {403, "APIERR_MODULCMDNOTSUPPORTED"},
	{404, "APIERR_MODULCMDVERSNOTSUPPORTED"}, {405, "APIERR_NOMODULEDATA"},
	{501, "APIERR_PAROVERLAP"}, {502, "APIERR_PARMISSING"}, {503, "APIERR_PAROVERFLOW"}, {504, "APIERR_PARIMPLICIT"},
	{510, "APIERR_RUNOVERLAP"}, {511, "APIERR_RUNMISSING"}, {512, "APIERR_RUNOVERFLOW"}, {513, "APIERR_RUNIMPLICIT"},
	{514, "APIERR_RUNPROTECTED"},
	{520, "APIERR_EOLOVERLAP"},
	{530, "APIERR_TABOVERLAP"},
	{901, "APIERR_NOTINIT"}, {902, "APIERR_NESTING"}, {903, "APIERR_NOTSUPPORTED"}, {904, "APIERR_REFUSEDCMD"},
	{905, "APIERR_REFUSEDPAR"}, {906, "APIERR_READONLY"}, {907, "APIERR_SERVICEFAILED"}, {908, "APIERR_COMMANDFAILED"},
	{909, "APIERR_NEEDSUNDOSCOPE"},
	{1001, "APIERR_MISSINGCODE"}, {1002, "APIERR_MISSINGDEF"},
};

constexpr UInt32 kApiErrBase = 0x81060000u;

} // namespace

const char* ErrToString(int err)
{
	if (err == NoError) return "NoError";
	const UInt32 offset = static_cast<UInt32>(err) - kApiErrBase; // wraps for codes below the base
	for (const ErrName& e : kErrNames)
		if (e.offset == offset) return e.name;
	return "???";
}

GS::UniString ElemID_To_Name(API_ElemTypeID id)
{
	GS::UniString name;
	API_ElemType type{};
	type.typeID = id;
	// Nothing is written on failure: the empty name.
	KIVEL_HOST_CALL(ACAPI_Element_GetElemTypeName(type, name), ACAPI_Goodies_GetElemTypeName(type, name));
	return name;
}

void WriteReport_utf8_Alert(const GS::UniString& text)
{
	ACAPI_WriteReport("%s", true, text.ToCStr().Get());
}

GSErrCode Attribute_Delete(const API_Attr_Head& head) { return ACAPI_Attribute_Delete(head); }

GS::Array<API_AttributeIndex> AttributeIndicesOfBlock(const API_AttributeIndex* indices)
{
	GS::Array<API_AttributeIndex> list;
	if (indices == nullptr) return list;
	const Int32 bytes = BMGetPtrSize(reinterpret_cast<GSConstPtr>(indices));
	const Int32 count = bytes > 0 ? bytes / 4 : 0;
	for (Int32 i = 0; i < count; ++i) list.Push(indices[i]);
	return list;
}

GSErrCode Attribute_DeleteMore(const API_Attr_Head& head, API_AttributeIndex* indices)
{
	return ACAPI_Attribute_DeleteMore(head.typeID, AttributeIndicesOfBlock(indices));
}

} // namespace kivel
