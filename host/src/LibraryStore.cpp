// The library store: loaded library folders, part files, the part-making steps.
#include "vhost/LibraryStore.hpp"

#include <algorithm>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <sstream>

#include "ACAPinc.h"
#include "vhost/Text.hpp"
#include "vhost/Unset.hpp"
#include "NamedCall.hpp"

namespace vhost {

namespace fs = std::filesystem;

namespace {

std::string Normal(const std::string& path)
{
	std::string p = fs::u8path(path).lexically_normal().u8string();
	while (p.size() > 1 && p.back() == '/') p.pop_back();
	return p;
}

bool IsUnder(const std::string& file, const std::string& folder)
{
	const std::string f = Normal(file), d = Normal(folder);
	return f.size() > d.size() && f.compare(0, d.size(), d) == 0 && f[d.size()] == '/';
}

bool IsPicture(const fs::path& p)
{
	std::string ext = p.extension().u8string();
	std::transform(ext.begin(), ext.end(), ext.begin(), [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
	return ext == ".jpg" || ext == ".jpeg" || ext == ".png" || ext == ".gif" || ext == ".tif";
}

// A fixed UTF-16 field as text; false when it has no terminator.
bool FieldText(const GS::UniChar* field, std::size_t size, std::u16string& out)
{
	const GS::UniChar* end = std::find(field, field + size, u'\0');
	if (end == field + size) return false;
	out.assign(field, end);
	return true;
}

bool FieldText(const char* field, std::size_t size, std::string& out)
{
	const char* end = std::find(field, field + size, '\0');
	if (end == field + size) return false;
	out.assign(field, end);
	return true;
}

// Copies text into a fixed field, cut to fit with its terminator.
template <typename C, typename S>
void PutField(C* field, std::size_t size, const S& text)
{
	const std::size_t n = std::min(text.size(), size - 1);
	std::copy(text.begin(), text.begin() + static_cast<std::ptrdiff_t>(n), field);
	field[n] = 0;
}

Int32 AddPart(LibraryPartRecord part)
{
	LibraryStore& s = Library();
	part.index = static_cast<Int32>(s.parts.size()) + 1;
	s.parts.push_back(std::move(part));
	return s.parts.back().index;
}

LibraryPartRecord* KnownByFile(const std::string& file)
{
	for (auto& p : Library().parts)
		if (!p.gone && Normal(p.file) == Normal(file)) return &p;
	return nullptr;
}

// Makes the part files and pictures of a folder known (once each).
void ScanFolder(const std::string& folder)
{
	std::error_code ec;
	std::vector<fs::path> files;
	for (fs::recursive_directory_iterator it(fs::u8path(folder), ec), end; !ec && it != end; it.increment(ec))
		if (it->is_regular_file(ec)) files.push_back(it->path());
	std::sort(files.begin(), files.end());
	for (const fs::path& f : files) {
		const std::string path = f.u8string();
		if (KnownByFile(path) != nullptr) continue;
		LibraryPartRecord part;
		if (f.extension() == kLibPartExtension) {
			std::ifstream in(f, std::ios::binary);
			std::ostringstream text;
			text << in.rdbuf();
			std::string why;
			if (!ParseLibPartFile(text.str(), part, why)) {
				Current().debug.push_back("library: skipped " + path + ": " + why);
				continue;
			}
		} else if (IsPicture(f)) {
			part.typeID = APILib_PictID;
			part.name = vhost::Units(GS::UniString(f.filename().u8string()));
		} else {
			continue;
		}
		part.file = path;
		AddPart(std::move(part));
	}
}

bool IsFolder(const std::string& path)
{
	std::error_code ec;
	return fs::is_directory(fs::u8path(path), ec);
}

LibraryPartRecord* FindLoaded(const std::u16string& name, const std::string& unID, bool onlyPlaceable)
{
	const GS::UniString wanted = vhost::FromUnits(name);
	for (auto& p : Library().parts) {
		if (p.gone || !IsInLoadedLibrary(p.file) || (onlyPlaceable && !p.isPlaceable)) continue;
		const bool hit = !unID.empty() ? GS::UniString(p.ownUnID).IsEqual(GS::UniString(unID), GS::CaseInsensitive)
			: vhost::FromUnits(p.name).IsEqual(wanted, GS::CaseInsensitive);
		if (hit) return &p;
	}
	return nullptr;
}

// A part of that name (in any letter case) whose file lies directly in the folder.
LibraryPartRecord* FindInFolder(const std::u16string& name, const std::string& folder)
{
	const GS::UniString wanted = vhost::FromUnits(name);
	for (auto& p : Library().parts)
		if (!p.gone && Normal(fs::u8path(p.file).parent_path().u8string()) == Normal(folder) &&
		    vhost::FromUnits(p.name).IsEqual(wanted, GS::CaseInsensitive))
			return &p;
	return nullptr;
}

void FillRecord(const LibraryPartRecord& p, API_LibPart* rec)
{
	rec->typeID = static_cast<API_LibTypeID>(p.typeID);
	rec->index = p.index;
	PutField(rec->docu_UName, API_UniLongNameLen, p.name);
	PutField(rec->file_UName, API_UniLongNameLen, vhost::Units(GS::UniString(fs::u8path(p.file).filename().u8string())));
	PutField(rec->ownUnID, API_GuidStrLen, p.ownUnID);
	PutField(rec->parentUnID, API_GuidStrLen, p.parentUnID);
	rec->isTemplate = p.isTemplate;
	rec->isPlaceable = p.isPlaceable;
	const IO::Location loc(p.file.c_str());
	if (rec->location != nullptr) *rec->location = loc;
	else rec->location = new IO::Location(loc);
}

GSErrCode WritePartFile(const LibraryPartRecord& part)
{
	if (const GSErrCode fault = FaultFor("ACAPI_LibraryPart_Save", part.file); fault != NoError) return fault;
	std::ofstream out(fs::u8path(part.file), std::ios::binary | std::ios::trunc);
	out << FormatLibPartFile(part);
	return out ? NoError : APIERR_GENERAL;
}

} // namespace

LibraryStore& Library()
{
	LibraryStore& s = Current().library;
	if (!s.started) {
		s.started = true;
		const std::string embedded = EmbeddedLibraryFolder();
		if (!embedded.empty()) {
			s.libraries.push_back({Normal(embedded), "Embedded Library", API_EmbeddedLibrary});
			ScanFolder(embedded);
		}
	}
	return s;
}

LibraryPartRecord* PartByIndex(Int32 index)
{
	auto& parts = Library().parts;
	if (index < 1 || static_cast<std::size_t>(index) > parts.size() || parts[index - 1].gone) return nullptr;
	return &parts[static_cast<std::size_t>(index) - 1];
}

bool IsInLoadedLibrary(const std::string& file)
{
	for (const auto& l : Library().libraries)
		if (IsUnder(file, l.path)) return true;
	return false;
}

} // namespace vhost

using vhost::Library;

GSErrCode ACAPI_LibraryManagement_GetLibraries(GS::Array<API_LibraryInfo>* libs, Int32* embeddedLibraryIndex)
{
	const vhost::NamedCall named(__func__);
	if (libs == nullptr) return APIERR_BADPARS;
	if (const GSErrCode fault = vhost::FaultFor("ACAPI_LibraryManagement_GetLibraries"); fault != NoError) return fault;
	libs->Clear();
	if (embeddedLibraryIndex != nullptr) *embeddedLibraryIndex = -1;
	for (const auto& l : Library().libraries) {
		if (l.type == API_EmbeddedLibrary && embeddedLibraryIndex != nullptr) *embeddedLibraryIndex = static_cast<Int32>(libs->GetSize());
		API_LibraryInfo info {};
		info.location = IO::Location(l.path.c_str());
		info.name = GS::UniString(l.name);
		info.libraryType = static_cast<API_LibraryTypeID>(l.type);
		libs->Push(info);
	}
	return NoError;
}

GSErrCode ACAPI_LibraryManagement_SetLibraries(const GS::Array<API_LibraryInfo>* libs)
{
	const vhost::NamedCall named(__func__);
	if (libs == nullptr) return APIERR_BADPARS;
	if (const GSErrCode fault = vhost::FaultFor("ACAPI_LibraryManagement_SetLibraries"); fault != NoError) return fault;
	for (const auto& info : *libs)
		if (info.location.IsEmpty() || !vhost::IsFolder(vhost::PathOf(info.location))) return APIERR_BADPARS;
	vhost::LibraryStore& s = Library();
	std::vector<vhost::LibraryFolder> next;
	for (const auto& l : s.libraries)
		if (l.type == API_EmbeddedLibrary) next.push_back(l);
	std::vector<std::string> added;
	for (const auto& info : *libs) {
		const std::string path = vhost::Normal(vhost::PathOf(info.location));
		if (std::any_of(next.begin(), next.end(), [&](const vhost::LibraryFolder& l) { return l.path == path; })) continue;
		const bool wasLoaded = std::any_of(s.libraries.begin(), s.libraries.end(), [&](const vhost::LibraryFolder& l) { return l.path == path; });
		const Int32 type = info.libraryType == API_EmbeddedLibrary ? API_LocalLibrary : info.libraryType;
		next.push_back({path, vhost::ToUtf8(info.name), type});
		if (!wasLoaded) added.push_back(path);
	}
	s.libraries = next;
	for (const auto& path : added) vhost::ScanFolder(path);
	return NoError;
}

GSErrCode ACAPI_LibraryManagement_AddLibraries(const IO::Location* folder)
{
	const vhost::NamedCall named(__func__);
	if (folder == nullptr || folder->IsEmpty() || !vhost::IsFolder(vhost::PathOf(*folder))) return APIERR_BADPARS;
	if (const GSErrCode fault = vhost::FaultFor("ACAPI_LibraryManagement_AddLibraries", vhost::PathOf(*folder)); fault != NoError) return fault;
	vhost::LibraryStore& s = Library();
	const std::string path = vhost::Normal(vhost::PathOf(*folder));
	for (const auto& l : s.libraries)
		if (l.path == path) return NoError;
	s.libraries.push_back({path, vhost::fs::u8path(path).filename().u8string(), API_LocalLibrary});
	vhost::ScanFolder(path);
	return NoError;
}

GSErrCode ACAPI_LibraryManagement_OverwriteLibPart(bool overwrite)
{
	const vhost::NamedCall named(__func__);
	Library().overwrite = overwrite;
	return NoError;
}

GSErrCode ACAPI_LibraryManagement_CopyFilesIntoLibrary(const IO::Location& folder, const GS::Array<IO::Location>& files, bool overwrite)
{
	std::error_code ec;
	const vhost::fs::path target = vhost::fs::u8path(vhost::PathOf(folder));
	if (folder.IsEmpty()) return APIERR_BADPARS;
	vhost::fs::create_directories(target, ec);
	if (!vhost::IsFolder(target.u8string())) return APIERR_BADPARS;
	GSErrCode result = NoError;
	for (const auto& file : files) {
		const vhost::fs::path from = vhost::fs::u8path(vhost::PathOf(file));
		const vhost::fs::path to = target / from.filename();
		if (!overwrite && vhost::fs::exists(to, ec)) { result = APIERR_NAMEALREADYUSED; continue; }
		const auto opts = overwrite ? vhost::fs::copy_options::overwrite_existing : vhost::fs::copy_options::none;
		if (vhost::FaultFor("ACAPI_LibraryManagement_CopyFilesIntoLibrary", from.u8string()) != NoError ||
			!vhost::fs::copy_file(from, to, opts, ec))
			result = APIERR_GENERAL;
	}
	return result;
}

namespace vhost {
namespace {

// The name fields of a handed part that a call reads, and whether one was never written.
GSErrCode CheckPartNamesSet(const char* call, const API_LibPart& part)
{
	if (UnterminatedFill(part.ownUnID, API_GuidStrLen)) return RefuseUnset(call, "ownUnID");
	if (UnterminatedFill(part.docu_UName, API_UniLongNameLen)) return RefuseUnset(call, "docu_UName");
	return NoError;
}

// The location a call writes the part's file into when it is set.
GSErrCode CheckLocationSet(const char* call, const API_LibPart& part)
{
	static const RecordField location[] = {VHOST_FIELD(API_LibPart, location)};
	return CheckFieldsSet(call, &part, location);
}

// What Create keeps of a new part: its kind, flags and names, and where it goes.
GSErrCode CheckNewPartSet(const API_LibPart& part)
{
	const char* call = "ACAPI_LibraryPart_Create";
	static const RecordField fields[] = {VHOST_FIELD(API_LibPart, typeID), VHOST_FIELD(API_LibPart, isTemplate),
		VHOST_FIELD(API_LibPart, isPlaceable), VHOST_FIELD(API_LibPart, location)};
	if (const GSErrCode err = CheckFieldsSet(call, &part, fields)) return err;
	if (const GSErrCode err = CheckPartNamesSet(call, part)) return err;
	return UnterminatedFill(part.parentUnID, API_GuidStrLen) ? RefuseUnset(call, "parentUnID") : NoError;
}

// The section a call names by its type and sub-identifier.
GSErrCode CheckSectionSet(const char* call, const API_LibPartSection& section)
{
	static const RecordField fields[] = {VHOST_FIELD(API_LibPartSection, sectType), VHOST_FIELD(API_LibPartSection, subIdent)};
	return CheckFieldsSet(call, &section, fields);
}

} // namespace
} // namespace vhost

GSErrCode ACAPI_LibraryPart_Search(API_LibPart* ancestor, bool createIfMissing, bool onlyPlaceable)
{
	if (ancestor == nullptr) return APIERR_BADPARS;
	if (const GSErrCode err = vhost::CheckPartNamesSet("ACAPI_LibraryPart_Search", *ancestor)) return err;
	if (const GSErrCode err = vhost::CheckLocationSet("ACAPI_LibraryPart_Search", *ancestor)) return err;
	std::u16string name;
	std::string unID;
	if (!vhost::FieldText(ancestor->ownUnID, API_GuidStrLen, unID) || !vhost::FieldText(ancestor->docu_UName, API_UniLongNameLen, name))
		return APIERR_BADPARS;
	if (unID.empty() && name.empty()) return APIERR_BADPARS;
	const vhost::LibraryPartRecord* p = vhost::FindLoaded(name, unID, onlyPlaceable);
	if (p == nullptr) return createIfMissing ? APIERR_NOTSUPPORTED : APIERR_BADNAME;
	vhost::FillRecord(*p, ancestor);
	return NoError;
}

GSErrCode ACAPI_LibraryPart_Get(API_LibPart* libPart)
{
	const vhost::NamedCall named(__func__);
	if (libPart == nullptr) return APIERR_BADPARS;
	static const vhost::RecordField index[] = {VHOST_FIELD(API_LibPart, index)};
	if (const GSErrCode err = vhost::CheckFieldsSet("ACAPI_LibraryPart_Get", libPart, index)) return err;
	if (const GSErrCode err = vhost::CheckLocationSet("ACAPI_LibraryPart_Get", *libPart)) return err;
	const vhost::LibraryPartRecord* p = vhost::PartByIndex(libPart->index);
	if (p == nullptr) return APIERR_BADINDEX;
	vhost::FillRecord(*p, libPart);
	return NoError;
}

GSErrCode ACAPI_LibraryPart_GetNum(Int32* count)
{
	const vhost::NamedCall named(__func__);
	if (count == nullptr) return APIERR_BADPARS;
	*count = static_cast<Int32>(Library().parts.size());
	return NoError;
}

GSErrCode ACAPI_LibraryPart_GetSectionList(Int32 libInd, Int32* nSection, API_LibPartSection*** sections)
{
	if (nSection == nullptr || sections == nullptr) return APIERR_BADPARS;
	const vhost::LibraryPartRecord* p = vhost::PartByIndex(libInd);
	if (p == nullptr) return APIERR_BADINDEX;
	const auto n = static_cast<Int32>(p->sections.size());
	GSHandle h = BMAllocateHandle(n * static_cast<Int32>(sizeof(API_LibPartSection)), ALLOCATE_CLEAR, 0);
	if (h == nullptr) return APIERR_MEMFULL;
	auto* out = reinterpret_cast<API_LibPartSection*>(*h);
	for (Int32 i = 0; i < n; ++i) out[i] = API_LibPartSection{p->sections[static_cast<std::size_t>(i)].type, p->sections[static_cast<std::size_t>(i)].subIdent};
	*nSection = n;
	*sections = reinterpret_cast<API_LibPartSection**>(h);
	return NoError;
}

GSErrCode ACAPI_LibraryPart_GetSection(Int32 libInd, API_LibPartSection* section, GSHandle* sectionHdl, GS::UniString* sectionStr, const GS::UniString* password)
{
	if (section == nullptr || sectionHdl == nullptr) return APIERR_BADPARS;
	if (const GSErrCode err = vhost::CheckSectionSet("ACAPI_LibraryPart_GetSection", *section)) return err;
	if (password != nullptr) return APIERR_NOTSUPPORTED;
	const vhost::LibraryPartRecord* p = vhost::PartByIndex(libInd);
	if (p == nullptr) return APIERR_BADINDEX;
	for (const auto& s : p->sections) {
		if (s.type != section->sectType || s.subIdent != section->subIdent) continue;
		GSHandle h = BMAllocateHandle(static_cast<Int32>(s.bytes.size()), 0, 0);
		if (h == nullptr) return APIERR_MEMFULL;
		std::memcpy(*h, s.bytes.data(), s.bytes.size());
		*sectionHdl = h;
		if (sectionStr != nullptr) *sectionStr = GS::UniString(s.bytes);
		return NoError;
	}
	return APIERR_NOLIBSECT;
}

GSErrCode ACAPI_LibraryPart_UpdateSection(Int32, const API_LibPartSection*, GSHandle, GS::UniString*, const GS::UniString*)
{
	return APIERR_NOTSUPPORTED;
}

GSErrCode ACAPI_LibraryPart_Create(const API_LibPart* libPart)
{
	vhost::LibraryStore& s = Library();
	if (libPart == nullptr) return APIERR_BADPARS;
	if (const GSErrCode err = vhost::CheckNewPartSet(*libPart)) return err;
	if (libPart->location == nullptr || libPart->location->IsEmpty()) return APIERR_BADPARS;
	if (const GSErrCode fault = vhost::FaultFor("ACAPI_LibraryPart_Create", vhost::PathOf(*libPart->location)); fault != NoError)
		return fault;
	// A part still open from an earlier Create was never saved: it is dropped, nothing of it
	// reaches the disk.
	if (s.creating) {
		vhost::Current().debug.push_back("ACAPI_LibraryPart_Create: dropped the unsaved part \"" + vhost::Utf16ToUtf8(s.pending.name) + "\"");
		s.creating = false;
		s.sectionOpen = false;
		s.pending = vhost::LibraryPartRecord();
	}
	vhost::LibraryPartRecord part;
	if (!vhost::FieldText(libPart->docu_UName, API_UniLongNameLen, part.name) || part.name.empty() ||
		part.name.find(u'/') != std::u16string::npos)
		return APIERR_BADNAME;
	if (!vhost::FieldText(libPart->ownUnID, API_GuidStrLen, part.ownUnID) ||
		!vhost::FieldText(libPart->parentUnID, API_GuidStrLen, part.parentUnID))
		return APIERR_BADPARS;
	const std::string where = vhost::PathOf(*libPart->location);
	part.file = vhost::IsFolder(where) ? where + "/" + vhost::Utf16ToUtf8(part.name) + vhost::kLibPartExtension : where;
	if (!vhost::IsFolder(vhost::fs::u8path(part.file).parent_path().u8string())) return APIERR_BADPARS;
	// The part's file must be one the file system can name.
	const std::size_t fileName = vhost::fs::u8path(part.file).filename().u8string().size();
	if (fileName > vhost::kLongestFileName) {
		vhost::Current().debug.push_back("ACAPI_LibraryPart_Create: the part's file name has " + std::to_string(fileName) +
		                                 " bytes, more than " + std::to_string(vhost::kLongestFileName));
		return APIERR_BADNAME;
	}
	part.typeID = libPart->typeID;
	part.isTemplate = libPart->isTemplate;
	part.isPlaceable = libPart->isPlaceable;
	// A part of that name anywhere loaded clashes; overwrite replaces only one in the folder
	// being written to, and a namesake in another library stays.
	const vhost::LibraryPartRecord* same = vhost::KnownByFile(part.file);
	if (same == nullptr) same = vhost::FindInFolder(part.name, vhost::fs::u8path(part.file).parent_path().u8string());
	std::error_code ec;
	const bool clash = same != nullptr || vhost::FindLoaded(part.name, "", false) != nullptr ||
		vhost::fs::exists(vhost::fs::u8path(part.file), ec);
	if (clash && !s.overwrite) return APIERR_NAMEALREADYUSED;
	part.replaces = same != nullptr ? same->index : 0;
	s.pending = part;
	s.creating = true;
	s.sectionOpen = false;
	return NoError;
}

GSErrCode ACAPI_LibraryPart_NewSection(const API_LibPartSection* section)
{
	vhost::LibraryStore& s = Library();
	if (section == nullptr) return APIERR_BADPARS;
	if (const GSErrCode err = vhost::CheckSectionSet("ACAPI_LibraryPart_NewSection", *section)) return err;
	if (!s.creating || s.sectionOpen) return APIERR_REFUSEDCMD;
	if (const GSErrCode fault = vhost::FaultFor("ACAPI_LibraryPart_NewSection"); fault != NoError) return fault;
	s.openSection = vhost::LibrarySectionRecord{section->sectType, section->subIdent, {}};
	s.sectionOpen = true;
	return NoError;
}

GSErrCode ACAPI_LibraryPart_WriteSection(Int32 nByte, GSConstPtr data)
{
	vhost::LibraryStore& s = Library();
	if (nByte < 0 || (nByte > 0 && data == nullptr)) return APIERR_BADPARS;
	if (!s.sectionOpen) return APIERR_REFUSEDCMD;
	if (const GSErrCode fault = vhost::FaultFor("ACAPI_LibraryPart_WriteSection"); fault != NoError) return fault;
	s.openSection.bytes.append(data, static_cast<std::size_t>(nByte));
	return NoError;
}

GSErrCode ACAPI_LibraryPart_EndSection()
{
	vhost::LibraryStore& s = Library();
	if (!s.sectionOpen) return APIERR_REFUSEDCMD;
	s.pending.sections.push_back(s.openSection);
	s.sectionOpen = false;
	return NoError;
}

GSErrCode ACAPI_LibraryPart_AddSection(const API_LibPartSection* section, GSConstHandle sectionHdl, const GS::UniString* sectionStr)
{
	vhost::LibraryStore& s = Library();
	if (section == nullptr || sectionHdl == nullptr) return APIERR_BADPARS;
	if (const GSErrCode err = vhost::CheckSectionSet("ACAPI_LibraryPart_AddSection", *section)) return err;
	if (sectionStr != nullptr) return APIERR_NOTSUPPORTED;
	if (!s.creating || s.sectionOpen) return APIERR_REFUSEDCMD;
	if (const GSErrCode fault = vhost::FaultFor("ACAPI_LibraryPart_AddSection"); fault != NoError) return fault;
	const Int32 size = BMGetHandleSize(sectionHdl);
	s.pending.sections.push_back({section->sectType, section->subIdent, std::string(*sectionHdl, static_cast<std::size_t>(size))});
	return NoError;
}

GSErrCode ACAPI_LibraryPart_Save(API_LibPart* libPart)
{
	vhost::LibraryStore& s = Library();
	if (libPart != nullptr)
		if (const GSErrCode err = vhost::CheckLocationSet("ACAPI_LibraryPart_Save", *libPart)) return err;
	if (!s.creating) return APIERR_REFUSEDCMD;
	if (s.sectionOpen) ACAPI_LibraryPart_EndSection();
	vhost::LibraryPartRecord part = s.pending;
	s.creating = false;
	s.pending = vhost::LibraryPartRecord();
	if (const GSErrCode err = vhost::WritePartFile(part); err != NoError) return err;
	Int32 index = 0;
	if (vhost::LibraryPartRecord* old = vhost::PartByIndex(part.replaces)) {
		std::error_code ec;
		if (vhost::Normal(old->file) != vhost::Normal(part.file)) vhost::fs::remove(vhost::fs::u8path(old->file), ec);
		index = old->index;
		part.index = index;
		part.replaces = 0;
		*old = part;
	} else {
		part.replaces = 0;
		index = vhost::AddPart(part);
	}
	if (libPart != nullptr) {
		libPart->index = index;
		if (libPart->location != nullptr) *libPart->location = IO::Location(part.file.c_str());
	}
	return NoError;
}

GSErrCode ACAPI_LibraryPart_Register(API_LibPart* libPart)
{
	if (libPart == nullptr) return APIERR_BADPARS;
	static const vhost::RecordField fields[] = {VHOST_FIELD(API_LibPart, typeID), VHOST_FIELD(API_LibPart, location)};
	if (const GSErrCode err = vhost::CheckFieldsSet("ACAPI_LibraryPart_Register", libPart, fields)) return err;
	if (vhost::UnterminatedFill(libPart->docu_UName, API_UniLongNameLen)) return vhost::RefuseUnset("ACAPI_LibraryPart_Register", "docu_UName");
	if (libPart->location == nullptr) return APIERR_BADPARS;
	const std::string file = vhost::PathOf(*libPart->location);
	std::error_code ec;
	if (!vhost::fs::is_regular_file(vhost::fs::u8path(file), ec)) return APIERR_BADPARS;
	if (const vhost::LibraryPartRecord* known = vhost::KnownByFile(file)) {
		libPart->index = known->index;
		return NoError;
	}
	vhost::LibraryPartRecord part;
	if (!vhost::FieldText(libPart->docu_UName, API_UniLongNameLen, part.name)) return APIERR_BADNAME;
	if (part.name.empty()) part.name = vhost::Units(GS::UniString(vhost::fs::u8path(file).filename().u8string()));
	part.typeID = libPart->typeID;
	part.file = file;
	libPart->index = vhost::AddPart(part);
	return NoError;
}

GSErrCode ACAPI_LibraryPart_CompareLibPartUnIds(const char* unID1, const char* unID2)
{
	const vhost::NamedCall named(__func__);
	if (unID1 == nullptr || unID2 == nullptr) return APIERR_BADPARS;
	// "{main}-{revision}": the main identity is the first 38 characters.
	const GS::UniString a(unID1), b(unID2);
	if (!a.GetPrefix(38).IsEqual(b.GetPrefix(38), GS::CaseInsensitive)) return APIERR_NOTEQUALMAIN;
	return a.IsEqual(b, GS::CaseInsensitive) ? NoError : APIERR_NOTEQUALREVISION;
}

GSErrCode ACAPI_LibraryPart_GetBuiltInLibpartUnId(short, char*) { return vhost::NotModelled(__func__); }
GSErrCode ACAPI_AddOnIntegration_RegisterBuiltInLibrary() { return vhost::NotModelled(__func__); }
GSErrCode ACAPI_LibraryPart_OpenParameters(API_ParamOwnerType*) { return vhost::NotModelled(__func__); }
GSErrCode ACAPI_LibraryPart_CloseParameters() { return vhost::NotModelled(__func__); }
GSErrCode ACAPI_LibraryPart_GetActParameters(API_GetParamsType*) { return vhost::NotModelled(__func__); }
GSErrCode ACAPI_LibraryPart_GetParamValues(API_GetParamValuesType*) { return vhost::NotModelled(__func__); }
GSErrCode ACAPI_LibraryPart_ChangeAParameter(API_ChangeParamType*) { return vhost::NotModelled(__func__); }
