#include "Classes/ImportStep.hpp"

#include <string>

#include "ACAPinc.h"
#include "Helpers/CatchAll.hpp"

GSErrCode RunImportStep(const char* name, OnThrow onThrow, const std::function<GSErrCode()>& body)
{
	const std::string prefix = std::string(kImportReportPrefix) + name + " / ";
	bool finished = false;
	const GSErrCode result = ACAPI_CallUndoableCommand(name, [&] {
		return CatchAll(prefix.c_str(), onThrow == OnThrow::Keep ? GSErrCode(NoError) : GSErrCode(APIERR_GENERAL), [&] {
			const GSErrCode err = body();
			finished = true;
			return err;
		});
	});
	return finished || result != NoError ? result : GSErrCode(APIERR_GENERAL);
}
