#include "VegetationReader.hpp"

#include <iterator>

#include "ACAPinc.h"
#include "StringConversion.hpp"

const char* const TreePartNames[TreePartCount] = {"Velmora_Spruce_Tree", "Velmora_Pine_Tree", "Velmora_Birch_Tree",
                                                  "Velmora_Oak_Tree"};

namespace {

struct TreeKind {
	const char* text;
	int kind;
	TreePart part;
};

// Pine is "furu" and spruce "gran": each kind text places its own tree.
constexpr TreeKind kTreeKinds[] = {
	{"furu", 1, TreePart::Pine},
	{"gran", 2, TreePart::Spruce},
	{"bjork", 3, TreePart::Birch},
	{"eik", 4, TreePart::Oak},
};
constexpr TreeKind kOtherKind = {"", 1, TreePart::Spruce};

const TreeKind& FindKind(const GS::UniString& text)
{
	for (const TreeKind& k : kTreeKinds)
		if (text == k.text) return k;
	return kOtherKind;
}

constexpr UInt32 kCellCount = 8;
constexpr UInt32 kTypeCell = 6, kKindCell = 7;

// The number cells in order, with the message of each. The z cell's message says "x", as it
// always has: logs and users' notes may match it.
constexpr const char* kNumberMessages[] = {
	"Error: Failed to parse tree x value",
	"Error: Failed to parse tree y value",
	"Error: Failed to parse tree x value",
	"Error: Failed to parse tree diameter value",
	"Error: Failed to parse tree height value",
};
constexpr const char* kTypeMessage = "Error: Failed to parse tree type value";

// The size parameters: a share of the diameter or of the height.
struct SizeParameter {
	const char* name;
	bool ofHeight;
	double divisor;
};
constexpr SizeParameter kSizeParameters[] = {
	{"A", false, 1}, {"B", false, 1}, {"temp_AA", false, 2}, {"temp_BB", false, 2}, {"ZZYZX", true, 1}, {"hTrunk", true, 3},
};

// The conversion mode of the host's text-to-number call the tree list is read with.
constexpr Int32 kNumberMode = 1, kNumberFlags = 0;

} // namespace

const GS::Array<std::wstring>& VegetationReader::Columns()
{
	static const GS::Array<std::wstring> columns = {L"x", L"y", L"z", L"tre_diameter", L"tre_hoyde", L"tre_størrelse",
	                                                L"tre_type", L"tre_type_tekst"};
	return columns;
}

int VegetationReader::GetTreeType(const GS::UniString& text) { return FindKind(text).kind; }

TreePart VegetationReader::GetTreePart(const GS::UniString& text) { return FindKind(text).part; }

const char* VegetationReader::ParseRow(const SimpleCsv::Row& cells, TreeRow& tree)
{
	if (cells.GetSize() != kCellCount) return "";
	double* const numbers[] = {&tree.x, &tree.y, &tree.z, &tree.diameter, &tree.height};
	for (UInt32 i = 0; i < std::size(numbers); ++i)
		if (!GS::UniStringToValue(cells[i], *numbers[i], kNumberMode, kNumberFlags)) return kNumberMessages[i];
	Int32 type = 0;
	if (!GS::UniStringToValue(cells[kTypeCell], type, kNumberMode, kNumberFlags)) return kTypeMessage;
	tree.kind = cells[kKindCell];
	return nullptr;
}

ObjectGenerationInfo VegetationReader::MakeRecord(const API_LibPart& part, const TreeRow& tree, short layer, const PartDisplay& display)
{
	ObjectGenerationInfo record(part, ImportVegetation, layer, tree.x, tree.y, tree.z);
	for (const SizeParameter& p : kSizeParameters) {
		const double value = (p.ofHeight ? tree.height : tree.diameter) / p.divisor;
		record.AddParameter(ObjectParameter(APIParT_Length, GS::UniString(p.name), value));
	}
	AddDisplayParameters(record, display);
	return record;
}

GSErrCode VegetationReader::Read(const IO::Location& csv, GS::Array<ObjectGenerationInfo>& out, short layer, double /*elevation*/,
                                 short pen, short fillPen, short backPen, short fill)
{
	API_LibPart parts[TreePartCount];
	BNZeroMemory(&parts, sizeof parts);
	bool found[TreePartCount];
	for (int i = 0; i < TreePartCount; ++i) {
		const GSErrCode err = InitTreeLibPart(parts[i], TreePartNames[i]);
		if (err != NoError && i == static_cast<int>(TreePart::Spruce)) return err;
		found[i] = err == NoError;
	}

	SimpleCsv::Rows rows;
	if (!SimpleCsv::SimpleCsv().LoadFromFile(csv, Columns(), rows)) {
		ACAPI_WriteReport("Error: Failed to load (%s)", true, csv.ToDisplayText().ToCStr().Get());
		return APIERR_GENERAL;
	}

	const PartDisplay display{pen, fillPen, backPen, fill};
	for (const SimpleCsv::Row& row : rows) {
		TreeRow tree;
		if (const char* failure = ParseRow(row, tree)) {
			if (*failure != '\0') ACAPI_WriteReport("%s", true, failure);
			continue;
		}
		const int part = static_cast<int>(GetTreePart(tree.kind));
		if (found[part]) out.Push(MakeRecord(parts[part], tree, layer, display));
	}
	return NoError;
}
