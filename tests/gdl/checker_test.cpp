// The GDL checker itself: each kind of fault it must find, and a small good body it passes.
#include <string>

#include <gtest/gtest.h>

#include "GdlChecker.hpp"

namespace {

const std::string kGoodBody =
    "base\nVERT 0,0,0\nVERT 1,0,0\nVERT 0,1,0\nVECT 0,0,1\nEDGE 1,2,1,0,0\nEDGE 2,3,1,0,0\nEDGE 1,3,1,0,0\n"
    "PGON 3,1,0,1,2,-3\nBODY -1\n";

TEST(GdlChecker, PassesAGoodBody)
{
	const gdlcheck::Result r = gdlcheck::Check("if a then\n\tb = 1 ! note\nelse\nendif\n" + kGoodBody);
	EXPECT_TRUE(r.problems.empty()) << gdlcheck::Describe(r);
	ASSERT_EQ(r.bodies.size(), 1u);
	EXPECT_EQ(r.bodies[0].polygons[0], (std::array<int, 3>{0, 1, 2}));
}

TEST(GdlChecker, FindsEachFault)
{
	struct Case {
		const char* what;
		std::string text;
		const char* problem; // part of the expected message
	};
	auto body = [](const std::string& from, const std::string& to) {
		std::string t = kGoodBody;
		t.replace(t.find(from), from.size(), to);
		return t;
	};
	const Case cases[] = {
	    {"open if", "if a then\nb = 1\n", "unclosed if"},
	    {"stray endif", "endif\n", "unmatched end of if"},
	    {"for closed by endif", "for i = 1 to 2\nendif\n", "unmatched end of if"},
	    {"NaN", "A = nan\n", "not a number"},
	    {"inf", "VERT -inf,0,0\n", "not a number"},
	    {"two dots", "A = 1.2.3\n", "malformed number"},
	    {"no row end", "A = 1", "no end"},
	    {"edge vertex", body("EDGE 2,3,1,0,0", "EDGE 2,4,1,0,0"), "edge vertices"},
	    {"edge status", body("EDGE 2,3,1,0,0", "EDGE 2,3,1,0,1"), "edge status"},
	    {"edge face", body("EDGE 2,3,1,0,0", "EDGE 2,3,2,0,0"), "does not name polygon"},
	    {"open loop", body("PGON 3,1,0,1,2,-3", "PGON 3,1,0,1,-2,-3"), "does not close"},
	    {"edge number", body("PGON 3,1,0,1,2,-3", "PGON 3,1,0,1,2,4"), "out of range"},
	    {"zero edge", body("PGON 3,1,0,1,2,-3", "PGON 3,1,0,1,2,0"), "out of range"},
	    {"normal", body("PGON 3,1,0,1,2,-3", "PGON 3,2,0,1,2,-3"), "normal out of range"},
	    {"no BODY", "base\nVERT 0,0,0\n", "base without BODY"},
	    {"texture", "\t\tIND(TEXTURE, \"x0\")\n", "undefined"},
	    {"material", "\tDEFINE MATERIAL \"a0\" 20,\n\tuMat[1] = ind(MATERIAL, \"b0\")\n", "undefined"},
	    {"slot", "\tuMat[1] = mat_1\nmaterial uMat[2]\n", "not set in both branches"},
	    {"slot parameter", "\tuMat[1] = mat_2\n", "another material parameter"},
	    {"slab status", "SLAB_ 3, -0.1, 0,0,0,15, 1,0,0,12, 0,1,0,10\n", "slab point status"},
	    {"slab points", "SLAB_ 3, -0.1, 0,0,0,15, 1,0,0,15\n", "without 3 points"},
	};
	for (const Case& c : cases) {
		const gdlcheck::Result r = gdlcheck::Check(c.text);
		EXPECT_NE(gdlcheck::Describe(r).find(c.problem), std::string::npos) << c.what << ":\n" << gdlcheck::Describe(r);
	}
}

} // namespace
