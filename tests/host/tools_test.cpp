// The host's stand-in for the platform's ditto: it never asks anything and takes the archive's
// name as it is.
#include <cerrno>
#include <csignal>
#include <cstdlib>
#include <filesystem>
#include <string>

#include <pty.h>
#include <sys/wait.h>
#include <unistd.h>

#include <gtest/gtest.h>

#include "TestSupport.hpp"
#include "sample/Zip.hpp"

namespace {

namespace fs = std::filesystem;

const std::string kDitto = VELMORA_SOURCE_DIR "/host/tools/ditto";

struct TerminalRun {
	int status = -1;
	std::string transcript; // what the terminal showed
};

// Runs a shell line with a new pseudo-terminal as its controlling terminal and standard
// streams, and answers every password prompt it shows with `password`, as a person would.
TerminalRun RunOnTerminal(const std::string& line, const std::string& password)
{
	TerminalRun run;
	int terminal = -1;
	const pid_t pid = ::forkpty(&terminal, nullptr, nullptr, nullptr);
	if (pid == 0) {
		::execl("/bin/sh", "sh", "-c", line.c_str(), static_cast<char*>(nullptr));
		::_exit(127);
	}
	if (pid < 0) return run;
	std::size_t answered = 0;
	for (char buffer[4096];;) {
		const ssize_t n = ::read(terminal, buffer, sizeof buffer);
		if (n < 0 && errno == EINTR) continue;
		if (n <= 0) break; // every end of the terminal closed
		run.transcript.append(buffer, static_cast<std::size_t>(n));
		for (std::size_t at; (at = run.transcript.find("password:", answered)) != std::string::npos; answered = at + 1) {
			const std::string answer = password + "\n";
			if (::write(terminal, answer.data(), answer.size()) < 0) break;
		}
	}
	::close(terminal);
	int status = 0;
	while (::waitpid(pid, &status, 0) < 0 && errno == EINTR) {}
	run.status = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
	return run;
}

// Runs a shell line; answers its exit status, with what it wrote on both streams in `output`.
int RunLine(const testsupport::TempDir& dir, const std::string& line, std::string& output)
{
	const int status = std::system(("(" + line + ") >'" + dir.Path() + "/output.txt' 2>&1").c_str());
	output = testsupport::ReadFile(dir / "output.txt");
	return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
}

// An encrypted archive fails with a message, even with a terminal where its password is typed:
// the terminal is never read. So does one with folder entries (as "zip -r" writes every
// package) or with some entries plain: nothing of it is expanded.
TEST(Ditto, AnEncryptedArchiveFailsWithoutAskingForItsPassword)
{
	testsupport::TempDir dir;
	testsupport::WriteFile(dir / "p/d/a.txt", "secret");
	testsupport::WriteFile(dir / "p/b.txt", "plain");
	const struct { const char* name; const char* zip; } cases[] = {
		{"files only", "zip -q -P pass enc.zip p/d/a.txt"},
		{"with folders", "zip -q -r -P pass enc.zip p"},
		{"some entries plain", "zip -q -P pass enc.zip p/d/a.txt && zip -q enc.zip p p/b.txt"},
	};
	for (const auto& c : cases) {
		SCOPED_TRACE(c.name);
		fs::remove(dir / "enc.zip");
		std::string output;
		ASSERT_EQ(RunLine(dir, "cd '" + dir.Path() + "' && " + c.zip, output), 0) << output;
		const TerminalRun run = RunOnTerminal(kDitto + " -x -k '" + dir.Path() + "/enc.zip' '" + dir.Path() + "/out'", "pass");
		EXPECT_NE(run.status, 0);
		EXPECT_NE(run.transcript.find("ditto: " + dir.Path() + "/enc.zip is encrypted: it cannot be expanded without its password"),
		          std::string::npos) << run.transcript;
		EXPECT_EQ(run.transcript.find("password:"), std::string::npos) << run.transcript;
		EXPECT_FALSE(fs::exists(dir / "out/p/d/a.txt"));
		EXPECT_FALSE(fs::exists(dir / "out/p/b.txt"));
	}
}

// A full disk (here: a file size limit) fails with a message; the question unzip asks then
// is not answered from the standard input, which stays unread.
TEST(Ditto, AFullDiskFailsWithoutReadingTheStandardInput)
{
	testsupport::TempDir dir;
	testsupport::WriteFile(dir / "big/big.bin", std::string(300000, 'x'));
	ASSERT_EQ(sample::ZipFolder(dir / "big", dir / "big.zip"), "");
	testsupport::WriteFile(dir / "answers", "y\ny\ny\n");
	std::string output;
	const int status = RunLine(dir, "trap '' XFSZ; ulimit -f 100; { " + kDitto + " -x -k '" + dir.Path() + "/big.zip' '" + dir.Path() +
	                                     "/out'; echo \"status $?\"; cat; } <'" + dir.Path() + "/answers'", output);
	EXPECT_EQ(status, 0) << output;
	EXPECT_NE(output.find("ditto: " + dir.Path() + "/big.zip could not be expanded: the disk is full\n"), std::string::npos) << output;
	EXPECT_NE(output.find("status 50\ny\ny\ny\n"), std::string::npos) << output;
}

// unzip would take "k[1].zip" as a pattern and expand "k1.zip" beside it; ditto expands the
// archive of that very name, given whole or relative to the working folder.
TEST(Ditto, TheArchiveNameIsTakenLiterally)
{
	testsupport::TempDir dir;
	testsupport::WriteFile(dir / "decoy/decoy.txt", "decoy");
	testsupport::WriteFile(dir / "real/real.txt", "real");
	ASSERT_EQ(sample::ZipFolder(dir / "decoy", dir / "k1.zip"), "");
	ASSERT_EQ(sample::ZipFolder(dir / "real", dir / "k[1].zip"), "");
	const struct { const char* name; std::string line; } cases[] = {
		{"whole path", kDitto + " -x -k '" + dir.Path() + "/k[1].zip' '" + dir.Path() + "/out [1]'"},
		{"relative", "cd '" + dir.Path() + "' && " + kDitto + " -x -k 'k[1].zip' 'out [1]'"},
	};
	for (const auto& c : cases) {
		SCOPED_TRACE(c.name);
		fs::remove_all(dir / "out [1]");
		std::string output;
		EXPECT_EQ(RunLine(dir, c.line, output), 0) << output;
		EXPECT_EQ(testsupport::ReadFile(dir / "out [1]/real.txt"), "real");
		EXPECT_FALSE(fs::exists(dir / "out [1]/decoy.txt"));
	}
	std::string output;
	EXPECT_EQ(RunLine(dir, kDitto + " -x -k '" + dir.Path() + "/k?.zip' '" + dir.Path() + "/none'", output), 1);
	EXPECT_EQ(output, "ditto: " + dir.Path() + "/k?.zip: no such archive\n");
	EXPECT_FALSE(fs::exists(dir / "none"));
}

} // namespace
