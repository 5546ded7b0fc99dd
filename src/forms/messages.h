#pragma once
// The language of the program's own messages (failures and warnings, which no language file
// translates): Polish while the built-in texts are in use, English otherwise.

void SetMessagesInPolish(bool polish);
bool MessagesInPolish();
// The Polish or the English text, by the current message language.
const wchar_t* Say(const wchar_t* polish, const wchar_t* english);

#include <string>

#include "common/error.h"

// A failure as the user reads it, in the language of the program's own messages: what could not
// be done, to which file, and why ("Cannot write the file C:\x\NUL.rec: the name is reserved for
// a device (123)"). Every message about a failure words it here.
std::wstring Describe(const AppError& error);
// Why a list entry that exists cannot be read exactly: the status, its name and what it means
// for the entry ("234 ERROR_MORE_DATA: the text is longer than 254 characters").
std::wstring UnreadableEntryReason(DWORD code);
// A registry status as the notes show it: "5 ERROR_ACCESS_DENIED: Access denied".
std::wstring StatusText(DWORD code);
