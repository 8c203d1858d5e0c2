// Every wrapper of the adaptation and library layers, with what it must send on host 26: the
// dispatcher and its four-character code, or (empty) a named entry point and no dispatcher at
// all. Hosts 27 to 29 send nothing through a dispatcher. The expected codes are the published
// ones of the older host, written out here so that a code mistyped in the wrappers and in the
// stand-in alike cannot pass.
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
		const char* host26; // "Dispatcher CODE", or empty for a named entry point
		std::function<void()> call;
	};
	const Case cases[] = {
		// Story
		{"Story::GetSettings", "Environment GSTO", [&] { kivel::Story::GetSettings(story, 0); }},
		{"Story::ChangeSettings", "Environment CSTO", [&] { kivel::Story::ChangeSettings(storyCmd); }},
		{"Story::GetStoryLevel", "Environment GSTO", [&] { kivel::Story::GetStoryLevel(0, level); }},
		// Environment
		{"GetToolBoxMode", "Environment GTBX", [&] { kivel::Environment::GetToolBoxMode(tool); }},
		{"SetToolBoxMode(item)", "Environment STBX", [&] { kivel::Environment::SetToolBoxMode(tool); }},
		{"SetToolBoxMode(type)", "Environment STBX", [&] { kivel::Environment::SetToolBoxMode(API_MeshID); }},
		{"GetSpecialFolder", "Environment GSPF", [&] { kivel::Environment::GetSpecialFolder(&folderId, &location); }},
		{"Get3DWindowSets", "Environment GW3D", [&] { kivel::Environment::Get3DWindowSets(&window); }},
		{"Change3DWindowSets", "Environment CW3D", [&] { kivel::Environment::Change3DWindowSets(&window); }},
		{"Get3DStyle", "Environment GD3S", [&] { kivel::Environment::Get3DStyle(&style); }},
		{"Change3DStyle", "Environment CD3S", [&] { kivel::Environment::Change3DStyle(&style); }},
		{"Get3DProjectionSets", "Environment GP3D", [&] { kivel::Environment::Get3DProjectionSets(&projection); }},
		{"Change3DProjectionSets", "Environment CP3D", [&] { kivel::Environment::Change3DProjectionSets(&projection); }},
		{"GetRenderingSets", "Environment GREN", [&] { kivel::Environment::GetRenderingSets(&display, API_RendSet_Basic, nullptr); }},
		{"ChangeRenderingSets", "Environment CREN", [&] { kivel::Environment::ChangeRenderingSets(&display, API_RendSet_Basic); }},
		{"GetStructureDisplay", "Environment GSTD", [&] { kivel::Environment::GetStructureDisplay(&display); }},
		{"ChangeStructureDisplay", "Environment CSTD", [&] { kivel::Environment::ChangeStructureDisplay(&display); }},
		{"GetServerApplicationInfo", "Environment APPL", [&] { kivel::Environment::GetServerApplicationInfo(application); }},
		{"GetPreferencesPlatform", "", [&] { kivel::Environment::GetPreferencesPlatform(&version, &bytes, nullptr, &platform); }},
		// Interface
		{"ShowObjectSettings(pars)", "Interface OBJS", [&] { kivel::Interface::ShowObjectSettings(&settings); }},
		{"ShowObjectSettings(type, sub)", "Interface OBJS", [&] { kivel::Interface::ShowObjectSettings(API_ObjectID, "sub"); }},
		{"ShowObjectSettings(pars, type)", "Interface OBJS", [&] { kivel::Interface::ShowObjectSettings(settings, API_ObjectID); }},
		{"ShowObjectSettings(pars, type, sub)", "Interface OBJS", [&] { kivel::Interface::ShowObjectSettings(settings, API_ObjectID, "sub"); }},
		{"SettingsDialog", "Interface SETD", [&] { kivel::Interface::SettingsDialog(&tool, &found); }},
		{"ClearElementHighlight", "", [&] { kivel::Interface::ClearElementHighlight(); }},
		{"GetPoint", "Interface IPOI", [&] { kivel::Interface::GetPoint(point, nullptr, nullptr); }},
		{"GetLine", "Interface ILIN", [&] { kivel::Interface::GetLine(line, nullptr); }},
		{"GetArc", "Interface IARC", [&] { kivel::Interface::GetArc(arc, nullptr); }},
		{"GetPoly", "Interface IPOL", [&] { kivel::Interface::GetPoly(poly, nullptr); }},
		{"CancelUserInput", "Interface INCA", [&] { kivel::Interface::CancelUserInput(); }},
		{"CompleteUserInput", "Interface INOK", [&] { kivel::Interface::CompleteUserInput(); }},
		{"DrawRubberLine", "Interface DRLI", [&] { kivel::Interface::DrawRubberLine(&rubberLine); }},
		{"DrawRubberArc", "Interface DRAR", [&] { kivel::Interface::DrawRubberArc(&rubberArc); }},
		{"RegisterMenu", "", [&] { kivel::Interface::RegisterMenu(32500, 32520, MenuCode_UserDef, 0); }},
		{"GetMenuItemText", "Interface GMIT", [&] { kivel::Interface::GetMenuItemText(&menuItem, menuText, nullptr); }},
		{"SetMenuItemText", "Interface SMIT", [&] { kivel::Interface::SetMenuItemText(&menuItem, menuText, nullptr); }},
		{"AddMenuItemText", "Interface AMIT", [&] { kivel::Interface::AddMenuItemText(&menuItem, menuText, nullptr); }},
		{"GetMenuItemFlags", "Interface GMIF", [&] { kivel::Interface::GetMenuItemFlags(&menuItem, &flags, nullptr); }},
		{"SetMenuItemFlags", "Interface SMIF", [&] { kivel::Interface::SetMenuItemFlags(&menuItem, &flags, nullptr); }},
		{"InitNeigFilter", "Interface INFI", [&] { kivel::Interface::InitNeigFilter(&filter, APIInitNeigFilter_Empty); }},
		{"SetNeigFilter", "Interface SNFI", [&] { kivel::Interface::SetNeigFilter(&filter, APINeig_Mesh); }},
		{"SetUserControlCallback", "Interface SUCC", [&] { kivel::Interface::SetUserControlCallback(&control); }},
		// Communication
		{"InterAddonCommunicationTest", "", [&] { kivel::Communication::InterAddonCommunicationTest(&module, 1, 1); }},
		{"RegisterSupportedService", "", [&] { kivel::Communication::RegisterSupportedService(1, 1); }},
		{"InitMDCLParameterList", "Goodies ICLP", [&] { kivel::Communication::InitMDCLParameterList(&params); }},
		{"GetMDCLParameterNumber", "Goodies NCLP", [&] { kivel::Communication::GetMDCLParameterNumber(params, count); }},
		{"AddMDCLParameter", "Goodies ACLP", [&] {
			 par.name = "n";
			 par.type = MDCLPar_int;
			 kivel::Communication::AddMDCLParameter(params, par);
		 }},
		{"GetMDCLParameter", "Goodies GCLP", [&] { kivel::Communication::GetMDCLParameter(params, par); }},
		{"ChangeMDCLParameter", "Goodies CCLP", [&] { kivel::Communication::ChangeMDCLParameter(params, par); }},
		{"FreeMDCLParameterList", "Goodies FCLP", [&] { kivel::Communication::FreeMDCLParameterList(&params); }},
		// Element types, 3D, attributes, drawing
		{"Get3DInfo", "", [&] { kivel::Get3DInfo(head, info3D); }},
		{"Get3DOffset", "Database GOFS", [&] { kivel::Get3DOffset(offset); }},
		{"CreateSight", "", [&] { kivel::CreateSight(&sight); }},
		{"Switch3DSight", "Database S3DS", [&] { kivel::Switch3DSight(APISight_3DModelID); }},
		{"GetPenRGB", "", [&] { kivel::GetPenRGB(1, &rgb); }},
		{"TriangulatePoly", "Goodies TRIP", [&] { kivel::TriangulatePoly(&memo, &triangles); }},
		{"BringToFront", "", [&] { kivel::BringToFront({}); }},
		{"RunParameterScript", "Goodies RPAS", [&] { kivel::RunParameterScript(head, 0); }},
		{"SearchElementByCoord", "Goodies SELM", [&] { kivel::SearchElementByCoord(search, found); }},
		// Libraries and library parts
		{"GetLibraries", "Environment GLIB", [&] { kivel::LibraryManager::GetLibraries(libraries); }},
		{"GetLibraries(embedded)", "Environment GLIB", [&] { kivel::LibraryManager::GetLibraries(libraries, embedded); }},
		{"SetLibraries", "Environment SLIB", [&] { kivel::LibraryManager::SetLibraries(libraries); }},
		{"AddLibrary", "Environment ALIB", [&] { kivel::LibraryManager::AddLibrary(location); }},
		{"OpenParameters", "Goodies OPAR", [&] { kivel::LibraryPart::OpenParameters(&owner); }},
		{"GetActParameters", "Goodies GPAR", [&] { kivel::LibraryPart::GetActParameters(nullptr); }},
		{"GetParameterValues", "Goodies GPVL", [&] { kivel::LibraryPart::GetParameterValues(nullptr); }},
		{"ChangeAParameter", "Goodies CHGP", [&] { kivel::LibraryPart::ChangeAParameter(nullptr); }},
		{"CloseParameters", "Goodies CPAR", [&] { kivel::LibraryPart::CloseParameters(); }},
		{"CompareLibPartUnIds", "Goodies COMP", [&] { kivel::LibraryPart::CompareLibPartUnIds("{a}", "{a}"); }},
		{"OverwriteLibPart", "Environment OWLP", [&] { kivel::LibraryPart::OverwriteLibPart(false); }},
		{"GetBuiltInLibraryUnID", "Goodies GLUI", [&] { kivel::LibraryPart::GetBuiltInLibraryUnID(1, unID); }},
		{"GetLibraryPart", "", [&] { kivel::LibraryManager::GetLibraryPart(part, true); }},
		{"GetLibrariesNumber", "", [&] { kivel::LibraryManager::GetLibrariesNumber(count); }},
	};
	for (const Case& c : cases) {
		SCOPED_TRACE(c.wrapper);
		Host().dispatcherCalls.clear();
		c.call();
#if VELMORA_HOST_API < 27
		const std::vector<std::string> expected = *c.host26 != 0 ? std::vector<std::string>{c.host26} : std::vector<std::string>{};
		EXPECT_EQ(Host().dispatcherCalls, expected);
#else
		EXPECT_TRUE(Host().dispatcherCalls.empty());
#endif
	}
	if (params != nullptr) kivel::Communication::FreeMDCLParameterList(&params);
	BMKillHandle(reinterpret_cast<GSHandle*>(&story.data));
	BMKillHandle(reinterpret_cast<GSHandle*>(&triangles));
}

} // namespace
