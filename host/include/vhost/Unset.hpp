// Fields of handed records that the caller never set. Host records are plain C records: a
// record on the caller's stack holds whatever the stack held. The test builds fill every
// stack variable nobody set with one byte (GCC's -ftrivial-auto-var-init=pattern), so a
// field the host reads that still holds that fill was never set, and the call refuses it.
#ifndef VHOST_UNSET_HPP
#define VHOST_UNSET_HPP

#include <cstddef>
#include <utility>

#include "APIdefs_Errors.h"
#include "GSRoot.hpp"

namespace vhost {

// The byte GCC's pattern fill writes into every byte of a variable nobody set.
constexpr unsigned char kUnsetFill = 0xFE;

// True when every one of the size bytes at field is the fill.
bool HoldsFill(const void* field, std::size_t size);

// True when the text field of count units has no terminator and its last unit is all fill:
// a name nobody wrote. Reads the count units only.
template <typename Unit>
bool UnterminatedFill(const Unit* text, std::size_t count)
{
	for (std::size_t i = 0; i < count; ++i)
		if (text[i] == 0) return false;
	return count > 0 && HoldsFill(&text[count - 1], sizeof(Unit));
}

// One field a call reads from a handed record: its name in the debug line, its place.
struct RecordField {
	const char* name;
	std::size_t offset;
	std::size_t size;
};

// The field of Record that the designator names (nested members allowed: "mesh.contPen").
#define VHOST_FIELD(Record, designator) \
	vhost::RecordField { #designator, offsetof(Record, designator), sizeof(std::declval<Record&>().designator) }

// Refuses a record handed with a field never set: a debug line "call: field was never set"
// (left out when memory has run out: a release refuses this way too) and APIERR_BADPARS.
GSErrCode RefuseUnset(const char* call, const char* field) noexcept;

// NoError, or RefuseUnset for the first of the count fields of the record at base that holds
// the fill.
GSErrCode CheckFieldsSet(const char* call, const void* base, const RecordField* fields, std::size_t count) noexcept;

template <std::size_t N>
GSErrCode CheckFieldsSet(const char* call, const void* base, const RecordField (&fields)[N])
{
	return CheckFieldsSet(call, base, fields, N);
}

} // namespace vhost

#endif
