#include "frame/app.h"

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <utility>

#include "frame/commands.h"
#include "frame/dialog_view.h"
#include "frame/document.h"
#include "frame/frame_fonts.h"
#include "frame/main_window.h"
#include "frame/ui_resources.h"
#include "gfx/fast_bitmap.h"
#include "gfx/graphic_buffer.h"
#include "platform/clock.h"
#include "platform/dialog.h"
#include "platform/menu_bar.h"
#include "platform/message_box.h"
#include "platform/object_store.h"
#include "platform/window_tree.h"
#include "sound/sound_engine.h"
#include "store/settings.h"
#include "ui/ids.h"
#include "ui/texts.h"

namespace {

ce::DWORD g_frame_interval = 500;
uint64_t g_ticks = 0;

// A key typed into a screen's modeless dialog goes to the dialog manager first, as a modal
// dialog's own loop does, so that Esc, Enter and Tab do on every screen what they do in a dialog.
ce::HWND DialogOfKey(const ce::MSG& msg) {
  if (msg.message != ce::WM_KEYDOWN && msg.message != ce::WM_KEYUP && msg.message != ce::WM_CHAR) {
    return nullptr;
  }
  return ce::DialogOf(msg.hwnd);
}

// A key for the current screen's own keys (CDialogView_::OnKey): typed into its dialog, or with
// no control focused.
bool ScreenKey(const ce::MSG& msg) {
  auto* screen = dynamic_cast<CDialogView_*>(CDocument_::FindView(CDocument_::GetCurrentView()));
  if (screen == nullptr || screen->Dialog() == nullptr) return false;
  if (ce::DialogOf(msg.hwnd) != screen->Dialog() && msg.hwnd != CDocument_::GetMainWnd()) {
    return false;
  }
  return screen->TakeKey(static_cast<ce::UINT>(msg.wParam));
}

// Keys of the whole program, taken before any screen's: F10, or Alt pressed and let go alone,
// opens the menu bar, whose open menu then has every key; F1 opens the current screen's help and
// Ctrl+Q ends the program, both through the menu's router, which a locked program ignores (its
// menu bar is disabled too). Then the current screen's own keys.
bool ProgramKey(const ce::MSG& msg) {
  static bool alt_alone = false;
  const bool key_down = msg.message == ce::WM_KEYDOWN;
  if (ce::OpenMenuWindow() != nullptr) {
    alt_alone = false;
    if (key_down) ce::MenuKey(static_cast<ce::UINT>(msg.wParam));
    return key_down || msg.message == ce::WM_KEYUP || msg.message == ce::WM_CHAR;
  }
  if (msg.message == ce::WM_KEYUP && msg.wParam == ce::VK_MENU) {
    return std::exchange(alt_alone, false) && ce::OpenMenuBarByKey(CDocument_::GetMenuBar());
  }
  if (!key_down) return false;
  alt_alone = msg.wParam == ce::VK_MENU;
  if (msg.wParam == ce::VK_F10) return ce::OpenMenuBarByKey(CDocument_::GetMenuBar());
  uint32_t command = 0;
  if (msg.wParam == ce::VK_F1) {
    command = HelpCommandFor(CDocument_::GetCurrentView());
  } else if (msg.wParam == 'Q' && ce::IsKeyDown(ce::VK_CONTROL)) {
    command = kCmdExit;
  }
  if (command == 0) return ScreenKey(msg);
  ce::PostMessage(CDocument_::GetMainWnd(), ce::WM_COMMAND, command, 0);
  return true;
}

// CALVIRA_TRACE_TIMER=1 also writes the real time of every tick to standard error, next to
// the window system's timer lines, so that the frame interval can be measured.
void TraceTick() {
  static const bool on = [] {
    const char* value = std::getenv("CALVIRA_TRACE_TIMER");
    return value != nullptr && value[0] == '1';
  }();
  if (!on) return;
  static const auto start = std::chrono::steady_clock::now();
  std::fprintf(
      stderr, "tick %.3f\n",
      std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - start).count());
}

void TickCurrentView() {
  TraceTick();
  CDocument_::ForEachView(CDocument_::GetCurrentView(), kTextEmptyViewEntryOnTickOrArrival,
                          [](CView_* view) {
                            ++g_ticks;
                            view->OnTick();
                            return false;  // every entry of the id
                          });
}

// Shows the logo for two seconds, or the white "Loading..." screen when the settings record
// says so (and on the very first start, before the catalogue exists, the logo).
void ShowLogo(CFastBitmap& logo) {
  CScreenBuffers* buffers = CDocument_::GetScreenBuffers();
  // The first start has no "Systems" database yet: that is no error, only the logo. An
  // encrypted store keeps the setting beside it, readable before the password is given.
  Settings settings;
  const std::filesystem::path waiting = ce::objectstore::KeyAwaitedFor();
  const bool disabled = waiting.empty() ? ReadSettings(&settings) && settings.logo_disabled
                                        : LogoFlagDisabled(waiting);
  if (disabled) {
    GraphicBuffer::Fill(buffers->GetMainBuffer(), 0xFFFF);
    buffers->Present();
    ce::HWND main = CDocument_::GetMainWnd();
    ce::HDC dc = ce::GetDC(main);
    ce::RECT r{10, 200, 100, 230};
    ce::DrawText(dc, kTextLoading, -1, &r, ce::DT_BOTTOM | ce::DT_SINGLELINE);
    ce::ReleaseDC(main, dc);
    ce::FlushDisplay();
  } else {
    logo.Draw(0, 0);
    buffers->Present();
    // The window stays alive meanwhile: a later start is answered and a close is not lost.
    ce::SleepServing(2000);
  }
}

