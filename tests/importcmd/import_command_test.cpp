// The import command and its dialogs, driven by UI scripts in-process.
#include <algorithm>
#include <cerrno>
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <map>
#include <set>
#include <sstream>
#include <memory>
#include <set>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "ACAPinc.h"
#include "DG.h"
#include "Classes/ImportOptions.hpp"
#include "Classes/import_folder_scan.hpp"
#include "Classes/import_map.hpp"
#include "Classes/terrain_import_ini.hpp"
#include "Functions/mainmenu_importmap.hpp"
#include "Helpers/OutsideLinks.hpp"
#include "ImportSummary.hpp"
#include "TestSupport.hpp"
#include "sample/SamplePackage.hpp"
#include "sample/Writer3ds.hpp"
#include "sample/Zip.hpp"
#include "vhost/Elements.hpp"
#include "vhost/LibraryStore.hpp"
#include "vhost/Platform.hpp"
#include "vhost/Text.hpp"
#include "vhost/Script.hpp"

namespace {

namespace fs = std::filesystem;

const char* const kLayerFiles[] = {"Terreng.3ds", "Bygning.3ds", "Veg.3ds", "Gjerder.3ds", "Objekter.3ds", "Vann.3ds", "Hekk.3ds"};

// A text as the UI script quotes it.
std::string ScriptText(const std::string& text)
{
	std::string out;
	for (const char c : text) {
		if (c == '"' || c == '\\') out += '\\';
		out += c;
	}
	return out;
}

// A 3DS layer with one triangle.
std::string Layer()
{
	sample::Mesh3ds mesh{"m", {{0, 0, 1}, {1, 0, 2}, {0, 1, 3}}, {}, {{0, 1, 2}}, -1};
	const auto bytes = sample::Write3ds({}, {mesh});
	return std::string(bytes.begin(), bytes.end());
}

class ImportCommand : public testsupport::HostTest {
protected:
	void SetUp() override
	{
		HostTest::SetUp();
		Prepare();
	}
	// The host project of a test: the add-on in the run root, the real resources and shell.
	void Prepare()
	{
		Host().addonFile = Host().runRoot + "/Addon/Velmora.so";
		Host().resourceFile = VELMORA_SOURCE_DIR "/Resources/Velmora.rsrc";
		Host().resources.reset();
		vhost::PrepareShell(VELMORA_SOURCE_DIR "/host/tools");
		// Terrain and roads included; the 2D base map too.
		testsupport::WriteFile(Host().runRoot + "/Addon/terrainsettings.txt",
		                       "[include_terrain=1][include_roads=1][include_customs_2d=1][pen_roads=5]");
	}
	// A fresh host project whose run root is root.
	void StartOver(const std::string& root)
	{
		ASSERT_EQ(vhost::Reset(root, VELMORA_BUILD_DIR), "");
		Prepare();
	}
	std::string ImportFolder() const { return vhost::Current().runRoot + "/Documents/Velmora"; }
	// A project folder with the given layers (category indexes), and the 2D base map.
	void Project(const std::string& name, const std::vector<int>& layers, bool baseMap = false)
	{
		const std::string model = ImportFolder() + "/" + name + "/3D-modell";
		fs::create_directories(fs::u8path(model + "/3ds"));
		for (const int c : layers) testsupport::WriteFile(model + "/3ds/" + kLayerFiles[c], Layer());
		testsupport::WriteFile(model + "/Area.json", "{\"coordinates\": [[[0, 0], [100, 0], [100, 50]]]}");
		if (baseMap) testsupport::WriteFile(model + "/Basiskart/Alle data.dxf", "0\nEOF\n");
	}
	// The project's building area as a bow tie: its edges cross at (50, 25).
	void WriteBowTieArea(const std::string& name)
	{
		testsupport::WriteFile(ImportFolder() + "/" + name + "/3D-modell/Area.json",
		                       "{\"coordinates\": [[[0, 0], [100, 50], [100, 0], [0, 50], [0, 0]]]}");
	}
	bool Exists(const std::string& rel) const
	{
		std::error_code ec;
		return fs::symlink_status(fs::u8path(ImportFolder() + "/" + rel), ec).type() != fs::file_type::not_found;
	}
	void Run(const std::string& script)
	{
		std::vector<vhost::ScriptStep> steps;
		std::string error;
		ASSERT_TRUE(vhost::ParseScript(script, steps, error)) << error;
		vhost::SetScript(steps);
		mainmenu_importmap().do_it();
		vhost::FinishScript();
	}
	void ExpectCleanRun()
	{
		EXPECT_TRUE(Host().scriptErrors.empty()) << Host().scriptErrors.front();
		EXPECT_TRUE(Host().dialogFaults.empty()) << Host().dialogFaults.front();
	}
	std::vector<std::string> UndoSteps() const
	{
		std::vector<std::string> names;
		for (const auto& step : vhost::Current().undo) names.push_back(step.name);
		return names;
	}
	static std::string PartName(Int32 index)
	{
		const vhost::LibraryPartRecord* part = vhost::PartByIndex(index);
		return part == nullptr ? std::string() : vhost::Utf16ToUtf8(part->name);
	}
	std::vector<short> DialogsShown() const
	{
		std::vector<short> ids;
		for (const auto& d : vhost::Current().dialogsShown) ids.push_back(static_cast<short>(d.id));
		return ids;
	}
};

TEST_F(ImportCommand, EmptyImportFolderOffersNeitherImportNorDelete)
{
	for (const char* language : {"INT", "NOR"}) {
		SCOPED_TRACE(language);
		Host().languageCode = language;
		const int id = std::string(language) == "NOR" ? 32521 : 32501;
		Run("dialog " + std::to_string(id) + "\nexpect disabled 1\nexpect disabled 17\nexpect value 15 0\nclick 2\n");
		ExpectCleanRun();
	}
	EXPECT_TRUE(Host().reports.empty());
}

// Cancel in every dialog the command shows ends what that dialog began, and nothing is
// imported, written or deleted.
TEST_F(ImportCommand, CancelInEachDialog)
{
	Project("Kart", {0, 2}, true);
	const struct { const char* name; std::string script; std::vector<short> dialogs; } cases[] = {
		{"project list", "dialog 32501\nclick 2\n", {32501}},
		{"ZIP file", "dialog 32501\nclick 16\ncancel\ndialog 32501\nclick 2\n", {32501, 32501}},
		{"delete question", "dialog 32501\nlistclick 15 1 11\nexpect enabled 17\nclick 17\ndialog 32505\nclick 2\n"
		                    "dialog 32501\nexpect disabled 17\nclick 2\n", {32501, 32505, 32501}},
		{"import colours", "dialog 32501\nlistclick 15 1 1\nexpect enabled 1\nclick 1\ndialog 32508\nexpect text 3 \"Kart\"\nclick 2\n",
		 {32501, 32508}},
	};
	for (const auto& c : cases) {
		SCOPED_TRACE(c.name);
		Host().dialogsShown.clear();
		Run(c.script);
		ExpectCleanRun();
		EXPECT_EQ(DialogsShown(), c.dialogs);
		EXPECT_TRUE(Exists("Kart/3D-modell/3ds/Terreng.3ds"));
		EXPECT_TRUE(Host().undo.empty());
		EXPECT_TRUE(Host().reports.empty()) << Host().reports.front().text;
		EXPECT_FALSE(fs::exists(fs::u8path(RunRoot() + "/Common Documents/Velmora/terrainsettings.txt")));
	}
}

// A project that exists, in the list or on disk in any form, is never expanded into.
TEST_F(ImportCommand, AddZipOfAnExistingNameShowsTheProjectExistsDialog)
{
	Project("Kart", {0});
	testsupport::WriteFile(ImportFolder() + "/Fil", "a file");
	fs::create_symlink(fs::u8path(RunRoot() + "/nowhere"), fs::u8path(ImportFolder() + "/Lenke"));
	testsupport::WriteFile(RunRoot() + "/Source/3D-modell/3ds/Veg.3ds", "");
	for (const char* name : {"Kart", "Fil", "Lenke"}) {
		SCOPED_TRACE(name);
		const std::string zip = RunRoot() + "/" + name + ".zip";
		ASSERT_EQ(sample::ZipFolder(RunRoot() + "/Source", zip), "");
		Run("dialog 32501\nclick 16\nfile \"" + zip + "\"\ndialog 32509\nclick 1\ndialog 32501\nclick 2\n");
		ExpectCleanRun();
		EXPECT_TRUE(Host().shell.empty());
	}
	EXPECT_EQ(testsupport::ReadFile(ImportFolder() + "/Fil"), "a file");
	EXPECT_TRUE(fs::is_symlink(fs::u8path(ImportFolder() + "/Lenke")));
	EXPECT_FALSE(Exists("Kart/3D-modell/3ds/Veg.3ds"));
}

// Names with spaces, quotes, "$", ";" and parentheses stay one argument each: the ZIP
// expands into the project of its name and no other command runs.
TEST_F(ImportCommand, AddZipWithAHostileNameExpandsOnlyThatZip)
{
	const testsupport::ScopedWorkingFolder here; // where a planted relative "touch" would land
	testsupport::WriteFile(RunRoot() + "/Source/3D-modell/3ds/Veg.3ds", "");
	const std::string name = "it's \"$(touch pwned)\"; `touch pwned2` (a) map.v2";
	const std::string zip = RunRoot() + "/" + name + ".zip";
	ASSERT_EQ(sample::ZipFolder(RunRoot() + "/Source", zip), "");
	Run("dialog 32501\nclick 16\nfile \"" + ScriptText(zip) + "\"\ndialog 32501\nexpect disabled 1\nclick 2\n");
	ExpectCleanRun();
	EXPECT_TRUE(Host().reports.empty()) << Host().reports.front().text;
	EXPECT_TRUE(Exists(name + "/3D-modell/3ds/Veg.3ds"));
	for (const char* planted : {"pwned", "pwned2"}) {
		EXPECT_FALSE(fs::exists(fs::u8path(RunRoot() + "/" + planted)));
		EXPECT_FALSE(fs::exists(fs::u8path(ImportFolder() + "/" + planted)));
		EXPECT_FALSE(fs::exists(planted));
	}
}

// What an import made, in a form two runs can be compared by: its steps, its elements by
// kind, its parts, its materials and the files of the embedded library.
std::string WhatWasMade()
{
	const vhost::Project& p = vhost::Current();
	std::ostringstream made;
	for (const vhost::UndoStep& step : p.undo) made << "step " << step.name << (step.rolledBack ? " (rolled back)\n" : "\n");
	std::map<int, int> kinds;
	for (const vhost::ElementRecord& e : p.state.elements) ++kinds[e.element.header.type.typeID];
	for (const auto& [kind, count] : kinds) made << "elements of kind " << kind << ": " << count << "\n";
	for (const vhost::LibraryPartRecord& part : p.library.parts) made << "part " << vhost::Utf16ToUtf8(part.name) << "\n";
	for (const vhost::MaterialRecord& m : p.materials) made << "material " << vhost::Utf16ToUtf8(m.name) << "\n";
	std::set<std::string> files;
	for (const auto& e : fs::recursive_directory_iterator(fs::u8path(vhost::EmbeddedLibraryFolder())))
		files.insert(fs::relative(e.path(), fs::u8path(vhost::EmbeddedLibraryFolder())).u8string());
	for (const std::string& f : files) made << "embedded " << f << "\n";
	return made.str();
}

// A link in a ZIP to a file outside the project (by its absolute path, or climbing out with
// "..") is removed after the expansion and named once: the file's bytes reach neither the
// project nor anything else under the run root, and the rest of the package is imported as
// if the file were missing.
TEST_F(ImportCommand, AddZipRemovesLinksLeadingOutOfTheProject)
{
	testsupport::TempDir outside;
	const std::string secret = "the user's own bytes, never to travel with a project";
	testsupport::WriteFile(outside / "private.jpg", secret);
	fs::create_symlink(fs::u8path(outside / "private.jpg"), fs::u8path(outside / "hop.jpg"));
	std::string climb;
	for (int i = 0; i < 24; ++i) climb += "../";
	const struct {
		const char* entry;
		std::string target;
	} cases[] = {
		{"3D-modell/Ortofoto/Ortofoto_SCALE_1000_X400000MM_Y300000MM.jpg", outside / "private.jpg"},
		{"3D-modell/Basiskart/Alle data.dxf", climb + (outside / "private.jpg").substr(1)},
		// A chain of links: the project's own is removed, once; the user's link stays.
		{"3D-modell/Ortofoto/Ortofoto_SCALE_1000_X400000MM_Y300000MM.jpg", outside / "hop.jpg"},
	};
	for (const auto& c : cases) {
		SCOPED_TRACE(c.entry);
		std::string made[2];
		for (const bool linked : {false, true}) {
			testsupport::TempDir root;
			StartOver(root.Path());
			const std::string source = root / "Source", zip = root / "Kart.zip";
			ASSERT_EQ(sample::MakeProjectFolder(source, sample::PackageOptions()), "");
			fs::remove(fs::u8path(source + "/" + c.entry));
			if (linked) fs::create_symlink(fs::u8path(c.target), fs::u8path(source + "/" + c.entry));
			ASSERT_EQ(sample::ZipFolder(source, zip), "");
			fs::remove_all(fs::u8path(source));
			Run("dialog 32501\nclick 16\nfile \"" + zip + "\"\ndialog 32501\nlistclick 15 1 1\nclick 1\ndialog 32508\nclick 1\n");
			ExpectCleanRun();
			EXPECT_TRUE(Host().exceptions.empty()) << Host().exceptions.front();
			// Told once, first; the other reports are those of the package without the file.
			std::vector<std::string> reports = ReportTexts();
			const std::string told = "The ZIP file " + zip + " held 1 links to places outside the project; they were removed.";
			EXPECT_EQ(std::count(reports.begin(), reports.end(), told), linked ? 1 : 0);
			if (linked && !reports.empty() && reports[0] == told) reports.erase(reports.begin());
			EXPECT_FALSE(fs::exists(fs::symlink_status(fs::u8path(ImportFolder() + "/Kart/" + c.entry))));
			EXPECT_FALSE(testsupport::AnyFileHolds(root.Path(), secret));
			made[linked] = WhatWasMade();
			for (const std::string& r : reports) made[linked] += "report " + r + "\n";
		}
		EXPECT_EQ(made[true], made[false]);
		EXPECT_NE(made[true].find("step Placing VELMORA mesh elements"), std::string::npos) << made[true];
		EXPECT_EQ(fs::read_symlink(fs::u8path(outside / "hop.jpg")).u8string(), outside / "private.jpg");
		EXPECT_EQ(testsupport::ReadFile(outside / "private.jpg"), secret);
	}
}

// Links that stay inside the project are kept and read: the base map linked from another
// folder of the package is drawn, also when the import folder is itself reached by a link.
TEST_F(ImportCommand, AddZipKeepsLinksInsideTheProject)
{
	fs::create_directories(fs::u8path(RunRoot() + "/Elsewhere"));
	fs::create_symlink(fs::u8path(RunRoot() + "/Elsewhere"), fs::u8path(ImportFolder()));
	const std::string source = RunRoot() + "/Source", zip = RunRoot() + "/Kart.zip";
	const std::string dxf = "0\nSECTION\n2\nENTITIES\n0\nLINE\n10\n0\n20\n0\n11\n5\n21\n0\n0\nENDSEC\n0\nEOF\n";
	testsupport::WriteFile(source + "/3D-modell/3ds/Terreng.3ds", Layer());
	testsupport::WriteFile(source + "/3D-modell/Area.json", "{\"coordinates\": [[[0, 0], [100, 0], [100, 50]]]}");
	testsupport::WriteFile(source + "/Kartgrunnlag/kart.dxf", dxf);
	fs::create_directories(fs::u8path(source + "/3D-modell/Basiskart"));
	fs::create_symlink("../../Kartgrunnlag/kart.dxf", fs::u8path(source + "/3D-modell/Basiskart/Alle data.dxf"));
	ASSERT_EQ(sample::ZipFolder(source, zip), "");
	Run("dialog 32501\nclick 16\nfile \"" + zip + "\"\ndialog 32501\nlistclick 15 1 1\nclick 1\ndialog 32508\nclick 1\n");
	ExpectCleanRun();
	for (const std::string& r : ReportTexts()) EXPECT_EQ(r.find("The ZIP file"), std::string::npos) << r;
	EXPECT_TRUE(fs::is_symlink(fs::u8path(ImportFolder() + "/Kart/3D-modell/Basiskart/Alle data.dxf")));
	ASSERT_EQ(vhost::ElementsOfType(API_LineID).size(), 1u);
	EXPECT_DOUBLE_EQ(vhost::ElementsOfType(API_LineID)[0]->element.line.endC.x, 5.0);
}

// A ZIP whose map data lies under another top folder is expanded and kept, and the user is
// told why its project shows nothing; a project folder the user made is never looked at.
TEST_F(ImportCommand, AddZipWithoutTheMapDataFolderAtItsTopSaysSo)
{
	testsupport::WriteFile(RunRoot() + "/Source/Annet/3D-modell/3ds/Veg.3ds", "");
	const std::string zip = RunRoot() + "/Mismatch.zip";
	ASSERT_EQ(sample::ZipFolder(RunRoot() + "/Source", zip), "");
	testsupport::WriteFile(ImportFolder() + "/Egen/Annet/3D-modell/3ds/Veg.3ds", "");
	fs::create_symlink(fs::u8path(RunRoot() + "/Source"), fs::u8path(ImportFolder() + "/Egen/lenke"));
	Run("dialog 32501\nclick 16\nfile \"" + zip + "\"\ndialog 32501\nclick 2\n");
	ExpectCleanRun();
	EXPECT_EQ(ReportTexts(), std::vector<std::string>{"The ZIP file " + zip +
	                                                  " holds no 3D-modell folder at its top; its project shows no map data."});
	EXPECT_TRUE(Exists("Mismatch/Annet/3D-modell/3ds/Veg.3ds"));
	EXPECT_TRUE(fs::is_symlink(fs::u8path(ImportFolder() + "/Egen/lenke")));
}

// Every file and link under folder by its relative name: a file's bytes, a link's target.
std::map<std::string, std::string> Contents(const std::string& folder)
{
	std::map<std::string, std::string> contents;
	for (const auto& e : fs::recursive_directory_iterator(fs::u8path(folder))) {
		const std::string name = fs::relative(e.path(), fs::u8path(folder)).u8string();
		if (e.is_symlink()) contents[name] = "link to " + fs::read_symlink(e.path()).u8string();
		else if (e.is_regular_file()) contents[name] = testsupport::ReadFile(e.path().u8string());
		else contents[name] = "folder";
	}
	return contents;
}

// The names the folder holds.
std::set<std::string> Entries(const std::string& folder)
{
	std::set<std::string> names;
	for (const auto& e : fs::directory_iterator(fs::u8path(folder))) names.insert(e.path().filename().u8string());
	return names;
}

// While it lives, the shell finds the programs of a folder of the test's first.
class ScopedPathFirst {
public:
	explicit ScopedPathFirst(const std::string& folder) : previous_(std::getenv("PATH") != nullptr ? std::getenv("PATH") : "")
	{
		::setenv("PATH", (folder + ":" + previous_).c_str(), 1);
	}
	~ScopedPathFirst() { ::setenv("PATH", previous_.c_str(), 1); }
	ScopedPathFirst(const ScopedPathFirst&) = delete;
	ScopedPathFirst& operator=(const ScopedPathFirst&) = delete;

private:
	std::string previous_;
};

// Another run (another window, another process) makes the project of the same name while
// this run expands the ZIP file: its project stays as it made it, this run answers as if the
// name had been taken at the start, and leaves nothing of its own, whether its expansion worked
// or failed.
TEST_F(ImportCommand, AddZipNeverTouchesAProjectAnotherRunMadeMeanwhile)
{
	Project("Other", {0, 2});
	testsupport::WriteFile(ImportFolder() + "/Other/notes.txt", "the other run's own notes");
	const std::string other = RunRoot() + "/Other";
	fs::rename(fs::u8path(ImportFolder() + "/Other"), fs::u8path(other));
	const std::map<std::string, std::string> before = Contents(other);
	testsupport::WriteFile(RunRoot() + "/Source/3D-modell/3ds/Terreng.3ds", "this run's terrain");
	testsupport::WriteFile(RunRoot() + "/Source/notes.txt", "this run's notes");
	const std::string zip = RunRoot() + "/Kart.zip";
	ASSERT_EQ(sample::ZipFolder(RunRoot() + "/Source", zip), "");
	const struct {
		const char* name;
		const char* thenDitto; // what the expansion does once the other project is there
		std::string answers;
		std::vector<std::string> reports;
	} cases[] = {
		{"expanded", "exec '" VELMORA_SOURCE_DIR "/host/tools/ditto' \"$@\"", "dialog 32509\nclick 1\n", {}},
		{"expansion failed", "exit 1",  "",
		 {"Error point: VELMORA / MenuImportMap() / Add ZIP / " + zip + " could not be expanded (exit status 1); nothing was kept."}},
	};
	for (const auto& c : cases) {
		SCOPED_TRACE(c.name);
		fs::remove_all(fs::u8path(ImportFolder() + "/Kart"));
		Host().reports.clear();
		Host().dialogsShown.clear();
		const testsupport::TempDir tools;
		testsupport::WriteFile(tools / "ditto", "#!/bin/sh\ncp -R '" + other + "' '" + ImportFolder() + "/Kart' || exit 70\n" + c.thenDitto + "\n");
		fs::permissions(fs::u8path(tools / "ditto"), fs::perms::owner_all);
		const ScopedPathFirst first(tools.Path());
		Run("dialog 32501\nclick 16\nfile \"" + zip + "\"\n" + c.answers + "dialog 32501\nclick 2\n");
		ExpectCleanRun();
		EXPECT_EQ(ReportTexts(), c.reports);
		EXPECT_EQ(Contents(ImportFolder() + "/Kart"), before);
		EXPECT_EQ(Entries(ImportFolder()), std::set<std::string>{"Kart"});
	}
}

// A sweep for outside links that cannot finish keeps nothing: whichever step fails, the
// expansion is removed and the user told, and the outside file stays as it was. Each step
// fails by injection, so the rows hold for root and for a user alike; the modes a user meets
// are tried as an unprivileged user in module_test.cpp.
TEST_F(ImportCommand, AddZipKeepsNothingWhenItsLinksCannotBeChecked)
{
	testsupport::TempDir outside;
	testsupport::WriteFile(outside / "private.jpg", "the user's own photo");
	const std::string source = RunRoot() + "/Source", zip = RunRoot() + "/Kart.zip";
	const std::string photo = "3D-modell/Ortofoto/Ortofoto_SCALE_1000_X400000MM_Y300000MM.jpg";
	ASSERT_EQ(sample::MakeProjectFolder(source, sample::PackageOptions()), "");
	fs::remove(fs::u8path(source + "/" + photo));
	fs::create_symlink(fs::u8path(outside / "private.jpg"), fs::u8path(source + "/" + photo));
	// A read-only folder, so that opening it to its owner is a step of the sweep too.
	ASSERT_EQ(sample::ZipFolder(source, zip, {{"3D-modell/Ortofoto", 0555}}), "");
	for (const char* call : {"realpath", "lstat", "chmod", "opendir", "readdir", "unlink"}) {
		SCOPED_TRACE(call);
		Host().reports.clear();
		SetOutsideLinksFailingCallForTests(call, EIO);
		Run("dialog 32501\nclick 16\nfile \"" + zip + "\"\ndialog 32501\nexpect value 15 0\nclick 2\n");
		SetOutsideLinksFailingCallForTests(nullptr, 0);
		ExpectCleanRun();
		EXPECT_EQ(ReportTexts(), std::vector<std::string>{"The ZIP file " + zip +
		                                                  " could not be checked for links to places outside the project; nothing was kept."});
		EXPECT_TRUE(fs::is_empty(fs::u8path(ImportFolder())));
		EXPECT_EQ(testsupport::ReadFile(outside / "private.jpg"), "the user's own photo");
	}
}

TEST_F(ImportCommand, AddZipRefusesNamesThatGiveNoProjectAndRemovesAFailedExpansion)
{
	const struct { const char* file; const char* bytes; const char* report; } cases[] = {
		{"..zip", "x", "gives no project folder name."},
		{"...zip", "x", "gives no project folder name."},
		{"Broken.zip", "not a zip archive", "could not be expanded (exit status "},
	};
	// The add-on's own check refuses the dot names, also where the host would take them.
	for (const auto& c : cases)
	for (const bool hostTakesDots : {false, true}) {
		SCOPED_TRACE(std::string(c.file) + (hostTakesDots ? " (the host takes \".\" and \"..\")" : ""));
		Host().appendTakesDotNames = hostTakesDots;
		Host().reports.clear();
		testsupport::WriteFile(RunRoot() + "/zips/" + c.file, c.bytes);
		Run(std::string("dialog 32501\nclick 16\nfile \"") + RunRoot() + "/zips/" + c.file + "\"\ndialog 32501\nclick 2\n");
		ExpectCleanRun();
		ASSERT_EQ(Host().reports.size(), 1u);
		EXPECT_NE(Host().reports[0].text.find(c.report), std::string::npos) << Host().reports[0].text;
		EXPECT_TRUE(Host().reports[0].alert);
		EXPECT_TRUE(fs::is_empty(fs::u8path(ImportFolder()))) << c.file;
	}
	EXPECT_TRUE(fs::exists(fs::u8path(RunRoot() + "/Documents")));
}

TEST_F(ImportCommand, DeleteWithOneUndeletableProjectShowsOneFailure)
{
	Project("A", {0});
	Project("B", {0});
	Project("C", {0});
	vhost::InjectFault("IO::Folder::Delete", ErrAccessDenied, "/Velmora/B");
	Run("dialog 32501\nlistclick 15 1 11\nlistclick 15 2 11\nclick 17\ndialog 32505\nclick 1\n"
	    "dialog 32506\nexpect text 3 \"1\"\nclick 1\ndialog 32501\nexpect disabled 17\nclick 2\n");
	ExpectCleanRun();
	EXPECT_FALSE(Exists("A"));
	EXPECT_TRUE(Exists("B"));
	EXPECT_TRUE(Exists("C"));
}

// Runs the project dialog with the real handler and records what the list shows.
struct ListProbe {
	std::vector<std::vector<short>> icons; // per row, columns 2..11, after the open and after each click
	std::vector<short> selected;
	void* record[ImportRecordSize] = {};
};

short ProbeCallback(short message, short dialID, short item, DGUserData userData, DGMessageData msgData)
{
	auto* p = reinterpret_cast<ListProbe*>(static_cast<std::intptr_t>(userData));
	const short result = mainmenu_importmap::project_selection_dg_handler(message, dialID, item,
		static_cast<long long>(reinterpret_cast<std::intptr_t>(p->record)), msgData);
	if (message == DG_MSG_INIT || message == DG_MSG_CLICK) {
		p->icons.clear();
		for (short row = 1; row <= DGListGetItemCount(dialID, 15); ++row) {
			p->icons.emplace_back();
			for (short column = 2; column <= 11; ++column) p->icons.back().push_back(DGListGetTabItemIcon(dialID, 15, row, column));
		}
		p->selected.push_back(DGListGetSelected(dialID, 15));
	}
	return result;
}

TEST_F(ImportCommand, ListCellsShowPresenceTicksAndDeleteMarks)
{
	Project("Kart", {0, 1, 2}, true);
	import_folder_scan scan;
	const auto config = std::make_unique<terrain_import_ini>();
	ASSERT_TRUE(config->init());
	scan.config = config.get();
	scan.load();
	Int32 result = -1;
	short dialogId = 32501, row = 0;
	ListProbe probe;
	void* record[ImportRecordSize] = {&scan, &dialogId, &result, &row};
	std::copy(std::begin(record), std::end(record), probe.record);
	std::vector<vhost::ScriptStep> steps;
	std::string error;
	// An absent file (fences), the name column, a present layer (buildings), the delete mark.
	ASSERT_TRUE(vhost::ParseScript("dialog 32501\nlistclick 15 1 5\nlistclick 15 1 1\nlistclick 15 1 3\nlistclick 15 1 11\n"
	                               "click 16\n", steps, error)) << error;
	vhost::SetScript(steps);
	const GSResModule own = ACAPI_GetOwnResModule();
	DGModalDialog(own, 32501, own, ProbeCallback, static_cast<DGUserData>(reinterpret_cast<std::intptr_t>(&probe)));
	vhost::FinishScript();
	ExpectCleanRun();
	const short on = ImportIconOn, absent = ImportIconAbsent;
	ASSERT_EQ(probe.icons.size(), 1u);
	// Terrain and roads ticked (included); buildings ticked by the click; fences, objects,
	// water, vegetation absent; the 2D map ticked, no surroundings model; marked for deletion.
	EXPECT_EQ(probe.icons[0], (std::vector<short>{on, on, on, absent, absent, absent, absent, on, absent, on}));
	EXPECT_EQ(probe.selected, (std::vector<short>{0, 1, 1, 1, 1, 1}));
	EXPECT_EQ(row, 1);
	EXPECT_EQ(result, 2);
	EXPECT_TRUE(scan.projects[0].delete_mark);   // Add ZIP keeps the marks; only Import and Cancel clear them
	EXPECT_TRUE(scan.projects[0].selected[1]);
}

// The whole way to the import run: the colours dialog shows this import's settings, and the
// run places the project.
TEST_F(ImportCommand, ImportOpensTheColoursOfThisImportAndRunsTheImport)
{
	Project("Kart", {0, 2});
	Run("dialog 32501\nlistclick 15 1 1\nclick 1\ndialog 32508\nexpect text 3 \"Kart\"\nexpect disabled 25\nexpect disabled 27\n"
	    "expect enabled 32\nexpect disabled 33\nexpect disabled 117\nexpect value 34 5\nexpect enabled 34\nexpect disabled 107\n"
	    "expect disabled 108\nexpect hidden 110\nexpect disabled 114\nset 34 70000\nexpect value 62 70000\nclick 4\n"
	    "expect value 34 5\nclick 1\n");
	ExpectCleanRun();
	EXPECT_EQ(DialogsShown(), (std::vector<short>{32501, 32508}));
	EXPECT_FALSE(fs::exists(fs::u8path(RunRoot() + "/Common Documents/Velmora/terrainsettings.txt")));
	EXPECT_FALSE(UndoSteps().empty());
}

// The run of a project with terrain and road: its undo steps in order, the road part placed
// flat at 0.1 with its layer, the terrain mesh cut by the road.
TEST_F(ImportCommand, RunPlacesPartsTerrainAndCutsTheTerrainByTheRoad)
{
	Project("Kart", {0, 2});
	Run("dialog 32501\nlistclick 15 1 1\nclick 1\ndialog 32508\nclick 1\n");
	ExpectCleanRun();
	const std::vector<std::string> steps = UndoSteps();
	const std::vector<std::string> tail = {"Placing VELMORA elements", "Placing VELMORA mesh elements", "Cutting VELMORA mesh elements"};
	ASSERT_GE(steps.size(), tail.size());
	EXPECT_EQ(std::vector<std::string>(steps.end() - 3, steps.end()), tail);
	for (auto step = vhost::Current().undo.end() - 3; step != vhost::Current().undo.end(); ++step)
		EXPECT_FALSE(step->rolledBack) << step->name;

	const vhost::ElementRecord* road = nullptr;
	std::vector<API_Guid> meshes;
	for (const vhost::ElementRecord& e : vhost::Current().state.elements) {
		if (e.element.header.type.typeID == API_ObjectID && PartName(e.element.object.libInd) == "Kart_Veg") road = &e;
		if (e.element.header.type.typeID == API_MeshID) meshes.push_back(e.element.header.guid);
	}
	ASSERT_NE(road, nullptr);
	EXPECT_DOUBLE_EQ(road->element.object.level, 0.1);
	EXPECT_TRUE(road->element.object.useObjPens);
	EXPECT_TRUE(road->element.object.useObjLtypes);
	ASSERT_FALSE(meshes.empty());
	// Every terrain piece is cut by the road.
	const auto& links = vhost::Current().state.solidLinks;
	ASSERT_EQ(links.size(), meshes.size());
	for (std::size_t i = 0; i < links.size(); ++i) {
		EXPECT_EQ(links[i].target, meshes[i]);
		EXPECT_EQ(links[i].operatorElem, road->element.header.guid);
		EXPECT_EQ(links[i].operation, 0x53535555u);
	}
}

// An existing geolocation is replaced by the package's only after yes to the question.
TEST_F(ImportCommand, ExistingGeolocationChangesOnlyOnYes)
{
	const struct {
		const char* answer;
		double latitude;
	} cases[] = {{"click 1", 59.5}, {"click 2", 61.25}};
	Project("Kart", {2});
	testsupport::WriteFile(ImportFolder() + "/Kart/3D-modell/Lokalt nullpunkt.txt", "Global lat: 59.5\nGlobal lon: 10.25\nSone: 32\n");
	for (const auto& c : cases) {
		SCOPED_TRACE(c.answer);
		API_GeoLocation existing {};
		existing.latitude = 61.25;
		ASSERT_EQ(ACAPI_GeoLocation_SetGeoLocation(&existing), NoError);
		Run(std::string("dialog 32501\nlistclick 15 1 1\nclick 1\ndialog 32508\nclick 1\ndialog 32510\n") + c.answer + "\n");
		ExpectCleanRun();
		API_GeoLocation now {};
		ASSERT_EQ(ACAPI_GeoLocation_GetGeoLocation(&now), NoError);
		EXPECT_EQ(now.latitude, c.latitude);
	}
}

// A terrain alone gives a mesh and no cutting step.
TEST_F(ImportCommand, TerrainAloneIsNotCut)
{
	Project("Kart", {0});
	Run("dialog 32501\nlistclick 15 1 1\nclick 1\ndialog 32508\nclick 1\n");
	ExpectCleanRun();
	const std::vector<std::string> steps = UndoSteps();
	ASSERT_FALSE(steps.empty());
	EXPECT_EQ(steps.back(), "Placing VELMORA mesh elements");
	EXPECT_TRUE(vhost::Current().state.solidLinks.empty());
}

// A road part that cannot be made is not placed and is named in one report; nothing is cut.
TEST_F(ImportCommand, PartThatFailedIsNotPlaced)
{
	Project("Kart", {0, 2});
	vhost::Current().faults.push_back(vhost::Fault{"ACAPI_LibraryPart_Create", APIERR_GENERAL, "", -1});
	Run("dialog 32501\nlistclick 15 1 1\nclick 1\ndialog 32508\nclick 1\n");
	ExpectCleanRun();
	for (const vhost::ElementRecord& e : vhost::Current().state.elements)
		EXPECT_FALSE(e.element.header.type.typeID == API_ObjectID && PartName(e.element.object.libInd) == "Kart_Veg");
	// The creator's own alert does not name the part; of the run's reports only one does.
	int named = 0;
	for (const std::string& t : ReportTexts())
		if (t.find("Kart_Veg") != std::string::npos) {
			++named;
			EXPECT_NE(t.find("\"Kart_Veg\": it is not placed"), std::string::npos) << t;
		}
	EXPECT_EQ(named, 1);
	EXPECT_EQ(UndoSteps().back(), "Placing VELMORA mesh elements");
	EXPECT_TRUE(vhost::Current().state.solidLinks.empty());
}

// A host call that throws while the objects are placed ends that step: the objects placed
// before stay, the add-on says so once, and the run goes on with the terrain and its cut.
TEST_F(ImportCommand, BadAllocWhilePlacingObjectsKeepsThosePlaced)
{
	testsupport::WriteFile(RunRoot() + "/Addon/terrainsettings.txt", "[include_terrain=1][include_roads=1][include_fences=1]");
	Project("Kart", {0, 2, 3});
	const int handles = vhost::LiveHandles();
	vhost::InjectBadAlloc("ACAPI_Element_Create", "Object", 1); // the road goes through, the fences throw
	Run("dialog 32501\nlistclick 15 1 1\nclick 1\ndialog 32508\nclick 1\n");
	ExpectCleanRun();
	EXPECT_TRUE(Host().exceptions.empty()) << Host().exceptions.front();
	std::vector<std::string> objects;
	for (const vhost::ElementRecord& e : vhost::Current().state.elements)
		if (e.element.header.type.typeID == API_ObjectID) objects.push_back(PartName(e.element.object.libInd));
	EXPECT_EQ(objects, std::vector<std::string>{"Kart_Veg"});
	int told = 0;
	for (const std::string& t : ReportTexts())
		told += t == "Error point: VELMORA / MenuImportMap() / Placing VELMORA elements / Internal error: std::bad_alloc";
	EXPECT_EQ(told, 1);
	const std::vector<std::string> tail = {"Placing VELMORA elements", "Placing VELMORA mesh elements", "Cutting VELMORA mesh elements"};
	const std::vector<std::string> steps = UndoSteps();
	ASSERT_GE(steps.size(), tail.size());
	EXPECT_EQ(std::vector<std::string>(steps.end() - 3, steps.end()), tail);
	for (auto step = Host().undo.end() - 3; step != Host().undo.end(); ++step) EXPECT_FALSE(step->rolledBack) << step->name;
	EXPECT_FALSE(Host().state.solidLinks.empty());
	EXPECT_EQ(vhost::LiveHandles(), handles);
}

// A failing cut (the first: a piece by the road) is reported; the other cuts and the step stay.
TEST_F(ImportCommand, FailedCutIsReportedAndTheOthersStay)
{
	testsupport::WriteFile(RunRoot() + "/Addon/terrainsettings.txt", "[include_terrain=1][include_roads=1][include_water=1]");
	Project("Kart", {0, 2, 5});
	vhost::Current().faults.push_back(vhost::Fault{"ACAPI_Element_SolidLink_Create", APIERR_GENERAL, "", 1});
	Run("dialog 32501\nlistclick 15 1 1\nclick 1\ndialog 32508\nclick 1\n");
	ExpectCleanRun();
	ASSERT_FALSE(vhost::Current().undo.empty());
	EXPECT_EQ(vhost::Current().undo.back().name, "Cutting VELMORA mesh elements");
	EXPECT_FALSE(vhost::Current().undo.back().rolledBack);
	bool reported = false;
	for (const std::string& t : ReportTexts()) reported |= t.rfind("ACAPI_Element_SolidLink_Create *", 0) == 0;
	EXPECT_TRUE(reported);
	std::size_t meshes = 0;
	for (const vhost::ElementRecord& e : vhost::Current().state.elements) meshes += e.element.header.type.typeID == API_MeshID;
	ASSERT_GT(meshes, 0u);
	EXPECT_EQ(vhost::Current().state.solidLinks.size(), 2 * meshes - 1);
}

// An outline that crosses itself gives two terrain pieces; each is cut by the road and by
// the water.
TEST_F(ImportCommand, EveryPieceOfASplitOutlineIsCutByRoadAndWater)
{
	testsupport::WriteFile(RunRoot() + "/Addon/terrainsettings.txt", "[include_terrain=1][include_roads=1][include_water=1]");
	Project("Kart", {0, 2, 5});
	WriteBowTieArea("Kart");
	Run("dialog 32501\nlistclick 15 1 1\nclick 1\ndialog 32508\nclick 1\n");
	ExpectCleanRun();
	std::vector<API_Guid> meshes, tools;
	for (const vhost::ElementRecord& e : vhost::Current().state.elements) {
		if (e.element.header.type.typeID == API_MeshID) meshes.push_back(e.element.header.guid);
		const std::string part = e.element.header.type.typeID == API_ObjectID ? PartName(e.element.object.libInd) : "";
		if (part == "Kart_Veg" || part == "Kart_Vann") tools.push_back(e.element.header.guid);
	}
	ASSERT_EQ(meshes.size(), 2u);
	ASSERT_EQ(tools.size(), 2u);
	std::set<std::pair<std::string, std::string>> links, want;
	for (const auto& link : vhost::Current().state.solidLinks)
		links.emplace(APIGuidToString(link.target).ToCStr().Get(), APIGuidToString(link.operatorElem).ToCStr().Get());
	for (const API_Guid& mesh : meshes)
		for (const API_Guid& tool : tools) want.emplace(APIGuidToString(mesh).ToCStr().Get(), APIGuidToString(tool).ToCStr().Get());
	EXPECT_EQ(vhost::Current().state.solidLinks.size(), 4u);
	EXPECT_EQ(links, want);
}

// The second terrain piece cannot be made: the mesh step answers that, the host rolls it
// back (the first piece goes too) and no cut is tried.
TEST_F(ImportCommand, ALaterTerrainPieceThatFailsUndoesTheMeshStep)
{
	testsupport::WriteFile(RunRoot() + "/Addon/terrainsettings.txt", "[include_terrain=1][include_roads=1][include_water=1]");
	Project("Kart", {0, 2, 5});
	WriteBowTieArea("Kart");
	// Mesh calls: the whole outline (refused as not simple), the first piece, the second.
	vhost::InjectFault("ACAPI_Element_Create", APIERR_MEMFULL, "Mesh", 1, 2);
	vhost::InjectFault("ACAPI_Element_SolidLink_Create", APIERR_GENERAL);
	Run("dialog 32501\nlistclick 15 1 1\nclick 1\ndialog 32508\nclick 1\n");
	ExpectCleanRun();
	ASSERT_FALSE(vhost::Current().undo.empty());
	EXPECT_EQ(vhost::Current().undo.back().name, "Placing VELMORA mesh elements");
	EXPECT_TRUE(vhost::Current().undo.back().rolledBack);
	EXPECT_TRUE(vhost::ElementsOfType(API_MeshID).empty());
	EXPECT_TRUE(vhost::Current().state.solidLinks.empty());
	const std::vector<std::string> reports = ReportTexts();
	EXPECT_NE(std::find(reports.begin(), reports.end(), "Error creating mesh: Terrain"), reports.end());
	for (const std::string& t : reports) EXPECT_EQ(t.find("ACAPI_Element_SolidLink_Create"), std::string::npos) << t;
}

// The run answers the first failing step's code: the surroundings model's 7, not the good
// cut after it.
TEST_F(ImportCommand, TheRunAnswersTheFirstFailingStep)
{
	Project("Kart", {0, 2});
	const std::string folder = ImportFolder() + "/Kart/3D-modell";
	const std::string model = folder + "/Visualiseringsterreng/Visualiseringsterreng_med_bygg.skp";
	testsupport::WriteFile(model, "");
	ASSERT_TRUE(vhost::WriteModelFile(model, 1, 7));
	std::vector<import_object> list(3);
	const std::pair<ImportObjectType, std::string> files[] = {
		{ImportTerrain, folder + "/3ds/Terreng.3ds"}, {ImportRoads, folder + "/3ds/Veg.3ds"}, {ImportSurroundings, model}};
	std::vector<import_object*> objects;
	for (std::size_t i = 0; i < list.size(); ++i) {
		list[i].type = files[i].first;
		list[i].location = testsupport::Loc(files[i].second);
		list[i].include = true;
		objects.push_back(&list[i]);
	}
	ImportOptions options;
	options.area_location = testsupport::Loc(folder + "/Area.json");
	options.name_prefix = "Kart";
	Importer importer(options);
	ASSERT_EQ(importer.PickOrigo(false, objects.data(), 3), NoError);
	EXPECT_EQ(importer.MapInsert(objects.data(), 3), 7);
	ASSERT_FALSE(vhost::Current().undo.empty());
	EXPECT_EQ(vhost::Current().undo.back().name, "Cutting VELMORA mesh elements");
	EXPECT_FALSE(vhost::Current().state.solidLinks.empty());
}

// Objects are placed relative to the current story: its level (3 m) is taken off their z.
TEST_F(ImportCommand, ObjectsArePlacedRelativeToTheStoryLevel)
{
	Host().stories = {vhost::StoryRecord{0, 3.0}};
	Project("Kart", {2});
	Run("dialog 32501\nlistclick 15 1 1\nclick 1\ndialog 32508\nclick 1\n");
	ExpectCleanRun();
	const vhost::ElementRecord* road = nullptr;
	for (const vhost::ElementRecord& e : vhost::Current().state.elements)
		if (e.element.header.type.typeID == API_ObjectID && PartName(e.element.object.libInd) == "Kart_Veg") road = &e;
	ASSERT_NE(road, nullptr);
	EXPECT_DOUBLE_EQ(road->element.object.level, 0.1 - 3.0);
}

// The current story is found by its number counted from the lowest: with a story below the
// ground floor, story 1 is the third in the list, and its level (3 m) is taken off a tree's z.
TEST_F(ImportCommand, TreesArePlacedRelativeToTheCurrentStoryOverABasement)
{
	Host().stories = {{-1, -3.0}, {0, 0.0}, {1, 3.0}};
	Host().actStory = 1;
	testsupport::WriteFile(Host().runRoot + "/Addon/terrainsettings.txt", "[include_vegetation=1]");
	fs::copy(fs::u8path(VELMORA_SOURCE_DIR "/Resources/VelmoraLib"), fs::u8path(Host().runRoot + "/Addon/VelmoraLib"),
	         fs::copy_options::recursive);
	Project("Kart", {6});
	testsupport::WriteFile(ImportFolder() + "/Kart/3D-modell/Vegetasjon/Vegetasjon.csv",
	                       "x,y,z,tre_diameter,tre_hoyde,tre_størrelse,tre_type,tre_type_tekst,kommentar\n10,20,5,4,6,liten,1,furu,\n");
	Run("dialog 32501\nlistclick 15 1 1\nclick 1\ndialog 32508\nclick 1\n");
	ExpectCleanRun();
	std::vector<double> levels;
	for (const vhost::ElementRecord& e : vhost::Current().state.elements)
		if (e.element.header.type.typeID == API_ObjectID && PartName(e.element.object.libInd) == "Velmora_Pine_Tree")
			levels.push_back(e.element.object.level);
	EXPECT_EQ(levels, std::vector<double>{2.0});
}

// Only the vegetation layer's part runs its parameter script, once: terrain, custom objects and
// vegetation ticked, and no tree list (its trees would run it too).
TEST_F(ImportCommand, OnlyTheVegetationPartRunsItsParameterScript)
{
	testsupport::WriteFile(Host().runRoot + "/Addon/terrainsettings.txt", "[include_terrain=1][include_customobj=1][include_vegetation=1]");
	Project("Kart", {0, 4, 6});
	Run("dialog 32501\nlistclick 15 1 1\nclick 1\ndialog 32508\nclick 1\n");
	ExpectCleanRun();
	std::vector<std::string> parts, vegetation;
	for (const vhost::ElementRecord& e : vhost::Current().state.elements) {
		if (e.element.header.type.typeID != API_ObjectID) continue;
		parts.push_back(PartName(e.element.object.libInd));
		if (parts.back() == "Kart_Vegetasjon") vegetation.push_back(vhost::ToUtf8(APIGuidToString(e.element.header.guid)));
	}
	EXPECT_NE(std::find(parts.begin(), parts.end(), "Kart_Objekter"), parts.end());
	ASSERT_EQ(vegetation.size(), 1u);
	const std::vector<std::pair<std::string, UInt32>> runs = {{vegetation[0], 0}};
	EXPECT_EQ(Host().parameterScriptRuns, runs);
}

// Every library-list read after the first fails: the run hands back no list it did not read,
// so the project keeps its libraries.
TEST_F(ImportCommand, AFailedLaterLibraryListReadHandsBackNoList)
{
	Project("Kart", {0, 2});
	const std::string own = RunRoot() + "/Office Library";
	fs::create_directories(fs::u8path(own));
	const IO::Location ownFolder = testsupport::Loc(own);
	ASSERT_EQ(ACAPI_LibraryManagement_AddLibraries(&ownFolder), NoError); // a list handed back without it drops it
	GS::Array<API_LibraryInfo> loaded; // the first read starts the embedded library
	ASSERT_EQ(ACAPI_LibraryManagement_GetLibraries(&loaded, nullptr), NoError);
	std::vector<std::string> before;
	for (const auto& l : vhost::Library().libraries) before.push_back(l.path);
	ASSERT_FALSE(before.empty());
	vhost::InjectFault("ACAPI_LibraryManagement_GetLibraries", APIERR_GENERAL, "", -1, 1);
	Run("dialog 32501\nlistclick 15 1 1\nclick 1\ndialog 32508\nclick 1\n");
	vhost::ClearFaults();
	ExpectCleanRun();
	std::vector<std::string> after;
	for (const auto& l : vhost::Library().libraries) after.push_back(l.path);
	ASSERT_GE(before.size(), 2u);
	for (const std::string& path : before) EXPECT_NE(std::find(after.begin(), after.end(), path), after.end()) << path;
}

// Factory settings that cannot be read end the command; an unreadable user file is told
// once and the factory values stand.
TEST_F(ImportCommand, UnreadableSettingsAreReportedWithTheCommandsPrefix)
{
	const std::string prefix = "Error point: VELMORA / MenuImportMap() / t_config->init() / terrain_import_ini::init_loader() / "
	                           "MiniIniConfigRead# IO::File::Open *";
	testsupport::WriteFile(RunRoot() + "/Common Documents/Velmora/terrainsettings.txt", "[include_water=1]");
	vhost::InjectFault("IO::File::Open", ErrAccessDenied, "Common Documents/Velmora/terrainsettings.txt", 1);
	Run("dialog 32501\nclick 2\n");
	ExpectCleanRun();
	ASSERT_EQ(ReportTexts().size(), 1u);
	EXPECT_EQ(ReportTexts()[0].rfind(prefix, 0), 0u) << ReportTexts()[0];

	Host().reports.clear();
	vhost::InjectFault("IO::File::Open", ErrAccessDenied, "Addon/terrainsettings.txt", 1);
	Run("");
	ASSERT_EQ(ReportTexts().size(), 1u);
	EXPECT_EQ(ReportTexts()[0].rfind(prefix, 0), 0u) << ReportTexts()[0];
	EXPECT_EQ(DialogsShown(), std::vector<short>{32501});   // the first run's only
}

// The host's own numbers do not depend on the process's locale: the sample imported under a
// decimal-comma locale gives the plan and the summary (but for its time) of one imported in
// the C locale, generated parts drawn and the time written with a point.
TEST_F(ImportCommand, PlanAndSummaryAreTheSameUnderADecimalCommaLocale)
{
	struct Result {
		std::string plan, summary;
	};
	std::string script = "dialog 32501\n";
	for (int column = 1; column <= 10; ++column)
		script += "listpick 15 \"Kart\" " + std::to_string(column) + (column == 1 ? "\n" : " 32729\n");
	script += "click 1\ndialog 32508\nclick 1\n";
	const auto import = [&](const std::string& root) {
		fs::create_directories(root);
		StartOver(root);
		EXPECT_EQ(sample::MakeProjectFolder(ImportFolder() + "/Kart", {}), "");
		const cli::ImportTally tally;
		testing::internal::CaptureStdout(); // the 3DS reader's chunk trace
		Run(script);
		testing::internal::GetCapturedStdout();
		ExpectCleanRun();
		return Result{vhost::PlanSvg(), tally.Summary("Kart")};
	};
	const Result c = import(RunRoot() + "/c");
	Result comma;
	{
		const testsupport::CommaLocale locale;
		ASSERT_EQ(locale.Why(), "");
		comma = import(RunRoot() + "/comma");
	}
	// The generated parts as the plan draws them (a layer kind each), and the plans whole.
	const auto kinds = [](const std::string& plan) {
		std::multiset<std::string> found;
		for (std::size_t at = plan.find("data-kind=\""); at != std::string::npos; at = plan.find("data-kind=\"", at + 1))
			found.insert(plan.substr(at + 11, plan.find('"', at + 11) - at - 11));
		return found;
	};
	EXPECT_EQ(kinds(c.plan).count("road"), 1u);
	EXPECT_EQ(kinds(comma.plan), kinds(c.plan));
	EXPECT_TRUE(comma.plan == c.plan) << "the plans differ";
	// "Imported "Kart" in 0.05 s": the time differs from run to run, its form does not.
	const auto time = [](const std::string& summary) {
		const std::size_t in = summary.find(" in "), end = summary.find(" s\n");
		return in == std::string::npos || end == std::string::npos || end < in ? std::string() : summary.substr(in + 4, end - in - 4);
	};
	for (const Result* r : std::initializer_list<const Result*>{&c, &comma}) {
		const std::string t = time(r->summary);
		EXPECT_GE(t.size(), 4u) << r->summary;
		EXPECT_EQ(t.find_first_not_of("0123456789."), std::string::npos) << r->summary;
		EXPECT_EQ(t.rfind('.'), t.size() - 3) << r->summary;
	}
	const auto withoutTime = [&](const std::string& summary) {
		const std::string t = time(summary);
		const std::size_t at = summary.find(" in ") + 4;
		return t.empty() ? summary : summary.substr(0, at) + "T" + summary.substr(at + t.size());
	};
	EXPECT_NE(c.summary.find("\n  generated parts: 8: "), std::string::npos) << c.summary;
	EXPECT_EQ(withoutTime(comma.summary), withoutTime(c.summary));
}

// The same through velmora-host with the real module: a hostile ZIP name from a script.
TEST(ImportCommandRun, AddZipWithAHostileNameThroughTheHost)
{
	const testsupport::ScopedWorkingFolder here;
	testsupport::TempDir dir;
	testsupport::WriteFile(dir / "Source/3D-modell/3ds/Veg.3ds", "");
	const std::string zip = dir / "a b;$(touch pwned)'.zip";
	ASSERT_EQ(sample::ZipFolder(dir / "Source", zip), "");
	testsupport::WriteFile(dir / "script.txt", "dialog 32501\nclick 16\nfile \"" + ScriptText(zip) + "\"\ndialog 32501\nclick 2\n");
	const std::string command = testsupport::BuildProgram("velmora-host") + " --home '" + dir.Path() + "/home' --script '" +
		dir.Path() + "/script.txt' menu 32502 2>'" + dir.Path() + "/stderr.txt'";
	EXPECT_EQ(std::system(command.c_str()), 0) << testsupport::ReadFile(dir / "stderr.txt");
	EXPECT_TRUE(fs::exists(fs::u8path(dir / "home/Documents/Velmora/a b;$(touch pwned)'/3D-modell/3ds/Veg.3ds")));
	EXPECT_FALSE(fs::exists(fs::u8path(dir / "pwned")));
	EXPECT_FALSE(fs::exists("pwned"));
}

// The small dialogs' answers, and what the colours dialog lets the user type into.
TEST(ImportHandlers, SmallDialogsStoreTheirAnswers)
{
	Int32 result = -1;
	short dialogId = ImportDeleteQuestionDialogId, row = 0;
	void* record[ImportRecordSize] = {nullptr, &dialogId, &result, &row};
	const auto data = static_cast<long long>(reinterpret_cast<std::intptr_t>(record));
	const struct { short item; short closes; Int32 result; } deleteCases[] = {{1, 1, 1}, {2, 1, 0}, {3, 0, -1}};
	for (const auto& c : deleteCases) {
		result = -1;
		EXPECT_EQ(mainmenu_importmap::delete_alert_dg_handler(DG_MSG_CLICK, dialogId, c.item, data, 0), c.closes) << c.item;
		EXPECT_EQ(result, c.result) << c.item;
	}
	for (const short item : {1, 2, 7}) {
		Int32 answer = 0;
		const auto answerData = static_cast<long long>(reinterpret_cast<std::intptr_t>(&answer));
		EXPECT_EQ(mainmenu_importmap::import_confirmation_dg_handler(DG_MSG_CLICK, ImportGeolocationDialogId, item, answerData, 0), 1);
		EXPECT_EQ(answer, item == 1 ? 1 : 2) << item;
		answer = 0;
		EXPECT_EQ(mainmenu_importmap::import_confirmation_dg_handler(DG_MSG_INIT, ImportGeolocationDialogId, item, answerData, 0), 0);
		EXPECT_EQ(answer, 0);
	}
	EXPECT_EQ(mainmenu_importmap::import_alert_dg_handler(DG_MSG_CLICK, ImportProjectExistsDialogId, 1, 0, 0), 1);
	EXPECT_EQ(mainmenu_importmap::import_alert_dg_handler(DG_MSG_CLICK, ImportProjectExistsDialogId, 2, 0, 0), 0);
	for (short item = 0; item <= 120; ++item) {
		const bool typed = (item >= 32 && item <= 59) || item == 108 || item == 114;
		EXPECT_EQ(mainmenu_importmap::import_colors_dg_handler(DG_MSG_FILTERCHAR, ImportColorsDialogId, item, 0, 0), typed ? 0 : 1) << item;
	}
}

// Both forms of the expansion command keep each path one argument, whatever it holds.
TEST(ImportHandlers, ZipExpandCommandQuotesEveryPath)
{
	const IO::Location zip("/in/it's $(x) \"a\"; %PATH% (1).zip"), target("/out/it's $(x) \"a\"; %PATH% (1)");
	// The POSIX form, given to a shell that prints its arguments one a line.
	const std::string posixText = ZipExpandCommand(zip, target, true).ToCStr().Get();
	ASSERT_EQ(posixText.rfind("ditto -x -k ", 0), 0u);
	testsupport::TempDir dir;
	const std::string command = "printf '%s\\n' " + posixText.substr(std::strlen("ditto ")) + " > '" + dir.Path() + "/args'";
	ASSERT_EQ(std::system(command.c_str()), 0);
	EXPECT_EQ(testsupport::ReadFile(dir / "args"), "-x\n-k\n/in/it's $(x) \"a\"; %PATH% (1).zip\n/out/it's $(x) \"a\"; %PATH% (1)\n");

	// The other form: the Base64 after -EncodedCommand is the script in UTF-16 units.
	const std::string encoded = ZipExpandCommand(zip, target, false).ToCStr().Get();
	const std::string head = "powershell -NoProfile -NonInteractive -EncodedCommand ";
	ASSERT_EQ(encoded.rfind(head, 0), 0u) << encoded;
	const std::string base64 = encoded.substr(head.size());
	EXPECT_EQ(base64.find_first_not_of("ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz0123456789+/="), std::string::npos);
	std::string bytes;
	for (std::size_t i = 0; i + 3 < base64.size(); i += 4) {
		unsigned long group = 0;
		int pad = 0;
		for (int k = 0; k < 4; ++k) {
			const char c = base64[i + static_cast<std::size_t>(k)];
			const auto v = c == '=' ? (++pad, 0) : static_cast<int>(std::string("ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz0123456789+/").find(c));
			group = group << 6 | static_cast<unsigned long>(v);
		}
		for (int k = 0; k < 3 - pad; ++k) bytes += static_cast<char>((group >> (16 - 8 * k)) & 0xFF);
	}
	std::string script;
	for (std::size_t i = 0; i + 1 < bytes.size(); i += 2) {
		EXPECT_EQ(bytes[i + 1], 0) << "ASCII units only here";
		script += bytes[i];
	}
	EXPECT_EQ(script, "Expand-Archive -LiteralPath '/in/it''s $(x) \"a\"; %PATH% (1).zip' "
	                  "-DestinationPath '/out/it''s $(x) \"a\"; %PATH% (1)'");
}

} // namespace
