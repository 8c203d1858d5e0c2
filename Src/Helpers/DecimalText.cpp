#include "DecimalText.hpp"

#include <algorithm>
#include <cstdint>
#include <cstring>

namespace DecimalText {

namespace {

#if defined(__BYTE_ORDER__) && __BYTE_ORDER__ != __ORDER_LITTLE_ENDIAN__
constexpr bool LittleEndian = false;
#else
constexpr bool LittleEndian = true;
#endif

bool IsDigit(char c) { return c >= '0' && c <= '9'; }

// Index of the lowest byte whose high bit is set in a nonzero mask.
std::size_t FirstMarked(uint64_t mask)
{
#if defined(__GNUC__)
	return static_cast<std::size_t>(__builtin_ctzll(mask)) / 8;
#else
	std::size_t n = 0;
	for (; !(mask & 0x80); mask >>= 8) ++n;
	return n;
#endif
}

int LeadingZeros(uint64_t v)
{
#if defined(__GNUC__)
	return __builtin_clzll(v);
#else
	int n = 0;
	for (; !(v >> 63); v <<= 1) ++n;
	return n;
#endif
}

// The digits that begin the eight bytes at p, at most most of them, appended to value;
// answers their count. Byte arithmetic on one word: no branch per digit.
inline std::size_t TakeDigitWord(const char* p, std::size_t most, uint64_t& value)
{
	static constexpr uint64_t Scale[] = {1, 10, 100, 1000, 10000, 100000, 1000000, 10000000, 100000000};
	constexpr uint64_t Ones = 0x0101010101010101u, Highs = Ones << 7, Pairs = 0x000000FF000000FFu;
	uint64_t word;
	std::memcpy(&word, p, 8);
	uint64_t t = word - Ones * '0';
	// Bytes that are no digit get their high bit; bytes above the first one may be wrong.
	const uint64_t marks = ((t + Ones * 0x76) | t) & Highs;
	const std::size_t count = std::min<std::size_t>(marks ? FirstMarked(marks) : 8, most);
	if (count == 0) return 0;
	t <<= 8 * (8 - count);          // drop what follows; zero bytes lead
	t = t * 10 + (t >> 8);          // byte pairs to 0..99
	t = ((t & Pairs) * (100 + (1000000ull << 32)) + ((t >> 16) & Pairs) * (1 + (10000ull << 32))) >> 32;
	value = value * Scale[count] + (t & 0xFFFFFFFFu);
	return count;
}

// Appends the digits from p up to stop (within the text that ends at end) to value, wrapping
// beyond 19 digits; answers the first character not taken.
inline const char* TakeDigits(const char* p, const char* stop, const char* end, uint64_t& value)
{
	while (LittleEndian && end - p >= 8 && p != stop) {
		const std::size_t count = TakeDigitWord(p, static_cast<std::size_t>(stop - p), value);
		p += count;
		if (count < 8) return p;
	}
	for (; p != stop && IsDigit(*p); ++p) value = value * 10 + static_cast<uint64_t>(*p - '0');
	return p;
}

struct U128 {
	uint64_t high, low;
};

U128 Multiply(uint64_t a, uint64_t b)
{
#if defined(__SIZEOF_INT128__)
	const unsigned __int128 r = static_cast<unsigned __int128>(a) * b;
	return {static_cast<uint64_t>(r >> 64), static_cast<uint64_t>(r)};
#else
	const uint64_t aLow = a & 0xFFFFFFFFu, aHigh = a >> 32, bLow = b & 0xFFFFFFFFu, bHigh = b >> 32;
	const uint64_t ll = aLow * bLow, lh = aLow * bHigh, hl = aHigh * bLow, hh = aHigh * bHigh;
	const uint64_t middle = (ll >> 32) + (lh & 0xFFFFFFFFu) + (hl & 0xFFFFFFFFu);
	return {hh + (lh >> 32) + (hl >> 32) + (middle >> 32), (middle << 32) | (ll & 0xFFFFFFFFu)};
#endif
}

// 5^q scaled to 128 bits (high word first): truncated for q >= 0, rounded up for q < 0.
constexpr int SmallestPower = -40, LargestPower = 40;
constexpr uint64_t PowersOfFive[][2] = {
	{0x8b61313bbabce2c6u, 0x2323ac4b3b3da015u},   // 5^-40
	{0xae397d8aa96c1b77u, 0xabec975e0a0d081au},   // 5^-39
	{0xd9c7dced53c72255u, 0x96e7bd358c904a21u},   // 5^-38
	{0x881cea14545c7575u, 0x7e50d64177da2e54u},   // 5^-37
	{0xaa242499697392d2u, 0xdde50bd1d5d0b9e9u},   // 5^-36
	{0xd4ad2dbfc3d07787u, 0x955e4ec64b44e864u},   // 5^-35
	{0x84ec3c97da624ab4u, 0xbd5af13bef0b113eu},   // 5^-34
	{0xa6274bbdd0fadd61u, 0xecb1ad8aeacdd58eu},   // 5^-33
	{0xcfb11ead453994bau, 0x67de18eda5814af2u},   // 5^-32
	{0x81ceb32c4b43fcf4u, 0x80eacf948770ced7u},   // 5^-31
	{0xa2425ff75e14fc31u, 0xa1258379a94d028du},   // 5^-30
	{0xcad2f7f5359a3b3eu, 0x096ee45813a04330u},   // 5^-29
	{0xfd87b5f28300ca0du, 0x8bca9d6e188853fcu},   // 5^-28
	{0x9e74d1b791e07e48u, 0x775ea264cf55347eu},   // 5^-27
	{0xc612062576589ddau, 0x95364afe032a819eu},   // 5^-26
	{0xf79687aed3eec551u, 0x3a83ddbd83f52205u},   // 5^-25
	{0x9abe14cd44753b52u, 0xc4926a9672793543u},   // 5^-24
	{0xc16d9a0095928a27u, 0x75b7053c0f178294u},   // 5^-23
	{0xf1c90080baf72cb1u, 0x5324c68b12dd6339u},   // 5^-22
	{0x971da05074da7beeu, 0xd3f6fc16ebca5e04u},   // 5^-21
	{0xbce5086492111aeau, 0x88f4bb1ca6bcf585u},   // 5^-20
	{0xec1e4a7db69561a5u, 0x2b31e9e3d06c32e6u},   // 5^-19
	{0x9392ee8e921d5d07u, 0x3aff322e62439fd0u},   // 5^-18
	{0xb877aa3236a4b449u, 0x09befeb9fad487c3u},   // 5^-17
	{0xe69594bec44de15bu, 0x4c2ebe687989a9b4u},   // 5^-16
	{0x901d7cf73ab0acd9u, 0x0f9d37014bf60a11u},   // 5^-15
	{0xb424dc35095cd80fu, 0x538484c19ef38c95u},   // 5^-14
	{0xe12e13424bb40e13u, 0x2865a5f206b06fbau},   // 5^-13
	{0x8cbccc096f5088cbu, 0xf93f87b7442e45d4u},   // 5^-12
	{0xafebff0bcb24aafeu, 0xf78f69a51539d749u},   // 5^-11
	{0xdbe6fecebdedd5beu, 0xb573440e5a884d1cu},   // 5^-10
	{0x89705f4136b4a597u, 0x31680a88f8953031u},   // 5^-9
	{0xabcc77118461cefcu, 0xfdc20d2b36ba7c3eu},   // 5^-8
	{0xd6bf94d5e57a42bcu, 0x3d32907604691b4du},   // 5^-7
	{0x8637bd05af6c69b5u, 0xa63f9a49c2c1b110u},   // 5^-6
	{0xa7c5ac471b478423u, 0x0fcf80dc33721d54u},   // 5^-5
	{0xd1b71758e219652bu, 0xd3c36113404ea4a9u},   // 5^-4
	{0x83126e978d4fdf3bu, 0x645a1cac083126eau},   // 5^-3
	{0xa3d70a3d70a3d70au, 0x3d70a3d70a3d70a4u},   // 5^-2
	{0xccccccccccccccccu, 0xcccccccccccccccdu},   // 5^-1
	{0x8000000000000000u, 0x0000000000000000u},   // 5^0
	{0xa000000000000000u, 0x0000000000000000u},   // 5^1
	{0xc800000000000000u, 0x0000000000000000u},   // 5^2
	{0xfa00000000000000u, 0x0000000000000000u},   // 5^3
	{0x9c40000000000000u, 0x0000000000000000u},   // 5^4
	{0xc350000000000000u, 0x0000000000000000u},   // 5^5
	{0xf424000000000000u, 0x0000000000000000u},   // 5^6
	{0x9896800000000000u, 0x0000000000000000u},   // 5^7
	{0xbebc200000000000u, 0x0000000000000000u},   // 5^8
	{0xee6b280000000000u, 0x0000000000000000u},   // 5^9
	{0x9502f90000000000u, 0x0000000000000000u},   // 5^10
	{0xba43b74000000000u, 0x0000000000000000u},   // 5^11
	{0xe8d4a51000000000u, 0x0000000000000000u},   // 5^12
	{0x9184e72a00000000u, 0x0000000000000000u},   // 5^13
	{0xb5e620f480000000u, 0x0000000000000000u},   // 5^14
	{0xe35fa931a0000000u, 0x0000000000000000u},   // 5^15
	{0x8e1bc9bf04000000u, 0x0000000000000000u},   // 5^16
	{0xb1a2bc2ec5000000u, 0x0000000000000000u},   // 5^17
	{0xde0b6b3a76400000u, 0x0000000000000000u},   // 5^18
	{0x8ac7230489e80000u, 0x0000000000000000u},   // 5^19
	{0xad78ebc5ac620000u, 0x0000000000000000u},   // 5^20
	{0xd8d726b7177a8000u, 0x0000000000000000u},   // 5^21
	{0x878678326eac9000u, 0x0000000000000000u},   // 5^22
	{0xa968163f0a57b400u, 0x0000000000000000u},   // 5^23
	{0xd3c21bcecceda100u, 0x0000000000000000u},   // 5^24
	{0x84595161401484a0u, 0x0000000000000000u},   // 5^25
	{0xa56fa5b99019a5c8u, 0x0000000000000000u},   // 5^26
	{0xcecb8f27f4200f3au, 0x0000000000000000u},   // 5^27
	{0x813f3978f8940984u, 0x4000000000000000u},   // 5^28
	{0xa18f07d736b90be5u, 0x5000000000000000u},   // 5^29
	{0xc9f2c9cd04674edeu, 0xa400000000000000u},   // 5^30
	{0xfc6f7c4045812296u, 0x4d00000000000000u},   // 5^31
	{0x9dc5ada82b70b59du, 0xf020000000000000u},   // 5^32
	{0xc5371912364ce305u, 0x6c28000000000000u},   // 5^33
	{0xf684df56c3e01bc6u, 0xc732000000000000u},   // 5^34
	{0x9a130b963a6c115cu, 0x3c7f400000000000u},   // 5^35
	{0xc097ce7bc90715b3u, 0x4b9f100000000000u},   // 5^36
	{0xf0bdc21abb48db20u, 0x1e86d40000000000u},   // 5^37
	{0x96769950b50d88f4u, 0x1314448000000000u},   // 5^38
	{0xbc143fa4e250eb31u, 0x17d955a000000000u},   // 5^39
	{0xeb194f8e1ae525fdu, 0x5dcfab0800000000u},   // 5^40
};

// The nearest double to w * 10^q (w nonzero, q within the table), ties to even: the
// Eisel-Lemire method, a 128-bit product with the scaled power of five.
double Scale(uint64_t w, int q)
{
	constexpr int MantissaBits = 52;
	const uint64_t* power = PowersOfFive[q - SmallestPower];
	const int zeros = LeadingZeros(w);
	w <<= zeros;
	U128 product = Multiply(w, power[0]);
	constexpr uint64_t Mask = ~uint64_t(0) >> (MantissaBits + 3);
	if ((product.high & Mask) == Mask) {   // the low bits may still carry into the kept ones
		const U128 next = Multiply(w, power[1]);
		product.low += next.high;
		if (next.high > product.low) ++product.high;
	}
	const int upper = static_cast<int>(product.high >> 63);
	const int shift = upper + 64 - MantissaBits - 3;
	uint64_t mantissa = product.high >> shift;
	// floor(q * log2(10)) + 63, then the double's exponent bias.
	int64_t power2 = ((static_cast<int64_t>(152170 + 65536) * q) >> 16) + 63 + upper - zeros + 1023;
	// A product that falls exactly between two doubles rounds to the even one; exact ties
	// need a small power of ten.
	if (product.low <= 1 && q >= -4 && q <= 23 && (mantissa & 3) == 1 && (mantissa << shift) == product.high)
		mantissa &= ~uint64_t(1);
	mantissa += mantissa & 1;
	mantissa >>= 1;
	if (mantissa >= (uint64_t(2) << MantissaBits)) {
		mantissa = uint64_t(1) << MantissaBits;
		++power2;
	}
	mantissa &= ~(uint64_t(1) << MantissaBits);
	const uint64_t bits = mantissa | (static_cast<uint64_t>(power2) << MantissaBits);
	double value;
	std::memcpy(&value, &bits, sizeof value);
	return value;
}

bool NonZero(char c) { return c != '0' && c != '.'; }

// Decimals of more than 19 digits, in the digits [first, point) and (point, end) where point
// is end when there is none: the first 19 significant digits w and the decimal exponent q
// that places them. inexact tells whether a nonzero digit was dropped.
void Significant(const char* first, const char* point, const char* end, uint64_t& w, int& q, bool& inexact)
{
	w = 0;
	const char* whole = first;
	while (whole != point && *whole == '0') ++whole;
	const char* fraction = point == end ? end : point + 1;
	const std::ptrdiff_t wholeDigits = point - whole;
	if (wholeDigits >= 19) {
		TakeDigits(whole, whole + 19, end, w);
		q = static_cast<int>(wholeDigits - 19);
		inexact = std::find_if(whole + 19, end, NonZero) != end;
		return;
	}
	TakeDigits(whole, point, end, w);
	q = 0;
	if (wholeDigits == 0) {   // the fraction's leading zeros only scale
		const char* const digits = std::find_if(fraction, end, NonZero);
		q = -static_cast<int>(digits - fraction);
		fraction = digits;
	}
	const std::ptrdiff_t take = std::min<std::ptrdiff_t>(19 - wholeDigits, end - fraction);
	TakeDigits(fraction, fraction + take, end, w);
	q -= static_cast<int>(take);
	inexact = std::find_if(fraction + take, end, NonZero) != end;
}

} // namespace

bool Parse(std::string_view text, double& value)
{
	static constexpr double Powers[] = {1e0,  1e1,  1e2,  1e3,  1e4,  1e5,  1e6,  1e7,  1e8,  1e9,  1e10, 1e11,
	                                    1e12, 1e13, 1e14, 1e15, 1e16, 1e17, 1e18, 1e19, 1e20, 1e21, 1e22};
	const char* p = text.data();
	const char* const end = p + text.size();
	const bool negative = p != end && *p == '-';
	const char* const first = p + negative;
	uint64_t digits = 0;            // wraps beyond 19 digits, and is then not used
	p = TakeDigits(first, end, end, digits);
	const char* const point = p;
	const std::ptrdiff_t whole = p - first;
	std::ptrdiff_t fraction = 0, beyond = 0;   // beyond: fraction digits after the 19th digit
	uint64_t dropped = 0;
	if (p != end && *p == '.') {
		const char* const part = ++p;
		// At most 19 digits in all go to digits; the rest are only checked.
		p = TakeDigits(p, part + std::clamp<std::ptrdiff_t>(19 - whole, 0, end - part), end, digits);
		fraction = p - part;
		const char* const more = p;
		p = TakeDigits(p, end, end, dropped);
		beyond = p - more;
		if (beyond > 19) dropped = std::find_if(more, p, NonZero) != p;   // dropped wrapped
	}
	const std::ptrdiff_t count = whole + fraction + beyond;
	if (p != end || count == 0) return false;
	double result;
	if (count <= 19 && digits <= (uint64_t(1) << 53) && fraction <= 22) {
		// Both exact as doubles: one correctly rounded division.
		result = static_cast<double>(digits) / Powers[fraction];
	} else if (count <= 19) {   // exact digits, too many for a double
		result = Scale(digits, -static_cast<int>(fraction));
	} else {
		uint64_t w = digits;
		int q = -static_cast<int>(fraction);
		bool inexact = dropped != 0;
		// The usual long decimal: 19 digits taken, the first of them significant.
		if (whole > 19 || *first == '0' || first == point) Significant(first, point, end, w, q, inexact);
		if (w == 0) {
			result = 0.0;
		} else {
			if (q < SmallestPower || q > LargestPower) return false;
			result = Scale(w, q);
			// The dropped digits lie between w and w + 1; both bounds must round alike.
			if (inexact && Scale(w + 1, q) != result) return false;
		}
	}
	value = negative ? -result : result;
	return true;
}

} // namespace DecimalText
