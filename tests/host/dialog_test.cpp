// The host's dialogs as the script plays them: messages, item state, script rules, alerts,
// file dialogs, and the record of it all in the dump.
#include <cstdint>
#include <cstdlib>
#include <functional>
#include <tuple>

#include <gtest/gtest.h>
#include <nlohmann/json.hpp>

#include "ACAPinc.h"
#include "DG.h"
#include "TestSupport.hpp"
#include "vhost/Platform.hpp"
#include "vhost/Script.hpp"
#include "vhost/Text.hpp"

namespace {

const char* const kResources = R"(
dialog 100 "Settings"
  item 1 button "OK"
  item 2 button "Cancel"
  item 3 button "Off" disabled
  item 4 button "Gone" hidden
  item 5 int "" value 3 min 1 max 255
  item 6 edit "start"
  item 7 check "" value 1
  item 8 popup "" entry "Pen" entry "Fill" value 2
  item 9 list columns 3 entry "first" entry "second"
  item 10 icon image 32731
  item 11 usercontrol
  item 12 button "More"
end
dialog 200 "Inner"
  item 1 button "Close"
end
icon 32731 "lock.png"
image 32732 "unlock.png"
)";

using Seen = std::tuple<short, short, short>; // message, dialog, item

// What a dialog callback saw, and what it does (by default a click on 1 or 2 closes).
struct Recorder {
	std::vector<Seen> seen;
	std::function<short(short message, short item, long long msgData)> act;
};

short Callback(short message, short dialID, short item, DGUserData userData, DGMessageData msgData)
{
	auto* r = reinterpret_cast<Recorder*>(static_cast<std::intptr_t>(userData));
	r->seen.emplace_back(message, dialID, item);
	if (r->act) return r->act(message, item, msgData);
	return message == DG_MSG_CLICK && (item == 1 || item == 2) ? 1 : 0;
}

class HostDialog : public testsupport::HostTest {
protected:
	void SetUp() override
	{
		HostTest::SetUp();
		testsupport::WriteFile(RunRoot() + "/Test.rsrc", kResources);
		Host().resourceFile = RunRoot() + "/Test.rsrc";
		Host().resources.reset();
	}

	void Script(const std::string& text)
	{
		std::vector<vhost::ScriptStep> steps;
		std::string error;
		ASSERT_TRUE(vhost::ParseScript(text, steps, error)) << error;
		vhost::SetScript(steps);
	}

	short Open(Recorder& r, short id = 100)
	{
		const GSResModule own = ACAPI_GetOwnResModule();
		return DGModalDialog(own, id, own, Callback, static_cast<DGUserData>(reinterpret_cast<std::intptr_t>(&r)));
	}

	// The one script error so far, taken (the run would fail on it).
	std::string TakeScriptError()
	{
		EXPECT_EQ(Host().scriptErrors.size(), 1u);
		const std::string e = Host().scriptErrors.empty() ? "" : Host().scriptErrors[0];
		Host().scriptErrors.clear();
		return e;
	}
};

TEST_F(HostDialog, MessagesArriveInOrderAndStepsChangeItems)
{
	Script("dialog 100\nset 5 300\ntext 6 \"åse/Kart\"\nset 7 0\nclick 12\nclick 1\n");
	Recorder r;
	Int32 pen = 0, check = -1;
	GS::UniString text;
	r.act = [&](short message, short item, long long) -> short {
		if (message == DG_MSG_CLOSE) {
			pen = DGGetItemValLong(100, 5);
			check = DGGetItemValLong(100, 7);
			text = DGGetItemText(100, 6);
		}
		return message == DG_MSG_CLICK && item == 1 ? 1 : 0;
	};
	EXPECT_EQ(Open(r), 1);
	const std::vector<Seen> expected = {{DG_MSG_INIT, 100, 0}, {DG_MSG_FILTERCHAR, 100, 5}, {DG_MSG_CHANGE, 100, 5},
		{DG_MSG_FILTERCHAR, 100, 6}, {DG_MSG_CHANGE, 100, 6}, {DG_MSG_CHANGE, 100, 7}, {DG_MSG_CLICK, 100, 12},
		{DG_MSG_CLICK, 100, 1}, {DG_MSG_CLOSE, 100, 1}};
	EXPECT_EQ(r.seen, expected);
	EXPECT_EQ(pen, 255); // kept within the item's range
	EXPECT_EQ(check, 0);
	EXPECT_EQ(text, GS::UniString("åse/Kart"));
	EXPECT_TRUE(Host().openDialogs.empty());
	ASSERT_EQ(Host().dialogsShown.size(), 1u);
	EXPECT_EQ(Host().dialogsShown[0].closedBy, 1);
	EXPECT_FALSE(Host().dialogsShown[0].cancelled);
	vhost::FinishScript();
	EXPECT_TRUE(vhost::RunIsClean());
}

