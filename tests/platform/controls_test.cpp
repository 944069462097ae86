// The standard controls as a user and a screen meet them: taps, keys and typing go in through
// the headless display, and the test reads the notifications the dialog procedure heard, in
// order, and the controls' answers to their messages.
#include <gtest/gtest.h>

#include <algorithm>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "platform/clipboard.h"
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

using Command = std::pair<int, int>;  // (control id, notification)

struct Heard {
  std::vector<Command> commands;
  std::vector<std::pair<UINT, int>> colours;  // (WM_CTLCOLOR*, control id)
  int dialog_taps = 0;
  std::function<void(HWND, WPARAM)> on_command;
};
Heard* g_heard = nullptr;

INT_PTR RecordingProc(HWND dialog, UINT message, WPARAM wparam, LPARAM lparam) {
  switch (message) {
    case WM_INITDIALOG:
      return TRUE;
    case WM_COMMAND:
      g_heard->commands.push_back({LOWORD(wparam), HIWORD(wparam)});
      if (g_heard->on_command) g_heard->on_command(dialog, wparam);
      return TRUE;
    case WM_CTLCOLORBTN:
    case WM_CTLCOLORSTATIC:
    case WM_CTLCOLOREDIT:
    case WM_CTLCOLORLISTBOX:
      g_heard->colours.push_back({message, GetDlgCtrlID(reinterpret_cast<HWND>(lparam))});
      return FALSE;
    case WM_LBUTTONDOWN:
      ++g_heard->dialog_taps;
      return TRUE;
    default:
      return FALSE;
  }
}

constexpr DWORD kTab = WS_TABSTOP;

constexpr DialogItemTemplate kItems[] = {
    {u"EDIT", 101, u"", WS_BORDER | ES_AUTOHSCROLL | kTab, 0, 4, 4, 60, 12},
    {u"BUTTON", 1, u"OK", BS_DEFPUSHBUTTON | kTab, 0, 70, 4, 30, 12},
    {u"BUTTON", 2, u"Cancel", BS_PUSHBUTTON | kTab, 0, 104, 4, 30, 12},
    {u"COMBOBOX", 160, u"", CBS_DROPDOWNLIST | WS_VSCROLL | kTab, 0, 4, 20, 60, 57},
    {u"COMBOBOX", 161, u"", CBS_DROPDOWN | kTab, 0, 70, 20, 60, 40},
    {u"BUTTON", 110, u"Auto", BS_AUTOCHECKBOX | kTab, 0, 4, 34, 60, 10},
    {u"BUTTON", 111, u"Plain", BS_CHECKBOX | kTab, 0, 70, 34, 60, 10},
    {u"BUTTON", 120, u"A", BS_AUTORADIOBUTTON | WS_GROUP | kTab, 0, 4, 46, 30, 10},
    {u"BUTTON", 121, u"B", BS_AUTORADIOBUTTON, 0, 36, 46, 30, 10},
    {u"BUTTON", 130, u"C", BS_AUTORADIOBUTTON | WS_GROUP | kTab, 0, 70, 46, 30, 10},
    {u"BUTTON", 131, u"D", BS_AUTORADIOBUTTON, 0, 102, 46, 30, 10},
    {u"STATIC", 140, u"Tap me", SS_NOTIFY | WS_GROUP, 0, 4, 58, 40, 10},
    {u"STATIC", 141, u"Label", SS_LEFT, 0, 50, 58, 40, 10},
    {u"EDIT", 102, u"", ES_NUMBER | WS_BORDER | kTab, 0, 4, 70, 30, 12},
    {u"EDIT", 103, u"", ES_MULTILINE | ES_WANTRETURN | ES_AUTOVSCROLL | WS_BORDER | kTab, 0, 40, 70,
     60, 24},
    {u"EDIT", 104, u"date", ES_READONLY | WS_BORDER | kTab, 0, 104, 70, 30, 12},
    {u"LISTBOX", 150, u"", LBS_NOTIFY | WS_VSCROLL | WS_BORDER | kTab, 0, 4, 98, 70, 40},
    {u"LISTBOX", 151, u"", WS_BORDER | LBS_SORT | kTab, 0, 80, 98, 50, 20},
    {u"BUTTON", 170, u"Group", BS_GROUPBOX, 0, 80, 120, 50, 20},
};
constexpr DialogTemplate kTemplate[] = {
    {9100, nullptr, WS_CHILD | WS_VISIBLE, 0, 0, 137, 153, u"System", 8, kItems}};

class ControlTest : public calvira::testing::HeadlessWindowTest {
 protected:
  void SetUp() override {
    HeadlessWindowTest::SetUp();
    g_heard = &heard_;
    RegisterDialogTemplates(kTemplate);
    dialog_ = CreateDialogParam(nullptr, MAKEINTRESOURCE(9100), main_, &RecordingProc, 0);
    ASSERT_NE(dialog_, nullptr);
    Pump();
    heard_ = {};
  }
  void TearDown() override {
    HeadlessWindowTest::TearDown();
    g_heard = nullptr;
  }

