// The real module, loaded and run by velmora-host.
#include <algorithm>
#include <cstdlib>
#include <filesystem>
#include <map>
#include <sys/wait.h>
#include <unistd.h>
#include <string>
#include <vector>

#include <gtest/gtest.h>
#include <nlohmann/json.hpp>

#include "TestSupport.hpp"
#include "sample/SamplePackage.hpp"
#include "sample/Zip.hpp"

namespace {

TEST(Module, MenuRunsEndToEndInBothLanguages)
{
	struct Case { const char* language; int menu; int first; const char* name; int dialog; const char* version; };
	for (const Case c : {Case{"NOR", 32526, 32521, "Om Velmora...", 32524, "Versjon 3.0.5"},
		     Case{"INT", 32506, 32501, "About Velmora...", 32504, "Version 3.0.5"}}) {
		testsupport::TempDir dir;
		// The about command shows its dialog with the version filled in.
		testsupport::WriteFile(dir / "script.txt", "dialog " + std::to_string(c.dialog) + "\nexpect text 4 \"" + c.version +
			"\"\nclick 1\n");
		const std::string command = testsupport::BuildProgram("velmora-host") + " --home '" + dir.Path() + "/home' --script '" +
			dir.Path() + "/script.txt' --out '" + dir.Path() + "/out' --language " + c.language + " menu " + std::to_string(c.menu);
		ASSERT_EQ(std::system(command.c_str()), 0) << command;
		const nlohmann::json project = nlohmann::json::parse(testsupport::ReadFile(dir / "out/project.json"));
		EXPECT_EQ(project["addon"]["name"], "Velmora");
		EXPECT_FALSE(project["addon"]["description"].get<std::string>().empty());
		const auto& menus = project["menus"];
		ASSERT_EQ(menus.size(), 6u) << c.language;
		for (int i = 0; i < 6; ++i) {
			EXPECT_EQ(menus[i]["id"], c.first + i);
			EXPECT_EQ(menus[i]["promptId"], c.first + i + 10);
			EXPECT_EQ(menus[i]["flags"], i == 2 ? 3 : 0);
			EXPECT_FALSE(menus[i]["prompt"].get<std::string>().empty()) << menus[i]["id"];
		}
		EXPECT_EQ(menus[5]["text"][1], c.name);
		ASSERT_EQ(project["menuRuns"].size(), 1u);
		EXPECT_EQ(project["menuRuns"][0]["id"], c.menu);
		EXPECT_EQ(project["menuRuns"][0]["result"], 0);
		EXPECT_TRUE(project["reports"].empty());
		EXPECT_TRUE(project["exceptions"].empty());
	}
}

// Runs a command line; answers its exit status and what it wrote on stderr.
int RunLine(const testsupport::TempDir& dir, const std::string& line, std::string& stderrText)
{
	const int status = std::system((line + " >/dev/null 2>'" + dir.Path() + "/stderr.txt'").c_str());
	stderrText = testsupport::ReadFile(dir / "stderr.txt");
	return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
}

// Runs velmora-host with the arguments; answers its exit status and what it wrote on stderr.
// A program given replaces the build's own (as "setpriv ... PATH" runs it as another user).
int RunHost(const testsupport::TempDir& dir, const std::string& arguments, std::string& stderrText, const std::string& program = "")
{
	return RunLine(dir, (program.empty() ? testsupport::BuildProgram("velmora-host") : program) + " " + arguments, stderrText);
}

// A command that answers an error, or an unusable run root, fails the run with a message.
TEST(Module, FailuresGiveAMessageAndTheirExitStatus)
{
	testsupport::TempDir dir;
	testsupport::WriteFile(dir / "file", "x");
	const std::string home = "--home '" + dir.Path() + "/home' ";
	const struct { const char* name; std::string arguments; int status; const char* message; } cases[] = {
		{"unknown menu id", home + "menu 1", 1, "velmora-host: menu 1 answered"},
		{"menu of the other language", home + "--language INT menu 32523", 1, "velmora-host: menu 32523 answered"},
		{"a good command, then a bad one", home + "menu 32506 menu 1", 1, "velmora-host: menu 1 answered"},
		{"home is a file", "--home '" + dir.Path() + "/file' menu 32506", 2, "velmora-host: unusable run root: "},
		{"home inside a file", "--home '" + dir.Path() + "/file/sub' menu 32506", 2, "velmora-host: unusable run root: "},
		{"bad argument", "--nonsense", 2, "velmora-host: unknown argument '--nonsense'"},
		{"out is a file", home + "--out '" + dir.Path() + "/file' menu 32506", 2, "velmora-host: cannot write "},
		{"no command", home + "--out '" + dir.Path() + "/out'", 2, "velmora-host: no command given"},
		{"no argument at all", "", 2, "usage: velmora-host "},
	};
	for (const auto& c : cases) {
		SCOPED_TRACE(c.name);
		std::string err;
		EXPECT_EQ(RunHost(dir, c.arguments, err), c.status);
		EXPECT_NE(err.find(c.message), std::string::npos) << err;
		EXPECT_EQ(err.find("terminate"), std::string::npos) << err;
	}
}

using testsupport::GiveToUnprivilegedUser;
using testsupport::kUnprivilegedId;

// The program, its library and the add-on with its files copied into the test's folder, which
// that user can reach wherever the build lies (a clone under /root is closed to others); the
// program finds the library and the add-on beside itself.
std::string UnprivilegedHost(const testsupport::TempDir& dir)
{
	namespace fs = std::filesystem;
	fs::create_directories(dir / "bin");
	for (const char* name : {"velmora-host", "libvhost.so", "Velmora.so"})
		fs::copy_file(fs::path(VELMORA_BUILD_DIR) / name, fs::path(dir / "bin") / name, fs::copy_options::overwrite_existing);
	fs::copy(VELMORA_SOURCE_DIR "/Resources", dir / "bin", fs::copy_options::recursive | fs::copy_options::overwrite_existing);
	const std::string launcher = VELMORA_LAUNCHER;
	return "setpriv --reuid=" + std::to_string(kUnprivilegedId) + " --regid=" + std::to_string(kUnprivilegedId) +
		" --clear-groups " + (launcher.empty() ? "" : launcher + " ") + "'" + dir.Path() + "/bin/velmora-host'";
}

TEST(Module, UnwritableRunRootIsRefused)
{
	testsupport::TempDir dir;
	std::filesystem::create_directories(dir / "home/Temp");
	std::string asUser;
	if (::geteuid() == 0) {
		for (const char* path : {"", "/home", "/home/Temp"})
			ASSERT_EQ(::chown((dir.Path() + path).c_str(), kUnprivilegedId, kUnprivilegedId), 0) << path;
		asUser = UnprivilegedHost(dir);
	}
	std::filesystem::permissions(dir / "home/Temp", std::filesystem::perms::owner_read | std::filesystem::perms::owner_exec);
	std::string err;
	EXPECT_EQ(RunHost(dir, "--home '" + dir.Path() + "/home' menu 32506", err, asUser), 2);
	EXPECT_NE(err.find("is not writable"), std::string::npos) << err;
	std::filesystem::permissions(dir / "home/Temp", std::filesystem::perms::owner_all);
}

// An archive may store folder modes that forbid listing a folder or removing what it holds,
// and unzip restores them once it has filled the folder. Whatever they are, Add ZIP removes a
// link that leads out of the project and says so, and the outside file's bytes reach nothing
// the run writes. Run as an ordinary user, whom those modes bind (root passes every check).
TEST(Module, AddZipRemovesOutsideLinksWhateverFolderModesTheArchiveStores)
{
	const std::string photo = "3D-modell/Ortofoto/Ortofoto_SCALE_1000_X400000MM_Y300000MM.jpg";
	const std::string photoMark = "OUTSIDE-PHOTO-5c2e";
	const std::string dxfMark = "OUTSIDE-DXF-5c2e";
	const std::string treeMark = "7.6171875"; // a tree's diameter: its parameters carry it
	const std::string dxf = "0\nSECTION\n2\nENTITIES\n0\nTEXT\n8\n0\n10\n100\n20\n100\n40\n5\n1\n" + dxfMark +
	                        "\n0\nENDSEC\n0\nEOF\n";
	const std::string trees = "x,y,z,tre_diameter,tre_hoyde,tre_størrelse,tre_type,tre_type_tekst,kommentar\n"
	                          "120,250,10," + treeMark + ",9,middels,1,furu,\"ute\"\n";
	const struct {
		const char* name;
		std::string entry;
		std::string outside; // the outside file's bytes; empty: the sample's photo and the mark
		std::string mark;
		std::map<std::string, unsigned> modes;
	} cases[] = {
		{"photo in a read-only folder", photo, "", photoMark, {{"3D-modell/Ortofoto", 0555}}},
		{"base map in a read-only folder", "3D-modell/Basiskart/Alle data.dxf", dxf, dxfMark, {{"3D-modell/Basiskart", 0555}}},
		{"tree list in a folder not listable", "3D-modell/Vegetasjon/Vegetasjon.csv", trees, treeMark, {{"3D-modell/Vegetasjon", 0311}}},
		{"photo under a map data folder not listable", photo, "", photoMark, {{"3D-modell", 0311}}},
	};
	namespace fs = std::filesystem;
	for (const auto& c : cases) {
		SCOPED_TRACE(c.name);
		testsupport::TempDir dir;
		const std::string source = dir / "source/Kart", zip = dir / "Kart.zip", outside = dir / "outside/file";
		ASSERT_EQ(sample::MakeProjectFolder(source, sample::PackageOptions()), "");
		testsupport::WriteFile(outside, c.outside.empty() ? testsupport::ReadFile(source + "/" + photo) + c.mark : c.outside);
		fs::remove(source + "/" + c.entry);
		fs::create_symlink(outside, source + "/" + c.entry);
		ASSERT_EQ(sample::ZipFolder(source, zip, c.modes), "");
		fs::create_directories(dir / "home");
		GiveToUnprivilegedUser(dir.Path());
		const std::string asUser = ::geteuid() == 0 ? UnprivilegedHost(dir) : "";
		GiveToUnprivilegedUser(dir / "bin");
		std::string err;
		EXPECT_EQ(RunHost(dir, "--home '" + dir.Path() + "/home' --out '" + dir.Path() + "/out' import '" + zip + "'", err, asUser), 0)
			<< err;
		EXPECT_NE(err.find("velmora-host: alert: The ZIP file " + zip + " held 1 links to places outside the project; they were removed."),
		          std::string::npos) << err;
		const std::string project = dir / "home/Documents/Velmora/Kart";
		EXPECT_TRUE(fs::is_directory(project + "/3D-modell"));
		EXPECT_FALSE(fs::exists(fs::symlink_status(project + "/" + c.entry)));
		EXPECT_FALSE(testsupport::AnyFileHolds(dir / "home", c.mark));
		EXPECT_FALSE(testsupport::AnyFileHolds(dir / "out", c.mark));
		EXPECT_NE(testsupport::ReadFile(outside).find(c.mark), std::string::npos); // the user's file stays
	}
}

// Without --home the run root is a new temporary folder, removed when the run ends however it
// ends: after an import (whose texture lay in it), a command that fails, a bad script.
TEST(Module, TheTemporaryRunRootIsRemovedWhenTheRunEnds)
{
	testsupport::TempDir dir;
	std::string err;
	ASSERT_EQ(RunLine(dir, testsupport::BuildProgram("make_sample_package") + " '" + dir.Path() + "/Kart'", err), 0) << err;
	const std::string tmp = dir / "tmp";
	const struct { const char* name; std::string arguments; int status; } cases[] = {
		{"import", "--out '" + dir.Path() + "/out' import '" + dir.Path() + "/Kart'", 0},
		{"failing command", "menu 1", 1},
		{"missing script", "--script '" + dir.Path() + "/none.txt' menu 32506", 2},
	};
	for (const auto& c : cases) {
		SCOPED_TRACE(c.name);
		std::filesystem::create_directories(tmp);
		EXPECT_EQ(RunLine(dir, "env TMPDIR='" + tmp + "' " + testsupport::BuildProgram("velmora-host") + " " + c.arguments, err), c.status)
			<< err;
		EXPECT_TRUE(std::filesystem::is_empty(tmp)) << c.name;
	}
	// The import's texture was written under the temporary run root.
	const nlohmann::json project = nlohmann::json::parse(testsupport::ReadFile(dir / "out/project.json"));
	const std::string texture = project["attributes"]["materials"][0]["texture"]["file"];
	EXPECT_EQ(texture.rfind(tmp + "/velmora-host-", 0), 0u) << texture;
}

// --out replaces what lies at its names, never writing through a link planted there, and
// writes its library folder afresh: a part of an earlier run is gone.
TEST(Module, TheDumpReplacesLinksAndAnEarlierLibrary)
{
	namespace fs = std::filesystem;
	testsupport::TempDir dir;
	std::string err;
	ASSERT_EQ(RunLine(dir, testsupport::BuildProgram("make_sample_package") + " '" + dir.Path() + "/Kart'", err), 0) << err;
	const char* const names[] = {"project.json", "plan.svg", "addon-output.log"};
	for (const char* name : names) {
		testsupport::WriteFile(dir / "kept/" + name, "someone else's");
		fs::create_directories(dir / "out");
		fs::create_symlink(dir / "kept/" + name, dir / "out/" + name);
	}
	testsupport::WriteFile(dir / "out/library/Earlier_Veg/3d.gdl", "an earlier run's part");
	ASSERT_EQ(RunHost(dir, "--home '" + dir.Path() + "/home' --out '" + dir.Path() + "/out' import '" + dir.Path() + "/Kart'", err), 0)
		<< err;
	for (const char* name : names) {
		SCOPED_TRACE(name);
		EXPECT_EQ(testsupport::ReadFile(dir / "kept/" + name), "someone else's");
		EXPECT_TRUE(fs::is_regular_file(fs::symlink_status(dir / "out/" + name)));
	}
	const nlohmann::json project = nlohmann::json::parse(testsupport::ReadFile(dir / "out/project.json"));
	EXPECT_FALSE(project["libraryParts"].empty());
	EXPECT_NE(testsupport::ReadFile(dir / "out/plan.svg").find("<svg"), std::string::npos);
	EXPECT_NE(testsupport::ReadFile(dir / "out/addon-output.log").find("CHUNK_M3DMAGIC"), std::string::npos);
	EXPECT_TRUE(fs::is_regular_file(dir / "out/library/Kart_Veg/3d.gdl"));
	EXPECT_FALSE(fs::exists(dir / "out/library/Earlier_Veg"));
	// Nothing of the run's own staging is left beside them.
	std::vector<std::string> left;
	for (const auto& entry : fs::directory_iterator(dir / "out")) left.push_back(entry.path().filename().string());
	std::sort(left.begin(), left.end());
	EXPECT_EQ(left, (std::vector<std::string>{"addon-output.log", "library", "plan.svg", "project.json"}));
}

// What the run cannot write fails it with a message: the summary on a full standard output,
// the dump on a full disk (here: a file size limit).
TEST(Module, OutputThatCannotBeWrittenFailsTheRun)
{
	testsupport::TempDir dir;
	std::string err;
	ASSERT_EQ(RunLine(dir, testsupport::BuildProgram("make_sample_package") + " '" + dir.Path() + "/Kart'", err), 0) << err;
	const struct { const char* name; std::string line; const char* message; } cases[] = {
		{"summary", testsupport::BuildProgram("velmora-host") + " --home '" + dir.Path() + "/home1' import '" + dir.Path() +
		                "/Kart' >/dev/full", "velmora-host: cannot write the summary to standard output: No space left on device\n"},
		{"dump", "trap '' XFSZ; ulimit -f 64; " + testsupport::BuildProgram("velmora-host") + " --home '" + dir.Path() +
		             "/home2' --out '" + dir.Path() + "/out' import '" + dir.Path() + "/Kart' >/dev/null",
		 "velmora-host: cannot write "},
	};
	for (const auto& c : cases) {
		SCOPED_TRACE(c.name);
		const int status = std::system(("(" + c.line + ") 2>'" + dir.Path() + "/stderr.txt'").c_str());
		err = testsupport::ReadFile(dir / "stderr.txt");
		EXPECT_EQ(WIFEXITED(status) ? WEXITSTATUS(status) : -1, 1) << err;
		EXPECT_NE(err.find(c.message), std::string::npos) << err;
	}
	// The dump that failed left nothing of its own behind, and no project.json.
	for (const auto& entry : std::filesystem::directory_iterator(dir / "out"))
		EXPECT_EQ(entry.path().filename().string().rfind(".velmora-host-", 0), std::string::npos) << entry.path();
	EXPECT_FALSE(std::filesystem::exists(dir / "out/project.json"));
}

// A failed save is the add-on's alert: the command itself answers no error, and the alert
// is printed for a script to see.
TEST(Module, AlertReportsArePrintedOnStandardError)
{
	testsupport::TempDir dir;
	testsupport::WriteFile(dir / "home/Common Documents/Velmora", "a file where the folder belongs");
	testsupport::WriteFile(dir / "script.txt", "dialog 32502\nclick 1\n");
	std::string err;
	EXPECT_EQ(RunHost(dir, "--home '" + dir.Path() + "/home' --script '" + dir.Path() + "/script.txt' menu 32503", err), 0);
	EXPECT_NE(err.find("velmora-host: alert: Error point: VELMORA / MenuTerrainSettingsOpen() / t_config->save() / "
	                   "terrain_import_ini::save() / IO::FileSystem::CommonDocuments + def_terrain_import_foldername_app path "
	                   "does not exist and cannot be created."),
	          std::string::npos) << err;
}

} // namespace
