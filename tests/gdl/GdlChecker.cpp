#include "GdlChecker.hpp"

#include <algorithm>
#include <cctype>
#include <cstdlib>
#include <map>
#include <set>
#include <sstream>

namespace gdlcheck {

namespace {

// The row without its comment; quoted texts kept (and their '!' ignored).
std::string Code(const std::string& row)
{
	char quote = 0;
	for (std::size_t i = 0; i < row.size(); ++i) {
		const char c = row[i];
		if (quote != 0) {
			if (c == quote) quote = 0;
		} else if (c == '"' || c == '`' || c == '\'') {
			quote = c;
		} else if (c == '!') {
			return row.substr(0, i);
		}
	}
	return row;
}

std::string Trim(const std::string& s)
{
	const auto b = s.find_first_not_of(" \t");
	if (b == std::string::npos) return "";
	return s.substr(b, s.find_last_not_of(" \t") - b + 1);
}

bool StartsWith(const std::string& s, const char* prefix) { return s.rfind(prefix, 0) == 0; }

// Digits from `at` on; answers where they end (at itself when there are none).
std::size_t Digits(const std::string& s, std::size_t at)
{
	while (at < s.size() && std::isdigit(static_cast<unsigned char>(s[at]))) ++at;
	return at;
}

// digits, optionally "." digits, optionally an exponent.
bool WellFormedNumber(const std::string& s)
{
	std::size_t at = Digits(s, 0);
	if (at == 0) return false;
	if (at < s.size() && s[at] == '.') {
		const std::size_t end = Digits(s, at + 1);
		if (end == at + 1) return false;
		at = end;
	}
	if (at < s.size() && (s[at] == 'e' || s[at] == 'E')) {
		if (++at < s.size() && (s[at] == '+' || s[at] == '-')) ++at;
		const std::size_t end = Digits(s, at);
		if (end == at) return false;
		at = end;
	}
	return at == s.size();
}

// k of a text starting "uMat[k]"; `rest` gets what follows. -1 when it is not one.
long Slot(const std::string& s, std::string& rest)
{
	if (!StartsWith(s, "uMat[")) return -1;
	const std::size_t end = Digits(s, 5);
	if (end == 5 || end >= s.size() || s[end] != ']') return -1;
	rest = s.substr(end + 1);
	return std::stol(s.substr(5, end - 5));
}

std::string WithoutTexts(const std::string& code)
{
	std::string out;
	char quote = 0;
	for (char c : code) {
		if (quote != 0) {
			if (c == quote) quote = 0;
			continue;
		}
		if (c == '"' || c == '`' || c == '\'') {
			quote = c;
			continue;
		}
		out += c;
	}
	return out;
}

struct Checker {
	Result r;
	int line = 0;
	std::vector<std::string> blocks;
	std::set<std::string> textures, materials;
	int parameterMaterials = 0; // "uMat[k] = mat_k" rows
	std::set<long> internalSlots, parameterSlots;
	bool inBody = false;
	Body body;
	std::vector<std::array<int, 5>> edges;   // v1, v2, f1, f2, status
	std::vector<std::array<int, 4>> pgons;   // normal, e1, e2, e3
	int normals = 0;

	void Problem(const std::string& what) { r.problems.push_back("row " + std::to_string(line) + ": " + what); }

	void Numbers(const std::string& code)
	{
		const std::string s = WithoutTexts(code);
		for (std::size_t i = 0; i < s.size();) {
			const unsigned char c = static_cast<unsigned char>(s[i]);
			if (std::isalpha(c) || c == '_') {
				std::size_t j = i;
				while (j < s.size() && (std::isalnum(static_cast<unsigned char>(s[j])) || s[j] == '_')) ++j;
				std::string word = s.substr(i, j - i);
				std::transform(word.begin(), word.end(), word.begin(), [](unsigned char x) { return static_cast<char>(std::tolower(x)); });
				if (word == "nan" || word == "inf" || word == "infinity") Problem("not a number: " + word);
				i = j;
			} else if (std::isdigit(c) || (c == '.' && i + 1 < s.size() && std::isdigit(static_cast<unsigned char>(s[i + 1])))) {
				std::size_t j = i;
				while (j < s.size() && (std::isalnum(static_cast<unsigned char>(s[j])) || s[j] == '.' ||
				                        ((s[j] == '+' || s[j] == '-') && (s[j - 1] == 'e' || s[j - 1] == 'E'))))
					++j;
				const std::string token = s.substr(i, j - i);
				if (!WellFormedNumber(token)) Problem("malformed number '" + token + "'");
				i = j;
			} else {
				++i;
			}
		}
	}

