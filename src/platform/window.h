// The window system: windows in a tree with a z-order, one message queue, posted and sent
// messages, painting, timers, focus and activation. Everything runs on the thread that calls
// it; nothing here is thread-safe, as on the handheld.
//
// All coordinates are frame-buffer pixels. The frame buffer holds the 240 x 268 screen area on
// top and the 26-pixel menu bar under it. Windows have no border of their own except a caption
// bar for WS_CAPTION pop-ups; the rest of a window is its client area.
#pragma once

#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "platform/display.h"
#include "platform/geometry.h"
#include "platform/messages.h"
#include "platform/types.h"

namespace ce {

struct HINSTANCE__;
using HINSTANCE = HINSTANCE__*;
struct HMENU__;
using HMENU = HMENU__*;
struct HICON__;
using HICON = HICON__*;
struct HGDIOBJ__;
using HGDIOBJ = HGDIOBJ__*;
using HBRUSH = HGDIOBJ;
using ATOM = WORD;
using INT_PTR = intptr_t;
using UINT_PTR = uintptr_t;
using LONG_PTR = intptr_t;

using WNDPROC = LRESULT (*)(HWND, UINT, WPARAM, LPARAM);
using TIMERPROC = void (*)(HWND, UINT, UINT_PTR, DWORD);

inline constexpr int32_t kScreenWidth = 240;
inline constexpr int32_t kScreenHeight = 268;  // the area the screens draw in
inline constexpr int32_t kMenuBarHeight = 26;
inline constexpr int32_t kFrameHeight = kScreenHeight + kMenuBarHeight;
inline constexpr int32_t kCaptionHeight = 20;  // caption bar of WS_CAPTION pop-ups

// The window system's life. Init registers the standard control classes and takes the display
// the frame buffer is shown on; Shutdown destroys every window, timer and queued message.
void InitWindowSystem(std::unique_ptr<Display> display);
void ShutdownWindowSystem();
bool WindowSystemRunning();
Display* GetDisplay();
// Input as if it came from the display (for tests); it is taken in order with the display's own.
void InjectInput(const InputEvent& event);
// Shows what has been drawn since the last flush. Waiting for input and sleeping flush first.
void FlushDisplay();
// The frame buffer: kScreenWidth x kFrameHeight pixels of RGB 5-6-5, rows packed.
const uint16_t* FrameBufferPixels();
// Work that arrives other than through the display (the control socket). `watch` appends the
// descriptors whose readiness means there is work and returns the milliseconds until `serve`
// must run anyway (-1: no limit). `serve` runs whenever the queue is empty, in the main loop
// and in every modal loop alike, so that what it sees reflects every message posted before.
struct ExternalSource {
  std::function<int32_t(std::vector<pollfd>&)> watch;
  std::function<void()> serve;
};
void SetExternalSource(ExternalSource source);

// The program's own module.
HINSTANCE GetModuleHandle(const char16_t* name);

struct WNDCLASS {
  UINT style = 0;
  WNDPROC lpfnWndProc = nullptr;
  int cbClsExtra = 0;
  int cbWndExtra = 0;
  HINSTANCE hInstance = nullptr;
  HICON hIcon = nullptr;
  void* hCursor = nullptr;
  HBRUSH hbrBackground = nullptr;
  const char16_t* lpszMenuName = nullptr;
  const char16_t* lpszClassName = nullptr;
};

// 0 when the name is taken or the class has no procedure.
ATOM RegisterClass(const WNDCLASS* window_class);

struct CREATESTRUCT {
  void* lpCreateParams;
  HINSTANCE hInstance;
  HMENU hMenu;
  HWND hwndParent;
  int32_t cy, cx, y, x;
  LONG style;
  const char16_t* lpszName;
  const char16_t* lpszClass;
  DWORD dwExStyle;
};

// Child windows take their place relative to the parent's client area; `menu` is a child's id.
// WM_CREATE is sent (its lParam a CREATESTRUCT*); a result of -1 destroys the window and the
// call returns null.
HWND CreateWindowEx(DWORD ex_style, const char16_t* class_name, const char16_t* title, DWORD style,
                    int32_t x, int32_t y, int32_t width, int32_t height, HWND parent, HMENU menu,
                    HINSTANCE instance, void* param);
// Destroys the window and its children (children first get WM_DESTROY after their parent) and
// any pop-ups it owns; focus, capture and activation move away from it.
BOOL DestroyWindow(HWND window);
BOOL IsWindow(HWND window);

HWND GetParent(HWND window);  // the parent of a child, the owner of a pop-up
HWND GetWindow(HWND window, UINT relation);
inline constexpr UINT GW_HWNDNEXT = 2;
inline constexpr UINT GW_HWNDPREV = 3;
inline constexpr UINT GW_OWNER = 4;
inline constexpr UINT GW_CHILD = 5;
HWND GetDlgItem(HWND dialog, int id);
int GetDlgCtrlID(HWND window);
// The top-level window with this class and title (either may be null to match any).
HWND FindWindow(const char16_t* class_name, const char16_t* title);
std::u16string GetClassName(HWND window);
BOOL IsChild(HWND parent, HWND window);

BOOL ShowWindow(HWND window, int command);
BOOL IsWindowVisible(HWND window);            // visible itself and all its ancestors
BOOL EnableWindow(HWND window, BOOL enable);  // returns whether it was disabled before
BOOL IsWindowEnabled(HWND window);
BOOL MoveWindow(HWND window, int32_t x, int32_t y, int32_t width, int32_t height, BOOL repaint);
inline HWND const HWND_TOP = nullptr;
BOOL SetWindowPos(HWND window, HWND insert_after, int32_t x, int32_t y, int32_t cx, int32_t cy,
                  UINT flags);
BOOL GetWindowRect(HWND window, RECT* rect);  // frame-buffer coordinates
BOOL GetClientRect(HWND window, RECT* rect);  // (0, 0, width, height) of the client area
BOOL ClientToScreen(HWND window, POINT* point);
BOOL ScreenToClient(HWND window, POINT* point);
// The deepest visible, enabled-or-not window under the point, pop-ups above children.
HWND WindowFromPoint(POINT point);

BOOL SetWindowText(HWND window, const char16_t* text);
int GetWindowText(HWND window, char16_t* buffer, int size);
int GetWindowTextLength(HWND window);
std::u16string GetWindowString(HWND window);  // the whole text, for our own code and tests

LONG_PTR GetWindowLong(HWND window, int index);
LONG_PTR SetWindowLong(HWND window, int index, LONG_PTR value);

// Messages.
struct MSG {
  HWND hwnd = nullptr;
  UINT message = 0;
  WPARAM wParam = 0;
  LPARAM lParam = 0;
  DWORD time = 0;
  POINT pt{};
};

// Calls the window's procedure at once (on this thread there is no other way).
LRESULT SendMessage(HWND window, UINT message, WPARAM wparam, LPARAM lparam);
// Queues the message; null `window` posts to the thread.
BOOL PostMessage(HWND window, UINT message, WPARAM wparam, LPARAM lparam);
void PostQuitMessage(int exit_code);
// Takes the next message for `window` (null: any) whose number lies in [first, last] (0, 0: any):
// posted messages first, then input, then WM_PAINT for an invalid window (parents before
// children), then WM_TIMER for a timer that is due. Never waits.
BOOL PeekMessage(MSG* msg, HWND window, UINT first, UINT last, UINT remove);
// As PeekMessage, but waits for a message; returns FALSE for WM_QUIT, -1 for a bad window.
BOOL GetMessage(MSG* msg, HWND window, UINT first, UINT last);
// Waits until a message may be available or `timeout_ms` has passed (-1: no limit). Input from
// the display and due timers end the wait. This is how the main loop avoids spinning.
void WaitForInput(int32_t timeout_ms);
// Lets `ms` pass as Sleep does, but keeps the program alive meanwhile: the display is looked
// after and the external source served, while input waits in the queue for later. Returns early
// once the window's close button was pressed (the close then waits in the queue too). Under
// the virtual clock it is Sleep.
void SleepServing(DWORD ms);
BOOL TranslateMessage(const MSG* msg);  // WM_KEYDOWN of a character key posts WM_CHAR
LRESULT DispatchMessage(const MSG* msg);
LRESULT DefWindowProc(HWND window, UINT message, WPARAM wparam, LPARAM lparam);
LRESULT CallWindowProc(WNDPROC proc, HWND window, UINT message, WPARAM wparam, LPARAM lparam);

// Painting. Invalid areas collect per window; WM_PAINT is made when the queue has nothing else.
BOOL InvalidateRect(HWND window, const RECT* rect, BOOL erase);  // null rect: the whole client
BOOL ValidateRect(HWND window, const RECT* rect);
BOOL UpdateWindow(HWND window);  // sends WM_PAINT now if the window is invalid
BOOL GetUpdateRect(HWND window, RECT* rect, BOOL erase);

// Timers: WM_TIMER with wParam = id is made when the timer is due and the queue is otherwise
// empty; a timer that is late fires once, not once per period missed.
UINT_PTR SetTimer(HWND window, UINT_PTR id, UINT elapse_ms, TIMERPROC proc);
BOOL KillTimer(HWND window, UINT_PTR id);

// Focus, activation, capture.
HWND SetFocus(HWND window);  // sends WM_KILLFOCUS / WM_SETFOCUS; returns the previous focus
HWND GetFocus();
HWND SetActiveWindow(HWND window);
HWND GetActiveWindow();
BOOL SetForegroundWindow(HWND window);  // also raises the display's window to the front
HWND GetForegroundWindow();
HWND SetCapture(HWND window);
BOOL ReleaseCapture();
HWND GetCapture();
// Brings the display's window to the front and activates the main window (a later start of the
// program asks for this).
void BringApplicationToFront();
// Whether the application as a whole has the user's attention (the display window is focused).
bool IsApplicationActive();

// Key state as the dialog manager and edits need it.
bool IsKeyDown(UINT virtual_key);

// Shell calls of the handheld, kept for the screens that make them.
inline constexpr DWORD SHIDIM_FLAGS = 0x0001;
inline constexpr DWORD SHIDIF_DONEBUTTON = 0x0001;
inline constexpr DWORD SHIDIF_SIZEDLG = 0x0002;
inline constexpr DWORD SHIDIF_SIPDOWN = 0x0008;
inline constexpr DWORD SHIDIF_SIZEDLGFULLSCREEN = 0x0004;
struct SHINITDLGINFO {
  DWORD dwMask = 0;
  HWND hDlg = nullptr;
  DWORD dwFlags = 0;
};
// Flags 0x0A/0x0B: the dialog takes the whole 240 x 268 screen area.
BOOL SHInitDialog(SHINITDLGINFO* info);
inline constexpr DWORD SHFS_SHOWTASKBAR = 0x0001;
inline constexpr DWORD SHFS_HIDETASKBAR = 0x0002;
inline constexpr DWORD SHFS_SHOWSIPBUTTON = 0x0004;
inline constexpr DWORD SHFS_HIDESIPBUTTON = 0x0008;
inline constexpr DWORD SHFS_SHOWSTARTICON = 0x0010;
inline constexpr DWORD SHFS_HIDESTARTICON = 0x0020;
BOOL SHFullScreen(HWND window, DWORD state);
bool InputPanelButtonShown();
BOOL SHSipPreference(HWND window, int state);
BOOL SHHandleWMSettingChange(HWND window, WPARAM wparam, LPARAM lparam, void* info);

}  // namespace ce
