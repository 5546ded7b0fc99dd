#pragma once
// How the windows word failures, notes and reports and name the lists, in the language in use.
#include <cstdint>
#include <string>
#include <utility>
#include <vector>

#include "cleaner/cleaner.h"
#include "common/error.h"
#include "listfile/listfile.h"
#include "settings/texts.h"

// A list's name as the messages give it: "VB5" for the 5.0 list, "VB6" for the 6.0 one.
std::wstring VbName(const std::string& version);

// A failure as the user reads it, in the language in use: what could not be done, to which file,
// and why ("Cannot write the file C:\x\NUL.rec: the name is reserved for a device (123)"). Every
// message about a failure words it here, whichever layer's Action and Problem it carries.
std::wstring Describe(const AppError& error);
// Why a list entry that exists cannot be read exactly: the status, its name and what it means
// for the entry ("234 ERROR_MORE_DATA: the text is longer than 254 characters").
std::wstring UnreadableEntryReason(DWORD code);
// A registry status as the notes show it: "5 ERROR_ACCESS_DENIED: Access denied".
std::wstring StatusText(DWORD code);

// The note that tells the user a version's list could not be changed, or "" when it was.
std::wstring ChangeFailureNote(const std::string& version, const CleanOutcome& outcome);
// The note that a version's list holds more entries than were checked, and that those were kept
// as they are; "" when it holds no more.
std::wstring UncheckedEntriesNote(const std::string& version, const CleanOutcome& outcome);
// The note that counts the entries removed, as the user said, because their place could not be
// reached; "" when there are none.
std::wstring UnreachableRemovedNote(std::int32_t vb5, std::int32_t vb6);
// The question asked before entries whose drive or share cannot be reached now are removed:
// how many there are and on which places (each with its count).
std::wstring UnreachableQuestion(const std::vector<std::pair<std::string, int>>& places);
// "The VB5 list: 2 of 3 entries removed." and the note of a failure, as clearing and the review
// report each list they changed.
std::wstring RemovalReport(const std::string& version, const CleanOutcome& outcome);
// What went wrong with one version's list in an import, or "" when it was replaced whole.
std::wstring ImportProblem(const std::string& version, const listfile::VersionImport& v);