TEST_F(HostDialog, StepsThatDoNotFitAreScriptErrorsAndCancelTheDialog)
{
	const struct {
		const char* script;
		const char* error;
	} cases[] = {
		{"dialog 100\nclick 3\n", "script line 2: item 3 of dialog 100 is disabled"},
		{"dialog 100\nset 7 0\nclick 4\n", "script line 3: item 4 of dialog 100 is hidden"},
		{"dialog 100\nset 4 1\n", "script line 2: item 4 of dialog 100 is hidden"},
		{"dialog 200\nclick 1\n", "script line 1: unexpected dialog 100 (the script wants 'dialog 200')"},
		{"", "end of script: unexpected dialog 100 (the script has ended)"},
		{"dialog 100\nset 7 0\n", "end of script: the script ran out with dialog 100 open"},
		{"dialog 100\nalert 1\n", "script line 2: step 'alert' while dialog 100 is open"},
		{"dialog 100\nclick 99\n", "script line 2: dialog 100 has no item 99"},
		{"dialog 100\nexpect disabled 1\n", "script line 2: item 1 of dialog 100: expected disabled 'disabled', found 'enabled'"},
		{"dialog 100\nexpect shown 4\n", "script line 2: item 4 of dialog 100: expected shown 'shown', found 'hidden'"},
		{"dialog 100\nexpect value 5 4\n", "script line 2: item 5 of dialog 100: expected value '4', found '3'"},
		{"dialog 100\nexpect text 6 \"x\"\n", "script line 2: item 6 of dialog 100: expected text 'x', found 'start'"},
		{"dialog 100\nexpect value 6\n", "script line 2: bad expectation 'expect value'"},
		{"dialog 100\ntext 5 \"x\"\n", "script line 2: item 5 (int) is not an edit text"},
		{"dialog 100\nset 1 1\n", "script line 2: item 1 (button) has no value to set"},
		{"dialog 100\nset 5 2.5\n", "script line 2: item 5 takes whole numbers"},
		{"dialog 100\nset 8 3\n", "script line 2: popup 8 has no entry 3"},
		{"dialog 100\nclick 9\n", "script line 2: item 9 is a list: click it with 'listclick'"},
		{"dialog 100\nlistclick 9 3 1\n", "script line 2: list 9 has no row 3 (it has 2)"},
		{"dialog 100\nlistclick 9 1 4\n", "script line 2: list 9 has no column 4 (it has 3)"},
		{"dialog 100\nlistclick 5 1 1\n", "script line 2: item 5 is not a list"},
		{"dialog 100\nlistpick 9 \"third\" 1\n", "script line 2: list 9 has no row 'third'"},
		{"dialog 100\nlistpick 9 \"1\" 1\n", "script line 2: list 9 has no row '1'"},
		{"dialog 100\nlistpick 9 \"first\" 4\n", "script line 2: list 9 has no column 4 (it has 3)"},
		{"dialog 100\nlistpick 5 \"first\" 1\n", "script line 2: item 5 is not a list"},
	};
	for (const auto& c : cases) {
		Host().dialogsShown.clear();
		Host().scriptBroken = false;
		Script(c.script);
		Recorder r;
		EXPECT_EQ(Open(r), DG_CANCEL) << c.script;
		ASSERT_GE(r.seen.size(), 2u);
		EXPECT_EQ(r.seen.front(), Seen(DG_MSG_INIT, 100, 0)) << c.script;
		EXPECT_EQ(r.seen.back(), Seen(DG_MSG_CLOSE, 100, DG_CANCEL)) << c.script;
		EXPECT_FALSE(vhost::RunIsClean());
		EXPECT_EQ(TakeScriptError(), c.error) << c.script;
		ASSERT_EQ(Host().dialogsShown.size(), 1u);
		EXPECT_TRUE(Host().dialogsShown[0].cancelled);
	}
}

