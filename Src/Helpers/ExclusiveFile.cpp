#include "Helpers/ExclusiveFile.hpp"

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <random>
#include <utility>

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

struct FaultState {
	Fault fault;
	int met = 0; // failures delivered so far
};

FaultState& Faults()
{
	static FaultState state;
	return state;
}

// The errno a test's fault gives this call of `call`, or 0 when it goes through.
int FaultFor(const char* call)
{
	FaultState& s = Faults();
	if (s.fault.error == 0 || s.fault.call != call || (s.fault.times >= 0 && s.met >= s.fault.times)) return 0;
	++s.met;
	return s.fault.error;
}

// A call whose failure leaves nothing done: a fault answers in its place.
template <class Call>
auto Refusable(const char* name, Call make) -> decltype(make())
{
	if (const int e = FaultFor(name)) {
		errno = e;
		return -1;
	}
	return make();
}

// A call the system makes before it reports a failure: a fault replaces its answer.
template <class Call>
auto Reported(const char* name, Call make) -> decltype(make())
{
	const auto answer = make();
	if (const int e = FaultFor(name)) {
		errno = e;
		return -1;
	}
	return answer;
}

// The bytes one write passes to the system: all, or as few as a test's fault allows.
std::size_t Capped(std::size_t length)
{
	const std::size_t most = Faults().fault.writeAtMost;
	return most != 0 && most < length ? most : length;
}

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
		const ssize_t n = Refusable("write", [&] { return ::write(fd, data + done, Capped(length - done)); });
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
	const int fd = Refusable("open", [&] { return ::open(path.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_NOFOLLOW | O_CLOEXEC, 0644); });
	if (fd < 0) Fail(failure, "open", errno);
	return fd;
}

bool WriteBeside(const std::string& target, const char* data, std::size_t length, Failure& failure)
{
	std::string temp;
	const int fd = CreateTemporary(target, temp, failure);
	if (fd < 0) return false;
	bool ok = WriteAll(fd, data, length, failure);
	if (ok) {
		ok = Reported("fsync", [&] { return ::fsync(fd); }) == 0;
		if (!ok) Fail(failure, "fsync", errno);
	}
	if (Reported("close", [&] { return ::close(fd); }) != 0 && ok) ok = Fail(failure, "close", errno);
	if (ok) {
		ok = Refusable("rename", [&] { return ::rename(temp.c_str(), target.c_str()); }) == 0;
		if (!ok) Fail(failure, "rename", errno);
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

void SetFaultForTests(Fault fault) { Faults() = FaultState{std::move(fault), 0}; }

void SetFailingCallForTests(const char* call, int error) { SetFaultForTests(Fault{call != nullptr ? call : "", error}); }

} // namespace ExclusiveFile