  void Pump() {
    MSG msg;
    while (PeekMessage(&msg, nullptr, 0, 0, PM_REMOVE)) {
      if (!IsDialogMessage(dialog_, &msg)) {
        TranslateMessage(&msg);
        DispatchMessage(&msg);
      }
    }
  }
  HWND Item(int id) const { return GetDlgItem(dialog_, id); }
  static POINT Centre(HWND window) {
    RECT r;
    GetWindowRect(window, &r);
    return {(r.left + r.right) / 2, (r.top + r.bottom) / 2};
  }
  static void Pen(InputEvent::Kind kind, POINT p) { InjectInput({kind, p.x, p.y, 0, 0}); }
  void TapAt(POINT p) {
    Pen(InputEvent::Kind::kPenDown, p);
    Pen(InputEvent::Kind::kPenUp, p);
    Pump();
  }
  void Tap(int id) { TapAt(Centre(Item(id))); }
  void Key(UINT key, bool shift = false) {
    if (shift) InjectInput({InputEvent::Kind::kKeyDown, 0, 0, VK_SHIFT, 0});
    InjectInput({InputEvent::Kind::kKeyDown, 0, 0, key, 0});
    InjectInput({InputEvent::Kind::kKeyUp, 0, 0, key, 0});
    if (shift) InjectInput({InputEvent::Kind::kKeyUp, 0, 0, VK_SHIFT, 0});
    Pump();
  }
  void Type(std::u16string_view text) {
    for (char16_t c : text) InjectInput({InputEvent::Kind::kChar, 0, 0, 0, c});
    Pump();
  }
  std::pair<DWORD, DWORD> Selection(int id) const {
    DWORD start = 0, end = 0;
    SendMessage(Item(id), EM_GETSEL, reinterpret_cast<WPARAM>(&start),
                reinterpret_cast<LPARAM>(&end));
    return {start, end};
  }
  std::u16string Text(int id) const { return GetWindowString(Item(id)); }
  LRESULT Send(int id, UINT message, WPARAM wparam = 0, LPARAM lparam = 0) const {
    return SendMessage(Item(id), message, wparam, lparam);
  }
  LRESULT Add(int id, const char16_t* text, UINT message = LB_ADDSTRING) const {
    return Send(id, message, 0, reinterpret_cast<LPARAM>(text));
  }

  HWND dialog_ = nullptr;
  Heard heard_;
};

// --- Buttons. ---

TEST_F(ControlTest, AButtonTapReportsOnReleaseAfterTheFieldItLeft) {
  SetFocus(Item(101));
  Pump();
  heard_ = {};
  Tap(2);
  const std::vector<Command> expected = {{101, EN_KILLFOCUS}, {2, BN_CLICKED}};
  EXPECT_EQ(heard_.commands, expected);
  EXPECT_EQ(GetFocus(), Item(2));
  EXPECT_EQ(GetCapture(), nullptr);

  // Down on it, off it, up elsewhere: no click, and it does not stay pressed.
  heard_ = {};
  RECT r;
  GetWindowRect(Item(2), &r);
  Pen(InputEvent::Kind::kPenDown, Centre(Item(2)));
  Pump();
  EXPECT_TRUE(Send(2, BM_GETSTATE) & BST_PUSHED);
  Pen(InputEvent::Kind::kPenMove, {r.left + 2, r.bottom + 20});
  Pump();
  EXPECT_FALSE(Send(2, BM_GETSTATE) & BST_PUSHED);
  Pen(InputEvent::Kind::kPenUp, {r.left + 2, r.bottom + 20});
  Pump();
  EXPECT_TRUE(heard_.commands.empty());
  EXPECT_EQ(GetCapture(), nullptr);
}

TEST_F(ControlTest, ACheckBoxClickedWithThePenIsCheckedAndFocused) {
  Tap(110);
  EXPECT_EQ(Send(110, BM_GETSTATE), 9);  // BST_CHECKED | BST_FOCUS
  EXPECT_EQ(Send(110, BM_GETCHECK), BST_CHECKED);
  Tap(110);
  EXPECT_EQ(Send(110, BM_GETSTATE), 8);
  // A plain check box reports the click and leaves its state to the program.
  Tap(111);
  EXPECT_EQ(Send(111, BM_GETCHECK), BST_UNCHECKED);
  Send(111, BM_SETCHECK, BST_INDETERMINATE);
  EXPECT_EQ(Send(111, BM_GETCHECK), BST_CHECKED);
  const std::vector<Command> expected = {
      {101, EN_KILLFOCUS}, {110, BN_CLICKED}, {110, BN_CLICKED}, {111, BN_CLICKED}};
  EXPECT_EQ(heard_.commands, expected);
  Send(110, BM_CLICK);
  EXPECT_EQ(Send(110, BM_GETCHECK), BST_CHECKED);
}

TEST_F(ControlTest, AnAutoRadioButtonUnchecksTheOthersOfItsGroupOnly) {
  Send(120, BM_SETCHECK, BST_CHECKED);
  Send(130, BM_SETCHECK, BST_CHECKED);
  EnableWindow(Item(121), FALSE);
  Send(121, BM_SETCHECK, BST_CHECKED);  // even a disabled member is part of the group
  Tap(131);
  struct Expect {
    int id;
    LRESULT check;
  };
  for (Expect e : {Expect{120, 1}, Expect{121, 1}, Expect{130, 0}, Expect{131, 1}}) {
    EXPECT_EQ(Send(e.id, BM_GETCHECK), e.check) << e.id;
  }
  EnableWindow(Item(121), TRUE);
  Tap(121);
  for (Expect e : {Expect{120, 0}, Expect{121, 1}, Expect{130, 0}, Expect{131, 1}}) {
    EXPECT_EQ(Send(e.id, BM_GETCHECK), e.check) << e.id;
  }
}

