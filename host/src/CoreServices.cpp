#include "CoreServices/CoreServices.h"

#include <cctype>
#include <cstring>
#include <map>
#include <string>

#include "vhost/Platform.hpp"
#include "vhost/Project.hpp"

// The objects behind the platform's references: a string of UTF-16 units, a URL of ASCII text.
struct __CFString {
	std::u16string units;
};
struct __CFURL {
	std::string text;
};

const CFAllocatorRef kCFAllocatorDefault = nullptr;

namespace {

enum class Kind { String, URL };

// Every object made and not yet released, with its kind.
std::map<CFTypeRef, Kind>& Live()
{
	static std::map<CFTypeRef, Kind> live;
	return live;
}

bool IsLive(CFTypeRef object, Kind kind)
{
	const auto it = Live().find(object);
	return it != Live().end() && it->second == kind;
}

bool IsHex(char16_t c) { return (c >= '0' && c <= '9') || (c >= 'a' && c <= 'f') || (c >= 'A' && c <= 'F'); }

bool IsURLChar(char16_t c) { return c > 0x20 && c < 0x7F && std::strchr("<>\"\\^`{|}", static_cast<char>(c)) == nullptr; }

bool IsURL(const std::u16string& units)
{
	if (units.empty()) return false;
	for (std::size_t i = 0; i < units.size(); ++i) {
		if (!IsURLChar(units[i])) return false;
		if (units[i] == '%' && (i + 2 >= units.size() || !IsHex(units[i + 1]) || !IsHex(units[i + 2]))) return false;
	}
	return true;
}

bool HasScheme(const std::string& text)
{
	const std::size_t colon = text.find(':');
	if (colon == std::string::npos || colon == 0 || !std::isalpha(static_cast<unsigned char>(text[0]))) return false;
	for (std::size_t i = 1; i < colon; ++i)
		if (!std::isalnum(static_cast<unsigned char>(text[i])) && std::strchr("+-.", text[i]) == nullptr) return false;
	return true;
}

constexpr OSStatus kParamErr = -50; // the platform's "bad parameter"
constexpr OSStatus kLSApplicationNotFoundErr = -10814;

} // namespace

CFStringRef CFStringCreateWithCharacters(CFAllocatorRef, const UniChar* chars, CFIndex numChars)
{
	if ((chars == nullptr && numChars != 0) || numChars < 0) return nullptr;
	auto* string = new __CFString{std::u16string(static_cast<std::size_t>(numChars), u'\0')};
	if (numChars > 0) std::memcpy(string->units.data(), chars, static_cast<std::size_t>(numChars) * sizeof(UniChar)); // the caller's units may be char16_t
	Live().emplace(string, Kind::String);
	return string;
}

CFURLRef CFURLCreateWithString(CFAllocatorRef, CFStringRef urlString, CFURLRef baseURL)
{
	if (baseURL != nullptr || !IsLive(urlString, Kind::String) || !IsURL(urlString->units)) return nullptr;
	auto* url = new __CFURL{std::string(urlString->units.begin(), urlString->units.end())}; // ASCII, checked above
	Live().emplace(url, Kind::URL);
	return url;
}

OSStatus LSOpenCFURLRef(CFURLRef inURL, CFURLRef* outLaunchedURL)
{
	if (outLaunchedURL != nullptr || !IsLive(inURL, Kind::URL)) return kParamErr;
	if (!HasScheme(inURL->text)) return kLSApplicationNotFoundErr;
	vhost::Current().urls.push_back(inURL->text);
	return 0;
}

void CFRelease(CFTypeRef cf)
{
	const auto it = Live().find(cf);
	if (it == Live().end()) {
		vhost::RecordMemoryFault(cf == nullptr ? "CFRelease of null" : "CFRelease of an object released already");
		return;
	}
	if (it->second == Kind::String) delete static_cast<const __CFString*>(cf);
	else delete static_cast<const __CFURL*>(cf);
	Live().erase(it);
}

namespace vhost {
int LivePlatformObjects() { return static_cast<int>(Live().size()); }
}
