// Message boxes: answered by a hook without showing anything, answered OK without a window
// system, and otherwise real modal boxes, laid out over the screen area and answered by a key
// or a tap, with every box logged either way.
#include <gtest/gtest.h>

#include <deque>
#include <functional>
#include <memory>
#include <string>

#include "platform/clock.h"
#include "platform/dialog.h"
#include "platform/display.h"
#include "platform/gdi.h"
#include "platform/message_box.h"
#include "platform/window.h"
#include "support/headless_window.h"

namespace {

using namespace ce;
using namespace calvira::testing;

class MessageBoxWindowTest : public calvira::testing::HeadlessWindowTest {
 protected:
  static HWND Box() { return FindWindow(u"#32770", nullptr); }
  static uint16_t PixelIn(HWND window, int32_t x, int32_t y) {
    POINT p{x, y};
    ClientToScreen(window, &p);
    return FrameBufferPixels()[p.y * kScreenWidth + p.x];
  }
};

TEST(MessageBoxWithoutWindows, IsAnsweredOkAndLogged) {
  SetMessageBoxEcho(false);
  TakeMessageBoxReports();
  ASSERT_FALSE(WindowSystemRunning());
  EXPECT_EQ(MessageBox(nullptr, u"Delete all cycles?", u"Calvira", MB_OKCANCEL), IDOK);
  const auto reports = TakeMessageBoxReports();
  ASSERT_EQ(reports.size(), 1u);
  EXPECT_EQ(reports[0].text, u"Delete all cycles?");
  SetMessageBoxEcho(true);
}

TEST_F(MessageBoxWindowTest, AHookAnswersWithoutShowingABox) {
  SetMessageBoxHook([](const MessageBoxReport&) {
    EXPECT_EQ(Box(), nullptr);
    return IDCANCEL;
  });
  EXPECT_EQ(MessageBox(main_, u"Delete selected cycle?", u"Calvira", MB_OKCANCEL), IDCANCEL);
  SetMessageBoxHook({});
  EXPECT_EQ(Box(), nullptr);
  EXPECT_TRUE(IsWindowEnabled(main_));
  EXPECT_EQ(TakeMessageBoxReports().size(), 1u);
}

TEST_F(MessageBoxWindowTest, ABoxSitsCentredOverTheScreenAreaWithItsButtons) {
  steps_.push_back([this] {
    HWND box = Box();
    ASSERT_NE(box, nullptr);
    EXPECT_EQ(GetWindowString(box), u"Calvira");
    EXPECT_EQ(GetWindowLong(box, GWL_STYLE) & WS_CAPTION, static_cast<LONG_PTR>(WS_CAPTION));
    EXPECT_EQ(GetParent(box), main_);
    EXPECT_FALSE(IsWindowEnabled(main_));
    EXPECT_EQ(GetActiveWindow(), box);
    RECT r;
    GetWindowRect(box, &r);
    EXPECT_LE(r.Width(), 220);
    EXPECT_EQ(r.left, (kScreenWidth - r.Width()) / 2);
    EXPECT_EQ(r.top, (kScreenHeight - r.Height()) / 2);
    HWND ok = GetDlgItem(box, IDOK), cancel = GetDlgItem(box, IDCANCEL);
    ASSERT_NE(ok, nullptr);
    ASSERT_NE(cancel, nullptr);
    EXPECT_EQ(GetWindowString(ok), u"OK");
    EXPECT_EQ(GetWindowString(cancel), u"Cancel");
    EXPECT_EQ(GetFocus(), ok);
    RECT a, b;
    GetWindowRect(ok, &a);
    GetWindowRect(cancel, &b);
    EXPECT_EQ(a.top, b.top);
    EXPECT_LT(a.right, b.left);
    EXPECT_GE(a.left - r.left, r.right - b.right - 1);  // the pair is centred
    EXPECT_LE(a.left - r.left, r.right - b.right + 1);
    Key(VK_ESCAPE);
  });
  EXPECT_EQ(MessageBox(main_, u"Delete all cycles?", u"Calvira", MB_OKCANCEL), IDCANCEL);
  EXPECT_TRUE(IsWindowEnabled(main_));
  EXPECT_EQ(Box(), nullptr);
  const auto reports = TakeMessageBoxReports();
  ASSERT_EQ(reports.size(), 1u);
  EXPECT_EQ(reports[0].caption, u"Calvira");
  EXPECT_EQ(reports[0].owner, main_);
}

TEST_F(MessageBoxWindowTest, KeysAndTapsAnswerTheBox) {
  struct Case {
    const char* what;
    UINT type;
    std::function<void()> answer;
    int expected;
  };
  const Case cases[] = {
      {"Enter", MB_OKCANCEL, [] { Key(VK_RETURN); }, IDOK},
      {"Esc", MB_OKCANCEL, [] { Key(VK_ESCAPE); }, IDCANCEL},
      {"Esc without Cancel", MB_OK, [] { Key(VK_ESCAPE); }, IDOK},
      {"tap Cancel", MB_OKCANCEL, [] { Tap(GetDlgItem(Box(), IDCANCEL)); }, IDCANCEL},
      {"tap OK", MB_OK | MB_ICONEXCLAMATION, [] { Tap(GetDlgItem(Box(), IDOK)); }, IDOK},
      {"Tab then Enter", MB_OKCANCEL,
       [] {
         Key(VK_TAB);
         Key(VK_RETURN);
       },
       IDCANCEL},
      {"closed", MB_OKCANCEL, [] { PostMessage(Box(), WM_CLOSE, 0, 0); }, IDCANCEL},
  };
  for (const Case& c : cases) {
    steps_.push_back(c.answer);
    EXPECT_EQ(MessageBox(main_, u"Sure?", u"Calvira", c.type), c.expected) << c.what;
    EXPECT_EQ(Box(), nullptr) << c.what;
  }
  EXPECT_EQ(TakeMessageBoxReports().size(), std::size(cases));
}

TEST_F(MessageBoxWindowTest, ABoxWithoutCaptionReadsErrorAndWrapsItsText) {
  const std::u16string long_text =
      u"The database could not be opened because the storage is full and nothing can be "
      u"written until some space is made free again.";
  steps_.push_back([&] {
    HWND box = Box();
    EXPECT_EQ(GetWindowString(box), u"Error");
    RECT r, text, ok;
    GetWindowRect(box, &r);
    EXPECT_GT(r.Width(), 180);  // as wide as a box gets, give or take the last word
    EXPECT_LE(r.Width(), 220);
    HWND label = GetWindow(box, GW_CHILD);
    EXPECT_EQ(GetWindowString(label), long_text);
    GetWindowRect(label, &text);
    GetWindowRect(GetDlgItem(box, IDOK), &ok);
    EXPECT_GT(text.Height(), 3 * 13);  // several lines
    EXPECT_LE(text.right, r.right);
    EXPECT_LT(text.bottom, ok.top);
    Key(VK_RETURN);
  });
  EXPECT_EQ(MessageBox(main_, long_text.c_str(), nullptr, MB_OK), IDOK);
  const auto reports = TakeMessageBoxReports();
  ASSERT_EQ(reports.size(), 1u);
  EXPECT_FALSE(reports[0].has_caption);
}

TEST_F(MessageBoxWindowTest, LinesBreakAtLineFeedsAndIconsAreDrawnAtTheLeft) {
  steps_.push_back([this] {
    HWND box = Box();
    HWND label = GetWindow(box, GW_CHILD);
    RECT text, r;
    GetWindowRect(label, &text);
    GetWindowRect(box, &r);
    EXPECT_LT(r.Width(), 220);  // short lines make a narrow box
    POINT at{text.left, text.top};
    ScreenToClient(box, &at);
    EXPECT_GE(at.x, 8 + 24 + 8);  // right of the icon
    // A red disc with a white cross.
    EXPECT_EQ(PixelIn(box, 8 + 12, 8 + 4), ColorTo565(RGB(208, 0, 0)));
    EXPECT_EQ(PixelIn(box, 8 + 12, 8 + 12), ColorTo565(RGB(255, 255, 255)));
    EXPECT_EQ(PixelIn(box, 8 + 1, 8 + 1), ColorTo565(RGB(255, 255, 255)));  // outside the disc
    Key(VK_RETURN);
  });
  EXPECT_EQ(
      MessageBox(main_, u"Wrong password!\nTry again?", u"Password", MB_OKCANCEL | MB_ICONSTOP),
      IDOK);
  steps_.push_back([this] {
    HWND box = Box();
    EXPECT_EQ(PixelIn(box, 8 + 6, 8 + 20), ColorTo565(RGB(255, 208, 0)));  // the triangle
    EXPECT_EQ(PixelIn(box, 8 + 11, 8 + 10), ColorTo565(RGB(0, 24, 66)));   // its "!"
    Key(VK_RETURN);
  });
  EXPECT_EQ(MessageBox(main_, u"Incorrect period length", u"Calvira", MB_ICONEXCLAMATION), IDOK);
}

TEST_F(MessageBoxWindowTest, TextTallerThanTheScreenIsCutAndTheButtonsStay) {
  std::u16string text;
  for (int i = 0; i < 40; ++i) text += u"line\n";
  steps_.push_back([] {
    HWND box = Box();
    RECT r, ok;
    GetWindowRect(box, &r);
    GetWindowRect(GetDlgItem(box, IDOK), &ok);
    EXPECT_GE(r.top, 0);
    EXPECT_LE(r.bottom, kScreenHeight);
    EXPECT_LE(ok.bottom, r.bottom);
    Tap(GetDlgItem(box, IDOK));
  });
  EXPECT_EQ(MessageBox(main_, text.c_str(), u"Calvira", MB_OKCANCEL), IDOK);
}

TEST_F(MessageBoxWindowTest, AQuitWhileABoxIsUpAnswersCancelAndIsPassedOn) {
  PostQuitMessage(4);
  EXPECT_EQ(MessageBox(main_, u"Delete all?", u"Calvira", MB_OKCANCEL), IDCANCEL);
  MSG msg{};
  ASSERT_TRUE(PeekMessage(&msg, nullptr, 0, 0, PM_REMOVE));
  EXPECT_EQ(msg.message, WM_QUIT);
  EXPECT_EQ(msg.wParam, 4u);
  PostQuitMessage(4);
  EXPECT_EQ(MessageBox(main_, u"Saved.", u"Calvira", MB_OK), IDOK);
  EXPECT_TRUE(IsWindowEnabled(main_));
}

constexpr DialogItemTemplate kFormItems[] = {
    {u"EDIT", 101, u"5", ES_NUMBER | WS_BORDER | WS_TABSTOP, 0, 10, 10, 40, 12},
    {u"BUTTON", 1, u"OK", BS_DEFPUSHBUTTON | WS_TABSTOP, 0, 10, 30, 40, 12},
};
constexpr DialogTemplate kForm[] = {
    {9200, nullptr, WS_POPUP, 0, 0, 137, 153, u"System", 8, kFormItems}};

INT_PTR FormProc(HWND dialog, UINT message, WPARAM wparam, LPARAM) {
  if (message == WM_INITDIALOG) return TRUE;
  if (message == WM_COMMAND && LOWORD(wparam) == IDOK) {
    const int answer = MessageBox(dialog, u"Incorrect period length", u"Calvira", MB_OK);
    EXPECT_TRUE(IsWindowEnabled(dialog));
    EXPECT_EQ(GetFocus(), GetDlgItem(dialog, 101));
    EndDialog(dialog, answer + 10);
    return TRUE;
  }
  return FALSE;
}

TEST_F(MessageBoxWindowTest, ABoxOverAModalDialogDisablesItAndGivesTheFocusBack) {
  RegisterDialogTemplates(kForm);
  steps_.push_back([] { Key(VK_RETURN); });  // the form's OK
  steps_.push_back([this] {
    HWND form = FindWindow(u"#32770", nullptr);
    HWND box = GetWindow(form, GW_HWNDNEXT);
    ASSERT_NE(box, nullptr);
    EXPECT_EQ(GetParent(box), form);
    EXPECT_FALSE(IsWindowEnabled(form));
    EXPECT_FALSE(IsWindowEnabled(main_));
    Key(VK_RETURN);  // the box's OK
  });
  EXPECT_EQ(DialogBoxParam(nullptr, MAKEINTRESOURCE(9200), main_, &FormProc, 0), IDOK + 10);
  EXPECT_TRUE(IsWindowEnabled(main_));
}

}  // namespace
