// Lists the file names or the sub-folder names of one folder, sorted and without duplicates.
#ifndef VELMORA_FOLDER_SCAN_HPP
#define VELMORA_FOLDER_SCAN_HPP

#include "Array.hpp"
#include "UniString.hpp"

class folder_scan {
public:
	folder_scan() = default;
	// Empty the list, then list the files (or folders) directly in `path`. A missing
	// folder lists nothing. Links are listed as files, never as folders.
	void list_files(const GS::UniString& path);
	void list_folders(const GS::UniString& path);
	void list_target(const GS::UniString& path);
	// Sorted insertion; a name already listed is dropped.
	void ItemFound(const GS::UniString& name);
	void folder_scan_cleanup();

	bool collect_files = false;
	bool collect_folders = false;
	// Ascending by GS::UniString order. Names stay host text from listing to use.
	GS::Array<GS::UniString> names;
};

#endif
