#pragma once
// The program's windows, the one place that knows them all (the main window and the start
// sequence use it), and the main window's window menu, which opens some of them. Each window
// exists once per run and is created on first use.
namespace forms {
class Form;
}
class Form1;
class FrmLang;

Form1& MainWindow();
FrmLang& LangWindow();
forms::Form& ExportWindow();
forms::Form& ImportWindow();
