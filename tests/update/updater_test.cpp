// The update client against a loopback server of the test's own, through real libcurl.
#include <algorithm>
#include <chrono>
#include <cstdint>
#include <new>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "LoopbackHttpServer.hpp"
#include "TestSupport.hpp"
#include "utils/Updater.hpp"

namespace {

using testsupport::LoopbackHttpServer;

std::string Reply(const std::string& version, const std::string& rest = ", \"changelog\": []")
{
	return "{\"version\": " + version + ", \"update_location\": \"https://www.velmora.example/get\"" + rest + "}";
}

std::string Version(int major, int minor, int patch)
{
	return "{\"major\": " + std::to_string(major) + ", \"minor\": " + std::to_string(minor) + ", \"patch\": " +
		std::to_string(patch) + "}";
}

kivel::UpdateInfo CheckAgainst(const LoopbackHttpServer& server)
{
	kivel::Updater& updater = kivel::Updater::instance();
	updater.Setup(server.Base() + "/kivel_update/kivel_update.php?id=velmora", "...", 3, 0, 5);
	return updater.CheckUpdate();
}

TEST(UpdateVersion, NewerWinsInMajorMinorPatchOrder)
{
	const struct { unsigned major, minor, patch; bool newer; } cases[] = {
		{3, 0, 6, true}, {3, 1, 0, true}, {4, 0, 0, true}, {3, 0, 5, false}, {2, 9, 9, false}, {3, 0, 4, false},
		{2, 99, 99, false}, {3, 1, 0, true}, {0, 0, 0, false},
	};
	for (const auto& c : cases) {
		SCOPED_TRACE(std::to_string(c.major) + "." + std::to_string(c.minor) + "." + std::to_string(c.patch));
		EXPECT_EQ(kivel::IsNewerVersion(c.major, c.minor, c.patch, 3, 0, 5), c.newer);
	}
}

TEST(UpdateReply, BodiesThatOfferNoUpdate)
{
	const struct { const char* why; std::string body; bool available; std::string location; } cases[] = {
		{"newer", Reply(Version(3, 0, 6)), true, "https://www.velmora.example/get"},
		{"major as a double counts 0", Reply("{\"major\": 4.0, \"minor\": 1, \"patch\": 0}"), false, "https://www.velmora.example/get"},
		{"negative major counts 0", Reply("{\"major\": -4, \"minor\": 9, \"patch\": 9}"), false, "https://www.velmora.example/get"},
		{"no changelog", Reply(Version(9, 0, 0), ""), false, ""},
		{"changelog not an array still counts", Reply(Version(9, 0, 0), ", \"changelog\": 1"), true, "https://www.velmora.example/get"},
		{"no version", "{\"changelog\": [], \"update_location\": \"https://x.example\"}", false, ""},
		{"no location", "{\"version\": " + Version(4, 0, 0) + ", \"changelog\": [\"a\"]}", true, ""},
		{"location not a string", "{\"version\": " + Version(4, 0, 0) + ", \"changelog\": [], \"update_location\": 7}", true, ""},
		{"root is an array", "[1, 2]", false, ""},
		{"html error page", "<html><body>502</body></html>", false, ""},
		{"cut short", Reply(Version(9, 0, 0)).substr(0, 30), false, ""},
		{"empty", "", false, ""},
	};
	for (const auto& c : cases) {
		SCOPED_TRACE(c.why);
		const kivel::UpdateInfo info = kivel::ParseUpdateReply(c.body, 3, 0, 5);
		EXPECT_EQ(info.available, c.available);
		EXPECT_EQ(info.update_location, c.location);
	}
}

TEST(Updater, ChecksThroughTheServer)
{
	const struct { std::string body; bool available; } cases[] = {
		{Reply(Version(3, 0, 6)), true},
		{Reply(Version(3, 0, 5)), false},
		{Reply(Version(3, 0, 4)), false},
		{Reply(Version(4, 0, 0), ""), false},  // no "changelog"
		{"{\"version\": {\"major\": 4,", false}, // malformed
	};
	LoopbackHttpServer server("");
	for (const auto& c : cases) {
		SCOPED_TRACE(c.body);
		server.SetBody(c.body);
		const kivel::UpdateInfo info = CheckAgainst(server);
		EXPECT_EQ(info.available, c.available);
	}
	const std::vector<std::string> requests = server.Requests();
	ASSERT_EQ(requests.size(), 5u);
	EXPECT_EQ(requests[0], "GET /kivel_update/kivel_update.php?id=velmora HTTP/1.1");
}

TEST(Updater, FollowsARedirect)
{
	LoopbackHttpServer server(Reply(Version(3, 0, 6)));
	server.RedirectTo("/moved/kivel_update.php?id=velmora");
	EXPECT_TRUE(CheckAgainst(server).available);
	EXPECT_EQ(server.Requests(), (std::vector<std::string>{"GET /kivel_update/kivel_update.php?id=velmora HTTP/1.1",
		"GET /moved/kivel_update.php?id=velmora HTTP/1.1"}));
}

TEST(Updater, EachCheckReadsOnlyItsOwnReply)
{
	LoopbackHttpServer server("not json at all");
	EXPECT_FALSE(CheckAgainst(server).available);
	// Appended to the first body this reply would not parse.
	server.SetBody(Reply(Version(3, 0, 6)));
	const kivel::UpdateInfo info = CheckAgainst(server);
	EXPECT_TRUE(info.available);
	EXPECT_EQ(info.update_location, "https://www.velmora.example/get");
}

TEST(Updater, TransferErrorsOfferNothingAndSayWhyOnStandardError)
{
	// A server that never answers: the one-second limit ends the transfer.
	LoopbackHttpServer silent("", true);
	testing::internal::CaptureStderr();
	const auto start = std::chrono::steady_clock::now();
	const kivel::UpdateInfo late = CheckAgainst(silent);
	const auto waited = std::chrono::steady_clock::now() - start;
	const std::string lateErr = testing::internal::GetCapturedStderr();
	// About one second; the bound leaves room for a loaded machine.
	EXPECT_GE(waited, std::chrono::milliseconds(900));
	EXPECT_LT(waited, std::chrono::seconds(4));
	EXPECT_FALSE(late.available);
	EXPECT_TRUE(late.update_location.empty());
	EXPECT_EQ(lateErr.rfind("curl_easy_perform() failed: ", 0), 0u) << lateErr;
	EXPECT_EQ(std::count(lateErr.begin(), lateErr.end(), '\n'), 1);

	// Nothing listens: refused at once.
	std::string closedBase;
	{
		LoopbackHttpServer gone("");
		closedBase = gone.Base();
	}
	kivel::Updater::instance().Setup(closedBase + "/kivel_update/kivel_update.php?id=velmora", "...", 3, 0, 5);
	testing::internal::CaptureStderr();
	EXPECT_FALSE(kivel::Updater::instance().CheckUpdate().available);
	EXPECT_NE(testing::internal::GetCapturedStderr().find("curl_easy_perform() failed: "), std::string::npos);
}

// libcurl hands the reply over in pieces: they are kept up to 64 KiB, and a piece past that
// is refused (answer 0), which libcurl turns into a transfer error.
TEST(UpdateReplyPieces, KeptUpToTheCapRefusedPastIt)
{
	kivel::UpdateReply reply;
	std::string piece(kivel::kMaxUpdateReply - 1, 'a');
	EXPECT_EQ(kivel::Updater::WriteCallback(piece.data(), 1, piece.size(), &reply), piece.size());
	char one[2] = {'b', 'c'};
	EXPECT_EQ(kivel::Updater::WriteCallback(one, 2, 1, &reply), 0u); // one byte too many
	EXPECT_EQ(kivel::Updater::WriteCallback(one, 1, 1, &reply), 1u); // exactly at the cap
	EXPECT_EQ(reply.body.size(), kivel::kMaxUpdateReply);
	EXPECT_EQ(reply.body.back(), 'b');
	EXPECT_EQ(kivel::Updater::WriteCallback(one, 1, 1, &reply), 0u);
	// A size whose product with the count does not fit.
	kivel::UpdateReply fresh;
	EXPECT_EQ(kivel::Updater::WriteCallback(one, 2, SIZE_MAX / 2 + 1, &fresh), 0u);
	EXPECT_TRUE(fresh.body.empty());
}

class UpdateReplyThrow : public testsupport::HostTest {};

// An append that throws inside libcurl's frames: refused and reported once.
TEST_F(UpdateReplyThrow, AThrowingAppendIsRefusedAndReportedOnce)
{
	kivel::UpdateReply reply;
	reply.append = [](std::string&, const char*, std::size_t) { throw std::bad_alloc(); };
	char data[] = "{}";
	EXPECT_EQ(kivel::Updater::WriteCallback(data, 1, 2, &reply), 0u);
	EXPECT_TRUE(reply.body.empty());
	EXPECT_EQ(ReportTexts(), std::vector<std::string>{"kivel::Updater::WriteCallback# Internal error: std::bad_alloc"});
}

TEST(Updater, AReplyPastTheCapOffersNothing)
{
	// A reply that would offer an update, padded past the cap with white space.
	LoopbackHttpServer server(Reply(Version(3, 0, 6)) + std::string(kivel::kMaxUpdateReply, ' '));
	testing::internal::CaptureStderr();
	const kivel::UpdateInfo info = CheckAgainst(server);
	const std::string err = testing::internal::GetCapturedStderr();
	EXPECT_FALSE(info.available);
	EXPECT_TRUE(info.update_location.empty());
	EXPECT_EQ(err.rfind("curl_easy_perform() failed: ", 0), 0u) << err;
	// The same reply within the cap is an offer.
	server.SetBody(Reply(Version(3, 0, 6)) + std::string(1000, ' '));
	EXPECT_TRUE(CheckAgainst(server).available);
}

} // namespace
