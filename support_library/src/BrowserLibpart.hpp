// The object settings dialog as a library-part browser.
#ifndef KIVEL_BROWSERLIBPART_HPP
#define KIVEL_BROWSERLIBPART_HPP

#include <memory>

#include "libpart/ObjectData.hpp"

namespace kivel {

// Opens the object settings dialog preset to the library part with that GUID (its text) and
// answers the chosen element with its parameters. Throws std::logic_error "The process is
// interrupted!" when the dialog does not end with success, and "Please use the complex
// element!" when complexOnly is set and another part was chosen.
std::shared_ptr<ObjectData> OpenLibpartBrowser(const GS::UniString& guid, bool complexOnly);

} // namespace kivel

#endif
