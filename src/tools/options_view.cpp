#include "tools/options_view.h"

#include "frame/screen_look.h"
#include "platform/dialog.h"
#include "platform/message_box.h"
#include "store/ce_database.h"
#include "store/settings.h"
#include "ui/ids.h"
#include "ui/texts.h"

namespace {

// Done button, sized to the screen, input panel down.
constexpr ce::DWORD kFullScreenWithDone = 0x0B;
constexpr int kCaptionFontControls[] = {kCtlTitle};

// A box clicked with the pen also reports the focus; only the tick counts.
bool Ticked(ce::HWND dialog, int id) {
  return (ce::IsDlgButtonChecked(dialog, id) & ce::BST_CHECKED) != 0;
}

void TickScale(ce::HWND dialog, uint16_t scale) {
  ce::CheckRadioButton(dialog, kCtlOptionsFahrenheit, kCtlOptionsCelsius,
                       scale == kScaleCelsius ? kCtlOptionsCelsius : kCtlOptionsFahrenheit);
}

}  // namespace

COptionsView::COptionsView()
    : CFormView_(false, {.template_id = kDlgOptions,
                         .init_flags = kFullScreenWithDone,
                         .caption_font = kCaptionFontControls}) {}

void COptionsView::OnLoad() {
  background_.Load(kImgListBackground);
}

void COptionsView::OnActivate() {
  // A record that cannot be read shows the first-start values; OK then refuses to write.
  Settings settings;
  ReadSettings(&settings);
  choice_ = OptionsFromSettings(settings);
  SetFrameInterval(70);
  CFormView_::OnActivate();
}

ce::INT_PTR COptionsView::OnInitDialog(ce::HWND dialog) {
  TickScale(dialog, choice_.scale);
  ce::CheckDlgButton(dialog, kCtlOptionsShowMinMax,
                     choice_.show_min_max ? ce::BST_CHECKED : ce::BST_UNCHECKED);
  ce::CheckDlgButton(dialog, kCtlOptionsDisableLogo,
                     choice_.logo_disabled ? ce::BST_CHECKED : ce::BST_UNCHECKED);
  return ce::TRUE;
}

ce::INT_PTR COptionsView::OnControlColour(ce::WPARAM dc, ce::LPARAM control) {
  // Every control but the title is black on cyan.
  const int id = ce::GetDlgCtrlID(reinterpret_cast<ce::HWND>(control));
  return id == kCtlTitle ? TitleColours(dc) : ControlColours(dc);
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

ce::INT_PTR COptionsView::OnScreenMessage(ce::HWND dialog, ce::UINT message, ce::WPARAM wparam,
                                          ce::LPARAM) {
  if (message != ce::WM_COMMAND || ce::HIWORD(wparam) != ce::BN_CLICKED) return ce::FALSE;
  OnCommand(dialog, ce::LOWORD(wparam));
  return ce::TRUE;
}
