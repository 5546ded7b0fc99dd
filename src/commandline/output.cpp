#include "commandline/output.h"

#include "common/error.h"
#include "common/text.h"

namespace commandline {
namespace {

std::string Utf8(const std::wstring& text) {
  if (text.empty()) return {};
  const int size = WideCharToMultiByte(CP_UTF8, 0, text.data(), static_cast<int>(text.size()), nullptr, 0, nullptr, nullptr);
  std::string bytes(static_cast<size_t>(size > 0 ? size : 0), '\0');
  if (size > 0)
    WideCharToMultiByte(CP_UTF8, 0, text.data(), static_cast<int>(text.size()), bytes.data(), size, nullptr, nullptr);
  return bytes;
}

void WriteAll(HANDLE file, const std::string& bytes) {
  DWORD written = 0;
  if (file != INVALID_HANDLE_VALUE && file && !bytes.empty())
    WriteFile(file, bytes.data(), static_cast<DWORD>(bytes.size()), &written, nullptr);
}

std::wstring TwoDigits(WORD value) { return (value < 10 ? L"0" : L"") + DecimalTextW(value); }

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
    WriteAll(out_, Utf8(line + L"\r\n"));
  }
  if (log_ != INVALID_HANDLE_VALUE) {
    SYSTEMTIME now;
    GetLocalTime(&now);
    const std::wstring stamp = DecimalTextW(now.wYear) + L"-" + TwoDigits(now.wMonth) + L"-" + TwoDigits(now.wDay) +
                               L" " + TwoDigits(now.wHour) + L":" + TwoDigits(now.wMinute) + L":" +
                               TwoDigits(now.wSecond) + L" ";
    WriteAll(log_, Utf8(stamp + line + L"\r\n"));
  }
}

}  // namespace commandline
