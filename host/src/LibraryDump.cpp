// The library store in the project dump, and the per-part files under DIR/library/.
#include <filesystem>
#include <fstream>
#include <set>

#include "vhost/JsonWriter.hpp"
#include "vhost/LibraryStore.hpp"
#include "vhost/Text.hpp"

namespace vhost {

namespace {

namespace fs = std::filesystem;

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

void WritePart(JsonWriter& w, const LibraryPartRecord& p)
{
	w.BeginObject();
	w.Field("index", p.index).Field("name", vhost::Utf16ToUtf8(p.name)).Field("type", p.typeID);
	w.Field("location", p.file).Field("loaded", IsInLoadedLibrary(p.file));
	w.Key("sections").BeginArray();
	for (const auto& s : p.sections) w.Value(SectionCodeName(s.type));
	w.EndArray();
	const std::string* parameters = nullptr;
	for (const auto& s : p.sections)
		if (s.type == API_SectParamDef) parameters = &s.bytes;
	if (parameters != nullptr) WriteParamSection(w.Key("parameters"), *parameters);
	else w.Key("parameters").Null();
	w.EndObject();
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

void DumpLibraries(JsonWriter& w)
{
	const LibraryStore& s = Library();
	w.Key("libraries").BeginArray();
	for (const auto& l : s.libraries) {
		w.BeginObject();
		w.Field("name", l.name).Field("type", l.type).Field("location", l.path);
		w.EndObject();
	}
	w.EndArray();
	w.Key("libraryParts").BeginArray();
	for (const auto& p : s.parts)
		if (!p.gone) WritePart(w, p);
	w.EndArray();
}

bool WriteLibraryParts(const std::string& dir)
{
	const fs::path library = fs::u8path(dir) / "library";
	std::error_code ec;
	fs::create_directory(library, ec); // there even when the project has no part
	if (ec) return false;
	std::set<std::string> used;
	bool ok = true;
	for (const auto& p : Library().parts) {
		if (p.gone) continue;
		const fs::path folder = library / fs::u8path(FolderName(p, used));
		fs::create_directories(folder, ec);
		for (const auto& s : p.sections) {
			if (s.type == API_SectParamDef) {
				std::ofstream out(folder / "parameters.json", std::ios::binary);
				JsonWriter(out).Value(ParamSectionJson(s.bytes)); // a parameter a line, for diffs
				ok = static_cast<bool>(out) && ok;
				continue;
			}
			const char* script = ScriptFileName(s.type);
			ok = Write(folder / (script != nullptr ? std::string(script) : SectionCodeName(s.type) + ".bin"), s.bytes) && ok;
		}
	}
	return ok;
}

} // namespace vhost
