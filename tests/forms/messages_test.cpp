#include "forms/messages.h"

#include <gtest/gtest.h>

#include "common/error.h"
#include "common/textfile.h"
#include "settings/language.h"
#include "support/scratch_registry.h"

namespace {

std::wstring Failure(auto&& fail) {
  try {
    fail();
  } catch (const AppError& e) {
    return Describe(e);
  }
  return L"(nothing thrown)";
}

// The failures shown to the user follow the language of the program's own messages, name what
// could not be done to which file and why, and end with the system's error number.
TEST(Messages, FailuresAreWordedInTheMessageLanguage) {
  TempFolder folder;
  const std::wstring device = folder / L"NUL.rec", missing = folder / L"brak\\lista.rec";

  CurrentTexts().Reset(true);
  const std::wstring polishDevice = Failure([&] { WriteFileReplacing(device, "x"); });
  const std::wstring polishMissing = Failure([&] { ReadFileBytes(missing); });
  CurrentTexts().Reset(false);
  const std::wstring englishDevice = Failure([&] { WriteFileReplacing(device, "x"); });

  EXPECT_TRUE(polishDevice.starts_with(L"Nie można zapisać pliku " + device +
                                       L": ta nazwa oznacza urządzenie, nie plik"))
      << polishDevice.size();
  EXPECT_TRUE(polishDevice.ends_with(L"(" + std::to_wstring(ERROR_INVALID_NAME) + L")"));
  EXPECT_TRUE(polishMissing.starts_with(L"Nie można otworzyć pliku " + missing));
  EXPECT_TRUE(englishDevice.starts_with(L"Cannot write the file " + device +
                                        L": the name is reserved for a device"));

  // Facts the lower layers report, as the user reads them.
  const std::pair<AppError, std::wstring> worded[] = {
      {AppError(SettingsAction::ApplyLanguageFile, ERROR_HANDLE_EOF, L"C:\\p\\lang\\Nine.txt", SettingsProblem::TooFewLines)
           .WithNumber(9),
       L"Incomplete language file: C:\\p\\lang\\Nine.txt, 9 lines"},
      {AppError(SettingsAction::ApplyLanguageFile, ERROR_HANDLE_EOF, L"U.txt", SettingsProblem::TooFewLines).WithNumber(1),
       L"Incomplete language file: U.txt, 1 line"},
      {AppError(SettingsAction::ApplyLanguageFile, ERROR_INVALID_DATA, L"H.txt", SettingsProblem::LineTooLong).WithNumber(10),
       L"Incomplete language file: H.txt, line 10 is longer than 32767 characters"},
      {AppError(ListAction::ImportListFile, ERROR_INVALID_DATA, L"x.rec", ListProblem::FlagNotNumber)
           .WithNumber(2)
           .WithEntry("6.0", "")
           .WithDetail(L"\"1x\""),
       L"Cannot import the list file x.rec: line 2 (the 6.0 flag) is not a whole number: \"1x\" (13)"},
      {AppError(ListAction::ImportListFile, ERROR_INVALID_DATA, L"x.rec", ListProblem::FlagOutOfRange)
           .WithNumber(1)
           .WithEntry("5.0", "")
           .WithDetail(L"\"2147483648\""),
       L"Cannot import the list file x.rec: line 1 (the 5.0 flag) is a whole number out of the range "
       L"-2147483648 to 2147483647: \"2147483648\" (13)"},
      {AppError(ListAction::ImportListFile, ERROR_INVALID_DATA, L"u.rec", ListProblem::ByteOrderMark).WithDetail(L"UTF-8"),
       L"Cannot import the list file u.rec: the file starts with a UTF-8 byte-order mark, so it is Unicode "
       L"text, but a list file is text in the ANSI code page (13)"},
      {AppError(ListAction::WriteListFile, ERROR_MORE_DATA, L"l.rec", ListProblem::EntryUnreadable).WithEntry("6.0", "2"),
       L"Cannot write the list file l.rec: entry \"2\" of the VB6 list cannot be read exactly (error 234 "
       L"ERROR_MORE_DATA: the text is longer than 254 characters)"},
      {AppError(ListAction::WriteListFile, ERROR_INVALID_NAME, L"a?.rec", Problem::ForbiddenCharacter).WithDetail(L"?"),
       L"Cannot write the list file a?.rec: file names cannot hold '?' (123)"},
  };
  for (const auto& [error, text] : worded) EXPECT_EQ(Describe(error), text);
}

}  // namespace
