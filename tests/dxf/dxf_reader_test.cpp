// The DXF reader: pair reading, sections, header, tables, blocks and the end of data.
#include <charconv>
#include <clocale>
#include <cstdlib>
#include <functional>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "DxfTestUtil.hpp"
#include "Helpers/LineEnd.hpp"
#include "TestSupport.hpp"

using namespace dxftest;
using Dxf = SimpleDxf::SimpleDxf;

namespace {

std::string Section(const std::string& name, const std::string& body)
{
	return "0\nSECTION\n2\n" + name + "\n" + body + "0\nENDSEC\n";
}

} // namespace

TEST(DxfPairs, LineEndsAndTrimmingGiveTheSamePairs)
{
	const std::string lf = Section("ENTITIES", "0\nLINE\n8\nL\n10\n1.5\n") + "0\nEOF\n";
	struct Case { const char* name; std::string text; };
	std::string cr = lf, crlf;
	for (char& c : cr) if (c == '\n') c = '\r';
	for (const char c : lf) crlf += c == '\n' ? std::string("\r\n") : std::string(1, c);
	std::string padded;   // codes and values with spaces and tabs around them
	for (std::size_t i = 0, n = 0; i < lf.size(); ++i) {
		if (lf[i] == '\n') padded += (n++ % 2 == 0) ? " \t\n" : "  \n";
		else padded += (i == 0 || lf[i - 1] == '\n') ? std::string("  ") + lf[i] : std::string(1, lf[i]);
	}
	const Case cases[] = {
		{"LF", lf},
		{"CR", cr},
		{"CR LF", crlf},
		{"padded", padded},
		{"EOF without line end", lf.substr(0, lf.size() - 1)},
	};
	for (const Case& c : cases) {
		Dxf dxf;
		ASSERT_TRUE(Load(dxf, c.text)) << c.name << ": " << dxf.error;
		ASSERT_EQ(dxf.entities->size(), 1u) << c.name;
		const auto& line = As<SimpleDxf::Line>(*dxf.entities->at(0));
		EXPECT_EQ(line.layerName, "L") << c.name;
		EXPECT_DOUBLE_EQ(line.x1, 1.5) << c.name;
		EXPECT_EQ(dxf.lineCounter, 14) << c.name;   // 7 pairs
	}
}

TEST(DxfPairs, EmptyValueLineGivesEmptyText)
{
	Dxf dxf;
	ASSERT_TRUE(Load(dxf, Section("ENTITIES", "0\nTEXT\n1\n\n10\n2\n") + "0\nEOF\n"));
	const auto& text = As<SimpleDxf::Text>(*dxf.entities->at(0));
	EXPECT_EQ(text.text, "");
	EXPECT_DOUBLE_EQ(text.x, 2);
}

TEST(DxfPairs, OverlongLineKeepsItsStartAndNeverShiftsThePairsAfterIt)
{
	const std::string longText(1500, 'a');
	Dxf dxf;
	ASSERT_TRUE(Load(dxf, Section("ENTITIES", "0\nTEXT\n1\n" + longText + "\n10\n7\n8\nT\n") + "0\nEOF\n"));
	ASSERT_EQ(dxf.entities->size(), 1u);
	const auto& text = As<SimpleDxf::Text>(*dxf.entities->at(0));
	EXPECT_EQ(text.text, std::string(1023, 'a'));
	EXPECT_DOUBLE_EQ(text.x, 7);
	EXPECT_EQ(text.layerName, "T");
}

TEST(DxfPairs, UnusualGroupCodesAreTextNotNumbers)
{
	// "010" is not the code "10"; "1e1" is not "10" either.
	Dxf dxf;
	ASSERT_TRUE(Load(dxf, Section("ENTITIES", "0\nLINE\n010\n5\n1e1\n6\n10\n3\n") + "0\nEOF\n"));
	EXPECT_DOUBLE_EQ(As<SimpleDxf::Line>(*dxf.entities->at(0)).x1, 3);
}

