// The parameter sections in the dump and the plan, read straight from their JSON bytes: a
// project places objects by the thousand, and building a document for each would make the
// dump, not the import, the cost of a run.
#include <sstream>
#include <string_view>

#include "vhost/JsonWriter.hpp"
#include "vhost/LibraryStore.hpp"
#include "vhost/Text.hpp"

namespace vhost {

namespace {

// JSON bytes read value by value and checked as they are read (the grammar, escapes,
// surrogate pairs, UTF-8). Copy writes a value to a writer (or skips it when given none);
// Object and Array call back once per member or item with the scanner at its value, and the
// callback reads that value.
class Scanner {
public:
	explicit Scanner(std::string_view text) : t_(text) {}

	bool AtEnd()
	{
		Space();
		return at_ == t_.size();
	}

	bool Copy(JsonWriter* out)
	{
		Space();
		if (at_ >= t_.size() || depth_ > kMostDepth) return false;
		const char c = t_[at_];
		if (c == '{') {
			if (out) out->BeginObject();
			const bool ok = Object([&](std::string_view key, bool plain) {
				if (out) plain ? out->Key(key) : out->Key(Unescaped(key));
				return Copy(out);
			});
			if (out) out->EndObject();
			return ok;
		}
		if (c == '[') {
			if (out) out->BeginArray();
			const bool ok = Array([&] { return Copy(out); });
			if (out) out->EndArray();
			return ok;
		}
		std::string_view token;
		bool plain = true;
		if (!Scalar(token, plain)) return false;
		if (out == nullptr) return true;
		if (token.front() == '"' && plain) out->Value(token.substr(1, token.size() - 2));
		else out->RawValue(token);   // a number, a literal, or a string with its checked escapes
		return true;
	}

	// A number, literal or string as its text (a string with its quotes); plain: no escapes.
	bool Scalar(std::string_view& token, bool& plain)
	{
		Space();
		const std::size_t from = at_;
		plain = true;
		if (at_ < t_.size() && t_[at_] == '"') {
			if (!String(plain)) return false;
		} else if (!Literal("true") && !Literal("false") && !Literal("null") && !Number()) {
			return false;
		}
		token = t_.substr(from, at_ - from);
		return true;
	}

	template <typename F>
	bool Object(F member)
	{
		if (!Take('{')) return false;
		++depth_;
		if (Take('}')) return --depth_, true;
		do {
			Space();
			const std::size_t from = at_ + 1;
			bool plain = true;
			if (at_ >= t_.size() || t_[at_] != '"' || !String(plain)) return false;
			const std::string_view key = t_.substr(from, at_ - 1 - from);
			if (!Take(':') || !member(key, plain)) return false;
		} while (Take(','));
		--depth_;
		return Take('}');
	}

	template <typename F>
	bool Array(F item)
	{
		if (!Take('[')) return false;
		++depth_;
		if (Take(']')) return --depth_, true;
		do {
			if (!item()) return false;
		} while (Take(','));
		--depth_;
		return Take(']');
	}

private:
	static constexpr int kMostDepth = 256;

