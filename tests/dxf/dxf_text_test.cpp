// Texts of drawings as UTF-16: by version and code page, escapes, invalid bytes.
#include <string>

#include <gtest/gtest.h>

#include "DxfTestUtil.hpp"
#include "Helpers/DxfText.hpp"
#include "SimpleDxflib/SimpleDxf.hpp"

namespace {

struct TextCase {
	const char* what;
	const char* version;
	const char* codePage;
	std::string bytes;
	std::u16string expected;
};

TEST(DxfText, DecodesByVersionAndCodePage)
{
	const TextCase cases[] = {
		{"old drawing in its code page", "AC1009", "ANSI_1252", "H\xF8ydekurve", u"H\u00F8ydekurve"},
		{"old drawing, page name in any case", "AC1015", "ansi_1252", "\xD8", u"\u00D8"},
		{"old drawing without a page: ANSI_1252", "AC1018", "", "\x80\xE6", u"\u20AC\u00E6"},
		{"a byte the page leaves out", "AC1009", "ANSI_1252", "a\x81z", u"a\uFFFDz"},
		{"another page", "AC1009", "ANSI_1251", "\xC0\xFF", u"\u0410\u044F"},
		{"a DOS page", "AC1009", "DOS865", "\x9B", u"\u00F8"},
		{"a page we do not know keeps ASCII", "AC1009", "ANSI_932", "a\x82\xA0", u"a\uFFFD\uFFFD"},
		{"AC1021 is UTF-8 whatever the page says", "AC1021", "ANSI_1252", "H\xC3\xB8y", u"H\u00F8y"},
		{"a code-page byte in a UTF-8 drawing", "AC1027", "ANSI_1252", "H\xF8y", u"H\uFFFDy"},
		{"no version, valid UTF-8", "", "ANSI_1252", "\xC3\xB8", u"\u00F8"},
		{"no version, not UTF-8", "", "", "\xF8", u"\u00F8"},
		{"escape of a character outside the page", "AC1009", "ANSI_1252", "H\\U+00F8y", u"H\u00F8y"},
		{"escape in lower case, in a UTF-8 drawing", "AC1032", "", "\\u+00d8", u"\u00D8"},
		{"escape of a lone surrogate", "AC1032", "", "\\U+D800", u"\uFFFD"},
		{"a cut escape stays text", "AC1032", "", "\\U+00F", u"\\U+00F"},
		{"four-byte UTF-8", "AC1032", "", "\xF0\x9D\x84\x9E", u"\U0001D11E"},
		{"a cut sequence is one replacement", "AC1032", "", "\xE0\xA0" "A", u"\uFFFD" "A"},
		{"overlong form", "AC1032", "", "\xC0\xAF", u"\uFFFD\uFFFD"},
		{"encoded surrogate", "AC1032", "", "\xED\xA0\x80", u"\uFFFD\uFFFD\uFFFD"},
		{"beyond U+10FFFF", "AC1032", "", "\xF4\x90\x80\x80", u"\uFFFD\uFFFD\uFFFD\uFFFD"},
		{"sequence cut by the end", "AC1032", "", "a\xE2\x82", u"a\uFFFD"},
	};
	for (const TextCase& c : cases)
		EXPECT_EQ(DecodeDxfText(c.bytes, DxfTextEncoding(c.version, c.codePage)), c.expected) << c.what;
}

TEST(DxfText, HeaderGivesVersionAndCodePage)
{
	SimpleDxf::SimpleDxf dxf;
	ASSERT_TRUE(dxftest::Load(dxf, "0\nSECTION\n2\nHEADER\n9\n$ACADVER\n1\nAC1009\n9\n$DWGCODEPAGE\n3\nANSI_1250\n"
	                               "9\n$EXTMIN\n10\n1\n20\n2\n30\n3\n0\nENDSEC\n0\nEOF\n"));
	ASSERT_TRUE(dxf.header);
	EXPECT_EQ(dxf.header->version, "AC1009");
	EXPECT_EQ(dxf.header->codePage, "ANSI_1250");
	EXPECT_EQ(dxf.header->extMinZ, 3.0);

	// A variable without its value pair takes nothing from the next one.
	SimpleDxf::SimpleDxf bare;
	ASSERT_TRUE(dxftest::Load(bare, "0\nSECTION\n2\nHEADER\n9\n$DWGCODEPAGE\n9\n$ACADVER\n1\nAC1015\n0\nENDSEC\n0\nEOF\n"));
	EXPECT_EQ(bare.header->codePage, "");
	EXPECT_EQ(bare.header->version, "AC1015");
}

TEST(DxfText, OldFixtureLayerNameReadsInItsCodePage)
{
	SimpleDxf::SimpleDxf dxf;
	ASSERT_TRUE(dxf.LoadSceneFromFile(VELMORA_FIXTURES "/dxf/basemap-tiny-r12.dxf"));
	ASSERT_TRUE(dxf.header);
	EXPECT_EQ(dxf.header->codePage, "ANSI_1252");
	const DxfEncoding encoding = DxfTextEncoding(dxf.header->version, dxf.header->codePage);
	EXPECT_EQ(DecodeDxfText("H\xF8ydekurve", encoding), u"H\u00F8ydekurve");
	EXPECT_EQ(dxf.tables->layers.count("H\xF8ydekurve"), 1u);
}

} // namespace
