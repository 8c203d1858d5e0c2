// The real module, loaded and run by velmora-host.
#include <cstdlib>
#include <string>

#include <gtest/gtest.h>
#include <nlohmann/json.hpp>

#include "TestSupport.hpp"

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
		const std::string command = std::string(VELMORA_BUILD_DIR) + "/velmora-host --home '" + dir.Path() + "/home' --script '" +
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

} // namespace