TEST(DxfNumbers, ConvertLikeTheCLibraryAndClamp)
{
	struct Case { const char* text; double real; int32_t integer; };
	const Case cases[] = {
		{"1.5", 1.5, 1},        {" -2.25 ", -2.25, -2}, {"+3", 3, 3},
		{"12abc", 12, 12},      {"abc", 0, 0},          {"", 0, 0},
		{"1e3", 1000, 1},       {".5", 0.5, 0},         {"-", 0, 0},          {"+-1", 0, 0},
		{"-0.125", -0.125, 0},  {"597511.823", 597511.823, 597511}, {"0.1", 0.1, 0},
		{"1234567890.12345678", 1234567890.12345678, 1234567890},
		{"1e999", 0, 1},        {"nan", 0, 0},          {"inf", 0, 0},
		{"99999999999", 99999999999.0, INT32_MAX},
		{"-99999999999999999999999", -99999999999999999999999.0, INT32_MIN},
		{"2147483647", 2147483647.0, INT32_MAX}, {"-2147483648", -2147483648.0, INT32_MIN},
	};
	for (const Case& c : cases) {
		EXPECT_DOUBLE_EQ(SimpleDxf::ToDouble(c.text), c.real) << c.text;
		EXPECT_EQ(SimpleDxf::ToInt(c.text), c.integer) << c.text;
	}
}

// Decimals of every length and point position, with text after them or not: the same
// double as the standard conversion, to the bit.
TEST(DxfNumbers, DecimalsOfEveryShapeMatchTheStandardConversion)
{
	const std::string digits = "98765432101234567890123456789";
	for (std::size_t length = 1; length <= digits.size(); ++length)
		for (std::size_t point = 0; point <= length + 1; ++point)   // past the end: no point
			for (const char* tail : {"", "x", " ", "\n0", "/", ":"}) {   // "/" and ":" border digits
				std::string text = digits.substr(0, length);
				if (point <= length) text.insert(point, ".");
				for (const std::string& signed_ : {text, "-" + text}) {
					const std::string full = signed_ + tail;
					double expected = 0;
					std::from_chars(full.data(), full.data() + full.size(), expected);
					EXPECT_EQ(SimpleDxf::ToDouble(full), expected) << full;
				}
			}
}

// (2m + 1) / 2^(k + 1), the exact midpoint of two neighbouring doubles, written out in full.
std::string Midpoint(uint64_t m, int k)
{
	std::string digits = std::to_string(2 * m + 1);   // times 5^(k + 1), then k + 1 places
	for (int i = 0; i <= k; ++i) {
		int carry = 0;
		for (auto d = digits.rbegin(); d != digits.rend(); ++d) {
			const int v = (*d - '0') * 5 + carry;
			*d = static_cast<char>('0' + v % 10);
			carry = v / 10;
		}
		if (carry) digits.insert(digits.begin(), static_cast<char>('0' + carry));
	}
	if (digits.size() <= static_cast<std::size_t>(k + 1)) digits.insert(0, static_cast<std::size_t>(k + 2) - digits.size(), '0');
	digits.insert(digits.size() - static_cast<std::size_t>(k + 1), ".");
	return digits;
}

// Long decimals (coordinates written with many digits) at, just above and just below the
// ties between two doubles, with leading zeros too: the same double as the standard
// conversion, to the bit.
TEST(DxfNumbers, LongDecimalsAtTiesMatchTheStandardConversion)
{
	unsigned state = 99;
	auto next = [&state] { return state = state * 1103515245u + 12345u; };
	for (int i = 0; i < 4000; ++i) {
		const uint64_t m = (uint64_t(1) << 52) | (uint64_t(next()) << 20) | (next() >> 12);
		const int k = 20 + static_cast<int>(next() % 40);   // values from about 2^-8 to 2^32
		const std::string tie = Midpoint(m, k);
		std::string above = tie + "0000001", below = tie;
		below.back() = '4';
		// A whole number of 54 significant bits is a tie too, written with and without places.
		const std::string whole = std::to_string(((m << 1) | 1) << (next() % 10));
		for (const std::string& text : {tie, above, below, tie.substr(0, 24), "0.000" + tie.substr(tie.find('.') + 1),
		                                "-" + tie, whole, whole + ".000"}) {
			double expected = 0;
			std::from_chars(text.data(), text.data() + text.size(), expected);
			EXPECT_EQ(SimpleDxf::ToDouble(text), expected) << text;
		}
	}
}

