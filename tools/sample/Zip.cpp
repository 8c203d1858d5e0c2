#include "Zip.hpp"

#include <algorithm>
#include <array>
#include <cstdint>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <vector>

namespace sample {

namespace fs = std::filesystem;

namespace {

std::uint32_t Crc32(const std::vector<char>& data)
{
	static const auto table = [] {
		std::array<std::uint32_t, 256> t{};
		for (std::uint32_t i = 0; i < 256; ++i) {
			std::uint32_t c = i;
			for (int k = 0; k < 8; ++k) c = c & 1 ? 0xEDB88320u ^ (c >> 1) : c >> 1;
			t[i] = c;
		}
		return t;
	}();
	std::uint32_t crc = 0xFFFFFFFFu;
	for (char ch : data) crc = table[(crc ^ static_cast<std::uint8_t>(ch)) & 0xFF] ^ (crc >> 8);
	return crc ^ 0xFFFFFFFFu;
}

struct Out {
	std::vector<char> bytes;
	void U16(std::uint32_t v) { for (int i = 0; i < 2; ++i) bytes.push_back(static_cast<char>(v >> (8 * i))); }
	void U32(std::uint32_t v) { for (int i = 0; i < 4; ++i) bytes.push_back(static_cast<char>(v >> (8 * i))); }
	void Raw(const std::string& s) { bytes.insert(bytes.end(), s.begin(), s.end()); }
};

struct Entry {
	std::string name;
	std::uint32_t crc, size, offset;
	std::uint32_t unixMode; // the type and mode stored in the external attributes; 0: none (a file)
};

// A link or a folder's mode is stored as Unix systems store it: "made by" Unix, the type and
// mode in the external attributes; a link's target is its data.
constexpr std::uint32_t kMadeByUnix = 3 << 8, kLinkMode = 0120777, kFolderType = 040000;

// Header fields shared by the local and the central record, from "version needed" on.
void Common(Out& o, const Entry& e)
{
	o.U16(20);         // version needed
	o.U16(0x0800);     // UTF-8 names
	o.U16(0);          // stored
	o.U16(0);          // time
	o.U16(0x21);       // date 1980-01-01
	o.U32(e.crc);
	o.U32(e.size);
	o.U32(e.size);
	o.U16(static_cast<std::uint32_t>(e.name.size()));
	o.U16(0);          // extra length
}

} // namespace

std::string ZipFolder(const std::string& folder, const std::string& zipPath, const std::map<std::string, unsigned>& folderModes)
{
	const auto relative = [&folder](const fs::path& p) { return p.lexically_relative(fs::u8path(folder)).generic_u8string(); };
	std::vector<fs::path> files;
	for (const auto& e : fs::recursive_directory_iterator(fs::u8path(folder)))
		if (e.is_symlink() || e.is_regular_file() || (e.is_directory() && folderModes.count(relative(e.path())) != 0))
			files.push_back(e.path());
	std::sort(files.begin(), files.end());
	Out o;
	std::vector<Entry> entries;
	for (const fs::path& p : files) {
		const bool link = fs::is_symlink(p);
		const bool isFolder = !link && fs::is_directory(p);
		std::vector<char> data;
		if (link) {
			const std::string target = fs::read_symlink(p).u8string();
			data.assign(target.begin(), target.end());
		} else if (!isFolder) {
			std::ifstream in(p, std::ios::binary);
			data.assign(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
			if (!in.good() && !in.eof()) return "cannot read " + p.string();
		}
		// Lexically: a link is named where it lies, not where it leads.
		const std::string name = relative(p);
		const std::uint32_t mode = link ? kLinkMode : isFolder ? kFolderType | folderModes.at(name) : 0;
		const Entry e{isFolder ? name + "/" : name, Crc32(data), static_cast<std::uint32_t>(data.size()),
		              static_cast<std::uint32_t>(o.bytes.size()), mode};
		o.U32(0x04034b50);
		Common(o, e);
		o.Raw(e.name);
		o.bytes.insert(o.bytes.end(), data.begin(), data.end());
		entries.push_back(e);
	}
	const auto centralStart = static_cast<std::uint32_t>(o.bytes.size());
	for (const Entry& e : entries) {
		o.U32(0x02014b50);
		o.U16(e.unixMode != 0 ? kMadeByUnix | 20 : 20); // made by
		Common(o, e);
		o.U16(0);  // comment length
		o.U16(0);  // disk
		o.U16(0);  // internal attributes
		o.U32(e.unixMode << 16); // external attributes
		o.U32(e.offset);
		o.Raw(e.name);
	}
	const auto centralSize = static_cast<std::uint32_t>(o.bytes.size()) - centralStart;
	o.U32(0x06054b50);
	o.U16(0);
	o.U16(0);
	o.U16(static_cast<std::uint32_t>(entries.size()));
	o.U16(static_cast<std::uint32_t>(entries.size()));
	o.U32(centralSize);
	o.U32(centralStart);
	o.U16(0);
	std::ofstream out(fs::u8path(zipPath), std::ios::binary);
	out.write(o.bytes.data(), static_cast<std::streamsize>(o.bytes.size()));
	return out ? "" : "cannot write " + zipPath;
}

} // namespace sample
