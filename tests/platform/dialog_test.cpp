// The dialog manager: templates in dialog units, creation and WM_INITDIALOG, the keyboard
// interface (Tab order, groups, Enter, Esc, the default button), modal loops (ended from
// WM_INITDIALOG, by a posted message, by a timer, nested, interrupted by WM_QUIT) and the Dlg*
// helpers. Dialogs run on the headless display and the virtual clock; whenever a modal loop
// waits for input the test takes its next scripted step.
#include <gtest/gtest.h>

#include <algorithm>
#include <deque>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "platform/clock.h"
#include "platform/dialog.h"
#include "platform/display.h"
#include "platform/gdi.h"
#include "platform/message_box.h"
#include "platform/text.h"
#include "platform/window.h"
#include "support/headless_window.h"

namespace {

using namespace ce;
using namespace calvira::testing;

// What the dialog procedure heard, and what it should do.
struct Script {
  std::vector<std::pair<int, int>> commands;  // (id, notification) of WM_COMMAND
  std::function<INT_PTR(HWND, UINT, WPARAM, LPARAM)> handler;
};
Script* g_script = nullptr;

INT_PTR ScriptProc(HWND dialog, UINT message, WPARAM wparam, LPARAM lparam) {
  if (message == WM_COMMAND) g_script->commands.push_back({LOWORD(wparam), HIWORD(wparam)});
  if (g_script->handler) return g_script->handler(dialog, message, wparam, lparam);
  return message == WM_INITDIALOG ? TRUE : FALSE;
}

class DialogTest : public calvira::testing::HeadlessWindowTest {
 protected:
  void SetUp() override {
    HeadlessWindowTest::SetUp();
    g_script = &script_;
  }
  void TearDown() override {
    HeadlessWindowTest::TearDown();
    g_script = nullptr;
  }

  // Runs everything queued, as a main loop with a modeless dialog does.
  void Pump(HWND dialog) {
    MSG msg;
    while (PeekMessage(&msg, nullptr, 0, 0, PM_REMOVE)) {
      if (msg.message == WM_QUIT) {
        quit_seen_ = true;
        continue;
      }
      if (!IsDialogMessage(dialog, &msg)) {
        TranslateMessage(&msg);
        DispatchMessage(&msg);
      }
    }
  }

  static int FocusId() { return GetDlgCtrlID(GetFocus()); }

