// The placement frame of an import: its extent, whole-number sizes, origin and angle.
#include <cfloat>
#include <cmath>
#include <cstdint>
#include <vector>

#include "ACAPinc.h"
#include "Classes/import_map.hpp"
#include "File.hpp"
#include "Helpers/BinFileHelper.hpp"
#include "Helpers/CatchAll.hpp"
#include "Simple3dslib/Simple3ds.hpp"
#include "generic/Interface.hpp"

API_Coord3D Importer::rubber_pos;
double Importer::rubber_angle = 0.0;

namespace {

constexpr double Huge = DBL_MAX;

API_Box3D EmptyExtent() { return API_Box3D{Huge, Huge, Huge, -Huge, -Huge, -Huge}; }
bool HasXY(const API_Box3D& b) { return b.xMin <= b.xMax && b.yMin <= b.yMax; }
bool HasZ(const API_Box3D& b) { return b.zMin <= b.zMax; }

void Widen(API_Box3D& b, double x, double y, double z)
{
	b.xMin = std::min(b.xMin, x); b.yMin = std::min(b.yMin, y); b.zMin = std::min(b.zMin, z);
	b.xMax = std::max(b.xMax, x); b.yMax = std::max(b.yMax, y); b.zMax = std::max(b.zMax, z);
}

bool Is3ds(ImportObjectType type) { return type != Import2DBaseMap && type != ImportSurroundings; }

// The object's file; a missing "Hekk.3ds" is read as "Vegetasjon.3ds".
IO::Location LayerFile(const import_object& o)
{
	IO::Location loc = o.location;
	IO::Name last;
	if (loc.GetLastLocalName(&last) == NoError && last.ToString() == "Hekk.3ds" && IO::File(loc).GetStatus() == ErrFileNotFound)
		loc.SetLastLocalName(IO::Name("Vegetasjon.3ds"));
	return loc;
}

// Widens the box by the file's vertices; false (reported) when the file cannot be read or
// parsed, and then the box is unchanged.
bool Measure(const IO::Location& file, API_Box3D& box)
{
	const GS::UniString::CStr name = file.ToDisplayText().ToCStr();
	std::vector<unsigned char> bytes;
	if (ReadBinaryData(bytes, file) != NoError) {
		ACAPI_WriteReport("Error: 3DS File (%s) not found!", true, name.Get());
		return false;
	}
	Simple3dsScene scene;
	if (const ReadOutcome outcome = Simple3ds::LoadScene(scene, bytes); outcome != ReadOutcome::Read) {
		ReportStoppedRead(outcome, name.Get(), "Error while parsing 3DS File (%s)!");
		return false;
	}
	for (const Simple3dsMesh& mesh : scene.meshes)
		for (const Simple3dsVertex& v : mesh.vertices)
			if (std::isfinite(v.x) && std::isfinite(v.y) && std::isfinite(v.z)) Widen(box, v.x, v.y, v.z);
	return true;
}

// A size as a whole number; nothing negative or NaN becomes a size, and an extent beyond the
// 64-bit range, an infinite one included (converting it would be undefined), is held at the
// largest one.
UInt64 WholeSize(double extent)
{
	constexpr double kBeyond = 18446744073709551616.0; // 2^64; an overflow to infinity is beyond it too
	if (!(extent > 0)) return 0;
	return extent >= kBeyond ? UINT64_MAX : static_cast<UInt64>(extent);
}

// The frame's extent: z from the 3DS box, x/y from the outline when it has points.
API_Box3D FrameExtent(const API_Box3D& box3ds, const GS::Array<API_Coord>& outline)
{
	API_Box3D box = box3ds;
	if (!outline.IsEmpty()) Importer::Calc2dBoundingBox(outline, &box);
	return box;
}

// The import's extent in plan, turned by `angle` about `corner`, as four rubber lines.
void DrawFrame(const API_Coord3D& corner, double angle, double width, double depth)
{
	const double c = std::cos(angle), s = std::sin(angle);
	const double xs[] = {0, width, width, 0}, ys[] = {0, 0, depth, depth};
	for (int i = 0; i < 4; ++i) {
		const int j = (i + 1) % 4;
		API_RubberLineType line;
		BNZeroMemory(&line, sizeof line);
		line.c1 = {corner.x + c * xs[i] - s * ys[i], corner.y + s * xs[i] + c * ys[i], corner.z};
		line.c2 = {corner.x + c * xs[j] - s * ys[j], corner.y + s * xs[j] + c * ys[j], corner.z};
		kivel::Interface::DrawRubberLine(&line);
	}
}

// The extent the feedback draws, and whether the direction is being picked.
struct RubberFrame {
	double width = 0, depth = 0;
	bool direction = false;
} rubberFrame;

// Called by the host while a point is asked: what the drawing throws is reported once and
// this feedback is left out.
void RubberLineCallBack(const API_RubberLineInfo* info)
{
	if (info == nullptr) return;
	CatchAll("Velmora / RubberLineCallBack# ", false, [info] {
		const API_Coord3D& at = info->actCoord;
		if (rubberFrame.direction) {
			Importer::rubber_angle = std::atan2(at.y - Importer::rubber_pos.y, at.x - Importer::rubber_pos.x);
			DrawFrame(Importer::rubber_pos, Importer::rubber_angle, rubberFrame.width, rubberFrame.depth);
		} else {
			DrawFrame(at, Importer::rubber_angle, rubberFrame.width, rubberFrame.depth);
		}
		return true;
	});
}

// Asks for the origin point, then the direction; answers the host's code on cancel.
GSErrCode AskOriginAndAngle(const API_Box3D& box, API_Coord3D& origin, double& angle)
{
	rubberFrame = RubberFrame{HasXY(box) ? box.xMax - box.xMin : 0, HasXY(box) ? box.yMax - box.yMin : 0, false};
	API_GetPointType point {};
	point.prompt = "Select the location of the VELMORA geometries";
	if (const GSErrCode err = kivel::Interface::GetPoint(point, RubberLineCallBack, nullptr)) return err;
	Importer::rubber_pos = point.pos;
	rubberFrame.direction = true;
	API_GetLineType line {};
	line.prompt = "Select the orientation of the Velmora geometries";
	line.startCoord = point.pos;
	if (const GSErrCode err = kivel::Interface::GetLine(line, RubberLineCallBack)) return err;
	origin = point.pos;
	angle = std::atan2(line.pos.y - point.pos.y, line.pos.x - point.pos.x);
	return NoError;
}

} // namespace

