#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "ACAPinc.h"
#include "TestSupport.hpp"
#include "VelmoraMain.hpp"
#include "vhost/Text.hpp"

namespace {

using testsupport::HostTest;
class Entry : public HostTest {};

constexpr const char* kUnknown = "Velmora / MenuCommandHandler# unknown code???";
constexpr const char* kIOFailure = "Fatal Error point: IO::Init()";

GSErrCode RunMenu(Int16 id)
{
	API_MenuParams params;
	BNZeroMemory(&params, sizeof params);
	params.menuItemRef.menuResID = id;
	params.menuItemRef.itemIndex = 1;
	return MenuCommandHandler(&params);
}

TEST_F(Entry, OnlyNORExactlyIsNorwegian)
{
	struct Case { const char* code; bool norwegian; };
	for (const Case c : {Case{"NOR", true}, Case{"nor", false}, Case{"Nor", false}, Case{"NORW", false}, Case{"NO", false},
		     Case{" NOR", false}, Case{"INT", false}, Case{"", false}}) {
		Host().languageCode = c.code;
		EXPECT_EQ(IsArchiCADNorwegian(), c.norwegian) << '"' << c.code << '"';
	}
}

TEST_F(Entry, RegistersAndInstallsTheSixMenusOfTheLanguageSet)
{
	struct Case { const char* code; Int16 first; };
	for (const Case c : {Case{"INT", 32501}, Case{"NOR", 32521}, Case{"nor", 32501}}) {
		vhost::Reset(RunRoot(), VELMORA_BUILD_DIR);
		Host().languageCode = c.code;
		ASSERT_EQ(AddonRegisterInterface(), NoError) << c.code;
		ASSERT_EQ(AddonInitialize(), NoError) << c.code;
		ASSERT_EQ(Host().menus.size(), 6u) << c.code;
		for (Int16 i = 0; i < 6; ++i) {
			const vhost::MenuRegistration& m = Host().menus[static_cast<std::size_t>(i)];
			EXPECT_EQ(m.menuResID, c.first + i) << c.code;
			EXPECT_EQ(m.promptResID, c.first + i + 10) << c.code;
			EXPECT_EQ(m.menuCode, 0);
			EXPECT_EQ(m.flags, i == 2 ? 3u : 0u) << c.code << " menu " << m.menuResID;
			EXPECT_EQ(Host().menuHandlers.count(m.menuResID), 1u) << m.menuResID;
		}
		EXPECT_EQ(Host().menuHandlers.size(), 6u);
	}
}

TEST_F(Entry, RegistrationStopsAtTheFirstFailure)
{
	Host().menus.push_back({32503, 32513, 0, 0}); // the host refuses a menu registered twice
	EXPECT_EQ(AddonRegisterInterface(), APIERR_REFUSEDCMD);
	ASSERT_EQ(Host().menus.size(), 3u);
	EXPECT_EQ(Host().menus[1].menuResID, 32501);
	EXPECT_EQ(Host().menus[2].menuResID, 32502);
}

TEST_F(Entry, CheckEnvironmentNamesTheAddon)
{
	API_EnvirParams envir {};
	EXPECT_EQ(AddonCheckEnvironment(&envir), APIAddon_Normal);
	EXPECT_EQ(envir.addOnInfo.name, "Velmora");
	EXPECT_FALSE(envir.addOnInfo.description.IsEmpty());
	EXPECT_EQ(AddonFreeData(), NoError);
}

TEST_F(Entry, BothIdsOfEachRowReachTheirCommandInEitherLanguage)
{
	const char* const names[] = {"mainmenu_websitelogin", "mainmenu_importmap", "mainmenu_settingsdefault",
		"mainmenu_help", "mainmenu_support", "mainmenu_about"};
	for (const char* language : {"INT", "NOR"}) {
		Host().languageCode = language;
		for (Int16 row = 0; row < 6; ++row) {
			for (const Int16 id : {static_cast<Int16>(32501 + row), static_cast<Int16>(32521 + row)}) {
				const MenuCommand* command = FindMenuCommand(id);
				ASSERT_NE(command, nullptr) << id;
				EXPECT_STREQ(command->commandName, names[row]) << id;
				EXPECT_EQ(RunMenu(id), NoError) << language << " " << id;
			}
		}
	}
	EXPECT_TRUE(Host().reports.empty());
	EXPECT_EQ(Host().ioInitDepth, 0);
}

TEST_F(Entry, UnknownIdsAlertAndRunNothing)
{
	for (const Int16 id : {Int16{32500}, Int16{32507}, Int16{32511}, Int16{32520}, Int16{32527}, Int16{0}, Int16{-1}}) {
		Host().reports.clear();
		EXPECT_EQ(FindMenuCommand(id), nullptr) << id;
		EXPECT_EQ(RunMenu(id), NoError) << id;
		ASSERT_EQ(Host().reports.size(), 1u) << id;
		EXPECT_EQ(Host().reports[0].text, kUnknown);
		EXPECT_TRUE(Host().reports[0].alert);
	}
	EXPECT_EQ(MenuCommandHandler(nullptr), NoError);
	EXPECT_EQ(Host().ioInitDepth, 0);
}

TEST_F(Entry, IOInitFailingRunsNothingAndSkipsEnd)
{
	vhost::InjectFault("IO::Init", ErrFileSystem, "", 1);
	vhost::InjectFault("IO::End", ErrFileSystem, "", 1);
	EXPECT_EQ(RunMenu(32507), APIERR_GENERAL);
	ASSERT_EQ(Host().reports.size(), 1u); // no unknown-code alert: nothing was dispatched
	EXPECT_EQ(Host().reports[0].text, kIOFailure);
	EXPECT_TRUE(Host().reports[0].alert);
	EXPECT_EQ(Host().faults[1].remaining, 1) << "IO::End was called";
}

TEST_F(Entry, IOEndFailingIsAnErrorAfterTheCommand)
{
	vhost::InjectFault("IO::End", ErrFileSystem, "", 1);
	EXPECT_EQ(RunMenu(32507), APIERR_GENERAL);
	ASSERT_EQ(Host().reports.size(), 2u);
	EXPECT_EQ(Host().reports[0].text, kUnknown);
	EXPECT_EQ(Host().reports[1].text, kIOFailure);
	EXPECT_TRUE(Host().reports[1].alert);
}

TEST(Platform, LinuxBuild)
{
	EXPECT_TRUE(IsOSLinux());
	EXPECT_FALSE(IsOSMacintosh());
	EXPECT_FALSE(IsOSWindows());
}

TEST(Paths, BackslashBeforeEverySpace)
{
	struct Case { const char* path; const char* escaped; };
	for (const Case c : {Case{"/a  b/c d", "/a\\ \\ b/c\\ d"}, Case{"/plain/path", "/plain/path"}, Case{"", ""},
		     Case{"/æ ø/'q'", "/æ\\ ø/'q'"}}) {
		EXPECT_EQ(vhost::ToUtf8(macintosh_filepath_update(GS::UniString(c.path))), c.escaped) << c.path;
	}
}

TEST(Paths, ShellQuoteWrapsOneArgument)
{
	struct Case { const char* text; const char* quoted; };
	for (const Case c : {Case{"", "''"}, Case{"a b", "'a b'"}, Case{"it's", "'it'\\''s'"}, Case{"$HOME `x` \\", "'$HOME `x` \\'"}}) {
		EXPECT_EQ(vhost::ToUtf8(shell_quote(GS::UniString(c.text))), c.quoted) << c.text;
	}
}

TEST_F(Entry, QuotedPathsSurviveTheShell)
{
	const std::string weird = "Kart 'gamle' $HOME `id` \"x\" \\ æøå";
	const std::string out = RunRoot() + "/Temp/out file.txt";
	system_shell(GS::UniString("printf '%s' ") + shell_quote(GS::UniString(weird)) + " > " + shell_quote(GS::UniString(out)));
	EXPECT_EQ(testsupport::ReadFile(out), weird);
}

TEST_F(Entry, ShellCommandOfThreeByteCharactersFits)
{
	const std::string alef = "\xE2\x84\xB5"; // U+2135: three bytes of UTF-8 for one unit
	// Only the command made wholly of such characters fills the buffer (3 bytes a unit and
	// the zero); the shell answers "not found" for it, which is ignored.
	for (const std::string& command : {"true " + alef + alef + alef + alef, alef, alef + alef + alef + alef + alef}) {
		Host().shell.clear();
		system_shell(GS::UniString(command));
		ASSERT_EQ(Host().shell.size(), 1u) << command;
		EXPECT_EQ(Host().shell.back(), command);
	}
}

} // namespace
