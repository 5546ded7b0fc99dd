#include "forms/frmreview.h"

#include <commctrl.h>

#include <algorithm>
#include <cstring>
#include <optional>

#include "forms/messages.h"
#include "common/text.h"
#include "common/textfile.h"
#include "forms/ids.h"
#include "forms/listcommands.h"

namespace {

using forms::ControlDef;
using forms::Form;
using forms::Kind;
namespace id = ids::frmreview;

// The designed (and smallest) size: the list stretches with the window, the buttons stay at its
// bottom right.
constexpr int kWidth = 9600, kHeight = 5400, kMargin = 120, kButtonWidth = 1950, kButtonHeight = 390;
constexpr ControlDef kControls[] = {
    {.name = L"ListView1", .id = id::ListView1, .kind = Kind::ListView,
     .twips = {kMargin, kMargin, kWidth - 2 * kMargin, kHeight - 3 * kMargin - kButtonHeight}, .tabIndex = 0,
     .anchor = forms::kFollowAllEdges, .onMessage = forms::Bind<&FrmReview::ListMessage>},
    {.name = L"Command1", .id = id::Command1, .kind = Kind::Button, .text = Text::ReviewRemove,
     .twips = {kWidth - 2 * kMargin - 2 * kButtonWidth, kHeight - kMargin - kButtonHeight, kButtonWidth, kButtonHeight},
     .tabIndex = 1, .onClick = forms::Bind<&FrmReview::RemoveChecked>, .anchor = forms::kFollowBottomRight},
    {.name = L"Command2", .id = id::Command2, .kind = Kind::Button, .text = Text::Cancel,
     .twips = {kWidth - kMargin - kButtonWidth, kHeight - kMargin - kButtonHeight, kButtonWidth, kButtonHeight},
     .tabIndex = 2, .onClick = forms::Bind<&Form::Hide>, .anchor = forms::kFollowBottomRight},
};
// No default button: Enter in the list must not remove anything.
constexpr forms::FormDef kForm{.className = ids::kFrmReviewClass, .caption = Text::ReviewTitle, .clientWidth = kWidth,
                               .clientHeight = kHeight, .controls = kControls, .cancelButton = id::Command2,
                               .resizable = true};

struct Column {
  Text text;
  int width;  // twips; 0 takes the room left
};
constexpr Column kColumns[] = {
    {Text::ReviewColumnVersion, 900},
    {Text::ReviewColumnNumber, 900},
    {Text::ReviewColumnPath, 0},
    {Text::ReviewColumnState, 2700},
};
constexpr int kPathColumn = 2;

const wchar_t* StateText(FrmReview::State state) {
  switch (state) {
    case FrmReview::State::Exists:
      return Tr(Text::ReviewExists);
    case FrmReview::State::Gone:
      return Tr(Text::ReviewGone);
    case FrmReview::State::Unreachable:
      return Tr(Text::ReviewUnreachable);
    case FrmReview::State::Unreadable:
      return Tr(Text::ReviewUnreadable);
  }
  return L"";
}

void SetCell(HWND list, int row, int column, const std::wstring& text) {
  LVITEMW item{};
  item.iSubItem = column;
  item.pszText = const_cast<wchar_t*>(text.c_str());
  SendMessageW(list, LVM_SETITEMTEXTW, static_cast<WPARAM>(row), reinterpret_cast<LPARAM>(&item));
}

void SetCheckImage(HWND list, int row, int image) {
  LVITEMW item{};
  item.stateMask = LVIS_STATEIMAGEMASK;
  item.state = INDEXTOSTATEIMAGEMASK(image);
  SendMessageW(list, LVM_SETITEMSTATE, static_cast<WPARAM>(row), reinterpret_cast<LPARAM>(&item));
}

// The text of a value the ANSI read cannot give exactly, from its stored bytes: UTF-16 for the
// string types, the code page's bytes otherwise; up to the first 0.
std::wstring StoredText(const Autostart::StoredValue& value) {
  std::wstring text;
  if (value.type == REG_SZ || value.type == REG_EXPAND_SZ || value.type == REG_MULTI_SZ) {
    text.resize(value.data.size() / sizeof(wchar_t));
    if (!text.empty()) std::memcpy(text.data(), value.data.data(), text.size() * sizeof(wchar_t));
  } else {
    text = AnsiToWide(value.data);
  }
  return text.substr(0, text.find(L'\0'));
}

const char* VersionOf(int list) { return list == 0 ? "5.0" : "6.0"; }

// Every numbered value is shown; the scan, which a removal works by, says which can go.
struct ReviewEntry {
  std::wstring number, path;
  int position = -1;  // in the scan, or -1
  bool exact = false;
  size_t checked = 0;  // index among the paths checked
};
struct ReviewEntries {
  std::vector<ReviewEntry> lists[2];
  // The paths to check, and what each names expanded ("" for none).
  std::vector<std::string> paths, alternatives;
};

// Where the value named `name` stands in a scan of `count` entries: entry "n" at n - 1;
// `count` for a value behind a gap.
size_t PositionOf(const std::string& name, size_t count) {
  if (name.size() > 9) return count;
  size_t number = 0;
  for (char digit : name) number = number * 10 + static_cast<size_t>(digit - '0');
  return number <= count ? number - 1 : count;
}

ReviewEntries EntriesOf(const VersionScan (&scans)[2]) {
  ReviewEntries entries;
  for (int l = 0; l < 2; ++l) {
    const std::vector<std::string> expanded = ExpandedTexts(scans[l]);
    const Autostart::ListScan& scan = scans[l].list;
    for (const Autostart::StoredValue& value : scans[l].values) {
      ReviewEntry entry;
      entry.number = AnsiToWide(value.name);
      const size_t position = PositionOf(value.name, scan.texts.size());
      std::string text;
      if (position < scan.texts.size()) {
        entry.position = static_cast<int>(position);
        text = scan.texts[position];
        entry.exact = true;
      } else {
        entry.exact = Autostart::EntryOf(value, text) == ERROR_SUCCESS;
      }
      if (entry.exact) {
        entry.path = AnsiToWide(text);
        entry.checked = entries.paths.size();
        entries.paths.push_back(text);
        entries.alternatives.push_back(position < expanded.size() ? expanded[position] : std::string());
      } else {
        entry.path = StoredText(value);  // the wide read shows what the ANSI one cannot
      }
      entries.lists[l].push_back(std::move(entry));
    }
  }
  return entries;
}

ReviewState StateOf(PathState state) {
  return state == PathState::Exists ? ReviewState::Exists
         : state == PathState::Gone ? ReviewState::Gone
                                    : ReviewState::Unreachable;
}

void AddRow(HWND list, int row, int l, const ReviewEntry& entry, ReviewState state, bool checkable) {
  const std::wstring version = AnsiToWide(VersionOf(l));
  LVITEMW item{};
  item.mask = LVIF_TEXT;
  item.iItem = row;
  item.pszText = const_cast<wchar_t*>(version.c_str());
  SendMessageW(list, LVM_INSERTITEMW, 0, reinterpret_cast<LPARAM>(&item));
  SetCell(list, row, 1, entry.number);
  SetCell(list, row, 2, entry.path);
  SetCell(list, row, 3, StateText(state));
  SetCheckImage(list, row, !checkable ? 0 : state == ReviewState::Gone ? 2 : 1);
}

}  // namespace

