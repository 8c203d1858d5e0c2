// Comparing locations by the place they name rather than by their text.
#ifndef VELMORA_SAMELOCATION_HPP
#define VELMORA_SAMELOCATION_HPP

#include "Location.hpp"

// Whether a and b name the same place: their display texts compared with empty and "."
// names dropped and each ".." taking back the name before it. Purely textual: the file
// system is not asked, so links are not followed.
bool SameLocation(const IO::Location& a, const IO::Location& b);

#endif
