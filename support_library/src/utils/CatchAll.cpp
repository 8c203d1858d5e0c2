#include "utils/CatchAll.hpp"

#include "ACAPinc.h"

namespace kivel {

void ReportInternalError(const char* prefix, const char* what) noexcept
{
	try {
		ACAPI_WriteReport("%sInternal error: %s", true, prefix != nullptr ? prefix : "", what != nullptr ? what : "");
	} catch (...) {
		// Out of memory even for the report: the failure answer is all that is left.
	}
}

} // namespace kivel
