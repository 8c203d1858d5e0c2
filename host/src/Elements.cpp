// The element store: defaults, create, get, change, list, delete, memos, solid links.
#include <algorithm>
#include "vhost/Text.hpp"
#include <cmath>
#include <cstring>

#include "ACAPinc.h"
#include "vhost/Elements.hpp"
#include "vhost/Text.hpp"
#include "vhost/LibraryStore.hpp"
#include "vhost/AttributeIndex.hpp"
#include "vhost/Unset.hpp"

namespace vhost {

namespace {

// What the store knows of one element kind: its check (record and memo), its defaults,
// and which memo tables it keeps.
struct Kind {
	API_ElemTypeID type;
	const char* name;
	GSErrCode (*check)(const API_Element& e, const API_ElementMemo* memo);
	void (*defaults)(API_Element& e);
	bool polygon;   // coords, pends, parcs, vertexIDs
	bool mesh;      // meshPolyZ, level lines
};

bool Finite(double v) { return std::isfinite(v); }
bool Finite(const API_Coord& c) { return Finite(c.x) && Finite(c.y); }

template <typename T>
Int32 Entries(T** h)
{
	return h == nullptr ? 0 : static_cast<Int32>(static_cast<std::size_t>(BMGetHandleSize(reinterpret_cast<GSConstHandle>(h))) / sizeof(T));
}

GSErrCode CheckObject(const API_Element& e, const API_ElementMemo* memo)
{
	const API_ObjectType& o = e.object;
	if (!Finite(o.pos) || !Finite(o.level) || !Finite(o.angle) || !Finite(o.xRatio) || !Finite(o.yRatio)) return APIERR_BADPARS;
	if (PartByIndex(o.libInd) == nullptr) return APIERR_BADINDEX;
	(void)memo;
	return NoError;
}

GSErrCode CheckLine(const API_Element& e, const API_ElementMemo*)
{
	return Finite(e.line.begC) && Finite(e.line.endC) ? NoError : APIERR_BADPARS;
}

GSErrCode CheckPolyLine(const API_Element& e, const API_ElementMemo* memo)
{
	if (memo == nullptr) return APIERR_BADPARS;
	return CheckPolygon(e.polyLine.poly, *memo, 2);
}

GSErrCode CheckArc(const API_Element& e, const API_ElementMemo*)
{
	const API_ArcType& a = e.arc;
	if (!Finite(a.origC) || !Finite(a.begAng) || !Finite(a.endAng) || !Finite(a.r)) return APIERR_BADPARS;
	return a.r > 0.0 ? NoError : APIERR_BADPARS;
}

GSErrCode CheckCircle(const API_Element& e, const API_ElementMemo*)
{
	const API_CircleType& c = e.circle;
	return Finite(c.origC) && Finite(c.r) && c.r > 0.0 ? NoError : APIERR_BADPARS;
}

GSErrCode CheckText(const API_Element& e, const API_ElementMemo* memo)
{
	const API_TextType& t = e.text;
	if (!Finite(t.loc) || !Finite(t.size) || !Finite(t.angle)) return APIERR_BADPARS;
	return memo != nullptr && memo->textContent != nullptr && !memo->textContent->IsEmpty() ? NoError : APIERR_BADPARS;
}

GSErrCode CheckMeshKind(const API_Element& e, const API_ElementMemo* memo)
{
	if (memo == nullptr) return APIERR_BADPARS;
	return CheckMesh(e, *memo);
}

// The tool settings of each kind before the user changes any: pens 1, a mesh's body 1 m
// deep, 2.5 mm text; every other field zero.
void ToolSettings(API_ObjectType& r) { r.pen = 1; }
void ToolSettings(API_MeshType& r)
{
	r.skirtLevel = 1.0;
	r.contPen = r.levelPen = r.sectContPen = r.sectLevelPen = r.fillPen = 1;
}
void ToolSettings(API_LineType& r) { r.linePen = 1; }
void ToolSettings(API_PolyLineType& r) { r.linePen = 1; }
void ToolSettings(API_ArcType& r) { r.linePen = 1; }
void ToolSettings(API_CircleType& r) { r.linePen = 1; }
void ToolSettings(API_TextType& r)
{
	r.pen = 1;
	r.size = 2.5;
}

// Each kind's defaults: its tool settings, the head kept.
template <typename Rec, Rec API_Element::*member>
void Defaults(API_Element& e)
{
	const API_Elem_Head head = e.header;
	Rec& rec = e.*member;
	BNZeroMemory(&rec, sizeof rec);
	ToolSettings(rec);
	e.header = head;
}

const Kind kKinds[] = {
	{API_ObjectID, "Object", CheckObject, Defaults<API_ObjectType, &API_Element::object>, false, false},
	{API_LampID, "Lamp", CheckObject, Defaults<API_ObjectType, &API_Element::lamp>, false, false},
	{API_MeshID, "Mesh", CheckMeshKind, Defaults<API_MeshType, &API_Element::mesh>, true, true},
	{API_LineID, "Line", CheckLine, Defaults<API_LineType, &API_Element::line>, false, false},
	{API_PolyLineID, "PolyLine", CheckPolyLine, Defaults<API_PolyLineType, &API_Element::polyLine>, true, false},
	{API_ArcID, "Arc", CheckArc, Defaults<API_ArcType, &API_Element::arc>, false, false},
	{API_CircleID, "Circle", CheckCircle, Defaults<API_CircleType, &API_Element::circle>, false, false},
	{API_TextID, "Text", CheckText, Defaults<API_TextType, &API_Element::text>, false, false},
};

const Kind* KindOf(Int32 type)
{
	for (const Kind& k : kKinds)
		if (k.type == type) return &k;
	return nullptr;
}

// The code for a type the store does not keep.
GSErrCode UnmodelledType(Int32 type)
{
	return type > API_ZombieElemID && type <= API_PictureID ? APIERR_NOTSUPPORTED : APIERR_BADELEMENTTYPE;
}

// A new GUID from the project's counter: repeatable from run to run.
API_Guid NewElementGuid()
{
	API_Guid g;
	BNZeroMemory(&g, sizeof g);
	g.time_low = ++Current().nextElementSerial;
	g.time_mid = 0xE1E3;
	g.time_hi_and_version = 0x4000;
	g.clock_seq_hi_and_reserved = 0x80;
	const UInt8 node[6] = {'v', 'h', 'o', 's', 't', 0};
	std::copy(node, node + 6, g.node);
	return g;
}

template <typename T>
std::vector<T> Table(T** h, Int32 count)
{
	if (h == nullptr || count <= 0) return {};
	return std::vector<T>(*h, *h + std::min(count, Entries(h)));
}

template <typename T>
T** NewHandle(const std::vector<T>& table)
{
	if (table.empty()) return nullptr;
	GSHandle h = BMAllocateHandle(static_cast<Int32>(table.size() * sizeof(T)), ALLOCATE_CLEAR, 0);
	if (h == nullptr) return nullptr;
	std::memcpy(*h, table.data(), table.size() * sizeof(T));
	return reinterpret_cast<T**>(h);
}

const API_Polygon& PolygonOf(const API_Element& e)
{
	return e.header.type.typeID == API_MeshID ? e.mesh.poly : e.polyLine.poly;
}

// The parameter records of a handle, encoded; APIERR_BADPARS for a malformed record.
GSErrCode EncodeParams(API_AddParType** params, std::string& bytes)
{
	ParamSection section;
	const Int32 n = Entries(params);
	if (n > 0) section.records.assign(*params, *params + n);
	std::string why;
	const GSErrCode err = EncodeParamSection(section, bytes, why);
	if (err != NoError) Current().debug.push_back("element parameters: " + why);
	return err;
}

// An object without memo parameters takes its part's defaults.
GSErrCode PartDefaultParams(Int32 libInd, std::string& bytes)
{
	double a = 0.0, b = 0.0;
	Int32 n = 0;
	API_AddParType** params = nullptr;
	if (ACAPI_LibraryPart_GetParams(libInd, &a, &b, &n, &params) != NoError) return EncodeParams(nullptr, bytes);
	const GSErrCode err = EncodeParams(params, bytes);
	ACAPI_DisposeAddParHdl(&params);
	return err;
}

// Copies what the kind keeps of the memo into the record.
GSErrCode StoreMemo(const Kind& kind, const API_ElementMemo* memo, ElementRecord& r)
{
	const API_Element& e = r.element;
	if (kind.polygon) {
		const API_Polygon& poly = PolygonOf(e);
		r.coords = Table(memo->coords, poly.nCoords + 1);
		r.pends = Table(memo->pends, poly.nSubPolys + 1);
		r.parcs = Table(memo->parcs, poly.nArcs);
		r.vertexIDs = Table(memo->vertexIDs, poly.nCoords + 1);
	}
	if (kind.mesh) {
		r.meshPolyZ = Table(memo->meshPolyZ, e.mesh.poly.nCoords + 1);
		r.meshLevelCoords = Table(memo->meshLevelCoords, e.mesh.levelLines.nCoords);
		r.meshLevelEnds = Table(memo->meshLevelEnds, e.mesh.levelLines.nSubLines);
	}
	if (kind.type == API_TextID) r.text = vhost::Units(*memo->textContent);
	if (kind.type == API_ObjectID || kind.type == API_LampID) {
		if (memo != nullptr && memo->params != nullptr) return EncodeParams(memo->params, r.params);
		return PartDefaultParams(e.object.libInd, r.params);
	}
	return NoError;
}

// The fields of an element record and its memo that the store reads, by kind (0: every kind;
// kPlacedPart: objects and lamps, whose records are of one type, named as an object's).
constexpr Int32 kPlacedPart = -1;
struct KindField {
	Int32 kind;
	RecordField field;
};

const KindField kElementFields[] = {
	{0, VHOST_FIELD(API_Element, header.layer)},
	{0, VHOST_FIELD(API_Element, header.floorInd)},
	{kPlacedPart, VHOST_FIELD(API_Element, object.libInd)},
	{kPlacedPart, VHOST_FIELD(API_Element, object.pos.x)},
	{kPlacedPart, VHOST_FIELD(API_Element, object.pos.y)},
	{kPlacedPart, VHOST_FIELD(API_Element, object.level)},
	{kPlacedPart, VHOST_FIELD(API_Element, object.xRatio)},
	{kPlacedPart, VHOST_FIELD(API_Element, object.yRatio)},
	{kPlacedPart, VHOST_FIELD(API_Element, object.pen)},
	{kPlacedPart, VHOST_FIELD(API_Element, object.reflected)},
	{kPlacedPart, VHOST_FIELD(API_Element, object.useObjPens)},
	{kPlacedPart, VHOST_FIELD(API_Element, object.useObjLtypes)},
	{kPlacedPart, VHOST_FIELD(API_Element, object.angle)},
	{API_MeshID, VHOST_FIELD(API_Element, mesh.poly.nCoords)},
	{API_MeshID, VHOST_FIELD(API_Element, mesh.poly.nSubPolys)},
	{API_MeshID, VHOST_FIELD(API_Element, mesh.poly.nArcs)},
	{API_MeshID, VHOST_FIELD(API_Element, mesh.levelLines.nCoords)},
	{API_MeshID, VHOST_FIELD(API_Element, mesh.levelLines.nSubLines)},
	{API_MeshID, VHOST_FIELD(API_Element, mesh.level)},
	{API_MeshID, VHOST_FIELD(API_Element, mesh.skirtLevel)},
	{API_MeshID, VHOST_FIELD(API_Element, mesh.contPen)},
	{API_MeshID, VHOST_FIELD(API_Element, mesh.levelPen)},
	{API_MeshID, VHOST_FIELD(API_Element, mesh.useSectPens)},
	{API_MeshID, VHOST_FIELD(API_Element, mesh.sectContPen)},
	{API_MeshID, VHOST_FIELD(API_Element, mesh.sectLevelPen)},
	{API_MeshID, VHOST_FIELD(API_Element, mesh.topMat.overridden)},
	{API_MeshID, VHOST_FIELD(API_Element, mesh.topMat.attributeIndex)},
	{API_MeshID, VHOST_FIELD(API_Element, mesh.materialsChained)},
	{API_MeshID, VHOST_FIELD(API_Element, mesh.showLevelLines)},
	{API_MeshID, VHOST_FIELD(API_Element, mesh.skirt)},
	{API_MeshID, VHOST_FIELD(API_Element, mesh.fillPen)},
	{API_MeshID, VHOST_FIELD(API_Element, mesh.fillBGPen)},
	{API_MeshID, VHOST_FIELD(API_Element, mesh.fillInd)},
	{API_LineID, VHOST_FIELD(API_Element, line.linePen)},
	{API_LineID, VHOST_FIELD(API_Element, line.begC.x)},
	{API_LineID, VHOST_FIELD(API_Element, line.begC.y)},
	{API_LineID, VHOST_FIELD(API_Element, line.endC.x)},
	{API_LineID, VHOST_FIELD(API_Element, line.endC.y)},
	{API_PolyLineID, VHOST_FIELD(API_Element, polyLine.linePen)},
	{API_PolyLineID, VHOST_FIELD(API_Element, polyLine.poly.nCoords)},
	{API_PolyLineID, VHOST_FIELD(API_Element, polyLine.poly.nSubPolys)},
	{API_PolyLineID, VHOST_FIELD(API_Element, polyLine.poly.nArcs)},
	{API_ArcID, VHOST_FIELD(API_Element, arc.linePen)},
	{API_ArcID, VHOST_FIELD(API_Element, arc.origC.x)},
	{API_ArcID, VHOST_FIELD(API_Element, arc.origC.y)},
	{API_ArcID, VHOST_FIELD(API_Element, arc.r)},
	{API_ArcID, VHOST_FIELD(API_Element, arc.begAng)},
	{API_ArcID, VHOST_FIELD(API_Element, arc.endAng)},
	{API_CircleID, VHOST_FIELD(API_Element, circle.linePen)},
	{API_CircleID, VHOST_FIELD(API_Element, circle.origC.x)},
	{API_CircleID, VHOST_FIELD(API_Element, circle.origC.y)},
	{API_CircleID, VHOST_FIELD(API_Element, circle.r)},
	{API_TextID, VHOST_FIELD(API_Element, text.pen)},
	{API_TextID, VHOST_FIELD(API_Element, text.size)},
	{API_TextID, VHOST_FIELD(API_Element, text.angle)},
	{API_TextID, VHOST_FIELD(API_Element, text.loc.x)},
	{API_TextID, VHOST_FIELD(API_Element, text.loc.y)},
	{API_TextID, VHOST_FIELD(API_Element, text.nonBreaking)},
	{API_TextID, VHOST_FIELD(API_Element, text.charCode)},
};

// A memo handed to Create is the caller's whole record: every handle in it is set (null
// when the kind takes nothing there), as the host may look at any of them, not only at those
// the kind keeps.
const RecordField kMemoFields[] = {VHOST_FIELD(API_ElementMemo, coords), VHOST_FIELD(API_ElementMemo, pends),
	VHOST_FIELD(API_ElementMemo, parcs), VHOST_FIELD(API_ElementMemo, vertexIDs), VHOST_FIELD(API_ElementMemo, meshPolyZ),
	VHOST_FIELD(API_ElementMemo, meshLevelCoords), VHOST_FIELD(API_ElementMemo, meshLevelEnds),
	VHOST_FIELD(API_ElementMemo, params), VHOST_FIELD(API_ElementMemo, textContent)};

// NoError, or the refusal of the first field of the table that the kind reads and that was
// never set.
template <typename Record, std::size_t N>
GSErrCode CheckKindFieldsSet(const char* call, Int32 kind, const Record& record, const KindField (&fields)[N])
{
	for (const KindField& f : fields)
		if (f.kind == 0 || f.kind == kind || (f.kind == kPlacedPart && (kind == API_ObjectID || kind == API_LampID)))
			if (const GSErrCode err = CheckFieldsSet(call, &record, &f.field, 1)) return err;
	return NoError;
}

// The GUID a call finds a stored element by.
GSErrCode CheckGuidSet(const char* call, const API_Element& e)
{
	static const RecordField guid[] = {VHOST_FIELD(API_Element, header.guid)};
	return CheckFieldsSet(call, &e, guid);
}

// The element's type, read by every call that takes a new record.
GSErrCode CheckTypeSet(const char* call, const API_Element& e)
{
	static const RecordField type[] = {VHOST_FIELD(API_Element, header.type.typeID)};
	return CheckFieldsSet(call, &e, type);
}

// The fields of the record (and of the memo, when there is one) that the kind reads.
GSErrCode CheckElementSet(const char* call, const API_Element& e, const API_ElementMemo* memo)
{
	const Int32 kind = e.header.type.typeID;
	if (const GSErrCode err = CheckKindFieldsSet(call, kind, e, kElementFields)) return err;
	return memo == nullptr ? NoError : CheckFieldsSet(call, memo, kMemoFields);
}

// The memo parts a Change call takes from its memo.
GSErrCode CheckChangeMemoSet(const API_ElementMemo* memo, UInt64 memoMask)
{
	static const RecordField params[] = {VHOST_FIELD(API_ElementMemo, params)};
	static const RecordField text[] = {VHOST_FIELD(API_ElementMemo, textContent)};
	if (memo == nullptr) return NoError;
	if (memoMask & APIMemoMask_AddPars)
		if (const GSErrCode err = CheckFieldsSet("ACAPI_Element_Change", memo, params)) return err;
	return memoMask & APIMemoMask_TextContent ? CheckFieldsSet("ACAPI_Element_Change", memo, text) : NoError;
}

// The checks every element passes: layer and kind.
GSErrCode CheckElement(const Kind& kind, const API_Element& e, const API_ElementMemo* memo)
{
	if (FindLayer(vhost::IndexValue(e.header.layer)) == nullptr) return APIERR_BADINDEX;
	return kind.check(e, memo);
}

bool Is3D(Int32 type) { return type >= API_WallID && type <= API_MeshID; }

GSErrCode DecodeParamsInto(const std::string& bytes, API_AddParType*** out)
{
	ParamSection section;
	std::string why;
	if (const GSErrCode err = DecodeParamSection(bytes, section, why)) return err;
	if (section.records.empty()) return NoError;
	*out = NewHandle(section.records);
	if (*out == nullptr) {
		FreeParamArrays(section.records);
		return APIERR_MEMFULL;
	}
	return NoError;
}

} // namespace

ElementRecord* FindElement(const API_Guid& guid)
{
	for (ElementRecord& r : Current().state.elements)
		if (r.element.header.guid == guid) return &r;
	return nullptr;
}

std::vector<const ElementRecord*> ElementsOfType(API_ElemTypeID type)
{
	std::vector<const ElementRecord*> out;
	for (const ElementRecord& r : Current().state.elements)
		if (r.element.header.type.typeID == type) out.push_back(&r);
	return out;
}

std::string ElemTypeName(Int32 type)
{
	const Kind* k = KindOf(type);
	return k != nullptr ? k->name : "Type " + std::to_string(type);
}

GSErrCode CheckPolygon(const API_Polygon& poly, const API_ElementMemo& memo, Int32 minPoints)
{
	if (poly.nCoords < minPoints || poly.nSubPolys < 1 || poly.nArcs < 0) return APIERR_BADPARS;
	if (Entries(memo.coords) < poly.nCoords + 1 || Entries(memo.pends) < poly.nSubPolys + 1) return APIERR_BADPARS;
	if (poly.nArcs > 0 && Entries(memo.parcs) < poly.nArcs) return APIERR_BADPARS;
	for (Int32 i = 1; i <= poly.nCoords; ++i)
		if (!Finite((*memo.coords)[i])) return APIERR_BADPARS;
	const Int32* ends = *memo.pends;
	if (ends[0] != 0 || ends[poly.nSubPolys] != poly.nCoords) return APIERR_BADPOLY;
	for (Int32 i = 1; i <= poly.nSubPolys; ++i)
		if (ends[i] <= ends[i - 1]) return APIERR_BADPOLY;
	for (Int32 i = 0; i < poly.nArcs; ++i) {
		const API_PolyArc& a = (*memo.parcs)[i];
		if (a.begIndex < 1 || a.endIndex > poly.nCoords || a.begIndex >= a.endIndex || !Finite(a.arcAngle)) return APIERR_BADPOLY;
	}
	return NoError;
}

} // namespace vhost

