// velmora-host: loads the add-on module, runs its commands, writes the project out.
#include <cctype>
#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

#include <unistd.h>

#include "AddonOutput.hpp"
#include "ImportSummary.hpp"
#include "vhost/Addon.hpp"
#include "vhost/Elements.hpp"
#include "vhost/Platform.hpp"
#include "vhost/LibraryStore.hpp"
#include "vhost/Project.hpp"
#include "vhost/Script.hpp"
#include "vhost/StagedOutput.hpp"

namespace fs = std::filesystem;

namespace {

const char* const kUsage =
	"usage: velmora-host [--addon PATH] [--home DIR] [--language CODE]\n"
	"                    [--script FILE] [--out DIR] [--verbose] COMMAND...\n"
	"  menu ID            run the menu command with that resource id\n"
	"  import FOLDER|ZIP  import the map package in FOLDER (or a .zip) with the default answers\n"
	"\n"
	"  --addon PATH       the add-on module (default: Velmora.so beside this program)\n"
	"  --home DIR         the run root for the special folders (default: a new temporary folder)\n"
	"  --language CODE    the host's language code (default: INT)\n"
	"  --script FILE      scripted answers for dialogs, alerts and file dialogs\n"
	"  --out DIR          write the project there when the run ends (DIR/project.json, DIR/plan.svg)\n"
	"                     and the add-on's standard output to DIR/addon-output.log\n"
	"  --verbose          show the add-on's standard output (without it, it goes to the log or nowhere)\n";

struct Options {
	std::string addon;
	std::string home;
	std::string language = "INT";
	std::string script;
	std::string out;
	bool verbose = false;
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

bool IsZip(const fs::path& p)
{
	std::string ext = p.extension().string();
	for (char& c : ext) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
	return ext == ".zip";
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
		} else if (a == "--verbose") {
			o.verbose = true;
		} else if (a == "menu") {
			std::string id;
			if (!value(id)) return "menu needs a resource id";
			char* end = nullptr;
			const long n = std::strtol(id.c_str(), &end, 10);
			if (*end != 0 || n < 1 || n > 32767) return "bad menu resource id '" + id + "'";
			o.commands.emplace_back(a, id);
		} else if (a == "import") {
			std::string path;
			if (!value(path)) return "import needs a package folder or a .zip";
			std::error_code ec;
			const fs::file_status st = fs::status(fs::u8path(path), ec);
			if (!fs::is_directory(st) && !(fs::is_regular_file(st) && IsZip(fs::u8path(path))))
				return "import: '" + path + "' is neither a package folder nor a .zip";
			o.commands.emplace_back(a, path);
		} else {
			return "unknown argument '" + a + "'";
		}
	}
	if (o.commands.empty()) return "no command given";
	if (o.addon.empty()) o.addon = SelfFolder() + "/Velmora.so";
	return "";
}

const Int16 kImportMenu = 32502;
// The folder of a map package that holds what the import reads.
const char* const kModelFolder = "3D-modell";
// The import command's dialogs (international ids) and its icon of a present, unticked layer.
const int kProjectDialog = 32501, kColoursDialog = 32508, kGeolocationDialog = 32510;
const int kUntickedIcon = 32729;

// The Norwegian menus and dialogs are the international ones plus 20.
int LanguageOffset() { return vhost::Current().languageCode == "NOR" ? 20 : 0; }

// A text as the UI script quotes it.
std::string Quoted(const std::string& text)
{
	std::string q = "\"";
	for (const char c : text) {
		if (c == '"' || c == '\\') q += '\\';
		q += c;
	}
	return q + "\"";
}

