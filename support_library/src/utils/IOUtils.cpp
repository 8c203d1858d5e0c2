#include "utils/IOUtils.hpp"

#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

#include "ACUtils.hpp"
#include "GSDebug.hpp"
#include "utils/FolderManager.hpp"

namespace kivel {

namespace {

// Reads and writes go in pieces that fit the host's 32-bit counts.
constexpr UInt64 kChunk = UInt64(1) << 30;

std::string Utf8(const GS::UniString& text) { return std::string(text.ToCStr(GS::CC_UTF8).Get()); }

void ReportFile(const char* format, const IO::Location& location)
{
	ACAPI_WriteReport(format, true, Utf8(location.ToDisplayText()).c_str());
}

void ReportFile(const char* format, const IO::Location& location, GSErrCode err)
{
	ACAPI_WriteReport(format, true, Utf8(location.ToDisplayText()).c_str(), ErrToString(err));
}

// Opens the file for reading and gives its length; reports the failed step.
GSErrCode OpenForRead(IO::File& file, const IO::Location& location, UInt64& length)
{
	if (!IsFileExist(location)) {
		ReportFile("File is not openeable: '%s'", location);
		return FileNotUsable;
	}
	if (const GSErrCode err = file.Open(IO::File::ReadMode)) {
		ReportFile("File open error: '%s' #%s", location, err);
		return err;
	}
	if (const GSErrCode err = file.GetDataLength(&length)) {
		ReportFile("File size error: '%s' #%s", location, err);
		return err;
	}
	if (length == 0) {
		ReportFile("File size is empty: '%s'", location);
		return FileNotUsable;
	}
	return NoError;
}

GSErrCode ReadAll(IO::File& file, const IO::Location& location, char* dest, UInt64 length)
{
	for (UInt64 done = 0; done < length;) {
		const UInt32 n = static_cast<UInt32>(length - done < kChunk ? length - done : kChunk);
		if (const GSErrCode err = file.ReadBin(dest + done, n)) {
			ReportFile("File read error: '%s' #%s", location, err);
			return err;
		}
		done += n;
	}
	return NoError;
}

GSErrCode CloseAfter(IO::File& file, const IO::Location& location)
{
	if (const GSErrCode err = file.Close()) {
		ReportFile("File close error: '%s' #%s", location, err);
		return err;
	}
	return NoError;
}

// Writes the bytes as the file's whole content, in place: an older file is deleted, a new one
// created, opened, written and closed. Each failed step is reported and ends the write, leaving
// what the steps before it made.
GSErrCode WriteInPlace(const IO::Location& location, const char* data, UInt64 length)
{
	if (IsFileExist(location))
		if (const GSErrCode err = IO::fileSystem.Delete(location)) {
			ReportFile("File delete error: '%s' #%s", location, err);
			return err;
		}
	IO::File file(location, IO::File::Create);
	if (const GSErrCode err = file.GetStatus()) {
		ReportFile("File creation error: '%s' #%s", location, err);
		return err;
	}
	if (const GSErrCode err = file.Open(IO::File::WriteEmptyMode)) {
		ReportFile("File open error: '%s' #%s", location, err);
		return err;
	}
	for (UInt64 done = 0; done < length;) {
		const UInt32 n = static_cast<UInt32>(length - done < kChunk ? length - done : kChunk);
		if (const GSErrCode err = file.WriteBin(data + done, n)) {
			ReportFile("File write error: '%s' #%s", location, err);
			return err;
		}
		done += n;
	}
	return CloseAfter(file, location);
}

} // namespace

GS::UniString GetProgramsPath()
{
	const char* path = fm::FolderManager().pathForDirectory(fm::ApplicationDirectory, fm::LocalDomainMask);
	return path != nullptr ? GS::UniString(path, GS::CC_UTF8) : GS::UniString();
}

GS::UniString GetSystemTempPath()
{
	const char* value = std::getenv("TMPDIR");
	return GS::UniString(value != nullptr ? value : "/tmp", GS::CC_UTF8);
}

IO::Name ConvertToValidFilename(const GS::UniString& name)
{
	IO::Name result(name);
	if (!result.IsLegal()) result.MakeLegal();
	return result;
}

GS::UniString FileSizeToStr(unsigned long long size)
{
	static const char* const kUnits[] = {"B", "KB", "MB", "GB", "TB"};
	unsigned long long value = size;
	unsigned long long remainder = 0;
	int unit = 0;
	while (value >= 1024 && unit < 4) {
		remainder = value & 1023;
		value >>= 10;
		++unit;
	}
	const float shown = static_cast<float>(value) + static_cast<float>(remainder) * (1.0f / 1024.0f);
	return GS::UniString::Printf("%.2f %s", static_cast<double>(shown), kUnits[unit]);
}

UInt64 GetFileSize(const IO::Location& location)
{
	IO::File file(location);
	UInt64 length = 0;
	if (file.GetStatus() != NoError || file.GetDataLength(&length) != NoError) {
		DBPrintf("Can't get file size: '%s'\n", Utf8(location.ToDisplayText()).c_str());
		return 0;
	}
	return length;
}

UInt64 GetFileSize(const GS::UniString& path) { return GetFileSize(IO::Location(path)); }
GS::UniString GetFileSizeStr(const IO::Location& location) { return FileSizeToStr(GetFileSize(location)); }
GS::UniString GetFileSizeStr(const GS::UniString& path) { return FileSizeToStr(GetFileSize(path)); }

GS::UniString AppendPath(const GS::UniString& folder, const GS::UniString& name)
{
	if (folder.IsEmpty()) return name;
	return AppendPath(IO::Location(folder), name);
}

GS::UniString AppendPath(const IO::Location& location, const GS::UniString& name)
{
	IO::Location copy = location;
	static_cast<void>(copy.AppendToLocal(IO::Name(name)));
	return copy.ToDisplayText();
}

GS::UniString AppendPath(const IO::Location& location, const GS::UniString& a, const GS::UniString& b)
{
	IO::Location copy = location;
	static_cast<void>(copy.AppendToLocal(IO::Name(a)));
	static_cast<void>(copy.AppendToLocal(IO::Name(b)));
	return copy.ToDisplayText();
}

bool IsFileExist(const IO::Location& location) { return IO::File(location, IO::File::Fail).GetStatus() == NoError; }
bool IsFileExist(const GS::UniString& path) { return IsFileExist(IO::Location(path)); }
bool IsFolderExist(const IO::Location& location) { return IO::Folder(location).GetStatus() == NoError; }
bool IsFolderExist(const GS::UniString& path) { return IsFolderExist(IO::Location(path)); }

GS::UniString ToDisplayText(const IO::Location& location) { return location.ToDisplayText(); }

GSErrCode TextFileRead(const IO::Location& location, GS::UniString& text)
{
	IO::File file(location);
	UInt64 length = 0;
	if (const GSErrCode err = OpenForRead(file, location, length)) return err;
	std::vector<char> buffer(length + 1, 0);
	if (const GSErrCode err = ReadAll(file, location, buffer.data(), length)) return err;
	if (const GSErrCode err = CloseAfter(file, location)) return err;
	text = GS::UniString(buffer.data(), GS::CC_UTF8);
	return NoError;
}

GSErrCode FileRead(const IO::Location& location, GS::Array<unsigned char>& bytes)
{
	IO::File file(location);
	UInt64 length = 0;
	if (const GSErrCode err = OpenForRead(file, location, length)) return err;
	std::vector<char> buffer(length);
	if (const GSErrCode err = ReadAll(file, location, buffer.data(), length)) return err;
	if (const GSErrCode err = CloseAfter(file, location)) return err;
	bytes.Clear();
	bytes.SetCapacity(static_cast<UInt32>(length));
	for (const char c : buffer) bytes.Push(static_cast<unsigned char>(c));
	return NoError;
}

GSErrCode TextFileWrite(const IO::Location& location, const char* text)
{
	const char* data = text != nullptr ? text : "";
	return WriteInPlace(location, data, std::char_traits<char>::length(data));
}

GSErrCode FileWrite(const IO::Location& location, const GS::Array<unsigned char>& bytes)
{
	std::vector<char> data(bytes.begin(), bytes.end());
	return WriteInPlace(location, data.data(), data.size());
}

} // namespace kivel