GSErrCode ACAPI_Element_GetDefaults(API_Element* element, API_ElementMemo* /*memo*/)
{
	if (element == nullptr) return APIERR_BADPARS;
	if (const GSErrCode err = vhost::CheckTypeSet("ACAPI_Element_GetDefaults", *element)) return err;
	const vhost::Kind* kind = vhost::KindOf(element->header.type.typeID);
	if (kind == nullptr) return vhost::UnmodelledType(element->header.type.typeID);
	if (const GSErrCode err = vhost::FaultFor("ACAPI_Element_GetDefaults", kind->name)) return err;
	kind->defaults(*element);
	element->header.guid = APINULLGuid;
	element->header.layer = API_AttributeIndex(1);
	element->header.floorInd = vhost::Current().actStory;
	return NoError;
}

GSErrCode ACAPI_Element_Create(API_Element* element, API_ElementMemo* memo)
{
	if (element == nullptr) return APIERR_BADPARS;
	if (const GSErrCode err = vhost::CheckUndoScope()) return err;
	if (const GSErrCode err = vhost::CheckTypeSet("ACAPI_Element_Create", *element)) return err;
	const vhost::Kind* kind = vhost::KindOf(element->header.type.typeID);
	if (kind == nullptr) return vhost::UnmodelledType(element->header.type.typeID);
	if (const GSErrCode err = vhost::FaultFor("ACAPI_Element_Create", kind->name)) return err;
	if (const GSErrCode err = vhost::CheckElementSet("ACAPI_Element_Create", *element, memo)) return err;
	if (const GSErrCode err = vhost::CheckElement(*kind, *element, memo)) return err;
	vhost::ElementRecord r;
	r.element = *element;
	r.element.header.guid = vhost::NewElementGuid();
	if (const GSErrCode err = vhost::StoreMemo(*kind, memo, r)) return err;
	vhost::Current().state.elements.push_back(r);
	element->header.guid = r.element.header.guid;
	return NoError;
}

