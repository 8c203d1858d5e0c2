// GS::UniStringToValue: host text to a number.
#ifndef VHOST_STRINGCONVERSION_HPP
#define VHOST_STRINGCONVERSION_HPP

#include "Definitions.hpp"
#include "UniString.hpp"

namespace GS {

// Converts text to a number and answers true, or answers false and leaves value as it was.
// The stand-in models the one mode the add-on uses, mode 1 with flags 0; any other mode or
// flags answers false.
//
// Accepted, in this order and nothing else:
// - blanks (space or tab) before and after the number, none inside it;
// - an optional sign, "+" or "-";
// - digits with at most one decimal point "." and at least one digit ("5", "5.", ".5");
//   the point is always ".", never ",", and there are no digit group separators;
// - for double only, an optional exponent: "e" or "E", an optional sign, at least one digit.
// So "", " ", "-", ".", "1,5", "1 000", "0x10", "1e", "nan", "inf" and "infinity" (in any
// case) are no numbers. A double beyond the range of double, too large or too small to be
// held as anything but infinity or zero (1e400, 1e-400), is refused as well; an Int32 must lie
// within -2147483648 to 2147483647.
bool UniStringToValue(const UniString& text, double& value, Int32 mode, Int32 flags);
bool UniStringToValue(const UniString& text, Int32& value, Int32 mode, Int32 flags);

} // namespace GS

#endif
