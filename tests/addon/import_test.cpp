// The import command of velmora-host on our sample package, as a folder and as a ZIP.
#include <cstdlib>
#include <set>
#include <string>
#include <sys/wait.h>

#include <gtest/gtest.h>
#include <nlohmann/json.hpp>

#include "TestSupport.hpp"

namespace {

// Runs a program line; answers its exit status and what it wrote on stderr.
int RunLine(const testsupport::TempDir& dir, const std::string& line, std::string& stderrText)
{
	const int status = std::system((line + " >'" + dir.Path() + "/stdout.txt' 2>'" + dir.Path() + "/stderr.txt'").c_str());
	stderrText = testsupport::ReadFile(dir / "stderr.txt");
	return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
}

TEST(Import, SamplePackageAsFolderAndAsZip)
{
	for (const bool zip : {false, true}) {
		SCOPED_TRACE(zip ? "ZIP" : "folder");
		testsupport::TempDir dir;
		// A name with a space and a quote: the package path reaches the script quoted.
		const std::string package = dir.Path() + "/Kart \"B\"" + (zip ? ".zip" : "");
		std::string err;
		ASSERT_EQ(RunLine(dir, testsupport::BuildProgram("make_sample_package") + " " + (zip ? "--zip " : "") + "'" + package + "'", err), 0) << err;
		ASSERT_EQ(RunLine(dir, testsupport::BuildProgram("velmora-host") + " --home '" + dir.Path() + "/home' --out '" + dir.Path() + "/out' import '" +
		                       package + "'", err),
		          0) << err;
		EXPECT_TRUE(std::filesystem::is_directory(dir / "home/Documents/Velmora/Kart \"B\"/3D-modell"));
		const nlohmann::json project = nlohmann::json::parse(testsupport::ReadFile(dir / "out/project.json"));

		std::vector<std::string> steps;
		for (const auto& step : project["undo"]) {
			steps.push_back(step["name"]);
			EXPECT_EQ(step["result"], 0) << step["name"];
			EXPECT_FALSE(step["rolledBack"].get<bool>()) << step["name"];
		}
		EXPECT_EQ(steps, (std::vector<std::string>{"Placing VELMORA Geocoordinate", "Placing VELMORA elements",
		                                           "Placing VELMORA mesh elements", "Placing VELMORA elements",
		                                           "Cutting VELMORA mesh elements"}));

		std::set<std::string> parts;
		for (const auto& part : project["libraryParts"]) parts.insert(part["name"]);
		for (const char* layer : {"Veg", "Gjerder", "Objekter", "Vann", "Vegetasjon"}) EXPECT_EQ(parts.count(std::string("Kart \"B\"_") + layer), 1u) << layer;
		EXPECT_TRUE(std::filesystem::is_directory(dir / "out/library"));

		bool mesh = false;
		for (const auto& e : project["elements"]) mesh |= e["type"] == "Mesh";
		EXPECT_TRUE(mesh);
		// The terrain is cut by the road and the water.
		ASSERT_FALSE(project["solidLinks"].empty());
		EXPECT_TRUE(std::filesystem::exists(dir / "out/plan.svg"));
		EXPECT_TRUE(project["exceptions"].empty());
	}
}

// A folder goes to the import folder the settings chose, where the command lists it.
TEST(Import, FolderIsCopiedToTheImportFolderOfTheSettings)
{
	testsupport::TempDir dir;
	const std::string chosen = dir.Path() + "/Mine kart";
	std::string hex;
	for (const unsigned char c : chosen) {
		static const char digits[] = "0123456789ABCDEF";
		hex += digits[c >> 4];
		hex += digits[c & 15];
	}
	testsupport::WriteFile(dir / "home/Common Documents/Velmora/terrainsettings.txt", "[user_import_folder=" + hex + "]");
	std::filesystem::create_directories(dir / "Mine kart/Another");
	std::string err;
	ASSERT_EQ(RunLine(dir, testsupport::BuildProgram("make_sample_package") + " '" + dir.Path() + "/Prøvekart'", err), 0) << err;
	ASSERT_EQ(RunLine(dir, testsupport::BuildProgram("velmora-host") + " --home '" + dir.Path() + "/home' --out '" + dir.Path() +
	                           "/out' import '" + dir.Path() + "/Prøvekart'", err),
	          0) << err;
	EXPECT_TRUE(std::filesystem::is_directory(dir / "Mine kart/Prøvekart/3D-modell"));
	EXPECT_FALSE(std::filesystem::exists(dir / "home/Documents/Velmora/Prøvekart"));
	const nlohmann::json project = nlohmann::json::parse(testsupport::ReadFile(dir / "out/project.json"));
	bool road = false;
	for (const auto& part : project["libraryParts"]) road |= part["name"] == "Prøvekart_Veg";
	EXPECT_TRUE(road);
}

// A package that is neither a folder nor a .zip is a bad argument.
TEST(Import, MissingPackageIsABadArgument)
{
	testsupport::TempDir dir;
	std::string err;
	EXPECT_EQ(RunLine(dir, testsupport::BuildProgram("velmora-host") + " --home '" + dir.Path() + "/home' import '" + dir.Path() +
	                       "/none'", err),
	          2);
	EXPECT_NE(err.find("is neither a package folder nor a .zip"), std::string::npos) << err;
}

} // namespace
