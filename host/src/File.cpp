#include "File.hpp"

#include <cerrno>
#include <sys/stat.h>
#include <unistd.h>

#include "vhost/Project.hpp"
#include "vhost/Text.hpp"

namespace IO {

namespace {

constexpr std::size_t ReadBuffer = 64 * 1024;

GSErrCode FromErrno(int e)
{
	switch (e) {
		case ENOENT: case ENOTDIR: return ErrFileNotFound;
		case EACCES: case EPERM: case EROFS: return ErrAccessDenied;
		case EISDIR: return ErrNotAFile;
		case EMFILE: case ENFILE: return ErrNoMoreOSFile;
		default: return ErrIO;
	}
}

} // namespace

File::File(const Location& loc, OnNotFound onNotFound) : loc_(loc)
{
	status_ = vhost::FaultFor("IO::File::File", vhost::PathOf(loc));
	if (status_ != NoError) return;
	if (loc.IsEmpty()) { status_ = ErrLocation; return; }
	struct stat st{};
	if (::stat(vhost::PathOf(loc).c_str(), &st) == 0) {
		status_ = S_ISREG(st.st_mode) ? NoError : ErrNotAFile;
		return;
	}
	if (onNotFound == Fail) { status_ = ErrFileNotFound; return; }
	std::FILE* fp = std::fopen(vhost::PathOf(loc).c_str(), "wb");
	status_ = fp != nullptr ? NoError : FromErrno(errno);
	if (fp != nullptr) std::fclose(fp);
}

// Closing as the object goes never allocates or throws (no fault applies to it).
File::~File()
{
	if (fp_ != nullptr) std::fclose(fp_);
}

GSErrCode File::Open(OpenMode mode, AccessDeniedTreatment /*adt*/)
{
	if (const GSErrCode f = vhost::FaultFor("IO::File::Open", vhost::PathOf(loc_))) return f;
	if (status_ != NoError) return status_;
	if (fp_ != nullptr) Close();
	static const char* const modes[] = {"rb", "r+b", "r+b", "wb", "ab"};
	fp_ = std::fopen(vhost::PathOf(loc_).c_str(), modes[mode]);
	if (fp_ == nullptr) return FromErrno(errno);
	// Whole-file readers ask for small pieces: a large buffer serves them with few system calls.
	if (mode == ReadMode) std::setvbuf(fp_, nullptr, _IOFBF, ReadBuffer);
	return NoError;
}

GSErrCode File::Close()
{
	if (fp_ == nullptr) return NoError;
	const int rc = std::fclose(fp_);
	fp_ = nullptr;
	if (const GSErrCode f = vhost::FaultFor("IO::File::Close", vhost::PathOf(loc_))) return f;
	return rc == 0 ? NoError : ErrIO;
}

GSErrCode File::ReadBin(char* dest, UInt32 n, UInt32* read)
{
	if (read != nullptr) *read = 0;
	if (fp_ == nullptr) return ErrNotOpen;
	if (vhost::FaultsArmed())
		if (const GSErrCode f = vhost::FaultFor("IO::File::ReadBin", vhost::PathOf(loc_))) return f;
	const std::size_t got = std::fread(dest, 1, n, fp_);
	if (read != nullptr) *read = static_cast<UInt32>(got);
	if (got == n) return NoError;
	return std::ferror(fp_) ? ErrIO : ErrEndOfFile;
}

GSErrCode File::WriteBin(const char* source, UInt32 n, UInt32* written)
{
	if (written != nullptr) *written = 0;
	if (fp_ == nullptr) return ErrNotOpen;
	if (const GSErrCode f = vhost::FaultFor("IO::File::WriteBin", vhost::PathOf(loc_))) return f;
	const std::size_t put = std::fwrite(source, 1, n, fp_);
	if (written != nullptr) *written = static_cast<UInt32>(put);
	return put == n ? NoError : ErrIO;
}

GSErrCode File::GetDataLength(UInt64* length) const
{
	if (const GSErrCode f = vhost::FaultFor("IO::File::GetDataLength", vhost::PathOf(loc_))) return f;
	if (status_ != NoError) return status_;
	struct stat st{};
	if (::stat(vhost::PathOf(loc_).c_str(), &st) != 0) return FromErrno(errno);
	*length = static_cast<UInt64>(st.st_size);
	return NoError;
}

GSErrCode File::SetDataLength(UInt64 length)
{
	if (status_ != NoError) return status_;
	if (fp_ != nullptr) std::fflush(fp_);
	return ::truncate(vhost::PathOf(loc_).c_str(), static_cast<off_t>(length)) == 0 ? NoError : FromErrno(errno);
}

GSErrCode File::Seek(UInt64 pos)
{
	if (fp_ == nullptr) return ErrNotOpen;
	return std::fseek(fp_, static_cast<long>(pos), SEEK_SET) == 0 ? NoError : ErrIllegalPosition;
}

GSErrCode File::Flush()
{
	if (fp_ == nullptr) return ErrNotOpen;
	if (const GSErrCode f = vhost::FaultFor("IO::File::Flush", vhost::PathOf(loc_))) return f;
	return std::fflush(fp_) == 0 ? NoError : ErrIO;
}

} // namespace IO
