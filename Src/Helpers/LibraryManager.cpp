#include "Helpers/LibraryManager.hpp"

#include <new>

#include "Helpers/SameLocation.hpp"
#include "generic/LibraryManager.hpp"

namespace {

constexpr const char* kGeneratedFolder = "VELMORA Library";
constexpr const char* kOwnLibrary = "VelmoraLib";

bool IsLoaded(const GS::Array<API_LibraryInfo>& libraries, const IO::Location& folder)
{
	for (const auto& l : libraries)
		if (SameLocation(l.location, folder)) return true;
	return false;
}

// Makes the folder when missing; an error when no folder is there afterwards.
GSErrCode EnsureFolder(const IO::Location& folder)
{
	IO::fileSystem.CreateFolder(folder); // an existing folder is fine
	return IO::fileSystem.IsFolder(folder) ? NoError : APIERR_GENERAL;
}

GSErrCode NewLocation(const IO::Location& from, IO::Location*& out)
{
	out = new (std::nothrow) IO::Location(from);
	return out != nullptr ? NoError : APIERR_MEMFULL;
}

GSErrCode InEmbedded(const GS::Array<API_LibraryInfo>& libraries, int embeddedIndex, IO::Location*& out)
{
	if (embeddedIndex < 0 || static_cast<UInt32>(embeddedIndex) >= libraries.GetSize()) return APIERR_NOLIB;
	IO::Location folder = libraries[static_cast<UInt32>(embeddedIndex)].location;
	if (folder.AppendToLocal(IO::Name(kGeneratedFolder)) != NoError) return APIERR_GENERAL;
	if (const GSErrCode err = EnsureFolder(folder); err != NoError) return err;
	return NewLocation(folder, out);
}

GSErrCode InUserLibrary(GS::Array<API_LibraryInfo>& libraries, IO::Location*& out)
{
	IO::Location folder;
	if (const GSErrCode err = GetUserLibraryFolder(folder); err != NoError) return err;
	if (folder.AppendToLocal(IO::Name(kGeneratedFolder)) != NoError) return APIERR_GENERAL;
	if (const GSErrCode err = EnsureFolder(folder); err != NoError) return err;
	if (const GSErrCode err = NewLocation(folder, out); err != NoError) return err;
	if (IsLoaded(libraries, folder)) return NoError;
	API_LibraryInfo entry {};
	entry.location = folder;
	entry.name = GS::UniString(kGeneratedFolder);
	entry.libraryType = API_LocalLibrary;
	libraries.Push(entry);
	kivel::LibraryManager::SetLibraries(libraries); // the folder is usable either way
	return NoError;
}

} // namespace

GSErrCode LoadAddOnLibrary(const IO::Location& folder)
{
	GS::Array<API_LibraryInfo> libraries;
	if (const GSErrCode err = kivel::LibraryManager::GetLibraries(libraries); err != NoError) return err;
	if (IsLoaded(libraries, folder)) return NoError;
	const GSErrCode err = kivel::LibraryManager::AddLibrary(folder);
	if (err != NoError) ACAPI_WriteReport("Velmora GDL library could not be loaded", true);
	return err;
}

GSErrCode LoadVelmoraLibrary()
{
	IO::Location folder;
	if (const GSErrCode err = ACAPI_GetOwnLocation(&folder); err != NoError) return err;
	if (folder.DeleteLastLocalName() != NoError || folder.AppendToLocal(IO::Name(kOwnLibrary)) != NoError) return APIERR_GENERAL;
	return LoadAddOnLibrary(folder);
}

GSErrCode GetEmbeddedLocation(IO::Location*& out, bool inEmbedded)
{
	out = nullptr;
	GS::Array<API_LibraryInfo> libraries;
	int embeddedIndex = -1;
	if (const GSErrCode err = kivel::LibraryManager::GetLibraries(libraries, embeddedIndex); err != NoError) return err;
	return inEmbedded ? InEmbedded(libraries, embeddedIndex, out) : InUserLibrary(libraries, out);
}
