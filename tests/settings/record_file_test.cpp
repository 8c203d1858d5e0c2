#include <algorithm>
#include <cerrno>
#include <cstdint>
#include <filesystem>
#include <functional>
#include <memory>
#include <string>
#include <utility>
#include <vector>

#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include "Classes/MiniIni.hpp"
#include "Classes/url_ini.hpp"
#include "Helpers/ExclusiveFile.hpp"
#include "Helpers/GSErrorCodes.hpp"
#include "ACAPinc.h"
#include "TestSupport.hpp"

namespace {

using Records = std::vector<std::pair<std::string, std::string>>;

class RecordFile : public testsupport::HostTest {
protected:
	std::string Path(const std::string& name) const { return RunRoot() + "/Temp/" + name; }

	// Reads `bytes` as a record file with `count` records; answers what was stored.
	bool Read(const std::string& bytes, unsigned int count, Records& out, unsigned int bufferSize = 4096)
	{
		testsupport::WriteFile(Path("r.txt"), bytes);
		std::vector<mini_ini_config_struc> records(count);
		std::vector<char> buffer(bufferSize);
		const bool ok = MiniIniConfigRead(GS::UniString(Path("r.txt")), true, records.data(), count, buffer.data(), bufferSize, error);
		out.clear();
		for (const auto& r : records)
			if (r.key[0] != 0) out.emplace_back(r.key, r.value);
		return ok;
	}

	bool Write(const Records& in, unsigned int bufferSize, const std::string& name = "w.txt")
	{
		std::vector<mini_ini_config_struc> records(in.size());
		for (std::size_t i = 0; i < in.size(); ++i) {
			std::snprintf(records[i].key, MiniIniKeySize, "%s", in[i].first.c_str());
			std::snprintf(records[i].value, MiniIniValueSize, "%s", in[i].second.c_str());
		}
		std::vector<char> buffer(bufferSize + 1);
		return MiniIniConfigWrite(GS::UniString(Path(name)), true, records.data(), static_cast<unsigned int>(records.size()),
		                          buffer.data(), bufferSize, error);
	}

	std::string HostErrorText(const char* prefix, GSErrCode code) const
	{
		return std::string(prefix) + " *" + std::to_string(code) + ":" + GetGSErrName(code) + ":" + GetGSErrDetail(code) + "*";
	}

	// The names in a folder, sorted.
	static std::vector<std::string> FilesIn(const std::string& folder)
	{
		std::vector<std::string> names;
		for (const auto& e : std::filesystem::directory_iterator(folder)) names.push_back(e.path().filename().string());
		std::sort(names.begin(), names.end());
		return names;
	}

