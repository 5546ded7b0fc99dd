#include "commandline/output.h"

#include "common/error.h"
#include "common/text.h"

namespace commandline {
namespace {

void WriteAll(HANDLE file, const std::string& bytes) {
  DWORD written = 0;
  if (file && !bytes.empty()) WriteFile(file, bytes.data(), static_cast<DWORD>(bytes.size()), &written, nullptr);
}

// The standard handle this program was given, or null.
HANDLE Given(DWORD which) {
  HANDLE handle = GetStdHandle(which);
  return handle == INVALID_HANDLE_VALUE ? nullptr : handle;
}

}  // namespace

Output::Output() {
  // A windowed program has no console of its own: output redirected to a file or pipe comes as
  // a handle, otherwise it goes to the console of the program that started this one, if any.
  HANDLE out = Given(STD_OUTPUT_HANDLE), err = Given(STD_ERROR_HANDLE);
  if (!out || !err) {
    using Attach = BOOL(WINAPI*)(DWORD);
    // Looked up, as a build for older Windows may lack it.
    if (auto attach = reinterpret_cast<Attach>(
            reinterpret_cast<void*>(GetProcAddress(GetModuleHandleW(L"kernel32.dll"), "AttachConsole"))))
      if (attach(ATTACH_PARENT_PROCESS))
        console_.reset(CreateFileW(L"CONOUT$", GENERIC_READ | GENERIC_WRITE, FILE_SHARE_READ | FILE_SHARE_WRITE,
                                   nullptr, OPEN_EXISTING, 0, nullptr));
    if (!out) out = console_.get();
    if (!err) err = console_.get();
  }
  DWORD mode = 0;
  out_ = {out, out && GetConsoleMode(out, &mode)};
  err_ = {err, err && GetConsoleMode(err, &mode)};
}

void Output::OpenLog(const std::wstring& path) {
  log_.reset(CreateFileW(path.c_str(), FILE_APPEND_DATA, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr, OPEN_ALWAYS,
                         FILE_ATTRIBUTE_NORMAL, nullptr));
  if (!log_) ThrowLastError(Action::OpenFile, path);
}

void Output::Text(const std::wstring& text) { Lines(out_, text); }

void Output::Error(const std::wstring& text) { Lines(err_, text); }

void Output::Lines(const Stream& stream, const std::wstring& text) {
  for (size_t start = 0; start < text.size();) {
    size_t end = text.find(L"\r\n", start);
    if (end == std::wstring::npos) end = text.size();
    if (end > start) Line(stream, text.substr(start, end - start));
    start = end + 2;
  }
}

void Output::Line(const Stream& stream, const std::wstring& line) {
  if (stream.console) {
    const std::wstring text = line + L"\r\n";
    DWORD written = 0;
    WriteConsoleW(stream.handle, text.data(), static_cast<DWORD>(text.size()), &written, nullptr);
  } else {
    WriteAll(stream.handle, WideToAnsi(line + L"\r\n", CP_UTF8));
  }
  if (log_) WriteAll(log_.get(), LocalTimeText() + " " + WideToAnsi(line + L"\r\n", CP_UTF8));
}

}  // namespace commandline
