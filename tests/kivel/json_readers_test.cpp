// The typed JSON field readers: which values each kind takes, and what it stores.
#include <cstring>
#include <string>

#include <gtest/gtest.h>

#include "TestSupport.hpp"
#include "utils/RapidJsonParsers.hpp"

namespace {

namespace rjp = kivel::RapidJsonParsers;

rapidjson::Document Parse(const std::string& text)
{
	rapidjson::Document d;
	d.Parse(text.c_str());
	EXPECT_FALSE(d.HasParseError()) << text;
	return d;
}

// Whether each kind takes the member "v" of {"v": literal}, through the member form and the
// value form alike.
struct Taken {
	bool b, s, i, u, l, us, d, str;
};

Taken Try(const std::string& literal)
{
	const rapidjson::Document doc = Parse("{\"v\": " + literal + "}");
	const rjp::JsonValue& v = doc["v"];
	bool b; short s; int i; unsigned u; long long l; unsigned short us; double d; std::string str;
	const Taken member{rjp::ReadBoolFromJsonObj(doc, "v", b), rjp::ReadShortFromJsonObj(doc, "v", s),
		rjp::ReadIntFromJsonObj(doc, "v", i), rjp::ReadUIntFromJsonObj(doc, "v", u), rjp::ReadLongFromJsonObj(doc, "v", l),
		rjp::ReadUShortFromJsonObj(doc, "v", us), rjp::ReadDoubleFromJsonObj(doc, "v", d), rjp::ReadStringFromJsonObj(doc, "v", str)};
	const Taken value{rjp::ReadBoolFromJsonObj(v, b), rjp::ReadShortFromJsonObj(v, s), rjp::ReadIntFromJsonObj(v, i),
		rjp::ReadUIntFromJsonObj(v, u), rjp::ReadLongFromJsonObj(v, l), rjp::ReadUShortFromJsonObj(v, us),
		rjp::ReadDoubleFromJsonObj(v, d), rjp::ReadStringFromJsonObj(v, str)};
	EXPECT_EQ(std::memcmp(&member, &value, sizeof member), 0) << literal;
	return member;
}

TEST(JsonReaders, TypeRules)
{
	const struct { const char* literal; Taken taken; } cases[] = {
		//                          bool  short  int    uint   long   ushort double string
		{"true", {true, false, false, false, false, false, false, false}},
		{"3", {false, true, true, true, true, true, false, false}},
		{"3.0", {false, false, false, false, false, false, true, false}},
		{"3e2", {false, false, false, false, false, false, true, false}},
		{"-1", {false, true, true, false, true, false, false, false}},
		{"32767", {false, true, true, true, true, true, false, false}},
		{"32768", {false, false, true, true, true, true, false, false}},
		{"-32768", {false, true, true, false, true, false, false, false}},
		{"-32769", {false, false, true, false, true, false, false, false}},
		{"65535", {false, false, true, true, true, true, false, false}},
		{"65536", {false, false, true, true, true, false, false, false}},
		{"2147483648", {false, false, false, true, false, false, false, false}},
		{"5000000000", {false, false, false, false, false, false, false, false}},
		{"18446744073709551616", {false, false, false, false, false, false, true, false}},
		{"\"3\"", {false, false, false, false, false, false, false, true}},
		{"null", {false, false, false, false, false, false, false, false}},
		{"[1]", {false, false, false, false, false, false, false, false}},
	};
	for (const auto& c : cases) {
		SCOPED_TRACE(c.literal);
		const Taken t = Try(c.literal);
		EXPECT_EQ(t.b, c.taken.b);
		EXPECT_EQ(t.s, c.taken.s);
		EXPECT_EQ(t.i, c.taken.i);
		EXPECT_EQ(t.u, c.taken.u);
		EXPECT_EQ(t.l, c.taken.l);
		EXPECT_EQ(t.us, c.taken.us);
		EXPECT_EQ(t.d, c.taken.d);
		EXPECT_EQ(t.str, c.taken.str);
	}
}

TEST(JsonReaders, StoredValuesAndUntouchedOutputs)
{
	const rapidjson::Document doc = Parse(
		"{\"s\": -32768, \"us\": 65535, \"big\": 70000, \"d\": 2.5, \"t\": \"bl\\u00e5\", \"z\": \"a\\u0000b\", \"b\": false}");
	short s = 1;
	EXPECT_TRUE(rjp::ReadShortFromJsonObj(doc, "s", s));
	EXPECT_EQ(s, -32768);
	unsigned short us = 1;
	EXPECT_TRUE(rjp::ReadUShortFromJsonObj(doc, "us", us));
	EXPECT_EQ(us, 65535);
	us = 9;
	EXPECT_FALSE(rjp::ReadUShortFromJsonObj(doc, "big", us));
	EXPECT_EQ(us, 9);
	double d = 0;
	EXPECT_TRUE(rjp::ReadDoubleFromJsonObj(doc, "d", d));
	EXPECT_EQ(d, 2.5);
	GS::UniString text;
	EXPECT_TRUE(rjp::ReadStringFromJsonObj(doc, "t", text));
	EXPECT_EQ(text, "blå");
	std::string bytes;
	EXPECT_TRUE(rjp::ReadStringFromJsonObj(doc, "z", bytes));
	EXPECT_EQ(bytes, "a");
	bool b = true;
	EXPECT_TRUE(rjp::ReadBoolFromJsonObj(doc, "b", b));
	EXPECT_FALSE(b);
	int i = 4;
	EXPECT_FALSE(rjp::ReadIntFromJsonObj(doc, "missing", i));
	EXPECT_FALSE(rjp::ReadIntFromJsonObj(doc["s"], "s", i)); // not an object
	EXPECT_EQ(i, 4);
}

class JsonDates : public testsupport::HostTest {};

TEST_F(JsonDates, TextsIntegersAndReports)
{
	const rapidjson::Document doc = Parse("{\"t\": \"2025-10-15 08:30:00\", \"z\": 0, \"day\": \"2025-10-15\", \"bad\": \"15.10.2025\","
		" \"g\": \"{1B2C3D4E-5F60-4172-8394-A5B6C7D8E9F0}\", \"badg\": \"nope\", \"huge\": 5000000000}");
	GSTimeRecord t;
	BNZeroMemory(&t, sizeof t);
	EXPECT_TRUE(rjp::ReadDateTimeFromJsonObj(doc, "t", t, "%Y-%m-%d %H:%M:%S"));
	EXPECT_EQ(t.year, 2025); EXPECT_EQ(t.month, 10); EXPECT_EQ(t.day, 15);
	EXPECT_EQ(t.hour, 8); EXPECT_EQ(t.minute, 30); EXPECT_EQ(t.second, 0);
	EXPECT_TRUE(rjp::ReadDateTimeFromJsonObj(doc, "z", t, "%Y"));
	EXPECT_EQ(t.year, 1970); EXPECT_EQ(t.month, 1); EXPECT_EQ(t.day, 1);
	EXPECT_EQ(t.hour, 0); EXPECT_EQ(t.minute, 0); EXPECT_EQ(t.second, 0);
	EXPECT_TRUE(rjp::ReadDateTimeFromJsonObj(doc["t"], t));
	EXPECT_FALSE(rjp::ReadDateTimeFromJsonObj(doc, "huge", t, "%Y"));
	EXPECT_FALSE(rjp::ReadDateTimeFromJsonObj(doc["z"], t)); // the value form takes texts only
	EXPECT_TRUE(Host().reports.empty());

	GSDateRecord day;
	BNZeroMemory(&day, sizeof day);
	EXPECT_TRUE(rjp::ReadDateFromJsonObj(doc["day"], day));
	EXPECT_EQ(day.year, 2025); EXPECT_EQ(day.month, 10); EXPECT_EQ(day.day, 15);
	day = GSDateRecord{};
	EXPECT_FALSE(rjp::ReadDateFromJsonObj(doc, "bad", day, "%Y-%m-%d"));
	EXPECT_EQ(day.year, 0);
	EXPECT_FALSE(rjp::ReadDateTimeFromJsonObj(doc, "bad", t, "%Y-%m-%d %H:%M:%S"));
	EXPECT_EQ(ReportTexts(), (std::vector<std::string>{"Error in parsing 'GSDateRecord': 15.10.2025",
		"Error in parsing 'GSTimeRecord': 15.10.2025"}));

	API_Guid guid{};
	EXPECT_TRUE(rjp::ReadGuidFromJsonObj(doc, "g", guid));
	EXPECT_NE(guid, API_Guid{});
	EXPECT_FALSE(rjp::ReadGuidFromJsonObj(doc, "badg", guid));
	EXPECT_EQ(guid, API_Guid{});
	EXPECT_EQ(Host().reports.size(), 3u);
}

} // namespace