	char error[MiniIniErrorSize] = {};
};

TEST_F(RecordFile, ReadsRecordsByTheirBrackets)
{
	const std::string key255(255, 'k'), value1791(1791, 'v');
	const struct {
		std::string bytes;
		unsigned int count;
		Records expected;
	} cases[] = {
		{"junk\r\n[a=1]\r\ntrailing", 40, {{"a", "1"}}},
		{"[=1][a=][b=2]", 40, {{"b", "2"}}},
		{"[" + key255 + "=1][" + std::string(256, 'k') + "=2]", 40, {{key255, "1"}}},
		{"[a=" + value1791 + "][b=" + std::string(1792, 'v') + "]", 40, {{"a", value1791}}},
		{"[x[y=1]", 40, {{"x[y", "1"}}},
		{"[a=b=c]", 40, {{"a", "b=c"}}},
		{"[a\r\nb=1]", 40, {{"a\r\nb", "1"}}},
		{"[a=1][b=2", 40, {{"a", "1"}}},
		{"[a=1][b=2][c=3]", 2, {{"a", "1"}, {"b", "2"}}},
		{"[a=1]x[", 40, {{"a", "1"}}},
		{"[a=", 40, {}},
	};
	for (const auto& c : cases) {
		Records got;
		EXPECT_TRUE(Read(c.bytes, c.count, got)) << c.bytes.substr(0, 40) << ": " << error;
		EXPECT_EQ(got, c.expected) << c.bytes.substr(0, 40);
		EXPECT_STREQ(error, "");
	}
}

TEST_F(RecordFile, ReadFailuresSayWhichStepFailed)
{
	Records got;
	EXPECT_FALSE(Read("", 40, got));
	EXPECT_STREQ(error, "MiniIniConfigRead# IO::File::GetDataLength - Illegal file length (0 bytes)");
	EXPECT_FALSE(Read("[a=1][b=2]", 40, got, 9));
	EXPECT_STREQ(error, "MiniIniConfigRead# IO::File::GetDataLength - Illegal file length (10 bytes)");
	EXPECT_TRUE(Read("[a=1][b=2]", 40, got, 10)); // the whole buffer may be used

	std::vector<mini_ini_config_struc> records(4);
	std::vector<char> buffer(64);
	EXPECT_FALSE(MiniIniConfigRead(GS::UniString(Path("missing.txt")), true, records.data(), 4, buffer.data(), 64, error));
	EXPECT_EQ(error, HostErrorText("MiniIniConfigRead# IO::File::GetDataLength", ErrFileNotFound));

	testsupport::WriteFile(Path("r.txt"), "[a=1]");
	vhost::InjectFault("IO::File::Open", ErrAccessDenied, "r.txt");
	EXPECT_FALSE(MiniIniConfigRead(GS::UniString(Path("r.txt")), true, records.data(), 4, buffer.data(), 64, error));
	EXPECT_EQ(error, HostErrorText("MiniIniConfigRead# IO::File::Open", ErrAccessDenied));
}

TEST_F(RecordFile, FilesAboveSixtyFourMebibytesAreRefusedUnread)
{
	testsupport::WriteFile(Path("big.txt"), "[a=1]");
	ASSERT_EQ(::truncate(Path("big.txt").c_str(), MiniIniFileBufferSize + 1), 0);
	auto records = std::make_unique<mini_ini_config_struc[]>(4);
	std::vector<char> buffer(16);
	EXPECT_FALSE(MiniIniConfigRead(GS::UniString(Path("big.txt")), true, records.get(), 4, buffer.data(), MiniIniFileBufferSize, error));
	EXPECT_STREQ(error, "MiniIniConfigRead# IO::File::GetDataLength - Illegal file length (67108865 bytes)");
}

TEST_F(RecordFile, WritesRecordsWithLineEndsAndChecksTheBuffer)
{
	ASSERT_TRUE(Write({{"a", "1"}, {"", "skipped"}, {"b", "2"}}, 15)) << error;
	EXPECT_EQ(testsupport::ReadFile(Path("w.txt")), "[a=1]\r\n[b=2]\r\n");
	EXPECT_FALSE(Write({{"a", "1"}, {"b", "2"}}, 14));
	EXPECT_STREQ(error, "MiniIniConfigWrite# output buffer is not large enough to process data");
	EXPECT_FALSE(Write({{"a", "1"}}, 0));
	EXPECT_STREQ(error, "MiniIniConfigWrite# output buffer has zero length");
	ASSERT_TRUE(Write({{"", "x"}}, 15));
	EXPECT_EQ(testsupport::ReadFile(Path("w.txt")), "");
}

TEST_F(RecordFile, FailedWriteLeavesTheOldFileWhole)
{
	ASSERT_TRUE(Write({{"old", "content that is longer"}}, 100));
	const std::string before = testsupport::ReadFile(Path("w.txt"));
	const struct {
		const char* call;
		int error;
		const char* expected;
	} faults[] = {
		{"open", EACCES, "MiniIniConfigWrite# open *13:EACCES:Permission denied*"},
		{"write", ENOSPC, "MiniIniConfigWrite# write *28:ENOSPC:No space left on device*"},
		{"fsync", EIO, "MiniIniConfigWrite# fsync *5:EIO:Input/output error*"},
		{"rename", EXDEV, "MiniIniConfigWrite# rename *18:EXDEV:Invalid cross-device link*"},
		{"close", EIO, "MiniIniConfigWrite# close *5:EIO:Input/output error*"},
		{"lstat", EACCES, "MiniIniConfigWrite# lstat *13:EACCES:Permission denied*"},
		{"fchmod", EPERM, "MiniIniConfigWrite# fchmod *1:EPERM:Operation not permitted*"},
		{"open folder", EMFILE, "MiniIniConfigWrite# open folder *24:EMFILE:Too many open files*"},
	};
	for (const auto& f : faults) {
		ExclusiveFile::SetFailingCallForTests(f.call, f.error);
		EXPECT_FALSE(Write({{"a", "1"}}, 100)) << f.call;
		ExclusiveFile::SetFailingCallForTests(nullptr, 0);
		EXPECT_STREQ(error, f.expected);
		EXPECT_EQ(testsupport::ReadFile(Path("w.txt")), before) << f.call;
		EXPECT_EQ(FilesIn(Path("")), std::vector<std::string>{"w.txt"}) << f.call;
	}
}

// The temporary file is made exclusively: a link planted at the very name the save tries
// first is passed over, and what it points at stays byte for byte as it was.
TEST_F(RecordFile, ALinkAtTheNextTemporaryNameIsPassedOver)
{
	namespace fs = std::filesystem;
	const std::string outside = RunRoot() + "/outside.txt";
	testsupport::WriteFile(outside, "outside bytes");
	std::uint32_t next = 0xC0FFEE00;
	ExclusiveFile::SetSuffixSourceForTests([&] { return next++; });
	fs::create_symlink(outside, Path(".writing-c0ffee00"));
	const bool written = Write({{"a", "1"}}, 100);
	ExclusiveFile::SetSuffixSourceForTests(nullptr);
	ASSERT_TRUE(written) << error;
	EXPECT_EQ(next, 0xC0FFEE02u); // the second name was taken
	EXPECT_EQ(testsupport::ReadFile(outside), "outside bytes");
	EXPECT_EQ(testsupport::ReadFile(Path("w.txt")), "[a=1]\r\n");
	EXPECT_EQ(FilesIn(Path("")), (std::vector<std::string>{".writing-c0ffee00", "w.txt"}));
	EXPECT_EQ(fs::read_symlink(Path(".writing-c0ffee00")).string(), outside);
}

// A save keeps who may read the file: a regular file's permission bits exactly, even those
// the umask would drop; a new file (or one replacing a link's name) gets 0666 less the umask.
// A link at the target gives the bits of the file it points at, which itself stays as it was.
// The saves run as an unprivileged user, as the add-on's own user is.
TEST_F(RecordFile, ASaveKeepsTheFilesPermissionBits)
{
	namespace fs = std::filesystem;
	const std::string linked = RunRoot() + "/linked.txt";
	const auto fileOfMode = [](const std::string& path, mode_t mode) {
		testsupport::WriteFile(path, "old");
		ASSERT_EQ(::chmod(path.c_str(), mode), 0);
	};
	const struct {
		const char* name;
		std::function<void()> plant;
		mode_t umask;
		mode_t expected;
	} cases[] = {
		{"private file", [&] { fileOfMode(Path("w.txt"), 0600); }, 022, 0600},
		{"group-readable file", [&] { fileOfMode(Path("w.txt"), 0640); }, 022, 0640},
		{"bits the umask drops", [&] { fileOfMode(Path("w.txt"), 0666); }, 077, 0666},
		{"no file, umask 022", [] {}, 022, 0644},
		{"no file, umask 077", [] {}, 077, 0600},
		{"link to a private file", [&] {
			 fileOfMode(linked, 0600);
			 fs::create_symlink(linked, Path("w.txt"));
		 },
		 022, 0600},
		{"link that leads nowhere", [&] { fs::create_symlink(Path("w.txt"), Path("w.txt")); }, 022, 0644},
	};
	for (const auto& c : cases) {
		SCOPED_TRACE(c.name);
		fs::remove_all(Path(""));
		fs::remove(linked);
		fs::create_directories(Path(""));
		c.plant();
		testsupport::GiveToUnprivilegedUser(RunRoot());
		const mode_t before = ::umask(c.umask);
		const std::string answer = testsupport::AsUnprivilegedUser([&] { return Write({{"a", "1"}}, 100) ? "saved" : std::string(error); });
		::umask(before);
		ASSERT_EQ(answer, "saved");
		struct stat st {};
		ASSERT_EQ(::lstat(Path("w.txt").c_str(), &st), 0);
		EXPECT_TRUE(S_ISREG(st.st_mode));
		EXPECT_EQ(st.st_mode & 07777, c.expected);
		EXPECT_EQ(st.st_uid, ::geteuid() == 0 ? testsupport::kUnprivilegedId : ::geteuid()); // the saving user's
		EXPECT_EQ(testsupport::ReadFile(Path("w.txt")), "[a=1]\r\n");
		if (fs::exists(linked)) {
			EXPECT_EQ(testsupport::ReadFile(linked), "old");
		}
	}
}

// What the folder's modes forbid its user fails the save before anything is made, the file
// left as it was: a folder it may not write (no temporary file), one it may not read (it
// cannot be flushed). A file it may only read is replaced, keeping its bits. Root passes every
// permission check, so the saves run as an unprivileged user.
TEST_F(RecordFile, WhatTheFolderForbidsItsUserFailsTheSaveAndLeavesTheFile)
{
	namespace fs = std::filesystem;
	const struct {
		const char* name;
		fs::perms folder;
		fs::perms file;
		std::string answer;
		std::string content;
	} cases[] = {
		{"folder it may not write", fs::perms::owner_read | fs::perms::owner_exec, fs::perms::owner_read | fs::perms::owner_write,
		 "MiniIniConfigWrite# open *13:EACCES:Permission denied*", "old"},
		{"folder it may not read", fs::perms::owner_write | fs::perms::owner_exec, fs::perms::owner_read | fs::perms::owner_write,
		 "MiniIniConfigWrite# open folder *13:EACCES:Permission denied*", "old"},
		{"file it may only read", fs::perms::owner_all, fs::perms::owner_read, "saved", "[a=1]\r\n"},
	};
	for (const auto& c : cases) {
		SCOPED_TRACE(c.name);
		fs::remove_all(Path(""));
		testsupport::WriteFile(Path("w.txt"), "old");
		fs::permissions(Path("w.txt"), c.file);
		testsupport::GiveToUnprivilegedUser(RunRoot());
		fs::permissions(Path(""), c.folder);
		const std::string answer = testsupport::AsUnprivilegedUser([&] { return Write({{"a", "1"}}, 100) ? "saved" : std::string(error); });
		fs::permissions(Path(""), fs::perms::owner_all);
		EXPECT_EQ(answer, c.answer);
		EXPECT_EQ(testsupport::ReadFile(Path("w.txt")), c.content);
		EXPECT_EQ(fs::status(Path("w.txt")).permissions(), c.file);
		EXPECT_EQ(FilesIn(Path("")), std::vector<std::string>{"w.txt"});
	}
}

// The temporary name is as long for every target, so any name the folder takes can be saved.
TEST_F(RecordFile, ANameOfAnyLengthTheFolderTakesSaves)
{
	namespace fs = std::filesystem;
	for (const std::size_t length : {240u, 255u}) {
		fs::remove_all(Path(""));
		fs::create_directories(Path(""));
		const std::string name(length, 'n');
		ASSERT_TRUE(Write({{"a", "1"}}, 100, name)) << length << ": " << error;
		EXPECT_EQ(testsupport::ReadFile(Path(name)), "[a=1]\r\n");
		EXPECT_EQ(FilesIn(Path("")), std::vector<std::string>{name});
	}
}

// An interrupted call is made again, up to the bound: one interruption fewer than the bound
// saves, as many as the bound fails with EINTR. The folder's flush comes after the rename, so
// when it fails the target already holds the new bytes.
TEST_F(RecordFile, InterruptedCallsAreMadeAgainUpToTheBound)
{
	ASSERT_TRUE(Write({{"old", "content that is longer"}}, 100));
	const std::string before = testsupport::ReadFile(Path("w.txt")), after = "[a=1]\r\n";
	const int bound = ExclusiveFile::kInterruptedTries;
	const struct {
		const char* call;
		int times;
		bool saved;
		const std::string& content;
	} cases[] = {
		{"open", bound - 1, true, after},          {"open", bound, false, before},
		{"write", bound - 1, true, after},         {"write", bound, false, before},
		{"fsync", bound - 1, true, after},         {"fsync", bound, false, before},
		{"open folder", bound - 1, true, after},   {"open folder", bound, false, before},
		{"fsync folder", bound - 1, true, after},  {"fsync folder", bound, false, after},
	};
	for (const auto& c : cases) {
		SCOPED_TRACE(std::string(c.call) + " interrupted " + std::to_string(c.times) + " times");
		testsupport::WriteFile(Path("w.txt"), before);
		ExclusiveFile::SetFaultForTests({c.call, EINTR, c.times});
		const bool saved = Write({{"a", "1"}}, 100);
		ExclusiveFile::SetFaultForTests({});
		EXPECT_EQ(saved, c.saved) << error;
		EXPECT_EQ(error, c.saved ? std::string() : "MiniIniConfigWrite# " + std::string(c.call) + " *4:EINTR:Interrupted system call*");
		EXPECT_EQ(testsupport::ReadFile(Path("w.txt")), c.content);
		EXPECT_EQ(FilesIn(Path("")), std::vector<std::string>{"w.txt"});
	}
}

// The descriptor is gone whatever close answers; after a good flush an interrupted close
// has lost nothing, while a folder that cannot be flushed is reported though renamed.
TEST_F(RecordFile, StepsAfterTheFlushFailOnlyWhenSomethingIsLost)
{
	const struct {
		const char* call;
		int error;
		const char* expected; // "" when saved
	} cases[] = {
		{"close", EINTR, ""},
		{"fsync folder", EIO, "MiniIniConfigWrite# fsync folder *5:EIO:Input/output error*"},
	};
	for (const auto& c : cases) {
		SCOPED_TRACE(c.call);
		testsupport::WriteFile(Path("w.txt"), "old");
		ExclusiveFile::SetFailingCallForTests(c.call, c.error);
		const bool saved = Write({{"a", "1"}}, 100);
		ExclusiveFile::SetFailingCallForTests(nullptr, 0);
		EXPECT_EQ(saved, c.expected[0] == 0);
		EXPECT_STREQ(error, c.expected);
		EXPECT_EQ(testsupport::ReadFile(Path("w.txt")), "[a=1]\r\n");
		EXPECT_EQ(FilesIn(Path("")), std::vector<std::string>{"w.txt"});
	}
}

// A write the system takes only in part is carried on from where it stopped, through
// interrupted calls too, until every byte is in the file.
TEST_F(RecordFile, ShortWritesAreCarriedOnToTheEnd)
{
	const Records records = {{"first", std::string(300, 'x')}, {"second", "2"}};
	const std::string expected = "[first=" + std::string(300, 'x') + "]\r\n[second=2]\r\n";
	const struct {
		std::size_t writeAtMost;
		int interruptions;
	} cases[] = {{1, 0}, {7, 0}, {64, ExclusiveFile::kInterruptedTries - 1}, {expected.size() - 1, 3}};
	for (const auto& c : cases) {
		SCOPED_TRACE(std::to_string(c.writeAtMost) + " bytes a write");
		ExclusiveFile::SetFaultForTests({"write", EINTR, c.interruptions, c.writeAtMost});
		const bool saved = Write(records, 400);
		ExclusiveFile::SetFaultForTests({});
		ASSERT_TRUE(saved) << error;
		EXPECT_EQ(testsupport::ReadFile(Path("w.txt")), expected);
	}
}

TEST(ExclusiveCreate, AnythingAtTheNameIsRefused)
{
	namespace fs = std::filesystem;
	testsupport::TempDir dir;
	const std::string file = dir.Path() + "/file", link = dir.Path() + "/link", dangling = dir.Path() + "/dangling";
	testsupport::WriteFile(file, "kept");
	fs::create_symlink(file, link);
	fs::create_symlink(dir.Path() + "/nothing", dangling);
	for (const std::string& path : {file, link, dangling, dir.Path()}) {
		ExclusiveFile::Failure failure;
		EXPECT_EQ(ExclusiveFile::OpenNew(path, failure), -1) << path;
		EXPECT_STREQ(failure.call, "open");
		EXPECT_EQ(failure.error, EEXIST) << path;
	}
	EXPECT_EQ(testsupport::ReadFile(file), "kept");
	EXPECT_FALSE(fs::exists(dir.Path() + "/nothing"));
	ExclusiveFile::Failure failure;
	const int fd = ExclusiveFile::OpenNew(dir.Path() + "/new", failure);
	EXPECT_GE(fd, 0);
	if (fd >= 0) ::close(fd);
}

// The shared folder may hold anything under the names the writer uses: a link or a folder
// at the temporary name is never written through or deleted, and a link at the target is
// replaced by the file while what it points at stays as it was.
TEST_F(RecordFile, LinksAndFoldersBesideTheTargetAreLeftAlone)
{
	namespace fs = std::filesystem;
	const std::string victim = RunRoot() + "/victim.txt";
	const struct {
		const char* name;
		std::function<void()> plant;
		std::vector<std::string> files;   // the folder afterwards
	} cases[] = {
		{"link at the old temporary name", [&] { fs::create_symlink(victim, Path("w.txt.writing")); }, {"w.txt", "w.txt.writing"}},
		{"folder at the old temporary name", [&] { testsupport::WriteFile(Path("w.txt.writing/keep.txt"), "kept"); },
		 {"w.txt", "w.txt.writing"}},
		{"link at the target", [&] { fs::create_symlink(victim, Path("w.txt")); }, {"w.txt"}},
	};
	for (const auto& c : cases) {
		SCOPED_TRACE(c.name);
		fs::remove_all(Path(""));
		fs::create_directories(Path(""));
		testsupport::WriteFile(victim, "victim");
		c.plant();
		ASSERT_TRUE(Write({{"a", "1"}}, 100)) << error;
		EXPECT_EQ(testsupport::ReadFile(victim), "victim");
		EXPECT_FALSE(fs::is_symlink(Path("w.txt")));
		EXPECT_EQ(testsupport::ReadFile(Path("w.txt")), "[a=1]\r\n");
		EXPECT_EQ(FilesIn(Path("")), c.files);
		if (fs::is_directory(Path("w.txt.writing"))) {
			EXPECT_EQ(testsupport::ReadFile(Path("w.txt.writing/keep.txt")), "kept");
		} else if (c.files.size() == 2) {
			EXPECT_EQ(fs::read_symlink(Path("w.txt.writing")).string(), victim);
		}
	}
}

TEST_F(RecordFile, FailingReadOrWriteCallCarriesItsCode)
{
	const struct {
		const char* operation;
		bool write;
		const char* prefix;
	} cases[] = {
		{"IO::File::ReadBin", false, "MiniIniConfigRead# IO::File::ReadBin"},
	};
	for (const auto& c : cases) {
		vhost::ClearFaults();
		vhost::InjectFault(c.operation, ErrAccessDenied);
		Records got;
		EXPECT_FALSE(c.write ? Write({{"a", "1"}}, 100) : Read("[a=1]", 4, got)) << c.operation;
		EXPECT_EQ(error, HostErrorText(c.prefix, ErrAccessDenied));
	}
}

TEST_F(RecordFile, NameBesideTheAddOn)
{
	Host().addonFile = RunRoot() + "/Temp/Velmora.so";
	std::vector<mini_ini_config_struc> records(2);
	std::vector<char> buffer(64);
	testsupport::WriteFile(RunRoot() + "/Temp/side.txt", "[k=beside]");
	ASSERT_TRUE(MiniIniConfigRead("side.txt", false, records.data(), 2, buffer.data(), 64, error)) << error;
	EXPECT_STREQ(records[0].value, "beside");
	Host().addonFile.clear();
	EXPECT_FALSE(MiniIniConfigRead("side.txt", false, records.data(), 2, buffer.data(), 64, error));
	EXPECT_EQ(error, HostErrorText("MiniIniConfigRead# query IO::FileSystem::ApplicationFilePath", APIERR_GENERAL));
}

class UrlFile : public testsupport::HostTest {
protected:
	void SetUp() override
	{
		HostTest::SetUp();
		Host().addonFile = RunRoot() + "/Addon/Velmora.so";
	}
};

TEST_F(UrlFile, FirstWordOfKnownKeysLaterRecordsWin)
{
	testsupport::WriteFile(RunRoot() + "/Addon/url.txt",
	                       "[open_main=  \thttps://a.example/login second]\r\n[OPEN_MAIN=wrong]\r\n[support_main=s1]"
	                       "[support_main=s2][help_youtube_videos=   ][unknown=x]");
	auto urls = std::make_unique<url_ini>();
	ASSERT_TRUE(urls->init()) << urls->error;
	EXPECT_STREQ(urls->open_main, "https://a.example/login");
	EXPECT_STREQ(urls->support_main, "s2");
	EXPECT_STREQ(urls->help_youtube_videos, "");
	EXPECT_STREQ(urls->help_userguide_file_name, "");
}

TEST_F(UrlFile, MissingFileIsReportedWithItsStep)
{
	auto urls = std::make_unique<url_ini>();
	EXPECT_FALSE(urls->init());
	EXPECT_EQ(std::string(urls->error).rfind("url_ini::init() / MiniIniConfigRead# IO::File::GetDataLength *", 0), 0u) << urls->error;
}

} // namespace