TEST(DxfNumbers, ProcessLocaleDoesNotChangeTheDecimalPoint)
{
	// A plain decimal, and two that take the slower path: an exponent, and more digits.
	const char* const radii[] = {"2.75", "1.5e3", "0.12345678901234567"};
	std::string circles;
	for (const char* r : radii) circles += std::string("0\nCIRCLE\n40\n") + r + "\n";
	Dxf dxf;
	bool ok = false;
	{
		const testsupport::CommaLocale comma;
		ASSERT_EQ(comma.Why(), "");
		ASSERT_EQ(std::atof("1.5"), 1.0); // the C library now stops at the '.'
		ok = Load(dxf, Section("ENTITIES", circles) + "0\nEOF\n");
	}
	ASSERT_TRUE(ok);
	ASSERT_EQ(dxf.entities->size(), 3u);
	for (std::size_t i = 0; i < 3; ++i)
		EXPECT_EQ(As<SimpleDxf::Circle>(*dxf.entities->at(i)).radius, std::strtod(radii[i], nullptr)) << radii[i];
}

TEST(DxfPairs, TrimWhitespaceKeepsBytesAbove127)
{
	char text[] = " \t\xC3\xB8 \r";
	EXPECT_STREQ(SimpleDxf::trimwhitespace(text), "\xC3\xB8");
	char blank[] = " \t ";
	EXPECT_STREQ(SimpleDxf::trimwhitespace(blank), "");
}

// Bytes in a vector of exactly their size, with no terminating NUL behind them: the
// sanitizer build sees any read past the end.
TEST(DxfSections, ExactBytesAreNeverReadPast)
{
	const std::string entities = Section("ENTITIES", "0\nLINE\n10\n1\n");
	const struct { const char* name; std::string text; bool ok; } cases[] = {
		{"a code line after EOF", entities + "0\nEOF\n  1", true},
		{"EOF without line end", entities + "0\nEOF", true},
		{"a number without line end", "0\nSECTION\n2\nENTITIES\n0\nLINE\n10\n1.5", false},
		{"a code without its value", "0\nSECTION\n2\nENTITIES\n0\nLINE\n  10", false},
	};
	for (const auto& c : cases) {
		const std::vector<unsigned char> bytes(c.text.begin(), c.text.end());
		Dxf dxf;
		EXPECT_EQ(dxf.LoadSceneFromMemory(bytes), c.ok) << c.name << ": " << dxf.error;
		EXPECT_EQ(dxf.entities ? dxf.entities->size() : 0u, c.ok ? 1u : 0u) << c.name;
	}
}

TEST(DxfSections, EndOfDataEndsEveryLoop)
{
	const std::string entities = Section("ENTITIES", "0\nLINE\n10\n1\n");
	struct Case { const char* name; std::string text; bool ok; std::size_t lines; };
	const Case cases[] = {
		{"empty data", "", true, 0},
		{"between sections", entities, true, 1},
		{"EOF and one line feed", entities + "0\nEOF\n", true, 1},
		{"inside ENTITIES", "0\nSECTION\n2\nENTITIES\n0\nLINE\n10\n1\n", false, 0},
		{"inside an entity's pairs", "0\nSECTION\n2\nENTITIES\n0\nLINE\n10\n", false, 0},
		{"before the section name", "0\nSECTION\n", false, 0},
		{"inside HEADER", "0\nSECTION\n2\nHEADER\n9\n$ACADVER\n", false, 0},
		{"inside HEADER point", "0\nSECTION\n2\nHEADER\n9\n$EXTMIN\n10\n1\n", false, 0},
		{"inside TABLES", "0\nSECTION\n2\nTABLES\n0\nTABLE\n2\nLAYER\n0\nLAYER\n2\nA\n", false, 0},
		{"inside a skipped table", "0\nSECTION\n2\nTABLES\n0\nTABLE\n2\nVPORT\n", false, 0},
		{"inside BLOCKS", "0\nSECTION\n2\nBLOCKS\n0\nBLOCK\n2\nB\n0\nLINE\n", false, 0},
		{"inside CLASSES", "0\nSECTION\n2\nCLASSES\n0\nCLASS\n", false, 0},
		{"inside an unknown section", "0\nSECTION\n2\nACDSDATA\n0\nX\n", false, 0},
		{"after an unknown section", Section("ACDSDATA", "0\nX\n") + entities, true, 1},
		{"inside a POLYLINE", "0\nSECTION\n2\nENTITIES\n0\nPOLYLINE\n0\nVERTEX\n10\n1\n", false, 0},
	};
	for (const Case& c : cases) {
		Dxf dxf;
		EXPECT_EQ(Load(dxf, c.text), c.ok) << c.name;
		EXPECT_EQ(dxf.error.empty(), c.ok) << c.name << ": " << dxf.error;
		EXPECT_EQ(dxf.entities ? dxf.entities->size() : 0u, c.lines) << c.name;
	}
}

