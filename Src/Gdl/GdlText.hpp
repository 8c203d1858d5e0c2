// Script text built row by row in one growing buffer, with numbers written exactly as the C
// library's "%f" and "%d" write them in the C locale, whatever the process locale.
#ifndef VELMORA_GDL_GDLTEXT_HPP
#define VELMORA_GDL_GDLTEXT_HPP

#include <string>

// Appends the bytes snprintf("%f", v) gives in the C locale: six decimals, the exact value
// rounded half to even, "-" kept for negatives that round to zero (and -0.0).
void AppendFixed(std::string& out, double v);
// Appends the decimal digits of v, with "-" when negative.
void AppendInt(std::string& out, long long v);

// A section's text. Rows end with the host's end-of-line text; a row has no length limit.
class ScriptText {
public:
	// Appends text and ends the row.
	void AddRow(const char* text) { Add(text).EndRow(); }
	void AddRow(const std::string& text) { Add(text).EndRow(); }
	// Builds one row piece by piece; EndRow closes it.
	ScriptText& Add(const char* text)
	{
		text_ += text;
		return *this;
	}
	ScriptText& Add(const std::string& text)
	{
		text_ += text;
		return *this;
	}
	ScriptText& Fixed(double v)
	{
		AppendFixed(text_, v);
		return *this;
	}
	ScriptText& Int(long long v)
	{
		AppendInt(text_, v);
		return *this;
	}
	void EndRow();

	const std::string& Text() const { return text_; }
	std::string Take() { return std::move(text_); }
	void Reserve(std::size_t bytes) { text_.reserve(bytes); }

private:
	std::string text_;
};

#endif
