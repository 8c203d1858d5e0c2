// The host API generation the wrappers are built for (VELMORA_HOST_API, set by the build).
// Hosts 27 to 29 share one set of entry points; host 26 has older ones, which each wrapper
// names in its own #else branch once they are wired.
#ifndef KIVEL_HOSTAPI_HPP
#define KIVEL_HOSTAPI_HPP

#ifndef VELMORA_HOST_API
#error "VELMORA_HOST_API must be set by the build"
#endif

#if VELMORA_HOST_API < 26 || VELMORA_HOST_API > 29
#error "VELMORA_HOST_API must be 26 to 29"
#endif

// True when the host offers the entry points of generation 27 and later.
#define KIVEL_HOST_27_OR_LATER (VELMORA_HOST_API >= 27)

#if !KIVEL_HOST_27_OR_LATER
#error "The host-26 entry points are not wired yet"
#endif

#endif
