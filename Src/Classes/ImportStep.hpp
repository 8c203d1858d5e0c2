// The import's undoable steps, with what each does when something inside it throws.
#ifndef VELMORA_IMPORTSTEP_HPP
#define VELMORA_IMPORTSTEP_HPP

#include <functional>

#include "APIdefs_Base.h"

// What the import command's reports begin with.
constexpr const char* kImportReportPrefix = "Error point: VELMORA / MenuImportMap() / ";

// What a step does with what it made when something in it throws.
enum class OnThrow {
	Keep,     // the step succeeds: what it made before stays
	RollBack, // the step fails: the host undoes it
};

// Runs body as the host's undoable step `name` and answers the step's result. Anything body
// throws is reported once ("Error point: VELMORA / MenuImportMap() / <name> / Internal error:
// <what>") and the answer is APIERR_GENERAL; the host is told 0 for a Keep step (so what it
// made stays) and APIERR_GENERAL for a RollBack step.
GSErrCode RunImportStep(const char* name, OnThrow onThrow, const std::function<GSErrCode()>& body);

#endif
