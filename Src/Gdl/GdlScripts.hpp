// The texts of a generated object's scripts: the 3D script from a model's mesh records and
// the fixed 2D, master and parameter scripts. Pure text building, no host calls.
#ifndef VELMORA_GDL_GDLSCRIPTS_HPP
#define VELMORA_GDL_GDLSCRIPTS_HPP

#include <string>

#include "ACAPinc.h"
#include "Gdl/GdlMesh.hpp"
#include "Gdl/GdlText.hpp"
#include "Simple3dslib/Simple3dsScene.hpp"

using GdlMeshes = GS::Array<GS::Array<kivel::GdlMeshMaterialData>>;

// A material or texture name as it may stand inside a double-quoted script text: a double
// quote or a control character becomes "_".
std::string GdlSafeName(const std::string& name);

// The whole 3D script: head, texture and material definitions of the scene's materials,
// material table, every record's geometry and the invalid-face row.
std::string Gdl3DScript(const Simple3dsScene& scene, const GdlMeshes& meshes, int invalidFaces, bool flat,
                        double slabThickness);
// The geometry rows alone: per record its material, then a body (vertices, normals, edges,
// triangles) or, for flat parts that are not solids, one thin slab per triangle.
void AppendGdlGeometry(ScriptText& out, const GdlMeshes& meshes, bool flat, double slabThickness);

// The 2D script (hotspots, texts, projection), placed by the box's minimum x and y.
std::string Gdl2DScript(const API_Box3D& box);
// The master script: A, B and ZZYZX from the box's extents, constants, localization.
std::string GdlMasterScript(const API_Box3D& box);
// The parameter script for `materialCount` material parameters mat_1 ... mat_n.
std::string GdlParameterScript(int materialCount);

#endif