FrmReview::FrmReview() : forms::Form(kForm) {}

bool FrmReview::ListMessage(UINT message, WPARAM wParam, LPARAM /*lParam*/) {
  // Space belongs to the program: the list view would toggle the focused row alone.
  const bool plain = GetKeyState(VK_CONTROL) >= 0 && GetKeyState(VK_MENU) >= 0;
  if (message == WM_KEYDOWN && wParam == VK_SPACE && plain) {
    ToggleSelection();
    return true;
  }
  return message == WM_CHAR && wParam == L' ';  // no search for a blank
}

void FrmReview::OnLoad() {
  HWND list = Control(id::ListView1);
  SendMessageW(list, LVM_SETEXTENDEDLISTVIEWSTYLE, 0,
               LVS_EX_CHECKBOXES | LVS_EX_FULLROWSELECT | LVS_EX_DOUBLEBUFFER);
  for (int i = 0; i < static_cast<int>(std::size(kColumns)); ++i) {
    LVCOLUMNW column{};
    column.mask = LVCF_TEXT | LVCF_WIDTH | LVCF_SUBITEM;
    column.pszText = const_cast<wchar_t*>(Tr(kColumns[i].text));
    column.cx = 50;
    column.iSubItem = i;
    SendMessageW(list, LVM_INSERTCOLUMNW, static_cast<WPARAM>(i), reinterpret_cast<LPARAM>(&column));
  }
}

