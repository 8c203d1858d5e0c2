#include "MiniIni.hpp"

#include <cstdarg>
#include <cstdio>
#include <cstring>
#include <string>

#include "ACAPinc.h"
#include "File.hpp"
#include "FileSystem.hpp"
#include "Helpers/ExclusiveFile.hpp"
#include "Helpers/GSErrorCodes.hpp"

namespace {

// Writes "<prefix>" with " *%d:%s:%s*" of the code.
void HostError(char* error, const char* op, const char* call, GSErrCode code)
{
	SetErrorText(error, "%s# %s *%d:%s:%s*", op, call, static_cast<int>(code), GetGSErrName(code),
	              GetGSErrDetail(code));
}

// The file's location: the full path, or the name beside the add-on.
bool ResolveLocation(const GS::UniString& name, bool fullPath, const char* op, IO::Location& loc, char* error)
{
	if (fullPath) {
		loc = IO::Location(name);
		return true;
	}
	if (const GSErrCode err = ACAPI_GetOwnLocation(&loc)) {
		HostError(error, op, "query IO::FileSystem::ApplicationFilePath", err);
		return false;
	}
	if (const GSErrCode err = loc.DeleteLastLocalName()) {
		HostError(error, op, "query IO::FileSystem::ApplicationFolder", err);
		return false;
	}
	if (const GSErrCode err = loc.AppendToLocal(IO::Name(name))) {
		HostError(error, op, "IO::FileSystem::ApplicationFolder + path3", err);
		return false;
	}
	return true;
}

const char* Find(const char* from, const char* end, char c)
{
	return from < end ? static_cast<const char*>(std::memchr(from, c, static_cast<std::size_t>(end - from))) : nullptr;
}

// Fills records from data[0, length); answers how many were stored.
unsigned int ParseRecords(const char* data, std::size_t length, mini_ini_config_struc* records, unsigned int recordCount)
{
	const char* const end = data + length;
	unsigned int stored = 0;
	for (const char* at = data; stored < recordCount;) {
		const char* open = Find(at, end, '[');
		if (open == nullptr || open + 1 >= end) break;
		const char* key = open + 1;
		const char* eq = Find(key, end, '=');
		if (eq == nullptr || eq + 1 >= end) break;
		const char* value = eq + 1;
		const char* close = Find(value, end, ']');
		if (close == nullptr) break;
		const std::size_t keyLength = static_cast<std::size_t>(eq - key);
		const std::size_t valueLength = static_cast<std::size_t>(close - value);
		if (keyLength >= 1 && keyLength < MiniIniKeySize && valueLength >= 1 && valueLength < MiniIniValueSize) {
			mini_ini_config_struc& r = records[stored++];
			std::memcpy(r.key, key, keyLength);
			r.key[keyLength] = 0;
			std::memcpy(r.value, value, valueLength);
			r.value[valueLength] = 0;
		}
		at = close;
	}
	return stored;
}

// Composes the records; answers the length, or -1 when the text would not stay shorter
// than the buffer.
long Compose(const mini_ini_config_struc* records, unsigned int recordCount, char* buffer, unsigned int bufferSize)
{
	std::size_t pos = 0;
	for (unsigned int i = 0; i < recordCount; ++i) {
		const mini_ini_config_struc& r = records[i];
		if (r.key[0] == 0) continue;
		const std::size_t keyLength = strnlen(r.key, MiniIniKeySize - 1);
		const std::size_t valueLength = strnlen(r.value, MiniIniValueSize - 1);
		const std::size_t recordLength = keyLength + valueLength + 5;
		if (recordLength >= bufferSize - pos) return -1;
		char* out = buffer + pos;
		*out++ = '[';
		std::memcpy(out, r.key, keyLength);
		out += keyLength;
		*out++ = '=';
		std::memcpy(out, r.value, valueLength);
		out += valueLength;
		std::memcpy(out, "]\r\n", 3);
		pos += recordLength;
	}
	return static_cast<long>(pos);
}

} // namespace

void SetErrorText(char* error, const char* format, ...)
{
	va_list args;
	va_start(args, format);
	std::vsnprintf(error, MiniIniErrorSize, format, args);
	va_end(args);
}

bool MiniIniConfigRead(const GS::UniString& name, bool fullPath, mini_ini_config_struc* records, unsigned int recordCount,
                       char* buffer, unsigned int bufferSize, char* error)
{
	const char* op = "MiniIniConfigRead";
	error[0] = 0;
	IO::Location loc;
	if (!ResolveLocation(name, fullPath, op, loc, error)) return false;
	IO::File file(loc, IO::File::Fail);
	UInt64 length = 0;
	if (const GSErrCode err = file.GetDataLength(&length)) {
		HostError(error, op, "IO::File::GetDataLength", err);
		return false;
	}
	if (length == 0 || length > bufferSize) {
		SetErrorText(error, "MiniIniConfigRead# IO::File::GetDataLength - Illegal file length (%lld bytes)",
		              static_cast<long long>(length));
		return false;
	}
	if (const GSErrCode err = file.Open(IO::File::ReadMode, IO::AcceptAccessDenied)) {
		HostError(error, op, "IO::File::Open", err);
		return false;
	}
	UInt32 read = 0;
	const GSErrCode err = file.ReadBin(buffer, static_cast<UInt32>(length), &read);
	// An end-of-file answer that comes with the whole file is no failure.
	if (err != NoError && read != length) {
		HostError(error, op, "IO::File::ReadBin", err);
		return false;
	}
	if (read != length) {
		SetErrorText(error, "MiniIniConfigRead# IO::File::ReadBin, file length: %d bytes, input data: %d bytes",
		              static_cast<int>(length), static_cast<int>(read));
		return false;
	}
	file.Close();
	for (unsigned int i = 0; i < recordCount; ++i) records[i].key[0] = records[i].value[0] = 0;
	ParseRecords(buffer, static_cast<std::size_t>(length), records, recordCount);
	return true;
}

bool MiniIniConfigWrite(const GS::UniString& name, bool fullPath, mini_ini_config_struc* records, unsigned int recordCount,
                        char* buffer, unsigned int bufferSize, char* error)
{
	const char* op = "MiniIniConfigWrite";
	error[0] = 0;
	if (bufferSize == 0) {
		SetErrorText(error, "MiniIniConfigWrite# output buffer has zero length");
		return false;
	}
	const long length = Compose(records, recordCount, buffer, bufferSize);
	if (length < 0) {
		SetErrorText(error, "MiniIniConfigWrite# output buffer is not large enough to process data");
		return false;
	}
	IO::Location loc;
	if (!ResolveLocation(name, fullPath, op, loc, error)) return false;

	// Write beside the target, then rename over it, so that no reader ever sees half a file.
	// The rename replaces a link at the target itself; the link's target is left alone.
	ExclusiveFile::Failure failure;
	const std::string path(loc.ToDisplayText().ToCStr(GS::CC_UTF8).Get());
	if (!ExclusiveFile::WriteBeside(path, buffer, static_cast<std::size_t>(length), failure)) {
		SetErrorText(error, "%s# %s%s", op, failure.call, ExclusiveFile::ErrnoText(failure.error).c_str());
		return false;
	}
	return true;
}
