#include "platform/window_tree.h"

#include <cstdio>
#include <cstring>

#include "platform/controls_internal.h"
#include "platform/menu_bar.h"
#include "platform/message_box.h"
#include "platform/text.h"
#include "platform/window.h"
#include "platform/window_internal.h"

namespace ce {

namespace {

std::function<std::string()>& Summary() {
  static std::function<std::string()> summary;
  return summary;
}

bool IsClass(const std::u16string& name, const char16_t* wanted) {
  return name == std::u16string_view(wanted);
}

bool IsCheckable(DWORD style) {
  switch (style & BS_TYPEMASK) {
    case BS_CHECKBOX:
    case BS_AUTOCHECKBOX:
    case BS_RADIOBUTTON:
    case BS_AUTORADIOBUTTON:
    case 0x5:  // BS_3STATE
    case 0x6:  // BS_AUTO3STATE
      return true;
    default:
      return false;
  }
}

// The lines of a list box or a combo box, asked with the messages that only read.
void ListItems(HWND window, bool combo, WindowInfo& info) {
  const UINT count_message = combo ? CB_GETCOUNT : LB_GETCOUNT;
  const UINT length_message = combo ? CB_GETLBTEXTLEN : LB_GETTEXTLEN;
  const UINT text_message = combo ? CB_GETLBTEXT : LB_GETTEXT;
  const auto count = static_cast<int>(SendMessage(window, count_message, 0, 0));
  std::vector<std::u16string> items;
  for (int i = 0; i < count; ++i) {
    const auto length = SendMessage(window, length_message, static_cast<WPARAM>(i), 0);
    std::u16string line(static_cast<size_t>(std::max<LRESULT>(length, 0)) + 1, u'\0');
    const auto got = SendMessage(window, text_message, static_cast<WPARAM>(i),
                                 reinterpret_cast<LPARAM>(line.data()));
    line.resize(static_cast<size_t>(std::max<LRESULT>(got, 0)));
    items.push_back(std::move(line));
  }
  info.items = std::move(items);
  info.selected = static_cast<int>(SendMessage(window, combo ? CB_GETCURSEL : LB_GETCURSEL, 0, 0));
}

WindowInfo Describe(HWND window) {
  WindowInfo info;
  info.hwnd = window;
  info.parent = GetParent(window);
  info.class_name = GetClassName(window);
  info.id = GetDlgCtrlID(window);
  // Edits keep their text themselves; every other window's is the window's own, read without a
  // message, so that a window procedure that answers WM_GETTEXT its own way is not asked.
  if (const internal::Window* w = internal::Find(window)) info.text = w->text;
  GetWindowRect(window, &info.rect);
  info.visible = IsWindowVisible(window) != FALSE;
  info.enabled = IsWindowEnabled(window) != FALSE;
  info.focused = GetFocus() == window;
  const auto style = static_cast<DWORD>(GetWindowLong(window, GWL_STYLE));
  const std::u16string& name = info.class_name;
  if (IsClass(name, kButtonClass) && IsCheckable(style)) {
    info.checked = static_cast<int>(SendMessage(window, BM_GETCHECK, 0, 0));
  } else if (IsClass(name, kEditClass)) {
    info.text = GetWindowString(window);
    info.read_only = (style & ES_READONLY) != 0;
    info.password = (style & ES_PASSWORD) != 0;
    // As accessibility interfaces report a password field: its length, never its text.
    if (*info.password) info.text = std::u16string(info.text.size(), u'\u2022');
  } else if (IsClass(name, kListBoxClass) || IsClass(name, kComboListClass)) {
    ListItems(window, false, info);
  } else if (IsClass(name, kComboBoxClass)) {
    info.text = GetWindowString(window);
    ListItems(window, true, info);
  } else if (std::u16string caption, body; IsMessageBox(window, &caption, &body)) {
    info.caption = std::move(caption);
    info.body = std::move(body);
  } else if (const std::vector<MenuEntry> entries = MenuEntries(window); !entries.empty()) {
    std::vector<std::u16string> items;
    for (const MenuEntry& e : entries) {
      items.push_back(e.text);
      info.item_rects.push_back(e.rect);
    }
    info.items = std::move(items);
  }
  return info;
}

// Whether nothing that still exists owns the top-level window: where the description starts.
bool IsRoot(HWND window) {
  const internal::Window* w = internal::Find(window);
  return w != nullptr && (w->owner == nullptr || internal::Find(w->owner) == nullptr);
}

void AppendJsonString(std::string& out, std::u16string_view text) {
  out += '"';
  for (const char c : ToUtf8(text)) {
    const auto u = static_cast<unsigned char>(c);
    switch (c) {
      case '"':
        out += "\\\"";
        break;
      case '\\':
        out += "\\\\";
        break;
      case '\n':
        out += "\\n";
        break;
      case '\r':
        out += "\\r";
        break;
      case '\t':
        out += "\\t";
        break;
      default:
        if (u < 0x20) {
          char escaped[8];
          std::snprintf(escaped, sizeof(escaped), "\\u%04x", u);
          out += escaped;
        } else {
          out += c;
        }
    }
  }
  out += '"';
}

void AppendRect(std::string& out, const RECT& r) {
  out += '[' + std::to_string(r.left) + ", " + std::to_string(r.top) + ", " +
         std::to_string(r.right) + ", " + std::to_string(r.bottom) + ']';
}

std::string HandleNumber(HWND h) {
  return std::to_string(reinterpret_cast<uintptr_t>(h));
}

const char* Bool(bool value) {
  return value ? "true" : "false";
}

std::string Screenshot() {
  const uint16_t* pixels = FrameBufferPixels();
  std::string out =
      "frame " + std::to_string(kScreenWidth) + " " + std::to_string(kFrameHeight) + "\n";
  const size_t count = static_cast<size_t>(kScreenWidth) * kFrameHeight;
  out.reserve(out.size() + count * 2);
  for (size_t i = 0; i < count; ++i) {
    const uint16_t p = pixels != nullptr ? pixels[i] : 0;
    out += static_cast<char>(p & 0xFF);
    out += static_cast<char>(p >> 8);
  }
  return out;
}

}  // namespace

std::vector<WindowInfo> DescribeWindows() {
  // Level by level from the windows nothing owns, so that every window comes after the one it
  // names as its parent: the main window, then its dialogs and the menu bar, then their
  // controls. Top-level windows and children are kept back to front; each level goes from the
  // top, pop-ups before the children of their owner, which they cover.
  const std::vector<HWND> tops(internal::TopLevelWindows().rbegin(),
                               internal::TopLevelWindows().rend());
  std::vector<HWND> level;
  for (HWND top : tops) {
    if (IsRoot(top)) level.push_back(top);
  }
  std::vector<WindowInfo> out;
  while (!level.empty()) {
    std::vector<HWND> next;
    for (HWND window : level) {
      out.push_back(Describe(window));
      for (HWND top : tops) {
        const internal::Window* t = internal::Find(top);
        if (t != nullptr && t->owner == window) next.push_back(top);
      }
      if (const internal::Window* w = internal::Find(window)) {
        next.insert(next.end(), w->children.rbegin(), w->children.rend());
      }
    }
    level = std::move(next);
  }
  return out;
}

void SetProgramSummary(std::function<std::string()> summary) {
  Summary() = std::move(summary);
}

std::string WindowInfoToJson(const WindowInfo& info) {
  std::string out = "{\"hwnd\": " + HandleNumber(info.hwnd) +
                    ", \"parent\": " + HandleNumber(info.parent) + ", \"class\": ";
  AppendJsonString(out, info.class_name);
  out += ", \"id\": " + std::to_string(info.id) + ", \"text\": ";
  AppendJsonString(out, info.text);
  out += ", \"rect\": ";
  AppendRect(out, info.rect);
  out += std::string(", \"visible\": ") + Bool(info.visible) +
         ", \"enabled\": " + Bool(info.enabled) + ", \"focused\": " + Bool(info.focused);
  if (info.checked) out += ", \"checked\": " + std::to_string(*info.checked);
  if (info.read_only) out += std::string(", \"readonly\": ") + Bool(*info.read_only);
  if (info.password) out += std::string(", \"password\": ") + Bool(*info.password);
  if (info.caption) {
    out += ", \"caption\": ";
    AppendJsonString(out, *info.caption);
  }
  if (info.body) {
    out += ", \"body\": ";
    AppendJsonString(out, *info.body);
  }
  if (info.items) {
    out += ", \"items\": [";
    for (size_t i = 0; i < info.items->size(); ++i) {
      if (i > 0) out += ", ";
      AppendJsonString(out, (*info.items)[i]);
    }
    out += ']';
  }
  if (info.selected) out += ", \"selected\": " + std::to_string(*info.selected);
  if (!info.item_rects.empty()) {
    out += ", \"item_rects\": [";
    for (size_t i = 0; i < info.item_rects.size(); ++i) {
      if (i > 0) out += ", ";
      AppendRect(out, info.item_rects[i]);
    }
    out += ']';
  }
  out += '}';
  return out;
}

std::string AnswerControlRequest(std::string_view request) {
  if (request == "raise") {
    BringApplicationToFront();
    return "ok\n";
  }
  if (request == "inspect") {
    std::string out = Summary() ? Summary()() : std::string("{}");
    out += '\n';
    for (const WindowInfo& info : DescribeWindows()) {
      out += WindowInfoToJson(info);
      out += '\n';
    }
    return out;
  }
  if (request == "screenshot") return Screenshot();
  return "error: unknown request; ask raise, inspect or screenshot\n";
}

}  // namespace ce
