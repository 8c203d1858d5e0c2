#include "vhost/Platform.hpp"

#include <cstdlib>
#include <cstring>
#include <fstream>

#include "vhost/Project.hpp"
#include "vhost/Text.hpp"

namespace vhost {

bool OpenURL(const GS::UniString& url)
{
	for (const char16_t c : vhost::Units(url))
		if (c <= 0x20 || c >= 0x7F || std::strchr("\"<>\\^`{|}", static_cast<char>(c)) != nullptr) return false;
	Current().urls.push_back(vhost::ToUtf8(url));
	return true;
}

std::string OpenLogPath() { return Current().runRoot + "/opened.txt"; }

std::vector<std::string> OpenedPaths()
{
	std::vector<std::string> paths;
	std::ifstream in(OpenLogPath(), std::ios::binary);
	for (std::string line; std::getline(in, line);) paths.push_back(line);
	return paths;
}

void PrepareShell(const std::string& toolsFolder)
{
	const char* path = std::getenv("PATH");
	const std::string current = path != nullptr ? path : "";
	if (current.rfind(toolsFolder + ":", 0) != 0 && current != toolsFolder)
		::setenv("PATH", (toolsFolder + (current.empty() ? "" : ":" + current)).c_str(), 1);
	::setenv("VHOST_OPEN_LOG", OpenLogPath().c_str(), 1);
}

} // namespace vhost
