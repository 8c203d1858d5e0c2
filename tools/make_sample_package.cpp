// Writes our sample map package:
//   make_sample_package [--grid N] [--trees N] [--basemap-mb N] [--hekk] [--zip] PATH
// PATH is the project folder to make, or the ZIP file with --zip. --grid sets the terrain's
// points a side (1000: a million vertices) and scales the 3D layers, --trees the tree list's
// rows, --basemap-mb the base map's size in megabytes (the small map when not given).
#include <cstdio>
#include <cstdlib>
#include <string>

#include "sample/SamplePackage.hpp"

namespace {

int Usage()
{
	std::fprintf(stderr, "usage: make_sample_package [--grid N] [--trees N] [--basemap-mb N] [--hekk] [--zip] PATH\n");
	return 2;
}

// The whole number of text, or -1 when it is not one.
long Count(const char* text)
{
	char* end = nullptr;
	const long n = std::strtol(text, &end, 10);
	return end != text && *end == 0 && n >= 0 ? n : -1;
}

} // namespace

int main(int argc, char** argv)
{
	sample::PackageOptions options;
	bool zip = false;
	std::string path;
	for (int i = 1; i < argc; ++i) {
		const std::string a = argv[i];
		const bool valued = (a == "--grid" || a == "--trees" || a == "--basemap-mb") && i + 1 < argc;
		const long n = valued ? Count(argv[++i]) : 0;
		if (n < 0 || n > 1000000) return Usage();
		if (a == "--grid" && valued) options.grid = static_cast<int>(n);
		else if (a == "--trees" && valued) options.trees = static_cast<int>(n);
		else if (a == "--basemap-mb" && valued) options.baseMapBytes = static_cast<std::size_t>(n) * 1000000;
		else if (a == "--hekk") options.hedgeName = true;
		else if (a == "--zip") zip = true;
		else if (!a.empty() && a[0] != '-' && path.empty()) path = a;
		else return Usage();
	}
	if (path.empty()) return Usage();
	const std::string error = zip ? sample::MakeProjectZip(path, options) : sample::MakeProjectFolder(path, options);
	if (!error.empty()) {
		std::fprintf(stderr, "make_sample_package: %s\n", error.c_str());
		return 1;
	}
	return 0;
}
