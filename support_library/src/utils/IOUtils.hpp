// Small file-system and path functions: sizes, paths, existence, whole-file reads and writes.
// The readers and writers report every failed step to the report window with an alert,
// naming the file and the host error; the rest report nothing.
#ifndef KIVEL_IOUTILS_HPP
#define KIVEL_IOUTILS_HPP

#include "ACAPinc.h"
#include "Array.hpp"
#include "File.hpp"
#include "Location.hpp"

namespace kivel {

// Error of a file that cannot be opened or is empty.
constexpr GSErrCode FileNotUsable = -7003;

// The applications folder of the local domain; empty when the system names none.
GS::UniString GetProgramsPath();
// The value of "TMPDIR", or "/tmp" when it is not set.
GS::UniString GetSystemTempPath();
// The text as a file name, made legal when it is not.
IO::Name ConvertToValidFilename(const GS::UniString& name);
// "%.2f %s" of the size in B, KB, MB, GB or TB (1024 steps; TB from 2^40 on).
GS::UniString FileSizeToStr(unsigned long long size);

// The file's length in bytes; 0 on failure (written to the debug log only).
UInt64 GetFileSize(const IO::Location& location);
UInt64 GetFileSize(const GS::UniString& path);
// FileSizeToStr of GetFileSize.
GS::UniString GetFileSizeStr(const IO::Location& location);
GS::UniString GetFileSizeStr(const GS::UniString& path);

// The folder's display text with the name appended; the name alone when the folder is empty.
GS::UniString AppendPath(const GS::UniString& folder, const GS::UniString& name);
// The display text of the location with the name (then the second name) appended.
GS::UniString AppendPath(const IO::Location& location, const GS::UniString& name);
GS::UniString AppendPath(const IO::Location& location, const GS::UniString& a, const GS::UniString& b);

// True when a file (a folder) is at the location. Nothing is opened or reported.
bool IsFileExist(const IO::Location& location);
bool IsFileExist(const GS::UniString& path);
bool IsFolderExist(const IO::Location& location);
bool IsFolderExist(const GS::UniString& path);

GS::UniString ToDisplayText(const IO::Location& location);

// Reads the whole file: 0, or the error of the failed step (FileNotUsable for a file that
// cannot be opened or is empty). On failure the output is untouched.
GSErrCode TextFileRead(const IO::Location& location, GS::UniString& text);
GSErrCode FileRead(const IO::Location& location, GS::Array<unsigned char>& bytes);

// Replaces the file's content with the text's bytes (up to its zero) or the bytes, in place:
// an older file is deleted, then a new one created, opened, written and closed. A failed step
// is reported and leaves what the steps before it made. 0, or the error of the failed step.
GSErrCode TextFileWrite(const IO::Location& location, const char* text);
GSErrCode FileWrite(const IO::Location& location, const GS::Array<unsigned char>& bytes);

} // namespace kivel

#endif
