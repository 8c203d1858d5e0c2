// The project seen from above, as SVG for a person to look at, written as the project is walked.
#include <algorithm>
#include <cctype>
#include <cmath>
#include <cstdlib>
#include <map>
#include <sstream>
#include <string_view>
#include <unordered_map>

#include "ACAPinc.h"
#include "vhost/AttributeIndex.hpp"
#include "vhost/Elements.hpp"
#include "vhost/JsonWriter.hpp"
#include "vhost/LibraryStore.hpp"
#include "vhost/Text.hpp"

namespace vhost {

namespace {

constexpr double kPi = 3.14159265358979323846;
constexpr double kWidth = 1000.0; // pixels across the drawn extent
constexpr double kLabelSize = 9.0; // font size of an object's label, pixels

using Outline = std::vector<API_Coord>;

struct Extent {
	double xMin = 0, yMin = 0, xMax = 0, yMax = 0;
	bool empty = true;
	void Add(double x, double y)
	{
		if (!std::isfinite(x) || !std::isfinite(y)) return;
		if (empty) { xMin = xMax = x; yMin = yMax = y; empty = false; return; }
		xMin = std::min(xMin, x); xMax = std::max(xMax, x);
		yMin = std::min(yMin, y); yMax = std::max(yMax, y);
	}
	void Add(const API_Coord& c) { Add(c.x, c.y); }
	void AddRadius(const API_Coord& c, double r) { Add(c.x - r, c.y - r); Add(c.x + r, c.y + r); }
};

// ---- the geometry objects carry in their parts ------------------------------------------

// The kinds of layer an object's geometry belongs to: the word ending a generated part's name
// ("<project>_Veg"), its name in the plan and its colour. Buildings come first: they are
// known by their parameters.
struct LayerKind {
	const char* word;
	const char* name;
	const char* colour;
};
const LayerKind kKinds[] = {
	{"Bygning", "building", "#c8643c"},   {"Vann", "water", "#5b9bd5"},       {"Veg", "road", "#8f8f8f"},
	{"Gjerder", "fence", "#7a4a1f"},      {"Objekter", "object", "#9b6bc2"}, {"Vegetasjon", "vegetation", "#4f9e45"},
	{"", "other", "#9a9ab4"},
};
constexpr std::size_t kBuilding = 0;
constexpr std::size_t kOtherKind = std::size(kKinds) - 1;

// A body's vertices and edges (1-based numbers in the rows), and its faces seen from above.
struct Body {
	std::vector<API_Coord> vertices;
	std::vector<std::pair<long, long>> edges;

