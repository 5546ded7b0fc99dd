#pragma once
// The import window: offers the list files of the program folder and reads the chosen one back
// into the registry.
#include <string>
#include <vector>

#include "change/change.h"
#include "forms/form.h"
#include "listfile/listfile.h"

class FrmImport : public forms::Form {
 public:
  // `main`: the main window, over which an interrupted change found meanwhile is settled.
  explicit FrmImport(forms::Form& main);

  // Importuj: reads the chosen list file into the registry, confirms and hides.
  void ImportList();

 protected:
  void OnActivate() override;

 private:
  // The files offered, in the order of the drop-down list.
  std::vector<std::wstring> files_;
  forms::Form& main_;
};

// What an import's result tells the user: nothing imported (the registry as it was), imported in
// part (which list and why), or done.
struct ImportReport {
  enum class End { Nothing, InPart, Done } end;
  std::wstring text;
};
ImportReport ReportImport(const listfile::ImportResult& result);

// An import's decision: the lists the file carries replace those as read.
change::Wanted DecideImport(const listfile::ListFileContent& content, const listfile::ListsReading& now);
// How each list the file carries was imported, once the change wrote them.
listfile::ImportResult ImportResultOf(const listfile::ListFileContent& content, const change::Outcome& out);
