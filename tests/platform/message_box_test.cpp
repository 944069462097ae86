// Message boxes as real modal boxes, laid out over the screen area and answered by a key, and
// logged. (Without a window system a box is answered OK and logged: the store's and the
// graphics' tests read their reports so.)
#include "platform/gdi.h"
#include "platform/text.h"
#include "support/headless_window.h"

namespace {

using namespace ce;
using namespace calvira::testing;

class MessageBoxTest : public DialogTest {};

// A box is modal over its owner, focused on OK, and a text too long for the screen is cut to it
// with the buttons kept. (How a box wraps its text beside its icon is the screenshots'.)
TEST_F(MessageBoxTest, ABoxIsModalOverItsOwnerAndKeptWithinTheScreen) {
  std::u16string forty_lines;
  for (int i = 0; i < 40; ++i) forty_lines += u"line\n";
  steps_.push_back([this] {
    HWND box = FindWindow(u"#32770", nullptr);
    ASSERT_NE(box, nullptr);
    const RECT r = RectOf(box), ok = RectOf(GetDlgItem(box, IDOK));
    EXPECT_EQ(GetWindowString(box), u"Error");  // no caption given
    EXPECT_EQ(GetParent(box), main_);
    EXPECT_FALSE(IsWindowEnabled(main_));
    EXPECT_EQ(GetFocus(), GetDlgItem(box, IDOK));
    EXPECT_GE(r.top, 0);
    EXPECT_LE(r.bottom, kScreenHeight);
    EXPECT_LT(RectOf(GetWindow(box, GW_CHILD)).bottom, ok.top);
    EXPECT_LE(ok.bottom, r.bottom);
    Key(VK_RETURN);
  });
  EXPECT_EQ(MessageBox(main_, forty_lines.c_str(), nullptr, MB_OKCANCEL), IDOK);
  EXPECT_TRUE(IsWindowEnabled(main_));
  const auto reports = TakeMessageBoxReports();
  ASSERT_EQ(reports.size(), 1u);
  EXPECT_FALSE(reports[0].has_caption);
  EXPECT_EQ(reports[0].owner, main_);
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
