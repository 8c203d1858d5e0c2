#include "Classes/OrthoPhoto.hpp"

#include "Classes/OriginFile.hpp"

namespace {

// The text between the first marker at or after from and the first "MM" after it; "0" when
// either is missing.
GS::UniString Between(const GS::UniString& name, const char* marker, USize from)
{
	const USize at = name.FindFirst(GS::UniString(marker), from);
	if (at == GS::UniString::MaxLength) return GS::UniString("0");
	const USize start = at + 2;
	const USize mm = name.FindFirst(GS::UniString("MM"), start);
	if (mm == GS::UniString::MaxLength) return GS::UniString("0");
	return name.GetSubstring(start, mm - start);
}

} // namespace

OrthoName ParseOrthoName(const GS::UniString& fileName)
{
	OrthoName parsed;
	const GS::UniString upper = fileName.ToUpperCase();
	const USize scale = upper.FindFirst(GS::UniString("_SCALE_"));
	parsed.hasScale = scale != GS::UniString::MaxLength;
	parsed.base = parsed.hasScale ? upper.GetPrefix(scale) : upper;
	parsed.widthText = parsed.hasScale ? Between(upper, "_X", scale) : GS::UniString("0");
	parsed.heightText = parsed.hasScale ? Between(upper, "_Y", scale) : GS::UniString("0");
	return parsed;
}

bool OrthoSizeMetres(const GS::UniString& millimetres, double& metres)
{
	double value = 0.0;
	if (!ParseFileNumber(millimetres.ToCStr(GS::CC_UTF8).Get(), value) || !(value > 0.0)) return false;
	metres = value / 1000.0;
	return true;
}
