#include <cstdarg>

#include "GSDebug.hpp"
#include "UniString.hpp"
#include "vhost/Project.hpp"

void DBPrintf(const char* format, ...)
{
	va_list args;
	va_start(args, format);
	vhost::Current().debug.push_back(GS::UniString::VPrintf(format, args).ToUtf8());
	va_end(args);
}

void GSSysBeep() { ++vhost::Current().beeps; }
