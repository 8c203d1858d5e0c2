#include <cstring>
#include <functional>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "ACUtils.hpp"
#include "BrowserLibpart.hpp"
#include "vhost/Platform.hpp"
#include "TestSupport.hpp"
#include "generic/Communication.hpp"
#include "generic/Environment.hpp"
#include "generic/GenericHelpers.hpp"
#include "generic/Interface.hpp"
#include "generic/Story.hpp"
#include "utils/BrowserUtils.hpp"
#include "utils/GuidUtils.hpp"
#include "vhost/Text.hpp"

namespace {

using testsupport::HostTest;
class Adaptation : public HostTest {};

constexpr const char* kMain = "{1B2C3D4E-5F60-4172-8394-A5B6C7D8E9F0}";
constexpr const char* kRevision = "{0F1E2D3C-4B5A-4968-8776-655443322110}";

TEST(ErrToString, NamesCodesAndGaps)
{
	struct Case { Int32 code; const char* name; };
	const Case cases[] = {
		{0, "NoError"},
		{APIErrCode(1), "APIERR_GENERAL"},
		{APIErrCode(206), "APIERR_NOSEL - The selection was empty!"},
		{APIErrCode(309), "APIERR_BADCLASSIFICATION"},
		{APIErrCode(530), "APIERR_TABOVERLAP"},
		{APIErrCode(1002), "APIERR_MISSINGDEF"},
		{APIErrCode(505), "???"}, {APIErrCode(515), "???"}, {APIErrCode(1003), "???"},
		{APIErrCode(0), "???"}, {1, "???"}, {12345, "???"}, {-1, "???"},
	};
	for (const Case& c : cases) EXPECT_STREQ(kivel::ErrToString(c.code), c.name) << c.code;
	int named = 0;
	for (UInt32 offset = 0; offset < 2000; ++offset) named += std::strcmp(kivel::ErrToString(APIErrCode(offset)), "???") != 0;
	EXPECT_EQ(named, 73);
}

TEST_F(Adaptation, GuidOfUniqueIdIsItsMainGuid)
{
	const std::string unID = std::string(kMain) + "-" + kRevision;
	const API_Guid guid = kivel::GuidUtils::UnIdToGuid(unID.c_str());
	EXPECT_EQ(vhost::ToUtf8(APIGuidToString(guid)), std::string(kMain).substr(1, 36));
	EXPECT_TRUE(Host().reports.empty());
}

TEST_F(Adaptation, UnparsableGuidReportsOnceAndIsZero)
{
	API_Guid guid = kivel::GuidUtils::ToGuid(kMain);
	EXPECT_NE(kivel::GuidUtils::ToGuid("", guid), NoError);
	EXPECT_EQ(guid, APINULLGuid);
	EXPECT_EQ(kivel::GuidUtils::ToGuid("not a guid"), APINULLGuid);
	ASSERT_EQ(Host().reports.size(), 2u);
	EXPECT_EQ(Host().reports[0].text, "Error: GS::GUIDInvalidString : ???");
	EXPECT_TRUE(Host().reports[0].alert);
}

TEST_F(Adaptation, StoryLevelByPositionFromTheLowest)
{
	Host().stories = {{-1, -3.0}, {0, 0.0}, {1, 3.5}};
	const int handles = vhost::LiveHandles();
	struct Case { short position; GSErrCode err; double level; };
	const Case cases[] = {{0, NoError, -3.0}, {2, NoError, 3.5}, {3, APIERR_BADINDEX, 99.0}, {-1, APIERR_BADINDEX, 99.0}};
	for (const Case& c : cases) {
		double level = 99.0;
		EXPECT_EQ(kivel::Story::GetStoryLevel(c.position, level), c.err) << c.position;
		EXPECT_EQ(level, c.level) << c.position;
		EXPECT_EQ(vhost::LiveHandles(), handles) << "story handle not freed at " << c.position;
	}
}

TEST_F(Adaptation, StorySettingsHandTheListOver)
{
	Host().stories = {{-1, -3.0}, {0, 0.0}};
	API_StoryInfo info{};
	ASSERT_EQ(kivel::Story::GetSettings(info, 0), NoError);
	EXPECT_EQ(info.firstStory, -1);
	EXPECT_EQ(info.lastStory, 0);
	ASSERT_NE(info.data, nullptr);
	EXPECT_EQ((*info.data)[1].level, 0.0);
	EXPECT_EQ(BMKillHandle(reinterpret_cast<GSHandle*>(&info.data)), NoError);
}

TEST_F(Adaptation, ToolBoxModeOfATypeCarriesOnlyTheTypeCode)
{
	ASSERT_EQ(kivel::Environment::SetToolBoxMode(API_ObjectID), NoError);
	ASSERT_EQ(Host().toolBoxModes.size(), 1u);
	EXPECT_EQ(Host().toolBoxModes[0].typeID, API_ObjectID);
	EXPECT_EQ(Host().toolBoxModes[0].variationID, 0);
	EXPECT_EQ(Host().toolBoxModes[0].classID, GS::GUIDNullString);
	API_ToolBoxItem item{};
	ASSERT_EQ(kivel::Environment::GetToolBoxMode(item), NoError);
	EXPECT_EQ(kivel::GetTypeId(item), API_ObjectID);
}

TEST_F(Adaptation, SpecialFoldersAndApplicationInfo)
{
	API_SpecFolderID id = API_UserLibraryFolderID;
	IO::Location loc;
	ASSERT_EQ(kivel::Environment::GetSpecialFolder(&id, &loc), NoError);
	EXPECT_EQ(vhost::PathOf(loc), RunRoot() + "/User Library");
	id = static_cast<API_SpecFolderID>(99);
	EXPECT_EQ(kivel::Environment::GetSpecialFolder(&id, &loc), APIERR_BADID);

	Host().languageCode = "NOR";
	API_ServerApplicationInfo info{};
	ASSERT_EQ(kivel::Environment::GetServerApplicationInfo(info), NoError);
	EXPECT_EQ(info.language, "NOR");
}

TEST_F(Adaptation, UnmodelledCallsAreRefusedAndChangeNothing)
{
	API_Elem_Head head{};
	API_Coord coord;
	BNZeroMemory(&coord, sizeof coord);
	void* sight = nullptr;
	int count = 0;
	char** params = nullptr;
	API_ModulID mdid;
	BNZeroMemory(&mdid, sizeof mdid);
	API_StoryCmdType storyCmd;
	BNZeroMemory(&storyCmd, sizeof storyCmd);
	API_GetArcType arc {};
	API_Attr_Head attr;
	BNZeroMemory(&attr, sizeof attr);
	const std::vector<std::pair<const char*, std::function<GSErrCode()>>> calls = {
		{"ChangeSettings", [&] { return kivel::Story::ChangeSettings(storyCmd); }},
		{"Get3DInfo", [&] { API_ElemInfo3D info {}; return kivel::Get3DInfo(head, info); }},
		{"Get3DNum", [&] { return kivel::Get3DNum(API_BodyID, &count); }},
		{"Get3DOffset", [&] { return kivel::Get3DOffset(coord); }},
		{"CreateSight", [&] { return kivel::CreateSight(&sight); }},
		{"BringToFront", [&] { return kivel::BringToFront({APINULLGuid}); }},
		{"Unlock", [&] { return kivel::Unlock({APINULLGuid}); }},
		{"Attribute_Delete", [&] { return kivel::Attribute_Delete(attr); }},
		{"GetArc", [&] { return kivel::Interface::GetArc(arc, nullptr); }},
		{"ShowObjectSettings", [&] { return kivel::Interface::ShowObjectSettings(API_ObjectID, "sub"); }},
		{"GetMenuItemText", [&] { API_MenuItemRef ref {}; return kivel::Interface::GetMenuItemText(&ref, nullptr, nullptr); }},
		{"InterAddonCommunicationCallFromEventLoop",
			[&] { return kivel::Communication::InterAddonCommunicationCallFromEventLoop(&mdid, 'L', 1, params, true, nullptr); }},
		{"RegisterSupportedService", [&] { return kivel::Communication::RegisterSupportedService('L', 1); }},
	};
	for (const auto& call : calls) EXPECT_EQ(call.second(), APIERR_NOTSUPPORTED) << call.first;
	EXPECT_EQ(sight, nullptr);
	EXPECT_EQ(params, nullptr);
	EXPECT_TRUE(Host().reports.empty());
}

TEST_F(Adaptation, FailingHostCallsLeaveOutputsAsTheySay)
{
	API_RGBColor color{0.25, 0.5, 0.75};
	EXPECT_EQ(kivel::GetPenRGB(3, &color), APIERR_NOTSUPPORTED);
	EXPECT_EQ(color.f_red, 0.25);
	EXPECT_EQ(color.f_blue, 0.75);

	API_ElemTypeID type = API_WallID;
	EXPECT_EQ(kivel::NeigToElemID(APINeig_Wall, type), APIERR_NOTSUPPORTED);
	EXPECT_EQ(type, API_ZombieElemID);

	EXPECT_TRUE(kivel::ElemID_To_Name(API_WallID).IsEmpty());
}

template <typename R>
class TypeCodes : public ::testing::Test {};
using TypeRecords = ::testing::Types<API_Element, API_Elem_Head, API_ObjectSettingsPars, API_ElemSearchPars, API_ToolBoxItem,
	API_ParamOwnerType, API_PrimElemRef, API_SectElemType>;
TYPED_TEST_SUITE(TypeCodes, TypeRecords);

TYPED_TEST(TypeCodes, SetThenGet)
{
	TypeParam r{};
	EXPECT_EQ(kivel::GetTypeId(r), API_ZombieElemID);
	kivel::SetTypeId(r, API_MeshID);
	EXPECT_EQ(kivel::GetTypeId(r), API_MeshID);
}

template <typename R>
class VariationCodes : public ::testing::Test {};
using VariationRecords = ::testing::Types<API_Element, API_Elem_Head, API_ObjectSettingsPars, API_ToolBoxItem>;
TYPED_TEST_SUITE(VariationCodes, VariationRecords);

TYPED_TEST(VariationCodes, SetThenGetLeavesTheTypeCode)
{
	TypeParam r{};
	kivel::SetTypeId(r, API_ObjectID);
	kivel::SetVariationId(r, APIVarId_Light);
	EXPECT_EQ(kivel::GetVariationId(r), APIVarId_Light);
	EXPECT_EQ(kivel::GetTypeId(r), API_ObjectID);
}

TEST(AttributeIndex, RoundTrip)
{
	for (int v : {0, 1, 255, -7}) EXPECT_EQ(kivel::GetAttributeIndex(kivel::CreateAttributeIndex(v)), v);
}

TEST_F(Adaptation, DeleteMoreReadsWholeIndicesOfTheBlock)
{
	struct Case { Int32 bytes; UInt32 count; };
	for (const Case c : {Case{12, 3}, Case{2, 0}, Case{9, 2}}) {
		GSPtr block = BMAllocatePtr(c.bytes, ALLOCATE_CLEAR, 0);
		auto* indices = reinterpret_cast<API_AttributeIndex*>(block);
		for (UInt32 i = 0; i < c.count; ++i) indices[i] = kivel::CreateAttributeIndex(static_cast<int>(10 + i));
		const GS::Array<API_AttributeIndex> list = kivel::AttributeIndicesOfBlock(indices);
		ASSERT_EQ(list.GetSize(), c.count) << c.bytes;
		for (UInt32 i = 0; i < c.count; ++i) EXPECT_EQ(kivel::GetAttributeIndex(list[i]), static_cast<Int32>(10 + i));
		BMKillPtr(&block);
	}
	EXPECT_TRUE(kivel::AttributeIndicesOfBlock(nullptr).IsEmpty());
}

TEST_F(Adaptation, GuidHandleFillStopsAtTheSmallerCount)
{
	const API_Guid a = kivel::GuidUtils::ToGuid("11111111-1111-1111-1111-111111111111");
	const API_Guid b = kivel::GuidUtils::ToGuid("22222222-2222-2222-2222-222222222222");
	const API_Guid c = kivel::GuidUtils::ToGuid("33333333-3333-3333-3333-333333333333");
	{
		kivel::ACDoublePtrGuidRaii<API_Guid> three(3);
		ASSERT_EQ(three.GetStatus(), NoError);
		three.fill(nullptr, {a, b});
		EXPECT_EQ((*three.GetHandle())[0], a);
		EXPECT_EQ((*three.GetHandle())[1], b);
		EXPECT_EQ((*three.GetHandle())[2], APINULLGuid);
		kivel::ACDoublePtrGuidRaii<API_Guid> two(2);
		two.fill(nullptr, {a, b, c}); // the third GUID has no record
		EXPECT_EQ((*two.GetHandle())[1], b);
	}
	kivel::ACDoublePtrGuidRaii<API_Elem_Head> heads(1);
	kivel::SetTypeId((*heads.GetHandle())[0], API_WallID);
	heads.fill(nullptr, {c});
	EXPECT_EQ((*heads.GetHandle())[0].guid, c);
	EXPECT_EQ(kivel::GetTypeId((*heads.GetHandle())[0]), API_ZombieElemID);
}

TEST_F(Adaptation, OverlongSubtypeIdIsRefusedUntouched)
{
	const std::string fits(API_SubtypeIDLen - 1, 'x');
	const std::string tooLong(API_SubtypeIDLen, 'x');
	API_ObjectSettingsPars pars{};
	kivel::SetTypeId(pars, API_LampID);
	EXPECT_EQ(kivel::Interface::ShowObjectSettings(pars, API_ObjectID, tooLong.c_str()), APIERR_BADNAME);
	EXPECT_EQ(kivel::GetTypeId(pars), API_LampID);
	EXPECT_EQ(pars.subtypeID[0], 0);
	EXPECT_EQ(kivel::Interface::ShowObjectSettings(API_ObjectID, tooLong.c_str()), APIERR_BADNAME);
	// A text that fits reaches the host (which does not model the dialog).
	EXPECT_EQ(kivel::Interface::ShowObjectSettings(pars, API_ObjectID, fits.c_str()), APIERR_NOTSUPPORTED);
	EXPECT_EQ(std::string(pars.subtypeID), fits);
	EXPECT_EQ(kivel::GetTypeId(pars), API_ObjectID);
}

TEST_F(Adaptation, ReportTextIsNotAFormat)
{
	kivel::WriteReport_utf8_Alert(GS::UniString("100% done in /tmp/a%sb%n"));
	ASSERT_EQ(Host().reports.size(), 1u);
	EXPECT_EQ(Host().reports[0].text, "100% done in /tmp/a%sb%n");
	EXPECT_TRUE(Host().reports[0].alert);
}

TEST_F(Adaptation, BrowserOpensOnlyURLsAndReleasesWhatItMade)
{
	struct Case { const char* text; bool opened; };
	const Case cases[] = {
		{"https://example.org/login?user=a%20b", true},
		{"file:///tmp/guide.pdf", true},
		{"", false},
		{"not a url", false},
		{"https://example.org/bad%2", false},
		{"relative/path", false}, // a URL, but nothing opens it
	};
	for (const Case& c : cases) {
		Host().urls.clear();
		kivel::OpenBrowser(GS::UniString(c.text));
		EXPECT_EQ(Host().urls.size(), c.opened ? 1u : 0u) << c.text;
		if (c.opened && !Host().urls.empty()) {
			EXPECT_EQ(Host().urls[0], c.text);
		}
		EXPECT_EQ(vhost::LivePlatformObjects(), 0) << c.text;
	}
	EXPECT_TRUE(Host().memoryFaults.empty());
	EXPECT_TRUE(Host().reports.empty());
}

} // namespace

namespace {

TEST_F(Adaptation, LibpartBrowserStopsWhenTheDialogDoesNotSucceed)
{
	const int handles = vhost::LiveHandles();
	try {
		kivel::OpenLibpartBrowser("0123ABCD-4567-89EF-0123-456789ABCDEF", true);
		ADD_FAILURE() << "no exception";
	} catch (const std::logic_error& e) {
		EXPECT_STREQ(e.what(), "The process is interrupted!");
	}
	EXPECT_EQ(vhost::LiveHandles(), handles);
}

} // namespace
