// Writing a whole file so that no reader ever sees half of it: the bytes go to a new file
// beside the target, made exclusively, flushed to disk and then renamed over the target in one
// step. Uses the platform's own POSIX calls (lstat, stat, open, fchmod, write, fsync, close,
// rename, unlink; on macOS fcntl's F_FULLFSYNC).
#ifndef VELMORA_EXCLUSIVEFILE_HPP
#define VELMORA_EXCLUSIVEFILE_HPP

#include <cstddef>
#include <cstdint>
#include <functional>
#include <string>

#include <sys/types.h>

namespace ExclusiveFile {

// A call answering EINTR is made again, this many times in all at most.
constexpr int kInterruptedTries = 8;

// A failed step: the POSIX call ("lstat", "open", "fchmod", "write", "fsync", "close",
// "rename"; "open folder" and "fsync folder" for the target's folder) and its errno.
struct Failure {
	const char* call = nullptr;
	int error = 0;
};

// Opens a new file at path for writing, created by this call: anything already at the path
// (a file, a folder, a symbolic link, even a dangling one) makes it fail with EEXIST; nothing
// is written through a link. The file gets the permission bits mode less the umask. The
// descriptor, or -1 with failure set.
int OpenNew(const std::string& path, Failure& failure, mode_t mode = 0666);

// Writes the bytes to a new file in target's folder, named ".writing-" and eight hex digits
// whatever target's name (another name is tried while one is taken), flushes it, renames it
// over target and flushes the folder. The new file keeps the permission bits of the regular
// file at target (or of the one a link there points at) exactly; with none there it gets
// 0666 less the umask. A link at target is replaced itself, what it points at stays as it
// was. True; or false with the failed step, the target untouched and the temporary file
// removed; except that when the folder's flush fails the target already holds the bytes.
bool WriteBeside(const std::string& target, const char* data, std::size_t length, Failure& failure);

// " *%d:%s:%s*" of the errno: its number, its name ("EEXIST") and its text.
std::string ErrnoText(int error);

// Test seam: the source of the temporary names' random part (null: the system's random device).
void SetSuffixSourceForTests(std::function<std::uint32_t()> next);

// Test seam: a fault the writer's system calls meet, where the writer reads their answers.
// The first `times` calls named `call` (every one while times is negative) answer -1 with
// `error`: a failing "lstat", "open", "open folder", "write" or "rename" is not made, as a
// refused call does nothing; a failing "fchmod", "fsync", "fsync folder" or "close" is made
// first, as the system may report those after acting.
// While writeAtMost is not 0, each write passes at most that many bytes to the system.
struct Fault {
	std::string call;
	int error = 0;
	int times = -1;
	std::size_t writeAtMost = 0;
};
void SetFaultForTests(Fault fault);

// Every call named `call` fails with the errno (null call: no fault).
void SetFailingCallForTests(const char* call, int error);

} // namespace ExclusiveFile

#endif