TEST(DxfSections, EveryPrefixOfADrawingEndsAndFailsOnlyInsideASection)
{
	const std::string text = SmallDrawing();
	Dxf full;
	ASSERT_TRUE(Load(full, text)) << full.error;
	const std::size_t entitiesStart = text.find("ENTITIES\n") + 9;
	const std::size_t entitiesEnd = text.rfind("0\nENDSEC\n");
	for (std::size_t n = 0; n <= text.size(); ++n) {
		Dxf dxf;
		const bool ok = Load(dxf, text.substr(0, n));
		const std::size_t count = dxf.entities ? dxf.entities->size() : 0;
		ASSERT_LE(count, full.entities->size()) << n;
		if (n > entitiesStart && n < entitiesEnd) {
			ASSERT_FALSE(ok) << n;
		}
		if (n >= entitiesEnd + 9) {
			ASSERT_EQ(count, full.entities->size()) << n;
		}
	}
}

TEST(DxfSections, UnknownAndSkippedSectionsAreReadThrough)
{
	const std::string text = Section("CLASSES", "0\nCLASS\n1\nLINE\n0\nSECTION\n2\nENTITIES\n") +
	                         Section("SOMETHING", "0\nLINE\n10\n9\n") +
	                         Section("THUMBNAILIMAGE", "310\nABCD\n") +
	                         Section("ENTITIES", "0\nCIRCLE\n40\n1\n") +
	                         Section("OBJECTS", "0\nDICTIONARY\n2\nLINE\n") + "0\nEOF\n";
	Dxf dxf;
	ASSERT_TRUE(Load(dxf, text)) << dxf.error;
	ASSERT_EQ(dxf.entities->size(), 1u);
	EXPECT_EQ(dxf.entities->at(0)->typeId, SimpleDxf::CircleType);
	EXPECT_EQ(dxf.header, nullptr);
	EXPECT_EQ(dxf.tables, nullptr);
	EXPECT_EQ(dxf.blocks, nullptr);
}

TEST(DxfHeader, VersionInsertionBaseAndExtents)
{
	const std::string body = "9\n$ACADVER\n1\nAC1015\n9\n$INSBASE\n10\n1\n20\n2\n30\n3\n"
	                         "9\n$DWGCODEPAGE\n3\nANSI_1252\n9\n$EXTMIN\n10\n-5.5\n20\n-6\n30\n0\n5\nX\n"
	                         "9\n$EXTMAX\n10\n100\n20\n200.25\n30\n7\n";
	Dxf dxf;
	ASSERT_TRUE(Load(dxf, Section("HEADER", body) + "0\nEOF\n"));
	const SimpleDxf::Header& h = *dxf.header;
	EXPECT_EQ(h.version, "AC1015");
	EXPECT_EQ(std::vector<double>({h.insBaseX, h.insBaseY, h.insBaseZ}), std::vector<double>({1, 2, 3}));
	EXPECT_EQ(std::vector<double>({h.extMinX, h.extMinY, h.extMinZ}), std::vector<double>({-5.5, -6, 0}));
	EXPECT_EQ(std::vector<double>({h.extMaxX, h.extMaxY, h.extMaxZ}), std::vector<double>({100, 200.25, 7}));
}

