#include "vhost/JsonWriter.hpp"

#include <charconv>
#include <cmath>

#include "vhost/Text.hpp"

namespace vhost {

namespace {

// Containers at these depths put their members one a line (the top level and its members).
constexpr std::size_t kBrokenDepth = 2;

void WriteEscaped(std::ostream& out, std::string_view text)
{
	static const char hex[] = "0123456789abcdef";
	out.put('"');
	std::size_t plain = 0; // start of the run not yet written
	for (std::size_t i = 0; i < text.size(); ++i) {
		const unsigned char c = static_cast<unsigned char>(text[i]);
		if (c >= 0x20 && c != '"' && c != '\\') continue;
		out.write(text.data() + plain, static_cast<std::streamsize>(i - plain));
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
	out.write(text.data() + plain, static_cast<std::streamsize>(text.size() - plain));
	out.put('"');
}

void WriteText(std::ostream& out, std::string_view text)
{
	if (IsValidUtf8(text.data(), static_cast<USize>(text.size()))) WriteEscaped(out, text);
	else WriteEscaped(out, ValidUtf8(text));
}

} // namespace

void JsonWriter::Indent(std::size_t depth)
{
	out_.put('\n');
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
	if (level.count++ > 0) out_.put(',');
	if (level.broken) Indent(levels_.size());
	else if (level.count > 1) out_.put(' ');
}

JsonWriter& JsonWriter::Key(std::string_view name)
{
	BeforeValue();
	WriteText(out_, name);
	out_ << ": ";
	afterKey_ = true;
	return *this;
}

void JsonWriter::Begin(char open)
{
	BeforeValue();
	out_.put(open);
	levels_.push_back(Level{!inlineOnly_ && levels_.size() < kBrokenDepth, 0});
}

void JsonWriter::End(char close)
{
	const Level level = levels_.back();
	levels_.pop_back();
	if (level.broken && level.count > 0) Indent(levels_.size());
	out_.put(close);
	if (levels_.empty() && !inlineOnly_) out_.put('\n');
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
	char buf[32];
	const auto [end, ec] = std::to_chars(buf, buf + sizeof buf, number);
	const std::string_view text(buf, static_cast<std::size_t>(end - buf));
	out_ << text;
	if (text.find_first_of(".e") == std::string_view::npos) out_ << ".0";
}

void JsonWriter::Value(bool flag)
{
	BeforeValue();
	out_ << (flag ? "true" : "false");
}

void JsonWriter::Signed(std::int64_t number)
{
	BeforeValue();
	char buf[24];
	out_.write(buf, std::to_chars(buf, buf + sizeof buf, number).ptr - buf);
}

void JsonWriter::Unsigned(std::uint64_t number)
{
	BeforeValue();
	char buf[24];
	out_.write(buf, std::to_chars(buf, buf + sizeof buf, number).ptr - buf);
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
