#!/usr/bin/env python3
"""Writes the add-on's own object library, Resources/VelmoraLib, in the host's part-file
format: one .gsm text file per part with its parameter section (JSON) and GDL scripts.
Run it after changing a part below; the output is committed."""
import json
import os
import sys

GUID_PARENT = "{103E8D2C-8230-42E1-9597-46F84CCE28C0}-{00000000-0000-0000-0000-000000000000}"
S = "! " + "-" * 78

# Parameter types.
INTEGER, LENGTH, ANGLE, REAL, MATERIAL, FILL, PEN, STRING, BOOLEAN, TITLE = 1, 2, 3, 4, 9, 10, 11, 12, 13, 15
CHILD, HIDDEN = 1, 128


def p(name, type_, value, desc, flags=0):
    return {"name": name, "type": type_, "flags": flags, "description": desc, "value": value}


def table(name, type_, rows, desc, flags=CHILD | HIDDEN):
    return {"name": name, "type": type_, "flags": flags, "description": desc,
            "dim1": len(rows), "dim2": len(rows[0]), "values": [v for r in rows for v in r]}


def display(pen=1, fill=65, fill_pen=1, back_pen=19):
    return [
        p("gs_2D_representation", TITLE, 0, "2D representation"),
        p("gs_cont_pen", PEN, pen, "Contour pen", CHILD),
        p("gs_fill_type", FILL, fill, "Fill type", CHILD),
        p("gs_fill_pen", PEN, fill_pen, "Fill pen", CHILD),
        p("gs_back_pen", PEN, back_pen, "Fill background pen", CHILD),
        p("gs_3D_representation", TITLE, 0, "3D representation"),
        p("pen3D", PEN, pen, "3D pen", CHILD),
    ]


def rows(*lines):
    return "\n".join(lines) + "\n"


TREE_2D = rows(
    S, "! Plan symbol: trunk dot, crown outline and a few branches", S,
    "pen gs_cont_pen",
    "fill gs_fill_type",
    "poly2_b{2} 2, 3, gs_fill_pen, gs_back_pen, 0, 0, 1, 0, 0, 1, temp_AA, 360, 901",
    "circle2 0, 0, temp_AA",
    "circle2 0, 0, temp_AA * 0.15",
    "for i = 0 to 5",
    "\tline2 0, 0, temp_AA * 0.8 * cos(i * 60), temp_AA * 0.8 * sin(i * 60)",
    "next i",
    "hotspot2 0, 0")

def tree_3d(crown):
    return rows(
        S, "! Trunk and crown", S,
        "pen pen3D",
        "resol 12",
        "material \"Bark\"",
        "cylind hTrunk, temp_AA * 0.12",
        "addz hTrunk",
        "material \"Foliage\"",
        *crown,
        "del 1",
        "hotspot 0, 0, 0",
        "hotspot 0, 0, ZZYZX")

TREES = {
    "Velmora_Spruce_Tree": tree_3d(["cone ZZYZX - hTrunk, temp_AA, 0, 90, 90"]),
    "Velmora_Pine_Tree": tree_3d(["addz (ZZYZX - hTrunk) * 0.2", "cone (ZZYZX - hTrunk) * 0.8, temp_AA * 0.9, 0, 90, 90", "del 1"]),
    "Velmora_Birch_Tree": tree_3d(["addz (ZZYZX - hTrunk) / 2", "ellips (ZZYZX - hTrunk) / 2, temp_AA", "mulz -1", "ellips (ZZYZX - hTrunk) / 2, temp_AA", "del 2"]),
    "Velmora_Oak_Tree": tree_3d(["addz (ZZYZX - hTrunk) / 2", "sphere min(temp_AA, (ZZYZX - hTrunk) / 2)", "del 1"]),
}


def tree_params():
    return [
        p("temp_AA", LENGTH, 1.5, "Crown radius along A", CHILD | HIDDEN),
        p("temp_BB", LENGTH, 1.5, "Crown radius along B", CHILD | HIDDEN),
        p("ZZYZX", LENGTH, 9.0, "Height"),
        p("hTrunk", LENGTH, 3.0, "Trunk height"),
    ] + display(fill=65, fill_pen=10, back_pen=19)


BUILDING_3D = rows(
    S, "! The building body from its vertex, normal, edge and polygon tables", S,
    "pen pen3D",
    "nv = vardim1(vertArray)",
    "ne = vardim1(edgeArray)",
    "np = vardim1(pgonArray)",
    "if nv < 3 or np < 1 then end",
    "material matWall",
    "base",
    "for i = 1 to nv",
    "\tvert vertArray[i][1], vertArray[i][2], vertArray[i][3]",
    "next i",
    "for i = 1 to vardim1(vectArray)",
    "\tvect vectArray[i][1], vectArray[i][2], vectArray[i][3]",
    "next i",
    "for i = 1 to ne",
    "\tedge edgeArray[i][1], edgeArray[i][2], edgeArray[i][3], edgeArray[i][4], edgeArray[i][5]",
    "next i",
    "for i = 1 to np",
    "\t! roof faces look up: their normal's z is large",
    "\tn = pgonArray[i][2]",
    "\tmat = matWall",
    "\tif n > 0 then",
    "\t\tif vectArray[n][3] > 0.7 then mat = matRoof",
    "\tendif",
    "\tmaterial mat",
    "\tpgon 3, n, 0, pgonArray[i][4], pgonArray[i][5], pgonArray[i][6]",
    "next i",
    "body -1")

