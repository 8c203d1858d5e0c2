// The wrappers reach the same host model in every host generation; a host-26 build sends them
// through the dispatchers with their four-character codes.
#include <functional>
#include <type_traits>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "TestSupport.hpp"
#include "generic/Environment.hpp"
#include "generic/GenericHelpers.hpp"
#include "generic/LibraryManager.hpp"
#include "generic/LibraryPart.hpp"
#include "generic/Story.hpp"
#include "vhost/Project.hpp"
#include "vhost/Text.hpp"

namespace {

class HostGeneration : public testsupport::HostTest {};

TEST_F(HostGeneration, WrappersUseTheEntryPointsOfTheBuildsHost)
{
	struct Case {
		const char* what;
		const char* dispatcherCommand; // host 26
		std::function<void(vhost::Project&)> run;
	};
	const Case cases[] = {
		{"story settings", "Environment GSTO", [](vhost::Project& host) {
			 host.stories = {{-1, -3.0}, {0, 0.0}, {1, 3.5}};
			 API_StoryInfo info{};
			 ASSERT_EQ(kivel::Story::GetSettings(info, 0), NoError);
			 EXPECT_EQ(info.firstStory, -1);
			 EXPECT_EQ(info.lastStory, 1);
			 BMKillHandle(reinterpret_cast<GSHandle*>(&info.data));
		 }},
		{"story level", "Environment GSTO", [](vhost::Project& host) {
			 host.stories = {{-1, -3.0}, {0, 0.0}};
			 double level = 99.0;
			 ASSERT_EQ(kivel::Story::GetStoryLevel(0, level), NoError);
			 EXPECT_EQ(level, -3.0);
		 }},
		{"special folder", "Environment GSPF", [](vhost::Project&) {
			 API_SpecFolderID id = API_UserLibraryFolderID;
			 IO::Location where;
			 ASSERT_EQ(kivel::Environment::GetSpecialFolder(&id, &where), NoError);
			 EXPECT_EQ(vhost::PathOf(where), vhost::UserLibraryFolder());
		 }},
		{"library list", "Environment GLIB", [](vhost::Project&) {
			 GS::Array<API_LibraryInfo> libraries;
			 int embedded = -1;
			 ASSERT_EQ(kivel::LibraryManager::GetLibraries(libraries, embedded), NoError);
			 ASSERT_GE(embedded, 0);
			 ASSERT_LT(static_cast<UInt32>(embedded), libraries.GetSize());
			 EXPECT_EQ(vhost::PathOf(libraries[static_cast<UInt32>(embedded)].location), vhost::EmbeddedLibraryFolder());
		 }},
		{"overwrite mode on", "Environment OWLP", [](vhost::Project& host) {
			 ASSERT_EQ(kivel::LibraryPart::OverwriteLibPart(true), NoError);
			 EXPECT_TRUE(host.library.overwrite);
		 }},
		{"overwrite mode off", "Environment OWLP", [](vhost::Project& host) {
			 host.library.overwrite = true;
			 ASSERT_EQ(kivel::LibraryPart::OverwriteLibPart(false), NoError);
			 EXPECT_FALSE(host.library.overwrite);
		 }},
	};
	for (const Case& c : cases) {
		SCOPED_TRACE(c.what);
		Host().dispatcherCalls.clear();
		c.run(Host());
#if VELMORA_HOST_API < 27
		EXPECT_EQ(Host().dispatcherCalls, std::vector<std::string>{c.dispatcherCommand});
#else
		EXPECT_TRUE(Host().dispatcherCalls.empty()); // the named entry points of hosts 27 to 29
#endif
	}
}

#if VELMORA_HOST_API < 27
TEST_F(HostGeneration, DispatcherRefusesCommandsItDoesNotModel)
{
	EXPECT_EQ(ACAPI_Environment(API_FourCC("ZZZZ")), APIERR_NOTSUPPORTED);
	EXPECT_EQ(ACAPI_Goodies(API_FourCC("GSPF")), APIERR_NOTSUPPORTED); // a code of another dispatcher
	EXPECT_EQ(Host().dispatcherCalls, (std::vector<std::string>{"Environment ZZZZ", "Goodies GSPF"}));
}

TEST_F(HostGeneration, AttributeIndexIsAPlainInt)
{
	static_assert(std::is_same_v<API_AttributeIndex, int>, "host 26 has no index type of its own");
	EXPECT_EQ(kivel::CreateAttributeIndex(7), 7);
	EXPECT_EQ(kivel::GetAttributeIndex(kivel::CreateAttributeIndex(-3)), -3);
}
#endif

} // namespace
