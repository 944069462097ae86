#include "platform/clipboard.h"

#include "platform/display.h"
#include "platform/window.h"

namespace ce {
namespace {

std::u16string& Clipboard() {
  static std::u16string text;
  return text;
}

}  // namespace

void SetClipboardText(std::u16string_view text) {
  if (Display* display = GetDisplay()) return display->SetClipboardText(text);
  Clipboard().assign(text);
}

std::u16string GetClipboardText() {
  if (Display* display = GetDisplay()) return display->ClipboardText();
  return Clipboard();
}

}  // namespace ce
