// The surroundings model: the SketchUp import add-on loads it, its new object gets the
// import's pen and layer.
#include <map>

#include <gtest/gtest.h>

#include "ACAPinc.h"
#include "vhost/Text.hpp"
#include "Classes/SkpImporter.hpp"
#include "Classes/import_map.hpp"
#include "sample/SamplePackage.hpp"
#include "TestSupport.hpp"
#include "vhost/Elements.hpp"
#include "vhost/AttributeIndex.hpp"

namespace {

class Surroundings : public testsupport::HostTest {
protected:
	void SetUp() override
	{
		HostTest::SetUp();
		Host().resourceFile = std::string(VELMORA_SOURCE_DIR) + "/Resources/Velmora.rsrc";
		Host().resources.reset();
		API_Attribute layer;
		layer.header.typeID = API_LayerID;
		std::strcpy(layer.header.name, "Omgivelser");
		ASSERT_EQ(ACAPI_Attribute_Create(&layer, nullptr), NoError);
		object.layer = static_cast<Int16>(vhost::IndexValue(layer.header.index));
		object.pen = 77;
		object.type = ImportSurroundings;
	}

	// A model file the SketchUp import add-on places `objects` objects for.
	void Model(int objects, GSErrCode failWith = NoError)
	{
		const std::string path = RunRoot() + "/Visualiseringsterreng/Visualiseringsterreng_med_bygg ø.skp";
		testsupport::WriteFile(path, "");
		ASSERT_TRUE(vhost::WriteModelFile(path, objects, failWith));
		object.location = testsupport::Loc(path);
	}

	std::vector<const vhost::ElementRecord*> Objects() const { return vhost::ElementsOfType(API_ObjectID); }

	bool Changed(const vhost::ElementRecord* r) const
	{
		return r->element.object.pen == 77 && vhost::IndexValue(r->element.header.layer) == object.layer;
	}

	size_t ChangeSteps() const
	{
		return static_cast<size_t>(std::count_if(vhost::Current().undo.begin(), vhost::Current().undo.end(),
			[](const vhost::UndoStep& s) { return s.name == "Change Surrounding elements"; }));
	}

	import_object object;
};

TEST_F(Surroundings, OnlyTheFirstNewObjectGetsThePenAndLayer)
{
	Model(1);
	ASSERT_EQ(ImportSurroundingModel(object), NoError); // one object there before
	Model(2);
	const int handles = vhost::LiveHandles();
	ASSERT_EQ(ImportSurroundingModel(object), NoError);
	EXPECT_EQ(vhost::LiveHandles(), handles);
	const auto objects = Objects();
	ASSERT_EQ(objects.size(), 3u);
	EXPECT_TRUE(Changed(objects[0]));
	EXPECT_TRUE(Changed(objects[1]));
	EXPECT_FALSE(Changed(objects[2]));
	EXPECT_EQ(ChangeSteps(), 2u);
	ASSERT_FALSE(Host().addonCalls.empty());
	const auto& params = Host().addonCalls.back().params;
	ASSERT_EQ(params.size(), 3u);
	EXPECT_EQ(params[0], "path=\"" + vhost::PathOf(object.location) + "\"");
	EXPECT_EQ(params[1], "originalFileName=\"SurroundingArea\"");
	EXPECT_EQ(params[2], "LibIndex=0");
	EXPECT_EQ(ReportTexts(), (std::vector<std::string>{"Importing the surroundings model. This can take a while.",
		"Importing the surroundings model. This can take a while."}));
}

TEST_F(Surroundings, AnImportWithoutNewObjectsChangesNothing)
{
	Host().languageCode = "NOR";
	Model(0);
	EXPECT_EQ(ImportSurroundingModel(object), NoError);
	EXPECT_TRUE(Objects().empty());
	EXPECT_EQ(ChangeSteps(), 0u);
	EXPECT_EQ(ReportTexts(), std::vector<std::string>{"Importerer omgivelsesmodellen. Dette kan ta en stund."});
}

TEST_F(Surroundings, FailedImportsAreReportedWithTheirCode)
{
	struct Case {
		const char* what;
		std::function<void()> arrange;
		GSErrCode expected;
		const char* call = "SkpImporter::Import";
		size_t objects = 0; // objects placed by the case
	};
	const Case cases[] = { // the add-on stays removed after its row
		{"a good import, the change refused", [&] { Model(1); vhost::InjectFault("ACAPI_Element_Change", APIERR_NOACCESSRIGHT, "", 1); },
			APIERR_NOACCESSRIGHT, "SkpImporter::SetAttributes", 1},
		{"the add-on fails", [&] { Model(2, APIERR_CANCEL); }, APIERR_CANCEL},
		{"the add-on is missing", [&] { Model(1); vhost::RemoveFakeAddon(SkpImporter::kDeveloperID, SkpImporter::kLocalID); }, APIERR_MODULNOTINSTALLED},
		{"a parameter cannot be added", [&] { Model(1); vhost::InjectFault("ACAPI_AddOnAddOnCommunication_AddMDCLParameter", APIERR_MEMFULL, "", 1); }, APIERR_MEMFULL},
	};
	for (const Case& c : cases) {
		Host().reports.clear();
		c.arrange();
		const int handles = vhost::LiveHandles();
		const size_t before = Objects().size();
		EXPECT_EQ(ImportSurroundingModel(object), c.expected) << c.what;
		EXPECT_EQ(vhost::LiveHandles(), handles) << c.what;
		EXPECT_EQ(Objects().size(), before + c.objects) << c.what;
		ASSERT_EQ(ReportTexts().size(), 2u) << c.what;
		EXPECT_EQ(ReportTexts()[1].rfind(std::string("Surroundings model # ") + c.call + " *" + std::to_string(c.expected) + ":", 0), 0u)
			<< ReportTexts()[1];
	}
	for (const vhost::ElementRecord* placed : Objects()) EXPECT_FALSE(Changed(placed));
	EXPECT_EQ(ChangeSteps(), 1u); // the refused change's, rolled back
	ASSERT_FALSE(Host().undo.empty());
	EXPECT_TRUE(Host().undo.back().rolledBack);
}

TEST_F(Surroundings, ImportReadsTheLibraryIndexBack)
{
	Model(1);
	SkpImporter importer(object.location);
	EXPECT_EQ(importer.GetResultLibIndex(), 0);
	ASSERT_EQ(importer.Import(), NoError);
	ASSERT_EQ(Objects().size(), 1u);
	EXPECT_EQ(importer.GetResultLibIndex(), Objects()[0]->element.object.libInd);
	EXPECT_NE(importer.GetResultLibIndex(), 0);
}

TEST_F(Surroundings, SetAttributesNeedsAnElement)
{
	SkpImporter importer(object.location);
	EXPECT_EQ(importer.SetAttributes(APINULLGuid, 3, API_AttributeIndex(1)), static_cast<GSErrCode>(0x81060065));
	API_Guid unknown = APINULLGuid;
	unknown.time_low = 42;
	EXPECT_EQ(importer.SetAttributes(unknown, 3, API_AttributeIndex(1)), APIERR_BADID);
	EXPECT_TRUE(Host().undo.empty());

	Model(1);
	SkpImporter model(object.location);
	ASSERT_EQ(model.Import(), NoError);
	const API_Guid placed = Objects()[0]->element.header.guid;
	EXPECT_EQ(model.SetAttributes(placed, 3, API_AttributeIndex(99)), APIERR_BADINDEX); // no such layer: rolled back
	EXPECT_TRUE(Host().undo.back().rolledBack);
	EXPECT_EQ(Objects()[0]->element.object.pen, 1);
}

} // namespace

