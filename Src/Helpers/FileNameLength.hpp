// The length limit of one file name on the host's platforms, for messages that name it.
#ifndef VELMORA_FILENAMELENGTH_HPP
#define VELMORA_FILENAMELENGTH_HPP

#include <cstddef>

#include "UniString.hpp"

// The most bytes of one file name (its UTF-8, extension included).
constexpr std::size_t kLongestFileName = 255;

// How many bytes the UTF-8 of the file name `name` has beyond kLongestFileName; 0 when it fits.
std::size_t FileNameExcess(const GS::UniString& name);

#endif
