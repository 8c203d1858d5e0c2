// The terrain job from files: the mesh of the fallback terrain and of the sample package,
// and every failure with its report.
#include <algorithm>
#include <cmath>
#include <functional>

#include <gtest/gtest.h>
#include <nlohmann/json.hpp>

#include "ACAPinc.h"
#include "Classes/import_map.hpp"
#include "TerrainTest.hpp"
#include "TestSupport.hpp"
#include "sample/SamplePackage.hpp"
#include "sample/Writer3ds.hpp"
#include "vhost/Elements.hpp"

namespace {

using namespace terraintest;

class CreateMesh : public testsupport::HostTest {
protected:
	std::string File(const std::string& name, const std::string& bytes)
	{
		const std::string path = files_ / name;
		testsupport::WriteFile(path, bytes);
		return path;
	}
	std::string Scene(const std::string& name, const std::vector<std::array<float, 3>>& points)
	{
		sample::Mesh3ds mesh{"Terreng", points, {}, {}, -1};
		const std::vector<std::uint8_t> bytes = sample::Write3ds({}, points.empty() ? std::vector<sample::Mesh3ds>{} : std::vector{mesh});
		return File(name, std::string(bytes.begin(), bytes.end()));
	}
	// The fallback terrain: the 10 m square and three vertices.
	MeshCreatorOptions Job()
	{
		MeshCreatorOptions o = Options(Square());
		o.terrainFile = testsupport::Loc(Scene("Terreng.3ds", {{5, 0, 102}, {4, 4, 100}, {10, 7, 104}}));
		o.layer = 1;
		return o;
	}
	GSErrCode Run(CMeshCreator& creator) { return ACAPI_CallUndoableCommand("Placing VELMORA mesh elements", [&] { return creator.CreateMesh(); }); }
	std::size_t Meshes() const { return vhost::ElementsOfType(API_MeshID).size(); }

