// The importer's ortho photos: copied into the embedded library, renamed for the project,
// registered as picture parts and made texture materials.
#include <algorithm>
#include <memory>
#include <string>

#include "APICommon.hpp"
#include "Classes/OrthoPhoto.hpp"
#include "Classes/import_map.hpp"
#include "Helpers/FileNameLength.hpp"
#include "Helpers/GSErrorCodes.hpp"
#include "generic/GenericHelpers.hpp"
#include "generic/LibraryManager.hpp"
#include "generic/LibraryPart.hpp"

namespace {

const char* const kGeneratedFolder = "VELMORA Library";
constexpr Int32 kTextureStatus = 0x1000;
constexpr short kSurfacePercent = 70;
constexpr int kMaterialFill = 2;
constexpr Int32 kMaterialFillColor = 5;
// Numbered names tried for a material whose name another image's material holds.
constexpr int kMaxNumberedNames = 999;

std::string Utf8(const GS::UniString& text) { return std::string(text.ToCStr(GS::CC_UTF8).Get()); }

// The folder of the last embedded library in the list; false when there is none.
bool EmbeddedFolder(const GS::Array<API_LibraryInfo>& libraries, IO::Location& folder)
{
	for (UInt32 i = libraries.GetSize(); i-- > 0;) {
		if (libraries[i].libraryType == API_EmbeddedLibrary) {
			folder = libraries[i].location;
			return true;
		}
	}
	return false;
}

void CopyUtf16(const GS::UniString& text, GS::UniChar* field, USize size)
{
	USize n = 0;
	for (; n < text.GetLength() && n + 1 < size; ++n) field[n] = text[n];
	field[n] = 0;
}

// The index of a material of that name; 0 when there is none. texture receives its image.
Int32 FindMaterial(const GS::UniString& name, IO::Location& texture)
{
	API_Attribute attribute;
	BNZeroMemory(&attribute, sizeof attribute);
	attribute.header.typeID = API_MaterialID;
	GS::UniString searched = name;
	attribute.header.uniStringNamePtr = &searched;
	if (ACAPI_Attribute_Search(&attribute.header) != NoError) return 0;
	attribute.header.uniStringNamePtr = nullptr;
	attribute.material.texture.fileLoc = &texture;
	if (ACAPI_Attribute_Get(&attribute) != NoError) return 0;
	return kivel::GetAttributeIndex(attribute.header.index);
}

// The name the image's material takes: the plain name when it is free or already this image's
// material (reused then: reuse receives its index), else the first free "<name>_<n>".
GS::UniString MaterialName(const GS::UniString& plain, const IO::Location& image, Int32& reuse)
{
	reuse = 0;
	for (int n = 1; n <= kMaxNumberedNames; ++n) {
		const GS::UniString name = n == 1 ? plain : plain + GS::UniString::Printf("_%d", n);
		IO::Location texture;
		const Int32 index = FindMaterial(name, texture);
		if (index == 0) return name;
		if (texture == image) {
			reuse = index;
			return name;
		}
	}
	return GS::UniString();
}

API_RGBColor PenColour(const import_object* const* objects)
{
	API_RGBColor rgb{};
	kivel::GetPenRGB(static_cast<short>(objects != nullptr && objects[0] != nullptr ? objects[0]->bckgrnd : 1), &rgb);
	return rgb;
}

GSErrCode CreateMaterial(const GS::UniString& name, const IO::Location& image, double width, double height,
	const API_RGBColor& surface, Int32& index)
{
	API_Attribute attribute;
	BNZeroMemory(&attribute, sizeof attribute);
	attribute.header.typeID = API_MaterialID;
	std::string name8(name.ToCStr(GS::CC_Default).Get());
	std::size_t cut = std::min(name8.size(), sizeof attribute.header.name - 1);
	while (cut < name8.size() && cut > 0 && (static_cast<unsigned char>(name8[cut]) & 0xC0) == 0x80) --cut;
	name8.copy(attribute.header.name, cut);
	API_MaterialType& m = attribute.material;
	m.surfaceRGB = surface;
	m.ambientPc = kSurfacePercent;
	m.diffusePc = kSurfacePercent;
	m.ffillInd = kivel::CreateAttributeIndex(kMaterialFill);
	m.fillCol = kMaterialFillColor;
	m.texture.status = kTextureStatus;
	m.texture.xSize = width;
	m.texture.ySize = height;
	CopyUtf16(name, m.texture.texName, API_AttrNameLen);
	IO::Location file = image;
	m.texture.fileLoc = &file;
	API_AttributeDef defs{};
	const GSErrCode err = ACAPI_Attribute_Create(&attribute, &defs);
	ACAPI_DisposeAttrDefsHdls(&defs);
	index = kivel::GetAttributeIndex(attribute.header.index);
	return err;
}

// Renames the copy to its import name; an older file of that name is deleted first (a folder
// there is kept, and the move then fails).
GSErrCode MoveOverOlder(const IO::Location& from, const IO::Location& to)
{
	if (IO::fileSystem.Exists(to) && !IO::fileSystem.IsFolder(to))
		if (const GSErrCode err = IO::fileSystem.Delete(to)) return err;
	return IO::fileSystem.Move(from, to);
}

// Names why the copy kept its name: a new name too long for a file, else the host's code.
void ReportNotRenamed(const IO::Location& copy, const IO::Location& moved, GSErrCode err)
{
	IO::Name name;
	moved.GetLastLocalName(&name);
	const std::string from = Utf8(copy.ToDisplayText()), to = Utf8(moved.ToDisplayText());
	if (const std::size_t excess = FileNameExcess(name.ToString()))
		WriteReport_Alert("Ortho photo '%s' could not be renamed to '%s': that file name is %zu bytes longer than the %zu a "
			"file name may have", from.c_str(), to.c_str(), excess, kLongestFileName);
	else
		WriteReport_Alert("Ortho photo '%s' could not be renamed to '%s' *%d:%s:%s*", from.c_str(), to.c_str(), static_cast<int>(err),
			GetGSErrName(err), GetGSErrDetail(err));
}

} // namespace

