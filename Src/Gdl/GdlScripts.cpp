#include "Gdl/GdlScripts.hpp"

#include <algorithm>
#include <cmath>

namespace {

constexpr const char* S = "! ------------------------------------------------------------------------------";

template <std::size_t N>
void AddRows(ScriptText& out, const char* const (&rows)[N])
{
	for (const char* row : rows) out.AddRow(row);
}

// ---------------------------------------------------------------------------------------
// 3D script

const char* const k3DHead[] = {
	S,
	"! General Settings",
	S,
	"if not(bShow3D) then end",
	"unID = 1",
	"pen pen3D",
	"if not(gs_shadow) then shadow off",
	"",
	"",
	S,
	"! Hotspots",
	S,
	"hotspot\t0,\t0, 0,\tunID\t: unID = unID + 1",
	"hotspot\tA,\t0, 0,\tunID\t: unID = unID + 1",
	"hotspot\tA,\tB, 0,\tunID\t: unID = unID + 1",
	"hotspot\t0,\tB, 0,\tunID\t: unID = unID + 1",
	"",
	"hotspot\t0,\t0, ZZYZX,\tunID\t: unID = unID + 1",
	"hotspot\tA,\t0, ZZYZX,\tunID\t: unID = unID + 1",
	"hotspot\tA,\tB, ZZYZX,\tunID\t: unID = unID + 1",
	"hotspot\t0,\tB, ZZYZX,\tunID\t: unID = unID + 1",
	"",
	"",
	S,
	"! Material Manager",
	S,
	"dim uMat[]",
	"if bUseInternalMaterial then",
};

// The unit vectors every record's coordinate system is given by.
const char* const kRecordFrame[] = {
	"TEVE 0,0,0,0,0!#1", "TEVE 1,0,0,0,0!#2", "TEVE 0,1,0,0,0!#3", "TEVE 0,0,1,0,0!#4", "COOR 1024,-1,-2,-3,-4",
};

double Finite(double v) { return std::isfinite(v) ? v : 0.0; }
double Unit(double v) { return std::clamp(Finite(v), 0.0, 1.0); }
double Mean(const Simple3dsColor& c) { return Unit((Finite(c.r) + Finite(c.g) + Finite(c.b)) / 3.0); }

// The texture name: the file name without its extension of three letters and the dot.
std::string TextureName(const Simple3dsMaterial& m)
{
	const std::string& file = m.texture.fileName;
	return GdlSafeName(file.size() > 4 ? file.substr(0, file.size() - 4) : std::string());
}

ScriptText& Color(ScriptText& out, const Simple3dsColor& c)
{
	return out.Add("\t\t").Fixed(Unit(c.r)).Add(", ").Fixed(Unit(c.g)).Add(", ").Fixed(Unit(c.b)).Add(",");
}

void AddTextures(ScriptText& out, const std::vector<Simple3dsMaterial>& materials)
{
	int picture = 0;
	for (std::size_t i = 0; i < materials.size(); ++i) {
		const Simple3dsTextureMap& t = materials[i].texture;
		if (t.fileName.empty()) continue;
		out.Add("\tDEFINE TEXTURE \"").Add(TextureName(materials[i])).Int(static_cast<long long>(i)).Add("\" ");
		out.Int(++picture).Add(", ").Fixed(Finite(t.uScale)).Add(", ").Fixed(Finite(t.vScale)).Add(", 0, ");
		out.Fixed(Finite(t.angle)).EndRow();
	}
}

void AddMaterial(ScriptText& out, const Simple3dsMaterial& m, long long i)
{
	const std::string name = GdlSafeName(m.name);
	const double transparency = Unit(m.transparency);
	out.Add("\tDEFINE MATERIAL \"").Add(name).Int(i).Add("\" 20,").EndRow();
	Color(out, m.ambient).EndRow();
	out.Add("\t\t").Fixed(Mean(m.ambient)).Add(", ").Fixed(Mean(m.diffuse)).Add(", ").Fixed(Mean(m.specular));
	out.Add(", ").Fixed(transparency).Add(",").EndRow();
	const double falloff = m.transparency > 0 ? Finite(m.xpfall * -4.0) : 0.0;
	out.Add("\t\t").Fixed(Finite(m.shininess * 100.0)).Add(", ").Fixed(falloff).Add(",").EndRow();
	Color(out, m.specular).EndRow();
	const double glow = m.selfIllum ? 0.7 : 0.0;
	out.Add("\t\t").Fixed(glow).Add(", ").Fixed(glow).Add(", ").Fixed(glow).Add(",").EndRow();
	out.Add("\t\t").Fixed(m.selfIllum ? 30.0 : 0.0).Add(",").EndRow();
	out.AddRow("\t\t0, 1,");
	if (m.texture.fileName.empty())
		out.AddRow("\t\t0");
	else
		out.Add("\t\tIND(TEXTURE, \"").Add(TextureName(m)).Int(i).Add("\")").EndRow();
	out.AddRow("");
}

void AddMaterialTable(ScriptText& out, const std::vector<Simple3dsMaterial>& materials)
{
	const long long n = static_cast<long long>(materials.size());
	for (long long i = n - 1; i >= 0; --i) {
		out.Add("\tuMat[").Int(i + 1).Add("] = ind(MATERIAL, \"").Add(GdlSafeName(materials[static_cast<std::size_t>(i)].name));
		out.Int(i).Add("\")").EndRow();
	}
	out.AddRow("else");
	for (long long k = n; k >= 1; --k) out.Add("\tuMat[").Int(k).Add("] = mat_").Int(k).EndRow();
	out.AddRow("endif");
	out.AddRow("");
	out.AddRow("");
	out.AddRow(S);
	out.AddRow("! 3D Datas");
	out.AddRow(S);
}

ScriptText& Point(ScriptText& out, const kivel::Coord3DUV& v)
{
	return out.Fixed(v.x).Add(", ").Fixed(v.y).Add(", ").Fixed(v.z).Add(", ");
}

// One thin slab per triangle; a side of the slab shows when the triangle's edge is visible.
void AddSlabs(ScriptText& out, const kivel::GdlMeshMaterialData& r, double thickness)
{
	out.AddRow("");
	for (const kivel::GdlFace& f : r.faces) {
		const kivel::GdlEdge* e[3];
		for (UInt32 j = 0; j < 3; ++j) e[j] = &r.edges[static_cast<UInt32>(std::abs(f.edges[j]) - 1)];
		const bool forward1 = f.edges[0] > 0, forward2 = f.edges[1] > 0;
		const int p1 = forward1 ? e[0]->vertex1 : e[0]->vertex2;
		const int p2 = forward1 ? e[0]->vertex2 : e[0]->vertex1;
		const int p3 = forward2 ? e[1]->vertex2 : e[1]->vertex1;
		out.Add("SLAB_ 3, ").Fixed(thickness).Add(", ");
		const int corners[3] = {p1, p2, p3};
		for (int j = 0; j < 3; ++j) {
			Point(out, r.vertices[static_cast<UInt32>(corners[j] - 1)]).Int(e[j]->IsVisible() ? 15 : 10);
			if (j < 2) out.Add(", ");
		}
		out.EndRow();
	}
	out.AddRow("");
}

void AddBody(ScriptText& out, const kivel::GdlMeshMaterialData& r)
{
	out.AddRow("base");
	for (const kivel::Coord3DUV& v : r.vertices) {
		if (v.hasUV)
			out.Add("TEVE ").Fixed(v.x).Add(",").Fixed(v.y).Add(",").Fixed(v.z).Add(",").Fixed(v.u).Add(",").Fixed(v.v).EndRow();
		else
			out.Add("VERT ").Fixed(v.x).Add(",").Fixed(v.y).Add(",").Fixed(v.z).EndRow();
	}
	// A face of no area has no direction: its normal is 0/0, which no script may hold.
	const auto finite = [](double c) { return std::isfinite(c) ? c : 0.0; };
	for (const Geometry::Vector3<double>& n : r.normals)
		out.Add("VECT ").Fixed(finite(n.x)).Add(",").Fixed(finite(n.y)).Add(",").Fixed(finite(n.z)).EndRow();
	for (const kivel::GdlEdge& e : r.edges) {
		out.Add("EDGE ").Int(e.vertex1).Add(",").Int(e.vertex2).Add(",").Int(e.face1).Add(",").Int(e.face2).Add(",");
		out.Int(e.status).EndRow();
	}
	for (const kivel::GdlFace& f : r.faces) {
		out.Add("PGON 3,").Int(f.normalIndex).Add(",0");
		for (int e : f.edges) out.Add(",").Int(e);
		out.EndRow();
	}
	out.AddRow("BODY -1");
	out.AddRow("");
}

// ---------------------------------------------------------------------------------------
// 2D script

const char* const k2DHead[] = {
	"",
	S,
	"! General Settings",
	S,
	"unID = 1",
	"",
	S,
	"! Hotspots",
	S,
	"hotspot2 0,\t\t0,\tunID \t: unID = unID + 1",
	"hotspot2 A,\t\t0,\tunID \t: unID = unID + 1",
	"hotspot2 A,\t\tB,\tunID \t: unID = unID + 1",
	"hotspot2 0,\t\tB,\tunID \t: unID = unID + 1",
	"hotspot2 A/2,\tB/2,unID \t: unID = unID + 1",
	"",
	S,
	"! Text",
	S,
	"if bShowText then",
	"\tpen textPen",
	"\tangleViewRot = 0",
	"\tqq = REQUEST (\"View_Rotangle\", \"\", angleViewRot)",
	"\tdefine style textstyle\tfontStyle, 10/GLOB_SCALE*fontSizeMM, 5, gs_text_style_bold + 2 * gs_text_style_italic + 4 * gs_text_style_underline + 128 * gs_text_style_strike",
	"\tstyle textstyle",
	"",
	"\tfor i = 1 to nElem2D",
	"\t\tadd2 stringCenterPos[i][1], stringCenterPos[i][2]",
	"\t\tnTrans = 1",
	"\t\ttotalRotate = (SYMB_ROTANGLE + angleViewRot + stringAngle[i]) MOD 360",
	"\t\tif typeTextRotation_m = 2 then\t\t\t\t! Readable",
	"\t\t\trot2 180 * (totalRotate > (gs_readable_angle + eps) & totalRotate < (gs_readable_angle + 180 + eps)) + stringAngle[i] \t! 1/0",
	"\t\t\tnTrans = nTrans + 1",
	"\t\telse",
	"\t\t\tif typeTextRotation_m = 1 then\t\t\t\t\t\t\t! Horizontal",
	"\t\t\t\ttotalRotate = (SYMB_ROTANGLE + angleViewRot) MOD 360",
	"\t\t\t\trot2 totalRotate * (SYMB_MIRRORED - not(SYMB_MIRRORED))\t! 1/-1",
	"\t\t\t\tnTrans = nTrans + 1",
	"\t\t\telse",
	"\t\t\t\trot2 totalRotate",
	"\t\t\t\tnTrans = nTrans + 1",
	"\t\t\tendif",
	"\t\tendif",
	"\t\ttext2 0, 0, string_2d[i]",
	"\t\tdel nTrans",
	"\tnext i",
	"endif",
	"",
	"",
	S,
	"! 2D Datas",
	S,
	"pen gs_cont_pen",
	"fill gs_fill_type",
	"",
};

const char* const k2DTail[] = {
	"DEL 1",
	"pen gs_cont_pen",
	"PROJECT2{3} 3, 270, 2 + 16 + 32 + 256 + 1024 + 2048, 8, 0",
	"pen gs_fill_pen",
	"fill gs_fill_type",
	"PROJECT2{3} 3, 270, 3 + 16 + 32 + 256, 4, gs_back_pen",
};

// ---------------------------------------------------------------------------------------
// Master script

const char* const kMasterTail[] = {
	"",
	S,
	"! Definitions",
	S,
	"BUTTON_UI_START\t= 1500",
	"BUTTON_UI_UP\t= 1501",
	"BUTTON_UI_DOWN\t= 1502",
	"BUTTON_UI_END\t= 1503",
	"",
	"uiStartY\t\t= 115",
	"uiEndY\t\t\t= 260",
	"uiLineHeight\t= 26",
	"nUiRows\t\t\t= int((uiEndY-uiStartY)/uiLineHeight)",
	"nDefaultList\t= 2",
	"",
	"if not(nElem2D) then bShowText = 0",
	"",
	S,
	"! Localization",
	S,
	"dim\tstTextRot[3]",
	"\tstTextRot[1]\t= ``",
	"\tstTextRot[2]\t= ``",
	"\tstTextRot[3]\t= ``",
};

// ---------------------------------------------------------------------------------------
// Parameter script

const char* const kVLTextHead[] = {
	"lock \"A\", \"B\", \"ZZYZX\"",
	"parameters ac_bottomlevel = 0, ac_toplevel = ZZYZX",
	"",
	S,
	"! Text Style",
	S,
	"dim fontNames[]",
	"n = request(\"FONTNAMES_LIST\", \"\", fontNames)",
	"values \"fontStyle\" fontNames, custom",
	"",
	"Dot_in_mm = 25.4 / 72",
	"",
	"if GLOB_MODPAR_NAME = \"fontSizePoint\" then",
	"\tif fontSizePoint < EPS then",
	"\t\tfontSizePoint = 1",
	"\t\tparameters fontSizePoint = fontSizePoint",
	"\tendif",
	"\tfontSizeMM = fontSizePoint * Dot_in_mm",
	"\tparameters fontSizeMM = fontSizeMM",
	"else",
	"\tif fontSizeMM < EPS then",
	"\t\tfontSizeMM = 1",
	"\t\tparameters fontSizeMM = fontSizeMM",
	"\tendif",
	"\tfontSizePoint = fontSizeMM / Dot_in_mm",
	"\tparameters fontSizePoint = fontSizePoint",
	"endif",
	"",
	"values \"typeTextRotation\" stTextRot",
	"values \"typeTextRotation_m\" 2, 1, 0",
	"if GLOB_MODPAR_NAME = \"typeTextRotation\" then",
	"\ttypeTextRotation_m = 0",
	"\tfor i = 1 to vardim1(stTextRot)",
	"\t\tif typeTextRotation = stTextRot[i] then",
	"\t\t\ttypeTextRotation_m = 3 - i",
	"\t\t\ti = vardim1(stTextRot)",
	"\t\tendif",
	"\tnext i",
	"\tparameters typeTextRotation_m = typeTextRotation_m",
	"else",
	"\ttypeTextRotation_m = max(min(typeTextRotation_m,2),0)",
	"\tparameters typeTextRotation = stTextRot[3-typeTextRotation_m]",
	"endif",
	"",
	"!if GLOB_CONTEXT = 1 | GLOB_CONTEXT = 5 then",
	"\tif not(nElem2D) then",
	"\t\thideparameter\t\"bShowText\"",
	"\t\tlock\t\t\t\"bShowText\"",
	"\tendif",
	"",
	"\tif not(bShowText) then",
};

// The text parameters hidden and locked while text is off: "hideparameter" and "lock" each
// head the list, one name a row.
const char* const kTextParameters[] = {
	"textPen", "iTextPen", "fontStyle", "fontSizeMM", "fontSizePoint", "typeTextRotation", "typeTextRotation_m",
	"gs_text_style_bold", "gs_text_style_italic", "gs_text_style_underline", "gs_text_style_strike", "gs_readable_angle",
};

const char* const kVLTextPens[] = {
	"\telse",
	"",
	"\t\tif GLOB_MODPAR_NAME = \"iTextPen\" then",
	"\t\t\tiTextPen \t= min(max(iTextPen, 1), 255)",
	"\t\t\ttextPen\t\t= iTextPen",
	"\t\t\tparameters iTextPen = iTextPen, textPen = textPen",
	"\t\telse",
	"\t\t\ttextPen\t\t= max(textPen, 1)",
	"\t\t\tiTextPen\t= textPen",
	"\t\t\tparameters iTextPen = iTextPen, textPen = textPen",
	"\t\tendif",
	"",
	"\tendif",
	"!endif",
	"",
	"",
	S,
	"! 2D Representation",
	S,
	"!if GLOB_CONTEXT = 1 | GLOB_CONTEXT = 5 then",
	"\t! -------Contour--------------------",
	"\tif GLOB_MODPAR_NAME = \"iContPen\" then",
	"\t\tiContPen\t= min(max(iContPen, 1), 255)",
	"\t\tgs_cont_pen\t= iContPen",
	"\t\tparameters iContPen = iContPen, gs_cont_pen = gs_cont_pen",
	"\telse",
	"\t\tgs_cont_pen\t= max(gs_cont_pen, 1)",
	"\t\tiContPen\t= gs_cont_pen",
	"\t\tparameters iContPen = iContPen, gs_cont_pen = gs_cont_pen",
	"\tendif",
	"",
	"\t! -------Fill Pen--------------------",
	"\tif GLOB_MODPAR_NAME = \"iFillPen\" then",
	"\t\tiFillPen\t= min(max(iFillPen, 1), 255)",
	"\t\tgs_fill_pen\t= iFillPen",
	"\t\tparameters iFillPen = iFillPen, gs_fill_pen = gs_fill_pen",
	"\telse",
	"\t\tgs_fill_pen\t= max(gs_fill_pen, 1)",
	"\t\tiFillPen\t= gs_fill_pen",
	"\t\tparameters iFillPen = iFillPen, gs_fill_pen = gs_fill_pen",
	"\tendif",
	"",
	"\t! -------Fill Back Pen--------------------",
	"\tif GLOB_MODPAR_NAME = \"iBackPen\" then",
	"\t\tiBackPen\t= min(max(iBackPen, -1), 255)",
	"\t\tgs_back_pen\t= iBackPen",
	"\t\tparameters iBackPen = iBackPen, gs_back_pen = gs_back_pen",
	"\telse",
	"\t\tgs_back_pen\t= max(gs_back_pen, -1)",
	"\t\tiBackPen\t= gs_back_pen",
	"\t\tparameters iBackPen = iBackPen, gs_back_pen = gs_back_pen",
	"\tendif",
	"!endif",
	"",
	"",
	S,
	"! 3D Representation",
	S,
	"! if GLOB_CONTEXT = 1 | GLOB_CONTEXT = 5 then",
};

const char* const kVL3D[] = {
	"",
	"\tbLockMat = 0",
	"\tif not(bShow3D) then",
	"\t\thideparameter\t\"pen3D\", \"iPen3D\", \"gs_shadow\", \"bUseInternalMaterial\", \"mat\", \"nMat\"",
	"\t\tlock\t\t\t\"pen3D\", \"iPen3D\", \"gs_shadow\", \"bUseInternalMaterial\", \"mat\", \"nMat\"",
	"\t\tbLockMat = 1",
	"\tendif",
	"",
	"\tif GLOB_MODPAR_NAME = \"iPen3D\" then",
	"\t\tiPen3D \t= min(max(iPen3D, 1), 255)",
	"\t\tpen3D\t= iPen3D",
	"\t\tparameters iPen3D = iPen3D, pen3D = pen3D",
	"\telse",
	"\t\tpen3D\t= max(pen3D, 1)",
	"\t\tiPen3D\t= pen3D",
	"\t\tparameters iPen3D = iPen3D, pen3D = pen3D",
	"\tendif",
};

const char* const kVLMaterialLocks[] = {
	"",
	"\tif bLockMat | bUseInternalMaterial then",
	"\t\tfor i = 1 to vardim1(matNames)",
	"\t\t\thideparameter\tmatNames[i]",
	"\t\t\tlock\t\t\tmatNames[i]",
	"\t\tnext i",
	"\tendif",
};

const char* const kVLTail[] = {
	"!endif",
	"",
	"",
	S,
	"! UI",
	S,
	"!values \"gs_ui_current_page\" 1, 2, 3",
	"",
	"!if not(bUseInternalMaterial) then",
	"!\tif GLOB_UI_BUTTON_ID = BUTTON_UI_START\tthen uiScrollIdx = 1",
	"!\tif GLOB_UI_BUTTON_ID = BUTTON_UI_UP\t\tthen uiScrollIdx = max (uiScrollIdx-1, 1)",
	"!\tif GLOB_UI_BUTTON_ID = BUTTON_UI_DOWN\tthen uiScrollIdx = min (uiScrollIdx+1, nMat-(nUiRows-1))",
	"!\tif GLOB_UI_BUTTON_ID = BUTTON_UI_END\tthen uiScrollIdx = nMat-(nUiRows-1)",
	"!endif",
	"",
	"!uiScrollIdx = max(1, uiScrollIdx)",
	"!parameters uiScrollIdx = uiScrollIdx",
	"",
	"!for i = 1 to vardim1(nOfmlListData)",
	"!\tput i",
	"!next i",
	"!if nsp > 0 then values \"item\" get (nsp)",
};

void AddNameList(ScriptText& out, const char* head)
{
	const std::size_t n = std::size(kTextParameters);
	for (std::size_t i = 0; i < n; ++i)
		out.Add(i == 0 ? head : "\t\t\t\t\t\t").Add("\"").Add(kTextParameters[i]).Add(i + 1 < n ? "\"," : "\"").EndRow();
	out.AddRow("");
}

} // namespace

