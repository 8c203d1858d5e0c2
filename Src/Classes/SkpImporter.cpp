#include "Classes/SkpImporter.hpp"

#include <algorithm>
#include <array>
#include <string>
#include <vector>

#include "ACUtils.hpp"
#include "APICommon.hpp"
#include "Classes/ImportStep.hpp"
#include "Helpers/GSErrorCodes.hpp"
#include "Helpers/ResourceHelpers.hpp"
#include "VelmoraMain.hpp"
#include "generic/Communication.hpp"
#include "generic/GenericHelpers.hpp"

namespace {

GSErrCode AddParameter(char** params, const char* name, API_MDCLParameterType type, const char* text)
{
	API_MDCLParameter par;
	par.name = name;
	par.type = type;
	par.string_par = text;
	par.int_par = 0;
	return kivel::Communication::AddMDCLParameter(params, par);
}

// The call with its parameters built, once the list exists.
GSErrCode CallLoad(char** params, const std::string& path, bool silent)
{
	if (const GSErrCode err = AddParameter(params, "path", MDCLPar_string, path.c_str())) return err;
	if (const GSErrCode err = AddParameter(params, "originalFileName", MDCLPar_string, "SurroundingArea")) return err;
	if (const GSErrCode err = AddParameter(params, "LibIndex", MDCLPar_int, nullptr)) return err;
	const API_ModulID target{SkpImporter::kDeveloperID, SkpImporter::kLocalID};
	return kivel::Communication::InterAddonCommunicationCall(&target, SkpImporter::kLoadCommand, SkpImporter::kLoadVersion, params,
		nullptr, silent);
}

GS::Array<API_Guid> ObjectElements()
{
	GS::Array<API_Guid> list;
	API_ElemType type;
	type.typeID = API_ObjectID;
	ACAPI_Element_GetElemList(type, &list, APIFilt_None, APIVarId_Generic, APINULLGuid);
	return list;
}

// A GUID's bytes as an ordered key: the object elements before the import are looked up by
// it, so that a project of many objects is not searched once per object.
using GuidKey = std::array<UInt8, 16>;

GuidKey KeyOf(const API_Guid& g)
{
	return {static_cast<UInt8>(g.time_low >> 24), static_cast<UInt8>(g.time_low >> 16), static_cast<UInt8>(g.time_low >> 8),
	        static_cast<UInt8>(g.time_low), static_cast<UInt8>(g.time_mid >> 8), static_cast<UInt8>(g.time_mid),
	        static_cast<UInt8>(g.time_hi_and_version >> 8), static_cast<UInt8>(g.time_hi_and_version), g.clock_seq_hi_and_reserved,
	        g.clock_seq_low, g.node[0], g.node[1], g.node[2], g.node[3], g.node[4], g.node[5]};
}

std::vector<GuidKey> SortedKeys(const GS::Array<API_Guid>& guids)
{
	std::vector<GuidKey> keys;
	keys.reserve(guids.GetSize());
	for (const API_Guid& g : guids) keys.push_back(KeyOf(g));
	std::sort(keys.begin(), keys.end());
	return keys;
}

void ReportFailure(const char* call, GSErrCode err)
{
	WriteReport_Alert("Surroundings model # %s *%d:%s:%s*", call, static_cast<int>(err), GetGSErrName(err), GetGSErrDetail(err));
}

} // namespace

GSErrCode SkpImporter::Import()
{
	char** params = nullptr;
	if (const GSErrCode err = kivel::Communication::InitMDCLParameterList(&params)) return err;
	const std::string path = location.ToDisplayText().ToCStr().Get();
	GSErrCode err = CallLoad(params, path, silent);
	if (err == NoError && params != nullptr) {
		API_MDCLParameter back;
		back.name = "LibIndex";
		if (kivel::Communication::GetMDCLParameter(params, back) == NoError) resultLibIndex = back.int_par;
	}
	kivel::Communication::FreeMDCLParameterList(&params);
	return err;
}

GSErrCode SkpImporter::SetAttributes(API_Guid guid, short pen, const API_AttributeIndex& layer)
{
	if (guid == APINULLGuid) return APIERR_BADID;
	API_Element element;
	element.header.guid = guid;
	if (const GSErrCode err = ACAPI_Element_Get(&element)) return err;
	API_Element mask;
	ACAPI_ELEMENT_MASK_CLEAR(mask);
	ACAPI_ELEMENT_MASK_SET(mask, API_ObjectType, pen);
	ACAPI_ELEMENT_MASK_SET(mask, API_Elem_Head, layer);
	element.object.pen = pen;
	element.header.layer = layer;
	return RunImportStep("Change Surrounding elements", OnThrow::RollBack,
		[&] { return ACAPI_Element_Change(&element, &mask, nullptr, 0, true); });
}

GSErrCode ImportSurroundingModel(const import_object& object)
{
	kivel::WriteReport_utf8_Alert(GetResUniString(IsArchiCADNorwegian() ? 133 : 132, 1));
	SkpImporter importer(object.location);
	const std::vector<GuidKey> before = SortedKeys(ObjectElements());
	const GSErrCode imported = importer.Import();
	const GS::Array<API_Guid> after = ObjectElements();
	if (imported != NoError) {
		ReportFailure("SkpImporter::Import", imported);
		return imported;
	}
	for (const API_Guid& guid : after) {
		if (std::binary_search(before.begin(), before.end(), KeyOf(guid))) continue;
		const GSErrCode err = importer.SetAttributes(guid, object.pen, kivel::CreateAttributeIndex(object.layer));
		if (err != NoError) ReportFailure("SkpImporter::SetAttributes", err);
		return err;
	}
	return NoError;
}