	void Blocks(const std::string& code)
	{
		const std::string t = Trim(code);
		if (StartsWith(t, "if ") && t.size() >= 4 && t.compare(t.size() - 4, 4, "then") == 0) blocks.push_back("if");
		else if (t == "else" && (blocks.empty() || blocks.back() != "if")) Problem("else outside an if block");
		else if (t == "endif") Close("if");
		else if (StartsWith(t, "for ")) blocks.push_back("for");
		else if (StartsWith(t, "next")) Close("for");
	}

	void Close(const char* kind)
	{
		if (blocks.empty() || blocks.back() != kind) Problem(std::string("unmatched end of ") + kind);
		else blocks.pop_back();
	}

	static std::vector<double> Arguments(const std::string& code, std::size_t from)
	{
		std::vector<double> out;
		std::stringstream list(code.substr(from));
		for (std::string item; std::getline(list, item, ',');) out.push_back(std::strtod(Trim(item).c_str(), nullptr));
		return out;
	}

	static bool Whole(double v, int& out)
	{
		out = static_cast<int>(v);
		return v == out;
	}

	// The name inside the first double-quoted text after `from`.
	static std::string Quoted(const std::string& code, std::size_t from = 0)
	{
		const auto a = code.find('"', from);
		const auto b = a == std::string::npos ? a : code.find('"', a + 1);
		return b == std::string::npos ? std::string() : code.substr(a + 1, b - a - 1);
	}

	void Names(const std::string& code)
	{
		const std::string t = Trim(code);
		if (StartsWith(t, "DEFINE TEXTURE ")) textures.insert(Quoted(t));
		if (StartsWith(t, "DEFINE MATERIAL ")) materials.insert(Quoted(t));
		for (const auto& [call, known] : {std::make_pair("IND(TEXTURE,", &textures), std::make_pair("ind(MATERIAL,", &materials)}) {
			const auto at = t.find(call);
			if (at != std::string::npos && known->count(Quoted(t, at)) == 0) Problem(std::string(call) + " names an undefined \"" + Quoted(t, at) + "\"");
		}
		std::string rest;
		const long k = Slot(t, rest);
		if (k >= 0 && StartsWith(rest, " = mat_")) {
			if (rest.substr(7) != std::to_string(k)) Problem("uMat slot takes another material parameter");
			parameterSlots.insert(k);
		} else if (k >= 0 && StartsWith(rest, " = ind(MATERIAL, \"")) {
			internalSlots.insert(k);
		}
		if (StartsWith(t, "material ")) {
			++r.materialRows;
			const std::string what = Trim(t.substr(9));
			const long used = Slot(what, rest);
			if (used >= 0 && rest.empty()) {
				if (parameterSlots.count(used) == 0 || internalSlots.count(used) == 0) Problem("material slot " + what + " is not set in both branches");
			} else if (what != "M_") {
				Problem("unknown material " + what);
			}
		}
	}

	void Geometry(const std::string& code)
	{
		const std::string t = Trim(code);
		if (t == "base") {
			if (inBody) Problem("base inside a body");
			inBody = true;
			body = Body();
			edges.clear();
			pgons.clear();
			normals = 0;
			return;
		}
		if (StartsWith(t, "SLAB_ ")) return Slab(t);
		if (!inBody) return;
		if (StartsWith(t, "VERT ") || StartsWith(t, "TEVE ")) {
			const std::vector<double> a = Arguments(t, 5);
			if (a.size() != (t[0] == 'V' ? 3u : 5u)) Problem("vertex with " + std::to_string(a.size()) + " numbers");
			if (a.size() >= 3) body.vertices.push_back({a[0], a[1], a[2]});
		} else if (StartsWith(t, "VECT ")) {
			if (Arguments(t, 5).size() != 3) Problem("normal without three numbers");
			++normals;
		} else if (StartsWith(t, "EDGE ")) {
			const std::vector<double> a = Arguments(t, 5);
			std::array<int, 5> e{};
			bool whole = a.size() == 5;
			for (std::size_t i = 0; whole && i < 5; ++i) whole = Whole(a[i], e[i]);
			if (!whole) return Problem("edge without five whole numbers");
			const int nv = static_cast<int>(body.vertices.size());
			if (e[0] < 1 || e[0] > nv || e[1] < 1 || e[1] > nv || e[0] == e[1]) Problem("edge vertices out of range");
			if (e[4] != 0 && e[4] != 2) Problem("edge status " + std::to_string(e[4]));
			edges.push_back(e);
		} else if (StartsWith(t, "PGON ")) {
			const std::vector<double> a = Arguments(t, 5);
			std::array<int, 6> p{};
			bool whole = a.size() == 6;
			for (std::size_t i = 0; whole && i < 6; ++i) whole = Whole(a[i], p[i]);
			if (!whole || p[0] != 3 || p[2] != 0) return Problem("polygon is not a triangle row");
			pgons.push_back({p[1], p[3], p[4], p[5]});
		} else if (t == "BODY -1") {
			EndBody();
		}
	}

