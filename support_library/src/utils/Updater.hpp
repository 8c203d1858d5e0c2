// The update check: asks the maker's update server whether a newer version exists.
#ifndef KIVEL_UPDATER_HPP
#define KIVEL_UPDATER_HPP

#include <cstddef>
#include <string>

namespace kivel {

// The result of a check.
struct UpdateInfo {
	bool available = false;      // the server's version is newer than the running one
	std::string update_location; // the server's "update_location"; empty when there is none
};

// An update answer is a few hundred bytes; a longer reply is refused as it arrives.
constexpr std::size_t kMaxUpdateReply = 64 * 1024;

// The reply of one check as libcurl hands it over.
struct UpdateReply {
	std::string body;
	// Appends bytes to body; null: body.append. A test puts one here that throws.
	void (*append)(std::string& body, const char* data, std::size_t bytes) = nullptr;
};

// The process-wide update client. Host thread only.
class Updater {
public:
	// The one instance, made on first use (not configured, version 0.0.0).
	static Updater& instance();

	// Stores the query URL, a second text (not read) and the running version; the instance is
	// configured from now on. A later call replaces the configuration.
	void Setup(const std::string& url, const std::string& text, unsigned int major, unsigned int minor, unsigned int patch);

	// A plain GET of the URL (redirects followed, one second for the whole transfer). The
	// reply is a JSON object with "version" {"major", "minor", "patch"} and "changelog";
	// "update_location" is copied. Every failure gives {false, ""}; a transfer error (a reply
	// longer than kMaxUpdateReply is one) writes one line to standard error.
	UpdateInfo CheckUpdate();

	// libcurl's write function: appends size * count bytes to the UpdateReply at user and
	// answers that count. It answers 0, so that libcurl fails the transfer, when the body
	// would grow past kMaxUpdateReply, and when the append throws (reported once:
	// "kivel::Updater::WriteCallback# Internal error: <what>").
	static std::size_t WriteCallback(char* data, std::size_t size, std::size_t count, void* user);

	Updater(const Updater&) = delete;
	Updater& operator=(const Updater&) = delete;

private:
	Updater() = default;

	bool configured_ = false;
	unsigned int major_ = 0;
	unsigned int minor_ = 0;
	unsigned int patch_ = 0;
	std::string url_;
	std::string text_;
	UpdateReply response_;
};

// True when the server's version (major, minor, patch) is newer than the running one.
bool IsNewerVersion(unsigned int major, unsigned int minor, unsigned int patch, unsigned int runningMajor,
	unsigned int runningMinor, unsigned int runningPatch);

// The result a reply body gives for the running version: {false, ""} for a body that is not a
// JSON object with "version" and "changelog".
UpdateInfo ParseUpdateReply(const std::string& body, unsigned int runningMajor, unsigned int runningMinor,
	unsigned int runningPatch);

} // namespace kivel

#endif
