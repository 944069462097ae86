#include "frame/document.h"

#include "frame/commands.h"
#include "gfx/graphic_buffer.h"
#include "platform/message_box.h"
#include "sound/sound_engine.h"
#include "store/ce_database.h"
#include "ui/texts.h"

CDocument_::CDocument_() {
  instance_ = nullptr;
  main_window_ = nullptr;
  menu_bar_ = nullptr;
  if (instance_pointer_ != nullptr) ce::ReportFatalError(kTextInstanceExists);
  instance_pointer_ = this;
  for (ViewEntry& e : table_) e = ViewEntry{};
  count_ = 0;
  inactive_ = false;
  locked_ = false;
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
  if (instance_ == nullptr) ce::ReportFatalError(u"CDocument_::GetInstance()");
  return instance_;
}

ce::HWND CDocument_::GetMainWnd() {
  if (main_window_ == nullptr) ce::ReportFatalError(u"CDocument_::GetMainWnd()");
  return main_window_;
}

void CDocument_::AddView(std::unique_ptr<CView_> view, int32_t id) {
  for (int i = 0; i < count_; ++i) {
    if (table_[static_cast<size_t>(i)].id == id) ce::ReportFatalError(kTextWrongViewId);
  }
  // The table is full at 50 entries; a screen beyond that could never be reached.
  if (count_ >= kMaxViews) {
    ce::ReportFatalError(kTextWrongViewId);
    return;
  }
  table_[static_cast<size_t>(count_)] = ViewEntry{std::move(view), id};
  ++count_;
}

CView_* CDocument_::FindView(int32_t id) {
  CView_* found = nullptr;
  ForEachView(id, nullptr, [&found](CView_* view) {
    found = view;
    return true;
  });
  return found;
}

void CDocument_::Deactivate(int32_t id, const char16_t* empty_report) {
  ForEachView(id, empty_report, [](CView_* view) {
    if (view->OnDeactivate() && view->RemembersAsPrevious()) previous_id_ = current_id_;
    return true;
  });
}

void CDocument_::SetView(int32_t id) {
  ce::PostMessage(main_window_, WM_SETVIEW, static_cast<ce::WPARAM>(id), 0);
  Deactivate(current_id_, kTextEmptyViewEntry);
}

void CDocument_::OnSetView(int32_t id) {
  if (!ForEachView(current_id_, nullptr, [](CView_*) { return true; })) {
    ce::ReportFatalError(u"CDocument_::OnSetView 1");
  } else {
    Deactivate(current_id_, kTextEmptyViewEntryOnTickOrArrival);
  }
  current_id_ = id;
  CView_* view = FindView(id);
  if (view == nullptr) {
    ce::ReportFatalError(u"CDocument_::OnSetView 2");
    return;
  }
  view->OnActivate();
}

void CDocument_::GoBack() {
  SetView(previous_id_);
}

void CDocument_::PassParams(int32_t id, const ViewParams* params) {
  ForEachView(id, kTextEmptyViewEntry, [params](CView_* view) {
    view->OnParams(params);
    return true;
  });
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

void CDocument_::SetLocked(bool locked) {
  locked_ = locked;
  if (menu_bar_ != nullptr) ce::EnableWindow(menu_bar_, locked ? ce::FALSE : ce::TRUE);
}

bool CDocument_::OnCommand(ce::WPARAM command) {
  const CommandEntry* entry = FindMenuCommand(static_cast<uint32_t>(command));
  if (entry == nullptr) return false;
  // Taken and dropped: a command that reached the screen could still act on it.
  if (locked_) return true;
  if (entry->database != nullptr && CountRecordsOf(entry->database) < entry->least_records) {
    if (entry->refusal != nullptr) {
      ce::MessageBox(main_window_, entry->refusal, kTextCalvira, ce::MB_OK);
      SetView(kCycleView);
    } else {
      ShowHelp(entry->help_text);
    }
    return true;
  }
  switch (entry->action) {
    case CommandEntry::Action::kScreen:
      SetView(entry->screen);
      if (entry->previous >= 0) SetPreviousView(entry->previous);
      break;
    case CommandEntry::Action::kHelp:
      ShowHelp(entry->help_text);
      break;
    case CommandEntry::Action::kExit:
      Shutdown();
      break;
    case CommandEntry::Action::kSeparator:
      return false;
  }
  return true;
}
