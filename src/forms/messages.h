#pragma once
// How the windows word failures and name the lists, in the language in use.
#include <string>

#include "common/error.h"
#include "settings/texts.h"

// A list's name as the messages give it: "VB5" for the 5.0 list, "VB6" for the 6.0 one.
std::wstring VbName(const std::string& version);

// A failure as the user reads it, in the language of the program's own messages: what could not
// be done, to which file, and why ("Cannot write the file C:\x\NUL.rec: the name is reserved for
// a device (123)"). Every message about a failure words it here.
std::wstring Describe(const AppError& error);
// Why a list entry that exists cannot be read exactly: the status, its name and what it means
// for the entry ("234 ERROR_MORE_DATA: the text is longer than 254 characters").
std::wstring UnreadableEntryReason(DWORD code);
// A registry status as the notes show it: "5 ERROR_ACCESS_DENIED: Access denied".
std::wstring StatusText(DWORD code);
