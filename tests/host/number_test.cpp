#include <limits>
#include <string>

#include <gtest/gtest.h>

#include "StringConversion.hpp"
#include "TestSupport.hpp"
#include "vhost/Text.hpp"

namespace {

constexpr double kUntouched = -777.0;
constexpr Int32 kUntouchedInt = -777;

TEST(UniStringToValue, AcceptsPlainDecimalNumbersOnly)
{
	struct Case { const char16_t* text; bool ok; double value; };
	const Case cases[] = {
		{u"0", true, 0}, {u"42", true, 42}, {u"-1.5", true, -1.5}, {u"+2.25", true, 2.25}, {u"5.", true, 5}, {u".5", true, 0.5},
		{u"1e3", true, 1000}, {u"1E-2", true, 0.01}, {u"-2.5e+1", true, -25}, {u"007", true, 7},
		{u" 3 ", true, 3}, {u"\t-4\t", true, -4}, {u"597511.82", true, 597511.82},
		{u"1.7976931348623157e308", true, std::numeric_limits<double>::max()},
		{u"", false, 0}, {u" ", false, 0}, {u"-", false, 0}, {u"+", false, 0}, {u".", false, 0}, {u"-.", false, 0},
		{u"1,5", false, 0}, {u"1 000", false, 0}, {u"1.2.3", false, 0}, {u"--1", false, 0}, {u"+-1", false, 0}, {u"- 1", false, 0},
		{u"1e", false, 0}, {u"1e+", false, 0}, {u"e5", false, 0}, {u"0x10", false, 0}, {u"12m", false, 0}, {u"1\n", false, 0},
		{u"nan", false, 0}, {u"NaN", false, 0}, {u"-nan", false, 0}, {u"inf", false, 0}, {u"-Inf", false, 0},
		{u"infinity", false, 0}, {u"INFINITY", false, 0}, {u"1e400", false, 0}, {u"-1e400", false, 0}, {u"1e-400", false, 0},
		{u"\u0661", false, 0}, // an Arabic-Indic digit one
		{u"\uFF11", false, 0}, // a full-width digit one
		{u"1\u00A0", false, 0}, // a no-break space is no blank here
	};
	for (const Case& c : cases) {
		const GS::UniString text = vhost::FromUnits(c.text);
		double value = kUntouched;
		EXPECT_EQ(GS::UniStringToValue(text, value, 1, 0), c.ok) << text.ToCStr().Get();
		EXPECT_EQ(value, c.ok ? c.value : kUntouched) << text.ToCStr().Get();
	}
}

TEST(UniStringToValue, IntegersHaveNoPointAndFitThirtyTwoBits)
{
	struct Case { const char* text; bool ok; Int32 value; };
	const Case cases[] = {
		{"1", true, 1}, {"-17", true, -17}, {"+8", true, 8}, {" 12 ", true, 12},
		{"2147483647", true, 2147483647}, {"-2147483648", true, std::numeric_limits<Int32>::min()},
		{"2147483648", false, 0}, {"-2147483649", false, 0}, {"99999999999999999999", false, 0},
		{"1.0", false, 0}, {"1.", false, 0}, {"1e2", false, 0}, {"", false, 0}, {"one", false, 0}, {"nan", false, 0}, {"0x1", false, 0},
	};
	for (const Case& c : cases) {
		Int32 value = kUntouchedInt;
		EXPECT_EQ(GS::UniStringToValue(GS::UniString(c.text), value, 1, 0), c.ok) << c.text;
		EXPECT_EQ(value, c.ok ? c.value : kUntouchedInt) << c.text;
	}
}

TEST(UniStringToValue, ModesItDoesNotModelAreRefused)
{
	double value = kUntouched;
	Int32 number = kUntouchedInt;
	for (const auto& mode : {std::pair<Int32, Int32>{0, 0}, {2, 0}, {1, 1}, {-1, 0}}) {
		EXPECT_FALSE(GS::UniStringToValue(GS::UniString("1"), value, mode.first, mode.second)) << mode.first << " " << mode.second;
		EXPECT_FALSE(GS::UniStringToValue(GS::UniString("1"), number, mode.first, mode.second)) << mode.first << " " << mode.second;
	}
	EXPECT_EQ(value, kUntouched);
	EXPECT_EQ(number, kUntouchedInt);
}

// The host's own numbers keep their decimal point under a decimal-comma process locale:
// strtod's syntax as in the C locale, and printf's forms as in it.
TEST(HostNumbers, ReadAndWrittenWithAPointUnderADecimalCommaLocale)
{
	const testsupport::CommaLocale comma;
	ASSERT_EQ(comma.Why(), "");
	const struct { const char* text; double value; std::size_t taken; } reads[] = {
		{"0.05", 0.05, 4}, {" -1.5e2 ", -150, 7}, {"+2.25,3", 2.25, 5}, {"1,5", 1, 1}, {"0x10", 16, 4}, {"x", 0, 0},
	};
	for (const auto& r : reads) {
		char* end = nullptr;
		EXPECT_EQ(vhost::ReadNumber(r.text, &end), r.value) << r.text;
		EXPECT_EQ(static_cast<std::size_t>(end - r.text), r.taken) << r.text;
	}
	EXPECT_EQ(vhost::NumberText(0.05, std::chars_format::fixed, 2), "0.05");
	EXPECT_EQ(vhost::NumberText(-1.5, std::chars_format::fixed, 6), "-1.500000");
	EXPECT_EQ(vhost::NumberText(1234.5678901234, std::chars_format::general, 10), "1234.56789");
	EXPECT_EQ(vhost::NumberText(1e-7, std::chars_format::general, 10), "1e-07");
}

} // namespace