BUILDING_2D = rows(
    S, "! Plan: the visible edges seen from above", S,
    "pen gs_cont_pen",
    "if vardim1(vertArray) < 3 then end",
    "for i = 1 to vardim1(edgeArray)",
    "\tv1 = edgeArray[i][1] : v2 = edgeArray[i][2]",
    "\tif edgeArray[i][5] = 0 and v1 > 0 and v2 > 0 then line2 vertArray[v1][1], vertArray[v1][2], vertArray[v2][1], vertArray[v2][2]",
    "next i")

GEO_MASTER = rows(
    S, "! The project's local origin and coordinate system, from the generated macro", S,
    "Velmora_X = 0 : Velmora_Y = 0 : Velmora_Z = 0",
    "Vertical_Datum = \"\" : Map_Projection = \"\" : Map_Zone = \"\"",
    "if bGeodeticData then",
    "\tcall \"Velmora_XYZ\" parameters returned_parameters Velmora_X, Velmora_Y, Velmora_Z, Vertical_Datum, Map_Projection, Map_Zone",
    "endif")

GEO_2D = rows(
    S, "! A cross-hair marker with the origin's coordinates", S,
    "pen gs_cont_pen",
    "r = markerSize / 2",
    "circle2 0, 0, r",
    "line2 -markerSize, 0, markerSize, 0",
    "line2 0, -markerSize, 0, markerSize",
    "hotspot2 0, 0",
    "if bShowText then",
    "\tdefine style \"VelmoraGeo\" \"Arial\", 2, 1, 0",
    "\tstyle \"VelmoraGeo\"",
    "\ttext2 r, r, \"E \" + str(Velmora_X, 12, 3) + \"  N \" + str(Velmora_Y, 12, 3)",
    "\ttext2 r, r - markerSize / 4, Map_Projection + \" \" + Map_Zone + \" / \" + Vertical_Datum",
    "endif")

GEO_3D = rows(
    "pen pen3D",
    "cylind 0.02, markerSize / 10",
    "addz 0.02",
    "cone markerSize, markerSize / 20, 0, 90, 90",
    "del 1",
    "hotspot 0, 0, 0")

GLOBAL_2D = rows(
    S, "! A north arrow with the global position of the origin", S,
    "pen gs_cont_pen",
    "circle2 0, 0, markerSize / 2",
    "poly2 4, 1, 0, markerSize, -markerSize / 6, 0, markerSize / 6, 0, 0, markerSize",
    "hotspot2 0, 0",
    "if bShowText then text2 markerSize / 2, 0, \"lat \" + str(globalLat, 10, 6) + \"  lon \" + str(globalLon, 10, 6)")


def part(name, a, b, params, scripts):
    pard = {"A": a, "B": b, "details": {"object": True, "fixSize": False, "autoHotspot": True}, "parameters": params}
    out = ["VHOST-LIBPART 1", 'name "%s"' % name, "type 4", 'ownUnID ""', 'parentUnID "%s"' % GUID_PARENT,
           "template 0", "placeable 1"]
    sections = [("PARD", json.dumps(pard, indent=1, ensure_ascii=False) + "\n")] + scripts
    for code, text in sections:
        out.append("section %s 0" % code)
        for line in text[:-1].split("\n"):
            out.append("| " + line if line else "|")
        out.append("end")
    return "\n".join(out) + "\n"


def library():
    parts = {}
    for name, script3d in TREES.items():
        parts[name] = part(name, 3.0, 3.0, tree_params(), [("2DSC", TREE_2D), ("3DSC", script3d)])
    zero3 = [[0.0, 0.0, 0.0]]
    parts["Velmora_Building"] = part("Velmora_Building", 1.0, 1.0, [
        table("vertArray", LENGTH, zero3, "Vertices (x, y, z)"),
        table("vectArray", LENGTH, zero3, "Normals (x, y, z)"),
        table("edgeArray", INTEGER, [[0, 0, 0, 0, 0]], "Edges (vertex 1, vertex 2, face 1, face 2, status)"),
        table("pgonArray", INTEGER, [[3, 0, 0, 0, 0, 0]], "Polygons (edges, normal, 0, edge 1, edge 2, edge 3)"),
        p("matWall", MATERIAL, 1, "Wall material"),
        p("matRoof", MATERIAL, 1, "Roof material"),
    ] + display(fill=65), [("2DSC", BUILDING_2D), ("3DSC", BUILDING_3D)])
    marker = [p("markerSize", LENGTH, 2.0, "Marker size"), p("bShowText", BOOLEAN, 1, "Show coordinates")]
    parts["Velmora_Geocoordinate"] = part("Velmora_Geocoordinate", 2.0, 2.0, [
        p("bGeodeticData", BOOLEAN, 0, "Read the project's coordinate system"),
    ] + marker + display(), [("1DSC", GEO_MASTER), ("2DSC", GEO_2D), ("3DSC", GEO_3D)])
    parts["Velmora_Geolocal_Global"] = part("Velmora_Geolocal_Global", 2.0, 2.0, [
        p("globalLat", REAL, 0.0, "Global latitude"),
        p("globalLon", REAL, 0.0, "Global longitude"),
    ] + marker + display(), [("2DSC", GLOBAL_2D), ("3DSC", GEO_3D)])
    return parts


def main():
    root = os.path.join(os.path.dirname(os.path.abspath(__file__)), "..", "Resources", "VelmoraLib")
    os.makedirs(root, exist_ok=True)
    for name, text in library().items():
        with open(os.path.join(root, name + ".gsm"), "w", encoding="utf-8", newline="\n") as f:
            f.write(text)
    return 0


if __name__ == "__main__":
    sys.exit(main())
