// The settings menu command run end to end by velmora-host with the real module.
#include <cstdlib>
#include <string>

#include <gtest/gtest.h>
#include <nlohmann/json.hpp>

#include "TestSupport.hpp"

namespace {

TEST(SettingsCommandRun, PenSetInTheDialogReachesTheUserFile)
{
	const struct { const char* language; int menu; int dialog; } cases[] = {{"INT", 32503, 32502}, {"NOR", 32523, 32522}};
	for (const auto& c : cases) {
		SCOPED_TRACE(c.language);
		testsupport::TempDir dir;
		testsupport::WriteFile(dir / "script.txt", "dialog " + std::to_string(c.dialog) + "\nexpect value 63 2\nset 35 7\nexpect value 63 7\nclick 1\n");
		const std::string command = testsupport::BuildProgram("velmora-host") + " --home '" + dir.Path() + "/home' --script '" +
			dir.Path() + "/script.txt' --out '" + dir.Path() + "/out' --language " + c.language + " menu " + std::to_string(c.menu);
		ASSERT_EQ(std::system(command.c_str()), 0) << command;
		const std::string saved = testsupport::ReadFile(dir / "home/Common Documents/Velmora/terrainsettings.txt");
		EXPECT_NE(saved.find("\r\n[pen_fences=7]\r\n"), std::string::npos) << saved;
		EXPECT_EQ(saved.find("[pen_fences=2]"), std::string::npos);
		const nlohmann::json project = nlohmann::json::parse(testsupport::ReadFile(dir / "out/project.json"));
		EXPECT_TRUE(project["reports"].empty());
		ASSERT_EQ(project["menuRuns"].size(), 1u);
		EXPECT_EQ(project["menuRuns"][0]["result"], 0);
	}
}

} // namespace