TEST_F(ControlTest, EachControlTellsTheDialogManagerWhatItWants) {
  struct Case {
    int id;
    LRESULT code;
  };
  const Case cases[] = {
      {1, DLGC_BUTTON | DLGC_DEFPUSHBUTTON},
      {2, DLGC_BUTTON | DLGC_UNDEFPUSHBUTTON},
      {110, DLGC_BUTTON},
      {120, DLGC_BUTTON | DLGC_RADIOBUTTON},
      {170, DLGC_STATIC},
      {140, DLGC_STATIC},
      {101, DLGC_WANTCHARS | DLGC_HASSETSEL | DLGC_WANTARROWS},
      {103, DLGC_WANTCHARS | DLGC_HASSETSEL | DLGC_WANTARROWS | DLGC_WANTALLKEYS},
      {150, DLGC_WANTARROWS | DLGC_WANTCHARS},
      {160, DLGC_WANTARROWS | DLGC_WANTCHARS},
  };
  for (const Case& c : cases) EXPECT_EQ(Send(c.id, WM_GETDLGCODE), c.code) << c.id;
  // A multi-line field keeps Enter only; Tab still moves on.
  MSG tab{Item(103), WM_KEYDOWN, VK_TAB, 0, 0, {}};
  EXPECT_FALSE(Send(103, WM_GETDLGCODE, VK_TAB, reinterpret_cast<LPARAM>(&tab)) & DLGC_WANTALLKEYS);
}

TEST_F(ControlTest, ControlsAskTheirDialogForColoursByKind) {
  InvalidateRect(dialog_, nullptr, TRUE);
  Pump();
  auto asked = [this](int id) {
    std::vector<UINT> out;
    for (auto [message, control] : heard_.colours) {
      if (control == id) out.push_back(message);
    }
    return out;
  };
  const std::pair<int, UINT> cases[] = {
      {1, WM_CTLCOLORBTN},      {110, WM_CTLCOLORBTN},     {120, WM_CTLCOLORBTN},
      {170, WM_CTLCOLORBTN},    {141, WM_CTLCOLORSTATIC},  {101, WM_CTLCOLOREDIT},
      {104, WM_CTLCOLORSTATIC}, {150, WM_CTLCOLORLISTBOX}, {160, WM_CTLCOLOREDIT},
  };
  for (auto [id, message] : cases) {
    const std::vector<UINT> got = asked(id);
    ASSERT_FALSE(got.empty()) << id;
    EXPECT_EQ(got.front(), message) << id;
  }
  // The field of the drop-down combo box asks through the combo box, naming itself.
  HWND field = GetWindow(Item(161), GW_CHILD);
  ASSERT_NE(field, nullptr);
  EXPECT_EQ(asked(GetDlgCtrlID(field)).front(), WM_CTLCOLOREDIT);
}

// --- Statics. ---

TEST_F(ControlTest, AStaticReportsTapsOnlyWithSsNotifyElseTheTapGoesThrough) {
  Tap(140);
  const std::vector<Command> expected = {{140, 0}};  // STN_CLICKED
  EXPECT_EQ(heard_.commands, expected);
  EXPECT_EQ(heard_.dialog_taps, 0);
  Tap(141);
  EXPECT_EQ(heard_.commands.size(), 1u);
  EXPECT_EQ(heard_.dialog_taps, 1);
  // A tap inside a group box reaches the dialog under it, not the frame.
  RECT group;
  GetWindowRect(Item(170), &group);
  TapAt({group.left + 10, group.bottom - 5});
  EXPECT_EQ(heard_.dialog_taps, 2);
  SetWindowText(Item(141), u"Changed");
  RECT update;
  EXPECT_TRUE(GetUpdateRect(Item(141), &update, FALSE));
  EXPECT_EQ(Text(141), u"Changed");
}

// --- Edits. ---

TEST_F(ControlTest, TypingReportsUpdateThenChangeForEachCharacter) {
  SetFocus(Item(101));
  Pump();
  heard_ = {};
  Type(u"ab");
  const std::vector<Command> expected = {
      {101, EN_UPDATE}, {101, EN_CHANGE}, {101, EN_UPDATE}, {101, EN_CHANGE}};
  EXPECT_EQ(heard_.commands, expected);
  EXPECT_EQ(Text(101), u"ab");
  EXPECT_EQ(Selection(101), std::make_pair(DWORD{2}, DWORD{2}));
}

TEST_F(ControlTest, TheLimitAndDigitsOnlyRefuseWithoutChange) {
  SetFocus(Item(102));
  Send(102, EM_LIMITTEXT, 3);
  EXPECT_EQ(Send(102, EM_GETLIMITTEXT), 3);
  Pump();
  heard_ = {};
  Type(u"1x2");
  Type(u"3");
  const size_t after_three = heard_.commands.size();
  Type(u"4");
  EXPECT_EQ(Text(102), u"123");
  const std::vector<Command> tail(heard_.commands.begin() + static_cast<ptrdiff_t>(after_three),
                                  heard_.commands.end());
  EXPECT_EQ(tail, (std::vector<Command>{{102, EN_MAXTEXT}}));
  // The letter made no notification at all: three characters, two notifications each.
  EXPECT_EQ(after_three, 6u);
  EXPECT_EQ(Send(101, EM_GETLIMITTEXT), 30000);
}

