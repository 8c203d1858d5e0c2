#include <filesystem>
#include <memory>
#include <string>

#include <gtest/gtest.h>

#include "Classes/terrain_import_ini.hpp"
#include "Helpers/StrConvert.hpp"
#include "ACAPinc.h"
#include "TestSupport.hpp"

namespace {

enum Category { Terrain, Houses, Roads, Fences, CustomObj, Water, Vegetation };

class Settings : public testsupport::HostTest {
protected:
	void SetUp() override
	{
		HostTest::SetUp();
		Host().addonFile = RunRoot() + "/Addon/Velmora.so";
		Factory("[pen_roads=5]");
	}
	void Factory(const std::string& bytes) { testsupport::WriteFile(RunRoot() + "/Addon/terrainsettings.txt", bytes); }
	std::string UserFile() const { return RunRoot() + "/Common Documents/Velmora/terrainsettings.txt"; }
	std::unique_ptr<terrain_import_ini> Loaded()
	{
		auto ini = std::make_unique<terrain_import_ini>();
		EXPECT_TRUE(ini->init()) << ini->error;
		return ini;
	}
};

TEST_F(Settings, FactoryValuesOverDefaults)
{
	const auto ini = Loaded();
	EXPECT_EQ(ini->pen[Roads], 5);
	EXPECT_EQ(ini->pen[Terrain], 1);
	EXPECT_EQ(ini->surface[Roads], 0);
	EXPECT_EQ(ini->layer[Vegetation], 1);
	EXPECT_FALSE(ini->include[Roads]);
	EXPECT_EQ(ini->customs_surroundings_layer, 1);
	// No folder set: the default import folder is used, and made.
	EXPECT_EQ(ini->user_import_folder, GS::UniString(RunRoot() + "/Documents/Velmora"));
	EXPECT_TRUE(IO::fileSystem.IsFolder(testsupport::Loc(RunRoot() + "/Documents/Velmora")));
	EXPECT_TRUE(IO::fileSystem.IsFolder(testsupport::Loc(RunRoot() + "/Common Documents/Velmora")));
}

TEST_F(Settings, UserFileOverridesAndNonNumbersKeepValues)
{
	testsupport::WriteFile(UserFile(), "[include_water=1][pen_roads=x][include_roads=-1][include_fences=2][fill_water=7]");
	const auto ini = Loaded();
	EXPECT_TRUE(ini->include[Water]);
	EXPECT_TRUE(ini->include[Roads]);
	EXPECT_TRUE(ini->include[Fences]);
	EXPECT_FALSE(ini->include[Terrain]);
	EXPECT_EQ(ini->pen[Roads], 5);
	EXPECT_EQ(ini->fill[Water], 7);
}

TEST_F(Settings, AnyNonZeroIncludeIsSavedBackAsOne)
{
	testsupport::WriteFile(UserFile(), "[include_roads=-1][include_fences=2][include_customs_2d=7][include_customs_surroundings=-3]");
	auto ini = Loaded();
	ASSERT_TRUE(ini->save()) << ini->error;
	const std::string saved = testsupport::ReadFile(UserFile());
	for (const char* record : {"[include_roads=1]\r\n", "[include_fences=1]\r\n", "[include_customs_2d=1]\r\n",
	                           "[include_customs_surroundings=1]\r\n", "[include_terrain=0]\r\n"})
		EXPECT_NE(saved.find(record), std::string::npos) << record;
}

TEST_F(Settings, NumbersBeyondTheirFieldAreHeldAtItsLimits)
{
	const struct { const char* record; Int16 penRoads; bool water; } cases[] = {
		{"[pen_roads=99999]", 32767, false},
		{"[pen_roads=-99999]", -32768, false},
		{"[pen_roads=  12abc]", 12, false},
		{"[pen_roads=+7]", 7, false},
		{"[include_water=99999999999]", 5, true},
		{"[include_water=-99999999999999999999]", 5, true},
	};
	for (const auto& c : cases) {
		testsupport::WriteFile(UserFile(), c.record);
		const auto ini = Loaded();
		EXPECT_EQ(ini->pen[Roads], c.penRoads) << c.record;
		EXPECT_EQ(ini->include[Water], c.water) << c.record;
	}
}

TEST_F(Settings, MissingFactoryFileFailsInit)
{
	std::remove((RunRoot() + "/Addon/terrainsettings.txt").c_str());
	auto ini = std::make_unique<terrain_import_ini>();
	EXPECT_FALSE(ini->init());
	EXPECT_EQ(std::string(ini->error).rfind("terrain_import_ini::init_loader() / MiniIniConfigRead# IO::File::GetDataLength *", 0), 0u)
		<< ini->error;
}

// The settings file as the format defines it, from the values of one category table.
std::string ExpectedFile(const std::string& includeRoads, const std::string& folderHex)
{
	const char* cats[] = {"terrain", "houses", "roads", "fences", "customobj", "water", "vegetation"};
	const struct { const char* prefix; const char* values[7]; } groups[] = {
		{"include_", {"0", "0", includeRoads.c_str(), "0", "0", "0", "0"}},
		{"pen_", {"1", "1", "5", "1", "1", "1", "1"}},      {"fill_", {"1", "1", "1", "1", "1", "1", "1"}},
		{"fillpen_", {"1", "1", "1", "1", "1", "1", "1"}},  {"bckgrnd_", {"0", "0", "0", "0", "0", "0", "0"}},
		{"surface_", {"0", "0", "0", "0", "0", "0", "-3"}}, {"surface_2_", {"0", "0", "0", "0", "0", "0", "0"}},
		{"layer_", {"1", "1", "1", "1", "1", "1", "1"}},
	};
	std::string out;
	for (const auto& g : groups)
		for (int c = 0; c < 7; ++c) out += std::string("[") + g.prefix + cats[c] + "=" + g.values[c] + "]\r\n";
	out += "[include_customs_2d=1]\r\n[customs_2d_pen=12]\r\n[customs_2d_layer=1]\r\n"
	       "[include_customs_surroundings=0]\r\n[customs_surroundings_pen=1]\r\n[customs_surroundings_layer=1]\r\n";
	return out + "[user_import_folder=" + folderHex + "]\r\n";
}

TEST_F(Settings, SaveWritesEveryRecordAndReadsBack)
{
	auto ini = Loaded();
	ini->include[Roads] = true;
	ini->surface[Vegetation] = -3;
	ini->include_customs_2d = true;
	ini->customs_2d_pen = 12;
	ini->user_import_folder = "  /Kart/æøå ";
	ASSERT_TRUE(ini->save()) << ini->error;
	EXPECT_EQ(ini->user_import_folder, GS::UniString("/Kart/æøå"));
	char hex[64];
	utf8_to_base16("/Kart/æøå", hex);
	EXPECT_STREQ(hex, "2F4B6172742FC3A6C3B8C3A5");
	EXPECT_EQ(testsupport::ReadFile(UserFile()), ExpectedFile("1", hex));

	const auto again = Loaded();
	EXPECT_EQ(again->user_import_folder, GS::UniString("/Kart/æøå"));
	EXPECT_TRUE(again->include[Roads]);
	EXPECT_EQ(again->surface[Vegetation], -3);
	EXPECT_EQ(again->customs_2d_pen, 12);

	// The numbers are the C locale's whatever the process locale (a pen of 1234 is not grouped).
	ini->customs_2d_pen = 1234;
	ASSERT_TRUE(ini->save()) << ini->error;
	const std::string plain = testsupport::ReadFile(UserFile());
	EXPECT_NE(plain.find("[customs_2d_pen=1234]"), std::string::npos);
	{
		const testsupport::CommaLocale comma;
		ASSERT_EQ(comma.Why(), "");
		ASSERT_TRUE(ini->save()) << ini->error;
	}
	EXPECT_EQ(testsupport::ReadFile(UserFile()), plain);
}

TEST_F(Settings, EmptyFolderFallsBackToTheDefaultNextTime)
{
	auto ini = Loaded();
	ini->user_import_folder.Clear();
	ASSERT_TRUE(ini->save());
	EXPECT_NE(testsupport::ReadFile(UserFile()).find("[user_import_folder=]\r\n"), std::string::npos);
	EXPECT_EQ(Loaded()->user_import_folder, GS::UniString(RunRoot() + "/Documents/Velmora"));
}

TEST_F(Settings, FolderTooLongForTheFileIsRefusedNotCut)
{
	auto ini = Loaded();
	ASSERT_TRUE(ini->save());
	const std::string before = testsupport::ReadFile(UserFile());
	ini->user_import_folder = GS::UniString("/" + std::string(893, 'a') + "ø"); // 896 bytes of UTF-8
	EXPECT_FALSE(ini->save());
	EXPECT_STREQ(ini->error, "terrain_import_ini::save() / user_import_folder is 896 bytes of UTF-8; at most 895 fit the settings file");
	EXPECT_EQ(testsupport::ReadFile(UserFile()), before);
	ini->user_import_folder = GS::UniString("/" + std::string(894, 'a')); // 895 bytes: fits
	EXPECT_TRUE(ini->save()) << ini->error;
	EXPECT_EQ(Loaded()->user_import_folder, ini->user_import_folder);
}

TEST_F(Settings, SaveFailsWithoutCommonDocuments)
{
	auto ini = Loaded();
	vhost::InjectFault("IO::FileSystem::GetSpecialLocation", ErrFolderNotFound, "9");
	EXPECT_FALSE(ini->save());
	EXPECT_STREQ(ini->error, "terrain_import_ini::save() / IO::FileSystem::CommonDocuments path does not exist ???");
	vhost::ClearFaults();
	vhost::InjectFault("IO::Folder::CreateFolder", ErrAccessDenied, "Velmora");
	std::filesystem::remove_all(RunRoot() + "/Common Documents/Velmora");
	EXPECT_FALSE(ini->save());
	EXPECT_STREQ(ini->error,
	             "terrain_import_ini::save() / IO::FileSystem::CommonDocuments + def_terrain_import_foldername_app path does not exist and cannot be created.");
}

TEST_F(Settings, CopyFromRespectsTheIncludeFlags)
{
	auto source = Loaded();
	source->include[Roads] = true;
	source->pen[Roads] = 40;
	source->pen[Water] = 41;
	source->include_customs_2d = true;
	source->customs_2d_pen = 42;
	auto copy = Loaded();
	copy->include[Water] = true;
	copy->copy_from(source.get(), false);
	EXPECT_EQ(copy->pen[Roads], 5);  // roads not included here
	EXPECT_EQ(copy->pen[Water], 41);
	EXPECT_FALSE(copy->include[Roads]);
	EXPECT_EQ(copy->customs_2d_pen, 1);
	copy->copy_from(source.get(), true);
	EXPECT_TRUE(copy->include[Roads]);
	EXPECT_EQ(copy->pen[Roads], 40);
	EXPECT_EQ(copy->customs_2d_pen, 42);
}

TEST(StrConvert, HexOfBytesAndBack)
{
	const struct { const char* hex; const char* bytes; } cases[] = {
		{"", ""}, {"C3A6", "æ"}, {"c3a6", "æ"}, {"C3A", "\xC3"}, {"C3ZZ41", "\xC3"}, {"41 42", "A"},
	};
	for (const auto& c : cases) {
		char out[16];
		base16_to_utf8(c.hex, out);
		EXPECT_STREQ(out, c.bytes) << c.hex;
	}
	char hex[8];
	utf8_to_base16("", hex);
	EXPECT_STREQ(hex, "");
	utf8_to_base16("\x01\xFF", hex);
	EXPECT_STREQ(hex, "01FF");
}

} // namespace
