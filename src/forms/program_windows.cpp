#include "forms/program_windows.h"

#include "common/textfile.h"
#include "forms/form1.h"
#include "forms/frmclear.h"
#include "forms/frmexport.h"
#include "forms/frmimport.h"
#include "forms/frmlang.h"
#include "forms/frmreview.h"
#include "forms/ids.h"
#include "forms/listcommands.h"
#include "listfile/undo.h"

namespace {

using forms::Form;
namespace menu = ids::form1menu;

// The main window's own commands, below the system's items of its window menu.
constexpr forms::MenuCommandDef kMainMenu[] = {
    {.id = menu::Review, .text = Text::MenuReview, .run = &forms::ShowOwnedModal<FrmReview>},
    {.id = menu::Undo, .text = Text::MenuUndo, .run = [](Form& main) { listcommands::UndoLastChange(main.hwnd()); },
     .available = [] { return listfile::UndoAvailable(ProgramFolder()); }},
    {.id = menu::Clear, .text = Text::MenuClear, .run = &forms::ShowOwnedModal<FrmClear>},
};
static_assert(forms::MenuKeysApart(kMainMenu), "an access key of the window menu is taken twice");

}  // namespace

Form1& MainWindow() {
  static Form1 form(kMainMenu);
  return form;
}
FrmLang& LangWindow() {
  static FrmLang form;
  return form;
}
forms::Form& ExportWindow() {
  static FrmExport form;
  return form;
}
forms::Form& ImportWindow() {
  // Settling an interrupted change found by an import is done over the main window.
  static FrmImport form(MainWindow());
  return form;
}