TEST_F(ControlTest, SelectionFollowsTheHandheldsRules) {
  SetFocus(Item(101));
  SetWindowText(Item(101), u"hello");
  EXPECT_EQ(Selection(101), std::make_pair(DWORD{0}, DWORD{0}));
  Send(101, EM_SETSEL, 3, 1);  // backwards: the caret at 1
  EXPECT_EQ(Selection(101), std::make_pair(DWORD{1}, DWORD{3}));
  Type(u"X");
  EXPECT_EQ(Text(101), u"hXlo");
  Send(101, EM_SETSEL, 0, static_cast<LPARAM>(-1));
  EXPECT_EQ(Selection(101), std::make_pair(DWORD{0}, DWORD{4}));
  Send(101, EM_SETSEL, static_cast<WPARAM>(-1), 0);  // drops the selection, keeps the caret
  EXPECT_EQ(Selection(101), std::make_pair(DWORD{4}, DWORD{4}));
  Key(VK_HOME);
  Key(VK_RIGHT, true);
  Key(VK_RIGHT, true);
  EXPECT_EQ(Selection(101), std::make_pair(DWORD{0}, DWORD{2}));
  Key(VK_DELETE);
  EXPECT_EQ(Text(101), u"lo");
  Key(VK_END);
  Key(VK_BACK);
  EXPECT_EQ(Text(101), u"l");
  Send(101, EM_LIMITTEXT, 5);
  heard_ = {};
  Send(101, EM_REPLACESEL, 0, reinterpret_cast<LPARAM>(u"abcdefgh"));
  EXPECT_EQ(Text(101), u"labcd");
  EXPECT_NE(std::find(heard_.commands.begin(), heard_.commands.end(), Command{101, EN_MAXTEXT}),
            heard_.commands.end());
  EXPECT_EQ(heard_.commands.back(), (Command{101, EN_CHANGE}));
}

TEST_F(ControlTest, ThePenSelectsByDragging) {
  SetWindowText(Item(101), u"abc");
  RECT r;
  GetWindowRect(Item(101), &r);
  const int32_t y = (r.top + r.bottom) / 2;
  Pen(InputEvent::Kind::kPenDown, {r.left + 2, y});
  Pen(InputEvent::Kind::kPenMove, {r.right - 3, y});
  Pen(InputEvent::Kind::kPenUp, {r.right - 3, y});
  Pump();
  EXPECT_EQ(GetFocus(), Item(101));
  EXPECT_EQ(Selection(101), std::make_pair(DWORD{0}, DWORD{3}));
  EXPECT_EQ(GetCapture(), nullptr);
}

TEST_F(ControlTest, SettingTextReportsForSingleLineFieldsOnly) {
  SetWindowText(Item(101), u"x");
  SetWindowText(Item(103), u"y");
  const std::vector<Command> expected = {{101, EN_UPDATE}, {101, EN_CHANGE}};
  EXPECT_EQ(heard_.commands, expected);
}

TEST_F(ControlTest, AParentCanCutTheTextWhileItChanges) {
  // The length fields keep their first three characters, the caret after them.
  heard_.on_command = [](HWND dialog, WPARAM wparam) {
    if (LOWORD(wparam) != 102 || HIWORD(wparam) != EN_CHANGE) return;
    HWND field = GetDlgItem(dialog, 102);
    const std::u16string text = GetWindowString(field);
    if (text.size() <= 3) return;
    SetWindowText(field, text.substr(0, 3).c_str());
    SendMessage(field, EM_SETSEL, 3, 3);
  };
  SetFocus(Item(102));
  Type(u"1234");
  EXPECT_EQ(Text(102), u"123");
  EXPECT_EQ(Selection(102), std::make_pair(DWORD{3}, DWORD{3}));
}

TEST_F(ControlTest, EnterBreaksTheLineOfAFieldThatWantsItElseItPressesTheDefault) {
  SetFocus(Item(103));
  Type(u"a");
  Key(VK_RETURN);
  Type(u"b");
  EXPECT_EQ(Text(103), u"a\r\nb");
  EXPECT_EQ(Selection(103), std::make_pair(DWORD{4}, DWORD{4}));
  Key(VK_UP);
  EXPECT_EQ(Selection(103), std::make_pair(DWORD{1}, DWORD{1}));
  Key(VK_LEFT);
  Key(VK_DOWN);
  EXPECT_EQ(Selection(103).first, 3u);  // start of the second line
  heard_ = {};
  SetFocus(Item(101));
  Key(VK_RETURN);
  EXPECT_EQ(heard_.commands.back(), (Command{1, BN_CLICKED}));
}

TEST_F(ControlTest, ReadOnlyAndPasswordFields) {
  SetFocus(Item(104));
  Type(u"zz");
  Key(VK_BACK);
  EXPECT_EQ(Text(104), u"date");
  Send(101, EM_SETPASSWORDCHAR, u'*');
  SetWindowText(Item(101), u"secret");
  EXPECT_EQ(Text(101), u"secret");
  EXPECT_TRUE(GetWindowLong(Item(101), GWL_STYLE) & ES_PASSWORD);
  Send(104, EM_SETREADONLY, FALSE);
  Type(u"!");
  EXPECT_EQ(Text(104), u"!date");
}

