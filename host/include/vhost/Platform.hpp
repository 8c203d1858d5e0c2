// What the host records of the system around it: URLs opened and paths handed to the
// platform's `open` tool. Shell commands run through system() are recorded in Shell.cpp.
#ifndef VHOST_PLATFORM_HPP
#define VHOST_PLATFORM_HPP

#include <string>
#include <vector>

#include "UniString.hpp"

namespace vhost {

// Opens url with the system's default handler: here it is recorded in the project's urls.
// A text that is not a well-formed URL (a space, a control or non-ASCII character, or one
// of "<>\^`{|}) opens nothing, is not recorded, and answers false.
bool OpenURL(const GS::UniString& url);

// The file that the host's `open` tool appends to, one path a line: under the run root.
std::string OpenLogPath();
// What `open` was given so far in this run, in order.
std::vector<std::string> OpenedPaths();

// Puts the host's tools folder first on PATH (once) and points the `open` tool at
// OpenLogPath(), as the host does before it runs the add-on.
void PrepareShell(const std::string& toolsFolder);

// String and URL objects of the platform's URL calls (CoreServices.h) not released yet.
int LivePlatformObjects();

} // namespace vhost

#endif
