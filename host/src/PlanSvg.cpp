// The project seen from above, as SVG for a person to look at, written as the project is walked.
#include <algorithm>
#include <cctype>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <map>
#include <sstream>
#include <string_view>
#include <unordered_map>

#include "ACAPinc.h"
#include "vhost/AttributeIndex.hpp"
#include "vhost/Elements.hpp"
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
		const double v = std::strtod(field.c_str(), &end);
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
std::string Escape(const std::string& text)
{
	std::string out;
	for (char c : ValidUtf8(text)) {
		switch (c) {
			case '&': out += "&amp;"; break;
			case '<': out += "&lt;"; break;
			case '>': out += "&gt;"; break;
			case '"': out += "&quot;"; break;
			default:
				if (static_cast<unsigned char>(c) < 0x20 && c != '\n' && c != '\t' && c != '\r') out += "\xEF\xBF\xBD";
				else out += c;
		}
	}
	return out;
}

// Plan coordinates to pixels, y up.
class Canvas {
public:
	explicit Canvas(const Extent& ext)
		: ext_(ext), scale_(kWidth / std::max({ext.xMax - ext.xMin, ext.yMax - ext.yMin, 1e-9})) {}

	double X(double x) const { return (x - ext_.xMin) * scale_ + kMargin; }
	double Y(double y) const { return (ext_.yMax - y) * scale_ + kMargin; }
	double Len(double d) const { return d * scale_; }
	double Width() const { return Len(ext_.xMax - ext_.xMin) + 2 * kMargin; }
	double Height() const { return Len(ext_.yMax - ext_.yMin) + 2 * kMargin; }
	std::string Pt(const API_Coord& c) const { return Num(X(c.x)) + "," + Num(Y(c.y)); }
	static std::string Num(double v)
	{
		char buf[32];
		std::snprintf(buf, sizeof(buf), "%.2f", v);
		return buf;
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
	static long Cell(double v) { return static_cast<long>(std::floor(v / kCell)); }
	static long long Key(long x, long y) { return (static_cast<long long>(x) << 32) ^ static_cast<unsigned long>(y); }
	std::unordered_map<long long, std::vector<Box>> cells_;
};

std::string GuidText(const API_Guid& guid) { return vhost::ToUtf8(APIGuidToString(guid)); }

std::string PartName(const ElementRecord& r)
{
	const LibraryPartRecord* part = PartByIndex(r.element.object.libInd);
	return part != nullptr ? vhost::Utf16ToUtf8(part->name) : std::string("?");
}

// The parameters' values, one "name = value" a line (arrays by their size).
std::string ParameterLines(const ElementRecord& r)
{
	std::string lines;
	const nlohmann::ordered_json list = ParamListJson(r.params);
	if (!list.is_array()) return lines;
	for (const auto& p : list) {
		if (!p.is_object() || !p.contains("name") || !p["name"].is_string()) continue;
		const std::string value = p.contains("value") ? p["value"].dump(-1, ' ', false, nlohmann::json::error_handler_t::replace)
		                          : p.contains("values") ? "[" + std::to_string(p["values"].size()) + " values]" : "";
		lines += "\n" + p["name"].get<std::string>() + " = " + value;
	}
	return lines;
}

// The hover text: type, identity, layer; for objects their part and parameters; the solid
// operations the element takes part in.
std::string Title(const ElementRecord& r)
{
	const API_Guid& guid = r.element.header.guid;
	const LayerRecord* layer = FindLayer(vhost::IndexValue(r.element.header.layer));
	std::string t = ElemTypeName(r.element.header.type.typeID) + " " + GuidText(guid);
	if (layer != nullptr) t += " on " + vhost::Utf16ToUtf8(layer->name);
	if (IsObject(r)) t += "\n" + PartName(r);
	for (const SolidLinkRecord& link : Current().state.solidLinks) {
		if (link.operatorElem == guid) t += "\ncuts " + GuidText(link.target);
		if (link.target == guid) t += "\ncut by " + GuidText(link.operatorElem);
	}
	if (r.element.header.type.typeID == API_ObjectID) t += ParameterLines(r);
	return "<title>" + Escape(t) + "</title>";
}

// The contours of a one-based polygon as path data (closed contours get "Z").
std::string ContourPath(const ElementRecord& r, const Canvas& c)
{
	std::string d;
	Int32 begin = 1;
	for (std::size_t i = 1; i < r.pends.size(); ++i) {
		const Int32 end = std::min<Int32>(r.pends[i], static_cast<Int32>(r.coords.size()) - 1);
		for (Int32 k = begin; k <= end; ++k) d += (k == begin ? "M" : "L") + c.Pt(r.coords[static_cast<std::size_t>(k)]) + " ";
		begin = end + 1;
	}
	return d;
}

class Plan {
public:
	Plan(const Canvas& canvas, std::ostream& out) : c_(canvas), out_(out) {}

