// The update trigger: once per host run, the alert from string lists 130/131, only https
// locations offered; and the same through velmora-host with the real module.
#include <cstdlib>
#include <string>

#include <gtest/gtest.h>
#include <nlohmann/json.hpp>

#include "Functions/SearchUpdate.hpp"
#include "LoopbackHttpServer.hpp"
#include "TestSupport.hpp"
#include "vhost/Script.hpp"

namespace {

using testsupport::LoopbackHttpServer;
using testsupport::ScopedEnv;

std::string NewerReply(const std::string& location)
{
	return "{\"version\": {\"major\": 3, \"minor\": 1, \"patch\": 0}, \"changelog\": [], \"update_location\": \"" +
		location + "\"}";
}

class UpdateTrigger : public testsupport::HostTest {
protected:
	void SetUp() override
	{
		HostTest::SetUp();
		VelmoraUpdateChecked = false; // a new host run
	}
	void Script(const std::string& text)
	{
		std::vector<vhost::ScriptStep> steps;
		std::string error;
		ASSERT_TRUE(vhost::ParseScript(text, steps, error)) << error;
		vhost::SetScript(steps);
	}
};

TEST(UpdateBase, OnlyHttpsOrLoopbackHttp)
{
	const struct { const char* base; bool usable; } cases[] = {
		{"https://www.velmora.example", true}, {"https://updates.example:8443/", true},
		{"http://127.0.0.1:8123", true}, {"http://localhost:8123", true}, {"http://[::1]:8123", true},
		{"http://127.0.0.1", true}, {"http://10.0.0.1:8123", false}, {"http://velmora.example", false},
		{"http://127.0.0.1.evil.example", false}, {"http://127.0.0.1:80@evil.example", false},
		{"https://x.example/path", false}, {"https://x.example?q", false}, {"ftp://127.0.0.1", false},
		{"https://", false}, {"http://127.0.0.1:", false}, {"", false}, {"https://a b.example", false},
	};
	for (const auto& c : cases) {
		SCOPED_TRACE(c.base);
		EXPECT_EQ(IsUsableUpdateBase(c.base), c.usable);
	}
}

TEST(UpdateBase, QueryUrlFromTheEnvironmentOrTheDefault)
{
	{
		ScopedEnv env("VELMORA_UPDATE_BASE", "http://127.0.0.1:8123/");
		EXPECT_EQ(UpdateQueryUrl(), "http://127.0.0.1:8123/kivel_update/kivel_update.php?id=velmora");
	}
	{
		ScopedEnv env("VELMORA_UPDATE_BASE", "http://updates.example");
		EXPECT_EQ(UpdateQueryUrl(), "https://www.velmora.example/kivel_update/kivel_update.php?id=velmora");
	}
	{
		ScopedEnv env("VELMORA_UPDATE_BASE", "");
		::unsetenv("VELMORA_UPDATE_BASE");
		EXPECT_EQ(UpdateQueryUrl(), "https://www.velmora.example/kivel_update/kivel_update.php?id=velmora");
	}
}

TEST(UpdateLocation, OnlyAbsoluteHttpsIsOffered)
{
	const struct { const char* location; bool offered; } cases[] = {
		{"https://www.velmora.example/download", true}, {"HTTPS://www.velmora.example", true},
		{"https://www.velmora.example:443/a?b=c#d", true}, {"http://www.velmora.example/download", false},
		{"file:///etc/passwd", false}, {"javascript:alert(1)", false}, {"/download", false}, {"", false},
		{"https://", false}, {"https:///path", false}, {"https://a b.example", false},
		{"https://x.example/\nrm -rf", false}, {"www.velmora.example", false}, {"https://x.example/a b", false},
		{"https://x.example/a\x7F" "b", false},
	};
	for (const auto& c : cases) {
		SCOPED_TRACE(c.location);
		EXPECT_EQ(IsOfferableLocation(c.location), c.offered);
	}
}

TEST_F(UpdateTrigger, FirstCallOnlyAsksAndAlertsFirstButtonOpensTheLocation)
{
	LoopbackHttpServer server(NewerReply("https://www.velmora.example/download"));
	ScopedEnv env("VELMORA_UPDATE_BASE", server.Base());
	Script("alert 1\n");
	EXPECT_EQ(Do_SearchUpdate(), 0);
	EXPECT_EQ(Do_SearchUpdate(), 0);
	EXPECT_EQ(server.Requests().size(), 1u);
	ASSERT_EQ(Host().alerts.size(), 1u);
	const vhost::AlertRecord& alert = Host().alerts[0];
	EXPECT_EQ(alert.type, -2);
	EXPECT_EQ(alert.title, "Velmora update");
	EXPECT_EQ(alert.largeText, "A newer version of Velmora is available. Do you want to open the download page?");
	EXPECT_EQ(alert.smallText, "");
	EXPECT_EQ(alert.buttons, (std::vector<std::string>{"Download", "Later"}));
	EXPECT_EQ(Host().urls, (std::vector<std::string>{"https://www.velmora.example/download"}));
	EXPECT_TRUE(Host().keepInMemory);
	EXPECT_EQ(Host().keepInMemoryRequests, 2); // the later command asks too
}

TEST_F(UpdateTrigger, AlertButtonsAndLanguages)
{
	const struct { const char* language; int button; const char* title; bool opens; } cases[] = {
		{"INT", 1, "Velmora update", true}, {"INT", 2, "Velmora update", false},
		{"NOR", 1, "Velmora-oppdatering", true}, {"NOR", 2, "Velmora-oppdatering", false},
	};
	LoopbackHttpServer server(NewerReply("https://www.velmora.example/download"));
	ScopedEnv env("VELMORA_UPDATE_BASE", server.Base());
	for (const auto& c : cases) {
		SCOPED_TRACE(std::string(c.language) + " button " + std::to_string(c.button));
		SetUp();
		Host().languageCode = c.language;
		Script("alert " + std::to_string(c.button) + "\n");
		Do_SearchUpdate();
		Do_SearchUpdate();
		ASSERT_EQ(Host().alerts.size(), 1u);
		EXPECT_EQ(Host().alerts[0].title, c.title);
		EXPECT_EQ(Host().urls.size(), c.opens ? 1u : 0u);
		EXPECT_TRUE(Host().scriptErrors.empty());
	}
}

TEST_F(UpdateTrigger, NoAlertWithoutAnUpdateAtAnHttpsLocation)
{
	const std::string cases[] = {
		NewerReply("http://www.velmora.example/download"),
		NewerReply("javascript:alert(1)"),
		NewerReply(""),
		"{\"version\": {\"major\": 3, \"minor\": 0, \"patch\": 5}, \"changelog\": [], \"update_location\": \"https://x.example\"}",
		"{\"version\": {\"major\": 9}, \"update_location\": \"https://x.example\"}",
		"<html>",
	};
	LoopbackHttpServer server("");
	ScopedEnv env("VELMORA_UPDATE_BASE", server.Base());
	for (const std::string& body : cases) {
		SCOPED_TRACE(body);
		SetUp();
		server.SetBody(body);
		EXPECT_EQ(Do_SearchUpdate(), 0);
		EXPECT_TRUE(VelmoraUpdateChecked);
		EXPECT_TRUE(Host().alerts.empty());
		EXPECT_TRUE(Host().urls.empty());
		EXPECT_TRUE(Host().keepInMemory);
	}
	EXPECT_EQ(server.Requests().size(), std::size(cases));
}

TEST(UpdateTriggerRun, VelmoraHostAlertsOnTheFirstCommandOnly)
{
	LoopbackHttpServer server(NewerReply("https://www.velmora.example/download"));
	ScopedEnv env("VELMORA_UPDATE_BASE", server.Base());
	testsupport::TempDir dir;
	testsupport::WriteFile(dir / "script.txt", "alert 1\ndialog 32504\nclick 1\ndialog 32504\nclick 1\n");
	const std::string command = testsupport::BuildProgram("velmora-host") + " --home '" + dir.Path() +
		"/home' --script '" + dir.Path() + "/script.txt' --out '" + dir.Path() + "/out' menu 32506 menu 32506";
	ASSERT_EQ(std::system(command.c_str()), 0) << command;
	EXPECT_EQ(server.Requests().size(), 1u);
	const nlohmann::json project = nlohmann::json::parse(testsupport::ReadFile(dir / "out/project.json"));
	ASSERT_EQ(project["alerts"].size(), 1u);
	EXPECT_EQ(project["alerts"][0]["title"], "Velmora update");
	EXPECT_EQ(project["urls"], nlohmann::json::array({"https://www.velmora.example/download"}));
	EXPECT_EQ(project["menuRuns"].size(), 2u);
}

} // namespace
