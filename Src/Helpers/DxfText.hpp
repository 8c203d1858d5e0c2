// Texts of a DXF drawing (layer names, text entities) as UTF-16. Drawings from AC1021 on
// are UTF-8; older ones are in the code page their $DWGCODEPAGE names.
#ifndef VELMORA_DXFTEXT_HPP
#define VELMORA_DXFTEXT_HPP

#include <string>
#include <string_view>

// How the byte strings of one drawing are read.
struct DxfEncoding {
	enum Kind { Utf8, CodePage, Utf8WhenValid };
	// Utf8WhenValid: a text that is valid UTF-8 is read as UTF-8, any other in the code page.
	Kind kind = Utf8;
	// UTF-16 units of the bytes 0x80..0xFF in the code page; null for a page we do not know.
	const char16_t* page = nullptr;
};

// The encoding of a drawing from its $ACADVER and $DWGCODEPAGE values (empty when absent).
// "AC1021" and later: UTF-8 whatever the code page says. Earlier versions: the named code
// page (names compare in any letter case), ANSI_1252 when none is named; a page we do not
// know leaves only the ASCII bytes readable. No version (or one that is not "AC" and
// digits): UTF-8 when the text is valid UTF-8, else the code page as for old drawings.
DxfEncoding DxfTextEncoding(std::string_view acadVersion, std::string_view codePage);

// The UTF-16 text of `bytes`. "\U+XXXX" (four hex digits, the format's escape for a
// character outside the code page) gives that character. A byte that the encoding does
// not map, an invalid UTF-8 sequence (each maximal invalid part) and a lone surrogate
// give U+FFFD.
std::u16string DecodeDxfText(std::string_view bytes, const DxfEncoding& encoding);

#endif
