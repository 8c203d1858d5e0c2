#include "StrConvert.hpp"

namespace {

int HexDigit(char c)
{
	if (c >= '0' && c <= '9') return c - '0';
	if (c >= 'A' && c <= 'F') return c - 'A' + 10;
	if (c >= 'a' && c <= 'f') return c - 'a' + 10;
	return -1;
}

} // namespace

void utf8_to_base16(const char* src, char* dst)
{
	static const char digits[] = "0123456789ABCDEF";
	for (; *src != 0; ++src) {
		const auto byte = static_cast<unsigned char>(*src);
		*dst++ = digits[byte >> 4];
		*dst++ = digits[byte & 0x0F];
	}
	*dst = 0;
}

void base16_to_utf8(const char* src, char* dst)
{
	for (; src[0] != 0 && src[1] != 0; src += 2) {
		const int hi = HexDigit(src[0]);
		const int lo = HexDigit(src[1]);
		if (hi < 0 || lo < 0) break;
		*dst++ = static_cast<char>(hi * 16 + lo);
	}
	*dst = 0;
}
