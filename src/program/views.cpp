// The screen table, in the order of every pass over it.
#include <memory>
#include <new>

#include "charts/cycle_charts_view.h"
#include "charts/temp_charts_view.h"
#include "cycles/add_cycle_view.h"
#include "cycles/cycle_history_view.h"
#include "cycles/cycle_view.h"
#include "cycles/edit_cycle_view.h"
#include "cycles/prediction_view.h"
#include "diary/diary_view.h"
#include "diary/note_view.h"
#include "frame/document.h"
#include "frame/start_view.h"
#include "frame/views.h"
#include "schedule/day_entry_view.h"
#include "schedule/pill_history_view.h"
#include "schedule/pill_time_view.h"
#include "schedule/schedule_view.h"
#include "temperature/temp_history_view.h"
#include "tools/about_view.h"
#include "tools/help_view.h"
#include "tools/ideal_body_view.h"
#include "tools/mirror_view.h"
#include "tools/options_view.h"
#include "tools/password_entry_view.h"
#include "tools/password_view.h"

namespace {

// A screen that cannot be allocated leaves an empty entry, which the frame reports when met.
template <typename View>
void Add(int32_t id) {
  CDocument_::AddView(std::unique_ptr<CView_>(new (std::nothrow) View()), id);
}

}  // namespace

void AddAllViews() {
  Add<CAboutView>(kAboutView);
  Add<CScheduleView>(kScheduleView);
  Add<CStartView>(kStartView);
  Add<CHelpView>(kHelpView);
  Add<CCycleView>(kCycleView);
  Add<CCycleHistoryView>(kCycleHistoryView);
  Add<CCycleChartsView>(kCycleChartsView);
  Add<CTempHistoryView>(kTempHistoryView);
  Add<CPillHistoryView>(kPillHistoryView);
  Add<CDayEntryView>(kDayEntryView);
  Add<CPredictionView>(kPredictionView);
  Add<CIdealBodyView>(kIdealBodyView);
  Add<CDiaryView>(kDiaryView);
  Add<CMirrorView>(kMirrorView);
  Add<CPasswordView>(kPasswordView);
  Add<COptionsView>(kOptionsView);
  Add<CAddCycleView>(kAddCycleView);
  Add<CEditCycleView>(kEditCycleView);
  Add<CNoteView>(kNoteView);
  Add<CPillTimeView>(kPillTimeView);
  Add<CPasswordEntryView>(kPasswordEntryView);
  Add<CTempChartsView>(kTempChartsView);
}
