// The plan geometry of the terrain mesh: contour, heights, level lines, elevation points.
// Plain records in, plain records out; every search goes through the indexes of
// TerrainGeometry, which answer as the literal scans do.
#include <algorithm>
#include <cmath>
#include <string_view>

#include "Classes/MeshCreator.hpp"
#include "Helpers/DxfText.hpp"
#include "SimpleDxflib/SimpleDxf.hpp"

namespace {

constexpr double kStartRadius = 15.0;      // search radius of a contour point
constexpr double kNearCorner = 0.2;        // a terrain vertex this near a contour point is not inserted
constexpr double kExtraNear = 1.0;         // extra points keep a contour point's height (x, y, z)
constexpr double kUnlifted = 0.00001;      // a level-line height this small is zero
constexpr double kNearContour = 0.1;       // elevation points keep away from contour points
constexpr double kSamePoint = 0.01;        // elevation points: the same as a point already held
constexpr double kSnap = 0.001;            // road ends snap to level-line points this near
constexpr double kShortEdge = 0.1;         // road edges shorter on both axes are skipped
constexpr double kWaterNear = 1.0;         // water edges near level lines or contour points
constexpr int kNot2DPolyline = 8 | 16 | 64;  // POLYLINE flags: 3D polyline, 3D mesh, polyface mesh
constexpr std::u16string_view kLevelLayer = u"h\u00F8ydekurve";

bool Near2D(const API_Coord3D& c, double x, double y, double d) { return std::fabs(c.x - x) < d && std::fabs(c.y - y) < d; }

// Lower case of the letters that can tell a Latin layer name apart from "høydekurve".
char16_t Fold(char16_t c)
{
	if ((c >= u'A' && c <= u'Z') || (c >= 0xC0 && c <= 0xDE && c != 0xD7)) return static_cast<char16_t>(c + 0x20);
	return c;
}

bool IsLevelLayer(std::string_view name, const DxfText::Encoding& encoding)
{
	const std::u16string text = DxfText::Decode(name, encoding);
	return text.size() == kLevelLayer.size() &&
	       std::equal(text.begin(), text.end(), kLevelLayer.begin(), [](char16_t a, char16_t b) { return Fold(a) == b; });
}

template <typename Visit>
void ForEachVertex(const Simple3dsScene& scene, Visit&& visit)
{
	for (const Simple3dsMesh& mesh : scene.meshes)
		for (const Simple3dsVertex& v : mesh.vertices) visit(v);
}

std::size_t VertexCount(const Simple3dsScene& scene)
{
	std::size_t n = 0;
	for (const Simple3dsMesh& mesh : scene.meshes) n += mesh.vertices.size();
	return n;
}

// Every triangle edge k (vertex k to vertex k + 1 mod 3) of every face, raw coordinates:
// visit(a, b) with a and b holding x, y and their heights in z. Faces naming a vertex the
// mesh does not have are skipped.
template <typename Visit>
void ForEachTriangleEdge(const Simple3dsScene& scene, Visit&& visit)
{
	for (const Simple3dsMesh& mesh : scene.meshes)
		for (const Simple3dsFace& face : mesh.faces) {
			const std::uint16_t corner[3] = {face.a, face.b, face.c};
			if (std::max({face.a, face.b, face.c}) >= mesh.vertices.size()) continue;
			for (int k = 0; k < 3; ++k) {
				const Simple3dsVertex& va = mesh.vertices[corner[k]];
				const Simple3dsVertex& vb = mesh.vertices[corner[(k + 1) % 3]];
				visit(API_Coord3D{va.x, va.y, va.z}, API_Coord3D{vb.x, vb.y, vb.z});
			}
		}
}

// The raw plan extent of a scene's vertices and the points of level lines.
PlanBox LineExtent(const Simple3dsScene& scene, const ElevationLines& lines)
{
	std::vector<API_Coord3D> points;
	points.reserve(VertexCount(scene) + lines.PointCount());
	ForEachVertex(scene, [&](const Simple3dsVertex& v) { points.push_back({v.x, v.y, v.z}); });
	for (const ElevationLine& line : lines.lines) points.insert(points.end(), line.points.begin(), line.points.end());
	return PlanExtent(points);
}

// An index over the points of level lines, in order; `room` more points may follow.
void IndexLines(PointIndex& index, const ElevationLines& lines)
{
	for (const ElevationLine& line : lines.lines)
		for (const API_Coord3D& p : line.points) index.Add(p);
}

// Appends the two-point line a-b when both ends are inside the contour.
void AddIfInside(ElevationLines& lines, PointIndex& linePoints, const ContourIndex& index, const API_Coord3D& a, const API_Coord3D& b)
{
	if (!index.Inside({a.x, a.y}) || !index.Inside({b.x, b.y})) return;
	lines.AddLine({a, b});
	linePoints.Add(a);
	linePoints.Add(b);
}

void Widen(API_Box3D& box, const Simple3dsVertex& v)
{
	box.xMin = std::min<double>(box.xMin, v.x);
	box.yMin = std::min<double>(box.yMin, v.y);
	box.zMin = std::min<double>(box.zMin, v.z);
	box.xMax = std::max<double>(box.xMax, v.x);
	box.yMax = std::max<double>(box.yMax, v.y);
	box.zMax = std::max<double>(box.zMax, v.z);
}

} // namespace

