#include "SystemURL.hpp"

#include <cctype>
#include <cstring>
#include <set>
#include <string>

#include "UniString.hpp"
#include "vhost/Project.hpp"

struct SysURL {
	std::string text;
};

namespace {

std::set<const SysURL*>& Live()
{
	static std::set<const SysURL*> live;
	return live;
}

bool IsHex(GS::UniChar c) { return (c >= '0' && c <= '9') || (c >= 'a' && c <= 'f') || (c >= 'A' && c <= 'F'); }

bool IsURLChar(GS::UniChar c) { return c > 0x20 && c < 0x7F && std::strchr("<>\"\\^`{|}", static_cast<char>(c)) == nullptr; }

bool IsURL(const GS::UniChar* units, USize length)
{
	if (units == nullptr || length == 0) return false;
	for (USize i = 0; i < length; ++i) {
		if (!IsURLChar(units[i])) return false;
		if (units[i] == '%' && (i + 2 >= length || !IsHex(units[i + 1]) || !IsHex(units[i + 2]))) return false;
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

} // namespace

SysURL* SysURLCreateWithCharacters(const GS::UniChar* units, USize length)
{
	if (!IsURL(units, length)) return nullptr;
	auto* url = new SysURL{std::string(units, units + length)}; // ASCII only, checked above
	Live().insert(url);
	return url;
}

GSErrCode SysURLOpen(const SysURL* url)
{
	if (url == nullptr || Live().count(url) == 0) return ErrParam;
	if (!HasScheme(url->text)) return Error;
	vhost::Current().urls.push_back(url->text);
	return NoError;
}

void SysURLRelease(SysURL* url)
{
	if (url == nullptr || Live().erase(url) == 0) {
		vhost::Current().memoryFaults.push_back(url == nullptr ? "release of a null URL" : "URL released twice");
		return;
	}
	delete url;
}

namespace vhost {
int LiveURLs() { return static_cast<int>(Live().size()); }
}