// --- Password fields. ---

constexpr DialogItemTemplate kPasswordItems[] = {
    {u"EDIT", 201, u"", ES_PASSWORD | ES_AUTOHSCROLL | WS_BORDER | kTab, 0, 4, 4, 100, 12},
    {u"EDIT", 202, u"", ES_AUTOHSCROLL | WS_BORDER | kTab, 0, 4, 20, 100, 12},
};
constexpr DialogTemplate kPasswordTemplate[] = {
    {9101, nullptr, WS_CHILD | WS_VISIBLE, 0, 0, 110, 40, u"System", 8, kPasswordItems}};

class PasswordFieldTest : public calvira::testing::HeadlessWindowTest {
 protected:
  void SetUp() override {
    HeadlessWindowTest::SetUp();
    RegisterDialogTemplates(kPasswordTemplate);
    dialog_ = CreateDialogParam(nullptr, MAKEINTRESOURCE(9101), main_, &QuietProc, 0);
    ASSERT_NE(dialog_, nullptr);
    Pump();
  }
  static INT_PTR QuietProc(HWND, UINT message, WPARAM, LPARAM) {
    return message == WM_INITDIALOG ? TRUE : FALSE;
  }
  void Pump() {
    MSG msg;
    while (PeekMessage(&msg, nullptr, 0, 0, PM_REMOVE)) {
      if (!IsDialogMessage(dialog_, &msg)) {
        TranslateMessage(&msg);
        DispatchMessage(&msg);
      }
    }
  }
  HWND Item(int id) const { return GetDlgItem(dialog_, id); }
  // The field as shown: its text, focused, with the caret and selection given.
  std::vector<uint16_t> Shown(int id, const std::u16string& text, DWORD from, DWORD to) {
    SetWindowText(Item(id), text.c_str());
    SetFocus(Item(id));
    SendMessage(Item(id), EM_SETSEL, from, to);
    Pump();
    RECT r;
    GetWindowRect(Item(id), &r);
    std::vector<uint16_t> pixels;
    for (int32_t y = r.top; y < r.bottom; ++y) {
      for (int32_t x = r.left; x < r.right; ++x) {
        pixels.push_back(FrameBufferPixels()[static_cast<size_t>(y) * kScreenWidth + x]);
      }
    }
    return pixels;
  }
  void KeyWith(UINT modifier, UINT key) {
    InjectInput({InputEvent::Kind::kKeyDown, 0, 0, modifier, 0});
    InjectInput({InputEvent::Kind::kKeyDown, 0, 0, key, 0});
    InjectInput({InputEvent::Kind::kKeyUp, 0, 0, key, 0});
    InjectInput({InputEvent::Kind::kKeyUp, 0, 0, modifier, 0});
    Pump();
  }

  HWND dialog_ = nullptr;
};

TEST_F(PasswordFieldTest, ShowsOneBulletPerCharacterWithTheCaretAndSelectionOnTheBullets) {
  struct Case {
    std::u16string text;
    DWORD from, to;
  };
  for (const Case& c : {Case{u"abc", 3, 3}, Case{u"Wide WWW mm", 1, 6}, Case{u"il1", 0, 2}}) {
    SCOPED_TRACE(ToUtf8(c.text));
    const auto masked = Shown(201, c.text, c.from, c.to);
    EXPECT_EQ(masked, Shown(202, std::u16string(c.text.size(), u'\u2022'), c.from, c.to));
    EXPECT_NE(masked, Shown(202, c.text, c.from, c.to));
    EXPECT_NE(masked, Shown(202, u"", 0, 0));  // the bullets are drawn, not left out
    // The program reads what was typed.
    EXPECT_EQ(GetWindowString(Item(201)), c.text);
  }
  EXPECT_EQ(SendMessage(Item(201), EM_GETPASSWORDCHAR, 0, 0), 0x2022);
}

TEST_F(PasswordFieldTest, NothingCanBeCopiedOrCutOutOfItButItTakesWhatIsPasted) {
  SetWindowText(Item(202), u"visible");
  SendMessage(Item(202), EM_SETSEL, 0, static_cast<LPARAM>(-1));
  SendMessage(Item(202), WM_COPY, 0, 0);
  EXPECT_EQ(GetClipboardText(), u"visible");

  SetWindowText(Item(201), u"secret");
  SetFocus(Item(201));
  SendMessage(Item(201), EM_SETSEL, 0, static_cast<LPARAM>(-1));
  SendMessage(Item(201), WM_COPY, 0, 0);
  SendMessage(Item(201), WM_CUT, 0, 0);
  KeyWith(VK_CONTROL, 'C');
  KeyWith(VK_CONTROL, 'X');
  KeyWith(VK_SHIFT, VK_DELETE);
  EXPECT_EQ(GetClipboardText(), u"visible");
  EXPECT_EQ(GetWindowString(Item(201)), u"secret");

  SetClipboardText(u"pasted\r\nsecond line");
  KeyWith(VK_CONTROL, 'V');
  EXPECT_EQ(GetWindowString(Item(201)), u"pasted");  // one line for a one-line field

  // The plain field cuts and copies as usual.
  SetFocus(Item(202));
  SendMessage(Item(202), EM_SETSEL, 0, 3);
  KeyWith(VK_CONTROL, 'X');
  EXPECT_EQ(GetClipboardText(), u"vis");
  EXPECT_EQ(GetWindowString(Item(202)), u"ible");
}