// The import folder chosen in the add-on's settings ("[user_import_folder=HEX]", the UTF-8
// bytes in base 16): the user's file over the factory file beside the module; answers whether
// the file names one, and puts it into `folder`.
bool SettingsImportFolder(const fs::path& file, std::string& folder)
{
	std::ifstream in(file, std::ios::binary);
	const std::string text((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
	const std::string key = "[user_import_folder=";
	const std::size_t at = text.find(key);
	if (at == std::string::npos) return false;
	folder.clear();
	for (std::size_t i = at + key.size(); i + 1 < text.size() && std::isxdigit(static_cast<unsigned char>(text[i])) &&
	                                      std::isxdigit(static_cast<unsigned char>(text[i + 1]));
	     i += 2)
		folder += static_cast<char>(std::stoi(text.substr(i, 2), nullptr, 16));
	return true;
}

// Where the import command lists its projects: the settings' folder, else the default
// "Velmora" under the documents folder.
fs::path ImportFolder()
{
	std::string folder;
	const bool user = SettingsImportFolder(fs::u8path(vhost::CommonDocumentsFolder()) / "Velmora" / "terrainsettings.txt", folder);
	if (!user) SettingsImportFolder(fs::u8path(vhost::Current().addonFile).parent_path() / "terrainsettings.txt", folder);
	return folder.empty() ? fs::u8path(vhost::DocumentsFolder()) / "Velmora" : fs::u8path(folder);
}

// Why the project folder holds nothing the import reads (the command then ends without a
// word), or an empty text.
std::string NothingToImport(const fs::path& project, const std::string& package)
{
	std::error_code ec;
	if (fs::is_directory(project / kModelFolder, ec)) return "";
	return "import: " + package + " holds nothing to import (no " + std::string(kModelFolder) + " folder)";
}

// Readies the package for the import command and answers the UI script of its default
// answers, or an empty text with `error` set; `name` becomes the project's name. A folder is
// copied into the import folder (unless it lies there already); a ZIP is added through the
// command's own Add ZIP. The project is then picked by the name its row shows, as a person
// picks it from the list.
std::string PrepareImport(const std::string& package, std::string& name, std::string& error)
{
	std::error_code ec;
	const fs::path source = fs::absolute(fs::u8path(package), ec);
	const fs::file_status status = fs::status(source, ec);
	const fs::path importFolder = ImportFolder();
	const bool zip = fs::is_regular_file(status) && IsZip(source);
	if (!zip && !fs::is_directory(status)) {
		error = "import: " + package + " is neither a package folder nor a .zip";
		return "";
	}
	if (!zip && !(error = NothingToImport(source, package)).empty()) return "";
	name = (zip ? source.stem() : source.filename()).u8string();
	if (name.empty() || name == "." || name == "..") {
		error = "import: " + package + " gives no project name";
		return "";
	}
	fs::create_directories(importFolder, ec);
	const int offset = LanguageOffset();
	const std::string projects = "dialog " + std::to_string(kProjectDialog + offset) + "\n";
	std::string script = projects;
	if (zip) {
		script += "click 16\nfile " + Quoted(source.u8string()) + "\n" + projects;
	} else {
		const fs::path target = importFolder / fs::u8path(name);
		if (!fs::equivalent(source, target, ec)) {
			if (fs::exists(fs::symlink_status(target, ec))) {
				error = "import: " + target.u8string() + " exists already";
				return "";
			}
			fs::copy(source, target, fs::copy_options::recursive, ec);
			if (ec) {
				error = "import: cannot copy " + package + " to " + target.u8string() + ": " + ec.message();
				return "";
			}
		}
	}
	// Select the row, then tick every layer the project has that the settings leave unticked
	// (columns 2-10: the seven layers, the 2D base map, the surroundings model).
	const std::string cell = "listpick 15 " + Quoted(name) + " ";
	script += cell + "1\n";
	for (int column = 2; column <= 10; ++column) script += cell + std::to_string(column) + " " + std::to_string(kUntickedIcon) + "\n";
	script += "click 1\ndialog " + std::to_string(kColoursDialog + offset) + "\nclick 1\n";
	return script;
}

// The answer to the question the command asks only when the project's geolocation exists.
std::string GeolocationAnswer()
{
	return "dialog " + std::to_string(kGeolocationDialog + LanguageOffset()) + "\nclick 1\n";
}

// The add-on's alerts go to the report window; a script sees them on standard error, each once,
// as soon as the command that reported it ends.
void ShowNewAlerts()
{
	static std::size_t shown = 0;
	const auto& reports = vhost::Current().reports;
	for (; shown < reports.size(); ++shown)
		if (reports[shown].alert) std::fprintf(stderr, "velmora-host: alert: %s\n", reports[shown].text.c_str());
}

// Script errors from `from` on came from the import's own answers, not a script of the user's:
// they are named as the import's.
void NameImportErrors(std::size_t from, const std::string& package)
{
	auto& errors = vhost::Current().scriptErrors;
	for (std::size_t i = from; i < errors.size(); ++i) {
		const std::size_t colon = errors[i].find(": ");
		errors[i] = "import " + package + ": " + (colon == std::string::npos ? errors[i] : errors[i].substr(colon + 2));
	}
}

// Writes `text` to standard output and flushes it; answers false after telling on standard
// error that `what` could not be written.
bool WriteStandardOutput(const std::string& text, const char* what)
{
	if (std::fputs(text.c_str(), stdout) >= 0 && std::fflush(stdout) == 0) return true;
	std::fprintf(stderr, "velmora-host: cannot write %s to standard output: %s\n", what, std::strerror(errno));
	std::clearerr(stdout); // told once
	return false;
}

// Runs one command, the add-on's standard output going to `output`; an import ends with its
// summary on standard output. Answers false after telling why on standard error.
bool RunCommand(const std::pair<std::string, std::string>& command, const cli::AddonOutput& output)
{
	Int16 menu = 0;
	if (command.first == "import") {
		const cli::ImportTally tally;
		std::string error, name;
		const std::string script = PrepareImport(command.second, name, error);
		std::vector<vhost::ScriptStep> steps, question;
		if (script.empty() || !vhost::ParseScript(script, steps, error) || !vhost::ParseScript(GeolocationAnswer(), question, error)) {
			std::fprintf(stderr, "velmora-host: %s\n", error.c_str());
			return false;
		}
		const std::size_t optionalFrom = steps.size();
		steps.insert(steps.end(), question.begin(), question.end());
		menu = static_cast<Int16>(kImportMenu + LanguageOffset());
		// The import answers from its own script; the --script file's steps wait for later commands.
		const std::vector<vhost::ScriptStep> saved(vhost::Current().script.begin() + static_cast<std::ptrdiff_t>(vhost::Current().scriptPos),
		                                           vhost::Current().script.end());
		vhost::SetScript(steps);
		const std::size_t errorsBefore = vhost::Current().scriptErrors.size();
		GSErrCode err = NoError;
		{
			const cli::AddonOutput::Scope quiet(output);
			err = vhost::RunMenuCommand(menu);
		}
		// Yes to the geolocation question was only needed if the command asked it.
		if (vhost::Current().scriptPos == optionalFrom) vhost::Current().scriptPos = vhost::Current().script.size();
		vhost::FinishScript();
		// A ZIP's project is known only now: without map data the command ends at once, and
		// that, not the answers it never asked for, is what went wrong.
		const fs::path project = ImportFolder() / fs::u8path(name);
		std::error_code ec;
		const std::string nothing = fs::is_directory(project, ec) ? NothingToImport(project, command.second) : "";
		if (!nothing.empty()) vhost::Current().scriptErrors.resize(errorsBefore);
		NameImportErrors(errorsBefore, command.second);
		vhost::SetScript(saved);
		ShowNewAlerts();
		if (!WriteStandardOutput(tally.Summary(name), "the summary")) return false;
		if (!nothing.empty()) {
			std::fprintf(stderr, "velmora-host: %s\n", nothing.c_str());
			return false;
		}
		if (err == NoError) return true;
		std::fprintf(stderr, "velmora-host: import %s answered %d\n", command.second.c_str(), err);
		return false;
	}
	menu = static_cast<Int16>(std::stoi(command.second));
	GSErrCode err = NoError;
	{
		const cli::AddonOutput::Scope quiet(output);
		err = vhost::RunMenuCommand(menu);
	}
	if (err == NoError) return true;
	std::fprintf(stderr, "velmora-host: %s %s answered %d\n", command.first.c_str(), command.second.c_str(), err);
	return false;
}

bool WriteOut(const std::string& dir)
{
	std::string why;
	if (vhost::WriteProjectFiles(dir, why)) return true;
	std::fprintf(stderr, "velmora-host: %s\n", why.c_str());
	return false;
}

// Removes the run root made for this run (none given) when the run ends, however it ends.
class TemporaryRunRoot {
public:
	explicit TemporaryRunRoot(bool made) : made_(made) {}
	~TemporaryRunRoot()
	{
		std::error_code ec;
		if (made_ && !vhost::Current().runRoot.empty()) fs::remove_all(fs::u8path(vhost::Current().runRoot), ec);
	}
	TemporaryRunRoot(const TemporaryRunRoot&) = delete;
	TemporaryRunRoot& operator=(const TemporaryRunRoot&) = delete;

private:
	bool made_;
};

const char* const kLogName = "addon-output.log";

// The add-on's standard output: DIR/addon-output.log with --out (the folder made now), else
// nowhere; --verbose lets it through. Answers why the log cannot be written, or an empty text.
std::string OpenAddonOutput(const Options& o, cli::AddonOutput& output)
{
	if (o.out.empty() || o.verbose) return output.Open("", o.verbose);
	std::error_code ec;
	fs::create_directories(fs::u8path(o.out), ec);
	// Made under a fresh name and moved into place: a link at the log's name is replaced.
	const vhost::StagedOutput staged(o.out);
	std::string why = staged.Why();
	if (why.empty()) why = output.Open(staged.Staged(kLogName), false);
	if (why.empty()) staged.Commit(kLogName, why);
	return why;
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
	const std::string resetWhy = vhost::Reset(o.home, fs::path(addonPath).parent_path().string());
	const TemporaryRunRoot temporary(o.home.empty());
	if (!resetWhy.empty()) return Fail("unusable run root: " + resetWhy);
	cli::AddonOutput output;
	if (const std::string why = OpenAddonOutput(o, output); !why.empty()) return Fail(why);
	vhost::Current().addonFile = addonPath;
	vhost::Current().languageCode = o.language;
	// The host's own shell tools come first on PATH, as on the real platform.
	vhost::PrepareShell(VHOST_TOOLS_DIR);
	std::string error;
	if (!o.script.empty() && !vhost::LoadScript(o.script, error)) return Fail(error);

	vhost::AddonEntryPoints entries;
	void* module = nullptr;
	if (!vhost::LoadAddonModule(addonPath, entries, module, error)) return Fail(error);
	bool started = false;
	{
		const cli::AddonOutput::Scope quiet(output);
		started = vhost::StartAddon(entries, error);
	}
	bool ok = started;
	if (!started) std::fprintf(stderr, "velmora-host: %s\n", error.c_str());
	for (const auto& command : o.commands) {
		if (!started) break;
		if (!RunCommand(command, output)) ok = false;
		ShowNewAlerts();
	}
	if (started) {
		const cli::AddonOutput::Scope quiet(output);
		if (vhost::StopAddon(entries) != NoError) ok = false;
	}
	vhost::FinishScript();
	if (!o.out.empty() && !WriteOut(o.out)) ok = false;
	ShowNewAlerts();
	if (!WriteStandardOutput("", "the output")) ok = false;
	for (const auto& e : vhost::Current().scriptErrors) std::fprintf(stderr, "velmora-host: %s\n", e.c_str());
	for (const auto& e : vhost::Current().exceptions) std::fprintf(stderr, "velmora-host: exception in %s\n", e.c_str());
	for (const auto& e : vhost::Current().memoryFaults) std::fprintf(stderr, "velmora-host: %s\n", e.c_str());
	if (const int n = vhost::Current().memoryFaultsUnrecorded) std::fprintf(stderr, "velmora-host: %d memory faults while memory ran out\n", n);
	for (const auto& e : vhost::Current().dialogFaults) std::fprintf(stderr, "velmora-host: dialog fault: %s\n", e.c_str());
	// Unloading last: the dump may still hold texts the module made.
	vhost::UnloadAddonModule(module);
	return ok && vhost::RunIsClean() ? 0 : 1;
}
