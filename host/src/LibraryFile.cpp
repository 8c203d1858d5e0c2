// The part file format (see vhost/LibraryStore.hpp).
#include <cstdio>
#include <cstdlib>
#include <sstream>

#include "vhost/LibraryStore.hpp"
#include "vhost/Text.hpp"

namespace vhost {

namespace {

constexpr const char* kMagic = "VHOST-LIBPART 1";

std::string Quote(const std::string& text)
{
	std::string out = "\"";
	for (char c : text) {
		if (c == '"' || c == '\\') out += '\\';
		if (c == '\n') { out += "\\n"; continue; }
		out += c;
	}
	return out + "\"";
}

// The quoted text that starts at `from`; false when it is not one.
bool Unquote(const std::string& line, std::size_t from, std::string& out)
{
	out.clear();
	if (from >= line.size() || line[from] != '"') return false;
	for (std::size_t i = from + 1; i < line.size(); ++i) {
		char c = line[i];
		if (c == '"') return i + 1 == line.size();
		if (c == '\\') {
			if (++i >= line.size()) return false;
			c = line[i] == 'n' ? '\n' : line[i];
		}
		out += c;
	}
	return false;
}

bool ToInt(const std::string& text, long lo, long hi, long& v)
{
	char* end = nullptr;
	v = std::strtol(text.c_str(), &end, 10);
	return !text.empty() && *end == 0 && v >= lo && v <= hi;
}

struct Names {
	UInt32 code;
	const char* name;
};

constexpr Names kSectionNames[] = {
	{API_SectParamDef, "PARD"}, {API_Sect1DScript, "1DSC"}, {API_Sect2DScript, "2DSC"},
	{API_Sect3DScript, "3DSC"}, {API_SectVLScript, "VLSC"},
};

} // namespace

std::string SectionCodeName(UInt32 type)
{
	for (const auto& n : kSectionNames)
		if (n.code == type) return n.name;
	char hex[16];
	std::snprintf(hex, sizeof hex, "%08X", type);
	return hex;
}

bool SectionCodeFromName(const std::string& name, UInt32& type)
{
	for (const auto& n : kSectionNames)
		if (name == n.name) { type = n.code; return true; }
	if (name.size() != 8 || name.find_first_not_of("0123456789ABCDEF") != std::string::npos) return false;
	type = static_cast<UInt32>(std::strtoul(name.c_str(), nullptr, 16));
	return true;
}

std::string FormatLibPartFile(const LibraryPartRecord& part)
{
	std::ostringstream out;
	out << kMagic << "\n";
	out << "name " << Quote(vhost::Utf16ToUtf8(part.name)) << "\n";
	out << "type " << part.typeID << "\n";
	out << "ownUnID " << Quote(part.ownUnID) << "\n";
	out << "parentUnID " << Quote(part.parentUnID) << "\n";
	out << "template " << (part.isTemplate ? 1 : 0) << "\n";
	out << "placeable " << (part.isPlaceable ? 1 : 0) << "\n";
	for (const auto& s : part.sections) {
		const bool eol = !s.bytes.empty() && s.bytes.back() == '\n';
		out << "section " << SectionCodeName(s.type) << " " << s.subIdent << (eol || s.bytes.empty() ? "" : " noeol") << "\n";
		std::size_t at = 0;
		while (at < s.bytes.size()) {
			std::size_t nl = s.bytes.find('\n', at);
			if (nl == std::string::npos) nl = s.bytes.size();
			const std::string line = s.bytes.substr(at, nl - at);
			out << (line.empty() ? "|" : "| " + line) << "\n";
			at = nl + 1;
		}
		out << "end\n";
	}
	return out.str();
}

bool ParseLibPartFile(const std::string& text, LibraryPartRecord& part, std::string& error)
{
	std::istringstream in(text);
	std::string line;
	int lineNo = 0;
	auto fail = [&](const std::string& why) {
		error = "line " + std::to_string(lineNo) + ": " + why;
		return false;
	};
	part = LibraryPartRecord();
	if (!std::getline(in, line) || (++lineNo, line != kMagic)) return fail("not a library part file");
	bool inSection = false, noeol = false;
	LibrarySectionRecord section;
	while (std::getline(in, line)) {
		++lineNo;
		if (inSection) {
			if (line == "end") {
				if (noeol && !section.bytes.empty()) section.bytes.pop_back();
				part.sections.push_back(section);
				inSection = false;
			} else if (line == "|" || line.compare(0, 2, "| ") == 0) {
				section.bytes += line.substr(line.size() > 1 ? 2 : 1) + "\n";
			} else {
				return fail("a section line starts with '|'");
			}
			continue;
		}
		if (line.empty() || line[0] == '#') continue;
		const std::size_t sp = line.find(' ');
		const std::string key = line.substr(0, sp);
		const std::string rest = sp == std::string::npos ? std::string() : line.substr(sp + 1);
		std::string t;
		long v = 0;
		if (key == "name" || key == "ownUnID" || key == "parentUnID") {
			if (!Unquote(line, sp + 1, t)) return fail("bad text for " + key);
			if (key == "name") part.name = vhost::Units(GS::UniString(t));
			else (key == "ownUnID" ? part.ownUnID : part.parentUnID) = t;
		} else if (key == "type") {
			if (!ToInt(rest, 0, 1000, v)) return fail("bad type");
			part.typeID = static_cast<Int32>(v);
		} else if (key == "template" || key == "placeable") {
			if (!ToInt(rest, 0, 1, v)) return fail("bad flag " + key);
			(key == "template" ? part.isTemplate : part.isPlaceable) = v != 0;
		} else if (key == "section") {
			std::istringstream words(rest);
			std::string code, sub, flag, extra;
			words >> code >> sub >> flag >> extra;
			section = LibrarySectionRecord();
			if (!SectionCodeFromName(code, section.type) || !ToInt(sub, -32768, 32767, v) ||
				!(flag.empty() || flag == "noeol") || !extra.empty())
				return fail("bad section header");
			section.subIdent = static_cast<Int16>(v);
			noeol = flag == "noeol";
			inSection = true;
		} else {
			return fail("unknown key '" + key + "'");
		}
	}
	if (inSection) return fail("missing 'end'");
	if (part.name.empty()) return fail("no name");
	return true;
}

} // namespace vhost
