#include "utils/Updater.hpp"

#include <cstdio>

#include <curl/curl.h>
#include <rapidjson/document.h>

#include "utils/CatchAll.hpp"
#include "utils/RapidJsonParsers.hpp"

namespace kivel {

namespace {

constexpr long kTimeoutSeconds = 1;

// Releases the easy handle on every way out.
struct EasyHandle {
	CURL* curl = curl_easy_init();
	~EasyHandle()
	{
		if (curl != nullptr) curl_easy_cleanup(curl);
	}
};

} // namespace

Updater& Updater::instance()
{
	static Updater updater;
	return updater;
}

void Updater::Setup(const std::string& url, const std::string& text, unsigned int major, unsigned int minor,
	unsigned int patch)
{
	url_ = url;
	text_ = text;
	major_ = major;
	minor_ = minor;
	patch_ = patch;
	configured_ = true;
}

std::size_t Updater::WriteCallback(char* data, std::size_t size, std::size_t count, void* user)
{
	// Called from inside libcurl: nothing thrown may pass, and a refusal is the answer 0.
	auto& reply = *static_cast<UpdateReply*>(user);
	if (size != 0 && count > kMaxUpdateReply / size) return 0;
	const std::size_t bytes = size * count;
	if (reply.body.size() > kMaxUpdateReply || bytes > kMaxUpdateReply - reply.body.size()) return 0;
	return CatchAll("kivel::Updater::WriteCallback# ", std::size_t{0}, [&] {
		if (reply.append != nullptr)
			reply.append(reply.body, data, bytes);
		else
			reply.body.append(data, bytes);
		return bytes;
	});
}

bool IsNewerVersion(unsigned int major, unsigned int minor, unsigned int patch, unsigned int runningMajor,
	unsigned int runningMinor, unsigned int runningPatch)
{
	if (major != runningMajor) return major > runningMajor;
	if (minor != runningMinor) return minor > runningMinor;
	return patch > runningPatch;
}

UpdateInfo ParseUpdateReply(const std::string& body, unsigned int runningMajor, unsigned int runningMinor,
	unsigned int runningPatch)
{
	UpdateInfo result;
	rapidjson::Document document;
	document.Parse(body.c_str());
	if (document.HasParseError() || !document.IsObject()) return result;
	const auto version = document.FindMember("version");
	const auto changelog = document.FindMember("changelog");
	if (version == document.MemberEnd() || changelog == document.MemberEnd()) return result;

	unsigned int major = 0, minor = 0, patch = 0;
	RapidJsonParsers::ReadUIntFromJsonObj(version->value, "major", major);
	RapidJsonParsers::ReadUIntFromJsonObj(version->value, "minor", minor);
	RapidJsonParsers::ReadUIntFromJsonObj(version->value, "patch", patch);
	RapidJsonParsers::ReadStringFromJsonObj(document, "update_location", result.update_location);
	// The change log's entries are not shown.
	result.available = IsNewerVersion(major, minor, patch, runningMajor, runningMinor, runningPatch);
	return result;
}

UpdateInfo Updater::CheckUpdate()
{
	if (!configured_) return UpdateInfo();
	EasyHandle handle;
	if (handle.curl == nullptr) return UpdateInfo();
	// Each check reads only its own reply.
	response_.body.clear();
	curl_easy_setopt(handle.curl, CURLOPT_URL, url_.c_str());
	curl_easy_setopt(handle.curl, CURLOPT_FOLLOWLOCATION, 1L);
	curl_easy_setopt(handle.curl, CURLOPT_WRITEFUNCTION, &Updater::WriteCallback);
	curl_easy_setopt(handle.curl, CURLOPT_WRITEDATA, &response_);
	curl_easy_setopt(handle.curl, CURLOPT_TIMEOUT, kTimeoutSeconds);
	const CURLcode code = curl_easy_perform(handle.curl);
	if (code != CURLE_OK) {
		std::fprintf(stderr, "curl_easy_perform() failed: %s\n", curl_easy_strerror(code));
		return UpdateInfo();
	}
	return ParseUpdateReply(response_.body, major_, minor_, patch_);
}

} // namespace kivel
