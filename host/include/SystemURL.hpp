// The platform's URL opener: a URL object made from text, handed to the system, which opens
// it in the default browser (or, for a file URL, the default application). The host records
// what is opened in the project's urls instead.
#ifndef VHOST_SYSTEMURL_HPP
#define VHOST_SYSTEMURL_HPP

#include "Definitions.hpp"

struct SysURL;

// A new URL object of the text (UTF-16 units), or null when the text is not a URL: empty, or
// holding a character a URL may not hold (space, control, non-ASCII, "<>\"\\^`{|}"), or a "%"
// not followed by two hex digits. The caller releases it.
SysURL* SysURLCreateWithCharacters(const GS::UniChar* units, USize length);
// Opens the URL. Fails (and opens nothing) for a URL without a scheme ("name:").
GSErrCode SysURLOpen(const SysURL* url);
// Releases a URL object. Releasing null, or twice, is a memory fault of the run.
void SysURLRelease(SysURL* url);

namespace vhost {
// URL objects not released yet.
int LiveURLs();
}

#endif
