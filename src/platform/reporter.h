// Messages from the layers that work without a window: the record store's "Fatal Error" reports
// and its notices. They name the message-box buttons and icons they want, but showing them is
// the business of whoever runs the store: the program connects a reporter that puts them in
// message boxes; a tool without a window system leaves it unset and finds them on standard error.
#pragma once

#include <functional>

#include "platform/types.h"

namespace ce {

// Buttons and icons (the platform's message-box values).
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

namespace objectstore {

// Shows one message and returns the answer (IDOK, IDCANCEL). A null caption is a message that
// was given none, which is not the same as an empty one.
using Reporter = std::function<int(const char16_t* text, const char16_t* caption, UINT type)>;

// Sends every message from now on to `reporter`; an empty function goes back to standard error.
void SetReporter(Reporter reporter);

// Hands the message to the reporter. With none set, writes "[caption] text" to standard error
// ("[Error] text" without a caption, as a box would be titled) and answers IDOK, which is what a
// message box answers where no window system runs.
int Report(const char16_t* text, const char16_t* caption, UINT type);

}  // namespace objectstore
}  // namespace ce
