#include "UniString.hpp"

#include "vhost/Text.hpp"

#include <algorithm>
#include <cstdio>
#include <cstring>
#include <vector>

namespace GS {

const UniString EmptyUniString;

static_assert(sizeof(UniString) <= 32, "a text of up to 14 units is held in the object's 32 bytes");

void UniString::Storage::Reserve(USize count)
{
	if (count <= Capacity()) return;
	const USize capacity = std::max(count, 2 * Capacity());
	UniChar* units = new UniChar[capacity + 1];
	const USize n = size();
	std::memcpy(units, data(), (n + 1) * sizeof(UniChar));
	Free();
	SetHeap(units, n, capacity);
}

void UniString::Storage::Assign(const UniChar* units, USize count)
{
	if (count > Capacity()) {
		Storage fresh;   // units may lie inside this text
		fresh.Reserve(count);
		std::memcpy(fresh.data(), units, count * sizeof(UniChar));
		fresh.SetSize(count);
		*this = std::move(fresh);
		return;
	}
	if (count != 0) std::memmove(data(), units, count * sizeof(UniChar));
	SetSize(count);
}

void UniString::Storage::resize(USize count)
{
	const USize n = size();
	Reserve(count);
	if (count > n) std::fill(data() + n, data() + count, UniChar(0));
	SetSize(count);
}

void UniString::Storage::Append(const UniChar* units, USize count)
{
	const USize n = size();
	if (n + count > Capacity()) {
		const std::u16string copy(units, count);   // units may lie inside this text
		Reserve(n + count);
		std::memcpy(data() + n, copy.data(), count * sizeof(UniChar));
	} else if (count != 0) {
		std::memmove(data() + n, units, count * sizeof(UniChar));
	}
	SetSize(n + count);
}

void UniString::Storage::Replace(USize pos, USize count, std::u16string_view with)
{
	std::u16string text(View());
	text.replace(pos, count, with);   // throws std::out_of_range for a position past the end
	Assign(text.data(), text.size());
}

namespace {

constexpr char32_t Replacement = 0xFFFD;

void AppendCodePoint(std::u16string& out, char32_t cp)
{
	if (cp < 0x10000) {
		out += static_cast<char16_t>(cp);
	} else {
		cp -= 0x10000;
		out += static_cast<char16_t>(0xD800 + (cp >> 10));
		out += static_cast<char16_t>(0xDC00 + (cp & 0x3FF));
	}
}

// Decodes one UTF-8 sequence at text[i]; answers the code point and advances i.
// Overlong forms, surrogates and values past U+10FFFF are invalid.
bool DecodeOne(const unsigned char* text, USize length, USize& i, char32_t& cp)
{
	const unsigned char lead = text[i];
	int extra;
	char32_t min;
	if (lead < 0x80) { cp = lead; ++i; return true; }
	if ((lead & 0xE0) == 0xC0) { extra = 1; cp = lead & 0x1F; min = 0x80; }
	else if ((lead & 0xF0) == 0xE0) { extra = 2; cp = lead & 0x0F; min = 0x800; }
	else if ((lead & 0xF8) == 0xF0) { extra = 3; cp = lead & 0x07; min = 0x10000; }
	else { ++i; return false; }
	USize j = i + 1;
	for (int k = 0; k < extra; ++k, ++j) {
		if (j >= length || (text[j] & 0xC0) != 0x80) { i = j; return false; }
		cp = (cp << 6) | (text[j] & 0x3F);
	}
	i = j;
	return cp >= min && cp <= 0x10FFFF && !(cp >= 0xD800 && cp <= 0xDFFF);
}

bool IsSpace(UniChar c)
{
	return c == ' ' || c == '\t' || c == '\r' || c == '\n' || c == '\v' || c == '\f' || c == 0xA0;
}

UniChar ToUpper(UniChar c)
{
	if (c >= 'a' && c <= 'z') return static_cast<UniChar>(c - 32);
	if ((c >= 0xE0 && c <= 0xFE && c != 0xF7)) return static_cast<UniChar>(c - 32);
	if (c == 0xFF) return 0x178;
	if (c >= 0x100 && c <= 0x17F && c != 0x131 && c != 0x138 && c != 0x149 && c != 0x17F) {
		const bool oddUpper = (c >= 0x139 && c <= 0x148) || (c >= 0x179 && c <= 0x17E);
		if (oddUpper ? (c % 2 == 0) : (c % 2 == 1)) return static_cast<UniChar>(c - 1);
	}
	return c;
}

UniChar ToLower(UniChar c)
{
	if (c >= 'A' && c <= 'Z') return static_cast<UniChar>(c + 32);
	if ((c >= 0xC0 && c <= 0xDE && c != 0xD7)) return static_cast<UniChar>(c + 32);
	if (c == 0x178) return 0xFF;
	if (c >= 0x100 && c <= 0x17F && c != 0x130 && c != 0x138 && c != 0x149 && c != 0x17F) {
		const bool oddUpper = (c >= 0x139 && c <= 0x148) || (c >= 0x179 && c <= 0x17E);
		if (oddUpper ? (c % 2 == 1) : (c % 2 == 0)) return static_cast<UniChar>(c + 1);
	}
	return c;
}

std::u16string Folded(std::u16string_view s, CaseComparison cmp)
{
	if (cmp == CaseSensitive) return std::u16string(s);
	std::u16string r(s);
	for (auto& c : r) c = ToLower(c);
	return r;
}

} // namespace
} // namespace GS

