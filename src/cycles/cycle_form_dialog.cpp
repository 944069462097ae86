#include "cycles/cycle_form_dialog.h"

#include <string>

#include "cycles/cycle_forms.h"
#include "platform/dialog.h"

bool KeepLengthFieldShort(ce::HWND dialog, int id) {
  std::u16string text = ce::GetDlgItemString(dialog, id);
  if (!CutLengthField(text)) return false;
  ce::SetDlgItemText(dialog, id, text.c_str());
  ce::SendDlgItemMessage(dialog, id, ce::EM_SETSEL, kLengthFieldChars, kLengthFieldChars);
  return true;
}
