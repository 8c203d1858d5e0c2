#include <cstring>
#include <memory>

#include <gtest/gtest.h>

#include "LibTestHelpers.hpp"
#include "TestSupport.hpp"
#include "generic/GenericHelpers.hpp"
#include "generic/LibraryManager.hpp"
#include "generic/LibraryPart.hpp"
#include "libpart/ObjectData.hpp"
#include "vhost/Text.hpp"

namespace {

using libtest::Record;
namespace LM = kivel::LibraryManager;
namespace LP = kivel::LibraryPart;

class Wrappers : public testsupport::HostTest {
protected:
	void SetUp() override
	{
		HostTest::SetUp();
		IO::Location folder = testsupport::Loc(vhost::EmbeddedLibraryFolder());
		API_LibPart part = Record("Known", &folder);
		ASSERT_EQ(LP::Create(&part), NoError);
		ASSERT_EQ(LP::Save(&part), NoError);
		index_ = part.index;
	}
	Int32 index_ = 0;
};

TEST_F(Wrappers, SearchReleasesTheLocationUnlessAskedToKeepIt)
{
	struct Case { const char* name; bool keep; GSErrCode result; bool locationLeft; };
	const Case cases[] = {
		{"Known", false, NoError, false},
		{"Known", true, NoError, true},
		{"Unknown", false, APIERR_BADNAME, false}, // a location set before still goes
		{"Unknown", true, APIERR_BADNAME, true},
	};
	for (const Case& c : cases) {
		API_LibPart part = Record(c.name, new IO::Location("/preset"));
		EXPECT_EQ(LM::Search(part, false, false, c.keep), c.result) << c.name;
		EXPECT_EQ(part.location != nullptr, c.locationLeft) << c.name << c.keep;
		if (c.result == NoError && c.keep) { EXPECT_EQ(vhost::PathOf(*part.location), vhost::EmbeddedLibraryFolder() + "/Known.gsm"); }
		delete part.location;
	}
}

TEST_F(Wrappers, GetLibraryPartLeavesTheLocationAloneOnFailure)
{
	IO::Location* preset = new IO::Location("/preset");
	API_LibPart part = Record("", preset);
	part.index = 999;
	EXPECT_EQ(LM::GetLibraryPart(part, false), APIERR_BADINDEX);
	EXPECT_EQ(part.location, preset);
	part.index = index_;
	EXPECT_EQ(LM::GetLibraryPart(part, false), NoError);
	EXPECT_EQ(part.location, nullptr);
	EXPECT_EQ(GS::UniString(part.docu_UName), GS::UniString("Known"));
}

TEST_F(Wrappers, SearchByFileNameSendsTheSameRecordAsSearchByName)
{
	API_LibPart byName, byFile;
	BNZeroMemory(&byName, sizeof byName);
	BNZeroMemory(&byFile, sizeof byFile);
	std::memset(&byName, 0x5A, sizeof byName);
	std::memset(&byFile, 0x33, sizeof byFile);
	EXPECT_EQ(LM::SearchByLibraryPartName(byName, GS::UniString("Nope"), false, false, false), APIERR_BADNAME);
	EXPECT_EQ(LM::SearchByFileName(byFile, GS::UniString("Nope"), false, false, false), APIERR_BADNAME);
	EXPECT_EQ(std::memcmp(&byName, &byFile, sizeof byName), 0);
	API_LibPart byGuid;
	BNZeroMemory(&byGuid, sizeof byGuid);
	EXPECT_EQ(LM::SearchByGuid(byGuid, GS::UniString("{00000000-0000-0000-0000-000000000001}"), false, false, false), APIERR_BADNAME);
	EXPECT_STREQ(byGuid.ownUnID, "{00000000-0000-0000-0000-000000000001}");
	EXPECT_EQ(byGuid.docu_UName[0], 0);
}

TEST_F(Wrappers, TextsThatDoNotFitTheRecordAreRefusedUntouched)
{
	struct Case { bool byGuid; std::size_t length; bool fits; };
	const Case cases[] = {
		{true, API_GuidStrLen - 1, true}, {true, API_GuidStrLen, false}, {true, 300, false},
		{false, API_UniLongNameLen - 1, true}, {false, API_UniLongNameLen, false}, {false, 300, false},
	};
	for (const Case& c : cases) {
		const GS::UniString text(std::string(c.length, 'n'));
		API_LibPart part;
		std::memset(&part, 0x5A, sizeof part);
		part.location = nullptr;
		const API_LibPart before = part;
		const GSErrCode err = c.byGuid ? LM::SearchByGuid(part, text, false, false, false)
									   : LM::SearchByLibraryPartName(part, text, false, false, false);
		EXPECT_EQ(err, APIERR_BADNAME) << c.length; // not found, or refused
		if (c.fits) {
			EXPECT_EQ(c.byGuid ? std::string(part.ownUnID) : vhost::ToUtf8(GS::UniString(part.docu_UName)), std::string(c.length, 'n'));
		} else {
			EXPECT_EQ(std::memcmp(&part, &before, sizeof part), 0) << "refused at " << c.length << (c.byGuid ? " (id)" : " (name)");
		}
	}
}

TEST_F(Wrappers, CountsAndLibraries)
{
	int n = 0;
	ASSERT_EQ(LM::GetLibrariesNumber(n), NoError);
	EXPECT_EQ(n, 1);
	testsupport::TempDir extra;
	ASSERT_EQ(LM::AddLibrary(testsupport::Loc(extra.Path())), NoError);
	ASSERT_EQ(LM::AddLibrary(testsupport::Loc(extra.Path())), NoError);
	GS::Array<API_LibraryInfo> libs;
	ASSERT_EQ(LM::GetLibraries(libs), NoError);
	EXPECT_EQ(libs.GetSize(), 2u);
}

TEST_F(Wrappers, UnmodelledCallsAnswerNotSupported)
{
	EXPECT_EQ(LP::OpenParameters(nullptr), APIERR_NOTSUPPORTED);
	EXPECT_EQ(LP::CloseParameters(), APIERR_NOTSUPPORTED);
	EXPECT_EQ(LP::GetActParameters(nullptr), APIERR_NOTSUPPORTED);
	EXPECT_EQ(LP::GetParameterValues(nullptr), APIERR_NOTSUPPORTED);
	EXPECT_EQ(LP::ChangeAParameter(nullptr), APIERR_NOTSUPPORTED);
	EXPECT_EQ(LP::RegisterBuiltInLibrary(), APIERR_NOTSUPPORTED);
	EXPECT_EQ(LP::UpdateSection(index_, nullptr, nullptr, nullptr, nullptr), APIERR_NOTSUPPORTED);
	EXPECT_EQ(LP::CompareLibPartUnIds("{A}-{1}", "{a}-{1}"), NoError);
}

struct FakeElement { int id = 0; };
struct FakeSettings { FakeElement elemDef; API_AddParType** addPars = nullptr; };

TEST_F(Wrappers, ObjectDataCopiesShareOneHandleDisposedOnce)
{
	const int before = vhost::LiveHandles();
	FakeSettings settings;
	settings.elemDef.id = 7;
	settings.addPars = libtest::Handle({libtest::Param("A", APIParT_Length)});
	{
		using Data = kivel::BasicObjectData<FakeElement, FakeSettings>;
		Data first(settings);
		Data second(first.GetElement(), first.GetParams());
		{
			const Data third = second;
			EXPECT_EQ(third.GetParams().use_count(), 3);
			EXPECT_EQ(third.GetParams()->Get(), settings.addPars);
		}
		EXPECT_EQ(second.GetElement().id, 7);
		EXPECT_EQ(vhost::LiveHandles(), before + 1);
	}
	EXPECT_EQ(vhost::LiveHandles(), before);
	EXPECT_TRUE(Host().memoryFaults.empty());
}

TEST_F(Wrappers, ObjectDataTakesOverTheSettingsParametersWithTheirArrays)
{
	const int before = vhost::LiveHandles();
	API_AddParType table = libtest::Param("t", APIParT_Length, API_ParArray);
	table.dim1 = 2;
	table.dim2 = 1;
	table.value.array = BMAllocateHandle(2 * sizeof(double), ALLOCATE_CLEAR, 0);
	API_ObjectSettingsPars settings{};
	kivel::SetTypeId(settings.elemDef.header, API_ObjectID);
	settings.addPars = libtest::Handle({libtest::Param("A", APIParT_Length), table});
	{
		const kivel::ObjectData first(settings);
		const kivel::ObjectData copy = first;
		EXPECT_EQ(copy.GetParams()->Get(), settings.addPars);
		EXPECT_EQ(kivel::GetTypeId(copy.GetElement()), API_ObjectID);
		EXPECT_EQ(vhost::LiveHandles(), before + 2);
	}
	EXPECT_EQ(vhost::LiveHandles(), before) << "the records and their array value go with the last copy";
	EXPECT_TRUE(Host().memoryFaults.empty());
}

} // namespace
