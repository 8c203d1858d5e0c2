// One material's share of a triangle mesh in the shape the object language's VERT/TEVE,
// VECT, EDGE and PGON statements need. Vertex, edge and face numbers are 1-based.
#ifndef VELMORA_GDL_GDLMESH_HPP
#define VELMORA_GDL_GDLMESH_HPP

#include "ACAPinc.h"
#include "Vector3D.hpp"

namespace kivel {

// One mesh vertex with its texture coordinates.
struct Coord3DUV {
	double x = 0, y = 0, z = 0;
	double u = 0, v = 0;
	bool hasUV = false; // u and v were given

	Coord3DUV() = default;
	// Without texture coordinates: u = v = 0, hasUV false.
	Coord3DUV(float x, float y, float z);
	// With texture coordinates: hasUV true.
	Coord3DUV(float x, float y, float z, float u, float v);
};

// One edge statement. face1/face2 are -1 while unset and 0 for "no face" after Finalize;
// status is 0 for a visible edge, 2 for a soft one.
struct GdlEdge {
	int key = 0; // the edge's own number within its record (0 from the five-argument form)
	int vertex1 = 0, vertex2 = 0;
	int face1 = -1, face2 = -1;
	int status = 0;

	GdlEdge(int vertex1, int vertex2, int face1, int face2, int status);
	GdlEdge(int key, int vertex1, int vertex2, int face1, int face2, int status);

	// Fills the first free side (face1 when below 1, else face2); no change when both are set.
	void AddFaceIdx(int face);
	// Negative face numbers become 0.
	void Finalize();
	// Faces on both sides.
	bool IsManifold() const { return face1 >= 1 && face2 > 0; }
	bool IsVisible() const { return status == 0; }
};

// One polygon: its normal's number and its edges in order around it; edge -k is edge k
// walked from vertex2 to vertex1.
struct GdlFace {
	int normalIndex = 0;
	GS::Array<int> edges;

	GdlFace(int normalIndex, const GS::Array<int>& edges);
};

// The three vertex indices of a triangle.
struct Triplet {
	int index1 = 0, index2 = 0, index3 = 0;
};

// The faces of one mesh that use one material.
struct GdlMeshMaterialData {
	int material = -1; // scene material index; -1 for faces of no material
	GS::Array<Coord3DUV> vertices;
	GS::Array<Geometry::Vector3<double>> normals; // one per face, in face order
	GS::Array<GdlEdge> edges;                     // edge k at position k - 1
	GS::Array<GdlFace> faces;                     // face k at position k - 1

	// A closed solid: at least 4 faces and every edge has a face on both sides.
	bool ISolid() const;
};

// Orderings and equalities within an absolute tolerance of 1e-6 per value.
struct API_Coord3D_compare {
	bool operator()(const API_Coord3D& a, const API_Coord3D& b) const;
};
// x, y, z as above, then u and v when the positions are equal within the tolerance.
struct Coord3DUV_compare {
	bool operator()(const Coord3DUV& a, const Coord3DUV& b) const;
};
// Orders triangles by their sorted indices, so any corner order compares equal.
struct Triplet_compare {
	bool operator()(const Triplet& a, const Triplet& b) const;
};

bool IsEqualCoord3D(const API_Coord3D& a, const API_Coord3D& b);
// Positions only: u, v and hasUV are not compared.
bool IsEqualCoord3D(const Coord3DUV& a, const Coord3DUV& b);
// The three indices are pairwise different.
bool IsValidTriplet(const Triplet& t);
// The same three indices in any order.
bool IsEqualTriplets(const Triplet& a, const Triplet& b);

// out = a - b.
void SubstractVect(API_Coord3D& out, const API_Coord3D& a, const API_Coord3D& b);
// out = a x b.
void CrossVect(API_Coord3D& out, const API_Coord3D& a, const API_Coord3D& b);
// v divided by its length, the length rounded to single precision first.
void Normalize(API_Coord3D& v);
// out = (C - B) x (A - B), normalized as by Normalize.
void CalcNormal(API_Coord3D& out, const API_Coord3D& A, const API_Coord3D& B, const API_Coord3D& C);

} // namespace kivel

#endif
