#include <algorithm>
#include <cstdlib>
#include <filesystem>
#include <memory>
#include <vector>

#include <gtest/gtest.h>

#include "Classes/import_map.hpp"
#include "Helpers/BinFileHelper.hpp"
#include "Simple3dslib/Simple3ds.hpp"
#include "TestSupport.hpp"
#include "sample/SamplePackage.hpp"

namespace {

namespace fs = std::filesystem;

class SamplePackage : public testsupport::HostTest {
protected:
	std::string ImportFolder() const { return RunRoot() + "/Documents/Velmora"; }
};

TEST_F(SamplePackage, EveryLayerIsA3dsSceneWithGeometry)
{
	const std::string project = ImportFolder() + "/Prøve";
	ASSERT_EQ(sample::MakeProjectFolder(project, {}), "");
	EXPECT_NE(sample::MakeProjectFolder(project, {}), ""); // never over an existing folder
	const std::pair<const char*, std::size_t> layers[] = {
		{"Terreng.3ds", 24 * 24}, {"Bygning.3ds", 0}, {"Veg.3ds", 0}, {"Gjerder.3ds", 0},
		{"Objekter.3ds", 0}, {"Vann.3ds", 0}, {"Vegetasjon.3ds", 0},
	};
	for (const auto& layer : layers) {
		std::vector<unsigned char> bytes;
		ASSERT_EQ(ReadBinaryData(bytes, testsupport::Loc(project + "/3D-modell/3ds/" + layer.first)), NoError) << layer.first;
		Simple3dsScene scene;
		testing::internal::CaptureStdout();
		const bool loaded = Simple3ds::LoadSceneFromMemory(scene, bytes);
		testing::internal::GetCapturedStdout();
		ASSERT_TRUE(loaded) << layer.first;
		ASSERT_FALSE(scene.meshes.empty()) << layer.first;
		std::size_t vertices = 0;
		for (const auto& m : scene.meshes) {
			vertices += m.vertices.size();
			for (const auto& f : m.faces) EXPECT_LT(f.material, scene.materials.size()) << layer.first;
		}
		if (layer.second != 0) {
			EXPECT_EQ(vertices, layer.second) << layer.first;
		}
		EXPECT_GT(vertices, 2u) << layer.first;
	}
}

TEST_F(SamplePackage, ScanOptionsAndFrameOfTheSample)
{
	ASSERT_EQ(sample::MakeProjectFolder(ImportFolder() + "/Prøve", {}), "");
	auto config = std::make_unique<terrain_import_ini>();
	for (bool& on : config->include) on = true;
	config->include_customs_2d = true;
	config->user_import_folder = GS::UniString(ImportFolder());
	import_folder_scan scan;
	scan.config = config.get();
	scan.load();
	ASSERT_EQ(scan.projects.size(), 1u);
	scan.projects[0].chosen = true;
	ASSERT_TRUE(scan.filter_user_selection());
	ASSERT_EQ(scan.user_selection_count(), 8u); // seven layers and the base map
	const ImportOptions options = GetImportOptions(&scan);
	EXPECT_FALSE(options.area_location.IsEmpty());
	EXPECT_FALSE(options.origin_location.IsEmpty());
	EXPECT_FALSE(options.vegetation_location.IsEmpty());
	EXPECT_EQ(options.images.GetSize(), 1u);

	std::vector<import_object*> objects;
	for (auto& o : scan.user_selection) objects.push_back(&o);
	Importer importer(options);
	testing::internal::CaptureStdout();
	ASSERT_EQ(importer.PickOrigo(false, objects.data(), static_cast<unsigned int>(objects.size())), NoError);
	testing::internal::GetCapturedStdout();
	EXPECT_TRUE(Host().reports.empty());
	for (const import_object* o : objects) {
		EXPECT_EQ(o->min_x, 0.0);
		EXPECT_EQ(o->min_y, 0.0);
		EXPECT_EQ(o->size_x, static_cast<UInt64>(sample::AreaWidth));
		EXPECT_EQ(o->size_y, static_cast<UInt64>(sample::AreaDepth));
		EXPECT_GT(o->size_z, 10u);
	}
}

TEST_F(SamplePackage, TheZipExpandsToTheSameFolder)
{
	const std::string zip = RunRoot() + "/Temp/Prøve kart.zip";
	ASSERT_EQ(sample::MakeProjectZip(zip, {}), "");
	ASSERT_EQ(sample::MakeProjectFolder(RunRoot() + "/Temp/folder", {}), "");
	const std::string target = RunRoot() + "/Temp/expanded";
	const std::string command = std::string(VELMORA_SOURCE_DIR "/host/tools/ditto -x -k '") + zip + "' '" + target + "'";
	ASSERT_EQ(std::system(command.c_str()), 0);
	std::vector<std::string> expected, got;
	for (const auto& e : fs::recursive_directory_iterator(RunRoot() + "/Temp/folder"))
		if (e.is_regular_file()) expected.push_back(fs::relative(e.path(), RunRoot() + "/Temp/folder").string());
	for (const auto& e : fs::recursive_directory_iterator(target))
		if (e.is_regular_file()) {
			got.push_back(fs::relative(e.path(), target).string());
			EXPECT_EQ(testsupport::ReadFile(e.path().string()), testsupport::ReadFile(RunRoot() + "/Temp/folder/" + got.back()));
		}
	std::sort(expected.begin(), expected.end());
	std::sort(got.begin(), got.end());
	EXPECT_EQ(got, expected);
	EXPECT_EQ(got.size(), 13u);
}

} // namespace
