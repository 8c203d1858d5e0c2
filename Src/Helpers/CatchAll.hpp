// The add-on's guard for functions called from outside: the support library's CatchAll.
#ifndef VELMORA_CATCHALL_HPP
#define VELMORA_CATCHALL_HPP

#include "utils/CatchAll.hpp"

using kivel::CatchAll;

#endif
