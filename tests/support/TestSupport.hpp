// Helpers shared by the tests: a fresh host project per test, files written on the fly.
#ifndef VELMORA_TESTSUPPORT_HPP
#define VELMORA_TESTSUPPORT_HPP

#include <functional>
#include <string>
#include <utility>
#include <vector>

#include <gtest/gtest.h>

#include "Location.hpp"
#include "vhost/Project.hpp"

namespace testsupport {

// A new temporary folder, removed when the object goes.
class TempDir {
public:
	TempDir();
	~TempDir();
	TempDir(const TempDir&) = delete;
	TempDir& operator=(const TempDir&) = delete;
	const std::string& Path() const { return path_; }
	std::string operator/(const std::string& rel) const { return path_ + "/" + rel; }

private:
	std::string path_;
};

// While it lives, the C library's process locale is one whose decimal point is a comma,
// as a host application running in a German user's locale has it: de_DE, built once per
// process by localedef into a folder of its own and found through LOCPATH. Why() is empty
// when the switch was made, else says why not; a test asserts on it (a missing locale is a
// failure, not a skip). The "C" locale comes back when it goes.
class CommaLocale {
public:
	CommaLocale();
	~CommaLocale();
	CommaLocale(const CommaLocale&) = delete;
	CommaLocale& operator=(const CommaLocale&) = delete;
	const std::string& Why() const { return why_; }

private:
	std::string why_;
};

// A new temporary folder as the process's working folder for the object's life: a file that
// a test's child process leaves by a relative name lands there and goes with it, never in
// the build folder where it would fail later runs.
class ScopedWorkingFolder {
public:
	ScopedWorkingFolder();
	~ScopedWorkingFolder();
	ScopedWorkingFolder(const ScopedWorkingFolder&) = delete;
	ScopedWorkingFolder& operator=(const ScopedWorkingFolder&) = delete;

private:
	TempDir dir_;
	std::string previous_;
};

// Sets an environment variable for the object's life; the old value (or none) comes back.
class ScopedEnv {
public:
	ScopedEnv(const char* name, const std::string& value);
	~ScopedEnv();
	ScopedEnv(const ScopedEnv&) = delete;
	ScopedEnv& operator=(const ScopedEnv&) = delete;

private:
	const char* name_;
	std::string old_;
	bool had_ = false;
};

// Writes bytes to a file, making its folders.
void WriteFile(const std::string& path, const std::string& bytes);
std::string ReadFile(const std::string& path);
IO::Location Loc(const std::string& path);
// Whether any file under folder (links are not followed) holds bytes.
bool AnyFileHolds(const std::string& folder, const std::string& bytes);

// Reading plan.svg: the points "x,y" of a path's data in order; the group ("<g ...</g>") of
// the element whose data-guid is guid (empty when there is none); an attribute's value in an
// element's text (empty when it has none).
std::vector<std::pair<double, double>> SvgPathPoints(const std::string& d);
std::string SvgGroup(const std::string& svg, const std::string& guid);
std::string SvgAttribute(const std::string& element, const std::string& name);

// Root passes every permission check, so a case that permissions decide runs, when the tests
// run as root, as this unprivileged user ("nobody"); otherwise the tests' own user is one.
constexpr unsigned kUnprivilegedId = 65534;

// As root: gives the folder and everything under it (links themselves, not what they point at)
// to the unprivileged user. Otherwise nothing: the folder is the user's own.
void GiveToUnprivilegedUser(const std::string& folder);

// Runs task in a child process that, when the tests run as root, first becomes the
// unprivileged user (groups dropped too), and answers the text task answered. A child that
// cannot drop its rights, or that ends without answering, answers a text beginning
// "unprivileged run: " that says why, which no case expects: the case fails closed.
std::string AsUnprivilegedUser(const std::function<std::string()>& task);

// The start of a command line that runs the build's program NAME (velmora-host, ...), through
// the emulator in a cross build.
std::string BuildProgram(const std::string& name);

// Each test gets a fresh host project under its own run root; the add-on folder is a
// copy-free pointer to the build folder (resource file, url.txt, ... lie there).
class HostTest : public ::testing::Test {
protected:
	void SetUp() override;
	void TearDown() override;
	vhost::Project& Host() { return vhost::Current(); }
	std::string RunRoot() const { return root_.Path(); }
	// Texts of the reports so far.
	std::vector<std::string> ReportTexts() const;

private:
	TempDir root_;
};

} // namespace testsupport

#endif
