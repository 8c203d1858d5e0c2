// Story settings of the open project.
#ifndef KIVEL_STORY_HPP
#define KIVEL_STORY_HPP

#include "ACAPinc.h"

namespace kivel::Story {

// Fills info (and a new story handle the caller frees) from the host; the host's error code.
GSErrCode GetSettings(API_StoryInfo& info, unsigned int mask);
// Passes the story command to the host; the host's error code.
GSErrCode ChangeSettings(API_StoryCmdType& cmd);
// The level of the story at position index of the story list, counted from the lowest
// (position 0), whatever story number it has. On any error level is not touched: the host's
// code, or APIERR_BADINDEX for a position outside the list. The story handle is always freed.
GSErrCode GetStoryLevel(short index, double& level);

} // namespace kivel::Story

#endif
