// The named entry points the add-on calls, as the project records them.
#ifndef VHOST_NAMEDCALL_HPP
#define VHOST_NAMEDCALL_HPP

#include "APIdefs_Base.h"

namespace vhost {

struct Project;

// Made at the top of a host entry point with its name (__func__): records the name in the
// project's named calls. An entry point that only forwards the add-on's call to another one (a
// host-26 name, a dispatcher) passes forwards: the call it forwards to, made while it lives, is
// the same call of the add-on and is not recorded again. A null name records nothing. It never
// throws, so that release calls stay free of throws: a name it has no memory for is counted in
// namedCallsUnrecorded instead.
class NamedCall {
public:
	explicit NamedCall(const char* name, bool forwards = false) noexcept;
	~NamedCall();
	NamedCall(const NamedCall&) = delete;
	NamedCall& operator=(const NamedCall&) = delete;

private:
	Project& project_;
	bool forwards_;
};

// An entry point the stand-in does not model: records the call (name as NamedCall takes it)
// and answers APIERR_NOTSUPPORTED, changing nothing.
GSErrCode NotModelled(const char* name);

} // namespace vhost

#endif
