// A JSON writer that streams to an output as the caller walks its data, so that a large
// project is never held as one document. The top level and the members of its containers
// are one a line; anything deeper is written on the line of its container.
#ifndef VHOST_JSONWRITER_HPP
#define VHOST_JSONWRITER_HPP

#include <cstdint>
#include <cstring>
#include <memory>
#include <ostream>
#include <string>
#include <string_view>
#include <type_traits>
#include <vector>

#include <nlohmann/json.hpp>

namespace vhost {

// Text written to a stream through a buffer of its own, so that many small pieces cost a copy
// each rather than a stream call. Flushes when destroyed.
class TextOut {
public:
	explicit TextOut(std::ostream& out) : out_(out), buffer_(new char[kSize]) {}
	~TextOut() { Flush(); }
	TextOut(const TextOut&) = delete;
	TextOut& operator=(const TextOut&) = delete;

	TextOut& operator<<(std::string_view text)
	{
		if (text.size() > kSize - used_) {
			Flush();
			if (text.size() > kSize) {
				out_.write(text.data(), static_cast<std::streamsize>(text.size()));
				return *this;
			}
		}
		std::memcpy(buffer_.get() + used_, text.data(), text.size());
		used_ += text.size();
		return *this;
	}
	template <typename C, std::enable_if_t<std::is_same_v<C, char>, int> = 0>
	TextOut& operator<<(C c)
	{
		if (used_ == kSize) Flush();
		buffer_[used_++] = c;
		return *this;
	}
	// The number with two decimals, as printf's "%.2f" (a half may round the other way).
	TextOut& Fixed2(double number);
	// The shortest text that reads back as the same double; a whole number keeps ".0".
	TextOut& Shortest(double number);
	TextOut& Whole(std::int64_t number);
	TextOut& Whole(std::uint64_t number);
	void Flush()
	{
		out_.write(buffer_.get(), static_cast<std::streamsize>(used_));
		used_ = 0;
	}

private:
	static constexpr std::size_t kSize = 1 << 16;
	static constexpr std::size_t kNumber = 32; // room for any number's text
	char* Room()
	{
		if (kSize - used_ < kNumber) Flush();
		return buffer_.get() + used_;
	}
	std::ostream& out_;
	std::unique_ptr<char[]> buffer_;
	std::size_t used_ = 0;
};

class JsonWriter {
public:
	// inlineOnly: every container on one line (for a value to be copied into another writer).
	explicit JsonWriter(std::ostream& out, bool inlineOnly = false) : out_(out), inlineOnly_(inlineOnly) {}
	// Puts what is written so far into the stream (done when the writer goes too).
	void Flush() { out_.Flush(); }

	void BeginObject();
	void EndObject();
	void BeginArray();
	void EndArray();
	// The next member's name; a value or a container must follow.
	JsonWriter& Key(std::string_view name);

	// Texts are written as UTF-8 with every invalid sequence replaced by U+FFFD.
	void Value(std::string_view text);
	void Value(const char* text) { Value(std::string_view(text)); }
	void Value(const std::string& text) { Value(std::string_view(text)); }
	// The shortest text that reads back as the same double; a whole number keeps ".0" so that
	// it reads back as a double. Infinities and NaN are written as null.
	void Value(double number);
	void Value(bool flag);
	template <typename T, std::enable_if_t<(std::is_integral_v<T> && !std::is_same_v<T, bool>) || std::is_enum_v<T>, int> = 0>
	void Value(T number)
	{
		if constexpr (std::is_enum_v<T>) Value(static_cast<std::underlying_type_t<T>>(number));
		else if constexpr (std::is_signed_v<T>) Signed(number);
		else Unsigned(number);
	}
	template <typename T>
	void Value(const std::vector<T>& list)
	{
		BeginArray();
		for (const T& v : list) Value(v);
		EndArray();
	}
	// A whole value made elsewhere (small parts of the dump).
	void Value(const nlohmann::ordered_json& value);
	void Null();
	// A value's JSON text copied as it is (valid JSON, made by a writer like this one).
	void RawValue(std::string_view json);

	template <typename T>
	JsonWriter& Field(std::string_view name, const T& value)
	{
		Key(name).Value(value);
		return *this;
	}

private:
	struct Level {
		bool broken; // members one a line
		std::size_t count;
	};
	void Signed(std::int64_t number);
	void Unsigned(std::uint64_t number);
	void BeforeValue();
	void Begin(char open);
	void End(char close);
	void Indent(std::size_t depth);

	TextOut out_;
	bool inlineOnly_;
	std::vector<Level> levels_;
	bool afterKey_ = false;
};

} // namespace vhost

#endif
