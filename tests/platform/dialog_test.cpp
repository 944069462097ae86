// The dialog manager: templates in dialog units, creation and WM_INITDIALOG, the keyboard
// interface (Tab order, groups, Enter, Esc, the default button), modal loops (ended from
// WM_INITDIALOG, by a posted message, by a timer, nested, interrupted by WM_QUIT) and the Dlg*
// helpers. Whenever a modal loop waits for input the test takes its next scripted step.
#include <tuple>

#include "platform/text.h"
#include "support/headless_window.h"

namespace {

using namespace ce;
using namespace calvira::testing;

constexpr DWORD kTab = WS_TABSTOP;

// --- Focus and the keyboard. ---

constexpr DialogItemTemplate kFormItems[] = {
    {u"STATIC", 100, u"Label", SS_LEFT, 0, 4, 4, 40, 10},
    {u"EDIT", 101, u"first", ES_AUTOHSCROLL | WS_BORDER | kTab | WS_GROUP, 0, 50, 4, 60, 12},
    {u"BUTTON", 102, u"Off", BS_PUSHBUTTON | kTab | WS_DISABLED | WS_GROUP, 0, 4, 20, 40, 12},
    {u"BUTTON", 103, u"Check", BS_AUTOCHECKBOX | kTab | WS_GROUP, 0, 50, 20, 60, 12},
    {u"EDIT", 104, u"", WS_BORDER | kTab, 0, 4, 36, 40, 12},
    {u"LISTBOX", 105, u"", LBS_NOTIFY | WS_BORDER | kTab, 0, 50, 36, 60, 30},
    {u"BUTTON", 1, u"OK", BS_DEFPUSHBUTTON | kTab | WS_GROUP, 0, 4, 80, 40, 12},
    {u"BUTTON", 2, u"Cancel", BS_PUSHBUTTON | kTab, 0, 50, 80, 40, 12},
};
constexpr DialogItemTemplate kModalItems[] = {
    {u"EDIT", 101, u"", ES_NUMBER | WS_BORDER | kTab, 0, 10, 10, 40, 12},
    {u"BUTTON", 1, u"OK", BS_DEFPUSHBUTTON | kTab, 0, 10, 30, 40, 12},
    {u"BUTTON", 2, u"Cancel", BS_PUSHBUTTON | kTab, 0, 60, 30, 40, 12},
};
constexpr DialogTemplate kTemplates[] = {
    {9010, nullptr, WS_CHILD | WS_VISIBLE, 0, 0, 137, 153, u"System", 8, kFormItems},
    {9020, u"Outer", WS_POPUP | WS_CAPTION, 0, 0, 137, 100, u"System", 8, kModalItems},
    {9021, u"Inner", WS_POPUP | WS_CAPTION, 10, 10, 100, 60, u"System", 8, kModalItems},
};

constexpr DialogItemTemplate kBadItems[] = {{u"NOSUCHCLASS", 5, u"", 0, 0, 0, 0, 10, 10}};
constexpr DialogTemplate kCreateTemplates[] = {
    {9002, u"Popup", WS_POPUP | WS_CAPTION | WS_VISIBLE, 1, 53, 133, 58, u"System", 8, kModalItems},
    {9003, nullptr, WS_CHILD, 0, 0, 50, 50, u"System", 8, kBadItems},
};

// Where dialog units put the controls is the screenshots'; here, what a template makes.
TEST_F(DialogTest, TemplatesMakeChildrenOrActivePopUpsAndBadOnesMakeNoDialog) {
  RegisterDialogTemplates(kTemplates);
  RegisterDialogTemplates(kCreateTemplates);
  ASSERT_NE(Open(9010), nullptr);
  EXPECT_EQ(GetParent(dialog_), main_);
  ASSERT_NE(Open(9002), nullptr);
  EXPECT_FALSE(GetWindowLong(dialog_, GWL_STYLE) & WS_CHILD);
  EXPECT_EQ(GetActiveWindow(), dialog_);
  EXPECT_EQ(Open(8999), nullptr);
  EXPECT_EQ(Modal(8999, main_), -1);
  EXPECT_EQ(Open(9003), nullptr);  // an unknown control class
  EXPECT_TRUE(IsWindowEnabled(main_));
}

class DialogKeysTest : public DialogTest {
 protected:
  void SetUp() override {
    DialogTest::SetUp();
    RegisterDialogTemplates(kTemplates);
    answer_ = [](HWND dialog, UINT message, WPARAM, LPARAM) -> INT_PTR {
      if (message == WM_INITDIALOG) ShowWindow(GetDlgItem(dialog, 104), SW_HIDE);
      return message == WM_INITDIALOG;
    };
    ASSERT_NE(Open(9010), nullptr);
  }
};

TEST_F(DialogKeysTest, TheFirstTabStopTakesTheFocusAndTabSkipsDisabledAndHiddenControls) {
  EXPECT_EQ(FocusId(), 101);
  DWORD start = 99, end = 99;
  Send(101, EM_GETSEL, reinterpret_cast<WPARAM>(&start), reinterpret_cast<LPARAM>(&end));
  EXPECT_EQ(std::make_pair(start, end), std::make_pair(DWORD{0}, DWORD{5}));  // all selected
  // Template order; 102 is disabled, 104 hidden, 100 no tab stop; both ways round.
  for (int id : {103, 105, 1, 2, 101, 103}) {
    Press(VK_TAB);
    EXPECT_EQ(FocusId(), id);
  }
  for (int id : {101, 2, 1, 105, 103, 101}) {
    Press(VK_TAB, VK_SHIFT);
    EXPECT_EQ(FocusId(), id);
  }
  for (const Command& c : commands_) EXPECT_NE(c.second, BN_CLICKED);
}

// How the default button looks is the screenshots'; here, what Enter and Esc press.
TEST_F(DialogKeysTest,
       EnterPressesTheDefaultButtonWhichFollowsTheFocusEscSendsCancelSpaceTheFocus) {
  const std::pair<std::function<void()>, std::vector<Command>> cases[] = {
      {[] {}, {{1, BN_CLICKED}}},
      {[this] { SetFocus(Item(2)); }, {{2, BN_CLICKED}}},  // a focused push button acts as default
      {[this] { SetFocus(Item(101)); }, {{1, BN_CLICKED}}},  // and OK again once it leaves
      {[this] { EnableWindow(Item(1), FALSE); }, {}},        // a disabled default: none
  };
  for (const auto& [before, heard] : cases) {
    before();
    Forget();
    Press(VK_RETURN);
    EXPECT_EQ(commands_, heard);
  }
  EXPECT_EQ(Text(101), u"first");  // the edit saw no line break: the dialog manager took Enter
  Press(VK_ESCAPE);
  EXPECT_EQ(commands_, (std::vector<Command>{{IDCANCEL, BN_CLICKED}}));
  // Space presses the focused button on its release.
  SetFocus(Item(103));
  Forget();
  InjectInput(KeyEvent(InputEvent::Kind::kKeyDown, VK_SPACE));
  Pump();
  EXPECT_EQ(Send(103, BM_GETSTATE), static_cast<LRESULT>(BST_PUSHED | BST_FOCUS));
  EXPECT_TRUE(commands_.empty());
  InjectInput(KeyEvent(InputEvent::Kind::kKeyUp, VK_SPACE));
  Pump();
  EXPECT_EQ(IsDlgButtonChecked(dialog_, 103), BST_CHECKED);
  EXPECT_EQ(commands_, (std::vector<Command>{{103, BN_CLICKED}}));
}

// --- Modal dialogs. ---

TEST_F(DialogTest, AModalDialogEndedInItsInitialisationIsNeverShown) {
  RegisterDialogTemplates(kTemplates);
  answer_ = [](HWND dialog, UINT message, WPARAM, LPARAM param) -> INT_PTR {
    if (message == WM_INITDIALOG) EndDialog(dialog, param + 1);
    if (message == WM_PAINT) ADD_FAILURE() << "painted";
    return message == WM_INITDIALOG;
  };
  EXPECT_EQ(Modal(9020, main_, 41), 42);
  EXPECT_TRUE(IsWindowEnabled(main_));
  EXPECT_EQ(FindWindow(u"#32770", nullptr), nullptr);
}

TEST_F(DialogTest, AModalDialogAnswersTheKeyboardAndATimer) {
  RegisterDialogTemplates(kTemplates);
  std::u16string typed;
  answer_ = [&typed](HWND dialog, UINT message, WPARAM wparam, LPARAM) -> INT_PTR {
    if (message == WM_COMMAND && LOWORD(wparam) == IDOK) {
      typed = GetWindowString(GetDlgItem(dialog, 101));
      SetTimer(dialog, 5, 250, nullptr);
    } else if (message == WM_TIMER && wparam == 5) {
      KillTimer(dialog, 5);
      EndDialog(dialog, 3);
    }
    return message == WM_INITDIALOG || message == WM_COMMAND || message == WM_TIMER;
  };
  steps_.push_back([] {
    Type(u"1x2");  // the digits-only field drops the letter
    Key(VK_RETURN);
  });
  const DWORD before = GetTickCount();
  EXPECT_EQ(Modal(9020, main_), 3);
  EXPECT_EQ(typed, u"12");
  EXPECT_GE(GetTickCount() - before, 250u);
}

// Each modal dialog, nested or not, disables its owner, is active with its first tab stop
// focused, and when it ends gives the activation and the focus back.
TEST_F(DialogTest, NestedModalDialogsEachDisableTheirOwnerAndGiveTheFocusBack) {
  RegisterDialogTemplates(kTemplates);
  ASSERT_NE(Open(9010), nullptr);
  SetFocus(Item(103));
  INT_PTR inner_result = 0;
  answer_ = [&](HWND dialog, UINT message, WPARAM, LPARAM) -> INT_PTR {
    if (message == WM_INITDIALOG) PostMessage(dialog, WM_APP, 0, 0);
    if (message != WM_APP) return message == WM_INITDIALOG;
    EXPECT_FALSE(IsWindowEnabled(main_));
    EXPECT_TRUE(IsWindowVisible(dialog));
    EXPECT_EQ(GetActiveWindow(), dialog);
    EXPECT_EQ(FocusId(), 101);
    if (GetWindowString(dialog) == u"Outer") {
      inner_result = Modal(9021, dialog);
      EXPECT_TRUE(IsWindowEnabled(dialog));
      EXPECT_EQ(GetActiveWindow(), dialog);
      EndDialog(dialog, inner_result + 1);
    } else {
      EXPECT_FALSE(IsWindowEnabled(GetParent(dialog)));
      EndDialog(dialog, 20);
    }
    return TRUE;
  };
  EXPECT_EQ(Modal(9020, main_), 21);
  EXPECT_EQ(inner_result, 20);
  EXPECT_TRUE(IsWindowEnabled(main_));
  EXPECT_EQ(FindWindow(u"#32770", u"Outer"), nullptr);
  EXPECT_EQ(GetActiveWindow(), main_);
  EXPECT_EQ(GetFocus(), Item(103));
}

// A quit ends a modal dialog or box as Cancel (OK where there is none) and is passed on to the
// main loop, which ends the program.
TEST_F(DialogTest, AQuitEndsAModalLoopAsCancelAndIsPassedOn) {
  RegisterDialogTemplates(kTemplates);
  const std::pair<std::function<INT_PTR()>, INT_PTR> cases[] = {
      {[this] { return Modal(9020, main_); }, IDCANCEL},
      {[this] { return MessageBox(main_, u"Delete all?", u"Calvira", MB_OKCANCEL); }, IDCANCEL},
      {[this] { return MessageBox(main_, u"Saved.", u"Calvira", MB_OK); }, IDOK},
  };
  for (const auto& [run, expected] : cases) {
    PostQuitMessage(3);
    EXPECT_EQ(run(), expected);
    EXPECT_TRUE(IsWindowEnabled(main_));
    EXPECT_EQ(FindWindow(u"#32770", nullptr), nullptr);
    MSG msg{};
    ASSERT_TRUE(PeekMessage(&msg, nullptr, 0, 0, PM_REMOVE));
    EXPECT_EQ(msg.message, WM_QUIT);
    EXPECT_EQ(msg.wParam, 3u);
  }
}

// --- The helpers. ---

TEST_F(DialogTest, DialogItemNumbersReadAsTheHandheldReadsThem) {
  RegisterDialogTemplates(kTemplates);
  ASSERT_NE(Open(9010), nullptr);
  // (text, signed, value, translated)
  const std::tuple<const char16_t*, BOOL, UINT, BOOL> cases[] = {
      {u"28", FALSE, 28, TRUE},         {u"", FALSE, 0, FALSE},
      {u" 7 ", FALSE, 7, TRUE},         {u"12a", FALSE, 0, FALSE},
      {u"-5", FALSE, 0, FALSE},         {u"4294967295", FALSE, 4294967295u, TRUE},
      {u"4294967296", FALSE, 0, FALSE}, {u"2147483648", TRUE, 0, FALSE},
  };
  for (const auto& [text, is_signed, value, translated] : cases) {
    SetDlgItemText(dialog_, 101, text);
    BOOL said = 2;
    EXPECT_EQ(GetDlgItemInt(dialog_, 101, &said, is_signed), value) << ToUtf8(text);
    EXPECT_EQ(said, translated) << ToUtf8(text);
  }
  SetDlgItemInt(dialog_, 101, 4000000000u, FALSE);
  char16_t buffer[4];
  EXPECT_EQ(GetDlgItemText(dialog_, 101, buffer, 4), 3u);  // cut to the buffer
  EXPECT_EQ(std::u16string(buffer), u"400");
  EXPECT_EQ(GetDlgItemText(dialog_, 555, buffer, 4), 0u);
  EXPECT_EQ(buffer[0], u'\0');
}

}  // namespace