	// The face walking the signed edge numbers; false when one names no edge or vertex.
	bool Face(const double* signedEdges, std::size_t n, Outline& face) const
	{
		face.clear();
		for (std::size_t k = 0; k < n; ++k) {
			const double e = signedEdges[k];
			const double index = std::fabs(e);
			if (!(index >= 1 && index <= static_cast<double>(edges.size()))) return false;
			const auto& edge = edges[static_cast<std::size_t>(index) - 1];
			const long v = e > 0 ? edge.first : edge.second;
			if (v < 1 || v > static_cast<long>(vertices.size())) return false;
			const API_Coord& p = vertices[static_cast<std::size_t>(v) - 1];
			if (!std::isfinite(p.x) || !std::isfinite(p.y)) return false;
			face.push_back(p);
		}
		return n >= 3;
	}
};

// The numbers of a script row after its keyword, up to a comment; false when a field is not a
// plain number (an expression, a parameter).
bool RowNumbers(std::string_view rest, std::vector<double>& numbers)
{
	numbers.clear();
	rest = rest.substr(0, rest.find('!'));
	std::string field;
	for (std::size_t at = 0; at <= rest.size();) {
		const std::size_t comma = std::min(rest.find(',', at), rest.size());
		field.assign(rest.substr(at, comma - at));
		char* end = nullptr;
		const double v = vhost::ReadNumber(field.c_str(), &end);
		while (end != nullptr && *end != 0 && std::isspace(static_cast<unsigned char>(*end))) ++end;
		if (end == field.c_str() || *end != 0 || !std::isfinite(v)) return false;
		numbers.push_back(v);
		at = comma + 1;
	}
	return true;
}

// The faces of a generated part's 3D script, from its rows of numbers only: VERT and TEVE
// rows (x, y first), EDGE rows, PGON rows (count, normal, status, signed edges) of the body
// opened by the last "base", and SLAB_ rows (count, thickness, then x, y, z, status a point).
std::vector<Outline> ScriptFaces(const std::string& script)
{
	std::vector<Outline> faces;
	Body body;
	std::vector<double> n;
	Outline face;
	std::istringstream rows(script);
	for (std::string row; std::getline(rows, row);) {
		std::size_t at = row.find_first_not_of(" \t");
		if (at == std::string::npos) continue;
		std::size_t end = at;
		std::string word;
		while (end < row.size() && (std::isalpha(static_cast<unsigned char>(row[end])) || row[end] == '_'))
			word += static_cast<char>(std::toupper(static_cast<unsigned char>(row[end++])));
		const std::string_view rest = std::string_view(row).substr(end);
		if (word == "BASE") body = Body();
		if (!RowNumbers(rest, n)) continue;
		if ((word == "VERT" && n.size() == 3) || (word == "TEVE" && n.size() == 5)) body.vertices.push_back({n[0], n[1]});
		else if (word == "EDGE" && n.size() == 5) body.edges.emplace_back(std::lround(n[0]), std::lround(n[1]));
		else if (word == "PGON" && n.size() >= 3 && n.size() == 3 + static_cast<std::size_t>(std::max(0.0, n[0])) &&
		         body.Face(n.data() + 3, n.size() - 3, face))
			faces.push_back(face);
		else if (word == "SLAB_" && n.size() >= 2 && n[0] >= 3 && n.size() == 2 + 4 * static_cast<std::size_t>(n[0])) {
			face.clear();
			for (std::size_t k = 2; k + 1 < n.size(); k += 4) face.push_back({n[k], n[k + 1]});
			faces.push_back(face);
		}
	}
	return faces;
}

// A table parameter of a parameter list: its values and columns; false when it is missing.
bool Table(const nlohmann::ordered_json& list, const char* name, std::vector<double>& values, std::size_t& columns)
{
	if (!list.is_array()) return false;
	for (const auto& p : list) {
		if (!p.is_object() || !p.contains("name") || p["name"] != name || !p.contains("values") || !p["values"].is_array() ||
		    !p.contains("dim2") || !p["dim2"].is_number_unsigned())
			continue;
		columns = p["dim2"].get<std::size_t>();
		values.clear();
		for (const auto& v : p["values"]) values.push_back(v.is_number() ? v.get<double>() : std::nan(""));
		return columns > 0 && values.size() % columns == 0;
	}
	return false;
}

// A building's faces from its vertArray, edgeArray and pgonArray (count, normal, 0, signed edges).
std::vector<Outline> BuildingFaces(const nlohmann::ordered_json& params)
{
	std::vector<Outline> faces;
	std::vector<double> verts, edges, pgons;
	std::size_t vc = 0, ec = 0, pc = 0;
	if (!Table(params, "vertArray", verts, vc) || !Table(params, "edgeArray", edges, ec) || !Table(params, "pgonArray", pgons, pc) ||
	    vc < 2 || ec < 2 || pc < 4)
		return faces;
	Body body;
	for (std::size_t i = 0; i < verts.size(); i += vc) body.vertices.push_back({verts[i], verts[i + 1]});
	for (std::size_t i = 0; i < edges.size(); i += ec)
		body.edges.emplace_back(std::isfinite(edges[i]) ? std::lround(edges[i]) : 0, std::isfinite(edges[i + 1]) ? std::lround(edges[i + 1]) : 0);
	Outline face;
	for (std::size_t i = 0; i < pgons.size(); i += pc) {
		const double count = pgons[i];
		if (count >= 3 && count <= static_cast<double>(pc - 3) && body.Face(&pgons[i + 3], static_cast<std::size_t>(count), face))
			faces.push_back(face);
	}
	return faces;
}

// What the plan knows of a library part: the kind of its layer, and the faces its 3D script
// draws (generated parts), or whether its objects carry their geometry (buildings).
struct PartShape {
	std::size_t kind = kOtherKind;
	std::vector<Outline> faces;
	bool building = false;
};

// The shapes of the parts a plan meets, each worked out once.
class PartShapes {
public:
	const PartShape& Of(Int32 libInd)
	{
		static const PartShape none;
		const LibraryPartRecord* part = PartByIndex(libInd);
		if (part == nullptr) return none;
		const auto found = shapes_.find(libInd);
		if (found != shapes_.end()) return found->second;
		PartShape& s = shapes_[libInd];
		const std::string name = vhost::Utf16ToUtf8(part->name);
		const std::size_t cut = name.rfind('_');
		const std::string word = cut == std::string::npos ? std::string() : name.substr(cut + 1);
		for (const auto& section : part->sections) {
			if (section.type == API_SectParamDef) s.building = section.bytes.find("\"vertArray\"") != std::string::npos;
			if (section.type == API_Sect3DScript) s.faces = ScriptFaces(section.bytes);
		}
		if (s.building) s.kind = kBuilding;
		else
			for (std::size_t k = 1; k < kOtherKind; ++k)
				if (word == kKinds[k].word) s.kind = k;
		return s;
	}

private:
	std::map<Int32, PartShape> shapes_;
};

// A point of the object's own coordinates on the plan: mirrored, rotated, moved to its place.
API_Coord Placed(const API_ObjectType& o, API_Coord p)
{
	if (o.reflected) p.x = -p.x;
	const double c = std::cos(o.angle), s = std::sin(o.angle);
	return {o.pos.x + p.x * c - p.y * s, o.pos.y + p.x * s + p.y * c};
}

// The object's faces on the plan, none when its part holds no geometry.
std::vector<Outline> ObjectFaces(const ElementRecord& r, const PartShape& part)
{
	const API_ObjectType& o = r.element.object;
	std::vector<Outline> faces = part.building ? BuildingFaces(ParamListJson(r.params)) : part.faces;
	for (Outline& face : faces) {
		double area = 0;
		for (API_Coord& p : face) p = Placed(o, p);
		for (std::size_t i = 0; i < face.size(); ++i) {
			const API_Coord &a = face[i], &b = face[(i + 1) % face.size()];
			area += a.x * b.y - b.x * a.y;
		}
		// One turning sense for all: faces seen from below would cancel those seen from above.
		if (area < 0) std::reverse(face.begin(), face.end());
	}
	return faces;
}

bool IsObject(const ElementRecord& r)
{
	const API_ElemTypeID type = r.element.header.type.typeID;
	return type == API_ObjectID || type == API_LampID;
}

void Measure(const ElementRecord& r, PartShapes& parts, Extent& ext)
{
	const API_Element& e = r.element;
	for (std::size_t i = 1; i < r.coords.size(); ++i) ext.Add(r.coords[i]);
	for (const API_MeshLevelCoord& c : r.meshLevelCoords) ext.Add(c.c.x, c.c.y);
	switch (e.header.type.typeID) {
		case API_ObjectID: case API_LampID: {
			ext.Add(e.object.pos);
			for (const Outline& face : ObjectFaces(r, parts.Of(e.object.libInd)))
				for (const API_Coord& p : face) ext.Add(p);
			break;
		}
		case API_LineID: ext.Add(e.line.begC); ext.Add(e.line.endC); break;
		case API_ArcID: ext.AddRadius(e.arc.origC, e.arc.r); break;
		case API_CircleID: ext.AddRadius(e.circle.origC, e.circle.r); break;
		case API_TextID: ext.Add(e.text.loc); break;
		default: break;
	}
}

// ---- writing ----------------------------------------------------------------------------

// Text for XML: escaped, invalid UTF-8 and the control characters XML forbids as U+FFFD.
void Escaped(TextOut& out, std::string_view text)
{
	const bool ok = IsValidUtf8(text.data(), static_cast<USize>(text.size()));
	const std::string valid = ok ? std::string() : ValidUtf8(text);
	const std::string_view t = ok ? text : std::string_view(valid);
	std::size_t plain = 0;
	for (std::size_t i = 0; i < t.size(); ++i) {
		const unsigned char c = static_cast<unsigned char>(t[i]);
		if (c >= 0x20 ? c != '&' && c != '<' && c != '>' && c != '"' : c == '\n' || c == '\t' || c == '\r') continue;
		out << t.substr(plain, i - plain);
		plain = i + 1;
		switch (c) {
			case '&': out << "&amp;"; break;
			case '<': out << "&lt;"; break;
			case '>': out << "&gt;"; break;
			case '"': out << "&quot;"; break;
			default: out << "\xEF\xBF\xBD"; break;
		}
	}
	out << t.substr(plain);
}

// Plan coordinates to pixels, y up, written with two decimals.
class Canvas {
public:
	explicit Canvas(const Extent& ext)
		: ext_(ext), scale_(kWidth / std::max({ext.xMax - ext.xMin, ext.yMax - ext.yMin, 1e-9})) {}