  Script script_;
  bool quit_seen_ = false;
};

RECT RectIn(HWND control, HWND dialog) {
  RECT r;
  GetWindowRect(control, &r);
  POINT p{r.left, r.top};
  ScreenToClient(dialog, &p);
  return {p.x, p.y, p.x + r.Width(), p.y + r.Height()};
}

// --- Templates and creation. ---

TEST(DialogUnits, BecomePixelsSevenQuartersRoundedDown) {
  const std::pair<int32_t, int32_t> cases[] = {
      {0, 0}, {1, 1}, {3, 5}, {4, 7}, {10, 17}, {87, 152}, {139, 243}, {158, 276}, {-1, -2},
  };
  for (auto [units, pixels] : cases) EXPECT_EQ(DialogUnitsToPixels(units), pixels) << units;
}

constexpr DialogItemTemplate kPlaceItems[] = {
    {u"STATIC", 1012, u"Title", SS_CENTER, 0, 45, 2, 50, 10},
    {u"LISTBOX", 1019, u"", LBS_NOTIFY | WS_VSCROLL | WS_BORDER | WS_TABSTOP, 0, 8, 31, 124, 87},
    {u"BUTTON", 1015, u"Add", BS_PUSHBUTTON | WS_TABSTOP, 0, 6, 137, 39, 10},
};
constexpr DialogTemplate kPlaceTemplates[] = {
    {9001, nullptr, WS_CHILD | WS_VISIBLE, 0, 0, 144, 157, u"System", 8, kPlaceItems},
    {9002, u"Add Your Note", WS_POPUP | WS_CAPTION | WS_VISIBLE, 1, 53, 133, 58, u"System", 8,
     kPlaceItems},
};

TEST_F(DialogTest, ControlsTakeTheirPlacesInPixelsFromDialogUnits) {
  RegisterDialogTemplates(kPlaceTemplates);
  HWND dialog = CreateDialogParam(nullptr, MAKEINTRESOURCE(9001), main_, &ScriptProc, 0);
  ASSERT_NE(dialog, nullptr);
  EXPECT_EQ(GetParent(dialog), main_);
  EXPECT_TRUE(IsWindowVisible(dialog));
  struct Expected {
    int id;
    RECT rect;
  };
  const Expected expected[] = {
      {1012, {78, 3, 78 + 87, 3 + 17}},
      {1019, {14, 54, 14 + 217, 54 + 152}},
      {1015, {10, 239, 10 + 68, 239 + 17}},
  };
  for (const Expected& e : expected) {
    HWND control = GetDlgItem(dialog, e.id);
    ASSERT_NE(control, nullptr) << e.id;
    EXPECT_EQ(RectIn(control, dialog), e.rect) << e.id;
  }
  RECT client;
  GetClientRect(dialog, &client);
  EXPECT_EQ(client, (RECT{0, 0, 252, 274}));
  // The dialog's font reached every control.
  const LRESULT font = SendMessage(dialog, WM_GETFONT, 0, 0);
  EXPECT_NE(font, 0);
  EXPECT_EQ(SendDlgItemMessage(dialog, 1019, WM_GETFONT, 0, 0), font);
  DestroyWindow(dialog);
}

TEST_F(DialogTest, APopUpWithACaptionKeepsItsClientSizeUnderTheBar) {
  RegisterDialogTemplates(kPlaceTemplates);
  HWND dialog = CreateDialogParam(nullptr, MAKEINTRESOURCE(9002), main_, &ScriptProc, 0);
  ASSERT_NE(dialog, nullptr);
  EXPECT_EQ(GetParent(dialog), main_);  // the owner
  EXPECT_FALSE(GetWindowLong(dialog, GWL_STYLE) & WS_CHILD);
  RECT window, client;
  GetWindowRect(dialog, &window);
  GetClientRect(dialog, &client);
  EXPECT_EQ(window.left, 1);
  EXPECT_EQ(window.top, 92);
  EXPECT_EQ(client.Width(), 232);
  EXPECT_EQ(client.Height(), 101);
  EXPECT_EQ(window.Height(), 101 + kCaptionHeight + 1);
  EXPECT_EQ(GetWindowString(dialog), u"Add Your Note");
  EXPECT_EQ(GetActiveWindow(), dialog);
  DestroyWindow(dialog);
}

TEST_F(DialogTest, AnUnknownTemplateOrControlClassMakesNoDialog) {
  static constexpr DialogItemTemplate kBad[] = {{u"NOSUCHCLASS", 5, u"", 0, 0, 0, 0, 10, 10}};
  static constexpr DialogTemplate kBadTemplate[] = {
      {9003, nullptr, WS_CHILD, 0, 0, 50, 50, u"System", 8, kBad}};
  RegisterDialogTemplates(kBadTemplate);
  EXPECT_EQ(CreateDialogParam(nullptr, MAKEINTRESOURCE(8999), main_, &ScriptProc, 0), nullptr);
  EXPECT_EQ(DialogBoxParam(nullptr, MAKEINTRESOURCE(8999), main_, &ScriptProc, 0), -1);
  EXPECT_EQ(CreateDialogParam(nullptr, MAKEINTRESOURCE(9003), main_, &ScriptProc, 0), nullptr);
  EXPECT_EQ(FindDialogTemplate(9003)->id, 9003);
  EXPECT_TRUE(IsWindowEnabled(main_));
}

// --- Focus and the keyboard. ---

constexpr DWORD kTab = WS_TABSTOP;
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
constexpr DialogTemplate kFormTemplate[] = {
    {9010, nullptr, WS_CHILD | WS_VISIBLE, 0, 0, 137, 153, u"System", 8, kFormItems}};

class DialogKeysTest : public DialogTest {
 protected:
  void SetUp() override {
    DialogTest::SetUp();
    RegisterDialogTemplates(kFormTemplate);
    script_.handler = [](HWND dialog, UINT message, WPARAM, LPARAM) -> INT_PTR {
      if (message == WM_INITDIALOG) ShowWindow(GetDlgItem(dialog, 104), SW_HIDE);
      return message == WM_INITDIALOG ? TRUE : FALSE;
    };
    dialog_ = CreateDialogParam(nullptr, MAKEINTRESOURCE(9010), main_, &ScriptProc, 0);
    ASSERT_NE(dialog_, nullptr);
    Pump(dialog_);
  }
  HWND dialog_ = nullptr;
};

TEST_F(DialogKeysTest, InitialisationFocusesTheFirstTabStopAndSelectsItsText) {
  EXPECT_EQ(FocusId(), 101);
  DWORD start = 99, end = 99;
  SendDlgItemMessage(dialog_, 101, EM_GETSEL, reinterpret_cast<WPARAM>(&start),
                     reinterpret_cast<LPARAM>(&end));
  EXPECT_EQ(start, 0u);
  EXPECT_EQ(end, 5u);
}

TEST_F(DialogKeysTest, TabAndShiftTabSkipDisabledAndHiddenControlsAndWrapAround) {
  // Template order; 102 is disabled, 104 hidden, 100 no tab stop.
  const int forward[] = {103, 105, 1, 2, 101, 103};
  for (int id : forward) {
    Key(VK_TAB);
    Pump(dialog_);
    EXPECT_EQ(FocusId(), id);
  }
  const int backward[] = {101, 2, 1, 105, 103, 101};
  for (int id : backward) {
    Key(VK_TAB, VK_SHIFT);
    Pump(dialog_);
    EXPECT_EQ(FocusId(), id);
  }
  EXPECT_TRUE(script_.commands.empty() ||
              std::all_of(script_.commands.begin(), script_.commands.end(),
                          [](auto c) { return c.second != BN_CLICKED; }));
}

TEST_F(DialogKeysTest, TheDefaultLookFollowsTheFocusAmongPushButtons) {
  auto type = [this](int id) { return GetWindowLong(GetDlgItem(dialog_, id), GWL_STYLE) & 0xF; };
  EXPECT_EQ(type(1), static_cast<LONG_PTR>(BS_DEFPUSHBUTTON));
  SetFocus(GetDlgItem(dialog_, 2));
  EXPECT_EQ(type(2), static_cast<LONG_PTR>(BS_DEFPUSHBUTTON));
  EXPECT_EQ(type(1), static_cast<LONG_PTR>(BS_PUSHBUTTON));
  SetFocus(GetDlgItem(dialog_, 101));
  EXPECT_EQ(type(2), static_cast<LONG_PTR>(BS_PUSHBUTTON));
  EXPECT_EQ(type(1), static_cast<LONG_PTR>(BS_DEFPUSHBUTTON));
  EXPECT_EQ(SendMessage(dialog_, DM_GETDEFID, 0, 0), MAKELPARAM(1, DC_HASDEFID));
}

TEST_F(DialogKeysTest, EnterPressesTheDefaultButtonEscSendsCancel) {
  struct Case {
    std::function<void()> before;
    UINT key;
    std::pair<int, int> command;
  };
  const Case cases[] = {
      {[] {}, VK_RETURN, {1, BN_CLICKED}},
      {[this] { SetFocus(GetDlgItem(dialog_, 2)); }, VK_RETURN, {2, BN_CLICKED}},
      {[this] {
         SetFocus(GetDlgItem(dialog_, 101));
         SendMessage(dialog_, DM_SETDEFID, 2, 0);
       },
       VK_RETURN,
       {2, BN_CLICKED}},
      {[] {}, VK_ESCAPE, {IDCANCEL, BN_CLICKED}},
  };
  for (const Case& c : cases) {
    c.before();
    script_.commands.clear();
    Key(c.key);
    Pump(dialog_);
    ASSERT_EQ(script_.commands.size(), 1u);
    EXPECT_EQ(script_.commands[0], c.command);
  }
  // The edit saw no line break, the dialog manager took Enter.
  EXPECT_EQ(GetWindowString(GetDlgItem(dialog_, 101)), u"first");
  // A disabled default button is not pressed by the keyboard.
  EnableWindow(GetDlgItem(dialog_, 2), FALSE);
  SetFocus(GetDlgItem(dialog_, 101));
  script_.commands.clear();
  Key(VK_RETURN);
  Pump(dialog_);
  EXPECT_TRUE(script_.commands.empty());
}

TEST_F(DialogKeysTest, SpacePressesTheFocusedButtonOnRelease) {
  SetFocus(GetDlgItem(dialog_, 103));
  script_.commands.clear();
  InjectInput(KeyEvent(InputEvent::Kind::kKeyDown, VK_SPACE));
  Pump(dialog_);
  EXPECT_EQ(SendDlgItemMessage(dialog_, 103, BM_GETSTATE, 0, 0),
            static_cast<LRESULT>(BST_PUSHED | BST_FOCUS));
  EXPECT_TRUE(script_.commands.empty());
  InjectInput(KeyEvent(InputEvent::Kind::kKeyUp, VK_SPACE));
  Pump(dialog_);
  EXPECT_EQ(IsDlgButtonChecked(dialog_, 103), BST_CHECKED);
  ASSERT_EQ(script_.commands.size(), 1u);
  EXPECT_EQ(script_.commands[0], std::make_pair(103, static_cast<int>(BN_CLICKED)));
}

constexpr DialogItemTemplate kRadioItems[] = {
    {u"BUTTON", 10, u"Scale", BS_GROUPBOX | WS_GROUP, 0, 2, 2, 100, 50},
    {u"BUTTON", 11, u"Celsius", BS_AUTORADIOBUTTON | WS_GROUP | kTab, 0, 6, 12, 80, 10},
    {u"BUTTON", 12, u"Fahrenheit", BS_AUTORADIOBUTTON, 0, 6, 24, 80, 10},
    {u"BUTTON", 13, u"Kelvin", BS_AUTORADIOBUTTON, 0, 6, 36, 80, 10},
    {u"BUTTON", 20, u"One", BS_PUSHBUTTON | WS_GROUP | kTab, 0, 2, 60, 30, 12},
    {u"BUTTON", 21, u"Two", BS_PUSHBUTTON | kTab, 0, 40, 60, 30, 12},
};
constexpr DialogTemplate kRadioTemplate[] = {
    {9011, nullptr, WS_CHILD | WS_VISIBLE, 0, 0, 137, 153, u"System", 8, kRadioItems}};

TEST_F(DialogTest, ArrowsMoveWithinAGroupAndChooseRadioButtons) {
  RegisterDialogTemplates(kRadioTemplate);
  HWND dialog = CreateDialogParam(nullptr, MAKEINTRESOURCE(9011), main_, &ScriptProc, 0);
  ASSERT_NE(dialog, nullptr);
  Pump(dialog);
  EXPECT_EQ(FocusId(), 11);
  struct Step {
    UINT key;
    int focus;
    int checked;  // the one radio button checked afterwards; 0: none
  };
  const Step steps[] = {
      {VK_DOWN, 12, 12}, {VK_DOWN, 13, 13}, {VK_DOWN, 11, 11},  // wraps in the group
      {VK_UP, 13, 13},   {VK_LEFT, 12, 12},
  };
  for (const Step& s : steps) {
    Key(s.key);
    Pump(dialog);
    EXPECT_EQ(FocusId(), s.focus);
    for (int id : {11, 12, 13}) {
      EXPECT_EQ(IsDlgButtonChecked(dialog, id), id == s.checked ? 1u : 0u) << id;
    }
  }
  // The chosen radio button is the group's tab stop.
  EXPECT_TRUE(GetWindowLong(GetDlgItem(dialog, 12), GWL_STYLE) & WS_TABSTOP);
  EXPECT_FALSE(GetWindowLong(GetDlgItem(dialog, 11), GWL_STYLE) & WS_TABSTOP);
  // Push buttons move in their own group without being pressed.
  SetFocus(GetDlgItem(dialog, 20));
  script_.commands.clear();
  Key(VK_RIGHT);
  Pump(dialog);
  EXPECT_EQ(FocusId(), 21);
  EXPECT_TRUE(script_.commands.empty());
  Key(VK_TAB);
  Pump(dialog);
  EXPECT_EQ(FocusId(), 12);  // Tab lands on the chosen radio button
  DestroyWindow(dialog);
}

// --- Modal dialogs. ---

constexpr DialogItemTemplate kModalItems[] = {
    {u"EDIT", 101, u"", ES_NUMBER | WS_BORDER | kTab, 0, 10, 10, 40, 12},
    {u"BUTTON", 1, u"OK", BS_DEFPUSHBUTTON | kTab, 0, 10, 30, 40, 12},
    {u"BUTTON", 2, u"Cancel", BS_PUSHBUTTON | kTab, 0, 60, 30, 40, 12},
};
constexpr DialogTemplate kModalTemplates[] = {
    {9020, u"Outer", WS_POPUP | WS_CAPTION, 0, 0, 137, 100, u"System", 8, kModalItems},
    {9021, u"Inner", WS_POPUP | WS_CAPTION, 10, 10, 100, 60, u"System", 8, kModalItems},
};

TEST_F(DialogTest, AModalDialogEndedInItsInitialisationIsNeverShown) {
  RegisterDialogTemplates(kModalTemplates);
  script_.handler = [](HWND dialog, UINT message, WPARAM, LPARAM param) -> INT_PTR {
    if (message == WM_INITDIALOG) EndDialog(dialog, param + 1);
    if (message == WM_PAINT) ADD_FAILURE() << "painted";
    return message == WM_INITDIALOG ? TRUE : FALSE;
  };
  EXPECT_EQ(DialogBoxParam(nullptr, MAKEINTRESOURCE(9020), main_, &ScriptProc, 41), 42);
  EXPECT_TRUE(IsWindowEnabled(main_));
  EXPECT_EQ(FindWindow(u"#32770", nullptr), nullptr);
}

TEST_F(DialogTest, AModalDialogDisablesItsOwnerUntilAPostedMessageEndsIt) {
  RegisterDialogTemplates(kModalTemplates);
  bool checked = false;
  script_.handler = [this, &checked](HWND dialog, UINT message, WPARAM, LPARAM) -> INT_PTR {
    if (message == WM_APP) {
      EXPECT_FALSE(IsWindowEnabled(main_));
      EXPECT_TRUE(IsWindowVisible(dialog));
      EXPECT_EQ(GetActiveWindow(), dialog);
      EXPECT_EQ(FocusId(), 101);
      checked = true;
      EndDialog(dialog, 7);
      return TRUE;
    }
    return message == WM_INITDIALOG ? TRUE : FALSE;
  };
  steps_.push_back([] { PostMessage(FindWindow(u"#32770", u"Outer"), WM_APP, 0, 0); });
  EXPECT_EQ(DialogBoxParam(nullptr, MAKEINTRESOURCE(9020), main_, &ScriptProc, 0), 7);
  EXPECT_TRUE(checked);
  EXPECT_TRUE(IsWindowEnabled(main_));
  EXPECT_EQ(FindWindow(u"#32770", nullptr), nullptr);
  EXPECT_EQ(GetActiveWindow(), main_);
}

TEST_F(DialogTest, AModalDialogAnswersTheKeyboardAndATimer) {
  RegisterDialogTemplates(kModalTemplates);
  std::u16string typed;
  script_.handler = [&typed](HWND dialog, UINT message, WPARAM wparam, LPARAM) -> INT_PTR {
    if (message == WM_COMMAND && LOWORD(wparam) == IDOK) {
      typed = GetWindowString(GetDlgItem(dialog, 101));
      SetTimer(dialog, 5, 250, nullptr);
      return TRUE;
    }
    if (message == WM_TIMER && wparam == 5) {
      KillTimer(dialog, 5);
      EndDialog(dialog, 3);
      return TRUE;
    }
    return message == WM_INITDIALOG ? TRUE : FALSE;
  };
  steps_.push_back([] {
    Type(u"1x2");  // the digits-only field drops the letter
    Key(VK_RETURN);
  });
  const DWORD before = GetTickCount();
  EXPECT_EQ(DialogBoxParam(nullptr, MAKEINTRESOURCE(9020), main_, &ScriptProc, 0), 3);
  EXPECT_EQ(typed, u"12");
  EXPECT_GE(GetTickCount() - before, 250u);
}

TEST_F(DialogTest, NestedModalDialogsEachDisableTheirOwner) {
  RegisterDialogTemplates(kModalTemplates);
  INT_PTR inner_result = 0;
  script_.handler = [this, &inner_result](HWND dialog, UINT message, WPARAM, LPARAM) -> INT_PTR {
    if (message == WM_INITDIALOG) {
      PostMessage(dialog, WM_APP, 0, 0);
      return TRUE;
    }
    if (message != WM_APP) return FALSE;
    if (GetWindowString(dialog) == u"Outer") {
      inner_result = DialogBoxParam(nullptr, MAKEINTRESOURCE(9021), dialog, &ScriptProc, 0);
      EXPECT_TRUE(IsWindowEnabled(dialog));
      EXPECT_EQ(GetActiveWindow(), dialog);
      EndDialog(dialog, inner_result + 1);
    } else {
      HWND outer = FindWindow(u"#32770", u"Outer");
      EXPECT_FALSE(IsWindowEnabled(outer));
      EXPECT_FALSE(IsWindowEnabled(main_));
      EXPECT_EQ(GetParent(dialog), outer);
      EndDialog(dialog, 20);
    }
    return TRUE;
  };
  EXPECT_EQ(DialogBoxParam(nullptr, MAKEINTRESOURCE(9020), main_, &ScriptProc, 0), 21);
  EXPECT_EQ(inner_result, 20);
  EXPECT_TRUE(IsWindowEnabled(main_));
}

TEST_F(DialogTest, AQuitMessageEndsTheModalLoopAndIsPassedOn) {
  RegisterDialogTemplates(kModalTemplates);
  PostQuitMessage(3);
  EXPECT_EQ(DialogBoxParam(nullptr, MAKEINTRESOURCE(9020), main_, &ScriptProc, 0), IDCANCEL);
  EXPECT_TRUE(IsWindowEnabled(main_));
  EXPECT_EQ(FindWindow(u"#32770", nullptr), nullptr);
  MSG msg{};
  ASSERT_TRUE(PeekMessage(&msg, nullptr, 0, 0, PM_REMOVE));
  EXPECT_EQ(msg.message, WM_QUIT);
  EXPECT_EQ(msg.wParam, 3u);
}

TEST_F(DialogTest, FocusReturnsToTheOwnerControlAfterAModalRun) {
  RegisterDialogTemplates(kFormTemplate);
  RegisterDialogTemplates(kModalTemplates);
  HWND form = CreateDialogParam(nullptr, MAKEINTRESOURCE(9010), main_, &ScriptProc, 0);
  SetFocus(GetDlgItem(form, 103));
  script_.handler = [](HWND dialog, UINT message, WPARAM, LPARAM) -> INT_PTR {
    if (message == WM_INITDIALOG) PostMessage(dialog, WM_COMMAND, IDCANCEL, 0);
    if (message == WM_COMMAND) EndDialog(dialog, 0);
    return message == WM_INITDIALOG ? TRUE : FALSE;
  };
  DialogBoxParam(nullptr, MAKEINTRESOURCE(9020), main_, &ScriptProc, 0);
  EXPECT_EQ(GetFocus(), GetDlgItem(form, 103));
  DestroyWindow(form);
}

// --- Colours and the look. ---

TEST_F(DialogTest, ControlsPaintWithTheBrushesTheirDialogGives) {
  static constexpr DialogItemTemplate kItems[] = {
      {u"STATIC", 1012, u"Title", SS_CENTER, 0, 40, 2, 60, 10},
      {u"STATIC", 1013, u"Label", SS_LEFT, 0, 4, 20, 60, 10},
      {u"BUTTON", 1, u"OK", BS_PUSHBUTTON | kTab, 0, 4, 40, 40, 14},
  };
  static constexpr DialogTemplate kTemplate[] = {
      {9030, nullptr, WS_CHILD | WS_VISIBLE, 0, 0, 137, 153, u"System", 8, kItems}};
  RegisterDialogTemplates(kTemplate);
  HBRUSH cyan = CreateSolidBrush(RGB(0, 255, 255));
  HBRUSH blue = CreateSolidBrush(RGB(0, 0, 255));
  std::vector<std::pair<UINT, int>> asked;
  script_.handler = [&](HWND, UINT message, WPARAM wparam, LPARAM lparam) -> INT_PTR {
    auto dc = reinterpret_cast<HDC>(wparam);
    const int id = GetDlgCtrlID(reinterpret_cast<HWND>(lparam));
    switch (message) {
      case WM_CTLCOLORBTN:
        asked.push_back({message, id});
        SetTextColor(dc, RGB(0, 0, 0));
        SetBkMode(dc, TRANSPARENT);
        return reinterpret_cast<INT_PTR>(cyan);
      case WM_CTLCOLORSTATIC:
        asked.push_back({message, id});
        SetBkMode(dc, TRANSPARENT);
        SetTextColor(dc, id == 1012 ? RGB(255, 255, 255) : RGB(0, 0, 0));
        return reinterpret_cast<INT_PTR>(id == 1012 ? blue : cyan);
      default:
        return FALSE;
    }
  };
  HWND dialog = CreateDialogParam(nullptr, MAKEINTRESOURCE(9030), main_, &ScriptProc, 0);
  ASSERT_NE(dialog, nullptr);
  Pump(dialog);
  const std::vector<std::pair<UINT, int>> expected = {
      {WM_CTLCOLORSTATIC, 1012}, {WM_CTLCOLORSTATIC, 1013}, {WM_CTLCOLORBTN, 1}};
  EXPECT_EQ(asked, expected);
  auto pixel = [](int32_t x, int32_t y) { return FrameBufferPixels()[y * kScreenWidth + x]; };
  RECT title, button;
  GetWindowRect(GetDlgItem(dialog, 1012), &title);
  GetWindowRect(GetDlgItem(dialog, 1), &button);
  EXPECT_EQ(pixel(title.left + 1, title.top + 1), ColorTo565(RGB(0, 0, 255)));
  EXPECT_EQ(pixel(button.left, button.top), ColorTo565(RGB(0, 24, 66)));  // the ink outline
  EXPECT_EQ(pixel(button.left + 3, button.bottom - 4), ColorTo565(RGB(0, 255, 255)));
  DestroyWindow(dialog);
  DeleteObject(cyan);
  DeleteObject(blue);
}

// --- Helpers. ---

TEST_F(DialogTest, DialogItemNumbersReadAsTheHandheldReadsThem) {
  RegisterDialogTemplates(kFormTemplate);
  HWND dialog = CreateDialogParam(nullptr, MAKEINTRESOURCE(9010), main_, &ScriptProc, 0);
  struct Case {
    const char16_t* text;
    BOOL is_signed;
    UINT value;
    BOOL translated;
  };
  const Case cases[] = {
      {u"28", FALSE, 28, TRUE},
      {u"", FALSE, 0, FALSE},
      {u" 7 ", FALSE, 7, TRUE},
      {u"12a", FALSE, 0, FALSE},
      {u"-5", TRUE, static_cast<UINT>(-5), TRUE},
      {u"-5", FALSE, 0, FALSE},
      {u"4294967295", FALSE, 4294967295u, TRUE},
      {u"4294967296", FALSE, 0, FALSE},
      {u"2147483648", TRUE, 0, FALSE},
      {u"-2147483648", TRUE, 0x80000000u, TRUE},
  };
  for (const Case& c : cases) {
    SetDlgItemText(dialog, 101, c.text);
    BOOL translated = 2;
    EXPECT_EQ(GetDlgItemInt(dialog, 101, &translated, c.is_signed), c.value) << ToUtf8(c.text);
    EXPECT_EQ(translated, c.translated) << ToUtf8(c.text);
  }
  SetDlgItemInt(dialog, 101, static_cast<UINT>(-40), TRUE);
  EXPECT_EQ(GetWindowString(GetDlgItem(dialog, 101)), u"-40");
  SetDlgItemInt(dialog, 101, 4000000000u, FALSE);
  EXPECT_EQ(GetWindowString(GetDlgItem(dialog, 101)), u"4000000000");
  char16_t buffer[4];
  EXPECT_EQ(GetDlgItemText(dialog, 101, buffer, 4), 3u);
  EXPECT_EQ(std::u16string(buffer), u"400");
  EXPECT_EQ(GetDlgItemText(dialog, 555, buffer, 4), 0u);
  EXPECT_EQ(buffer[0], u'\0');
  DestroyWindow(dialog);
}

TEST_F(DialogTest, CheckRadioButtonChecksOneOfARange) {
  RegisterDialogTemplates(kRadioTemplate);
  HWND dialog = CreateDialogParam(nullptr, MAKEINTRESOURCE(9011), main_, &ScriptProc, 0);
  EXPECT_TRUE(CheckRadioButton(dialog, 11, 13, 13));
  EXPECT_EQ(IsDlgButtonChecked(dialog, 11), 0u);
  EXPECT_EQ(IsDlgButtonChecked(dialog, 13), 1u);
  EXPECT_TRUE(CheckDlgButton(dialog, 11, BST_CHECKED));
  EXPECT_EQ(IsDlgButtonChecked(dialog, 11), 1u);
  EXPECT_FALSE(CheckDlgButton(dialog, 99, BST_CHECKED));
  DestroyWindow(dialog);
}

TEST_F(DialogTest, EveryStandardControlClassIsRegistered) {
  for (const char16_t* name : StandardControlClasses()) {
    HWND control =
        CreateWindowEx(0, name, u"", WS_CHILD, 0, 0, 20, 20, main_, nullptr, nullptr, nullptr);
    EXPECT_NE(control, nullptr) << ToUtf8(name);
    EXPECT_EQ(GetClassName(control), name);
    DestroyWindow(control);
  }
}

}  // namespace
