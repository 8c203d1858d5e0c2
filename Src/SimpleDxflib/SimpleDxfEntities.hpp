// The graphic objects of a DXF drawing and the named blocks that group them.
#ifndef VELMORA_SIMPLEDXFENTITIES_HPP
#define VELMORA_SIMPLEDXFENTITIES_HPP

#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace SimpleDxf {

struct Layer;
struct Block;

// Type ids of the entity kinds the reader keeps.
enum EntityType : int32_t {
	VertexType = 0,
	PolylineType = 1,
	InsertType = 2,
	LineType = 3,
	CircleType = 4,
	ArcType = 5,
	PointType = 6,
	TextType = 7,
};

// One graphic object. The reader creates it, fills it from its group codes (Take), and
// the resolution after reading sets its flags and its layer. Consumers switch on typeId
// and cast with dynamic_cast.
class Entity {
public:
	explicit Entity(int32_t type) : typeId(type) {}
	virtual ~Entity() = default;
	Entity(const Entity&) = delete;
	Entity& operator=(const Entity&) = delete;

	// Sets is2D and is3D from the entity's own data. Repeating it gives the same result.
	virtual void FillProperties() = 0;

	// Ordered to pack: a drawing holds millions of these.
	const Layer* layer = nullptr;   // the drawing's record of layerName, when it has one
	// Group code 8; empty when the entity names none. The text belongs to the drawing that
	// read the entity (one copy per distinct name) and lives until its next load.
	std::string_view layerName;
	uint32_t visitMark = 0;         // 0 not visited, 1 in progress, 2 done (block entities)
	int32_t typeId;
	int32_t colour = 0;             // group code 62; only vertices read it
	bool is2D = false;
	bool is3D = false;

protected:
	// Only vertices move, inside their lists; other entities stay where they were made.
	Entity(Entity&&) noexcept = default;
	Entity& operator=(Entity&&) noexcept = default;
};

class Vertex final : public Entity {
public:
	Vertex() : Entity(VertexType) {}
	void FillProperties() override;
	// Stores the value of a vertex group code; other codes are ignored.
	void Take(int code, std::string_view value);

	double x = 0, y = 0, z = 0;
	int32_t flags = 0;              // 32: 3D polyline vertex, 64: polygon mesh vertex
	double bulge = 0;               // group code 42: arc bulge to the next vertex
	std::optional<int32_t> face1, face2, face3;

	// Vertex lists hold their vertices by value, in one block; these let an element be
	// used like an element of an entity list (v->x, *v).
	Vertex* operator->() { return this; }
	const Vertex* operator->() const { return this; }
	Vertex& operator*() { return *this; }
	const Vertex& operator*() const { return *this; }
};

using VertexList = std::vector<Vertex>;

// POLYLINE (kind 1) and LWPOLYLINE (kind 2). A POLYLINE with counts 71/72 keeps its
// first mCount vertices in mVertices and the next nCount in nVertices; all other
// vertices are in vertices. The counts always equal the array sizes.
class Polyline final : public Entity {
public:
	Polyline() : Entity(PolylineType) {}
	void FillProperties() override;

	int32_t flags = 0;              // 1: closed
	double x = 0, y = 0, z = 0;     // header point (an LWPOLYLINE's z is its elevation)
	int32_t mCount = 0;
	int32_t nCount = 0;
	VertexList mVertices;
	VertexList nVertices;
	VertexList vertices;
	int32_t kind = 0;
};

// What the resolution made of an insert: block is set only when Resolved.
enum class Resolution : uint8_t {
	Pending,      // not resolved yet
	Resolved,
	Missing,      // the drawing has no block of that name
	ClosesCycle,  // its block holds this insert again, through other inserts
	TooDeep,      // its block nests deeper than the reader allows
};

// A placement of a block. block is null when the block could not be resolved (resolution
// says why); consumers skip such inserts.
class Insert final : public Entity {
public:
	Insert() : Entity(InsertType) {}
	// Takes the aggregate flags of the resolved block.
	void FillProperties() override;
	void Take(int code, std::string_view value);

	const Block* block = nullptr;
	Resolution resolution = Resolution::Pending;
	std::string blockName;          // group code 2
	double x = 0, y = 0, z = 0;
	double scaleX = 0, scaleY = 0, scaleZ = 0;   // 0 when the code is absent
	bool all2D = true;
	bool all3D = true;
};

class Line final : public Entity {
public:
	Line() : Entity(LineType) {}
	void FillProperties() override;
	void Take(int code, std::string_view value);

	std::string name;
	double x1 = 0, y1 = 0, z1 = 0;
	double x2 = 0, y2 = 0, z2 = 0;
	double extrusionX = 0, extrusionY = 0, extrusionZ = 0;
};

class Circle final : public Entity {
public:
	Circle() : Entity(CircleType) {}
	void FillProperties() override;
	void Take(int code, std::string_view value);

	std::string name;
	double x = 0, y = 0, z = 0;
	double extrusionX = 0, extrusionY = 0, extrusionZ = 0;
	double radius = 0;
	double thickness = 0;
};

class Arc final : public Entity {
public:
	Arc() : Entity(ArcType) {}
	void FillProperties() override;
	void Take(int code, std::string_view value);

	std::string name;
	double x = 0, y = 0, z = 0;
	double extrusionX = 0, extrusionY = 0, extrusionZ = 0;
	double radius = 0;
	double thickness = 0;
	double startAngle = 0;          // degrees, as written
	double endAngle = 0;
};

class Point final : public Entity {
public:
	Point() : Entity(PointType) {}
	void FillProperties() override;
	void Take(int code, std::string_view value);

	std::string name;
	double x = 0, y = 0, z = 0;
	double extrusionX = 0, extrusionY = 0, extrusionZ = 0;
	double thickness = 0;
};

class Text final : public Entity {
public:
	Text() : Entity(TextType) {}
	// A text is neither 2D nor 3D.
	void FillProperties() override {}
	void Take(int code, std::string_view value);

	std::string name;
	double x = 0, y = 0, z = 0;
	double unused[4] = {0, 0, 0, 0};
	std::string text;               // group code 1
};

using EntityList = std::vector<std::unique_ptr<Entity>>;

// A named group of entities (the BLOCKS section). The resolution state and the aggregate
// flags are filled once by the resolution, so every insert of the block costs O(1).
struct Block {
	std::string layerName;
	std::string name;
	int32_t flags = 0;
	double x = 0, y = 0, z = 0;
	EntityList entities;

	uint32_t measured = 0;          // height: 0 not measured, 1 in progress, 2 measured
	uint32_t state = 0;             // flags: 0 not resolved, 1 in progress, 2 resolved
	int32_t height = 0;             // block levels below and including this one
	bool any2D = false, any3D = false, all2D = true, all3D = true;
};

} // namespace SimpleDxf

#endif