	double X(double x) const { return (x - ext_.xMin) * scale_ + kMargin; }
	double Y(double y) const { return (ext_.yMax - y) * scale_ + kMargin; }
	double Len(double d) const { return d * scale_; }
	double Width() const { return Len(ext_.xMax - ext_.xMin) + 2 * kMargin; }
	double Height() const { return Len(ext_.yMax - ext_.yMin) + 2 * kMargin; }
	// "x,y" of a plan point.
	void Pt(TextOut& out, double x, double y) const { out.Fixed2(X(x)) << ','; out.Fixed2(Y(y)); }
	void Pt(TextOut& out, const API_Coord& c) const { Pt(out, c.x, c.y); }
	// name="pixels" of a plan x or y, or of a length.
	void AttrX(TextOut& out, const char* name, double x) const { Attr(out, name, X(x)); }
	void AttrY(TextOut& out, const char* name, double y) const { Attr(out, name, Y(y)); }
	static void Attr(TextOut& out, const char* name, double pixels)
	{
		out << ' ' << name << "=\"";
		out.Fixed2(pixels) << '"';
	}

private:
	static constexpr double kMargin = 20.0;
	Extent ext_;
	double scale_;
};

// Where object labels stand, so that a label that would overlap one is left to the hover text.
class Labels {
public:
	// Takes the box (pixels) when it overlaps no label taken; answers whether it did.
	bool Take(double x0, double y0, double x1, double y1)
	{
		const Box box{x0, y0, x1, y1};
		for (long cx = Cell(x0); cx <= Cell(x1); ++cx)
			for (long cy = Cell(y0); cy <= Cell(y1); ++cy) {
				const auto found = cells_.find(Key(cx, cy));
				if (found == cells_.end()) continue;
				for (const Box& b : found->second)
					if (b.x0 < x1 && x0 < b.x1 && b.y0 < y1 && y0 < b.y1) return false;
			}
		for (long cx = Cell(x0); cx <= Cell(x1); ++cx)
			for (long cy = Cell(y0); cy <= Cell(y1); ++cy) cells_[Key(cx, cy)].push_back(box);
		return true;
	}

private:
	struct Box { double x0, y0, x1, y1; };
	static constexpr double kCell = 64.0;
	static long Cell(double v) { return static_cast<long>(std::floor(std::clamp(v, -1e9, 1e9) / kCell)); }
	static long long Key(long x, long y) { return (static_cast<long long>(x) << 32) ^ static_cast<unsigned long>(y); }
	std::unordered_map<long long, std::vector<Box>> cells_;
};

std::string PartName(const ElementRecord& r)
{
	const LibraryPartRecord* part = PartByIndex(r.element.object.libInd);
	return part != nullptr ? vhost::Utf16ToUtf8(part->name) : std::string("?");
}

// The hover text: type, identity, layer; for objects their part and parameters; the solid
// operations the element takes part in.
void Title(TextOut& out, const ElementRecord& r, const LayerNames& layers)
{
	const API_Guid& guid = r.element.header.guid;
	const Int32 layer = vhost::IndexValue(r.element.header.layer);
	out << "<title>" << ElemTypeName(r.element.header.type.typeID) << ' ' << GuidChars(guid).View();
	if (FindLayer(layer) != nullptr) Escaped(out << " on ", layers.Of(layer));
	if (IsObject(r)) Escaped(out << '\n', PartName(r));
	for (const SolidLinkRecord& link : Current().state.solidLinks) {
		if (link.operatorElem == guid) out << "\ncuts " << GuidChars(link.target).View();
		if (link.target == guid) out << "\ncut by " << GuidChars(link.operatorElem).View();
	}
	if (r.element.header.type.typeID == API_ObjectID) Escaped(out, ParamLines(r.params));
	out << "</title>";
}

class Plan {
public:
	Plan(const Canvas& canvas, std::ostream& out) : c_(canvas), o_(out) {}

