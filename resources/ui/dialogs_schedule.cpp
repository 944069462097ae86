// The calendar's dialog: the whole screen, with the month's title on the picture's blue plate.
#include "frame/ui_resources.h"
#include "platform/dialog.h"
#include "ui/ids.h"

namespace {

const ce::DialogItemTemplate kCalendar[] = {
    {u"STATIC", kCtlMonthTitle, u"", ce::SS_CENTER, 0, 48, 3, 42, 10},
};

const ce::DialogTemplate kTemplates[] = {
    {kDlgSchedule, u"", ce::WS_POPUP, 0, 0, 139, 156, u"System", 8, kCalendar},
};

}  // namespace

void RegisterScheduleDialogs() {
  ce::RegisterDialogTemplates(kTemplates);
}
