// The host's root framework: basic types, text, containers, identities, memory, debug.
#ifndef VHOST_GSROOT_HPP
#define VHOST_GSROOT_HPP

#include "Array.hpp"
#include "Definitions.hpp"
#include "GSDebug.hpp"
#include "GSGuid.hpp"
#include "GSMemory.hpp"
#include "HashTable.hpp"
#include "UniString.hpp"

namespace GS {
constexpr const char* EOL = "\n";
}

// The platform's end of a text row, as a string literal (a line feed on this system).
#define GS_EOL "\n"

#endif
