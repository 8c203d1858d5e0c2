// The object generator: script texts (as tables of cases), the part it saves in the embedded
// library, its parameters read back through the host, and every way it can fail. Every
// generated script passes the GDL checker.
#include <cmath>
#include <cstring>
#include <filesystem>
#include <limits>
#include <set>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "../r3ds/Writer3ds.hpp"
#include "Gdl/GDLCreator.hpp"
#include "Gdl/GdlScripts.hpp"
#include "Gdl/MeshReader.hpp"
#include "GdlChecker.hpp"
#include "Helpers/ResourceHelpers.hpp"
#include "TestSupport.hpp"
#include "generic/LibraryManager.hpp"
#include "generic/LibraryPart.hpp"
#include "sample/SamplePackage.hpp"
#include "sample/Writer3ds.hpp"
#include "vhost/LibraryStore.hpp"
#include "vhost/Text.hpp"

namespace {

namespace fs = std::filesystem;
namespace LP = kivel::LibraryPart;

std::vector<std::string> Rows(const std::string& text) { return gdlcheck::Check(text).rows; }

// The rows from the first one equal to `first`, `count` of them.
std::vector<std::string> RowsFrom(const std::string& text, const std::string& first, std::size_t count)
{
	const std::vector<std::string> rows = Rows(text);
	const auto at = std::find(rows.begin(), rows.end(), first);
	if (at == rows.end()) return {"(no row " + first + ")"};
	return {at, at + static_cast<std::ptrdiff_t>(std::min<std::size_t>(count, static_cast<std::size_t>(rows.end() - at)))};
}

void ExpectPasses(const std::string& text, const char* what)
{
	const gdlcheck::Result r = gdlcheck::Check(text);
	EXPECT_TRUE(r.problems.empty()) << what << ":\n" << gdlcheck::Describe(r);
}

Simple3dsMaterial Mat(const std::string& name)
{
	Simple3dsMaterial m;
	m.name = name;
	m.ambient = {0.2f, 0.4f, 0.6f};
	m.diffuse = {0.5f, 0.5f, 0.5f};
	m.specular = {1, 1, 1};
	m.shininess = 0.25f;
	return m;
}

// A scene of one mesh read the way the generator reads it.
struct Model {
	Simple3dsScene scene;
	GdlMeshes meshes;
	int invalid = 0;

