// The login, support, help and about commands over a host project whose add-on folder is the
// test's own (its "url.txt", its user guide, its resources).
#include <filesystem>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "Functions/mainmenu_about.hpp"
#include "Functions/mainmenu_help.hpp"
#include "Functions/mainmenu_support.hpp"
#include "Functions/mainmenu_websitelogin.hpp"
#include "TestSupport.hpp"
#include "vhost/Platform.hpp"
#include "vhost/Script.hpp"

namespace {

using testsupport::TempDir;
using testsupport::WriteFile;

const char* const kUrls =
	"[open_main=https://www.velmora.example/login]\r\n"
	"[help_userguide_file_name=Guide's$(touch${IFS}pwned).pdf]\r\n"
	"[help_youtube_videos=https://www.velmora.example/videos]\r\n"
	"[help_terrain_data_web_url=https://www.velmora.example/terrain-data]\r\n"
	"[support_main=https://www.velmora.example/support]\r\n";

class Commands : public testsupport::HostTest {
protected:
	void SetUp() override
	{
		HostTest::SetUp();
		vhost::Project& p = Host();
		// A folder name with a space and a quote: the path is quoted whole for the shell.
		p.addonFolder = Folder();
		p.addonFile = Folder() + "/Velmora.so";
		vhost::PrepareShell(VELMORA_SOURCE_DIR "/host/tools");
	}
	void Script(const std::string& text)
	{
		std::vector<vhost::ScriptStep> steps;
		std::string error;
		ASSERT_TRUE(vhost::ParseScript(text, steps, error)) << error;
		vhost::SetScript(steps);
	}
	std::string Folder() const { return addon_ / "Add-on 'folder'"; }
	void UseResources(const std::string& text)
	{
		WriteFile(addon_ / "Velmora.rsrc", text);
		Host().resourceFile = addon_ / "Velmora.rsrc";
		Host().resources.reset();
	}
	TempDir addon_;
};

TEST_F(Commands, WebCommandsOpenTheirAddress)
{
	WriteFile(Folder() + "/url.txt", kUrls);
	mainmenu_websitelogin().do_it();
	mainmenu_support().do_it();
	EXPECT_EQ(Host().urls, (std::vector<std::string>{"https://www.velmora.example/login", "https://www.velmora.example/support"}));
	EXPECT_TRUE(Host().reports.empty());
}

TEST_F(Commands, MissingSupportAddressOpensNothingAndReportsNothing)
{
	WriteFile(Folder() + "/url.txt", "[open_main=https://www.velmora.example/login]\r\n");
	mainmenu_support().do_it();
	EXPECT_TRUE(Host().urls.empty());
	EXPECT_TRUE(Host().reports.empty());
}

TEST_F(Commands, UnreadableUrlFileIsReportedWithTheCommandsPrefix)
{
	const struct { const char* why; bool write; } files[] = {{"missing", false}, {"empty", true}};
	const struct { const char* prefix; void (*run)(); } commands[] = {
		{"Error point: VELMORA / MenuWebsiteLogin() / t_url->init() / url_ini::init() / ", [] { mainmenu_websitelogin().do_it(); }},
		{"Error point: VELMORA / MenuSupportOpen() / t_url->init() / url_ini::init() / ", [] { mainmenu_support().do_it(); }},
		{"Error point: VELMORA / MenuHelpOpen() / t_url->init() / url_ini::init() / ", [] { mainmenu_help().do_it(); }},
	};
	for (const auto& f : files) {
		for (const auto& c : commands) {
			SCOPED_TRACE(std::string(f.why) + ": " + c.prefix);
			SetUp();
			if (f.write) WriteFile(Folder() + "/url.txt", "");
			c.run();
			ASSERT_EQ(Host().reports.size(), 1u);
			EXPECT_EQ(Host().reports[0].text.rfind(c.prefix, 0), 0u) << Host().reports[0].text;
			EXPECT_GT(Host().reports[0].text.size(), std::string(c.prefix).size());
			EXPECT_TRUE(Host().reports[0].alert);
			EXPECT_TRUE(Host().urls.empty());
			EXPECT_TRUE(Host().dialogsShown.empty());
		}
	}
}

TEST_F(Commands, HelpDialogItemsWithAndWithoutTheUserGuide)
{
	const testsupport::ScopedWorkingFolder here; // where a planted relative "touch" would land
	const std::string guide = Folder() + "/Guide's$(touch${IFS}pwned).pdf";
	const struct { const char* language; bool guideThere; short dialog; } cases[] = {
		{"INT", true, 32503}, {"INT", false, 32503}, {"NOR", true, 32523},
	};
	for (const auto& c : cases) {
		SCOPED_TRACE(std::string(c.language) + (c.guideThere ? " with" : " without") + " the guide");
		SetUp();
		Host().languageCode = c.language;
		WriteFile(Folder() + "/url.txt", kUrls);
		if (c.guideThere) WriteFile(guide, "%PDF");
		else std::remove(guide.c_str());
		WriteFile(Host().runRoot + "/open.log", "");
		::setenv("VHOST_OPEN_LOG", (Host().runRoot + "/open.log").c_str(), 1);
		Script("dialog " + std::to_string(c.dialog) + "\nclick 3\nclick 3\nclick 5\nclick 7\nclick 1\n");
		mainmenu_help().do_it();
		::unsetenv("VHOST_OPEN_LOG");
		EXPECT_TRUE(Host().scriptErrors.empty());
		ASSERT_EQ(Host().dialogsShown.size(), 1u);
		EXPECT_EQ(Host().dialogsShown[0].closedBy, 1);
		EXPECT_EQ(Host().urls, (std::vector<std::string>{"https://www.velmora.example/videos",
			"https://www.velmora.example/terrain-data"}));
		const std::string opened = testsupport::ReadFile(Host().runRoot + "/open.log");
		EXPECT_EQ(opened, c.guideThere ? guide + "\n" + guide + "\n" : "");
		EXPECT_FALSE(std::filesystem::exists("pwned"));
	}
}

TEST_F(Commands, AboutDialogReplacesEveryPlaceholder)
{
	UseResources(
		"dialog 32504 \"About\"\n  item 1 button \"Close\"\n  item 4 text \"v{0} ({0})\"\n  item 5 text \"no placeholder\"\nend\n"
		"dialog 32524 \"Om\"\n  item 1 button \"Lukk\"\n  item 4 text \"{0\"\n  item 5 text \"Bygget {0}\"\nend\n");
	const struct { const char* language; short dialog; const char* version; const char* date; } cases[] = {
		{"INT", 32504, "v3.0.5 (3.0.5)", "no placeholder"},
		{"NOR", 32524, "{0", "Bygget 2025.10.15"},
	};
	for (const auto& c : cases) {
		SCOPED_TRACE(c.language);
		Host().languageCode = c.language;
		Host().dialogsShown.clear();
		Script("dialog " + std::to_string(c.dialog) + "\nexpect text 4 \"" + c.version + "\"\nexpect text 5 \"" + c.date +
			"\"\nclick 1\n");
		mainmenu_about().do_it();
		EXPECT_TRUE(Host().scriptErrors.empty());
		ASSERT_EQ(Host().dialogsShown.size(), 1u);
		EXPECT_EQ(Host().dialogsShown[0].closedBy, 1);
	}
}

TEST_F(Commands, AboutDialogOfTheAddOnsResources)
{
	Script("dialog 32504\nexpect text 4 \"Version 3.0.5\"\nexpect text 5 \"Built 2025.10.15\"\nclick 1\n");
	mainmenu_about().do_it();
	EXPECT_TRUE(Host().scriptErrors.empty());
	EXPECT_EQ(AboutVersionText(), "3.0.5");
	EXPECT_EQ(AboutDateText(), "2025.10.15");
}

} // namespace
