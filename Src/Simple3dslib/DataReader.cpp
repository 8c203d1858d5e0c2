#include "Simple3dslib/DataReader.hpp"

#include <algorithm>
#include <cstring>

namespace Simple3ds {

namespace {

std::uint32_t Le32(const std::uint8_t* p)
{
	return static_cast<std::uint32_t>(p[0]) | static_cast<std::uint32_t>(p[1]) << 8 |
	       static_cast<std::uint32_t>(p[2]) << 16 | static_cast<std::uint32_t>(p[3]) << 24;
}

} // namespace

bool DataReader::ReadUint8(std::uint8_t& out, std::uint32_t pos)
{
	const std::uint8_t* p = View(pos, 1);
	if (p == nullptr) return false;
	out = p[0];
	return true;
}

bool DataReader::ReadUint16(std::uint16_t& out, std::uint32_t pos)
{
	const std::uint8_t* p = View(pos, 2);
	if (p == nullptr) return false;
	out = static_cast<std::uint16_t>(p[0] | p[1] << 8);
	return true;
}

bool DataReader::ReadUint32(std::uint32_t& out, std::uint32_t pos)
{
	const std::uint8_t* p = View(pos, 4);
	if (p == nullptr) return false;
	out = Le32(p);
	return true;
}

bool DataReader::ReadFloat(float& out, std::uint32_t pos)
{
	const std::uint8_t* p = View(pos, 4);
	if (p == nullptr) return false;
	const std::uint32_t bits = Le32(p);
	std::memcpy(&out, &bits, sizeof out);
	return true;
}

bool ByteReader::ReadOne(std::uint8_t& out)
{
	if (position_ >= bytes_->size()) return false;
	out = (*bytes_)[position_++];
	return true;
}

bool ByteReader::ReadBytes(std::uint8_t* out, std::uint32_t count)
{
	if (!FitsIn(position_, count, bytes_->size())) return false;
	if (count != 0) std::memcpy(out, bytes_->data() + position_, count);
	position_ += count;
	return true;
}

bool ByteReader::ReadString(std::string& out, std::uint32_t pos, std::uint32_t limit)
{
	out.clear();
	position_ = pos;
	const std::uint64_t end = std::min<std::uint64_t>(limit, bytes_->size());
	if (pos >= end) return false;
	const char* first = reinterpret_cast<const char*>(bytes_->data()) + pos;
	const std::size_t room = static_cast<std::size_t>(end - pos);
	const void* nul = std::memchr(first, 0, room);
	const std::size_t n = nul != nullptr ? static_cast<const char*>(nul) - first : room;
	out.assign(first, n);
	position_ = static_cast<std::uint32_t>(pos + n + (nul != nullptr ? 1 : 0));
	return nul != nullptr;
}

const std::uint8_t* ByteReader::View(std::uint32_t pos, std::uint32_t count)
{
	if (!FitsIn(pos, count, bytes_->size())) return nullptr;
	position_ = pos + count;
	return bytes_->data() + pos;
}

FileReader::FileReader(std::ifstream& stream) : stream_(&stream)
{
	stream_->seekg(0, std::ios::end);
	size_ = static_cast<std::int64_t>(stream_->tellg());
	stream_->seekg(0, std::ios::beg);
}

bool FileReader::Seek(std::uint32_t pos)
{
	stream_->clear();
	stream_->seekg(pos, std::ios::beg);
	return static_cast<bool>(*stream_);
}

bool FileReader::ReadOne(std::uint8_t& out)
{
	const int c = stream_->get();
	if (c == std::char_traits<char>::eof()) return false;
	out = static_cast<std::uint8_t>(c);
	return true;
}

bool FileReader::ReadBytes(std::uint8_t* out, std::uint32_t count)
{
	const std::int64_t at = stream_->tellg();
	if (at < 0 || !FitsIn(static_cast<std::uint64_t>(at), count, Size())) return false;
	stream_->read(reinterpret_cast<char*>(out), count);
	return stream_->gcount() == static_cast<std::streamsize>(count);
}

bool FileReader::ReadString(std::string& out, std::uint32_t pos, std::uint32_t limit)
{
	out.clear();
	const std::uint64_t end = std::min<std::uint64_t>(limit, Size());
	if (pos >= end || !Seek(pos)) return false;
	for (std::uint64_t at = pos; at < end; ++at) {
		std::uint8_t c = 0;
		if (!ReadOne(c)) return false;
		if (c == 0) return true;
		out.push_back(static_cast<char>(c));
	}
	return false;
}

const std::uint8_t* FileReader::View(std::uint32_t pos, std::uint32_t count)
{
	if (!FitsIn(pos, count, Size()) || !Seek(pos)) return nullptr;
	view_.resize(count == 0 ? 1 : count);
	return ReadBytes(view_.data(), count) ? view_.data() : nullptr;
}

} // namespace Simple3ds
