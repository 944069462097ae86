#include "frame/document.h"

#include "gfx/graphic_buffer.h"
#include "platform/message_box.h"
#include "sound/sound_engine.h"
#include "store/ce_database.h"

namespace {

void FatalError(const char16_t* text) {
  ce::MessageBox(ce::GetForegroundWindow(), text, u"Fatal Error", ce::MB_OK | ce::MB_ICONSTOP);
}

}  // namespace

CDocument_::CDocument_() {
  instance_ = nullptr;
  main_window_ = nullptr;
  menu_bar_ = nullptr;
  if (instance_pointer_ != nullptr) FatalError(u" The Instance already exist!");
  instance_pointer_ = this;
  for (ViewEntry& e : table_) e = ViewEntry{};
  count_ = 0;
  inactive_ = false;
  current_id_ = 0;
  previous_id_ = 0;
  context_ = {};
  buffers_.reset();
  sound_.reset();
}

CDocument_::~CDocument_() {
  for (int i = 0; i < count_; ++i) table_[static_cast<size_t>(i)].view.reset();
  buffers_.reset();
  sound_.reset();
  count_ = 0;
  if (instance_pointer_ == this) instance_pointer_ = nullptr;
}

ce::HINSTANCE CDocument_::GetInstance() {
  if (instance_ == nullptr) FatalError(u"CDocument_::GetInstance()");
  return instance_;
}

ce::HWND CDocument_::GetMainWnd() {
  if (main_window_ == nullptr) FatalError(u"CDocument_::GetMainWnd()");
  return main_window_;
}

void CDocument_::AddView(std::unique_ptr<CView_> view, int32_t id) {
  for (int i = 0; i < count_; ++i) {
    if (table_[static_cast<size_t>(i)].id == id) FatalError(u"Wrong View ID");
  }
  // The table is full at 50 entries; a screen beyond that could never be reached.
  if (count_ >= kMaxViews) {
    FatalError(u"Wrong View ID");
    return;
  }
  table_[static_cast<size_t>(count_)] = ViewEntry{std::move(view), id};
  ++count_;
}

CView_* CDocument_::FindView(int32_t id) {
  for (int i = 0; i < count_; ++i) {
    if (table_[static_cast<size_t>(i)].id == id) return table_[static_cast<size_t>(i)].view.get();
  }
  return nullptr;
}

void CDocument_::Deactivate(int32_t id, const char16_t* empty_report) {
  for (int i = 0; i < count_; ++i) {
    ViewEntry& e = table_[static_cast<size_t>(i)];
    if (e.id != id) continue;
    if (e.view == nullptr) {
      if (empty_report != nullptr) FatalError(empty_report);
      continue;
    }
    if (e.view->OnDeactivate() && e.view->RemembersAsPrevious()) previous_id_ = current_id_;
    return;
  }
}

void CDocument_::SetView(int32_t id) {
  ce::PostMessage(main_window_, WM_SETVIEW, static_cast<ce::WPARAM>(id), 0);
  Deactivate(current_id_, u"Not existing view");
}

void CDocument_::OnSetView(int32_t id) {
  bool found = false;
  for (int i = 0; i < count_; ++i)
    found = found || table_[static_cast<size_t>(i)].id == current_id_;
  if (!found) {
    FatalError(u"CDocument_::OnSetView 1");
  } else {
    Deactivate(current_id_, u"Not exixting view");
  }
  current_id_ = id;
  CView_* view = FindView(id);
  if (view == nullptr) {
    FatalError(u"CDocument_::OnSetView 2");
    return;
  }
  view->OnActivate();
}

void CDocument_::GoBack() {
  SetView(previous_id_);
}

void CDocument_::PassParams(int32_t id, const ViewParams* params) {
  for (int i = 0; i < count_; ++i) {
    ViewEntry& e = table_[static_cast<size_t>(i)];
    if (e.id != id) continue;
    if (e.view == nullptr) {
      FatalError(u"Not existing view");
      return;
    }
    e.view->OnParams(params);
    return;
  }
}

void CDocument_::SetScreenBuffers(std::unique_ptr<CScreenBuffers> buffers) {
  buffers_ = std::move(buffers);
}

void CDocument_::SetSoundEngine(std::unique_ptr<CSoundEngine> engine) {
  sound_ = std::move(engine);
}

namespace {

uint16_t CountRecordsOf(const char16_t* name) {
  CCeDatabase db;
  uint16_t count = 0;
  if (db.Open(name, 0)) count = db.CountRecords();
  db.Close();
  return count;
}

void ShowHelp(uint32_t text_id) {
  ViewParams params;
  params.number = text_id;
  CDocument_::PassParams(kHelpView, &params);
  CDocument_::SetView(kHelpView);
}

}  // namespace

bool CDocument_::OnCommand(ce::WPARAM command) {
  switch (command) {
    case 40068:
      SetView(kCycleView);
      return true;
    case 40069:
      SetView(kCycleHistoryView);
      return true;
    case 40070:
      if (CountRecordsOf(u"Cycles") >= 2) {
        SetView(kCycleChartsView);
      } else {
        ce::MessageBox(main_window_, u"There are no finished cycles!", u"Calvira", ce::MB_OK);
        SetView(kCycleView);
      }
      return true;
    case 40071:
      SetView(kTempHistoryView);
      return true;
    case 40072:
      if (CountRecordsOf(u"Temperature") >= 1) {
        SetView(kTempChartsView);
      } else {
        ShowHelp(40073);
      }
      return true;
    case 40084:
      Shutdown();
      return true;
    case 40075:
      SetView(kScheduleView);
      SetPreviousView(kDayEntryView);
      return true;
    case 40076:
      SetView(kPillHistoryView);
      return true;
    case 40077:
      SetView(kPredictionView);
      return true;
    case 40078:
      SetView(kIdealBodyView);
      return true;
    case 40079:
      SetView(kDiaryView);
      return true;
    case 40080:
      SetView(kMirrorView);
      return true;
    case 40081:
      SetView(kOptionsView);
      return true;
    case 40082:
      SetView(kPasswordView);
      return true;
    case 40057:
      ShowHelp(40069);
      return true;
    case 40058:
      ShowHelp(40070);
      return true;
    case 40059:
      ShowHelp(40071);
      return true;
    case 40060:
      ShowHelp(40072);
      return true;
    case 40061:
      ShowHelp(40073);
      return true;
    case 40062:
      ShowHelp(40074);
      return true;
    case 40063:
      ShowHelp(40075);
      return true;
    case 40064:
      ShowHelp(40076);
      return true;
    case 40065:
      ShowHelp(40077);
      return true;
    case 40003:
      SetView(kAboutView);
      return true;
    default:
      return false;
  }
}
