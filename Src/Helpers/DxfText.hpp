// Texts of DXF drawings (layer names, text entities) as host text. A drawing from
// $ACADVER AC1021 on is UTF-8; an older one is in the code page its $DWGCODEPAGE names
// (ANSI_1252 when it names none); a drawing without a version is read as UTF-8 where its
// bytes are valid UTF-8, else by its code page. Bytes that the encoding does not map
// become U+FFFD; "\U+XXXX" escapes become their character.
#ifndef VELMORA_HELPERS_DXFTEXT_HPP
#define VELMORA_HELPERS_DXFTEXT_HPP

#include <cstddef>
#include <string>
#include <string_view>

namespace DxfText {

struct Encoding {
	bool utf8 = false;              // UTF-8 throughout
	bool sniff = false;             // no version: UTF-8 where valid, else the code page
	const char16_t* high = nullptr; // the code page's characters of bytes 0x80..0xFF; null: none known
};

// The encoding of a drawing with these header values (empty when the drawing has none).
Encoding EncodingOf(std::string_view acadVer, std::string_view codePage);

// The text of bytes in that encoding, as UTF-16.
std::u16string Decode(std::string_view bytes, const Encoding& encoding);

// Whether bytes are valid UTF-8 (no overlong forms, surrogates or values past U+10FFFF).
bool IsUtf8(std::string_view bytes);

// UTF-8 of the longest start of text that fits maxBytes, cut between characters; an
// unpaired surrogate counts as U+FFFD.
std::string Utf8Prefix(const std::u16string& text, std::size_t maxBytes);

} // namespace DxfText

#endif
