#include "forms/program_windows.h"

#include "forms/form1.h"
#include "forms/frmexport.h"
#include "forms/frmimport.h"
#include "forms/frmlang.h"

Form1& MainWindow() {
  static Form1 form;
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
