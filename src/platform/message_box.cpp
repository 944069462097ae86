// Message boxes: a small dialog made in code and run modally, as on the handheld: caption (or
// "Error"), an optional icon drawn from code, the text wrapped to at most 220 pixels, and OK or
// OK + Cancel, centred over the screen area. Every box is logged and echoed first; a hook, or
// the absence of a window system, answers without showing anything.
#include "platform/message_box.h"

#include <cmath>
#include <cstdio>

#include "platform/controls_internal.h"
#include "platform/display.h"
#include "platform/text.h"

namespace ce {
namespace {

struct MessageBoxState {
  MessageBoxHook hook;
  std::vector<MessageBoxReport> log;
  bool echo = true;
};

MessageBoxState& State() {
  static MessageBoxState state;
  return state;
}

constexpr int kTextId = 0xFFFF;
constexpr int32_t kMargin = 8;
constexpr int32_t kIconSize = 24;
constexpr int32_t kButtonWidth = 54;
constexpr int32_t kButtonHeight = 20;
constexpr int32_t kMaxWidth = 220;  // the whole box, frame included

enum class Icon { kNone, kStop, kQuestion, kExclamation, kInformation };

Icon IconOf(UINT type) {
  switch (type & 0xF0) {
    case MB_ICONHAND:
      return Icon::kStop;
    case MB_ICONQUESTION:
      return Icon::kQuestion;
    case MB_ICONEXCLAMATION:
      return Icon::kExclamation;
    case MB_ICONINFORMATION:
      return Icon::kInformation;
    default:
      return Icon::kNone;
  }
}

struct BoxParams {
  std::u16string text;
  Icon icon = Icon::kNone;
  bool has_cancel = false;
  RECT icon_rect{};
};

// A disc of `colour` filling `r` (a square), drawn as one run per row.
void Disc(HDC dc, const RECT& r, COLORREF colour) {
  const double radius = r.Width() / 2.0;
  for (int32_t row = 0; row < r.Height(); ++row) {
    const double dy = row + 0.5 - radius;
    const double half = std::sqrt(std::max(0.0, radius * radius - dy * dy));
    const auto from = static_cast<int32_t>(std::lround(radius - half));
    const auto to = static_cast<int32_t>(std::lround(radius + half));
    if (to > from) DrawHorizontalLine(dc, r.left + from, r.top + row, to - from, colour);
  }
}

void GlyphOnDisc(HDC dc, const RECT& r, const char16_t* glyph) {
  RECT box = r;
  SetTextColor(dc, RGB(255, 255, 255));
  SetBkMode(dc, TRANSPARENT);
  DrawText(dc, glyph, -1, &box, DT_CENTER | DT_VCENTER | DT_SINGLELINE | DT_NOPREFIX);
}

void PaintIcon(HDC dc, Icon icon, const RECT& r) {
  const int32_t size = r.Width();
  switch (icon) {
    case Icon::kStop: {
      Disc(dc, r, RGB(208, 0, 0));
      // A white X of two 2-pixel strokes.
      for (int32_t i = 6; i < size - 6; ++i) {
        FillSolidRect(dc, {r.left + i, r.top + i, r.left + i + 2, r.top + i + 1},
                      RGB(255, 255, 255));
        FillSolidRect(dc, {r.left + size - i - 2, r.top + i, r.left + size - i, r.top + i + 1},
                      RGB(255, 255, 255));
      }
      return;
    }
    case Icon::kExclamation: {
      // A yellow triangle standing on its base, outlined in ink, with a "!" in ink.
      for (int32_t row = 0; row < size; ++row) {
        const int32_t half = (row + 1) / 2;
        const int32_t left = r.left + size / 2 - half, width = 2 * half;
        if (row == size - 1) {
          DrawHorizontalLine(dc, left, r.top + row, width, kInk);
          continue;
        }
        DrawHorizontalLine(dc, left, r.top + row, width, RGB(255, 208, 0));
        FillSolidRect(dc, {left, r.top + row, left + 1, r.top + row + 1}, kInk);
        FillSolidRect(dc, {left + width - 1, r.top + row, left + width, r.top + row + 1}, kInk);
      }
      const int32_t cx = r.left + size / 2 - 1;
      FillSolidRect(dc, {cx, r.top + 8, cx + 2, r.top + 16}, kInk);
      FillSolidRect(dc, {cx, r.top + 18, cx + 2, r.top + 20}, kInk);
      return;
    }
    case Icon::kQuestion:
      Disc(dc, r, RGB(0, 0, 255));
      GlyphOnDisc(dc, r, u"?");
      return;
    case Icon::kInformation:
      Disc(dc, r, RGB(0, 0, 255));
      GlyphOnDisc(dc, r, u"i");
      return;
    case Icon::kNone:
      return;
  }
}

// Sizes the box to its text and puts the parts in place; the box then sits centred over the
// screen area.
void LayOut(HWND box, BoxParams& params) {
  HDC dc = GetDC(box);
  SelectObject(dc, FontOrDefault(reinterpret_cast<HFONT>(SendMessage(box, WM_GETFONT, 0, 0))));
  const int32_t client_max = kMaxWidth - 2;
  const int32_t text_left = kMargin + (params.icon != Icon::kNone ? kIconSize + kMargin : 0);
  RECT text{0, 0, client_max - text_left - kMargin, 0};
  DrawText(dc, params.text.c_str(), static_cast<int>(params.text.size()), &text,
           DT_CALCRECT | DT_WORDBREAK | DT_NOPREFIX);
  const std::u16string caption = GetWindowString(box);
  const int32_t caption_width = TextWidth(dc, caption) * 11 / 10 + 12;  // the bar's font is bold
  ReleaseDC(box, dc);

  const int buttons = params.has_cancel ? 2 : 1;
  const int32_t buttons_width = buttons * kButtonWidth + (buttons - 1) * kMargin;
  // Text too long for the screen area is cut, so that the buttons always show.
  const int32_t client_height_max = kScreenHeight - kCaptionHeight - 1;
  const int32_t text_height =
      std::min(text.Height(), client_height_max - 3 * kMargin - kButtonHeight);
  const int32_t content_height = std::max(text_height, params.icon != Icon::kNone ? kIconSize : 0);
  int32_t client_width =
      std::max({text_left + text.Width() + kMargin, buttons_width + 2 * kMargin, caption_width});
  client_width = std::min(client_width, client_max);
  const int32_t buttons_top = kMargin + content_height + kMargin;
  const int32_t client_height = buttons_top + kButtonHeight + kMargin;

  params.icon_rect = {kMargin, kMargin, kMargin + kIconSize, kMargin + kIconSize};
  const int32_t text_top = kMargin + (content_height - text_height) / 2;
  MoveWindow(GetDlgItem(box, kTextId), text_left, text_top, text.Width(), text_height, FALSE);
  int32_t x = (client_width - buttons_width) / 2;
  MoveWindow(GetDlgItem(box, IDOK), x, buttons_top, kButtonWidth, kButtonHeight, FALSE);
  x += kButtonWidth + kMargin;
  if (HWND cancel = GetDlgItem(box, IDCANCEL)) {
    MoveWindow(cancel, x, buttons_top, kButtonWidth, kButtonHeight, FALSE);
  }
  const int32_t width = client_width + 2, height = client_height + kCaptionHeight + 1;
  MoveWindow(box, (kScreenWidth - width) / 2, (kScreenHeight - height) / 2, width, height, FALSE);
}

INT_PTR BoxProc(HWND box, UINT message, WPARAM wparam, LPARAM lparam) {
  auto* params = reinterpret_cast<BoxParams*>(GetWindowLong(box, DWL_USER));
  switch (message) {
    case WM_INITDIALOG:
      SetWindowLong(box, DWL_USER, lparam);
      LayOut(box, *reinterpret_cast<BoxParams*>(lparam));
      return TRUE;
    case WM_PAINT: {
      PAINTSTRUCT ps;
      HDC dc = BeginPaint(box, &ps);
      if (params != nullptr) {
        SelectObject(dc,
                     FontOrDefault(reinterpret_cast<HFONT>(SendMessage(box, WM_GETFONT, 0, 0))));
        PaintIcon(dc, params->icon, params->icon_rect);
      }
      EndPaint(box, &ps);
      return TRUE;
    }
    case WM_COMMAND: {
      const int id = LOWORD(wparam);
      if (id == IDOK) EndDialog(box, IDOK);
      // Esc and the close button answer Cancel where there is one, else OK.
      if (id == IDCANCEL) EndDialog(box, params != nullptr && params->has_cancel ? IDCANCEL : IDOK);
      return TRUE;
    }
    default:
      return FALSE;
  }
}

int ShowBox(const MessageBoxReport& report) {
  BoxParams params;
  params.text = report.text;
  params.icon = IconOf(report.type);
  params.has_cancel = (report.type & 0xF) == MB_OKCANCEL;

  DialogLayout layout;
  // A box without a caption reads "Error", as on the handheld.
  layout.caption = report.has_caption ? report.caption : u"Error";
  layout.style = WS_POPUP | WS_CAPTION | DS_MODALFRAME;
  layout.rect = {0, 0, kMaxWidth, 100};
  layout.items.push_back({kStaticClass, kTextId, report.text, SS_LEFT, 0, {}});
  layout.items.push_back(
      {kButtonClass, IDOK, u"OK", BS_DEFPUSHBUTTON | WS_TABSTOP | WS_GROUP, 0, {}});
  if (params.has_cancel) {
    layout.items.push_back({kButtonClass, IDCANCEL, u"Cancel", BS_PUSHBUTTON | WS_TABSTOP, 0, {}});
  }
  const INT_PTR quit_answer = params.has_cancel ? IDCANCEL : IDOK;
  HWND owner =
      report.owner != nullptr && IsWindow(report.owner) ? TopLevelOf(report.owner) : nullptr;
  HWND focus_before = GetFocus();
  HWND box =
      CreateDialogFromLayout(layout, owner, &BoxProc, reinterpret_cast<LPARAM>(&params), true);
  if (box == nullptr) return static_cast<int>(quit_answer);
  if (report.type & MB_SETFOREGROUND) SetForegroundWindow(box);
  return static_cast<int>(RunModalDialog(box, owner, focus_before, quit_answer, false));
}

}  // namespace

int MessageBox(HWND owner, const char16_t* text, const char16_t* caption, UINT type) {
  MessageBoxReport report;
  report.owner = owner;
  report.text = text ? text : u"";
  report.has_caption = caption != nullptr;
  report.caption = caption ? caption : u"";
  report.type = type;

  MessageBoxState& state = State();
  if (state.echo) {
    // A box without a caption reads "Error" on the handheld; keep that on the terminal too.
    const std::string title = report.has_caption ? ToUtf8(report.caption) : std::string("Error");
    std::fprintf(stderr, "[%s] %s\n", title.c_str(), ToUtf8(report.text).c_str());
    std::fflush(stderr);
  }
  state.log.push_back(report);
  if (state.hook) return state.hook(report);
  if (!WindowSystemRunning()) return IDOK;
  return ShowBox(report);
}

void ReportFatalError(const char16_t* text) {
  MessageBox(GetForegroundWindow(), text, u"Fatal Error", MB_OK | MB_ICONSTOP);
}

int ForegroundMessageBox(const char16_t* text, const char16_t* caption, UINT type) {
  return MessageBox(GetForegroundWindow(), text, caption, type);
}

void SetMessageBoxHook(MessageBoxHook hook) {
  State().hook = std::move(hook);
}

std::vector<MessageBoxReport> TakeMessageBoxReports() {
  std::vector<MessageBoxReport> out;
  out.swap(State().log);
  return out;
}

bool ShowErrorWindow(const std::u16string& title, const std::u16string& text, int scale) {
  if (WindowSystemRunning())
    return MessageBox(nullptr, text.c_str(), title.c_str(), MB_OK | MB_ICONSTOP), true;
  std::string error;
  auto display = CreateSdlDisplay(kScreenWidth, kFrameHeight, ToUtf8(title), scale, &error);
  if (display == nullptr) return false;
  InitWindowSystem(std::move(display));
  WNDCLASS wc{};
  wc.lpfnWndProc = &DefWindowProc;
  wc.hbrBackground = GetStockObject(WHITE_BRUSH);
  wc.lpszClassName = u"CalviraError";
  RegisterClass(&wc);
  // A blank page under the box, in place of the screens that could not start.
  const HWND page = CreateWindowEx(0, u"CalviraError", title.c_str(), WS_VISIBLE, 0, 0,
                                   kScreenWidth, kFrameHeight, nullptr, nullptr, nullptr, nullptr);
  const bool echo = State().echo;
  State().echo = false;  // the caller has said it on standard error already
  MessageBox(page, text.c_str(), title.c_str(), MB_OK | MB_ICONSTOP);
  State().echo = echo;
  ShutdownWindowSystem();
  return true;
}

bool IsMessageBox(HWND window, std::u16string* caption, std::u16string* body) {
  if (!IsWindow(window) ||
      GetWindowLong(window, DWL_DLGPROC) != reinterpret_cast<LONG_PTR>(&BoxProc)) {
    return false;
  }
  if (caption != nullptr) *caption = GetWindowString(window);
  if (body != nullptr) *body = GetWindowString(GetDlgItem(window, kTextId));
  return true;
}

void SetMessageBoxEcho(bool echo) {
  State().echo = echo;
}

}  // namespace ce
