#pragma once
// How the list files and the undo file fail: this layer's values of AppError's Action and Problem.
#include "common/error.h"

struct ListAction {
  static constexpr Action WriteListFile{kListFileErrors}, ImportListFile{kListFileErrors + 1},
      SaveUndo{kListFileErrors + 2}, UseUndoFile{kListFileErrors + 3};
};

struct ListProblem {
  static constexpr Problem
      EndsBeforeFlags{kListFileErrors},       // a list file ends before its two flag lines
      FlagNotNumber{kListFileErrors + 1},     // `number`: the line, `version`, `detail`: the line's text
      EndsBeforeList{kListFileErrors + 2},    // the flags announce a list, but the file ends before it
      ListNotEnded{kListFileErrors + 3},      // the flags announce a 6.0 list, but no "[]" ends the 5.0 list
      EntryUnreadable{kListFileErrors + 4},   // `version`, `entry`: a list entry that cannot be read exactly
      EntryNotInFormat{kListFileErrors + 5},  // a list entry holds a line break, or a 5.0 entry is the line "[]"
      NulInEntry{kListFileErrors + 6},        // `number`: the list file's entry line that holds a NUL byte
      LfLineEnd{kListFileErrors + 7},         // `number`: a flag line that ends in LF alone, not CR LF
      FlagOutOfRange{kListFileErrors + 8},    // as FlagNotNumber, for a whole number outside the 32-bit range
      ByteOrderMark{kListFileErrors + 9},     // `detail`: "UTF-8" or "UTF-16", the mark a list file starts with
      OutsideFolder{kListFileErrors + 10},    // a list file name that leads out of the program folder ("..\x")
      UndoFileDamaged{kListFileErrors + 11},  // the undo file is cut short, edited or no undo file at all
      ListUnreadable{kListFileErrors + 12},   // `version`: a list that cannot be read at all
      ValueTooLarge{kListFileErrors + 13},    // `version`, `entry`: a value larger than any list entry
      UndoFileTooLarge{kListFileErrors + 14}, // the lists would make an undo file larger than it may be
      NoListName{kListFileErrors + 15};       // a list name that is blank or ends in a separator: no file
};
