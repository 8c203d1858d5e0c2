#include "StringConversion.hpp"

#include <charconv>
#include <cmath>
#include <string>
#include <type_traits>

namespace GS {

namespace {

bool IsBlank(UniChar c) { return c == u' ' || c == u'\t'; }
bool IsDigit(UniChar c) { return c >= u'0' && c <= u'9'; }

// Walks the units of one number as the header describes.
class NumberScanner {
public:
	explicit NumberScanner(const UniString& text) : text_(text) {}

	// The number between the blanks as ASCII, without a "+" sign; false when the text
	// does not follow the grammar.
	bool Scan(bool real, std::string& out)
	{
		while (pos_ < text_.GetLength() && IsBlank(text_[pos_])) ++pos_;
		Sign(out);
		std::size_t digits = Digits(out);
		if (real && Take(u'.', out)) digits += Digits(out);
		if (digits == 0) return false;
		if (real && (Take(u'e', out) || Take(u'E', out))) {
			Sign(out);
			if (Digits(out) == 0) return false;
		}
		while (pos_ < text_.GetLength() && IsBlank(text_[pos_])) ++pos_;
		return pos_ == text_.GetLength();
	}

private:
	bool Take(UniChar c, std::string& out)
	{
		if (pos_ >= text_.GetLength() || text_[pos_] != c) return false;
		out.push_back(static_cast<char>(c));
		++pos_;
		return true;
	}
	void Sign(std::string& out)
	{
		if (pos_ < text_.GetLength() && text_[pos_] == u'+') ++pos_;
		else Take(u'-', out);
	}
	std::size_t Digits(std::string& out)
	{
		const USize from = pos_;
		while (pos_ < text_.GetLength() && IsDigit(text_[pos_])) out.push_back(static_cast<char>(text_[pos_++]));
		return pos_ - from;
	}

	const UniString& text_;
	USize pos_ = 0;
};

bool ModelledMode(Int32 mode, Int32 flags) { return mode == 1 && flags == 0; }

template <typename T>
bool Convert(const UniString& text, T& value, Int32 mode, Int32 flags)
{
	std::string number;
	if (!ModelledMode(mode, flags) || !NumberScanner(text).Scan(std::is_floating_point<T>::value, number)) return false;
	T parsed{};
	const char* end = number.data() + number.size();
	const std::from_chars_result r = std::from_chars(number.data(), end, parsed);
	if (r.ec != std::errc() || r.ptr != end) return false;
	if constexpr (std::is_floating_point<T>::value) {
		if (!std::isfinite(parsed)) return false;
	}
	value = parsed;
	return true;
}

} // namespace

bool UniStringToValue(const UniString& text, double& value, Int32 mode, Int32 flags) { return Convert(text, value, mode, flags); }

bool UniStringToValue(const UniString& text, Int32& value, Int32 mode, Int32 flags) { return Convert(text, value, mode, flags); }

} // namespace GS
