#include "Helpers/ResourceHelpers.hpp"

#include <algorithm>
#include <cstring>

#include "RS.hpp"
#include "utils/TextUnits.hpp"

namespace {

constexpr Int32 kResBufferSize = 512;
constexpr std::size_t kMaxUnits = 255; // units before the terminator in a 256-unit field

// Whether byte i of UTF-8 text starts a character.
bool StartsCharacter(const char* text, std::size_t i) { return (static_cast<unsigned char>(text[i]) & 0xC0) != 0x80; }

} // namespace

GS::UniString GetResUniString(short listId, short index)
{
	char buffer[kResBufferSize] = {};
	if (!RSGetIndString(buffer, kResBufferSize, listId, index, ACAPI_GetOwnResModule())) return GS::UniString();
	return GS::UniString(buffer, GS::CC_Default);
}

char* GetResString(short listId, short index)
{
	char* buffer = new char[kResBufferSize]();
	if (!RSGetIndString(buffer, kResBufferSize, listId, index, ACAPI_GetOwnResModule())) {
		delete[] buffer;
		return nullptr;
	}
	return buffer;
}

void ConvertUnicode(const char* text, GS::UniChar* buffer, int& length)
{
	std::size_t n = text != nullptr ? std::strlen(text) : 0;
	if (n >= kMaxUnits) {
		n = kMaxUnits;
		while (n > 0 && !StartsCharacter(text, n)) --n;
	}
	const std::u16string units = kivel::UnitsOf(GS::UniString(std::string(text != nullptr ? text : "", n).c_str(), GS::CC_Default));
	const std::size_t count = std::min(units.size(), kMaxUnits);
	std::copy(units.begin(), units.begin() + static_cast<std::ptrdiff_t>(count), buffer);
	buffer[count] = 0;
	buffer[kMaxUnits] = 0;
	length = static_cast<int>(count) + 1;
}