	void Head()
	{
		o_ << "<svg xmlns=\"http://www.w3.org/2000/svg\"";
		Canvas::Attr(o_, "width", c_.Width());
		Canvas::Attr(o_, "height", c_.Height());
		o_ << " viewBox=\"0 0 ";
		o_.Fixed2(c_.Width()) << ' ';
		o_.Fixed2(c_.Height()) << "\">\n<rect width=\"100%\" height=\"100%\" fill=\"white\"/>\n";
	}
	void Tail() { o_ << "</svg>\n"; }

	void Mesh(const ElementRecord& r)
	{
		o_ << "<g class=\"mesh\">";
		Title(o_, r, layers_);
		o_ << "<path d=\"";
		Contours(r);
		o_ << "Z\" fill=\"#e3f0d8\" stroke=\"#3c7a2a\" stroke-width=\"1.5\"/>";
		Int32 begin = 0;
		const auto count = static_cast<Int32>(r.meshLevelCoords.size());
		for (Int32 end : r.meshLevelEnds) {
			const Int32 last = std::min(end, count);
			if (end - begin == 1 && begin < count) {
				const API_Coord3D& p = r.meshLevelCoords[static_cast<std::size_t>(begin)].c;
				o_ << "<circle";
				c_.AttrX(o_, "cx", p.x);
				c_.AttrY(o_, "cy", p.y);
				o_ << " r=\"1.2\" fill=\"#8a6d3b\"/>";
			} else if (begin < last) {
				o_ << "<path d=\"";
				for (Int32 k = begin; k < last; ++k) {
					const API_Coord3D& p = r.meshLevelCoords[static_cast<std::size_t>(k)].c;
					o_ << (k == begin ? "M" : "L");
					c_.Pt(o_, p.x, p.y);
					o_ << ' ';
				}
				o_ << "\" fill=\"none\" stroke=\"#8a6d3b\" stroke-width=\"0.6\"/>";
			}
			begin = end;
		}
		o_ << "</g>\n";
	}

