#include "Gdl/MeshReader.hpp"

#include <algorithm>
#include <array>
#include <cmath>
#include <set>
#include <vector>

#include "Helpers/BinFileHelper.hpp"
#include "Simple3dslib/Simple3ds.hpp"

namespace kivel {

namespace {

using EdgeKey = std::pair<int, int>;
// Edge candidates by (smaller, larger) vertex index; within a key in creation order. The
// values are positions in the round's candidate list.
using EdgeMap = std::multimap<EdgeKey, int>;

constexpr double kAreaTolerance = 1e-6;
constexpr double kPi = 3.14159265358979323846;

API_Coord3D Widen(const Simple3dsVertex& v) { return {v.x, v.y, v.z}; }

double AngleDegrees(const API_Coord3D& p, const API_Coord3D& q)
{
	double dot = p.x * q.x + p.y * q.y;
	dot += p.z * q.z;
	return std::acos(std::clamp(dot, -1.0, 1.0)) * 180.0 / kPi;
}

bool Finite(const Simple3dsVertex& v) { return std::isfinite(v.x) && std::isfinite(v.y) && std::isfinite(v.z); }
bool Finite(const Simple3dsUV& t) { return std::isfinite(t.u) && std::isfinite(t.v); }

std::array<int, 3> Corners(const Simple3dsFace& f) { return {f.a, f.b, f.c}; }

// The face's corners lie inside the mesh's arrays and hold finite numbers.
bool CornersUsable(const Simple3dsMesh& mesh, const Simple3dsFace& f)
{
	const bool hasUV = !mesh.uvs.empty();
	for (int i : Corners(f)) {
		if (static_cast<std::size_t>(i) >= mesh.vertices.size() || !Finite(mesh.vertices[i])) return false;
		if (hasUV && (static_cast<std::size_t>(i) >= mesh.uvs.size() || !Finite(mesh.uvs[i]))) return false;
	}
	return true;
}

// Two corners equal (exactly, then within the tolerance), or the three on one line.
bool Degenerate(const Simple3dsMesh& mesh, const Simple3dsFace& f)
{
	const Simple3dsVertex& a = mesh.vertices[f.a];
	const Simple3dsVertex& b = mesh.vertices[f.b];
	const Simple3dsVertex& c = mesh.vertices[f.c];
	if (a == b || b == c || a == c) return true;
	const API_Coord3D A = Widen(a), B = Widen(b), C = Widen(c);
	if (IsEqualCoord3D(A, B) || IsEqualCoord3D(A, C) || IsEqualCoord3D(B, C)) return true;
	API_Coord3D ac, bc, cross;
	BNZeroMemory(&ac, sizeof ac);
	BNZeroMemory(&bc, sizeof bc);
	BNZeroMemory(&cross, sizeof cross);
	SubstractVect(ac, A, C);
	SubstractVect(bc, B, C);
	CrossVect(cross, ac, bc);
	return std::fabs(cross.x) < kAreaTolerance && std::fabs(cross.y) < kAreaTolerance && std::fabs(cross.z) < kAreaTolerance;
}

// The mesh's faces and the shared per-face data of its material rounds.
struct MeshFaces {
	const Simple3dsMesh& mesh;
	std::vector<API_Coord3D> normals; // by mesh face index (set for kept faces)
	double smoothingAngle;

	bool Soft(int f1, int f2) const { return AngleDegrees(normals[f1], normals[f2]) < smoothingAngle; }
};

// One material round: the candidates of its faces' sides.
struct Round {
	const MeshFaces& in;
	const std::vector<int>& faces; // mesh face indices in mesh order
	std::vector<AcEdgeData> candidates;
	EdgeMap byKey;

