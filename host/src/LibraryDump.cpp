// The library store in the project dump, and the per-part files under DIR/library/.
#include <filesystem>
#include <fstream>
#include <set>

#include "vhost/LibraryStore.hpp"
#include "vhost/Text.hpp"

namespace vhost {

namespace {

namespace fs = std::filesystem;
using json = nlohmann::ordered_json;

const char* ScriptFileName(UInt32 type)
{
	switch (type) {
		case API_Sect1DScript: return "master.gdl";
		case API_Sect2DScript: return "2d.gdl";
		case API_Sect3DScript: return "3d.gdl";
		case API_SectVLScript: return "parameter-script.gdl";
		default: return nullptr;
	}
}

json PartJson(const LibraryPartRecord& p)
{
	json j = {{"index", p.index}, {"name", vhost::Utf16ToUtf8(p.name)}, {"type", p.typeID},
		{"location", p.file}, {"loaded", IsInLoadedLibrary(p.file)}};
	j["sections"] = json::array();
	for (const auto& s : p.sections) j["sections"].push_back(SectionCodeName(s.type));
	j["parameters"] = json();
	for (const auto& s : p.sections)
		if (s.type == API_SectParamDef) j["parameters"] = ParamSectionJson(s.bytes);
	return j;
}

bool Write(const fs::path& file, const std::string& bytes)
{
	std::ofstream out(file, std::ios::binary);
	out << bytes;
	return static_cast<bool>(out);
}

// A folder name for the part: its name with '/' and control characters replaced,
// made unique by the index when two parts share a name.
std::string FolderName(const LibraryPartRecord& p, std::set<std::string>& used)
{
	std::string name = vhost::Utf16ToUtf8(p.name);
	for (char& c : name)
		if (c == '/' || static_cast<unsigned char>(c) < 0x20) c = '_';
	if (name.empty() || name == "." || name == "..") name = "part";
	if (!used.insert(name).second) {
		name += "-" + std::to_string(p.index);
		used.insert(name);
	}
	return name;
}

} // namespace

void DumpLibraries(json& j)
{
	const LibraryStore& s = Library();
	j["libraries"] = json::array();
	for (const auto& l : s.libraries) j["libraries"].push_back({{"name", l.name}, {"type", l.type}, {"location", l.path}});
	j["libraryParts"] = json::array();
	for (const auto& p : s.parts)
		if (!p.gone) j["libraryParts"].push_back(PartJson(p));
}

bool WriteLibraryParts(const std::string& dir)
{
	std::set<std::string> used;
	bool ok = true;
	for (const auto& p : Library().parts) {
		if (p.gone) continue;
		const fs::path folder = fs::u8path(dir) / "library" / fs::u8path(FolderName(p, used));
		std::error_code ec;
		fs::create_directories(folder, ec);
		for (const auto& s : p.sections) {
			if (s.type == API_SectParamDef) {
				ok = Write(folder / "parameters.json", ParamSectionJson(s.bytes).dump(2) + "\n") && ok;
				continue;
			}
			const char* script = ScriptFileName(s.type);
			ok = Write(folder / (script != nullptr ? std::string(script) : SectionCodeName(s.type) + ".bin"), s.bytes) && ok;
		}
	}
	return ok;
}

} // namespace vhost
