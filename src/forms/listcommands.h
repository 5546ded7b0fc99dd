#pragma once
// Undo the last change, and the undo file every change to the lists is preceded by.
#include <windows.h>

#include <string>
#include <vector>

#include "listfile/undo.h"

namespace listcommands {

// Begins a change, right before its first write (the lists held): snapshots both lists into the
// new undo file. When that cannot be written, asks whether to go on without undo (default No).
// A change found unfinished is dealt with first, and the command then changes nothing. True
// when the change may go ahead.
bool SaveUndoOrAsk(listfile::ChangeKind kind);
// Right after the writes of a change that began (also when they failed part-way): the new file
// becomes the undo file when the lists changed, and is dropped otherwise. Nothing when no
// change began.
void FinishChange();

// Undo the last change: puts back the lists the undo file holds.
void UndoLastChange();

// A change's kind as the messages name it ("cleaning with Start").
const wchar_t* KindText(listfile::ChangeKind kind);
// The refusals met while putting lists back: which list, which entry and why, one line each.
std::wstring FailureLines(const std::vector<listfile::RestoreFailure>& failures);

// At the start, the main window shown: a change that was interrupted (the program ended in the
// middle of it) is named, and putting the lists back is offered (default Yes).
void OfferToFinishInterruptedChange();

}  // namespace listcommands