	void MakeCandidates();
	void PairSharedSides();
	void PairOneSide(EdgeMap::iterator first, EdgeMap::iterator last);
	GS::Array<int> FaceEdges(int face) const;
};

void Round::MakeCandidates()
{
	for (int f : faces) {
		const std::array<int, 3> c = Corners(in.mesh.faces[f]);
		for (int j = 0; j < 3; ++j) {
			const int from = c[j], to = c[(j + 1) % 3];
			const EdgeKey key = std::minmax(from, to);
			const int sign = from < to ? 1 : -1;
			bool completed = false;
			const auto range = byKey.equal_range(key);
			for (auto it = range.first; it != range.second; ++it) {
				AcEdgeData& e = candidates[it->second];
				if (e.face2 != -1 || e.sign1 != -sign) continue;
				e.face2 = f;
				e.sign2 = sign;
				if (in.Soft(e.face1, f)) e.status = 2;
				completed = true;
			}
			if (completed) continue;
			const int index = static_cast<int>(candidates.size()) + 1;
			candidates.push_back({key.first, key.second, f, sign, -1, 0, 0, index});
			byKey.emplace_hint(range.second, key, index - 1);
		}
	}
}

void Round::PairSharedSides()
{
	for (auto first = byKey.begin(); first != byKey.end();) {
		auto last = byKey.upper_bound(first->first);
		if (std::next(first) != last) PairOneSide(first, last);
		first = last;
	}
}

// Pairs the faces on one side met by several candidates, each face of the shorter sign list
// with the best-aligned face of the other; the pairs replace the candidates' faces in order.
void Round::PairOneSide(EdgeMap::iterator first, EdgeMap::iterator last)
{
	std::vector<int> P, N;
	for (auto it = first; it != last; ++it) {
		const AcEdgeData& e = candidates[it->second];
		(e.sign1 > 0 ? P : N).push_back(e.face1);
		if (e.face2 != -1) (e.sign2 > 0 ? P : N).push_back(e.face2);
	}
	std::vector<int>& S = P.size() < N.size() ? P : N;
	std::vector<int>& L = P.size() < N.size() ? N : P;
	std::vector<std::pair<int, int>> pairs;
	while (!S.empty() && !L.empty()) {
		const int s = S.back();
		S.pop_back();
		// L's first face when none is better than opposite, so every face stays named by an edge.
		std::size_t best = 0;
		double bestAngle = 180.0;
		for (std::size_t j = 0; j < L.size(); ++j) {
			const double angle = AngleDegrees(in.normals[s], in.normals[L[j]]);
			if (angle < bestAngle) {
				bestAngle = angle;
				best = j;
			}
		}
		pairs.emplace_back(s, L[best]);
		L[best] = L.back();
		L.pop_back();
	}
	for (; !L.empty(); L.pop_back()) pairs.emplace_back(L.back(), -1);
	std::size_t i = 0;
	for (auto it = first; it != last && i < pairs.size(); ++it, ++i) {
		AcEdgeData& e = candidates[it->second];
		e.face1 = pairs[i].first;
		e.face2 = pairs[i].second;
		e.status = e.face2 != -1 && in.Soft(e.face1, e.face2) ? 2 : 0;
	}
}

// The face's three signed edge numbers, sides a-b, b-c, c-a: a side walked from its smaller
// index takes the first candidate naming the face, the other way the last one.
GS::Array<int> Round::FaceEdges(int face) const
{
	GS::Array<int> out;
	const std::array<int, 3> c = Corners(in.mesh.faces[face]);
	for (int j = 0; j < 3; ++j) {
		const int from = c[j], to = c[(j + 1) % 3];
		const auto range = byKey.equal_range(std::minmax(from, to));
		int edge = 0;
		for (auto it = range.first; it != range.second; ++it) {
			const AcEdgeData& e = candidates[it->second];
			if (e.face1 != face && e.face2 != face) continue;
			edge = e.index;
			if (from < to) break;
		}
		out.Push(from < to ? edge : -edge);
	}
	return out;
}

// 1-based numbers of the mesh's vertices within one record; reset after each record.
struct VertexNumbers {
	std::vector<int> number; // by 3DS index, 0 while not in the record
	std::vector<int> used;

