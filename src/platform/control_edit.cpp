// The EDIT class: single-line (scrolling sideways with ES_AUTOHSCROLL) and multi-line (word
// wrap, vertical scrolling) text fields, read-only, digits-only and password fields, a caret,
// selection by pen, by Shift with the arrows and by Ctrl+A, cut, copy and paste through the
// display's clipboard, and the EN_* notifications.
//
// A password field shows one bullet per character and measures the bullets, so the caret and
// the selection stand where the user sees them; the program still reads the real text. Nothing
// can be cut or copied out of it, and its text is wiped from memory whenever it is replaced.
//
// The caret is a steady 1-pixel line: no blink timer, so an idle program stays idle. Line breaks
// typed into a multi-line field are "\r\n", as the handheld stores them; a lone "\n" from
// WM_SETTEXT breaks a line too.

#include <algorithm>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "platform/clipboard.h"
#include "platform/controls_internal.h"
#include "platform/text.h"

namespace ce {
namespace {

constexpr DWORD kRight = 0x2;  // ES_RIGHT
constexpr size_t kDefaultLimit = 30000;
constexpr size_t kNoLimit = 0x7FFFFFFE;
constexpr int32_t kMargin = 2;  // between the frame and the text
constexpr char16_t kBullet = u'\u2022';

// One shown line: text[start, end) is drawn; the next line starts at `next`.
struct Line {
  size_t start = 0;
  size_t end = 0;
  size_t next = 0;
};

struct EditState {
  std::u16string text;
  size_t anchor = 0;  // where the selection started; the caret is its other end
  size_t caret = 0;
  size_t limit = kDefaultLimit;
  std::vector<Line> lines;
  int32_t scroll_x = 0;  // single-line: pixels scrolled off at the left
  size_t top_line = 0;   // multi-line: the first line shown
  bool focused = false;
  bool dragging = false;
  bool in_combo = false;
  char16_t password = 0;
  HFONT font = nullptr;
  // The first half of a character outside the Basic Multilingual Plane, typed as two
  // WM_CHARs: it goes in with its second half or not at all.
  char16_t high_surrogate = 0;
};

ControlStates<EditState>& States() {
  static ControlStates<EditState> states;
  return states;
}

// A context with the field's font, for measuring.
class Measure {
 public:
  explicit Measure(HFONT font) : dc_(GetDC(nullptr)) { SelectObject(dc_, FontOrDefault(font)); }
  ~Measure() { ReleaseDC(nullptr, dc_); }
  Measure(const Measure&) = delete;
  Measure& operator=(const Measure&) = delete;
  int32_t Width(std::u16string_view text) const { return TextWidth(dc_, text); }
  int32_t Cell() const {
    TEXTMETRIC tm{};
    GetTextMetrics(dc_, &tm);
    return std::max<int32_t>(1, tm.tmHeight);
  }

