// Stories, tool box, special folders and the environment settings the host does not model.
#include <cstring>
#include <filesystem>

#include "ACAPinc.h"
#include "vhost/Project.hpp"
#include "vhost/Text.hpp"
#include "NamedCall.hpp"
#include "vhost/Unset.hpp"

GSErrCode ACAPI_ProjectSetting_GetStorySettings(API_StoryInfo* storyInfo, UInt32 /*mask*/)
{
	const vhost::NamedCall named(__func__);
	if (storyInfo == nullptr) return APIERR_BADPARS;
	const vhost::Project& p = vhost::Current();
	if (p.stories.empty()) return APIERR_GENERAL;
	const Int32 bytes = static_cast<Int32>(p.stories.size() * sizeof(API_StoryType));
	GSHandle h = BMAllocateHandle(bytes, ALLOCATE_CLEAR, 0);
	if (h == nullptr) return APIERR_MEMFULL;
	API_StoryType* records = reinterpret_cast<API_StoryType*>(*h);
	for (std::size_t i = 0; i < p.stories.size(); ++i) {
		records[i].index = p.stories[i].index;
		records[i].level = p.stories[i].level;
	}
	*storyInfo = API_StoryInfo();
	storyInfo->firstStory = p.stories.front().index;
	storyInfo->lastStory = p.stories.back().index;
	storyInfo->actStory = p.actStory;
	storyInfo->data = reinterpret_cast<API_StoryType**>(h);
	return NoError;
}

GSErrCode ACAPI_ProjectSetting_ChangeStorySettings(API_StoryCmdType*) { return vhost::NotModelled(__func__); }
GSErrCode ACAPI_ProjectSetting_GetOffset(API_Coord*) { return vhost::NotModelled(__func__); }

GSErrCode ACAPI_Toolbox_GetToolBoxMode(API_ToolBoxItem* toolBoxItem)
{
	const vhost::NamedCall named(__func__);
	if (toolBoxItem == nullptr) return APIERR_BADPARS;
	*toolBoxItem = API_ToolBoxItem();
	const vhost::Project& p = vhost::Current();
	if (p.toolBoxModes.empty()) return NoError;
	const vhost::ToolBoxMode& last = p.toolBoxModes.back();
	toolBoxItem->type.typeID = static_cast<API_ElemTypeID>(last.typeID);
	toolBoxItem->type.variationID = static_cast<API_ElemVariationID>(last.variationID);
	toolBoxItem->type.classID = APIGuidFromString(last.classID.c_str());
	return NoError;
}

GSErrCode ACAPI_Toolbox_SetToolBoxMode(API_ToolBoxItem* toolBoxItem)
{
	const vhost::NamedCall named(__func__);
	if (toolBoxItem == nullptr) return APIERR_BADPARS;
	static const vhost::RecordField kept[] = {VHOST_FIELD(API_ToolBoxItem, type.typeID), VHOST_FIELD(API_ToolBoxItem, type.variationID),
		VHOST_FIELD(API_ToolBoxItem, type.classID)};
	if (const GSErrCode err = vhost::CheckFieldsSet("ACAPI_Toolbox_SetToolBoxMode", toolBoxItem, kept)) return err;
	vhost::Current().toolBoxModes.push_back({toolBoxItem->type.typeID, toolBoxItem->type.variationID,
		vhost::ToUtf8(APIGuidToString(toolBoxItem->type.classID))});
	return NoError;
}

GSErrCode ACAPI_ProjectSettings_GetSpecFolder(API_SpecFolderID* specID, IO::Location* location)
{
	const vhost::NamedCall named(__func__);
	if (specID == nullptr || location == nullptr) return APIERR_BADPARS;
	std::string folder;
	switch (*specID) {
		case API_TemporaryFolderID: folder = vhost::TempFolder(); break;
		case API_UserDocumentsFolderID: folder = vhost::DocumentsFolder(); break;
		case API_UserLibraryFolderID: folder = vhost::UserLibraryFolder(); break;
		case API_EmbeddedProjectLibraryFolderID: folder = vhost::EmbeddedLibraryFolder(); break;
		default: return APIERR_BADID;
	}
	if (folder.empty()) return APIERR_GENERAL;
	*location = IO::Location(folder.c_str());
	return NoError;
}

GSErrCode ACAPI_View_Get3DWindowSets(API_3DWindowInfo*) { return vhost::NotModelled(__func__); }
GSErrCode ACAPI_View_Change3DWindowSets(API_3DWindowInfo*) { return vhost::NotModelled(__func__); }
GSErrCode ACAPI_View_Get3DStyle(API_3DStyle*) { return vhost::NotModelled(__func__); }
GSErrCode ACAPI_View_Change3DStyle(API_3DStyle*) { return vhost::NotModelled(__func__); }
GSErrCode ACAPI_View_Get3DProjectionSets(API_3DProjectionInfo*) { return vhost::NotModelled(__func__); }
GSErrCode ACAPI_View_Change3DProjectionSets(API_3DProjectionInfo*, void*) { return vhost::NotModelled(__func__); }
GSErrCode ACAPI_Rendering_GetRenderingSets(void*, API_RendSetTypeID, const GS::UniString*) { return vhost::NotModelled(__func__); }
GSErrCode ACAPI_Rendering_ChangeRenderingSets(void*, API_RendSetTypeID) { return vhost::NotModelled(__func__); }
GSErrCode ACAPI_Navigator_GetStructureDisplay(API_UIStructureDisplay*) { return vhost::NotModelled(__func__); }
GSErrCode ACAPI_Navigator_ChangeStructureDisplay(API_UIStructureDisplay*) { return vhost::NotModelled(__func__); }
GSErrCode ACAPI_Preferences_Platform(Int32*, Int32*, GSPtr, UInt16*) { return vhost::NotModelled(__func__); }

namespace IO {

GSErrCode Init(bool /*multiThreaded*/, const GS::UniString& /*logFile*/, Int32 /*logLevel*/) { return Init(); }

} // namespace IO
