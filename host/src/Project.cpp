#include "vhost/Project.hpp"
#include "vhost/Geolocation.hpp"

#include <cerrno>
#include <cstdlib>
#include <cstring>
#include <exception>
#include <filesystem>

#include <nlohmann/json.hpp>
#include <unistd.h>

#include "APIdefs_Errors.h"
#include "vhost/Elements.hpp"
#include "vhost/Platform.hpp"
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
	Slot().faults.push_back(Fault{operation, code, pathContains, times, passFirst});
}

void ClearFaults() { Slot().faults.clear(); }

bool FaultsArmed() { return !Slot().faults.empty(); }

GSErrCode FaultFor(const std::string& operation, const std::string& path)
{
	for (Fault& f : Slot().faults) {
		if (f.operation != operation || f.remaining == 0) continue;
		if (!f.pathContains.empty() && path.find(f.pathContains) == std::string::npos) continue;
		if (f.passing > 0) {
			--f.passing;
			continue;
		}
		if (f.remaining > 0) --f.remaining;
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

bool RunIsClean()
{
	const Project& p = Slot();
	return p.exceptions.empty() && p.scriptErrors.empty() && p.memoryFaults.empty() && p.dialogFaults.empty();
}

std::string DumpJson()
{
	using json = nlohmann::ordered_json;
	const Project& p = Slot();
	json j;
	j["addon"] = {{"name", p.addonName}, {"description", p.addonDescription}};
	j["language"] = p.languageCode;
	j["menus"] = json::array();
	for (const auto& m : p.menus) {
		json menu = {{"id", m.menuResID}, {"promptId", m.promptResID}, {"code", m.menuCode}, {"flags", m.flags}};
		// The texts, when the add-on's resources were read (an add-on without a file has none).
		if (p.resources) {
			const auto& strings = p.resources->strings;
			const auto texts = strings.find(m.menuResID);
			const auto prompt = strings.find(m.promptResID);
			menu["text"] = json::array();
			if (texts != strings.end())
				for (const auto& t : texts->second) menu["text"].push_back(vhost::ToUtf8(t));
			menu["prompt"] = prompt != strings.end() && !prompt->second.empty() ? vhost::ToUtf8(prompt->second.front()) : std::string();
		}
		j["menus"].push_back(menu);
	}
	j["menuRuns"] = json::array();
	for (const auto& r : p.menuRuns) j["menuRuns"].push_back({{"id", r.menuResID}, {"result", r.result}});
	j["reports"] = json::array();
	for (const auto& r : p.reports) j["reports"].push_back({{"text", r.text}, {"alert", r.alert}});
	j["alerts"] = json::array();
	for (const auto& a : p.alerts)
		j["alerts"].push_back({{"type", a.type}, {"title", a.title}, {"text", a.largeText}, {"detail", a.smallText},
			{"buttons", a.buttons}, {"answer", a.answer}});
	j["dialogs"] = json::array();
	for (const auto& d : p.dialogsShown) j["dialogs"].push_back({{"id", d.id}, {"closedBy", d.closedBy}, {"cancelled", d.cancelled}});
	j["fileDialogs"] = json::array();
	for (const auto& f : p.fileDialogs) j["fileDialogs"].push_back({{"kind", f.kind}, {"title", f.title}, {"answer", f.answer}});
	j["undo"] = json::array();
	for (const auto& u : p.undo) j["undo"].push_back({{"name", u.name}, {"result", u.result}, {"rolledBack", u.rolledBack}});
	DumpElements(j);
	DumpLibraries(j);
	DumpSolidLinks(j);
	DumpAddonCalls(j);
	DumpGeolocation(j);
	DumpMaterials(j);
	j["urls"] = p.urls;
	j["opened"] = OpenedPaths();
	j["shell"] = p.shell;
	j["debug"] = p.debug;
	j["beeps"] = p.beeps;
	j["exceptions"] = p.exceptions;
	j["scriptErrors"] = p.scriptErrors;
	j["memoryFaults"] = p.memoryFaults;
	j["dialogFaults"] = p.dialogFaults;
	j["liveHandles"] = LiveHandles();
	return j.dump(2) + "\n";
}

} // namespace vhost