GSErrCode Importer::OrthoPhotoToEmbedded(import_object** objects, bool makeMaterials, short& surfaceIndex,
	GS::Array<API_LibraryInfo>& libraries)
{
	if (const GSErrCode err = kivel::LibraryManager::GetLibraries(libraries)) {
		libraries.Clear(); // what a failed read left is no list to hand back
		return err;
	}
	IO::Location target;
	if (!EmbeddedFolder(libraries, target)) return NoError;
	target.AppendToLocal(IO::Name(kGeneratedFolder));
	GSErrCode result = ACAPI_LibraryManagement_CopyFilesIntoLibrary(target, options.images, true);
	if (options.images.IsEmpty()) return result;
	const API_RGBColor surface = PenColour(objects);
	for (const IO::Location& image : options.images) {
		IO::Name fileName;
		image.GetLastLocalName(&fileName);
		const OrthoName parsed = ParseOrthoName(fileName.ToString());
		IO::Location copy = target, moved = target;
		copy.AppendToLocal(fileName);
		moved.AppendToLocal(IO::Name(GS::UniString("Velmora_") + parsed.base + "_" + options.name_prefix + ".jpg"));
		// The project's earlier import of this image is replaced.
		if (copy != moved) {
			if (const GSErrCode err = MoveOverOlder(copy, moved)) {
				ReportNotRenamed(copy, moved, err);
				result = err;
				continue;
			}
		}
		API_LibPart picture;
		BNZeroMemory(&picture, sizeof picture);
		picture.typeID = APILib_PictID;
		picture.location = &moved;
		result = kivel::LibraryPart::Register(&picture);

		double width = 0.0, height = 0.0;
		if (!OrthoSizeMetres(parsed.widthText, width) || !OrthoSizeMetres(parsed.heightText, height)) {
			WriteReport_Alert("Ortho photo '%s': its ground size does not read as positive millimetres; no material made",
				Utf8(fileName.ToString()).c_str());
			continue;
		}
		if (!makeMaterials) continue;
		Int32 index = 0;
		const GS::UniString name = MaterialName(GS::UniString("Velmora_") + parsed.base, moved, index);
		if (index == 0) result = CreateMaterial(name, moved, width, height, surface, index);
		if (surfaceIndex == 0) surfaceIndex = static_cast<short>(index);
	}
	return result;
}
