#pragma once
// Conversions between the ANSI code page (registry texts, file lines, list and language names)
// and UTF-16 (everything shown on screen, file paths); the built-in texts and the command line's
// redirected output use UTF-8 (code page 65001) instead.
#include <string>
#include <string_view>

std::wstring AnsiToWide(std::string_view text, unsigned codePage = 0 /* CP_ACP */);
std::string WideToAnsi(std::wstring_view text, unsigned codePage = 0 /* CP_ACP */);
// Decimal without leading zeros, blanks or grouping: value names and numbers in the summary.
std::string DecimalText(long long value);
std::wstring DecimalTextW(long long value);
// The local date and time as "2026-12-08 13:05:09": when an undo record was begun, and a log
// line's stamp.
std::string LocalTimeText();
