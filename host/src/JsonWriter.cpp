#include "vhost/JsonWriter.hpp"

#include <algorithm>
#include <charconv>
#include <cmath>

#include "vhost/Text.hpp"

namespace vhost {

namespace {

// Containers at these depths put their members one a line (the top level and its members);
// deeper ones are written without blanks.
constexpr std::size_t kBrokenDepth = 2;

void WriteEscaped(TextOut& out, std::string_view text)
{
	static const char hex[] = "0123456789abcdef";
	out << '"';
	std::size_t plain = 0; // start of the run not yet written
	for (std::size_t i = 0; i < text.size(); ++i) {
		const unsigned char c = static_cast<unsigned char>(text[i]);
		if (c >= 0x20 && c != '"' && c != '\\') continue;
		out << text.substr(plain, i - plain);
		plain = i + 1;
		switch (c) {
			case '"': out << "\\\""; break;
			case '\\': out << "\\\\"; break;
			case '\n': out << "\\n"; break;
			case '\r': out << "\\r"; break;
			case '\t': out << "\\t"; break;
			case '\b': out << "\\b"; break;
			case '\f': out << "\\f"; break;
			default: out << "\\u00" << hex[c >> 4] << hex[c & 15]; break;
		}
	}
	out << text.substr(plain) << '"';
}

void WriteText(TextOut& out, std::string_view text)
{
	if (IsValidUtf8(text.data(), static_cast<USize>(text.size()))) WriteEscaped(out, text);
	else WriteEscaped(out, ValidUtf8(text));
}

} // namespace

TextOut& TextOut::Fixed2(double number)
{
	char* at = Room();
	// Hundredths as a whole number, when they fit one exactly; printf's rounding otherwise.
	if (std::fabs(number) < 1e13) {
		const long long hundredths = std::llround(number * 100.0);
		const unsigned long long magnitude = hundredths < 0 ? 0ULL - static_cast<unsigned long long>(hundredths)
		                                                    : static_cast<unsigned long long>(hundredths);
		if (number < 0) *at++ = '-';
		at = std::to_chars(at, at + kNumber, magnitude / 100).ptr;
		*at++ = '.';
		*at++ = static_cast<char>('0' + magnitude % 100 / 10);
		*at++ = static_cast<char>('0' + magnitude % 10);
	} else {
		const auto result = std::to_chars(at, at + kNumber, number, std::chars_format::fixed, 2);
		at = result.ec == std::errc() ? result.ptr : std::copy_n("0.00", 4, at); // beyond any plan
	}
	used_ = static_cast<std::size_t>(at - buffer_.get());
	return *this;
}

TextOut& TextOut::Shortest(double number)
{
	char* at = Room();
	char* const end = std::to_chars(at, at + kNumber - 2, number).ptr;
	const bool whole = std::find(at, end, '.') == end && std::find(at, end, 'e') == end;
	used_ = static_cast<std::size_t>((whole ? std::copy_n(".0", 2, end) : end) - buffer_.get());
	return *this;
}

TextOut& TextOut::Whole(std::int64_t number)
{
	used_ = static_cast<std::size_t>(std::to_chars(Room(), buffer_.get() + kSize, number).ptr - buffer_.get());
	return *this;
}

TextOut& TextOut::Whole(std::uint64_t number)
{
	used_ = static_cast<std::size_t>(std::to_chars(Room(), buffer_.get() + kSize, number).ptr - buffer_.get());
	return *this;
}

void JsonWriter::Indent(std::size_t depth)
{
	out_ << '\n';
	for (std::size_t i = 0; i < depth; ++i) out_ << "  ";
}

void JsonWriter::BeforeValue()
{
	if (afterKey_) {
		afterKey_ = false;
		return;
	}
	if (levels_.empty()) return;
	Level& level = levels_.back();
	if (level.count++ > 0) out_ << ',';
	if (level.broken) Indent(levels_.size());
}

JsonWriter& JsonWriter::Key(std::string_view name)
{
	BeforeValue();
	WriteText(out_, name);
	out_ << (!levels_.empty() && levels_.back().broken ? ": " : ":");
	afterKey_ = true;
	return *this;
}

void JsonWriter::Begin(char open)
{
	BeforeValue();
	out_ << open;
	levels_.push_back(Level{!inlineOnly_ && levels_.size() < kBrokenDepth, 0});
}

void JsonWriter::End(char close)
{
	const Level level = levels_.back();
	levels_.pop_back();
	if (level.broken && level.count > 0) Indent(levels_.size());
	out_ << close;
	if (levels_.empty() && !inlineOnly_) out_ << '\n';
}

void JsonWriter::BeginObject() { Begin('{'); }
void JsonWriter::EndObject() { End('}'); }
void JsonWriter::BeginArray() { Begin('['); }
void JsonWriter::EndArray() { End(']'); }

void JsonWriter::Value(std::string_view text)
{
	BeforeValue();
	WriteText(out_, text);
}

void JsonWriter::Value(double number)
{
	if (!std::isfinite(number)) return Null();
	BeforeValue();
	out_.Shortest(number);
}

void JsonWriter::Value(bool flag)
{
	BeforeValue();
	out_ << (flag ? "true" : "false");
}

void JsonWriter::Signed(std::int64_t number)
{
	BeforeValue();
	out_.Whole(number);
}

void JsonWriter::Unsigned(std::uint64_t number)
{
	BeforeValue();
	out_.Whole(number);
}

void JsonWriter::Null()
{
	BeforeValue();
	out_ << "null";
}

void JsonWriter::RawValue(std::string_view json)
{
	BeforeValue();
	out_ << json;
}

void JsonWriter::Value(const nlohmann::ordered_json& value)
{
	using Type = nlohmann::ordered_json::value_t;
	switch (value.type()) {
		case Type::object:
			BeginObject();
			for (const auto& [name, member] : value.items()) Key(name).Value(member);
			EndObject();
			break;
		case Type::array:
			BeginArray();
			for (const auto& member : value) Value(member);
			EndArray();
			break;
		case Type::string: Value(value.get_ref<const std::string&>()); break;
		case Type::boolean: Value(value.get<bool>()); break;
		case Type::number_integer: Signed(value.get<std::int64_t>()); break;
		case Type::number_unsigned: Unsigned(value.get<std::uint64_t>()); break;
		case Type::number_float: Value(value.get<double>()); break;
		default: Null(); break;
	}
}

} // namespace vhost