void TerrainContour::Add(const API_Coord3D& p, bool isLifted)
{
	points.push_back(p);
	radii.push_back(kStartRadius);
	lifted.push_back(isLifted);
}

void TerrainContour::Insert(std::size_t k, const API_Coord3D& p, bool isLifted)
{
	const auto at = static_cast<std::ptrdiff_t>(k);
	points.insert(points.begin() + at, p);
	radii.insert(radii.begin() + at, kStartRadius);
	lifted.insert(lifted.begin() + at, isLifted);
}

CMeshCreator::CMeshCreator(const MeshCreatorOptions& options) : options_(options)
{
	BNZeroMemory(&meshGuid, sizeof meshGuid);
	tran_.angle = options.angle;
	tran_.offsetX = options.offset.x;
	tran_.offsetY = options.offset.y;
	tran_.offsetZ = 0;
}

bool CMeshCreator::BuildTerrain(const Simple3dsScene& terrain, const Simple3dsScene& road, const Simple3dsScene& water,
                                const SimpleDxf::SimpleDxf& drawing, TerrainResult& result) const
{
	const auto first = std::find_if(terrain.meshes.begin(), terrain.meshes.end(),
	                                [](const Simple3dsMesh& m) { return !m.vertices.empty(); });
	if (first == terrain.meshes.end()) return false;
	const Simple3dsVertex& v0 = first->vertices.front();
	API_Box3D box = {v0.x, v0.y, v0.z, v0.x, v0.y, v0.z};

	result = TerrainResult();
	TerrainContour contour;
	for (UInt32 i = 0; i < options_.areaPolygon.GetSize(); ++i)
		contour.Add(tran_.Place(options_.areaPolygon[i].x, options_.areaPolygon[i].y, 0), false);
	std::vector<API_Coord3D> extraPoints;
	CollectExtraContourPoints(extraPoints, box, terrain, contour);
	AddExtraContourPoints(extraPoints, box, road, contour);
	AddExtraContourPoints(extraPoints, box, water, contour);
	result.zMin = box.zMin;
	MarkContourHeights(contour, extraPoints, result.zMin);
	ElevateContour(contour, result.elevationPoints);
	if (options_.useLevelLines) AddLevelLines(result.levelLines, drawing);
	if (result.levelLines.lines.empty()) {
		AddElevationPoints(result.elevationPoints, contour.points, result.levelLines, terrain);
		AddElevationLinesFromRoad(result.levelLines, contour.points, road);
		AddElevationLinesFromWater(result.levelLines, contour, water);
	}
	OffsetZCoords(result.levelLines, result.elevationPoints, contour.points, result.zMin);
	result.contour = std::move(contour.points);
	return true;
}

void CMeshCreator::InsertOnEdges(std::vector<API_Coord3D>& extraPoints, API_Box3D& box, const Simple3dsScene& scene,
                                 TerrainContour& contour, bool keepAwayFromPoints) const
{
	ContourIndex index(contour.points, search_);
	ForEachVertex(scene, [&](const Simple3dsVertex& v) {
		Widen(box, v);
		const API_Coord3D p = tran_.Place(v.x, v.y, v.z);
		int edge = -1;
		if (!index.OnEdge(p, edge) || edge < 0) return;
		if (keepAwayFromPoints && index.PointNear(p.x, p.y, kNearCorner)) return;
		const std::size_t at = static_cast<std::size_t>(edge) + 1;
		contour.Insert(at, p, true);
		index.Inserted(at);
		extraPoints.push_back(p);
	});
}

