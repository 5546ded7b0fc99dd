#pragma once
// Small owners for Windows handles: each closes what it holds once, when it goes or is reset.
#include <windows.h>

#include <utility>

// Holds a handle its traits call valid, or the traits' null: whatever a failed call returned
// (null or INVALID_HANDLE_VALUE) is kept as null, so "holds nothing" has one value and is never
// closed.
template <typename Traits>
class UniqueHandle {
 public:
  using Handle = typename Traits::Handle;
  UniqueHandle() = default;
  explicit UniqueHandle(Handle h) { reset(h); }
  ~UniqueHandle() { reset(); }
  UniqueHandle(const UniqueHandle&) = delete;
  UniqueHandle& operator=(const UniqueHandle&) = delete;
  UniqueHandle(UniqueHandle&& other) noexcept : h_(other.release()) {}
  UniqueHandle& operator=(UniqueHandle&& other) noexcept {
    if (this != &other) reset(other.release());
    return *this;
  }
  Handle get() const { return h_; }
  explicit operator bool() const { return h_ != Traits::null(); }
  Handle release() { return std::exchange(h_, Traits::null()); }
  void reset(Handle h = Traits::null()) {
    if (h == h_) return;  // already held: closing it would leave a dead handle
    const Handle old = std::exchange(h_, Traits::valid(h) ? h : Traits::null());
    if (old != Traits::null()) Traits::close(old);
  }

 private:
  Handle h_ = Traits::null();
};

// Kernel objects: files, events, mutexes, threads, snapshots. CreateFile and
// CreateToolhelp32Snapshot fail with INVALID_HANDLE_VALUE, CreateEvent, CreateMutex and
// CreateThread with null; neither is a handle.
struct KernelHandleTraits {
  using Handle = HANDLE;
  static Handle null() { return nullptr; }
  static bool valid(Handle h) { return h && h != INVALID_HANDLE_VALUE; }
  static void close(Handle h) { CloseHandle(h); }
};
struct FindHandleTraits {
  using Handle = HANDLE;
  static Handle null() { return nullptr; }
  static bool valid(Handle h) { return h && h != INVALID_HANDLE_VALUE; }
  static void close(Handle h) { FindClose(h); }
};
struct KeyHandleTraits {
  using Handle = HKEY;
  static Handle null() { return nullptr; }
  static bool valid(Handle h) { return h != nullptr; }
  static void close(Handle h) { RegCloseKey(h); }
};
struct GdiObjectTraits {
  using Handle = HGDIOBJ;
  static Handle null() { return nullptr; }
  static bool valid(Handle h) { return h != nullptr; }
  static void close(Handle h) { DeleteObject(h); }
};

// Every kernel handle the program opens is held by one of these.
using KernelHandle = UniqueHandle<KernelHandleTraits>;
using FindHandle = UniqueHandle<FindHandleTraits>;
using KeyHandle = UniqueHandle<KeyHandleTraits>;
using GdiObject = UniqueHandle<GdiObjectTraits>;
