#include "artwork.h"

namespace art {

std::map<int, Picture> DrawAll() {
  std::map<int, Picture> all;
  Canvas background = CommonBackground();
  background.Quantize();
  auto add = [&all](int id, const char* role, Canvas canvas) {
    canvas.Quantize();
    all.emplace(id, Picture{role, std::move(canvas)});
  };
  add(266, "About emblem (keyed)", AboutEmblem(background));
  add(279, "calendar", CalendarBackground());
  add(287, "start-up logo", StartLogo());
  add(294, "help frame", HelpFrame(background));
  add(296, "About moon sprites", AboutSprites(background));
  add(309, "mirror", MirrorPicture());
  add(311, "lists and forms", ListBackground());
  add(314, "About band", AboutBand());
  add(322, "cycle and password forms", FormBackground());
  add(325, "down arrow", ArrowDown());
  add(326, "up arrow", ArrowUp());
  add(329, "switch, PM chosen", HalfDaySwitch(true));
  add(331, "switch, AM chosen", HalfDaySwitch(false));
  add(334, "number tiles 0-12", NumberTiles());
  add(337, "Cycle View, no cycle", EmptyCycleView(background));
  add(338, "end month strip", MonthStrip(false));
  add(339, "start month strip", MonthStrip(true));
  add(340, "time-line bar", TimeLineBar());
  add(341, "period bar", PeriodBar());
  add(342, "ovulation bar", OvulationBar());
  add(343, "warning sign", WarningSign(background));
  add(345, "day icons", DayIcons());
  add(346, "chart arrows", ChartArrows());
  add(349, "chart bar", ChartBar());
  add(290, "common background", std::move(background));
  return all;
}

}  // namespace art