int FirstView() {
  // Nothing of an encrypted store can be read before its password opens it.
  if (!ce::objectstore::KeyAwaitedFor().empty()) return kPasswordEntryView;
  // Writes the default record on the first start, and puts a record that an older version left
  // with extra properties back into shape.
  EnsureSettingsRecord();
  Settings settings;
  ReadSettings(&settings);
  return settings.password.empty() ? kCycleView : kPasswordEntryView;
}

void (*g_first_screen_hook)() = nullptr;

// The first line of `calvira --inspect`.
std::string ProgramSummary() {
  return "{\"screen\": " + std::to_string(CDocument_::GetCurrentView()) +
         ", \"previous\": " + std::to_string(CDocument_::GetPreviousView()) +
         ", \"frame_interval_ms\": " + std::to_string(g_frame_interval) +
         ", \"active\": " + (ce::IsApplicationActive() ? "true" : "false") + "}";
}

}  // namespace

void SetFirstScreenHook(void (*hook)()) {
  g_first_screen_hook = hook;
}

void RunFirstScreenHook() {
  if (g_first_screen_hook == nullptr) return;
  ce::FlushDisplay();
  auto hook = g_first_screen_hook;
  g_first_screen_hook = nullptr;
  hook();
}

void SetFrameInterval(ce::DWORD milliseconds) {
  g_frame_interval = milliseconds;
}
ce::DWORD GetFrameInterval() {
  return g_frame_interval;
}
uint64_t TickCount() {
  return g_ticks;
}

int RunMainLoop() {
  ce::DWORD last_tick = ce::GetTickCount();
  for (;;) {
    ce::MSG msg;
    if (ce::PeekMessage(&msg, nullptr, 0, 0, ce::PM_REMOVE)) {
      if (msg.message == ce::WM_QUIT) return static_cast<int>(msg.wParam);
      if (ce::TakeProgramKey(msg)) continue;
      // IsDialogMessage dispatches whatever it does not take itself.
      const ce::HWND dialog = DialogOfKey(msg);
      if (dialog == nullptr || !ce::IsDialogMessage(dialog, &msg)) {
        ce::TranslateMessage(&msg);
        ce::DispatchMessage(&msg);
      }
    }
    const ce::DWORD now = ce::GetTickCount();
    // Signed, so that the test holds across the tick counter's wrap-around.
    const int32_t remaining = static_cast<int32_t>(g_frame_interval - now + last_tick);
    if (remaining > 0) {
      // Where the handheld spun on zero-length sleeps, wait for input until the tick is due.
      ce::WaitForInput(remaining);
      continue;
    }
    last_tick = ce::GetTickCount();
    if (CDocument_::Inactive()) continue;
    TickCurrentView();
  }
}

void Shutdown() {
  if (CSoundEngine* sound = CDocument_::GetSoundEngine()) sound->CloseEngine();
  for (int i = 0; i < CDocument_::Count(); ++i) {
    if (CView_* view = CDocument_::ViewAt(i)) view->OnExit(&CDocument_::Context());
  }
  DeleteFrameFonts();
  int32_t id = CDocument_::GetCurrentView();
  if (id == 0) {
    id = CDocument_::GetPreviousView();
    CDocument_::SetCurrentView(id);
  }
  CDocument_::Context().words[1] = id;
  ce::DestroyWindow(CDocument_::GetMainWnd());
}

int CalviraMain(ce::HINSTANCE instance, int show_command, void (*add_views)()) {
  CDocument_ document;
  ce::SetProgramKeys(&ProgramKey);
  ce::SetProgramSummary(&ProgramSummary);
  g_frame_interval = 500;
  g_ticks = 0;
  const char16_t* class_name = LoadString(kStrWindowClass);
  const char16_t* title = LoadString(kStrTitle);
  if (ce::HWND running = ce::FindWindow(class_name, title)) {
    ce::SetForegroundWindow(reinterpret_cast<ce::HWND>(reinterpret_cast<uintptr_t>(running) | 1));
    return 0;
  }
  CDocument_::SetInstance(instance);
  RegisterMainWindowClass(instance);
  ce::HWND main =
      ce::CreateWindowEx(0, class_name, title, ce::WS_VISIBLE, ce::CW_USEDEFAULT, ce::CW_USEDEFAULT,
                         ce::CW_USEDEFAULT, ce::CW_USEDEFAULT, nullptr, nullptr, instance, nullptr);
  if (main == nullptr) return 0;
  ce::ShowWindow(main, show_command);
  ce::UpdateWindow(main);

  if (add_views != nullptr) add_views();

  CDocument_::SetScreenBuffers(std::make_unique<CScreenBuffers>(main));
  CDocument_::SetSoundEngine(std::make_unique<CSoundEngine>());
  CreateFrameFonts();
  {
    CFastBitmap logo;
    logo.Load(kImgLogo);
    SetDrawTarget(CDocument_::GetScreenBuffers()->GetMainBuffer());
    ShowLogo(logo);
  }

  for (int i = 0; i < CDocument_::Count(); ++i) {
    if (CView_* view = CDocument_::ViewAt(i)) {
      view->OnLoad();
    } else {
      ce::ReportFatalError(kTextEmptyViewEntry);
    }
  }
  for (int i = 0; i < CDocument_::Count(); ++i) {
    if (CView_* view = CDocument_::ViewAt(i)) view->OnInit(&CDocument_::Context());
  }
  CDocument_::SetCurrentView(CDocument_::Context().words[1]);
  CDocument_::SetPreviousView(kCycleView);
  const int first = FirstView();
  CDocument_::SetLocked(first == kPasswordEntryView);
  CDocument_::SetView(first);

  const int code = RunMainLoop();
  SetDrawTarget(nullptr);
  return code;
}