void CMeshCreator::CollectExtraContourPoints(std::vector<API_Coord3D>& extraPoints, API_Box3D& box,
                                             const Simple3dsScene& scene, TerrainContour& contour) const
{
	InsertOnEdges(extraPoints, box, scene, contour, true);
}

void CMeshCreator::AddExtraContourPoints(std::vector<API_Coord3D>& extraPoints, API_Box3D& box,
                                         const Simple3dsScene& scene, TerrainContour& contour) const
{
	InsertOnEdges(extraPoints, box, scene, contour, false);
}

void CMeshCreator::MarkContourHeights(TerrainContour& contour, const std::vector<API_Coord3D>& extraPoints, double zMin) const
{
	PointIndex extra(search_, PlanExtent(contour.points), kExtraNear, extraPoints.size());
	for (const API_Coord3D& p : extraPoints) extra.Add(p);
	for (std::size_t i = 0; i < contour.points.size(); ++i) {
		API_Coord3D& c = contour.points[i];
		contour.lifted[i] = extra.Near(c, kExtraNear, kExtraNear);
		if (!contour.lifted[i]) c.z = zMin;
	}
}

void CMeshCreator::ElevateContour(TerrainContour& contour, const std::vector<API_Coord3D>& sources) const
{
	Contour& points = contour.points;
	const ContourIndex index(points, search_);
	PointIndex sourceIndex(search_, PlanExtent(points), 1.0, sources.size());
	for (const API_Coord3D& s : sources) sourceIndex.Add(s);

	for (std::size_t i = 0; i < points.size(); ++i) {
		if (contour.lifted[i]) continue;
		double& r = contour.radii[i];
		// Takes s when it lies in the square window of the current radius: the radius becomes
		// the distance, the height s's. The window follows r as it changes.
		const auto take = [&](const API_Coord3D& s) {
			const API_Coord3D c = points[i];
			if (!(std::fabs(c.x - s.x) < r && std::fabs(c.y - s.y) < r)) return;
			r = std::sqrt((c.x - s.x) * (c.x - s.x) + (c.y - s.y) * (c.y - s.y));
			points[i].z = s.z;
			contour.lifted[i] = true;
		};
		for (std::size_t j = index.NextNear(points[i].x, points[i].y, r, 0); j < points.size();
		     j = index.NextNear(points[i].x, points[i].y, r, j + 1))
			if (contour.lifted[j]) take(points[j]);
		for (std::size_t j = sourceIndex.NextNear(points[i].x, points[i].y, r, 0); j < sources.size();
		     j = sourceIndex.NextNear(points[i].x, points[i].y, r, j + 1))
			take(sources[j]);
	}
}

void CMeshCreator::AddLevelLines(ElevationLines& lines, const SimpleDxf::SimpleDxf& drawing) const
{
	if (!drawing.entities || drawing.entities->empty()) {
		lines.lines.clear();
		return;
	}
	const DxfText::Encoding encoding =
		drawing.header ? DxfText::EncodingOf(drawing.header->version, drawing.header->codePage) : DxfText::EncodingOf("", "");
	// Entities repeat the drawing's copy of a name: decode each name once.
	const char* lastName = nullptr;
	std::size_t lastSize = 0;
	bool lastMatches = false;
	bool allZero = true;
	for (const auto& entity : *drawing.entities) {
		const std::string_view name = entity->layerName;
		if (name.data() != lastName || name.size() != lastSize) {
			lastName = name.data();
			lastSize = name.size();
			lastMatches = IsLevelLayer(name, encoding);
		}
		if (!lastMatches) continue;
		ElevationLine line;
		if (const auto* polyline = dynamic_cast<const SimpleDxf::Polyline*>(entity.get())) {
			if (polyline->vertices.size() < 2) continue;
			// A 2D POLYLINE keeps its height in its own point (the vertices' z is not theirs).
			const bool flat = polyline->kind == 1 && (polyline->flags & kNot2DPolyline) == 0;
			for (const SimpleDxf::Vertex& v : polyline->vertices) {
				const double z = flat ? polyline->z : v.z;
				line.AddPoint(tran_.Place(v.x, v.y, z));
				allZero = allZero && std::fabs(z) <= kUnlifted;
			}
		} else if (const auto* segment = dynamic_cast<const SimpleDxf::Line*>(entity.get())) {
			line = {tran_.Place(segment->x1, segment->y1, segment->z1), tran_.Place(segment->x2, segment->y2, segment->z2)};
			allZero = allZero && std::fabs(line.points[0].z) <= kUnlifted && std::fabs(line.points[1].z) <= kUnlifted;
		} else {
			continue;
		}
		lines.AddLine(std::move(line));
	}
	if (allZero) lines.lines.clear();
}

