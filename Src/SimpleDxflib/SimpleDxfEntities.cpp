#include <algorithm>
#include <cmath>
#include <iterator>

#include "SimpleDxf.hpp"

namespace SimpleDxf {

namespace {

constexpr double Tolerance = 1e-5;
// Vertex counts from the file only size the first allocation, up to this.
constexpr int32_t MaxReserve = 4096;

bool Exceeds(double v) { return std::fabs(v) > Tolerance; }

bool HasExtrusion(double x, double y, double z) { return Exceeds(x) || Exceeds(y) || Exceeds(z); }

// Sets x, y or z from group codes base, base + 10, base + 20 (10/20/30, 11/21/31 ...).
bool TakeXYZ(int code, int base, std::string_view value, double& x, double& y, double& z)
{
	if (code == base) x = ToDouble(value);
	else if (code == base + 10) y = ToDouble(value);
	else if (code == base + 20) z = ToDouble(value);
	else return false;
	return true;
}

void Reserve(VertexList& list, int32_t hint) { list.reserve(static_cast<std::size_t>(std::clamp(hint, 0, MaxReserve))); }

// Gives back what a count from the file reserved beyond the vertices that followed.
void Fit(VertexList& list)
{
	if (list.capacity() > 2 * list.size() + 16) list.shrink_to_fit();
}

} // namespace

// ---- group codes of each class ---------------------------------------------------------

void Vertex::Take(int code, std::string_view value)
{
	if (TakeXYZ(code, 10, value, x, y, z)) return;
	switch (code) {
	case 70: flags = ToInt(value); break;
	case 62: colour = ToInt(value); break;
	case 42: bulge = ToDouble(value); break;
	case 71: face1 = ToInt(value); break;
	case 72: face2 = ToInt(value); break;
	case 73: face3 = ToInt(value); break;
	default: break;
	}
}

void Insert::Take(int code, std::string_view value)
{
	if (code == 2) blockName.assign(value);
	else if (!TakeXYZ(code, 10, value, x, y, z)) {
		if (code == 41) scaleX = ToDouble(value);
		else if (code == 42) scaleY = ToDouble(value);
		else if (code == 43) scaleZ = ToDouble(value);
	}
}

void Line::Take(int code, std::string_view value)
{
	if (code == 2) name.assign(value);
	else if (!TakeXYZ(code, 10, value, x1, y1, z1) && !TakeXYZ(code, 11, value, x2, y2, z2))
		TakeXYZ(code, 210, value, extrusionX, extrusionY, extrusionZ);
}

void Circle::Take(int code, std::string_view value)
{
	if (code == 2) name.assign(value);
	else if (code == 40) radius = ToDouble(value);
	else if (code == 39) thickness = ToDouble(value);
	else if (!TakeXYZ(code, 10, value, x, y, z)) TakeXYZ(code, 210, value, extrusionX, extrusionY, extrusionZ);
}

void Arc::Take(int code, std::string_view value)
{
	if (code == 2) name.assign(value);
	else if (code == 40) radius = ToDouble(value);
	else if (code == 39) thickness = ToDouble(value);
	else if (code == 50) startAngle = ToDouble(value);
	else if (code == 51) endAngle = ToDouble(value);
	else if (!TakeXYZ(code, 10, value, x, y, z)) TakeXYZ(code, 210, value, extrusionX, extrusionY, extrusionZ);
}

void Point::Take(int code, std::string_view value)
{
	if (code == 2) name.assign(value);
	else if (code == 39) thickness = ToDouble(value);
	else if (!TakeXYZ(code, 10, value, x, y, z)) TakeXYZ(code, 210, value, extrusionX, extrusionY, extrusionZ);
}

void Text::Take(int code, std::string_view value)
{
	if (code == 2) name.assign(value);
	else if (code == 1) text.assign(value);
	else TakeXYZ(code, 10, value, x, y, z);
}

// ---- readers ---------------------------------------------------------------------------

// The simple entities: every pair up to the next code-0 pair is the entity's own.
template <typename T>
bool SimpleDxf::ReadFields(T& entity)
{
	if (!ReadCode()) return false;
	while (pair_.number != 0) {
		if (pair_.number == 8) entity.layerName = LayerName(pair_.value);
		else entity.Take(pair_.number, pair_.value);
		if (!ReadCode()) return false;
	}
	return true;
}

bool SimpleDxf::ReadInsert(Insert& insert) { return ReadFields(insert); }
bool SimpleDxf::ReadLine(Line& line) { return ReadFields(line); }
bool SimpleDxf::ReadCircle(Circle& circle) { return ReadFields(circle); }
bool SimpleDxf::ReadArc(Arc& arc) { return ReadFields(arc); }
bool SimpleDxf::ReadPoint(Point& point) { return ReadFields(point); }
bool SimpleDxf::ReadText(Text& text) { return ReadFields(text); }
bool SimpleDxf::ReadVertex(Vertex& vertex) { return ReadFields(vertex); }

// A POLYLINE's header pairs, then its VERTEX records while they follow. The pairs after
// SEQEND, up to the next code-0 pair, are still the polyline's own (a code 8 there renames
// its layer; 70 and 10/20/30 apply too), and VERTEX records after them continue it; any
// other entity ends the polyline where it starts. The counts 71 and 72 size the M and N
// arrays only from the header.
bool SimpleDxf::ReadPolyLine(Polyline& polyline)
{
	polyline.kind = 1;
	int32_t mHint = 0, nHint = 0;
	vertices_.clear();
	if (!ReadCode()) return false;
	for (bool header = true;; header = false) {
		while (pair_.number != 0) {
			switch (pair_.number) {
			case 8: polyline.layerName = LayerName(pair_.value); break;
			case 70: polyline.flags = ToInt(pair_.value); break;
			case 71: if (header) mHint = std::max(ToInt(pair_.value), 0); break;
			case 72: if (header) nHint = std::max(ToInt(pair_.value), 0); break;
			default: TakeXYZ(pair_.number, 10, pair_.value, polyline.x, polyline.y, polyline.z); break;
			}
			if (!ReadCode()) return false;
		}
		if (header) {
			Reserve(polyline.mVertices, mHint);
			Reserve(polyline.nVertices, nHint);
		}
		while (pair_.value == "VERTEX") {
			VertexList& into = polyline.mVertices.size() < static_cast<std::size_t>(mHint) ? polyline.mVertices
			                 : polyline.nVertices.size() < static_cast<std::size_t>(nHint) ? polyline.nVertices
			                 : vertices_;
			if (!ReadVertex(into.emplace_back())) return false;
		}
		if (pair_.value != "SEQEND") break;
		if (!ReadCode()) return false;
	}
	Fit(polyline.mVertices);
	Fit(polyline.nVertices);
	// Gathered in a list that is reused, so the polyline's own is allocated once, to size.
	polyline.vertices.reserve(vertices_.size());
	std::move(vertices_.begin(), vertices_.end(), std::back_inserter(polyline.vertices));
	polyline.mCount = static_cast<int32_t>(polyline.mVertices.size());
	polyline.nCount = static_cast<int32_t>(polyline.nVertices.size());
	return true;
}

// An LWPOLYLINE is read by group code: 10 starts a vertex, 20 is its y, 42 its bulge, 38
// the elevation of all of them. The vertex count (90) only sizes the list.
bool SimpleDxf::ReadLWPolyLine(Polyline& polyline)
{
	polyline.kind = 2;
	VertexList& vertices = polyline.vertices;
	if (!ReadCode()) return false;
	while (pair_.number != 0) {
		switch (pair_.number) {
		case 8: polyline.layerName = LayerName(pair_.value); break;
		case 70: polyline.flags = ToInt(pair_.value); break;
		case 90: Reserve(vertices, ToInt(pair_.value)); break;
		case 38: polyline.z = ToDouble(pair_.value); break;
		case 10: vertices.emplace_back().x = ToDouble(pair_.value); break;
		case 20: if (!vertices.empty()) vertices.back().y = ToDouble(pair_.value); break;
		case 42: if (!vertices.empty()) vertices.back().bulge = ToDouble(pair_.value); break;
		default: break;   // 40/41 widths, 91 vertex ids, handles, subclass markers
		}
		if (!ReadCode()) return false;
	}
	for (Vertex& vertex : vertices) vertex.z = polyline.z;
	Fit(vertices);
	return true;
}

// ---- flags -----------------------------------------------------------------------------

void Vertex::FillProperties()
{
	is3D = (flags & 96) != 0;
	is2D = !is3D;
}

void Polyline::FillProperties()
{
	for (VertexList* list : {&mVertices, &nVertices, &vertices})
		for (Vertex& vertex : *list) vertex.FillProperties();
	const VertexList& source = mVertices.empty() ? vertices : mVertices;
	is3D = !source.empty() && source.front().is3D;
	is2D = !source.empty() && !is3D;
}

void Insert::FillProperties()
{
	if (!block || block->state != 2) return;
	is2D = is2D || block->any2D;
	is3D = is3D || block->any3D;
	all2D = all2D && block->all2D;
	all3D = all3D && block->all3D;
}

void Line::FillProperties()
{
	is3D = HasExtrusion(extrusionX, extrusionY, extrusionZ) || Exceeds(z1 - z2);
	is2D = !is3D;
}

void Circle::FillProperties()
{
	is3D = HasExtrusion(extrusionX, extrusionY, extrusionZ);
	is2D = !is3D;
}

void Arc::FillProperties()
{
	is3D = HasExtrusion(extrusionX, extrusionY, extrusionZ);
	is2D = !is3D;
}

void Point::FillProperties()
{
	is3D = HasExtrusion(extrusionX, extrusionY, extrusionZ);
	is2D = !is3D;
}

// ---- resolution ------------------------------------------------------------------------

namespace {

static_assert(MaxBlockNesting == 64, "the message names the limit");
constexpr const char* kTooDeep = "Blocks nested deeper than 64 levels";

} // namespace

Block* SimpleDxf::FindBlock(std::string_view name) const
{
	if (!blocks) return nullptr;
	const auto found = blocks->find(name);
	return found == blocks->end() ? nullptr : found->second.get();
}

void SimpleDxf::FillProperties()
{
	unresolved.clear();
	deepest_ = DeepInsert();
	MeasureBlocks();
	// Top-level entities first, so that a refusal among them is the one named.
	if (entities)
		for (auto& entity : *entities) FillPropRec(*entity, true);
	if (blocks)
		for (auto& named : *blocks) ResolveBlock(*named.second);
	if (unresolved.empty() && deepest_.height > 0)
		unresolved = std::string(kTooDeep) + " (block \"" + deepest_.blockName + "\")";
}

// The height of every block, walked with a stack of our own (a chain of blocks in the file
// sets no recursion depth). The walk starts from the blocks of the top-level inserts, in file
// order, then the rest by name; an insert of a block still on the walk's path closes a cycle
// and is cut there.
void SimpleDxf::MeasureBlocks()
{
	if (!blocks) return;
	if (entities)
		for (auto& entity : *entities)
			if (entity->typeId == InsertType)
				if (Block* block = FindBlock(static_cast<Insert&>(*entity).blockName)) MeasureFrom(*block);
	for (auto& named : *blocks) MeasureFrom(*named.second);
}

void SimpleDxf::MeasureFrom(Block& root)
{
	if (root.measured != 0) return;
	root.measured = 1;
	root.height = 1;
	std::vector<Block*> path{&root};
	std::vector<std::size_t> next{0};   // per block on the path: its next entity to look at
	while (!path.empty()) {
		Block& block = *path.back();
		if (next.back() == block.entities.size()) {
			block.measured = 2;
			path.pop_back();
			next.pop_back();
			if (!path.empty()) path.back()->height = std::max(path.back()->height, block.height + 1);
			continue;
		}
		Entity& entity = *block.entities[next.back()++];
		if (entity.typeId != InsertType) continue;
		Insert& insert = static_cast<Insert&>(entity);
		Block* inner = FindBlock(insert.blockName);
		if (inner == nullptr) continue;
		if (inner->measured == 1) {
			insert.resolution = Resolution::ClosesCycle;
			if (unresolved.empty()) unresolved = "Circular references! (block \"" + insert.blockName + "\")";
		} else if (inner->measured == 2) {
			block.height = std::max(block.height, inner->height + 1);
		} else {
			inner->measured = 1;
			inner->height = 1;
			path.push_back(inner);
			next.push_back(0);
		}
	}
}

// Each block is resolved once; later inserts of it read its cached aggregate flags. Only
// blocks within the nesting limit are entered, so the recursion is at most that deep.
void SimpleDxf::ResolveBlock(Block& block)
{
	if (block.state != 0) return;
	block.state = 1;
	for (auto& entity : block.entities) {
		entity->visitMark = 1;
		FillPropRec(*entity, false);
		entity->visitMark = 2;
		block.any2D = block.any2D || entity->is2D;
		block.any3D = block.any3D || entity->is3D;
		block.all2D = block.all2D && entity->is2D;
		block.all3D = block.all3D && entity->is3D;
	}
	block.state = 2;
}

void SimpleDxf::FillPropRec(Entity& entity, bool topLevel)
{
	if (entity.typeId == InsertType) {
		Insert& insert = static_cast<Insert&>(entity);
		insert.block = nullptr;
		Block* found = FindBlock(insert.blockName);
		if (insert.resolution == Resolution::ClosesCycle) {
			// cut when the heights were measured
		} else if (found == nullptr) {
			insert.resolution = Resolution::Missing;
		} else if (found->height > MaxBlockNesting) {
			insert.resolution = Resolution::TooDeep;
			if (topLevel > deepest_.topLevel || (topLevel == deepest_.topLevel && found->height > deepest_.height))
				deepest_ = DeepInsert{topLevel, found->height, insert.blockName};
		} else {
			ResolveBlock(*found);
			insert.resolution = Resolution::Resolved;
			insert.block = found;
		}
	}
	entity.FillProperties();
	ResolveLayer(entity);
}

void SimpleDxf::ResolveLayer(Entity& entity)
{
	if (!tables || entity.layerName.empty()) return;
	if (!lastLayer_ || lastLayer_->name != entity.layerName) {
		const auto found = tables->layers.find(entity.layerName);
		if (found == tables->layers.end()) return;
		lastLayer_ = found->second.get();
	}
	entity.layer = lastLayer_;
}

} // namespace SimpleDxf
