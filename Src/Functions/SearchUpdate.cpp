#include "Functions/SearchUpdate.hpp"

#include <cctype>
#include <cstdlib>

#include "ACAPinc.h"
#include "DG.h"
#include "Functions/AddonVersion.hpp"
#include "Helpers/CatchAll.hpp"
#include "Helpers/ResourceHelpers.hpp"
#include "VelmoraMain.hpp"
#include "utils/BrowserUtils.hpp"
#include "utils/Updater.hpp"

bool VelmoraUpdateChecked = false;

namespace {

constexpr short kUpdateAlertType = -2;
const char* const kLoopbackHosts[] = {"127.0.0.1", "localhost", "[::1]"};

bool StartsWithNoCase(const std::string& text, const char* prefix)
{
	std::size_t i = 0;
	for (; prefix[i] != 0; ++i)
		if (i >= text.size() || std::tolower(static_cast<unsigned char>(text[i])) != prefix[i]) return false;
	return true;
}

bool IsPlainHostChar(char c)
{
	const unsigned char u = static_cast<unsigned char>(c);
	return std::isalnum(u) || c == '.' || c == '-' || c == '[' || c == ']' || c == ':';
}

// "HOST[:PORT]" with a port of digits only.
bool SplitHostPort(const std::string& authority, std::string& host)
{
	if (authority.empty()) return false;
	for (const char c : authority)
		if (!IsPlainHostChar(c)) return false;
	const std::size_t bracket = authority.rfind(']');
	const std::size_t colon = authority.rfind(':');
	const bool hasPort = colon != std::string::npos && (bracket == std::string::npos || colon > bracket);
	host = hasPort ? authority.substr(0, colon) : authority;
	if (hasPort) {
		const std::string port = authority.substr(colon + 1);
		if (port.empty() || port.size() > 5) return false;
		for (const char c : port)
			if (!std::isdigit(static_cast<unsigned char>(c))) return false;
	}
	return !host.empty();
}

void OfferUpdate(const kivel::UpdateInfo& info, bool norwegian)
{
	const short list = norwegian ? kUpdateAlertStringsNorwegian : kUpdateAlertStrings;
	const short pressed = DGAlert(kUpdateAlertType, GetResUniString(list, 1), GetResUniString(list, 2), GS::UniString(),
		GetResUniString(list, 3), GetResUniString(list, 4), GS::UniString());
	if (pressed == 1) kivel::OpenBrowser(GS::UniString(info.update_location.c_str(), GS::CC_Default));
}

} // namespace

bool IsUsableUpdateBase(const std::string& base)
{
	std::string rest;
	bool secure = false;
	if (base.compare(0, 8, "https://") == 0) {
		rest = base.substr(8);
		secure = true;
	} else if (base.compare(0, 7, "http://") == 0) {
		rest = base.substr(7);
	} else {
		return false;
	}
	if (!rest.empty() && rest.back() == '/') rest.pop_back();
	std::string host;
	if (!SplitHostPort(rest, host)) return false;
	if (secure) return true;
	for (const char* loopback : kLoopbackHosts)
		if (host == loopback) return true;
	return false;
}

std::string UpdateQueryUrl()
{
	const char* env = std::getenv("VELMORA_UPDATE_BASE");
	std::string base = env != nullptr && IsUsableUpdateBase(env) ? env : kDefaultUpdateBase;
	if (base.back() == '/') base.pop_back();
	return base + kUpdateQuery;
}

bool IsOfferableLocation(const std::string& location)
{
	if (!StartsWithNoCase(location, "https://")) return false;
	for (const char c : location)
		if (static_cast<unsigned char>(c) <= ' ' || c == 0x7F) return false;
	const std::size_t end = location.find_first_of("/?#", 8);
	const std::string authority = location.substr(8, end == std::string::npos ? std::string::npos : end - 8);
	std::string host;
	return SplitHostPort(authority, host);
}

int Do_SearchUpdate()
{
	return CatchAll(kUpdateReportPrefix, static_cast<int>(APIERR_GENERAL), [] {
		if (!VelmoraUpdateChecked) {
			// Set first: a check that failed is not tried again in this host run.
			VelmoraUpdateChecked = true;
			const bool norwegian = IsArchiCADNorwegian();
			kivel::Updater& updater = kivel::Updater::instance();
			updater.Setup(UpdateQueryUrl(), "...", kVersionMajor, kVersionMinor, kVersionPatch);
			const kivel::UpdateInfo info = updater.CheckUpdate();
			if (info.available && IsOfferableLocation(info.update_location)) OfferUpdate(info, norwegian);
		}
		ACAPI_KeepInMemory(true);
		return 0;
	});
}
