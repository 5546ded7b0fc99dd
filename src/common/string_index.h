#pragma once
// Strings, each with a number, in one sorted vector: what the program asks of a
// std::map<std::string, size_t>, in a fraction of the code. Keys are told apart byte for byte,
// as std::string's == tells them. A key is found by binary search and added by moving the keys
// after it: little at a few thousand keys, and nothing when they come in the order of Before.
#include <cstddef>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

class StringIndex {
 public:
  // The number of `key`, or nullptr when it has none. Good until the next key is added.
  const size_t* Find(std::string_view key) const;
  size_t* Find(std::string_view key);
  // The number of `key`; an exception when it has none, as std::map::at.
  size_t At(std::string_view key) const;
  // The number of `key`, which is added with `value` when it is new (then the bool is true), as
  // std::map::emplace does.
  std::pair<size_t*, bool> Emplace(std::string key, size_t value);
  // The number of `key`, added as 0 when it is new, as std::map::operator[].
  size_t& operator[](std::string key) { return *Emplace(std::move(key), 0).first; }

  // The order of the keys: by length, then bytes. Keys added in this order go at the end, each
  // without moving any other.
  static bool Before(std::string_view a, std::string_view b);

 private:
  std::vector<std::pair<std::string, size_t>> entries_;  // in the order of Before
  size_t LowerBound(std::string_view key) const;
};
