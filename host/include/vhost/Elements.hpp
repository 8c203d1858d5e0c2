// The element store's own interface: lookups for tests, the checks element creation makes,
// the dump of elements, layers and solid links, the plan drawing, and the fake add-ons
// that answer calls between add-ons.
#ifndef VHOST_ELEMENTS_HPP
#define VHOST_ELEMENTS_HPP

#include <ostream>
#include <string>
#include <string_view>
#include <vector>

#include "APIdefs_Elements.h"
#include "vhost/JsonWriter.hpp"
#include "vhost/Project.hpp"

namespace vhost {

// The stored element of a GUID, or null.
ElementRecord* FindElement(const API_Guid& guid);
// Every stored element of a type, in creation order.
std::vector<const ElementRecord*> ElementsOfType(API_ElemTypeID type);
// The GUID as APIGuidToString writes it, in UTF-8, without its text conversions or a heap
// text (the dump writes one for every element).
class GuidChars {
public:
	explicit GuidChars(const API_Guid& guid);
	std::string_view View() const { return std::string_view(chars_, sizeof chars_); }

private:
	char chars_[36];
};
std::string GuidText(const API_Guid& guid);
// The dump's name of an element type ("Object", "Mesh", "Line", ...); "Type N" for others.
std::string ElemTypeName(Int32 type);

// The name an attribute head carries: *uniStringNamePtr when set, else its 8-bit name field
// (UTF-8). False when the field is not terminated or not valid UTF-8.
bool HeadName(const API_Attr_Head& head, std::u16string& name);
// The head fields every attribute call reads (type, name pointer), and the name field too
// when readsName and the head carries the name itself: NoError, or the call's refusal of the
// first one never set.
GSErrCode CheckHeadSet(const char* call, const API_Attr_Head& head, bool readsName);
// The name in an 8-bit name field, cut on a character boundary so that it fits.
void PutName(const std::u16string& name, char (&field)[API_AttrNameLen]);

// The layer of an index, or null (index 0 and unknown indices name no layer).
const LayerRecord* FindLayer(Int32 index);
// The layers' names by index in UTF-8 (empty for an index that names no layer), made once
// for a walk over many elements.
class LayerNames {
public:
	LayerNames();
	const std::string& Of(Int32 index) const;

private:
	std::vector<std::string> names_;
};

// What Create checks for a mesh beyond the shared checks (layer, finite numbers): counts
// against the memo's tables, heights present, and the outline itself. Answers the code the
// host refuses with, or NoError. Lives in its own source (MeshCheck.cpp).
GSErrCode CheckMesh(const API_Element& element, const API_ElementMemo& memo);

// The checks every polygon of an element passes: at least minPoints points, one contour
// or more, the memo's coordinate, contour-end and arc tables as long as the counts say
// (APIERR_BADPARS), contour ends rising from 0 to nCoords and arcs between existing points
// (APIERR_BADPOLY), finite coordinates (APIERR_BADPARS).
GSErrCode CheckPolygon(const API_Polygon& poly, const API_ElementMemo& memo, Int32 minPoints);

// Members of the project dump: "elements"; "layers" (of "attributes"); "solidLinks";
// "addonCalls" (every call between add-ons).
void DumpElements(JsonWriter& out);
void DumpLayers(JsonWriter& out);
void DumpSolidLinks(JsonWriter& out);
void DumpAddonCalls(JsonWriter& out);
// The project seen from above as SVG, y pointing up, written as the project is walked: mesh
// outlines and level lines; objects whose part holds their geometry (generated parts from the
// rows of numbers of their 3D script, buildings from their vertex, edge and polygon tables)
// as their faces filled in a colour per layer kind, class "object" with data-kind and
// data-guid; other objects as a marker; lines, polylines, arcs, circles and texts. An
// object's label is left to its hover text where it would overlap another.
void WritePlan(std::ostream& out);
// The same as a text.
std::string PlanSvg();

// Fake add-ons. InstallFakeAddon adds (or replaces, by identity) one add-on.
void InstallFakeAddon(const FakeAddon& addon);
void RemoveFakeAddon(UInt32 developerID, UInt32 localID);

// The model-import add-on: identity 0x47732F64 / 0xB27B9755, command 'LOAD' version 1,
// parameters "path" (string), "originalFileName" (string), "LibIndex" (integer, written
// back). It reads the file at "path": a model file of ours,
//   VHOST-MODEL 1
//   objects N          how many objects the import places (default 1)
//   fail CODE          answer CODE instead of importing (decimal or 0x hex)
// and places N objects of one library part named by "originalFileName" (made in the
// embedded library when missing) in an undoable step "Import model" of its own; "LibIndex"
// becomes that part's index. A missing or foreign file answers APIERR_BADPARS. Every new
// project has it installed.
constexpr UInt32 kModelImportDeveloperID = 0x47732F64;
constexpr UInt32 kModelImportLocalID = 0xB27B9755;
constexpr UInt32 kModelImportLoad = 0x4C4F4144; // 'LOAD'
void InstallModelImportAddon();

// Writes a model file of ours for the model-import add-on (objects N, and fail CODE when
// failWith is not NoError). False when it cannot be written.
bool WriteModelFile(const std::string& path, int objects, GSErrCode failWith = NoError);

} // namespace vhost

#endif
