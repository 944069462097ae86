// The window core: the queue's order, painting order and clipping, exposure, timers, input
// routing, focus and activation, in the manner of Wine's message-sequence tests: a small tree
// of windows whose procedures record what they are sent.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "platform/clock.h"
#include "platform/gdi.h"
#include "platform/text.h"
#include "platform/window.h"
#include "support/input.h"

namespace {

using calvira::testing::Pen;
using calvira::testing::Tap;
using calvira::testing::Type;

struct Record {
  std::string window;
  ce::UINT message;
  ce::WPARAM wparam;
  bool operator==(const Record&) const = default;
};

std::vector<Record>& Log() {
  static std::vector<Record> log;
  return log;
}

// Every test window paints itself in the colour kept in its user data and logs the messages
// that matter here.
ce::LRESULT Recorder(ce::HWND w, ce::UINT m, ce::WPARAM wp, ce::LPARAM lp) {
  using namespace ce;
  if (m == WM_GETTEXT || m == WM_GETTEXTLENGTH || m == WM_SETTEXT || m == WM_CREATE) {
    return DefWindowProc(w, m, wp, lp);
  }
  const std::string name = ToUtf8(GetWindowString(w));
  if (m == WM_NCHITTEST) return name.starts_with("glass") ? HTTRANSPARENT : HTCLIENT;
  if (m == WM_PAINT) {
    Log().push_back({name, m, 0});
    PAINTSTRUCT ps;
    HDC dc = BeginPaint(w, &ps);
    RECT r;
    GetClientRect(w, &r);
    FillSolidRect(dc, r, static_cast<COLORREF>(GetWindowLong(w, GWL_USERDATA)));
    EndPaint(w, &ps);
    return 0;
  }
  for (UINT logged : {WM_TIMER, WM_LBUTTONDOWN, WM_LBUTTONUP, WM_SETFOCUS, WM_KILLFOCUS,
                      WM_ACTIVATE, WM_CHAR, WM_KEYDOWN, WM_USER}) {
    if (m != logged) continue;
    Log().push_back({name, m, m == WM_ACTIVATE ? LOWORD(wp) : wp});
    return 0;
  }
  return DefWindowProc(w, m, wp, lp);
}

// The windows that were sent `message`, in order.
std::vector<std::string> Heard(ce::UINT message) {
  std::vector<std::string> windows;
  for (const Record& r : Log()) {
    if (r.message == message) windows.push_back(r.window);
  }
  return windows;
}

class WindowTest : public ::testing::Test {
 protected:
  void SetUp() override {
    ce::InitWindowSystem(std::make_unique<ce::HeadlessDisplay>(ce::kScreenWidth, ce::kFrameHeight));
    ce::SYSTEMTIME now{2026, 12, 0, 6, 9, 0, 0, 0};
    ce::clock::UseVirtual(1000, now);
    ce::WNDCLASS wc{};
    wc.lpfnWndProc = Recorder;
    wc.lpszClassName = u"Recorder";
    ce::RegisterClass(&wc);
    Log().clear();
  }
  void TearDown() override {
    ce::ShutdownWindowSystem();
    ce::clock::UseReal();
  }

  ce::HWND Make(const char16_t* name, ce::DWORD style, ce::RECT r, ce::HWND parent,
                ce::COLORREF colour, int id = 0) {
    ce::HWND w = ce::CreateWindowEx(
        0, u"Recorder", name, style, r.left, r.top, r.Width(), r.Height(), parent,
        reinterpret_cast<ce::HMENU>(static_cast<uintptr_t>(id)), nullptr, nullptr);
    ce::SetWindowLong(w, ce::GWL_USERDATA, static_cast<ce::LONG_PTR>(colour));
    return w;
  }

  // Dispatches everything pending, as a message loop would between two waits.
  void Pump() {
    ce::MSG msg;
    while (ce::PeekMessage(&msg, nullptr, 0, 0, ce::PM_REMOVE)) ce::DispatchMessage(&msg);
  }

