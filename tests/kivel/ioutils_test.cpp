// File and system utilities over the real file system of a host project.
#include <cstdlib>
#include <filesystem>
#include <string>
#include <sys/stat.h>
#include <unistd.h>

#include <gtest/gtest.h>

#include "TestSupport.hpp"
#include "utils/FolderManager.hpp"
#include "utils/IOUtils.hpp"

namespace {

using testsupport::Loc;
using testsupport::ReadFile;
using testsupport::WriteFile;

class IOUtils : public testsupport::HostTest {
protected:
	std::string Dir() { return RunRoot() + "/files"; }
};

TEST(FileSizeToStr, UnitsAndFractions)
{
	const struct { unsigned long long size; const char* text; } cases[] = {
		{0, "0.00 B"}, {1023, "1023.00 B"}, {1024, "1.00 KB"}, {1536, "1.50 KB"}, {1048575, "1024.00 KB"},
		{1048576, "1.00 MB"}, {1ULL << 30, "1.00 GB"}, {1ULL << 40, "1.00 TB"}, {(1ULL << 50) + (1ULL << 49), "1536.00 TB"},
	};
	for (const auto& c : cases) {
		SCOPED_TRACE(c.size);
		EXPECT_EQ(kivel::FileSizeToStr(c.size), c.text);
	}
}

TEST(SystemPaths, TempFolderAndAFolderLookupThatFindsNothing)
{
	const char* old = std::getenv("TMPDIR");
	const std::string saved = old != nullptr ? old : "";
	::unsetenv("TMPDIR");
	EXPECT_EQ(kivel::GetSystemTempPath(), "/tmp");
	::setenv("TMPDIR", "/var/tmp/ø", 1);
	EXPECT_EQ(kivel::GetSystemTempPath(), "/var/tmp/ø");
	if (old != nullptr) ::setenv("TMPDIR", saved.c_str(), 1); else ::unsetenv("TMPDIR");

	fm::FolderManager folders;
	EXPECT_EQ(folders.pathForDirectory(999, fm::LocalDomainMask), nullptr);
	EXPECT_EQ(folders.pathForDirectoryAppropriateForItemAtPath(fm::ApplicationDirectory, fm::LocalDomainMask, nullptr, false), nullptr);
	const char* apps = folders.pathForDirectory(fm::ApplicationDirectory, fm::LocalDomainMask);
	EXPECT_EQ(kivel::GetProgramsPath(), apps != nullptr ? GS::UniString(apps) : GS::UniString());
}

TEST(Paths, AppendAndValidNames)
{
	EXPECT_EQ(kivel::AppendPath(GS::UniString(), GS::UniString("a b.txt")), "a b.txt");
	EXPECT_EQ(kivel::AppendPath(GS::UniString("/x/y"), GS::UniString("z")), "/x/y/z");
	EXPECT_EQ(kivel::AppendPath(Loc("/x"), "y", "z.txt"), "/x/y/z.txt");
	const struct { const char* name; const char* valid; } cases[] = {
		{"plain.txt", "plain.txt"}, {"a/b", "a_b"}, {"", "_"}, {"..", "_"}, {"æøå", "æøå"},
	};
	for (const auto& c : cases) {
		SCOPED_TRACE(c.name);
		EXPECT_EQ(kivel::ConvertToValidFilename(c.name).ToString(), c.valid);
	}
}

TEST_F(IOUtils, ExistenceAndSizes)
{
	WriteFile(Dir() + "/f.bin", std::string(1536, 'x'));
	EXPECT_TRUE(kivel::IsFileExist(Loc(Dir() + "/f.bin")));
	EXPECT_FALSE(kivel::IsFileExist(Loc(Dir())));
	EXPECT_FALSE(kivel::IsFileExist(GS::UniString((Dir() + "/none").c_str())));
	EXPECT_TRUE(kivel::IsFolderExist(GS::UniString(Dir().c_str())));
	EXPECT_FALSE(kivel::IsFolderExist(Loc(Dir() + "/f.bin")));
	EXPECT_EQ(kivel::GetFileSize(Loc(Dir() + "/f.bin")), 1536u);
	EXPECT_EQ(kivel::GetFileSizeStr(Loc(Dir() + "/f.bin")), "1.50 KB");
	EXPECT_EQ(kivel::GetFileSize(Loc(Dir() + "/none")), 0u);
	ASSERT_EQ(Host().debug.size(), 1u);
	EXPECT_NE(Host().debug[0].find("Can't get file size: '" + Dir() + "/none'"), std::string::npos);
	EXPECT_TRUE(Host().reports.empty());
}

TEST_F(IOUtils, ReadsReportEachFailedStep)
{
	WriteFile(Dir() + "/empty.txt", "");
	WriteFile(Dir() + "/text.txt", "blåbær\n");
	const struct { std::string file; const char* fault; GSErrCode expected; std::string report; } cases[] = {
		{"/none.txt", "", kivel::FileNotUsable, "File is not openeable: '" + Dir() + "/none.txt'"},
		{"/empty.txt", "", kivel::FileNotUsable, "File size is empty: '" + Dir() + "/empty.txt'"},
		{"/text.txt", "IO::File::Open", ErrAccessDenied, "File open error: '" + Dir() + "/text.txt' #"},
		{"/text.txt", "IO::File::ReadBin", ErrIO, "File read error: '" + Dir() + "/text.txt' #"},
		{"/text.txt", "IO::File::Close", ErrIO, "File close error: '" + Dir() + "/text.txt' #"},
	};
	for (const auto& c : cases) {
		SCOPED_TRACE(c.report);
		for (const bool text : {true, false}) {
			Host().reports.clear();
			vhost::ClearFaults();
			if (*c.fault != 0) vhost::InjectFault(c.fault, c.expected);
			GS::UniString untouchedText("keep");
			GS::Array<unsigned char> untouchedBytes{7};
			const GSErrCode err = text ? kivel::TextFileRead(Loc(Dir() + c.file), untouchedText)
			                           : kivel::FileRead(Loc(Dir() + c.file), untouchedBytes);
			EXPECT_EQ(err, c.expected);
			EXPECT_EQ(untouchedText, "keep");
			EXPECT_EQ(untouchedBytes.GetSize(), 1u);
			ASSERT_EQ(ReportTexts().size(), 1u);
			EXPECT_EQ(ReportTexts()[0].rfind(c.report, 0), 0u) << ReportTexts()[0];
			EXPECT_TRUE(Host().reports[0].alert);
		}
	}
	vhost::ClearFaults();
	GS::UniString text;
	EXPECT_EQ(kivel::TextFileRead(Loc(Dir() + "/text.txt"), text), NoError);
	EXPECT_EQ(text, "blåbær\n");
	GS::Array<unsigned char> bytes;
	EXPECT_EQ(kivel::FileRead(Loc(Dir() + "/text.txt"), bytes), NoError);
	EXPECT_EQ(bytes.GetSize(), 9u);
	EXPECT_EQ(bytes[2], 0xC3);
}

TEST_F(IOUtils, WritesReplaceTheFileWhole)
{
	const std::string path = Dir() + "/out.txt";
	WriteFile(path, "old content");
	EXPECT_EQ(kivel::TextFileWrite(Loc(path), "new"), NoError);
	EXPECT_EQ(ReadFile(path), "new");
	EXPECT_EQ(kivel::FileWrite(Loc(path), GS::Array<unsigned char>{0, 1, 2}), NoError);
	EXPECT_EQ(ReadFile(path), std::string("\0\1\2", 3));
	// An empty array still leaves an (empty) file.
	EXPECT_EQ(kivel::FileWrite(Loc(Dir() + "/new.bin"), GS::Array<unsigned char>()), NoError);
	EXPECT_EQ(ReadFile(Dir() + "/new.bin"), "");
	EXPECT_TRUE(Host().reports.empty());
	// Only the written files are left: no temporary file stays behind.
	int entries = 0;
	for (const auto& e : std::filesystem::directory_iterator(Dir())) static_cast<void>(e), ++entries;
	EXPECT_EQ(entries, 2);
}

// The writers work in place: each failed step is reported with the file and the error, and
// leaves what the steps before it made.
TEST_F(IOUtils, FailedWriteStopsAtTheStepAndSaysWhich)
{
	const std::string path = Dir() + "/keep.txt";
	// left: the file's content afterwards, where the step fixes it.
	const struct { const char* fault; const char* report; const char* left; } cases[] = {
		{"IO::FileSystem::Delete", "File delete error: '", "old content"},
		{"IO::File::File", "File creation error: '", nullptr},
		{"IO::File::Open", "File open error: '", ""},
		{"IO::File::WriteBin", "File write error: '", ""},
		{"IO::File::Close", "File close error: '", nullptr},
	};
	for (const auto& c : cases) {
		for (const bool text : {true, false}) {
			SCOPED_TRACE(std::string(c.fault) + (text ? " text" : " bytes"));
			WriteFile(path, "old content");
			Host().reports.clear();
			vhost::ClearFaults();
			vhost::InjectFault(c.fault, ErrIO);
			const GSErrCode err = text ? kivel::TextFileWrite(Loc(path), "new")
			                           : kivel::FileWrite(Loc(path), GS::Array<unsigned char>{'n'});
			vhost::ClearFaults();
			EXPECT_EQ(err, ErrIO);
			if (c.left != nullptr) {
				EXPECT_EQ(ReadFile(path), c.left);
			}
			ASSERT_EQ(ReportTexts().size(), 1u);
			EXPECT_EQ(ReportTexts()[0], std::string(c.report) + path + "' #???");
			int entries = 0;
			for (const auto& e : std::filesystem::directory_iterator(Dir())) static_cast<void>(e), ++entries;
			EXPECT_LE(entries, 1);
		}
	}
}

TEST_F(IOUtils, WriteNeverGoesThroughALinkBesideTheTarget)
{
	// A link where a fixed temporary name would be: its target must stay as it was.
	const std::string path = Dir() + "/settings.txt";
	WriteFile(Dir() + "/victim.txt", "victim");
	WriteFile(path, "old");
	ASSERT_EQ(::symlink((Dir() + "/victim.txt").c_str(), (path + ".tmp").c_str()), 0);
	ASSERT_EQ(::symlink((Dir() + "/victim.txt").c_str(), (path + ".writing").c_str()), 0);
	EXPECT_EQ(kivel::TextFileWrite(Loc(path), "new"), NoError);
	EXPECT_EQ(ReadFile(path), "new");
	EXPECT_EQ(ReadFile(Dir() + "/victim.txt"), "victim");
	struct stat st{};
	EXPECT_EQ(::lstat((path + ".tmp").c_str(), &st), 0);
	EXPECT_TRUE(S_ISLNK(st.st_mode));
}

} // namespace
