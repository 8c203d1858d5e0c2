#include "APICommon.hpp"

#include <cstdarg>
#include <cstdio>

#include "ACAPinc.h"
#include "Helpers/GSErrorCodes.hpp"

namespace {

constexpr int kReportBufferSize = 512;

// Steps back over a UTF-8 sequence that a cut left incomplete at the end of text[0..length).
int WholeUtf8Length(const char* text, int length)
{
	int start = length;
	while (start > 0 && (static_cast<unsigned char>(text[start - 1]) & 0xC0) == 0x80) --start;
	if (start == 0) return length;
	const unsigned char lead = static_cast<unsigned char>(text[start - 1]);
	const int need = lead >= 0xF0 ? 4 : lead >= 0xE0 ? 3 : lead >= 0xC0 ? 2 : 1;
	return length - (start - 1) >= need ? length : start - 1;
}

} // namespace

const char* ErrID_To_Name(int code)
{
	const char* name = GetAPIErrShortName(code);
	return name != nullptr ? name : "???";
}

void WriteReport_Alert(const char* format, ...)
{
	va_list args;
	va_start(args, format);
	const GS::UniString text = GS::UniString::VPrintf(format != nullptr ? format : "", args);
	va_end(args);
	ACAPI_WriteReport("%s", true, text.ToCStr().Get());
}

void WriteReport_AlertPrefixed(const char* prefix, const char* text)
{
	ACAPI_WriteReport("%s%s", true, prefix != nullptr ? prefix : "", text != nullptr ? text : "");
}

void WriteReport(const char* format, ...)
{
	char buffer[kReportBufferSize];
	va_list args;
	va_start(args, format);
	const int written = format != nullptr ? std::vsnprintf(buffer, sizeof buffer, format, args) : 0;
	va_end(args);
	if (written <= 0) buffer[0] = 0;
	if (written >= kReportBufferSize) buffer[WholeUtf8Length(buffer, kReportBufferSize - 1)] = 0;
	DBPrintf("%s", buffer);
	DBPrintf("\n");
}

void WriteReport_Err(const char* text, int code)
{
	ACAPI_WriteReport("%s: %s", true, text != nullptr ? text : "", ErrID_To_Name(code));
}

void WriteReport_End(int code)
{
	DBPrintf("\n");
	if (code == 0)
		DBPrintf("OK\n");
	else
		DBPrintf("Error: %s\n", ErrID_To_Name(code));
}

void ErrorBeep(const char* text, int code)
{
	DBPrintf("%s: %s", text != nullptr ? text : "", ErrID_To_Name(code));
	GSSysBeep();
}
