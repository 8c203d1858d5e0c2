// A checker of generated GDL text, ours: rows, block balance, well-formed numbers, every
// base...BODY block and SLAB_ row consistent, texture and material names defined before use.
#ifndef VELMORA_TESTS_GDLCHECKER_HPP
#define VELMORA_TESTS_GDLCHECKER_HPP

#include <array>
#include <string>
#include <vector>

namespace gdlcheck {

using Point = std::array<double, 3>;

// One base...BODY block: its vertices and each polygon's corners in loop order (0-based).
struct Body {
	std::vector<Point> vertices;
	std::vector<std::array<int, 3>> polygons;
};

struct Result {
	std::vector<std::string> problems; // empty when the text passed
	std::vector<std::string> rows;
	std::vector<Body> bodies;
	std::vector<std::array<Point, 3>> slabs; // each SLAB_ row's triangle
	int materialRows = 0;                    // "material ..." statements
};

// Checks any script; the 3D script's bodies, slabs and names are checked when present.
Result Check(const std::string& text);

// The problems as one text for a test message.
std::string Describe(const Result& r);

} // namespace gdlcheck

#endif
