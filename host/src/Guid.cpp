#include <algorithm>
#include <cstdio>
#include <cstring>

#include "APIdefs_Base.h"
#include "GSGuid.hpp"
#include "vhost/Elements.hpp"

namespace GS {

const Guid NULLGuid;
const char* const GUIDNullString = "00000000-0000-0000-0000-000000000000";
const char* const GUIDInvalidString = "<invalid GUID>";

namespace {

int HexValue(char c)
{
	if (c >= '0' && c <= '9') return c - '0';
	if (c >= 'a' && c <= 'f') return c - 'a' + 10;
	if (c >= 'A' && c <= 'F') return c - 'A' + 10;
	return -1;
}

bool IsHyphenPos(std::size_t i) { return i == 8 || i == 13 || i == 18 || i == 23; }

UInt64 guidCounter = 0;

} // namespace

GSErrCode Guid::ConvertFromString(const char* text)
{
	if (text == nullptr) return Error;
	// The braced form "{...}" (library-part unique ids) reads the same.
	const std::size_t length = std::strlen(text);
	if (length == 38 && text[0] == '{' && text[37] == '}') {
		char inner[37];
		std::memcpy(inner, text + 1, 36);
		inner[36] = 0;
		return ConvertFromString(inner);
	}
	if (length != 36) return Error;
	std::array<UInt8, 16> bytes{};
	std::size_t b = 0;
	for (std::size_t i = 0; i < 36;) {
		if (IsHyphenPos(i)) {
			if (text[i] != '-') return Error;
			++i;
			continue;
		}
		const int hi = HexValue(text[i]);
		const int lo = HexValue(text[i + 1]);
		if (hi < 0 || lo < 0) return Error;
		bytes[b++] = static_cast<UInt8>(hi * 16 + lo);
		i += 2;
	}
	bytes_ = bytes;
	return NoError;
}

UniString Guid::ToUniString() const
{
	char buf[40];
	std::size_t p = 0;
	for (std::size_t b = 0; b < 16; ++b) {
		if (b == 4 || b == 6 || b == 8 || b == 10) buf[p++] = '-';
		std::snprintf(buf + p, 3, "%02X", bytes_[b]);
		p += 2;
	}
	buf[p] = 0;
	return UniString(buf);
}

bool Guid::IsNull() const
{
	for (UInt8 b : bytes_) if (b != 0) return false;
	return true;
}

void Guid::Generate()
{
	// Version-4 shaped, from a counter: repeatable across runs of the host.
	const UInt64 n = ++guidCounter;
	bytes_.fill(0);
	bytes_[0] = 0x5E;
	bytes_[1] = 0x1D;
	bytes_[6] = 0x40;
	bytes_[8] = 0x80;
	for (int i = 0; i < 6; ++i) bytes_[15 - i] = static_cast<UInt8>(n >> (8 * i));
}

} // namespace GS

API_Guid GSGuid2APIGuid(const GS::Guid& guid)
{
	const auto& b = guid.Bytes();
	API_Guid g;
	g.time_low = (UInt32(b[0]) << 24) | (UInt32(b[1]) << 16) | (UInt32(b[2]) << 8) | b[3];
	g.time_mid = static_cast<UInt16>((b[4] << 8) | b[5]);
	g.time_hi_and_version = static_cast<UInt16>((b[6] << 8) | b[7]);
	g.clock_seq_hi_and_reserved = b[8];
	g.clock_seq_low = b[9];
	for (int i = 0; i < 6; ++i) g.node[i] = b[10 + i];
	return g;
}

GS::Guid APIGuid2GSGuid(const API_Guid& g)
{
	GS::Guid guid;
	auto& b = guid.Bytes();
	b[0] = static_cast<UInt8>(g.time_low >> 24);
	b[1] = static_cast<UInt8>(g.time_low >> 16);
	b[2] = static_cast<UInt8>(g.time_low >> 8);
	b[3] = static_cast<UInt8>(g.time_low);
	b[4] = static_cast<UInt8>(g.time_mid >> 8);
	b[5] = static_cast<UInt8>(g.time_mid);
	b[6] = static_cast<UInt8>(g.time_hi_and_version >> 8);
	b[7] = static_cast<UInt8>(g.time_hi_and_version);
	b[8] = g.clock_seq_hi_and_reserved;
	b[9] = g.clock_seq_low;
	for (int i = 0; i < 6; ++i) b[10 + i] = g.node[i];
	return guid;
}

// Field by field: element lookups compare identities by the hundred thousand.
bool API_Guid::operator==(const API_Guid& o) const
{
	return time_low == o.time_low && time_mid == o.time_mid && time_hi_and_version == o.time_hi_and_version &&
	       clock_seq_hi_and_reserved == o.clock_seq_hi_and_reserved && clock_seq_low == o.clock_seq_low &&
	       std::equal(node, node + 6, o.node);
}
bool API_Guid::operator<(const API_Guid& o) const { return APIGuid2GSGuid(*this) < APIGuid2GSGuid(o); }

GS::UniString APIGuidToString(const API_Guid& guid) { return APIGuid2GSGuid(guid).ToUniString(); }

namespace vhost {

GuidChars::GuidChars(const API_Guid& guid)
{
	static const char hex[] = "0123456789ABCDEF";
	const GS::Guid g = APIGuid2GSGuid(guid);
	std::size_t p = 0;
	for (std::size_t b = 0; b < 16; ++b) {
		if (b == 4 || b == 6 || b == 8 || b == 10) chars_[p++] = '-';
		chars_[p++] = hex[g.Bytes()[b] >> 4];
		chars_[p++] = hex[g.Bytes()[b] & 15];
	}
}

std::string GuidText(const API_Guid& guid) { return std::string(GuidChars(guid).View()); }

} // namespace vhost

API_Guid APIGuidFromString(const char* text)
{
	GS::Guid guid;
	guid.ConvertFromString(text);
	return GSGuid2APIGuid(guid);
}
