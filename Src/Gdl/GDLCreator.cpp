#include "Gdl/GDLCreator.hpp"

#include <algorithm>
#include <cmath>
#include <cstring>
#include <memory>
#include <string>

#include "APICommon.hpp"
#include "Gdl/GdlScripts.hpp"
#include "Gdl/MeshReader.hpp"
#include "Helpers/LibraryManager.hpp"
#include "Helpers/ResourceHelpers.hpp"
#include "generic/LibraryPart.hpp"

namespace {

constexpr const char* kParentUnID = "{103E8D2C-8230-42E1-9597-46F84CCE28C0}-{00000000-0000-0000-0000-000000000000}";
constexpr short kDescriptionList = 32538; // parameter descriptions, item k for parameter k
constexpr short kRotationList = 32537;    // item 1: the default text rotation choice
constexpr UInt32 kShown = 0;
constexpr UInt32 kChild = API_ParFlg_Child;
constexpr UInt32 kHiddenChild = API_ParFlg_Child | API_ParFlg_Hidden;
constexpr Int32 kFixedParameters = 34;

// Where a parameter's default comes from.
enum class From { Number, ContourPen, FillPen, BackPen, FillType, Height, TextCount, MaterialCount, Text, RotationText, TextArray, NumberArray };

struct ParameterRow {
	const char* name;
	API_AddParID type;
	UInt32 flags;
	From from;
	double number; // the value for From::Number, the second dimension for From::NumberArray
	const char* text;
};

const ParameterRow kParameters[kFixedParameters] = {
	{"ZZYZX", APIParT_Length, kShown, From::Height, 0, nullptr},
	{"gs_2D_representation", APIParT_Title, kShown, From::Number, 0, nullptr},
	{"gs_cont_pen", APIParT_PenCol, kChild, From::ContourPen, 0, nullptr},
	{"iContPen", APIParT_Integer, kHiddenChild, From::ContourPen, 0, nullptr},
	{"gs_fill_type", APIParT_FillPat, kChild, From::FillType, 0, nullptr},
	{"gs_fill_pen", APIParT_PenCol, kChild, From::FillPen, 0, nullptr},
	{"iFillPen", APIParT_Integer, kHiddenChild, From::FillPen, 0, nullptr},
	{"gs_back_pen", APIParT_PenCol, kChild, From::BackPen, 0, nullptr},
	{"iBackPen", APIParT_Integer, kHiddenChild, From::BackPen, 0, nullptr},
	{"bShowText", APIParT_Boolean, kChild, From::Number, 1, nullptr},
	{"textPen", APIParT_PenCol, kChild, From::Number, 1, nullptr},
	{"iTextPen", APIParT_Integer, kHiddenChild, From::Number, 1, nullptr},
	{"fontStyle", APIParT_CString, kChild, From::Text, 0, "Arial"},
	{"fontSizeMM", APIParT_RealNum, kChild, From::Number, 12, nullptr},
	{"fontSizePoint", APIParT_RealNum, kChild, From::Number, 34.02, nullptr},
	{"gs_text_style_bold", APIParT_Boolean, kChild, From::Number, 0, nullptr},
	{"gs_text_style_italic", APIParT_Boolean, kChild, From::Number, 0, nullptr},
	{"gs_text_style_underline", APIParT_Boolean, kChild, From::Number, 0, nullptr},
	{"gs_text_style_strike", APIParT_Boolean, kChild, From::Number, 0, nullptr},
	{"typeTextRotation", APIParT_CString, kChild, From::RotationText, 0, nullptr},
	{"typeTextRotation_m", APIParT_Integer, kHiddenChild, From::Number, 2, nullptr},
	{"gs_readable_angle", APIParT_Angle, kHiddenChild, From::Number, 1.5707963267948966, nullptr},
	{"string_2d", APIParT_CString, kHiddenChild, From::TextArray, 1, nullptr},
	{"stringCenterPos", APIParT_Length, kHiddenChild, From::NumberArray, 2, nullptr},
	{"stringAngle", APIParT_Angle, kHiddenChild, From::NumberArray, 1, nullptr},
	{"nElem2D", APIParT_Integer, kHiddenChild, From::TextCount, 0, nullptr},
	{"gs_3D_representation", APIParT_Title, kShown, From::Number, 0, nullptr},
	{"bShow3D", APIParT_Boolean, kChild, From::Number, 1, nullptr},
	{"gs_shadow", APIParT_Boolean, kChild, From::Number, 1, nullptr},
	{"pen3D", APIParT_PenCol, kChild, From::ContourPen, 0, nullptr},
	{"iPen3D", APIParT_Integer, kHiddenChild, From::ContourPen, 0, nullptr},
	{"mat", APIParT_Title, kShown, From::Number, 0, nullptr},
	{"nMat", APIParT_Integer, kHiddenChild, From::MaterialCount, 0, nullptr},
	{"bUseInternalMaterial", APIParT_Boolean, kChild, From::Number, 0, nullptr},
};

// A resource text, freed here; empty when the resources have none.
std::string ResText(short list, short item)
{
	char* text = GetResString(list, item);
	std::string out = text != nullptr ? text : "";
	delete[] text;
	return out;
}

// t empty texts packed one after another, each with its terminator.
GSHandle EmptyTexts(Int32 t)
{
	GSHandle h = BMAllocateHandle(t * static_cast<Int32>(sizeof(GS::UniChar)), ALLOCATE_CLEAR, 0);
	if (h == nullptr) return nullptr;
	auto* cells = reinterpret_cast<GS::UniChar*>(*h);
	for (Int32 i = 0; i < t; ++i) {
		int length = 0;
		GS::UniChar unit[256];
		ConvertUnicode("", unit, length);
		cells[i] = unit[0];
	}
	return h;
}

// Units of the part's name before its terminator, at most 255.
USize NameLength(const API_LibPart& part)
{
	const GS::UniChar* name = part.docu_UName;
	return static_cast<USize>(std::find(name, name + API_UniLongNameLen - 1, u'\0') - name);
}

bool SizeUsable(double min, double max) { return std::isfinite(max - min) && max - min >= 0; }

bool BoxUsable(const API_Box3D& b)
{
	return SizeUsable(b.xMin, b.xMax) && SizeUsable(b.yMin, b.yMax) && SizeUsable(b.zMin, b.zMax);
}

GSErrCode WriteScript(GSType type, const std::string& text)
{
	API_LibPartSection section = {};
	section.sectType = type;
	GSErrCode err = kivel::LibraryPart::NewSection(&section);
	if (err != NoError) return err;
	constexpr std::size_t kPiece = 1u << 30;
	for (std::size_t at = 0; err == NoError && at < text.size(); at += kPiece)
		err = kivel::LibraryPart::WriteSection(static_cast<int>(std::min(kPiece, text.size() - at)), text.data() + at);
	const GSErrCode end = kivel::LibraryPart::EndSection();
	return err != NoError ? err : end;
}

} // namespace

