// The host API generation the wrappers are built for (VELMORA_HOST_API, set by the build).
// Hosts 27 to 29 share one set of entry points. Host 26 has older ones: named calls, and four
// dispatchers (ACAPI_Environment, ACAPI_Database, ACAPI_Goodies, ACAPI_Interface) that take a
// four-character command code and untyped arguments.
#ifndef KIVEL_HOSTAPI_HPP
#define KIVEL_HOSTAPI_HPP

#include <type_traits>

#include "ACAPinc.h"

#ifndef VELMORA_HOST_API
#error "VELMORA_HOST_API must be set by the build"
#endif

#if VELMORA_HOST_API < 26 || VELMORA_HOST_API > 29
#error "VELMORA_HOST_API must be 26 to 29"
#endif

// True when the host offers the entry points of generation 27 and later.
#define KIVEL_HOST_27_OR_LATER (VELMORA_HOST_API >= 27)

// A wrapper's one host call, both forms side by side: the first for hosts 27 to 29, the second
// for host 26. Only the form of the build's host is compiled.
#if KIVEL_HOST_27_OR_LATER
#define KIVEL_HOST_CALL(host27to29, host26) host27to29
#else
#define KIVEL_HOST_CALL(host27to29, host26) host26
#endif

namespace kivel {

// A dispatcher's command code: four characters, the first in the high byte ("GSPF").
constexpr GSType CommandCode(const char (&code)[5])
{
	return (static_cast<GSType>(static_cast<unsigned char>(code[0])) << 24) |
		(static_cast<GSType>(static_cast<unsigned char>(code[1])) << 16) |
		(static_cast<GSType>(static_cast<unsigned char>(code[2])) << 8) | static_cast<GSType>(static_cast<unsigned char>(code[3]));
}
// Pinned to the host's number: a byte-order slip shared by an encoder and its decoder passes any round trip.
static_assert(CommandCode("GOFS") == 0x474F4653, "the first character of a command code is its high byte");

// A dispatcher argument: the record pointer as the dispatcher takes it (untyped, not const).
template <typename T>
void* Arg(T* record) { return const_cast<std::remove_const_t<T>*>(record); }
// A callback as a dispatcher argument.
template <typename R, typename... A>
void* Arg(R (*callback)(A...)) { return reinterpret_cast<void*>(callback); }

} // namespace kivel

#endif
