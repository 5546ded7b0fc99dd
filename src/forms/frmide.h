#pragma once
// Before a change to the lists: an open Visual Basic IDE of a list about to change would write
// its old list back when it closes. The user chooses to wait for it, to go on now, or to cancel.
#include <string>

#include "common/ide_processes.h"

namespace frmide {

struct Answer {
  bool proceed = true;
  // For the summary when the user went on with an IDE open; "" otherwise.
  std::wstring note;
  explicit operator bool() const { return proceed; }
  // The summary with the note, if any, as a paragraph of its own.
  std::wstring Noted(const std::wstring& text) const;
};

// The IDEs in `open` run: asks whether to wait for them (in the cancellable wait window, until
// every one has closed, one started again included), to go on now, or to cancel.
Answer AskAboutOpenIdes(const OpenIdes& open);

}  // namespace frmide
