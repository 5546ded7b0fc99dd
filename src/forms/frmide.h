#pragma once
// Before a change to the lists: an open Visual Basic IDE of a list about to change would write
// its old list back when it closes. The user chooses to wait for it, to go on now, or to cancel.
#include <string>

namespace frmide {

struct Answer {
  bool proceed = true;
  // For the summary when the user went on with an IDE open; "" otherwise.
  std::wstring note;
  explicit operator bool() const { return proceed; }
  // The summary with the note, if any, as a paragraph of its own.
  std::wstring Noted(const std::wstring& text) const;
};

// Called before the lists are taken; asks only when the IDE of a concerned list runs. After a
// wait the caller reads the lists afresh, as it does anyway once it holds them.
Answer AskAboutOpenIdes(bool list50, bool list60);

}  // namespace frmide