void FrmReview::OnTexts() {
  HWND list = Control(id::ListView1);
  for (int i = 0; i < static_cast<int>(std::size(kColumns)); ++i) {
    LVCOLUMNW column{};
    column.mask = LVCF_TEXT;
    column.pszText = const_cast<wchar_t*>(Tr(kColumns[i].text));
    SendMessageW(list, LVM_SETCOLUMNW, static_cast<WPARAM>(i), reinterpret_cast<LPARAM>(&column));
  }
}

void FrmReview::OnActivate() { Fill(); }

void FrmReview::Fill() {
  // Probes of slow places keep the program's windows answering, and nothing else starts.
  forms::BusyScope busy(Owner());
  for (int l = 0; l < 2; ++l) scans_[l] = ScanVersion(VersionOf(l));
  const ReviewEntries entries = EntriesOf(scans_);
  const std::vector<PathState> states =
      CheckPaths(entries.paths, ExistenceChecks::System(), [&] { busy.KeepAnswering(); }, entries.alternatives);

  HWND list = Control(id::ListView1);
  filling_ = true;
  SendMessageW(list, WM_SETREDRAW, FALSE, 0);
  SendMessageW(list, LVM_DELETEALLITEMS, 0, 0);
  rows_.clear();
  for (int l = 0; l < 2; ++l) {
    // A list that cannot be read exactly is never changed: none of its rows has a check box.
    const bool readable = scans_[l].list.status == 0;
    for (const ReviewEntry& entry : entries.lists[l]) {
      const State state = entry.exact ? StateOf(states[entry.checked]) : State::Unreadable;
      const bool checkable = readable && entry.position >= 0;
      rows_.push_back({l, entry.position, state, checkable});
      AddRow(list, static_cast<int>(rows_.size()) - 1, l, entry, state, checkable);
    }
  }
  if (!rows_.empty()) {
    LVITEMW item{};
    item.stateMask = LVIS_FOCUSED;
    item.state = LVIS_FOCUSED;
    SendMessageW(list, LVM_SETITEMSTATE, 0, reinterpret_cast<LPARAM>(&item));
  }
  SendMessageW(list, WM_SETREDRAW, TRUE, 0);
  InvalidateRect(list, nullptr, TRUE);
  filling_ = false;
}

void FrmReview::ToggleSelection() {
  HWND list = Control(id::ListView1);
  const int focused = static_cast<int>(SendMessageW(list, LVM_GETNEXTITEM, static_cast<WPARAM>(-1), LVNI_FOCUSED));
  if (focused < 0 || static_cast<size_t>(focused) >= rows_.size()) return;
  const bool focusedSelected = (SendMessageW(list, LVM_GETITEMSTATE, static_cast<WPARAM>(focused), LVIS_SELECTED) & LVIS_SELECTED) != 0;
  std::vector<int> targets;
  for (int row = 0; row < static_cast<int>(rows_.size()); ++row) {
    const bool target = focusedSelected
                            ? (SendMessageW(list, LVM_GETITEMSTATE, static_cast<WPARAM>(row), LVIS_SELECTED) & LVIS_SELECTED) != 0
                            : row == focused;
    if (target && rows_[static_cast<size_t>(row)].checkable) targets.push_back(row);
  }
  if (targets.empty()) return;
  const int leader = rows_[static_cast<size_t>(focused)].checkable ? focused : targets.front();
  const int image = Checked(leader) ? 1 : 2;
  for (int row : targets) SetCheckImage(list, row, image);
}

bool FrmReview::Checked(int row) const {
  const LRESULT state = SendMessageW(Control(id::ListView1), LVM_GETITEMSTATE, static_cast<WPARAM>(row), LVIS_STATEIMAGEMASK);
  return (state & LVIS_STATEIMAGEMASK) == INDEXTOSTATEIMAGEMASK(2);
}

void FrmReview::OnSize(int /*width*/, int /*height*/) {
  const UINT dpi = Dpi();
  HWND list = Control(id::ListView1);
  // Fixed columns in twips; the path takes what is left of the list's width.
  RECT inside;
  GetClientRect(list, &inside);
  int rest = inside.right - GetSystemMetrics(SM_CXVSCROLL);
  for (int i = 0; i < static_cast<int>(std::size(kColumns)); ++i) {
    if (i == kPathColumn) continue;
    const int w = forms::TwipsToPixels(kColumns[i].width, dpi);
    SendMessageW(list, LVM_SETCOLUMNWIDTH, static_cast<WPARAM>(i), w);
    rest -= w;
  }
  SendMessageW(list, LVM_SETCOLUMNWIDTH, kPathColumn, std::max(rest, forms::TwipsToPixels(1500, dpi)));
}

