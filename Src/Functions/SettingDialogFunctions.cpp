#include "Functions/SettingDialogFunctions.hpp"

#include "ACAPinc.h"
#include "DG.h"
#include "Helpers/NumberRange.hpp"
#include "generic/Interface.hpp"

namespace {

using Ini = terrain_import_ini;
using Values = Int16 (Ini::*)[TerrainCategoryCount];

// Item numbers of category 0; category i adds i.
constexpr short kIncludeItem = 25;

// A number item, the picker showing the same value, and the values they edit.
struct NumberWithPicker {
	short number;
	short picker;
	Int32 type;
	Values values;
};

const NumberWithPicker kPens = {32, 60, PickerPen, &Ini::pen};
const NumberWithPicker kFillGroups[] = {
	{39, 67, PickerFill, &Ini::fill},
	{46, 74, PickerPen, &Ini::fillpen},
	{53, 81, PickerBackgroundPen, &Ini::bckgrnd},
};

// A picker alone: its value is read back from the picker itself.
struct PickerOnly {
	short picker;
	Int32 type;
	Values values;
};

const PickerOnly kSurfaces = {88, PickerSurface, &Ini::surface};
const PickerOnly kLayers = {95, PickerLayer, &Ini::layer};

// The customs' own items: a pen number with its picker, and a layer picker.
struct CustomsItems {
	short penNumber;
	short penPicker;
	short layerPicker;
	Int16 Ini::*pen;
	Int16 Ini::*layer;
};

const CustomsItems kCustoms2d = {108, 109, 110, &Ini::customs_2d_pen, &Ini::customs_2d_layer};
const CustomsItems kCustomsSurroundings = {114, 115, 116, &Ini::customs_surroundings_pen, &Ini::customs_surroundings_layer};
constexpr short kSecondSurfaceHouses = 117;
constexpr int kHouses = 1;

// Items whose value mirrors another: first..last pair with item + offset.
const struct {
	short first, last, offset;
} kPartners[] = {
	{32, 59, 28}, {60, 87, -28}, {108, 108, 1}, {109, 109, -1}, {114, 114, 1}, {115, 115, -1},
};

short DialogId(void** record) { return *static_cast<short*>(record[SettingsRecordDialogId]); }

void SetUpPicker(short dialog, short item, Int32 type, Int16 value)
{
	API_UCCallbackType control;
	BNZeroMemory(&control, sizeof control);
	control.type = type;
	control.dialogID = dialog;
	control.itemID = item;
	// A failure shows as a picker without a type; the number beside it still edits the value.
	static_cast<void>(kivel::Interface::SetUserControlCallback(&control));
	DGSetItemValLong(dialog, item, value);
}

void SetNumberAndPicker(short dialog, short number, short picker, Int32 type, Int16 value)
{
	DGSetItemValLong(dialog, number, value);
	SetUpPicker(dialog, picker, type, value);
}

// Every number item is held at the 16-bit field's limits, as the settings file reader does.
Int16 ValueOf(short dialog, short item) { return HoldInRange<Int16>(DGGetItemValLong(dialog, item)); }

} // namespace

namespace SettingDialogFunctions {

void InitFunctions(terrain_import_ini* config, void** record)
{
	const short d = DialogId(record);
	DGEnableToolTips();
	for (int i = 0; i < TerrainCategoryCount; ++i) DGSetItemValLong(d, static_cast<short>(kIncludeItem + i), config->include[i] ? 1 : 0);
	DGSetItemValLong(d, 107, config->include_customs_2d ? 1 : 0);
	DGSetItemValLong(d, 113, config->include_customs_surroundings ? 1 : 0);

	for (int i = 0; i < TerrainCategoryCount; ++i)
		SetNumberAndPicker(d, static_cast<short>(kPens.number + i), static_cast<short>(kPens.picker + i), kPens.type, (config->*kPens.values)[i]);
	for (const CustomsItems* c : {&kCustoms2d, &kCustomsSurroundings})
		SetNumberAndPicker(d, c->penNumber, c->penPicker, PickerPen, config->*c->pen);

	for (int i = 0; i < TerrainCategoryCount; ++i)
		for (const NumberWithPicker& g : kFillGroups)
			SetNumberAndPicker(d, static_cast<short>(g.number + i), static_cast<short>(g.picker + i), g.type, (config->*g.values)[i]);

	for (int i = 0; i < TerrainCategoryCount; ++i)
		SetUpPicker(d, static_cast<short>(kSurfaces.picker + i), kSurfaces.type, (config->*kSurfaces.values)[i]);
	SetUpPicker(d, kSecondSurfaceHouses, PickerSurface, config->surface_2[kHouses]);

	for (int i = 0; i < TerrainCategoryCount; ++i)
		SetUpPicker(d, static_cast<short>(kLayers.picker + i), kLayers.type, (config->*kLayers.values)[i]);
	SetUpPicker(d, kCustoms2d.layerPicker, PickerLayer, config->*kCustoms2d.layer);
	SetUpPicker(d, kCustomsSurroundings.layerPicker, PickerLayer, config->*kCustomsSurroundings.layer);
}

short PartnerItem(short item)
{
	for (const auto& p : kPartners)
		if (item >= p.first && item <= p.last) return static_cast<short>(item + p.offset);
	return 0;
}

void ChangeFunctions(terrain_import_ini* /*config*/, void** record, short item)
{
	const short partner = PartnerItem(item);
	if (partner == 0) return;
	const short d = DialogId(record);
	DGSetItemValLong(d, partner, DGGetItemValLong(d, item));
}

void CloseFunctions(terrain_import_ini* config, void** record)
{
	const short d = DialogId(record);
	for (int i = 0; i < TerrainCategoryCount; ++i) {
		(config->*kPens.values)[i] = ValueOf(d, static_cast<short>(kPens.number + i));
		for (const NumberWithPicker& g : kFillGroups) (config->*g.values)[i] = ValueOf(d, static_cast<short>(g.number + i));
		for (const PickerOnly* p : {&kSurfaces, &kLayers}) (config->*p->values)[i] = ValueOf(d, static_cast<short>(p->picker + i));
	}
	for (const CustomsItems* c : {&kCustoms2d, &kCustomsSurroundings}) {
		config->*c->pen = ValueOf(d, c->penNumber);
		config->*c->layer = ValueOf(d, c->layerPicker);
	}
	config->surface_2[kHouses] = ValueOf(d, kSecondSurfaceHouses);
}

} // namespace SettingDialogFunctions
