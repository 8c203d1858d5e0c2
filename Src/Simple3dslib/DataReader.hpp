// Byte sources of the 3DS reader: every read is made at an absolute position and checked
// against the end of the data; a failed read answers false and leaves its output unchanged.
#ifndef VELMORA_SIMPLE3DS_DATAREADER_HPP
#define VELMORA_SIMPLE3DS_DATAREADER_HPP

#include <cstdint>
#include <fstream>
#include <string>
#include <vector>

namespace Simple3ds {

// True when `count` bytes at `pos` lie inside `size` bytes (no wrap-around).
constexpr bool FitsIn(std::uint64_t pos, std::uint64_t count, std::uint64_t size)
{
	return pos <= size && count <= size - pos;
}

class DataReader {
public:
	// The byte at the current position; advances it by one.
	virtual bool ReadOne(std::uint8_t& out) = 0;
	// `count` bytes from the current position; advances it by `count`.
	virtual bool ReadBytes(std::uint8_t* out, std::uint32_t count) = 0;
	virtual ~DataReader() = default;
	// The NUL-terminated string at `pos`. False when no NUL comes before the end of the data;
	// `out` then holds the bytes read.
	bool ReadString(std::string& out, std::uint32_t pos) { return ReadString(out, pos, UINT32_MAX); }
	// The same, but the string must end before `limit` (exclusive) too.
	virtual bool ReadString(std::string& out, std::uint32_t pos, std::uint32_t limit) = 0;
	// Little-endian values at `pos`.
	bool ReadUint8(std::uint8_t& out, std::uint32_t pos);
	bool ReadUint16(std::uint16_t& out, std::uint32_t pos);
	bool ReadUint32(std::uint32_t& out, std::uint32_t pos);
	bool ReadFloat(float& out, std::uint32_t pos);
	// A view of `count` bytes at `pos`, valid until the next read, or null when they do not
	// all lie inside the data. Arrays are decoded from it in one pass.
	virtual const std::uint8_t* View(std::uint32_t pos, std::uint32_t count) = 0;
	// Number of bytes in the data.
	virtual std::uint64_t Size() const = 0;
};

// Over a byte vector held elsewhere (it must outlive the reader).
class ByteReader final : public DataReader {
public:
	explicit ByteReader(const std::vector<std::uint8_t>& bytes) : bytes_(&bytes) {}
	bool ReadOne(std::uint8_t& out) override;
	bool ReadBytes(std::uint8_t* out, std::uint32_t count) override;
	using DataReader::ReadString;
	bool ReadString(std::string& out, std::uint32_t pos, std::uint32_t limit) override;
	const std::uint8_t* View(std::uint32_t pos, std::uint32_t count) override;
	std::uint64_t Size() const override { return bytes_->size(); }

private:
	std::uint32_t position_ = 0;
	const std::vector<std::uint8_t>* bytes_;
};

// Over an input stream opened in binary mode by the caller (not owned). The size is taken
// once, at construction.
class FileReader final : public DataReader {
public:
	explicit FileReader(std::ifstream& stream);
	bool ReadOne(std::uint8_t& out) override;
	bool ReadBytes(std::uint8_t* out, std::uint32_t count) override;
	using DataReader::ReadString;
	bool ReadString(std::string& out, std::uint32_t pos, std::uint32_t limit) override;
	const std::uint8_t* View(std::uint32_t pos, std::uint32_t count) override;
	std::uint64_t Size() const override { return size_ < 0 ? 0 : static_cast<std::uint64_t>(size_); }

private:
	bool Seek(std::uint32_t pos);
	std::ifstream* stream_;
	std::int64_t size_ = 0;
	std::vector<std::uint8_t> view_; // backs View()
};

} // namespace Simple3ds

#endif