	void Mesh(const ElementRecord& r)
	{
		out_ << "<g class=\"mesh\">" << Title(r) << "<path d=\"" << ContourPath(r, c_)
			<< "Z\" fill=\"#e3f0d8\" stroke=\"#3c7a2a\" stroke-width=\"1.5\"/>";
		Int32 begin = 0;
		for (Int32 end : r.meshLevelEnds) {
			std::string d;
			for (Int32 k = begin; k < end && k < static_cast<Int32>(r.meshLevelCoords.size()); ++k) {
				const API_Coord3D& p = r.meshLevelCoords[static_cast<std::size_t>(k)].c;
				d += (k == begin ? "M" : "L") + Canvas::Num(c_.X(p.x)) + "," + Canvas::Num(c_.Y(p.y)) + " ";
			}
			if (end - begin == 1) out_ << "<circle cx=\"" << d.substr(1, d.find(',') - 1) << "\" cy=\"" << d.substr(d.find(',') + 1)
				<< "\" r=\"1.2\" fill=\"#8a6d3b\"/>";
			else if (!d.empty()) out_ << "<path d=\"" << d << "\" fill=\"none\" stroke=\"#8a6d3b\" stroke-width=\"0.6\"/>";
			begin = end;
		}
		out_ << "</g>\n";
	}

	// An object whose part holds its geometry: its faces filled in its kind's colour, its label
	// at their middle unless it would overlap another.
	void Shape(const ElementRecord& r, const std::vector<Outline>& faces, std::size_t kind)
	{
		const LayerKind& k = kKinds[kind];
		out_ << "<g class=\"object\" data-kind=\"" << k.name << "\" data-guid=\"" << GuidText(r.element.header.guid) << "\">" << Title(r)
			 << "<path class=\"shape\" d=\"";
		Extent box;
		for (const Outline& face : faces) {
			for (std::size_t i = 0; i < face.size(); ++i) {
				out_ << (i == 0 ? "M" : "L") << c_.Pt(face[i]);
				box.Add(c_.X(face[i].x), c_.Y(face[i].y));
			}
			out_ << "Z";
		}
		// Stroked in the fill colour, so that the seams between faces do not show.
		out_ << "\" fill=\"" << k.colour << "\" stroke=\"" << k.colour << "\" stroke-width=\"0.4\" stroke-linejoin=\"round\"/>";
		Label((box.xMin + box.xMax) / 2, (box.yMin + box.yMax) / 2, PartName(r), true);
		out_ << "</g>\n";
	}

	// An object without geometry of its own: a marker where it stands.
	void Marker(const ElementRecord& r)
	{
		const API_ObjectType& o = r.element.object;
		const double x = c_.X(o.pos.x), y = c_.Y(o.pos.y);
		out_ << "<g class=\"object\" data-guid=\"" << GuidText(r.element.header.guid) << "\">" << Title(r) << "<rect x=\""
			<< Canvas::Num(x - 4) << "\" y=\"" << Canvas::Num(y - 4)
			<< "\" width=\"8\" height=\"8\" fill=\"none\" stroke=\"#1f4e9c\" stroke-width=\"1.2\" transform=\"rotate("
			<< Canvas::Num(-o.angle * 180.0 / kPi) << " " << Canvas::Num(x) << " " << Canvas::Num(y) << ")\"/>";
		Label(x + 6, y - 6, PartName(r), false);
		out_ << "</g>\n";
	}

