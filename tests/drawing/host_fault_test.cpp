// The 2D drawing when a host call throws inside its undoable step.
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "ACAPinc.h"
#include "Classes/import_map.hpp"
#include "TestSupport.hpp"
#include "vhost/Elements.hpp"

namespace {

class DrawingHostFault : public testsupport::HostTest {};

std::string Polyline(int n)
{
	return "0\nLWPOLYLINE\n90\n3\n70\n0\n10\n0\n20\n0\n10\n" + std::to_string(n) + "\n20\n0\n10\n" + std::to_string(n) + "\n20\n1\n";
}

std::string Line(int n) { return "0\nLINE\n10\n0\n20\n0\n11\n" + std::to_string(n) + "\n21\n0\n"; }

// What was drawn before the throw stays, the step succeeds, the memo of the refused element
// is freed, and the add-on says so once; nothing crosses into the host.
TEST_F(DrawingHostFault, BadAllocFromTheHostKeepsWhatWasDrawn)
{
	const std::string path = RunRoot() + "/Alle data.dxf";
	testsupport::WriteFile(path, "0\nSECTION\n2\nENTITIES\n" + Polyline(1) + Line(2) + Polyline(3) + Line(4) + "0\nENDSEC\n0\nEOF\n");
	const int handles = vhost::LiveHandles();
	vhost::InjectBadAlloc("ACAPI_Element_Create", "PolyLine", 1);
	Importer::Place2DElements(testsupport::Loc(path), API_AttributeIndex(1));

	ASSERT_EQ(vhost::ElementsOfType(API_PolyLineID).size(), 1u);
	ASSERT_EQ(vhost::ElementsOfType(API_LineID).size(), 1u);
	EXPECT_DOUBLE_EQ(vhost::ElementsOfType(API_LineID)[0]->element.line.endC.x, 2.0);
	ASSERT_EQ(Host().undo.size(), 1u);
	EXPECT_EQ(Host().undo[0].name, "Placing VELMORA elements");
	EXPECT_EQ(Host().undo[0].result, NoError);
	EXPECT_FALSE(Host().undo[0].rolledBack);
	EXPECT_EQ(ReportTexts(), std::vector<std::string>{"Error point: VELMORA / MenuImportMap() / Placing VELMORA elements / "
	                                                  "Internal error: std::bad_alloc"});
	EXPECT_TRUE(Host().exceptions.empty()) << Host().exceptions.front();
	EXPECT_EQ(vhost::LiveHandles(), handles);
}

// A tool whose defaults the host refuses leaves the add-on's record as the add-on cleared it:
// the line is placed with zero settings on the given layer, and nothing is reported.
TEST_F(DrawingHostFault, ARefusedDefaultLeavesTheRecordZero)
{
	const std::string path = RunRoot() + "/Alle data.dxf";
	testsupport::WriteFile(path, "0\nSECTION\n2\nENTITIES\n" + Line(2) + "0\nENDSEC\n0\nEOF\n");
	vhost::InjectFault("ACAPI_Element_GetDefaults", APIERR_GENERAL, "Line", 1);
	Importer::Place2DElements(testsupport::Loc(path), API_AttributeIndex(1));

	const std::vector<const vhost::ElementRecord*> lines = vhost::ElementsOfType(API_LineID);
	ASSERT_EQ(lines.size(), 1u);
	EXPECT_EQ(lines[0]->element.line.linePen, 0);
	EXPECT_EQ(lines[0]->element.header.floorInd, 0);
	EXPECT_DOUBLE_EQ(lines[0]->element.line.endC.x, 2.0);
	EXPECT_TRUE(ReportTexts().empty()) << ReportTexts().front();
	ASSERT_EQ(Host().faults.size(), 1u);
	EXPECT_EQ(Host().faults[0].remaining, 0); // the one refusal was the line's defaults
}

} // namespace
