#include "tools/options_view.h"

#include "frame/dialog_screen.h"
#include "frame/frame_fonts.h"
#include "frame/screen_look.h"
#include "gfx/graphic_buffer.h"
#include "platform/dialog.h"
#include "platform/message_box.h"
#include "store/ce_database.h"
#include "store/settings.h"
#include "ui/ids.h"
#include "ui/texts.h"

namespace {

// Done button, sized to the screen, input panel down.
constexpr ce::DWORD kFullScreenWithDone = 0x0B;

// A box clicked with the pen also reports the focus; only the tick counts.
bool Ticked(ce::HWND dialog, int id) {
  return (ce::IsDlgButtonChecked(dialog, id) & ce::BST_CHECKED) != 0;
}

void TickScale(ce::HWND dialog, uint16_t scale) {
  ce::CheckRadioButton(dialog, kCtlOptionsFahrenheit, kCtlOptionsCelsius,
                       scale == kScaleCelsius ? kCtlOptionsCelsius : kCtlOptionsFahrenheit);
}

}  // namespace

void COptionsView::OnLoad() {
  background_.Load(kImgListBackground);
}

void COptionsView::OnActivate() {
  // A record that cannot be read shows the first-start values; OK then refuses to write.
  Settings settings;
  ReadSettings(&settings);
  choice_ = OptionsFromSettings(settings);
  active_ = true;
  SetFrameInterval(70);
  SetDrawTarget(CDocument_::GetScreenBuffers()->GetScreenBuffer());
  result_ = RunScreenDialog(this, kDlgOptions);
  dialog_ = nullptr;
}

bool COptionsView::OnDeactivate() {
  if (!active_) return false;
  active_ = false;
  // Left through the menu while the dialog runs: the dialog goes with the screen, or it would
  // stay under the next one and come back when that one ends.
  if (dialog_ != nullptr) {
    const ce::HWND dialog = dialog_;
    dialog_ = nullptr;
    ce::EndDialog(dialog, ce::IDCANCEL);
  }
  return true;
}

void COptionsView::Initialise(ce::HWND dialog) {
  dialog_ = dialog;
  ce::SHINITDLGINFO info{ce::SHIDIM_FLAGS, dialog, kFullScreenWithDone};
  ce::SHInitDialog(&info);
  ce::SendDlgItemMessage(dialog, kCtlTitle, ce::WM_SETFONT,
                         reinterpret_cast<ce::WPARAM>(CaptionFont()), 0);
  TickScale(dialog, choice_.scale);
  ce::CheckDlgButton(dialog, kCtlOptionsShowMinMax,
                     choice_.show_min_max ? ce::BST_CHECKED : ce::BST_UNCHECKED);
  ce::CheckDlgButton(dialog, kCtlOptionsDisableLogo,
                     choice_.logo_disabled ? ce::BST_CHECKED : ce::BST_UNCHECKED);
}

void COptionsView::Leave(ce::HWND dialog, ce::INT_PTR result) {
  CDocument_::SetView(kCycleView);
  ce::EndDialog(dialog, result);
}

void COptionsView::OnOk(ce::HWND dialog) {
  // Read again: only the three settings are this screen's; the rest stays as the store has it.
  // Without a record to start from, writing would put a first-start record, with no password,
  // in place of one that could not be read.
  Settings read;
  if (!ReadSettings(&read)) {
    ce::ReportFatalError(kTextOptionsViewRead);
    return;
  }
  if (!WriteSettings(ApplyOptions(read, choice_))) {
    // A full or read-only disk is the user's to mend and is told as such.
    if (!ReportRefusedChange(nullptr)) ce::ReportFatalError(kTextOptionsViewWrite);
    return;
  }
  Leave(dialog, ce::IDOK);
}

void COptionsView::OnCommand(ce::HWND dialog, int id) {
  switch (id) {
    case kCtlOptionsCelsius:
      choice_.scale = kScaleCelsius;
      TickScale(dialog, choice_.scale);
      break;
    case kCtlOptionsFahrenheit:
      choice_.scale = kScaleFahrenheit;
      TickScale(dialog, choice_.scale);
      break;
    case kCtlOptionsShowMinMax:
      choice_.show_min_max = Ticked(dialog, id);
      break;
    case kCtlOptionsDisableLogo:
      choice_.logo_disabled = Ticked(dialog, id);
      break;
    case ce::IDOK:
      OnOk(dialog);
      break;
    case ce::IDCANCEL:
      Leave(dialog, ce::IDCANCEL);
      break;
    default:
      break;
  }
}

ce::INT_PTR COptionsView::OnDialogMessage(ce::HWND dialog, ce::UINT message, ce::WPARAM wparam,
                                          ce::LPARAM lparam) {
  using namespace ce;
  switch (message) {
    case WM_INITDIALOG:
      Initialise(dialog);
      return TRUE;
    case WM_PAINT: {
      PAINTSTRUCT ps;
      BeginPaint(dialog, &ps);
      SetDrawTarget(CDocument_::GetScreenBuffers()->GetScreenBuffer());
      background_.Draw(0, 0);
      CDocument_::GetScreenBuffers()->PresentTo(dialog);
      EndPaint(dialog, &ps);
      return TRUE;
    }
    case WM_CTLCOLORBTN:
    case WM_CTLCOLORSTATIC: {
      const int id = GetDlgCtrlID(reinterpret_cast<HWND>(lparam));
      return id == kCtlTitle ? TitleColours(wparam) : ControlColours(wparam);
    }
    case WM_COMMAND:
      if (HIWORD(wparam) != BN_CLICKED) return FALSE;
      OnCommand(dialog, LOWORD(wparam));
      return TRUE;
    default:
      return FALSE;
  }
}