TEST_F(HostDialog, AfterAScriptErrorTheRestOfTheUiIsCancelledQuietly)
{
	Script("dialog 100\nclick 3\ndialog 100\nclick 1\nalert 1\n");
	Recorder r;
	EXPECT_EQ(Open(r), DG_CANCEL);
	EXPECT_EQ(Open(r), DG_CANCEL);
	EXPECT_EQ(DGAlert(DG_WARNING, "T", "L", "", "Yes", "No"), 0);
	vhost::FinishScript();
	EXPECT_EQ(TakeScriptError(), "script line 2: item 3 of dialog 100 is disabled");
}

TEST_F(HostDialog, TypingRefusedByTheCallbackIsAScriptError)
{
	Script("dialog 100\nset 5 7\n");
	Recorder r;
	r.act = [](short message, short, long long) -> short { return message == DG_MSG_FILTERCHAR ? 1 : 0; };
	EXPECT_EQ(Open(r), DG_CANCEL);
	EXPECT_EQ(TakeScriptError(), "script line 2: item 5 of dialog 100 refuses typing");
	EXPECT_EQ(r.seen.size(), 3u); // open, key filter, close: no change message
}

TEST_F(HostDialog, ExpectationsSeeTheStateTheAddonSet)
{
	Script("dialog 100\nexpect enabled 2\nexpect disabled 7\nexpect hidden 4\nexpect shown 5\nexpect value 5 3\n"
		   "expect text 6 \"v3.0.5\"\nexpect value 8 2\nexpect text 8 \"Fill\"\nexpect hidden 1\nexpect enabled 3\nclick 2\n");
	Recorder r;
	r.act = [](short message, short item, long long) -> short {
		if (message == DG_MSG_INIT) {
			DGSetItemText(100, 6, vhost::ToUtf8(DGGetItemText(100, 6)) == "start" ? "v3.0.5" : "wrong");
			DGHideItem(100, 1);
			DGEnableItem(100, 3);
			DGDisableItem(100, 7);
		}
		return message == DG_MSG_CLICK && item == 2 ? 1 : 0;
	};
	EXPECT_EQ(Open(r), 2);
	EXPECT_TRUE(vhost::RunIsClean()) << (Host().scriptErrors.empty() ? "" : Host().scriptErrors[0]);
}

TEST_F(HostDialog, ListRowsCellsIconsSelectionAndUserData)
{
	Script("dialog 100\nlistclick 9 3 2\nexpect value 9 3\nclick 1\n");
	Recorder r;
	DGListClickData clicked;
	short selectedAtClick = 0;
	r.act = [&](short message, short item, long long msgData) -> short {
		if (message == DG_MSG_INIT) {
			EXPECT_EQ(DGListGetTabFieldCount(100, 9), 3);
			EXPECT_EQ(DGListGetItemText(100, 9, 2, 1), GS::UniString("second"));
			EXPECT_TRUE(DGListInsertItem(100, 9, DG_LIST_BOTTOM));
			DGListSetItemText(100, 9, 3, 2, "cell 3/2");
			DGListSetTabItemIcon(100, 9, 3, 3, ACAPI_GetOwnResModule(), 32731);
			DGListSetItemUserData(100, 9, 3, 77);
			EXPECT_TRUE(DGListSetTabData(100, 9, 3, 595, 615, 256, 4096, false, true));
		}
		if (message == DG_MSG_CLICK && item == 9) {
			clicked = *reinterpret_cast<const DGListClickData*>(static_cast<std::intptr_t>(msgData));
			selectedAtClick = DGListGetSelected(100, 9);
		}
		if (message == DG_MSG_CLOSE) {
			EXPECT_EQ(DGListGetItemText(100, 9, 3, 2), GS::UniString("cell 3/2"));
			EXPECT_EQ(DGListGetTabItemIcon(100, 9, 3, 3), 32731);
			EXPECT_EQ(DGListGetItemUserData(100, 9, 3), 77);
			DGListDeleteItem(100, 9, 1);
			EXPECT_EQ(DGListGetItemCount(100, 9), 2);
			EXPECT_EQ(DGListGetSelected(100, 9), 2); // the selection stays on its row
			EXPECT_EQ(DGListGetItemUserData(100, 9, 2), 77);
			DGListDeselectItem(100, 9, 2);
			EXPECT_EQ(DGListGetSelected(100, 9), 0);
			EXPECT_TRUE(DGListSetTabFieldCount(100, 9, 1));
			EXPECT_EQ(DGListGetItemText(100, 9, 1, 1), GS::UniString("second"));
			DGListDeleteItem(100, 9, DG_ALL_ITEMS);
			EXPECT_EQ(DGListGetItemCount(100, 9), 0);
		}
		return message == DG_MSG_CLICK && item == 1 ? 1 : 0;
	};
	EXPECT_EQ(Open(r), 1);
	EXPECT_EQ(clicked.row, 3);
	EXPECT_EQ(clicked.column, 2);
	EXPECT_EQ(selectedAtClick, 3);
	EXPECT_TRUE(vhost::RunIsClean()) << (Host().scriptErrors.empty() ? "" : Host().scriptErrors[0]);
}

