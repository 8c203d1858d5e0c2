// Byte sources, chunk headers, the child walk and the chunk-name table.
#include <cstdio>
#include <fstream>
#include <map>
#include <sstream>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "Simple3dslib/Reader.hpp"
#include "TestSupport.hpp"
#include "Writer3ds.hpp"

namespace {

using namespace Simple3ds;
using w3ds::Bytes;
using w3ds::Wrap;

// Positioned reads on 1000 bytes: a read ending exactly on the last byte succeeds, one byte
// further fails and leaves its output alone. The stream source answers the same.
TEST(ByteSources, PositionedReadsStopAtTheEnd)
{
	std::vector<std::uint8_t> bytes(1000);
	for (std::size_t i = 0; i < bytes.size(); ++i) bytes[i] = static_cast<std::uint8_t>(i);
	testsupport::TempDir dir;
	testsupport::WriteFile(dir / "k.bin", std::string(bytes.begin(), bytes.end()));
	std::ifstream stream(dir / "k.bin", std::ios::binary);
	ByteReader memory(bytes);
	FileReader file(stream);
	for (DataReader* source : {static_cast<DataReader*>(&memory), static_cast<DataReader*>(&file)}) {
		std::uint32_t u32 = 7;
		EXPECT_TRUE(source->ReadUint32(u32, 996));
		EXPECT_EQ(u32, 0xE7E6E5E4u);
		EXPECT_FALSE(source->ReadUint32(u32, 997));
		EXPECT_FALSE(source->ReadUint32(u32, 0xFFFFFFFEu)) << "no wrap-around";
		EXPECT_EQ(u32, 0xE7E6E5E4u);
		std::uint8_t u8 = 0;
		EXPECT_TRUE(source->ReadUint8(u8, 999));
		EXPECT_EQ(u8, 999 & 0xFF);
		EXPECT_FALSE(source->ReadUint8(u8, 1000));
		std::uint16_t u16 = 0;
		EXPECT_TRUE(source->ReadUint16(u16, 998));
		EXPECT_FALSE(source->ReadUint16(u16, 999));
		// ReadOne continues after the last positioned read.
		ASSERT_TRUE(source->ReadUint8(u8, 998));
		EXPECT_TRUE(source->ReadOne(u8));
		EXPECT_EQ(u8, 999 & 0xFF);
		EXPECT_FALSE(source->ReadOne(u8));
		std::uint8_t block[4] = {};
		EXPECT_FALSE(source->ReadBytes(block, 1));
	}
}

TEST(ByteSources, EmptyDataFailsEveryRead)
{
	const std::vector<std::uint8_t> none;
	ByteReader source(none);
	std::uint8_t u8 = 0;
	std::uint16_t u16 = 0;
	float f = 0;
	std::string s;
	EXPECT_FALSE(source.ReadOne(u8));
	EXPECT_FALSE(source.ReadUint8(u8, 0));
	EXPECT_FALSE(source.ReadUint16(u16, 0));
	EXPECT_FALSE(source.ReadFloat(f, 0));
	EXPECT_FALSE(source.ReadString(s, 0));
	Reader reader(none);
	Chunk chunk;
	EXPECT_FALSE(reader.ReadChunk(chunk, 0));
	EXPECT_EQ(chunk.valid, 0);
	EXPECT_EQ(reader.Trace(), "");
}

TEST(ByteSources, StringsEndAtTheirNulOrFail)
{
	const std::vector<std::uint8_t> bytes = {'x', 'A', 'B', 0, 'C', 'D'};
	ByteReader source(bytes);
	std::string s;
	EXPECT_TRUE(source.ReadString(s, 1));
	EXPECT_EQ(s, "AB");
	EXPECT_FALSE(source.ReadString(s, 4)) << "no NUL before the end of the data";
	EXPECT_EQ(s, "CD");
	EXPECT_FALSE(source.ReadString(s, 1, 3)) << "the NUL must come before the limit";
	EXPECT_EQ(s, "AB");
	EXPECT_TRUE(source.ReadString(s, 1, 4));
	EXPECT_FALSE(source.ReadString(s, 6));
}

TEST(ReadChunk, ReadsTheHeaderAndTracesIt)
{
	const std::vector<std::uint8_t> bytes = Bytes(Wrap(0x4D4D, std::string(1228, 'x')));
	Reader reader(bytes);
	Chunk chunk;
	ASSERT_TRUE(reader.ReadChunk(chunk, 0));
	EXPECT_EQ(chunk.valid, 1);
	EXPECT_EQ(chunk.id, 0x4D4D);
	EXPECT_EQ(chunk.length, 1234u);
	EXPECT_EQ(chunk.start, 0u);
	EXPECT_EQ(chunk.dataStart, 6u);
	EXPECT_EQ(chunk.end, 1234u);
	EXPECT_EQ(chunk.next, 1234u);
	EXPECT_EQ(reader.Trace(), "Chunk ID: 4d4d (CHUNK_M3DMAGIC)\nChunk size: 1234(4d2)\n");
}

TEST(ReadChunk, LengthBelowSixIsInvalidAndSixIsEmpty)
{
	const std::vector<std::uint8_t> bytes = Bytes(Wrap(0x0002, "", 5) + Wrap(0x0002, ""));
	Reader reader(bytes);
	Chunk chunk;
	EXPECT_FALSE(reader.ReadChunk(chunk, 0));
	EXPECT_EQ(chunk.valid, 0);
	EXPECT_EQ(reader.Trace(), "");
	ASSERT_TRUE(reader.ReadChunk(chunk, 6));
	EXPECT_EQ(chunk.dataStart, chunk.end);
	EXPECT_FALSE(reader.ReadChunk(chunk, 12));
	EXPECT_FALSE(reader.ReadChunk(chunk, 0, 5)) << "the header must end by the limit";
	EXPECT_TRUE(reader.ReadChunk(chunk, 6, 12));
}

TEST(ReadChunk, TracesUnknownAndDummyIds)
{
	struct Case {
		std::uint16_t id;
		const char* line;
	} const cases[] = {
	    {0x1234, "Chunk ID: 1234 (***UNKNOWN***)\n"},
	    {0xFFFF, "Chunk ID: ffff (CHUNK_DUMMY )\n"},
	    {0x0001, "Chunk ID: 1 (CHUNK_UNKNOWN1)\n"},
	    {0x8000, "Chunk ID: 8000 (XDATA_SECTION)\n"},
	    {0x80F0, "Chunk ID: 80f0 (PARENT_NAME)\n"},
	    {0x0998, "Chunk ID: 998 (CHUNK_Container)\n"},
	};
	for (const Case& c : cases) {
		const std::vector<std::uint8_t> bytes = Bytes(Wrap(c.id, ""));
		Reader reader(bytes);
		Chunk chunk;
		ASSERT_TRUE(reader.ReadChunk(chunk, 0));
		EXPECT_EQ(reader.Trace(), std::string(c.line) + "Chunk size: 6(6)\n");
	}
}

// The table holds the toolkit's 591 tags with the trace prefix, and every other id is unknown.
TEST(ChunkNames, MatchTheTagList)
{
	std::ifstream tsv(std::string(VELMORA_DATA) + "/3ds-chunk-names.tsv");
	ASSERT_TRUE(tsv) << "missing tag list";
	std::string line;
	std::getline(tsv, line);
	std::map<unsigned, std::string> tags;
	while (std::getline(tsv, line)) {
		const std::size_t tab = line.find('\t');
		tags[std::stoul(line.substr(0, tab), nullptr, 16)] = line.substr(tab + 1);
	}
	ASSERT_EQ(tags.size(), 591u);
	ASSERT_EQ(simple3dsChunkMap.size(), 591u);
	std::size_t row = 0;
	for (const auto& [id, tag] : tags) {
		const bool xdata = (id >= 0x8000 && id <= 0x800F) || id == 0x80F0;
		const std::string expected = xdata ? tag : "CHUNK_" + tag + (id == 0xFFFF ? " " : "");
		EXPECT_EQ(simple3dsChunkMap[row].id, id);
		EXPECT_EQ(simple3dsChunkMap[row++].name, expected);
		Chunk chunk;
		chunk.id = static_cast<std::uint16_t>(id);
		EXPECT_EQ(chunk.GetName(), expected);
	}
	std::size_t unknown = 0;
	for (unsigned id = 0; id <= 0xFFFF; ++id)
		unknown += std::string(ChunkName(static_cast<std::uint16_t>(id))) == "***UNKNOWN***";
	EXPECT_EQ(unknown, 65536u - 591u);
	EXPECT_STREQ(ChunkName(0x4120), "CHUNK_FACE_ARRAY");
	EXPECT_STREQ(ChunkName(0xAFFF), "CHUNK_MAT_ENTRY");
}

} // namespace
