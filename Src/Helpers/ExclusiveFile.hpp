// Writing a whole file so that no reader ever sees half of it: the bytes go to a new file
// beside the target, made exclusively, flushed to disk and then renamed over the target in one
// step. Uses the platform's own POSIX calls (open, write, fsync, rename, unlink).
#ifndef VELMORA_EXCLUSIVEFILE_HPP
#define VELMORA_EXCLUSIVEFILE_HPP

#include <cstddef>
#include <cstdint>
#include <functional>
#include <string>

namespace ExclusiveFile {

// A call answering EINTR is made again, this many times in all at most.
constexpr int kInterruptedTries = 8;

// A failed step: the POSIX call ("open", "write", "fsync", "rename") and its errno.
struct Failure {
	const char* call = nullptr;
	int error = 0;
};

// Opens a new file at path for writing, created by this call: anything already at the path
// (a file, a folder, a symbolic link, even a dangling one) makes it fail with EEXIST; nothing
// is written through a link. The descriptor, or -1 with failure set.
int OpenNew(const std::string& path, Failure& failure);

// Writes the bytes to a new file beside target, named "<name>.writing-" and eight hex digits
// (another name is tried while one is taken), flushes it and renames it over target; a link
// at target is replaced itself, what it points at stays as it was. True; or false with the
// failed step, the target untouched and the temporary file removed.
bool WriteBeside(const std::string& target, const char* data, std::size_t length, Failure& failure);

// " *%d:%s:%s*" of the errno: its number, its name ("EEXIST") and its text.
std::string ErrnoText(int error);

// Test seam: the source of the temporary names' random part (null: the system's random device).
void SetSuffixSourceForTests(std::function<std::uint32_t()> next);

// Test seam: a fault the writer's system calls meet, where the writer reads their answers.
// The first `times` calls named `call` (every one while times is negative) answer -1 with
// `error`: a failing "open", "write" or "rename" is not made, as a refused call does nothing;
// a failing "fsync" or "close" is made first, as the system reports those after acting.
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
