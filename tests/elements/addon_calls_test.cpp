// Calls between add-ons: parameter lists, the registry of fake add-ons and the
// model-import add-on.
#include <gtest/gtest.h>
#include <nlohmann/json.hpp>

#include "ACAPinc.h"
#include "ElementsTestSupport.hpp"
#include "vhost/Elements.hpp"
#include "vhost/Text.hpp"

namespace {

using namespace elementstest;

class AddonCalls : public ElementsTest {
protected:
	const API_ModulID importer{vhost::kModelImportDeveloperID, vhost::kModelImportLocalID};

	// 'LOAD' of path the way the surroundings import makes it; answers the call's code and
	// the "LibIndex" it read back.
	GSErrCode Load(const std::string& path, Int32* libIndex = nullptr)
	{
		GSHandle params = nullptr;
		EXPECT_EQ(ACAPI_AddOnAddOnCommunication_InitMDCLParameterList(&params), NoError);
		Add(params, "path", path);
		Add(params, "originalFileName", "SurroundingArea");
		API_MDCLParameter index;
		BNZeroMemory(&index, sizeof index);
		index.name = "LibIndex";
		index.type = MDCLPar_int;
		EXPECT_EQ(ACAPI_AddOnAddOnCommunication_AddMDCLParameter(params, &index), NoError);
		const GSErrCode err = ACAPI_AddOnAddOnCommunication_Call(&importer, vhost::kModelImportLoad, 1, params, nullptr, true);
		API_MDCLParameter back;
		BNZeroMemory(&back, sizeof back);
		back.name = "LibIndex";
		EXPECT_EQ(ACAPI_AddOnAddOnCommunication_GetMDCLParameter(params, &back), NoError);
		if (libIndex != nullptr) *libIndex = back.int_par;
		EXPECT_EQ(ACAPI_AddOnAddOnCommunication_FreeMDCLParameterList(&params), NoError);
		EXPECT_EQ(params, nullptr);
		return err;
	}

	static void Add(GSHandle params, const char* name, const std::string& text)
	{
		API_MDCLParameter par;
		BNZeroMemory(&par, sizeof par);
		par.name = name;
		par.type = MDCLPar_string;
		par.string_par = text.c_str();
		EXPECT_EQ(ACAPI_AddOnAddOnCommunication_AddMDCLParameter(params, &par), NoError);
	}

	std::string Model(int objects, GSErrCode failWith = NoError)
	{
		const std::string path = RunRoot() + "/Visualiseringsterreng med bygg ø.skp";
		EXPECT_TRUE(vhost::WriteModelFile(path, objects, failWith));
		return path;
	}

	size_t Objects() const { return vhost::ElementsOfType(API_ObjectID).size(); }
};

TEST_F(AddonCalls, ParameterListsHoldTypedValuesByName)
{
	GSHandle params = nullptr;
	ASSERT_EQ(ACAPI_AddOnAddOnCommunication_InitMDCLParameterList(&params), NoError);
	Add(params, "path", "/a b/c");
	API_MDCLParameter n;
	BNZeroMemory(&n, sizeof n);
	n.name = "count";
	n.type = MDCLPar_int;
	n.int_par = 3;
	ASSERT_EQ(ACAPI_AddOnAddOnCommunication_AddMDCLParameter(params, &n), NoError);
	EXPECT_EQ(n.index, 2);
	EXPECT_EQ(ACAPI_AddOnAddOnCommunication_AddMDCLParameter(params, &n), APIERR_NAMEALREADYUSED);
	Int32 count = 0;
	ASSERT_EQ(ACAPI_AddOnAddOnCommunication_GetMDCLParameterNum(params, &count), NoError);
	EXPECT_EQ(count, 2);

	API_MDCLParameter got;
	BNZeroMemory(&got, sizeof got);
	got.index = 1;
	ASSERT_EQ(ACAPI_AddOnAddOnCommunication_GetMDCLParameter(params, &got), NoError);
	EXPECT_STREQ(got.name, "path");
	EXPECT_STREQ(got.string_par, "/a b/c");
	got = API_MDCLParameter();
	got.name = "count";
	got.type = MDCLPar_string;
	got.string_par = "x";
	EXPECT_EQ(ACAPI_AddOnAddOnCommunication_ChangeMDCLParameter(params, &got), APIERR_BADPARS);
	got.name = "missing";
	EXPECT_EQ(ACAPI_AddOnAddOnCommunication_GetMDCLParameter(params, &got), APIERR_BADNAME);
	ASSERT_EQ(ACAPI_AddOnAddOnCommunication_FreeMDCLParameterList(&params), NoError);
	EXPECT_EQ(ACAPI_AddOnAddOnCommunication_GetMDCLParameterNum(params, &count), APIERR_BADPARS);
}

TEST_F(AddonCalls, TheModelImportPlacesAsManyObjectsAsItsFileSays)
{
	for (int objects : {0, 1, 2}) {
		const size_t before = Objects();
		Int32 libIndex = 0;
		ASSERT_EQ(Load(Model(objects), &libIndex), NoError) << objects;
		EXPECT_EQ(Objects(), before + static_cast<size_t>(objects));
		API_LibPart part;
		std::memset(&part, 0, sizeof(part));
		part.index = libIndex;
		ASSERT_EQ(ACAPI_LibraryPart_Get(&part), NoError);
		delete part.location;
		EXPECT_EQ(GS::UniString(part.docu_UName), "SurroundingArea");
	}
	EXPECT_EQ(Host().undo.size(), 3u);
	EXPECT_EQ(Host().undo[0].name, "Import model");
	const nlohmann::json dump = nlohmann::json::parse(vhost::DumpJson());
	ASSERT_EQ(dump["addonCalls"].size(), 3u);
	EXPECT_EQ(dump["addonCalls"][0]["command"], "LOAD");
	EXPECT_EQ(dump["addonCalls"][0]["params"][1], "originalFileName=\"SurroundingArea\"");
}

TEST_F(AddonCalls, FailuresComeBackAsTheCallsCode)
{
	EXPECT_EQ(Load(Model(2, APIERR_CANCEL)), APIERR_CANCEL);
	EXPECT_EQ(Load(RunRoot() + "/none.skp"), APIERR_BADPARS);
	testsupport::WriteFile(RunRoot() + "/real.skp", "SketchUp Model");
	EXPECT_EQ(Load(RunRoot() + "/real.skp"), APIERR_BADPARS);
	EXPECT_EQ(InStep([&] { return Load(Model(1)); }), APIERR_NESTING); // its own step cannot nest
	EXPECT_EQ(Objects(), 0u);

	EXPECT_EQ(ACAPI_AddOnAddOnCommunication_Test(&importer, vhost::kModelImportLoad, 1), NoError);
	EXPECT_EQ(ACAPI_AddOnAddOnCommunication_Test(&importer, vhost::kModelImportLoad, 2), APIERR_MODULCMDVERSNOTSUPPORTED);
	EXPECT_EQ(ACAPI_AddOnAddOnCommunication_Call(&importer, API_FourCC("SAVE"), 1, nullptr, nullptr, true), APIERR_MODULCMDNOTSUPPORTED);
	vhost::RemoveFakeAddon(importer.developerID, importer.localID);
	EXPECT_EQ(Load(Model(1)), APIERR_MODULNOTINSTALLED);
	EXPECT_EQ(Objects(), 0u);
}

} // namespace