struct CGDLCreator::Sections {
	std::string script3D, script2D, master, parameterScript;
	GSHandle parameters = nullptr;

	~Sections() { BMKillHandle(&parameters); }
};

CGDLCreator::CGDLCreator(const IO::Location& source_, short contourPen_, short fillPen_, short backgroundPen_,
                         short fillType_, short material_, bool flat_, double slabThickness_)
    : source(source_), flat(flat_), slabThickness(slabThickness_), contourPen(contourPen_), fillPen(fillPen_),
      backgroundPen(backgroundPen_), fillType(fillType_), material(material_)
{
}

void CGDLCreator::AddParameter(API_AddParType& record, API_AddParID type, UInt32 flags, const char* name,
                               const char* description, double value, const char* stringValue)
{
	record.typeID = type;
	record.flags = flags;
	record.typeMod = API_ParSimple;
	std::strncpy(record.name, name, API_NameLen - 1);
	record.name[API_NameLen - 1] = 0;
	int length = 0;
	ConvertUnicode(description, record.uDescname, length);
	if (type == APIParT_CString)
		ConvertUnicode(stringValue, record.value.uStr, length);
	else
		record.value.real = value;
}

void CGDLCreator::AddParameterArray(API_AddParType& record, API_AddParID type, UInt32 flags, const char* name,
                                    const char* description, Int32 dim1, Int32 dim2, GSHandle values)
{
	AddParameter(record, type, flags, name, description, 0, "");
	record.typeMod = API_ParArray;
	record.dim1 = dim1;
	record.dim2 = dim2;
	record.value.array = values;
}