	// An object whose part holds its geometry: its faces filled in its kind's colour, its label
	// at their middle unless it would overlap another.
	void Shape(const ElementRecord& r, const std::vector<Outline>& faces, std::size_t kind)
	{
		const LayerKind& k = kKinds[kind];
		o_ << "<g class=\"object\" data-kind=\"" << k.name << "\" data-guid=\"" << GuidChars(r.element.header.guid).View() << "\">";
		Title(o_, r, layers_);
		o_ << "<path class=\"shape\" d=\"";
		Extent box;
		for (const Outline& face : faces) {
			for (std::size_t i = 0; i < face.size(); ++i) {
				o_ << (i == 0 ? "M" : "L");
				c_.Pt(o_, face[i]);
				box.Add(c_.X(face[i].x), c_.Y(face[i].y));
			}
			o_ << 'Z';
		}
		// Stroked in the fill colour, so that the seams between faces do not show.
		o_ << "\" fill=\"" << k.colour << "\" stroke=\"" << k.colour << "\" stroke-width=\"0.4\" stroke-linejoin=\"round\"/>";
		Label((box.xMin + box.xMax) / 2, (box.yMin + box.yMax) / 2, PartName(r), true);
		o_ << "</g>\n";
	}

	// An object without geometry of its own: a marker where it stands.
	void Marker(const ElementRecord& r)
	{
		const API_ObjectType& o = r.element.object;
		const double x = c_.X(o.pos.x), y = c_.Y(o.pos.y);
		o_ << "<g class=\"object\" data-guid=\"" << GuidChars(r.element.header.guid).View() << "\">";
		Title(o_, r, layers_);
		o_ << "<rect";
		Canvas::Attr(o_, "x", x - 4);
		Canvas::Attr(o_, "y", y - 4);
		o_ << " width=\"8\" height=\"8\" fill=\"none\" stroke=\"#1f4e9c\" stroke-width=\"1.2\" transform=\"rotate(";
		o_.Fixed2(-o.angle * 180.0 / kPi) << ' ';
		o_.Fixed2(x) << ' ';
		o_.Fixed2(y) << ")\"/>";
		Label(x + 6, y - 6, PartName(r), false);
		o_ << "</g>\n";
	}

