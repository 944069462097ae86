// Every picture of the program, each drawn by one function from code. Pictures that the
// program draws opaque over the common background are drawn over the very pixels they will
// cover, so they take `background` (picture 290) as input.
#pragma once

#include <array>
#include <filesystem>
#include <map>
#include <string>

#include "canvas.h"

namespace art {

// The product's mark: a ring of 28 day beads (period rose, fertile days sage, the rest lilac)
// around a crescent. Used large on the logo, small on headers and in the About emblem.
void DrawCycleRing(cairo_t* cr, double cx, double cy, double radius, double bead, bool on_dark);
// A row of day beads in the ring's colours, centred on (cx, cy).
void DrawBeadRow(cairo_t* cr, double cx, double cy, int count, double pitch, double bead);

// Backgrounds (backgrounds.cpp).
Canvas CommonBackground();                        // 290
Canvas EmptyCycleView(const Canvas& background);  // 337
Canvas ListBackground();                          // 311
Canvas FormBackground();                          // 322
Canvas CalendarBackground();                      // 279
Canvas HelpFrame(const Canvas& background);       // 294

// Showpieces (showpieces.cpp).
Canvas StartLogo();                             // 287
Canvas MirrorPicture();                         // 309
Canvas AboutSprites(const Canvas& background);  // 296
Canvas AboutBand();                             // 314
Canvas AboutEmblem(const Canvas& background);   // 266

// Controls, bars and icons (pieces.cpp).
Canvas ArrowDown();                            // 325
Canvas ArrowUp();                              // 326
Canvas ChartArrows();                          // 346
Canvas HalfDaySwitch(bool pm);                 // 329 (PM) and 331 (AM)
Canvas NumberTiles();                          // 334
Canvas MonthStrip(bool start_month);           // 339 (start) and 338 (end)
Canvas TimeLineBar();                          // 340
Canvas PeriodBar();                            // 341
Canvas OvulationBar();                         // 342
Canvas ChartBar();                             // 349
Canvas WarningSign(const Canvas& background);  // 343
Canvas DayIcons();                             // 345

// Where the screens draw the pieces that are painted opaque over picture 290.
inline constexpr int kSpriteX = 180, kSpriteY = 30;
inline constexpr int kEmblemX = 50, kEmblemY = 130;
inline constexpr int kWarningX = 30, kWarningY = 25;
inline constexpr int kFrameX = 3, kFrameY = 3;

struct Picture {
  const char* role;
  Canvas canvas;
};
// All pictures by id, drawn and rounded to RGB 5-6-5.
std::map<int, Picture> DrawAll();

// The desktop icon (icons.cpp): DIR/calvira-<size>.png for each size, and DIR/calvira.svg.
inline constexpr std::array<int, 4> kIconSizes{48, 64, 128, 256};
bool WriteIcons(const std::filesystem::path& dir);

// The contact sheet: every picture at 2x with id and size, then screen mock-ups.
Canvas ContactSheet(const std::map<int, Picture>& pictures);

}  // namespace art