std::string GdlSafeName(const std::string& name)
{
	std::string out = name;
	for (char& c : out) {
		const auto u = static_cast<unsigned char>(c);
		if (c == '"' || u < 0x20 || u == 0x7F) c = '_';
	}
	return out;
}

void AppendGdlGeometry(ScriptText& out, const GdlMeshes& meshes, bool flat, double slabThickness)
{
	// Reserved once at about the rows' size, so the buffer is seldom moved.
	std::size_t estimate = out.Text().size();
	for (const auto& records : meshes)
		for (const kivel::GdlMeshMaterialData& r : records)
			estimate += 160 + 64 * r.vertices.GetSize() + 40 * r.normals.GetSize() + 24 * r.edges.GetSize() +
			            (flat ? 140 : 28) * r.faces.GetSize();
	out.Reserve(estimate);
	for (const auto& records : meshes) {
		for (const kivel::GdlMeshMaterialData& r : records) {
			if (r.material == -1)
				out.AddRow("material M_");
			else
				out.Add("material uMat[").Int(r.material + 1LL).Add("]").EndRow();
			AddRows(out, kRecordFrame);
			if (flat && !r.ISolid())
				AddSlabs(out, r, slabThickness);
			else
				AddBody(out, r);
		}
	}
}

std::string Gdl3DScript(const Simple3dsScene& scene, const GdlMeshes& meshes, int invalidFaces, bool flat,
                        double slabThickness)
{
	ScriptText out;
	AddRows(out, k3DHead);
	AddTextures(out, scene.materials);
	out.AddRow("");
	for (std::size_t i = 0; i < scene.materials.size(); ++i) AddMaterial(out, scene.materials[i], static_cast<long long>(i));
	AddMaterialTable(out, scene.materials);
	AppendGdlGeometry(out, meshes, flat, slabThickness);
	out.Add("!! there were ").Int(invalidFaces).Add(" invalid faces").EndRow();
	return out.Take();
}