namespace {

class SamplePackageDrawing : public testsupport::HostTest {};

// The sample's base map becomes 2D elements on its layers, and its surroundings model an
// object with the import's pen and layer.
TEST_F(SamplePackageDrawing, BaseMapAndSurroundingsOfTheSample)
{
	const std::string folder = RunRoot() + "/Documents/Prøvekart";
	ASSERT_EQ(sample::MakeProjectFolder(folder, {}), "");
	Importer::Place2DElements(testsupport::Loc(folder + "/3D-modell/Basiskart/Alle data.dxf"), API_AttributeIndex(1));
	std::map<std::string, std::map<std::string, int>> kinds; // layer -> element type -> count
	for (const vhost::ElementRecord& r : Host().state.elements) {
		const vhost::LayerRecord* layer = vhost::FindLayer(vhost::IndexValue(r.element.header.layer));
		++kinds[layer != nullptr ? vhost::Utf16ToUtf8(layer->name) : "?"][vhost::ElemTypeName(r.element.header.type.typeID)];
	}
	EXPECT_EQ(kinds["høydekurve"]["PolyLine"], 7);
	EXPECT_EQ(kinds["Veg"]["Line"], 2);
	EXPECT_EQ(kinds["Veg"]["Arc"], 1);
	EXPECT_EQ(kinds["Tekst"]["Text"], 2);
	EXPECT_EQ(kinds["Vegetasjon"]["Circle"], 3);
	EXPECT_TRUE(Host().reports.empty());

	import_object model;
	model.type = ImportSurroundings;
	model.location = testsupport::Loc(folder + "/3D-modell/Visualiseringsterreng/Visualiseringsterreng_med_bygg.skp");
	model.pen = 12;
	API_Attribute layer;
	layer.header.typeID = API_LayerID;
	std::strcpy(layer.header.name, "Omgivelser");
	ASSERT_EQ(ACAPI_Attribute_Create(&layer, nullptr), NoError);
	model.layer = static_cast<Int16>(vhost::IndexValue(layer.header.index));
	ASSERT_EQ(ImportSurroundingModel(model), NoError);
	const auto objects = vhost::ElementsOfType(API_ObjectID);
	ASSERT_EQ(objects.size(), 1u);
	EXPECT_EQ(objects[0]->element.object.pen, 12);
	EXPECT_EQ(vhost::IndexValue(objects[0]->element.header.layer), model.layer);
}

} // namespace