GSErrCode ACAPI_Element_Get(API_Element* element, UInt32 /*mask*/)
{
	if (element == nullptr) return APIERR_BADPARS;
	if (const GSErrCode err = vhost::CheckGuidSet("ACAPI_Element_Get", *element)) return err;
	const vhost::ElementRecord* r = vhost::FindElement(element->header.guid);
	if (r == nullptr) return APIERR_BADID;
	*element = r->element;
	return NoError;
}

GSErrCode ACAPI_Element_GetMemo(const API_Guid& guid, API_ElementMemo* memo, UInt64 mask)
{
	if (memo == nullptr) return APIERR_BADPARS;
	const vhost::ElementRecord* r = vhost::FindElement(guid);
	if (r == nullptr) return APIERR_BADID;
	*memo = API_ElementMemo();
	if (mask & APIMemoMask_Polygon) {
		memo->coords = vhost::NewHandle(r->coords);
		memo->pends = vhost::NewHandle(r->pends);
		memo->parcs = vhost::NewHandle(r->parcs);
		memo->vertexIDs = vhost::NewHandle(r->vertexIDs);
	}
	if (mask & APIMemoMask_MeshPolyZ) memo->meshPolyZ = vhost::NewHandle(r->meshPolyZ);
	if (mask & APIMemoMask_MeshLevel) {
		memo->meshLevelCoords = vhost::NewHandle(r->meshLevelCoords);
		memo->meshLevelEnds = vhost::NewHandle(r->meshLevelEnds);
	}
	if ((mask & APIMemoMask_TextContent) && r->element.header.type.typeID == API_TextID) memo->textContent = new GS::UniString(vhost::FromUnits(r->text));
	if ((mask & APIMemoMask_AddPars) && !r->params.empty()) {
		if (const GSErrCode err = vhost::DecodeParamsInto(r->params, &memo->params)) {
			ACAPI_DisposeElemMemoHdls(memo);
			return err;
		}
	}
	return NoError;
}

