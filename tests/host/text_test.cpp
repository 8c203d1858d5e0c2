#include <gtest/gtest.h>

#include "APIdefs_Base.h"
#include "GSRoot.hpp"
#include "vhost/Text.hpp"

namespace {

TEST(UniString, Utf8RoundTripKeepsNorwegianAndAstralCharacters)
{
	const char* samples[] = {"", "abc", "æøå ÆØÅ", "Høydekurve", "𝄞 clef", "日本"};
	for (const char* s : samples) {
		const GS::UniString u(s);
		EXPECT_EQ(u.ToCStr().Get(), std::string(s));
	}
	EXPECT_EQ(GS::UniString("æøå").GetLength(), 3u);
	EXPECT_EQ(GS::UniString("𝄞").GetLength(), 2u); // a surrogate pair
}

TEST(UniString, InvalidUtf8IsReplacedAndReported)
{
	std::u16string out;
	EXPECT_FALSE(vhost::Utf8ToUtf16("a\xC3(b", 4, out));
	EXPECT_EQ(out, u"a\uFFFD(b");
	EXPECT_FALSE(vhost::IsValidUtf8("\xC0\xAF", 2));      // overlong
	EXPECT_FALSE(vhost::IsValidUtf8("\xED\xA0\x80", 3));  // surrogate
	EXPECT_TRUE(vhost::IsValidUtf8("\xC3\xA6", 2));
}

TEST(UniString, LegacyCodeIsLatin1)
{
	EXPECT_EQ(GS::UniString("\xF8", GS::CC_Legacy), GS::UniString("ø"));
	EXPECT_EQ(std::string(GS::UniString("ø€").ToCStr(GS::CC_Legacy).Get()), "\xF8?");
}

TEST(UniString, CaseTrimAndSearch)
{
	EXPECT_EQ(GS::UniString("Æsj øl åk").ToUpperCase(), GS::UniString("ÆSJ ØL ÅK"));
	EXPECT_EQ(GS::UniString("ÆØÅ Ŋ").ToLowerCase(), GS::UniString("æøå ŋ"));
	EXPECT_EQ(GS::UniString(" \t x y \r\n").Trim(), GS::UniString("x y"));
	const GS::UniString s("Alle data.DXF");
	EXPECT_TRUE(s.EndsWith(".dxf", GS::CaseInsensitive));
	EXPECT_FALSE(s.EndsWith(".dxf"));
	EXPECT_EQ(s.FindFirst("data"), 5u);
	EXPECT_EQ(s.FindFirst("nope"), GS::UniString::MaxLength);
	EXPECT_EQ(s.GetSubstring(5, 4), GS::UniString("data"));
	EXPECT_EQ(s.GetSubstring(50, 4), GS::UniString());
}

TEST(UniString, PrintfFormatsUtf8)
{
	EXPECT_EQ(GS::UniString::Printf("%s=%d %.2f", "æ", 7, 1.5), GS::UniString("æ=7 1.50"));
}

TEST(Guid, TextRoundTripAndRejects)
{
	GS::Guid g;
	ASSERT_EQ(g.ConvertFromString("0123abcd-4567-89ef-0123-456789ABCDEF"), NoError);
	EXPECT_EQ(g.ToUniString(), GS::UniString("0123ABCD-4567-89EF-0123-456789ABCDEF"));
	const GS::Guid before = g;
	for (const char* bad : {"", "0123abcd-4567-89ef-0123-456789ABCDE", "0123abcd-4567-89ef-0123-456789ABCDEFX",
	                        "0123abcd+4567-89ef-0123-456789ABCDEF", "0123abcg-4567-89ef-0123-456789ABCDEF"}) {
		EXPECT_NE(g.ConvertFromString(bad), NoError) << bad;
		EXPECT_EQ(g, before) << bad;
	}
	EXPECT_EQ(APIGuid2GSGuid(GSGuid2APIGuid(g)), g);
}

TEST(HashTable, KeepsOrderOfAdding)
{
	GS::HashTable<GS::UniString, int> t;
	EXPECT_TRUE(t.Add("b", 1));
	EXPECT_TRUE(t.Add("a", 2));
	EXPECT_FALSE(t.Add("b", 3));
	t.Put("c", 4);
	EXPECT_TRUE(t.Delete("b"));
	std::vector<int> values;
	for (const auto& e : t) values.push_back(e.second);
	EXPECT_EQ(values, (std::vector<int>{2, 4}));
	EXPECT_EQ(t.Get("c"), 4);
	EXPECT_FALSE(t.ContainsKey("b"));
}

} // namespace
