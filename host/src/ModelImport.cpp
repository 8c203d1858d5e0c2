// The fake model-import add-on: answers 'LOAD' by placing the objects a model file of ours
// asks for (see vhost/Elements.hpp).
#include <cstring>
#include "vhost/Text.hpp"
#include <fstream>
#include <sstream>

#include "ACAPinc.h"
#include "vhost/Elements.hpp"
#include "vhost/Text.hpp"

namespace vhost {

namespace {

constexpr const char* kModelMagic = "VHOST-MODEL 1";
constexpr long kMaxModelObjects = 10000;

struct ModelFile {
	long objects = 1;
	GSErrCode failWith = NoError;
};

bool ReadModelFile(const std::string& path, ModelFile& model)
{
	std::ifstream in(path, std::ios::binary);
	std::string line;
	if (!in || !std::getline(in, line) || line != kModelMagic) return false;
	while (std::getline(in, line)) {
		std::istringstream words(line);
		std::string key, value;
		words >> key >> value;
		if (key.empty()) continue;
		char* end = nullptr;
		const long n = std::strtol(value.c_str(), &end, 0);
		if (value.empty() || *end != 0) return false;
		if (key == "objects" && n >= 0 && n <= kMaxModelObjects) model.objects = n;
		else if (key == "fail") model.failWith = static_cast<GSErrCode>(n);
		else return false;
	}
	return true;
}

std::string TextParam(GSHandle params, const char* name)
{
	API_MDCLParameter par;
	BNZeroMemory(&par, sizeof par);
	par.name = name;
	if (params == nullptr || ACAPI_AddOnAddOnCommunication_GetMDCLParameter(params, &par) != NoError || par.type != MDCLPar_string)
		return std::string();
	return par.string_par;
}

// The part the model's objects use: found by name, else made in the embedded library.
GSErrCode ModelPart(const std::string& name, Int32& libInd)
{
	API_LibPart part;
	std::memset(&part, 0, sizeof(part));
	const std::u16string uname = vhost::Units(GS::UniString(name));
	if (uname.empty() || uname.size() >= static_cast<std::size_t>(API_UniLongNameLen)) return APIERR_BADNAME;
	std::copy(uname.begin(), uname.end(), part.docu_UName);
	if (ACAPI_LibraryPart_Search(&part, false) == NoError) {
		delete part.location; // the search made one for us
		libInd = part.index;
		return NoError;
	}
	IO::Location folder(EmbeddedLibraryFolder().c_str());
	part.typeID = APILib_ObjectID;
	part.isPlaceable = true;
	part.location = &folder;
	if (const GSErrCode err = ACAPI_LibraryPart_Create(&part)) return err;
	double a = 1.0, b = 1.0;
	GSHandle none = BMAllocateHandle(0, ALLOCATE_CLEAR, 0);
	GSHandle paramSect = nullptr;
	GSErrCode err = ACAPI_LibraryPart_GetSect_ParamDef(&part, reinterpret_cast<API_AddParType**>(none), &a, &b, nullptr, &paramSect);
	const API_LibPartSection pard{API_SectParamDef, 0};
	if (err == NoError) err = ACAPI_LibraryPart_AddSection(&pard, paramSect, nullptr);
	const std::string script = "! model imported from a file\nBLOCK A, B, 1\n";
	const API_LibPartSection body{API_Sect3DScript, 0};
	if (err == NoError) err = ACAPI_LibraryPart_NewSection(&body);
	if (err == NoError) err = ACAPI_LibraryPart_WriteSection(static_cast<Int32>(script.size()), script.data());
	if (err == NoError) err = ACAPI_LibraryPart_EndSection();
	// Save also ends a part whose sections failed, so that the store is not left half-way.
	const GSErrCode saved = ACAPI_LibraryPart_Save(&part);
	BMKillHandle(&none);
	BMKillHandle(&paramSect);
	libInd = part.index;
	return err != NoError ? err : saved;
}

GSErrCode PlaceModelObjects(Int32 libInd, long count)
{
	for (long i = 0; i < count; ++i) {
		API_Element element;
		BNZeroMemory(&element, sizeof element);
		element.header.type.typeID = API_ObjectID;
		if (const GSErrCode err = ACAPI_Element_GetDefaults(&element, nullptr)) return err;
		element.object.libInd = libInd;
		element.object.pos = API_Coord{2.0 * static_cast<double>(i), 0.0};
		if (const GSErrCode err = ACAPI_Element_Create(&element, nullptr)) return err;
	}
	return NoError;
}

GSErrCode Load(GSHandle params, GSPtr, bool)
{
	const std::string path = TextParam(params, "path");
	std::string name = TextParam(params, "originalFileName");
	if (name.empty()) name = "Model";
	ModelFile model;
	if (path.empty() || !ReadModelFile(path, model)) return APIERR_BADPARS;
	if (model.failWith != NoError) return model.failWith;
	Int32 libInd = 0;
	if (const GSErrCode err = ModelPart(name, libInd)) return err;
	const GSErrCode err = ACAPI_CallUndoableCommand("Import model", [&] { return PlaceModelObjects(libInd, model.objects); });
	if (err != NoError) return err;
	API_MDCLParameter back;
	BNZeroMemory(&back, sizeof back);
	back.name = "LibIndex";
	if (params != nullptr && ACAPI_AddOnAddOnCommunication_GetMDCLParameter(params, &back) == NoError && back.type == MDCLPar_int) {
		back.int_par = libInd;
		ACAPI_AddOnAddOnCommunication_ChangeMDCLParameter(params, &back);
	}
	return NoError;
}

} // namespace

void InstallModelImportAddon()
{
	InstallFakeAddon(FakeAddon{kModelImportDeveloperID, kModelImportLocalID, "Model Import", {FakeCommand{kModelImportLoad, 1, Load}}});
}

bool WriteModelFile(const std::string& path, int objects, GSErrCode failWith)
{
	std::ofstream out(path, std::ios::binary);
	out << kModelMagic << "\nobjects " << objects << "\n";
	if (failWith != NoError) out << "fail " << failWith << "\n";
	return static_cast<bool>(out);
}

} // namespace vhost