	explicit Model(Simple3dsMesh mesh, std::vector<Simple3dsMaterial> materials = {})
	{
		scene.materials = std::move(materials);
		kivel::MeshFaceCounts counts;
		meshes.Push(kivel::BuildMeshRecords(mesh, static_cast<int>(scene.materials.size()), 45, false, counts));
		invalid = counts.invalid;
		scene.meshes.push_back(mesh);
	}
	std::string Script(bool flat) const { return Gdl3DScript(scene, meshes, invalid, flat, -0.1); }
};

Simple3dsMesh Square(std::uint16_t material = 0)
{
	Simple3dsMesh m;
	m.vertices = {{0, 0, 0}, {1, 0, 0}, {1, 1, 0}, {0, 1, 0}};
	m.faces = {{0, 1, 2, 0, material}, {0, 2, 3, 0, material}};
	return m;
}

// A grid of w by h squares, two triangles each, in the plane z = 0.
Simple3dsMesh Grid(int w, int h)
{
	Simple3dsMesh m;
	for (int j = 0; j <= h; ++j)
		for (int i = 0; i <= w; ++i) m.vertices.push_back({static_cast<float>(i), static_cast<float>(j), 0});
	for (int j = 0; j < h; ++j)
		for (int i = 0; i < w; ++i) {
			const auto v = static_cast<std::uint16_t>(j * (w + 1) + i), up = static_cast<std::uint16_t>(v + w + 1);
			m.faces.push_back({v, static_cast<std::uint16_t>(v + 1), static_cast<std::uint16_t>(up + 1), 0, 0});
			m.faces.push_back({v, static_cast<std::uint16_t>(up + 1), up, 0, 0});
		}
	return m;
}

Simple3dsMesh Box()
{
	sample::Mesh3ds box;
	sample::AddBox(box, 0, 0, 0, 1, 2, 3);
	Simple3dsMesh m;
	for (const auto& p : box.points) m.vertices.push_back({p[0], p[1], p[2]});
	const auto at = [](std::uint32_t i) { return static_cast<std::uint16_t>(i); };
	for (const auto& f : box.faces) m.faces.push_back({at(f[0]), at(f[1]), at(f[2]), 0, 0});
	return m;
}

long Count(const std::vector<std::string>& rows, const std::string& prefix)
{
	return std::count_if(rows.begin(), rows.end(), [&](const std::string& r) { return r.rfind(prefix, 0) == 0; });
}

TEST(Gdl3DScript, MaterialsTexturesAndTables)
{
	Simple3dsMaterial asphalt = Mat("Asfalt");
	asphalt.texture.fileName = "asphalt.jpg";
	asphalt.texture.uScale = 2;
	asphalt.texture.vScale = 3;
	asphalt.texture.angle = 45;
	asphalt.transparency = 0.5f;
	asphalt.xpfall = 0.5f;
	asphalt.selfIllum = true;
	Simple3dsMaterial grass = Mat("Gress");
	grass.xpfall = 0.5f;
	const Model model(Square(1), {grass, asphalt});
	const std::string text = model.Script(false);
	ExpectPasses(text, "3D script");
	const std::vector<std::string> rows = Rows(text);
	EXPECT_EQ(Count(rows, "\tDEFINE TEXTURE"), 1);
	EXPECT_EQ(RowsFrom(text, "\tDEFINE TEXTURE \"asphalt1\" 1, 2.000000, 3.000000, 0, 45.000000", 2).size(), 2u);
	const std::vector<std::string> grassRows = {
	    "\tDEFINE MATERIAL \"Gress0\" 20,",
	    "\t\t0.200000, 0.400000, 0.600000,",
	    "\t\t0.400000, 0.500000, 1.000000, 0.000000,",
	    "\t\t25.000000, 0.000000,",
	    "\t\t1.000000, 1.000000, 1.000000,",
	    "\t\t0.000000, 0.000000, 0.000000,",
	    "\t\t0.000000,",
	    "\t\t0, 1,",
	    "\t\t0",
	    ""};
	EXPECT_EQ(RowsFrom(text, grassRows[0], grassRows.size()), grassRows);
	const std::vector<std::string> asphaltRows = {
	    "\tDEFINE MATERIAL \"Asfalt1\" 20,",
	    "\t\t0.200000, 0.400000, 0.600000,",
	    "\t\t0.400000, 0.500000, 1.000000, 0.500000,",
	    "\t\t25.000000, -2.000000,",
	    "\t\t1.000000, 1.000000, 1.000000,",
	    "\t\t0.700000, 0.700000, 0.700000,",
	    "\t\t30.000000,",
	    "\t\t0, 1,",
	    "\t\tIND(TEXTURE, \"asphalt1\")",
	    ""};
	EXPECT_EQ(RowsFrom(text, asphaltRows[0], asphaltRows.size()), asphaltRows);
	const std::vector<std::string> table = {
	    "\tuMat[2] = ind(MATERIAL, \"Asfalt1\")", "\tuMat[1] = ind(MATERIAL, \"Gress0\")", "else", "\tuMat[2] = mat_2",
	    "\tuMat[1] = mat_1", "endif"};
	EXPECT_EQ(RowsFrom(text, table[0], table.size()), table);
	// Records: material -1 first (empty), then one per material; the faces are material 1's.
	EXPECT_EQ(Count(rows, "material M_"), 1);
	EXPECT_EQ(Count(rows, "material uMat[1]"), 1);
	EXPECT_EQ(Count(rows, "material uMat[2]"), 1);
	EXPECT_EQ(Count(rows, "PGON 3,"), 2);
	EXPECT_EQ(rows.back(), "!! there were 0 invalid faces");
}

TEST(Gdl3DScript, UnsafeMaterialValuesAndNames)
{
	const float nan = std::numeric_limits<float>::quiet_NaN(), inf = std::numeric_limits<float>::infinity();
	struct Case {
		const char* what;
		float transparency, shininess, ambientR, xpfall;
		const char* row3;
		const char* row4;
		const char* row2;
	};
	const Case cases[] = {
	    {"transparency above 1", 1.5f, 0.25f, 0.2f, 0.5f, "\t\t0.400000, 0.500000, 1.000000, 1.000000,", "\t\t25.000000, -2.000000,", "\t\t0.200000, 0.400000, 0.600000,"},
	    {"NaN transparency", nan, 0.25f, 0.2f, 0.5f, "\t\t0.400000, 0.500000, 1.000000, 0.000000,", "\t\t25.000000, 0.000000,", "\t\t0.200000, 0.400000, 0.600000,"},
	    {"negative transparency", -1, 0.25f, 0.2f, 0.5f, "\t\t0.400000, 0.500000, 1.000000, 0.000000,", "\t\t25.000000, 0.000000,", "\t\t0.200000, 0.400000, 0.600000,"},
	    {"infinite values", 0.5f, inf, inf, inf, "\t\t0.333333, 0.500000, 1.000000, 0.500000,", "\t\t0.000000, 0.000000,", "\t\t0.000000, 0.400000, 0.600000,"},
	    {"NaN colour", 0, nan, nan, nan, "\t\t0.333333, 0.500000, 1.000000, 0.000000,", "\t\t0.000000, 0.000000,", "\t\t0.000000, 0.400000, 0.600000,"},
	};
	for (const Case& c : cases) {
		Simple3dsMaterial m = Mat("M");
		m.transparency = c.transparency;
		m.shininess = c.shininess;
		m.ambient.r = c.ambientR;
		m.xpfall = c.xpfall;
		const std::string text = Model(Square(), {m}).Script(false);
		ExpectPasses(text, c.what);
		const std::vector<std::string> rows = RowsFrom(text, "\tDEFINE MATERIAL \"M0\" 20,", 4);
		EXPECT_EQ(rows, (std::vector<std::string>{"\tDEFINE MATERIAL \"M0\" 20,", c.row2, c.row3, c.row4})) << c.what;
	}
	// Names: quotes and control characters become "_", in the definitions and the references,
	// and a long name is never cut.
	Simple3dsMaterial odd = Mat(std::string("Say \"hi\"\n") + std::string(2000, 'x'));
	odd.texture.fileName = "a\"b\tc.jpg";
	const std::string text = Model(Square(), {odd}).Script(false);
	ExpectPasses(text, "odd names");
	const std::string safe = "Say _hi__" + std::string(2000, 'x');
	const std::vector<std::string> rows = Rows(text);
	EXPECT_EQ(Count(rows, "\tDEFINE MATERIAL \"" + safe + "0\" 20,"), 1);
	EXPECT_EQ(Count(rows, "\tuMat[1] = ind(MATERIAL, \"" + safe + "0\")"), 1);
	EXPECT_EQ(Count(rows, "\tDEFINE TEXTURE \"a_b_c0\" 1,"), 1);
	EXPECT_EQ(Count(rows, "\t\tIND(TEXTURE, \"a_b_c0\")"), 1);
	// DEL is a control character too.
	const std::vector<std::string> del = Rows(Model(Square(), {Mat("a\x7F" "b")}).Script(false));
	EXPECT_EQ(Count(del, "\tDEFINE MATERIAL \"a_b0\" 20,"), 1);
	EXPECT_EQ(Count(del, "\tuMat[1] = ind(MATERIAL, \"a_b0\")"), 1);
	// Correct names give the plain bytes.
	EXPECT_EQ(GdlSafeName("Asfalt æøå"), "Asfalt æøå");
}

TEST(Gdl3DScript, BodyAndSlabForms)
{
	const Model square(Square(0), {Mat("A")});
	const std::string body = square.Script(false);
	ExpectPasses(body, "body");
	const std::vector<std::string> expectBody = {
	    "material uMat[1]", "TEVE 0,0,0,0,0!#1", "TEVE 1,0,0,0,0!#2", "TEVE 0,1,0,0,0!#3", "TEVE 0,0,1,0,0!#4",
	    "COOR 1024,-1,-2,-3,-4", "base", "VERT 0.000000,0.000000,0.000000", "VERT 1.000000,0.000000,0.000000",
	    "VERT 1.000000,1.000000,0.000000", "VERT 0.000000,1.000000,0.000000", "VECT 0.000000,-0.000000,1.000000",
	    "VECT 0.000000,0.000000,1.000000", "EDGE 1,2,1,0,0", "EDGE 2,3,1,0,0", "EDGE 1,3,1,2,2", "EDGE 3,4,2,0,0",
	    "EDGE 1,4,2,0,0", "PGON 3,1,0,1,2,-3", "PGON 3,2,0,3,4,-5", "BODY -1", "", "!! there were 0 invalid faces"};
	EXPECT_EQ(RowsFrom(body, "material uMat[1]", 100), expectBody);
	// The empty record of material -1 in body form.
	EXPECT_EQ(RowsFrom(body, "material M_", 8),
	          (std::vector<std::string>{"material M_", "TEVE 0,0,0,0,0!#1", "TEVE 1,0,0,0,0!#2", "TEVE 0,1,0,0,0!#3",
	                                    "TEVE 0,0,1,0,0!#4", "COOR 1024,-1,-2,-3,-4", "base", "BODY -1"}));

	const std::string slab = square.Script(true);
	ExpectPasses(slab, "slab");
	EXPECT_EQ(RowsFrom(slab, "material M_", 8)[6], "") << "an empty record is two empty rows in slab form";
	EXPECT_EQ(RowsFrom(slab, "material M_", 8)[7], "");
	const std::vector<std::string> expectSlab = {
	    "COOR 1024,-1,-2,-3,-4", "",
	    "SLAB_ 3, -0.100000, 0.000000, 0.000000, 0.000000, 15, 1.000000, 0.000000, 0.000000, 15, 1.000000, 1.000000, 0.000000, 10",
	    "SLAB_ 3, -0.100000, 0.000000, 0.000000, 0.000000, 10, 1.000000, 1.000000, 0.000000, 15, 0.000000, 1.000000, 0.000000, 15",
	    "", "!! there were 0 invalid faces"};
	const std::vector<std::string> slabRows = Rows(slab);
	EXPECT_EQ(std::vector<std::string>(slabRows.end() - 6, slabRows.end()), expectSlab);

	// An open surface of 100 triangles is 100 slabs; a closed box is a body even when flat.
	const std::string road = Model(Grid(10, 5), {Mat("A")}).Script(true);
	ExpectPasses(road, "road");
	EXPECT_EQ(Count(Rows(road), "SLAB_ "), 100);
	EXPECT_EQ(Count(Rows(road), "base"), 0);
	const std::string box = Model(Box(), {Mat("A")}).Script(true);
	const gdlcheck::Result boxCheck = gdlcheck::Check(box);
	EXPECT_TRUE(boxCheck.problems.empty()) << gdlcheck::Describe(boxCheck);
	EXPECT_EQ(Count(boxCheck.rows, "SLAB_ "), 0);
	ASSERT_EQ(boxCheck.bodies.size(), 1u) << "only the material's record has faces; the -1 record is a slab form";
	EXPECT_EQ(boxCheck.bodies[0].polygons.size(), 12u);
}

TEST(Gdl3DScript, NoMaterialsAndInvalidFaces)
{
	Simple3dsMesh m = Square(Simple3dsNoMaterial);
	m.vertices.push_back({5, 5, 5});
	m.faces.push_back({4, 4, 1, 0, Simple3dsNoMaterial});
	const Model model(m);
	const std::string text = model.Script(false);
	ExpectPasses(text, "no materials");
	const std::vector<std::string> rows = Rows(text);
	EXPECT_EQ(Count(rows, "\tDEFINE"), 0);
	EXPECT_EQ(RowsFrom(text, "if bUseInternalMaterial then", 4), (std::vector<std::string>{"if bUseInternalMaterial then", "", "else", "endif"}));
	EXPECT_EQ(Count(rows, "material "), 1);
	EXPECT_EQ(Count(rows, "PGON "), 2) << "faces of no material keep their geometry";
	EXPECT_EQ(rows.back(), "!! there were 1 invalid faces");
}

TEST(GdlFixedScripts, BoxNumbersAndMaterialCounts)
{
	const API_Box3D box = {10, 5, 2, 30, 9, 7};
	const std::string s2 = Gdl2DScript(box), master = GdlMasterScript(box);
	ExpectPasses(s2, "2D");
	ExpectPasses(master, "master");
	EXPECT_EQ(Rows(s2).size(), 61u);
	EXPECT_EQ(Rows(s2)[54], "ADD2 -10.000000, -5.000000");
	const std::vector<std::string> masterRows = Rows(master);
	ASSERT_EQ(masterRows.size(), 28u);
	EXPECT_EQ(std::vector<std::string>(masterRows.begin(), masterRows.begin() + 4),
	          (std::vector<std::string>{"EPS = 0.0001", "A = 20.000000", "B = 4.000000", "ZZYZX = 5.000000"}));
	EXPECT_EQ(masterRows[25], "\tstTextRot[1]\t= ``");

	struct Case {
		int n;
		std::size_t rows;
	};
	for (const Case c : {Case{0, 175}, Case{3, 186}}) {
		const std::string vl = GdlParameterScript(c.n);
		ExpectPasses(vl, "parameter script");
		const std::vector<std::string> rows = Rows(vl);
		EXPECT_EQ(rows.size(), c.rows) << c.n;
		EXPECT_EQ(Count(rows, "dim matNames["), c.n > 0 ? 1 : 0);
		EXPECT_EQ(Count(rows, "\tmatNames["), c.n);
		EXPECT_EQ(Count(rows, "\tif bLockMat | bUseInternalMaterial then"), c.n > 0 ? 1 : 0);
		EXPECT_EQ(rows[79], "\t\tif GLOB_MODPAR_NAME = \"iTextPen\" then") << "the text pens' own test";
		EXPECT_EQ(rows.front(), "lock \"A\", \"B\", \"ZZYZX\"");
		EXPECT_EQ(rows.back(), "!if nsp > 0 then values \"item\" get (nsp)");
	}
	EXPECT_EQ(RowsFrom(GdlParameterScript(3), "dim matNames[3]", 4),
	          (std::vector<std::string>{"dim matNames[3]", "\tmatNames[1]\t\t= \"mat_1\"", "\tmatNames[2]\t\t= \"mat_2\"",
	                                    "\tmatNames[3]\t\t= \"mat_3\""}));
}

// ---------------------------------------------------------------------------------------
// Parts in the host

struct Expected {
	const char* name;
	int type;
	UInt32 flags;
	double value;
	const char* text; // string value (type 12), else null
};

class GdlCreator : public testsupport::HostTest {
protected:
	testsupport::TempDir files;

