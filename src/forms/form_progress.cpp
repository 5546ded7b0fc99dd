// The form runtime's progress window, and the same progress on the taskbar button.
#include <windows.h>
#include <commctrl.h>
#include <shobjidl.h>

#include <string>

#include "common/text.h"
#include "forms/form.h"
#include "forms/form_ids.h"
#include "forms/form_parts.h"

namespace forms {
namespace {

namespace pid = progresswindow;
constexpr DWORD kShowAfterMs = 1000, kUpdateEveryMs = 100;
constexpr int kWidth = 5400, kMargin = 120, kLine = 255, kBar = 270;

// The taskbar button's progress (ITaskbarList3, Windows 7 and later). COM is loaded only when
// a progress shows, so a program that never shows one never loads it, and XP starts.
class TaskbarProgress {
 public:
  explicit TaskbarProgress(HWND window) : window_(window), ole_(LoadLibraryW(L"ole32.dll")) {
    if (!ole_) return;
    using Init = HRESULT(WINAPI*)(LPVOID, DWORD);
    using Create = HRESULT(WINAPI*)(REFCLSID, LPUNKNOWN, DWORD, REFIID, LPVOID*);
    const auto init = reinterpret_cast<Init>(reinterpret_cast<void*>(GetProcAddress(ole_, "CoInitializeEx")));
    const auto create = reinterpret_cast<Create>(reinterpret_cast<void*>(GetProcAddress(ole_, "CoCreateInstance")));
    if (!init || !create) return;
    comReady_ = SUCCEEDED(init(nullptr, COINIT_APARTMENTTHREADED));
    static constexpr CLSID kTaskbarList{0x56fdf344, 0xfd6d, 0x11d0, {0x95, 0x8a, 0x00, 0x60, 0x97, 0xc9, 0xa0, 0x90}};
    static constexpr IID kTaskbarList3{0xea1afb91, 0x9e28, 0x4b86, {0x90, 0xe9, 0x9e, 0x9f, 0x8a, 0x5e, 0xef, 0xaf}};
    if (!comReady_ || FAILED(create(kTaskbarList, nullptr, CLSCTX_INPROC_SERVER, kTaskbarList3,
                                    reinterpret_cast<void**>(&list_))))
      list_ = nullptr;
    else if (FAILED(list_->HrInit()))
      Release();
  }
  ~TaskbarProgress() {
    if (list_) list_->SetProgressState(window_, TBPF_NOPROGRESS);
    Release();
    if (comReady_) {
      using Uninit = void(WINAPI*)();
      if (const auto uninit = reinterpret_cast<Uninit>(reinterpret_cast<void*>(GetProcAddress(ole_, "CoUninitialize"))))
        uninit();
    }
    if (ole_) FreeLibrary(ole_);
  }
  TaskbarProgress(const TaskbarProgress&) = delete;
  TaskbarProgress& operator=(const TaskbarProgress&) = delete;
  void Show(std::size_t done, std::size_t total) {
    if (!list_) return;
    if (total == 0) {
      list_->SetProgressState(window_, TBPF_INDETERMINATE);
      return;
    }
    list_->SetProgressState(window_, TBPF_NORMAL);
    list_->SetProgressValue(window_, done, total);
  }

 private:
  void Release() {
    if (list_) list_->Release();
    list_ = nullptr;
  }
  HWND window_;
  HMODULE ole_;
  bool comReady_ = false;
  ITaskbarList3* list_ = nullptr;
};

// "12,000" as the user's settings group digits.
std::wstring Grouped(std::size_t number) {
  const std::wstring digits = DecimalTextW(number);
  wchar_t separator[8] = L",";
  GetLocaleInfoW(LOCALE_USER_DEFAULT, LOCALE_STHOUSAND, separator, 8);
  wchar_t point[] = L".";
  NUMBERFMTW format{0, 0, 3, point, separator, 0};
  wchar_t grouped[64];
  return GetNumberFormatW(LOCALE_USER_DEFAULT, 0, digits.c_str(), &format, grouped, 64) ? grouped : digits;
}

class FrmProgress : public Form {
 public:
  FrmProgress();

