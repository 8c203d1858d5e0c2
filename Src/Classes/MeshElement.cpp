// The mesh element of the terrain: settings, memo, creation, and the pieces of an outline
// the host finds irregular.
#include <cstring>

#include "ACUtils.hpp"
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
void Kill(T**& h)
{
	BMKillHandle(reinterpret_cast<GSHandle*>(&h));
}

// The pieces the host made of an irregular outline, released on every way out.
struct RegularizedPieces {
	Int32 count = 0;
	API_RegularizedPoly** pieces = nullptr;
	RegularizedPieces() = default;
	RegularizedPieces(const RegularizedPieces&) = delete;
	RegularizedPieces& operator=(const RegularizedPieces&) = delete;
	~RegularizedPieces()
	{
		for (Int32 i = 0; i < count && pieces != nullptr; ++i) ACAPI_Polygon_DisposeRegularizedPoly(&(*pieces)[i]);
		Kill(pieces);
	}
};

// The memo of one piece: its outline handles are the piece's (borrowed), its heights and
// level lines its own, released on every way out.
struct PieceMemo {
	API_ElementMemo memo;
	explicit PieceMemo(const API_RegularizedPoly& piece)
	{
		BNZeroMemory(&memo, sizeof memo);
		memo.coords = piece.coords;
		memo.pends = piece.pends;
		memo.parcs = piece.parcs;
		memo.vertexIDs = piece.vertexIDs;
	}
	PieceMemo(const PieceMemo&) = delete;
	PieceMemo& operator=(const PieceMemo&) = delete;
	~PieceMemo()
	{
		Kill(memo.meshPolyZ);
		Kill(memo.meshLevelCoords);
		Kill(memo.meshLevelEnds);
	}
};

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
	BNZeroMemory(&element, sizeof element);
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

	memo.coords = kivel::NewHandleTable<API_Coord>(n + 1);
	memo.pends = kivel::NewHandleTable<Int32>(2);
	memo.parcs = kivel::NewHandleTable<API_PolyArc>(0);
	memo.meshLevelCoords = kivel::NewHandleTable<API_MeshLevelCoord>(mesh.levelLines.nCoords);
	memo.meshLevelEnds = kivel::NewHandleTable<Int32>(mesh.levelLines.nSubLines);
	if (!memo.coords || !memo.pends || !memo.parcs || !memo.meshLevelCoords || !memo.meshLevelEnds) {
		ErrorBeep("Not enough memory to create mesh polygon data", APIERR_MEMFULL);
		return kOutOfMemory;
	}
	memo.meshPolyZ = kivel::NewHandleTable<double>(n + 1);
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
	BNZeroMemory(&polygon, sizeof polygon);
	polygon.coords = memo.coords;
	polygon.pends = memo.pends;
	polygon.parcs = memo.parcs;
	polygon.vertexIDs = memo.vertexIDs;
	polygon.needVertexAttrs = true;
	RegularizedPieces made;
	if (const GSErrCode err = ACAPI_Polygon_RegularizePolygon(&polygon, &made.count, &made.pieces)) return err;
	// An outline of no area at all leaves nothing to make.
	GSErrCode result = made.count > 0 ? NoError : APIERR_IRREGULARPOLY;
	for (Int32 i = 0; i < made.count && result == NoError; ++i) {
		const API_RegularizedPoly& piece = (*made.pieces)[i];
		API_Polygon& poly = element.mesh.poly;
		poly = {Entries(piece.coords) - 1, Entries(piece.pends) - 1, Entries(piece.parcs)};
		PieceMemo owner(piece);
		API_ElementMemo& pieceMemo = owner.memo;
		pieceMemo.meshPolyZ = kivel::NewHandleTable<double>(static_cast<std::size_t>(poly.nCoords) + 1);
		if (!pieceMemo.meshPolyZ) {
			ErrorBeep("Not enough memory to create mesh vertex data", APIERR_MEMFULL);
			return kOutOfMemory;
		}
		for (Int32 j = 1; j <= poly.nCoords && result == NoError; ++j) {
			const Int32 source = j < Entries(piece.vertexAttrs) ? (*piece.vertexAttrs)[j] : 0;
			if (!PieceHeight(source, (*piece.coords)[j], outline, (*pieceMemo.meshPolyZ)[j])) result = APIERR_BADINDEX;
		}
		pieceMemo.meshLevelCoords = kivel::NewHandleTable<API_MeshLevelCoord>(Entries(memo.meshLevelCoords));
		pieceMemo.meshLevelEnds = kivel::NewHandleTable<Int32>(Entries(memo.meshLevelEnds));
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
	}
	return result;
}
