// IO::File: a file on the real file system, through C stdio.
#ifndef VHOST_FILE_HPP
#define VHOST_FILE_HPP

#include <cstdio>

#include "Location.hpp"

namespace IO {

enum AccessDeniedTreatment { AccessDeniedIsError = 0, AccessDeniedIsNoError = 1, AcceptAccessDenied = 2 };

class File {
public:
	enum OnNotFound { Fail = 0, Create = 1 };
	enum OpenMode { ReadMode = 0, WriteMode = 1, ReadWriteMode = 2, WriteEmptyMode = 3, AppendMode = 4 };

	// Fail: the status is ErrFileNotFound when nothing is there. Create: an empty file is made.
	explicit File(const Location& loc, OnNotFound onNotFound = Fail);
	~File();
	File(const File&) = delete;
	File& operator=(const File&) = delete;

	GSErrCode GetStatus() const { return status_; }
	GSErrCode Open(OpenMode mode, AccessDeniedTreatment adt = AccessDeniedIsError);
	GSErrCode Close();
	bool IsOpen() const { return fp_ != nullptr; }
	// Reads up to n bytes. At the end of the file it answers ErrEndOfFile with the short count.
	GSErrCode ReadBin(char* dest, UInt32 n, UInt32* read = nullptr);
	// A short write is an error (ErrIO) with the count written.
	GSErrCode WriteBin(const char* source, UInt32 n, UInt32* written = nullptr);
	GSErrCode GetDataLength(UInt64* length) const;
	GSErrCode SetDataLength(UInt64 length);
	GSErrCode Seek(UInt64 pos);
	GSErrCode Flush();

private:
	Location loc_;
	GSErrCode status_ = NoError;
	std::FILE* fp_ = nullptr;
};

} // namespace IO

#endif