LRESULT FrmReview::OnNotify(const NMHDR& header, bool& handled) {
  handled = false;
  if (header.idFrom != static_cast<UINT_PTR>(id::ListView1)) return 0;
  if (header.code == LVN_ITEMCHANGING && !filling_) {
    const auto& change = reinterpret_cast<const NMLISTVIEW&>(header);
    // The rows of a list that cannot be read exactly keep having no check box.
    if ((change.uChanged & LVIF_STATE) && ((change.uNewState ^ change.uOldState) & LVIS_STATEIMAGEMASK) &&
        change.iItem >= 0 && static_cast<size_t>(change.iItem) < rows_.size() &&
        !rows_[static_cast<size_t>(change.iItem)].checkable) {
      handled = true;
      return TRUE;
    }
  }
  if (header.code == LVN_KEYDOWN) {
    const auto& key = reinterpret_cast<const NMLVKEYDOWN&>(header);
    if (key.wVKey == 'A' && GetKeyState(VK_CONTROL) < 0) {
      LVITEMW item{};
      item.stateMask = LVIS_SELECTED;
      item.state = LVIS_SELECTED;
      SendMessageW(header.hwndFrom, LVM_SETITEMSTATE, static_cast<WPARAM>(-1), reinterpret_cast<LPARAM>(&item));
      handled = true;
    }
  }
  return 0;
}

std::array<EntryFlags, 2> KeptEntries(const std::vector<ReviewRow>& rows, const EntryFlags& checked,
                                      const std::array<size_t, 2>& scanned) {
  std::array<EntryFlags, 2> keep;
  for (size_t l = 0; l < 2; ++l) keep[l].assign(scanned[l], 1);
  for (size_t r = 0; r < rows.size() && r < checked.size(); ++r) {
    const ReviewRow& row = rows[r];
    if (!row.checkable || !checked[r] || row.list < 0 || row.list > 1 || row.position < 0) continue;
    const size_t position = static_cast<size_t>(row.position);
    if (position < keep[static_cast<size_t>(row.list)].size()) keep[static_cast<size_t>(row.list)][position] = 0;
  }
  return keep;
}

void FrmReview::RemoveChecked() {
  EntryFlags checked(rows_.size());
  for (size_t r = 0; r < rows_.size(); ++r) checked[r] = Checked(static_cast<int>(r));
  const std::array<EntryFlags, 2> keep =
      KeptEntries(rows_, checked, {scans_[0].list.texts.size(), scans_[1].list.texts.size()});
  listcommands::WindowAnswers answers(Owner());
  // What is removed must be what was shown: a list changed meanwhile (by another copy, or by an
  // IDE) is shown again instead.
  bool changedSinceShown = false;
  const auto decide = [&](const listfile::ListsReading& now, std::array<bool, 2>) {
    change::Wanted wanted;
    for (int l = 0; l < 2; ++l) {
      const bool unreadableThen = scans_[l].values.empty() && scans_[l].list.status != 0;
      if ((now.status[l] != 0) != unreadableThen || now.state.lists[l].values != scans_[l].values) {
        changedSinceShown = true;
        wanted.declined = true;
        return wanted;
      }
      // A list with nothing checked is not rewritten at all.
      if (DropsAny(keep[l])) wanted.lists[l] = KeptValues(scans_[l], keep[l]);
    }
    return wanted;
  };
  const change::Outcome out =
      change::Run(ProgramFolder(), listfile::ChangeKind::Review, {DropsAny(keep[0]), DropsAny(keep[1])}, decide, answers);
  answers.Idle();
  if (changedSinceShown) {
    forms::MsgBox(Tr(Text::ReviewChangedSinceShown), MB_OK | MB_ICONWARNING);
    Fill();
    return;
  }
  if (!listcommands::Settle(out, Owner())) return;
  CleanOutcome outcomes[2];
  for (int l = 0; l < 2; ++l) outcomes[l] = Written(Planned(scans_[l], keep[l]), scans_[l], keep[l], out.writes[l]);
  // Checked entries are removed because the user chose them, not because they are dead.
  const std::wstring text = RemovalReport("5.0", outcomes[0]) + RemovalReport("6.0", outcomes[1]);
  const bool failed = outcomes[0].status != ERROR_SUCCESS || outcomes[1].status != ERROR_SUCCESS;
  forms::MsgBox(answers.Noted(text), MB_OK | (failed ? MB_ICONWARNING : MB_ICONINFORMATION));
  Hide();
}
