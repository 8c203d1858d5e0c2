// Generates one GDL object library part from one 3DS model file, in the generated-parts
// folder of the project's embedded library: 3D script from the model's meshes, parameters,
// 2D, master and parameter scripts.
#ifndef VELMORA_GDL_GDLCREATOR_HPP
#define VELMORA_GDL_GDLCREATOR_HPP

#include <string>

#include "ACAPinc.h"

class CGDLCreator {
public:
	// The five display values are host attribute indices: contour pen, fill pen, background
	// pen, fill type and material. With `flat`, mesh parts that are not closed solids become
	// slabs of `slabThickness` metres (one per triangle).
	CGDLCreator(const IO::Location& source, short contourPen, short fillPen, short backgroundPen, short fillType,
	            short material, bool flat, double slabThickness);

	// Makes the part named by io's document name (at most 255 units) with box (metres:
	// minimum x, y, z, maximum x, y, z) as its extent, replacing a part of that name. The model
	// is read and every section built before the host starts the part, so a failure before
	// that leaves an existing part as it was. On success io receives the saved part's record
	// (its location cleared) and the answer is 0. Otherwise nothing is saved and io is
	// unchanged: 2 with "Error in finding GSM location" or "Error creating libpart" reported,
	// APIERR_BADNAME unreported when the host refuses to start a part of that name (the
	// caller knows what the name is made of), APIERR_BADPARS (reported, naming the part) for
	// a missing record or a box with a negative or non-finite size, the mesh reader's error
	// (it reports), or the error of the first host call that failed.
	GSErrCode CreateLibpart(API_LibPart* io, API_Box3D* box);

private:
	struct Sections;

	GSErrCode Create3D(std::string& text, int& materialCount) const;
	GSErrCode CreateParameters(const API_LibPart& part, int materialCount, int textCount, const API_Box3D& box,
	                           GSHandle& section) const;
	GSErrCode BuildSections(const API_LibPart& part, const API_Box3D& box, Sections& out) const;

	static void AddParameter(API_AddParType& record, API_AddParID type, UInt32 flags, const char* name,
	                         const char* description, double value, const char* stringValue);
	static void AddParameterArray(API_AddParType& record, API_AddParID type, UInt32 flags, const char* name,
	                              const char* description, Int32 dim1, Int32 dim2, GSHandle values);

	IO::Location source;
	bool flat;
	double slabThickness;
	short contourPen;
	short fillPen;
	short backgroundPen;
	short fillType;
	short material;
};

#endif
