#include <windows.h>

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "settings/language_list.h"
#include "startup_fixture.h"

namespace {

using Entries = std::vector<std::wstring>;

class LanguageListTest : public ProgramFolderTest {};

TEST_F(LanguageListTest, PolskiThenTheFilesInProperCase) {
  for (const wchar_t* name : {L"new zealand.txt", L"ENGLISH.txt", L"Deutsch.txt"})
    AddLanguageFile(name);
  AddLanguageFile(L"notes.doc");
  EXPECT_EQ(LanguagePickerEntries(folder()),
            (Entries{L"Polski", L"Deutsch", L"English", L"New Zealand"}));
}

TEST_F(LanguageListTest, PolskiStaysFirstEvenWhenNamesSortBeforeIt) {
  AddLanguageFile(L"afrikaans.txt");
  AddLanguageFile(L"Zulu.TXT");
  EXPECT_EQ(LanguagePickerEntries(folder()), (Entries{L"Polski", L"Afrikaans", L"Zulu"}));
}

TEST_F(LanguageListTest, FilesNamedLikeTheBuiltInChoiceMapToIt) {
  AddLanguageFile(L"polski.txt");
  AddLanguageFile(L"#.txt");
  const Entries entries = LanguagePickerEntries(folder());
  ASSERT_EQ(entries, (Entries{L"Polski", L"#", L"Polski"}));
  for (const std::wstring& entry : entries) EXPECT_EQ(LanguageOfEntry(entry), "#") << entry;
}

TEST_F(LanguageListTest, OtherEntriesAreStoredAsTheyAreShown) {
  EXPECT_EQ(LanguageOfEntry(L"English"), "English");
  EXPECT_EQ(LanguageOfEntry(L"polski"), "polski");  // case-sensitive
  EXPECT_EQ(LanguageOfEntry(L"Polski "), "Polski ");
  EXPECT_EQ(LanguageOfEntry(L""), "");
  // A file named only ".txt" is offered as an empty entry.
  AddLanguageFile(L".txt");
  EXPECT_EQ(LanguagePickerEntries(folder()), (Entries{L"Polski", L""}));
}

TEST_F(LanguageListTest, AChosenEntryFindsItsFileAtTheNextStart) {
  AddLanguageFile(L"new zealand.txt", "x\r\n");
  const Entries entries = LanguagePickerEntries(folder());
  ASSERT_EQ(entries.size(), 2u);
  CurrentLanguage = LanguageOfEntry(entries[1]);
  ASSERT_EQ(SaveCurrentLanguage(folder()), std::nullopt);
  CurrentLanguage.clear();
  EXPECT_TRUE(LoadStoredLanguage(folder()));
  EXPECT_EQ(CurrentLanguage, "New Zealand");
}

TEST_F(LanguageListTest, NamesOutsideTheAnsiCodePageAreNotOffered) {
  if (GetACP() == CP_UTF8) GTEST_SKIP() << "every name fits a UTF-8 code page";
  AddLanguageFile(L"\u10E5\u10D0\u10E0\u10D7\u10E3\u10DA\u10D8.txt");  // Georgian
  AddLanguageFile(L"English.txt");
  EXPECT_EQ(LanguagePickerEntries(folder()), (Entries{L"Polski", L"English"}));
}

TEST_F(LanguageListTest, WithoutAUsableLangFolderOnlyPolskiIsOffered) {
  EXPECT_EQ(LanguagePickerEntries(folder()), (Entries{L"Polski"}));
  // "lang" as a file rather than a folder.
  WriteBytes(folder() + L"\\lang", "not a folder");
  EXPECT_EQ(LanguagePickerEntries(folder()), (Entries{L"Polski"}));
}

}  // namespace
