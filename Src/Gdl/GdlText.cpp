#include "Gdl/GdlText.hpp"

#include <charconv>
#include <cmath>
#include <cstdint>

#include "GSRoot.hpp"

namespace {

using U128 = unsigned __int128;

constexpr std::uint64_t kScale = 1000000; // six decimals
constexpr int kMaxShiftLeft = 54;         // m * 10^6 * 2^54 < 2^127 for m < 2^53
constexpr int kZeroShift = 100;           // m * 10^6 < 2^73, below half of 2^100: rounds to 0
constexpr std::size_t kFastRoom = 48;     // digits of a value below 2^107, sign and point

constexpr char kPairs[] =
	"00010203040506070809101112131415161718192021222324252627282930313233343536373839"
	"40414243444546474849505152535455565758596061626364656667686970717273747576777879"
	"8081828384858687888990919293949596979899";

// Writes the digits of v (at least `minDigits`, zero-padded) ending just before `end`, two at
// a time; answers the first digit's position.
char* DigitsBefore(char* end, U128 v, int minDigits)
{
	char* p = end;
	while (v >= (U128(1) << 64)) {
		*--p = static_cast<char>('0' + static_cast<int>(v % 10));
		v /= 10;
		--minDigits;
	}
	auto small = static_cast<std::uint64_t>(v);
	while (small >= 100) {
		const std::size_t pair = static_cast<std::size_t>(small % 100) * 2;
		small /= 100;
		*--p = kPairs[pair + 1];
		*--p = kPairs[pair];
		minDigits -= 2;
	}
	if (small >= 10) {
		*--p = kPairs[small * 2 + 1];
		*--p = kPairs[small * 2];
		minDigits -= 2;
	} else {
		*--p = static_cast<char>('0' + small);
		--minDigits;
	}
	while (minDigits-- > 0) *--p = '0';
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

// Writes v as "%f" writes it into out (kFastRoom bytes) and answers the length; 0 when the
// value needs the library (infinities, NaN, magnitudes from 2^107 on).
std::size_t FixedInPlace(char* out, double v)
{
	U128 q = 0;
	if (!std::isfinite(v) || !ScaledMagnitude(v, q)) return 0;
	char buffer[kFastRoom];
	char* const end = buffer + sizeof buffer;
	// 64-bit division where the value allows (almost always): 128-bit division is a call.
	const bool narrow = q < (U128(1) << 64);
	const U128 whole = narrow ? U128(static_cast<std::uint64_t>(q) / kScale) : q / kScale;
	const std::uint64_t fraction = narrow ? static_cast<std::uint64_t>(q) % kScale : static_cast<std::uint64_t>(q % kScale);
	char* p = DigitsBefore(end, fraction, 6);
	*--p = '.';
	p = DigitsBefore(p, whole, 1);
	if (std::signbit(v)) *--p = '-';
	const auto n = static_cast<std::size_t>(end - p);
	std::memcpy(out, p, n);
	return n;
}

// to_chars, not snprintf: the C library's "%f" writes the process locale's decimal point.
void FixedByLibrary(std::string& out, double v)
{
	char buffer[400]; // 309 whole digits at most, point, six decimals and sign
	const std::to_chars_result r = std::to_chars(buffer, buffer + sizeof buffer, v, std::chars_format::fixed, 6);
	if (r.ec == std::errc()) out.append(buffer, static_cast<std::size_t>(r.ptr - buffer));
}

std::size_t IntInPlace(char* out, long long v)
{
	char buffer[24];
	char* const end = buffer + sizeof buffer;
	const unsigned long long bits = static_cast<unsigned long long>(v);
	char* p = DigitsBefore(end, v < 0 ? 0ull - bits : bits, 1);
	if (v < 0) *--p = '-';
	const auto n = static_cast<std::size_t>(end - p);
	std::memcpy(out, p, n);
	return n;
}

} // namespace

void AppendFixed(std::string& out, double v)
{
	char buffer[kFastRoom];
	const std::size_t n = FixedInPlace(buffer, v);
	if (n == 0) FixedByLibrary(out, v);
	else out.append(buffer, n);
}

void AppendInt(std::string& out, long long v)
{
	char buffer[24];
	out.append(buffer, IntInPlace(buffer, v));
}

ScriptText& ScriptText::Fixed(double v)
{
	static_assert(kNumberRoom >= kFastRoom, "a number fits the row buffer's reserve");
	if (used_ + kNumberRoom > kRow) Flush();
	const std::size_t n = FixedInPlace(row_ + used_, v);
	if (n != 0) {
		used_ += n;
	} else {
		Flush();
		FixedByLibrary(text_, v);
	}
	return *this;
}

ScriptText& ScriptText::Int(long long v)
{
	if (used_ + kNumberRoom > kRow) Flush();
	used_ += IntInPlace(row_ + used_, v);
	return *this;
}

void ScriptText::EndRow() { Put(GS_EOL, sizeof(GS_EOL) - 1); }
