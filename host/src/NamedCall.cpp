#include "NamedCall.hpp"

#include <new>

#include "APIdefs_Errors.h"
#include "vhost/Project.hpp"

namespace vhost {

NamedCall::NamedCall(const char* name, bool forwards) noexcept : project_(Current()), forwards_(forwards)
{
	if (project_.forwardedCall) {
		project_.forwardedCall = false; // the forwarding entry point stands for this call
	} else if (name != nullptr) {
		try {
			project_.namedCalls.emplace_back(name);
		} catch (const std::bad_alloc&) {
			++project_.namedCallsUnrecorded;
		}
	}
	if (forwards_) project_.forwardedCall = true;
}

// Also when the forwarded-to entry point records nothing, the next call is the add-on's own.
NamedCall::~NamedCall()
{
	if (forwards_) project_.forwardedCall = false;
}

GSErrCode NotModelled(const char* name)
{
	const NamedCall call(name);
	return APIERR_NOTSUPPORTED;
}

} // namespace vhost
