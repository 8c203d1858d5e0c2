// Every wrapper of the adaptation and library layers, with the one call it must make: on hosts
// 27 to 29 a named entry point, on host 26 a dispatcher and its four-character code or an older
// named entry point, and nothing else. The expected names and codes are the published ones,
// written out here so that a name or code mistyped in the wrappers and in the stand-in alike
// cannot pass.
#include <functional>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "TestSupport.hpp"
#include "generic/Communication.hpp"
#include "generic/Environment.hpp"
#include "generic/GenericHelpers.hpp"
#include "generic/Interface.hpp"
#include "generic/LibraryManager.hpp"
#include "generic/LibraryPart.hpp"
#include "generic/Story.hpp"
#include "vhost/Project.hpp"

namespace {

class DispatcherCodes : public testsupport::HostTest {};

// A cleared record of the type, as a caller hands it.
template <typename T>
T Cleared()
{
	T record;
	BNZeroMemory(&record, sizeof record);
	return record;
}

TEST_F(DispatcherCodes, EachWrapperSendsItsOwnCommand)
{
	API_StoryInfo story = Cleared<API_StoryInfo>();
	API_StoryCmdType storyCmd = Cleared<API_StoryCmdType>();
	API_ToolBoxItem tool = Cleared<API_ToolBoxItem>();
	API_SpecFolderID folderId = API_UserLibraryFolderID;
	IO::Location location;
	API_3DWindowInfo window = Cleared<API_3DWindowInfo>();
	API_3DStyle style {};
	API_3DProjectionInfo projection = Cleared<API_3DProjectionInfo>();
	API_UIStructureDisplay display = Cleared<API_UIStructureDisplay>();
	API_ServerApplicationInfo application {};
	API_ObjectSettingsPars settings = Cleared<API_ObjectSettingsPars>();
	API_GetPointType point {};
	API_GetLineType line {};
	API_GetArcType arc {};
	API_GetPolyType poly {};
	API_RubberLineType rubberLine = Cleared<API_RubberLineType>();
	API_RubberArcType rubberArc = Cleared<API_RubberArcType>();
	API_MenuItemRef menuItem = Cleared<API_MenuItemRef>();
	char menuText[256] = {};
	unsigned int flags = 0;
	API_NeigFilter filter = {};
	API_UCCallbackType control = Cleared<API_UCCallbackType>();
	API_MDCLParameter par = Cleared<API_MDCLParameter>();
	API_Coord offset = Cleared<API_Coord>();
	API_ElementMemo memo = Cleared<API_ElementMemo>();
	API_Coord** triangles = nullptr;
	API_Elem_Head head = Cleared<API_Elem_Head>();
	API_ElemSearchPars search = Cleared<API_ElemSearchPars>();
	API_Guid found = Cleared<API_Guid>();
	API_ParamOwnerType owner = Cleared<API_ParamOwnerType>();
	API_ElemInfo3D info3D = Cleared<API_ElemInfo3D>();
	API_RGBColor rgb = Cleared<API_RGBColor>();
	API_LibPart part = Cleared<API_LibPart>();
	GS::Array<API_LibraryInfo> libraries;
	GSHandle params = nullptr;
	int count = 0, embedded = 0, version = 0, bytes = 0;
	unsigned short platform = 0;
	double level = 0.0;
	void* sight = nullptr;
	char unID[128] = {};
	const API_ModulID module = {1, 2};

	struct Case {
		const char* wrapper;
		const char* host29; // the named entry point of hosts 27 to 29
		const char* host26; // "Dispatcher CODE", or a named entry point ("ACAPI_...")
		std::function<void()> call;
	};
	const Case cases[] = {
		// Story
		{"Story::GetSettings", "ACAPI_ProjectSetting_GetStorySettings", "Environment GSTO", [&] { kivel::Story::GetSettings(story, 0); }},
		{"Story::ChangeSettings", "ACAPI_ProjectSetting_ChangeStorySettings", "Environment CSTO",
		 [&] { kivel::Story::ChangeSettings(storyCmd); }},
		{"Story::GetStoryLevel", "ACAPI_ProjectSetting_GetStorySettings", "Environment GSTO",
		 [&] { kivel::Story::GetStoryLevel(0, level); }},
		// Environment
		{"GetToolBoxMode", "ACAPI_Toolbox_GetToolBoxMode", "Environment GTBX", [&] { kivel::Environment::GetToolBoxMode(tool); }},
		{"SetToolBoxMode(item)", "ACAPI_Toolbox_SetToolBoxMode", "Environment STBX", [&] { kivel::Environment::SetToolBoxMode(tool); }},
		{"SetToolBoxMode(type)", "ACAPI_Toolbox_SetToolBoxMode", "Environment STBX",
		 [&] { kivel::Environment::SetToolBoxMode(API_MeshID); }},
		{"GetSpecialFolder", "ACAPI_ProjectSettings_GetSpecFolder", "Environment GSPF",
		 [&] { kivel::Environment::GetSpecialFolder(&folderId, &location); }},
		{"Get3DWindowSets", "ACAPI_View_Get3DWindowSets", "Environment GW3D", [&] { kivel::Environment::Get3DWindowSets(&window); }},
		{"Change3DWindowSets", "ACAPI_View_Change3DWindowSets", "Environment CW3D",
		 [&] { kivel::Environment::Change3DWindowSets(&window); }},
		{"Get3DStyle", "ACAPI_View_Get3DStyle", "Environment GD3S", [&] { kivel::Environment::Get3DStyle(&style); }},
		{"Change3DStyle", "ACAPI_View_Change3DStyle", "Environment CD3S", [&] { kivel::Environment::Change3DStyle(&style); }},
		{"Get3DProjectionSets", "ACAPI_View_Get3DProjectionSets", "Environment GP3D",
		 [&] { kivel::Environment::Get3DProjectionSets(&projection); }},
		{"Change3DProjectionSets", "ACAPI_View_Change3DProjectionSets", "Environment CP3D",
		 [&] { kivel::Environment::Change3DProjectionSets(&projection); }},
		{"GetRenderingSets", "ACAPI_Rendering_GetRenderingSets", "Environment GREN",
		 [&] { kivel::Environment::GetRenderingSets(&display, API_RendSet_Basic, nullptr); }},
		{"ChangeRenderingSets", "ACAPI_Rendering_ChangeRenderingSets", "Environment CREN",
		 [&] { kivel::Environment::ChangeRenderingSets(&display, API_RendSet_Basic); }},
		{"GetStructureDisplay", "ACAPI_Navigator_GetStructureDisplay", "Environment GSTD",
		 [&] { kivel::Environment::GetStructureDisplay(&display); }},
		{"ChangeStructureDisplay", "ACAPI_Navigator_ChangeStructureDisplay", "Environment CSTD",
		 [&] { kivel::Environment::ChangeStructureDisplay(&display); }},
		{"GetServerApplicationInfo", "ACAPI_AddOnIdentification_Application", "Environment APPL",
		 [&] { kivel::Environment::GetServerApplicationInfo(application); }},
		{"GetPreferencesPlatform", "ACAPI_Preferences_Platform", "ACAPI_GetPreferences_Platform",
		 [&] { kivel::Environment::GetPreferencesPlatform(&version, &bytes, nullptr, &platform); }},
		// Interface
		{"ShowObjectSettings(pars)", "ACAPI_Dialog_ObjectSettings", "Interface OBJS",
		 [&] { kivel::Interface::ShowObjectSettings(&settings); }},
		{"ShowObjectSettings(type, sub)", "ACAPI_Dialog_ObjectSettings", "Interface OBJS",
		 [&] { kivel::Interface::ShowObjectSettings(API_ObjectID, "sub"); }},
		{"ShowObjectSettings(pars, type)", "ACAPI_Dialog_ObjectSettings", "Interface OBJS",
		 [&] { kivel::Interface::ShowObjectSettings(settings, API_ObjectID); }},
		{"ShowObjectSettings(pars, type, sub)", "ACAPI_Dialog_ObjectSettings", "Interface OBJS",
		 [&] { kivel::Interface::ShowObjectSettings(settings, API_ObjectID, "sub"); }},
		{"SettingsDialog", "ACAPI_Dialog_SettingsDialog", "Interface SETD", [&] { kivel::Interface::SettingsDialog(&tool, &found); }},
		{"ClearElementHighlight", "ACAPI_UserInput_ClearElementHighlight", "ACAPI_Interface_ClearElementHighlight",
		 [&] { kivel::Interface::ClearElementHighlight(); }},
		{"GetPoint", "ACAPI_UserInput_GetPoint", "Interface IPOI", [&] { kivel::Interface::GetPoint(point, nullptr, nullptr); }},
		{"GetLine", "ACAPI_UserInput_GetLine", "Interface ILIN", [&] { kivel::Interface::GetLine(line, nullptr); }},
		{"GetArc", "ACAPI_UserInput_GetArc", "Interface IARC", [&] { kivel::Interface::GetArc(arc, nullptr); }},
		{"GetPoly", "ACAPI_UserInput_GetPoly", "Interface IPOL", [&] { kivel::Interface::GetPoly(poly, nullptr); }},
		{"CancelUserInput", "ACAPI_UserInput_CancelUserInput", "Interface INCA", [&] { kivel::Interface::CancelUserInput(); }},
		{"CompleteUserInput", "ACAPI_UserInput_CompleteUserInput", "Interface INOK", [&] { kivel::Interface::CompleteUserInput(); }},
		{"DrawRubberLine", "ACAPI_UserInput_DrawRubberLine", "Interface DRLI", [&] { kivel::Interface::DrawRubberLine(&rubberLine); }},
		{"DrawRubberArc", "ACAPI_UserInput_DrawRubberArc", "Interface DRAR", [&] { kivel::Interface::DrawRubberArc(&rubberArc); }},
		{"RegisterMenu", "ACAPI_MenuItem_RegisterMenu", "ACAPI_Register_Menu",
		 [&] { kivel::Interface::RegisterMenu(32500, 32520, MenuCode_UserDef, 0); }},
		{"GetMenuItemText", "ACAPI_MenuItem_GetMenuItemText", "Interface GMIT",
		 [&] { kivel::Interface::GetMenuItemText(&menuItem, menuText, nullptr); }},
		{"SetMenuItemText", "ACAPI_MenuItem_SetMenuItemText", "Interface SMIT",
		 [&] { kivel::Interface::SetMenuItemText(&menuItem, menuText, nullptr); }},
		{"AddMenuItemText", "ACAPI_MenuItem_AddMenuItemText", "Interface AMIT",
		 [&] { kivel::Interface::AddMenuItemText(&menuItem, menuText, nullptr); }},
		{"GetMenuItemFlags", "ACAPI_MenuItem_GetMenuItemFlags", "Interface GMIF",
		 [&] { kivel::Interface::GetMenuItemFlags(&menuItem, &flags, nullptr); }},
		{"SetMenuItemFlags", "ACAPI_MenuItem_SetMenuItemFlags", "Interface SMIF",
		 [&] { kivel::Interface::SetMenuItemFlags(&menuItem, &flags, nullptr); }},
		{"InitNeigFilter", "ACAPI_UserInput_InitNeigFilter", "Interface INFI",
		 [&] { kivel::Interface::InitNeigFilter(&filter, APIInitNeigFilter_Empty); }},
		{"SetNeigFilter", "ACAPI_UserInput_SetNeigFilter", "Interface SNFI",
		 [&] { kivel::Interface::SetNeigFilter(&filter, APINeig_Mesh); }},
		{"SetUserControlCallback", "ACAPI_Dialog_SetUserControlCallback", "Interface SUCC",
		 [&] { kivel::Interface::SetUserControlCallback(&control); }},
		// Communication
		{"InterAddonCommunicationTest", "ACAPI_AddOnAddOnCommunication_Test", "ACAPI_Command_Test",
		 [&] { kivel::Communication::InterAddonCommunicationTest(&module, 1, 1); }},
		{"RegisterSupportedService", "ACAPI_AddOnAddOnCommunication_RegisterSupportedService", "ACAPI_Register_SupportedService",
		 [&] { kivel::Communication::RegisterSupportedService(1, 1); }},
		{"InitMDCLParameterList", "ACAPI_AddOnAddOnCommunication_InitMDCLParameterList", "Goodies ICLP",
		 [&] { kivel::Communication::InitMDCLParameterList(&params); }},
		{"GetMDCLParameterNumber", "ACAPI_AddOnAddOnCommunication_GetMDCLParameterNum", "Goodies NCLP",
		 [&] { kivel::Communication::GetMDCLParameterNumber(params, count); }},
		{"AddMDCLParameter", "ACAPI_AddOnAddOnCommunication_AddMDCLParameter", "Goodies ACLP", [&] {
			 par.name = "n";
			 par.type = MDCLPar_int;
			 kivel::Communication::AddMDCLParameter(params, par);
		 }},
		{"GetMDCLParameter", "ACAPI_AddOnAddOnCommunication_GetMDCLParameter", "Goodies GCLP",
		 [&] { kivel::Communication::GetMDCLParameter(params, par); }},
		{"ChangeMDCLParameter", "ACAPI_AddOnAddOnCommunication_ChangeMDCLParameter", "Goodies CCLP",
		 [&] { kivel::Communication::ChangeMDCLParameter(params, par); }},
		{"FreeMDCLParameterList", "ACAPI_AddOnAddOnCommunication_FreeMDCLParameterList", "Goodies FCLP",
		 [&] { kivel::Communication::FreeMDCLParameterList(&params); }},
		// Element types, 3D, attributes, drawing
		{"Get3DInfo", "ACAPI_ModelAccess_Get3DInfo", "ACAPI_Element_Get3DInfo", [&] { kivel::Get3DInfo(head, info3D); }},
		{"Get3DOffset", "ACAPI_ProjectSetting_GetOffset", "Database GOFS", [&] { kivel::Get3DOffset(offset); }},
		{"CreateSight", "ACAPI_Sight_CreateSight", "ACAPI_3D_CreateSight", [&] { kivel::CreateSight(&sight); }},
		{"Switch3DSight", "ACAPI_Sight_Switch3DSight", "Database S3DS", [&] { kivel::Switch3DSight(APISight_3DModelID); }},
		{"GetPenRGB", "ACAPI_Attribute_GetPen", "ACAPI_Attribute_Get", [&] { kivel::GetPenRGB(1, &rgb); }},
		{"TriangulatePoly", "ACAPI_Polygon_TriangulatePoly", "Goodies TRIP", [&] { kivel::TriangulatePoly(&memo, &triangles); }},
		{"BringToFront", "ACAPI_Grouping_Tool", "ACAPI_Element_Tool", [&] { kivel::BringToFront({}); }},
		{"RunParameterScript", "ACAPI_LibraryManagement_RunGDLParScript", "Goodies RPAS", [&] { kivel::RunParameterScript(head, 0); }},
		{"SearchElementByCoord", "ACAPI_Element_SearchElementByCoord", "Goodies SELM", [&] { kivel::SearchElementByCoord(search, found); }},
		// Libraries and library parts
		{"GetLibraries", "ACAPI_LibraryManagement_GetLibraries", "Environment GLIB",
		 [&] { kivel::LibraryManager::GetLibraries(libraries); }},
		{"GetLibraries(embedded)", "ACAPI_LibraryManagement_GetLibraries", "Environment GLIB",
		 [&] { kivel::LibraryManager::GetLibraries(libraries, embedded); }},
		{"SetLibraries", "ACAPI_LibraryManagement_SetLibraries", "Environment SLIB",
		 [&] { kivel::LibraryManager::SetLibraries(libraries); }},
		{"AddLibrary", "ACAPI_LibraryManagement_AddLibraries", "Environment ALIB", [&] { kivel::LibraryManager::AddLibrary(location); }},
		{"OpenParameters", "ACAPI_LibraryPart_OpenParameters", "Goodies OPAR", [&] { kivel::LibraryPart::OpenParameters(&owner); }},
		{"GetActParameters", "ACAPI_LibraryPart_GetActParameters", "Goodies GPAR", [&] { kivel::LibraryPart::GetActParameters(nullptr); }},
		{"GetParameterValues", "ACAPI_LibraryPart_GetParamValues", "Goodies GPVL",
		 [&] { kivel::LibraryPart::GetParameterValues(nullptr); }},
		{"ChangeAParameter", "ACAPI_LibraryPart_ChangeAParameter", "Goodies CHGP", [&] { kivel::LibraryPart::ChangeAParameter(nullptr); }},
		{"CloseParameters", "ACAPI_LibraryPart_CloseParameters", "Goodies CPAR", [&] { kivel::LibraryPart::CloseParameters(); }},
		{"CompareLibPartUnIds", "ACAPI_LibraryPart_CompareLibPartUnIds", "Goodies COMP",
		 [&] { kivel::LibraryPart::CompareLibPartUnIds("{a}", "{a}"); }},
		{"OverwriteLibPart", "ACAPI_LibraryManagement_OverwriteLibPart", "Environment OWLP",
		 [&] { kivel::LibraryPart::OverwriteLibPart(false); }},
		{"GetBuiltInLibraryUnID", "ACAPI_LibraryPart_GetBuiltInLibpartUnId", "Goodies GLUI",
		 [&] { kivel::LibraryPart::GetBuiltInLibraryUnID(1, unID); }},
		{"GetLibraryPart", "ACAPI_LibraryPart_Get", "ACAPI_LibPart_Get", [&] { kivel::LibraryManager::GetLibraryPart(part, true); }},
		{"GetLibrariesNumber", "ACAPI_LibraryPart_GetNum", "ACAPI_LibPart_GetNum",
		 [&] { kivel::LibraryManager::GetLibrariesNumber(count); }},
	};
	using Calls = std::vector<std::string>;
	for (const Case& c : cases) {
		SCOPED_TRACE(c.wrapper);
		Host().dispatcherCalls.clear();
		Host().namedCalls.clear();
		c.call();
#if VELMORA_HOST_API < 27
		const bool named = std::string(c.host26).rfind("ACAPI_", 0) == 0;
		EXPECT_EQ(Host().dispatcherCalls, named ? Calls{} : Calls{c.host26});
		EXPECT_EQ(Host().namedCalls, named ? Calls{c.host26} : Calls{});
#else
		EXPECT_TRUE(Host().dispatcherCalls.empty());
		EXPECT_EQ(Host().namedCalls, Calls{c.host29});
#endif
	}
	if (params != nullptr) kivel::Communication::FreeMDCLParameterList(&params);
	BMKillHandle(reinterpret_cast<GSHandle*>(&story.data));
	BMKillHandle(reinterpret_cast<GSHandle*>(&triangles));
}

} // namespace
