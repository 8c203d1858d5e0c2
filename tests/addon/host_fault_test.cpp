// Nothing thrown crosses from the add-on into the host: a host call that throws inside the
// menu handler, a command or a dialog callback is reported once with the prefix of whoever
// caught it, and the host records no exception.
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "ACAPinc.h"
#include "TestSupport.hpp"
#include "VelmoraMain.hpp"
#include "vhost/Addon.hpp"
#include "vhost/Script.hpp"

namespace {

class HostFault : public testsupport::HostTest {};

TEST_F(HostFault, BadAllocIsReportedOnceByWhoeverCaughtIt)
{
	const struct {
		const char* name;
		const char* operation;
		const char* path;
		Int16 menu;
		const char* script;
		const char* report;
		GSErrCode result;
	} cases[] = {
		{"menu handler", "IO::Init", "", 32506, "", "Velmora / MenuCommandHandler# Internal error: std::bad_alloc", APIERR_GENERAL},
		{"command", "IO::File::Open", "terrainsettings.txt", 32502, "",
		 "Error point: VELMORA / MenuImportMap() / Internal error: std::bad_alloc", APIERR_GENERAL},
		// The user guide's button throws: the dialog stays open and is closed.
		{"dialog callback", "IO::File::File", "Velmora_User_Guide.pdf", 32504, "dialog 32503\nclick 3\nclick 1\n",
		 "Error point: VELMORA / MenuHelpOpen() / Internal error: std::bad_alloc", NoError},
	};
	for (const auto& c : cases) {
		SCOPED_TRACE(c.name);
		vhost::Reset(RunRoot(), VELMORA_BUILD_DIR);
		ASSERT_EQ(AddonRegisterInterface(), NoError);
		ASSERT_EQ(AddonInitialize(), NoError);
		std::vector<vhost::ScriptStep> steps;
		std::string error;
		ASSERT_TRUE(vhost::ParseScript(c.script, steps, error)) << error;
		vhost::SetScript(steps);
		vhost::InjectBadAlloc(c.operation, c.path);
		EXPECT_EQ(vhost::RunMenuCommand(c.menu), c.result);
		vhost::FinishScript();
		EXPECT_EQ(ReportTexts(), std::vector<std::string>{c.report});
		EXPECT_TRUE(Host().exceptions.empty()) << Host().exceptions.front();
		EXPECT_TRUE(Host().scriptErrors.empty()) << Host().scriptErrors.front();
		EXPECT_EQ(Host().faults[0].remaining, 0) << "the fault did not fire";
		EXPECT_EQ(Host().ioInitDepth, 0);
	}
}

} // namespace
