#include <algorithm>
#include <cstdlib>
#include <filesystem>
#include <memory>
#include <set>
#include <tuple>
#include <vector>

#include <gtest/gtest.h>

#include "Classes/import_map.hpp"
#include "Helpers/BinFileHelper.hpp"
#include "Simple3dslib/Simple3ds.hpp"
#include "SimpleDxflib/SimpleDxf.hpp"
#include "TestSupport.hpp"
#include "sample/SamplePackage.hpp"
#include "sample/Writer3ds.hpp"

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

Simple3dsScene Read(const std::vector<std::uint8_t>& bytes)
{
	Simple3dsScene scene;
	testing::internal::CaptureStdout();
	const bool loaded = Simple3ds::LoadSceneFromMemory(scene, bytes);
	testing::internal::GetCapturedStdout();
	EXPECT_TRUE(loaded);
	return scene;
}

using Corner = std::tuple<float, float, float>;
using Triangle = std::array<Corner, 3>;

std::vector<Triangle> TrianglesOf(const Simple3dsScene& scene)
{
	std::vector<Triangle> out;
	for (const auto& m : scene.meshes)
		for (const auto& f : m.faces) {
			Triangle t;
			const std::uint16_t corners[3] = {f.a, f.b, f.c};
			for (int k = 0; k < 3; ++k) {
				const Simple3dsVertex& v = m.vertices.at(corners[k]);
				t[static_cast<std::size_t>(k)] = {v.x, v.y, v.z};
			}
			out.push_back(t);
		}
	return out;
}

// A mesh over the limit is written as pieces within it, the same triangles in the same order.
TEST(SampleWriter, AMeshOverTheLimitIsSplitKeepingItsTriangles)
{
	sample::Mesh3ds strip{"Strip", {}, {}, {}, 0};
	for (int i = 0; i < 40; ++i) strip.points.push_back({static_cast<float>(i / 2), static_cast<float>(i % 2), static_cast<float>(i)});
	for (std::uint32_t i = 0; i + 2 < 40; ++i) strip.faces.push_back({i, i + 1, i + 2});
	strip.faces.push_back({5, 5, 6}); // a corner twice: it takes one point
	std::vector<Triangle> expected;
	for (const auto& f : strip.faces) {
		Triangle t;
		for (int k = 0; k < 3; ++k) {
			const auto& p = strip.points[f[static_cast<std::size_t>(k)]];
			t[static_cast<std::size_t>(k)] = {p[0], p[1], p[2]};
		}
		expected.push_back(t);
	}
	const struct {
		std::size_t limit, meshes;
	} cases[] = {{3, 39}, {4, 20}, {10, 5}, {39, 2}, {40, 1}, {sample::Max3dsCount, 1}};
	for (const auto& c : cases) {
		const Simple3dsScene scene = Read(sample::Write3ds({{"Grå", {90, 90, 90}, ""}}, {strip}, c.limit));
		EXPECT_EQ(scene.meshes.size(), c.meshes) << "limit " << c.limit;
		for (const auto& m : scene.meshes) {
			EXPECT_LE(m.vertices.size(), c.limit);
			EXPECT_LE(m.faces.size(), c.limit);
			for (const auto& f : m.faces) EXPECT_EQ(f.material, 0u);
		}
		EXPECT_EQ(TrianglesOf(scene), expected) << "limit " << c.limit;
	}
	EXPECT_THROW(sample::Write3ds({}, {strip}, 2), std::invalid_argument);
	strip.faces.push_back({0, 1, 40});
	EXPECT_THROW(sample::Write3ds({}, {strip}, 10), std::out_of_range);
}

// A terrain past the 3DS counts becomes several meshes holding the whole grid.
TEST_F(SamplePackage, ALargeTerrainIsSeveralMeshesWithTheWholeGrid)
{
	const int grid = 200; // 40,000 points and 79,202 faces
	const std::string project = ImportFolder() + "/Stor";
	sample::PackageOptions options;
	options.grid = grid;
	options.trees = 25;
	ASSERT_EQ(sample::MakeProjectFolder(project, options), "");
	std::vector<unsigned char> bytes;
	ASSERT_EQ(ReadBinaryData(bytes, testsupport::Loc(project + "/3D-modell/3ds/Terreng.3ds")), NoError);
	const Simple3dsScene scene = Read(bytes);
	EXPECT_GE(scene.meshes.size(), 2u);
	std::size_t faces = 0;
	std::set<Corner> points;
	for (const auto& m : scene.meshes) {
		EXPECT_LE(m.faces.size(), sample::Max3dsCount);
		EXPECT_EQ(m.uvs.size(), m.vertices.size());
		faces += m.faces.size();
		for (const auto& v : m.vertices) points.insert({v.x, v.y, v.z});
	}
	EXPECT_EQ(faces, 2u * (grid - 1) * (grid - 1));
	EXPECT_EQ(points.size(), static_cast<std::size_t>(grid * grid));
	const std::string trees = testsupport::ReadFile(project + "/3D-modell/Vegetasjon/Vegetasjon.csv");
	EXPECT_EQ(std::count(trees.begin(), trees.end(), '\n'), 1 + 25);
}

// The base map grows to the size asked for and stays a drawing our reader reads.
TEST_F(SamplePackage, TheBaseMapGrowsToTheSizeAskedFor)
{
	sample::PackageOptions options;
	options.baseMapBytes = 400000;
	ASSERT_EQ(sample::MakeProjectFolder(RunRoot() + "/Temp/stor", options), "");
	ASSERT_EQ(sample::MakeProjectFolder(RunRoot() + "/Temp/liten", {}), "");
	const std::string big = testsupport::ReadFile(RunRoot() + "/Temp/stor/3D-modell/Basiskart/Alle data.dxf");
	const std::string small = testsupport::ReadFile(RunRoot() + "/Temp/liten/3D-modell/Basiskart/Alle data.dxf");
	EXPECT_GE(big.size(), options.baseMapBytes);
	EXPECT_LT(big.size(), options.baseMapBytes + 20000);
	EXPECT_LT(small.size(), 20000u);
	SimpleDxf::SimpleDxf bigMap, smallMap;
	ASSERT_TRUE(bigMap.LoadSceneFromMemory(reinterpret_cast<const unsigned char*>(big.data()), big.size()));
	ASSERT_TRUE(smallMap.LoadSceneFromMemory(reinterpret_cast<const unsigned char*>(small.data()), small.size()));
	ASSERT_TRUE(bigMap.entities && smallMap.entities);
	EXPECT_GT(bigMap.entities->size(), 20 * smallMap.entities->size());
	const std::string end = "\nENDSEC\n0\nEOF\n";
	EXPECT_EQ(big.substr(big.size() - end.size()), end) << "the entities stay in their section";
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