// A click that names an icon is made only on a cell showing it; a bad icon id is an error.
TEST_F(HostDialog, ListClickWithAnIconClicksOnlyCellsShowingIt)
{
	Script("dialog 100\nlistclick 9 1 3 32731\nlistclick 9 2 3 32731\nlistclick 9 2 2 32731\nclick 1\n");
	Recorder r;
	std::vector<std::pair<short, short>> clicks;
	r.act = [&](short message, short item, long long msgData) -> short {
		if (message == DG_MSG_INIT) DGListSetTabItemIcon(100, 9, 2, 3, ACAPI_GetOwnResModule(), 32731);
		if (message == DG_MSG_CLICK && item == 9) {
			const auto* c = reinterpret_cast<const DGListClickData*>(static_cast<std::intptr_t>(msgData));
			clicks.emplace_back(c->row, c->column);
		}
		return message == DG_MSG_CLICK && item == 1 ? 1 : 0;
	};
	EXPECT_EQ(Open(r), 1);
	EXPECT_EQ(clicks, (std::vector<std::pair<short, short>>{{2, 3}}));
	EXPECT_TRUE(vhost::RunIsClean()) << (Host().scriptErrors.empty() ? "" : Host().scriptErrors[0]);

	Script("dialog 100\nlistclick 9 1 3 icon\n");
	EXPECT_EQ(Open(r), DG_CANCEL);
	EXPECT_EQ(TakeScriptError(), "script line 2: bad icon id icon");
}

// A row picked by the name it shows is found in the list's own order (the add-on's rows, not
// sorted), the first of equal names; the icon rule is that of listclick.
TEST_F(HostDialog, ListPickClicksTheRowShowingTheName)
{
	Script("dialog 100\nlistpick 9 \"Åse\" 2\nlistpick 9 \"B\" 3 32731\nlistpick 9 \"first\" 3 32731\nlistpick 9 \"second\" 1\n"
	       "click 1\n");
	Recorder r;
	std::vector<std::pair<short, short>> clicks;
	r.act = [&](short message, short item, long long msgData) -> short {
		if (message == DG_MSG_INIT) {
			// Rows: first, second, B, Åse, B (the last B shows the icon, the first does not).
			for (const char* name : {"B", "Åse", "B"}) {
				EXPECT_TRUE(DGListInsertItem(100, 9, DG_LIST_BOTTOM));
				DGListSetItemText(100, 9, DGListGetItemCount(100, 9), 1, name);
			}
			DGListSetTabItemIcon(100, 9, 5, 3, ACAPI_GetOwnResModule(), 32731);
			DGListSetTabItemIcon(100, 9, 1, 3, ACAPI_GetOwnResModule(), 32731);
		}
		if (message == DG_MSG_CLICK && item == 9) {
			const auto* c = reinterpret_cast<const DGListClickData*>(static_cast<std::intptr_t>(msgData));
			clicks.emplace_back(c->row, c->column);
		}
		return message == DG_MSG_CLICK && item == 1 ? 1 : 0;
	};
	EXPECT_EQ(Open(r), 1);
	EXPECT_EQ(clicks, (std::vector<std::pair<short, short>>{{4, 2}, {1, 3}, {2, 1}}));
	EXPECT_TRUE(vhost::RunIsClean()) << (Host().scriptErrors.empty() ? "" : Host().scriptErrors[0]);
}

