#include "frame/main_window.h"

#include "frame/app.h"
#include "frame/document.h"
#include "frame/ui_resources.h"
#include "gfx/graphic_buffer.h"
#include "platform/menu_bar.h"
#include "platform/message_box.h"
#include "sound/sound_engine.h"

namespace {

// The current screen, reporting an empty entry met on the way.
CView_* CurrentView() {
  const int32_t id = CDocument_::GetCurrentView();
  for (int i = 0; i < CDocument_::Count(); ++i) {
    if (CDocument_::IdAt(i) != id) continue;
    CView_* view = CDocument_::ViewAt(i);
    if (view == nullptr) {
      ce::MessageBox(ce::GetForegroundWindow(), u"Not existing view", u"Fatal Error",
                     ce::MB_OK | ce::MB_ICONSTOP);
      continue;
    }
    return view;
  }
  return nullptr;
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
      info.nBmpId = 258;
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
    case WM_COMMAND: {
      if (CDocument_::OnCommand(wparam)) return 0;
      CView_* view = CurrentView();
      if (view == nullptr) return 0;
      if (view->OnMessage(window, message, wparam, lparam)) return 1;
      return DefWindowProc(window, message, wparam, lparam);
    }
    case WM_SETVIEW:
      CDocument_::OnSetView(static_cast<int32_t>(wparam));
      RunFirstScreenHook();
      return 1;
    default: {
      CView_* view = CurrentView();
      if (view == nullptr) return 0;
      return view->OnMessage(window, message, wparam, lparam) ? 0 : 1;
    }
  }
}
