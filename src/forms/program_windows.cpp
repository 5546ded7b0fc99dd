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
FrmExport& ExportWindow() {
  static FrmExport form;
  return form;
}
FrmImport& ImportWindow() {
  static FrmImport form;
  return form;
}