	std::string Write(const std::string& name, const std::vector<sample::Material3ds>& materials, const std::vector<sample::Mesh3ds>& meshes)
	{
		const std::vector<std::uint8_t> bytes = sample::Write3ds(materials, meshes);
		const std::string path = files / name;
		testsupport::WriteFile(path, std::string(bytes.begin(), bytes.end()));
		return path;
	}

	static API_LibPart Record(const std::string& name)
	{
		API_LibPart part;
		std::memset(&part, 0, sizeof part);
		const std::u16string units = vhost::Units(GS::UniString(name));
		std::copy(units.begin(), units.end(), part.docu_UName);
		return part;
	}

	GSErrCode Generate(const std::string& file, const std::string& name, API_Box3D box, API_LibPart* out = nullptr, bool flat = false)
	{
		CGDLCreator creator(testsupport::Loc(file), 3, 4, 5, 6, 7, flat, -0.1);
		API_LibPart part = Record(name);
		testing::internal::CaptureStdout(); // the 3DS trace
		const GSErrCode err = creator.CreateLibpart(&part, &box);
		testing::internal::GetCapturedStdout();
		if (out != nullptr) *out = part;
		return err;
	}

	static std::string Section(Int32 index, GSType type)
	{
		API_LibPartSection s = {};
		s.sectType = type;
		GSHandle h = nullptr;
		if (LP::GetSection(index, &s, &h, nullptr, nullptr) != NoError) return "(missing)";
		std::string text(*h, static_cast<std::size_t>(BMGetHandleSize(h)));
		BMKillHandle(&h);
		return text;
	}

