// Whole-file reading: every input file is read into memory before it is parsed.
#ifndef VELMORA_BINFILEHELPER_HPP
#define VELMORA_BINFILEHELPER_HPP

#include <vector>

#include "Helpers/ReadOutcome.hpp"
#include "Location.hpp"

// Appends the bytes of `file` to `data` (callers pass an empty vector). Answers 0, the
// error of a failed length query (silently), or the error of a failed open or read, or -39
// when fewer or more bytes arrived than the length promised (reading stops at the first
// 256-byte block past the length, so a device is never read to its end), or APIERR_MEMFULL
// when the bytes do not fit in memory; every failure but the first is reported with an
// alert. On failure `data` keeps what was appended before (and what was read of the file).
GSErrCode ReadBinaryData(std::vector<unsigned char>& data, const IO::Location& file);

// Reports, with an alert, a reader that stopped before the end of the file shown as `name`:
// "Error: File (%s) does not fit in memory!" when memory ran out, else `damaged` (a format
// whose one %s takes the name). Nothing when the file was read.
void ReportStoppedRead(ReadOutcome outcome, const char* name, const char* damaged);

// A new terminated copy of `data` (array new; the caller frees it with delete[]).
char* convertVectorToCharArray(const std::vector<unsigned char>& data);

// Reads one line from *cursor into `line` (at most size - 1 characters, the line feed kept),
// like fgets over a buffer, and advances *cursor past them. The source is the NUL-terminated
// text at *cursor (as convertVectorToCharArray makes it): nothing at or past its NUL is read
// or passed. Answers null when nothing was read (at the NUL, size below 2, or a null
// argument), else a pointer to the NUL written after the copied characters.
char* sgets(char* line, int size, char** cursor);

#endif
