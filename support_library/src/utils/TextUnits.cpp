#include "utils/TextUnits.hpp"

namespace kivel {

namespace {

constexpr char16_t kReplacement = 0xFFFD;

// Decodes the sequence at text[i] and moves i past it (past the bad bytes on failure).
bool NextCodePoint(std::string_view text, std::size_t& i, char32_t& cp)
{
	const auto byte = [&text](std::size_t at) { return static_cast<unsigned char>(text[at]); };
	const unsigned char lead = byte(i++);
	if (lead < 0x80) { cp = lead; return true; }
	const int extra = (lead & 0xE0) == 0xC0 ? 1 : (lead & 0xF0) == 0xE0 ? 2 : (lead & 0xF8) == 0xF0 ? 3 : 0;
	if (extra == 0) return false;
	static constexpr char32_t kSmallest[] = {0, 0x80, 0x800, 0x10000};
	cp = lead & (0x3F >> extra);
	for (int k = 0; k < extra; ++k, ++i) {
		if (i >= text.size() || (byte(i) & 0xC0) != 0x80) return false;
		cp = (cp << 6) | (byte(i) & 0x3F);
	}
	return cp >= kSmallest[extra] && cp <= 0x10FFFF && (cp < 0xD800 || cp > 0xDFFF);
}

} // namespace

bool Utf8ToUtf16(std::string_view text, std::u16string& out)
{
	out.clear();
	out.reserve(text.size());
	bool valid = true;
	for (std::size_t i = 0; i < text.size();) {
		char32_t cp = 0;
		if (!NextCodePoint(text, i, cp)) {
			valid = false;
			out += kReplacement;
		} else if (cp < 0x10000) {
			out += static_cast<char16_t>(cp);
		} else {
			out += static_cast<char16_t>(0xD800 + ((cp - 0x10000) >> 10));
			out += static_cast<char16_t>(0xDC00 + ((cp - 0x10000) & 0x3FF));
		}
	}
	return valid;
}

bool IsValidUtf8(std::string_view text)
{
	char32_t cp = 0;
	for (std::size_t i = 0; i < text.size();)
		if (!NextCodePoint(text, i, cp)) return false;
	return true;
}

std::string Utf16ToUtf8(std::u16string_view units) { return ToUtf8(TextOfUnits(units)); }

std::u16string UnitsOf(const GS::UniString& text) { return std::u16string(text.ToUStr(), text.GetLength()); }

GS::UniString TextOfUnits(std::u16string_view units) { return GS::UniString(units.data(), units.size()); }

std::string ToUtf8(const GS::UniString& text) { return text.ToCStr(GS::CC_UTF8).Get(); }

} // namespace kivel
