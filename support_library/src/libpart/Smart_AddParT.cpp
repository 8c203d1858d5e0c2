#include "libpart/Smart_AddParT.hpp"

#include <cstdlib>

KV_AddParT::~KV_AddParT()
{
	if (ACAPI_DisposeAddParHdl(&handle_) != NoError) std::abort();
}