	static Int32 Find(const std::string& name)
	{
		API_LibPart part;
		BNZeroMemory(&part, sizeof part);
		if (kivel::LibraryManager::SearchByLibraryPartName(part, GS::UniString(name), false, false, false) != NoError) return 0;
		delete part.location;
		return part.index;
	}

	// Every script passes the checker; the 3D script's polygons are the input triangles.
	static gdlcheck::Result CheckScripts(Int32 index)
	{
		Int32 n = 0;
		API_LibPartSection** list = nullptr;
		EXPECT_EQ(LP::GetSectionList(index, &n, &list), NoError);
		std::vector<std::string> codes;
		for (Int32 i = 0; i < n; ++i) codes.push_back(vhost::SectionCodeName((*list)[i].sectType));
		GSHandle h = reinterpret_cast<GSHandle>(list);
		BMKillHandle(&h);
		EXPECT_EQ(codes, (std::vector<std::string>{"3DSC", "PARD", "2DSC", "1DSC", "VLSC"}));
		for (GSType t : {API_Sect2DScript, API_Sect1DScript, API_SectVLScript}) ExpectPasses(Section(index, t), vhost::SectionCodeName(t).c_str());
		const gdlcheck::Result r = gdlcheck::Check(Section(index, API_Sect3DScript));
		EXPECT_TRUE(r.problems.empty()) << gdlcheck::Describe(r);
		return r;
	}

