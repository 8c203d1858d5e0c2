// Text conversions of the add-on's own: UTF-8 bytes, UTF-16 units and host text. They use
// only the host text's own interface, so they build against any host version.
#ifndef KIVEL_TEXTUNITS_HPP
#define KIVEL_TEXTUNITS_HPP

#include <string>
#include <string_view>

#include "UniString.hpp"

namespace kivel {

// Decodes UTF-8 into UTF-16 units (out is replaced). Answers false for invalid UTF-8 (a cut
// sequence, an overlong form, a surrogate, a value past U+10FFFF); each bad sequence then
// stands as U+FFFD.
bool Utf8ToUtf16(std::string_view text, std::u16string& out);
bool IsValidUtf8(std::string_view text);
// UTF-16 units as UTF-8, up to the first zero unit; a lone surrogate becomes U+FFFD.
std::string Utf16ToUtf8(std::u16string_view units);

// The UTF-16 units of a host text, and a host text of such units.
std::u16string UnitsOf(const GS::UniString& text);
GS::UniString TextOfUnits(std::u16string_view units);
// A host text as UTF-8, up to its first zero unit.
std::string ToUtf8(const GS::UniString& text);

} // namespace kivel

#endif