TEST(DxfTables, RecordsCountsAndFirstOfANameWins)
{
	const std::string tables =
		"0\nTABLE\n2\nVPORT\n0\nVPORT\n2\n*ACTIVE\n0\nENDTAB\n"
		"0\nTABLE\n2\nLTYPE\n70\n2\n0\nLTYPE\n2\nDASH\n70\n0\n3\n__ __\n72\n65\n73\n2\n40\n1.5\n49\n1\n49\n-0.5\n"
		"0\nENDTAB\n"
		"0\nTABLE\n2\nLAYER\n70\n3\n0\nLAYER\n2\nA\n62\n1\n6\nDASH\n0\nLAYER\n2\nA\n62\n2\n"
		"0\nLAYER\n62\n3\n0\nLAYER\n2\nH\xC3\xB8ydekurve\n70\n4\n0\nENDTAB\n"
		"0\nTABLE\n2\nSTYLE\n70\n1\n0\nSTYLE\n2\nStandard\n40\n0\n41\n1\n50\n15\n71\n2\n42\n2.5\n3\ntxt\n4\nbig\n"
		"0\nENDTAB\n0\nTABLE\n2\nAPPID\n70\n1\n0\nAPPID\n2\nACAD\n70\n0\n0\nENDTAB\n";
	Dxf dxf;
	ASSERT_TRUE(Load(dxf, Section("TABLES", tables) + "0\nEOF\n")) << dxf.error;
	const SimpleDxf::Tables& t = *dxf.tables;
	EXPECT_EQ(t.layerCount, 3);
	ASSERT_EQ(t.layers.size(), 2u);                      // the record without a name is dropped
	EXPECT_EQ(t.layers.at("A")->colour, 1);              // the first "A" stays
	EXPECT_EQ(t.layers.at("A")->lineType, "DASH");
	EXPECT_EQ(t.layers.at("H\xC3\xB8ydekurve")->flags, 4);
	EXPECT_EQ(t.lineTypeCount, 2);
	const SimpleDxf::LType& dash = *t.lineTypes.at("DASH");
	EXPECT_EQ(dash.description, "__ __");
	EXPECT_EQ(dash.alignment, 65);
	EXPECT_EQ(dash.elementCount, 2);
	EXPECT_DOUBLE_EQ(dash.patternLength, 1.5);
	EXPECT_EQ(dash.dashLengths, std::vector<double>({1, -0.5}));
	const SimpleDxf::Style& style = *t.styles.at("Standard");
	EXPECT_EQ(t.styleCount, 1);
	EXPECT_DOUBLE_EQ(style.widthFactor, 1);
	EXPECT_DOUBLE_EQ(style.obliqueAngle, 15);
	EXPECT_EQ(style.generationFlags, 2);
	EXPECT_DOUBLE_EQ(style.lastHeight, 2.5);
	EXPECT_EQ(style.fontFile, "txt");
	EXPECT_EQ(style.bigFontFile, "big");
	EXPECT_EQ(t.appIdCount, 1);
	EXPECT_EQ(t.appIds.count("ACAD"), 1u);
}

TEST(DxfTables, OnlyALayerTableLeavesTheOthersEmpty)
{
	Dxf dxf;
	ASSERT_TRUE(Load(dxf, Section("TABLES", "0\nTABLE\n2\nLAYER\n0\nLAYER\n2\n0\n0\nENDTAB\n") + "0\nEOF\n"));
	const SimpleDxf::Tables& t = *dxf.tables;
	EXPECT_EQ(t.layers.size(), 1u);
	EXPECT_TRUE(t.lineTypes.empty() && t.styles.empty() && t.appIds.empty());
	EXPECT_EQ(t.lineTypeCount + t.styleCount + t.appIdCount, 0);
}

TEST(DxfBlocks, BlockFieldsUnknownEntitiesAndNamelessBlocks)
{
	const std::string blocks =
		"0\nBLOCK\n8\n0\n2\nB\n70\n2\n10\n1\n20\n2\n30\n3\n"
		"0\nHATCH\n2\nSOLID\n10\n5\n0\nLINE\n10\n4\n0\nENDBLK\n8\n0\n"
		"0\nBLOCK\n70\n1\n0\nLINE\n0\nENDBLK\n"          // no name: dropped
		"0\nBLOCK\n2\nB\n0\nCIRCLE\n0\nENDBLK\n";         // the first "B" stays
	Dxf dxf;
	ASSERT_TRUE(Load(dxf, Section("BLOCKS", blocks) + "0\nEOF\n")) << dxf.error;
	ASSERT_EQ(dxf.blocks->size(), 1u);
	const SimpleDxf::Block& b = *dxf.blocks->at("B");
	EXPECT_EQ(b.layerName, "0");
	EXPECT_EQ(b.flags, 2);
	EXPECT_EQ(std::vector<double>({b.x, b.y, b.z}), std::vector<double>({1, 2, 3}));
	ASSERT_EQ(b.entities.size(), 1u);
	EXPECT_DOUBLE_EQ(As<SimpleDxf::Line>(*b.entities[0]).x1, 4);
}

