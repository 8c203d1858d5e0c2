#include "vhost/Resources.hpp"

#include <algorithm>
#include <cstring>
#include <memory>
#include <fstream>
#include <sstream>

#include "RS.hpp"
#include "vhost/Project.hpp"
#include "vhost/Text.hpp"

namespace vhost {

namespace {

// Splits a line into words; quoted texts are one word each (kept with a leading '"').
bool Tokenize(const std::string& line, std::vector<std::string>& words, std::string& error)
{
	words.clear();
	std::size_t i = 0;
	while (i < line.size()) {
		const char c = line[i];
		if (c == ' ' || c == '\t' || c == '\r') { ++i; continue; }
		if (c == '#') break;
		if (c == '"') {
			std::string text = "\"";
			for (++i; i < line.size() && line[i] != '"'; ++i) {
				if (line[i] == '\\' && i + 1 < line.size()) ++i;
				text += line[i];
			}
			if (i >= line.size()) { error = "unterminated text"; return false; }
			++i;
			words.push_back(text);
			continue;
		}
		std::size_t j = i;
		while (j < line.size() && line[j] != ' ' && line[j] != '\t' && line[j] != '\r') ++j;
		words.push_back(line.substr(i, j - i));
		i = j;
	}
	return true;
}

bool IsText(const std::string& w) { return !w.empty() && w[0] == '"'; }
GS::UniString TextOf(const std::string& w) { return GS::UniString(w.substr(1)); }

bool ToNumber(const std::string& w, double& v)
{
	char* end = nullptr;
	v = vhost::ReadNumber(w.c_str(), &end);
	return !w.empty() && end != nullptr && *end == 0;
}

bool ToId(const std::string& w, Int16& id)
{
	double v = 0;
	if (!ToNumber(w, v) || v < -32768 || v > 32767 || v != static_cast<Int16>(v)) return false;
	id = static_cast<Int16>(v);
	return true;
}

bool ParseItem(const std::vector<std::string>& w, DialogItemDef& item, std::string& error)
{
	if (w.size() < 3 || !ToId(w[1], item.id)) { error = "item needs an id and a kind"; return false; }
	item.kind = w[2];
	std::size_t k = 3;
	if (k < w.size() && IsText(w[k])) item.text = TextOf(w[k++]);
	for (; k < w.size(); ++k) {
		const std::string& key = w[k];
		if (key == "disabled") { item.enabled = false; continue; }
		if (key == "hidden") { item.hidden = true; continue; }
		if (key == "entry" && k + 1 < w.size() && IsText(w[k + 1])) { item.entries.push_back(TextOf(w[++k])); continue; }
		if ((key == "columns" || key == "image") && k + 1 < w.size()) {
			Int16& target = key == "columns" ? item.columns : item.image;
			if (!ToId(w[++k], target) || target < 0) { error = "bad item attribute '" + key + "'"; return false; }
			continue;
		}
		double* target = key == "value" ? &item.value : key == "min" ? &item.minValue : key == "max" ? &item.maxValue : nullptr;
		if (target == nullptr || k + 1 >= w.size() || !ToNumber(w[k + 1], *target)) {
			error = "bad item attribute '" + key + "'";
			return false;
		}
		++k;
	}
	return true;
}

} // namespace

bool ParseResources(const std::string& text, const std::string& baseFolder, Resources& out, std::string& error)
{
	std::istringstream in(text);
	std::string line;
	int lineNo = 0;
	enum { Top, InStrings, InDialog } where = Top;
	Int16 current = 0;
	std::vector<std::string> w;
	auto fail = [&](const std::string& why) {
		error = "line " + std::to_string(lineNo) + ": " + why;
		return false;
	};
	while (std::getline(in, line)) {
		++lineNo;
		std::string why;
		if (!Tokenize(line, w, why)) return fail(why);
		if (w.empty()) continue;
		if (where != Top && w[0] == "end") { where = Top; continue; }
		if (where == InStrings) {
			if (w.size() != 1 || !IsText(w[0])) return fail("a string list holds one text a line");
			out.strings[current].push_back(TextOf(w[0]));
			continue;
		}
		if (where == InDialog) {
			DialogItemDef item;
			if (w[0] != "item") return fail("a dialog holds items");
			if (!ParseItem(w, item, why)) return fail(why);
			out.dialogs[current].items.push_back(item);
			continue;
		}
		if (w.size() < 2 || !ToId(w[1], current)) return fail("expected a resource kind and id");
		if (w[0] == "strings") {
			if (out.strings.count(current)) return fail("string list defined twice");
			out.strings[current];
			where = InStrings;
		} else if (w[0] == "dialog") {
			if (out.dialogs.count(current)) return fail("dialog defined twice");
			out.dialogs[current].id = current;
			if (w.size() > 2 && IsText(w[2])) out.dialogs[current].title = TextOf(w[2]);
			where = InDialog;
		} else if ((w[0] == "icon" || w[0] == "image") && w.size() == 3 && IsText(w[2])) {
			(w[0] == "icon" ? out.icons : out.images)[current] = baseFolder + "/" + w[2].substr(1);
		} else {
			return fail("unknown resource '" + w[0] + "'");
		}
	}
	if (where != Top) return fail("missing 'end'");
	return true;
}

bool LoadResources(const std::string& path, Resources& out, std::string& error)
{
	std::ifstream in(path, std::ios::binary);
	if (!in) { error = "cannot read " + path; return false; }
	std::ostringstream text;
	text << in.rdbuf();
	const auto slash = path.rfind('/');
	return ParseResources(text.str(), slash == std::string::npos ? "." : path.substr(0, slash), out, error);
}

const Resources& AddonResources()
{
	Project& p = Current();
	if (!p.resources) {
		auto loaded = std::make_shared<Resources>();
		std::string error;
		if (!p.resourceFile.empty() && !LoadResources(p.resourceFile, *loaded, error))
			p.scriptErrors.push_back("resource file: " + error);
		p.resources = loaded;
	}
	return *p.resources;
}

} // namespace vhost

bool RSGetIndString(GS::UniString* text, GSResID resID, Int32 index, GSResModule /*resModule*/)
{
	if (text == nullptr) return false;
	text->Clear();
	if (vhost::FaultFor("RSGetIndString") != NoError) return false;
	const auto& strings = vhost::AddonResources().strings;
	const auto it = strings.find(resID);
	if (it == strings.end() || index < 1 || static_cast<std::size_t>(index) > it->second.size()) return false;
	*text = it->second[static_cast<std::size_t>(index) - 1];
	return true;
}

bool RSGetIndString(char* buffer, Int32 bufSize, GSResID resID, Int32 index, GSResModule resModule)
{
	if (buffer == nullptr || bufSize <= 0) return false;
	GS::UniString text;
	const bool found = RSGetIndString(&text, resID, index, resModule);
	const std::string utf8 = vhost::ToUtf8(text);
	const std::size_t n = std::min(utf8.size(), static_cast<std::size_t>(bufSize - 1));
	std::memcpy(buffer, utf8.data(), n);
	buffer[n] = 0;
	return found;
}
