// The local-origin file "Lokalt nullpunkt.txt" of a map package: its origin lines, its keyed
// lines, and the origin macro's script rows made from them.
#ifndef VELMORA_ORIGINFILE_HPP
#define VELMORA_ORIGINFILE_HPP

#include <cstddef>
#include <string>
#include <vector>

#include "UniString.hpp"

// A decimal number at the start of text (blanks first are skipped), read in the "C" locale.
// False, with value untouched, when the text does not start with a number or the number is
// NaN or infinite.
bool ParseFileNumber(const char* text, double& value);

// The origin of lines 3 (y, north) and 4 (x, east): the number after each line's first colon.
// Both stay 0 unless the bytes hold four line-feed-ended lines with a colon on lines 3 and 4;
// a number that does not parse leaves its value 0. Nothing past size is read.
void ParseOriginLines(const char* data, std::size_t size, double& x, double& y);

// The keys of the keyed lines.
enum class OriginKey { Latitude, Longitude, East, North, CoordinateSystem, HeightSystem, Projection, Zone };
constexpr int kOriginKeyCount = 8;

// One key a reader looks for: the key and the shortest trimmed line (in characters) it is
// tested on.
struct OriginKeyRule {
	OriginKey key;
	int minLength;
};

// What a keyed scan found: the texts of the found keys and the numbers of the numeric ones
// (latitude, longitude, east, north). A numeric key whose number does not parse is not found.
struct OriginValues {
	bool found[kOriginKeyCount] = {};
	GS::UniString text[kOriginKeyCount];
	double number[kOriginKeyCount] = {};
	bool Has(OriginKey k) const { return found[static_cast<int>(k)]; }
	const GS::UniString& Text(OriginKey k) const { return text[static_cast<int>(k)]; }
	double Number(OriginKey k) const { return number[static_cast<int>(k)]; }
	int Count() const;
};

// The rules of the coordinate-system reader (height system, projection, zone) and of the
// geolocation reader (all eight), in the order their keys are tested.
const std::vector<OriginKeyRule>& CoordSystemKeyRules();
const std::vector<OriginKeyRule>& GeoLocationKeyRules();

// Scans the terminated text line by line (lines of at most 99 bytes, as the line reader
// gives them): each line is decoded as UTF-8 and trimmed; the first rule whose key begins
// the line (exact letter case) and whose minimum length it reaches takes it, and the value is
// the rest, trimmed. A later line of a key overwrites it. The scan stops once every rule's
// key has been found. skipBom skips a UTF-8 byte-order mark that starts the first line.
OriginValues ScanOriginKeys(const char* text, const std::vector<OriginKeyRule>& rules, bool skipBom);

// The master-script rows of the origin macro, each ending in eol: the origin and z (as "%f"
// writes them in the C locale, whatever the process locale), the height system, projection
// and zone (a double quote in them becomes "_"), and the "end" row.
std::vector<std::string> OriginMacroRows(double x, double y, double z, const std::string& datum,
	const std::string& projection, const std::string& zone, const char* eol);

#endif
