// The stand-in's own text and path conversions, over the standard library's strings. The host,
// the tests and the tools use them; the add-on does its own (it builds against the real host).
#ifndef VHOST_TEXT_HPP
#define VHOST_TEXT_HPP

#include <charconv>
#include <string>
#include <string_view>

#include "Location.hpp"
#include "UniString.hpp"

namespace vhost {

// UTF-8 to UTF-16. Answers false for invalid UTF-8; the output then holds U+FFFD in place of
// each bad sequence.
bool Utf8ToUtf16(const char* text, USize length, std::u16string& out);
// UTF-16 to UTF-8; a lone surrogate becomes U+FFFD.
std::string Utf16ToUtf8(const std::u16string& units);
bool IsValidUtf8(const char* text, USize length);
// The text with each invalid UTF-8 sequence replaced by U+FFFD.
std::string ValidUtf8(std::string_view text);

// The text's UTF-16 units, and a text made of such units.
std::u16string Units(const GS::UniString& text);
GS::UniString FromUnits(const std::u16string& units);
// The text as UTF-8 (lone surrogates as U+FFFD).
std::string ToUtf8(const GS::UniString& text);
// The location's path as UTF-8, for the system's file calls.
std::string PathOf(const IO::Location& location);

// The host's own numbers (its resource file, UI scripts, the scripts of generated parts, its
// summaries) always have a decimal point, whatever the process's locale is: a host
// application may set a decimal-comma one at start.
// strtod as in the C locale: the same syntax, `end` set the same way.
double ReadNumber(const char* text, char** end);
// The number as printf writes it in the C locale: fixed is "%.*f", general is "%.*g".
std::string NumberText(double value, std::chars_format format, int precision);

} // namespace vhost

#endif