GSErrCode Importer::CalcBoundingBox(const import_object** objects, unsigned int count, API_Box3D* box)
{
	*box = EmptyExtent();
	for (unsigned int i = 0; i < count; ++i)
		if (Is3ds(objects[i]->type)) Measure(LayerFile(*objects[i]), *box);
	if (!HasZ(*box)) *box = API_Box3D{};
	return NoError;
}

void Importer::Calc2dBoundingBox(const GS::Array<API_Coord>& points, API_Box3D* box)
{
	box->xMin = box->yMin = Huge;
	box->xMax = box->yMax = -Huge;
	for (const API_Coord& p : points) {
		box->xMin = std::min(box->xMin, p.x); box->yMin = std::min(box->yMin, p.y);
		box->xMax = std::max(box->xMax, p.x); box->yMax = std::max(box->yMax, p.y);
	}
}

GSErrCode Importer::GetReferencePoint(const IO::Location& location, import_object** objects, unsigned int count, API_Coord3D* point)
{
	std::vector<const import_object*> named;
	for (unsigned int i = 0; i < count; ++i)
		if (objects[i]->location == location && Is3ds(objects[i]->type)) named.push_back(objects[i]);
	API_Box3D box = EmptyExtent();
	bool measured = !named.empty();
	for (const import_object* o : named) measured = Measure(LayerFile(*o), box) && measured;
	if (!measured || !HasZ(box)) {
		ACAPI_WriteReport("Error: could not retrieve reference point!", true);
		return APIERR_GENERAL;
	}
	if (point != nullptr) *point = API_Coord3D{box.xMin, box.yMin, box.zMin};
	return NoError;
}

void Importer::SetMapLayerMetaData(import_object** objects, unsigned int count, const API_Box3D& box, const API_Coord3D& origin,
                                   double angle)
{
	for (unsigned int i = 0; i < count; ++i) {
		import_object& o = *objects[i];
		o.min_y = box.yMin;
		o.min_x = box.xMin;
		o.min_z = box.zMin;
		o.origin_x = origin.x;
		o.origin_y = origin.y;
		o.origin_z = origin.z;
		o.angle = angle;
		o.size_x = WholeSize(box.xMax - box.xMin);
		o.size_y = WholeSize(box.yMax - box.yMin);
		o.size_z = WholeSize(box.zMax - box.zMin);
	}
}

GSErrCode Importer::PickOrigo(bool interactive, import_object** objects, unsigned int count)
{
	API_Box3D box3ds;
	BNZeroMemory(&box3ds, sizeof box3ds);
	if (const GSErrCode err = CalcBoundingBox(const_cast<const import_object**>(objects), count, &box3ds)) return err;
	std::string why;
	const GS::Array<API_Coord> outline = ReadOutline(options.area_location, &why);
	if (outline.IsEmpty())
		ACAPI_WriteReport("Area outline (%s): %s; the extent of the 3DS files is used.", true,
		                  options.area_location.IsEmpty() ? "Area.json" : options.area_location.ToDisplayText().ToCStr().Get(),
		                  why.c_str());
	const API_Box3D box = FrameExtent(box3ds, outline);
	rubber_pos = API_Coord3D{};
	rubber_angle = 0.0;
	API_Coord3D origin;
	BNZeroMemory(&origin, sizeof origin);
	double angle = 0.0;
	if (interactive)
		if (const GSErrCode err = AskOriginAndAngle(box, origin, angle)) return err;
	SetMapLayerMetaData(objects, count, box, origin, angle);
	return NoError;
}
