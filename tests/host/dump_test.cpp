// The project dump as text: every text it holds written as valid UTF-8, numbers that read
// back as they were, parameter sections copied from their bytes as the library decodes them.
#include <cmath>
#include <cstring>
#include <functional>
#include <limits>
#include <sstream>
#include <string>
#include <vector>

#include <gtest/gtest.h>
#include <nlohmann/json.hpp>

#include "ACAPinc.h"
#include "TestSupport.hpp"
#include "vhost/JsonWriter.hpp"
#include "vhost/LibraryStore.hpp"
#include "vhost/Project.hpp"
#include "vhost/Text.hpp"

namespace {

using json = nlohmann::json;

// Bytes that are not UTF-8 and what the dump writes for them: each bad sequence becomes one
// U+FFFD, the good ones around it stay.
struct Bad {
	const char* bytes;
	const char* written;
};
const Bad kBad[] = {
	{"Kart\xE6.zip", "Kart\uFFFD.zip"},               // a Latin-1 file name
	{"\xC3", "\uFFFD"},                               // cut at the end
	{"a\xC3(b", "a\uFFFD(b"},                         // cut before another character
	{"\x80\xBF", "\uFFFD\uFFFD"},                     // continuation bytes alone
	{"\xC0\xAF", "\uFFFD"},                           // overlong '/'
	{"\xED\xA0\x80", "\uFFFD"},                       // a surrogate
	{"\xF4\x90\x80\x80", "\uFFFD"},                   // past U+10FFFF
	{"\xFF\xFEok", "\uFFFD\uFFFDok"},                 // bytes that never start a sequence
	{"æøå \xF0\x9D\x84\x9E", "æøå \xF0\x9D\x84\x9E"}, // valid: unchanged
};

std::string Written(const std::function<void(vhost::JsonWriter&)>& write)
{
	std::ostringstream out;
	{
		vhost::JsonWriter w(out);
		write(w);
	}
	return out.str();
}

TEST(Dump, InvalidUtf8IsWrittenAsReplacementCharacters)
{
	for (const Bad& c : kBad) {
		SCOPED_TRACE(c.written);
		EXPECT_EQ(vhost::ValidUtf8(c.bytes), c.written);
		const json j = json::parse(Written([&](vhost::JsonWriter& w) {
			w.BeginObject();
			w.Field(c.bytes, c.bytes);
			w.EndObject();
		}));
		ASSERT_EQ(j.size(), 1u);
		EXPECT_EQ(j.begin().key(), c.written);
		EXPECT_EQ(j.begin().value(), c.written);
	}
}

// The texts the host keeps as they came (paths, report texts, answers) reach the dump
// replaced, and the dump never throws.
class DumpTexts : public testsupport::HostTest {};

TEST_F(DumpTexts, EveryKeptTextIsWrittenAsValidUtf8)
{
	const std::string bad = "Kart\xE6.zip", shown = "Kart\uFFFD.zip";
	vhost::Project& p = Host();
	p.reports.push_back({"cannot open " + bad, true});
	vhost::AlertRecord alert;
	alert.title = bad;
	alert.largeText = bad;
	alert.smallText = bad;
	alert.buttons = {bad};
	p.alerts.push_back(alert);
	p.fileDialogs.push_back({"file", bad, "/tmp/" + bad});
	p.undo.push_back({bad, 0, false});
	p.urls.push_back(bad);
	p.shell.push_back("ditto -x -k " + bad);
	p.debug.push_back(bad);
	p.exceptions.push_back(bad);
	p.scriptErrors.push_back(bad);
	p.addonName = bad;
	vhost::Library().libraries.push_back({"/tmp/" + bad, bad, 1});

	std::string text;
	ASSERT_NO_THROW(text = vhost::DumpJson());
	ASSERT_TRUE(vhost::IsValidUtf8(text.data(), text.size()));
	const json j = json::parse(text);
	EXPECT_EQ(j["reports"][0]["text"], "cannot open " + shown);
	for (const char* field : {"title", "text", "detail"}) EXPECT_EQ(j["alerts"][0][field], shown) << field;
	EXPECT_EQ(j["alerts"][0]["buttons"][0], shown);
	EXPECT_EQ(j["fileDialogs"][0]["title"], shown);
	EXPECT_EQ(j["fileDialogs"][0]["answer"], "/tmp/" + shown);
	EXPECT_EQ(j["undo"][0]["name"], shown);
	EXPECT_EQ(j["urls"][0], shown);
	EXPECT_EQ(j["shell"][0], "ditto -x -k " + shown);
	EXPECT_EQ(j["debug"][0], shown);
	EXPECT_EQ(j["exceptions"][0], shown);
	EXPECT_EQ(j["scriptErrors"][0], shown);
	EXPECT_EQ(j["addon"]["name"], shown);
	EXPECT_EQ(j["libraries"].back()["name"], shown);
	EXPECT_EQ(j["libraries"].back()["location"], "/tmp/" + shown);

	// The same texts in the files of --out.
	testsupport::TempDir out;
	std::string why;
	ASSERT_TRUE(vhost::WriteProjectFiles(out.Path(), why)) << why;
	const std::string file = testsupport::ReadFile(out / "project.json");
	EXPECT_EQ(json::parse(file), j);
	const std::string plan = testsupport::ReadFile(out / "plan.svg");
	EXPECT_TRUE(vhost::IsValidUtf8(plan.data(), plan.size()));
}

// Control characters in a name the add-on gave and in a report text are escaped: the file
// parses and gives both back.
TEST_F(DumpTexts, ControlCharactersAreWrittenEscaped)
{
	const std::string name = "a\x01" "b", report = "Line one\nline two";
	API_Attribute layer;
	BNZeroMemory(&layer, sizeof layer);
	layer.header.typeID = API_LayerID;
	std::strcpy(layer.header.name, name.c_str());
	ASSERT_EQ(ACAPI_Attribute_Create(&layer, nullptr), NoError);
	ACAPI_WriteReport(report.c_str(), false);

	testsupport::TempDir out;
	std::string why;
	ASSERT_TRUE(vhost::WriteProjectFiles(out.Path(), why)) << why;
	json project;
	ASSERT_NO_THROW(project = json::parse(testsupport::ReadFile(out / "project.json")));
	EXPECT_EQ(project["attributes"]["layers"].back()["name"], name);
	EXPECT_EQ(project["reports"].back()["text"], report);
}

TEST(Dump, NumbersReadBackAsTheyWere)
{
	const double values[] = {0.0, 1.0, -2.0, 0.1, 1.0 / 3.0, 598123.4567890123, 6650000.0, 1e300, -1e-300,
	                         std::numeric_limits<double>::denorm_min(), std::numeric_limits<double>::max()};
	const json j = json::parse(Written([&](vhost::JsonWriter& w) {
		w.BeginArray();
		for (const double v : values) w.Value(v);
		w.Value(std::nan(""));
		w.Value(std::numeric_limits<double>::infinity());
		w.Value(static_cast<Int16>(-7));
		w.Value(static_cast<UInt32>(4000000000u));
		w.EndArray();
	}));
	ASSERT_EQ(j.size(), std::size(values) + 4);
	for (std::size_t i = 0; i < std::size(values); ++i) {
		EXPECT_TRUE(j[i].is_number_float()) << values[i]; // a whole double stays a double
		EXPECT_EQ(j[i].get<double>(), values[i]);
	}
	EXPECT_TRUE(j[std::size(values)].is_null());     // NaN, as the library writes it
	EXPECT_TRUE(j[std::size(values) + 1].is_null()); // infinity
	EXPECT_EQ(j[std::size(values) + 2], -7);
	EXPECT_EQ(j[std::size(values) + 3], 4000000000u);
}

// The parameter sections are copied from their bytes: the value is what the library's own
// decoding gives (the "parameters" member, else the whole value, null for bytes that do not
// decode), whatever the bytes.
TEST(Dump, ParameterSectionsAreCopiedAsTheyDecode)
{
	const char* const sections[] = {
		R"({"a":1.5,"b":2,"parameters":[{"name":"A","type":2,"value":1.5},{"name":"t","values":[1,2,3]}]})",
		R"({"parameters":[{"name":"tekst","value":"Storgata \"1\" \\ \n \u00e6 \ud834\udd1e"}],"details":{"object":true}})",
		R"({"a":1,"b":2})",                                  // no parameters: the whole value
		R"([1, 2.50, -0.0, 1e3, 1E-2, true, false, null])", // not an object: the whole value
		R"({"k\u00e6y":{"deep":[[[]]],"x":{}}, "parameters":[]} )",
		R"({"parameters":[1,2})",                            // cut short
		R"({"parameters":[01]})",                            // not a JSON number
		R"({"parameters":["\ud800"]})",                      // a lone surrogate escape
		R"({"parameters":["\q"]})",                          // an unknown escape
		"{\"parameters\":[\"Kart\xE6\"]}",                   // not UTF-8
		"{\"parameters\":[\"a\tb\"]}",                       // a raw control character
		R"({"parameters":[1]} x)",                           // text after the value
		"",
	};
	for (const char* bytes : sections) {
		SCOPED_TRACE(bytes);
		const json list = json::parse(Written([&](vhost::JsonWriter& w) { vhost::WriteParamList(w, bytes); }));
		EXPECT_EQ(list, json(vhost::ParamListJson(bytes)));
		const json whole = json::parse(Written([&](vhost::JsonWriter& w) { vhost::WriteParamSection(w, bytes); }));
		EXPECT_EQ(whole, json(vhost::ParamSectionJson(bytes)));
	}
	EXPECT_EQ(vhost::ParamLines(sections[0]), "\nA = 1.5\nt = [3 values]");
	EXPECT_EQ(vhost::ParamLines(sections[5]), "");
}

} // namespace
