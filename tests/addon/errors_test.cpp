#include <cstring>
#include <string>

#include <gtest/gtest.h>

#include "APICommon.hpp"
#include "APIdefs_Errors.h"
#include "Helpers/GSErrorCodes.hpp"
#include "TestSupport.hpp"

namespace {

using testsupport::HostTest;
class Reports : public HostTest {};

constexpr Int32 Code(UInt32 pattern) { return static_cast<Int32>(pattern); }

TEST(ErrorNames, NamesGroupsAndGaps)
{
	struct Case { UInt32 code; const char* shortName; const char* name; const char* detail; };
	const Case cases[] = {
		{0, "???", "UNKNOWN???", "This error code is not in the collection"},
		{0x81060001, "APIERR_GENERAL", "APIERR_GENERAL", "General error code."},
		{0x81060066, "APIERR_BADINDEX", "APIERR_BADINDEX", "The passed index is out of range."},
		{0x810600CE, "APIERR_NOSEL", "APIERR_NOSEL", nullptr},
		{0x81060134, "???", "APIERR_BADPROPERTY", nullptr},
		{0x810603EB, "???", "APIERR_BADCLASSIFICATIONFORATTR", "APIERR_BADCLASSIFICATIONFORATTR"},
		{0x810601F9, "???", "UNKNOWN???", "This error code is not in the collection"},
		{0x81010100, "???", "FileNotFound", "File is not found, connection failed."},
		{0x81010106, "???", "InvalidTime", "Invalid time is encountered."},
		{0x81010107, "???", "FileErrors", "Unknown FileErrors"},
		{0x81010001, "???", "LocationErrors", "Unknown LocationErrors"},
		{0x810108FF, "???", "ZipErrors", "Unknown ZipErrors"},
		{0x810109AB, "???", "CodeChannelErrors", "Unknown CodeChannelErrors"},
		{0x81020000, "???", "UNKNOWN???", "This error code is not in the collection"},
	};
	for (const Case& c : cases) {
		EXPECT_STREQ(ErrID_To_Name(Code(c.code)), c.shortName) << std::hex << c.code;
		EXPECT_STREQ(GetGSErrName(Code(c.code)), c.name) << std::hex << c.code;
		if (c.detail != nullptr) {
			EXPECT_STREQ(GetGSErrDetail(Code(c.code)), c.detail) << std::hex << c.code;
		}
	}
}

bool IsGroupOrUnknown(const char* name)
{
	return std::strcmp(name, "UNKNOWN???") == 0 || std::strstr(name, "Errors") != nullptr;
}

TEST(ErrorNames, EveryNamedCodeHasADetailAndTheShortTableIsASubset)
{
	int named = 0, shortNamed = 0;
	auto scan = [&](UInt32 from, UInt32 to) {
		for (UInt32 code = from; code <= to; ++code) {
			const char* name = GetGSErrName(Code(code));
			const char* shortName = ErrID_To_Name(Code(code));
			if (std::strcmp(shortName, "???") != 0) {
				++shortNamed;
				EXPECT_STREQ(shortName, name) << std::hex << code;
			}
			if (IsGroupOrUnknown(name)) continue;
			++named;
			EXPECT_GT(std::strlen(GetGSErrDetail(Code(code))), 0u) << std::hex << code;
		}
	};
	scan(0x81060000, 0x81060400);
	scan(0x81010000, 0x810109FF);
	EXPECT_EQ(named, 81);
	EXPECT_EQ(shortNamed, 71);
}

TEST_F(Reports, PercentSignsPrintAsThemselves)
{
	WriteReport_Alert("%s", "50% of /tmp/a%sb");
	WriteReport_Err("Open /x%d/y", APIERR_BADINDEX);
	WriteReport("%s", "100% done");
	WriteReport("%d%% of %s", 7, "a%b");
	ASSERT_EQ(Host().reports.size(), 2u);
	EXPECT_EQ(Host().reports[0].text, "50% of /tmp/a%sb");
	EXPECT_TRUE(Host().reports[0].alert);
	EXPECT_EQ(Host().reports[1].text, "Open /x%d/y: APIERR_BADINDEX");
	EXPECT_TRUE(Host().reports[1].alert);
	const std::vector<std::string> expected = {"100% done", "\n", "7% of a%b", "\n"};
	EXPECT_EQ(Host().debug, expected);
}

TEST_F(Reports, LongDebugTextIsCutAt511Bytes)
{
	const std::string longText(600, 'x');
	WriteReport("%s", longText.c_str());
	ASSERT_FALSE(Host().debug.empty());
	EXPECT_EQ(Host().debug[0], std::string(511, 'x'));
	Host().debug.clear();
	const std::string cutInside = std::string(510, 'y') + "\xC3\xA6"; // æ would straddle the cut
	WriteReport("%s", cutInside.c_str());
	EXPECT_EQ(Host().debug[0], std::string(510, 'y'));
}

TEST_F(Reports, EndLinesAndBeeps)
{
	WriteReport_End(0);
	WriteReport_End(APIERR_MEMFULL);
	ErrorBeep("Mesh", APIERR_IRREGULARPOLY);
	const std::vector<std::string> expected = {"\n", "OK\n", "\n", "Error: APIERR_MEMFULL\n", "Mesh: APIERR_IRREGULARPOLY"};
	EXPECT_EQ(Host().debug, expected);
	EXPECT_EQ(Host().beeps, 1);
	EXPECT_TRUE(Host().reports.empty());
}

} // namespace
