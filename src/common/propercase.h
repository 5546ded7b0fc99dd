#pragma once
#include <string>
#include <string_view>

// The first letter of every word upper case, every other letter lower case, by the system
// locale's case rules. A word starts at the start of the text and after a blank or one of NUL,
// tab, LF, VT, FF and CR; hyphens, dots, digits and other signs start no word.
std::wstring ProperCase(std::wstring_view text);
