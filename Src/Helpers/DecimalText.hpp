// Conversion of plain decimal texts ("-597124.2277180132223293") to double, exactly rounded
// and without a second pass for long ones.
#ifndef VELMORA_DECIMALTEXT_HPP
#define VELMORA_DECIMALTEXT_HPP

#include <string_view>

namespace DecimalText {

// A text that is a plain decimal (an optional '-', digits, optionally '.' and more digits, at
// least one digit, nothing else) gives the nearest double, ties to even: the same value as
// std::from_chars. Answers false, leaving value as it was, for any other text, and for the
// rare decimals that need more than this fast path (very long ones close to a tie, decimal
// exponents beyond the path's table); the caller then converts with std::from_chars.
bool Parse(std::string_view text, double& value);

} // namespace DecimalText

#endif