	testsupport::TempDir files_;
};

TEST_F(CreateMesh, FallbackTerrainBecomesOneMesh)
{
	CMeshCreator creator(Job());
	ASSERT_EQ(Run(creator), NoError);
	ASSERT_EQ(Meshes(), 1u);
	const vhost::ElementRecord& r = *vhost::FindElement(creator.GetMeshGuid());
	EXPECT_EQ(r.meshPolyZ, (std::vector<double>{0, 2, 2, 2, 4, 4, 2, 2}));
	ASSERT_EQ(r.meshLevelCoords.size(), 1u);
	EXPECT_EQ(r.meshLevelCoords[0].c.x, 4);
	EXPECT_EQ(r.meshLevelCoords[0].c.z, 0);
	EXPECT_EQ(r.meshLevelEnds, (std::vector<Int32>{1}));
	EXPECT_EQ(r.element.mesh.level, 100);
	EXPECT_NEAR(r.coords[2].x, 5, 1e-4);   // the shifts follow each other, so not quite square
	EXPECT_NEAR(r.coords[2].y, -0.02, 1e-6);   // 0.01 outward for each of its two edges
	EXPECT_TRUE(ReportTexts().empty());
}

TEST_F(CreateMesh, FailuresAndTheirReports)
{
	const std::string missing = files_ / "Borte.3ds";
	const std::string junk = File("Rot.3ds", "not a 3DS file at all");
	const std::string cut = File("Kuttet.dxf", "0\nSECTION\n2\nENTITIES\n0\nLINE\n");
	const std::string empty = Scene("Tom.3ds", {});
	// A chain of 66 blocks under one insert: read whole, one insert refused.
	std::string chain = "0\nSECTION\n2\nBLOCKS\n";
	for (int i = 0; i < 66; ++i)
		chain += "0\nBLOCK\n2\nB" + std::to_string(i) + "\n" + (i < 65 ? "0\nINSERT\n2\nB" + std::to_string(i + 1) + "\n" : "0\nLINE\n") + "0\nENDBLK\n";
	const std::string deep = File("Dyp.dxf", chain + "0\nENDSEC\n0\nSECTION\n2\nENTITIES\n0\nINSERT\n2\nB0\n0\nENDSEC\n0\nEOF\n");
	const struct {
		const char* what;
		std::function<void(MeshCreatorOptions&)> change;
		bool fails;
		std::vector<std::string> reports;
	} cases[] = {
		{"two outline points", [](MeshCreatorOptions& o) { o.areaPolygon = {{0, 0}, {10, 0}}; }, true,
		 {"Could not open building area file, or area file is corrupted, terrain cannot be generated."}},
		{"terrain file missing", [&](MeshCreatorOptions& o) { o.terrainFile = testsupport::Loc(missing); }, true,
		 {"Error: 3DS File (" + missing + ") not found!"}},
		{"terrain location empty", [](MeshCreatorOptions& o) { o.terrainFile = IO::Location(); }, true, {"Error: 3DS File () not found!"}},
		{"road file missing", [&](MeshCreatorOptions& o) { o.roadFile = testsupport::Loc(missing); }, true,
		 {"Error: 3DS File (" + missing + ") not found!"}},
		{"water location empty: left out", [](MeshCreatorOptions& o) { o.waterFile = IO::Location(); }, false, {}},
		{"terrain unparsable", [&](MeshCreatorOptions& o) { o.terrainFile = testsupport::Loc(junk); }, true,
		 {"Error while parsing 3DS File (" + junk + ")!",
		  "Error: 3DS File (" + junk + ") holds no terrain vertices, terrain cannot be generated."}},
		{"terrain without vertices", [&](MeshCreatorOptions& o) { o.terrainFile = testsupport::Loc(empty); }, true,
		 {"Error: 3DS File (" + empty + ") holds no terrain vertices, terrain cannot be generated."}},
		{"base map missing", [&](MeshCreatorOptions& o) { o.useLevelLines = true; o.dxfFile = testsupport::Loc(missing); }, true,
		 {"Error: DXF File (" + missing + ") not found!"}},
		{"base map not read without level lines", [&](MeshCreatorOptions& o) { o.dxfFile = testsupport::Loc(missing); }, false, {}},
		{"base map unparsable: the fallback runs", [&](MeshCreatorOptions& o) { o.useLevelLines = true; o.dxfFile = testsupport::Loc(cut); },
		 false, {"Error while parsing DXF File (" + cut + ")!"}},
		{"base map nested too deep, not drawn: the terrain names it", [&](MeshCreatorOptions& o) { o.useLevelLines = true; o.dxfFile = testsupport::Loc(deep); },
		 false, {"Base map: Blocks nested deeper than 64 levels (block \"B0\")"}},
		{"base map nested too deep, drawn: its drawing names it", [&](MeshCreatorOptions& o) {
			 o.useLevelLines = true;
			 o.dxfFile = testsupport::Loc(deep);
			 o.baseMapDrawn = true;
		 }, false, {}},
	};
	for (const auto& c : cases) {
		Host().reports.clear();
		const std::size_t before = Meshes();
		MeshCreatorOptions options = Job();
		c.change(options);
		CMeshCreator creator(options);
		const GSErrCode err = Run(creator);
		EXPECT_EQ(err != NoError, c.fails) << c.what;
		EXPECT_EQ(Meshes(), before + (c.fails ? 0 : 1)) << c.what;
		EXPECT_EQ(creator.GetMeshGuid() == APINULLGuid, c.fails) << c.what;
		EXPECT_EQ(ReportTexts(), c.reports) << c.what;
	}
}

TEST_F(CreateMesh, SamplePackageTerrainWithItsLevelLines)
{
	const std::string project = files_ / "Prøvekart";
	ASSERT_EQ(sample::MakeProjectFolder(project, {}), "");
	const std::string model = project + "/3D-modell";
	MeshCreatorOptions o;
	o.useLevelLines = true;
	o.terrainFile = testsupport::Loc(model + "/3ds/Terreng.3ds");
	o.roadFile = testsupport::Loc(model + "/3ds/Veg.3ds");
	o.waterFile = testsupport::Loc(model + "/3ds/Vann.3ds");
	o.dxfFile = testsupport::Loc(model + "/Basiskart/Alle data.dxf");
	o.areaPolygon = Importer::ReadOutline(testsupport::Loc(model + "/Area.json"));
	o.layer = 1;
	ASSERT_EQ(o.areaPolygon.GetSize(), 5u);
	CMeshCreator creator(o);
	ASSERT_EQ(Run(creator), NoError);
	ASSERT_EQ(Meshes(), 1u);
	const vhost::ElementRecord& r = *vhost::FindElement(creator.GetMeshGuid());
	// The outline with the 22 inner border vertices of each side of the 24 x 24 terrain.
	ASSERT_EQ(r.element.mesh.poly.nCoords, 5 + 4 * 22);
	for (std::size_t k = 1; k < r.coords.size(); ++k) {
		const API_Coord& c = r.coords[k];
		// Moved outward 0.01 per edge: corners by 0.01 on both axes, side points by 0.02.
		const double off = std::min({std::fabs(c.x), std::fabs(c.x - 400), std::fabs(c.y), std::fabs(c.y - 300)});
		EXPECT_LE(off, 0.02 + 1e-9) << k;
		EXPECT_TRUE(c.x < 0 || c.x > 400 || c.y < 0 || c.y > 300) << k;
		EXPECT_GE(r.meshPolyZ[k], 0);
	}
	// The seven level lines of the base map (four POLYLINEs, three LWPOLYLINEs at their
	// elevation), 48 points each, lowered by the lowest surface height; no elevation points.
	const double zMin = r.element.mesh.level;
	ASSERT_EQ(r.meshLevelEnds.size(), 7u);
	for (std::size_t i = 0; i < 7; ++i) {
		EXPECT_EQ(r.meshLevelEnds[i], static_cast<Int32>(48 * (i + 1)));
		EXPECT_DOUBLE_EQ(r.meshLevelCoords[48 * i].c.z, 22 + 2.0 * i - zMin) << i;
	}
	EXPECT_GT(zMin, 19);
	EXPECT_LT(zMin, 22);
	EXPECT_TRUE(ReportTexts().empty());
	// The project shows it: the dump with its outline and level lines, the plan with the mesh.
	const nlohmann::json dump = nlohmann::json::parse(vhost::DumpJson());
	EXPECT_EQ(dump["elements"][0]["type"], "Mesh");
	EXPECT_EQ(dump["elements"][0]["polygon"]["points"].size(), 5u + 4 * 22);
	EXPECT_EQ(dump["elements"][0]["levelLines"].size(), 7u);
	EXPECT_NE(vhost::PlanSvg().find("class=\"mesh\""), std::string::npos);
}

} // namespace
