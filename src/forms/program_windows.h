#pragma once
// The program's windows, the one place that knows them all (the main window and the start
// sequence use it). Each exists once per run and is created on first use.
namespace forms {
class Form;
}
class Form1;
class FrmLang;

Form1& MainWindow();
FrmLang& LangWindow();
forms::Form& ExportWindow();
forms::Form& ImportWindow();

// The main window's window-menu windows, shown modally over `owner`; each window's own file
// defines how it is shown.
void ShowReviewWindow(forms::Form& owner);
void ShowClearWindow(forms::Form& owner);