	// The parameter section read back through the host, against the table of the generator.
	static void ExpectParameters(Int32 index, int n, const API_Box3D& box, const std::string& rotation)
	{
		const Expected table[] = {
		    {"ZZYZX", 2, 0, box.zMax - box.zMin, nullptr}, {"gs_2D_representation", 15, 0, 0, nullptr},
		    {"gs_cont_pen", 11, 1, 3, nullptr}, {"iContPen", 1, 129, 3, nullptr}, {"gs_fill_type", 10, 1, 6, nullptr},
		    {"gs_fill_pen", 11, 1, 4, nullptr}, {"iFillPen", 1, 129, 4, nullptr}, {"gs_back_pen", 11, 1, 5, nullptr},
		    {"iBackPen", 1, 129, 5, nullptr}, {"bShowText", 13, 1, 1, nullptr}, {"textPen", 11, 1, 1, nullptr},
		    {"iTextPen", 1, 129, 1, nullptr}, {"fontStyle", 12, 1, 0, "Arial"}, {"fontSizeMM", 4, 1, 12, nullptr},
		    {"fontSizePoint", 4, 1, 34.02, nullptr}, {"gs_text_style_bold", 13, 1, 0, nullptr},
		    {"gs_text_style_italic", 13, 1, 0, nullptr}, {"gs_text_style_underline", 13, 1, 0, nullptr},
		    {"gs_text_style_strike", 13, 1, 0, nullptr}, {"typeTextRotation", 12, 1, 0, rotation.c_str()},
		    {"typeTextRotation_m", 1, 129, 2, nullptr}, {"gs_readable_angle", 3, 129, 1.5707963267948966, nullptr},
		    {"string_2d", 12, 129, 0, ""}, {"stringCenterPos", 2, 129, 0, nullptr}, {"stringAngle", 3, 129, 0, nullptr},
		    {"nElem2D", 1, 129, 0, nullptr}, {"gs_3D_representation", 15, 0, 0, nullptr}, {"bShow3D", 13, 1, 1, nullptr},
		    {"gs_shadow", 13, 1, 1, nullptr}, {"pen3D", 11, 1, 3, nullptr}, {"iPen3D", 1, 129, 3, nullptr},
		    {"mat", 15, 0, 0, nullptr}, {"nMat", 1, 129, static_cast<double>(n), nullptr},
		    {"bUseInternalMaterial", 13, 1, 0, nullptr}};
		double a = 0, b = 0;
		Int32 count = 0;
		API_AddParType** pars = nullptr;
		ASSERT_EQ(LP::GetParameters(index, a, b, count, pars), NoError);
		EXPECT_EQ(a, box.xMax - box.xMin);
		EXPECT_EQ(b, box.yMax - box.yMin);
		ASSERT_EQ(count, 34 + n);
		for (Int32 k = 0; k < count; ++k) {
			const API_AddParType& p = (*pars)[k];
			const bool material = k >= 34;
			const std::string name = material ? "mat_" + std::to_string(k - 33) : table[k].name;
			EXPECT_EQ(std::string(p.name), name);
			EXPECT_EQ(static_cast<int>(p.typeID), material ? 9 : table[k].type) << name;
			EXPECT_EQ(p.flags, material ? 1u : table[k].flags) << name;
			const GS::UniString description = material ? GS::UniString(("Material " + std::to_string(k - 33)).c_str()) : GetResUniString(32538, static_cast<short>(k + 1));
			EXPECT_TRUE(GS::UniString(p.uDescname) == description) << name;
			if (p.typeMod == API_ParArray) {
				EXPECT_EQ(p.dim1, 1) << name;
				EXPECT_EQ(p.dim2, name == "stringCenterPos" ? 2 : 1) << name;
				if (p.typeID != APIParT_CString)
					for (Int32 c = 0; c < p.dim1 * p.dim2; ++c) EXPECT_EQ(reinterpret_cast<const double*>(*p.value.array)[c], 0.0);
				else
					EXPECT_EQ(reinterpret_cast<const GS::UniChar*>(*p.value.array)[0], 0);
			} else if (p.typeID == APIParT_CString) {
				EXPECT_TRUE(GS::UniString(p.value.uStr) == GS::UniString(table[k].text)) << name;
			} else {
				EXPECT_EQ(p.value.real, material ? 7.0 : table[k].value) << name;
			}
		}
		const bool arrays = count >= 25 && (*pars)[22].typeMod == API_ParArray && (*pars)[23].typeMod == API_ParArray && (*pars)[24].typeMod == API_ParArray;
		EXPECT_TRUE(arrays) << "string_2d, stringCenterPos and stringAngle are arrays";
		ACAPI_DisposeAddParHdl(&pars);
	}
};

sample::Mesh3ds Triangles(const char* name, int material, float z)
{
	sample::Mesh3ds m{name, {}, {}, {}, material};
	m.points = {{0, 0, z}, {2, 0, z}, {2, 1, z}, {0, 1, z + 1}};
	m.uvs = {{0, 0}, {1, 0}, {1, 1}, {0, 1}};
	m.faces = {{0, 1, 2}, {0, 2, 3}};
	return m;
}

TEST_F(GdlCreator, SavesAPartThatReadsBack)
{
	const std::string file = Write("objects.3ds", {{"Benk", {100, 70, 40}, ""}, {"Stein", {90, 90, 90}, "stone.png"}},
	                               {Triangles("a", 1, 0), Triangles("b", -1, 5)});
	const API_Box3D box = {0, 0, 0, 2, 1, 6};
	API_LibPart part;
	BNZeroMemory(&part, sizeof part);
	ASSERT_EQ(Generate(file, "Objekter_1", box, &part), NoError);
	EXPECT_GT(part.index, 0);
	EXPECT_EQ(part.location, nullptr) << "the folder's location is released and cleared";
	EXPECT_EQ(part.typeID, APILib_ObjectID);
	EXPECT_TRUE(part.isPlaceable);
	EXPECT_STREQ(part.parentUnID, "{103E8D2C-8230-42E1-9597-46F84CCE28C0}-{00000000-0000-0000-0000-000000000000}");
	ASSERT_EQ(Find("Objekter_1"), part.index);
	EXPECT_TRUE(fs::exists(vhost::EmbeddedLibraryFolder() + "/VELMORA Library/Objekter_1.gsm"));
	EXPECT_FALSE(vhost::Library().overwrite);

	const gdlcheck::Result r = CheckScripts(part.index);
	ASSERT_EQ(r.bodies.size(), 6u) << "two meshes, each with records -1, 0, 1";
	// Mesh a's faces are material 1's (record 3), mesh b's have no material (its record -1).
	std::vector<std::size_t> polygons;
	for (const auto& b : r.bodies) polygons.push_back(b.polygons.size());
	EXPECT_EQ(polygons, (std::vector<std::size_t>{0, 0, 2, 2, 0, 0}));
	const gdlcheck::Body& textured = r.bodies[2];
	std::set<std::vector<double>> got, want = {{0, 0, 0, 2, 0, 0, 2, 1, 0}, {0, 0, 0, 2, 1, 0, 0, 1, 1}};
	for (const auto& p : textured.polygons) {
		std::vector<double> corners;
		for (int v : p)
			for (double c : textured.vertices[static_cast<std::size_t>(v)]) corners.push_back(c);
		got.insert(corners);
	}
	EXPECT_EQ(got, want) << "each polygon walks its input triangle's corners in order";
	const std::string script3D = Section(part.index, API_Sect3DScript);
	EXPECT_EQ(Count(Rows(script3D), "TEVE "), 6 * 4 + 8) << "textured vertices besides the fixed rows";
	EXPECT_EQ(Count(Rows(script3D), "\tDEFINE TEXTURE \"stone1\" 1,"), 1);
	ExpectParameters(part.index, 2, box, GetResUniString(32537, 1).ToCStr().Get());

	// Overwriting keeps the index and replaces the scripts.
	const std::string other = Write("other.3ds", {}, {Triangles("c", -1, 0)});
	API_LibPart again;
	BNZeroMemory(&again, sizeof again);
	ASSERT_EQ(Generate(other, "Objekter_1", box, &again), NoError);
	EXPECT_EQ(again.index, part.index);
	EXPECT_EQ(Count(Rows(Section(part.index, API_Sect3DScript)), "\tDEFINE MATERIAL"), 0);
	ExpectParameters(part.index, 0, box, GetResUniString(32537, 1).ToCStr().Get());
	CheckScripts(part.index);
	EXPECT_TRUE(vhost::Current().memoryFaults.empty());
}

TEST_F(GdlCreator, FailuresSaveNothingAndKeepTheOldPart)
{
	const std::string good = Write("good.3ds", {{"A", {1, 2, 3}, ""}}, {Triangles("a", 0, 0)});
	const API_Box3D box = {0, 0, 0, 2, 1, 1};
	ASSERT_EQ(Generate(good, "Veg", box), NoError);
	const std::string file = vhost::EmbeddedLibraryFolder() + "/VELMORA Library/Veg.gsm";
	const std::string before = testsupport::ReadFile(file);
	const Int32 index = Find("Veg");

	struct Case {
		const char* what;
		const char* fault; // host call made to fail, or null
		std::string source;
		API_Box3D box;
		GSErrCode expected;
		int passFirst = 0;         // calls of the fault's kind that succeed first
		GSErrCode injected = 0;    // the fault's code when it is not the answer
	};
	const double nan = std::numeric_limits<double>::quiet_NaN();
	const Case cases[] = {
	    {"missing model", nullptr, files / "none.3ds", box, 0},
	    {"3D section", "ACAPI_LibraryPart_NewSection", good, box, APIERR_GENERAL},
	    {"section bytes", "ACAPI_LibraryPart_WriteSection", good, box, APIERR_MEMFULL},
	    {"parameters", "ACAPI_LibraryPart_AddSection", good, box, APIERR_GENERAL},
	    // Sections after a good 3D section: 2D, master and parameter script, in that order.
	    {"2D section", "ACAPI_LibraryPart_NewSection", good, box, APIERR_MEMFULL, 1},
	    {"master section", "ACAPI_LibraryPart_NewSection", good, box, APIERR_BADPARS, 2},
	    {"parameter script section", "ACAPI_LibraryPart_NewSection", good, box, APIERR_GENERAL, 3},
	    {"start of the part", "ACAPI_LibraryPart_Create", good, box, 2, 0, APIERR_MEMFULL},
	    {"save", "ACAPI_LibraryPart_Save", good, box, APIERR_GENERAL},
	    {"negative size", nullptr, good, {0, 0, 0, -1, 1, 1}, APIERR_BADPARS},
	    {"NaN size", nullptr, good, {0, 0, 0, 1, nan, 1}, APIERR_BADPARS},
	};
	for (const Case& c : cases) {
		vhost::ClearFaults();
		// A fault after passing calls hits that one call only: the later sections would fail too.
		if (c.fault != nullptr)
			vhost::InjectFault(c.fault, c.injected != 0 ? c.injected : c.expected, "", c.passFirst > 0 ? 1 : -1, c.passFirst);
		const GSErrCode err = Generate(c.source, "Veg", c.box);
		if (c.expected == 0) EXPECT_NE(err, NoError) << c.what;
		else EXPECT_EQ(err, c.expected) << c.what;
		EXPECT_EQ(testsupport::ReadFile(file), before) << c.what << ": the saved part stays as it was";
		EXPECT_EQ(Find("Veg"), index) << c.what;
		EXPECT_FALSE(vhost::Library().overwrite) << c.what;
	}
	vhost::ClearFaults();
	const std::vector<std::string> reports = ReportTexts();
	EXPECT_EQ(std::count_if(reports.begin(), reports.end(), [](const std::string& t) { return t.find("Error creating libpart \"Veg\"") == 0; }), 2)
	    << "the unusable boxes are reported with the part's name";
	// A part left open by a failure is dropped by the next one; the next one is whole.
	ASSERT_EQ(Generate(good, "Veg", box), NoError);
	CheckScripts(Find("Veg"));
	EXPECT_TRUE(vhost::Current().memoryFaults.empty());
}

TEST_F(GdlCreator, NoGeneratedPartsFolder)
{
	const std::string good = Write("good.3ds", {}, {Triangles("a", -1, 0)});
	vhost::InjectFault("ACAPI_LibraryManagement_GetLibraries", APIERR_GENERAL);
	EXPECT_EQ(Generate(good, "Veg", {0, 0, 0, 1, 1, 1}), 2);
	vhost::ClearFaults();
	EXPECT_EQ(ReportTexts().back(), "Error in finding GSM location");
	EXPECT_EQ(Find("Veg"), 0);
}

TEST_F(GdlCreator, SampleRoadAndObjectLayers)
{
	const std::string project = RunRoot() + "/Documents/Velmora/Prøve";
	ASSERT_EQ(sample::MakeProjectFolder(project, {}), "");
	struct Layer {
		const char* file;
		const char* part;
		bool flat;
	};
	for (const Layer& l : {Layer{"Veg.3ds", "Veg_Prøve", true}, Layer{"Objekter.3ds", "Objekter_Prøve", false}}) {
		const std::string source = project + "/3D-modell/3ds/" + l.file;
		kivel::MeshReader reader(testsupport::Loc(source));
		testing::internal::CaptureStdout();
		ASSERT_EQ(reader.Read(), 0);
		testing::internal::GetCapturedStdout();
		API_Box3D box = {1e30, 1e30, 1e30, -1e30, -1e30, -1e30};
		for (const auto& m : reader.GetScene().meshes)
			for (const auto& v : m.vertices) {
				box.xMin = std::min(box.xMin, v.x / 1000.0), box.xMax = std::max(box.xMax, v.x / 1000.0);
				box.yMin = std::min(box.yMin, v.y / 1000.0), box.yMax = std::max(box.yMax, v.y / 1000.0);
				box.zMin = std::min(box.zMin, v.z / 1000.0), box.zMax = std::max(box.zMax, v.z / 1000.0);
			}
		API_LibPart part;
		BNZeroMemory(&part, sizeof part);
		ASSERT_EQ(Generate(source, l.part, box, &part, l.flat), NoError) << l.file;
		ASSERT_EQ(Find(l.part), part.index);
		const gdlcheck::Result r = CheckScripts(part.index);
		EXPECT_GT(l.flat ? r.slabs.size() : r.bodies.size(), 0u) << l.file;
		ExpectParameters(part.index, static_cast<int>(reader.GetScene().materials.size()), box, GetResUniString(32537, 1).ToCStr().Get());
	}
	// The project dump holds both parts with their five sections.
	testsupport::TempDir out;
	ASSERT_TRUE(vhost::WriteLibraryParts(out.Path()));
	for (const char* part : {"Veg_Prøve", "Objekter_Prøve"})
		for (const char* f : {"3d.gdl", "2d.gdl", "master.gdl", "parameter-script.gdl", "parameters.json"})
			EXPECT_TRUE(fs::exists(fs::u8path(out / "library/" + part + "/" + f))) << part << "/" << f;
}

} // namespace
