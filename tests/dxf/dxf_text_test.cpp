// Decoding DXF texts by the drawing's version and code page.
#include <algorithm>

#include <gtest/gtest.h>

#include "Helpers/DxfText.hpp"
#include "SimpleDxflib/SimpleDxf.hpp"

namespace {

using DxfText::Decode;
using DxfText::EncodingOf;

TEST(DxfText, VersionAndCodePageChooseTheEncoding)
{
	struct Case {
		const char* version;
		const char* codePage;
		std::string bytes;
		std::u16string text;
	};
	const Case cases[] = {
		{"AC1015", "ANSI_1252", "H\xF8ydekurve", u"Høydekurve"},
		{"AC1009", "", "\xE6\x80", u"æ€"},                           // no code page: ANSI_1252
		{"AC1015", "dos865", "\x9B\x86", u"øå"},                      // names in any letter case
		{"AC1015", "ANSI_936", "a\xB0", u"a\uFFFD"},                  // a code page we do not know
		{"AC1021", "ANSI_1252", "H\xC3\xB8y", u"Høy"},                // UTF-8 whatever the code page
		{"AC1032", "", "a\xC3(\xF0\x9F\x98\x80", u"a\uFFFD(\U0001F600"}, // invalid bytes, a 4-byte letter
		{"AC1027", "", "\xE0\x80\xAF\xED\xA0\x80", u"\uFFFD\uFFFD\uFFFD\uFFFD\uFFFD\uFFFD"}, // overlong, surrogate
		{"", "ANSI_1252", "H\xC3\xB8y", u"Høy"},                      // no version, valid UTF-8
		{"", "ANSI_1252", "H\xF8y", u"Høy"},                          // no version, not UTF-8
		{"AC1015", "ANSI_1252", "\\U+00F8l \\U+20ACx \\U+12", u"øl €x \\U+12"},
	};
	for (const Case& c : cases) EXPECT_EQ(Decode(c.bytes, EncodingOf(c.version, c.codePage)), c.text) << c.version << " " << c.bytes;
}

TEST(DxfText, Utf8PrefixCutsBetweenCharacters)
{
	EXPECT_EQ(DxfText::Utf8Prefix(u"aøb", 2), "a");
	EXPECT_EQ(DxfText::Utf8Prefix(u"aøb", 3), "a\xC3\xB8");
	EXPECT_EQ(DxfText::Utf8Prefix(u"\U0001F600x", 3), "");
	EXPECT_EQ(DxfText::Utf8Prefix(std::u16string(1, u'\xD800') + u"a", 9), "\xEF\xBF\xBD" "a");
	EXPECT_EQ(DxfText::Utf8Prefix(std::u16string(300, u'x'), 254).size(), 254u);
}

TEST(DxfText, TheReaderKeepsTheCodePageOfTheHeader)
{
	const std::string dxf = "0\nSECTION\n2\nHEADER\n9\n$ACADVER\n1\nAC1009\n9\n$DWGCODEPAGE\n3\nANSI_1252\n0\nENDSEC\n0\nEOF\n";
	SimpleDxf::SimpleDxf drawing;
	ASSERT_TRUE(drawing.LoadSceneFromMemory(reinterpret_cast<const unsigned char*>(dxf.data()), dxf.size()));
	ASSERT_NE(drawing.header, nullptr);
	EXPECT_EQ(drawing.header->version, "AC1009");
	EXPECT_EQ(drawing.header->codePage, "ANSI_1252");
}

TEST(DxfText, TheOldFixturesLayerNameDecodesLikeTheNewOnes)
{
	std::vector<std::u16string> names[2];
	const char* files[2] = {VELMORA_FIXTURES "/dxf/basemap-tiny-r12.dxf", VELMORA_FIXTURES "/dxf/basemap-tiny.dxf"};
	for (int i = 0; i < 2; ++i) {
		SimpleDxf::SimpleDxf drawing;
		ASSERT_TRUE(drawing.LoadSceneFromFile(files[i])) << drawing.error;
		const auto encoding = EncodingOf(drawing.header->version, drawing.header->codePage);
		for (const auto& layer : drawing.tables->layers) names[i].push_back(Decode(layer.first, encoding));
	}
	EXPECT_NE(std::find(names[0].begin(), names[0].end(), u"Høydekurve"), names[0].end());
	EXPECT_EQ(names[0], names[1]);
}

} // namespace