GSErrCode ACAPI_Element_Change(API_Element* element, const API_Element* mask, const API_ElementMemo* memo, UInt64 memoMask, bool /*withDel*/)
{
	if (element == nullptr) return APIERR_BADPARS;
	if (const GSErrCode err = vhost::CheckUndoScope()) return err;
	if (const GSErrCode err = vhost::CheckGuidSet("ACAPI_Element_Change", *element)) return err;
	vhost::ElementRecord* r = vhost::FindElement(element->header.guid);
	if (r == nullptr) return APIERR_BADID;
	const vhost::Kind& kind = *vhost::KindOf(r->element.header.type.typeID);
	if (const GSErrCode err = vhost::FaultFor("ACAPI_Element_Change")) return err;
	const UInt64 supported = APIMemoMask_AddPars | APIMemoMask_TextContent;
	if (memo == nullptr ? memoMask != 0 : (memoMask & ~supported) != 0) return APIERR_NOTSUPPORTED;

	vhost::ElementRecord changed = *r;
	if (mask != nullptr) {
		// A mask made with ACAPI_ELEMENT_MASK_CLEAR has a zero head GUID; one never cleared holds the fill.
		static const vhost::RecordField maskGuid[] = {{"mask header.guid", offsetof(API_Element, header.guid), sizeof(API_Guid)}};
		if (const GSErrCode err = vhost::CheckFieldsSet("ACAPI_Element_Change", mask, maskGuid)) return err;
		const auto* m = reinterpret_cast<const unsigned char*>(mask);
		const auto* from = reinterpret_cast<const unsigned char*>(element);
		auto* to = reinterpret_cast<unsigned char*>(&changed.element);
		for (std::size_t i = 0; i < sizeof(API_Element); ++i)
			if (m[i] != 0) to[i] = from[i];
	}
	changed.element.header.guid = r->element.header.guid;
	changed.element.header.type = r->element.header.type;
	if (const GSErrCode err = vhost::CheckElementSet("ACAPI_Element_Change", changed.element, nullptr)) return err;
	if (const GSErrCode err = vhost::CheckChangeMemoSet(memo, memoMask)) return err;
	if (kind.polygon && std::memcmp(&vhost::PolygonOf(changed.element), &vhost::PolygonOf(r->element), sizeof(API_Polygon)) != 0)
		return APIERR_NOTSUPPORTED;
	if (kind.mesh && std::memcmp(&changed.element.mesh.levelLines, &r->element.mesh.levelLines, sizeof(API_MeshLevel)) != 0)
		return APIERR_NOTSUPPORTED;

	// The check sees the stored memo, with the memo parts being changed taken from memo.
	API_ElementMemo view;
	BNZeroMemory(&view, sizeof view);
	API_ElementMemo stored;
	BNZeroMemory(&stored, sizeof stored);
	if (const GSErrCode err = ACAPI_Element_GetMemo(r->element.header.guid, &stored, APIMemoMask_All)) return err;
	view = stored;
	if (memoMask & APIMemoMask_TextContent) view.textContent = memo->textContent;
	if (memoMask & APIMemoMask_AddPars) view.params = memo->params;
	GSErrCode err = vhost::CheckElement(kind, changed.element, &view);
	if (err == NoError && (memoMask & APIMemoMask_TextContent)) changed.text = vhost::Units(*memo->textContent);
	if (err == NoError && (memoMask & APIMemoMask_AddPars)) err = vhost::EncodeParams(memo->params, changed.params);
	ACAPI_DisposeElemMemoHdls(&stored);
	if (err != NoError) return err;
	vhost::KeepForUndo(static_cast<std::size_t>(r - vhost::Current().state.elements.data()));
	*r = changed;
	*element = r->element;
	return NoError;
}

