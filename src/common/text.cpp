#include "common/text.h"

#include <windows.h>

std::wstring AnsiToWide(std::string_view text, unsigned codePage) {
  if (text.empty()) return {};
  const int length = MultiByteToWideChar(codePage, 0, text.data(), static_cast<int>(text.size()),
                                         nullptr, 0);
  std::wstring wide(static_cast<size_t>(length), L'\0');
  MultiByteToWideChar(codePage, 0, text.data(), static_cast<int>(text.size()), wide.data(), length);
  return wide;
}

std::string WideToAnsi(std::wstring_view text, unsigned codePage) {
  if (text.empty()) return {};
  const int length = WideCharToMultiByte(codePage, 0, text.data(), static_cast<int>(text.size()),
                                         nullptr, 0, nullptr, nullptr);
  std::string ansi(static_cast<size_t>(length), '\0');
  WideCharToMultiByte(codePage, 0, text.data(), static_cast<int>(text.size()), ansi.data(), length,
                      nullptr, nullptr);
  return ansi;
}

// By hand: std::to_wstring goes through swprintf, which brings a whole printf implementation
// into the exe, and std::to_string brings tables of its own.
template <typename String>
static String Decimal(long long value) {
  // Counted as unsigned, so that the smallest long long has its digits too.
  unsigned long long rest = value < 0 ? 0 - static_cast<unsigned long long>(value) : static_cast<unsigned long long>(value);
  typename String::value_type digits[24];
  size_t start = sizeof digits / sizeof digits[0];
  do {
    digits[--start] = static_cast<typename String::value_type>('0' + rest % 10);
    rest /= 10;
  } while (rest != 0);
  if (value < 0) digits[--start] = '-';
  return String(digits + start, digits + sizeof digits / sizeof digits[0]);
}
std::string DecimalText(long long value) { return Decimal<std::string>(value); }
std::wstring DecimalTextW(long long value) { return Decimal<std::wstring>(value); }

std::string LocalTimeText() {
  SYSTEMTIME t;
  GetLocalTime(&t);
  char text[32];
  wsprintfA(text, "%04u-%02u-%02u %02u:%02u:%02u", t.wYear, t.wMonth, t.wDay, t.wHour, t.wMinute, t.wSecond);
  return text;
}