GSErrCode CGDLCreator::CreateParameters(const API_LibPart& part, int materialCount, int textCount, const API_Box3D& box,
                                        GSHandle& section) const
{
	section = nullptr;
	const Int32 count = kFixedParameters + materialCount;
	GSHandle records = BMAllocateHandle(count * static_cast<Int32>(sizeof(API_AddParType)), ALLOCATE_CLEAR, 0);
	if (records == nullptr) return 2;
	auto** pars = reinterpret_cast<API_AddParType**>(records);
	const Int32 texts = std::max(textCount, 1);
	GSErrCode err = NoError;
	for (Int32 k = 0; k < kFixedParameters && err == NoError; ++k) {
		const ParameterRow& row = kParameters[k];
		API_AddParType& r = (*pars)[k];
		const std::string description = ResText(kDescriptionList, static_cast<short>(k + 1));
		double value = row.number;
		std::string text = row.text != nullptr ? row.text : "";
		GSHandle array = nullptr;
		switch (row.from) {
			case From::ContourPen: value = contourPen; break;
			case From::FillPen: value = fillPen; break;
			case From::BackPen: value = backgroundPen; break;
			case From::FillType: value = fillType; break;
			case From::Height: value = box.zMax - box.zMin; break;
			case From::TextCount: value = textCount; break;
			case From::MaterialCount: value = materialCount; break;
			case From::RotationText: text = ResText(kRotationList, 1); break;
			case From::TextArray: array = EmptyTexts(texts); break;
			case From::NumberArray:
				array = BMAllocateHandle(texts * static_cast<Int32>(row.number * sizeof(double)), ALLOCATE_CLEAR, 0);
				break;
			case From::Number:
			case From::Text: break;
		}
		if (row.from == From::TextArray || row.from == From::NumberArray) {
			if (array == nullptr) err = 2;
			else AddParameterArray(r, row.type, row.flags, row.name, description.c_str(), texts, static_cast<Int32>(row.number), array);
		} else {
			AddParameter(r, row.type, row.flags, row.name, description.c_str(), value, text.c_str());
		}
	}
	for (Int32 k = 1; k <= materialCount && err == NoError; ++k) {
		const std::string name = "mat_" + std::to_string(k), description = "Material " + std::to_string(k);
		AddParameter((*pars)[kFixedParameters + k - 1], APIParT_Mater, kChild, name.c_str(), description.c_str(), material, "");
	}
	if (err == NoError) {
		double a = box.xMax - box.xMin, b = box.yMax - box.yMin;
		err = kivel::LibraryPart::GetSectionParamDef(&part, pars, &a, &b, nullptr, &section, nullptr);
	}
	if (err == NoError) {
		API_LibPartDetails details = {};
		details.object = true;
		details.autoHotspot = true;
		err = kivel::LibraryPart::SetDetailsParamDef(&part, section, &details);
	}
	ACAPI_DisposeAddParHdl(&pars);
	if (err != NoError) BMKillHandle(&section);
	return err;
}

GSErrCode CGDLCreator::Create3D(std::string& text, int& materialCount) const
{
	kivel::MeshReader reader(source);
	const int err = reader.Read();
	if (err != 0) return err;
	const Simple3dsScene& scene = reader.GetScene();
	materialCount = static_cast<int>(scene.materials.size());
	text = Gdl3DScript(scene, reader.GetMeshes(), reader.GetInvalidFaceCount(), flat, slabThickness);
	return NoError;
}

GSErrCode CGDLCreator::BuildSections(const API_LibPart& part, const API_Box3D& box, Sections& out) const
{
	int materialCount = 0;
	GSErrCode err = Create3D(out.script3D, materialCount);
	if (err == NoError) err = CreateParameters(part, materialCount, 0, box, out.parameters);
	if (err != NoError) return err;
	out.script2D = Gdl2DScript(box);
	out.master = GdlMasterScript(box);
	out.parameterScript = GdlParameterScript(materialCount);
	return NoError;
}

GSErrCode CGDLCreator::CreateLibpart(API_LibPart* io, API_Box3D* box)
{
	if (io == nullptr || box == nullptr || !BoxUsable(*box)) {
		const std::string name = io != nullptr ? GS::UniString(io->docu_UName, NameLength(*io)).ToCStr().Get() : "";
		WriteReport_Alert("Error creating libpart \"%s\": its extent is not a finite, non-negative size (%s)",
		                  name.c_str(), ErrID_To_Name(APIERR_BADPARS));
		return APIERR_BADPARS;
	}
	API_LibPart part = {};
	part.typeID = APILib_ObjectID;
	part.isTemplate = false;
	part.isPlaceable = true;
	const GS::UniChar* name = io->docu_UName;
	std::copy(name, name + NameLength(*io), part.docu_UName);
	std::strcpy(part.parentUnID, kParentUnID);

	IO::Location* folder = nullptr;
	const GSErrCode found = GetEmbeddedLocation(folder, true);
	std::unique_ptr<IO::Location> owned(folder);
	if (found != NoError || owned == nullptr) {
		WriteReport_Alert("%s", "Error in finding GSM location");
		return 2;
	}
	part.location = owned.get();

	Sections sections;
	if (const GSErrCode err = BuildSections(part, *box, sections); err != NoError) return err;

	kivel::LibraryPart::OverwriteLibPart(true);
	const GSErrCode created = kivel::LibraryPart::Create(&part);
	kivel::LibraryPart::OverwriteLibPart(false);
	if (created == APIERR_BADNAME) return created;
	if (created != NoError) {
		WriteReport_Alert("%s", "Error creating libpart");
		return 2;
	}
	API_LibPartSection paramSection = {};
	paramSection.sectType = API_SectParamDef;
	GSErrCode err = WriteScript(API_Sect3DScript, sections.script3D);
	if (err == NoError) err = kivel::LibraryPart::AddSection(&paramSection, sections.parameters, nullptr);
	if (err == NoError) err = WriteScript(API_Sect2DScript, sections.script2D);
	if (err == NoError) err = WriteScript(API_Sect1DScript, sections.master);
	if (err == NoError) err = WriteScript(API_SectVLScript, sections.parameterScript);
	if (err == NoError) err = kivel::LibraryPart::Save(&part);
	if (err != NoError) return err;

	part.location = nullptr;
	*io = part;
	return NoError;
}
