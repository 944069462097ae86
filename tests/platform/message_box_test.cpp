// Message boxes: answered OK without a window system, and otherwise real modal boxes, laid out
// over the screen area and answered by a key or a tap, with every box logged either way. (The
// hook that answers without a box is the frame tests' tool.)
#include <gtest/gtest.h>

#include <functional>
#include <string>

#include "platform/dialog.h"
#include "platform/gdi.h"
#include "platform/message_box.h"
#include "platform/text.h"
#include "support/headless_window.h"

namespace {

using namespace ce;
using namespace calvira::testing;

HWND Box() {
  return FindWindow(u"#32770", nullptr);
}

RECT RectOf(HWND window) {
  RECT r;
  GetWindowRect(window, &r);
  return r;
}

class MessageBoxTest : public DialogTest {};

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

// A box is modal over its owner, centred, wraps its text beside the icon, and is cut to the
// screen with its buttons kept.
TEST_F(MessageBoxTest, ABoxIsLaidOutWithinTheScreenBesideItsIconAndOverItsOwner) {
  struct Case {
    std::u16string text;
    const char16_t* caption;
    UINT type;
    std::u16string shown_caption;
    int32_t min_text_height;
  };
  std::u16string forty_lines;
  for (int i = 0; i < 40; ++i) forty_lines += u"line\n";
  const Case cases[] = {
      {u"The database could not be opened because the storage is full and nothing can be "
       u"written until some space is made free again.",
       nullptr, MB_OKCANCEL, u"Error", 3 * 13 + 1},
      {u"Wrong password!\nTry again?", u"Password", MB_OKCANCEL | MB_ICONSTOP, u"Password", 2 * 13},
      {u"Incorrect period length", u"Calvira", MB_ICONEXCLAMATION, u"Calvira", 13},
      {forty_lines, u"Calvira", MB_OKCANCEL, u"Calvira", 13},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(ToUtf8(c.text.substr(0, 20)));
    steps_.push_back([&c, this] {
      HWND box = Box();
      ASSERT_NE(box, nullptr);
      HWND label = GetWindow(box, GW_CHILD);
      const RECT r = RectOf(box), text = RectOf(label), ok = RectOf(GetDlgItem(box, IDOK));
      EXPECT_EQ(GetWindowString(box), c.shown_caption);
      EXPECT_EQ(GetWindowString(label), c.text);
      EXPECT_EQ(GetParent(box), main_);
      EXPECT_FALSE(IsWindowEnabled(main_));
      EXPECT_EQ(GetFocus(), GetDlgItem(box, IDOK));
      EXPECT_LE(r.Width(), 220);
      EXPECT_EQ(r.left, (kScreenWidth - r.Width()) / 2);
      EXPECT_GE(r.top, 0);
      EXPECT_LE(r.bottom, kScreenHeight);
      EXPECT_GE(text.Height(), c.min_text_height);
      EXPECT_LE(text.right, r.right);
      EXPECT_LT(text.bottom, ok.top);
      EXPECT_LE(ok.bottom, r.bottom);
      if (c.type & (MB_ICONSTOP | MB_ICONEXCLAMATION)) {
        EXPECT_GE(text.left - r.left, 8 + 24 + 8);  // right of the icon
      }
      if (c.type & MB_OKCANCEL) {
        const RECT cancel = RectOf(GetDlgItem(box, IDCANCEL));
        EXPECT_EQ(ok.top, cancel.top);
        EXPECT_NEAR(ok.left - r.left, r.right - cancel.right, 1);  // the pair is centred
      }
      Key(VK_RETURN);
    });
    EXPECT_EQ(MessageBox(main_, c.text.c_str(), c.caption, c.type), IDOK);
    EXPECT_TRUE(IsWindowEnabled(main_));
  }
  const auto reports = TakeMessageBoxReports();
  EXPECT_FALSE(reports[0].has_caption);
  EXPECT_EQ(reports[1].owner, main_);
}

constexpr DialogItemTemplate kFormItems[] = {
    {u"EDIT", 101, u"5", ES_NUMBER | WS_BORDER | WS_TABSTOP, 0, 10, 10, 40, 12},
    {u"BUTTON", 1, u"OK", BS_DEFPUSHBUTTON | WS_TABSTOP, 0, 10, 30, 40, 12},
};
constexpr DialogTemplate kForm[] = {
    {9200, nullptr, WS_POPUP, 0, 0, 137, 153, u"System", 8, kFormItems}};

TEST_F(MessageBoxTest, ABoxOverAModalDialogDisablesItAndGivesTheFocusBack) {
  RegisterDialogTemplates(kForm);
  answer_ = [](HWND dialog, UINT message, WPARAM wparam, LPARAM) -> INT_PTR {
    if (message != WM_COMMAND || LOWORD(wparam) != IDOK) return message == WM_INITDIALOG;
    const int answer = MessageBox(dialog, u"Incorrect period length", u"Calvira", MB_OK);
    EXPECT_TRUE(IsWindowEnabled(dialog));
    EXPECT_EQ(GetFocus(), GetDlgItem(dialog, 101));
    EndDialog(dialog, answer + 10);
    return TRUE;
  };
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
  EXPECT_EQ(Modal(9200, main_), IDOK + 10);
  EXPECT_TRUE(IsWindowEnabled(main_));
}

}  // namespace
