// Helpers of the DXF tests: loading texts, casting entities, a drawing summary.
#ifndef VELMORA_DXFTESTUTIL_HPP
#define VELMORA_DXFTESTUTIL_HPP

#include <map>
#include <string>

#include <gtest/gtest.h>

#include "SimpleDxflib/SimpleDxf.hpp"

namespace dxftest {

inline bool Load(SimpleDxf::SimpleDxf& dxf, const std::string& text)
{
	return dxf.LoadSceneFromMemory(reinterpret_cast<const unsigned char*>(text.data()), text.size());
}

// The entity as its class; fails the test when the class does not match.
template <typename T>
const T& As(const SimpleDxf::Entity& entity)
{
	const T* typed = dynamic_cast<const T*>(&entity);
	if (!typed) throw std::runtime_error("entity of another class");
	return *typed;
}

// Entities by type id, plus block and vertex counts.
inline std::map<std::string, int> Summary(const SimpleDxf::SimpleDxf& dxf)
{
	std::map<std::string, int> counts;
	if (dxf.entities)
		for (const auto& e : *dxf.entities) {
			++counts["type " + std::to_string(e->typeId)];
			if (const auto* p = dynamic_cast<const SimpleDxf::Polyline*>(e.get()))
				counts["vertices"] += static_cast<int>(p->vertices.size() + p->mVertices.size() + p->nVertices.size());
		}
	if (dxf.blocks) counts["blocks"] = static_cast<int>(dxf.blocks->size());
	return counts;
}

// A drawing with every part: header, tables, nested blocks, each entity kind.
inline std::string SmallDrawing()
{
	return "0\nSECTION\n2\nHEADER\n9\n$ACADVER\n1\nAC1015\n9\n$EXTMIN\n10\n1.5\n20\n2\n30\n0\n0\nENDSEC\n"
	       "0\nSECTION\n2\nTABLES\n0\nTABLE\n2\nLAYER\n70\n1\n0\nLAYER\n2\nA\n62\n7\n0\nENDTAB\n0\nENDSEC\n"
	       "0\nSECTION\n2\nBLOCKS\n0\nBLOCK\n2\nB\n8\nA\n0\nLINE\n10\n0\n11\n1\n0\nINSERT\n2\nC\n0\nENDBLK\n"
	       "0\nBLOCK\n2\nC\n0\nCIRCLE\n40\n2\n0\nENDBLK\n0\nENDSEC\n"
	       "0\nSECTION\n2\nENTITIES\n0\nINSERT\n2\nB\n41\n1\n"
	       "0\nPOLYLINE\n8\nA\n0\nVERTEX\n10\n1\n70\n32\n0\nVERTEX\n10\n2\n0\nSEQEND\n"
	       "0\nLWPOLYLINE\n90\n2\n38\n120\n10\n1\n20\n2\n42\n0.5\n10\n3\n20\n4\n"
	       "0\nTEXT\n1\nhei\n0\nARC\n50\n0\n51\n90\n0\nPOINT\n10\n1\n0\nLINE\n8\nA\n11\n1\n0\nENDSEC\n0\nEOF\n";
}

} // namespace dxftest

#endif
