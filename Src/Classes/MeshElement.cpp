// The mesh element of the terrain: settings, memo, creation, and the pieces of an outline
// the host finds irregular.
#include <cstring>

#include "APICommon.hpp"
#include "Classes/MeshCreator.hpp"
#include "Helpers/MemoOwner.hpp"
#include "generic/GenericHelpers.hpp"
#include "generic/Story.hpp"

namespace {

constexpr GSErrCode kOutOfMemory = -108;
constexpr double kSkirtLevel = 15.7;

template <typename T>
Int32 Entries(T** h)
{
	return h == nullptr ? 0 : BMGetHandleSize(reinterpret_cast<GSConstHandle>(h)) / static_cast<Int32>(sizeof(T));
}

template <typename T>
T** Allocate(std::size_t count)
{
	return reinterpret_cast<T**>(BMAllocateHandle(static_cast<Int32>(count * sizeof(T)), ALLOCATE_CLEAR, 0));
}

template <typename T>
void Kill(T**& h)
{
	BMKillHandle(reinterpret_cast<GSHandle*>(&h));
}

// The level of the active story; 0 (reported) when the story list cannot be read.
double ActiveStoryLevel()
{
	API_StoryInfo info{};
	GSErrCode err = kivel::Story::GetSettings(info, 0);
	double level = 0;
	if (err == NoError) {
		const Int32 at = static_cast<Int32>(info.actStory) - info.firstStory;
		if (at >= 0 && at < Entries(info.data))
			level = (*info.data)[at].level;
		else
			err = APIERR_BADINDEX;
	}
	Kill(info.data);
	if (err != NoError) WriteReport_Err("Active story level of the mesh not found, level 0 used", err);
	return level;
}

} // namespace

void CMeshCreator::FillMemoCoords(const std::vector<API_Coord3D>& points, const ElevationLines& lines, API_ElementMemo& memo)
{
	Int32 k = 0, end = 0;
	const auto write = [&](const API_Coord3D& p) {
		(*memo.meshLevelCoords)[k] = {p, k + 1};
		++k;
	};
	for (const ElevationLine& line : lines.lines) {
		for (const API_Coord3D& p : line.points) write(p);
		(*memo.meshLevelEnds)[end++] = k;
	}
	for (const API_Coord3D& p : points) {
		write(p);
		(*memo.meshLevelEnds)[end++] = k;
	}
}

GSErrCode CMeshCreator::CreateMeshImp(const Contour& contour, const std::vector<API_Coord3D>& points,
                                      const ElevationLines& lines, double zMin)
{
	if (contour.size() < 3) {
		WriteReport_Alert("Not enough points");
		return APIERR_BADPARS;
	}
	API_Element element;
	MemoOwner owner; // freed also when a host call throws
	API_ElementMemo& memo = owner.memo;
	kivel::SetTypeId(element, API_MeshID);
	if (const GSErrCode err = ACAPI_Element_GetDefaults(&element, &memo)) return err;

	const Int32 n = static_cast<Int32>(contour.size());
	API_MeshType& mesh = element.mesh;
	mesh.head.layer = kivel::CreateAttributeIndex(options_.layer);
	mesh.contPen = mesh.levelPen = mesh.sectContPen = mesh.sectLevelPen = options_.meshPen;
	mesh.useSectPens = true;
	mesh.topMat.overridden = true;
	mesh.topMat.attributeIndex = options_.material;
	mesh.materialsChained = true;
	mesh.showLevelLines = true;
	mesh.skirt = 0;
	mesh.level = zMin - ActiveStoryLevel();
	mesh.fillPen = options_.fillPen;
	mesh.fillBGPen = options_.backgroundPen;
	mesh.fillInd = kivel::CreateAttributeIndex(options_.fillType);
	mesh.skirtLevel = kSkirtLevel;
	mesh.poly = {n, 1, 0};
	mesh.levelLines.nCoords = static_cast<Int32>(lines.PointCount() + points.size());
	mesh.levelLines.nSubLines = static_cast<Int32>(lines.lines.size() + points.size());

	memo.coords = Allocate<API_Coord>(n + 1);
	memo.pends = Allocate<Int32>(2);
	memo.parcs = Allocate<API_PolyArc>(0);
	memo.meshLevelCoords = Allocate<API_MeshLevelCoord>(mesh.levelLines.nCoords);
	memo.meshLevelEnds = Allocate<Int32>(mesh.levelLines.nSubLines);
	if (!memo.coords || !memo.pends || !memo.parcs || !memo.meshLevelCoords || !memo.meshLevelEnds) {
		ErrorBeep("Not enough memory to create mesh polygon data", APIERR_MEMFULL);
		return kOutOfMemory;
	}
	memo.meshPolyZ = Allocate<double>(n + 1);
	if (!memo.meshPolyZ) {
		ErrorBeep("Not enough memory to create mesh vertex data", APIERR_MEMFULL);
		return kOutOfMemory;
	}
	const MeshOutline outline = OutlineOf(contour);
	for (Int32 k = 1; k <= n; ++k) {
		(*memo.coords)[k] = outline.points[k - 1];
		(*memo.meshPolyZ)[k] = outline.heights[k - 1];
	}
	(*memo.pends)[1] = n;
	FillMemoCoords(points, lines, memo);

	meshGuid = APINULLGuid;
	meshGuids.clear();
	GSErrCode err = ACAPI_Element_Create(&element, &memo);
	if (err == NoError) meshGuids.push_back(element.header.guid);
	if (err == APIERR_IRREGULARPOLY) err = CreatePieces(element, memo, outline, points, lines);
	if (err != NoError)
		ErrorBeep("ACAPI_Element_Create (mesh)", err);
	else
		meshGuid = meshGuids.back();
	return err;
}

