#pragma once
// Conversions between the ANSI code page (registry texts, file lines, list and language names)
// and UTF-16 (everything shown on screen, file paths).
#include <string>
#include <string_view>

std::wstring AnsiToWide(std::string_view text);
std::string WideToAnsi(std::wstring_view text);
// Decimal without leading zeros, blanks or grouping: value names and numbers in the summary.
std::string DecimalText(long long value);
std::wstring DecimalTextW(long long value);
