#include "forms/frmide.h"

#include "common/ide_processes.h"
#include "forms/form.h"
#include "forms/ids.h"
#include "forms/messages.h"

namespace frmide {
namespace {

using forms::ControlDef;
using forms::Form;
using forms::Kind;
namespace id = ids::frmide;

enum class Choice { Wait, GoOn, Cancel };

// Every text of the question, the wait and the note, in one place.
enum class Text { Question, Wait, GoOn, Cancel, Waiting, Note };
std::wstring Say(Text text, const OpenIdes& open) {
  const std::wstring ide = open.vb5 && open.vb6 ? L"Visual Basic 5.0 (VB5.EXE), Visual Basic 6.0 (VB6.EXE)"
                           : open.vb5           ? L"Visual Basic 5.0 (VB5.EXE)"
                                                : L"Visual Basic 6.0 (VB6.EXE)";
  switch (text) {
    case Text::Question:
      return ::Say(L"Otwarty jest teraz ", L"Open now: ") + ide +
             ::Say(L".\r\n\r\nZamykany Visual Basic zapisuje z powrotem swoją starą listę ostatnio używanych "
                   L"plików, więc zmiana jego listy zostałaby wtedy cofnięta.\r\n\r\nCzekaj: Brushwick "
                   L"poczeka, aż Visual Basic zostanie zamknięty, i zmieni listę, którą on zapisze.",
                   L".\r\n\r\nA closing Visual Basic writes its old recent-files list back, which would "
                   L"then undo the change to its list.\r\n\r\nWait: Brushwick waits until Visual Basic "
                   L"has closed, then changes the list it wrote.");
    case Text::Wait: return ::Say(L"Czekaj", L"Wait");
    case Text::GoOn: return ::Say(L"Kontynuuj teraz", L"Go on now");
    case Text::Cancel: return ::Say(L"Anuluj", L"Cancel");
    case Text::Waiting:
      return ::Say(L"Brushwick czeka na zamknięcie: ", L"Brushwick waits for this to close: ") + ide +
             ::Say(L". Anuluj rezygnuje z polecenia.", L". Cancel gives up the command.");
    case Text::Note:
      return ::Say(L"Podczas zmiany otwarty był ", L"Open during the change: ") + ide +
             ::Say(L"; zamykany może zapisać z powrotem swoją starą listę.\r\n",
                   L"; when it closes it may write its old list back.\r\n");
  }
  return {};
}

constexpr int kWidth = 6240, kMargin = 120, kLabelHeight = 1935, kButtonWidth = 1815, kButtonHeight = 375,
              kButtonTop = kMargin + kLabelHeight + kMargin, kHeight = kButtonTop + kButtonHeight + kMargin,
              kGap = (kWidth - 2 * kMargin - 3 * kButtonWidth) / 2;
void Choose(Form& form, Choice choice);
constexpr ControlDef kControls[] = {
    {.name = L"Label1", .id = id::Label1, .kind = Kind::Label, .container = 0, .caption = nullptr,
     .left = kMargin, .top = kMargin, .width = kWidth - 2 * kMargin, .height = kLabelHeight, .tabIndex = 3},
    {.name = L"Command1", .id = id::Command1, .kind = Kind::Button, .container = 0, .caption = L"Czekaj",
     .left = kMargin, .top = kButtonTop, .width = kButtonWidth, .height = kButtonHeight, .tabIndex = 0,
     .handler = [](Form& f) { Choose(f, Choice::Wait); }},
    {.name = L"Command2", .id = id::Command2, .kind = Kind::Button, .container = 0, .caption = L"Kontynuuj teraz",
     .left = kMargin + kButtonWidth + kGap, .top = kButtonTop, .width = kButtonWidth, .height = kButtonHeight,
     .tabIndex = 1, .handler = [](Form& f) { Choose(f, Choice::GoOn); }},
    {.name = L"Command3", .id = id::Command3, .kind = Kind::Button, .container = 0, .caption = L"Anuluj",
     .left = kWidth - kMargin - kButtonWidth, .top = kButtonTop, .width = kButtonWidth, .height = kButtonHeight,
     .tabIndex = 2, .handler = [](Form& f) { Choose(f, Choice::Cancel); }},
};
constexpr forms::FormDef kForm{.className = ids::kFrmIdeClass, .caption = L"Brushwick", .clientWidth = kWidth,
                               .clientHeight = kHeight, .controls = kControls, .defaultButton = id::Command1,
                               .cancelButton = id::Command3};

class FrmIde : public Form {
 public:
  FrmIde() : Form(kForm) {}
  Choice choice = Choice::Cancel;

 protected:
  // Its close box cancels.
  bool OnQueryUnload() override {
    choice = Choice::Cancel;
    Hide();
    return false;
  }
};

void Choose(Form& form, Choice choice) {
  static_cast<FrmIde&>(form).choice = choice;
  form.Hide();
}

Choice Ask(const OpenIdes& open) {
  FrmIde window;
  window.Load();
  window.SetControlText(id::Label1, Say(Text::Question, open));
  window.SetControlText(id::Command1, Say(Text::Wait, open));
  window.SetControlText(id::Command2, Say(Text::GoOn, open));
  window.SetControlText(id::Command3, Say(Text::Cancel, open));
  window.ShowModal();
  const Choice choice = window.choice;
  window.Discard();
  return choice;
}

}  // namespace

std::wstring Answer::Noted(const std::wstring& text) const {
  if (note.empty()) return text;
  return text + (text.ends_with(L"\r\n") ? L"\r\n" : L"\r\n\r\n") + note;
}

Answer AskAboutOpenIdes(bool list50, bool list60) {
  // A command posted while the question shows must not ask again inside it.
  static bool asking = false;
  if (asking) return {.proceed = false, .note = {}};
  const OpenIdes concerned{list50, list60};
  const OpenIdes open = FindOpenIdes(concerned);
  if (!open.any()) return {};
  asking = true;
  const Choice choice = Ask(open);
  asking = false;
  if (choice == Choice::Cancel) return {.proceed = false, .note = {}};
  if (choice == Choice::GoOn) return {.proceed = true, .note = Say(Text::Note, open)};
  IdeWatch watch(concerned);
  if (!watch.AllClosed()) return {.proceed = false, .note = {}};
  const std::wstring waiting = Say(Text::Waiting, open);
  const forms::WaitEnd end = forms::WaitWithCancel(watch.AllClosed(), {waiting.c_str(), waiting.c_str()}, INFINITE);
  return {.proceed = end == forms::WaitEnd::Signalled, .note = {}};
}

}  // namespace frmide
