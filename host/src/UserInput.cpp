// Point and line input, answered by the script's "point" and "line" steps ("cancel" cancels).
// The rubber-line feedback is called once, at the answered position, as the cursor would.
#include <cstdlib>

#include "ACAPinc.h"
#include "DialogsInternal.hpp"
#include "vhost/Project.hpp"
#include "vhost/Text.hpp"
#include "NamedCall.hpp"
#include "vhost/Unset.hpp"

namespace {

using namespace vhost;

bool ToDouble(const std::string& text, double& out)
{
	char* end = nullptr;
	out = vhost::ReadNumber(text.c_str(), &end);
	return !text.empty() && *end == 0;
}

// The position of the next step of that verb; APIERR_CANCEL when cancelled or off script.
GSErrCode AnsweredPosition(const char* verb, const GS::UniString& prompt, API_Coord3D& pos)
{
	const ScriptStep* s = dialogs::Answer({verb, "cancel"}, std::string(verb) + " input \"" + vhost::ToUtf8(prompt) + "\"");
	if (s == nullptr || s->verb == "cancel") return APIERR_CANCEL;
	API_Coord3D p;
	BNZeroMemory(&p, sizeof p);
	if (!ToDouble(s->args[0], p.x) || !ToDouble(s->args[1], p.y) || (s->args.size() > 2 && !ToDouble(s->args[2], p.z))) {
		dialogs::BreakScript(s, "not a position");
		return APIERR_CANCEL;
	}
	pos = p;
	return NoError;
}

void Feedback(RubberLineInfoProc* proc, const API_Coord3D& at)
{
	if (proc == nullptr) return;
	API_RubberLineInfo info;
	BNZeroMemory(&info, sizeof info);
	info.actCoord = at;
	// A callback that throws is recorded as an exception crossing into the host.
	Guarded("rubber-line callback", [&] {
		proc(&info);
		return GSErrCode(NoError);
	});
}

} // namespace

GSErrCode ACAPI_UserInput_GetPoint(API_GetPointType* pointInfo, RubberLineInfoProc* rubberLineInfoProc, Get3DComponentProc*)
{
	const vhost::NamedCall named(__func__);
	if (pointInfo == nullptr) return APIERR_BADPARS;
	if (const GSErrCode err = AnsweredPosition("point", pointInfo->prompt, pointInfo->pos)) return err;
	Feedback(rubberLineInfoProc, pointInfo->pos);
	return NoError;
}

GSErrCode ACAPI_UserInput_GetLine(API_GetLineType* lineInfo, RubberLineInfoProc* rubberLineInfoProc)
{
	const vhost::NamedCall named(__func__);
	if (lineInfo == nullptr) return APIERR_BADPARS;
	if (const GSErrCode err = AnsweredPosition("line", lineInfo->prompt, lineInfo->pos)) return err;
	Feedback(rubberLineInfoProc, lineInfo->pos);
	return NoError;
}

GSErrCode ACAPI_UserInput_DrawRubberLine(API_RubberLineType* line)
{
	const vhost::NamedCall named(__func__);
	if (line == nullptr) return APIERR_BADPARS;
	if (const GSErrCode f = vhost::FaultFor("ACAPI_UserInput_DrawRubberLine")) return f;
	static const RecordField ends[] = {VHOST_FIELD(API_RubberLineType, c1.x), VHOST_FIELD(API_RubberLineType, c1.y),
		VHOST_FIELD(API_RubberLineType, c1.z), VHOST_FIELD(API_RubberLineType, c2.x), VHOST_FIELD(API_RubberLineType, c2.y),
		VHOST_FIELD(API_RubberLineType, c2.z)};
	if (const GSErrCode err = CheckFieldsSet("ACAPI_UserInput_DrawRubberLine", line, ends)) return err;
	vhost::Current().rubberLines.emplace_back(line->c1, line->c2);
	return NoError;
}
