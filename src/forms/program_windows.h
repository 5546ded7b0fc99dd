#pragma once
// The program's windows. Each exists once per run and is created on first use.
class Form1;
class FrmLang;
class FrmExport;
class FrmImport;

Form1& MainWindow();
FrmLang& LangWindow();
FrmExport& ExportWindow();
FrmImport& ImportWindow();
