#include "platform/clipboard.h"

namespace ce {
namespace {

std::u16string& Clipboard() {
  static std::u16string text;
  return text;
}

}  // namespace

void SetClipboardText(std::u16string_view text) {
  Clipboard().assign(text);
}

std::u16string GetClipboardText() {
  return Clipboard();
}

}  // namespace ce
