// GS::Guid: 128-bit identity with its textual form "XXXXXXXX-XXXX-XXXX-XXXX-XXXXXXXXXXXX".
#ifndef VHOST_GSGUID_HPP
#define VHOST_GSGUID_HPP

#include <array>

#include "Definitions.hpp"
#include "UniString.hpp"

namespace GS {

class Guid {
public:
	Guid() { bytes_.fill(0); }

	// Parses the 36-character form (hex digits of either case, hyphens at 8, 13, 18, 23),
	// also in braces.
	// On failure answers Error and leaves the value unchanged.
	GSErrCode ConvertFromString(const char* text);
	GSErrCode ConvertFromString(const UniString& text) { return ConvertFromString(text.ToCStr().Get()); }
	UniString ToUniString() const; // upper-case hex
	bool IsNull() const;
	void Clear() { bytes_.fill(0); }
	// A new identity. The host hands them out from a counter so that runs are repeatable.
	void Generate();

	const std::array<UInt8, 16>& Bytes() const { return bytes_; }
	std::array<UInt8, 16>& Bytes() { return bytes_; }
	bool operator==(const Guid& o) const { return bytes_ == o.bytes_; }
	bool operator!=(const Guid& o) const { return bytes_ != o.bytes_; }
	bool operator<(const Guid& o) const { return bytes_ < o.bytes_; }

private:
	std::array<UInt8, 16> bytes_;
};

extern const Guid NULLGuid;
// The text of a null identity.
extern const char* const GUIDNullString;
// What an unparsable identity reads as.
extern const char* const GUIDInvalidString;

} // namespace GS

#endif
