// The tree list of a map project: a CSV table with one tree per row, turned into records of
// the four tree parts of "VelmoraLib".
#ifndef VELMORA_VEGETATIONREADER_HPP
#define VELMORA_VEGETATIONREADER_HPP

#include "Classes/ObjectGenerationInfo.hpp"
#include "Classes/VelmoraLibParts.hpp"
#include "Location.hpp"
#include "SimpleCsvlib/SimpleCsv.hpp"

// The tree parts, in the order they are looked up; the spruce part is also the part of any
// kind text the table does not know.
enum class TreePart { Spruce, Pine, Birch, Oak };
constexpr int TreePartCount = 4;
extern const char* const TreePartNames[TreePartCount];

// The lookup of one tree part (FindVelmoraLibPart: a missing part is reported with an alert).
inline GSErrCode InitTreeLibPart(API_LibPart& part, const char* name) { return FindVelmoraLibPart(part, name); }

// One tree as a row gives it; metres.
struct TreeRow {
	double x = 0, y = 0, z = 0, diameter = 0, height = 0;
	GS::UniString kind;
};

class VegetationReader {
public:
	// The columns asked of the CSV reader, in cell order.
	static const GS::Array<std::wstring>& Columns();

	// Appends one vegetation record (import kind 6) per readable row of the tree list at csv,
	// at the row's x, y and z (elevation is not used: trees take z from the file). Answers the
	// spruce part's search code when that part is missing (no records), APIERR_GENERAL when
	// the table cannot be loaded (reported), else 0. A row that fails to parse is reported
	// with an alert and skipped; a row whose kind's part is missing is skipped without a word
	// beyond the part's own lookup report.
	static GSErrCode Read(const IO::Location& csv, GS::Array<ObjectGenerationInfo>& out, short layer, double elevation,
	                      short pen, short fillPen, short backPen, short fill);

	// The kind number of a kind text: "furu" 1, "gran" 2, "bjork" 3, "eik" 4, any other text
	// 1. Exact and case-sensitive.
	static int GetTreeType(const GS::UniString& text);
	// The part placed for a kind text: "furu" pine, "gran" spruce, "bjork" birch, "eik" oak,
	// any other text spruce.
	static TreePart GetTreePart(const GS::UniString& text);

	// Converts the cells of one row: 0 x, 1 y, 2 z, 3 diameter, 4 height (numbers), 6 type
	// (an integer, not kept), 7 kind text. Answers nullptr on success, else the message of
	// the first cell that is no number; tree is then unspecified. A row of another size than
	// 8 cells answers "" (skipped without a message).
	static const char* ParseRow(const SimpleCsv::Row& cells, TreeRow& tree);

	// The record of one tree: the part, kind 6, the layer, x, y and z, the size parameters
	// (A and B the diameter, temp_AA and temp_BB half of it, ZZYZX the height, hTrunk a
	// third of it) and the display parameters.
	static ObjectGenerationInfo MakeRecord(const API_LibPart& part, const TreeRow& tree, short layer, const PartDisplay& display);
};

#endif
