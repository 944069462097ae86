#include "frame/commands.h"

#include <array>
#include <utility>
#include <vector>

#include "frame/view.h"
#include "ui/ids.h"
#include "ui/texts.h"

namespace {

using Action = CommandEntry::Action;
using enum MenuButtonId;

CommandEntry Screen(MenuButtonId button, uint32_t command, const char16_t* text, int32_t screen) {
  return {button, command, text, Action::kScreen, screen};
}
CommandEntry Help(uint32_t command, const char16_t* text, uint32_t help_text) {
  return {kHelp, command, text, Action::kHelp, 0, help_text};
}
CommandEntry Separator(MenuButtonId button) {
  return {button};
}

const std::vector<CommandEntry>& Table() {
  static const std::vector<CommandEntry> table = [] {
    std::vector<CommandEntry> t = {
        Screen(kMain, kCmdCycleView, u"Cycle View", kCycleView),
        Screen(kMain, kCmdCycleHistory, u"Cycle History", kCycleHistoryView),
        Screen(kMain, kCmdCycleCharts, u"Cycle Charts", kCycleChartsView),
        Separator(kMain),
        Screen(kMain, kCmdTempHistory, u"Temp History", kTempHistoryView),
        Screen(kMain, kCmdTempCharts, u"Temp Charts", kTempChartsView),
        {kMain, kCmdExit, u"Exit Calvira", Action::kExit},
        Screen(kTools, kCmdScheduleEdit, u"Schedule Edit", kScheduleView),
        Screen(kTools, kCmdPillHistory, u"Pill History", kPillHistoryView),
        Screen(kTools, kCmdPrediction, u"Prediction", kPredictionView),
        Screen(kTools, kCmdIdealBody, u"Weight/Height Scale", kIdealBodyView),
        Screen(kTools, kCmdDiary, u"My Diary", kDiaryView),
        Screen(kTools, kCmdMirror, u"Mirror", kMirrorView),
        Separator(kTools),
        Screen(kTools, kCmdOptions, u"Options", kOptionsView),
        Screen(kTools, kCmdPassword, u"Password", kPasswordView),
        Help(kCmdMainHelp, u"Main Help", kStrMainHelp),
        Help(kCmdCycleHistoryHelp, u"Cycle History Help", kStrCycleHistoryHelp),
        Help(kCmdCycleChartsHelp, u"Cycle Charts Help", kStrCycleChartsHelp),
        Separator(kHelp),
        Help(kCmdTempHistoryHelp, u"Temp History Help", kStrTempHistoryHelp),
        Help(kCmdTempChartsHelp, u"Temp Charts Help", kStrTempChartsHelp),
        Separator(kHelp),
        Help(kCmdScheduleHelp, u"Schedule Help", kStrScheduleHelp),
        Help(kCmdPillHistoryHelp, u"Pill History Help", kStrPillHistoryHelp),
        Separator(kHelp),
        Help(kCmdDiaryHelp, u"My Diary Help", kStrDiaryHelp),
        Help(kCmdPredictionHelp, u"Prediction Help", kStrPredictionHelp),
        Separator(kHelp),
        Screen(kHelp, kCmdAbout, u"About", kAboutView),
    };
    for (CommandEntry& e : t) {
      switch (e.command) {
        case kCmdCycleCharts:  // a chart of lengths needs a finished cycle
          e.database = u"Cycles";
          e.least_records = 2;
          e.refusal = kTextNoFinishedCycles;
          break;
        case kCmdTempCharts:  // no reading yet: the chart's help says how to make one
          e.database = u"Temperature";
          e.least_records = 1;
          e.help_text = kStrTempChartsHelp;
          break;
        case kCmdScheduleEdit:  // a day picked on the calendar goes to the day entry editor
          e.previous = kDayEntryView;
          break;
        default:
          break;
      }
    }
    return t;
  }();
  return table;
}

}  // namespace

std::span<const CommandEntry> MenuCommands() {
  return Table();
}

const CommandEntry* FindMenuCommand(uint32_t command) {
  for (const CommandEntry& e : Table()) {
    if (e.action != Action::kSeparator && e.command == command) return &e;
  }
  return nullptr;
}

uint32_t HelpCommandFor(int32_t screen) {
  // A screen opened from another shares its help: the calendar's editor and picker, the note.
  static constexpr std::pair<int32_t, uint32_t> kOwnHelp[] = {
      {kCycleHistoryView, kCmdCycleHistoryHelp},
      {kCycleChartsView, kCmdCycleChartsHelp},
      {kTempHistoryView, kCmdTempHistoryHelp},
      {kTempChartsView, kCmdTempChartsHelp},
      {kScheduleView, kCmdScheduleHelp},
      {kDayEntryView, kCmdScheduleHelp},
      {kPillTimeView, kCmdScheduleHelp},
      {kPillHistoryView, kCmdPillHistoryHelp},
      {kDiaryView, kCmdDiaryHelp},
      {kNoteView, kCmdDiaryHelp},
      {kPredictionView, kCmdPredictionHelp},
      {kHelpView, 0},
  };
  for (const auto& [view, command] : kOwnHelp) {
    if (view == screen) return command;
  }
  return kCmdMainHelp;
}

std::span<const ce::MenuButton> MenuBarButtons() {
  struct Bar {
    std::array<std::vector<ce::MenuItem>, 3> items;
    std::array<ce::MenuButton, 3> buttons;
  };
  // Built in place: the buttons' spans point into the item lists beside them.
  static Bar bar;
  static const bool built = [] {
    for (const CommandEntry& e : Table()) {
      bar.items[static_cast<size_t>(e.button)].push_back({e.command, e.text});
    }
    bar.buttons = {{
        {kCmdMainButton, u"Main", bar.items[0]},
        {kCmdToolsButton, u"Tools", bar.items[1]},
        {kCmdHelpButton, u"Help", bar.items[2]},
    }};
    return true;
  }();
  (void)built;
  return bar.buttons;
}
