// Dialog templates of Cycle Charts and Temperature Charts, in dialog units (x * 7 / 4 pixels).
// Both are sized to the screen when they open; the charts are drawn under their controls.
#include "frame/ui_resources.h"
#include "platform/dialog.h"
#include "ui/ids.h"

namespace {

using ce::DialogItemTemplate;
using ce::DialogTemplate;

constexpr ce::DWORD kPopup = ce::WS_POPUP | ce::WS_CAPTION | ce::DS_MODALFRAME;

const DialogItemTemplate kCycleCharts[] = {
    {u"BUTTON", kCtlChartAdd, u"Add", ce::BS_DEFPUSHBUTTON | ce::WS_TABSTOP, 0, 105, 4, 30, 10},
    {u"STATIC", kCtlChartFirstYear, u"", ce::SS_CENTER, 0, 24, 5, 30, 10},
    {u"STATIC", kCtlChartLastYear, u"", ce::SS_CENTER, 0, 72, 5, 30, 10},
};

const DialogItemTemplate kTempCharts[] = {
    {u"STATIC", kCtlChartFirstDate, u"", ce::SS_CENTER, 0, 24, 5, 30, 10},
    {u"STATIC", kCtlChartLastDate, u"", ce::SS_CENTER, 0, 72, 5, 30, 10},
};

const DialogTemplate kTemplates[] = {
    // Modeless and shown at once; the charts are drawn outside a paint on page turns and taps,
    // and must not draw over the controls.
    {kDlgCycleCharts, u"Calvira", kPopup | ce::WS_VISIBLE | ce::WS_CLIPCHILDREN, 0, 0, 139, 156,
     u"System", 8, kCycleCharts},
    {kDlgTempCharts, u"Calvira", kPopup | ce::WS_VISIBLE | ce::WS_CLIPCHILDREN, 0, 0, 139, 156,
     u"System", 8, kTempCharts},
};

}  // namespace

void RegisterChartDialogs() {
  ce::RegisterDialogTemplates(kTemplates);
}
