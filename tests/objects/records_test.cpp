#include <cstring>

#include <gtest/gtest.h>

#include "Classes/ObjectGenerationInfo.hpp"

namespace {

using Numbers = ObjectParameter::NumberTable;
using Texts = ObjectParameter::TextTable;

// Which value field a parameter holds something in.
struct Held {
	bool isArray, number, text, numbers, texts;
};

Held WhatIsHeld(const ObjectParameter& p)
{
	return {p.isArray, p.doubleValue != 0.0, !p.stringValue.IsEmpty(), !p.doubleArray.IsEmpty(), !p.stringArray.IsEmpty()};
}

TEST(ObjectParameter, EachConstructorFillsOnlyItsValue)
{
	const Numbers numbers = {{1.0, 2.0}, {3.0, 4.0}};
	const Texts texts = {{GS::UniString("a")}, {GS::UniString("b")}};
	struct Case {
		const char* what;
		ObjectParameter p;
		API_AddParID type;
		Held held;
	};
	const Case cases[] = {
		{"empty table", ObjectParameter(APIParT_Length, GS::UniString("vertArray"), true), APIParT_Length, {true, false, false, false, false}},
		{"empty value", ObjectParameter(APIParT_CString, GS::UniString("s"), false), APIParT_CString, {false, false, false, false, false}},
		{"number", ObjectParameter(APIParT_Length, GS::UniString("A"), 6.5), APIParT_Length, {false, true, false, false, false}},
		{"text", ObjectParameter(APIParT_CString, GS::UniString("s"), GS::UniString("tekst")), APIParT_CString, {false, false, true, false, false}},
		{"number table", ObjectParameter(APIParT_Integer, GS::UniString("t"), numbers), APIParT_Integer, {true, false, false, true, false}},
		{"text table", ObjectParameter(APIParT_CString, GS::UniString("t"), texts), APIParT_CString, {true, false, false, false, true}},
	};
	for (const Case& c : cases) {
		const Held h = WhatIsHeld(c.p);
		EXPECT_EQ(c.p.type, c.type) << c.what;
		EXPECT_EQ(h.isArray, c.held.isArray) << c.what;
		EXPECT_EQ(h.number, c.held.number) << c.what;
		EXPECT_EQ(h.text, c.held.text) << c.what;
		EXPECT_EQ(h.numbers, c.held.numbers) << c.what;
		EXPECT_EQ(h.texts, c.held.texts) << c.what;
	}
	EXPECT_EQ(cases[2].p.doubleValue, 6.5);
	EXPECT_EQ(cases[3].p.stringValue, GS::UniString("tekst"));
	EXPECT_EQ(cases[4].p.doubleArray[1][0], 3.0);
	EXPECT_EQ(cases[5].p.stringArray[1][0], GS::UniString("b"));
	EXPECT_EQ(cases[0].p.name, GS::UniString("vertArray")); // the name as given, not upper-cased
}

TEST(ObjectParameter, OnlyTypeTwelveIsText)
{
	for (Int32 code = 0; code <= 20; ++code) {
		const ObjectParameter p(static_cast<API_AddParID>(code), GS::UniString("p"), false);
		EXPECT_EQ(p.IsStringParameter(), code == 12) << code;
	}
}

bool AllZero(const API_LibPart& part)
{
	const auto* bytes = reinterpret_cast<const unsigned char*>(&part);
	for (std::size_t i = 0; i < sizeof part; ++i)
		if (bytes[i] != 0) return false;
	return true;
}

TEST(ObjectGenerationInfo, ConstructorsSetPositionKindAndLayer)
{
	API_LibPart part;
	std::memset(&part, 0, sizeof part);
	part.index = 42;
	const ObjectGenerationInfo none;
	EXPECT_TRUE(AllZero(none.libPart));
	EXPECT_EQ(static_cast<Int32>(none.type), -1);
	EXPECT_EQ(none.layer, 1);
	EXPECT_EQ(none.x, 0.0);
	EXPECT_EQ(none.y, 0.0);
	EXPECT_EQ(none.z, 0.0);
	EXPECT_TRUE(none.parameters.IsEmpty());

	const ObjectGenerationInfo onOrigin(part, ImportBuildings, 7, 12.5);
	EXPECT_EQ(onOrigin.libPart.index, 42);
	EXPECT_EQ(onOrigin.type, ImportBuildings);
	EXPECT_EQ(onOrigin.layer, 7);
	EXPECT_EQ(onOrigin.x, 0.0); // on the frame origin, shifted only by z
	EXPECT_EQ(onOrigin.y, 0.0);
	EXPECT_EQ(onOrigin.z, 12.5);

	const ObjectGenerationInfo placed(part, ImportVegetation, -3, 1.5, -2.5, 100.25);
	EXPECT_EQ(placed.libPart.index, 42);
	EXPECT_EQ(placed.type, ImportVegetation);
	EXPECT_EQ(placed.layer, -3);
	EXPECT_EQ(placed.x, 1.5);
	EXPECT_EQ(placed.y, -2.5);
	EXPECT_EQ(placed.z, 100.25);
	EXPECT_TRUE(placed.parameters.IsEmpty());
}

TEST(ObjectGenerationInfo, ParametersAreKeyedByTheUpperCasedName)
{
	ObjectGenerationInfo record;
	EXPECT_TRUE(record.AddParameter(ObjectParameter(APIParT_Length, GS::UniString("temp_AA"), 3.0)));
	EXPECT_TRUE(record.AddParameter(ObjectParameter(APIParT_Length, GS::UniString("høyde"), 9.0)));
	// Another case of the same name is the same entry: the first value stays.
	EXPECT_FALSE(record.AddParameter(ObjectParameter(APIParT_Length, GS::UniString("TEMP_aa"), 5.0)));
	ASSERT_EQ(record.parameters.GetSize(), 2u);
	// The placement step looks a part's own parameter up by its upper-cased name.
	const ObjectParameter* p = record.parameters.GetPtr(GS::UniString("Temp_aA").ToUpperCase());
	ASSERT_NE(p, nullptr);
	EXPECT_EQ(p->doubleValue, 3.0);
	EXPECT_EQ(p->name, GS::UniString("temp_AA"));
	EXPECT_TRUE(record.parameters.ContainsKey(GS::UniString("HØYDE")));
	EXPECT_FALSE(record.parameters.ContainsKey(GS::UniString("temp_AA")));
}

TEST(ObjectGenerationInfo, ACopyOwnsItsParameters)
{
	ObjectGenerationInfo record;
	record.AddParameter(ObjectParameter(APIParT_Length, GS::UniString("vertArray"), Numbers{{1.0, 2.0, 3.0}}));
	ObjectGenerationInfo copy = record;
	copy.parameters.Get(GS::UniString("VERTARRAY")).doubleArray[0][0] = 7.0;
	copy.AddParameter(ObjectParameter(APIParT_Length, GS::UniString("A"), 1.0));
	EXPECT_EQ(record.parameters.Get(GS::UniString("VERTARRAY")).doubleArray[0][0], 1.0);
	EXPECT_EQ(record.parameters.GetSize(), 1u);
}

} // namespace
