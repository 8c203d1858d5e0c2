#include "Helpers/DxfText.hpp"

#include <cstddef>
#include <cstdint>

namespace {

struct CodePage {
	const char* name;
	char16_t units[128];
};

constexpr CodePage kCodePages[] = {
#include "Helpers/DxfCodePages.inc"
};

constexpr char16_t kReplacement = 0xFFFD;
constexpr int kFirstUtf8Version = 1021;   // AC1021: the first version written in UTF-8

char Upper(char c) { return c >= 'a' && c <= 'z' ? static_cast<char>(c - 'a' + 'A') : c; }

bool SameName(std::string_view a, const char* b)
{
	std::size_t i = 0;
	for (; i < a.size() && b[i] != 0; ++i)
		if (Upper(a[i]) != Upper(b[i])) return false;
	return i == a.size() && b[i] == 0;
}

// The version number of "ACnnnn", or -1.
int VersionNumber(std::string_view version)
{
	if (version.size() < 3 || version.size() > 8 || version.substr(0, 2) != "AC") return -1;
	int number = 0;
	for (const char c : version.substr(2)) {
		if (c < '0' || c > '9') return -1;
		number = number * 10 + (c - '0');
	}
	return number;
}

const char16_t* PageUnits(std::string_view codePage)
{
	if (codePage.empty()) codePage = "ANSI_1252";
	for (const CodePage& page : kCodePages)
		if (SameName(codePage, page.name)) return page.units;
	return nullptr;
}

int HexDigit(char c)
{
	if (c >= '0' && c <= '9') return c - '0';
	if (c >= 'A' && c <= 'F') return c - 'A' + 10;
	if (c >= 'a' && c <= 'f') return c - 'a' + 10;
	return -1;
}

// "\U+XXXX" at bytes[i]: its unit, or -1.
long Escape(std::string_view bytes, std::size_t i)
{
	if (bytes.size() - i < 7 || bytes[i] != '\\' || (bytes[i + 1] != 'U' && bytes[i + 1] != 'u') || bytes[i + 2] != '+')
		return -1;
	long unit = 0;
	for (std::size_t k = i + 3; k < i + 7; ++k) {
		const int digit = HexDigit(bytes[k]);
		if (digit < 0) return -1;
		unit = unit * 16 + digit;
	}
	return unit;
}

void AppendCodePoint(std::u16string& out, std::uint32_t cp)
{
	if (cp >= 0x10000) {
		cp -= 0x10000;
		out += static_cast<char16_t>(0xD800 + (cp >> 10));
		out += static_cast<char16_t>(0xDC00 + (cp & 0x3FF));
	} else {
		out += static_cast<char16_t>(cp);
	}
}

// One UTF-8 sequence at bytes[i]: its code point and length, or length = the maximal
// invalid part (at least 1) with ok false.
struct Utf8Step {
	std::uint32_t cp = 0;
	std::size_t length = 1;
	bool ok = false;
};

Utf8Step Utf8At(std::string_view bytes, std::size_t i)
{
	const auto at = [&](std::size_t k) { return static_cast<unsigned char>(bytes[k]); };
	const unsigned char lead = at(i);
	Utf8Step step;
	if (lead < 0x80) return {lead, 1, true};
	std::size_t need;
	unsigned char low = 0x80, high = 0xBF;   // bounds of the second byte
	if (lead >= 0xC2 && lead <= 0xDF) need = 1;
	else if (lead >= 0xE0 && lead <= 0xEF) {
		need = 2;
		if (lead == 0xE0) low = 0xA0;
		if (lead == 0xED) high = 0x9F;       // no surrogates
	} else if (lead >= 0xF0 && lead <= 0xF4) {
		need = 3;
		if (lead == 0xF0) low = 0x90;
		if (lead == 0xF4) high = 0x8F;       // nothing above U+10FFFF
	} else {
		return step;
	}
	std::uint32_t cp = lead & (0x3F >> need);
	for (std::size_t k = 1; k <= need; ++k) {
		if (i + k >= bytes.size()) return {0, k, false};
		const unsigned char c = at(i + k);
		const bool fits = k == 1 ? c >= low && c <= high : c >= 0x80 && c <= 0xBF;
		if (!fits) return {0, k, false};
		cp = (cp << 6) | (c & 0x3F);
	}
	return {cp, need + 1, true};
}

bool ValidUtf8(std::string_view bytes)
{
	for (std::size_t i = 0; i < bytes.size();) {
		const Utf8Step step = Utf8At(bytes, i);
		if (!step.ok) return false;
		i += step.length;
	}
	return true;
}

} // namespace

DxfEncoding DxfTextEncoding(std::string_view acadVersion, std::string_view codePage)
{
	const int version = VersionNumber(acadVersion);
	if (version >= kFirstUtf8Version) return {};
	return {version < 0 ? DxfEncoding::Utf8WhenValid : DxfEncoding::CodePage, PageUnits(codePage)};
}

std::u16string DecodeDxfText(std::string_view bytes, const DxfEncoding& encoding)
{
	const bool utf8 = encoding.kind == DxfEncoding::Utf8 || (encoding.kind == DxfEncoding::Utf8WhenValid && ValidUtf8(bytes));
	std::u16string out;
	out.reserve(bytes.size());
	for (std::size_t i = 0; i < bytes.size();) {
		const long unit = Escape(bytes, i);
		if (unit >= 0) {
			out += unit >= 0xD800 && unit <= 0xDFFF ? kReplacement : static_cast<char16_t>(unit);
			i += 7;
			continue;
		}
		const unsigned char byte = static_cast<unsigned char>(bytes[i]);
		if (byte < 0x80) {
			out += static_cast<char16_t>(byte);
			++i;
		} else if (!utf8) {
			out += encoding.page != nullptr ? encoding.page[byte - 0x80] : kReplacement;
			++i;
		} else {
			const Utf8Step step = Utf8At(bytes, i);
			AppendCodePoint(out, step.ok ? step.cp : kReplacement);
			i += step.length;
		}
	}
	return out;
}
