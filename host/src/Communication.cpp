// Calls between add-ons: parameter lists and the registry of fake add-ons that answer
// commands. Calls from another project or from the event loop are not modelled.
#include <algorithm>
#include <cstring>
#include <map>
#include <memory>

#include "ACAPinc.h"
#include "vhost/Text.hpp"
#include "vhost/Unset.hpp"
#include "vhost/Elements.hpp"
#include "NamedCall.hpp"

namespace vhost {

namespace {

struct ParamEntry {
	std::string name;
	API_MDCLParameterType type = MDCLPar_int;
	Int32 intValue = 0;
	double floatValue = 0.0;
	std::string text;
	void* pointer = nullptr;
};

using ParamList = std::vector<ParamEntry>;

// Live lists by handle; the handle's bytes hold nothing the add-on may read.
std::map<GSConstHandle, std::unique_ptr<ParamList>>& Lists()
{
	static std::map<GSConstHandle, std::unique_ptr<ParamList>> lists;
	return lists;
}

ParamList* ListOf(GSConstHandle h)
{
	const auto it = Lists().find(h);
	return it == Lists().end() ? nullptr : it->second.get();
}

bool KnownType(Int32 t) { return t >= MDCLPar_string && t <= MDCLPar_pointer; }

// The entry the record names: by name when it has one, else by its 1-based index.
ParamEntry* Lookup(ParamList& list, const API_MDCLParameter& par, GSErrCode& err)
{
	if (par.name != nullptr && par.name[0] != 0) {
		const auto it = std::find_if(list.begin(), list.end(), [&](const ParamEntry& e) { return e.name == par.name; });
		err = it == list.end() ? APIERR_BADNAME : NoError;
		return it == list.end() ? nullptr : &*it;
	}
	const bool inside = par.index >= 1 && static_cast<std::size_t>(par.index) <= list.size();
	err = inside ? NoError : APIERR_BADINDEX;
	return inside ? &list[static_cast<std::size_t>(par.index) - 1] : nullptr;
}

// The value field of each known type, in the order of the types.
const RecordField kValueOfType[] = {VHOST_FIELD(API_MDCLParameter, string_par), VHOST_FIELD(API_MDCLParameter, int_par),
	VHOST_FIELD(API_MDCLParameter, float_par), VHOST_FIELD(API_MDCLParameter, ptr_par)};

// Takes the value of the record's type (a known one) from its field, and only that field: the
// record's other value fields need not be set. Refuses a value field never set.
GSErrCode SetValue(const char* call, ParamEntry& e, const API_MDCLParameter& par)
{
	if (const GSErrCode err = CheckFieldsSet(call, &par, &kValueOfType[par.type - MDCLPar_string], 1)) return err;
	ParamEntry fresh;
	fresh.name = e.name;
	fresh.type = e.type;
	e = fresh;
	switch (par.type) {
		case MDCLPar_string: e.text = par.string_par != nullptr ? par.string_par : ""; break;
		case MDCLPar_int: e.intValue = par.int_par; break;
		case MDCLPar_float: e.floatValue = par.float_par; break;
		default: e.pointer = par.ptr_par; break;
	}
	return NoError;
}

std::string EntryText(const ParamEntry& e)
{
	switch (e.type) {
		case MDCLPar_string: return e.name + "=\"" + e.text + "\"";
		case MDCLPar_int: return e.name + "=" + std::to_string(e.intValue);
		case MDCLPar_float: return e.name + "=" + vhost::NumberText(e.floatValue, std::chars_format::fixed, 6);
		default: return e.name + "=<pointer>";
	}
}

// The add-on a call names, by both parts of its identity.
GSErrCode CheckModulSet(const char* call, const API_ModulID& mdid)
{
	static const RecordField id[] = {VHOST_FIELD(API_ModulID, developerID), VHOST_FIELD(API_ModulID, localID)};
	return CheckFieldsSet(call, &mdid, id);
}

// The add-on and command served, or the code of what is missing.
const FakeCommand* Served(const API_ModulID* mdid, GSType cmdID, Int32 cmdVersion, GSErrCode& err)
{
	err = APIERR_BADPARS;
	if (mdid == nullptr) return nullptr;
	const auto& addons = Current().fakeAddons;
	const auto addon = std::find_if(addons.begin(), addons.end(),
		[&](const FakeAddon& a) { return a.developerID == mdid->developerID && a.localID == mdid->localID; });
	err = APIERR_MODULNOTINSTALLED;
	if (addon == addons.end()) return nullptr;
	const auto cmd = std::find_if(addon->commands.begin(), addon->commands.end(), [&](const FakeCommand& c) { return c.command == cmdID; });
	err = APIERR_MODULCMDNOTSUPPORTED;
	if (cmd == addon->commands.end()) return nullptr;
	err = cmdVersion < 1 || cmdVersion > cmd->maxVersion ? APIERR_MODULCMDVERSNOTSUPPORTED : NoError;
	return err == NoError ? &*cmd : nullptr;
}

} // namespace

void InstallFakeAddon(const FakeAddon& addon)
{
	RemoveFakeAddon(addon.developerID, addon.localID);
	Current().fakeAddons.push_back(addon);
}

void RemoveFakeAddon(UInt32 developerID, UInt32 localID)
{
	auto& addons = Current().fakeAddons;
	addons.erase(std::remove_if(addons.begin(), addons.end(),
		[&](const FakeAddon& a) { return a.developerID == developerID && a.localID == localID; }), addons.end());
}

} // namespace vhost

