#include "Classes/OriginFile.hpp"

#include <charconv>
#include <cmath>
#include <cstdarg>
#include <cstdio>
#include <cstring>

#include "Gdl/GdlText.hpp"
#include "Helpers/BinFileHelper.hpp"

namespace {

// The key texts, in the order of OriginKey.
const char* const kKeyTexts[kOriginKeyCount] = {
	"Global lat:", "Global lon:", "Globalt nullpunkt øst:", "Globalt nullpunkt nord:", "Koordinatsystem:",
	"Høydesystem:", "Kartprojeksjon:", "Sone:",
};

bool IsNumericKey(OriginKey k) { return static_cast<int>(k) <= static_cast<int>(OriginKey::North); }

constexpr int kLineBuffer = 100;

// The line that starts at from: its end (the line feed, or size when there is none).
std::size_t LineEnd(const char* data, std::size_t size, std::size_t from)
{
	const void* lf = std::memchr(data + from, '\n', size - from);
	return lf != nullptr ? static_cast<std::size_t>(static_cast<const char*>(lf) - data) : size;
}

// The number after the first colon of [from, end); 0 when there is none or it does not parse.
double NumberAfterColon(const char* data, std::size_t from, std::size_t end)
{
	const std::string line(data + from, end - from);
	const std::size_t colon = line.find(':');
	double value = 0.0;
	if (colon != std::string::npos) ParseFileNumber(line.c_str() + colon + 1, value);
	return value;
}

std::string Printf(const char* format, ...) __attribute__((format(printf, 1, 2)));
std::string Printf(const char* format, ...)
{
	va_list args;
	va_start(args, format);
	va_list copy;
	va_copy(copy, args);
	const int n = std::vsnprintf(nullptr, 0, format, copy);
	va_end(copy);
	std::string text(n > 0 ? static_cast<std::size_t>(n) : 0, '\0');
	if (n > 0) std::vsnprintf(&text[0], text.size() + 1, format, args);
	va_end(args);
	return text;
}

// "<name>%f<eol>" with the number in the C locale's form: the script is read in no other.
std::string NumberRow(const char* name, double value, const char* eol)
{
	std::string row = name;
	AppendFixed(row, value);
	return row += eol;
}

// A double quote would end the script's text early.
std::string QuoteSafe(std::string text)
{
	for (char& c : text)
		if (c == '"') c = '_';
	return text;
}

} // namespace

bool ParseFileNumber(const char* text, double& value)
{
	if (text == nullptr) return false;
	while (*text == ' ' || *text == '\t') ++text;
	if (*text == '+') ++text;
	double parsed = 0.0;
	const char* end = text + std::strlen(text);
	const std::from_chars_result r = std::from_chars(text, end, parsed);
	if (r.ec != std::errc() || !std::isfinite(parsed)) return false;
	value = parsed;
	return true;
}

void ParseOriginLines(const char* data, std::size_t size, double& x, double& y)
{
	x = y = 0.0;
	if (data == nullptr) return;
	std::size_t begin[4] = {};
	std::size_t end[4] = {};
	std::size_t at = 0;
	for (int line = 0; line < 4; ++line) {
		if (at >= size) return;
		begin[line] = at;
		end[line] = LineEnd(data, size, at);
		if (end[line] == size) return; // not ended by a line feed
		at = end[line] + 1;
	}
	for (const int line : {2, 3})
		if (std::memchr(data + begin[line], ':', end[line] - begin[line]) == nullptr) return;
	y = NumberAfterColon(data, begin[2], end[2]);
	x = NumberAfterColon(data, begin[3], end[3]);
}

int OriginValues::Count() const
{
	int n = 0;
	for (const bool f : found) n += f ? 1 : 0;
	return n;
}

const std::vector<OriginKeyRule>& CoordSystemKeyRules()
{
	static const std::vector<OriginKeyRule> rules = {
		{OriginKey::HeightSystem, 14}, {OriginKey::Projection, 17}, {OriginKey::Zone, 7}};
	return rules;
}

const std::vector<OriginKeyRule>& GeoLocationKeyRules()
{
	static const std::vector<OriginKeyRule> rules = {
		{OriginKey::Latitude, 13}, {OriginKey::Longitude, 13}, {OriginKey::East, 24}, {OriginKey::North, 25},
		{OriginKey::CoordinateSystem, 17}, {OriginKey::HeightSystem, 13}, {OriginKey::Projection, 16},
		{OriginKey::Zone, 6}};
	return rules;
}

OriginValues ScanOriginKeys(const char* text, const std::vector<OriginKeyRule>& rules, bool skipBom)
{
	OriginValues values;
	if (text == nullptr) return values;
	char* cursor = const_cast<char*>(text); // the line reader only reads through it
	char line[kLineBuffer];
	for (bool first = true; values.Count() < static_cast<int>(rules.size()); first = false) {
		if (sgets(line, kLineBuffer, &cursor) == nullptr) break;
		const char* start = line;
		if (first && skipBom && std::strlen(line) >= 4 && std::memcmp(line, "\xEF\xBB\xBF", 3) == 0) start += 3;
		GS::UniString decoded(start, GS::CC_UTF8);
		decoded.Trim();
		for (const OriginKeyRule& rule : rules) {
			const GS::UniString key(kKeyTexts[static_cast<int>(rule.key)], GS::CC_UTF8);
			if (decoded.GetLength() < static_cast<USize>(rule.minLength) || !decoded.BeginsWith(key, GS::CaseSensitive)) continue;
			GS::UniString value = decoded.GetSuffix(decoded.GetLength() - key.GetLength());
			value.Trim();
			const int k = static_cast<int>(rule.key);
			if (IsNumericKey(rule.key)) {
				double number = 0.0;
				if (!ParseFileNumber(value.ToCStr(GS::CC_UTF8).Get(), number)) break; // left unset
				values.number[k] = number;
			}
			values.text[k] = value;
			values.found[k] = true;
			break;
		}
	}
	return values;
}

std::vector<std::string> OriginMacroRows(double x, double y, double z, const std::string& datum,
	const std::string& projection, const std::string& zone, const char* eol)
{
	return {
		NumberRow("Velmora_X = ", x, eol),
		NumberRow("Velmora_Y = ", y, eol),
		NumberRow("Velmora_Z = ", z, eol),
		Printf("Vertical_Datum=\"%s\"%s", QuoteSafe(datum).c_str(), eol),
		Printf("Map_Projection=\"%s\"%s", QuoteSafe(projection).c_str(), eol),
		Printf("Map_Zone=\"%s\"%s", QuoteSafe(zone).c_str(), eol),
		Printf("end Velmora_X, Velmora_Y, Velmora_Z, Vertical_Datum, Map_Projection, Map_Zone%s", eol),
	};
}
