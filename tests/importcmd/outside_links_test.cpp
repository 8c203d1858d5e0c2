// The sweep for links that lead out of a folder, on folders of the test's own.
#include <filesystem>
#include <set>
#include <string>

#include <gtest/gtest.h>

#include "Helpers/OutsideLinks.hpp"
#include "TestSupport.hpp"

namespace {

namespace fs = std::filesystem;

// A link leads out of the folder when its target, every link on the way resolved, lies
// elsewhere: in a sibling whose name begins with the folder's as well, and through a chain of
// links that leaves and comes back as well. One that stays inside is kept.
TEST(OutsideLinks, OnlyLinksWhoseResolvedTargetLiesInsideTheFolderAreKept)
{
	testsupport::TempDir dir;
	const std::string project = dir / "import/Kart", sibling = dir / "import/Kart2";
	testsupport::WriteFile(project + "/own.jpg", "inside");
	testsupport::WriteFile(sibling + "/private.jpg", "the sibling's");
	fs::create_symlink(project + "/own.jpg", sibling + "/back.jpg");
	const struct {
		const char* link;
		std::string target;
		bool kept;
	} cases[] = {
		{"sibling.jpg", sibling + "/private.jpg", false},
		{"sibling-relative.jpg", "../Kart2/private.jpg", false},
		{"sibling-folder", sibling, false},
		{"out-and-back.jpg", sibling + "/back.jpg", false},
		{"own-link.jpg", "own.jpg", true},
		{"own-absolute.jpg", project + "/own.jpg", true},
		{"itself", project, true},
		{"nowhere.jpg", project + "/missing.jpg", false},
	};
	for (const auto& c : cases) fs::create_symlink(c.target, project + "/" + c.link);
	const LinkSweep sweep = RemoveOutsideLinks(project);
	ASSERT_TRUE(sweep.Done()) << sweep.failedCall << " " << sweep.path;
	int outside = 0;
	for (const auto& c : cases) {
		SCOPED_TRACE(c.link);
		EXPECT_EQ(fs::is_symlink(fs::symlink_status(project + "/" + c.link)), c.kept);
		outside += c.kept ? 0 : 1;
	}
	EXPECT_EQ(sweep.removed, outside);
	EXPECT_EQ(testsupport::ReadFile(sibling + "/private.jpg"), "the sibling's");
	EXPECT_TRUE(fs::is_symlink(sibling + "/back.jpg"));
}

} // namespace