// --- List boxes. ---

TEST_F(ControlTest, ListBoxMessagesKeepItemsDataAndSelection) {
  struct Step {
    UINT message;
    WPARAM wparam;
    const char16_t* text;
    LRESULT expected;
  };
  const Step steps[] = {
      {LB_ADDSTRING, 0, u"b", 0},
      {LB_ADDSTRING, 0, u"a", 1},
      {LB_ADDSTRING, 0, u"c", 2},
      {LB_INSERTSTRING, 1, u"x", 1},  // b x a c
      {LB_INSERTSTRING, 9, u"y", LB_ERR},
      {LB_GETCURSEL, 0, nullptr, LB_ERR},
      {LB_SETCURSEL, 2, nullptr, 2},
      {LB_DELETESTRING, 0, nullptr, 3},  // x a c; the selection follows "a"
      {LB_GETCURSEL, 0, nullptr, 1},
      {LB_INSERTSTRING, static_cast<WPARAM>(-1), u"Ab", 3},  // x a c Ab
      {LB_FINDSTRING, static_cast<WPARAM>(-1), u"A", 1},
      {LB_FINDSTRING, 1, u"A", 3},
      {LB_FINDSTRING, 3, u"a", 1},  // wraps
      {LB_FINDSTRINGEXACT, static_cast<WPARAM>(-1), u"AB", 3},
      {LB_FINDSTRINGEXACT, static_cast<WPARAM>(-1), u"A b", LB_ERR},
      {LB_GETTEXTLEN, 3, nullptr, 2},
      {LB_GETTEXTLEN, 4, nullptr, LB_ERR},
      {LB_SETSEL, 1, nullptr, 0},  // lParam below: 2
      {LB_GETSEL, 2, nullptr, 1},
      {LB_GETSEL, 1, nullptr, 0},
      {LB_DELETESTRING, 2, nullptr, 3},  // the selected item goes
      {LB_GETCURSEL, 0, nullptr, LB_ERR},
      {LB_SETCURSEL, 7, nullptr, LB_ERR},
      {LB_SETCURSEL, static_cast<WPARAM>(-1), nullptr, LB_ERR},
      {LB_GETCOUNT, 0, nullptr, 3},
  };
  for (const Step& s : steps) {
    const LPARAM lparam = s.message == LB_SETSEL ? 2 : reinterpret_cast<LPARAM>(s.text);
    EXPECT_EQ(Send(150, s.message, s.wparam, lparam), s.expected)
        << "message 0x" << std::hex << s.message << " wparam " << std::dec << s.wparam;
  }
  char16_t buffer[8] = {};
  EXPECT_EQ(Send(150, LB_GETTEXT, 2, reinterpret_cast<LPARAM>(buffer)), 2);
  EXPECT_EQ(std::u16string(buffer), u"Ab");
  EXPECT_EQ(Send(150, LB_SETITEMDATA, 1, 1234), 0);
  EXPECT_EQ(Send(150, LB_GETITEMDATA, 1), 1234);
  EXPECT_EQ(Send(150, LB_GETITEMDATA, 5), LB_ERR);
  Send(150, LB_RESETCONTENT);
  EXPECT_EQ(Send(150, LB_GETCOUNT), 0);
  EXPECT_TRUE(heard_.commands.empty());  // nothing the program does is reported

  // A sorted list ignores case and keeps equal items in the order they came.
  for (const char16_t* s : {u"pear", u"Apple", u"banana", u"apple"}) Add(151, s);
  const char16_t* order[] = {u"Apple", u"apple", u"banana", u"pear"};
  for (int i = 0; i < 4; ++i) {
    Send(151, LB_GETTEXT, static_cast<WPARAM>(i), reinterpret_cast<LPARAM>(buffer));
    EXPECT_EQ(std::u16string(buffer), order[i]) << i;
  }
}