	void Other(const ElementRecord& r)
	{
		const API_Element& e = r.element;
		const char* stroke = "fill=\"none\" stroke=\"#333\" stroke-width=\"0.8\"";
		switch (e.header.type.typeID) {
			case API_LineID:
				out_ << "<line class=\"line\" x1=\"" << Canvas::Num(c_.X(e.line.begC.x)) << "\" y1=\"" << Canvas::Num(c_.Y(e.line.begC.y))
					<< "\" x2=\"" << Canvas::Num(c_.X(e.line.endC.x)) << "\" y2=\"" << Canvas::Num(c_.Y(e.line.endC.y)) << "\" " << stroke
					<< ">" << Title(r) << "</line>\n";
				break;
			case API_PolyLineID:
				out_ << "<path class=\"polyline\" d=\"" << ContourPath(r, c_) << "\" " << stroke << ">" << Title(r) << "</path>\n";
				break;
			case API_ArcID: Arc(r); break;
			case API_CircleID:
				out_ << "<circle class=\"circle\" cx=\"" << Canvas::Num(c_.X(e.circle.origC.x)) << "\" cy=\""
					<< Canvas::Num(c_.Y(e.circle.origC.y)) << "\" r=\"" << Canvas::Num(c_.Len(e.circle.r)) << "\" " << stroke << ">"
					<< Title(r) << "</circle>\n";
				break;
			case API_TextID:
				out_ << "<text class=\"text\" x=\"" << Canvas::Num(c_.X(e.text.loc.x)) << "\" y=\"" << Canvas::Num(c_.Y(e.text.loc.y))
					<< "\" font-size=\"8\" fill=\"#600\">" << Escape(vhost::Utf16ToUtf8(r.text)) << "</text>\n";
				break;
			default: break;
		}
	}

private:
	// The label's text at (x, y), left-aligned or centred, when it overlaps no label written.
	void Label(double x, double y, const std::string& text, bool centred)
	{
		std::size_t characters = 0;
		for (const char ch : text) characters += (static_cast<unsigned char>(ch) & 0xC0) != 0x80;
		const double width = 0.6 * kLabelSize * static_cast<double>(characters);
		const double left = centred ? x - width / 2 : x;
		if (!labels_.Take(left, y - kLabelSize, left + width, y + 2)) return;
		out_ << "<text x=\"" << Canvas::Num(x) << "\" y=\"" << Canvas::Num(y) << "\" font-size=\"" << kLabelSize << "\""
			 << (centred ? " text-anchor=\"middle\"" : "") << " fill=\"#1f2f4c\">" << Escape(text) << "</text>";
	}

	void Arc(const ElementRecord& r)
	{
		const API_ArcType& a = r.element.arc;
		const API_Coord from{a.origC.x + a.r * std::cos(a.begAng), a.origC.y + a.r * std::sin(a.begAng)};
		const API_Coord to{a.origC.x + a.r * std::cos(a.endAng), a.origC.y + a.r * std::sin(a.endAng)};
		double sweep = std::fmod(a.endAng - a.begAng, 2 * kPi);
		if (sweep < 0) sweep += 2 * kPi;
		const std::string rad = Canvas::Num(c_.Len(a.r));
		// Counter-clockwise on the plan is clockwise on screen (y flipped): sweep flag 0.
		out_ << "<path class=\"arc\" d=\"M" << c_.Pt(from) << " A" << rad << "," << rad << " 0 " << (sweep > kPi ? 1 : 0) << " 0 "
			<< c_.Pt(to) << "\" fill=\"none\" stroke=\"#333\" stroke-width=\"0.8\">" << Title(r) << "</path>\n";
	}

	const Canvas& c_;
	std::ostream& out_;
	Labels labels_;
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
	out << "<svg xmlns=\"http://www.w3.org/2000/svg\" width=\"" << Canvas::Num(canvas.Width()) << "\" height=\""
		<< Canvas::Num(canvas.Height()) << "\" viewBox=\"0 0 " << Canvas::Num(canvas.Width()) << " " << Canvas::Num(canvas.Height())
		<< "\">\n<rect width=\"100%\" height=\"100%\" fill=\"white\"/>\n";
	Plan plan(canvas, out);
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
	out << "</svg>\n";
}

std::string PlanSvg()
{
	std::ostringstream out;
	WritePlan(out);
	return out.str();
}

bool WritePlanSvg(const std::string& path)
{
	std::ofstream out(std::filesystem::u8path(path), std::ios::binary);
	WritePlan(out);
	return static_cast<bool>(out);
}

} // namespace vhost
