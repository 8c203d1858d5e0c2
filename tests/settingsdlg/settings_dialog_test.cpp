// The settings command and its dialog, driven by UI scripts in-process.
#include <cstdint>
#include <fstream>
#include <functional>
#include <filesystem>
#include <memory>
#include <set>

#include <gtest/gtest.h>

#include "ACAPinc.h"
#include "APICommon.hpp"
#include "DG.h"
#include "Functions/SettingDialogFunctions.hpp"
#include "Functions/mainmenu_settingsdefault.hpp"
#include "SettingsDialogTest.hpp"

namespace {

using namespace settingsdlg;
namespace fs = std::filesystem;

bool Exists(const std::string& path) { return fs::exists(fs::u8path(path)); }

TEST_F(SettingsCommand, RoundTripFromBothFilesThroughTheDialogToTheUserFile)
{
	const std::string folder = RunRoot() + "/Kart/Åse æøå";
	fs::create_directories(fs::u8path(folder));
	const struct { const char* language; short dialog; } cases[] = {{"INT", 32502}, {"NOR", 32522}};
	for (const auto& c : cases) {
		SCOPED_TRACE(c.language);
		Host().languageCode = c.language;
		testsupport::WriteFile(UserFile(), "[pen_roads=99][surface_2_houses=65][user_import_folder=" + Hex("/Kart/før") + "]");
		const Records shown = With(With(With(DistinctRecords(), "pen_roads", "99"), "surface_2_houses", "65"),
		                           "user_import_folder", Hex("/Kart/før"));
		Run("dialog " + std::to_string(c.dialog) + "\n" + Expectations(ItemValues(shown)) +
		    "expect text 103 \"/Kart/før\"\nexpect disabled 103\nexpect hidden 110\n"
		    "set 35 7\nset 70 9\nset 91 33\nset 98 44\nset 117 66\nclick 28\nclick 107\nset 114 5\n"
		    "click 102\nfolder \"Kart/Åse æøå\"\nexpect text 103 \"" + folder + "\"\nclick 1\n");
		EXPECT_TRUE(Host().scriptErrors.empty()) << Host().scriptErrors.front();
		EXPECT_TRUE(Host().dialogFaults.empty()) << Host().dialogFaults.front();
		EXPECT_TRUE(Host().reports.empty());
		Records saved = shown;
		for (const auto& [key, value] : Records{{"pen_fences", "7"}, {"fill_fences", "9"}, {"surface_fences", "33"},
		                                        {"layer_fences", "44"}, {"surface_2_houses", "66"}, {"include_fences", "1"},
		                                        {"include_customs_2d", "0"}, {"customs_surroundings_pen", "5"},
		                                        {"user_import_folder", Hex(folder)}})
			saved = With(saved, key, value);
		EXPECT_EQ(testsupport::ReadFile(UserFile()), FileOf(saved));
	}
}

TEST_F(SettingsCommand, CancelLeavesTheUserFileAsItWas)
{
	fs::create_directories(fs::u8path(RunRoot() + "/Kart"));
	const std::string edits = "set 35 7\nclick 25\nclick 104\ntext 103 \"/typed\"\nclick 102\nfolder \"Kart\"\n";
	for (const bool present : {true, false}) {
		SCOPED_TRACE(present);
		const std::string before = "[pen_roads=99]junk\n[include_terrain=0]";
		if (present) testsupport::WriteFile(UserFile(), before);
		else fs::remove(fs::u8path(UserFile()));
		Run("dialog 32502\n" + edits + "click 2\n");
		EXPECT_TRUE(Host().scriptErrors.empty()) << Host().scriptErrors.front();
		if (present) EXPECT_EQ(testsupport::ReadFile(UserFile()), before);
		else EXPECT_FALSE(Exists(UserFile()));
	}
}

TEST_F(SettingsCommand, SaveFailureIsReportedWithTheSavePrefix)
{
	vhost::InjectFault("IO::FileSystem::GetSpecialLocation", ErrFolderNotFound, "9");
	Run("dialog 32502\nset 35 7\nclick 1\n");
	EXPECT_TRUE(Host().scriptErrors.empty());
	ASSERT_EQ(Host().reports.size(), 1u);
	EXPECT_EQ(Host().reports[0].text, "Error point: VELMORA / MenuTerrainSettingsOpen() / t_config->save() / "
	                                  "terrain_import_ini::save() / IO::FileSystem::CommonDocuments path does not exist ???");
	EXPECT_TRUE(Host().reports[0].alert);
	EXPECT_FALSE(Exists(UserFile()));
}

TEST_F(SettingsCommand, InitFailureIsReportedAndNoDialogOpens)
{
	fs::remove(fs::u8path(FactoryFile()));
	Run("");
	ASSERT_EQ(Host().reports.size(), 1u);
	const std::string expected = "Error point: VELMORA / MenuTerrainSettingsOpen() / t_config->init() / "
	                             "terrain_import_ini::init_loader() / MiniIniConfigRead# IO::File::";
	EXPECT_EQ(Host().reports[0].text.rfind(expected, 0), 0u) << Host().reports[0].text;
	EXPECT_TRUE(Host().reports[0].alert);
	EXPECT_TRUE(Host().dialogsShown.empty());
	EXPECT_TRUE(Host().scriptErrors.empty());
}

TEST(SettingsReports, ErrorTextIsNeverAFormat)
{
	testsupport::TempDir root;
	vhost::Reset(root.Path(), "");
	WriteReport_AlertPrefixed(settings_save_error_prefix, "100% done %s %n %d");
	ASSERT_EQ(vhost::Current().reports.size(), 1u);
	EXPECT_EQ(vhost::Current().reports[0].text, std::string(settings_save_error_prefix) + "100% done %s %n %d");
	EXPECT_TRUE(vhost::Current().reports[0].alert);
}

// A number item and its picker mirror each other; surface and layer pickers have no partner.
TEST_F(SettingsCommand, ChangesReachOnlyThePartnerItem)
{
	const struct { short item; int value; short partner; } cases[] = {
		{35, 7, 63},    {63, 9, 35},    {32, 3, 60},    {59, 4, 87},     {60, 6, 32},     {87, 5, 59},
		{108, 4, 109},  {109, 8, 108},  {114, 11, 115}, {115, 12, 114},  {88, 3, 0},      {94, 3, 0},
		{95, 3, 0},     {101, 3, 0},    {116, 3, 0},    {117, 3, 0},     {107, 0, 0},     {113, 1, 0},
	};
	const std::map<short, int> initial = ItemValues(DistinctRecords());
	for (const auto& c : cases) {
		SCOPED_TRACE(c.item);
		std::map<short, int> after = initial;
		after[c.item] = c.value;
		if (c.partner != 0) after[c.partner] = c.value;
		Run("dialog 32502\nset " + std::to_string(c.item) + " " + std::to_string(c.value) + "\n" + Expectations(after) + "click 2\n");
		EXPECT_TRUE(Host().scriptErrors.empty()) << Host().scriptErrors.front();
		Host().scriptErrors.clear();
	}
	EXPECT_EQ(SettingDialogFunctions::PartnerItem(31), 0);
	EXPECT_EQ(SettingDialogFunctions::PartnerItem(88), 0);
	EXPECT_EQ(SettingDialogFunctions::PartnerItem(110), 0);
}

TEST_F(SettingsCommand, HiddenLayerCannotBeChangedAndIsWrittenBackUnchanged)
{
	Run("dialog 32502\nset 110 5\n");
	ASSERT_EQ(Host().scriptErrors.size(), 1u);
	EXPECT_NE(Host().scriptErrors[0].find("item 110 of dialog 32502 is hidden"), std::string::npos) << Host().scriptErrors[0];
	EXPECT_FALSE(Exists(UserFile()));

	Host().scriptErrors.clear();
	Host().scriptBroken = false;
	Run("dialog 32502\nexpect hidden 110\nclick 1\n");
	EXPECT_TRUE(Host().scriptErrors.empty());
	EXPECT_EQ(testsupport::ReadFile(UserFile()), FileOf(DistinctRecords()));
}

TEST_F(SettingsCommand, UncheckingEveryIncludeBoxSavesThemAsZero)
{
	Records all = DistinctRecords();
	for (const char* c : {"terrain", "houses", "roads", "fences", "customobj", "water", "vegetation"})
		all = With(all, std::string("include_") + c, "1");
	testsupport::WriteFile(FactoryFile(), FileOf(all));
	Run("dialog 32502\nclick 25\nclick 26\nclick 27\nclick 28\nclick 29\nclick 30\nclick 31\nclick 1\n");
	EXPECT_TRUE(Host().scriptErrors.empty());
	Records none = all;
	for (const char* c : {"terrain", "houses", "roads", "fences", "customobj", "water", "vegetation"})
		none = With(none, std::string("include_") + c, "0");
	EXPECT_EQ(testsupport::ReadFile(UserFile()), FileOf(none));
}

// Every number item is held at its 16-bit field's limits, never wrapped.
TEST_F(SettingsCommand, TypedNumbersAreHeldAtTheFieldLimits)
{
	const struct { short item; long typed; const char* key; const char* saved; } cases[] = {
		{35, 70000, "pen_fences", "32767"},           {35, 32768, "pen_fences", "32767"},
		{35, 32767, "pen_fences", "32767"},           {35, -32768, "pen_fences", "-32768"},
		{42, -40000, "fill_fences", "-32768"},        {63, 2147483647, "pen_fences", "32767"},
		{108, 99999, "customs_2d_pen", "32767"},      {114, -99999, "customs_surroundings_pen", "-32768"},
		{91, 65536, "surface_fences", "32767"},       {98, 100000, "layer_fences", "32767"},
		{117, -2147483647, "surface_2_houses", "-32768"},
	};
	for (const auto& c : cases) {
		SCOPED_TRACE(std::to_string(c.item) + " " + std::to_string(c.typed));
		fs::remove(fs::u8path(UserFile()));
		Run("dialog 32502\nset " + std::to_string(c.item) + " " + std::to_string(c.typed) + "\nclick 1\n");
		EXPECT_TRUE(Host().scriptErrors.empty()) << Host().scriptErrors.front();
		EXPECT_EQ(testsupport::ReadFile(UserFile()), FileOf(With(DistinctRecords(), c.key, c.saved)));
	}
}

// A user file that is there but cannot be read: the factory values stand, the user is told
// once, and OK saves the new file while the old bytes are kept aside.
TEST_F(SettingsCommand, UnreadableUserFileIsReportedAndKeptAside)
{
	const std::string aside = UserFile() + ".unreadable";
	const std::string userBytes = "[pen_terrain=9]";
	const auto tooLarge = [&] { fs::resize_file(fs::u8path(UserFile()), 67108864 + 1); };
	const auto openDenied = [] { vhost::InjectFault("IO::File::Open", ErrAccessDenied, "Velmora/terrainsettings.txt", 1); };
	const struct { const char* name; std::function<void()> spoil; const char* reason; bool olderAside; } cases[] = {
		{"open refused", openDenied, "MiniIniConfigRead# IO::File::Open *", false},
		{"read error", [] { vhost::InjectFault("IO::File::ReadBin", ErrIO, "Velmora/terrainsettings.txt", 1); },
		 "MiniIniConfigRead# IO::File::ReadBin *", true},
		{"above 64 MiB", tooLarge, "MiniIniConfigRead# IO::File::GetDataLength - Illegal file length (67108865 bytes)", false},
	};
	for (const auto& c : cases) {
		SCOPED_TRACE(c.name);
		Host().reports.clear();
		vhost::ClearFaults();
		fs::remove(fs::u8path(aside));
		fs::remove(fs::u8path(aside + "-2"));
		if (c.olderAside) testsupport::WriteFile(aside, "older");
		// An aside kept before stays; the new one takes the next free name.
		const std::string keptAt = c.olderAside ? aside + "-2" : aside;
		testsupport::WriteFile(UserFile(), userBytes);
		c.spoil();
		const auto keptSize = fs::file_size(fs::u8path(UserFile()));
		Run("dialog 32502\nexpect value 32 10\nclick 1\n");
		EXPECT_TRUE(Host().scriptErrors.empty()) << Host().scriptErrors.front();
		ASSERT_EQ(Host().reports.size(), 1u);
		const std::string expected = std::string("Error point: VELMORA / MenuTerrainSettingsOpen() / t_config->init() / "
		                                         "terrain_import_ini::init_loader() / ") + c.reason;
		EXPECT_EQ(Host().reports[0].text.rfind(expected, 0), 0u) << Host().reports[0].text;
		EXPECT_TRUE(Host().reports[0].alert);
		EXPECT_EQ(testsupport::ReadFile(UserFile()), FileOf(DistinctRecords()));
		// The old bytes, whole (the large file by its size and its start).
		if (c.olderAside) {
			EXPECT_EQ(testsupport::ReadFile(aside), "older");
		}
		EXPECT_EQ(fs::file_size(fs::u8path(keptAt)), keptSize);
		std::ifstream asideFile(fs::u8path(keptAt), std::ios::binary);
		std::string start(userBytes.size(), '\0');
		asideFile.read(&start[0], static_cast<std::streamsize>(start.size()));
		EXPECT_EQ(start, userBytes);
	}
}

// When the unreadable file cannot be moved aside, nothing is written over it, and an aside
// kept before stays as it was.
TEST_F(SettingsCommand, UnreadableUserFileThatCannotBeMovedAsideIsNotOverwritten)
{
	testsupport::WriteFile(UserFile(), "[pen_terrain=9]");
	testsupport::WriteFile(UserFile() + ".unreadable/inside.txt", "a folder of that name");
	vhost::InjectFault("IO::File::Open", ErrAccessDenied, "Velmora/terrainsettings.txt", 1);
	vhost::InjectFault("IO::FileSystem::Move", ErrIO);
	Run("dialog 32502\nclick 1\n");
	ASSERT_EQ(Host().reports.size(), 2u);
	const std::string save = "Error point: VELMORA / MenuTerrainSettingsOpen() / t_config->save() / terrain_import_ini::save() / "
	                         "the unreadable settings file cannot be moved aside to terrainsettings.txt.unreadable *";
	EXPECT_EQ(Host().reports[1].text.rfind(save, 0), 0u) << Host().reports[1].text;
	EXPECT_EQ(testsupport::ReadFile(UserFile()), "[pen_terrain=9]");
	EXPECT_EQ(testsupport::ReadFile(UserFile() + ".unreadable/inside.txt"), "a folder of that name");
}

TEST(SettingsHandler, TypingIsAllowedOnlyInNumbersAndTheFolderText)
{
	std::set<short> typed = {103, 108, 114};
	for (short i = 32; i <= 59; ++i) typed.insert(i);
	for (short item = 0; item <= 120; ++item)
		EXPECT_EQ(mainmenu_settingsdefault::settings_dg_handler(DG_MSG_FILTERCHAR, 32502, item, 0, 0), typed.count(item) ? 0 : 1) << item;
}

// Runs the settings dialog with the real handler, recording after the open and after each
// click on the lock what the lock shows and whether the folder text is editable.
struct LockProbe {
	terrain_import_ini* config = nullptr;
	short dialog = SettingsDialogId;
	bool accepted = false;
	bool locked = true;
	void* record[SettingsRecordSize] = {nullptr, &dialog, &accepted, &locked};
	std::vector<short> images;
	std::vector<bool> editable;
	std::map<short, Int32> pickerTypes; // user-control items after the open
	bool toolTips = false;
};

short ProbeCallback(short message, short dialID, short item, DGUserData userData, DGMessageData msgData)
{
	auto* p = reinterpret_cast<LockProbe*>(static_cast<std::intptr_t>(userData));
	const short result = mainmenu_settingsdefault::settings_dg_handler(message, dialID, item,
		static_cast<long long>(reinterpret_cast<std::intptr_t>(p->record)), msgData);
	if (message == DG_MSG_INIT || (message == DG_MSG_CLICK && item == 104)) {
		p->images.push_back(DGGetItemImage(dialID, 104));
		p->editable.push_back(DGIsItemEnabled(dialID, 103));
	}
	if (message == DG_MSG_INIT) {
		for (const vhost::DialogItemState& i : vhost::Current().openDialogs.back().items)
			if (i.def.kind == "usercontrol") p->pickerTypes[i.def.id] = i.userControlType;
		p->toolTips = DGIsToolTipsEnabled();
	}
	return result;
}

class SettingsDialog : public SettingsCommand {
protected:
	void Probe(LockProbe& p, const std::string& script)
	{
		config_ = std::make_unique<terrain_import_ini>();
		ASSERT_TRUE(config_->init()) << config_->error;
		p.config = config_.get();
		p.record[SettingsRecordConfig] = config_.get();
		Script(script);
		const GSResModule own = ACAPI_GetOwnResModule();
		DGModalDialog(own, p.dialog, own, ProbeCallback, static_cast<DGUserData>(reinterpret_cast<std::intptr_t>(&p)));
		vhost::FinishScript();
		EXPECT_TRUE(Host().scriptErrors.empty()) << Host().scriptErrors.front();
		EXPECT_TRUE(Host().dialogFaults.empty()) << Host().dialogFaults.front();
	}
	std::unique_ptr<terrain_import_ini> config_;
};

TEST_F(SettingsDialog, LockTogglesTheFolderTextAndItsImage)
{
	fs::create_directories(fs::u8path(RunRoot() + "/Kart/ny"));
	const std::string chosen = RunRoot() + "/Kart/ny";
	const struct {
		const char* steps;
		std::vector<short> images;
		std::vector<bool> editable;
		std::string folder;
	} cases[] = {
		{"click 1\n", {32731}, {false}, "/Kart/old"},
		{"click 104\nexpect enabled 103\ntext 103 \"/typed/ø\"\nclick 1\n", {32731, 32732}, {false, true}, "/typed/ø"},
		{"click 104\nclick 104\nexpect disabled 103\nclick 1\n", {32731, 32732, 32731}, {false, true, false}, "/Kart/old"},
		{"click 102\nfolder \"Kart/ny\"\nexpect disabled 103\nclick 1\n", {32731}, {false}, chosen},
		{"click 104\nclick 102\nfolder \"Kart/ny\"\nclick 1\n", {32731, 32732}, {false, true}, chosen},
		{"click 102\ncancel\nexpect text 103 \"/Kart/old\"\nclick 1\n", {32731}, {false}, "/Kart/old"},
	};
	for (const auto& c : cases) {
		SCOPED_TRACE(c.steps);
		LockProbe p;
		Probe(p, std::string("dialog 32502\n") + c.steps);
		EXPECT_EQ(p.images, c.images);
		EXPECT_EQ(p.editable, c.editable);
		EXPECT_TRUE(p.accepted);
		EXPECT_EQ(p.config->user_import_folder, GS::UniString(c.folder));
	}
}

TEST_F(SettingsDialog, EveryPickerIsSetUpWithItsTypeInBothLanguages)
{
	std::map<short, Int32> expected = {{109, PickerPen}, {110, PickerLayer}, {115, PickerPen}, {116, PickerLayer}, {117, PickerSurface}};
	const struct { short first; Int32 type; } groups[] = {
		{60, PickerPen}, {67, PickerFill}, {74, PickerPen}, {81, PickerBackgroundPen}, {88, PickerSurface}, {95, PickerLayer},
	};
	for (const auto& g : groups)
		for (short i = 0; i < 7; ++i) expected[static_cast<short>(g.first + i)] = g.type;
	for (const short dialog : {SettingsDialogId, SettingsDialogIdNorwegian}) {
		SCOPED_TRACE(dialog);
		LockProbe p;
		p.dialog = dialog;
		Probe(p, "dialog " + std::to_string(dialog) + "\nclick 2\n");
		EXPECT_EQ(p.pickerTypes, expected);
		EXPECT_TRUE(p.toolTips);
		EXPECT_FALSE(p.accepted);
	}
}

} // namespace
