// Opening an address with the system's default handler.
#ifndef KIVEL_BROWSERUTILS_HPP
#define KIVEL_BROWSERUTILS_HPP

#include "UniString.hpp"

namespace kivel {

// Opens url in the default browser (a file URL in its default application). A text that is
// not a URL opens nothing. Nothing is reported and the outcome is not looked at.
void OpenBrowser(const GS::UniString& url);

} // namespace kivel

#endif
