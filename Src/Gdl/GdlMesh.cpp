#include "Gdl/GdlMesh.hpp"

#include <algorithm>
#include <array>
#include <cmath>

namespace kivel {

namespace {

constexpr double kTolerance = 1e-6;

bool Within(double a, double b) { return std::fabs(a - b) < kTolerance; }

// a < b on the first of the values that differ beyond the tolerance; false when all are within.
template <std::size_t N>
bool LessBeyondTolerance(const std::array<double, N>& a, const std::array<double, N>& b)
{
	for (std::size_t i = 0; i < N; ++i)
		if (!Within(a[i], b[i])) return a[i] < b[i];
	return false;
}

std::array<int, 3> Sorted(const Triplet& t)
{
	std::array<int, 3> s = {t.index1, t.index2, t.index3};
	std::sort(s.begin(), s.end());
	return s;
}

} // namespace

Coord3DUV::Coord3DUV(float x_, float y_, float z_) : x(x_), y(y_), z(z_) {}

Coord3DUV::Coord3DUV(float x_, float y_, float z_, float u_, float v_) : x(x_), y(y_), z(z_), u(u_), v(v_), hasUV(true) {}

GdlEdge::GdlEdge(int v1, int v2, int f1, int f2, int s) : GdlEdge(0, v1, v2, f1, f2, s) {}

GdlEdge::GdlEdge(int k, int v1, int v2, int f1, int f2, int s)
    : key(k), vertex1(v1), vertex2(v2), face1(f1), face2(f2), status(s)
{
}

void GdlEdge::AddFaceIdx(int face)
{
	if (face1 > 0 && face2 > 0) return;
	if (face1 < 1)
		face1 = face;
	else
		face2 = face;
}

void GdlEdge::Finalize()
{
	if (face1 < 0) face1 = 0;
	if (face2 < 0) face2 = 0;
}

GdlFace::GdlFace(int normal, const GS::Array<int>& e) : normalIndex(normal), edges(e) {}

bool GdlMeshMaterialData::ISolid() const
{
	if (faces.GetSize() < 4) return false;
	return std::all_of(edges.begin(), edges.end(), [](const GdlEdge& e) { return e.IsManifold(); });
}

bool API_Coord3D_compare::operator()(const API_Coord3D& a, const API_Coord3D& b) const
{
	return LessBeyondTolerance<3>({a.x, a.y, a.z}, {b.x, b.y, b.z});
}

bool Coord3DUV_compare::operator()(const Coord3DUV& a, const Coord3DUV& b) const
{
	return LessBeyondTolerance<5>({a.x, a.y, a.z, a.u, a.v}, {b.x, b.y, b.z, b.u, b.v});
}

bool Triplet_compare::operator()(const Triplet& a, const Triplet& b) const { return Sorted(a) < Sorted(b); }

bool IsEqualCoord3D(const API_Coord3D& a, const API_Coord3D& b)
{
	return Within(a.x, b.x) && Within(a.y, b.y) && Within(a.z, b.z);
}

bool IsEqualCoord3D(const Coord3DUV& a, const Coord3DUV& b)
{
	return Within(a.x, b.x) && Within(a.y, b.y) && Within(a.z, b.z);
}

bool IsValidTriplet(const Triplet& t) { return t.index1 != t.index2 && t.index2 != t.index3 && t.index1 != t.index3; }

bool IsEqualTriplets(const Triplet& a, const Triplet& b) { return Sorted(a) == Sorted(b); }

void SubstractVect(API_Coord3D& out, const API_Coord3D& a, const API_Coord3D& b)
{
	out.x = a.x - b.x;
	out.y = a.y - b.y;
	out.z = a.z - b.z;
}

void CrossVect(API_Coord3D& out, const API_Coord3D& a, const API_Coord3D& b)
{
	const API_Coord3D r = {a.y * b.z - a.z * b.y, a.z * b.x - a.x * b.z, a.x * b.y - a.y * b.x};
	out = r;
}

void Normalize(API_Coord3D& v)
{
	const double length = static_cast<float>(std::sqrt(v.x * v.x + v.y * v.y + v.z * v.z));
	v.x /= length;
	v.y /= length;
	v.z /= length;
}

void CalcNormal(API_Coord3D& out, const API_Coord3D& A, const API_Coord3D& B, const API_Coord3D& C)
{
	API_Coord3D cb, ab;
	BNZeroMemory(&cb, sizeof cb);
	BNZeroMemory(&ab, sizeof ab);
	SubstractVect(cb, C, B);
	SubstractVect(ab, A, B);
	CrossVect(out, cb, ab);
	Normalize(out);
}

} // namespace kivel
