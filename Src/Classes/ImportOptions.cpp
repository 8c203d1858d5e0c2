#include "ImportOptions.hpp"

#include "File.hpp"
#include "Helpers/CatchAll.hpp"

namespace {

const char* const kImageFolders[] = {"Ortofoto", "Arealplan_raster", "Bakgrunnskart"};

bool IsImageName(const IO::Name& name)
{
	IO::Name base = name;
	base.DeleteExtension();
	const GS::UniString upper = base.ToString().ToUpperCase();
	return upper.Contains("SCALE") && upper.Contains("_X") && upper.Contains("_Y") && name.GetExtension().ToUpperCase() == "JPG";
}

bool Opens(const IO::Location& loc) { return IO::File(loc).GetStatus() == NoError; }

// base / names...; kept only when every append works and the file is there.
bool SideFile(const IO::Location& base, std::initializer_list<const char*> names, IO::Location& out)
{
	IO::Location loc = base;
	for (const char* n : names)
		if (loc.AppendToLocal(IO::Name(n)) != NoError) return false;
	if (!Opens(loc)) return false;
	out = loc;
	return true;
}

} // namespace

bool EnumCallBack(const IO::Folder& folder, const IO::Name& name, bool isFolder, void* userData)
{
	return CatchAll("Velmora / EnumCallBack# ", false, [&] {
		if (isFolder || !IsImageName(name)) return true;
		IO::Location loc = folder.GetLocation();
		if (loc.AppendToLocal(name) == NoError) *static_cast<IO::Location*>(userData) = loc;
		return true;
	});
}

ImportOptions GetImportOptions(const import_folder_scan* scan)
{
	ImportOptions options;
	if (scan == nullptr || scan->current == nullptr || scan->user_selection.empty()) return options;
	options.name_prefix = scan->current->name;

	// Every kind of file lies two names below project/3D-modell.
	IO::Location base = scan->user_selection[0].location;
	if (base.DeleteLastLocalName() != NoError || base.DeleteLastLocalName() != NoError) return options;

	SideFile(base, {"Area.json"}, options.area_location);
	SideFile(base, {"Lokalt nullpunkt.txt"}, options.origin_location);
	for (const char* folderName : kImageFolders) {
		IO::Location candidate = base;
		if (candidate.AppendToLocal(IO::Name(folderName)) != NoError) continue;
		const IO::Folder folder(candidate, IO::Folder::Ignore);
		if (folder.Enumerate(EnumCallBack, &candidate) != NoError) continue;
		IO::Name last;
		if (candidate.GetLastLocalName(&last) == NoError && IsImageName(last) && Opens(candidate)) options.images.Push(candidate);
	}
	SideFile(base, {"Vegetasjon", "Vegetasjon.csv"}, options.vegetation_location);
	return options;
}