std::string Gdl2DScript(const API_Box3D& box)
{
	ScriptText out;
	AddRows(out, k2DHead);
	out.Add("ADD2 ").Fixed(-box.xMin).Add(", ").Fixed(-box.yMin).EndRow();
	AddRows(out, k2DTail);
	return out.Take();
}

std::string GdlMasterScript(const API_Box3D& box)
{
	ScriptText out;
	out.AddRow("EPS = 0.0001");
	out.Add("A = ").Fixed(box.xMax - box.xMin).EndRow();
	out.Add("B = ").Fixed(box.yMax - box.yMin).EndRow();
	out.Add("ZZYZX = ").Fixed(box.zMax - box.zMin).EndRow();
	AddRows(out, kMasterTail);
	return out.Take();
}

std::string GdlParameterScript(int materialCount)
{
	ScriptText out;
	AddRows(out, kVLTextHead);
	AddNameList(out, "\t\thideparameter\t");
	AddNameList(out, "\t\tlock\t\t\t");
	AddRows(out, kVLTextPens);
	if (materialCount > 0) {
		out.Add("dim matNames[").Int(materialCount).Add("]").EndRow();
		for (int k = 1; k <= materialCount; ++k) out.Add("\tmatNames[").Int(k).Add("]\t\t= \"mat_").Int(k).Add("\"").EndRow();
	}
	AddRows(out, kVL3D);
	if (materialCount > 0) AddRows(out, kVLMaterialLocks);
	AddRows(out, kVLTail);
	return out.Take();
}
