// Ortho photos into the embedded library: renamed, registered as pictures, texture materials.
#include <filesystem>
#include <string>
#include <vector>

#include <gtest/gtest.h>
#include <nlohmann/json.hpp>

#include "ACAPinc.h"
#include "Classes/OrthoPhoto.hpp"
#include "Classes/import_map.hpp"
#include "TestSupport.hpp"

namespace {

using testsupport::Loc;
using testsupport::ReadFile;
using testsupport::WriteFile;

TEST(OrthoNames, BaseAndGroundSize)
{
	const struct { const char* file; const char* base; bool sized; double width, height; } cases[] = {
		{"ortofoto_SCALE_1000_X250000MM_Y200000MM.jpg", "ORTOFOTO", true, 250, 200},
		{"Kart_scale_500_x1500.5mm_y2000mm.JPG", "KART", true, 1.5005, 2},
		{"ortofoto.jpg", "ORTOFOTO.JPG", false, 0, 0},          // no "_SCALE_": no size
		{"a_Y100MM_SCALE_1_X200MM.jpg", "A_Y100MM", false, 0.2, 0}, // "_Y" only before it
		{"b_SCALE_1_X200_Y300MM.jpg", "B", true, 0.2, 0.3},    // the first "MM" after "_X" is "_Y"'s
		{"c_SCALE_1_XNANMM_Y300MM.jpg", "C", false, 0, 0.3},
		{"d_SCALE_1_X0MM_Y300MM.jpg", "D", false, 0, 0.3},
		{"e_SCALE_1_X-5MM_Y300MM.jpg", "E", false, 0, 0.3},
		{"f_SCALE_1_XINFMM_Y1E400MM.jpg", "F", false, 0, 0},
	};
	for (const auto& c : cases) {
		SCOPED_TRACE(c.file);
		const OrthoName name = ParseOrthoName(c.file);
		EXPECT_EQ(name.base, c.base);
		double width = 0, height = 0;
		const bool w = OrthoSizeMetres(name.widthText, width);
		const bool h = OrthoSizeMetres(name.heightText, height);
		EXPECT_EQ(w && h, c.sized);
		if (w) { EXPECT_DOUBLE_EQ(width, c.width); }
		if (h) { EXPECT_DOUBLE_EQ(height, c.height); }
	}
}

class Ortho : public testsupport::HostTest {
protected:
	// An image of project `project` under the run root; its bytes name it.
	IO::Location Image(const std::string& project, const std::string& name)
	{
		const std::string path = RunRoot() + "/Documents/" + project + "/Ortofoto/" + name;
		WriteFile(path, "JPEG " + project + "/" + name);
		return Loc(path);
	}
	GSErrCode Run(const std::string& project, const std::vector<IO::Location>& images, short& surface)
	{
		ImportOptions options;
		options.name_prefix = GS::UniString(project.c_str());
		for (const IO::Location& i : images) options.images.Push(i);
		Importer importer(options);
		import_object object;
		object.bckgrnd = 5;
		import_object* objects[] = {&object, nullptr};
		GS::Array<API_LibraryInfo> libraries;
		const GSErrCode err = importer.OrthoPhotoToEmbedded(objects, true, surface, libraries);
		EXPECT_FALSE(libraries.IsEmpty());
		return err;
	}
	std::string Generated(const std::string& name) { return vhost::EmbeddedLibraryFolder() + "/VELMORA Library/" + name; }
	nlohmann::json Dump() { return nlohmann::json::parse(vhost::DumpJson()); }
};

TEST_F(Ortho, ImageBecomesPictureAndTextureMaterial)
{
	short surface = 0;
	EXPECT_EQ(Run("Nord", {Image("Nord", "ortofoto_SCALE_1000_X250000MM_Y200000MM.jpg")}, surface), NoError);
	const std::string file = Generated("Velmora_ORTOFOTO_Nord.jpg");
	EXPECT_EQ(ReadFile(file), "JPEG Nord/ortofoto_SCALE_1000_X250000MM_Y200000MM.jpg");
	EXPECT_FALSE(std::filesystem::exists(Generated("ortofoto_SCALE_1000_X250000MM_Y200000MM.jpg")));
	const nlohmann::json dump = Dump();
	const nlohmann::json& materials = dump["attributes"]["materials"];
	ASSERT_EQ(materials.size(), 1u);
	const nlohmann::json& m = materials[0];
	EXPECT_EQ(surface, m["index"]);
	EXPECT_EQ(m["name"], "Velmora_ORTOFOTO");
	EXPECT_EQ(m["ambient"], 70);
	EXPECT_EQ(m["diffuse"], 70);
	EXPECT_EQ(m["fill"], 2);
	EXPECT_EQ(m["fillColor"], 5);
	EXPECT_EQ(m["texture"]["file"], file);
	EXPECT_EQ(m["texture"]["name"], "Velmora_ORTOFOTO");
	EXPECT_EQ(m["texture"]["status"], 0x1000);
	EXPECT_EQ(m["texture"]["width"], 250.0);
	EXPECT_EQ(m["texture"]["height"], 200.0);
	EXPECT_EQ(m["surface"].size(), 3u);
	bool registered = false;
	for (const auto& part : dump["libraryParts"])
		if (part.dump().find("Velmora_ORTOFOTO_Nord.jpg") != std::string::npos) registered = part["type"] == 11;
	EXPECT_TRUE(registered) << dump["libraryParts"].dump();
	EXPECT_TRUE(Host().reports.empty());
}

TEST_F(Ortho, SecondImportReusesAndAnotherProjectGetsItsOwnMaterial)
{
	short first = 0, again = 0, other = 0;
	const char* name = "ortofoto_SCALE_1000_X250000MM_Y200000MM.jpg";
	// An older file of the new name is replaced.
	WriteFile(Generated("Velmora_ORTOFOTO_Nord.jpg"), "old");
	EXPECT_EQ(Run("Nord", {Image("Nord", name)}, first), NoError);
	EXPECT_EQ(ReadFile(Generated("Velmora_ORTOFOTO_Nord.jpg")), std::string("JPEG Nord/") + name);
	EXPECT_EQ(Run("Nord", {Image("Nord", name)}, again), NoError);
	EXPECT_EQ(again, first);
	EXPECT_EQ(Run("Sør", {Image("Sør", name)}, other), NoError);
	EXPECT_NE(other, first);
	const nlohmann::json materials = Dump()["attributes"]["materials"];
	ASSERT_EQ(materials.size(), 2u);
	EXPECT_EQ(materials[1]["name"], "Velmora_ORTOFOTO_2");
	EXPECT_EQ(materials[1]["texture"]["file"], Generated("Velmora_ORTOFOTO_Sør.jpg"));
	EXPECT_EQ(materials[0]["texture"]["file"], Generated("Velmora_ORTOFOTO_Nord.jpg"));
	EXPECT_TRUE(Host().reports.empty());
}

TEST_F(Ortho, TwoImagesAndImagesWithoutASize)
{
	short surface = 0;
	EXPECT_EQ(Run("Nord", {Image("Nord", "kart.jpg"), Image("Nord", "a_SCALE_1_X100MM_Y100MM.jpg"),
		Image("Nord", "b_SCALE_1_XNANMM_Y100MM.jpg"), Image("Nord", "c_SCALE_1_X300MM_Y400MM.jpg")}, surface), NoError);
	// Every image is renamed and registered; those without a size get no material.
	for (const char* f : {"Velmora_KART.JPG_Nord.jpg", "Velmora_A_Nord.jpg", "Velmora_B_Nord.jpg", "Velmora_C_Nord.jpg"})
		EXPECT_TRUE(std::filesystem::exists(Generated(f))) << f;
	const nlohmann::json materials = Dump()["attributes"]["materials"];
	ASSERT_EQ(materials.size(), 2u);
	EXPECT_EQ(materials[0]["name"], "Velmora_A");
	EXPECT_EQ(materials[1]["name"], "Velmora_C");
	EXPECT_EQ(surface, materials[0]["index"]);
	const std::vector<std::string> reports = ReportTexts();
	ASSERT_EQ(reports.size(), 2u);
	EXPECT_NE(reports[0].find("'kart.jpg'"), std::string::npos);
	EXPECT_NE(reports[1].find("'b_SCALE_1_XNANMM_Y100MM.jpg'"), std::string::npos);
}

TEST_F(Ortho, FailuresAreReportedOrReturned)
{
	short surface = 0;
	vhost::InjectFault("ACAPI_LibraryManagement_GetLibraries", APIERR_GENERAL);
	ImportOptions options;
	Importer importer(options);
	GS::Array<API_LibraryInfo> libraries;
	libraries.Push(API_LibraryInfo{}); // what the caller held: never handed back as read
	EXPECT_EQ(importer.OrthoPhotoToEmbedded(nullptr, true, surface, libraries), APIERR_GENERAL);
	EXPECT_TRUE(libraries.IsEmpty());
	vhost::ClearFaults();
	// A rename that fails is reported; the image under its new name is not there to register.
	vhost::InjectFault("IO::FileSystem::Move", APIERR_GENERAL);
	EXPECT_NE(Run("Nord", {Image("Nord", "a_SCALE_1_X100MM_Y100MM.jpg")}, surface), NoError);
	vhost::ClearFaults();
	ASSERT_FALSE(ReportTexts().empty());
	EXPECT_NE(ReportTexts()[0].find("could not be renamed"), std::string::npos);
	// No images: the copy's result.
	EXPECT_EQ(Run("Nord", {}, surface), NoError);
}

} // namespace
