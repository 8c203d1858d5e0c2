#include <cstdarg>

#include "GSDebug.hpp"
#include "UniString.hpp"
#include "vhost/Project.hpp"
#include "vhost/Text.hpp"

void DBPrintf(const char* format, ...)
{
	va_list args;
	va_start(args, format);
	vhost::Current().debug.push_back(vhost::ToUtf8(GS::UniString::VPrintf(format, args)));
	va_end(args);
}

void GSSysBeep() { ++vhost::Current().beeps; }
