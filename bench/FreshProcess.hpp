// The runner shared by the reader benchmarks. Every load runs in a fresh process, as a user's
// import reads each file once: the program starts itself again with "--load TOOL FILE" for each
// load, the tools taking turns round after round, and prints medians, the paired ratio of each
// peer to ours per round and the peak memory of each load (getrusage of the child).
// "--steady" adds an in-process mode: every tool loads each file several times in one process,
// the figures then show steady-state throughput and are labelled as such; a benchmark may add
// the warm parse of its reader from bytes already in memory.
//
// Command line of a benchmark:  bench_x [--rounds N] [--sizes MB,MB] [--steady] [FILE ...]
// Without files it generates its own in the temporary folder (sizes default: 10,100) and
// removes them afterwards; files given on the command line are loaded as they are.
// "--generate DIR" only writes the generated files into DIR.
#ifndef VELMORA_BENCH_FRESHPROCESS_HPP
#define VELMORA_BENCH_FRESHPROCESS_HPP

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <functional>
#include <memory>
#include <string>
#include <utility>
#include <vector>

#include <malloc.h>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

#include "Spawn.hpp"

namespace bench {

// One reader under test. load reads the file at path once and answers a short summary of
// what it read (counts), so that the tools can be seen to read the same; it prints to stderr
// and exits non-zero when the reader fails.
struct Tool {
	std::string name;
	std::function<std::string(const std::string& path)> load;
};

// A parse from bytes already in memory, for the steady mode.
class WarmParser {
public:
	virtual ~WarmParser() = default;
	// Parses the bytes into a model it keeps.
	virtual void Parse() = 0;
	// Frees the model; not timed.
	virtual void Release() = 0;
};

// prepare reads the file once and answers the parser of its bytes.
struct WarmParse {
	std::string name;
	std::function<std::unique_ptr<WarmParser>(const std::string& path)> prepare;
};

// Writes a generated file of about the given size to path.
using Generator = std::function<void(std::size_t megabytes, const std::string& path)>;

struct Generated {
	std::string suffix;   // file name ending, e.g. "terrain.3ds"
	Generator write;
	std::size_t mostMB = 0;   // written only for sizes up to this (0: every size)
};

// True in a child: loads then leave their models to the end of the process, as an import keeps
// what it read while it works; in the steady mode every load frees its model.
inline bool& InChild()
{
	static bool child = false;
	return child;
}

// Frees a model, except in a child (see InChild).
template <typename T>
void Dispose(T* model)
{
	if (!InChild()) delete model;
}

inline double Now()
{
	return std::chrono::duration<double>(std::chrono::steady_clock::now().time_since_epoch()).count();
}

// Processor time (user and system) of this process so far, in seconds.
inline double CpuSeconds()
{
	struct rusage usage {};
	::getrusage(RUSAGE_SELF, &usage);
	return static_cast<double>(usage.ru_utime.tv_sec + usage.ru_stime.tv_sec) +
	       static_cast<double>(usage.ru_utime.tv_usec + usage.ru_stime.tv_usec) / 1e6;
}

inline double Median(std::vector<double> v)
{
	if (v.empty()) return 0;
	std::sort(v.begin(), v.end());
	const std::size_t n = v.size();
	return n % 2 ? v[n / 2] : (v[n / 2 - 1] + v[n / 2]) / 2;
}

struct Sample {
	double load = 0;      // seconds, measured inside the child around the load
	double cpu = 0;       // processor seconds of the load (steadier than load on a busy machine)
	double process = 0;   // seconds from start to end of the child, measured outside
	double peakMB = 0;    // the child's peak resident memory
	double addedMB = 0;   // that peak less the peak before the load (the program and its libraries)
	std::string summary;
};

// Starts this program again to load path with tool once.
inline Sample RunChild(const std::string& self, const std::string& tool, const std::string& path)
{
	const Spawned run = Spawn({self, "--load", tool, path});
	if (!run.ok) {
		std::fprintf(stderr, "%s failed on %s\n", tool.c_str(), path.c_str());
		std::exit(1);
	}
	Sample s;
	s.process = run.seconds;
	s.peakMB = run.peakMB;
	char* rest = nullptr;
	s.load = std::strtod(run.text.c_str(), &rest);
	s.cpu = std::strtod(rest, &rest);
	s.addedMB = s.peakMB - std::strtod(rest, &rest) / 1024.0;
	s.summary = rest + (*rest == ' ');
	while (!s.summary.empty() && s.summary.back() == '\n') s.summary.pop_back();
	return s;
}

inline double FileMB(const std::string& path)
{
	return static_cast<double>(std::filesystem::file_size(path)) / 1e6;
}

// Brings the file into the page cache, so every load finds it there.
inline void Warm(const std::string& path)
{
	std::ifstream in(path, std::ios::binary);
	std::vector<char> buffer(1 << 20);
	while (in.read(buffer.data(), static_cast<std::streamsize>(buffer.size())) || in.gcount() > 0) {}
}

inline void FreshProcess(const std::string& self, const std::vector<Tool>& tools, const std::string& path, int rounds)
{
	Warm(path);
	const double fileMB = FileMB(path);
	std::vector<std::vector<Sample>> samples(tools.size());
	for (int r = 0; r < rounds; ++r)
		for (std::size_t k = 0; k < tools.size(); ++k) {   // each round starts with another tool
			const std::size_t t = (k + static_cast<std::size_t>(r)) % tools.size();
			samples[t].push_back(RunChild(self, tools[t].name, path));
		}
	std::printf("%s: %.1f MB, fresh process per load, %d rounds in turn, medians\n",
	            std::filesystem::path(path).filename().c_str(), fileMB, rounds);
	std::printf("  %-8s %10s %10s %12s %11s %11s %10s  %s\n", "tool", "load", "load cpu", "process", "peak", "added",
	            "added/file", "read");
	std::vector<double> load(tools.size());
	for (std::size_t t = 0; t < tools.size(); ++t) {
		std::vector<double> l, c, p, m, a;
		for (const Sample& s : samples[t])
			l.push_back(s.load), c.push_back(s.cpu), p.push_back(s.process), m.push_back(s.peakMB), a.push_back(s.addedMB);
		load[t] = Median(l);
		const double added = Median(a);
		std::printf("  %-8s %7.1f ms %7.1f ms %9.1f ms %8.1f MB %8.1f MB %10.2f  %s\n", tools[t].name.c_str(),
		            load[t] * 1e3, Median(c) * 1e3, Median(p) * 1e3, Median(m), added, added / fileMB,
		            samples[t].front().summary.c_str());
	}
	for (std::size_t t = 1; t < tools.size(); ++t) {
		std::vector<double> ratios, cpuRatios;
		std::printf("  %s/%s per round:", tools[t].name.c_str(), tools[0].name.c_str());
		for (std::size_t r = 0; r < static_cast<std::size_t>(rounds); ++r) {
			ratios.push_back(samples[t][r].load / samples[0][r].load);
			cpuRatios.push_back(samples[t][r].cpu / samples[0][r].cpu);
			std::printf(" %.2f", ratios.back());
		}
		std::printf("  median %.2f (cpu %.2f)\n", Median(ratios), Median(cpuRatios));
	}
	std::printf("  ours: %.0f MB/s\n", fileMB / load[0]);
	std::fflush(stdout);
}

inline void Steady(const std::vector<Tool>& tools, const std::vector<WarmParse>& warm, const std::string& path, int rounds)
{
#if defined(__GLIBC__)
	mallopt(M_TRIM_THRESHOLD, 1 << 30);   // freed models stay mapped, so every tool's next load reuses them
#endif
	const double fileMB = FileMB(path);
	std::printf("%s: IN-PROCESS STEADY STATE (memory reused between loads; not what an import sees), "
	            "%d loads each in turn, medians\n",
	            std::filesystem::path(path).filename().c_str(), rounds);
	std::vector<std::vector<double>> times(tools.size());
	for (int r = 0; r < rounds; ++r)
		for (std::size_t t = 0; t < tools.size(); ++t) {
			const double start = Now();
			tools[t].load(path);
			times[t].push_back(Now() - start);
		}
	const double ours = Median(times[0]);
	for (std::size_t t = 0; t < tools.size(); ++t) {
		const double m = Median(times[t]);
		std::printf("  %-8s %7.1f ms  %7.0f MB/s  %5.2fx ours\n", tools[t].name.c_str(), m * 1e3, fileMB / m, m / ours);
	}
	for (const WarmParse& parse : warm) {
		const std::unique_ptr<WarmParser> parser = parse.prepare(path);
		std::vector<double> times;
		for (int r = -1; r < std::max(rounds, 9); ++r) {   // the first parse touches the memory
			const double start = Now();
			parser->Parse();
			if (r >= 0) times.push_back(Now() - start);
			parser->Release();
		}
		const double m = Median(times);
		std::printf("  %s, WARM PARSE (bytes already in memory): %.1f ms, %.0f MB/s\n", parse.name.c_str(), m * 1e3,
		            fileMB / m);
	}
	std::fflush(stdout);
}

inline std::vector<std::size_t> ParseSizes(const char* text)
{
	std::vector<std::size_t> sizes;
	for (const char* p = text; *p;) {
		char* end = nullptr;
		sizes.push_back(std::strtoul(p, &end, 10));
		p = *end == ',' ? end + 1 : end;
		if (end == p && *p) break;
	}
	return sizes;
}

// The whole program: child mode, or generate (or take) files and run every tool on each.
// tools[0] is ours; the ratios are the others' times over its time.
inline int Main(int argc, char** argv, const std::vector<Tool>& tools, const std::vector<Generated>& kinds,
                const std::vector<WarmParse>& warm = {})
{
	if (argc == 4 && std::strcmp(argv[1], "--load") == 0) {
		InChild() = true;
		for (const Tool& tool : tools)
			if (tool.name == argv[2]) {
				struct rusage before {};
				::getrusage(RUSAGE_SELF, &before);
				const double start = Now(), cpuStart = CpuSeconds();
				const std::string summary = tool.load(argv[3]);
				const double seconds = Now() - start, cpu = CpuSeconds() - cpuStart;
				std::printf("%.6f %.6f %ld %s\n", seconds, cpu, before.ru_maxrss, summary.c_str());
				std::fflush(stdout);
				std::_Exit(0);   // the model is not torn down: an import keeps it while it works
			}
		std::fprintf(stderr, "unknown tool %s\n", argv[2]);
		return 2;
	}
	int rounds = 7;
	bool steady = false;
	std::vector<std::size_t> sizes = {10, 100};
	std::vector<std::string> files;
	std::string keepIn;
	for (int i = 1; i < argc; ++i) {
		const std::string a = argv[i];
		if (a == "--rounds" && i + 1 < argc) rounds = std::max(1, std::atoi(argv[++i]));
		else if (a == "--sizes" && i + 1 < argc) sizes = ParseSizes(argv[++i]);
		else if (a == "--steady") steady = true;
		else if (a == "--generate" && i + 1 < argc) keepIn = argv[++i];
		else if (a.rfind("--", 0) == 0) {
			std::fprintf(stderr, "usage: %s [--rounds N] [--sizes MB,MB] [--steady] [--generate DIR] [FILE ...]\n", argv[0]);
			return 2;
		} else files.push_back(a);
	}
	char self[4096];
	const ssize_t n = ::readlink("/proc/self/exe", self, sizeof self - 1);
	if (n <= 0) return std::perror("readlink"), 2;
	self[n] = 0;

	std::filesystem::path folder;
	if (files.empty()) {
		folder = !keepIn.empty() ? std::filesystem::path(keepIn)
		                         : std::filesystem::temp_directory_path() / ("velmora-bench-" + std::to_string(::getpid()));
		std::filesystem::create_directories(folder);
		std::vector<std::pair<std::size_t, const Generated*>> wanted;
		for (const std::size_t mb : sizes)
			for (const Generated& kind : kinds)
				if (kind.mostMB == 0 || mb <= kind.mostMB) {
					wanted.emplace_back(mb, &kind);
					files.push_back((folder / (std::to_string(mb) + "MB-" + kind.suffix)).string());
				}
		if (!keepIn.empty()) {
			for (std::size_t i = 0; i < wanted.size(); ++i) wanted[i].second->write(wanted[i].first, files[i]);
			return 0;
		}
		// Written by a child: a child's peak memory counts what this process holds when it
		// starts one, so this process stays small.
		std::string sizesText;
		for (const std::size_t mb : sizes) sizesText += (sizesText.empty() ? "" : ",") + std::to_string(mb);
		if (!Spawn({self, "--generate", folder.string(), "--sizes", sizesText}).ok) {
			std::fprintf(stderr, "%s: cannot write the files in %s\n", argv[0], folder.c_str());
			return 1;
		}
	}
	// Every fresh-process run before the in-process ones: those grow this process, and a
	// child's peak memory counts what this process holds when it starts one.
	for (const std::string& path : files) FreshProcess(self, tools, path, rounds);
	if (steady)
		for (const std::string& path : files) Steady(tools, warm, path, rounds);
	if (!folder.empty()) std::filesystem::remove_all(folder);
	return 0;
}

} // namespace bench

#endif
