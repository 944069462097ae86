// Message boxes. Every "Fatal Error" report and every notice of the program goes through
// MessageBox (the object store's through its reporter, which the program connects to
// ForegroundMessageBox). Every box is written to standard error and kept in a log that tests
// read. A hook, when set, chooses the answer and nothing is shown; otherwise, while the window
// system runs, the box is a real modal pop-up over the screen area, and without a window system
// the answer is OK.
#pragma once

#include <functional>
#include <string>
#include <vector>

#include "platform/reporter.h"  // the buttons, icons and answers
#include "platform/types.h"

namespace ce {

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

// A box owned by the foreground window: how the program shows the object store's messages
// (objectstore::SetReporter).
int ForegroundMessageBox(const char16_t* text, const char16_t* caption, UINT type);

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