GSErrCode CMeshCreator::CreatePieces(API_Element& element, const API_ElementMemo& memo, const MeshOutline& outline,
                                     const std::vector<API_Coord3D>& points, const ElevationLines& lines)
{
	API_RegularizedPoly polygon;
	polygon.coords = memo.coords;
	polygon.pends = memo.pends;
	polygon.parcs = memo.parcs;
	polygon.vertexIDs = memo.vertexIDs;
	polygon.needVertexAttrs = true;
	Int32 count = 0;
	API_RegularizedPoly** pieces = nullptr;
	if (const GSErrCode err = ACAPI_Polygon_RegularizePolygon(&polygon, &count, &pieces)) return err;
	const auto release = [&] {
		for (Int32 i = 0; i < count; ++i) ACAPI_Polygon_DisposeRegularizedPoly(&(*pieces)[i]);
		BMKillHandle(reinterpret_cast<GSHandle*>(&pieces));
	};
	// An outline of no area at all leaves nothing to make.
	GSErrCode result = count > 0 ? NoError : APIERR_IRREGULARPOLY;
	for (Int32 i = 0; i < count && result == NoError; ++i) {
		const API_RegularizedPoly& piece = (*pieces)[i];
		API_Polygon& poly = element.mesh.poly;
		poly = {Entries(piece.coords) - 1, Entries(piece.pends) - 1, Entries(piece.parcs)};
		API_ElementMemo pieceMemo{};
		pieceMemo.coords = piece.coords;
		pieceMemo.pends = piece.pends;
		pieceMemo.parcs = piece.parcs;
		pieceMemo.vertexIDs = piece.vertexIDs;
		pieceMemo.meshPolyZ = Allocate<double>(static_cast<std::size_t>(poly.nCoords) + 1);
		if (!pieceMemo.meshPolyZ) {
			ErrorBeep("Not enough memory to create mesh vertex data", APIERR_MEMFULL);
			release();
			return kOutOfMemory;
		}
		for (Int32 j = 1; j <= poly.nCoords && result == NoError; ++j) {
			const Int32 source = j < Entries(piece.vertexAttrs) ? (*piece.vertexAttrs)[j] : 0;
			if (!PieceHeight(source, (*piece.coords)[j], outline, (*pieceMemo.meshPolyZ)[j])) result = APIERR_BADINDEX;
		}
		pieceMemo.meshLevelCoords = Allocate<API_MeshLevelCoord>(Entries(memo.meshLevelCoords));
		pieceMemo.meshLevelEnds = Allocate<Int32>(Entries(memo.meshLevelEnds));
		if (!pieceMemo.meshLevelCoords || !pieceMemo.meshLevelEnds) {
			ErrorBeep("Not enough memory to create mesh polygon data", APIERR_MEMFULL);
			result = kOutOfMemory;
		}
		if (result == NoError) {
			FillMemoCoords(points, lines, pieceMemo);
			result = ACAPI_Element_Create(&element, &pieceMemo);
			if (result == NoError) meshGuids.push_back(element.header.guid);
		}
		if ((result != NoError && result != APIERR_IRREGULARPOLY) || (result == APIERR_IRREGULARPOLY && i == 0))
			ErrorBeep("ACAPI_Element_Create (mesh) pieces", result);
		Kill(pieceMemo.meshPolyZ);
		Kill(pieceMemo.meshLevelCoords);
		Kill(pieceMemo.meshLevelEnds);
	}
	release();
	return result;
}
