#include "generic/Story.hpp"

#include "generic/HostApi.hpp"

namespace kivel::Story {

GSErrCode GetSettings(API_StoryInfo& info, unsigned int mask)
{
	return KIVEL_HOST_CALL(ACAPI_ProjectSetting_GetStorySettings(&info, mask), ACAPI_Environment(CommandCode("GSTO"), &info, &mask));
}

GSErrCode ChangeSettings(API_StoryCmdType& cmd)
{
	return KIVEL_HOST_CALL(ACAPI_ProjectSetting_ChangeStorySettings(&cmd), ACAPI_Environment(CommandCode("CSTO"), &cmd));
}

GSErrCode GetStoryLevel(short index, double& level)
{
	API_StoryInfo info{};
	if (const GSErrCode err = GetSettings(info, 0)) return err;
	// The handle's size bounds the list; the story numbers only claim a count.
	const Int32 claimed = static_cast<Int32>(info.lastStory) - info.firstStory + 1;
	const Int32 held = info.data != nullptr ? BMGetHandleSize(reinterpret_cast<GSConstHandle>(info.data)) / static_cast<Int32>(sizeof(API_StoryType)) : 0;
	const Int32 count = claimed < held ? claimed : held;
	const GSErrCode result = index >= 0 && index < count ? NoError : APIERR_BADINDEX;
	if (result == NoError) level = (*info.data)[index].level;
	BMKillHandle(reinterpret_cast<GSHandle*>(&info.data));
	return result;
}

} // namespace kivel::Story
