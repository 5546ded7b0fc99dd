#pragma once
// The main window's commands in its window menu: review the lists, undo the last change, clear
// a list; and the undo file every change to the lists is preceded by.
#include <windows.h>

#include "listfile/undo.h"

namespace listcommands {

// Adds the commands below a separator in the window's menu.
void AddToWindowMenu(HWND window);
// Puts the commands' texts in the message language and greys out Undo when there is nothing to undo.
void UpdateWindowMenu(HMENU menu);
// Runs the command with that id; false when it is none of these.
bool Run(UINT command);

// Saves the lists for undo before a change. When that fails, asks whether to go on without undo
// (default No). True when the change may go ahead.
bool SaveUndoOrAsk(listfile::Replaced replaced = {});

// Undo the last change: puts back the lists the undo file holds.
void UndoLastChange();

}  // namespace listcommands