GSErrCode ACAPI_AddOnAddOnCommunication_Test(const API_ModulID* mdid, GSType cmdID, Int32 cmdVersion)
{
	const vhost::NamedCall named(__func__);
	GSErrCode err = NoError;
	if (mdid != nullptr)
		if (const GSErrCode unset = vhost::CheckModulSet("ACAPI_AddOnAddOnCommunication_Test", *mdid)) return unset;
	vhost::Served(mdid, cmdID, cmdVersion, err);
	return err;
}

GSErrCode ACAPI_AddOnAddOnCommunication_Call(const API_ModulID* mdid, GSType cmdID, Int32 cmdVersion, GSHandle params, GSPtr resultData, bool silentMode)
{
	if (mdid == nullptr) return APIERR_BADPARS;
	if (const GSErrCode unset = vhost::CheckModulSet("ACAPI_AddOnAddOnCommunication_Call", *mdid)) return unset;
	if (params != nullptr && vhost::ListOf(params) == nullptr) return APIERR_BADPARS;
	vhost::AddonCallRecord record{mdid->developerID, mdid->localID, cmdID, cmdVersion, {}, NoError};
	if (params != nullptr)
		for (const auto& e : *vhost::ListOf(params)) record.params.push_back(vhost::EntryText(e));
	const vhost::FakeCommand* cmd = nullptr;
	if ((record.result = vhost::FaultFor("ACAPI_AddOnAddOnCommunication_Call")) == NoError)
		cmd = vhost::Served(mdid, cmdID, cmdVersion, record.result);
	if (cmd != nullptr) {
		const vhost::FakeCommandHandler handler = cmd->handler; // the registry may change while it runs
		record.result = vhost::Guarded("add-on command", [&] { return handler(params, resultData, silentMode); });
	}
	vhost::Current().addonCalls.push_back(record);
	return record.result;
}

GSErrCode ACAPI_AddOnAddOnCommunication_ExternalCall(const IO::Location*, const API_ModulID*, GSType, Int32, GSHandle, bool,
	APIModulCommandCallBackProc*) { return vhost::NotModelled(__func__); }
GSErrCode ACAPI_AddOnAddOnCommunication_CallFromEventLoop(const API_ModulID*, GSType, Int32, GSHandle, bool,
	APIModulCommandCallBackProc*) { return vhost::NotModelled(__func__); }
GSErrCode ACAPI_AddOnIntegration_InstallModulCommandHandler(GSType, Int32, APIModulCommandProc*) { return vhost::NotModelled(__func__); }
GSErrCode ACAPI_AddOnAddOnCommunication_RegisterSupportedService(GSType, Int32) { return vhost::NotModelled(__func__); }
GSErrCode ACAPI_AddOnIntegration_RegisterRequiredService(const API_ModulID*, GSType, Int32) { return vhost::NotModelled(__func__); }

GSErrCode ACAPI_AddOnAddOnCommunication_InitMDCLParameterList(GSHandle* params)
{
	const vhost::NamedCall named(__func__);
	if (params == nullptr) return APIERR_BADPARS;
	if (const GSErrCode err = vhost::FaultFor("ACAPI_AddOnAddOnCommunication_InitMDCLParameterList")) return err;
	GSHandle h = BMAllocateHandle(0, ALLOCATE_CLEAR, 0);
	if (h == nullptr) return APIERR_MEMFULL;
	vhost::Lists()[h] = std::make_unique<vhost::ParamList>();
	*params = h;
	return NoError;
}

