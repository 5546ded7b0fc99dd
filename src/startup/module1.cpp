#include "startup/module1.h"

#include <optional>
#include <string>

#include "common/error.h"
#include "forms/messages.h"
#include "common/textfile.h"
#include "forms/form1.h"
#include "forms/frmexport.h"
#include "forms/frmimport.h"
#include "forms/frmlang.h"
#include "forms/listcommands.h"
#include "forms/program_windows.h"
#include "settings/options.h"

namespace {

// Windows a failed load may have half translated are built afresh on the next try.
void DiscardTranslatedWindows() {
  MainWindow().Discard();
  ExportWindow().Discard();
  ImportWindow().Discard();
}

}  // namespace

void SaveLanguageAndShowMain() {
  const std::optional<AppError> notSaved = SaveCurrentLanguage(ProgramFolder());
  LangWindow().Hide();
  // Once shown, the main window stays loaded until the program ends: what comes with its first
  // showing happens once a run.
  const bool first = !MainWindow().IsLoaded();
  if (first) LangWindow().Unload();
  try {
    MainWindow().Show();
  } catch (...) {
    DiscardTranslatedWindows();
    throw;
  }
  if (!first) return;
  listcommands::OfferToFinishInterruptedChange(MainWindow().hwnd());
  // The file and the reason do not change while the program runs.
  if (notSaved) forms::MsgBox(Tr(Text::LanguageNotStored, {Describe(*notSaved)}), MB_OK | MB_ICONWARNING);
}

void StartUp() {
  if (LoadStoredLanguage(ProgramFolder())) {
    try {
      SaveLanguageAndShowMain();
      return;
    } catch (const AppError&) {
      // The stored language cannot be applied: the user chooses again.
    }
  }
  SetCurrentLanguage("");  // none chosen yet: the picker speaks English
  LangWindow().OnChoice = &ChooseLanguageAndShowMain;
  LangWindow().Show();
}

bool ChooseLanguageAndShowMain() {
  // A language that turns out unusable must not stay stored: put the options file back as it was.
  const std::wstring options = OptionsFilePath(ProgramFolder());
  std::optional<std::string> before;
  bool existed = true;
  try {
    before = ReadFileBytes(options);
  } catch (const AppError& e) {
    // Missing, or there but unreadable: only a file that was not there may be removed again.
    existed = e.code != ERROR_FILE_NOT_FOUND && e.code != ERROR_PATH_NOT_FOUND;
  }
  try {
    SaveLanguageAndShowMain();
    return true;
  } catch (const AppError& e) {
    try {
      if (before) {
        WriteFileReplacing(options, *before);
      } else if (!existed) {
        DeleteFileW(options.c_str());
      }
    } catch (const AppError&) {
      // The next start then offers the picker again, which is where the user is now.
    }
    SetCurrentLanguage("");
    LangWindow().Show();
    forms::MsgBox(Tr(Text::LangRefused, {Describe(e)}), MB_OK | MB_ICONWARNING);
    return false;
  }
}
