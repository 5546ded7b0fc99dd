#pragma once
// Bytes packed at compile time and unpacked at run time, for data the exe carries in bulk (its
// built-in texts): a plain LZ77 code, less than half the size for text, unpacked in one pass.
//
// The packed bytes are groups of a flag byte and up to eight items, one flag bit each from the
// lowest: 0 is a literal byte; 1 is a copy of 3 to 18 bytes from 1 to 4,096 bytes back, in two
// bytes (the distance less one in the top 12 bits, the length less three in the low 4).
#include <array>
#include <cstddef>

namespace packed {

inline constexpr std::size_t kWindow = 4096, kMinCopy = 3, kMaxCopy = 18;

// What Pack makes from `n` bytes, at most one flag byte per eight bytes more than they take.
template <std::size_t n>
struct Packing {
  std::array<unsigned char, n + n / 8 + 1> bytes{};
  std::size_t size = 0;
};

template <std::size_t n>
constexpr Packing<n> Pack(const std::array<char, n>& plain) {
  Packing<n> out;
  // Where each earlier three-byte run began, by a hash of the run, chained from the newest.
  constexpr std::size_t kHashes = 4096, kTries = 64;
  std::array<int, kHashes> newest{};
  std::array<int, n> older{};
  newest.fill(-1);
  auto hash = [&](std::size_t at) {
    return (static_cast<unsigned char>(plain[at]) * 33u * 33u + static_cast<unsigned char>(plain[at + 1]) * 33u +
            static_cast<unsigned char>(plain[at + 2])) %
           kHashes;
  };
  auto remember = [&](std::size_t at) {
    if (at + kMinCopy > n) return;
    const std::size_t h = hash(at);
    older[at] = newest[h];
    newest[h] = static_cast<int>(at);
  };
  std::size_t flags = 0, items = 0;
  for (std::size_t at = 0; at < n;) {
    if (items % 8 == 0) flags = out.size++;
    std::size_t best = 0, from = 0;
    if (at + kMinCopy <= n) {
      std::size_t tries = 0;
      for (int earlier = newest[hash(at)]; earlier >= 0 && at - static_cast<std::size_t>(earlier) <= kWindow &&
                                           tries < kTries;
           earlier = older[static_cast<std::size_t>(earlier)], ++tries) {
        std::size_t length = 0;
        while (length < kMaxCopy && at + length < n && plain[static_cast<std::size_t>(earlier) + length] == plain[at + length])
          ++length;
        if (length > best) best = length, from = static_cast<std::size_t>(earlier);
      }
    }
    if (best >= kMinCopy) {
      const std::size_t distance = at - from - 1;
      out.bytes[flags] = static_cast<unsigned char>(out.bytes[flags] | 1u << (items % 8));
      out.bytes[out.size++] = static_cast<unsigned char>(distance >> 4);
      out.bytes[out.size++] = static_cast<unsigned char>((distance & 15) << 4 | (best - kMinCopy));
      for (std::size_t k = 0; k < best; ++k) remember(at + k);
      at += best;
    } else {
      out.bytes[out.size++] = static_cast<unsigned char>(plain[at]);
      remember(at);
      ++at;
    }
    ++items;
  }
  return out;
}

// The packing cut to its size, to keep in the exe.
template <std::size_t size, std::size_t n>
constexpr std::array<unsigned char, size> Trimmed(const Packing<n>& packing) {
  static_assert(size <= n + n / 8 + 1);
  std::array<unsigned char, size> bytes{};
  for (std::size_t i = 0; i < size; ++i) bytes[i] = packing.bytes[i];
  return bytes;
}

// Unpacks `packed` into `plain`, which holds exactly what was packed. Unpacked at compile time
// too, so the exe cannot carry a packing that does not come back.
constexpr void Unpack(const unsigned char* packed, char* plain, std::size_t size) {
  unsigned flags = 0;
  for (std::size_t at = 0, items = 0; at < size; ++items) {
    if (items % 8 == 0) flags = *packed++;
    if (flags >> (items % 8) & 1) {
      const std::size_t distance = (static_cast<std::size_t>(packed[0]) << 4 | packed[1] >> 4) + 1;
      const std::size_t length = (packed[1] & 15u) + kMinCopy;
      packed += 2;
      // A copy may overlap what it makes (a run), so byte by byte.
      for (std::size_t k = 0; k < length && at < size; ++k, ++at) plain[at] = plain[at - distance];
    } else {
      plain[at++] = static_cast<char>(*packed++);
    }
  }
}

}  // namespace packed
