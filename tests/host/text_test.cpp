#include <stdexcept>
#include <string>

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

// Texts of up to 14 units are held in the object, longer ones on the heap: every operation
// gives the same text on both sides of that line, also when a text is its own argument.
TEST(UniString, ShortAndLongTextsBehaveAlike)
{
	for (std::size_t n = 0; n <= 40; ++n) {
		std::string narrow;
		for (std::size_t i = 0; i < n; ++i) narrow += static_cast<char>('a' + i % 26);
		GS::UniString s(narrow.c_str());
		ASSERT_EQ(s.GetLength(), n);
		EXPECT_EQ(s.ToUStr()[n], 0) << n;
		GS::UniString doubled = s;
		doubled.Append(doubled);
		EXPECT_EQ(vhost::ToUtf8(doubled), narrow + narrow) << n;
		GS::UniString moved = std::move(doubled);
		EXPECT_EQ(vhost::ToUtf8(moved), narrow + narrow);
		EXPECT_TRUE(doubled.IsEmpty()) << "a moved-from text is empty";
		moved.Truncate(n / 2);
		EXPECT_EQ(vhost::ToUtf8(moved), narrow.substr(0, n / 2));
		moved.Insert(0, s);
		EXPECT_EQ(vhost::ToUtf8(moved), narrow + narrow.substr(0, n / 2));
		moved.Delete(0, n);
		EXPECT_EQ(vhost::ToUtf8(moved), narrow.substr(0, n / 2));
		GS::UniString assigned("x");
		assigned = s;
		assigned += 'Z';
		EXPECT_EQ(vhost::ToUtf8(assigned), narrow + "Z");
		EXPECT_EQ(GS::UniString(s.ToUStr(), n), s);
		EXPECT_EQ(s.GetSubstring(1, n), GS::UniString(narrow.size() > 1 ? narrow.substr(1).c_str() : ""));
	}
	GS::UniString text("a,b");
	EXPECT_EQ(text.ReplaceAll(",", " and a longer piece than fits inline, "), 1u);
	EXPECT_EQ(vhost::ToUtf8(text), "a and a longer piece than fits inline, b");
	EXPECT_THROW(text.GetChar(text.GetLength()), std::out_of_range);
	EXPECT_THROW(text.Insert(text.GetLength() + 1, text), std::out_of_range);
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

// Two identities are equal only when all their sixteen bytes are: a change of any one
// byte makes another identity, and equality agrees with the order.
TEST(Guid, EqualOnlyInEveryByte)
{
	const API_Guid g = APIGuidFromString("0123abcd-4567-89ef-0123-456789ABCDEF");
	EXPECT_EQ(g, APIGuidFromString("0123ABCD-4567-89EF-0123-456789abcdef"));
	const GS::Guid bytes = APIGuid2GSGuid(g);
	for (std::size_t i = 0; i < 16; ++i) {
		GS::Guid other = bytes;
		other.Bytes()[i] ^= 0x10;
		const API_Guid changed = GSGuid2APIGuid(other);
		EXPECT_NE(changed, g) << "byte " << i;
		EXPECT_TRUE(changed < g || g < changed) << "byte " << i;
	}
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
