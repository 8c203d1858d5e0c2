// GS::HashTable: a key-value table that keeps the order keys were added in, so that
// whatever iterates it (the project dump, the tests) sees a stable order.
#ifndef VHOST_HASHTABLE_HPP
#define VHOST_HASHTABLE_HPP

#include <map>
#include <stdexcept>
#include <utility>
#include <vector>

#include "Definitions.hpp"

namespace GS {

template <typename K, typename V>
class HashTable {
public:
	UInt32 GetSize() const { return static_cast<UInt32>(entries_.size()); }
	bool IsEmpty() const { return entries_.empty(); }
	void Clear() { entries_.clear(); index_.clear(); }

	// Adds the pair; answers false (and changes nothing) when the key is present.
	bool Add(const K& key, const V& value)
	{
		if (index_.count(key) != 0) return false;
		index_.emplace(key, entries_.size());
		entries_.emplace_back(key, value);
		return true;
	}
	// Adds or replaces.
	void Put(const K& key, const V& value)
	{
		if (V* v = GetPtr(key)) *v = value; else Add(key, value);
	}
	bool ContainsKey(const K& key) const { return index_.count(key) != 0; }
	// Throws std::out_of_range for a missing key (the real host asserts).
	V& Get(const K& key) { return entries_.at(index_.at(key)).second; }
	const V& Get(const K& key) const { return entries_.at(index_.at(key)).second; }
	bool Get(const K& key, V* value) const
	{
		const auto it = index_.find(key);
		if (it == index_.end()) return false;
		*value = entries_[it->second].second;
		return true;
	}
	V* GetPtr(const K& key)
	{
		const auto it = index_.find(key);
		return it == index_.end() ? nullptr : &entries_[it->second].second;
	}
	const V* GetPtr(const K& key) const
	{
		const auto it = index_.find(key);
		return it == index_.end() ? nullptr : &entries_[it->second].second;
	}
	V& operator[](const K& key)
	{
		if (!ContainsKey(key)) Add(key, V());
		return Get(key);
	}
	bool Delete(const K& key)
	{
		const auto it = index_.find(key);
		if (it == index_.end()) return false;
		const std::size_t pos = it->second;
		entries_.erase(entries_.begin() + static_cast<std::ptrdiff_t>(pos));
		index_.erase(it);
		for (auto& e : index_) if (e.second > pos) --e.second;
		return true;
	}

	// Iteration over (key, value) pairs in the order of adding.
	auto begin() const { return entries_.begin(); }
	auto end() const { return entries_.end(); }
	auto begin() { return entries_.begin(); }
	auto end() { return entries_.end(); }

private:
	std::vector<std::pair<K, V>> entries_;
	std::map<K, std::size_t> index_;
};

} // namespace GS

#endif
