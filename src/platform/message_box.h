// Message boxes. Every "Fatal Error" report and every notice of the program goes through
// MessageBox. Every box is written to standard error and kept in a log that tests read. A hook,
// when set, chooses the answer and nothing is shown; otherwise, while the window system runs, the
// box is a real modal pop-up over the screen area, and without a window system the answer is OK.
#pragma once

#include <functional>
#include <string>
#include <vector>

#include "platform/types.h"

namespace ce {

// Buttons and icons (the platform's values).
inline constexpr UINT MB_OK = 0x00000000;
inline constexpr UINT MB_OKCANCEL = 0x00000001;
inline constexpr UINT MB_ICONHAND = 0x00000010;
inline constexpr UINT MB_ICONSTOP = MB_ICONHAND;
inline constexpr UINT MB_ICONQUESTION = 0x00000020;
inline constexpr UINT MB_ICONEXCLAMATION = 0x00000030;
inline constexpr UINT MB_ICONINFORMATION = 0x00000040;
inline constexpr UINT MB_SETFOREGROUND = 0x00010000;
inline constexpr UINT MB_TOPMOST = 0x00040000;

// Answers.
inline constexpr int IDOK = 1;
inline constexpr int IDCANCEL = 2;

// One box as it was asked for. A null caption is kept as has_caption = false.
struct MessageBoxReport {
  HWND owner = nullptr;
  std::u16string text;
  std::u16string caption;
  bool has_caption = false;
  UINT type = 0;
};

// The program's one report of an internal consistency problem: a "Fatal Error" box with the
// stop icon, owned by the foreground window. The caller goes on afterwards.
void ReportFatalError(const char16_t* text);

// Shows a box and returns the button chosen.
int MessageBox(HWND owner, const char16_t* text, const char16_t* caption, UINT type);

// The window in the foreground (the window system's active window).
HWND GetForegroundWindow();

// Chooses the answer to every box from now on; an empty function restores "always OK".
using MessageBoxHook = std::function<int(const MessageBoxReport&)>;
void SetMessageBoxHook(MessageBoxHook hook);

// Every box shown since the last call, oldest first; the log is emptied.
std::vector<MessageBoxReport> TakeMessageBoxReports();

// Tells the person at the desktop about an error when the program's window system is not
// running (a start that failed): a window of the program's size with the message in a box with
// the stop icon, which waits for OK. `scale` as for the program's window (0: fit the desktop).
// Returns false, having shown nothing, where no window can be opened.
bool ShowErrorWindow(const std::u16string& title, const std::u16string& text, int scale);

// Whether `window` is a message box on the screen; if so, its caption and text.
bool IsMessageBox(HWND window, std::u16string* caption = nullptr, std::u16string* body = nullptr);

// Whether boxes are echoed to standard error (on by default).
void SetMessageBoxEcho(bool echo);

}  // namespace ce
