// Parameter-script runs are only recorded: the host does not interpret GDL.
#include "ACAPinc.h"
#include "vhost/Project.hpp"
#include "vhost/Text.hpp"
#include "NamedCall.hpp"

GSErrCode ACAPI_LibraryManagement_RunGDLParScript(const API_Elem_Head* head, UInt32 mask)
{
	const vhost::NamedCall named(__func__);
	if (head == nullptr) return APIERR_BADPARS;
	vhost::Current().parameterScriptRuns.emplace_back(vhost::ToUtf8(APIGuidToString(head->guid)), mask);
	return NoError;
}