namespace vhost {

using GS::AppendCodePoint;
using GS::DecodeOne;
using GS::Replacement;

bool Utf8ToUtf16(const char* text, USize length, std::u16string& out)
{
	const auto* bytes = reinterpret_cast<const unsigned char*>(text);
	bool valid = true;
	out.clear();
	out.reserve(length);
	for (USize i = 0; i < length;) {
		char32_t cp = 0;
		if (!DecodeOne(bytes, length, i, cp)) { valid = false; cp = Replacement; }
		AppendCodePoint(out, cp);
	}
	return valid;
}

bool IsValidUtf8(const char* text, USize length)
{
	const auto* bytes = reinterpret_cast<const unsigned char*>(text);
	for (USize i = 0; i < length;) {
		if (bytes[i] < 0x80) { ++i; continue; } // most text is ASCII
		char32_t cp = 0;
		if (!DecodeOne(bytes, length, i, cp)) return false;
	}
	return true;
}

std::string ValidUtf8(std::string_view text)
{
	const auto* bytes = reinterpret_cast<const unsigned char*>(text.data());
	std::string out;
	out.reserve(text.size());
	for (USize i = 0; i < text.size();) {
		const USize from = i;
		char32_t cp = 0;
		if (DecodeOne(bytes, text.size(), i, cp)) out.append(text.substr(from, i - from));
		else out += "\xEF\xBF\xBD";
	}
	return out;
}

std::string Utf16ToUtf8(const std::u16string& units)
{
	std::string out;
	out.reserve(units.size());
	for (USize i = 0; i < units.size(); ++i) {
		char32_t cp = units[i];
		if (cp >= 0xD800 && cp <= 0xDBFF && i + 1 < units.size() && units[i + 1] >= 0xDC00 && units[i + 1] <= 0xDFFF) {
			cp = 0x10000 + ((cp - 0xD800) << 10) + (units[i + 1] - 0xDC00);
			++i;
		} else if (cp >= 0xD800 && cp <= 0xDFFF) {
			cp = Replacement; // a lone surrogate has no UTF-8 form
		}
		if (cp < 0x80) {
			out += static_cast<char>(cp);
		} else if (cp < 0x800) {
			out += static_cast<char>(0xC0 | (cp >> 6));
			out += static_cast<char>(0x80 | (cp & 0x3F));
		} else if (cp < 0x10000) {
			out += static_cast<char>(0xE0 | (cp >> 12));
			out += static_cast<char>(0x80 | ((cp >> 6) & 0x3F));
			out += static_cast<char>(0x80 | (cp & 0x3F));
		} else {
			out += static_cast<char>(0xF0 | (cp >> 18));
			out += static_cast<char>(0x80 | ((cp >> 12) & 0x3F));
			out += static_cast<char>(0x80 | ((cp >> 6) & 0x3F));
			out += static_cast<char>(0x80 | (cp & 0x3F));
		}
	}
	return out;
}

std::u16string Units(const GS::UniString& text) { return std::u16string(text.ToUStr(), text.GetLength()); }
GS::UniString FromUnits(const std::u16string& units) { return GS::UniString(units.data(), units.size()); }
std::string ToUtf8(const GS::UniString& text) { return Utf16ToUtf8(Units(text)); }
std::string PathOf(const IO::Location& location) { return ToUtf8(location.ToDisplayText()); }

} // namespace vhost

