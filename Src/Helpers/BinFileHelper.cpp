#include "BinFileHelper.hpp"

#include <cstring>
#include <new>

#include "ACAPinc.h"
#include "File.hpp"

namespace {

constexpr UInt32 ChunkSize = 256;
constexpr GSErrCode LengthMismatch = -39; // the bytes read differ from the length the file gave

// The messages show counts through "%d"; they are passed as int.
int Shown(UInt64 n) { return static_cast<int>(n); }

} // namespace

GSErrCode ReadBinaryData(std::vector<unsigned char>& data, const IO::Location& file)
{
	IO::File f(file, IO::File::Fail);
	UInt64 length = 0;
	if (const GSErrCode err = f.GetDataLength(&length)) return err;
	const GS::UniString::CStr name = file.ToDisplayText().ToCStr();

	if (const GSErrCode err = f.Open(IO::File::ReadMode, IO::AcceptAccessDenied)) {
		ACAPI_WriteReport("3ds (%s) file error: %d", true, name.Get(), static_cast<int>(err));
		return err;
	}
	char buffer[ChunkSize];
	std::memset(buffer, 0, sizeof buffer);
	UInt32 count = 0;
	GSErrCode err = f.ReadBin(buffer, ChunkSize, &count);
	if (err != NoError && count != length) {
		ACAPI_WriteReport("3ds (%s) file pre-read error: %d, read: %d, totalRead: %d out of %d", true, name.Get(),
		                  static_cast<int>(err), Shown(count), Shown(count), Shown(length));
		return err;
	}
	UInt64 total = count;
	try {
		// Room for the whole file at once: growing by doubling would touch about twice its size
		// in fresh memory and copy it again.
		if (length <= data.max_size() - data.size()) data.reserve(data.size() + static_cast<std::size_t>(length));
		while (count != 0 && total <= length) {
			// Bytes to bytes of the same type: a plain copy, not a loop of conversions.
			const auto* bytes = reinterpret_cast<const unsigned char*>(buffer);
			data.insert(data.end(), bytes, bytes + count);
			err = f.ReadBin(buffer, ChunkSize, &count);
			total += count;
			if (err != NoError && total != length) {
				ACAPI_WriteReport("3ds (%s) file read error: %d, read: %d, totalRead: %d out of %d", true, name.Get(),
				                  static_cast<int>(err), Shown(count), Shown(total), Shown(length));
				return err;
			}
		}
	} catch (const std::bad_alloc&) {
		ACAPI_WriteReport("3ds (%s) file read error: out of memory for its %llu bytes", true, name.Get(),
		                  static_cast<unsigned long long>(length));
		return APIERR_MEMFULL;
	}
	f.Close();
	// A device or a growing file gives more than its length said: stop there, not at its end.
	if (total != length) {
		ACAPI_WriteReport("3ds (%s) file read error totalRead: %d out of %d", true, name.Get(), Shown(total),
		                  Shown(length));
		return LengthMismatch;
	}
	return NoError;
}

void ReportStoppedRead(ReadOutcome outcome, const char* name, const char* damaged)
{
	if (outcome == ReadOutcome::OutOfMemory) ACAPI_WriteReport("Error: File (%s) does not fit in memory!", true, name);
	else if (outcome == ReadOutcome::Damaged) ACAPI_WriteReport(damaged, true, name);
}

char* convertVectorToCharArray(const std::vector<unsigned char>& data)
{
	char* text = new char[data.size() + 1];
	if (!data.empty()) std::memcpy(text, data.data(), data.size());
	text[data.size()] = 0;
	return text;
}

char* sgets(char* line, int size, char** cursor)
{
	if (line == nullptr || cursor == nullptr || *cursor == nullptr) return nullptr;
	const int most = size < 2 ? 0 : size - 1;
	const char* src = *cursor;
	int n = 0;
	// The source ends at its NUL: each character is tested before the next one is looked at.
	while (n < most && src[n] != 0) {
		line[n] = src[n];
		if (src[n++] == '\n') break;
	}
	if (n == 0) return nullptr;
	line[n] = 0;
	*cursor += n;
	return line + n;
}
