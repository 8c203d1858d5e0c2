// What element creation checks for a mesh beyond the shared checks. The outline's own
// shape (crossing or zero-length edges) belongs here too.
#include <cmath>

#include "ACAPinc.h"
#include "vhost/Elements.hpp"
#include "vhost/MeshPolygon.hpp"

namespace vhost {

namespace {

template <typename T>
Int32 Entries(T** h)
{
	return h == nullptr ? 0 : static_cast<Int32>(static_cast<std::size_t>(BMGetHandleSize(reinterpret_cast<GSConstHandle>(h))) / sizeof(T));
}

} // namespace

GSErrCode CheckMesh(const API_Element& element, const API_ElementMemo& memo)
{
	const API_MeshType& mesh = element.mesh;
	if (!std::isfinite(mesh.level) || !std::isfinite(mesh.skirtLevel)) return APIERR_BADPARS;
	if (const GSErrCode err = CheckPolygon(mesh.poly, memo, 3)) return err;
	if (const GSErrCode err = CheckSimpleOutline(mesh.poly, memo)) return err;
	if (Entries(memo.meshPolyZ) < mesh.poly.nCoords + 1) return APIERR_BADPARS;
	for (Int32 i = 1; i <= mesh.poly.nCoords; ++i)
		if (!std::isfinite((*memo.meshPolyZ)[i])) return APIERR_BADPARS;
	const API_MeshLevel& lines = mesh.levelLines;
	if (lines.nCoords < 0 || lines.nSubLines < 0) return APIERR_BADPARS;
	if (Entries(memo.meshLevelCoords) < lines.nCoords || Entries(memo.meshLevelEnds) < lines.nSubLines) return APIERR_BADPARS;
	Int32 previous = 0;
	for (Int32 i = 0; i < lines.nSubLines; ++i) {
		const Int32 end = (*memo.meshLevelEnds)[i];
		if (end < previous || end > lines.nCoords) return APIERR_BADPARS;
		previous = end;
	}
	for (Int32 i = 0; i < lines.nCoords; ++i) {
		const API_Coord3D& c = (*memo.meshLevelCoords)[i].c;
		if (!std::isfinite(c.x) || !std::isfinite(c.y) || !std::isfinite(c.z)) return APIERR_BADPARS;
	}
	return NoError;
}

} // namespace vhost
