#include "Gdl/GdlText.hpp"

#include <cmath>
#include <cstdint>
#include <cstdio>
#include <cstring>

#include "GSRoot.hpp"

namespace {

using U128 = unsigned __int128;

constexpr std::uint64_t kScale = 1000000; // six decimals
constexpr int kMaxShiftLeft = 54;         // m * 10^6 * 2^54 < 2^127 for m < 2^53
constexpr int kZeroShift = 100;           // m * 10^6 < 2^73, below half of 2^100: rounds to 0

// Writes the digits of v (at least `minDigits`, zero-padded) ending just before `end`;
// answers the first digit's position.
char* DigitsBefore(char* end, U128 v, int minDigits)
{
	char* p = end;
	while (v >= (U128(1) << 64)) {
		*--p = static_cast<char>('0' + static_cast<int>(v % 10));
		v /= 10;
		--minDigits;
	}
	auto small = static_cast<std::uint64_t>(v);
	do {
		*--p = static_cast<char>('0' + static_cast<int>(small % 10));
		small /= 10;
		--minDigits;
	} while (small != 0 || minDigits > 0);
	return p;
}

// |v| * 10^6 rounded half to even, from v = m * 2^e; false when it does not fit the exact path.
bool ScaledMagnitude(double v, U128& q)
{
	std::uint64_t bits;
	std::memcpy(&bits, &v, sizeof bits);
	const int biased = static_cast<int>((bits >> 52) & 0x7FF);
	const std::uint64_t fraction = bits & ((std::uint64_t(1) << 52) - 1);
	const std::uint64_t m = biased == 0 ? fraction : fraction | (std::uint64_t(1) << 52);
	const int e = biased == 0 ? -1074 : biased - 1075;
	const U128 p = U128(m) * kScale;
	if (m == 0 || e <= -kZeroShift) {
		q = 0;
		return true;
	}
	if (e >= 0) {
		if (e > kMaxShiftLeft) return false;
		q = p << e;
		return true;
	}
	const int s = -e;
	q = p >> s;
	const U128 rest = p - (q << s), half = U128(1) << (s - 1);
	if (rest > half || (rest == half && (q & 1) != 0)) ++q;
	return true;
}

} // namespace

void AppendFixed(std::string& out, double v)
{
	U128 q = 0;
	if (!std::isfinite(v) || !ScaledMagnitude(v, q)) {
		// Infinities, NaN and magnitudes from 2^107 on: rare enough for the C library.
		char buffer[400];
		const int n = std::snprintf(buffer, sizeof buffer, "%f", v);
		if (n > 0) out.append(buffer, static_cast<std::size_t>(n) < sizeof buffer ? static_cast<std::size_t>(n) : sizeof buffer - 1);
		return;
	}
	char buffer[48];
	char* const end = buffer + sizeof buffer;
	char* p = DigitsBefore(end, q % kScale, 6);
	*--p = '.';
	p = DigitsBefore(p, q / kScale, 1);
	if (std::signbit(v)) *--p = '-';
	out.append(p, static_cast<std::size_t>(end - p));
}

void AppendInt(std::string& out, long long v)
{
	char buffer[24];
	char* const end = buffer + sizeof buffer;
	const bool negative = v < 0;
	const unsigned long long bits = static_cast<unsigned long long>(v);
	char* p = DigitsBefore(end, negative ? 0ull - bits : bits, 1);
	if (negative) *--p = '-';
	out.append(p, static_cast<std::size_t>(end - p));
}

void ScriptText::EndRow() { text_ += GS_EOL; }