	void EndBody()
	{
		inBody = false;
		const int ne = static_cast<int>(edges.size()), np = static_cast<int>(pgons.size());
		for (const auto& e : edges)
			if (e[2] < 0 || e[2] > np || e[3] < 0 || e[3] > np) Problem("edge names a polygon out of range");
		for (int n = 0; n < np; ++n) {
			const auto& p = pgons[static_cast<std::size_t>(n)];
			if (p[0] < 1 || p[0] > normals) Problem("polygon normal out of range");
			std::array<int, 3> corners{};
			bool ok = true;
			for (int j = 0; j < 3 && ok; ++j) {
				const int e = p[static_cast<std::size_t>(j) + 1], next = p[static_cast<std::size_t>((j + 1) % 3) + 1];
				if (e == 0 || std::abs(e) > ne || next == 0 || std::abs(next) > ne) { ok = false; break; }
				const auto& a = edges[static_cast<std::size_t>(std::abs(e) - 1)];
				const auto& b = edges[static_cast<std::size_t>(std::abs(next) - 1)];
				const int end = e > 0 ? a[1] : a[0], start = next > 0 ? b[0] : b[1];
				if (end != start) Problem("polygon " + std::to_string(n + 1) + " does not close");
				if (a[2] != n + 1 && a[3] != n + 1) Problem("edge " + std::to_string(std::abs(e)) + " does not name polygon " + std::to_string(n + 1));
				corners[static_cast<std::size_t>(j)] = (e > 0 ? a[0] : a[1]) - 1;
			}
			if (!ok) {
				Problem("polygon " + std::to_string(n + 1) + " names an edge out of range");
				continue;
			}
			if (corners[0] == corners[1] || corners[1] == corners[2] || corners[0] == corners[2]) Problem("polygon with repeated corners");
			body.polygons.push_back(corners);
		}
		r.bodies.push_back(body);
	}

	void Slab(const std::string& t)
	{
		const std::vector<double> a = Arguments(t, 6);
		if (a.size() != 14 || a[0] != 3) return Problem("SLAB_ row without 3 points");
		std::array<Point, 3> tri{};
		for (std::size_t j = 0; j < 3; ++j) {
			const double status = a[5 + 4 * j];
			if (status != 10 && status != 15) Problem("slab point status " + std::to_string(status));
			tri[j] = {a[2 + 4 * j], a[3 + 4 * j], a[4 + 4 * j]};
		}
		r.slabs.push_back(tri);
	}
};

} // namespace

Result Check(const std::string& text)
{
	Checker c;
	if (!text.empty() && text.back() != '\n') c.r.problems.push_back("the last row has no end");
	std::stringstream in(text);
	for (std::string row; std::getline(in, row);) {
		++c.line;
		c.r.rows.push_back(row);
		if (row.find('\r') != std::string::npos || row.find('\0') != std::string::npos) c.Problem("control character");
		const std::string code = Code(row);
		c.Numbers(code);
		c.Blocks(code);
		c.Names(code);
		c.Geometry(code);
	}
	if (!c.blocks.empty()) c.r.problems.push_back("unclosed " + c.blocks.back() + " block");
	if (c.inBody) c.r.problems.push_back("base without BODY");
	return c.r;
}

std::string Describe(const Result& r)
{
	std::string out;
	for (const std::string& p : r.problems) out += p + "\n";
	return out;
}

} // namespace gdlcheck
