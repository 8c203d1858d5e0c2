// "Area.json": {"coordinates": [[[x, y], ...], ...]}; the first ring is the area outline.
#include <cmath>
#include <vector>

#include <nlohmann/json.hpp>

#include "Classes/import_map.hpp"
#include "File.hpp"

namespace {

constexpr UInt64 MaxOutlineFile = 64ull << 20;

bool ReadWhole(const IO::Location& location, std::string& text, std::string& why)
{
	IO::File file(location, IO::File::Fail);
	UInt64 length = 0;
	if (location.IsEmpty() || file.GetDataLength(&length) != NoError) { why = "no such file"; return false; }
	if (length > MaxOutlineFile) { why = "the file is too large"; return false; }
	if (file.Open(IO::File::ReadMode) != NoError) { why = "the file cannot be opened"; return false; }
	text.assign(static_cast<std::size_t>(length), '\0');
	UInt32 read = 0;
	// A short count is the failure; an end-of-file answer with the whole file is none.
	file.ReadBin(text.data(), static_cast<UInt32>(length), &read);
	if (read != length) { why = "the file cannot be read"; return false; }
	return true;
}

// One point: an array whose first two elements are finite numbers.
bool ToPoint(const nlohmann::json& p, API_Coord& out)
{
	if (!p.is_array() || p.size() < 2 || !p[0].is_number() || !p[1].is_number()) return false;
	out.x = p[0].get<double>();
	out.y = p[1].get<double>();
	return std::isfinite(out.x) && std::isfinite(out.y);
}

} // namespace

GS::Array<API_Coord> Importer::ReadOutline(const IO::Location& location, std::string* why)
{
	std::string problem;
	std::string text;
	GS::Array<API_Coord> outline;
	auto fail = [&](const std::string& what) {
		if (why != nullptr) *why = what;
		return GS::Array<API_Coord>();
	};
	if (!ReadWhole(location, text, problem)) return fail(problem);
	const nlohmann::json doc = nlohmann::json::parse(text, nullptr, false, false);
	if (doc.is_discarded()) return fail("not JSON");
	if (!doc.is_object() || !doc.contains("coordinates")) return fail("no \"coordinates\" member");
	const nlohmann::json& rings = doc["coordinates"];
	if (!rings.is_array() || rings.empty() || !rings[0].is_array()) return fail("\"coordinates\" holds no ring of points");
	for (const nlohmann::json& p : rings[0]) {
		API_Coord c;
		BNZeroMemory(&c, sizeof c);
		if (!ToPoint(p, c)) return fail("a point is not a pair of numbers");
		outline.Push(c);
	}
	if (outline.IsEmpty()) return fail("the outline has no points");
	if (why != nullptr) why->clear();
	return outline;
}
