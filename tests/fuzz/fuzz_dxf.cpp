// Fuzzes the DXF reader from memory: any bytes must load (true or false) without fault.
#include <cstddef>
#include <cstdint>

#include "SimpleDxflib/SimpleDxf.hpp"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
	SimpleDxf::SimpleDxf drawing;
	drawing.LoadSceneFromMemory(data, size);
	// Walk what was read the way consumers do: resolved inserts through their blocks.
	if (drawing.entities)
		for (const auto& entity : *drawing.entities)
			if (entity->typeId == SimpleDxf::InsertType) {
				const auto& insert = static_cast<const SimpleDxf::Insert&>(*entity);
				if (insert.block && insert.block->height < 1) __builtin_trap();
			}
	return 0;
}
