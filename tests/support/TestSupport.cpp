#include "TestSupport.hpp"

#include <cerrno>
#include <clocale>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <stdexcept>

#include <grp.h>
#include <sys/wait.h>
#include <unistd.h>

namespace fs = std::filesystem;

namespace {

// The add-on's update check never leaves the machine in a test: unless a test names its own
// server, it goes to a loopback port where nothing listens and fails at once.
[[maybe_unused]] const int kUpdateBaseSet = ::setenv("VELMORA_UPDATE_BASE", "http://127.0.0.1:9", 0);

} // namespace

namespace testsupport {

std::vector<std::pair<double, double>> SvgPathPoints(const std::string& d)
{
	std::vector<std::pair<double, double>> points;
	for (std::size_t at = 0; (at = d.find_first_of("ML", at)) != std::string::npos;) {
		char* end = nullptr;
		const double x = std::strtod(d.c_str() + at + 1, &end);
		const double y = std::strtod(end + 1, &end);
		points.emplace_back(x, y);
		at = static_cast<std::size_t>(end - d.c_str());
	}
	return points;
}

std::string SvgGroup(const std::string& svg, const std::string& guid)
{
	const std::size_t at = svg.find("data-guid=\"" + guid + "\"");
	if (at == std::string::npos) return std::string();
	const std::size_t from = svg.rfind("<g ", at);
	return svg.substr(from, svg.find("</g>", at) - from);
}

std::string SvgAttribute(const std::string& element, const std::string& name)
{
	const std::size_t at = element.find(" " + name + "=\"");
	if (at == std::string::npos) return std::string();
	const std::size_t from = at + name.size() + 3;
	return element.substr(from, element.find('"', from) - from);
}

TempDir::TempDir()
{
	std::string pattern = (fs::temp_directory_path() / "velmora-test-XXXXXX").string();
	if (::mkdtemp(pattern.data()) == nullptr) throw std::runtime_error("mkdtemp failed");
	path_ = pattern;
}

TempDir::~TempDir()
{
	std::error_code ec;
	fs::remove_all(path_, ec);
}

CommaLocale::CommaLocale()
{
	static TempDir folder; // outlives every test of the process, so localedef runs once
	static const bool built = [] {
		const std::string command = "localedef -i de_DE -f UTF-8 '" + folder.Path() + "/de_DE.UTF-8' >/dev/null 2>&1";
		return std::system(command.c_str()) == 0;
	}();
	if (!built) {
		why_ = "localedef cannot build de_DE.UTF-8 (are the locale sources of Debian's \"locales\" installed?)";
		return;
	}
	::setenv("LOCPATH", folder.Path().c_str(), 1);
	// setlocale, not a C++ locale: newlocale keeps the LOCPATH list it parsed (a leak the
	// sanitizer build reports), and the add-on writes no number through a stream.
	if (std::setlocale(LC_ALL, "de_DE.UTF-8") == nullptr) {
		why_ = "the built de_DE.UTF-8 does not load";
		::unsetenv("LOCPATH");
		return;
	}
	char probe[16];
	std::snprintf(probe, sizeof probe, "%.1f", 1.5);
	if (std::string(probe) != "1,5") why_ = std::string("de_DE.UTF-8 writes 1.5 as ") + probe;
}

CommaLocale::~CommaLocale()
{
	std::setlocale(LC_ALL, "C");
	::unsetenv("LOCPATH");
}

ScopedWorkingFolder::ScopedWorkingFolder() : previous_(fs::current_path().string()) { fs::current_path(dir_.Path()); }

ScopedWorkingFolder::~ScopedWorkingFolder()
{
	std::error_code ec;
	fs::current_path(previous_, ec);
}

void WriteFile(const std::string& path, const std::string& bytes)
{
	const fs::path p = fs::u8path(path);
	if (p.has_parent_path()) fs::create_directories(p.parent_path());
	std::ofstream out(p, std::ios::binary);
	out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
	if (!out) throw std::runtime_error("cannot write " + path);
}

std::string ReadFile(const std::string& path)
{
	std::ifstream in(fs::u8path(path), std::ios::binary);
	if (!in) throw std::runtime_error("cannot read " + path);
	std::ostringstream s;
	s << in.rdbuf();
	return s.str();
}

IO::Location Loc(const std::string& path) { return IO::Location(path.c_str()); }

bool AnyFileHolds(const std::string& folder, const std::string& bytes)
{
	for (const auto& e : fs::recursive_directory_iterator(fs::u8path(folder)))
		if (fs::is_regular_file(e.symlink_status()) && ReadFile(e.path().u8string()).find(bytes) != std::string::npos) return true;
	return false;
}

void GiveToUnprivilegedUser(const std::string& folder)
{
	if (::geteuid() != 0) return;
	ASSERT_EQ(::chown(folder.c_str(), kUnprivilegedId, kUnprivilegedId), 0) << folder;
	for (const auto& e : fs::recursive_directory_iterator(folder))
		ASSERT_EQ(::lchown(e.path().c_str(), kUnprivilegedId, kUnprivilegedId), 0) << e.path();
}

namespace {

// In the child: gives up root's rights for good; an empty text, else why not.
std::string DropToUnprivilegedUser()
{
	if (::geteuid() != 0) return std::string();
	const gid_t group = kUnprivilegedId;
	const uid_t user = kUnprivilegedId;
	if (::setgroups(0, nullptr) != 0 || ::setresgid(group, group, group) != 0 || ::setresuid(user, user, user) != 0)
		return std::string("cannot become user 65534: ") + std::strerror(errno);
	if (::geteuid() != user || ::getegid() != group) return "still privileged after dropping rights";
	return std::string();
}

void WriteAll(int fd, const std::string& text)
{
	for (std::size_t done = 0; done < text.size();) {
		const ssize_t n = ::write(fd, text.data() + done, text.size() - done);
		if (n < 0 && errno == EINTR) continue;
		if (n <= 0) return;
		done += static_cast<std::size_t>(n);
	}
}

} // namespace

std::string AsUnprivilegedUser(const std::function<std::string()>& task)
{
	int ends[2];
	if (::pipe(ends) != 0) return std::string("unprivileged run: no pipe: ") + std::strerror(errno);
	const pid_t child = ::fork();
	if (child < 0) {
		::close(ends[0]);
		::close(ends[1]);
		return std::string("unprivileged run: no child: ") + std::strerror(errno);
	}
	if (child == 0) {
		::close(ends[0]);
		const std::string why = DropToUnprivilegedUser();
		WriteAll(ends[1], why.empty() ? task() : "unprivileged run: " + why);
		::_exit(why.empty() ? 0 : 1); // no exit handlers: they are the parent's
	}
	::close(ends[1]);
	std::string answer;
	char chunk[4096];
	for (ssize_t n; (n = ::read(ends[0], chunk, sizeof chunk)) != 0;) {
		if (n < 0 && errno == EINTR) continue;
		if (n < 0) break;
		answer.append(chunk, static_cast<std::size_t>(n));
	}
	::close(ends[0]);
	int status = 0;
	while (::waitpid(child, &status, 0) < 0 && errno == EINTR) {}
	if (!WIFEXITED(status) || WEXITSTATUS(status) != 0)
		return "unprivileged run: the child ended with status " + std::to_string(status) + ": " + answer;
	return answer;
}

std::string BuildProgram(const std::string& name)
{
	const std::string launcher = VELMORA_LAUNCHER;
	return (launcher.empty() ? "" : launcher + " ") + VELMORA_BUILD_DIR "/" + name;
}

ScopedEnv::ScopedEnv(const char* name, const std::string& value) : name_(name)
{
	if (const char* old = std::getenv(name)) old_ = old, had_ = true;
	::setenv(name, value.c_str(), 1);
}

ScopedEnv::~ScopedEnv()
{
	if (had_)
		::setenv(name_, old_.c_str(), 1);
	else
		::unsetenv(name_);
}

void HostTest::SetUp() { vhost::Reset(root_.Path(), VELMORA_BUILD_DIR); }

void HostTest::TearDown()
{
	EXPECT_TRUE(vhost::Current().memoryFaults.empty());
}

std::vector<std::string> HostTest::ReportTexts() const
{
	std::vector<std::string> texts;
	for (const auto& r : vhost::Current().reports) texts.push_back(r.text);
	return texts;
}

} // namespace testsupport