	void Other(const ElementRecord& r)
	{
		const API_Element& e = r.element;
		const char* stroke = " fill=\"none\" stroke=\"#333\" stroke-width=\"0.8\">";
		switch (e.header.type.typeID) {
			case API_LineID:
				o_ << "<line class=\"line\"";
				c_.AttrX(o_, "x1", e.line.begC.x);
				c_.AttrY(o_, "y1", e.line.begC.y);
				c_.AttrX(o_, "x2", e.line.endC.x);
				c_.AttrY(o_, "y2", e.line.endC.y);
				o_ << stroke;
				Title(o_, r, layers_);
				o_ << "</line>\n";
				break;
			case API_PolyLineID:
				o_ << "<path class=\"polyline\" d=\"";
				Contours(r);
				o_ << '"' << stroke;
				Title(o_, r, layers_);
				o_ << "</path>\n";
				break;
			case API_ArcID: Arc(r); break;
			case API_CircleID:
				o_ << "<circle class=\"circle\"";
				c_.AttrX(o_, "cx", e.circle.origC.x);
				c_.AttrY(o_, "cy", e.circle.origC.y);
				Canvas::Attr(o_, "r", c_.Len(e.circle.r));
				o_ << stroke;
				Title(o_, r, layers_);
				o_ << "</circle>\n";
				break;
			case API_TextID:
				o_ << "<text class=\"text\"";
				c_.AttrX(o_, "x", e.text.loc.x);
				c_.AttrY(o_, "y", e.text.loc.y);
				o_ << " font-size=\"8\" fill=\"#600\">";
				Escaped(o_, vhost::Utf16ToUtf8(r.text));
				o_ << "</text>\n";
				break;
			default: break;
		}
	}

private:
	// The contours of a one-based polygon as path data.
	void Contours(const ElementRecord& r)
	{
		Int32 begin = 1;
		for (std::size_t i = 1; i < r.pends.size(); ++i) {
			const Int32 end = std::min<Int32>(r.pends[i], static_cast<Int32>(r.coords.size()) - 1);
			for (Int32 k = begin; k <= end; ++k) {
				o_ << (k == begin ? "M" : "L");
				c_.Pt(o_, r.coords[static_cast<std::size_t>(k)]);
				o_ << ' ';
			}
			begin = end + 1;
		}
	}

