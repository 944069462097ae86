#include "frame/main_window.h"

#include "frame/app.h"
#include "frame/commands.h"
#include "frame/document.h"
#include "frame/ui_resources.h"
#include "gfx/graphic_buffer.h"
#include "platform/menu_bar.h"
#include "platform/message_box.h"
#include "sound/sound_engine.h"
#include "ui/ids.h"
#include "ui/texts.h"

namespace {

// The current screen, reporting an empty entry met on the way.
CView_* CurrentView() {
  CView_* current = nullptr;
  CDocument_::ForEachView(CDocument_::GetCurrentView(), kTextEmptyViewEntry, [&](CView_* view) {
    current = view;
    return true;
  });
  return current;
}

// The one answer of the main window to a message offered to the screen: 0 when the screen
// handled it, 1 when it did not. Nothing goes on to the default window procedure.
ce::LRESULT OfferToScreen(ce::HWND window, ce::UINT message, ce::WPARAM wparam, ce::LPARAM lparam) {
  CView_* view = CurrentView();
  if (view == nullptr) return 0;
  return view->OnMessage(window, message, wparam, lparam) ? 0 : 1;
}

void Activation(bool active) {
  CSoundEngine* sound = CDocument_::GetSoundEngine();
  if (active && CDocument_::Inactive()) {
    if (sound != nullptr) sound->Resume();
    CDocument_::SetInactive(false);
  } else if (!active && !CDocument_::Inactive()) {
    if (sound != nullptr) sound->Pause();
    CDocument_::SetInactive(true);
  }
}

}  // namespace

bool RegisterMainWindowClass(ce::HINSTANCE instance) {
  // The window makes its menu bar when it is created, from the command table.
  ce::RegisterMenuBarResource(kMenuBarResource, MenuBarButtons());
  ce::WNDCLASS wc{};
  wc.style = ce::CS_HREDRAW | ce::CS_VREDRAW;
  wc.lpfnWndProc = MainWindowProc;
  wc.hInstance = instance;
  wc.hbrBackground = ce::GetStockObject(ce::WHITE_BRUSH);
  wc.lpszClassName = kMainWindowClass;
  return ce::RegisterClass(&wc) != 0;
}

ce::LRESULT MainWindowProc(ce::HWND window, ce::UINT message, ce::WPARAM wparam,
                           ce::LPARAM lparam) {
  using namespace ce;
  switch (message) {
    case WM_CREATE: {
      CDocument_::SetMainWnd(window);
      RECT r;
      GetWindowRect(window, &r);
      MoveWindow(window, r.left, r.top, r.right, r.bottom - kMenuBarHeight, FALSE);
      SHMENUBARINFO info;
      info.hwndParent = window;
      info.nToolBarId = kMenuBarResource;
      info.hInstRes = CDocument_::GetInstance();
      info.nBmpId = kMenuBarBitmap;
      info.cBmpImages = 1;
      if (SHCreateMenuBar(&info)) {
        CDocument_::SetMenuBar(info.hwndMB);
        SendMessage(window, WM_PAINT, 0, 0);
      }
      return 0;
    }
    case WM_DESTROY:
      if (CDocument_::GetMenuBar() != nullptr) DestroyWindow(CDocument_::GetMenuBar());
      CDocument_::SetMenuBar(nullptr);
      PostQuitMessage(0);
      return 0;
    case WM_ACTIVATE:
      Activation(LOWORD(wparam) != 0);
      return 0;
    case WM_SETFOCUS:
      Activation(true);
      return 0;
    case WM_KILLFOCUS:
      Activation(false);
      return 0;
    case WM_PAINT: {
      PAINTSTRUCT ps;
      BeginPaint(window, &ps);
      EndPaint(window, &ps);
      if (CScreenBuffers* buffers = CDocument_::GetScreenBuffers()) buffers->Present();
      return 1;
    }
    case WM_CLOSE:
      Shutdown();
      return 1;
    case WM_SETTINGCHANGE:
      SHHandleWMSettingChange(window, wparam, lparam, nullptr);
      return 1;
    case WM_COMMAND:
      // A command of the menu never reaches the screen.
      if (CDocument_::OnCommand(wparam)) return 0;
      return OfferToScreen(window, message, wparam, lparam);
    case WM_SETVIEW:
      CDocument_::OnSetView(static_cast<int32_t>(wparam));
      RunFirstScreenHook();
      return 1;
    default:
      return OfferToScreen(window, message, wparam, lparam);
  }
}
