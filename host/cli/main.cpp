// velmora-host: loads the add-on module, runs its commands, writes the project out.
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include <unistd.h>

#include "vhost/Addon.hpp"
#include "vhost/Elements.hpp"
#include "vhost/Platform.hpp"
#include "vhost/LibraryStore.hpp"
#include "vhost/Project.hpp"
#include "vhost/Script.hpp"

namespace fs = std::filesystem;

namespace {

const char* const kUsage =
	"usage: velmora-host [--addon PATH] [--home DIR] [--language CODE]\n"
	"                    [--script FILE] [--out DIR] COMMAND...\n"
	"  menu ID            run the menu command with that resource id\n"
	"\n"
	"  --addon PATH       the add-on module (default: Velmora.so beside this program)\n"
	"  --home DIR         the run root for the special folders (default: a new temporary folder)\n"
	"  --language CODE    the host's language code (default: INT)\n"
	"  --script FILE      scripted answers for dialogs, alerts and file dialogs\n"
	"  --out DIR          write the project there when the run ends (DIR/project.json, DIR/plan.svg)\n";

struct Options {
	std::string addon;
	std::string home;
	std::string language = "INT";
	std::string script;
	std::string out;
	std::vector<std::pair<std::string, std::string>> commands;
};

int Fail(const std::string& message)
{
	std::fprintf(stderr, "velmora-host: %s\n", message.c_str());
	return 2;
}

std::string SelfFolder()
{
	std::error_code ec;
	const fs::path self = fs::read_symlink("/proc/self/exe", ec);
	return ec ? std::string(".") : self.parent_path().string();
}

// Answers an empty text on success, else what is wrong.
std::string ParseArgs(int argc, char** argv, Options& o)
{
	for (int i = 1; i < argc; ++i) {
		const std::string a = argv[i];
		auto value = [&](std::string& into) {
			if (i + 1 >= argc) return false;
			into = argv[++i];
			return true;
		};
		if (a == "--addon" || a == "--home" || a == "--language" || a == "--script" || a == "--out") {
			std::string& into = a == "--addon" ? o.addon : a == "--home" ? o.home : a == "--language" ? o.language
				: a == "--script" ? o.script : o.out;
			if (!value(into)) return a + " needs a value";
		} else if (a == "menu") {
			std::string id;
			if (!value(id)) return "menu needs a resource id";
			char* end = nullptr;
			const long n = std::strtol(id.c_str(), &end, 10);
			if (*end != 0 || n < 1 || n > 32767) return "bad menu resource id '" + id + "'";
			o.commands.emplace_back(a, id);
		} else {
			return "unknown argument '" + a + "'";
		}
	}
	if (o.addon.empty()) o.addon = SelfFolder() + "/Velmora.so";
	return "";
}

bool WriteOut(const std::string& dir)
{
	std::error_code ec;
	fs::create_directories(fs::u8path(dir), ec);
	std::ofstream out(fs::u8path(dir) / "project.json", std::ios::binary);
	out << vhost::DumpJson();
	return static_cast<bool>(out) && vhost::WriteLibraryParts(dir) && vhost::WritePlanSvg(dir + "/plan.svg");
}

} // namespace

int main(int argc, char** argv)
{
	for (int i = 1; i < argc; ++i)
		if (std::strcmp(argv[i], "--help") == 0 || std::strcmp(argv[i], "-h") == 0) { std::fputs(kUsage, stdout); return 0; }
	Options o;
	if (const std::string why = ParseArgs(argc, argv, o); !why.empty()) {
		std::fputs(kUsage, stderr);
		return Fail(why);
	}
	const std::string addonPath = fs::absolute(o.addon).string();
	if (const std::string why = vhost::Reset(o.home, fs::path(addonPath).parent_path().string()); !why.empty())
		return Fail("unusable run root: " + why);
	vhost::Current().addonFile = addonPath;
	vhost::Current().languageCode = o.language;
	// The host's own shell tools come first on PATH, as on the real platform.
	vhost::PrepareShell(VHOST_TOOLS_DIR);
	std::string error;
	if (!o.script.empty() && !vhost::LoadScript(o.script, error)) return Fail(error);

	vhost::AddonEntryPoints entries;
	void* module = nullptr;
	if (!vhost::LoadAddonModule(addonPath, entries, module, error)) return Fail(error);
	const bool started = vhost::StartAddon(entries, error);
	bool ok = started;
	if (!started) std::fprintf(stderr, "velmora-host: %s\n", error.c_str());
	for (const auto& command : o.commands) {
		if (!started) break;
		const GSErrCode err = vhost::RunMenuCommand(static_cast<Int16>(std::stoi(command.second)));
		if (err == NoError) continue;
		std::fprintf(stderr, "velmora-host: menu %s answered %d\n", command.second.c_str(), err);
		ok = false;
	}
	if (started && vhost::StopAddon(entries) != NoError) ok = false;
	vhost::FinishScript();
	if (!o.out.empty() && !WriteOut(o.out)) {
		std::fprintf(stderr, "velmora-host: cannot write %s/project.json\n", o.out.c_str());
		ok = false;
	}
	// The add-on's alerts go to the report window; a script sees them here.
	for (const auto& r : vhost::Current().reports)
		if (r.alert) std::fprintf(stderr, "velmora-host: alert: %s\n", r.text.c_str());
	for (const auto& e : vhost::Current().scriptErrors) std::fprintf(stderr, "velmora-host: %s\n", e.c_str());
	for (const auto& e : vhost::Current().exceptions) std::fprintf(stderr, "velmora-host: exception in %s\n", e.c_str());
	for (const auto& e : vhost::Current().memoryFaults) std::fprintf(stderr, "velmora-host: %s\n", e.c_str());
	for (const auto& e : vhost::Current().dialogFaults) std::fprintf(stderr, "velmora-host: dialog fault: %s\n", e.c_str());
	// Unloading last: the dump may still hold texts the module made.
	vhost::UnloadAddonModule(module);
	return ok && vhost::RunIsClean() ? 0 : 1;
}
