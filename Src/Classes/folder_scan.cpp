#include "folder_scan.hpp"

#include <algorithm>

#include "Folder.hpp"
#include "Helpers/CatchAll.hpp"
#include "Location.hpp"

namespace {

constexpr const char* kScanPrefix = "Velmora / folder_scan# ";
constexpr int kGoOn = 0;
constexpr int kStop = 1;

class folder_scan_helper : public IO::TreeEnumerator {
public:
	folder_scan_helper(const IO::Folder& folder, folder_scan* scan) : IO::TreeEnumerator(folder), scan_(scan) {}
	// Called by the host's enumerator: what the listing throws stops it, reported once.
	int FileFound(const IO::Name& name) override { return Found(scan_->collect_files, name); }
	int FolderFound(const IO::Name& name) override { return Found(scan_->collect_folders, name); }

private:
	int Found(bool collect, const IO::Name& name)
	{
		return CatchAll(kScanPrefix, kStop, [&] {
			if (collect) scan_->ItemFound(name.ToString());
			return kGoOn;
		});
	}

	folder_scan* scan_;
};

} // namespace

void folder_scan::list_files(const GS::UniString& path)
{
	folder_scan_cleanup();
	collect_files = true;
	list_target(path);
}

void folder_scan::list_folders(const GS::UniString& path)
{
	folder_scan_cleanup();
	collect_folders = true;
	list_target(path);
}

void folder_scan::list_target(const GS::UniString& path)
{
	const IO::Folder folder(IO::Location(path), IO::Folder::Ignore);
	if (folder.GetStatus() != NoError) return;
	folder_scan_helper helper(folder, this);
	helper.Do();
}

void folder_scan::ItemFound(const GS::UniString& name)
{
	const auto at = std::lower_bound(names.begin(), names.end(), name);
	if (at != names.end() && *at == name) return;
	names.Insert(static_cast<UInt32>(at - names.begin()), name);
}

void folder_scan::folder_scan_cleanup()
{
	names.Clear();
	collect_files = collect_folders = false;
}
