// Ortho photo file names: "<base>_SCALE_<scale>_X<width>MM_Y<height>MM.jpg", the ground size
// in millimetres; letters compared in upper case.
#ifndef VELMORA_ORTHOPHOTO_HPP
#define VELMORA_ORTHOPHOTO_HPP

#include "UniString.hpp"

struct OrthoName {
	GS::UniString base;       // the upper-cased name up to "_SCALE_", or all of it
	bool hasScale = false;
	GS::UniString widthText;  // the millimetres after "_X" up to "MM"; "0" when missing
	GS::UniString heightText; // the same for "_Y"
};

// Splits an image's file name. The size markers count only at or after "_SCALE_".
OrthoName ParseOrthoName(const GS::UniString& fileName);

// metres = the decimal number at the start of the millimetre text / 1000. False when there
// is none, or it is not finite and above 0.
bool OrthoSizeMetres(const GS::UniString& millimetres, double& metres);

#endif
