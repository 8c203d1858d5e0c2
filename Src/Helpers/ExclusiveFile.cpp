#include "Helpers/ExclusiveFile.hpp"

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <random>
#include <utility>

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace ExclusiveFile {

namespace {

// Names tried for the temporary file before giving up.
constexpr int kTempNameTries = 16;

// The temporary file's name in the target's folder, whatever the target's own name:
// this prefix and eight hex digits.
constexpr char kTempPrefix[] = ".writing-";

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

// Makes the call again while it answers EINTR, kInterruptedTries times in all at most.
template <class Call>
auto Retried(Call make) -> decltype(make())
{
	auto answer = make();
	for (int tries = 1; answer < 0 && errno == EINTR && tries < kInterruptedTries; ++tries) answer = make();
	return answer;
}

bool WriteAll(int fd, const char* data, std::size_t length, Failure& failure)
{
	for (std::size_t done = 0; done < length;) {
		const auto call = [&] { return ::write(fd, data + done, Capped(length - done)); };
		const ssize_t n = Retried([&] { return Refusable("write", call); });
		if (n <= 0) return Fail(failure, "write", n < 0 ? errno : EIO);
		done += static_cast<std::size_t>(n);
	}
	return true;
}

int FlushCall(int fd)
{
#ifdef __APPLE__
	// Here fsync leaves the bytes in the drive's own cache; F_FULLFSYNC has the drive write
	// them, and a file system that does not take it still gets fsync.
	if (::fcntl(fd, F_FULLFSYNC) == 0) return 0;
#endif
	return ::fsync(fd);
}

// Flushes the file or folder to disk; `step` names it in the failure.
bool Flush(int fd, const char* step, Failure& failure)
{
	return Retried([&] { return Reported(step, [&] { return FlushCall(fd); }); }) == 0 || Fail(failure, step, errno);
}

// The permission bits a new file at target gets, and whether they must be set exactly.
struct NewMode {
	mode_t bits = 0666; // less the umask when not exact
	bool exact = false;
};

// A regular file at target (or what a link there points at) passes its bits on; false
// when target cannot be looked at.
bool ModeFor(const std::string& target, NewMode& mode, Failure& failure)
{
	struct stat st {};
	if (Refusable("lstat", [&] { return ::lstat(target.c_str(), &st); }) != 0)
		return errno == ENOENT || Fail(failure, "lstat", errno);
	// A link is replaced itself, so one that leads nowhere leaves nothing to keep.
	if (S_ISLNK(st.st_mode) && ::stat(target.c_str(), &st) != 0) return true;
	if (S_ISREG(st.st_mode)) mode = NewMode{static_cast<mode_t>(st.st_mode & (S_IRWXU | S_IRWXG | S_IRWXO)), true};
	return true;
}

// The folder holding target, and the start of a path in it.
struct Place {
	std::string folder;
	std::string prefix;
};

Place PlaceOf(const std::string& target)
{
	const std::size_t slash = target.rfind('/');
	if (slash == std::string::npos) return {".", ""};
	return {slash == 0 ? "/" : target.substr(0, slash), target.substr(0, slash + 1)};
}

int OpenFolder(const std::string& folder, Failure& failure)
{
	const auto call = [&] { return ::open(folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC); };
	const int fd = Retried([&] { return Refusable("open folder", call); });
	if (fd < 0) Fail(failure, "open folder", errno);
	return fd;
}

// The new temporary file in the folder, its bits set: its descriptor and name, or -1.
int CreateTemporary(const Place& place, const NewMode& mode, std::string& temp, Failure& failure)
{
	for (int attempt = 0; attempt < kTempNameTries; ++attempt) {
		char name[sizeof kTempPrefix + 8];
		std::snprintf(name, sizeof name, "%s%08x", kTempPrefix, static_cast<unsigned>(NextSuffix()));
		temp = place.prefix + name;
		// Made with no more bits than it ends with (the umask may drop some), then set exactly.
		const int fd = OpenNew(temp, failure, mode.bits);
		if (fd >= 0 && mode.exact && Reported("fchmod", [&] { return ::fchmod(fd, mode.bits); }) != 0) {
			Fail(failure, "fchmod", errno);
			::close(fd);
			::unlink(temp.c_str());
			return -1;
		}
		if (fd >= 0 || failure.error != EEXIST) return fd;
	}
	return -1;
}

// Writes, flushes and closes the file; after a good flush, a close that answers EINTR
// has lost nothing (the descriptor is gone either way).
bool Fill(int fd, const char* data, std::size_t length, Failure& failure)
{
	bool ok = WriteAll(fd, data, length, failure) && Flush(fd, "fsync", failure);
	if (Reported("close", [&] { return ::close(fd); }) != 0 && errno != EINTR && ok) ok = Fail(failure, "close", errno);
	return ok;
}

// Puts the bytes in place of target; false with the target untouched and no file left behind.
bool Replace(const Place& place, const std::string& target, const char* data, std::size_t length, Failure& failure)
{
	NewMode mode;
	if (!ModeFor(target, mode, failure)) return false;
	std::string temp;
	const int fd = CreateTemporary(place, mode, temp, failure);
	if (fd < 0) return false;
	const auto call = [&] { return ::rename(temp.c_str(), target.c_str()); };
	const bool ok = Fill(fd, data, length, failure) && (Refusable("rename", call) == 0 || Fail(failure, "rename", errno));
	// The temporary file is this call's own (made exclusively), so removing it touches nothing else.
	if (!ok) ::unlink(temp.c_str());
	return ok;
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

int OpenNew(const std::string& path, Failure& failure, mode_t mode)
{
	const auto call = [&] { return ::open(path.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_NOFOLLOW | O_CLOEXEC, mode); };
	const int fd = Retried([&] { return Refusable("open", call); });
	if (fd < 0) Fail(failure, "open", errno);
	return fd;
}

bool WriteBeside(const std::string& target, const char* data, std::size_t length, Failure& failure)
{
	// The folder is opened first, so that failing to open it leaves the target as it was.
	const Place place = PlaceOf(target);
	const int folder = OpenFolder(place.folder, failure);
	if (folder < 0) return false;
	// Flushing the folder makes the rename itself last through a crash.
	const bool ok = Replace(place, target, data, length, failure) && Flush(folder, "fsync folder", failure);
	::close(folder);
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
