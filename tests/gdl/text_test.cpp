// The script text's number writers against the C library's snprintf, and row ends.
#include <cfloat>
#include <cmath>
#include <cstdint>
#include <cstdio>
#include <cstring>
#include <random>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "GSRoot.hpp"
#include "Gdl/GdlText.hpp"
#include "TestSupport.hpp"

namespace {

std::string Printf(double v)
{
	char buffer[400];
	std::snprintf(buffer, sizeof buffer, "%f", v);
	return buffer;
}

std::string Ours(double v)
{
	std::string s;
	AppendFixed(s, v);
	return s;
}

double FromBits(std::uint64_t bits)
{
	double v;
	std::memcpy(&v, &bits, sizeof v);
	return v;
}

TEST(FixedNumbers, SpecialValues)
{
	const double cases[] = {0.0, -0.0, -1e-9, -4.9999999e-7, -5e-7, 5e-7, 1.0 / 128, 3.0 / 128, -1.0 / 128, 0.5e-6,
	                        1.5e-6, 2.5e-6, 0.0000025, 1.0000005, 999999.9999995, 0.1, 0.7, 34.02, 1.5707963267948966,
	                        1e15, 123456789012.0078125, 1e20, -1e22, 9007199254740993.0, 1e30, 1.2345678901234567e32,
	                        3e32, 1e300, -1e308, DBL_MAX, -DBL_MAX, DBL_MIN, -DBL_MIN, DBL_TRUE_MIN, -DBL_TRUE_MIN,
	                        HUGE_VAL, -HUGE_VAL, std::nan(""), 4294967295.5, 18446744073709551615.0, 1e19 + 0.5};
	for (double v : cases) EXPECT_EQ(Ours(v), Printf(v)) << std::hexfloat << v;
	EXPECT_EQ(Ours(-1e-9), "-0.000000");
	EXPECT_EQ(Ours(1.0 / 128), "0.007812") << "an exact tie goes to the even digit";
	EXPECT_EQ(Ours(3.0 / 128), "0.023438");
}

TEST(FixedNumbers, TheProcessLocaleDoesNotChangeThePoint)
{
	// Values on both sides of 2^107 (the fast path's end), and the ones the library writes.
	const double cases[] = {598765.5, -0.25, std::ldexp(1.0, 107), -std::ldexp(1.5, 120), 1e300, HUGE_VAL, std::nan("")};
	std::vector<std::string> plain;
	for (double v : cases) plain.push_back(Printf(v));
	std::vector<std::string> appended, rows;
	{
		const testsupport::CommaLocale comma;
		ASSERT_EQ(comma.Why(), "");
		ASSERT_EQ(Printf(0.5), "0,500000") << "the C library now writes a comma";
		ScriptText text;
		for (double v : cases) {
			appended.push_back(Ours(v));
			text.Fixed(v).EndRow();
		}
		rows.push_back(text.Take());
	}
	EXPECT_EQ(appended, plain);
	std::string joined;
	for (const std::string& p : plain) joined += p + GS_EOL;
	EXPECT_EQ(rows[0], joined);
}

TEST(FixedNumbers, MillionRandomDoublesMatchSnprintf)
{
	std::mt19937_64 rng(20261210);
	std::uniform_real_distribution<double> coordinate(-2e5, 2e5);
	std::uniform_int_distribution<int> shift(1, 60);
	int mismatches = 0;
	for (int i = 0; i < 1000000 && mismatches < 10; ++i) {
		double v;
		switch (i % 4) {
			case 0: v = FromBits(rng()); break;                                              // any bit pattern
			case 1: v = coordinate(rng); break;                                              // map coordinates
			case 2: v = std::ldexp(static_cast<double>(rng() >> shift(rng)), -shift(rng)); break; // binary fractions, ties
			default: v = static_cast<float>(coordinate(rng)) / 1000.0f; break;              // single-precision values
		}
		if (i % 8 == 7) v = -v;
		const std::string ours = Ours(v), theirs = Printf(v);
		if (ours != theirs) {
			++mismatches;
			ADD_FAILURE() << std::hexfloat << v << ": " << ours << " != " << theirs;
		}
	}
	EXPECT_EQ(mismatches, 0);
}

TEST(ScriptText, IntegersAndRows)
{
	std::string s;
	for (long long v : {0LL, 7LL, -42LL, 2147483647LL, -9223372036854775807LL - 1}) {
		s.clear();
		AppendInt(s, v);
		EXPECT_EQ(s, std::to_string(v));
	}
	ScriptText t;
	t.AddRow("base");
	t.Add("VERT ").Fixed(1).Add(",").Int(-2).EndRow();
	t.AddRow(std::string(5000, 'x'));
	EXPECT_EQ(t.Text(), "base\nVERT 1.000000,-2\n" + std::string(5000, 'x') + "\n") << "rows are never cut";
}

} // namespace
