// Script text built row by row in one growing buffer, with numbers written exactly as the C
// library's "%f" and "%d" write them in the C locale, whatever the process locale.
#ifndef VELMORA_GDL_GDLTEXT_HPP
#define VELMORA_GDL_GDLTEXT_HPP

#include <cstddef>
#include <cstring>
#include <string>

// Appends the bytes snprintf("%f", v) gives in the C locale: six decimals, the exact value
// rounded half to even, "-" kept for negatives that round to zero (and -0.0).
void AppendFixed(std::string& out, double v);
// Appends the decimal digits of v, with "-" when negative.
void AppendInt(std::string& out, long long v);

// A section's text. Rows end with the host's end-of-line text; a row has no length limit.
// Pieces gather in a small buffer and reach the text a few rows at a time.
class ScriptText {
public:
	// Appends text and ends the row.
	template <std::size_t N>
	void AddRow(const char (&literal)[N])
	{
		Add(literal).EndRow();
	}
	void AddRow(const char* text) { Add(text).EndRow(); }
	void AddRow(const std::string& text) { Add(text).EndRow(); }

	// Builds one row piece by piece; EndRow closes it.
	template <std::size_t N>
	ScriptText& Add(const char (&literal)[N])
	{
		Put(literal, N - 1);
		return *this;
	}
	ScriptText& Add(const char* text)
	{
		Put(text, std::strlen(text));
		return *this;
	}
	ScriptText& Add(const std::string& text)
	{
		Put(text.data(), text.size());
		return *this;
	}
	ScriptText& Fixed(double v);
	ScriptText& Int(long long v);
	void EndRow();

	// The text so far (rows not yet ended included).
	const std::string& Text()
	{
		Flush();
		return text_;
	}
	std::string Take()
	{
		Flush();
		return std::move(text_);
	}
	void Reserve(std::size_t bytes) { text_.reserve(bytes); }

private:
	static constexpr std::size_t kRow = 4096;
	static constexpr std::size_t kNumberRoom = 48; // the longest number written in place

	void Put(const char* data, std::size_t n)
	{
		if (used_ + n > kRow) {
			Flush();
			if (n > kRow) {
				text_.append(data, n);
				return;
			}
		}
		std::memcpy(row_ + used_, data, n);
		used_ += n;
	}
	void Flush()
	{
		text_.append(row_, used_);
		used_ = 0;
	}

	std::string text_;
	char row_[kRow];
	std::size_t used_ = 0;
};

#endif