GSErrCode ACAPI_Element_GetElemList(const API_ElemType& type, GS::Array<API_Guid>* elemList, API_ElemFilterFlags filterBits,
	API_ElemVariationID, const API_Guid&)
{
	if (elemList == nullptr) return APIERR_BADPARS;
	if ((filterBits & ~(APIFilt_OnVisLayer | APIFilt_OnActFloor)) != 0) return APIERR_NOTSUPPORTED;
	if (type.typeID != API_ZombieElemID && vhost::KindOf(type.typeID) == nullptr && vhost::UnmodelledType(type.typeID) == APIERR_BADELEMENTTYPE)
		return APIERR_BADELEMENTTYPE;
	const vhost::Project& p = vhost::Current();
	elemList->Clear();
	for (const vhost::ElementRecord& r : p.state.elements) {
		const API_Elem_Head& h = r.element.header;
		if (type.typeID != API_ZombieElemID && h.type.typeID != type.typeID) continue;
		const vhost::LayerRecord* layer = vhost::FindLayer(vhost::IndexValue(h.layer));
		if ((filterBits & APIFilt_OnVisLayer) && (layer == nullptr || (layer->flags & APILay_Hidden))) continue;
		if ((filterBits & APIFilt_OnActFloor) && h.floorInd != p.actStory) continue;
		elemList->Push(h.guid);
	}
	return NoError;
}

