// CDocument_: the program's one document. It owns the screens, knows the current and the
// previous one, switches between them, hands parameter blocks from one to another, routes the
// menu bar's commands, and keeps the frame's shared objects.
#pragma once

#include <array>
#include <memory>

#include "frame/view.h"
#include "gfx/graphic_buffer.h"
#include "platform/message_box.h"
#include "platform/window.h"
#include "sound/sound_engine.h"

// WM_SETVIEW: a posted screen switch, wParam = the screen id.
inline constexpr ce::UINT WM_SETVIEW = 0x800A;

// One entry of the screen table; an empty entry has no screen.
struct ViewEntry {
  std::unique_ptr<CView_> view;
  int32_t id = -1;
};

class CDocument_ {
 public:
  static constexpr int kMaxViews = 50;

  // One per run of the program; a second one while the first lives is reported.
  CDocument_();
  ~CDocument_();  // deletes every screen in table order, then the screen buffers
  CDocument_(const CDocument_&) = delete;
  CDocument_& operator=(const CDocument_&) = delete;

  static ce::HINSTANCE GetInstance();
  static ce::HWND GetMainWnd();
  static void SetInstance(ce::HINSTANCE instance) { instance_ = instance; }
  static void SetMainWnd(ce::HWND window) { main_window_ = window; }

  // Takes ownership of the screen; a null screen makes an empty entry.
  static void AddView(std::unique_ptr<CView_> view, int32_t id);
  static void SetView(int32_t id);
  static void OnSetView(int32_t id);
  static void GoBack();
  static void SetPreviousView(int32_t id) { previous_id_ = id; }
  static int32_t GetPreviousView() { return previous_id_; }
  static int32_t GetCurrentView() { return current_id_; }
  static void SetCurrentView(int32_t id) { current_id_ = id; }
  static void PassParams(int32_t id, const ViewParams* params);
  // The menu command router: true when `command` is one of the menu's.
  static bool OnCommand(ce::WPARAM command);
  // While the start-up password prompt waits for the right password, nothing may lead past
  // it: the router takes every command and does nothing, and the menu bar answers no tap.
  static void SetLocked(bool locked);

  // The table, for the frame's passes over it.
  static int Count() { return count_; }
  static CView_* ViewAt(int index) { return table_[static_cast<size_t>(index)].view.get(); }
  // Every lookup of a screen by id goes through here: visits each entry of the table with the
  // id, in table order, until `visit` returns true. An empty entry is reported as a "Fatal
  // Error" with `empty_report` (when given) and passed over. Returns whether any entry has
  // the id.
  template <class Visit>
  static bool ForEachView(int32_t id, const char16_t* empty_report, Visit visit);
  // The first screen with the id; null when there is none or its entry is empty.
  static CView_* FindView(int32_t id);

  static AppContext& Context() { return context_; }
  static bool Inactive() { return inactive_; }
  static void SetInactive(bool inactive) { inactive_ = inactive; }
  static CScreenBuffers* GetScreenBuffers() { return buffers_.get(); }
  static void SetScreenBuffers(std::unique_ptr<CScreenBuffers> buffers);
  static CSoundEngine* GetSoundEngine() { return sound_.get(); }
  static void SetSoundEngine(std::unique_ptr<CSoundEngine> engine);
  static ce::HWND GetMenuBar() { return menu_bar_; }
  static void SetMenuBar(ce::HWND bar) { menu_bar_ = bar; }

 private:
  static void Deactivate(int32_t id, const char16_t* empty_report);

  static inline CDocument_* instance_pointer_ = nullptr;
  static inline ce::HINSTANCE instance_ = nullptr;
  static inline ce::HWND main_window_ = nullptr;
  static inline ce::HWND menu_bar_ = nullptr;
  static inline std::array<ViewEntry, kMaxViews> table_{};
  static inline int count_ = 0;
  static inline int32_t current_id_ = 0;
  static inline int32_t previous_id_ = 0;
  static inline bool inactive_ = false;
  static inline bool locked_ = false;
  static inline AppContext context_{};
  static inline std::unique_ptr<CScreenBuffers> buffers_;
  static inline std::unique_ptr<CSoundEngine> sound_;
};

template <class Visit>
bool CDocument_::ForEachView(int32_t id, const char16_t* empty_report, Visit visit) {
  bool found = false;
  for (int i = 0; i < count_; ++i) {
    ViewEntry& e = table_[static_cast<size_t>(i)];
    if (e.id != id) continue;
    found = true;
    if (e.view == nullptr) {
      if (empty_report != nullptr) ce::ReportFatalError(empty_report);
      continue;
    }
    if (visit(e.view.get())) break;
  }
  return found;
}

// Stops the program in order: sound, every screen's OnExit, the fonts, the window (whose
// destruction posts the quit message).
void Shutdown();
// The least time between two ticks of the current screen.
void SetFrameInterval(ce::DWORD milliseconds);
ce::DWORD GetFrameInterval();
