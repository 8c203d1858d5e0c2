// GS::UniString: host text, held as UTF-16 code units.
#ifndef VHOST_UNISTRING_HPP
#define VHOST_UNISTRING_HPP

#include <cstdarg>
#include <cstring>
#include <stdexcept>
#include <string>
#include <string_view>

#include "Definitions.hpp"

namespace GS {

// Character codes for 8-bit text. The host default is UTF-8 here.
enum CharCode { CC_Default = 0, CC_UTF8 = 1, CC_Legacy = 2 };

enum CaseComparison { CaseSensitive, CaseInsensitive };

class UniString {
public:
	static constexpr USize MaxLength = static_cast<USize>(-1);

	// A narrow copy of a text, valid as long as this holder lives.
	class CStr {
	public:
		explicit CStr(std::string text) : text_(std::move(text)) {}
		const char* Get() const { return text_.c_str(); }
		operator const char*() const { return text_.c_str(); }
	private:
		std::string text_;
	};

	UniString() = default;
	// From 8-bit text in the given code. Invalid UTF-8 sequences become U+FFFD.
	UniString(const char* text, CharCode code = CC_Default);
	UniString(const std::string& text, CharCode code = CC_Default);
	UniString(const UniChar* units);
	UniString(const UniChar* units, USize count);

	// printf-style formatting of 8-bit text (UTF-8).
	static UniString Printf(const char* format, ...) __attribute__((format(printf, 1, 2)));
	static UniString VPrintf(const char* format, va_list args);
	// Same as Printf, on this object.
	void SPrintf(const char* format, ...) __attribute__((format(printf, 2, 3)));

	USize GetLength() const { return units_.size(); }
	bool IsEmpty() const { return units_.empty(); }
	void Clear() { units_.clear(); }
	UniChar GetChar(USize pos) const { return units_.at(pos); }
	UniChar operator[](USize pos) const { return units_.at(pos); }
	UniChar& operator[](USize pos) { return units_.at(pos); }

	// 8-bit copy: UTF-8 for CC_Default and CC_UTF8; CC_Legacy maps to Latin-1 with '?' for the rest.
	CStr ToCStr(CharCode code = CC_Default) const;
	// Terminated UTF-16 units, valid until the text changes.
	const UniChar* ToUStr() const { return units_.c_str(); }

	UniString& Append(const UniString& other) { units_ += other.units_; return *this; }
	UniString& Append(UniChar c) { units_ += c; return *this; }
	UniString& operator+=(const UniString& other) { return Append(other); }
	UniString& operator+=(const char* text) { return Append(UniString(text)); }
	UniString& operator+=(UniChar c) { return Append(c); }
	void Insert(USize pos, const UniString& text) { units_.Replace(pos, 0, text.units_.View()); }
	void Delete(USize pos, USize count = 1) { units_.Replace(pos, count, {}); }
	void Truncate(USize length) { if (length < units_.size()) units_.resize(length); }

	bool IsEqual(const UniString& other, CaseComparison cmp = CaseSensitive) const;
	// <0, 0, >0 like strcmp, by code units.
	int Compare(const UniString& other, CaseComparison cmp = CaseSensitive) const;
	bool operator==(const UniString& o) const { return units_ == o.units_; }
	bool operator!=(const UniString& o) const { return units_ != o.units_; }
	bool operator<(const UniString& o) const { return units_ < o.units_; }
	bool operator==(const char* o) const { return *this == UniString(o); }
	bool operator!=(const char* o) const { return !(*this == o); }

	// Searches answer MaxLength when the text is not found.
	USize FindFirst(const UniString& what, USize from = 0, CaseComparison cmp = CaseSensitive) const;
	USize FindFirst(UniChar c, USize from = 0) const;
	USize FindLast(const UniString& what, CaseComparison cmp = CaseSensitive) const;
	USize FindLast(UniChar c) const;
	bool Contains(const UniString& what, CaseComparison cmp = CaseSensitive) const;
	bool Contains(UniChar c) const { return FindFirst(c) != MaxLength; }
	bool BeginsWith(const UniString& what, CaseComparison cmp = CaseSensitive) const;
	bool EndsWith(const UniString& what, CaseComparison cmp = CaseSensitive) const;
	UniString GetSubstring(USize from, USize count) const;
	UniString GetPrefix(USize count) const { return GetSubstring(0, count); }
	UniString GetSuffix(USize count) const;
	// Replaces every occurrence; answers how many were replaced.
	USize ReplaceAll(const UniString& what, const UniString& with);

	// Case mapping covers ASCII, Latin-1 and Latin Extended-A (æøå, ÆØÅ and their kin).
	UniString& SetToUpperCase();
	UniString& SetToLowerCase();
	UniString ToUpperCase() const { UniString s(*this); s.SetToUpperCase(); return s; }
	UniString ToLowerCase() const { UniString s(*this); s.SetToLowerCase(); return s; }
	// Removes white space (space, tab, CR, LF, VT, FF, NBSP) from both ends.
	UniString& Trim();
	UniString& TrimLeft();
	UniString& TrimRight();

