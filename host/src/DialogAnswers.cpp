// Alerts, file types and file or folder dialogs, answered by the UI script.
#include <filesystem>
#include <set>

#include "DG.h"
#include "DialogsInternal.hpp"
#include "vhost/Project.hpp"
#include "vhost/Text.hpp"

namespace {

using namespace vhost;
using namespace vhost::dialogs;
namespace fs = std::filesystem;

std::string Lower(std::string s)
{
	for (char& c : s)
		if (c >= 'A' && c <= 'Z') c = static_cast<char>(c - 'A' + 'a');
	return s;
}

// Why a person could not have chosen path in a dialog of that type; empty when they could.
std::string Unchoosable(DG::FileDialog::Type type, const fs::path& path, const std::vector<std::string>& extensions)
{
	std::error_code ec;
	if (type == DG::FileDialog::OpenFolder) return fs::is_directory(path, ec) ? "" : "no folder " + path.string();
	if (type == DG::FileDialog::Save) return fs::is_directory(path.parent_path(), ec) ? "" : "no folder for " + path.string();
	if (!fs::is_regular_file(path, ec)) return "no file " + path.string();
	if (extensions.empty()) return "";
	const std::string ext = path.has_extension() ? Lower(path.extension().string().substr(1)) : "";
	for (const std::string& e : extensions)
		if (e == ext) return "";
	return path.string() + " does not fit the dialog's filters";
}

} // namespace

const ScriptStep* vhost::dialogs::Answer(const std::set<std::string>& verbs, const std::string& what)
{
	if (Current().scriptBroken) return nullptr;
	const ScriptStep* s = PeekStep();
	if (s == nullptr || verbs.count(s->verb) == 0) {
		BreakScript(s, what + " with no step for it" + (s == nullptr ? "" : " (the script wants '" + s->verb + "')"));
		return nullptr;
	}
	TakeStep();
	return s;
}


short DGAlert(short type, const GS::UniString& title, const GS::UniString& largeText, const GS::UniString& smallText,
	const GS::UniString& button1, const GS::UniString& button2, const GS::UniString& button3)
{
	if (vhost::FaultFor("DGAlert") != NoError) return 0;
	AlertRecord r{type, vhost::ToUtf8(title), vhost::ToUtf8(largeText), vhost::ToUtf8(smallText), {}, 0};
	for (const GS::UniString* b : {&button1, &button2, &button3}) r.buttons.push_back(vhost::ToUtf8(*b));
	while (!r.buttons.empty() && r.buttons.back().empty()) r.buttons.pop_back();
	if (r.buttons.empty()) r.buttons.push_back("OK");
	if (const ScriptStep* s = Answer({"alert"}, "alert \"" + r.title + "\"")) {
		short n = 0;
		if (!ToShort(s->args[0], n) || n < 1 || static_cast<std::size_t>(n) > r.buttons.size() || r.buttons[n - 1].empty())
			BreakScript(s, "alert \"" + r.title + "\" has no button " + s->args[0]);
		else
			r.answer = n;
	}
	Current().alerts.push_back(r);
	return r.answer;
}

namespace FTM {

FileType::FileType(const char* description_, const char* extension_, UInt32 macType_, UInt32 macCreator_, Int32 iconResId_)
	: description(description_ != nullptr ? description_ : ""), extension(extension_ != nullptr ? extension_ : ""),
	  macType(macType_), macCreator(macCreator_), iconResId(iconResId_)
{
}

FileTypeManager::FileTypeManager(const char* name) : name_(name != nullptr ? name : "") {}

TypeID FileTypeManager::SearchForType(const FileType& type, const GroupID& group) const
{
	if (group.id != RootGroup.id) return UnknownType;
	const auto& types = Current().fileTypes;
	for (std::size_t i = 0; i < types.size(); ++i)
		if (types[i].manager == name_ && Lower(types[i].extension) == Lower(type.extension)) return static_cast<TypeID>(i + 1);
	return UnknownType;
}

TypeID FileTypeManager::AddType(const FileType& type, const GroupID& group)
{
	if (type.extension.empty() || group.id != RootGroup.id) return UnknownType;
	if (const TypeID known = SearchForType(type, group)) return known;
	auto& types = Current().fileTypes;
	types.push_back({name_, type.description, type.extension});
	return static_cast<TypeID>(types.size());
}

} // namespace FTM

namespace DG {

FileDialog::FileDialog(Type type) : type_(type) {}

bool FileDialog::AddFilter(FTM::TypeID type, Int32 /*extensionOption*/, const GS::UniString& /*text*/)
{
	const auto& types = Current().fileTypes;
	if (type < 1 || static_cast<std::size_t>(type) > types.size()) return false;
	extensions_.push_back(Lower(types[static_cast<std::size_t>(type) - 1].extension));
	return true;
}

bool FileDialog::Invoke()
{
	selected_ = IO::Location();
	const bool folder = type_ == OpenFolder;
	FileDialogRecord record{folder ? "folder" : "file", vhost::ToUtf8(title_), ""};
	const std::string what = std::string(folder ? "folder" : "file") + " dialog \"" + record.title + "\"";
	const ScriptStep* s = Answer({folder ? "folder" : "file", "cancel"}, what);
	if (s != nullptr && s->verb != "cancel") {
		fs::path path = fs::u8path(s->args[0]);
		if (path.is_relative()) path = fs::u8path(Current().runRoot) / path;
		path = path.lexically_normal();
		if (const std::string why = Unchoosable(type_, path, extensions_); !why.empty()) {
			BreakScript(s, what + ": " + why);
		} else {
			std::string text = path.u8string();
			while (text.size() > 1 && text.back() == '/') text.pop_back();
			record.answer = text;
			selected_ = IO::Location(text.c_str());
		}
	}
	Current().fileDialogs.push_back(record);
	return !selected_.IsEmpty();
}

} // namespace DG