  static uint16_t Pixel(int x, int y) {
    return ce::FrameBufferPixels()[static_cast<size_t>(y) * ce::kScreenWidth + x];
  }
};

constexpr ce::DWORD kTop = ce::WS_POPUP | ce::WS_VISIBLE;
constexpr ce::DWORD kChild = ce::WS_CHILD | ce::WS_VISIBLE;

TEST_F(WindowTest, PostedMessagesComeFirstThenInputThenPaintThenTimersAndALateTimerFiresOnce) {
  ce::HWND a = Make(u"a", kTop, {0, 0, 100, 100}, nullptr, ce::RGB(255, 0, 0));
  Pump();
  Log().clear();
  ce::SetTimer(a, 7, 10, nullptr);
  ce::clock::Advance(50);
  ce::InvalidateRect(a, nullptr, ce::TRUE);
  Pen(ce::InputEvent::Kind::kPenDown, {10, 10});
  ce::PostMessage(a, ce::WM_USER, 1, 0);
  ce::PostMessage(a, ce::WM_USER, 2, 0);
  Pump();
  const std::vector<Record> expected = {{"a", ce::WM_USER, 1},
                                        {"a", ce::WM_USER, 2},
                                        {"a", ce::WM_LBUTTONDOWN, ce::MK_LBUTTON},
                                        {"a", ce::WM_PAINT, 0},
                                        {"a", ce::WM_TIMER, 7}};
  EXPECT_EQ(Log(), expected);

  // A late timer fires once, not once per period missed: nine periods late, then on its period
  // from then on; killed, never again.
  EXPECT_TRUE(ce::KillTimer(a, 7));
  Log().clear();
  ce::SetTimer(a, 1, 100, nullptr);
  for (const auto& [advance, heard] : {std::pair{1000, 1u}, {50, 1u}, {50, 2u}, {500, 2u}}) {
    if (advance == 500) {
      EXPECT_TRUE(ce::KillTimer(a, 1));
    }
    ce::clock::Advance(advance);
    Pump();
    EXPECT_EQ(Log().size(), heard) << advance;
  }
}

// The pixels are the screenshots'; here, who paints and in what order.
TEST_F(WindowTest, ParentsPaintBeforeChildrenAndOnlyWhatAPopUpCoveredRepaints) {
  ce::HWND main = Make(u"main", kTop, {0, 0, 240, 268}, nullptr, ce::RGB(255, 255, 255));
  Make(u"child", kChild, {10, 10, 50, 50}, main, ce::RGB(0, 0, 255));
  ce::HWND popup = Make(u"popup", kTop, {30, 30, 130, 130}, nullptr, ce::RGB(255, 0, 0));
  Pump();
  EXPECT_EQ(Heard(ce::WM_PAINT), (std::vector<std::string>{"main", "child", "popup"}));

  // What the pop-up covered is repainted when it goes, and only the windows under it paint.
  Log().clear();
  ce::DestroyWindow(popup);
  Pump();
  EXPECT_EQ(Heard(ce::WM_PAINT), (std::vector<std::string>{"main", "child"}));
}

TEST_F(WindowTest, DrawingIsClippedToTheWindowAndToWhatCoversIt) {
  ce::HWND main = Make(u"main", kTop, {0, 0, 240, 268}, nullptr, ce::RGB(255, 255, 255));
  Make(u"cover", kTop, {0, 0, 240, 50}, nullptr, ce::RGB(0, 255, 0));
  // A child is never drawn over by its parent, with or without WS_CLIPCHILDREN.
  Make(u"child", kChild, {100, 100, 140, 140}, main, ce::RGB(255, 0, 0));
  Pump();
  ce::HDC dc = ce::GetDC(main);
  ce::FillSolidRect(dc, {-20, -20, 400, 400}, ce::RGB(0, 0, 0));
  ce::ReleaseDC(main, dc);
  EXPECT_EQ(Pixel(10, 10), 0x07E0);    // covered
  EXPECT_EQ(Pixel(10, 60), 0x0000);    // drawn
  EXPECT_EQ(Pixel(120, 120), 0xF800);  // the child
  EXPECT_EQ(Pixel(10, 280), 0xFFFF);   // below the window: untouched
}

TEST_F(WindowTest, TapsGoToTheDeepestWindowUnlessItIsTransparentOrDisabled) {
  ce::HWND main = Make(u"main", kTop, {0, 0, 240, 268}, nullptr, 0);
  Make(u"button", kChild, {10, 10, 50, 30}, main, 0, 1);
  Make(u"glass", kChild, {60, 10, 100, 30}, main, 0, 2);
  ce::HWND off = Make(u"off", kChild | ce::WS_DISABLED, {110, 10, 150, 30}, main, 0, 3);
  Pump();
  Log().clear();
  for (int x : {20, 70, 120}) Tap(x, 20);
  Pump();
  // The transparent one lets the tap through to its parent; the disabled one swallows it.
  EXPECT_EQ(Heard(ce::WM_LBUTTONDOWN), (std::vector<std::string>{"button", "main"}));
  EXPECT_FALSE(ce::IsWindowEnabled(off));
}

TEST_F(WindowTest, FocusAndActivationMessagesComeInTheirOrder) {
  ce::HWND a = Make(u"a", kTop, {0, 0, 100, 100}, nullptr, 0);
  ce::HWND a1 = Make(u"a1", kChild, {0, 0, 10, 10}, a, 0, 1);
  ce::HWND a2 = Make(u"a2", kChild, {20, 0, 30, 10}, a, 0, 2);
  EXPECT_EQ(ce::GetActiveWindow(), a);
  Log().clear();
  ce::SetFocus(a1);
  ce::SetFocus(a2);
  const std::vector<Record> expected = {{"a1", ce::WM_SETFOCUS, 0},
                                        {"a1", ce::WM_KILLFOCUS, reinterpret_cast<ce::WPARAM>(a2)},
                                        {"a2", ce::WM_SETFOCUS, reinterpret_cast<ce::WPARAM>(a1)}};
  EXPECT_EQ(Log(), expected);
  // Keys go to the focus.
  Pump();
  Log().clear();
  Type(u"x");
  Pump();
  EXPECT_EQ(Log(), (std::vector<Record>{{"a2", ce::WM_CHAR, u'x'}}));

  // A new pop-up takes the activation; destroying it gives it back.
  Log().clear();
  ce::HWND b = Make(u"b", kTop, {0, 0, 50, 50}, a, 0);
  EXPECT_EQ(ce::GetActiveWindow(), b);
  ce::DestroyWindow(b);
  EXPECT_EQ(ce::GetActiveWindow(), a);
  std::vector<Record> activations;
  for (const Record& r : Log()) {
    if (r.message == ce::WM_ACTIVATE) activations.push_back(r);
  }
  EXPECT_EQ(activations, (std::vector<Record>{{"a", ce::WM_ACTIVATE, ce::WA_INACTIVE},
                                              {"b", ce::WM_ACTIVATE, ce::WA_ACTIVE},
                                              {"a", ce::WM_ACTIVATE, ce::WA_ACTIVE}}));
}

TEST_F(WindowTest, HandlesOfDestroyedWindowsStayInvalid) {
  ce::HWND a = Make(u"a", kTop, {0, 0, 10, 10}, nullptr, 0);
  ce::HWND child = Make(u"c", kChild, {0, 0, 5, 5}, a, 0, 1);
  ce::PostMessage(a, ce::WM_USER, 0, 0);
  ce::DestroyWindow(a);
  EXPECT_FALSE(ce::IsWindow(a));
  EXPECT_FALSE(ce::IsWindow(child));
  ce::HWND b = Make(u"b", kTop, {0, 0, 10, 10}, nullptr, 0);
  EXPECT_NE(a, b);
  EXPECT_EQ(ce::SendMessage(a, ce::WM_USER, 0, 0), 0);
  Log().clear();
  Pump();
  for (const Record& r : Log()) EXPECT_NE(r.message, ce::WM_USER);
}

// A window that takes the focus itself when it is activated, as DefWindowProc does.
ce::LRESULT FocusTaker(ce::HWND w, ce::UINT m, ce::WPARAM wp, ce::LPARAM lp) {
  if (m == ce::WM_KILLFOCUS) Log().push_back({"taker", m, 0});
  return ce::DefWindowProc(w, m, wp, lp);
}

TEST_F(WindowTest, FocusMovedByActivationOnTheWayIsTakenBackWithAKillFocus) {
  ce::WNDCLASS wc{};
  wc.lpfnWndProc = FocusTaker;
  wc.lpszClassName = u"FocusTaker";
  ce::RegisterClass(&wc);
  ce::HWND a = Make(u"a", kTop, {0, 0, 100, 100}, nullptr, 0);
  ce::HWND taker = ce::CreateWindowEx(0, u"FocusTaker", u"", ce::WS_POPUP, 0, 0, 50, 50, nullptr,
                                      nullptr, nullptr, nullptr);
  ce::HWND field = Make(u"field", kChild, {0, 0, 10, 10}, taker, 0, 1);
  ce::ShowWindow(taker, ce::SW_HIDE);
  ce::SetActiveWindow(a);
  Log().clear();
  ce::SetFocus(field);
  EXPECT_EQ(ce::GetFocus(), field);
  EXPECT_EQ(ce::GetActiveWindow(), taker);
  // The pop-up took the focus while being activated, and lost it again to its field.
  EXPECT_EQ(Heard(ce::WM_KILLFOCUS), (std::vector<std::string>{"taker"}));
}

}  // namespace
