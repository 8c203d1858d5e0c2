// Numbers held at the limits of a narrower field instead of wrapping.
#ifndef VELMORA_NUMBERRANGE_HPP
#define VELMORA_NUMBERRANGE_HPP

#include <limits>

// v held at the nearest limit of T: a settings value beyond its field never wraps.
template <typename T>
T HoldInRange(long long v)
{
	const long long lo = std::numeric_limits<T>::min(), hi = std::numeric_limits<T>::max();
	return static_cast<T>(v < lo ? lo : v > hi ? hi : v);
}

#endif