TEST_F(ControlTest, AListReportsTapsAndKeysButNotTheProgramsSelection) {
  LOGFONT lf{};
  lf.lfHeight = 16;
  lf.lfWeight = 700;
  std::u16string(u"Courier New").copy(lf.lfFaceName, 31);
  HFONT fixed = CreateFontIndirect(&lf);
  Send(150, WM_SETFONT, reinterpret_cast<WPARAM>(fixed), TRUE);
  for (int i = 0; i < 20; ++i) Add(150, std::u16string(1, static_cast<char16_t>(u'a' + i)).c_str());
  RECT r;
  GetWindowRect(Item(150), &r);
  // Rows are the font's 16-pixel cell inside the 1-pixel border.
  TapAt({r.left + 10, r.top + 1 + 16 * 2 + 3});
  EXPECT_EQ(Send(150, LB_GETCURSEL), 2);
  TapAt({r.left + 10, r.top + 1 + 16 * 2 + 3});  // the same item again reports again
  const std::vector<Command> taps = {
      {101, EN_KILLFOCUS}, {150, LBN_SETFOCUS}, {150, LBN_SELCHANGE}, {150, LBN_SELCHANGE}};
  EXPECT_EQ(heard_.commands, taps);
  heard_ = {};
  EXPECT_EQ(Send(150, LB_SETCURSEL, 15), 15);
  EXPECT_TRUE(heard_.commands.empty());
  const auto top = Send(150, LB_GETTOPINDEX);
  const auto visible = (r.Height() - 2) / 16;
  EXPECT_TRUE(top <= 15 && 15 < top + visible) << top;
  Key(VK_DOWN);
  EXPECT_EQ(Send(150, LB_GETCURSEL), 16);
  Send(150, LB_SETCURSEL, 19);
  heard_ = {};
  Key(VK_DOWN);  // already at the end: nothing moves, nothing is said
  EXPECT_TRUE(heard_.commands.empty());
  Key(VK_HOME);
  EXPECT_EQ(Send(150, LB_GETCURSEL), 0);
  EXPECT_EQ(Send(150, LB_GETTOPINDEX), 0);
  // The scroll bar: the down arrow steps a row, the track below the thumb a page.
  TapAt({r.right - 4, r.bottom - 4});
  EXPECT_EQ(Send(150, LB_GETTOPINDEX), 1);
  TapAt({r.right - 4, r.bottom - 16});
  EXPECT_EQ(Send(150, LB_GETTOPINDEX), 1 + visible);
  EXPECT_EQ(Send(150, LB_GETCURSEL), 0);  // scrolling leaves the selection alone
  // Without LBS_NOTIFY a tap selects silently.
  Add(151, u"one");
  heard_ = {};
  RECT quiet;
  GetWindowRect(Item(151), &quiet);
  TapAt({quiet.left + 10, quiet.top + 4});
  EXPECT_EQ(Send(151, LB_GETCURSEL), 0);
  EXPECT_EQ(std::count_if(heard_.commands.begin(), heard_.commands.end(),
                          [](const Command& c) { return c.first == 151; }),
            0);
  Send(150, WM_SETFONT, 0, FALSE);
  DeleteObject(fixed);
}

TEST_F(ControlTest, ADialogDestroyedByANotificationHearsNothingMoreFromIt) {
  struct Case {
    Command destroy_on;
    std::function<void()> act;
  };
  const Case cases[] = {
      {{101, EN_UPDATE}, [this] { Type(u"a"); }},
      {{110, BN_CLICKED}, [this] { Tap(110); }},
      {{150, LBN_SELCHANGE},
       [this] {
         Add(150, u"row");
         RECT r;
         GetWindowRect(Item(150), &r);
         TapAt({r.left + 5, r.top + 4});
       }},
      {{160, CBN_SELCHANGE},
       [this] {
         Add(160, u"one", CB_ADDSTRING);
         Add(160, u"two", CB_ADDSTRING);
         SetFocus(Item(160));
         Key(VK_F4);
         Key(VK_DOWN);
         Key(VK_RETURN);
       }},
  };
  for (const Case& c : cases) {
    if (!IsWindow(dialog_)) {
      dialog_ = CreateDialogParam(nullptr, MAKEINTRESOURCE(9100), main_, &RecordingProc, 0);
      Pump();
    }
    heard_ = {};
    const Command destroy_on = c.destroy_on;
    heard_.on_command = [destroy_on](HWND dialog, WPARAM wparam) {
      if (Command{LOWORD(wparam), HIWORD(wparam)} == destroy_on) DestroyWindow(dialog);
    };
    c.act();
    EXPECT_FALSE(IsWindow(dialog_)) << destroy_on.first;
    ASSERT_FALSE(heard_.commands.empty());
    EXPECT_EQ(heard_.commands.back(), destroy_on);
    EXPECT_EQ(FindWindow(u"ComboLBox", nullptr), nullptr);  // the open list went with it
  }
}

// --- Combo boxes. ---

class ComboTest : public ControlTest {
 protected:
  void SetUp() override {
    ControlTest::SetUp();
    for (const char16_t* s : {u"Doctor", u"Fitness", u"Meeting", u"Party", u"Other"}) {
      Add(160, s, CB_ADDSTRING);
      Add(161, s, CB_ADDSTRING);
    }
    Send(160, CB_SETCURSEL, 0);
    SetFocus(Item(2));  // a button: it says nothing when it loses the focus
    Pump();
    heard_ = {};
  }
  HWND ShownList() const {
    for (HWND w = GetWindow(main_, GW_HWNDNEXT); w != nullptr; w = GetWindow(w, GW_HWNDNEXT)) {
      if (GetClassName(w) == u"ComboLBox" && IsWindowVisible(w)) return w;
    }
    return nullptr;
  }
};

