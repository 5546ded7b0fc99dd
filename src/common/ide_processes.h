#pragma once
// Visual Basic IDEs running in this user's session, found through a Toolhelp snapshot (no
// administrator rights needed), and a watch that tells when the concerned ones have all closed.
// An open IDE writes its own list back when it closes, undoing any change made meanwhile.
#include <windows.h>

#include "common/handles.h"

struct OpenIdes {
  bool vb5 = false;  // VB5.EXE, which owns the 5.0 list
  bool vb6 = false;  // VB6.EXE, which owns the 6.0 list
  bool any() const { return vb5 || vb6; }
  friend bool operator==(const OpenIdes&, const OpenIdes&) = default;
};

// The IDE a process image ("VB6.EXE", "c:\vb\vb6.exe", any case) is, if any.
OpenIdes IdeOfImage(const wchar_t* image);
// The IDEs running now in this session; those not in `concerned` are not looked for.
OpenIdes FindOpenIdes(OpenIdes concerned = {true, true});

// A thread that looks for the concerned IDEs a few times a second: its event is set while none
// of them runs, and reset again when one starts.
class IdeWatch {
 public:
  explicit IdeWatch(OpenIdes concerned);
  ~IdeWatch();
  IdeWatch(const IdeWatch&) = delete;
  IdeWatch& operator=(const IdeWatch&) = delete;
  // Null when the watch could not be started.
  HANDLE AllClosed() const { return thread_ ? closed_.get() : nullptr; }

 private:
  static DWORD WINAPI Run(void* self);
  OpenIdes concerned_;
  KernelHandle closed_, stop_, thread_;
};
