#include <cstdlib>
#include <filesystem>

#include <gtest/gtest.h>

#include "ACAPinc.h"
#include "File.hpp"
#include "TestSupport.hpp"
#include "vhost/Addon.hpp"
#include "vhost/Script.hpp"
#include "vhost/Text.hpp"

namespace {

using testsupport::HostTest;

class HostIO : public HostTest {};

TEST_F(HostIO, SpecialFoldersLieUnderTheRunRoot)
{
	IO::Location loc;
	ASSERT_EQ(IO::fileSystem.GetSpecialLocation(IO::FileSystem::CommonDocuments, &loc), NoError);
	EXPECT_EQ(vhost::PathOf(loc), RunRoot() + "/Common Documents");
	EXPECT_EQ(IO::Folder(loc).GetStatus(), NoError);
	ASSERT_EQ(IO::fileSystem.GetSpecialLocation(IO::FileSystem::DefaultImportRoot, &loc), NoError);
	EXPECT_EQ(vhost::PathOf(loc), RunRoot() + "/Documents");
}

TEST_F(HostIO, FileWriteReadAndEndOfFile)
{
	IO::Location loc = testsupport::Loc(RunRoot() + "/Temp");
	ASSERT_EQ(loc.AppendToLocal(IO::Name("æøå.txt")), NoError);
	{
		IO::File f(loc, IO::File::Create);
		ASSERT_EQ(f.Open(IO::File::WriteEmptyMode), NoError);
		ASSERT_EQ(f.WriteBin("hello", 5), NoError);
	}
	IO::File f(loc);
	UInt64 length = 0;
	ASSERT_EQ(f.GetDataLength(&length), NoError);
	EXPECT_EQ(length, 5u);
	ASSERT_EQ(f.Open(IO::File::ReadMode), NoError);
	char buf[16];
	UInt32 got = 0;
	EXPECT_EQ(f.ReadBin(buf, 16, &got), ErrEndOfFile);
	EXPECT_EQ(std::string(buf, got), "hello");
	EXPECT_EQ(IO::File(testsupport::Loc(RunRoot() + "/none")).GetStatus(), ErrFileNotFound);
}

TEST_F(HostIO, LocationNamesAreChecked)
{
	IO::Location loc = testsupport::Loc("/a/b");
	for (const char* bad : {"", ".", "..", "x/y"}) EXPECT_NE(loc.AppendToLocal(IO::Name(bad)), NoError) << bad;
	EXPECT_EQ(vhost::PathOf(loc), "/a/b");
	IO::Name last;
	ASSERT_EQ(loc.GetLastLocalName(&last), NoError);
	EXPECT_EQ(last.ToString(), GS::UniString("b"));
	ASSERT_EQ(loc.DeleteLastLocalName(), NoError);
	EXPECT_EQ(vhost::PathOf(loc), "/a");
}

TEST_F(HostIO, EnumerationIsSortedWithoutDotsAndLinksAreFiles)
{
	const std::string dir = RunRoot() + "/Documents";
	std::filesystem::create_directories(dir + "/b");
	std::filesystem::create_directories(dir + "/a");
	testsupport::WriteFile(dir + "/c.txt", "x");
	std::filesystem::create_directory_symlink(dir + "/a", dir + "/link");
	struct Seen { std::vector<std::pair<std::string, bool>> entries; } seen;
	IO::Folder folder(testsupport::Loc(dir));
	ASSERT_EQ(folder.Enumerate([](const IO::Folder&, const IO::Name& n, bool isFolder, void* user) {
		static_cast<Seen*>(user)->entries.emplace_back(vhost::ToUtf8(n.ToString()), isFolder);
		return true;
	}, &seen), NoError);
	const std::vector<std::pair<std::string, bool>> expected = {{"a", true}, {"b", true}, {"c.txt", false}, {"link", false}};
	EXPECT_EQ(seen.entries, expected);
}

TEST_F(HostIO, FaultInjectionFailsTheNamedCallOnly)
{
	const std::string path = RunRoot() + "/Temp/x.bin";
	testsupport::WriteFile(path, "abc");
	vhost::InjectFault("IO::File::Open", ErrAccessDenied, "x.bin", 1);
	IO::File f(testsupport::Loc(path));
	EXPECT_EQ(f.GetStatus(), NoError);
	EXPECT_EQ(f.Open(IO::File::ReadMode), ErrAccessDenied);
	EXPECT_EQ(f.Open(IO::File::ReadMode), NoError); // fired once only
	vhost::InjectFault("IO::Init", ErrMemoryFull);
	EXPECT_EQ(IO::Init(), ErrMemoryFull);
	vhost::ClearFaults();
	EXPECT_EQ(IO::Init(), NoError);
	EXPECT_EQ(IO::End(), NoError);
	EXPECT_NE(IO::End(), NoError); // not opened
}

class HostMemory : public HostTest {};

TEST_F(HostMemory, HandlesAreCountedAndDoubleFreesCaught)
{
	const int before = vhost::LiveHandles();
	GSHandle h = BMAllocateHandle(12, ALLOCATE_CLEAR, 0);
	ASSERT_NE(h, nullptr);
	EXPECT_EQ(BMGetHandleSize(h), 12);
	EXPECT_EQ((*h)[11], 0);
	h = BMReallocHandle(h, 40, 0, 0);
	EXPECT_EQ(BMGetHandleSize(h), 40);
	EXPECT_EQ(vhost::LiveHandles(), before + 1);
	GSHandle copy = h;
	EXPECT_EQ(BMKillHandle(&h), NoError);
	EXPECT_EQ(h, nullptr);
	EXPECT_EQ(vhost::LiveHandles(), before);
	EXPECT_EQ(BMKillHandle(&copy), ErrNilHandle);
	ASSERT_EQ(Host().memoryFaults.size(), 1u);
	Host().memoryFaults.clear(); // seen; the fixture checks for no others

	// Pointers the same way.
	GSPtr p = BMAllocatePtr(8, ALLOCATE_CLEAR, 0);
	ASSERT_NE(p, nullptr);
	EXPECT_EQ(vhost::LiveHandles(), before + 1);
	GSPtr pCopy = p;
	EXPECT_EQ(BMKillPtr(&p), NoError);
	EXPECT_EQ(p, nullptr);
	EXPECT_EQ(vhost::LiveHandles(), before);
	EXPECT_EQ(BMKillPtr(&pCopy), ErrNilHandle);
	ASSERT_EQ(Host().memoryFaults.size(), 1u);
	EXPECT_NE(Host().memoryFaults[0].find("BMKillPtr"), std::string::npos);
	Host().memoryFaults.clear();
}

class HostUndo : public HostTest {};

TEST_F(HostUndo, FailedStepIsRolledBackAndJournalled)
{
	auto addElement = [] {
		if (const GSErrCode err = vhost::CheckUndoScope()) return err;
		vhost::Current().state.elements.push_back(vhost::ElementRecord());
		return NoError;
	};
	EXPECT_EQ(addElement(), APIERR_NEEDSUNDOSCOPE);
	EXPECT_EQ(ACAPI_CallUndoableCommand("Good", addElement), NoError);
	EXPECT_EQ(ACAPI_CallUndoableCommand("Bad", [&] { addElement(); return APIERR_GENERAL; }), APIERR_GENERAL);
	EXPECT_EQ(ACAPI_CallUndoableCommand("Throws", [&]() -> GSErrCode { addElement(); throw std::runtime_error("x"); }), Error);
	EXPECT_EQ(Host().state.elements.size(), 1u);
	ASSERT_EQ(Host().undo.size(), 3u);
	EXPECT_EQ(Host().undo[0].name, "Good");
	EXPECT_FALSE(Host().undo[0].rolledBack);
	EXPECT_TRUE(Host().undo[1].rolledBack);
	EXPECT_EQ(Host().undo[1].result, APIERR_GENERAL);
	EXPECT_TRUE(Host().undo[2].rolledBack);
	EXPECT_EQ(Host().exceptions.size(), 1u);
}

TEST_F(HostUndo, StepsDoNotNest)
{
	GSErrCode inner = NoError;
	EXPECT_EQ(ACAPI_CallUndoableCommand("Outer", [&] {
		inner = ACAPI_CallUndoableCommand("Inner", [] { return NoError; });
		return NoError;
	}), NoError);
	EXPECT_EQ(inner, APIERR_NESTING);
	ASSERT_EQ(Host().undo.size(), 1u);
	EXPECT_EQ(Host().undo[0].name, "Outer");
	EXPECT_FALSE(Host().undo[0].rolledBack);
}

class HostAddon : public HostTest {};

TEST_F(HostAddon, LoadsModuleRunsMenusAndCatchesExceptions)
{
	vhost::AddonEntryPoints entries;
	void* module = nullptr;
	std::string error;
	ASSERT_TRUE(vhost::LoadAddonModule(VELMORA_BUILD_DIR "/testaddon/test_addon_module.so", entries, module, error)) << error;
	Host().languageCode = "NOR";
	ASSERT_TRUE(vhost::StartAddon(entries, error)) << error;
	EXPECT_EQ(Host().addonName, "TestAddon");
	EXPECT_EQ(Host().addonDescription, "A test add-on (NOR)");
	ASSERT_EQ(Host().menus.size(), 3u);
	EXPECT_EQ(Host().menus[1].promptResID, 111);

	EXPECT_EQ(vhost::RunMenuCommand(100), NoError);
	ASSERT_EQ(ReportTexts(), std::vector<std::string>{"hello from menu 100"});
	EXPECT_TRUE(vhost::RunIsClean());
	EXPECT_EQ(vhost::RunMenuCommand(101), Error);
	EXPECT_EQ(vhost::RunMenuCommand(102), Error);
	EXPECT_EQ(vhost::RunMenuCommand(999), APIERR_BADID);
	ASSERT_EQ(Host().exceptions.size(), 2u);
	EXPECT_EQ(Host().exceptions[0], "MenuCommandHandler: thrown by menu 101");
	EXPECT_EQ(Host().exceptions[1], "MenuCommandHandler: C string from menu 102");
	EXPECT_FALSE(vhost::RunIsClean());
	EXPECT_EQ(vhost::StopAddon(entries), NoError);
	vhost::UnloadAddonModule(module);
}

TEST_F(HostAddon, ModuleWithoutEntryPointsIsRefused)
{
	vhost::AddonEntryPoints entries;
	void* module = nullptr;
	std::string error;
	EXPECT_FALSE(vhost::LoadAddonModule(RunRoot() + "/none.so", entries, module, error));
	EXPECT_NE(error.find("cannot load"), std::string::npos);
}

// velmora-host keeps the add-on's standard output off its own: in the log with --out, nowhere
// without it, on standard output with --verbose; what the add-on left unflushed is not lost.
TEST(HostCommandLine, TheAddonsStandardOutputGoesToTheLogNowhereOrThrough)
{
	const std::string written = "initialized;menu 100 ran; through both streams; freed";
	const struct { const char* options; bool log; bool through; } cases[] = {
		{"--out '%/out'", true, false},
		{"", false, false},
		{"--verbose --out '%/out'", false, true},
	};
	for (const auto& c : cases) {
		SCOPED_TRACE(c.options);
		testsupport::TempDir dir;
		std::string options = c.options;
		for (std::size_t at; (at = options.find('%')) != std::string::npos;) options.replace(at, 1, dir.Path());
		const std::string line = testsupport::BuildProgram("velmora-host") + " --addon '" VELMORA_BUILD_DIR "/testaddon/test_addon_module.so' --home '" +
			dir.Path() + "/home' " + options + " menu 100 >'" + dir.Path() + "/stdout.txt' 2>'" + dir.Path() + "/stderr.txt'";
		EXPECT_EQ(std::system(line.c_str()), 0) << testsupport::ReadFile(dir / "stderr.txt");
		EXPECT_EQ(testsupport::ReadFile(dir / "stdout.txt"), c.through ? written : "");
		EXPECT_EQ(std::filesystem::exists(dir / "out/addon-output.log"), c.log);
		if (c.log) {
			EXPECT_EQ(testsupport::ReadFile(dir / "out/addon-output.log"), written);
		}
	}
}

TEST(HostScript, ParsesStepsAndRejectsBadLines)
{
	std::vector<vhost::ScriptStep> steps;
	std::string error;
	ASSERT_TRUE(vhost::ParseScript("dialog 32502 # settings\n\ntext 103 \"åse/\\\"Kart\\\"\"\nclick 1\n", steps, error)) << error;
	ASSERT_EQ(steps.size(), 3u);
	EXPECT_EQ(steps[1].line, 3);
	EXPECT_EQ(steps[1].args[1], "åse/\"Kart\"");
	for (const char* bad : {"jump 3\n", "click\n", "text 3 \"open\n", "listclick 1 2\n"}) {
		steps.clear();
		EXPECT_FALSE(vhost::ParseScript(bad, steps, error)) << bad;
		EXPECT_EQ(error.rfind("line 1:", 0), 0u) << error;
	}
}

} // namespace
