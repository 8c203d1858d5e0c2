// Finding the end of a text line: the first carriage return or line feed. Sixteen bytes a step
// with SSE2 or NEON where the compiler offers them, eight bytes a step elsewhere.
#ifndef VELMORA_LINEEND_HPP
#define VELMORA_LINEEND_HPP

#include <cstdint>
#include <cstring>

#if defined(__SSE2__) || defined(_M_X64)
#include <emmintrin.h>
#define VELMORA_LINEEND_SSE2 1
#elif defined(__ARM_NEON) || defined(_M_ARM64)
#include <arm_neon.h>
#define VELMORA_LINEEND_NEON 1
#endif

namespace LineEndSearch {

// Index of the lowest set bit of a nonzero value.
inline unsigned LowestBit(std::uint64_t bits)
{
#if defined(__GNUC__) || defined(__clang__)
	return static_cast<unsigned>(__builtin_ctzll(bits));
#else
	unsigned n = 0;
	for (; !(bits & 1u); bits >>= 1) ++n;
	return n;
#endif
}

// The first CR or LF in [p, end), or end. Reads nothing at or after end.
inline const char* Find(const char* p, const char* end)
{
#if defined(VELMORA_LINEEND_SSE2)
	const __m128i lf = _mm_set1_epi8('\n'), cr = _mm_set1_epi8('\r');
	for (; end - p >= 16; p += 16) {
		const __m128i v = _mm_loadu_si128(reinterpret_cast<const __m128i*>(p));
		const int mask = _mm_movemask_epi8(_mm_or_si128(_mm_cmpeq_epi8(v, lf), _mm_cmpeq_epi8(v, cr)));
		if (mask != 0) return p + LowestBit(static_cast<std::uint32_t>(mask));
	}
#elif defined(VELMORA_LINEEND_NEON)
	for (; end - p >= 16; p += 16) {
		const uint8x16_t v = vld1q_u8(reinterpret_cast<const std::uint8_t*>(p));
		const uint8x16_t hit = vorrq_u8(vceqq_u8(v, vdupq_n_u8('\n')), vceqq_u8(v, vdupq_n_u8('\r')));
		// Four bits per byte: narrowing each 16-bit lane by 4 keeps the order.
		const std::uint64_t bits = vget_lane_u64(vreinterpret_u64_u8(vshrn_n_u16(vreinterpretq_u16_u8(hit), 4)), 0);
		if (bits != 0) return p + LowestBit(bits) / 4;
	}
#endif
	// Eight bytes a step: a byte that equals LF or CR becomes zero, and the lowest zero byte
	// is found exactly (only bytes above it may be marked wrongly).
	constexpr std::uint64_t Ones = 0x0101010101010101u, Highs = Ones << 7;
	const std::uint16_t probe = 1;
	std::uint8_t low;
	std::memcpy(&low, &probe, 1);
	if (low == 1) {   // little-endian
		for (; end - p >= 8; p += 8) {
			std::uint64_t word;
			std::memcpy(&word, p, 8);
			const std::uint64_t lf = word ^ (Ones * '\n'), cr = word ^ (Ones * '\r');
			const std::uint64_t marks = (((lf - Ones) & ~lf) | ((cr - Ones) & ~cr)) & Highs;
			if (marks != 0) return p + LowestBit(marks) / 8;
		}
	}
	while (p < end && *p != '\n' && *p != '\r') ++p;
	return p;
}

} // namespace LineEndSearch

#endif
