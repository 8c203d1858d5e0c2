#include "Helpers/ExclusiveFile.hpp"

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <random>

#include <fcntl.h>
#include <unistd.h>

namespace ExclusiveFile {

namespace {

// Names tried for the temporary file before giving up.
constexpr int kTempNameTries = 16;

std::function<std::uint32_t()>& SuffixSource()
{
	static std::function<std::uint32_t()> source;
	return source;
}

struct FailingCall {
	std::string call;
	int error = 0;
};

FailingCall& Failing()
{
	static FailingCall failing;
	return failing;
}

// The errno a test makes the call fail with, or 0 to make it.
int Injected(const char* call) { return !Failing().call.empty() && Failing().call == call ? Failing().error : 0; }

bool Fail(Failure& failure, const char* call, int error)
{
	failure.call = call;
	failure.error = error;
	return false;
}

std::uint32_t NextSuffix()
{
	if (SuffixSource()) return SuffixSource()();
	static std::random_device random;
	return static_cast<std::uint32_t>(random());
}

bool WriteAll(int fd, const char* data, std::size_t length, Failure& failure)
{
	for (std::size_t done = 0; done < length;) {
		if (const int e = Injected("write")) return Fail(failure, "write", e);
		const ssize_t n = ::write(fd, data + done, length - done);
		if (n < 0 && errno == EINTR) continue;
		if (n <= 0) return Fail(failure, "write", n < 0 ? errno : EIO);
		done += static_cast<std::size_t>(n);
	}
	return true;
}

// The new temporary file beside target: its descriptor and name, or -1.
int CreateTemporary(const std::string& target, std::string& temp, Failure& failure)
{
	for (int attempt = 0; attempt < kTempNameTries; ++attempt) {
		char suffix[24];
		std::snprintf(suffix, sizeof suffix, ".writing-%08x", static_cast<unsigned>(NextSuffix()));
		temp = target + suffix;
		const int fd = OpenNew(temp, failure);
		if (fd >= 0 || failure.error != EEXIST) return fd;
	}
	return -1;
}

// The conventional names of the errno values a file write meets; others go by number alone.
const struct {
	int value;
	const char* name;
} kErrnoNames[] = {
	{EPERM, "EPERM"}, {ENOENT, "ENOENT"}, {EINTR, "EINTR"}, {EIO, "EIO"}, {EBADF, "EBADF"}, {ENOMEM, "ENOMEM"},
	{EACCES, "EACCES"}, {EBUSY, "EBUSY"}, {EEXIST, "EEXIST"}, {EXDEV, "EXDEV"}, {ENOTDIR, "ENOTDIR"},
	{EISDIR, "EISDIR"}, {EINVAL, "EINVAL"}, {ENFILE, "ENFILE"}, {EMFILE, "EMFILE"}, {ETXTBSY, "ETXTBSY"},
	{EFBIG, "EFBIG"}, {ENOSPC, "ENOSPC"}, {EROFS, "EROFS"}, {EMLINK, "EMLINK"}, {ENAMETOOLONG, "ENAMETOOLONG"},
	{ENOTEMPTY, "ENOTEMPTY"}, {ELOOP, "ELOOP"}, {EDQUOT, "EDQUOT"},
};

const char* ErrnoName(int error)
{
	for (const auto& e : kErrnoNames)
		if (e.value == error) return e.name;
	return "E?";
}

} // namespace

int OpenNew(const std::string& path, Failure& failure)
{
	const int injected = Injected("open");
	const int fd = injected != 0 ? -1 : ::open(path.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_NOFOLLOW | O_CLOEXEC, 0644);
	if (fd < 0) Fail(failure, "open", injected != 0 ? injected : errno);
	return fd;
}

bool WriteBeside(const std::string& target, const char* data, std::size_t length, Failure& failure)
{
	std::string temp;
	const int fd = CreateTemporary(target, temp, failure);
	if (fd < 0) return false;
	bool ok = WriteAll(fd, data, length, failure);
	if (ok) {
		const int e = Injected("fsync");
		ok = e == 0 && ::fsync(fd) == 0;
		if (!ok) Fail(failure, "fsync", e != 0 ? e : errno);
	}
	if (::close(fd) != 0 && ok) ok = Fail(failure, "close", errno);
	if (ok) {
		const int e = Injected("rename");
		ok = e == 0 && ::rename(temp.c_str(), target.c_str()) == 0;
		if (!ok) Fail(failure, "rename", e != 0 ? e : errno);
	}
	// The temporary file is this call's own (made exclusively), so removing it touches nothing else.
	if (!ok) ::unlink(temp.c_str());
	return ok;
}

std::string ErrnoText(int error)
{
	char text[256];
	std::snprintf(text, sizeof text, " *%d:%s:%s*", error, ErrnoName(error), std::strerror(error));
	return text;
}

void SetSuffixSourceForTests(std::function<std::uint32_t()> next) { SuffixSource() = std::move(next); }

void SetFailingCallForTests(const char* call, int error) { Failing() = FailingCall{call != nullptr ? call : "", error}; }

} // namespace ExclusiveFile
