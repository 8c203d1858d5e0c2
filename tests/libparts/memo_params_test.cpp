#include <climits>
#include <cstring>

#include <gtest/gtest.h>

#include "LibTestHelpers.hpp"
#include "TestSupport.hpp"
#include "libpart/MemoParams.hpp"
#include "vhost/Text.hpp"

namespace {

using libtest::Param;
namespace MP = kivel::MP;

class MemoParams : public testsupport::HostTest {
protected:
	void TearDown() override
	{
		for (auto& r : owned_)
			if (r->typeMod == API_ParArray && r->value.array != nullptr) BMKillHandle(&r->value.array);
		HostTest::TearDown();
	}
	// Frees the record's array value when the test ends.
	API_AddParType& Own(API_AddParType& r) { owned_.push_back(&r); return r; }
	API_AddParType rec_{};

private:
	std::vector<API_AddParType*> owned_;
};

TEST_F(MemoParams, KindsFollowTheTypeMasks)
{
	struct Case { int type; bool text, numeric, integer, boolean; };
	const Case cases[] = {
		{1, false, true, true, false},   {2, false, true, false, false}, {3, false, true, false, false},
		{4, false, true, false, false},  {5, false, true, true, true},   {6, false, true, false, false},
		{7, false, true, true, false},   {8, false, true, true, false},  {9, false, true, true, false},
		{10, false, true, true, false},  {11, false, true, true, false}, {12, true, false, false, false},
		{13, false, true, true, true},   {14, false, false, false, false}, {15, false, false, false, false},
		{16, false, true, true, false},  {17, false, true, true, false}, {18, false, false, false, false},
		{0, false, false, false, false}, {-1, false, false, false, false},
	};
	for (const Case& c : cases) {
		const API_AddParType p = Param("p", static_cast<API_AddParID>(c.type));
		EXPECT_EQ(MP::IsStringParam(p), c.text) << c.type;
		EXPECT_EQ(MP::IsNumericParam(p), c.numeric) << c.type;
		EXPECT_EQ(MP::IsIntegerParam(p), c.integer) << c.type;
		EXPECT_EQ(MP::IsBooleanParam(p), c.boolean) << c.type;
	}
	API_AddParType a = Param("a", APIParT_CString);
	struct Dims { int d1, d2; bool array; };
	for (const Dims d : {Dims{0, 0, false}, Dims{1, 0, false}, Dims{0, 1, false}, Dims{1, 1, true}, Dims{3, 2, true}}) {
		a.dim1 = d.d1;
		a.dim2 = d.d2;
		EXPECT_EQ(MP::IsArrayParam(a), d.array) << d.d1 << "x" << d.d2;
	}
}

TEST_F(MemoParams, ScalarSettersFollowTheModifierAndKind)
{
	struct Case { API_AddParID type; Int16 mod; bool numberOk, textOk; };
	const Case cases[] = {
		{APIParT_Length, API_ParSimple, true, false},
		{APIParT_CString, API_ParSimple, false, true},
		{APIParT_Length, API_ParArray, false, false},
		{APIParT_CString, API_ParArray, false, false},
		{APIParT_Title, API_ParSimple, true, false},
	};
	for (const Case& c : cases) {
		API_AddParType p = Param("p", c.type, c.mod);
		const API_AddParType before = p;
		EXPECT_EQ(MP::SetDoubleParam(p, 2.5), c.numberOk);
		EXPECT_EQ(MP::SetIntegerParam(p, 7), c.numberOk);
		EXPECT_EQ(MP::SetBooleanParam(p, true), c.numberOk);
		if (c.numberOk) EXPECT_EQ(p.value.real, 1.0);
		else EXPECT_EQ(std::memcmp(&p, &before, sizeof p), 0) << "a refusal changes nothing";
		p = before;
		EXPECT_EQ(MP::SetStringParam(p, GS::UniString("Arial")), c.textOk);
		EXPECT_EQ(MP::SetStringParam(p, std::string("æøå")), c.textOk);
		if (c.textOk) EXPECT_EQ(GS::UniString(p.value.uStr), GS::UniString("æøå"));
		else EXPECT_EQ(std::memcmp(&p, &before, sizeof p), 0);
	}
}

TEST_F(MemoParams, LongTextIsCutToTheFieldAndKeepsSurrogatePairsWhole)
{
	struct Case { std::u16string text; std::size_t kept; };
	std::u16string pairAtCut(254, u'a');
	pairAtCut += u"\xD83C\xDF32x"; // the pair would take units 254 and 255
	std::u16string pairInside(253, u'a');
	pairInside += u"\xD83C\xDF32xyz"; // the pair takes the last two units, 253 and 254: kept whole
	const Case cases[] = {
		{std::u16string(255, u'a'), 255},
		{std::u16string(300, u'b'), 255},
		{pairAtCut, 254},
		{pairInside, 255},
		{u"", 0},
	};
	for (const Case& c : cases) {
		API_AddParType p = Param("s", APIParT_CString);
		std::fill(std::begin(p.value.uStr), std::end(p.value.uStr), u'#');
		ASSERT_TRUE(MP::SetStringParam(p, vhost::FromUnits(c.text)));
		EXPECT_EQ(p.value.uStr[c.kept], 0);
		GS::UniString back;
		ASSERT_TRUE(MP::GetStringParam(p, back));
		EXPECT_EQ(vhost::Units(back), c.text.substr(0, c.kept));
	}
}

TEST_F(MemoParams, NumberTablesAreStoredRowByRow)
{
	API_AddParType& p = Own(rec_ = Param("t", APIParT_Length, API_ParArray));
	ASSERT_TRUE(MP::SetDoubleParamArray(p, GS::Array<GS::Array<double>>{{1, 2, 3}, {4, 5, 6}}));
	EXPECT_EQ(p.dim1, 2);
	EXPECT_EQ(p.dim2, 3);
	ASSERT_EQ(BMGetHandleSize(p.value.array), 6 * 8);
	const auto* d = reinterpret_cast<const double*>(*p.value.array);
	EXPECT_EQ(std::vector<double>(d, d + 6), (std::vector<double>{1, 2, 3, 4, 5, 6}));

	// Refusals leave dimensions and values as they were.
	const GSHandle old = p.value.array;
	EXPECT_FALSE(MP::SetDoubleParamArray(p, GS::Array<GS::Array<double>>{{1, 2, 3}, {4, 5}}));
	EXPECT_FALSE(MP::SetDoubleParamArray(p, GS::Array<GS::Array<double>>{}));
	EXPECT_FALSE(MP::SetDoubleParamArray(p, std::vector<std::vector<double>>{{}}));
	EXPECT_FALSE(MP::SetStringParamArray(p, GS::Array<GS::UniString>{"x"}));
	EXPECT_EQ(p.value.array, old);
	EXPECT_EQ(p.dim1, 2);
	EXPECT_EQ(p.dim2, 3);

	ASSERT_TRUE(MP::SetBooleanParamArray(p, std::vector<std::vector<bool>>{{true, false}}));
	EXPECT_EQ(reinterpret_cast<const double*>(*p.value.array)[0], 1.0);
	ASSERT_TRUE(MP::SetIntegerParamArray(p, GS::Array<int>{7, -8}));
	EXPECT_EQ(p.dim1, 2);
	EXPECT_EQ(p.dim2, 1);
}

TEST_F(MemoParams, TextTablesArePackedWithATerminatorPerCell)
{
	API_AddParType& p = Own(rec_ = Param("s", APIParT_CString, API_ParArray));
	const GS::Array<GS::Array<GS::UniString>> table{{"ab", "", "c"}};
	EXPECT_EQ(MP::StringVectorLength(table), 6u);
	ASSERT_TRUE(MP::SetStringParamArray(p, table));
	EXPECT_EQ(p.dim1, 1);
	EXPECT_EQ(p.dim2, 3);
	ASSERT_EQ(BMGetHandleSize(p.value.array), 12);
	const auto* u = reinterpret_cast<const GS::UniChar*>(*p.value.array);
	EXPECT_EQ(std::u16string(u, 6), std::u16string(u"ab\0\0c\0", 6));
	EXPECT_EQ(MP::StringVectorLength(std::vector<std::vector<std::string>>{{"æ", "ab"}}), 5u);
	EXPECT_EQ(MP::StringVectorLength(GS::Array<GS::UniString>{}), 0u);
	std::vector<std::vector<std::string>> back{{"stale"}};
	ASSERT_TRUE(MP::GetStringParamArray(p, back));
	EXPECT_EQ(back, (std::vector<std::vector<std::string>>{{"ab", "", "c"}}));
	GS::Array<GS::UniString> list;
	EXPECT_FALSE(MP::GetStringParamArray(p, list)) << "a 1 x 3 table is not a list";
}

TEST_F(MemoParams, ScalarGettersConvertAndRefuse)
{
	struct Case { API_AddParID type; double value; bool intOk; int asInt; bool boolOk; bool asBool; };
	const Case cases[] = {
		{APIParT_Integer, -2.7, true, -2, false, false},
		{APIParT_Integer, 2.7, true, 2, false, false},
		{APIParT_Integer, 3e9, false, 0, false, false},       // outside the int range
		{APIParT_Integer, -3e9, false, 0, false, false},
		{APIParT_Integer, 2147483647.5, true, INT_MAX, false, false},   // truncated toward zero into the range
		{APIParT_Integer, -2147483648.7, true, INT_MIN, false, false},
		{APIParT_Integer, 2147483648.0, false, 0, false, false},       // just past INT_MAX
		{APIParT_Boolean, 1.0005, true, 1, true, true},
		{APIParT_Boolean, 0.998, true, 0, true, false},
		{APIParT_Length, 2.0, false, 0, false, false},        // not in the integer set
	};
	for (const Case& c : cases) {
		API_AddParType p = Param("p", c.type);
		p.value.real = c.value;
		int i = 99;
		bool b = false;
		double d = 0;
		EXPECT_EQ(MP::GetIntegerParam(p, i), c.intOk) << c.value;
		if (c.intOk) { EXPECT_EQ(i, c.asInt); }
		EXPECT_EQ(MP::GetBoolParam(p, b), c.boolOk) << c.value;
		if (c.boolOk) { EXPECT_EQ(b, c.asBool); }
		EXPECT_TRUE(MP::GetDoubleParam(p, d));
		p.dim1 = p.dim2 = 1;
		EXPECT_FALSE(MP::GetDoubleParam(p, d)) << "an array is not a scalar";
	}
	API_AddParType t = Param("t", APIParT_CString);
	double d = 0;
	EXPECT_FALSE(MP::GetDoubleParam(t, d));
}

TEST_F(MemoParams, ArrayGettersGiveRowsAndRefuseWhatDoesNotFit)
{
	API_AddParType& p = Own(rec_ = Param("t", APIParT_Integer, API_ParArray));
	ASSERT_TRUE(MP::SetDoubleParamArray(p, GS::Array<GS::Array<double>>{{1, 2}, {3, 4}, {5, 6.9}}));
	GS::Array<GS::Array<double>> rows{{42}};
	ASSERT_TRUE(MP::GetDoubleParamArray(p, rows));
	ASSERT_EQ(rows.GetSize(), 3u) << "the output is cleared first";
	EXPECT_EQ(rows[2][1], 6.9);
	std::vector<std::vector<int>> ints;
	ASSERT_TRUE(MP::GetIntegerParamArray(p, ints));
	EXPECT_EQ(ints[2][1], 6);
	GS::Array<double> list{-1};
	EXPECT_FALSE(MP::GetDoubleParamArray(p, list)) << "a 3 x 2 table is not a list";
	EXPECT_EQ(list.GetSize(), 1u);
	GS::Array<bool> bools;
	EXPECT_FALSE(MP::GetBooleanParamArray(p, bools)) << "integer is not boolean";
	// A handle shorter than the dimensions is refused.
	p.dim1 = 4;
	EXPECT_FALSE(MP::GetDoubleParamArray(p, rows));
	p.dim1 = 3;
	reinterpret_cast<double*>(*p.value.array)[0] = 1e10;
	EXPECT_FALSE(MP::GetIntegerParamArray(p, ints)) << "a value outside the int range";
	// A plain list appends.
	ASSERT_TRUE(MP::SetDoubleParamArray(p, GS::Array<double>{8, 9}));
	list = {7};
	ASSERT_TRUE(MP::GetDoubleParamArray(p, list));
	EXPECT_EQ(list, (GS::Array<double>{7, 8, 9}));
}

TEST_F(MemoParams, RowGettersStartFromAnEmptyOutputAlsoWhenTheyRefuse)
{
	API_AddParType& numbers = Own(rec_ = Param("n", APIParT_Length, API_ParArray));
	ASSERT_TRUE(MP::SetDoubleParamArray(numbers, GS::Array<GS::Array<double>>{{1, 2}}));
	API_AddParType texts = Param("s", APIParT_CString, API_ParArray);
	API_AddParType scalar = Param("x", APIParT_Length);
	struct Case { const char* what; const API_AddParType* rec; };
	const Case cases[] = {{"text record", &texts}, {"not an array", &scalar}, {"length is not integer", &numbers}};
	for (const Case& c : cases) {
		GS::Array<GS::Array<int>> intRows{{42}};
		std::vector<std::vector<int>> intVectors{{42}};
		EXPECT_FALSE(MP::GetIntegerParamArray(*c.rec, intRows)) << c.what;
		EXPECT_FALSE(MP::GetIntegerParamArray(*c.rec, intVectors)) << c.what;
		EXPECT_TRUE(intRows.IsEmpty()) << c.what;
		EXPECT_TRUE(intVectors.empty()) << c.what;
	}
	GS::Array<GS::Array<GS::UniString>> textRows{{"stale"}};
	EXPECT_FALSE(MP::GetStringParamArray(numbers, textRows));
	EXPECT_TRUE(textRows.IsEmpty());
	GS::Array<double> list{7};
	EXPECT_FALSE(MP::GetDoubleParamArray(scalar, list));
	EXPECT_EQ(list, (GS::Array<double>{7})) << "a plain list is appended to, never cleared";
}

TEST_F(MemoParams, MemoFormsFindByExactNameAndChangeNothingOnRefusal)
{
	std::vector<API_AddParType> recs{Param("A", APIParT_Length), Param("name", APIParT_CString), Param("Name", APIParT_Length)};
	libtest::Memo memo;
	memo.params = libtest::Handle(recs);
	API_AddParType out;
	BNZeroMemory(&out, sizeof out);
	EXPECT_FALSE(MP::GetParam(memo, out, "A", 0)) << "count 0 looks at nothing";
	EXPECT_FALSE(MP::GetParam(memo, out, "Name", 2)) << "only the first count records";
	EXPECT_TRUE(MP::SetDoubleParam(memo, "Name", 3, 4.5));
	EXPECT_EQ((*memo.params)[2].value.real, 4.5);
	EXPECT_FALSE(MP::SetDoubleParam(memo, "name", 3, 4.5)) << "a text record refuses a number";
	EXPECT_EQ((*memo.params)[1].value.uStr[0], 0);
	EXPECT_FALSE(MP::SetDoubleParam(memo, "missing", 3, 1.0));
	EXPECT_TRUE(MP::SetStringParam(memo, "name", 3, GS::UniString("x")));
	std::string text;
	EXPECT_TRUE(MP::GetStringParam(memo, "name", 3, text));
	EXPECT_EQ(text, "x");
	EXPECT_TRUE(MP::GetParam(memo, out, "A", 1000)) << "a count beyond the handle stops at its end";
	EXPECT_FALSE(MP::GetParam(memo, out, "other", 1000));
	BMKillHandle(reinterpret_cast<GSHandle*>(&memo.params));
}

TEST_F(MemoParams, ContextSensitiveCommandIsOneUndoStep)
{
	EXPECT_EQ(MP::ContextSensitive_Command(GS::UniString("Step"), [] { return 0; }), NoError);
	EXPECT_EQ(MP::ContextSensitive_Command(GS::UniString("Failing"), [] { return static_cast<int>(APIERR_GENERAL); }), APIERR_GENERAL);
	ASSERT_EQ(Host().undo.size(), 2u);
	EXPECT_EQ(Host().undo[0].name, "Step");
	EXPECT_TRUE(Host().undo[1].rolledBack);
}

} // namespace
