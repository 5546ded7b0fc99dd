#include "forms/frmlang.h"

#include "common/textfile.h"
#include "forms/ids.h"
#include "settings/language_list.h"
#include "settings/options.h"

namespace {

using forms::ControlDef;
using forms::Kind;
namespace id = ids::frmlang;

constexpr ControlDef kControls[] = {
    {.name = L"List1", .id = id::List1, .kind = Kind::ListBox, .twips = {120, 120, 2415, 1815}, .tabIndex = 0},
    {.name = L"Command1", .id = id::Command1, .kind = Kind::Button, .text = Text::LangOk,
     .twips = {120, 2040, 2415, 375}, .tabIndex = 1,
     .onClick = forms::Bind<&FrmLang::ChooseSelected>},
};
// OK is not the default button and nothing answers Esc: the picker has no other handlers.
constexpr forms::FormDef kForm{.className = ids::kFrmLangClass, .caption = Text::LangTitle, .clientWidth = 2610,
                               .clientHeight = 2505, .controls = kControls};

}  // namespace

FrmLang::FrmLang() : forms::Form(kForm) {}

void FrmLang::OnLoad() {
  chosen_ = false;
  HWND list = Control(id::List1);
  for (const std::wstring& entry : LanguagePickerEntries(ProgramFolder()))
    SendMessageW(list, LB_ADDSTRING, 0, reinterpret_cast<LPARAM>(entry.c_str()));
  if (SendMessageW(list, LB_GETCOUNT, 0, 0) > 0) SendMessageW(list, LB_SETCURSEL, 0, 0);
}

void FrmLang::ChooseSelected() {
  HWND list = Control(id::List1);
  const LRESULT selected = SendMessageW(list, LB_GETCURSEL, 0, 0);
  if (selected == LB_ERR) return;
  std::wstring entry(static_cast<size_t>(SendMessageW(list, LB_GETTEXTLEN, selected, 0)) + 1, L'\0');
  entry.resize(static_cast<size_t>(SendMessageW(list, LB_GETTEXT, selected, reinterpret_cast<LPARAM>(entry.data()))));
  SetCurrentLanguage(LanguageOfEntry(entry));
  chosen_ = true;
  if (!OnChoice || !OnChoice()) {
    // The picker was built afresh from the lang folder as it is now, for another choice: the
    // refused entry stays selected, found by its name (files may have come or gone meanwhile),
    // and nothing is selected when it is gone.
    chosen_ = false;
    HWND rebuilt = Control(id::List1);
    const LRESULT count = SendMessageW(rebuilt, LB_GETCOUNT, 0, 0);
    LRESULT found = LB_ERR;
    for (LRESULT i = 0; i < count && found == LB_ERR; ++i) {
      std::wstring text(static_cast<size_t>(SendMessageW(rebuilt, LB_GETTEXTLEN, i, 0)) + 1, L'\0');
      text.resize(static_cast<size_t>(SendMessageW(rebuilt, LB_GETTEXT, i, reinterpret_cast<LPARAM>(text.data()))));
      if (text == entry) found = i;
    }
    SendMessageW(rebuilt, LB_SETCURSEL, static_cast<WPARAM>(found), 0);
  }
}

void FrmLang::OnUnload() {
  // Closed before any choice: no other window is open, so the program ends.
  if (!chosen_) PostQuitMessage(0);
}
