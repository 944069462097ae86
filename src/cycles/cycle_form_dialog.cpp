#include "cycles/cycle_form_dialog.h"

#include <algorithm>

#include "cycles/cycle_forms.h"
#include "frame/document.h"
#include "frame/frame_fonts.h"
#include "frame/screen_look.h"
#include "platform/dialog.h"
#include "ui/ids.h"

void SetUpCycleForm(ce::HWND dialog, std::span<const int> labels) {
  ce::SHINITDLGINFO info{ce::SHIDIM_FLAGS, dialog, 0x0A};
  ce::SHInitDialog(&info);
  const auto font = reinterpret_cast<ce::WPARAM>(CaptionFont());
  ce::SendDlgItemMessage(dialog, kCtlTitle, ce::WM_SETFONT, font, 0);
  for (int id : labels) ce::SendDlgItemMessage(dialog, id, ce::WM_SETFONT, font, 0);
}

ce::INT_PTR CycleFormColours(ce::WPARAM dc, ce::LPARAM control, std::span<const int> labels) {
  const int id = ce::GetDlgCtrlID(reinterpret_cast<ce::HWND>(control));
  if (id == ce::IDOK || id == ce::IDCANCEL) return ControlColours(dc);
  return ScreenColours(dc, control, labels);
}

std::u16string FieldText(ce::HWND dialog, int id) {
  char16_t text[64] = {};
  ce::GetDlgItemText(dialog, id, text, 64);
  return text;
}

bool KeepLengthFieldShort(ce::HWND dialog, int id) {
  std::u16string text = FieldText(dialog, id);
  if (!CutLengthField(text)) return false;
  ce::SetDlgItemText(dialog, id, text.c_str());
  ce::SendDlgItemMessage(dialog, id, ce::EM_SETSEL, kLengthFieldChars, kLengthFieldChars);
  return true;
}
