// One run of a program in a fresh process, as the benchmarks take every measurement.
#ifndef VELMORA_BENCH_SPAWN_HPP
#define VELMORA_BENCH_SPAWN_HPP

#include <chrono>
#include <cstdio>
#include <string>
#include <vector>

#include <fcntl.h>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

namespace bench {

struct Spawned {
	std::string text;     // what the collected stream printed
	bool ok = false;      // the program ran and exited with status 0
	double seconds = 0;   // from start to end, measured outside
	double peakMB = 0;    // its peak resident memory
	double cpuSeconds = 0; // its processor time (user and system)
};

// Runs argv (argv[0] the program's path) and waits for it. `stream` is the one collected,
// 1 for standard output or 2 for standard error; the other of the two goes to /dev/null
// when `quietOther` is set. The child's peak memory starts from what the calling process
// holds resident when it forks (the kernel keeps the larger of the two): write big inputs
// in a child too, so that the caller stays small.
inline Spawned Spawn(const std::vector<std::string>& argv, int stream = 1, bool quietOther = false)
{
	Spawned s;
	int pipeFds[2];
	if (argv.empty() || ::pipe(pipeFds) != 0) return s;
	std::vector<char*> args;
	for (const std::string& a : argv) args.push_back(const_cast<char*>(a.c_str()));
	args.push_back(nullptr);
	const auto start = std::chrono::steady_clock::now();
	const pid_t pid = ::fork();
	if (pid == 0) {
		::dup2(pipeFds[1], stream);
		if (quietOther) {
			const int devnull = ::open("/dev/null", O_WRONLY);
			::dup2(devnull, stream == 1 ? 2 : 1);
		}
		::close(pipeFds[0]);
		::close(pipeFds[1]);
		::execv(args[0], args.data());
		std::perror("exec");
		::_exit(127);
	}
	::close(pipeFds[1]);
	char buffer[4096];
	for (ssize_t n; pid > 0 && (n = ::read(pipeFds[0], buffer, sizeof buffer)) > 0;) s.text.append(buffer, static_cast<std::size_t>(n));
	::close(pipeFds[0]);
	int status = 0;
	struct rusage usage {};
	if (pid < 0 || ::wait4(pid, &status, 0, &usage) != pid) return s;
	s.seconds = std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
	s.peakMB = static_cast<double>(usage.ru_maxrss) / 1024.0; // kilobytes on Linux
	s.cpuSeconds = static_cast<double>(usage.ru_utime.tv_sec + usage.ru_stime.tv_sec) +
	               static_cast<double>(usage.ru_utime.tv_usec + usage.ru_stime.tv_usec) / 1e6;
	s.ok = WIFEXITED(status) && WEXITSTATUS(status) == 0;
	return s;
}

} // namespace bench

#endif