	friend UniString operator+(const UniString& a, const UniString& b) { UniString s(a); s += b; return s; }
	friend UniString operator+(const UniString& a, const char* b) { return a + UniString(b); }
	friend UniString operator+(const char* a, const UniString& b) { return UniString(a) + b; }

private:
	// The code units with a terminating zero. Texts of up to Inline units (most names, numbers
	// and table cells) are held in the object itself; longer ones on the heap.
	class Storage {
	public:
		static constexpr USize Inline = 14;

		Storage() noexcept = default;
		Storage(const UniChar* units, USize count) { Assign(units, count); }
		Storage(const Storage& other) { Assign(other.data(), other.size()); }
		Storage(Storage&& other) noexcept { Take(other); }
		Storage& operator=(const Storage& other)
		{
			if (this != &other) Assign(other.data(), other.size());
			return *this;
		}
		Storage& operator=(Storage&& other) noexcept
		{
			if (this != &other) {
				Free();
				Take(other);
			}
			return *this;
		}
		~Storage() { Free(); }

		USize size() const { return Tag() == Large ? Field(SizeAt) : Tag(); }
		bool empty() const { return size() == 0; }
		const UniChar* data() const { return Tag() == Large ? HeapUnits() : units_; }
		UniChar* data() { return Tag() == Large ? HeapUnits() : units_; }
		const UniChar* c_str() const { return data(); }
		std::u16string_view View() const { return {data(), size()}; }
		const UniChar* begin() const { return data(); }
		const UniChar* end() const { return data() + size(); }
		UniChar* begin() { return data(); }
		UniChar* end() { return data() + size(); }
		UniChar at(USize pos) const { return data()[Checked(pos)]; }
		UniChar& at(USize pos) { return data()[Checked(pos)]; }

		void clear() { SetSize(0); }
		// Replaces the text with count units from units (which may lie inside it).
		void Assign(const UniChar* units, USize count);
		// New units are zero.
		void resize(USize count);
		void Append(const UniChar* units, USize count);
		Storage& operator+=(const Storage& other) { Append(other.data(), other.size()); return *this; }
		Storage& operator+=(UniChar c) { Append(&c, 1); return *this; }
		// count units from pos (as many as there are) give way to with.
		void Replace(USize pos, USize count, std::u16string_view with);

		bool operator==(const Storage& o) const { return View() == o.View(); }
		bool operator!=(const Storage& o) const { return View() != o.View(); }
		bool operator<(const Storage& o) const { return View() < o.View(); }

	private:
		static constexpr UniChar Large = 0xFFFF;
		USize Checked(USize pos) const
		{
			if (pos >= size()) throw std::out_of_range("GS::UniString: position past the end");
			return pos;
		}
		USize Capacity() const { return Tag() == Large ? Field(CapacityAt) : Inline; }
		void SetSize(USize count)
		{
			if (Tag() == Large) SetField(SizeAt, count);
			else units_[TagAt] = static_cast<UniChar>(count);
			data()[count] = 0;
		}
		// Room for count units; keeps the text.
		void Reserve(USize count);
		void Take(Storage& other) noexcept
		{
			std::memcpy(units_, other.units_, sizeof units_);
			other.units_[0] = 0;
			other.units_[TagAt] = 0;
		}
		void Free() noexcept
		{
			if (Tag() == Large) delete[] HeapUnits();
		}

		// A text on the heap keeps its pointer, size and capacity (not counting the zero) in
		// the first bytes of units_; the last unit is the tag either way.
		static constexpr USize PointerAt = 0, SizeAt = 8, CapacityAt = 16, TagAt = Inline + 1;
		UniChar Tag() const { return units_[TagAt]; }
		USize Field(USize at) const
		{
			USize value;
			std::memcpy(&value, reinterpret_cast<const char*>(units_) + at, sizeof value);
			return value;
		}
		void SetField(USize at, USize value) { std::memcpy(reinterpret_cast<char*>(units_) + at, &value, sizeof value); }
		UniChar* HeapUnits() const
		{
			UniChar* units;
			std::memcpy(&units, reinterpret_cast<const char*>(units_) + PointerAt, sizeof units);
			return units;
		}
		void SetHeap(UniChar* units, USize size, USize capacity)
		{
			std::memcpy(reinterpret_cast<char*>(units_) + PointerAt, &units, sizeof units);
			SetField(SizeAt, size);
			SetField(CapacityAt, capacity);
			units_[TagAt] = Large;
		}

		// Inline: the units, their zero, then the tag (the size, or Large).
		alignas(8) UniChar units_[Inline + 2] = {};
		static_assert(sizeof(UniChar*) <= 8 && sizeof(USize) <= 8 && CapacityAt + 8 <= TagAt * sizeof(UniChar),
		              "the heap fields fit before the tag");
	};

	Storage units_;
};

extern const UniString EmptyUniString;

} // namespace GS

#endif
