#pragma once
// The language of the program's own messages (failures and warnings, which no language file
// translates): Polish while the built-in texts are in use, English otherwise.

void SetMessagesInPolish(bool polish);
bool MessagesInPolish();
// The Polish or the English text, by the current message language.
const wchar_t* Say(const wchar_t* polish, const wchar_t* english);
