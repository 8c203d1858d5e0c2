// The surroundings model of a map project: another add-on of the host, which imports
// SketchUp models, loads the file ('LOAD'); the object it makes then gets the import's pen
// and layer.
#ifndef VELMORA_SKPIMPORTER_HPP
#define VELMORA_SKPIMPORTER_HPP

#include "ACAPinc.h"
#include "Classes/import_folder_scan.hpp"

class SkpImporter {
public:
	// The SketchUp import add-on and its command.
	static constexpr UInt32 kDeveloperID = 0x47732F64;
	static constexpr UInt32 kLocalID = 0xB27B9755;
	static constexpr UInt32 kLoadCommand = 0x4C4F4144; // 'LOAD'
	static constexpr Int32 kLoadVersion = 1;

	explicit SkpImporter(const IO::Location& file) : location(file) {}

	// Asks the SketchUp import add-on to load the file with the parameters "path" (the
	// file's display text in the host's default code), "originalFileName"
	// ("SurroundingArea") and "LibIndex" (read back into GetResultLibIndex). Answers the
	// first failing step's code (the parameter list is freed on every path), else 0.
	GSErrCode Import();
	Int32 GetResultLibIndex() const { return resultLibIndex; }

	// Gives the element the pen and the layer in one undoable step "Change Surrounding
	// elements". A null identity answers APIERR_BADID; one that names no element the code
	// of reading it; nothing is changed then.
	GSErrCode SetAttributes(API_Guid element, short pen, const API_AttributeIndex& layer);

private:
	IO::Location location;
	Int32 resultLibIndex = 0;
	bool silent = true;
};

// The surroundings import of one import object (kind 101) in the import run: shows the
// add-on's message (string list 132, 133 for a Norwegian host), imports the object's file
// and gives the first object element that appeared the object's pen and layer. A failed
// import or change is reported with its code; answers the first failing code, else 0.
GSErrCode ImportSurroundingModel(const import_object& object);

#endif