void CMeshCreator::AddElevationPoints(std::vector<API_Coord3D>& points, const Contour& contour,
                                      const ElevationLines& lines, const Simple3dsScene& terrain) const
{
	const ContourIndex index(contour, search_);
	PointIndex linePoints(search_, LineExtent({}, lines), kSamePoint, lines.PointCount());
	IndexLines(linePoints, lines);
	PointIndex held(search_, PlanExtent(contour), kSamePoint, points.size() + VertexCount(terrain));
	for (const API_Coord3D& p : points) held.Add(p);

	ForEachVertex(terrain, [&](const Simple3dsVertex& v) {
		const API_Coord3D p = tran_.Place(v.x, v.y, v.z);
		int edge = 0;
		if (index.PointNear(p.x, p.y, kNearContour) || index.OnEdge(p, edge) || !index.EvenOdd({p.x, p.y}) ||
		    linePoints.Near(p, kSamePoint, kSamePoint) || held.Near(p, kSamePoint, kSamePoint))
			return;
		held.Add(p);
		points.push_back(p);
	});
}

void CMeshCreator::AddElevationLinesFromRoad(ElevationLines& lines, const Contour& contour, const Simple3dsScene& road) const
{
	const ContourIndex index(contour, search_);
	PointIndex linePoints(search_, LineExtent(road, lines), kSnap, lines.PointCount() + 6 * VertexCount(road));
	IndexLines(linePoints, lines);
	// Every level-line point within kSnap of p moves p onto it, in order (the last one wins).
	const auto snap = [&](API_Coord3D& p) {
		for (std::size_t j = linePoints.NextNear(p.x, p.y, kSnap, 0); j < linePoints.Size();
		     j = linePoints.NextNear(p.x, p.y, kSnap, j + 1)) {
			const API_Coord3D& q = linePoints[j];
			if (Near2D(q, p.x, p.y, kSnap)) {
				p.x = q.x;
				p.y = q.y;
			}
		}
	};
	ForEachTriangleEdge(road, [&](API_Coord3D a, API_Coord3D b) {
		snap(a);
		snap(b);
		if (!(std::fabs(a.x - b.x) >= kShortEdge || std::fabs(a.y - b.y) >= kShortEdge)) return;
		int edge = 0;
		if (index.OnEdge(a, edge) && index.OnEdge(b, edge)) return;
		AddIfInside(lines, linePoints, index, a, b);
	});
}

void CMeshCreator::AddElevationLinesFromWater(ElevationLines& lines, TerrainContour& contour, const Simple3dsScene& water) const
{
	Contour& points = contour.points;
	const ContourIndex index(points, search_);
	PointIndex linePoints(search_, LineExtent(water, lines), kWaterNear, lines.PointCount() + 6 * VertexCount(water));
	IndexLines(linePoints, lines);
	ForEachTriangleEdge(water, [&](API_Coord3D a, API_Coord3D b) {
		if (linePoints.Near(a, kWaterNear, 0) || linePoints.Near(b, kWaterNear, 0)) return;
		// Contour points near an end take its height and the end their place; an edge that
		// met exactly one contour point first has done its work there.
		int count = 0;
		const auto next = [&](std::size_t from) {
			return std::min(index.NextNear(a.x, a.y, kWaterNear, from), index.NextNear(b.x, b.y, kWaterNear, from));
		};
		for (std::size_t j = next(0); j < points.size(); j = next(j + 1)) {
			API_Coord3D& c = points[j];
			for (API_Coord3D* end : {&a, &b})
				if (Near2D(c, end->x, end->y, kWaterNear)) {
					c.z = end->z;
					contour.lifted[j] = true;
					end->x = c.x;
					end->y = c.y;
					++count;
				}
			if (count == 1) return;
		}
		int edge = 0;
		if (index.OnEdge(a, edge) || index.OnEdge(b, edge)) return;
		AddIfInside(lines, linePoints, index, a, b);
	});
}

void CMeshCreator::OffsetZCoords(ElevationLines& lines, std::vector<API_Coord3D>& points, Contour& contour, double zMin)
{
	for (ElevationLine& line : lines.lines)
		for (API_Coord3D& p : line.points) p.z -= zMin;
	for (API_Coord3D& p : points) p.z -= zMin;
	for (API_Coord3D& c : contour) c.z -= zMin;
}
