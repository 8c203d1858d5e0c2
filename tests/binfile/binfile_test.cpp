// Whole-file reading and the line reader over the read buffer.
#include <cstring>
#include <memory>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "ACAPinc.h"
#include "Helpers/BinFileHelper.hpp"
#include "TestSupport.hpp"

namespace {

using testsupport::Loc;
using testsupport::TempDir;
using testsupport::WriteFile;

std::string Bytes(std::size_t n)
{
	std::string s(n, '\0');
	for (std::size_t i = 0; i < n; ++i) s[i] = static_cast<char>(i * 7 + 3);
	return s;
}

class ReadBinaryDataTest : public testsupport::HostTest {};

// Sizes around the 256-byte block: a short first block comes with an end-of-file error,
// which is no failure when it holds the whole file. The larger sizes cross the host file's
// own read buffer.
TEST_F(ReadBinaryDataTest, ReadsFilesOfEverySizeAroundTheBlock)
{
	TempDir dir;
	for (const std::size_t size : {0u, 1u, 100u, 255u, 256u, 257u, 512u, 1000u, 65537u, 300001u}) {
		SCOPED_TRACE(size);
		const std::string path = dir / ("f" + std::to_string(size) + ".bin");
		const std::string content = Bytes(size);
		WriteFile(path, content);
		std::vector<unsigned char> data;
		EXPECT_EQ(ReadBinaryData(data, Loc(path)), NoError);
		EXPECT_EQ(std::string(data.begin(), data.end()), content);
	}
	EXPECT_TRUE(ReportTexts().empty());
}

TEST_F(ReadBinaryDataTest, MissingFileAnswersTheQueryErrorSilently)
{
	TempDir dir;
	std::vector<unsigned char> data;
	EXPECT_EQ(ReadBinaryData(data, Loc(dir / "none.3ds")), ErrFileNotFound);
	EXPECT_TRUE(data.empty());
	EXPECT_TRUE(ReportTexts().empty());
}

TEST_F(ReadBinaryDataTest, OpenFailureIsReportedWithItsCode)
{
	TempDir dir;
	const std::string path = dir / "a.3ds";
	WriteFile(path, Bytes(10));
	vhost::InjectFault("IO::File::Open", ErrAccessDenied, "a.3ds", 1);
	std::vector<unsigned char> data;
	EXPECT_EQ(ReadBinaryData(data, Loc(path)), ErrAccessDenied);
	ASSERT_EQ(ReportTexts().size(), 1u);
	EXPECT_EQ(ReportTexts()[0], "3ds (" + path + ") file error: " + std::to_string(static_cast<int>(ErrAccessDenied)));
	EXPECT_TRUE(Host().reports[0].alert);
}

TEST_F(ReadBinaryDataTest, FirstReadFailureIsReportedWithCountsAsDecimals)
{
	TempDir dir;
	const std::string path = dir / "b.3ds";
	WriteFile(path, Bytes(300));
	vhost::InjectFault("IO::File::ReadBin", ErrIO, "b.3ds", 1);
	std::vector<unsigned char> data;
	EXPECT_EQ(ReadBinaryData(data, Loc(path)), ErrIO);
	ASSERT_EQ(ReportTexts().size(), 1u);
	EXPECT_EQ(ReportTexts()[0], "3ds (" + path + ") file pre-read error: " + std::to_string(static_cast<int>(ErrIO)) +
	                                ", read: 0, totalRead: 0 out of 300");
	EXPECT_TRUE(data.empty());
}

// /proc files say they are empty yet deliver text, like a device: the reading stops at the
// first block past the length instead of running to whatever end the source has.
TEST_F(ReadBinaryDataTest, MoreBytesThanTheLengthStopAndFail)
{
	std::vector<unsigned char> data;
	EXPECT_EQ(ReadBinaryData(data, Loc("/proc/self/status")), -39);
	EXPECT_TRUE(data.empty());
	ASSERT_EQ(ReportTexts().size(), 1u);
	EXPECT_EQ(ReportTexts()[0], "3ds (/proc/self/status) file read error totalRead: 256 out of 0");
}

TEST(ConvertVectorToCharArray, CopiesAndTerminates)
{
	const std::unique_ptr<char[]> empty(convertVectorToCharArray({}));
	EXPECT_EQ(empty[0], '\0');
	const std::vector<unsigned char> bytes = {'a', 0, 'b'};
	const std::unique_ptr<char[]> text(convertVectorToCharArray(bytes));
	EXPECT_EQ(std::memcmp(text.get(), "a\0b\0", 4), 0);
}

// Every line sgets gives for `source` with `size`, in order.
std::vector<std::string> Lines(const std::string& source, int size)
{
	const std::unique_ptr<char[]> text(convertVectorToCharArray({source.begin(), source.end()}));
	char* cursor = text.get();
	std::vector<char> line(size > 0 ? size : 1, '#');
	std::vector<std::string> lines;
	while (char* end = sgets(line.data(), size, &cursor)) {
		EXPECT_EQ(*end, '\0');
		lines.emplace_back(line.data(), end);
		if (lines.size() > source.size()) break; // no progress would be a fault
	}
	const std::size_t consumed = size < 2 ? 0 : std::strlen(text.get());
	EXPECT_EQ(cursor, text.get() + consumed) << "the cursor rests on the NUL, or stays when nothing can be read";
	return lines;
}

TEST(Sgets, SplitsLinesKeepingTheLineFeed)
{
	using L = std::vector<std::string>;
	struct Case {
		const char* source;
		int size;
		L lines;
	} const cases[] = {
	    {"ab\ncd", 100, {"ab\n", "cd"}},
	    {"ab\r\n\ncd\n", 100, {"ab\r\n", "\n", "cd\n"}},
	    {"abcde\n", 3, {"ab", "cd", "e\n"}},
	    {"abc", 2, {"a", "b", "c"}},
	    {"abc", 1, {}},
	    {"abc", 0, {}},
	    {"abc", -5, {}},
	    {"", 100, {}},
	};
	for (const Case& c : cases) {
		SCOPED_TRACE(std::string(c.source) + " / " + std::to_string(c.size));
		EXPECT_EQ(Lines(c.source, c.size), c.lines);
	}
}

// The source ends at its NUL: a NUL inside the data ends the reading for good, and a buffer
// that is exactly as long as its text plus NUL is never read beyond (AddressSanitizer).
TEST(Sgets, NeverReadsPastTheSourceNul)
{
	const std::vector<unsigned char> bytes = {'a', '\n', 'b', 0, 'c', '\n'};
	const std::unique_ptr<char[]> text(convertVectorToCharArray(bytes));
	char* cursor = text.get();
	char line[16];
	ASSERT_NE(sgets(line, sizeof line, &cursor), nullptr);
	EXPECT_STREQ(line, "a\n");
	ASSERT_NE(sgets(line, sizeof line, &cursor), nullptr);
	EXPECT_STREQ(line, "b");
	EXPECT_EQ(sgets(line, sizeof line, &cursor), nullptr);
	EXPECT_EQ(sgets(line, sizeof line, &cursor), nullptr);
	EXPECT_EQ(cursor, text.get() + 3);
	EXPECT_STREQ(line, "b") << "a call that reads nothing leaves the buffer alone";

	const std::unique_ptr<char[]> exact(new char[3]{'x', 'y', 0});
	char* at = exact.get();
	EXPECT_NE(sgets(line, sizeof line, &at), nullptr);
	EXPECT_EQ(sgets(line, sizeof line, &at), nullptr);
	EXPECT_EQ(at, exact.get() + 2);
}

TEST(Sgets, NullArgumentsReadNothing)
{
	char line[8];
	char* none = nullptr;
	EXPECT_EQ(sgets(line, sizeof line, nullptr), nullptr);
	EXPECT_EQ(sgets(line, sizeof line, &none), nullptr);
	char text[] = "a";
	char* cursor = text;
	EXPECT_EQ(sgets(nullptr, 8, &cursor), nullptr);
	EXPECT_EQ(cursor, text);
}

} // namespace