namespace GS {

using vhost::Utf16ToUtf8;
using vhost::Utf8ToUtf16;

UniString::UniString(const char* text, CharCode code)
{
	if (text == nullptr) return;
	const USize length = std::char_traits<char>::length(text);
	if (code == CC_Legacy) {
		for (USize i = 0; i < length; ++i) units_ += static_cast<UniChar>(static_cast<unsigned char>(text[i]));
	} else {
		std::u16string units;
		Utf8ToUtf16(text, length, units);
		units_.Assign(units.data(), units.size());
	}
}

UniString::UniString(const std::string& text, CharCode code)
{
	if (code == CC_Legacy) {
		for (char c : text) units_ += static_cast<UniChar>(static_cast<unsigned char>(c));
	} else {
		std::u16string units;
		Utf8ToUtf16(text.data(), text.size(), units);
		units_.Assign(units.data(), units.size());
	}
}

UniString::UniString(const UniChar* units)
{
	if (units != nullptr) units_.Assign(units, std::char_traits<UniChar>::length(units));
}

UniString::UniString(const UniChar* units, USize count) : units_(units, count) {}

UniString UniString::VPrintf(const char* format, va_list args)
{
	va_list copy;
	va_copy(copy, args);
	const int n = std::vsnprintf(nullptr, 0, format, copy);
	va_end(copy);
	if (n <= 0) return UniString();
	std::vector<char> buf(static_cast<USize>(n) + 1);
	std::vsnprintf(buf.data(), buf.size(), format, args);
	return UniString(std::string(buf.data(), static_cast<USize>(n)));
}

UniString UniString::Printf(const char* format, ...)
{
	va_list args;
	va_start(args, format);
	UniString s = VPrintf(format, args);
	va_end(args);
	return s;
}

void UniString::SPrintf(const char* format, ...)
{
	va_list args;
	va_start(args, format);
	*this = VPrintf(format, args);
	va_end(args);
}

UniString::CStr UniString::ToCStr(CharCode code) const
{
	if (code != CC_Legacy) return CStr(vhost::ToUtf8(*this));
	std::string out;
	for (UniChar c : units_) out += c < 0x100 ? static_cast<char>(c) : '?';
	return CStr(out);
}

bool UniString::IsEqual(const UniString& other, CaseComparison cmp) const
{
	return Compare(other, cmp) == 0;
}

int UniString::Compare(const UniString& other, CaseComparison cmp) const
{
	return Folded(units_.View(), cmp).compare(Folded(other.units_.View(), cmp));
}

USize UniString::FindFirst(const UniString& what, USize from, CaseComparison cmp) const
{
	const auto pos = Folded(units_.View(), cmp).find(Folded(what.units_.View(), cmp), from);
	return pos == std::u16string::npos ? MaxLength : pos;
}

USize UniString::FindFirst(UniChar c, USize from) const
{
	const auto pos = units_.View().find(c, from);
	return pos == std::u16string::npos ? MaxLength : pos;
}

USize UniString::FindLast(const UniString& what, CaseComparison cmp) const
{
	const auto pos = Folded(units_.View(), cmp).rfind(Folded(what.units_.View(), cmp));
	return pos == std::u16string::npos ? MaxLength : pos;
}

USize UniString::FindLast(UniChar c) const
{
	const auto pos = units_.View().rfind(c);
	return pos == std::u16string::npos ? MaxLength : pos;
}

bool UniString::Contains(const UniString& what, CaseComparison cmp) const
{
	return FindFirst(what, 0, cmp) != MaxLength;
}

bool UniString::BeginsWith(const UniString& what, CaseComparison cmp) const
{
	return what.GetLength() <= GetLength() && GetPrefix(what.GetLength()).IsEqual(what, cmp);
}

bool UniString::EndsWith(const UniString& what, CaseComparison cmp) const
{
	return what.GetLength() <= GetLength() && GetSuffix(what.GetLength()).IsEqual(what, cmp);
}

UniString UniString::GetSubstring(USize from, USize count) const
{
	if (from >= units_.size()) return UniString();
	const std::u16string_view part = units_.View().substr(from, count);
	return UniString(part.data(), part.size());
}

UniString UniString::GetSuffix(USize count) const
{
	if (count >= units_.size()) return *this;
	const std::u16string_view part = units_.View().substr(units_.size() - count);
	return UniString(part.data(), part.size());
}

USize UniString::ReplaceAll(const UniString& what, const UniString& with)
{
	if (what.IsEmpty()) return 0;
	USize n = 0;
	for (USize pos = units_.View().find(what.units_.View()); pos != std::u16string::npos;
	     pos = units_.View().find(what.units_.View(), pos + with.GetLength())) {
		units_.Replace(pos, what.GetLength(), with.units_.View());
		++n;
	}
	return n;
}

UniString& UniString::SetToUpperCase()
{
	for (auto& c : units_) c = ToUpper(c);
	return *this;
}

UniString& UniString::SetToLowerCase()
{
	for (auto& c : units_) c = ToLower(c);
	return *this;
}

UniString& UniString::TrimLeft()
{
	USize i = 0;
	while (i < units_.size() && IsSpace(units_.at(i))) ++i;
	units_.Replace(0, i, {});
	return *this;
}

UniString& UniString::TrimRight()
{
	USize n = units_.size();
	while (n > 0 && IsSpace(units_.at(n - 1))) --n;
	units_.resize(n);
	return *this;
}

UniString& UniString::Trim() { return TrimRight().TrimLeft(); }

} // namespace GS
