// Nothing thrown crosses from the add-on into the host: a host call that throws inside a
// function the host calls (entry points, the menu handler, a command, a dialog, enumerator or
// rubber-line callback, an undoable step, the update check) is reported once with the prefix
// of whoever caught it, and the host records no exception.
#include <algorithm>
#include <functional>
#include <new>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "ACAPinc.h"
#include "Classes/ImportStep.hpp"
#include "Classes/import_map.hpp"
#include "Functions/SearchUpdate.hpp"
#include "generic/GenericHelpers.hpp"
#include "LoopbackHttpServer.hpp"
#include "TestSupport.hpp"
#include "VelmoraMain.hpp"
#include "libpart/MemoParams.hpp"
#include "sample/SamplePackage.hpp"
#include "vhost/Addon.hpp"
#include "vhost/LibraryStore.hpp"
#include "vhost/Script.hpp"
#include "vhost/Text.hpp"

namespace {

class HostFault : public testsupport::HostTest {};

// The host's start of the add-on up to the menu commands.
GSErrCode Started()
{
	if (const GSErrCode err = AddonRegisterInterface()) return err;
	return AddonInitialize();
}

GSErrCode Menu(Int16 id)
{
	if (const GSErrCode err = Started()) return err;
	return vhost::RunMenuCommand(id);
}

std::string ImportFolder() { return vhost::DocumentsFolder() + "/Velmora"; }

// The sample package as the one project of the import folder.
GSErrCode ImportSample()
{
	if (!sample::MakeProjectFolder(ImportFolder() + "/Kart", {}).empty()) return APIERR_GENERAL;
	return Menu(32502);
}

// An interactive placement frame over one terrain layer of the sample.
GSErrCode PickPoint()
{
	if (!sample::MakeProjectFolder(ImportFolder() + "/Kart", {}).empty()) return APIERR_GENERAL;
	import_object terrain;
	terrain.type = ImportTerrain;
	terrain.location = testsupport::Loc(ImportFolder() + "/Kart/3D-modell/3ds/Terreng.3ds");
	import_object* objects[] = {&terrain};
	ImportOptions options;
	options.area_location = testsupport::Loc(ImportFolder() + "/Kart/3D-modell/Area.json");
	Importer importer(options);
	return importer.PickOrigo(true, objects, 1);
}

GSErrCode CheckEnvironment()
{
	API_EnvirParams envir {};
	return AddonCheckEnvironment(&envir) == APIAddon_Normal ? NoError : APIERR_GENERAL;
}

// A step that keeps what it made, whose body throws.
GSErrCode KeepStepThatThrows(const std::function<void()>& thrower)
{
	return RunImportStep("Placing VELMORA elements", OnThrow::Keep, [&]() -> GSErrCode {
		thrower();
		return NoError;
	});
}

// Makes a line; its host call throws when a test makes it.
GSErrCode CreateLine()
{
	API_Element element;
	BNZeroMemory(&element, sizeof element);
	kivel::SetTypeId(element, API_LineID);
	element.header.layer = API_AttributeIndex(1);
	element.line.endC = {1, 0};
	return ACAPI_Element_Create(&element, nullptr);
}

// The one undo step of the row: its name, the answer the host got, whether it was undone.
void ExpectStep(const char* name, GSErrCode result, bool rolledBack)
{
	ASSERT_EQ(vhost::Current().undo.size(), 1u);
	EXPECT_EQ(vhost::Current().undo[0].name, name);
	EXPECT_EQ(vhost::Current().undo[0].result, result);
	EXPECT_EQ(vhost::Current().undo[0].rolledBack, rolledBack);
}

const char* const kImportScript = "dialog 32501\nlistclick 15 1 1\nclick 1\ndialog 32508\nclick 1\n";

TEST_F(HostFault, BadAllocIsReportedOnceByWhoeverCaughtIt)
{
	// The update server offers a newer version, so that the update check shows its offer.
	testsupport::LoopbackHttpServer server(
		"{\"version\": {\"major\": 99, \"minor\": 0, \"patch\": 0}, \"changelog\": [], \"update_location\": \"https://x.example\"}");
	testsupport::ScopedEnv base("VELMORA_UPDATE_BASE", server.Base());
	const std::string veg = "/Kart/3D-modell/3ds/Veg.3ds";
	const struct {
		const char* name;
		const char* operation; // the host call that throws (none: the row's code throws)
		const char* path;
		int passes;
		std::function<GSErrCode()> run;
		const char* script;
		std::string report; // "{import}" stands for the row's import folder
		GSErrCode result;
		std::function<void()> then; // what else the row shows
	} cases[] = {
		{"menu handler", "IO::Init", "", 0, [] { return Menu(32506); }, "", "Velmora / MenuCommandHandler# Internal error: std::bad_alloc",
		 APIERR_GENERAL, {}},
		{"command", "IO::File::Open", "terrainsettings.txt", 0, [] { return Menu(32502); }, "",
		 "Error point: VELMORA / MenuImportMap() / Internal error: std::bad_alloc", APIERR_GENERAL, {}},
		// The user guide's button throws: the dialog stays open and is closed.
		{"dialog callback", "IO::File::File", "Velmora_User_Guide.pdf", 0, [] { return Menu(32504); }, "dialog 32503\nclick 3\nclick 1\n",
		 "Error point: VELMORA / MenuHelpOpen() / Internal error: std::bad_alloc", NoError, {}},
		// Filling the list throws: the dialog stays open, empty, and is cancelled.
		{"project-list dialog callback", "DGListSetTabFieldCount", "", 0, [] { return Menu(32502); }, "dialog 32501\nclick 2\n",
		 "Error point: VELMORA / MenuImportMap() / Internal error: std::bad_alloc", NoError, {}},
		// Listing the import folder throws on the project's row: no project is shown.
		{"folder scan", "IO::Name::ToString", "Kart", 0, ImportSample, "dialog 32501\nexpect disabled 1\nclick 2\n",
		 "Velmora / folder_scan# Internal error: std::bad_alloc", NoError, {}},
		// Looking for the ortho photo throws: the import goes on without it.
		{"image search", "IO::Name::ToString", "Ortofoto_", 0, ImportSample, kImportScript,
		 "Velmora / EnumCallBack# Internal error: std::bad_alloc", NoError, {}},
		// The roads' part throws: the fences' part is made all the same.
		{"one file of the import", "ACAPI_LibraryPart_Create", "", 1, ImportSample, kImportScript,
		 std::string(kImportReportPrefix) + "{import}" + veg + " / Internal error: std::bad_alloc", NoError,
		 [] {
			 std::vector<std::string> names;
			 for (const auto& part : vhost::Current().library.parts) names.push_back(vhost::Utf16ToUtf8(part.name));
			 EXPECT_EQ(std::count(names.begin(), names.end(), "Kart_Veg"), 0);
			 EXPECT_EQ(std::count(names.begin(), names.end(), "Kart_Gjerder"), 1);
		 }},
		{"rubber-line callback", "ACAPI_UserInput_DrawRubberLine", "", 0, PickPoint, "point 1 2\nline 1 3\n",
		 "Velmora / RubberLineCallBack# Internal error: std::bad_alloc", NoError, {}},
		{"CheckEnvironment", "RSGetIndString", "", 0, CheckEnvironment, "", "Velmora / CheckEnvironment# Internal error: std::bad_alloc",
		 APIERR_GENERAL, {}},
		{"RegisterInterface", "ACAPI_MenuItem_RegisterMenu", "", 0, AddonRegisterInterface, "",
		 "Velmora / RegisterInterface# Internal error: std::bad_alloc", APIERR_GENERAL, {}},
		{"Initialize", "ACAPI_MenuItem_InstallMenuHandler", "", 0, Started, "", "Velmora / Initialize# Internal error: std::bad_alloc",
		 APIERR_GENERAL, {}},
		{"update offer", "DGAlert", "", 0, [] { return GSErrCode(Do_SearchUpdate()); }, "",
		 "Velmora / Do_SearchUpdate# Internal error: std::bad_alloc", APIERR_GENERAL, {}},
		// The host keeps the step (its function answered 0), the caller learns it failed.
		{"step that keeps what it made", "ACAPI_Element_Create", "", 1,
		 [] {
			 return KeepStepThatThrows([] {
				 if (CreateLine() != NoError) return;
				 CreateLine();
			 });
		 },
		 "", std::string(kImportReportPrefix) + "Placing VELMORA elements / Internal error: std::bad_alloc", APIERR_GENERAL,
		 [] {
			 ExpectStep("Placing VELMORA elements", NoError, false);
			 EXPECT_EQ(vhost::Current().state.elements.size(), 1u);
		 }},
		{"thrown C string", nullptr, "", 0, [] { return KeepStepThatThrows([] { throw "MVertices in 2D object."; }); }, "",
		 std::string(kImportReportPrefix) + "Placing VELMORA elements / Internal error: MVertices in 2D object.", APIERR_GENERAL, {}},
		// The step fails and is undone.
		{"command of the support library", "ACAPI_Element_Create", "", 1,
		 [] {
			 return kivel::MP::ContextSensitive_Command(GS::UniString("Step"), [] {
				 if (const GSErrCode err = CreateLine()) return static_cast<int>(err);
				 return static_cast<int>(CreateLine());
			 });
		 },
		 "", "kivel::MP::ContextSensitive_Command# Internal error: std::bad_alloc", APIERR_GENERAL,
		 [] {
			 ExpectStep("Step", APIERR_GENERAL, true);
			 EXPECT_TRUE(vhost::Current().state.elements.empty());
		 }},
	};
	for (const auto& c : cases) {
		SCOPED_TRACE(c.name);
		vhost::Reset(RunRoot() + "/" + c.name, VELMORA_BUILD_DIR);
		VelmoraUpdateChecked = std::string(c.name) != "update offer";
		std::vector<vhost::ScriptStep> steps;
		std::string error;
		ASSERT_TRUE(vhost::ParseScript(c.script, steps, error)) << error;
		vhost::SetScript(steps);
		if (c.operation != nullptr) vhost::InjectBadAlloc(c.operation, c.path, c.passes);
		EXPECT_EQ(vhost::Guarded("the host", c.run), c.result);
		vhost::FinishScript();
		std::string report = c.report;
		if (const size_t at = report.find("{import}"); at != std::string::npos) report.replace(at, 8, ImportFolder());
		EXPECT_EQ(ReportTexts(), std::vector<std::string>{report});
		EXPECT_TRUE(Host().exceptions.empty()) << Host().exceptions.front();
		EXPECT_TRUE(Host().scriptErrors.empty()) << Host().scriptErrors.front();
		if (c.operation != nullptr) {
			EXPECT_EQ(Host().faults[0].remaining, 0) << "the fault did not fire";
		}
		EXPECT_EQ(Host().ioInitDepth, 0);
		if (c.then) c.then();
	}
}

} // namespace