TEST_F(HostDialog, PopupEntriesAndSelection)
{
	Script("dialog 100\nset 8 2\nexpect text 8 \"Layer\"\nclick 1\n");
	Recorder r;
	r.act = [](short message, short item, long long) -> short {
		if (message == DG_MSG_INIT) {
			EXPECT_EQ(DGPopUpGetItemCount(100, 8), 2);
			EXPECT_TRUE(DGPopUpInsertItem(100, 8, DG_POPUP_BOTTOM));
			DGPopUpSetItemText(100, 8, 3, "Layer");
			EXPECT_FALSE(DGPopUpInsertItem(100, 8, 9));
			DGPopUpSelectItem(100, 8, 3);
			DGPopUpDeleteItem(100, 8, 1);
			EXPECT_EQ(DGPopUpGetSelected(100, 8), 2);
			EXPECT_EQ(DGPopUpGetItemText(100, 8, 1), GS::UniString("Fill"));
			EXPECT_EQ(DGGetItemText(100, 8), GS::UniString("Layer"));
			DGPopUpSelectItem(100, 8, 1);
		}
		return message == DG_MSG_CLICK && item == 1 ? 1 : 0;
	};
	EXPECT_EQ(Open(r), 1);
	EXPECT_FALSE(Host().dialogFaults.size() > 1);
	ASSERT_EQ(Host().dialogFaults.size(), 1u); // the insert at 9
	EXPECT_EQ(Host().dialogFaults[0], "DGPopUpInsertItem: cannot insert at 9");
	Host().dialogFaults.clear();
	EXPECT_TRUE(vhost::RunIsClean()) << (Host().scriptErrors.empty() ? "" : Host().scriptErrors[0]);
}

TEST_F(HostDialog, WrongItemCallsAreDialogFaults)
{
	Script("dialog 100\nclick 1\n");
	Recorder r;
	GSErrCode picker = Error, notPicker = NoError;
	r.act = [&](short message, short item, long long) -> short {
		if (message == DG_MSG_INIT) {
			EXPECT_EQ(DGGetItemImage(100, 10), 32731);
			DGSetItemImage(100, 10, ACAPI_GetOwnResModule(), 32732);
			DGSetItemImage(100, 10, ACAPI_GetOwnResModule(), 999);
			DGGetItemValLong(100, 99);
			DGListGetItemCount(100, 8);
			API_UCCallbackType uc;
			uc.type = 18, uc.dialogID = 100, uc.itemID = 11;
			picker = ACAPI_Dialog_SetUserControlCallback(&uc);
			uc.itemID = 1;
			notPicker = ACAPI_Dialog_SetUserControlCallback(&uc);
			EXPECT_EQ(Host().openDialogs.back().items[10].userControlType, 18);
		}
		return message == DG_MSG_CLICK && item == 1 ? 1 : 0;
	};
	EXPECT_EQ(Open(r), 1);
	EXPECT_EQ(picker, NoError);
	EXPECT_EQ(notPicker, APIERR_BADID);
	DGSetItemText(100, 6, "closed");
	const std::vector<std::string> expected = {
		"DGSetItemImage: no icon or image 999 in resource module 1",
		"DGGetItemValLong: dialog 100 has no item 99",
		"DGListGetItemCount: item 8 of dialog 100 is a popup, not a list",
		"ACAPI_Dialog_SetUserControlCallback: item 1 of dialog 100 is a button, not a usercontrol",
		"DGSetItemText: dialog 100 is not open",
	};
	EXPECT_EQ(Host().dialogFaults, expected);
	EXPECT_FALSE(vhost::RunIsClean());
	Host().dialogFaults.clear();
	EXPECT_EQ(DGModalDialog(ACAPI_GetOwnResModule(), 300, ACAPI_GetOwnResModule(), Callback, 0), 0);
	EXPECT_EQ(Host().dialogFaults, std::vector<std::string>{"DGModalDialog: no dialog 300 in the resource file"});
	Host().dialogFaults.clear();
}

TEST_F(HostDialog, NestedDialogsKeepTheOuterOneOpen)
{
	Script("dialog 100\nclick 12\ndialog 200\nclick 1\nclick 1\n");
	Recorder outer, inner;
	GS::UniString outerText;
	outer.act = [&](short message, short item, long long) -> short {
		if (message == DG_MSG_CLICK && item == 12) { EXPECT_EQ(Open(inner, 200), 1); }
		return message == DG_MSG_CLICK && item == 1 ? 1 : 0;
	};
	inner.act = [&](short message, short item, long long) -> short {
		if (message == DG_MSG_INIT) outerText = DGGetItemText(100, 6);
		return message == DG_MSG_CLICK && item == 1 ? 1 : 0;
	};
	EXPECT_EQ(Open(outer), 1);
	EXPECT_EQ(outerText, GS::UniString("start"));
	ASSERT_EQ(Host().dialogsShown.size(), 2u);
	EXPECT_EQ(Host().dialogsShown[1].id, 200);
	EXPECT_TRUE(vhost::RunIsClean());
}

