// The host's own numbers, read and written apart from the process's locale.
#include <cerrno>
#include <clocale>
#include <cstdlib>

#include <locale.h>

#include "vhost/Text.hpp"

namespace vhost {

double ReadNumber(const char* text, char** end)
{
	// One "C" locale for the process's life: it never changes, so it is made once.
	static const locale_t c = ::newlocale(LC_ALL_MASK, "C", static_cast<locale_t>(nullptr));
	if (c == static_cast<locale_t>(nullptr)) {
		// Without it no number can be read safely: none is read.
		if (end != nullptr) *end = const_cast<char*>(text);
		return 0.0;
	}
	return ::strtod_l(text, end, c);
}

std::string NumberText(double value, std::chars_format format, int precision)
{
	// Room for the widest: a sign, 309 digits, a point, the decimals (or an exponent).
	std::string text(320 + static_cast<std::size_t>(precision < 0 ? 17 : precision), '\0');
	const std::to_chars_result r = std::to_chars(&text[0], &text[0] + text.size(), value, format, precision);
	text.resize(static_cast<std::size_t>(r.ptr - text.data()));
	return text;
}

} // namespace vhost