GSErrCode ACAPI_AddOnAddOnCommunication_FreeMDCLParameterList(GSHandle* params)
{
	const vhost::NamedCall named(__func__);
	if (params == nullptr || *params == nullptr) return NoError;
	const auto it = vhost::Lists().find(*params);
	if (it == vhost::Lists().end()) return APIERR_BADPARS;
	vhost::Lists().erase(it);
	return BMKillHandle(params);
}

GSErrCode ACAPI_AddOnAddOnCommunication_GetMDCLParameterNum(GSHandle params, Int32* nPars)
{
	const vhost::NamedCall named(__func__);
	const vhost::ParamList* list = vhost::ListOf(params);
	if (list == nullptr || nPars == nullptr) return APIERR_BADPARS;
	*nPars = static_cast<Int32>(list->size());
	return NoError;
}

namespace vhost {
namespace {

// The fields of a parameter record that find an entry: its index, else its name.
const RecordField kFindFields[] = {VHOST_FIELD(API_MDCLParameter, index), VHOST_FIELD(API_MDCLParameter, name)};
// And those a new or changed value is read from.
const RecordField kValueFields[] = {VHOST_FIELD(API_MDCLParameter, name), VHOST_FIELD(API_MDCLParameter, type)};

} // namespace
} // namespace vhost

GSErrCode ACAPI_AddOnAddOnCommunication_GetMDCLParameter(GSHandle params, API_MDCLParameter* par)
{
	const vhost::NamedCall named(__func__);
	vhost::ParamList* list = vhost::ListOf(params);
	if (list == nullptr || par == nullptr) return APIERR_BADPARS;
	if (const GSErrCode err = vhost::CheckFieldsSet("ACAPI_AddOnAddOnCommunication_GetMDCLParameter", par, vhost::kFindFields)) return err;
	GSErrCode err = NoError;
	const vhost::ParamEntry* e = vhost::Lookup(*list, *par, err);
	if (e == nullptr) return err;
	par->index = static_cast<Int32>(e - list->data()) + 1;
	par->name = e->name.c_str();
	par->type = e->type;
	par->int_par = e->intValue;
	par->float_par = e->floatValue;
	par->string_par = e->type == MDCLPar_string ? e->text.c_str() : nullptr;
	par->ptr_par = e->pointer;
	return NoError;
}

GSErrCode ACAPI_AddOnAddOnCommunication_AddMDCLParameter(GSHandle params, API_MDCLParameter* par)
{
	const vhost::NamedCall named(__func__);
	vhost::ParamList* list = vhost::ListOf(params);
	if (list != nullptr && par != nullptr)
		if (const GSErrCode err = vhost::CheckFieldsSet("ACAPI_AddOnAddOnCommunication_AddMDCLParameter", par, vhost::kValueFields)) return err;
	if (list == nullptr || par == nullptr || par->name == nullptr || par->name[0] == 0 || !vhost::KnownType(par->type)) return APIERR_BADPARS;
	if (const GSErrCode err = vhost::FaultFor("ACAPI_AddOnAddOnCommunication_AddMDCLParameter")) return err;
	for (const auto& e : *list)
		if (e.name == par->name) return APIERR_NAMEALREADYUSED;
	vhost::ParamEntry entry;
	entry.name = par->name;
	entry.type = par->type;
	if (const GSErrCode err = vhost::SetValue("ACAPI_AddOnAddOnCommunication_AddMDCLParameter", entry, *par)) return err;
	list->push_back(entry);
	par->index = static_cast<Int32>(list->size());
	return NoError;
}

GSErrCode ACAPI_AddOnAddOnCommunication_ChangeMDCLParameter(GSHandle params, API_MDCLParameter* par)
{
	const vhost::NamedCall named(__func__);
	vhost::ParamList* list = vhost::ListOf(params);
	if (list == nullptr || par == nullptr) return APIERR_BADPARS;
	if (const GSErrCode unset = vhost::CheckFieldsSet("ACAPI_AddOnAddOnCommunication_ChangeMDCLParameter", par, vhost::kFindFields)) return unset;
	if (const GSErrCode unset = vhost::CheckFieldsSet("ACAPI_AddOnAddOnCommunication_ChangeMDCLParameter", par, vhost::kValueFields)) return unset;
	GSErrCode err = NoError;
	vhost::ParamEntry* e = vhost::Lookup(*list, *par, err);
	if (e == nullptr) return err;
	if (par->type != e->type) return APIERR_BADPARS;
	return vhost::SetValue("ACAPI_AddOnAddOnCommunication_ChangeMDCLParameter", *e, *par);
}