	// The label's text at (x, y), left-aligned or centred, when it overlaps no label written.
	void Label(double x, double y, const std::string& text, bool centred)
	{
		std::size_t characters = 0;
		for (const char ch : text) characters += (static_cast<unsigned char>(ch) & 0xC0) != 0x80;
		const double width = 0.6 * kLabelSize * static_cast<double>(characters);
		const double left = centred ? x - width / 2 : x;
		if (!labels_.Take(left, y - kLabelSize, left + width, y + 2)) return;
		o_ << "<text";
		Canvas::Attr(o_, "x", x);
		Canvas::Attr(o_, "y", y);
		Canvas::Attr(o_, "font-size", kLabelSize);
		o_ << (centred ? " text-anchor=\"middle\"" : "") << " fill=\"#1f2f4c\">";
		Escaped(o_, text);
		o_ << "</text>";
	}

	void Arc(const ElementRecord& r)
	{
		const API_ArcType& a = r.element.arc;
		double sweep = std::fmod(a.endAng - a.begAng, 2 * kPi);
		if (sweep < 0) sweep += 2 * kPi;
		const double rad = c_.Len(a.r);
		// Counter-clockwise on the plan is clockwise on screen (y flipped): sweep flag 0.
		o_ << "<path class=\"arc\" d=\"M";
		c_.Pt(o_, a.origC.x + a.r * std::cos(a.begAng), a.origC.y + a.r * std::sin(a.begAng));
		o_ << " A";
		o_.Fixed2(rad) << ',';
		o_.Fixed2(rad) << " 0 " << (sweep > kPi ? "1" : "0") << " 0 ";
		c_.Pt(o_, a.origC.x + a.r * std::cos(a.endAng), a.origC.y + a.r * std::sin(a.endAng));
		o_ << "\" fill=\"none\" stroke=\"#333\" stroke-width=\"0.8\">";
		Title(o_, r, layers_);
		o_ << "</path>\n";
	}

	const Canvas& c_;
	TextOut o_;
	Labels labels_;
	const LayerNames layers_;
};

} // namespace

void WritePlan(std::ostream& out)
{
	const auto& elements = Current().state.elements;
	PartShapes parts;
	Extent ext;
	for (const ElementRecord& r : elements) Measure(r, parts, ext);
	if (ext.empty) ext.Add(0, 0);
	const Canvas canvas(ext);
	Plan plan(canvas, out);
	plan.Head();
	// Meshes first, then the objects drawn from their geometry, kind by kind (buildings last,
	// on top), then the rest, so that everything lies on what it stands on.
	for (const ElementRecord& r : elements)
		if (r.element.header.type.typeID == API_MeshID) plan.Mesh(r);
	std::vector<bool> shaped(elements.size());
	for (std::size_t pass = 1; pass <= kOtherKind + 1; ++pass) {
		const std::size_t wanted = pass % (kOtherKind + 1); // buildings, kind 0, in the last pass
		for (std::size_t i = 0; i < elements.size(); ++i) {
			if (!IsObject(elements[i])) continue;
			const PartShape& part = parts.Of(elements[i].element.object.libInd);
			if (part.kind != wanted || (!part.building && part.faces.empty())) continue;
			const std::vector<Outline> faces = ObjectFaces(elements[i], part);
			if (faces.empty()) continue;
			plan.Shape(elements[i], faces, part.kind);
			shaped[i] = true;
		}
	}
	for (std::size_t i = 0; i < elements.size(); ++i) {
		if (elements[i].element.header.type.typeID == API_MeshID || shaped[i]) continue;
		if (IsObject(elements[i])) plan.Marker(elements[i]);
		else plan.Other(elements[i]);
	}
	plan.Tail();
}

std::string PlanSvg()
{
	std::ostringstream out;
	WritePlan(out);
	return out.str();
}

} // namespace vhost