	int operator[](int i) const { return number[i]; }
	bool Add(int i)
	{
		if (number[i] != 0) return false;
		used.push_back(i);
		number[i] = static_cast<int>(used.size());
		return true;
	}
	void Reset()
	{
		for (int i : used) number[i] = 0;
		used.clear();
	}
};

// A sliver whose corners lie far apart can pass the area test yet give a cross product of 0
// (the far corner swallows the near ones' differences): its normal is 0/0. The record's users
// (scripts, array parameters) get 0 for it; the edge pairing keeps the face's own normal.
double FiniteOrZero(double c) { return std::isfinite(c) ? c : 0.0; }

Coord3DUV OutputVertex(const Simple3dsMesh& mesh, int i)
{
	const Simple3dsVertex& s = mesh.vertices[i];
	const float x = s.x / 1000.0f, y = s.y / 1000.0f, z = s.z / 1000.0f;
	if (mesh.uvs.empty()) return Coord3DUV(x, y, z);
	return Coord3DUV(x, y, z, mesh.uvs[i].u, mesh.uvs[i].v);
}

GdlMeshMaterialData BuildRecord(const MeshFaces& in, const std::vector<int>& faces, int material, VertexNumbers& numbers)
{
	GdlMeshMaterialData record;
	record.material = material;
	for (int f : faces)
		for (int i : Corners(in.mesh.faces[f]))
			if (numbers.Add(i)) record.vertices.Push(OutputVertex(in.mesh, i));

	Round round{in, faces, {}, {}};
	round.MakeCandidates();
	round.PairSharedSides();
	record.edges.SetCapacity(static_cast<UInt32>(round.candidates.size()));
	for (const AcEdgeData& e : round.candidates)
		record.edges.Push(GdlEdge(e.index, numbers[e.vertex1], numbers[e.vertex2], -1, -1, e.status));

	record.normals.SetCapacity(static_cast<UInt32>(faces.size()));
	int n = 0;
	for (int f : faces) {
		++n;
		const API_Coord3D& normal = in.normals[f];
		record.normals.Push(Geometry::Vector3<double>(FiniteOrZero(normal.x), FiniteOrZero(normal.y), FiniteOrZero(normal.z)));
		GS::Array<int> edges = round.FaceEdges(f);
		for (int e : edges)
			if (e != 0) record.edges[static_cast<UInt32>(std::abs(e) - 1)].AddFaceIdx(n);
		record.faces.Push(GdlFace(n, edges));
	}
	for (GdlEdge& e : record.edges) e.Finalize();
	numbers.Reset();
	return record;
}

void Scale(Simple3dsMesh& mesh)
{
	for (Simple3dsVertex& v : mesh.vertices) {
		v.x *= 1000.0f;
		v.y *= 1000.0f;
		v.z *= 1000.0f;
	}
}

} // namespace

GS::Array<GdlMeshMaterialData> BuildMeshRecords(Simple3dsMesh& mesh, int materialCount, int smoothingAngle,
                                                bool checkDuplicates, MeshFaceCounts& counts)
{
	Scale(mesh);
	MeshFaces in{mesh, std::vector<API_Coord3D>(mesh.faces.size()), static_cast<double>(smoothingAngle)};
	const int rounds = std::max(materialCount, 0) + 1;
	std::vector<std::vector<int>> buckets(static_cast<std::size_t>(rounds));
	std::set<Triplet, Triplet_compare> seen;
	for (std::size_t i = 0; i < mesh.faces.size(); ++i) {
		const Simple3dsFace& f = mesh.faces[i];
		if (!CornersUsable(mesh, f) || Degenerate(mesh, f)) {
			++counts.invalid;
			continue;
		}
		if (checkDuplicates && !seen.insert(Triplet{f.a, f.b, f.c}).second) {
			++counts.duplicated;
			continue;
		}
		CalcNormal(in.normals[i], Widen(mesh.vertices[f.a]), Widen(mesh.vertices[f.b]), Widen(mesh.vertices[f.c]));
		const int slot = f.material < rounds - 1 ? f.material + 1 : 0;
		buckets[static_cast<std::size_t>(slot)].push_back(static_cast<int>(i));
	}
	GS::Array<GdlMeshMaterialData> records;
	VertexNumbers numbers{std::vector<int>(mesh.vertices.size(), 0), {}};
	for (int slot = 0; slot < rounds; ++slot)
		records.Push(BuildRecord(in, buckets[static_cast<std::size_t>(slot)], slot - 1, numbers));
	return records;
}

MeshReader::MeshReader(const IO::Location& loc) : location(loc) {}

int MeshReader::Read()
{
	scene = Simple3dsScene();
	meshes.Clear();
	invalidFaceCount = duplicatedFaceCount = 0;
	const GS::UniString::CStr name = location.ToDisplayText().ToCStr();
	std::vector<unsigned char> bytes;
	const GSErrCode err = ReadBinaryData(bytes, location);
	if (err != NoError) {
		ACAPI_WriteReport("Error: 3DS File (%s) not found!", true, name.Get());
		return err;
	}
	if (const ReadOutcome outcome = Simple3ds::LoadScene(scene, bytes); outcome != ReadOutcome::Read) {
		ReportStoppedRead(outcome, name.Get(), "Error while parsing 3DS File (%s)!");
		return 2;
	}
	const int materialCount = static_cast<int>(scene.materials.size());
	for (Simple3dsMesh& mesh : scene.meshes) {
		MeshFaceCounts counts;
		meshes.Push(BuildMeshRecords(mesh, materialCount, smoothingAngle, checkDuplicates, counts));
		invalidFaceCount += counts.invalid;
		duplicatedFaceCount += counts.duplicated;
	}
	return 0;
}

} // namespace kivel
