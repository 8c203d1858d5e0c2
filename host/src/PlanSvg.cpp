// The project seen from above, as SVG for a person to look at.
#include <algorithm>
#include "vhost/Text.hpp"
#include <cmath>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <sstream>

#include "ACAPinc.h"
#include "vhost/Elements.hpp"
#include "vhost/Text.hpp"
#include "vhost/LibraryStore.hpp"
#include "vhost/AttributeIndex.hpp"

namespace vhost {

namespace {

constexpr double kPi = 3.14159265358979323846;
constexpr double kWidth = 1000.0; // pixels across the drawn extent

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

void Measure(const ElementRecord& r, Extent& ext)
{
	const API_Element& e = r.element;
	for (std::size_t i = 1; i < r.coords.size(); ++i) ext.Add(r.coords[i]);
	for (const API_MeshLevelCoord& c : r.meshLevelCoords) ext.Add(c.c.x, c.c.y);
	switch (e.header.type.typeID) {
		case API_ObjectID: case API_LampID: ext.Add(e.object.pos); break;
		case API_LineID: ext.Add(e.line.begC); ext.Add(e.line.endC); break;
		case API_ArcID: ext.AddRadius(e.arc.origC, e.arc.r); break;
		case API_CircleID: ext.AddRadius(e.circle.origC, e.circle.r); break;
		case API_TextID: ext.Add(e.text.loc); break;
		default: break;
	}
}

std::string Escape(const std::string& text)
{
	std::string out;
	for (char c : text) {
		switch (c) {
			case '&': out += "&amp;"; break;
			case '<': out += "&lt;"; break;
			case '>': out += "&gt;"; break;
			case '"': out += "&quot;"; break;
			default: out += c;
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

std::string GuidText(const API_Guid& guid) { return vhost::ToUtf8(APIGuidToString(guid)); }

// The parameters' values, one "name = value" a line (arrays by their size).
std::string ParameterLines(const ElementRecord& r)
{
	std::string lines;
	const nlohmann::ordered_json list = ParamListJson(r.params);
	if (!list.is_array()) return lines;
	for (const auto& p : list) {
		if (!p.is_object() || !p.contains("name")) continue;
		const std::string value = p.contains("value") ? p["value"].dump()
		                          : p.contains("values") ? "[" + std::to_string(p["values"].size()) + " values]" : "";
		lines += "\n" + p["name"].get<std::string>() + " = " + value;
	}
	return lines;
}

// The hover text: type, identity, layer; for objects their parameters; the solid operations
// the element takes part in.
std::string Title(const ElementRecord& r)
{
	const API_Guid& guid = r.element.header.guid;
	const LayerRecord* layer = FindLayer(vhost::IndexValue(r.element.header.layer));
	std::string t = ElemTypeName(r.element.header.type.typeID) + " " + GuidText(guid);
	if (layer != nullptr) t += " on " + vhost::Utf16ToUtf8(layer->name);
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

void DrawMesh(const ElementRecord& r, const Canvas& c, std::ostream& out)
{
	out << "<g class=\"mesh\">" << Title(r) << "<path d=\"" << ContourPath(r, c)
		<< "Z\" fill=\"#e3f0d8\" stroke=\"#3c7a2a\" stroke-width=\"1.5\"/>";
	Int32 begin = 0;
	for (Int32 end : r.meshLevelEnds) {
		std::string d;
		for (Int32 k = begin; k < end && k < static_cast<Int32>(r.meshLevelCoords.size()); ++k) {
			const API_Coord3D& p = r.meshLevelCoords[static_cast<std::size_t>(k)].c;
			d += (k == begin ? "M" : "L") + Canvas::Num(c.X(p.x)) + "," + Canvas::Num(c.Y(p.y)) + " ";
		}
		if (end - begin == 1) out << "<circle cx=\"" << d.substr(1, d.find(',') - 1) << "\" cy=\"" << d.substr(d.find(',') + 1)
			<< "\" r=\"1.2\" fill=\"#8a6d3b\"/>";
		else if (!d.empty()) out << "<path d=\"" << d << "\" fill=\"none\" stroke=\"#8a6d3b\" stroke-width=\"0.6\"/>";
		begin = end;
	}
	out << "</g>\n";
}

void DrawObject(const ElementRecord& r, const Canvas& c, std::ostream& out)
{
	const API_ObjectType& o = r.element.object;
	const LibraryPartRecord* part = PartByIndex(o.libInd);
	const std::string name = part != nullptr ? vhost::Utf16ToUtf8(part->name) : std::string("?");
	const double x = c.X(o.pos.x), y = c.Y(o.pos.y);
	out << "<g class=\"object\">" << Title(r) << "<rect x=\"" << Canvas::Num(x - 4) << "\" y=\"" << Canvas::Num(y - 4)
		<< "\" width=\"8\" height=\"8\" fill=\"none\" stroke=\"#1f4e9c\" stroke-width=\"1.2\" transform=\"rotate("
		<< Canvas::Num(-o.angle * 180.0 / kPi) << " " << Canvas::Num(x) << " " << Canvas::Num(y) << ")\"/>"
		<< "<text x=\"" << Canvas::Num(x + 6) << "\" y=\"" << Canvas::Num(y - 6) << "\" font-size=\"9\" fill=\"#1f4e9c\">"
		<< Escape(name) << "</text></g>\n";
}

void DrawArc(const ElementRecord& r, const Canvas& c, std::ostream& out)
{
	const API_ArcType& a = r.element.arc;
	const API_Coord from{a.origC.x + a.r * std::cos(a.begAng), a.origC.y + a.r * std::sin(a.begAng)};
	const API_Coord to{a.origC.x + a.r * std::cos(a.endAng), a.origC.y + a.r * std::sin(a.endAng)};
	double sweep = std::fmod(a.endAng - a.begAng, 2 * kPi);
	if (sweep < 0) sweep += 2 * kPi;
	const std::string rad = Canvas::Num(c.Len(a.r));
	// Counter-clockwise on the plan is clockwise on screen (y flipped): sweep flag 0.
	out << "<path class=\"arc\" d=\"M" << c.Pt(from) << " A" << rad << "," << rad << " 0 " << (sweep > kPi ? 1 : 0) << " 0 "
		<< c.Pt(to) << "\" fill=\"none\" stroke=\"#333\" stroke-width=\"0.8\">" << Title(r) << "</path>\n";
}

void DrawElement(const ElementRecord& r, const Canvas& c, std::ostream& out)
{
	const API_Element& e = r.element;
	const char* stroke = "fill=\"none\" stroke=\"#333\" stroke-width=\"0.8\"";
	switch (e.header.type.typeID) {
		case API_MeshID: DrawMesh(r, c, out); break;
		case API_ObjectID: case API_LampID: DrawObject(r, c, out); break;
		case API_LineID:
			out << "<line class=\"line\" x1=\"" << Canvas::Num(c.X(e.line.begC.x)) << "\" y1=\"" << Canvas::Num(c.Y(e.line.begC.y))
				<< "\" x2=\"" << Canvas::Num(c.X(e.line.endC.x)) << "\" y2=\"" << Canvas::Num(c.Y(e.line.endC.y)) << "\" " << stroke << ">"
				<< Title(r) << "</line>\n";
			break;
		case API_PolyLineID:
			out << "<path class=\"polyline\" d=\"" << ContourPath(r, c) << "\" " << stroke << ">" << Title(r) << "</path>\n";
			break;
		case API_ArcID: DrawArc(r, c, out); break;
		case API_CircleID:
			out << "<circle class=\"circle\" cx=\"" << Canvas::Num(c.X(e.circle.origC.x)) << "\" cy=\"" << Canvas::Num(c.Y(e.circle.origC.y))
				<< "\" r=\"" << Canvas::Num(c.Len(e.circle.r)) << "\" " << stroke << ">" << Title(r) << "</circle>\n";
			break;
		case API_TextID:
			out << "<text class=\"text\" x=\"" << Canvas::Num(c.X(e.text.loc.x)) << "\" y=\"" << Canvas::Num(c.Y(e.text.loc.y))
				<< "\" font-size=\"8\" fill=\"#600\">" << Escape(vhost::Utf16ToUtf8(r.text)) << "</text>\n";
			break;
		default: break;
	}
}

} // namespace

std::string PlanSvg()
{
	const auto& elements = Current().state.elements;
	Extent ext;
	for (const ElementRecord& r : elements) Measure(r, ext);
	if (ext.empty) ext.Add(0, 0);
	const Canvas canvas(ext);
	std::ostringstream out;
	out << "<svg xmlns=\"http://www.w3.org/2000/svg\" width=\"" << Canvas::Num(canvas.Width()) << "\" height=\""
		<< Canvas::Num(canvas.Height()) << "\" viewBox=\"0 0 " << Canvas::Num(canvas.Width()) << " " << Canvas::Num(canvas.Height())
		<< "\">\n<rect width=\"100%\" height=\"100%\" fill=\"white\"/>\n";
	// Meshes first, so that everything else lies on top of them.
	for (const ElementRecord& r : elements)
		if (r.element.header.type.typeID == API_MeshID) DrawElement(r, canvas, out);
	for (const ElementRecord& r : elements)
		if (r.element.header.type.typeID != API_MeshID) DrawElement(r, canvas, out);
	out << "</svg>\n";
	return out.str();
}

bool WritePlanSvg(const std::string& path)
{
	std::ofstream out(std::filesystem::u8path(path), std::ios::binary);
	out << PlanSvg();
	return static_cast<bool>(out);
}

} // namespace vhost