 protected:
  // No Cancel: the window goes when the work ends.
  bool OnQueryUnload() override { return false; }
};
constexpr ControlDef kProgressControls[] = {
    {.name = L"Label1", .id = pid::Label1, .kind = Kind::Label, .twips = {kMargin, kMargin, kWidth - 2 * kMargin, kLine}},
    {.name = L"ProgressBar1", .id = pid::ProgressBar1, .kind = Kind::ProgressBar,
     .twips = {kMargin, 2 * kMargin + kLine, kWidth - 2 * kMargin, kBar}},
    {.name = L"Label2", .id = pid::Label2, .kind = Kind::Label,
     .twips = {kMargin, 3 * kMargin + kLine + kBar, kWidth - 2 * kMargin, kLine}},
};
constexpr FormDef kProgressForm{.className = pid::kClass, .caption = Text::ProgramName, .clientWidth = kWidth,
                                .clientHeight = 4 * kMargin + 2 * kLine + kBar, .controls = kProgressControls,
                                .fitsTexts = true};

FrmProgress::FrmProgress() : Form(kProgressForm) {}

}  // namespace

class ProgressShown::Window {
 public:
  Window(HWND owner, const std::wstring& doing) : taskbar_(GetAncestor(owner, GA_ROOTOWNER)) {
    form_.SetOwner(owner);
    form_.Load();
    form_.SetControlText(pid::Label1, doing);
    // Nothing to close: the close box is greyed, as the window menu's Close.
    EnableMenuItem(GetSystemMenu(form_.hwnd(), FALSE), SC_CLOSE, MF_BYCOMMAND | MF_GRAYED);
    ++parts::busyScopes;
    form_.BeginModal();
  }
  ~Window() {
    form_.EndModal();
    form_.Discard();
    --parts::busyScopes;
  }
  void Show(std::size_t done, std::size_t total) {
    HWND bar = form_.Control(pid::ProgressBar1);
    const LONG style = GetWindowLongW(bar, GWL_STYLE);
    const bool marquee = total == 0;
    if (marquee != ((style & PBS_MARQUEE) != 0)) {
      SetWindowLongW(bar, GWL_STYLE, marquee ? style | PBS_MARQUEE : style & ~PBS_MARQUEE);
      SendMessageW(bar, PBM_SETMARQUEE, marquee, 0);
    }
    if (!marquee) {
      // The bar counts in parts of a thousand: its range is an int on every system.
      SendMessageW(bar, PBM_SETRANGE32, 0, 1000);
      SendMessageW(bar, PBM_SETPOS, static_cast<WPARAM>(done >= total ? 1000 : done * 1000 / total), 0);
    }
    form_.SetControlText(pid::Label2, marquee ? std::wstring() : Tr(Text::ProgressCount, {Grouped(done), Grouped(total)}));
    taskbar_.Show(done, total);
  }

 private:
  FrmProgress form_;
  TaskbarProgress taskbar_;
};

ProgressShown::ProgressShown(HWND owner, std::wstring doing)
    : owner_(owner), doing_(std::move(doing)), start_(GetTickCount()) {}

ProgressShown::~ProgressShown() = default;

void ProgressShown::Update(std::size_t done, std::size_t total) {
  done_ = done;
  total_ = total;
  Tick();
}

void ProgressShown::Tick() {
  const DWORD now = GetTickCount();  // wraps, but differences stay right
  if (now - start_ < kShowAfterMs) return;
  if (window_ && now - shownAt_ < kUpdateEveryMs) return;
  if (!window_) window_ = std::make_unique<Window>(owner_, doing_);
  shownAt_ = now;
  window_->Show(done_, total_);
}

}  // namespace forms