TEST_F(ComboTest, ADropDownListOpensUnderItsFieldAndChoosesByTap) {
  EXPECT_EQ(Text(160), u"Doctor");
  RECT field;
  GetWindowRect(Item(160), &field);
  EXPECT_LT(field.Height(), 30);  // the field alone; the template's height is for the list
  Tap(160);
  EXPECT_TRUE(Send(160, CB_GETDROPPEDSTATE));
  HWND list = ShownList();
  ASSERT_NE(list, nullptr);
  RECT drop;
  GetWindowRect(list, &drop);
  EXPECT_EQ(drop.top, field.bottom);
  EXPECT_EQ(drop.left, field.left);
  EXPECT_EQ(drop.Width(), field.Width());
  const int32_t row = (drop.Height() - 2) / 5;
  TapAt({drop.left + 10, drop.top + 1 + row * 2 + row / 2});
  const std::vector<Command> expected = {{160, CBN_SETFOCUS},
                                         {160, CBN_DROPDOWN},
                                         {160, CBN_SELCHANGE},
                                         {160, CBN_SELENDOK},
                                         {160, CBN_CLOSEUP}};
  EXPECT_EQ(heard_.commands, expected);
  EXPECT_EQ(Send(160, CB_GETCURSEL), 2);
  EXPECT_EQ(Text(160), u"Meeting");
  EXPECT_FALSE(Send(160, CB_GETDROPPEDSTATE));
  EXPECT_EQ(ShownList(), nullptr);
  EXPECT_EQ(GetCapture(), nullptr);
}

TEST_F(ComboTest, ATapElsewhereClosesTheListAndKeepsTheSelection) {
  Tap(160);
  heard_ = {};
  Tap(141);  // the tap closes the list and goes no further
  const std::vector<Command> expected = {{160, CBN_SELENDCANCEL}, {160, CBN_CLOSEUP}};
  EXPECT_EQ(heard_.commands, expected);
  EXPECT_EQ(heard_.dialog_taps, 0);
  EXPECT_EQ(Send(160, CB_GETCURSEL), 0);
  EXPECT_EQ(ShownList(), nullptr);
  // A tap on its own button while open closes it without opening it again.
  Tap(160);
  Tap(160);
  EXPECT_FALSE(Send(160, CB_GETDROPPEDSTATE));
}

TEST_F(ComboTest, TheKeyboardSelectsAndTheProgramSelectsSilently) {
  EXPECT_EQ(Send(160, CB_SETCURSEL, 4), 4);
  EXPECT_EQ(Send(160, CB_SETCURSEL, 9), CB_ERR);
  EXPECT_TRUE(heard_.commands.empty());
  SetFocus(Item(160));
  heard_ = {};
  Key(VK_UP);
  EXPECT_EQ(Send(160, CB_GETCURSEL), 3);
  EXPECT_EQ(heard_.commands, (std::vector<Command>{{160, CBN_SELCHANGE}}));
  // Open with F4, move with the arrows, Esc goes back to where it was.
  Key(VK_F4);
  EXPECT_TRUE(Send(160, CB_GETDROPPEDSTATE));
  Key(VK_DOWN);
  Key(VK_ESCAPE);
  EXPECT_FALSE(Send(160, CB_GETDROPPEDSTATE));
  EXPECT_EQ(Send(160, CB_GETCURSEL), 3);
  // Enter chooses.
  Key(VK_F4);
  Key(VK_UP);
  heard_ = {};
  Key(VK_RETURN);
  EXPECT_EQ(Send(160, CB_GETCURSEL), 2);
  const std::vector<Command> expected = {
      {160, CBN_SELCHANGE}, {160, CBN_SELENDOK}, {160, CBN_CLOSEUP}};
  EXPECT_EQ(heard_.commands, expected);
  char16_t buffer[16];
  EXPECT_EQ(Send(160, CB_GETLBTEXT, 1, reinterpret_cast<LPARAM>(buffer)), 7);
  EXPECT_EQ(std::u16string(buffer), u"Fitness");
  EXPECT_EQ(
      Send(160, CB_FINDSTRINGEXACT, static_cast<WPARAM>(-1), reinterpret_cast<LPARAM>(u"party")),
      3);
}

TEST_F(ComboTest, NearTheBottomTheListOpensAbove) {
  MoveWindow(Item(160), 10, 240, 100, 19, TRUE);
  Tap(160);
  HWND list = ShownList();
  ASSERT_NE(list, nullptr);
  RECT field, drop;
  GetWindowRect(Item(160), &field);
  GetWindowRect(list, &drop);
  EXPECT_EQ(drop.bottom, field.top);
  EXPECT_LE(drop.bottom, kScreenHeight);
}

TEST_F(ComboTest, ADropDownComboBoxHasAFieldToTypeIn) {
  HWND field = GetWindow(Item(161), GW_CHILD);
  ASSERT_NE(field, nullptr);
  Send(161, CB_LIMITTEXT, 4);
  SetFocus(Item(161));
  EXPECT_EQ(GetFocus(), field);
  Type(u"Gymnastics");
  EXPECT_EQ(Text(161), u"Gymn");
  const std::vector<Command> first = {
      {161, CBN_SETFOCUS}, {161, CBN_EDITUPDATE}, {161, CBN_EDITCHANGE}};
  ASSERT_GE(heard_.commands.size(), 3u);
  EXPECT_EQ(std::vector<Command>(heard_.commands.begin(), heard_.commands.begin() + 3), first);
  heard_ = {};
  Send(161, CB_SETCURSEL, 1);
  EXPECT_EQ(Text(161), u"Fitness");
  EXPECT_TRUE(heard_.commands.empty());
  // Down on the field steps through the list.
  Key(VK_DOWN);
  EXPECT_EQ(Text(161), u"Meeting");
  EXPECT_EQ(heard_.commands, (std::vector<Command>{{161, CBN_SELCHANGE}}));
  EXPECT_EQ(Send(160, CB_LIMITTEXT, 4), CB_ERR);
}

}  // namespace
