#include <filesystem>
#include <memory>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "Classes/ImportOptions.hpp"
#include "Classes/folder_scan.hpp"
#include "Classes/import_folder_scan.hpp"
#include "TestSupport.hpp"
#include "vhost/Text.hpp"

namespace {

class ImportFolder : public testsupport::HostTest {
protected:
	void SetUp() override
	{
		HostTest::SetUp();
		config = std::make_unique<terrain_import_ini>();
		config->user_import_folder = GS::UniString(Root());
		scan.config = config.get();
	}
	std::string Root() const { return RunRoot() + "/Documents/Velmora"; }
	// Makes files (and their folders) under the import folder.
	void Make(std::initializer_list<std::string> paths)
	{
		for (const auto& p : paths) testsupport::WriteFile(Root() + "/" + p, "x");
	}
	std::vector<std::string> ProjectNames() const
	{
		std::vector<std::string> names;
		for (const auto& p : scan.projects) names.push_back(vhost::ToUtf8(p.name));
		return names;
	}
	std::vector<std::pair<int, std::string>> Selection() const
	{
		std::vector<std::pair<int, std::string>> out;
		for (const auto& o : scan.user_selection) out.emplace_back(o.type, vhost::PathOf(o.location).substr(Root().size() + 1));
		return out;
	}
	void Choose(std::size_t row)
	{
		scan.projects.at(row).chosen = true;
		ASSERT_TRUE(scan.filter_user_selection()) << scan.error_text;
	}