GSErrCode ACAPI_Element_Delete(const GS::Array<API_Guid>& elemGuids)
{
	if (const GSErrCode err = vhost::CheckUndoScope()) return err;
	for (const API_Guid& g : elemGuids)
		if (vhost::FindElement(g) == nullptr) return APIERR_BADID;
	vhost::KeepForUndo(std::nullopt);
	vhost::UndoableState& s = vhost::Current().state;
	auto gone = [&](const API_Guid& g) { return elemGuids.Contains(g); };
	s.elements.erase(std::remove_if(s.elements.begin(), s.elements.end(),
		[&](const vhost::ElementRecord& r) { return gone(r.element.header.guid); }), s.elements.end());
	s.solidLinks.erase(std::remove_if(s.solidLinks.begin(), s.solidLinks.end(),
		[&](const vhost::SolidLinkRecord& l) { return gone(l.target) || gone(l.operatorElem); }), s.solidLinks.end());
	return NoError;
}

GSErrCode ACAPI_DisposeElemMemoHdls(API_ElementMemo* memo)
{
	if (memo == nullptr) return APIERR_BADPARS;
	// A memo never cleared frees nothing: its handles are not the host's.
	if (const GSErrCode err = vhost::CheckFieldsSet("ACAPI_DisposeElemMemoHdls", memo, vhost::kMemoFields)) return err;
	auto kill = [](auto*& h) {
		GSHandle raw = reinterpret_cast<GSHandle>(h);
		BMKillHandle(&raw);
		h = nullptr;
	};
	kill(memo->coords);
	kill(memo->pends);
	kill(memo->parcs);
	kill(memo->vertexIDs);
	kill(memo->meshPolyZ);
	kill(memo->meshLevelCoords);
	kill(memo->meshLevelEnds);
	ACAPI_DisposeAddParHdl(&memo->params);
	delete memo->textContent;
	memo->textContent = nullptr;
	return NoError;
}

