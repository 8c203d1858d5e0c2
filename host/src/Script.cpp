#include "vhost/Script.hpp"

#include <fstream>
#include <set>
#include <sstream>

#include "vhost/Project.hpp"

namespace vhost {

namespace {

// Verbs and how many arguments each takes (after the verb).
const std::map<std::string, std::set<std::size_t>> kVerbs = {
	{"dialog", {1}}, {"set", {2}}, {"text", {2}}, {"click", {1}}, {"listclick", {3, 4}}, {"listpick", {3, 4}},
	{"expect", {2, 3}}, {"alert", {1}}, {"file", {1}}, {"folder", {1}}, {"cancel", {0}},
	{"point", {2, 3}}, {"line", {2, 3}},
};

bool SplitLine(const std::string& line, std::vector<std::string>& words, std::string& error)
{
	words.clear();
	for (std::size_t i = 0; i < line.size();) {
		const char c = line[i];
		if (c == ' ' || c == '\t' || c == '\r') { ++i; continue; }
		if (c == '#') break;
		std::string word;
		if (c == '"') {
			for (++i; i < line.size() && line[i] != '"'; ++i) {
				if (line[i] == '\\' && i + 1 < line.size()) ++i;
				word += line[i];
			}
			if (i >= line.size()) { error = "unterminated text"; return false; }
			++i;
		} else {
			while (i < line.size() && line[i] != ' ' && line[i] != '\t' && line[i] != '\r') word += line[i++];
		}
		words.push_back(word);
	}
	return true;
}

} // namespace

bool ParseScript(const std::string& text, std::vector<ScriptStep>& steps, std::string& error)
{
	std::istringstream in(text);
	std::string line;
	std::vector<std::string> words;
	for (int lineNo = 1; std::getline(in, line); ++lineNo) {
		std::string why;
		if (!SplitLine(line, words, why)) { error = "line " + std::to_string(lineNo) + ": " + why; return false; }
		if (words.empty()) continue;
		const auto verb = kVerbs.find(words[0]);
		if (verb == kVerbs.end()) { error = "line " + std::to_string(lineNo) + ": unknown step '" + words[0] + "'"; return false; }
		if (verb->second.count(words.size() - 1) == 0) {
			error = "line " + std::to_string(lineNo) + ": wrong number of arguments for '" + words[0] + "'";
			return false;
		}
		steps.push_back({lineNo, words[0], std::vector<std::string>(words.begin() + 1, words.end())});
	}
	return true;
}

bool LoadScript(const std::string& path, std::string& error)
{
	std::ifstream in(path, std::ios::binary);
	if (!in) { error = "cannot read script " + path; return false; }
	std::ostringstream text;
	text << in.rdbuf();
	std::vector<ScriptStep> steps;
	if (!ParseScript(text.str(), steps, error)) return false;
	SetScript(steps);
	return true;
}

void SetScript(const std::vector<ScriptStep>& steps)
{
	Current().script = steps;
	Current().scriptPos = 0;
}

const ScriptStep* PeekStep()
{
	const Project& p = Current();
	return p.scriptPos < p.script.size() ? &p.script[p.scriptPos] : nullptr;
}

void TakeStep()
{
	Project& p = Current();
	if (p.scriptPos < p.script.size()) ++p.scriptPos;
}

void ScriptError(const ScriptStep* step, const std::string& why)
{
	const std::string where = step != nullptr ? "script line " + std::to_string(step->line) : "end of script";
	Current().scriptErrors.push_back(where + ": " + why);
}

void FinishScript()
{
	if (const ScriptStep* step = PeekStep()) {
		ScriptError(step, "step '" + step->verb + "' was never reached");
		Current().scriptPos = Current().script.size();
	}
}

} // namespace vhost
