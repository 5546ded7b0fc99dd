#include "common/ide_processes.h"

#include <tlhelp32.h>

namespace {

constexpr DWORD kPollMs = 300;

DWORD SessionOf(DWORD pid) {
  DWORD session = 0;
  // A process whose session cannot be read counts as ours: asking once too often is harmless.
  return ProcessIdToSessionId(pid, &session) ? session : MAXDWORD;
}

}  // namespace

OpenIdes IdeOfImage(const wchar_t* image) {
  const wchar_t* name = image;
  for (const wchar_t* c = image; *c; ++c)
    if (*c == L'\\' || *c == L'/') name = c + 1;
  return {lstrcmpiW(name, L"VB5.EXE") == 0, lstrcmpiW(name, L"VB6.EXE") == 0};
}

OpenIdes FindOpenIdes(OpenIdes concerned) {
  OpenIdes found;
  const KernelHandle snapshot(CreateToolhelp32Snapshot(TH32CS_SNAPPROCESS, 0));
  if (!snapshot) return found;
  const DWORD ours = SessionOf(GetCurrentProcessId());
  PROCESSENTRY32W entry{};
  entry.dwSize = sizeof entry;
  for (BOOL more = Process32FirstW(snapshot.get(), &entry); more; more = Process32NextW(snapshot.get(), &entry)) {
    const OpenIdes ide = IdeOfImage(entry.szExeFile);
    if (!(ide.vb5 && concerned.vb5) && !(ide.vb6 && concerned.vb6)) continue;
    const DWORD session = SessionOf(entry.th32ProcessID);
    if (session != ours && session != MAXDWORD && ours != MAXDWORD) continue;
    found.vb5 = found.vb5 || ide.vb5;
    found.vb6 = found.vb6 || ide.vb6;
  }
  return found;
}

IdeWatch::IdeWatch(OpenIdes concerned)
    : concerned_(concerned),
      closed_(CreateEventW(nullptr, TRUE, FALSE, nullptr)),
      stop_(CreateEventW(nullptr, TRUE, FALSE, nullptr)) {
  if (closed_ && stop_) thread_.reset(CreateThread(nullptr, 0, &Run, this, 0, nullptr));
}

IdeWatch::~IdeWatch() {
  // The thread uses both events: it ends before they are closed.
  if (thread_) {
    SetEvent(stop_.get());
    WaitForSingleObject(thread_.get(), INFINITE);
  }
}

DWORD WINAPI IdeWatch::Run(void* self) {
  auto& watch = *static_cast<IdeWatch*>(self);
  do {
    // An IDE started again keeps the event unset.
    if (FindOpenIdes(watch.concerned_).any())
      ResetEvent(watch.closed_.get());
    else
      SetEvent(watch.closed_.get());
  } while (WaitForSingleObject(watch.stop_.get(), kPollMs) == WAIT_TIMEOUT);
  return 0;
}
