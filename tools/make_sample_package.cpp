// Writes our sample map package: make_sample_package [--grid N] [--hekk] [--zip] PATH
// PATH is the project folder to make, or the ZIP file with --zip.
#include <cstdio>
#include <cstdlib>
#include <string>

#include "sample/SamplePackage.hpp"

int main(int argc, char** argv)
{
	sample::PackageOptions options;
	bool zip = false;
	std::string path;
	for (int i = 1; i < argc; ++i) {
		const std::string a = argv[i];
		if (a == "--grid" && i + 1 < argc) options.grid = std::atoi(argv[++i]);
		else if (a == "--hekk") options.hedgeName = true;
		else if (a == "--zip") zip = true;
		else if (!a.empty() && a[0] != '-' && path.empty()) path = a;
		else {
			std::fprintf(stderr, "usage: make_sample_package [--grid N] [--hekk] [--zip] PATH\n");
			return 2;
		}
	}
	if (path.empty()) {
		std::fprintf(stderr, "usage: make_sample_package [--grid N] [--hekk] [--zip] PATH\n");
		return 2;
	}
	const std::string error = zip ? sample::MakeProjectZip(path, options) : sample::MakeProjectFolder(path, options);
	if (!error.empty()) {
		std::fprintf(stderr, "make_sample_package: %s\n", error.c_str());
		return 1;
	}
	return 0;
}
