#include "common/propercase.h"

#include <windows.h>

namespace {

bool StartsWord(wchar_t previous) {
  switch (previous) {
    case L' ': case L'\0': case L'\t': case L'\n': case L'\v': case L'\f': case L'\r':
      return true;
    default:
      return false;
  }
}

}  // namespace

std::wstring ProperCase(std::wstring_view text) {
  std::wstring result(text);
  if (result.empty()) return result;
  CharLowerBuffW(result.data(), static_cast<DWORD>(result.size()));
  for (size_t i = 0; i < result.size(); ++i) {
    if (i == 0 || StartsWord(result[i - 1])) CharUpperBuffW(&result[i], 1);
  }
  return result;
}
