// GS::Array: the host's growable array, over std::vector.
#ifndef VHOST_ARRAY_HPP
#define VHOST_ARRAY_HPP

#include <algorithm>
#include <initializer_list>
#include <stdexcept>
#include <vector>

#include "Definitions.hpp"

namespace GS {


template <typename T>
class Array {
public:
	using value_type = T;
	static constexpr UInt32 MaxUIndex = 0xFFFFFFFF;

	Array() = default;
	Array(std::initializer_list<T> items) : items_(items) {}

	UInt32 GetSize() const { return static_cast<UInt32>(items_.size()); }
	bool IsEmpty() const { return items_.empty(); }
	void Clear() { items_.clear(); }
	void SetSize(UInt32 n) { items_.resize(n); }
	void SetCapacity(UInt32 n) { items_.reserve(n); }

	void Push(const T& item) { items_.push_back(item); }
	void Push(T&& item) { items_.push_back(std::move(item)); }
	T Pop() { T last = std::move(items_.at(items_.size() - 1)); items_.pop_back(); return last; }
	void Insert(UInt32 pos, const T& item) { items_.insert(items_.begin() + Checked(pos, true), item); }
	void Delete(UInt32 pos) { items_.erase(items_.begin() + Checked(pos, false)); }
	void Append(const Array& other) { items_.insert(items_.end(), other.items_.begin(), other.items_.end()); }

	// Out-of-range positions throw std::out_of_range (the real host asserts).
	T& operator[](UInt32 pos) { return items_.at(pos); }
	const T& operator[](UInt32 pos) const { return items_.at(pos); }
	T& GetFirst() { return items_.at(0); }
	const T& GetFirst() const { return items_.at(0); }
	T& GetLast() { return items_.at(items_.size() - 1); }
	const T& GetLast() const { return items_.at(items_.size() - 1); }

	// Position of the first equal item, or MaxUIndex.
	UInt32 FindFirst(const T& item) const
	{
		const auto it = std::find(items_.begin(), items_.end(), item);
		return it == items_.end() ? MaxUIndex : static_cast<UInt32>(it - items_.begin());
	}
	bool Contains(const T& item) const { return FindFirst(item) != MaxUIndex; }

	auto begin() { return items_.begin(); }
	auto end() { return items_.end(); }
	auto begin() const { return items_.begin(); }
	auto end() const { return items_.end(); }

	bool operator==(const Array& o) const { return items_ == o.items_; }
	bool operator!=(const Array& o) const { return items_ != o.items_; }

private:
	std::size_t Checked(UInt32 pos, bool endAllowed) const
	{
		if (pos > items_.size() || (!endAllowed && pos == items_.size())) throw std::out_of_range("GS::Array position");
		return pos;
	}
	std::vector<T> items_;
};

} // namespace GS

#endif