TEST(DxfEntities, OtherEntityTypesAreDroppedWithTheirPairs)
{
	const std::string body = "0\nMTEXT\n2\nLINE\n0\nLINE\n1\nLINE\n0\nDIMENSION\n0\nLINE\n0\nVERTEX\n0\nSEQEND\n";
	Dxf dxf;
	ASSERT_TRUE(Load(dxf, Section("ENTITIES", body) + "0\nEOF\n"));
	ASSERT_EQ(dxf.entities->size(), 2u);
	EXPECT_EQ(dxf.entities->at(0)->typeId, SimpleDxf::LineType);
	EXPECT_EQ(dxf.entities->at(1)->typeId, SimpleDxf::LineType);
}

TEST(DxfEntities, ASecondEntitiesSectionReplacesTheFirst)
{
	Dxf dxf;
	ASSERT_TRUE(Load(dxf, Section("ENTITIES", "0\nLINE\n0\nLINE\n") + Section("ENTITIES", "0\nPOINT\n") + "0\nEOF\n"));
	ASSERT_EQ(dxf.entities->size(), 1u);
	EXPECT_EQ(dxf.entities->at(0)->typeId, SimpleDxf::PointType);
}

TEST(DxfLoad, FromFileReadsTheSameAndAMissingFileFails)
{
	testsupport::TempDir dir;
	testsupport::WriteFile(dir / "a.dxf", SmallDrawing());
	Dxf fromFile, fromMemory;
	ASSERT_TRUE(fromFile.LoadSceneFromFile((dir / "a.dxf").c_str())) << fromFile.error;
	ASSERT_TRUE(Load(fromMemory, SmallDrawing()));
	EXPECT_EQ(Summary(fromFile), Summary(fromMemory));
	Dxf missing;
	EXPECT_FALSE(missing.LoadSceneFromFile((dir / "none.dxf").c_str()));
	EXPECT_FALSE(missing.error.empty());
}

TEST(DxfLoad, ASecondLoadStartsFromAnEmptyDrawing)
{
	Dxf dxf;
	ASSERT_TRUE(Load(dxf, SmallDrawing()));
	ASSERT_TRUE(Load(dxf, Section("ENTITIES", "0\nPOINT\n") + "0\nEOF\n"));
	EXPECT_EQ(dxf.header, nullptr);
	EXPECT_EQ(dxf.blocks, nullptr);
	EXPECT_EQ(dxf.entities->size(), 1u);
}

#if defined(__aarch64__)
static_assert(VELMORA_LINEEND_NEON, "arm64 builds search line ends sixteen bytes a step with NEON");
#endif

// The line-end search agrees with a plain byte loop for every length and every place of the
// first CR or LF, with bytes of every value before it, and never reads past the end.
TEST(DxfLineEnd, FindsTheFirstCarriageReturnOrLineFeed)
{
	for (std::size_t length = 0; length <= 40; ++length)
		for (std::size_t at = 0; at <= length; ++at)
			for (const char end : {'\n', '\r'}) {
				std::vector<char> text(length);
				for (std::size_t i = 0; i < length; ++i) {
					const char c = static_cast<char>(i * 37 + 128);   // high bytes too
					text[i] = c == '\n' || c == '\r' ? 'x' : c;
				}
				if (at < length) text[at] = end;
				if (at + 1 < length) text[at + 1] = end == '\n' ? '\r' : '\n';
				const char* first = text.data();
				EXPECT_EQ(LineEndSearch::Find(first, first + length) - first, static_cast<std::ptrdiff_t>(at))
				    << length << " " << at;
			}
}
