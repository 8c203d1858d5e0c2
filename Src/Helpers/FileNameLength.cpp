#include "Helpers/FileNameLength.hpp"

#include <cstring>

std::size_t FileNameExcess(const GS::UniString& name)
{
	const std::size_t bytes = std::strlen(name.ToCStr(GS::CC_UTF8).Get());
	return bytes > kLongestFileName ? bytes - kLongestFileName : 0;
}