 private:
  HDC dc_;
};

bool Multi(HWND edit) {
  return (StyleOf(edit) & ES_MULTILINE) != 0;
}

// Zeroes a password field's text before its memory goes back to the heap, where a later
// allocation (or a core file) could find it.
void Wipe(const EditState& st, std::u16string& text) {
  if (st.password != 0) WipeText(text);
}

// What is drawn: the text, or as many password characters.
std::u16string Shown(const EditState& st) {
  return st.password != 0 ? std::u16string(st.text.size(), st.password) : st.text;
}

// The rectangle the text lives in, in client coordinates.
RECT FormatRect(HWND edit, int32_t cell) {
  RECT client;
  GetClientRect(edit, &client);
  const int32_t border = (StyleOf(edit) & WS_BORDER) ? 1 : 0;
  RECT r{client.left + border + kMargin, client.top + border, client.right - border - kMargin,
         client.bottom - border};
  if (Multi(edit)) {
    r.top += 1;
  } else {
    r.top = client.top + std::max(border, (client.Height() - cell) / 2);
    r.bottom = std::min(r.bottom, r.top + cell);
  }
  if (r.right < r.left) r.right = r.left;
  if (r.bottom < r.top) r.bottom = r.top;
  return r;
}

// Breaks the shown text into lines: at line feeds, and at the last blank that keeps a line
// within `width` (a word wider than the field is cut).
std::vector<Line> LayOut(std::u16string_view shown, bool multi, int32_t width, const Measure& m) {
  if (!multi) return {Line{0, shown.size(), shown.size()}};
  std::vector<Line> lines;
  size_t start = 0;
  while (true) {
    size_t end = shown.find(u'\n', start);
    const bool last = end == std::u16string_view::npos;
    if (last) end = shown.size();
    size_t hard_end = end;
    if (hard_end > start && shown[hard_end - 1] == u'\r') --hard_end;
    size_t pos = start;
    while (hard_end - pos > 1 && m.Width(shown.substr(pos, hard_end - pos)) > width) {
      size_t lo = 1, hi = hard_end - pos;  // the longest prefix that fits, at least one
      while (lo < hi) {
        const size_t mid = (lo + hi + 1) / 2;
        if (m.Width(shown.substr(pos, mid)) <= width) {
          lo = mid;
        } else {
          hi = mid - 1;
        }
      }
      const size_t blank = shown.substr(pos, lo + 1).find_last_of(u' ');
      if (blank != std::u16string_view::npos && blank > 0) {
        lines.push_back({pos, pos + blank, pos + blank + 1});
        pos += blank + 1;
      } else {
        lines.push_back({pos, pos + lo, pos + lo});
        pos += lo;
      }
    }
    lines.push_back({pos, hard_end, last ? shown.size() : end + 1});
    if (last) break;
    start = end + 1;
  }
  return lines;
}

size_t LineOf(const EditState& st, size_t pos) {
  size_t index = 0;
  for (size_t i = 0; i < st.lines.size(); ++i) {
    if (st.lines[i].start <= pos) index = i;
  }
  return index;
}

// Positions never fall between the two characters of a "\r\n".
size_t Previous(const std::u16string& text, size_t pos) {
  if (pos == 0) return 0;
  if (pos >= 2 && text[pos - 2] == u'\r' && text[pos - 1] == u'\n') return pos - 2;
  return pos - 1;
}
size_t Next(const std::u16string& text, size_t pos) {
  if (pos >= text.size()) return text.size();
  if (text[pos] == u'\r' && pos + 1 < text.size() && text[pos + 1] == u'\n') return pos + 2;
  return pos + 1;
}
size_t Normalize(const std::u16string& text, size_t pos) {
  pos = std::min(pos, text.size());
  if (pos > 0 && pos < text.size() && text[pos - 1] == u'\r' && text[pos] == u'\n') --pos;
  return pos;
}

int32_t LineOffset(HWND edit, const EditState& st, const Measure& m, const Line& line,
                   const RECT& format) {
  const DWORD style = StyleOf(edit);
  int32_t offset = 0;
  if (style & (ES_CENTER | kRight)) {
    const std::u16string shown = Shown(st);
    const int32_t width =
        m.Width(std::u16string_view(shown).substr(line.start, line.end - line.start));
    const int32_t spare = std::max(0, format.Width() - width);
    offset = (style & ES_CENTER) ? spare / 2 : spare;
  }
  return format.left + offset - (Multi(edit) ? 0 : st.scroll_x);
}

POINT CaretPoint(HWND edit, const EditState& st, const Measure& m, const RECT& format) {
  const size_t index = LineOf(st, st.caret);
  const Line& line = st.lines[index];
  const std::u16string shown = Shown(st);
  const size_t upto = std::min(st.caret, line.end);
  const int32_t x = LineOffset(edit, st, m, line, format) +
                    m.Width(std::u16string_view(shown).substr(line.start, upto - line.start));
  const int32_t y = format.top + static_cast<int32_t>(index) * m.Cell() -
                    static_cast<int32_t>(st.top_line) * m.Cell();
  return {x, y};
}

size_t PositionInLine(HWND edit, const EditState& st, const Measure& m, size_t index, int32_t x,
                      const RECT& format) {
  const Line& line = st.lines[index];
  const std::u16string shown = Shown(st);
  const std::u16string_view text =
      std::u16string_view(shown).substr(line.start, line.end - line.start);
  const int32_t rel = x - LineOffset(edit, st, m, line, format);
  size_t lo = 0, hi = text.size();  // the last prefix that ends left of x
  while (lo < hi) {
    const size_t mid = (lo + hi + 1) / 2;
    if (m.Width(text.substr(0, mid)) <= rel) {
      lo = mid;
    } else {
      hi = mid - 1;
    }
  }
  if (lo < text.size()) {
    const int32_t before = m.Width(text.substr(0, lo));
    const int32_t after = m.Width(text.substr(0, lo + 1));
    if (rel - before > after - rel) ++lo;
  }
  return line.start + lo;
}

size_t PositionFromPoint(HWND edit, const EditState& st, const Measure& m, POINT p) {
  const RECT format = FormatRect(edit, m.Cell());
  int32_t row = static_cast<int32_t>(st.top_line);
  if (Multi(edit)) {
    const int32_t dy = p.y - format.top;
    row += dy < 0 ? -1 - (-dy - 1) / m.Cell() : dy / m.Cell();
  }
  row = std::clamp<int32_t>(row, 0, static_cast<int32_t>(st.lines.size()) - 1);
  return Normalize(st.text, PositionInLine(edit, st, m, static_cast<size_t>(row), p.x, format));
}

void Relayout(HWND edit, EditState& st) {
  const Measure m(st.font);
  const RECT format = FormatRect(edit, m.Cell());
  st.lines = LayOut(Shown(st), Multi(edit), std::max(1, format.Width()), m);
}

// Scrolls so that the caret shows.
void ShowCaretPosition(HWND edit, EditState& st) {
  const Measure m(st.font);
  const RECT format = FormatRect(edit, m.Cell());
  if (Multi(edit)) {
    const size_t line = LineOf(st, st.caret);
    const size_t visible = static_cast<size_t>(std::max(1, format.Height() / m.Cell()));
    if (line < st.top_line) st.top_line = line;
    if (line >= st.top_line + visible) st.top_line = line - visible + 1;
    return;
  }
  const std::u16string shown = Shown(st);
  const int32_t total = m.Width(shown);
  const int32_t at = m.Width(std::u16string_view(shown).substr(0, st.caret));
  const int32_t width = std::max(1, format.Width());
  if (!(StyleOf(edit) & ES_AUTOHSCROLL)) {
    st.scroll_x = 0;
    return;
  }
  // Jump a third of the field at a time, as the handheld does, so typing does not scroll on
  // every character.
  if (at - st.scroll_x >= width) st.scroll_x = at - width + width / 3;
  if (at < st.scroll_x) st.scroll_x = std::max(0, at - width / 3);
  st.scroll_x = std::clamp(st.scroll_x, 0, std::max(0, total - width + 1));
}

void Changed(HWND edit, EditState& st) {
  Relayout(edit, st);
  ShowCaretPosition(edit, st);
  InvalidateRect(edit, nullptr, TRUE);
}

void Notify(HWND edit, WORD code) {
  NotifyParent(edit, code);
}

// EN_UPDATE then EN_CHANGE; a parent that destroys the field in the first hears no more.
void NotifyChange(HWND edit) {
  Notify(edit, EN_UPDATE);
  if (IsWindow(edit)) Notify(edit, EN_CHANGE);
}

// Whether `text` fits a field that does not scroll in the direction it would need to.
bool FitsWithoutScrolling(HWND edit, const EditState& st, const std::u16string& text) {
  const DWORD style = StyleOf(edit);
  const Measure m(st.font);
  const RECT format = FormatRect(edit, m.Cell());
  const std::u16string shown = st.password != 0 ? std::u16string(text.size(), st.password) : text;
  if (!(style & ES_MULTILINE)) {
    return (style & ES_AUTOHSCROLL) || m.Width(shown) <= format.Width();
  }
  if (style & ES_AUTOVSCROLL) return true;
  const auto lines = LayOut(shown, true, std::max(1, format.Width()), m);
  return static_cast<int32_t>(lines.size()) * m.Cell() <= std::max(m.Cell(), format.Height());
}

// Replaces the selection. Typing (`whole_or_nothing`) inserts nothing when the insert does not
// fit; a programmatic replacement takes as much as fits. Either way a shortfall reports
// EN_MAXTEXT. Returns whether the text changed.
bool ReplaceSelection(HWND edit, EditState& st, std::u16string_view insert, bool whole_or_nothing) {
  const size_t a = std::min(st.anchor, st.caret), b = std::max(st.anchor, st.caret);
  const size_t kept = st.text.size() - (b - a);
  const size_t room = kept >= st.limit ? 0 : st.limit - kept;
  bool short_of_room = false;
  if (insert.size() > room) {
    short_of_room = true;
    if (whole_or_nothing) {
      Notify(edit, EN_MAXTEXT);
      return false;
    }
    insert = CutWhole(insert, room);
  }
  std::u16string next;
  // Room for all of it at once, so that no half-built copy is left behind in freed memory.
  next.reserve(kept + insert.size());
  next.assign(st.text, 0, a);
  next.append(insert);
  next.append(st.text, b);
  if (!FitsWithoutScrolling(edit, st, next)) {
    Wipe(st, next);
    Notify(edit, EN_MAXTEXT);
    return false;
  }
  if (insert.empty() && a == b) {
    Wipe(st, next);
    if (short_of_room) Notify(edit, EN_MAXTEXT);
    return false;
  }
  Wipe(st, st.text);
  st.text = std::move(next);
  st.anchor = st.caret = a + insert.size();
  Changed(edit, st);
  if (short_of_room) Notify(edit, EN_MAXTEXT);
  return true;
}

void SetText(HWND edit, EditState& st, const char16_t* text) {
  Wipe(st, st.text);
  st.text = text != nullptr ? text : u"";
  st.anchor = st.caret = 0;
  st.scroll_x = 0;
  st.top_line = 0;
  Changed(edit, st);
}

void MoveCaret(HWND edit, EditState& st, size_t pos, bool extend) {
  st.caret = Normalize(st.text, pos);
  if (!extend) st.anchor = st.caret;
  ShowCaretPosition(edit, st);
  InvalidateRect(edit, nullptr, TRUE);
}

void DeleteAround(HWND edit, EditState& st, bool forward) {
  if (st.anchor == st.caret) {
    st.anchor = forward ? Next(st.text, st.caret) : Previous(st.text, st.caret);
    if (st.anchor == st.caret) return;
  }
  if (ReplaceSelection(edit, st, u"", false)) NotifyChange(edit);
}

// What is typed into a password field stays there: it is neither copied nor cut.
void Copy(const EditState& st) {
  const size_t a = std::min(st.anchor, st.caret), b = std::max(st.anchor, st.caret);
  if (st.password != 0 || a == b) return;
  SetClipboardText(std::u16string_view(st.text).substr(a, b - a));
}

void Cut(HWND edit, EditState& st) {
  if (st.password != 0 || (StyleOf(edit) & ES_READONLY) || st.anchor == st.caret) return;
  Copy(st);
  if (ReplaceSelection(edit, st, u"", false)) NotifyChange(edit);
}

bool IsDigit(char16_t c) {
  return c >= u'0' && c <= u'9';
}

// What a paste may bring in, by the rules typing keeps. A digits-only field takes a number
// whole or not at all ("28" of a "28\n" copied from a terminal, nothing of "2.5": a number with
// a character taken out is another number). A one-line field takes the first line; no field
// takes a control character that no key types, nor half of a character. Line breaks in a
// multi-line field become "\r\n", as typed ones are.
std::u16string Pastable(std::u16string_view clip, DWORD style) {
  constexpr std::u16string_view kLineEnds = u"\r\n";
  if (style & ES_NUMBER) {
    constexpr std::u16string_view kBlanks = u" \t\r\n";
    const size_t first = clip.find_first_not_of(kBlanks);
    if (first == std::u16string_view::npos) return {};
    clip = clip.substr(first, clip.find_last_not_of(kBlanks) + 1 - first);
    return std::all_of(clip.begin(), clip.end(), IsDigit) ? std::u16string(clip) : u"";
  }
  if (!(style & ES_MULTILINE)) {
    clip.remove_prefix(std::min(clip.size(), clip.find_first_not_of(kLineEnds)));
    clip = clip.substr(0, clip.find_first_of(kLineEnds));
  }
  std::u16string out;
  for (size_t i = 0; i < clip.size(); ++i) {
    const char16_t c = clip[i];
    const bool pair = c >= 0xD800 && c <= 0xDBFF && i + 1 < clip.size() && clip[i + 1] >= 0xDC00 &&
                      clip[i + 1] <= 0xDFFF;
    if (pair) {
      out.append(clip.substr(i++, 2));
    } else if (c == u'\r' || c == u'\n') {
      if (c == u'\r' && i + 1 < clip.size() && clip[i + 1] == u'\n') ++i;
      out.append(kLineEnds);
    } else if (c >= 0x20 && c != 0x7F && (c < 0xD800 || c > 0xDFFF)) {
      out.push_back(c);
    }
  }
  return out;
}

void Paste(HWND edit, EditState& st) {
  const DWORD style = StyleOf(edit);
  if (style & ES_READONLY) return;
  std::u16string text = Pastable(GetClipboardText(), style);
  // A number cut to the limit would be another number, so it goes in whole or not at all.
  if (!text.empty() && ReplaceSelection(edit, st, text, (style & ES_NUMBER) != 0)) {
    NotifyChange(edit);
  }
  Wipe(st, text);
}

// Keys a combo box takes from its edit field.
bool ForwardToCombo(HWND edit, const EditState& st, WPARAM key) {
  if (!st.in_combo) return false;
  if (key == VK_UP || key == VK_DOWN || key == VK_F4) return true;
  return (key == VK_RETURN || key == VK_ESCAPE) &&
         SendMessage(GetParent(edit), CB_GETDROPPEDSTATE, 0, 0) != 0;
}

void KeyDown(HWND edit, EditState& st, WPARAM key, LPARAM lparam) {
  if (ForwardToCombo(edit, st, key)) {
    SendMessage(GetParent(edit), WM_KEYDOWN, key, lparam);
    return;
  }
  const bool shift = IsKeyDown(VK_SHIFT);
  const bool control = IsKeyDown(VK_CONTROL);
  const bool read_only = (StyleOf(edit) & ES_READONLY) != 0;
  const bool multi = Multi(edit);
  const size_t a = std::min(st.anchor, st.caret), b = std::max(st.anchor, st.caret);
  const Line& line = st.lines[LineOf(st, st.caret)];
  switch (key) {
    case VK_LEFT:
    case VK_RIGHT:
    case VK_UP:
    case VK_DOWN: {
      const bool back = key == VK_LEFT || key == VK_UP;
      if (multi && (key == VK_UP || key == VK_DOWN)) {
        const Measure m(st.font);
        const RECT format = FormatRect(edit, m.Cell());
        const size_t index = LineOf(st, st.caret);
        if (back ? index == 0 : index + 1 >= st.lines.size()) return;
        const POINT at = CaretPoint(edit, st, m, format);
        MoveCaret(edit, st, PositionInLine(edit, st, m, back ? index - 1 : index + 1, at.x, format),
                  shift);
        return;
      }
      if (!shift && a != b) {
        MoveCaret(edit, st, back ? a : b, false);
        return;
      }
      MoveCaret(edit, st, back ? Previous(st.text, st.caret) : Next(st.text, st.caret), shift);
      return;
    }
    case VK_HOME:
      MoveCaret(edit, st, control ? 0 : line.start, shift);
      return;
    case VK_END:
      MoveCaret(edit, st, control ? st.text.size() : line.end, shift);
      return;
    case VK_PRIOR:
    case VK_NEXT: {
      if (!multi) return;
      const Measure m(st.font);
      const RECT format = FormatRect(edit, m.Cell());
      const auto page = static_cast<size_t>(std::max(1, format.Height() / m.Cell()));
      const size_t index = LineOf(st, st.caret);
      const size_t target = key == VK_PRIOR ? (index > page ? index - page : 0)
                                            : std::min(st.lines.size() - 1, index + page);
      const POINT at = CaretPoint(edit, st, m, format);
      MoveCaret(edit, st, PositionInLine(edit, st, m, target, at.x, format), shift);
      return;
    }
    case VK_BACK:
    case VK_DELETE:
      if (key == VK_DELETE && shift) {
        Cut(edit, st);
      } else if (!read_only) {
        DeleteAround(edit, st, key == VK_DELETE);
      }
      return;
    case 'A':
    case 'C':
    case 'X':
    case 'V':
      if (!control) return;
      if (key == 'A') {
        st.anchor = 0;
        MoveCaret(edit, st, st.text.size(), true);
      }
      if (key == 'C') Copy(st);
      if (key == 'X') Cut(edit, st);
      if (key == 'V') Paste(edit, st);
      return;
    case VK_RETURN:
      if (multi && !read_only && ReplaceSelection(edit, st, u"\r\n", true)) NotifyChange(edit);
      return;
    default:
      return;
  }
}

void Char(HWND edit, EditState& st, char16_t ch) {
  // Control characters come with their keys, which WM_KEYDOWN has handled.
  if (ch < 0x20 || ch == 0x7F) return;
  const DWORD style = StyleOf(edit);
  if (style & ES_READONLY) return;
  if ((style & ES_NUMBER) && (ch < u'0' || ch > u'9')) return;
  const char16_t high = std::exchange(st.high_surrogate, 0);
  if (ch >= 0xD800 && ch <= 0xDBFF) {
    st.high_surrogate = ch;
    return;
  }
  if (ch >= 0xDC00 && ch <= 0xDFFF) {
    if (high == 0) return;  // half a character is no character
    const char16_t pair[2] = {high, ch};
    if (ReplaceSelection(edit, st, std::u16string_view(pair, 2), true)) NotifyChange(edit);
    return;
  }
  if (ReplaceSelection(edit, st, std::u16string_view(&ch, 1), true)) NotifyChange(edit);
}

void Paint(HWND edit, EditState& st) {
  PAINTSTRUCT ps;
  HDC dc = BeginPaint(edit, &ps);
  if (dc == nullptr) return;
  RECT client;
  GetClientRect(edit, &client);
  SelectObject(dc, FontOrDefault(st.font));
  const DWORD style = StyleOf(edit);
  const bool enabled = IsWindowEnabled(edit) != FALSE;
  // A field that cannot be typed into is coloured as a label.
  const UINT ask = (style & ES_READONLY) || !enabled ? WM_CTLCOLORSTATIC : WM_CTLCOLOREDIT;
  HBRUSH brush = AskParentForColours(edit, dc, ask);
  FillBackground(dc, client, brush, kWindowFace);
  if (style & WS_BORDER) DrawOutline(dc, client, kInk);
  if (!enabled) SetTextColor(dc, kGrayText);
  const COLORREF text_colour = GetTextColor(dc);

  const Measure m(st.font);
  const int32_t cell = m.Cell();
  const RECT format = FormatRect(edit, cell);
  const std::u16string shown = Shown(st);
  const std::u16string_view view(shown);
  const size_t sel_a = std::min(st.anchor, st.caret), sel_b = std::max(st.anchor, st.caret);
  const bool show_selection = st.focused && sel_a != sel_b;
  for (size_t i = st.top_line; i < st.lines.size(); ++i) {
    const int32_t y = format.top + static_cast<int32_t>(i - st.top_line) * cell;
    if (y >= format.bottom) break;
    const Line& line = st.lines[i];
    const int32_t x0 = LineOffset(edit, st, m, line, format);
    // Up to three runs: before, inside and after the selection.
    const size_t cuts[4] = {
        line.start, show_selection ? std::clamp(sel_a, line.start, line.end) : line.end,
        show_selection ? std::clamp(sel_b, line.start, line.end) : line.end, line.end};
    for (int run = 0; run < 3; ++run) {
      if (cuts[run + 1] <= cuts[run]) continue;
      const int32_t x = x0 + m.Width(view.substr(line.start, cuts[run] - line.start));
      const std::u16string_view part = view.substr(cuts[run], cuts[run + 1] - cuts[run]);
      const bool selected = run == 1;
      if (selected) {
        const RECT box = Intersect({x, y, x + m.Width(part), y + cell}, format);
        FillSolidRect(dc, box, kHighlight);
        SetTextColor(dc, kHighlightText);
      }
      ExtTextOut(dc, x, y, ETO_CLIPPED, &format, part.data(), static_cast<UINT>(part.size()),
                 nullptr);
      if (selected) SetTextColor(dc, text_colour);
    }
  }
  if (st.focused && enabled) {
    const POINT caret = CaretPoint(edit, st, m, format);
    const RECT bar = Intersect({caret.x, caret.y, caret.x + 1, caret.y + cell},
                               {format.left - 1, format.top, format.right + 1, format.bottom});
    FillSolidRect(dc, bar, text_colour);
  }
  EndPaint(edit, &ps);
}

LRESULT DlgCode(HWND edit, const EditState& st, LPARAM lparam) {
  LRESULT code = DLGC_WANTCHARS | DLGC_HASSETSEL | DLGC_WANTARROWS;
  const auto* msg = reinterpret_cast<const MSG*>(lparam);
  const bool asks_enter =
      msg == nullptr || (msg->message == WM_KEYDOWN && msg->wParam == VK_RETURN);
  // Only Enter is kept from the dialog manager: Tab and Esc still move and cancel.
  if (Multi(edit) && (StyleOf(edit) & ES_WANTRETURN) && asks_enter) code |= DLGC_WANTALLKEYS;
  if (msg != nullptr && msg->message == WM_KEYDOWN && ForwardToCombo(edit, st, msg->wParam)) {
    code |= DLGC_WANTALLKEYS;
  }
  return code;
}

LRESULT EditProc(HWND edit, UINT message, WPARAM wparam, LPARAM lparam) {
  if (message == WM_CREATE) {
    auto st = States().Create(edit);
    const auto* cs = reinterpret_cast<const CREATESTRUCT*>(lparam);
    st->in_combo = GetClassName(GetParent(edit)) == kComboBoxClass;
    if (StyleOf(edit) & ES_PASSWORD) st->password = kBullet;
    st->text = cs != nullptr && cs->lpszName != nullptr ? cs->lpszName : u"";
    Relayout(edit, *st);
    return 0;
  }
  std::shared_ptr<EditState> st = States().Get(edit);
  if (st == nullptr) return DefWindowProc(edit, message, wparam, lparam);
  switch (message) {
    case WM_DESTROY:
      Wipe(*st, st->text);
      States().Erase(edit);
      return 0;
    case WM_SETTEXT:
      SetText(edit, *st, reinterpret_cast<const char16_t*>(lparam));
      // A multi-line field, or the field of a combo box, does not report text set by the
      // program, as on the handheld.
      if (!Multi(edit) && !st->in_combo) NotifyChange(edit);
      return TRUE;
    case WM_GETTEXT: {
      const auto size = static_cast<size_t>(wparam);
      if (size == 0 || lparam == 0) return 0;
      const size_t n = WholeCharacters(st->text, size - 1);
      auto* out = reinterpret_cast<char16_t*>(lparam);
      std::copy_n(st->text.data(), n, out);
      out[n] = u'\0';
      return static_cast<LRESULT>(n);
    }
    case WM_GETTEXTLENGTH:
      return static_cast<LRESULT>(st->text.size());
    case WM_SETFONT:
      st->font = reinterpret_cast<HFONT>(wparam);
      Relayout(edit, *st);
      ShowCaretPosition(edit, *st);
      if (lparam) InvalidateRect(edit, nullptr, TRUE);
      return 0;
    case WM_GETFONT:
      return reinterpret_cast<LRESULT>(st->font);
    case WM_SIZE:
      Changed(edit, *st);
      return 0;
    case WM_GETDLGCODE:
      return DlgCode(edit, *st, lparam);
    case WM_ERASEBKGND:
      return 1;
    case WM_PAINT:
      Paint(edit, *st);
      return 0;
    case WM_SETFOCUS:
      st->focused = true;
      InvalidateRect(edit, nullptr, TRUE);
      DialogControlFocused(edit);
      Notify(edit, EN_SETFOCUS);
      return 0;
    case WM_KILLFOCUS:
      st->focused = false;
      st->dragging = false;
      InvalidateRect(edit, nullptr, TRUE);
      Notify(edit, EN_KILLFOCUS);
      return 0;
    case WM_LBUTTONDOWN:
    case WM_LBUTTONDBLCLK: {
      if (!IsWindowEnabled(edit)) return 0;
      if (GetFocus() != edit) SetFocus(edit);
      if (States().Get(edit) == nullptr) return 0;
      const Measure m(st->font);
      const size_t pos =
          PositionFromPoint(edit, *st, m, {GET_X_LPARAM(lparam), GET_Y_LPARAM(lparam)});
      MoveCaret(edit, *st, pos, IsKeyDown(VK_SHIFT));
      st->dragging = true;
      SetCapture(edit);
      return 0;
    }
    case WM_MOUSEMOVE:
      if (st->dragging) {
        const Measure m(st->font);
        MoveCaret(edit, *st,
                  PositionFromPoint(edit, *st, m, {GET_X_LPARAM(lparam), GET_Y_LPARAM(lparam)}),
                  true);
      }
      return 0;
    case WM_LBUTTONUP:
      if (st->dragging) {
        st->dragging = false;
        if (GetCapture() == edit) ReleaseCapture();
      }
      return 0;
    case WM_CAPTURECHANGED:
      st->dragging = false;
      return 0;
    case WM_KEYDOWN:
      KeyDown(edit, *st, wparam, lparam);
      return 0;
    case WM_CHAR:
      Char(edit, *st, static_cast<char16_t>(wparam));
      return 0;
    case EM_GETSEL: {
      const size_t a = std::min(st->anchor, st->caret), b = std::max(st->anchor, st->caret);
      if (wparam != 0) *reinterpret_cast<DWORD*>(wparam) = static_cast<DWORD>(a);
      if (lparam != 0) *reinterpret_cast<DWORD*>(lparam) = static_cast<DWORD>(b);
      if (a > 0xFFFF || b > 0xFFFF) return -1;
      return MAKELPARAM(static_cast<int32_t>(a), static_cast<int32_t>(b));
    }
    case EM_SETSEL: {
      // -1 as the start drops the selection and keeps the caret; any other value past the end
      // (-1 as the end included) means the end.
      const auto start = static_cast<int32_t>(wparam);
      if (start == -1) {
        MoveCaret(edit, *st, st->caret, false);
        return 0;
      }
      const size_t len = st->text.size();
      const size_t from = std::min(static_cast<size_t>(static_cast<uint32_t>(start)), len);
      const size_t to = std::min(static_cast<size_t>(static_cast<uint32_t>(lparam)), len);
      st->anchor = Normalize(st->text, from);
      MoveCaret(edit, *st, to, true);
      return 0;
    }
    case EM_REPLACESEL: {
      const auto* text = reinterpret_cast<const char16_t*>(lparam);
      if (ReplaceSelection(edit, *st, text != nullptr ? text : u"", false)) NotifyChange(edit);
      return 0;
    }
    case EM_LIMITTEXT:
      st->limit = wparam != 0 ? std::min<size_t>(wparam, kNoLimit) : kNoLimit;
      return 0;
    case EM_GETLIMITTEXT:
      return static_cast<LRESULT>(st->limit);
    case EM_SETREADONLY: {
      const DWORD style = StyleOf(edit);
      SetWindowLong(edit, GWL_STYLE,
                    static_cast<LONG_PTR>(wparam ? (style | ES_READONLY) : (style & ~ES_READONLY)));
      InvalidateRect(edit, nullptr, TRUE);
      return TRUE;
    }
    case WM_COPY:
      Copy(*st);
      return 0;
    case WM_CUT:
      Cut(edit, *st);
      return 0;
    case WM_PASTE:
      Paste(edit, *st);
      return 0;
    case EM_GETPASSWORDCHAR:
      return st->password;
    case EM_SETPASSWORDCHAR: {
      st->password = static_cast<char16_t>(wparam);
      const DWORD style = StyleOf(edit);
      SetWindowLong(edit, GWL_STYLE,
                    static_cast<LONG_PTR>(wparam ? (style | ES_PASSWORD) : (style & ~ES_PASSWORD)));
      Changed(edit, *st);
      return 0;
    }
    default:
      return DefWindowProc(edit, message, wparam, lparam);
  }
}

}  // namespace

void RegisterEditClass() {
  WNDCLASS wc{};
  wc.lpfnWndProc = &EditProc;
  wc.lpszClassName = kEditClass;
  RegisterClass(&wc);
}

}  // namespace ce
