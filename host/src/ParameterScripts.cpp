// Parameter-script runs are only recorded: the host does not interpret GDL.
#include "ACAPinc.h"
#include "vhost/Project.hpp"

GSErrCode ACAPI_LibraryManagement_RunGDLParScript(const API_Elem_Head* head, UInt32 mask)
{
	if (head == nullptr) return APIERR_BADPARS;
	vhost::Current().parameterScriptRuns.emplace_back(APIGuidToString(head->guid).ToUtf8(), mask);
	return NoError;
}
