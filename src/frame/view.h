// CView_: what every screen is to the frame. Nine virtual operations are the only way the frame
// talks to a screen; most screens leave most of them empty.
#pragma once

#include <cstdint>
#include <iterator>
#include <string>

#include "platform/window.h"

// Screen ids, which double as the screens' numbers everywhere in the program.
enum ViewId : int32_t {
  kAboutView = 0,
  kScheduleView = 2,
  kStartView = 3,
  kHelpView = 4,
  kCycleView = 5,
  kCycleHistoryView = 6,
  kCycleChartsView = 7,
  kTempHistoryView = 8,
  kTempChartsView = 9,
  kPillHistoryView = 10,
  kDayEntryView = 11,
  kPredictionView = 12,
  kIdealBodyView = 13,
  kDiaryView = 14,
  kMirrorView = 15,
  kPasswordView = 16,
  kOptionsView = 17,
  kAddCycleView = 18,
  kEditCycleView = 19,
  kNoteView = 20,
  kPillTimeView = 21,
  kPasswordEntryView = 22,
};

// Handed to OnInit and OnExit; word 1 carries the screen id at shutdown.
struct AppContext {
  int32_t words[5] = {0, 0, 0, 0, 0};
};

// A parameter block, filled by the sender on its stack and read at once by the receiver.
struct ViewParams {
  uint32_t number = 0;          // the help text's string id for the help screen
  char16_t date_text[10] = {};  // "M/d/yy", zero-terminated
  uint32_t day_number = 0;
  uintptr_t extra = 0;  // a dialog window, or a value handed back unchanged later
};

// The block's date text: up to its terminator, never past the end of the buffer.
inline std::u16string DateTextOf(const ViewParams& params) {
  size_t length = 0;
  while (length < std::size(params.date_text) && params.date_text[length] != u'\0') ++length;
  return std::u16string(params.date_text, length);
}

class CView_ {
 public:
  CView_() = default;
  virtual ~CView_() = default;
  CView_(const CView_&) = delete;
  CView_& operator=(const CView_&) = delete;

  virtual void OnExit(AppContext* context) = 0;
  virtual void OnInit(AppContext* context) = 0;
  // A message of the main window while this screen is current (menu commands excepted: the
  // router takes those). Return true when handled: the main window then answers 0, otherwise
  // 1, for every message alike; nothing goes on to the default window procedure.
  virtual bool OnMessage(ce::HWND window, ce::UINT message, ce::WPARAM wparam,
                         ce::LPARAM lparam) = 0;
  virtual void OnLoad() = 0;
  virtual void OnTick() = 0;
  virtual void OnParams(const ViewParams* params) = 0;
  // Releases the screen's windows if it is active; returns whether it was.
  virtual bool OnDeactivate() = 0;
  virtual void OnActivate() = 0;

  bool IsActive() const { return active_; }
  bool RemembersAsPrevious() const { return remember_as_previous_; }

 protected:
  bool active_ = false;
  bool remember_as_previous_ = true;
};

// What leaves a screen that is only a picture (About, Mirror): a tap anywhere, or Enter or Esc.
inline bool LeavesPictureScreen(ce::UINT message, ce::WPARAM wparam) {
  return message == ce::WM_LBUTTONDOWN ||
         (message == ce::WM_KEYDOWN && (wparam == ce::VK_RETURN || wparam == ce::VK_ESCAPE));
}

// The plain screen: every operation empty, OnDeactivate the usual flag check. Screens override
// what they need.
class CPlainView_ : public CView_ {
 public:
  explicit CPlainView_(bool remember_as_previous) { remember_as_previous_ = remember_as_previous; }
  void OnExit(AppContext*) override {}
  void OnInit(AppContext*) override {}
  bool OnMessage(ce::HWND, ce::UINT, ce::WPARAM, ce::LPARAM) override { return false; }
  void OnLoad() override {}
  void OnTick() override {}
  void OnParams(const ViewParams*) override {}
  bool OnDeactivate() override {
    if (!active_) return false;
    active_ = false;
    return true;
  }
  void OnActivate() override { active_ = true; }
};
