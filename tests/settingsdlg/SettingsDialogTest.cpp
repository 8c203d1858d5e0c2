#include "SettingsDialogTest.hpp"

#include <cstdio>

#include "Functions/mainmenu_settingsdefault.hpp"
#include "vhost/Script.hpp"

namespace settingsdlg {

namespace {

const char* const kCategories[] = {"terrain", "houses", "roads", "fences", "customobj", "water", "vegetation"};

int ValueOf(const Records& records, const std::string& key)
{
	for (const auto& r : records)
		if (r.first == key) return std::stoi(r.second);
	ADD_FAILURE() << "no record " << key;
	return 0;
}

} // namespace

Records DistinctRecords()
{
	Records r;
	for (int c = 0; c < 7; ++c) r.emplace_back(std::string("include_") + kCategories[c], c % 2 == 0 ? "1" : "0");
	const char* groups[] = {"pen_", "fill_", "fillpen_", "bckgrnd_", "surface_", "surface_2_", "layer_"};
	for (int g = 0; g < 7; ++g)
		for (int c = 0; c < 7; ++c) r.emplace_back(groups[g] + std::string(kCategories[c]), std::to_string(10 * (g + 1) + c));
	r.insert(r.end(), {{"include_customs_2d", "1"}, {"customs_2d_pen", "81"}, {"customs_2d_layer", "82"},
	                   {"include_customs_surroundings", "0"}, {"customs_surroundings_pen", "83"},
	                   {"customs_surroundings_layer", "84"}, {"user_import_folder", Hex("/Kart/old")}});
	return r;
}

Records With(Records records, const std::string& key, const std::string& value)
{
	for (auto& r : records)
		if (r.first == key) { r.second = value; return records; }
	ADD_FAILURE() << "no record " << key;
	return records;
}

std::string FileOf(const Records& records)
{
	std::string out;
	for (const auto& r : records) out += "[" + r.first + "=" + r.second + "]\r\n";
	return out;
}

std::string Hex(const std::string& bytes)
{
	std::string out;
	char two[3];
	for (const unsigned char b : bytes) {
		std::snprintf(two, sizeof two, "%02X", b);
		out += two;
	}
	return out;
}

std::map<short, int> ItemValues(const Records& records)
{
	std::map<short, int> v;
	const struct { const char* prefix; short number; short picker; } groups[] = {
		{"include_", 25, 0}, {"pen_", 32, 60}, {"fill_", 39, 67}, {"fillpen_", 46, 74},
		{"bckgrnd_", 53, 81}, {"surface_", 0, 88}, {"layer_", 0, 95},
	};
	for (const auto& g : groups)
		for (short c = 0; c < 7; ++c) {
			const int value = ValueOf(records, g.prefix + std::string(kCategories[c]));
			if (g.number != 0) v[static_cast<short>(g.number + c)] = value;
			if (g.picker != 0) v[static_cast<short>(g.picker + c)] = value;
		}
	const struct { short item; const char* key; } singles[] = {
		{107, "include_customs_2d"}, {108, "customs_2d_pen"}, {109, "customs_2d_pen"}, {110, "customs_2d_layer"},
		{113, "include_customs_surroundings"}, {114, "customs_surroundings_pen"}, {115, "customs_surroundings_pen"},
		{116, "customs_surroundings_layer"}, {117, "surface_2_houses"},
	};
	for (const auto& s : singles) v[s.item] = ValueOf(records, s.key);
	return v;
}

std::string Expectations(const std::map<short, int>& values)
{
	std::string out;
	for (const auto& [item, value] : values) out += "expect value " + std::to_string(item) + " " + std::to_string(value) + "\n";
	return out;
}

void SettingsCommand::SetUp()
{
	HostTest::SetUp();
	Host().addonFile = RunRoot() + "/Addon/Velmora.so";
	Host().resourceFile = VELMORA_SOURCE_DIR "/Resources/Velmora.rsrc";
	Host().resources.reset();
	testsupport::WriteFile(FactoryFile(), FileOf(DistinctRecords()));
}

void SettingsCommand::Script(const std::string& text)
{
	std::vector<vhost::ScriptStep> steps;
	std::string error;
	ASSERT_TRUE(vhost::ParseScript(text, steps, error)) << error;
	vhost::SetScript(steps);
}

void SettingsCommand::Run(const std::string& script)
{
	Script(script);
	mainmenu_settingsdefault().do_it();
	vhost::FinishScript();
}

} // namespace settingsdlg
