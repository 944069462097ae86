#include "frame/frame_fonts.h"

#include <array>
#include <string>

namespace {

enum FontIndex {
  kCaption,
  kSmallBold,
  kVertical,
  kLargeThin,
  kSmallThin,
  kFixed,
  kSmallFixed,
  kCount
};
std::array<ce::HFONT, kCount> g_fonts{};

ce::HFONT Make(const char16_t* face, ce::LONG height, ce::LONG weight, ce::LONG escapement) {
  ce::LOGFONT lf{};
  lf.lfHeight = height;
  lf.lfWeight = weight;
  lf.lfEscapement = escapement;
  lf.lfOrientation = escapement;
  std::char_traits<char16_t>::copy(lf.lfFaceName, face, std::char_traits<char16_t>::length(face));
  return ce::CreateFontIndirect(&lf);
}

}  // namespace

void CreateFrameFonts() {
  DeleteFrameFonts();
  g_fonts[kCaption] = Make(u"Tahoma", 16, 700, 0);
  g_fonts[kSmallBold] = Make(u"Tahoma", 13, 700, 0);
  g_fonts[kVertical] = Make(u"Tahoma", 13, 700, 900);
  g_fonts[kLargeThin] = Make(u"Tahoma", 18, 100, 0);
  g_fonts[kSmallThin] = Make(u"Tahoma", 13, 100, 0);
  g_fonts[kFixed] = Make(u"Courier New", 16, 700, 0);
  g_fonts[kSmallFixed] = Make(u"Courier New", -9, 400, 0);
}

void DeleteFrameFonts() {
  for (ce::HFONT& font : g_fonts) {
    if (font != nullptr) ce::DeleteObject(font);
    font = nullptr;
  }
}

ce::HFONT CaptionFont() {
  return g_fonts[kCaption];
}
ce::HFONT SmallBoldFont() {
  return g_fonts[kSmallBold];
}
ce::HFONT VerticalFont() {
  return g_fonts[kVertical];
}
ce::HFONT LargeThinFont() {
  return g_fonts[kLargeThin];
}
ce::HFONT SmallThinFont() {
  return g_fonts[kSmallThin];
}
ce::HFONT FixedFont() {
  return g_fonts[kFixed];
}
ce::HFONT SmallFixedFont() {
  return g_fonts[kSmallFixed];
}
