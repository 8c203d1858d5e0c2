#include "vhost/Project.hpp"
#include "vhost/Geolocation.hpp"

#include <cerrno>
#include <cstdlib>
#include <cstring>
#include <exception>
#include <new>
#include <filesystem>
#include <system_error>
#include <thread>
#include <fstream>
#include <sstream>

#include <nlohmann/json.hpp>
#include <unistd.h>

#include "APIdefs_Errors.h"
#include "vhost/Elements.hpp"
#include "vhost/JsonWriter.hpp"
#include "vhost/Materials.hpp"
#include "vhost/Platform.hpp"
#include "vhost/StagedOutput.hpp"
#include "vhost/LibraryStore.hpp"
#include "vhost/Text.hpp"

namespace vhost {

namespace fs = std::filesystem;

namespace {

Project& Slot()
{
	static Project project;
	return project;
}

std::string Under(const char* name)
{
	const std::string& root = Slot().runRoot;
	return root.empty() ? std::string() : root + "/" + name;
}

// A new temporary folder, or an empty text when none can be made.
std::string MakeTempRoot()
{
	std::error_code ec;
	const fs::path temp = fs::temp_directory_path(ec);
	if (ec) return std::string();
	std::string pattern = (temp / "velmora-host-XXXXXX").string();
	return ::mkdtemp(pattern.data()) != nullptr ? pattern : std::string();
}

// Why the folder cannot serve as a special folder, or an empty text.
std::string UnusableFolder(const std::string& folder)
{
	std::error_code ec;
	fs::create_directories(fs::u8path(folder), ec);
	if (ec) return "cannot make " + folder + ": " + ec.message();
	if (!fs::is_directory(fs::u8path(folder), ec)) return folder + " is not a folder";
	if (::access(folder.c_str(), W_OK | X_OK) != 0) return folder + " is not writable: " + std::strerror(errno);
	return std::string();
}

} // namespace

Project& Current() { return Slot(); }

std::string CommonDocumentsFolder() { return Under("Common Documents"); }
std::string DocumentsFolder() { return Under("Documents"); }
std::string UserLibraryFolder() { return Under("User Library"); }
std::string TempFolder() { return Under("Temp"); }
std::string EmbeddedLibraryFolder() { return Under("Project/Embedded Library"); }

std::string Reset(const std::string& runRoot, const std::string& addonFolder)
{
	Slot() = Project();
	Project& p = Slot();
	// A new project's grid axis is the unit x axis at scale 1; every other number is zero.
	p.geoLocation.geoReferenceData.xAxisAbscissa = 1.0;
	p.geoLocation.geoReferenceData.scale = 1.0;
	std::error_code ec;
	p.runRoot = runRoot.empty() ? MakeTempRoot() : fs::absolute(fs::u8path(runRoot), ec).lexically_normal().u8string();
	if (p.runRoot.empty() || ec) return "cannot make a run root" + (ec ? ": " + ec.message() : std::string());
	while (p.runRoot.size() > 1 && p.runRoot.back() == '/') p.runRoot.pop_back();
	p.addonFolder = addonFolder;
	p.addonFile = addonFolder.empty() ? std::string() : addonFolder + "/Velmora.so";
	p.resourceFile = addonFolder.empty() ? std::string() : addonFolder + "/Velmora.rsrc";
	if (fs::exists(fs::u8path(p.runRoot), ec) && !fs::is_directory(fs::u8path(p.runRoot), ec)) return p.runRoot + " is not a folder";
	for (const std::string& folder : {CommonDocumentsFolder(), DocumentsFolder(), UserLibraryFolder(), TempFolder(), EmbeddedLibraryFolder()})
		if (std::string why = UnusableFolder(folder); !why.empty()) return why;
	InstallModelImportAddon();
	return std::string();
}

void InjectFault(const std::string& operation, GSErrCode code, const std::string& pathContains, int times, int passFirst)
{
	Slot().faults.push_back(Fault{operation, code, pathContains, times, false, passFirst});
}

void InjectBadAlloc(const std::string& operation, const std::string& pathContains, int passes, int times)
{
	Slot().faults.push_back(Fault{operation, NoError, pathContains, times, true, passes});
}

void ClearFaults() { Slot().faults.clear(); }

bool FaultsArmed() { return !Slot().faults.empty(); }

GSErrCode FaultFor(const std::string& operation, const std::string& path)
{
	for (Fault& f : Slot().faults) {
		if (f.operation != operation || f.remaining == 0) continue;
		if (!f.pathContains.empty() && path.find(f.pathContains) == std::string::npos) continue;
		if (f.passes > 0) {
			--f.passes;
			continue;
		}
		if (f.remaining > 0) --f.remaining;
		if (f.throwsBadAlloc) throw std::bad_alloc();
		return f.code;
	}
	return NoError;
}

GSErrCode Guarded(const char* where, const std::function<GSErrCode()>& fn)
{
	auto record = [where](const std::string& what) {
		Slot().exceptions.push_back(std::string(where) + ": " + what);
		return Error;
	};
	try {
		return fn();
	} catch (const std::exception& e) {
		return record(e.what());
	} catch (const char* text) {
		return record(text != nullptr ? text : "(null C string)");
	} catch (...) {
		return record("unknown exception");
	}
}

GSErrCode CheckUndoScope()
{
	return Slot().undoDepth > 0 ? NoError : APIERR_NEEDSUNDOSCOPE;
}

namespace {

// Turns state, the state now, back into the state at the start of the journal's step, when
// the step has not deleted: what it appended goes, what it changed gets its original.
void Restore(UndoJournal& j, UndoableState& state)
{
	if (state.elements.size() > j.elements) state.elements.resize(j.elements);
	if (state.solidLinks.size() > j.solidLinks) state.solidLinks.resize(j.solidLinks);
	for (auto& [index, original] : j.changed)
		if (index < state.elements.size()) state.elements[index] = std::move(original);
	j.changed.clear();
}

} // namespace

void KeepForUndo(std::optional<std::size_t> index)
{
	Project& p = Slot();
	UndoJournal& j = p.undoJournal;
	if (p.undoDepth == 0 || j.whole) return;
	if (!index) {
		j.whole = p.state;
		Restore(j, *j.whole);
		return;
	}
	if (*index >= j.elements || j.changed.count(*index) != 0) return; // made in this step, or kept already
	j.changed.emplace(*index, p.state.elements.at(*index));
}

void RollBackStep()
{
	Project& p = Slot();
	if (p.undoJournal.whole)
		p.state = std::move(*p.undoJournal.whole);
	else
		Restore(p.undoJournal, p.state);
	p.undoJournal = UndoJournal();
}

void RecordMemoryFault(const char* what) noexcept
{
	Project& p = Slot();
	try {
		p.memoryFaults.emplace_back(what);
	} catch (...) {
		++p.memoryFaultsUnrecorded;
	}
}

bool RunIsClean()
{
	const Project& p = Slot();
	return p.exceptions.empty() && p.scriptErrors.empty() && p.memoryFaults.empty() && p.memoryFaultsUnrecorded == 0 &&
	       p.dialogFaults.empty();
}

namespace {

void DumpMenus(JsonWriter& w, const Project& p)
{
	w.Key("menus").BeginArray();
	for (const auto& m : p.menus) {
		w.BeginObject();
		w.Field("id", m.menuResID).Field("promptId", m.promptResID).Field("code", m.menuCode).Field("flags", m.flags);
		// The texts, when the add-on's resources were read (an add-on without a file has none).
		if (p.resources) {
			const auto& strings = p.resources->strings;
			const auto texts = strings.find(m.menuResID);
			const auto prompt = strings.find(m.promptResID);
			w.Key("text").BeginArray();
			if (texts != strings.end())
				for (const auto& t : texts->second) w.Value(vhost::ToUtf8(t));
			w.EndArray();
			w.Field("prompt", prompt != strings.end() && !prompt->second.empty() ? vhost::ToUtf8(prompt->second.front()) : std::string());
		}
		w.EndObject();
	}
	w.EndArray();
}

// A member holding one object per item, its fields written by fields(writer, item).
template <typename List, typename Fields>
void Records(JsonWriter& w, const char* name, const List& list, Fields fields)
{
	w.Key(name).BeginArray();
	for (const auto& item : list) {
		w.BeginObject();
		fields(w, item);
		w.EndObject();
	}
	w.EndArray();
}

void DumpRun(JsonWriter& w, const Project& p)
{
	Records(w, "menuRuns", p.menuRuns, [](JsonWriter& o, const auto& r) { o.Field("id", r.menuResID).Field("result", r.result); });
	Records(w, "reports", p.reports, [](JsonWriter& o, const auto& r) { o.Field("text", r.text).Field("alert", r.alert); });
	Records(w, "alerts", p.alerts, [](JsonWriter& o, const auto& a) {
		o.Field("type", a.type).Field("title", a.title).Field("text", a.largeText).Field("detail", a.smallText);
		o.Field("buttons", a.buttons).Field("answer", a.answer);
	});
	Records(w, "dialogs", p.dialogsShown,
	        [](JsonWriter& o, const auto& d) { o.Field("id", d.id).Field("closedBy", d.closedBy).Field("cancelled", d.cancelled); });
	Records(w, "fileDialogs", p.fileDialogs,
	        [](JsonWriter& o, const auto& f) { o.Field("kind", f.kind).Field("title", f.title).Field("answer", f.answer); });
	Records(w, "undo", p.undo,
	        [](JsonWriter& o, const auto& u) { o.Field("name", u.name).Field("result", u.result).Field("rolledBack", u.rolledBack); });
}

} // namespace

void WriteProjectJson(std::ostream& out)
{
	const Project& p = Slot();
	JsonWriter w(out);
	w.BeginObject();
	w.Key("addon").BeginObject();
	w.Field("name", p.addonName).Field("description", p.addonDescription);
	w.EndObject();
	w.Field("language", p.languageCode);
	DumpMenus(w, p);
	DumpRun(w, p);
	DumpElements(w);
	w.Key("attributes").BeginObject();
	DumpLayers(w);
	w.Key("materials").Value(MaterialsJson());
	w.EndObject();
	DumpLibraries(w);
	DumpSolidLinks(w);
	DumpAddonCalls(w);
	w.Key("geolocation").Value(GeolocationJson());
	w.Field("urls", p.urls).Field("opened", OpenedPaths()).Field("shell", p.shell).Field("debug", p.debug);
	w.Field("beeps", p.beeps).Field("exceptions", p.exceptions).Field("scriptErrors", p.scriptErrors);
	w.Field("memoryFaults", p.memoryFaults).Field("dialogFaults", p.dialogFaults).Field("liveHandles", LiveHandles());
	w.EndObject();
}

std::string DumpJson()
{
	std::ostringstream out;
	WriteProjectJson(out);
	return out.str();
}

namespace {

// Writes one file of the dump through a large buffer; false with why (naming the file as
// `shown`) when it fails.
bool WriteFile(const std::string& file, const std::string& shown, const std::function<void(std::ostream&)>& write, std::string& why)
{
	std::vector<char> buffer(1 << 20);
	std::ofstream out;
	out.rdbuf()->pubsetbuf(buffer.data(), static_cast<std::streamsize>(buffer.size()));
	out.open(fs::u8path(file), std::ios::binary);
	if (out) write(out);
	out.close();
	if (!out) why = "cannot write " + shown;
	return static_cast<bool>(out);
}

// Writes the dump's files as `staged` names them; false with why when one fails.
bool WriteDump(const StagedOutput& staged, const std::string& dir, std::string& why)
{
	Library(); // loaded before the two writers share it
	// The plan is written beside project.json: both only read the project.
	std::string planWhy;
	bool planOk = false;
	const auto writePlan = [&] {
		try {
			planOk = WriteFile(staged.Staged("plan.svg"), dir + "/plan.svg", WritePlan, planWhy);
		} catch (const std::exception& e) {
			planWhy = "cannot write " + dir + "/plan.svg: " + e.what();
		}
	};
	std::thread plan;
	try {
		plan = std::thread(writePlan);
	} catch (const std::system_error&) {
		writePlan(); // no thread to be had: one after the other
	}
	bool ok = false;
	try {
		ok = WriteFile(staged.Staged("project.json"), dir + "/project.json", WriteProjectJson, why);
		if (ok && !WriteLibraryParts(staged.Folder())) {
			why = "cannot write " + dir + "/library";
			ok = false;
		}
	} catch (const std::exception& e) {
		why = "cannot write the project to " + dir + ": " + e.what();
		ok = false;
	}
	if (plan.joinable()) plan.join();
	if (ok && !planOk) why = planWhy;
	return ok && planOk;
}

} // namespace

bool WriteProjectFiles(const std::string& dir, std::string& why)
{
	std::error_code ec;
	fs::create_directories(fs::u8path(dir), ec);
	const StagedOutput staged(dir);
	if (!staged.Why().empty()) {
		why = staged.Why();
		return false;
	}
	// project.json last: once it is there, the rest of this run's dump is too.
	return WriteDump(staged, dir, why) && staged.Commit("library", why) && staged.Commit("plan.svg", why) &&
	       staged.Commit("project.json", why);
}

} // namespace vhost
