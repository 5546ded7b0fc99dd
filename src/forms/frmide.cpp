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

// The IDEs as the question, the wait and the note name them.
std::wstring Named(const OpenIdes& open) {
  return Tr(open.vb5 && open.vb6 ? Text::IdeBoth : open.vb5 ? Text::Ide50 : Text::Ide60);
}

constexpr int kWidth = 6240, kMargin = 120, kLabelHeight = 1935, kButtonWidth = 1815, kButtonHeight = 375,
              kButtonTop = kMargin + kLabelHeight + kMargin, kHeight = kButtonTop + kButtonHeight + kMargin,
              kGap = (kWidth - 2 * kMargin - 3 * kButtonWidth) / 2;

class FrmIde : public Form {
 public:
  FrmIde();
  Choice choice = Choice::Cancel;
  void ChooseWait() { Choose(Choice::Wait); }
  void ChooseGoOn() { Choose(Choice::GoOn); }
  void ChooseCancel() { Choose(Choice::Cancel); }

 protected:
  // Its close box cancels.
  bool OnQueryUnload() override {
    ChooseCancel();
    return false;
  }

 private:
  void Choose(Choice chosen) {
    choice = chosen;
    Hide();
  }
};
constexpr ControlDef kControls[] = {
    {.name = L"Label1", .id = id::Label1, .kind = Kind::Label,
     .twips = {kMargin, kMargin, kWidth - 2 * kMargin, kLabelHeight}, .tabIndex = 3},
    {.name = L"Command1", .id = id::Command1, .kind = Kind::Button, .text = Text::IdeWait,
     .twips = {kMargin, kButtonTop, kButtonWidth, kButtonHeight}, .tabIndex = 0,
     .onClick = forms::Bind<&FrmIde::ChooseWait>},
    {.name = L"Command2", .id = id::Command2, .kind = Kind::Button, .text = Text::IdeGoOn,
     .twips = {kMargin + kButtonWidth + kGap, kButtonTop, kButtonWidth, kButtonHeight}, .tabIndex = 1,
     .onClick = forms::Bind<&FrmIde::ChooseGoOn>},
    {.name = L"Command3", .id = id::Command3, .kind = Kind::Button, .text = Text::Cancel,
     .twips = {kWidth - kMargin - kButtonWidth, kButtonTop, kButtonWidth, kButtonHeight}, .tabIndex = 2,
     .onClick = forms::Bind<&FrmIde::ChooseCancel>},
};
constexpr forms::FormDef kForm{.className = ids::kFrmIdeClass, .caption = Text::ProgramName, .clientWidth = kWidth,
                               .clientHeight = kHeight, .controls = kControls, .defaultButton = id::Command1,
                               .cancelButton = id::Command3, .answersWhileBusy = true, .fitsTexts = true};

FrmIde::FrmIde() : Form(kForm) {}

// The question's one window: while it shows modally, the question is being asked.
FrmIde& Question() {
  static FrmIde window;
  return window;
}

Choice Ask(const OpenIdes& open) {
  FrmIde& window = Question();
  window.choice = Choice::Cancel;
  window.Load();
  window.SetControlText(id::Label1, Tr(Text::IdeQuestion, {Named(open)}));
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

Answer AskAboutOpenIdes(const OpenIdes& open) {
  // A command posted while the question shows must not ask again inside it.
  if (Question().ShowsModal()) return {.proceed = false, .note = {}};
  if (!open.any()) return {};
  const OpenIdes& concerned = open;
  const Choice choice = Ask(open);
  if (choice == Choice::Cancel) return {.proceed = false, .note = {}};
  if (choice == Choice::GoOn) return {.proceed = true, .note = Tr(Text::IdeNote, {Named(open)}) + L"\r\n"};
  IdeWatch watch(concerned);
  if (!watch.AllClosed()) return {.proceed = false, .note = {}};
  const forms::WaitEnd end = forms::WaitWithCancel(watch.AllClosed(), Tr(Text::IdeWaiting, {Named(open)}), INFINITE);
  return {.proceed = end == forms::WaitEnd::Signalled, .note = {}};
}

}  // namespace frmide
