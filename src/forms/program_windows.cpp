#include "forms/program_windows.h"

#include "forms/form1.h"
#include "forms/frmclear.h"
#include "forms/frmreview.h"
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
// Owned by the main window, which they are opened from.
FrmClear& ClearWindow() {
  static FrmClear form;
  form.SetOwner(MainWindow().hwnd());
  return form;
}
FrmReview& ReviewWindow() {
  static FrmReview form;
  form.SetOwner(MainWindow().hwnd());
  return form;
}
