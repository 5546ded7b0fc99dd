#include "commandline/output.h"

#include "common/error.h"
#include "common/text.h"

namespace commandline {
namespace {

void WriteAll(HANDLE file, const std::string& bytes) {
  DWORD written = 0;
  if (file != INVALID_HANDLE_VALUE && file && !bytes.empty())
    WriteFile(file, bytes.data(), static_cast<DWORD>(bytes.size()), &written, nullptr);
}

}  // namespace

Output::Output() {
  // A windowed program has no console of its own: output redirected to a file or pipe comes as
  // a handle, otherwise it goes to the console of the program that started this one, if any.
  out_ = GetStdHandle(STD_OUTPUT_HANDLE);
  if (!out_ || out_ == INVALID_HANDLE_VALUE) {
    out_ = nullptr;
    using Attach = BOOL(WINAPI*)(DWORD);
    // Looked up, as a build for older Windows may lack it.
    if (auto attach = reinterpret_cast<Attach>(
            reinterpret_cast<void*>(GetProcAddress(GetModuleHandleW(L"kernel32.dll"), "AttachConsole"))))
      if (attach(ATTACH_PARENT_PROCESS))
        out_ = CreateFileW(L"CONOUT$", GENERIC_READ | GENERIC_WRITE, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr,
                           OPEN_EXISTING, 0, nullptr);
    if (out_ == INVALID_HANDLE_VALUE) out_ = nullptr;
  }
  DWORD mode = 0;
  console_ = out_ && GetConsoleMode(out_, &mode);
}

Output::~Output() {
  if (log_ != INVALID_HANDLE_VALUE) CloseHandle(log_);
}

void Output::OpenLog(const std::wstring& path) {
  log_ = CreateFileW(path.c_str(), FILE_APPEND_DATA, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr, OPEN_ALWAYS,
                     FILE_ATTRIBUTE_NORMAL, nullptr);
  if (log_ == INVALID_HANDLE_VALUE) ThrowLastError(Action::OpenFile, path);
}

void Output::Text(const std::wstring& text) {
  for (size_t start = 0; start < text.size();) {
    size_t end = text.find(L"\r\n", start);
    if (end == std::wstring::npos) end = text.size();
    if (end > start) Line(text.substr(start, end - start));
    start = end + 2;
  }
}

void Output::Line(const std::wstring& line) {
  if (console_) {
    const std::wstring text = line + L"\r\n";
    DWORD written = 0;
    WriteConsoleW(out_, text.data(), static_cast<DWORD>(text.size()), &written, nullptr);
  } else if (out_) {
    WriteAll(out_, WideToAnsi(line + L"\r\n", CP_UTF8));
  }
  if (log_ != INVALID_HANDLE_VALUE) {
    WriteAll(log_, LocalTimeText() + " " + WideToAnsi(line + L"\r\n", CP_UTF8));
  }
}

}  // namespace commandline
