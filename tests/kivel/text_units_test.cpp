#include <gtest/gtest.h>

#include <string>

#include "utils/TextUnits.hpp"

namespace {

TEST(TextUnits, Utf8DecodingMarksEachBadSequence)
{
	struct Case { std::string bytes; bool valid; std::u16string units; };
	const Case cases[] = {
		{"", true, u""},
		{"æøå", true, u"æøå"},
		{"𝄞", true, u"\U0001D11E"},                     // a surrogate pair
		{std::string("a\0b", 3), true, std::u16string(u"a\0b", 3)},
		{"a\xC3(b", false, u"a\uFFFD(b"},                 // cut sequence: the next byte stays
		{"\xC0\xAF", false, u"\uFFFD"},                   // overlong
		{"\xED\xA0\x80", false, u"\uFFFD"},               // surrogate
		{"\xF4\x90\x80\x80", false, u"\uFFFD"},           // past U+10FFFF
		{"\xFF" "x", false, u"\uFFFDx"},                  // no lead byte
		{"\xE2\x82", false, u"\uFFFD"},                   // ends inside a sequence
	};
	for (const Case& c : cases) {
		std::u16string out = u"old";
		EXPECT_EQ(kivel::Utf8ToUtf16(c.bytes, out), c.valid) << c.bytes;
		EXPECT_EQ(out, c.units) << c.bytes;
		EXPECT_EQ(kivel::IsValidUtf8(c.bytes), c.valid) << c.bytes;
	}
}

TEST(TextUnits, HostTextRoundTrips)
{
	const std::u16string units = u"Høyde \U0001D11E";
	const GS::UniString text = kivel::TextOfUnits(units);
	EXPECT_EQ(text.GetLength(), units.size());
	EXPECT_EQ(kivel::UnitsOf(text), units);
	EXPECT_EQ(kivel::ToUtf8(text), "Høyde 𝄞");
	EXPECT_EQ(kivel::Utf16ToUtf8(u"a\xD800" "b"), "a\xEF\xBF\xBD" "b"); // a lone surrogate
}

} // namespace
