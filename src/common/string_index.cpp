#include "common/string_index.h"

#include <algorithm>
#include <exception>

namespace {

// A key asked for that was never added: a fault of the program, reported as any other exception
// by the handler it reaches. Not std::out_of_range, whose library code would come along with it.
struct NoSuchKey : std::exception {
  const char* what() const noexcept override { return "StringIndex::At: no such key"; }
};

}  // namespace

bool StringIndex::Before(std::string_view a, std::string_view b) {
  return a.size() != b.size() ? a.size() < b.size() : a < b;
}

size_t StringIndex::LowerBound(std::string_view key) const {
  const auto at = std::lower_bound(entries_.begin(), entries_.end(), key,
                                   [](const auto& entry, std::string_view k) { return Before(entry.first, k); });
  return static_cast<size_t>(at - entries_.begin());
}

const size_t* StringIndex::Find(std::string_view key) const {
  const size_t at = LowerBound(key);
  return at < entries_.size() && entries_[at].first == key ? &entries_[at].second : nullptr;
}

size_t* StringIndex::Find(std::string_view key) {
  return const_cast<size_t*>(static_cast<const StringIndex&>(*this).Find(key));
}

size_t StringIndex::At(std::string_view key) const {
  const size_t* value = Find(key);
  if (!value) throw NoSuchKey();
  return *value;
}

std::pair<size_t*, bool> StringIndex::Emplace(std::string key, size_t value) {
  const size_t at = LowerBound(key);
  if (at < entries_.size() && entries_[at].first == key) return {&entries_[at].second, false};
  entries_.emplace(entries_.begin() + static_cast<std::ptrdiff_t>(at), std::move(key), value);
  return {&entries_[at].second, true};
}