GSErrCode ACAPI_Element_SolidLink_Create(const API_Guid& guidTarget, const API_Guid& guidOperator, API_SolidOperationID operation, GSFlags linkFlags)
{
	if (const GSErrCode err = vhost::CheckUndoScope()) return err;
	if (const GSErrCode fault = vhost::FaultFor("ACAPI_Element_SolidLink_Create"); fault != NoError) return fault;
	const vhost::ElementRecord* target = vhost::FindElement(guidTarget);
	const vhost::ElementRecord* op = vhost::FindElement(guidOperator);
	if (target == nullptr || op == nullptr) return APIERR_BADID;
	if (!vhost::Is3D(target->element.header.type.typeID) || !vhost::Is3D(op->element.header.type.typeID)) return APIERR_BADELEMENTTYPE;
	const UInt32 known[] = {APISolid_Substract, APISolid_SubstUp, APISolid_SubstDown, APISolid_Intersect, APISolid_Add};
	if (guidTarget == guidOperator || std::find(std::begin(known), std::end(known), operation) == std::end(known)) return APIERR_BADPARS;
	std::vector<vhost::SolidLinkRecord>& links = vhost::Current().state.solidLinks;
	for (const auto& l : links)
		if (l.target == guidTarget && l.operatorElem == guidOperator) return APIERR_LINKEXIST;
	links.push_back({guidTarget, guidOperator, static_cast<UInt32>(operation), linkFlags});
	return NoError;
}
