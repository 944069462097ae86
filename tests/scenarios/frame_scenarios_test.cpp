// The frame as a user meets it: start-up, the password prompt, the menu and its router, screen
// switching and going back, ticks and activation, the About, Help and Mirror screens, shutdown.
#include <gtest/gtest.h>

#include <cinttypes>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <memory>
#include <set>
#include <string>
#include <string_view>

#include "cycles/cycle_records.h"
#include "frame/app.h"
#include "frame/commands.h"
#include "frame/document.h"
#include "frame/ui_resources.h"
#include "gfx/fast_bitmap.h"
#include "platform/clock.h"
#include "platform/dialog.h"
#include "platform/menu_bar.h"
#include "platform/text.h"
#include "platform/window_tree.h"
#include "scenarios/cycle_steps.h"
#include "scenarios/scenario.h"
#include "store/catalogue.h"
#include "store/ce_database.h"
#include "store/settings.h"
#include "support/input.h"
#include "tools/about_view.h"
#include "tools/help_view.h"
#include "tools/password_hash.h"
#include "ui/ids.h"

namespace calvira::testing {
namespace {

// The settings record as a previous run would have left it, with a password.
Settings Locked() {
  Settings settings = LogoOff();
  settings.password = HashPassword(u"Secret");
  return settings;
}

void StoreCycles(int count) {
  CCeDatabase cycles;
  ASSERT_TRUE(cycles.Open(u"Cycles", 0));
  const DayNumber first = cycles.CountRecords() * 28 + 730000;
  for (int i = 0; i < count; ++i) {
    ASSERT_TRUE(WriteCycleRecord(cycles, {static_cast<DayNumber>(first + 28 * i), 5, 28}, true));
  }
  cycles.Close();
}

// Dialogs on the screen: a screen left through the menu takes its own along.
int ShownDialogs() {
  int dialogs = 0;
  for (const ce::WindowInfo& w : ce::DescribeWindows()) {
    dialogs += w.visible && w.class_name == u"#32770" ? 1 : 0;
  }
  return dialogs;
}

TEST(FrameStartUp, FirstStartMakesTheStoreShowsTheLogoAndOpensTheCycleView) {
  Scenario s("first start");
  ce::DWORD started = 0;
  s.Check([&] {
    ExpectView(kCycleView);
    EXPECT_EQ(CDocument_::GetPreviousView(), kCycleView);
    // The logo stayed two seconds before anything else happened.
    started = ce::GetTickCount();
    EXPECT_GE(started - 1000, 2000u);
    CCeDatabase systems;
    ASSERT_TRUE(systems.Open(u"Systems", 0));
    EXPECT_EQ(systems.CountRecords(), 1);
    systems.Close();
    for (const CatalogueEntry& entry : DatabaseCatalogue()) {
      CCeDatabase db;
      EXPECT_TRUE(db.Open(entry.name, 0)) << ce::ToUtf8(entry.name);
      db.Close();
    }
  });
  s.RunCleanly();
}

// What the frame buffer showed when the first screen had just been switched to, before it
// painted: the Cycle View paints the loading screen over as soon as the program is idle.
struct LoadingScreen {
  uint16_t corner = 0;
  int inked = -1;
};
LoadingScreen g_loading_screen;

void MeasureLoadingScreen() {
  g_loading_screen.corner = Scenario::PixelAt(200, 100);
  g_loading_screen.inked = 0;
  for (int y = 200; y < 230; ++y) {
    for (int x = 10; x < 100; ++x) g_loading_screen.inked += Scenario::PixelAt(x, y) != 0xFFFF;
  }
}

TEST(FrameStartUp, WithTheLogoDisabledAWhiteLoadingScreenComesWithoutPause) {
  Scenario s("logo disabled");
  s.Before([] { StoreSettings(LogoOff()); });
  s.Check([] {
    EXPECT_LT(ce::GetTickCount() - 1000, 2000u);
    ExpectView(kCycleView);
  });
  g_loading_screen = {};
  SetFirstScreenHook(&MeasureLoadingScreen);
  s.RunCleanly();
  SetFirstScreenHook(nullptr);
  // White, with "Loading..." written near the lower left.
  EXPECT_EQ(g_loading_screen.corner, 0xFFFF);
  EXPECT_GT(g_loading_screen.inked, 20);
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
    StoreSettings(Locked());
    StoreCycles(3);
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
  s.Key(ce::VK_F10).Key(ce::VK_MENU).Check(ExpectLocked);
  s.Type(u"secret")
      .Key(ce::VK_RETURN)
      .ExpectBox(u"Password", u"Wrong password!\nTry again?", ce::IDOK)
      .Check(ExpectLocked);
  for (int i = 0; i < 6; ++i) s.Key(ce::VK_BACK);
  s.Type(u"Secret").Key(ce::VK_RETURN).Check([] { ExpectView(kCycleView); });
  s.Menu(kCmdAbout).Check([] { ExpectView(kAboutView); });
  s.RunCleanly();
}

TEST(FramePassword, APasswordAnOlderStoreKeptAsTextBecomesAHashOnceTypedRight) {
  Scenario s("legacy password");
  s.Before([] {
    StoreSettings(LogoOff());
    Settings legacy;
    ASSERT_TRUE(ReadSettings(&legacy));
    legacy.password = u"Secret";
    legacy.password_set = 1;
    legacy.scale = 2;
    ASSERT_TRUE(WriteSettings(legacy));
  });
  const auto stored = [] {
    Settings settings;
    EXPECT_TRUE(ReadSettings(&settings));
    return settings;
  };
  s.Check([] { ExpectView(kPasswordEntryView); })
      .Type(u"Secre")
      .Key(ce::VK_RETURN)
      .ExpectBox(u"Password", u"Wrong password!\nTry again?", ce::IDOK)
      .Check([&stored] { EXPECT_EQ(stored().password, u"Secret"); })  // a wrong try changes nothing
      .Type(u"t")
      .Key(ce::VK_RETURN)
      .Check([&stored] {
        ExpectView(kCycleView);
        const Settings settings = stored();
        EXPECT_TRUE(settings.password.starts_with(u"$argon2id$"));
        EXPECT_TRUE(VerifyPassword(settings.password, u"Secret"));
        EXPECT_FALSE(NeedsRehash(settings.password));
        // The other settings stay as they were.
        EXPECT_EQ(settings.password_set, 1);
        EXPECT_EQ(settings.scale, 2);
        EXPECT_TRUE(settings.logo_disabled);
      });
  s.RunCleanly();
}

// A secret that the test itself never holds as plain UTF-16 (each unit is kept XOR-ed), so that
// whatever copy the memory holds is the program's.
struct MaskedSecret {
  static constexpr char16_t kMask = 0x5A5A;
  std::u16string masked;
  char16_t At(size_t i) const { return masked[i] ^ kMask; }
};

MaskedSecret Mask(std::u16string_view text) {
  MaskedSecret secret;
  for (char16_t c : text) secret.masked.push_back(c ^ MaskedSecret::kMask);
  return secret;
}

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

// A password an older store kept as text: once typed right it becomes a hash, and no copy of
// the text stays behind in memory, short (kept inside a string object) or long (on the heap).
TEST(FramePassword, APasswordKeptAsTextLeavesNoCopyInMemoryOnceHashed) {
  for (const std::u16string_view plain : {u"Q7v!kz", u"Zebra-Lantern-91!"}) {
    const MaskedSecret secret = Mask(plain);
    Scenario s("legacy password wiped");
    s.Before([&secret] {
      StoreSettings(LogoOff());
      Settings legacy;
      ASSERT_TRUE(ReadSettings(&legacy));
      for (size_t i = 0; i < secret.masked.size(); ++i) legacy.password.push_back(secret.At(i));
      legacy.password_set = 1;
      ASSERT_TRUE(WriteSettings(legacy));
    });
    s.Check([] { ExpectView(kPasswordEntryView); });
    for (size_t i = 0; i < secret.masked.size(); ++i) {
      s.Type(std::u16string(1, secret.At(i)));
    }
    s.Key(ce::VK_RETURN).Check([&secret] {
      ExpectView(kCycleView);
      Settings settings;
      ASSERT_TRUE(ReadSettings(&settings));
      EXPECT_TRUE(settings.password.starts_with(u"$argon2id$"));
#ifndef __SANITIZE_ADDRESS__  // its shadow memory is terabytes of mappings to read
      EXPECT_EQ(CopiesInMemory(secret), 0) << secret.masked.size() << " characters";
#endif
    });
    s.RunCleanly();
  }
}

TEST(FramePassword, CancelAfterAWrongPasswordEndsTheProgram) {
  Scenario s("password cancel");
  s.Before([] { StoreSettings(Locked()); });
  s.Type(u"nope")
      .Key(ce::VK_RETURN)
      .ExpectBox(u"Password", u"Wrong password!\nTry again?", ce::IDCANCEL);
  s.RunCleanly();
  // The program ended on the prompt: no other screen was ever shown.
  EXPECT_EQ(CDocument_::Context().words[1], kPasswordEntryView);
}

// Every entry of every menu, tapped as a user taps it, opens a screen, and every entry of the
// Help menu its own text. Cycle Charts, Mirror, About and Exit have scenarios of their own.
TEST(FrameMenu, EveryEntryOpensAScreenAndEveryHelpEntryItsOwnText) {
  Scenario s("menu");
  s.Before([] { StoreSettings(LogoOff()); });
  auto help_texts = std::make_shared<std::set<std::u16string>>();
  const ce::UINT help_menu = Scenario::MenuButtonFor(40003);
  for (const ce::MenuButton& button : MenuBarButtons()) {
    for (const ce::MenuItem& item : button.items) {
      if (item.id == 0 || item.id == 40070 || item.id == 40080 || item.id == 40003 ||
          item.id == 40084) {
        continue;
      }
      const bool help = button.command == help_menu;
      s.Menu(item.id).Check([id = item.id, help, help_texts] {
        SCOPED_TRACE(id);
        const int32_t current = CDocument_::GetCurrentView();
        ASSERT_NE(CDocument_::FindView(current), nullptr);
        EXPECT_TRUE(CDocument_::FindView(current)->IsActive());
        EXPECT_LE(ShownDialogs(), 1);
        if (help) {
          ASSERT_EQ(current, kHelpView);
          const std::u16string text =
              ce::GetWindowString(ce::GetDlgItem(ce::GetActiveWindow(), 1012));
          EXPECT_FALSE(text.empty());
          EXPECT_TRUE(help_texts->insert(text).second) << "the text of another entry";
        }
      });
    }
  }
  // Done, under the help text, goes back to the screen the help was asked on.
  s.Menu(40069).Menu(40057).TapControl(2).Check([] { ExpectView(kCycleHistoryView); });
  s.RunCleanly();

  // Add New Cycle and Edit Cycle, opened from the Cycle View, go with the menu too.
  Scenario forms("cycle forms left through the menu");
  forms.Before([] {
    StoreSettings(LogoOff());
    StoreCycles(1);
  });
  const auto left = [] {
    ExpectView(kCycleHistoryView);
    EXPECT_EQ(ShownDialogs(), 1);
    EXPECT_TRUE(ce::IsWindowEnabled(CDocument_::GetMainWnd()));
  };
  forms.TapControl(kCtlCycleAdd)
      .Check([] { ExpectView(kAddCycleView); })
      .Menu(kCmdCycleHistory)
      .Check(left)
      .Menu(kCmdCycleView)
      .TapControl(kCtlCycleEdit)
      .Check([] { ExpectView(kEditCycleView); })
      .Menu(kCmdCycleHistory)
      .Check(left);
  forms.RunCleanly();
}

// The shell keeps a menu on the screen: under its button, moved left where it would run past
// the right edge, its bottom on the menu bar's top.
TEST(FrameMenu, EveryMenuOpensOverItsButtonAndStaysOnTheScreen) {
  Scenario s("menu placement");
  s.Before([] { StoreSettings(LogoOff()); });
  const int32_t lefts[] = {0, 48, 90};
  ASSERT_EQ(MenuBarButtons().size(), std::size(lefts));
  for (size_t b = 0; b < std::size(lefts); ++b) {
    const ce::UINT button = MenuBarButtons()[b].command;
    s.TapMenuEntry(button).Check([b, left = lefts[b]] {
      SCOPED_TRACE(b);
      ce::RECT menu;
      ASSERT_TRUE(ce::GetWindowRect(ce::OpenMenuWindow(), &menu));
      EXPECT_EQ(menu.left, left);
      EXPECT_EQ(menu.Width(), ce::kMenuWidth);
      EXPECT_LE(menu.right, ce::kScreenWidth);
      EXPECT_GE(menu.top, 0);
      EXPECT_EQ(menu.bottom, ce::kScreenHeight);
      for (const ce::MenuEntry& entry : ce::MenuEntries(ce::OpenMenuWindow())) {
        EXPECT_EQ(ce::Intersect(entry.rect, menu), entry.rect) << ce::ToUtf8(entry.text);
      }
    });
    s.TapMenuEntry(button).Check([] { EXPECT_EQ(ce::OpenMenuWindow(), nullptr); });
  }
  s.RunCleanly();
}

TEST(FrameMenu, CycleChartsNeedTwoCyclesMirrorShowsItsPictureAndAboutOpens) {
  Scenario s("charts");
  s.Before([] {
    StoreSettings(LogoOff());
    StoreCycles(1);
  });
  s.Menu(40069)
      .Menu(40070)
      .ExpectBox(u"Calvira", u"There are no finished cycles!", ce::IDOK)
      .Check([] { ExpectView(kCycleView); })
      .Check([] { StoreCycles(1); })
      .Menu(40070)
      .Check([] { ExpectView(kCycleChartsView); })
      .Menu(40080)
      .Check([] {
        ExpectView(kMirrorView);
        CFastBitmap mirror;
        ASSERT_TRUE(mirror.Load(u"309", 240, 268));
        int differing = 0;
        for (int y = 0; y < 268; ++y) {
          for (int x = 0; x < 240; ++x)
            differing += Scenario::PixelAt(x, y) != mirror.Pixels()->At(x, y);
        }
        EXPECT_EQ(differing, 0);
      })
      .Tap(100, 100)
      .Check([] {
        // Cycle Charts does not remember itself: back lands on the list shown before it.
        ExpectView(kCycleView);
      })
      .Menu(40069)
      .Menu(40080)
      .Tap(10, 10)
      .Check([] { ExpectView(kCycleHistoryView); })
      .Menu(40003)
      .Check([] { ExpectView(kAboutView); });
  s.RunCleanly();
}

TEST(FrameViews, SwitchingToTheCurrentScreenRebuildsItAndGoBackFollowsThePreviousScreen) {
  Scenario s("switching");
  s.Before([] { StoreSettings(LogoOff()); });
  s.Menu(40069).Check([] {
    CView_* history = CDocument_::FindView(kCycleHistoryView);
    EXPECT_TRUE(history->IsActive());
    CDocument_::SetView(kCycleHistoryView);
    // Deactivated at once; the switch itself waits in the queue.
    EXPECT_FALSE(history->IsActive());
    ExpectView(kCycleHistoryView);
    EXPECT_EQ(CDocument_::GetPreviousView(), kCycleHistoryView);
  });
  s.Wait(10).Check([] {
    EXPECT_TRUE(CDocument_::FindView(kCycleHistoryView)->IsActive());
    CDocument_::GoBack();
  });
  s.Wait(10).Check([] { ExpectView(kCycleHistoryView); });
  s.RunCleanly();
}

// The Cycle View's dialog holds the activation, and while the main window is not active no
// ticks come, as on the handheld. A tap on the menu bar gives the main window the activation
// back; the ticks are counted from such a moment.
void ActivateMainWindow() {
  ce::SetActiveWindow(CDocument_::GetMainWnd());
  EXPECT_FALSE(CDocument_::Inactive());
}

TEST(FrameLoop, TicksComeEvery500MsUntilAnAnimatedScreenThenEvery70) {
  Scenario s("frame interval");
  uint64_t before = 0;
  s.Before([] { StoreSettings(LogoOff()); });
  s.Check([&] {
     ActivateMainWindow();
     before = TickCount();
   })
      .Wait(5000)
      .Check([&] {
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
        before = TickCount();
      })
      .Wait(7000)
      .Check([&] { EXPECT_NEAR(static_cast<double>(TickCount() - before), 100.0, 1.0); });
  s.RunCleanly();
}

TEST(FrameLoop, NoTicksWhileInTheBackgroundButRepaintsGoOn) {
  Scenario s("inactive");
  uint64_t before = 0;
  s.Before([] { StoreSettings(LogoOff()); });
  s.Check([&] { before = TickCount(); });
  s.Check([] { ce::InjectInput({ce::InputEvent::Kind::kFocusOut}); })
      .Wait(100)
      .Check([&] {
        EXPECT_TRUE(CDocument_::Inactive());
        before = TickCount();
        // Paint the main window over; the repaint must still reach the screen.
        ce::HWND main = CDocument_::GetMainWnd();
        ce::HDC dc = ce::GetDC(main);
        ce::RECT r{0, 0, 240, 268};
        ce::FillSolidRect(dc, r, ce::RGB(0, 0, 0));
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

TEST(FrameLoop, TheTickCounterWrappingDoesNotStallTheLoop) {
  Scenario s("wrap");
  uint64_t before = 0;
  // The 32-bit counter wraps about three seconds after the start.
  s.StartTick(0xFFFFFFFFu - 3000).Before([] { StoreSettings(LogoOff()); });
  s.Check([&] {
     ActivateMainWindow();
     before = TickCount();
   })
      .Wait(5000)
      .Check([&] {
        EXPECT_LT(ce::GetTickCount(), 10000u);  // it did wrap
        EXPECT_NEAR(static_cast<double>(TickCount() - before), 10.0, 1.0);
      });
  s.RunCleanly();
}

TEST(FrameScreens, AboutAnimatesItsMoonAndBandAndATapGoesBack) {
  Scenario s("about");
  s.Before([] { StoreSettings(LogoOff()); });
  auto about = [] { return static_cast<CAboutView*>(CDocument_::FindView(kAboutView)); };
  s.Menu(40003)
      .Check([&] {
        EXPECT_EQ(about()->SpriteFrame(), 0);
        EXPECT_EQ(about()->BandX(), 235);
      })
      .Wait(100)
      .Check([&] {
        EXPECT_EQ(about()->SpriteFrame(), 1);
        EXPECT_EQ(about()->BandX(), 230);
        EXPECT_EQ(about()->GrowIndex(), 1);
      })
      .Wait(1600)  // 17 steps in all: the moon is back at its first frame
      .Check([&] {
        EXPECT_EQ(about()->SpriteFrame(), 0);
        EXPECT_EQ(about()->BandX(), 235 - 5 * 17);
      })
      .Wait(4800)  // 65 steps: one whole pass of the band, which starts again
      .Check([&] {
        EXPECT_EQ(about()->BandX(), 235);
        EXPECT_EQ(about()->ShrinkIndex(), 18);
      })
      .Tap(120, 200)
      .Check([&] {
        ExpectView(kCycleView);
        const int frame = about()->SpriteFrame();
        ce::clock::Advance(1000);
        ce::MSG msg;
        // The animation's timer is gone with the screen.
        EXPECT_FALSE(ce::PeekMessage(&msg, nullptr, ce::WM_TIMER, ce::WM_TIMER, ce::PM_NOREMOVE));
        EXPECT_EQ(about()->SpriteFrame(), frame);
      });
  // Left through the menu, too.
  s.Menu(40003).Wait(300).Menu(40069).Check([] {
    ce::clock::Advance(500);
    ce::MSG msg;
    EXPECT_FALSE(ce::PeekMessage(&msg, nullptr, ce::WM_TIMER, ce::WM_TIMER, ce::PM_NOREMOVE));
  });
  s.RunCleanly();
}

TEST(FrameShutdown, ExitAndTheCloseButtonBothEndWithCodeZero) {
  {
    Scenario s("exit");
    s.Before([] { StoreSettings(LogoOff()); });
    s.Menu(40069).Menu(40084);
    s.RunCleanly();
    EXPECT_EQ(CDocument_::Context().words[1], kCycleHistoryView);
  }
  {
    Scenario s("close");
    s.Before([] { StoreSettings(LogoOff()); });
    s.Close();
    s.RunCleanly();
    EXPECT_EQ(CDocument_::Context().words[1], kCycleView);
  }
}

}  // namespace
}  // namespace calvira::testing
