// The frame as a user meets it: start-up, the password prompt, the menu and its router, screen
// switching and going back, ticks and activation, the About and Mirror screens, shutdown.

#include <algorithm>
#include <cinttypes>
#include <cstdio>
#include <fstream>
#include <string_view>

#include "diary/diary_records.h"
#include "frame/app.h"
#include "frame/commands.h"
#include "frame/ui_resources.h"
#include "platform/menu_bar.h"
#include "platform/object_store.h"
#include "scenarios/cycle_steps.h"
#include "store/password_hash.h"
#include "tools/about_view.h"

namespace calvira::testing {
namespace {

// Three cycles of 28 days, with the logo off.
void ThreeCycles() {
  StoreCycles({{730000, 5, 28}, {730028, 5, 28}, {730056, 5, 28}});
}

// Dialogs on the screen: a screen left through the menu takes its own along.
int ShownDialogs() {
  const std::vector<ce::WindowInfo> windows = ce::DescribeWindows();
  return static_cast<int>(std::count_if(windows.begin(), windows.end(), [](const auto& w) {
    return w.visible && w.class_name == u"#32770";
  }));
}

void LogoOffStore() {
  StoreSettings(LogoOff());
}

// The prompt still up, and nothing of the records drawn around it.
void ExpectLocked() {
  ExpectView(kPasswordEntryView);
  EXPECT_NE(FindControl(kCtlPasswordField), nullptr);
  for (const ce::POINT p : {ce::POINT{4, 4}, ce::POINT{120, 40}, ce::POINT{120, 250}}) {
    EXPECT_EQ(Scenario::PixelAt(p.x, p.y), 0xFFFF) << p.x << "," << p.y;
  }
}

// Until the right password is typed, no command of the menu, whether tapped, posted or asked
// for with a key, leads anywhere; afterwards the menu works as ever.
TEST(FramePassword, OnlyTheRightPasswordLeadsPastThePrompt) {
  Scenario s("password");
  s.Before([] {
    ThreeCycles();
    StoreLocked();
  });
  s.Check(ExpectLocked);
  for (const ce::MenuButton& button : MenuBarButtons()) {
    // A tap on the bar opens nothing.
    s.TapMenuEntry(button.command).Check([&button] {
      for (const ce::MenuItem& item : button.items) EXPECT_FALSE(FindMenuEntry(item.id));
    });
  }
  for (const CommandEntry& entry : MenuCommands()) {
    if (entry.action == CommandEntry::Action::kSeparator) continue;
    s.Check([command = entry.command] {
       ce::PostMessage(CDocument_::GetMainWnd(), ce::WM_COMMAND, command, 0);
     }).Check(ExpectLocked);
  }
  s.Type(u"secret")
      .Key(ce::VK_RETURN)
      .ExpectBox(u"Password", u"Wrong password!\nTry again?", ce::IDOK)
      .Check(ExpectLocked);
  for (int i = 0; i < 6; ++i) s.Key(ce::VK_BACK);
  // A plain store that has a password is offered encryption; Cancel keeps it plain this run.
  s.Type(u"Secret")
      .Key(ce::VK_RETURN)
      .ExpectBox(u"Password", kTextEncryptRecords, ce::IDCANCEL)
      .Check([&s] {
        ExpectView(kCycleView);
        EXPECT_FALSE(ce::objectstore::IsEncrypted(s.DataDir()));
      });
  s.Menu(kCmdAbout).Check([] { ExpectView(kAboutView); });
  s.RunCleanly();
}

// A secret that the test itself never holds as plain UTF-16 (each unit is kept XOR-ed), so that
// whatever copy the memory holds is the program's.
struct MaskedSecret {
  static constexpr char16_t kMask = 0x5A5A;
  std::u16string masked;
  char16_t At(size_t i) const { return masked[i] ^ kMask; }
};

// How many copies of the secret, as UTF-16, the process's writable memory (heap, stacks, data)
// holds, freed memory included.
[[maybe_unused]] int CopiesInMemory(const MaskedSecret& secret) {
  std::ifstream maps("/proc/self/maps");
  std::string line;
  int copies = 0;
  const size_t n = secret.masked.size();
  while (std::getline(maps, line)) {
    uintptr_t start = 0, end = 0;
    char perms[5] = {};
    if (std::sscanf(line.c_str(), "%" SCNxPTR "-%" SCNxPTR " %4s", &start, &end, perms) != 3) {
      continue;
    }
    if (perms[0] != 'r' || perms[1] != 'w' || line.find("[vvar]") != std::string::npos) continue;
    const auto* units = reinterpret_cast<const volatile char16_t*>(start);
    const size_t count = (end - start) / 2;
    for (size_t i = 0; i + n <= count; ++i) {
      size_t k = 0;
      while (k < n && units[i + k] == secret.At(k)) ++k;
      if (k == n) ++copies;
    }
  }
  return copies;
}

// A password an older store kept as text: once typed right it becomes a hash, the other
// settings stay, and no copy of the text stays behind in memory, short (kept inside a string
// object) or long (on the heap).
TEST(FramePassword, APasswordKeptAsTextBecomesAHashAndLeavesNoCopyInMemory) {
  for (const std::u16string_view plain : {u"Q7v!kz", u"Zebra-Lantern-91!"}) {
    MaskedSecret secret;
    for (char16_t c : plain) secret.masked.push_back(c ^ MaskedSecret::kMask);
    Scenario s("legacy password wiped");
    s.Before([&secret] {
      StoreSettings(LogoOff());
      Settings legacy;
      ASSERT_TRUE(ReadSettings(&legacy));
      for (size_t i = 0; i < secret.masked.size(); ++i) legacy.password.push_back(secret.At(i));
      legacy.password_set = 1;
      legacy.scale = 2;
      ASSERT_TRUE(WriteSettings(legacy));
    });
    s.Check([] { ExpectView(kPasswordEntryView); });
    for (size_t i = 0; i < secret.masked.size(); ++i) s.Type(std::u16string(1, secret.At(i)));
    s.Key(ce::VK_RETURN).ExpectBox(u"Password", kTextEncryptRecords, ce::IDOK).Check([&secret] {
      ExpectView(kCycleView);
      EXPECT_TRUE(ce::objectstore::MountedEncrypted());
#ifndef __SANITIZE_ADDRESS__  // its shadow memory is terabytes of mappings to read
      EXPECT_EQ(CopiesInMemory(secret), 0) << secret.masked.size() << " characters";
#endif
      Settings settings;
      ASSERT_TRUE(ReadSettings(&settings));
      std::u16string typed;
      for (size_t i = 0; i < secret.masked.size(); ++i) typed.push_back(secret.At(i));
      EXPECT_TRUE(VerifyPassword(settings.password, typed));
      EXPECT_FALSE(NeedsRehash(settings.password));
      EXPECT_EQ(settings.scale, 2);
    });
    s.RunCleanly();
  }
}

// Every menu opens over its button, and every entry of every menu, tapped as a user taps it,
// opens a screen (which text a help entry shows is the router's table). Cycle Charts, Mirror,
// About and Exit have scenarios of their own.
TEST(FrameMenu, EveryMenuStaysOnTheScreenEveryEntryOpensAScreenAndF1ItsHelp) {
  Scenario s("menu");
  s.Before(ThreeCycles);
  for (const ce::MenuButton& button : MenuBarButtons()) {
    for (const ce::MenuItem& item : button.items) {
      if (item.id == 0 || item.id == 40070 || item.id == 40080 || item.id == 40003 ||
          item.id == 40084) {
        continue;
      }
      s.Menu(item.id).Check([id = item.id] {
        SCOPED_TRACE(id);
        const int32_t current = CDocument_::GetCurrentView();
        ASSERT_NE(CDocument_::FindView(current), nullptr);
        EXPECT_TRUE(CDocument_::FindView(current)->IsActive());
        EXPECT_LE(ShownDialogs(), 1);
      });
    }
  }
  // Done, under the help text, goes back to the screen the help was asked on.
  s.Menu(40069).Menu(40057).TapControl(2).Check([] { ExpectView(kCycleHistoryView); });
  // The shell keeps a menu on the screen: under its button, moved left where it would run past
  // the right edge, its bottom on the menu bar's top.
  const int32_t lefts[] = {0, 48, 90};
  ASSERT_EQ(MenuBarButtons().size(), std::size(lefts));
  for (size_t b = 0; b < std::size(lefts); ++b) {
    const ce::UINT button = MenuBarButtons()[b].command;
    s.TapMenuEntry(button).Check([left = lefts[b]] {
      ce::RECT menu;
      ASSERT_TRUE(ce::GetWindowRect(ce::OpenMenuWindow(), &menu));
      EXPECT_EQ(menu.left, left);
      EXPECT_EQ(menu.Width(), ce::kMenuWidth);
      EXPECT_EQ(menu.bottom, ce::kScreenHeight);
      for (const ce::MenuEntry& entry : ce::MenuEntries(ce::OpenMenuWindow())) {
        EXPECT_EQ(ce::Intersect(entry.rect, menu), entry.rect) << ce::ToUtf8(entry.text);
      }
    });
    s.TapMenuEntry(button).Check([] { EXPECT_EQ(ce::OpenMenuWindow(), nullptr); });
  }
  // Cycle Charts does not remember itself: back from Mirror over it lands on the list shown
  // before.
  s.Menu(40069).Menu(40070).Menu(40080).Tap(100, 100).Check([] { ExpectView(kCycleHistoryView); });
  // F1 opens the help of the screen it is pressed on (its own, or the Main Help), modal screens
  // included, as the Help menu does; Done goes back as from the menu's help: from a modal
  // screen, to the screen under it. Ctrl+Q ends the program as Exit does.
  const struct {
    uint32_t command;
    int32_t back;
    uint32_t help;
  } rows[] = {
      {kCmdCycleView, kCycleView, kStrMainHelp},
      {kCmdCycleHistory, kCycleHistoryView, kStrCycleHistoryHelp},
      {kCmdPillHistory, kPillHistoryView, kStrPillHistoryHelp},
      {kCmdOptions, kPillHistoryView, kStrMainHelp},
  };
  for (const auto& row : rows) {
    s.Menu(row.command)
        .Key(ce::VK_F1)
        .Check([&row] {
          ExpectView(kHelpView);
          EXPECT_EQ(Field(kCtlTitle).substr(0, 40), ce::ToUtf8(LoadString(row.help)).substr(0, 40));
        })
        .TapControl(ce::IDCANCEL)
        .Check([&row] { ExpectView(row.back); });
  }
  s.Key('Q', ce::VK_CONTROL);
  s.RunCleanly();
  EXPECT_EQ(CDocument_::Context().words[1], kPillHistoryView);
}

// The menu stays usable over the modal screens and their calendars: leaving through it takes
// every dialog of theirs along, stores nothing, and leaves the window taking the pen. A second
// visit, tapping the same controls, finds each screen made afresh.
TEST(FrameMenu, LeavingAModalScreenThroughTheMenuTakesItsDialogsAlong) {
  const std::function<void(Scenario&)> reach[] = {
      [](Scenario& s) { s.TapControl(kCtlCycleAdd); },
      [](Scenario& s) { s.TapControl(kCtlCycleEdit); },
      [](Scenario& s) { s.Menu(kCmdScheduleEdit); },
      [](Scenario& s) { TapDay(s.Menu(kCmdScheduleEdit), 10).TapControl(kCtlDayHeavy); },
      [](Scenario& s) {
        TapDay(s.Menu(kCmdScheduleEdit), 10).TapControl(kCtlDayPill).TapControl(kCtlDayTime);
      },
      [](Scenario& s) { s.Menu(kCmdDiary).TapControl(kCtlDiaryAdd).Type(u"Dropped"); },
      [](Scenario& s) { s.Menu(kCmdDiary).TapControl(kCtlDiaryAdd).TapControl(kCtlNoteDate); },
      [](Scenario& s) { s.Menu(kCmdPrediction); },
  };
  Scenario s("modal screens left through the menu");
  s.Before(ThreeCycles);
  for (int visit = 0; visit < 2; ++visit) {
    for (const auto& way : reach) {
      way(s.Menu(kCmdCycleView));
      s.Menu(kCmdCycleHistory).Check([] {
        ExpectView(kCycleHistoryView);
        EXPECT_EQ(ShownDialogs(), 1);
        EXPECT_TRUE(ce::IsWindowEnabled(CDocument_::GetMainWnd()));
        EXPECT_EQ(PillRecordCount(), 0u);
        EXPECT_TRUE(ReadNotes(0).empty());
      });
    }
  }
  s.RunCleanly();
}

// The Cycle View's dialog holds the activation, and while the main window is not active no
// ticks come, as on the handheld. A tap on the menu bar gives the main window the activation
// back; the ticks are counted from such a moment.
void ActivateMainWindow() {
  ce::SetActiveWindow(CDocument_::GetMainWnd());
  EXPECT_FALSE(CDocument_::Inactive());
}

// The 32-bit tick counter wraps about three seconds after the start: the loop goes on.
TEST(FrameLoop, TicksComeEvery500MsThenEvery70AcrossTheCountersWrapAndNoneInTheBackground) {
  Scenario s("frame interval");
  uint64_t before = 0;
  s.StartTick(0xFFFFFFFFu - 3000).Before(LogoOffStore);
  s.Check([&] {
     ActivateMainWindow();
     before = TickCount();
   })
      .Wait(5000)
      .Check([&] {
        EXPECT_LT(ce::GetTickCount(), 10000u);  // it did wrap
        EXPECT_NEAR(static_cast<double>(TickCount() - before), 10.0, 1.0);
        EXPECT_EQ(GetFrameInterval(), 500u);
      })
      .Menu(40080)
      .Tap(50, 50)
      .Check([&] {
        // Mirror set 70 ms, and going back keeps it.
        ExpectView(kCycleView);
        EXPECT_EQ(GetFrameInterval(), 70u);
        ActivateMainWindow();
      })
      // In the background no ticks come, but repaints go on.
      .Check([] { ce::InjectInput({ce::InputEvent::Kind::kFocusOut}); })
      .Wait(100)
      .Check([&] {
        EXPECT_TRUE(CDocument_::Inactive());
        before = TickCount();
        // Paint the main window over; the repaint must still reach the screen.
        ce::HWND main = CDocument_::GetMainWnd();
        ce::HDC dc = ce::GetDC(main);
        ce::FillSolidRect(dc, ce::RECT{0, 0, 240, 268}, ce::RGB(0, 0, 0));
        ce::ReleaseDC(main, dc);
        ce::InvalidateRect(main, nullptr, ce::TRUE);
      })
      .Wait(3000)
      .Check([&] {
        EXPECT_EQ(TickCount(), before);
        EXPECT_NE(Scenario::PixelAt(120, 100), 0x0000);  // repainted from the main buffer
        ce::InjectInput({ce::InputEvent::Kind::kFocusIn});
      })
      .Wait(2000)
      .Check([&] {
        EXPECT_FALSE(CDocument_::Inactive());
        EXPECT_GE(TickCount() - before, 3u);
      });
  s.RunCleanly();
}

// No animation timer outlives the screen, left by a tap or through the menu.
void ExpectNoTimer() {
  ce::clock::Advance(1000);
  ce::MSG msg;
  EXPECT_FALSE(ce::PeekMessage(&msg, nullptr, ce::WM_TIMER, ce::WM_TIMER, ce::PM_NOREMOVE));
}

// About's band makes one whole pass (65 steps) and starts again.
TEST(FrameScreens, AboutAnimatesItsBandAndATapGoesBack) {
  Scenario s("about");
  s.Before(LogoOffStore);
  auto about = [] { return static_cast<CAboutView*>(CDocument_::FindView(kAboutView)); };
  s.Menu(40003)
      .Wait(6500)
      .Check([&] {
        EXPECT_EQ(std::pair(about()->BandX(), about()->ShrinkIndex()), std::pair(235, 18));
      })
      .Tap(120, 200)
      .Check([&] {
        ExpectView(kCycleView);
        const int frame = about()->SpriteFrame();
        ExpectNoTimer();
        EXPECT_EQ(about()->SpriteFrame(), frame);
      });
  s.Menu(40003).Wait(300).Menu(40069).Check(ExpectNoTimer);
  s.RunCleanly();
}

// A first start makes the store and keeps the logo up two seconds; with the logo off, the first
// screen comes without them. Exit, the close button, and Cancel after a wrong password at the
// prompt all end the program with code 0, the screen it ended on kept in the context.
TEST(FrameShutdown, ExitTheCloseButtonAndCancelAtThePromptEndWithCodeZero) {
  const struct {
    const char* name;
    void (*prepare)();
    std::function<void(Scenario&)> end;
    int32_t last_screen;
  } ways[] = {
      {"exit", LogoOffStore, [](Scenario& s) { s.Menu(40069).Menu(40084); }, kCycleHistoryView},
      {"first start, closed", nullptr, [](Scenario&) {}, kCycleView},  // the script's end closes
      {"cancel at the prompt", StoreLocked,
       [](Scenario& s) {
         s.Type(u"nope")
             .Key(ce::VK_RETURN)
             .ExpectBox(u"Password", u"Wrong password!\nTry again?", ce::IDCANCEL);
       },
       kPasswordEntryView},
  };
  for (const auto& way : ways) {
    Scenario s(way.name);
    if (way.prepare != nullptr) s.Before(way.prepare);
    s.Check([first = way.prepare == nullptr] {
      EXPECT_EQ(ce::GetTickCount() - 1000 >= 2000u, first);
      Settings settings;
      EXPECT_TRUE(!first ||
                  (ReadSettings(&settings) && CDocument_::GetPreviousView() == kCycleView));
    });
    way.end(s);
    s.RunCleanly();
    EXPECT_EQ(CDocument_::Context().words[1], way.last_screen) << way.name;
  }
}

}  // namespace
}  // namespace calvira::testing