TEST_F(HostDialog, AlertsTakeTheScriptsAnswer)
{
	const struct {
		const char* script;
		short answer;
		const char* error;
	} cases[] = {
		{"alert 2\n", 2, ""},
		{"alert 1\n", 1, ""},
		{"alert 3\n", 0, "script line 1: alert \"Update\" has no button 3"},
		{"", 0, "end of script: alert \"Update\" with no step for it"},
		{"cancel\n", 0, "script line 1: alert \"Update\" with no step for it (the script wants 'cancel')"},
	};
	for (const auto& c : cases) {
		Host().scriptBroken = false;
		Host().alerts.clear();
		Script(c.script);
		EXPECT_EQ(DGAlert(-2, "Update", "A new version", "", "Download", "Later"), c.answer) << c.script;
		ASSERT_EQ(Host().alerts.size(), 1u);
		EXPECT_EQ(Host().alerts[0].largeText, "A new version");
		EXPECT_EQ(Host().alerts[0].buttons, (std::vector<std::string>{"Download", "Later"}));
		EXPECT_EQ(Host().alerts[0].answer, c.answer);
		if (*c.error != 0) { EXPECT_EQ(TakeScriptError(), c.error); }
		EXPECT_TRUE(Host().scriptErrors.empty());
	}
	Host().scriptBroken = false;
	Script("alert 1\n");
	EXPECT_EQ(DGAlert(DG_INFORMATION, "Note", "Done", ""), 1);
	EXPECT_EQ(Host().alerts.back().buttons, std::vector<std::string>{"OK"});
}

TEST_F(HostDialog, FileAndFolderDialogsTakeTheScriptsAnswer)
{
	testsupport::WriteFile(RunRoot() + "/Documents/My map.ZIP", "PK");
	testsupport::WriteFile(RunRoot() + "/notes.txt", "x");
	FTM::FileTypeManager manager("velmora_file_manager");
	const FTM::FileType zip(nullptr, "zip", 0, 0, 0);
	EXPECT_EQ(manager.SearchForType(zip), FTM::UnknownType);
	const FTM::TypeID zipType = manager.AddType(zip);
	EXPECT_NE(zipType, FTM::UnknownType);
	EXPECT_EQ(FTM::FileTypeManager("velmora_file_manager").SearchForType(zip), zipType);
	EXPECT_EQ(FTM::FileTypeManager("other").SearchForType(zip), FTM::UnknownType);

	const struct {
		DG::FileDialog::Type type;
		const char* script;
		std::string chosen; // under the run root; empty: cancelled
		const char* error;
	} cases[] = {
		{DG::FileDialog::OpenFile, "file \"Documents/My map.ZIP\"\n", "/Documents/My map.ZIP", ""},
		{DG::FileDialog::OpenFile, "cancel\n", "", ""},
		{DG::FileDialog::OpenFile, "file \"notes.txt\"\n", "", "does not fit the dialog's filters"},
		{DG::FileDialog::OpenFile, "file \"none.zip\"\n", "", "no file "},
		{DG::FileDialog::OpenFile, "folder \"Documents\"\n", "", "with no step for it (the script wants 'folder')"},
		{DG::FileDialog::OpenFile, "", "", "end of script: file dialog \"Pick\" with no step for it"},
		{DG::FileDialog::OpenFolder, "folder \"Documents/\"\n", "/Documents", ""},
		{DG::FileDialog::OpenFolder, "folder \"notes.txt\"\n", "", "no folder "},
		{DG::FileDialog::Save, "file \"Temp/out.zip\"\n", "/Temp/out.zip", ""},
	};
	for (const auto& c : cases) {
		Host().scriptBroken = false;
		Script(c.script);
		DG::FileDialog dialog(c.type);
		dialog.SetTitle("Pick");
		EXPECT_TRUE(dialog.AddFilter(zipType, 1, "*.zip"));
		EXPECT_EQ(dialog.Invoke(), !c.chosen.empty()) << c.script;
		EXPECT_EQ(vhost::PathOf(dialog.GetSelectedFile()), c.chosen.empty() ? "" : RunRoot() + c.chosen) << c.script;
		EXPECT_EQ(dialog.GetSelectedFolder().IsEmpty(), c.type != DG::FileDialog::OpenFolder || c.chosen.empty());
		EXPECT_EQ(Host().fileDialogs.back().answer, vhost::PathOf(dialog.GetSelectedFile()));
		if (*c.error != 0) { EXPECT_NE(TakeScriptError().find(c.error), std::string::npos) << c.script; }
		EXPECT_TRUE(Host().scriptErrors.empty()) << c.script;
	}
	EXPECT_FALSE(DG::FileDialog(DG::FileDialog::OpenFile).AddFilter(99, 1, "*.x"));
}

