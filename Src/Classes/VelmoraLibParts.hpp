// What the readers share about the parts of the add-on's own object library "VelmoraLib":
// their lookup and their display parameters.
#ifndef VELMORA_VELMORALIBPARTS_HPP
#define VELMORA_VELMORALIBPARTS_HPP

#include "APIdefs_LibraryParts.h"
#include "Classes/ObjectGenerationInfo.hpp"

// Zeroes part, puts name into its name and searches the loaded libraries for it. On failure
// reports "Can't find '<name>' object! The library is not loaded or the product library is
// outdated!" with an alert. Answers the search's code.
GSErrCode FindVelmoraLibPart(API_LibPart& part, const char* name);

// The display values of an import layer, as host attribute indices.
struct PartDisplay {
	Int16 pen = 1, fillPen = 1, backPen = 1, fill = 1;
};

// Adds the display parameters every VelmoraLib part has: gs_cont_pen, gs_fill_type,
// gs_fill_pen, gs_back_pen and pen3D (the pen again).
void AddDisplayParameters(ObjectGenerationInfo& record, const PartDisplay& display);

#endif
