// The standard controls as a user and a screen meet them: taps, keys and typing go in through the
// window system's input, and the test reads the notifications the dialog heard, in order, and the
// controls' answers to their messages.
#include <algorithm>
#include <tuple>

#include "platform/clipboard.h"
#include "platform/text.h"
#include "support/headless_window.h"

namespace {

using namespace ce;
using namespace calvira::testing;
using Kind = InputEvent::Kind;

constexpr DWORD kTab = WS_TABSTOP;
constexpr DialogItemTemplate kItems[] = {
    {u"EDIT", 101, u"", WS_BORDER | ES_AUTOHSCROLL | kTab, 0, 4, 4, 60, 12},
    {u"BUTTON", 1, u"OK", BS_DEFPUSHBUTTON | kTab, 0, 70, 4, 30, 12},
    {u"BUTTON", 2, u"Cancel", BS_PUSHBUTTON | kTab, 0, 104, 4, 30, 12},
    {u"COMBOBOX", 160, u"", CBS_DROPDOWNLIST | WS_VSCROLL | kTab, 0, 4, 20, 60, 57},
    {u"BUTTON", 110, u"Auto", BS_AUTOCHECKBOX | kTab, 0, 4, 34, 60, 10},
    {u"BUTTON", 111, u"Plain", BS_CHECKBOX | kTab, 0, 70, 34, 60, 10},
    {u"BUTTON", 120, u"A", BS_AUTORADIOBUTTON | WS_GROUP | kTab, 0, 4, 46, 30, 10},
    {u"BUTTON", 121, u"B", BS_AUTORADIOBUTTON, 0, 36, 46, 30, 10},
    {u"BUTTON", 130, u"C", BS_AUTORADIOBUTTON | WS_GROUP | kTab, 0, 70, 46, 30, 10},
    {u"BUTTON", 131, u"D", BS_AUTORADIOBUTTON, 0, 102, 46, 30, 10},
    {u"STATIC", 141, u"Label", SS_LEFT | WS_GROUP, 0, 50, 58, 40, 10},
    {u"EDIT", 102, u"", ES_NUMBER | WS_BORDER | kTab, 0, 4, 70, 30, 12},
    {u"EDIT", 103, u"", ES_MULTILINE | ES_WANTRETURN | ES_AUTOVSCROLL | WS_BORDER | kTab, 0, 40, 70,
     60, 24},
    {u"EDIT", 104, u"date", ES_READONLY | WS_BORDER | kTab, 0, 104, 70, 30, 12},
    {u"LISTBOX", 150, u"", LBS_NOTIFY | WS_VSCROLL | WS_BORDER | kTab, 0, 4, 98, 70, 40},
    {u"LISTBOX", 151, u"", WS_BORDER | LBS_SORT | kTab, 0, 80, 98, 50, 20},
    {u"BUTTON", 170, u"Group", BS_GROUPBOX, 0, 80, 120, 50, 20},
    {u"EDIT", 201, u"", ES_PASSWORD | ES_AUTOHSCROLL | WS_BORDER | kTab, 0, 4, 140, 60, 12},
};
constexpr DialogTemplate kTemplate[] = {
    {9100, nullptr, WS_CHILD | WS_VISIBLE, 0, 0, 137, 153, u"System", 8, kItems}};

class ControlTest : public DialogTest {
 protected:
  void SetUp() override {
    DialogTest::SetUp();
    RegisterDialogTemplates(kTemplate);
    ASSERT_NE(Open(9100), nullptr);
  }
  std::pair<DWORD, DWORD> Selection(int id) const {
    DWORD start = 0, end = 0;
    Send(id, EM_GETSEL, reinterpret_cast<WPARAM>(&start), reinterpret_cast<LPARAM>(&end));
    return {start, end};
  }
  LRESULT Add(int id, const char16_t* text, UINT message = LB_ADDSTRING) const {
    return Send(id, message, 0, reinterpret_cast<LPARAM>(text));
  }
  // Focuses the control and forgets what that said.
  void Focus(int id) {
    SetFocus(Item(id));
    Pump();
    Forget();
  }
  void PenAt(Kind kind, POINT p) {
    Pen(kind, p);
    Pump();
  }
};

using Command = std::pair<int, int>;
using Commands = std::vector<Command>;
using Sel = std::pair<DWORD, DWORD>;

// --- Buttons and statics. ---

// A tap on a label or a group box is the dialog's.
TEST_F(ControlTest, AButtonReportsAClickOnlyWhenThePenIsLiftedOverItAndALabelLetsTapsThrough) {
  Focus(101);
  TapItem(2);
  EXPECT_EQ(commands_, (Commands{{101, EN_KILLFOCUS}, {2, BN_CLICKED}}));
  EXPECT_EQ(GetFocus(), Item(2));
  // Down on it, dragged off, up elsewhere: no click, and it does not stay pressed.
  Forget();
  const RECT r = Rect(2);
  PenAt(Kind::kPenDown, Centre(r));
  EXPECT_TRUE(Send(2, BM_GETSTATE) & BST_PUSHED);
  PenAt(Kind::kPenMove, {r.left + 2, r.bottom + 20});
  EXPECT_FALSE(Send(2, BM_GETSTATE) & BST_PUSHED);
  PenAt(Kind::kPenUp, {r.left + 2, r.bottom + 20});
  EXPECT_EQ(GetCapture(), nullptr);
  TapItem(141);
  const RECT group = Rect(170);
  TapAt(group.left + 10, group.bottom - 5);
  EXPECT_TRUE(commands_.empty());
  EXPECT_EQ(dialog_taps_, 2);
}

TEST_F(ControlTest, CheckBoxesAndRadioButtonsKeepTheirStateByTheirKind) {
  TapItem(110);
  EXPECT_EQ(Send(110, BM_GETSTATE), 9);  // checked and focused, right after the pen
  TapItem(110);
  EXPECT_EQ(Send(110, BM_GETSTATE), 8);
  // A plain check box reports the click and leaves its state to the program.
  TapItem(111);
  EXPECT_EQ(Send(111, BM_GETCHECK), BST_UNCHECKED);
  EXPECT_EQ(
      commands_,
      (Commands{{101, EN_KILLFOCUS}, {110, BN_CLICKED}, {110, BN_CLICKED}, {111, BN_CLICKED}}));

  // An auto radio button unchecks the others of its group only; the program chooses one of a
  // range.
  EXPECT_TRUE(CheckDlgButton(dialog_, 120, BST_CHECKED));
  EXPECT_FALSE(CheckDlgButton(dialog_, 99, BST_CHECKED));
  EXPECT_TRUE(CheckRadioButton(dialog_, 130, 131, 130));
  TapItem(131);
  TapItem(121);
  for (auto [id, check] : {std::pair{120, 0}, {121, 1}, {130, 0}, {131, 1}}) {
    EXPECT_EQ(IsDlgButtonChecked(dialog_, id), static_cast<UINT>(check)) << id;
  }
}

// --- Edits. ---

TEST_F(ControlTest, TypingAndSettingTextReportUpdateThenChange) {
  Focus(101);
  TypeText(u"ab");
  EXPECT_EQ(Text(101), u"ab");
  EXPECT_EQ(Selection(101), (Sel{2, 2}));
  SetWindowText(Item(101), u"x");
  SetWindowText(Item(103), u"y");  // a multi-line field says nothing
  const Command update{101, EN_UPDATE}, change{101, EN_CHANGE};
  EXPECT_EQ(commands_, (Commands{update, change, update, change, update, change}));
}

TEST_F(ControlTest, TheLimitDigitsOnlyAndReadOnlyRefuseWithoutAWord) {
  Send(102, EM_LIMITTEXT, 3);
  Focus(102);
  TypeText(u"1x23");  // the letter makes no notification at all
  EXPECT_EQ(commands_.size(), 6u);
  TypeText(u"4");
  EXPECT_EQ(Text(102), u"123");
  EXPECT_EQ(commands_.back(), (Command{102, EN_MAXTEXT}));
  EXPECT_EQ(commands_.size(), 7u);
  SetFocus(Item(104));
  TypeText(u"zz");
  Press(VK_BACK);
  EXPECT_EQ(Text(104), u"date");
}

// Limits and reads count code units, but a character of two (an emoji) is never cut in half:
// typed, pasted or read at the boundary, it goes whole or not at all.
TEST_F(ControlTest, ALimitOrAShortBufferNeverCutsACharacterInTwo) {
  const std::u16string moon = u"\U0001F319";
  for (const size_t limit : {3u, 20u, 199u}) {
    const std::u16string head(limit - 1, u'n');
    Send(101, EM_LIMITTEXT, limit);
    SetWindowText(Item(101), head.c_str());
    SetFocus(Item(101));
    Send(101, EM_SETSEL, limit, limit);
    TypeText(moon);
    EXPECT_EQ(Text(101), head) << limit;
    Send(101, EM_REPLACESEL, 0, reinterpret_cast<LPARAM>(moon.c_str()));  // as a paste
    EXPECT_EQ(Text(101), head) << limit;
    Send(101, EM_LIMITTEXT, limit + 1);
    SetWindowText(Item(101), (head + moon).c_str());
    std::u16string read(limit + 1, u'\0');  // room for `limit` units and the end
    EXPECT_EQ(GetWindowText(Item(101), read.data(), static_cast<int>(read.size())),
              static_cast<int>(limit - 1));
    EXPECT_EQ(read.c_str(), head) << limit;
  }
}

TEST_F(ControlTest, TheProgramsSelectionAndReplacementFollowTheHandheldsRules) {
  SetFocus(Item(101));
  SetWindowText(Item(101), u"hello");
  EXPECT_EQ(Selection(101), (Sel{0, 0}));
  Send(101, EM_SETSEL, 3, 1);  // backwards: the caret at 1
  EXPECT_EQ(Selection(101), (Sel{1, 3}));
  TypeText(u"X");
  EXPECT_EQ(Text(101), u"hXlo");
  Send(101, EM_SETSEL, 0, static_cast<LPARAM>(-1));
  EXPECT_EQ(Selection(101), (Sel{0, 4}));
  Send(101, EM_SETSEL, static_cast<WPARAM>(-1), 0);  // drops the selection, keeps the caret
  EXPECT_EQ(Selection(101), (Sel{4, 4}));
  Press(VK_BACK);
  EXPECT_EQ(Text(101), u"hXl");
}

TEST_F(ControlTest, EnterBreaksTheLineOfAFieldThatWantsIt) {
  SetFocus(Item(103));
  TypeText(u"a");
  Press(VK_RETURN);
  TypeText(u"b");
  EXPECT_EQ(Text(103), u"a\r\nb");
  Press(VK_UP);
  EXPECT_EQ(Selection(103), (Sel{1, 1}));
  Press(VK_LEFT);
  Press(VK_DOWN);
  EXPECT_EQ(Selection(103).first, 3u);  // start of the second line
  Press(VK_TAB);                        // Tab still moves on
  EXPECT_EQ(FocusId(), 104);
}

// The edit keys and the clipboard. A paste keeps the field's rules as typing does: a number
// whole or not at all, one line in a one-line field, no control character, no half character,
// the limit. Nothing ever leaves a password field.
TEST_F(ControlTest, EditKeysCopyCutAndPasteKeepTheFieldsRules) {
  const std::pair<UINT, UINT> all{'A', VK_CONTROL}, copy{'C', VK_CONTROL}, cut{'X', VK_CONTROL},
      paste{'V', VK_CONTROL}, end{VK_END, 0}, extend{VK_RIGHT, VK_SHIFT};
  const struct {
    int id;  // 101 one line, 102 digits, 103 multi-line, 104 read-only, 201 password
    const char16_t *before, *clipboard;
    std::vector<std::pair<UINT, UINT>> keys;
    const char16_t* after;
    const char16_t* clipboard_after = nullptr;  // the same clipboard
    size_t limit = 30000;
  } kRows[] = {
      {101, u"visible", u"", {extend, extend, extend, cut}, u"ible", u"vis"},
      {101, u"hello", u"", {all, copy, end, paste}, u"hellohello", u"hello"},
      {201, u"secret", u"visible", {all, copy, cut, {VK_DELETE, VK_SHIFT}}, u"secret"},
      {201, u"secret", u"pasted\r\nsecond line", {all, paste}, u"pasted"},
      {102, u"", u" 28\n", {paste}, u"28"},
      {102, u"7", u"2.5", {end, paste}, u"7"},
      {102, u"7", u"28 days", {end, paste}, u"7"},
      {102, u"", u"12345", {paste}, u"", nullptr, 3},
      {101, u"ab", u"cdefgh", {end, paste}, u"abcde", nullptr, 5},
      {101, u"", u"\r\na\tb\x1Bz\r\nnext line", {paste}, u"abz"},
      {101, u"", u"x\xD83Dy\xDE19\U0001F319", {paste}, u"xy\U0001F319"},
      {103, u"", u"a\nb\tc\r\nd", {paste}, u"a\r\nbc\r\nd"},
      {104, u"date", u"x", {all, cut, paste}, u"date"},
  };
  for (const auto& row : kRows) {
    SCOPED_TRACE("row " + std::to_string(&row - kRows));
    SetClipboardText(row.clipboard);
    Send(row.id, EM_LIMITTEXT, row.limit);
    SetWindowText(Item(row.id), row.before);
    SetFocus(Item(row.id));
    for (const auto& [key, modifier] : row.keys) Press(key, modifier);
    EXPECT_EQ(Text(row.id), row.after);
    EXPECT_EQ(GetClipboardText(), row.clipboard_after ? row.clipboard_after : row.clipboard);
  }
}

// --- List boxes. ---

TEST_F(ControlTest, ListBoxMessagesKeepItemsDataAndSelection) {
  // (message, wparam, text as lparam, answer)
  const std::tuple<UINT, WPARAM, const char16_t*, LRESULT> steps[] = {
      {LB_ADDSTRING, 0, u"b", 0},         {LB_ADDSTRING, 0, u"a", 1},
      {LB_ADDSTRING, 0, u"Ab", 2},        {LB_GETCURSEL, 0, nullptr, LB_ERR},
      {LB_SETCURSEL, 2, nullptr, 2},      {LB_GETCURSEL, 0, nullptr, 2},
      {LB_GETTEXTLEN, 2, nullptr, 2},     {LB_GETTEXTLEN, 3, nullptr, LB_ERR},
      {LB_SETCURSEL, 7, nullptr, LB_ERR}, {LB_SETCURSEL, static_cast<WPARAM>(-1), nullptr, LB_ERR},
      {LB_GETCURSEL, 0, nullptr, LB_ERR}, {LB_GETCOUNT, 0, nullptr, 3},
  };
  for (const auto& [message, wparam, text, expected] : steps) {
    EXPECT_EQ(Send(150, message, wparam, reinterpret_cast<LPARAM>(text)), expected)
        << "message 0x" << std::hex << message << " wparam " << std::dec << wparam;
  }
  char16_t buffer[8] = {};
  EXPECT_EQ(Send(150, LB_GETTEXT, 2, reinterpret_cast<LPARAM>(buffer)), 2);
  EXPECT_EQ(std::u16string(buffer), u"Ab");
  Send(150, LB_RESETCONTENT);
  EXPECT_EQ(Send(150, LB_GETCOUNT), 0);
  EXPECT_TRUE(commands_.empty());  // nothing the program does is reported
}

TEST_F(ControlTest, AListReportsTapsButNotTheProgramsSelectionAndScrolls) {
  for (char16_t c = u'a'; c < u'a' + 20; ++c) Add(150, std::u16string(1, c).c_str());
  const RECT r = Rect(150);
  const auto row = static_cast<int32_t>(Send(150, LB_GETITEMHEIGHT));
  // Rows lie inside the 1-pixel border; the same row again reports again.
  TapAt(r.left + 10, r.top + 1 + row * 2 + 3);
  TapAt(r.left + 10, r.top + 1 + row * 2 + 3);
  EXPECT_EQ(Send(150, LB_GETCURSEL), 2);
  EXPECT_EQ(
      commands_,
      (Commands{
          {101, EN_KILLFOCUS}, {150, LBN_SETFOCUS}, {150, LBN_SELCHANGE}, {150, LBN_SELCHANGE}}));
  Forget();
  EXPECT_EQ(Send(150, LB_SETCURSEL, 15), 15);  // shown, and silently
  const auto top = Send(150, LB_GETTOPINDEX);
  const auto visible = (r.Height() - 2) / row;
  EXPECT_TRUE(top <= 15 && 15 < top + visible) << top;
  EXPECT_TRUE(commands_.empty());
  Send(150, LB_SETCURSEL, 0);
  // The scroll bar: the down arrow steps a row, the track below the thumb a page; the
  // selection stays.
  EXPECT_EQ(Send(150, LB_GETTOPINDEX), 0);
  TapAt(r.right - 4, r.bottom - 4);
  EXPECT_EQ(Send(150, LB_GETTOPINDEX), 1);
  TapAt(r.right - 4, r.bottom - 16);
  EXPECT_EQ(Send(150, LB_GETTOPINDEX), 1 + visible);
  EXPECT_EQ(Send(150, LB_GETCURSEL), 0);
  // Without LBS_NOTIFY a tap selects silently.
  Add(151, u"one");
  Forget();
  TapAt(Rect(151).left + 10, Rect(151).top + 4);
  EXPECT_EQ(Send(151, LB_GETCURSEL), 0);
  EXPECT_TRUE(std::none_of(commands_.begin(), commands_.end(),
                           [](const Command& c) { return c.first == 151; }));
}

TEST_F(ControlTest, ADialogDestroyedByANotificationHearsNothingMoreFromIt) {
  // (the notification the dialog is destroyed on, what makes it)
  const std::pair<Command, std::function<void()>> cases[] = {
      {{101, EN_UPDATE}, [this] { TypeText(u"a"); }},
      {{110, BN_CLICKED}, [this] { TapItem(110); }},
      {{150, LBN_SELCHANGE},
       [this] {
         Add(150, u"row");
         TapAt(Rect(150).left + 5, Rect(150).top + 4);
       }},
      {{160, CBN_SELCHANGE},
       [this] {
         Add(160, u"one", CB_ADDSTRING);
         Add(160, u"two", CB_ADDSTRING);
         SetFocus(Item(160));
         Press(VK_F4);
         Press(VK_DOWN);
         Press(VK_RETURN);
       }},
  };
  for (const auto& [destroy_on, act] : cases) {
    if (!IsWindow(dialog_)) Open(9100);
    answer_ = [destroy_on = destroy_on](HWND dialog, UINT message, WPARAM wparam,
                                        LPARAM) -> INT_PTR {
      if (message == WM_COMMAND && Command{LOWORD(wparam), HIWORD(wparam)} == destroy_on) {
        DestroyWindow(dialog);
      }
      return message == WM_INITDIALOG;
    };
    Forget();
    act();
    EXPECT_FALSE(IsWindow(dialog_)) << destroy_on.first;
    ASSERT_FALSE(commands_.empty());
    EXPECT_EQ(commands_.back(), destroy_on);
    EXPECT_EQ(FindWindow(u"ComboLBox", nullptr), nullptr);  // the open list went with it
  }
}

// --- Combo boxes. ---

class ComboTest : public ControlTest {
 protected:
  void SetUp() override {
    ControlTest::SetUp();
    for (const char16_t* s : {u"Doctor", u"Fitness", u"Meeting", u"Party", u"Other"})
      Add(160, s, CB_ADDSTRING);
    Send(160, CB_SETCURSEL, 0);
    Focus(2);  // a button: it says nothing when it loses the focus
  }
  HWND ShownList() const {
    for (HWND w = GetWindow(main_, GW_HWNDNEXT); w != nullptr; w = GetWindow(w, GW_HWNDNEXT)) {
      if (GetClassName(w) == u"ComboLBox" && IsWindowVisible(w)) return w;
    }
    return nullptr;
  }
};

TEST_F(ComboTest, ADropDownListOpensUnderOrAboveItsFieldChoosesByTapAndClosesOnATapElsewhere) {
  EXPECT_EQ(Text(160), u"Doctor");
  TapItem(160);
  EXPECT_TRUE(Send(160, CB_GETDROPPEDSTATE));
  ASSERT_NE(ShownList(), nullptr);
  RECT drop = RectOf(ShownList());
  const int32_t row = (drop.Height() - 2) / 5;
  TapAt(drop.left + 10, drop.top + 1 + row * 2 + row / 2);
  EXPECT_EQ(commands_, (Commands{{160, CBN_SETFOCUS},
                                 {160, CBN_DROPDOWN},
                                 {160, CBN_SELCHANGE},
                                 {160, CBN_SELENDOK},
                                 {160, CBN_CLOSEUP}}));
  EXPECT_EQ(Text(160), u"Meeting");
  EXPECT_EQ(ShownList(), nullptr);
  EXPECT_EQ(GetCapture(), nullptr);

  // Near the bottom of the screen it opens above.
  MoveWindow(Item(160), 120, 246, 100, 19, TRUE);
  TapItem(160);
  ASSERT_NE(ShownList(), nullptr);
  drop = RectOf(ShownList());
  // A tap elsewhere closes it, goes no further and keeps the selection.
  Forget();
  TapItem(141);
  EXPECT_EQ(commands_, (Commands{{160, CBN_SELENDCANCEL}, {160, CBN_CLOSEUP}}));
  EXPECT_EQ(dialog_taps_, 0);
  EXPECT_EQ(Send(160, CB_GETCURSEL), 2);
  EXPECT_EQ(ShownList(), nullptr);
  // A tap on its own button while open closes it without opening it again.
  TapItem(160);
  TapItem(160);
  EXPECT_FALSE(Send(160, CB_GETDROPPEDSTATE));
}

TEST_F(ComboTest, TheProgramSelectsSilentlyAndAnArrowKeySelectsAloud) {
  EXPECT_EQ(Send(160, CB_SETCURSEL, 4), 4);
  EXPECT_EQ(Send(160, CB_SETCURSEL, 9), CB_ERR);
  EXPECT_EQ(Text(160), u"Other");
  EXPECT_TRUE(commands_.empty());
  Focus(160);
  Press(VK_UP);
  EXPECT_EQ(Send(160, CB_GETCURSEL), 3);
  EXPECT_EQ(commands_, (Commands{{160, CBN_SELCHANGE}}));
}

}  // namespace
