// Parameter-script runs are only recorded: the host does not interpret GDL.
#include "ACAPinc.h"
#include "vhost/Project.hpp"
#include "vhost/Text.hpp"
#include "NamedCall.hpp"
#include "vhost/Unset.hpp"

GSErrCode ACAPI_LibraryManagement_RunGDLParScript(const API_Elem_Head* head, UInt32 mask)
{
	const vhost::NamedCall named(__func__);
	if (head == nullptr) return APIERR_BADPARS;
	static const vhost::RecordField guid[] = {VHOST_FIELD(API_Elem_Head, guid)};
	if (const GSErrCode err = vhost::CheckFieldsSet("ACAPI_LibraryManagement_RunGDLParScript", head, guid)) return err;
	vhost::Current().parameterScriptRuns.emplace_back(vhost::ToUtf8(APIGuidToString(head->guid)), mask);
	return NoError;
}
