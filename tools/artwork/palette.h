// The one palette every picture is drawn from. The program's own control colours come first:
// artwork has to sit next to them, so the rest of the palette was chosen around them.
#pragma once

#include <cstdint>

namespace art {

struct Rgb {
  uint8_t r, g, b;
};

// Fixed by the program: cyan controls, blue titles, dark-blue lines (pixel 200), green chart
// dots (pixel 6000), the orange of the About screen's link (pixel 65000), calendar greys.
inline constexpr Rgb kCyan{0, 255, 255};
inline constexpr Rgb kBlue{0, 0, 255};
inline constexpr Rgb kInk{0, 24, 66};
inline constexpr Rgb kDotGreen{16, 239, 132};
inline constexpr Rgb kLinkOrange{255, 190, 66};
inline constexpr Rgb kGridGrey{230, 230, 230};
inline constexpr Rgb kCellGrey{198, 198, 198};
inline constexpr Rgb kWhite{255, 255, 255};
inline constexpr Rgb kBlack{0, 0, 0};

// Ours. Paper is where text goes; lilac and plum frame it; rose marks the period and the
// product; sage-green the fertile days, a softer cousin of the chart dots.
inline constexpr Rgb kPaper{252, 249, 252};
inline constexpr Rgb kPaperShade{240, 234, 246};
inline constexpr Rgb kLilacPale{226, 216, 242};
inline constexpr Rgb kLilac{188, 168, 226};
inline constexpr Rgb kPlum{112, 64, 146};
inline constexpr Rgb kPlumDeep{72, 36, 104};
inline constexpr Rgb kRosePale{250, 214, 226};
inline constexpr Rgb kRose{228, 84, 124};
inline constexpr Rgb kRoseDeep{176, 40, 84};
inline constexpr Rgb kSage{64, 184, 132};
inline constexpr Rgb kSageDeep{28, 128, 88};
inline constexpr Rgb kSagePale{196, 236, 214};
inline constexpr Rgb kMoonGold{255, 232, 164};
inline constexpr Rgb kAmber{255, 184, 64};

// Control faces under one light from the upper left: a lighter top-left edge, a darker
// bottom-right edge.
inline constexpr Rgb kCyanLight{176, 255, 255};
inline constexpr Rgb kCyanDark{0, 176, 196};
inline constexpr Rgb kBlueLight{96, 96, 255};
inline constexpr Rgb kBlueDark{0, 0, 160};

}  // namespace art
