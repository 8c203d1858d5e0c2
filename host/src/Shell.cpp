// The C library's system(), as the add-on sees it inside this host: every command is
// recorded, then run for real by the C library.
#include <dlfcn.h>

#include "vhost/Project.hpp"

extern "C" int system(const char* command)
{
	using SystemFn = int (*)(const char*);
	static const SystemFn real = reinterpret_cast<SystemFn>(::dlsym(RTLD_NEXT, "system"));
	if (command != nullptr) vhost::Current().shell.push_back(command);
	return real != nullptr ? real(command) : -1;
}