	void Space()
	{
		while (at_ < t_.size() && (t_[at_] == ' ' || t_[at_] == '\n' || t_[at_] == '\r' || t_[at_] == '\t')) ++at_;
	}
	bool Take(char c)
	{
		Space();
		if (at_ >= t_.size() || t_[at_] != c) return false;
		++at_;
		return true;
	}
	bool Literal(std::string_view word)
	{
		if (t_.substr(at_, word.size()) != word) return false;
		at_ += word.size();
		return true;
	}
	bool Digits()
	{
		const std::size_t from = at_;
		while (at_ < t_.size() && t_[at_] >= '0' && t_[at_] <= '9') ++at_;
		return at_ > from;
	}
	bool Number()
	{
		if (at_ < t_.size() && t_[at_] == '-') ++at_;
		if (at_ < t_.size() && t_[at_] == '0') ++at_;
		else if (!Digits()) return false;
		if (at_ < t_.size() && t_[at_] == '.' && (++at_, !Digits())) return false;
		if (at_ < t_.size() && (t_[at_] == 'e' || t_[at_] == 'E')) {
			++at_;
			if (at_ < t_.size() && (t_[at_] == '+' || t_[at_] == '-')) ++at_;
			if (!Digits()) return false;
		}
		return true;
	}
	// Four hex digits after "\u"; answers the unit or -1.
	long Hex4()
	{
		if (at_ + 4 > t_.size()) return -1;
		long unit = 0;
		for (int k = 0; k < 4; ++k) {
			const char h = t_[at_++];
			const int v = h >= '0' && h <= '9' ? h - '0' : h >= 'a' && h <= 'f' ? h - 'a' + 10 : h >= 'A' && h <= 'F' ? h - 'A' + 10 : -1;
			if (v < 0) return -1;
			unit = unit * 16 + v;
		}
		return unit;
	}
	bool Escape()
	{
		if (at_ >= t_.size()) return false;
		const char e = t_[at_++];
		if (e != 'u') return std::string_view("\"\\/bfnrt").find(e) != std::string_view::npos;
		const long unit = Hex4();
		if (unit < 0 || (unit >= 0xDC00 && unit <= 0xDFFF)) return false;
		if (unit < 0xD800 || unit > 0xDBFF) return true;
		if (t_.substr(at_, 2) != "\\u") return false;   // a high surrogate needs its low one
		at_ += 2;
		const long low = Hex4();
		return low >= 0xDC00 && low <= 0xDFFF;
	}
	bool String(bool& plain)
	{
		const std::size_t from = ++at_;
		for (;;) {
			if (at_ >= t_.size()) return false;
			const unsigned char c = static_cast<unsigned char>(t_[at_]);
			if (c == '"') break;
			if (c < 0x20) return false;
			++at_;
			if (c == '\\' && (plain = false, !Escape())) return false;
		}
		const std::string_view body = t_.substr(from, at_ - from);
		++at_;
		return IsValidUtf8(body.data(), static_cast<USize>(body.size()));
	}
	// The text of a checked string body with escapes (rare in names): decoded by the library.
	static std::string Unescaped(std::string_view body)
	{
		return nlohmann::json::parse("\"" + std::string(body) + "\"").get<std::string>();
	}

	std::string_view t_;
	std::size_t at_ = 0;
	int depth_ = 0;
};

// Writes what copy writes into a one-line writer, and hands it to out only when copy
// succeeds, so that bytes which do not parse leave nothing half written.
template <typename F>
bool Committed(JsonWriter& out, F copy)
{
	thread_local std::ostringstream buffer;
	buffer.str(std::string());
	{
		JsonWriter into(buffer, true);
		if (!copy(into)) return false;
	}
	out.RawValue(buffer.str());
	return true;
}

} // namespace

void WriteParamSection(JsonWriter& out, const std::string& bytes)
{
	const bool ok = Committed(out, [&](JsonWriter& into) {
		Scanner s(bytes);
		return s.Copy(&into) && s.AtEnd();
	});
	if (!ok) out.Null();
}

void WriteParamList(JsonWriter& out, const std::string& bytes)
{
	const bool ok = Committed(out, [&](JsonWriter& into) {
		Scanner s(bytes);
		bool found = false;
		const bool read = s.Object([&](std::string_view key, bool) {
			if (key != "parameters" || found) return s.Copy(nullptr);
			found = true;
			return s.Copy(&into);
		});
		return read && found && s.AtEnd();
	});
	if (!ok) WriteParamSection(out, bytes);
}

std::string ParamLines(const std::string& bytes)
{
	std::string lines;
	Scanner s(bytes);
	// One parameter: its name, and its value's text or the size of its values.
	const auto parameter = [&] {
		std::string name, value;
		bool named = false;
		const bool read = s.Object([&](std::string_view key, bool) {
			std::string_view token;
			bool plain = true;
			if (key == "name") {
				if (!s.Scalar(token, plain)) return false;
				named = plain && token.front() == '"';
				if (named) name = token.substr(1, token.size() - 2);
				return true;
			}
			if (key == "value") {
				if (!s.Scalar(token, plain)) return s.Copy(nullptr);
				value = token;
				return true;
			}
			if (key != "values") return s.Copy(nullptr);
			std::size_t count = 0;
			const bool ok = s.Array([&] { return ++count, s.Copy(nullptr); });
			value = "[" + std::to_string(count) + " values]";
			return ok;
		});
		if (named) lines += "\n" + name + " = " + value;
		return read;
	};
	bool found = false;
	const bool read = s.Object([&](std::string_view key, bool) {
		if (key != "parameters" || found) return s.Copy(nullptr);
		found = true;
		return s.Array(parameter);
	});
	return read && found && s.AtEnd() ? lines : std::string();
}

} // namespace vhost