TEST_F(HostDialog, UrlsAndOpenedPathsAreRecorded)
{
	EXPECT_TRUE(vhost::OpenURL("https://example.com/help?lang=no"));
	EXPECT_TRUE(vhost::OpenURL(""));
	EXPECT_FALSE(vhost::OpenURL("https://example.com/a b"));
	EXPECT_FALSE(vhost::OpenURL("https://example.com/æ"));
	EXPECT_EQ(Host().urls, (std::vector<std::string>{"https://example.com/help?lang=no", ""}));

	vhost::PrepareShell(VELMORA_SOURCE_DIR "/host/tools");
	vhost::PrepareShell(VELMORA_SOURCE_DIR "/host/tools"); // once on PATH
	const std::string path = std::getenv("PATH");
	EXPECT_EQ(path.find(VELMORA_SOURCE_DIR "/host/tools"), path.rfind(VELMORA_SOURCE_DIR "/host/tools"));
	EXPECT_EQ(std::system("open /x/My\\ guide.pdf"), 0);
	EXPECT_EQ(vhost::OpenedPaths(), std::vector<std::string>{"/x/My guide.pdf"});
	const auto dump = nlohmann::json::parse(vhost::DumpJson());
	EXPECT_EQ(dump["opened"], nlohmann::json::array({"/x/My guide.pdf"}));
	EXPECT_EQ(dump["shell"].back(), "open /x/My\\ guide.pdf");
}

TEST_F(HostDialog, TheDumpListsDialogsAndAlertsInOrder)
{
	Script("dialog 100\nclick 2\nalert 1\ndialog 200\n");
	Recorder r;
	Open(r);
	DGAlert(DG_WARNING, "Delete?", "Delete 2 projects", "", "Yes", "No");
	Open(r, 200);
	TakeScriptError();
	const auto dump = nlohmann::json::parse(vhost::DumpJson());
	const auto dialogs = nlohmann::json::parse(R"([{"id":100,"closedBy":2,"cancelled":false},{"id":200,"closedBy":2,"cancelled":true}])");
	EXPECT_EQ(dump["dialogs"], dialogs);
	ASSERT_EQ(dump["alerts"].size(), 1u);
	EXPECT_EQ(dump["alerts"][0]["title"], "Delete?");
	EXPECT_EQ(dump["alerts"][0]["text"], "Delete 2 projects");
	EXPECT_EQ(dump["alerts"][0]["answer"], 1);
}

TEST(HostResources, DialogItemsTakeEntriesColumnsAndImages)
{
	vhost::Resources res;
	std::string error;
	ASSERT_TRUE(vhost::ParseResources(kResources, "/r", res, error)) << error;
	const auto& items = res.dialogs.at(100).items;
	EXPECT_EQ(items[7].entries.size(), 2u);
	EXPECT_EQ(items[7].entries[1], GS::UniString("Fill"));
	EXPECT_EQ(items[8].columns, 3);
	EXPECT_EQ(items[9].image, 32731);
	EXPECT_EQ(res.images.at(32732), "/r/unlock.png");
	for (const char* bad : {"dialog 1\nitem 1 list columns x\nend\n", "dialog 1\nitem 1 popup entry 3\nend\n", "dialog 1\nitem 1 icon image -4\nend\n"}) {
		vhost::Resources r;
		EXPECT_FALSE(vhost::ParseResources(bad, "/r", r, error)) << bad;
		EXPECT_EQ(error.rfind("line 2:", 0), 0u) << error;
	}
}

} // namespace