	std::unique_ptr<terrain_import_ini> config;
	import_folder_scan scan;
};

TEST_F(ImportFolder, ProjectsAreSortedFoldersOnly)
{
	Make({"b/x", "a/x", "c/x", "loose.zip", "æøå/x"});
	std::filesystem::create_directory_symlink(Root() + "/a", Root() + "/link");
	scan.load();
	EXPECT_EQ(ProjectNames(), (std::vector<std::string>{"a", "b", "c", "æøå"}));
}

TEST_F(ImportFolder, PresenceFlagsAndTheHedgeRule)
{
	Make({"p/3D-modell/3ds/Terreng.3ds", "p/3D-modell/3ds/terreng.3ds", "p/3D-modell/3ds/Vegetasjon.3ds",
	      "p/3D-modell/3ds/Veg.3ds", "p/3D-modell/Basiskart/Alle data.dxf",
	      "p/3D-modell/Visualiseringsterreng/Visualiseringsterreng_med_bygg.skp"});
	config->include[ImportTerrain] = true;
	config->include[ImportVegetation] = true;
	config->include_customs_surroundings = true;
	scan.load();
	ASSERT_EQ(scan.projects.size(), 1u);
	const import_project& p = scan.projects[0];
	const bool present[] = {true, false, true, false, false, false, true};
	const bool selected[] = {true, false, false, false, false, false, true};
	for (int c = 0; c < TerrainCategoryCount; ++c) {
		EXPECT_EQ(p.present[c], present[c]) << c;
		EXPECT_EQ(p.selected[c], selected[c]) << c;
	}
	EXPECT_TRUE(p.present_2d);
	EXPECT_FALSE(p.selected_2d);
	EXPECT_TRUE(p.present_surroundings);
	EXPECT_TRUE(p.selected_surroundings);

	Choose(0);
	const std::vector<std::pair<int, std::string>> expected = {
		{0, "p/3D-modell/3ds/Terreng.3ds"},
		{6, "p/3D-modell/3ds/Vegetasjon.3ds"},
		{100, "p/3D-modell/Basiskart/Alle data.dxf"},
		{101, "p/3D-modell/Visualiseringsterreng/Visualiseringsterreng_med_bygg.skp"},
	};
	EXPECT_EQ(Selection(), expected);
	EXPECT_FALSE(scan.user_selection[2].include); // the 2D map is read, not placed
	EXPECT_TRUE(scan.user_selection[3].include);
	EXPECT_EQ(scan.user_selection[0].pen, 1);
}

TEST_F(ImportFolder, HekkWinsOverVegetasjonAndNamesKeepTheirLetters)
{
	Make({"Kåre/3D-modell/3ds/Hekk.3ds", "Kåre/3D-modell/3ds/Vegetasjon.3ds"});
	config->include[ImportVegetation] = true;
	scan.load();
	Choose(0);
	EXPECT_EQ(Selection(), (std::vector<std::pair<int, std::string>>{{6, "Kåre/3D-modell/3ds/Hekk.3ds"}}));
}

TEST_F(ImportFolder, OnlyFileNotFoundTurnsHekkIntoVegetasjon)
{
	Make({"p/3D-modell/3ds/Vegetasjon.3ds"});
	config->include[ImportVegetation] = true;
	const struct { GSErrCode fault; const char* file; } cases[] = {
		{NoError, "Vegetasjon.3ds"}, {ErrAccessDenied, "Hekk.3ds"}, {ErrNotAFile, "Hekk.3ds"}, {ErrFileNotFound, "Vegetasjon.3ds"},
	};
	for (const auto& c : cases) {
		vhost::ClearFaults();
		if (c.fault != NoError) vhost::InjectFault("IO::File::File", c.fault, "Hekk.3ds");
		scan.load();
		Choose(0);
		EXPECT_EQ(Selection(), (std::vector<std::pair<int, std::string>>{{6, std::string("p/3D-modell/3ds/") + c.file}})) << c.fault;
	}
}

TEST_F(ImportFolder, SelectionEdgeCases)
{
	Make({"only2d/3D-modell/Basiskart/Alle data.dxf", "unticked/3D-modell/3ds/Bygning.3ds",
	      "skp/3D-modell/Visualiseringsterreng/Visualiseringsterreng_med_bygg.skp"});
	scan.load();
	ASSERT_TRUE(scan.filter_user_selection()); // nothing chosen
	EXPECT_EQ(scan.current, nullptr);
	EXPECT_EQ(scan.user_selection_count(), 0u);

	Choose(0); // only2d: one object, not placed
	EXPECT_EQ(Selection(), (std::vector<std::pair<int, std::string>>{{100, "only2d/3D-modell/Basiskart/Alle data.dxf"}}));
	EXPECT_FALSE(scan.user_selection[0].include);

	scan.load();
	Choose(1); // skp present but not selected
	EXPECT_EQ(scan.user_selection_count(), 0u);
	scan.load();
	Choose(2); // unticked buildings
	EXPECT_EQ(scan.user_selection_count(), 0u);
	EXPECT_EQ(scan.current->name, GS::UniString("unticked"));
}

TEST_F(ImportFolder, MissingImportFolderListsNothing)
{
	config->user_import_folder = GS::UniString(RunRoot() + "/nowhere");
	scan.load();
	EXPECT_TRUE(scan.projects.empty());
}

class Options : public ImportFolder {
protected:
	ImportOptions For(std::initializer_list<std::string> files)
	{
		Make(files);
		scan.load();
		Choose(0);
		return GetImportOptions(&scan);
	}
	static std::string Rel(const IO::Location& loc, const std::string& root)
	{
		return loc.IsEmpty() ? "" : vhost::PathOf(loc).substr(root.size() + 1);
	}
};

TEST_F(Options, SideFilesAndImagesFromTheModelFolder)
{
	const ImportOptions o = For({"p/3D-modell/Basiskart/Alle data.dxf", "p/3D-modell/Area.json", "p/3D-modell/Lokalt nullpunkt.txt",
	                             "p/3D-modell/Ortofoto/ORTO_SCALE_X100MM_Y200MM.jpg", "p/3D-modell/Ortofoto/notes.txt",
	                             "p/3D-modell/Arealplan_raster/a_scale_x1_y2.JPG", "p/3D-modell/Arealplan_raster/b_SCALE_X1_Y2.jpg",
	                             "p/3D-modell/Bakgrunnskart/photo_SCALE_X1_Y2.jpeg",
	                             "p/3D-modell/Bakgrunnskart/dir_SCALE_X1_Y2.jpg/inner.txt", "p/3D-modell/Vegetasjon/Vegetasjon.csv"});
	EXPECT_EQ(o.name_prefix, GS::UniString("p"));
	EXPECT_EQ(Rel(o.area_location, Root()), "p/3D-modell/Area.json");
	EXPECT_EQ(Rel(o.origin_location, Root()), "p/3D-modell/Lokalt nullpunkt.txt");
	EXPECT_EQ(Rel(o.vegetation_location, Root()), "p/3D-modell/Vegetasjon/Vegetasjon.csv");
	ASSERT_EQ(o.images.GetSize(), 2u);
	EXPECT_EQ(Rel(o.images[0], Root()), "p/3D-modell/Ortofoto/ORTO_SCALE_X100MM_Y200MM.jpg");
	EXPECT_EQ(Rel(o.images[1], Root()), "p/3D-modell/Arealplan_raster/b_SCALE_X1_Y2.jpg"); // the last match wins
	EXPECT_TRUE(o.mesh_option);
}

TEST_F(Options, ImageNamesMatchInAnyCase)
{
	const struct { const char* file; bool image; } cases[] = {
		{"orto_scale_x100mm_y200mm.JPG", true}, {"Orto_Scale_x1_y2.jpg", true}, {"orto_scale_x1.jpg", false},
		{"orto_x1_y2.jpg", false}, {"orto_scale_x1_y2.jpg.txt", false}, {"orto_scale_x1_y2", false},
	};
	for (const auto& c : cases) {
		std::filesystem::remove_all(Root());
		const ImportOptions o = For({"p/3D-modell/Basiskart/Alle data.dxf", std::string("p/3D-modell/Ortofoto/") + c.file});
		ASSERT_EQ(o.images.GetSize(), c.image ? 1u : 0u) << c.file;
		if (c.image) {
			EXPECT_EQ(Rel(o.images[0], Root()), std::string("p/3D-modell/Ortofoto/") + c.file);
		}
	}
}

TEST_F(Options, MissingSideFilesStayEmpty)
{
	config->include[ImportTerrain] = true; // a real selection, so the side files are looked for
	const ImportOptions o = For({"p/3D-modell/3ds/Terreng.3ds", "p/3D-modell/Vegetasjon/other.csv"});
	EXPECT_EQ(o.name_prefix, GS::UniString("p"));
	EXPECT_TRUE(o.area_location.IsEmpty());
	EXPECT_TRUE(o.origin_location.IsEmpty());
	EXPECT_TRUE(o.vegetation_location.IsEmpty());
	EXPECT_EQ(o.images.GetSize(), 0u);
}

TEST(FolderScan, SortedWithoutDuplicates)
{
	folder_scan scan;
	for (const char* n : {"b", "a", "c", "a", "B"}) scan.ItemFound(n);
	EXPECT_EQ(scan.names, (GS::Array<GS::UniString>{"B", "a", "b", "c"}));
}

} // namespace
