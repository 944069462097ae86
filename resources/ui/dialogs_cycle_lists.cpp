// Dialog templates of Cycle History and Prediction, in dialog units (x * 7 / 4 pixels). Both
// are sized to the screen when they open; the places are those of the handheld's screens.
#include "frame/ui_resources.h"
#include "platform/dialog.h"
#include "platform/message_box.h"
#include "ui/ids.h"

namespace {

using ce::DialogItemTemplate;
using ce::DialogTemplate;

constexpr ce::DWORD kPopup = ce::WS_POPUP | ce::WS_CAPTION | ce::DS_MODALFRAME;
constexpr ce::DWORD kTab = ce::WS_TABSTOP;

// Cycle History: the cycles in a fixed-pitch list, the average under it, three buttons.
const DialogItemTemplate kCycleHistory[] = {
    {u"STATIC", kCtlTitle, u"Cycle History", ce::SS_LEFT, 0, 45, 2, 50, 10},
    {u"STATIC", kCtlHistoryStartHeading, u"Start date", ce::SS_LEFT, 0, 10, 16, 40, 10},
    {u"STATIC", kCtlHistoryLengthHeading, u"Cycle length", ce::SS_LEFT, 0, 72, 16, 50, 10},
    {u"LISTBOX", kCtlHistoryList, u"", ce::LBS_NOTIFY | ce::WS_VSCROLL | ce::WS_BORDER | kTab, 0, 8,
     31, 124, 87},
    {u"STATIC", kCtlHistoryAverageLabel, u"Average cycle length", ce::SS_LEFT, 0, 10, 123, 80, 10},
    // Wide enough for "N/A" in the bold caption font, and still short of "days".
    {u"STATIC", kCtlHistoryAverage, u"", ce::SS_LEFT, 0, 94, 123, 19, 10},
    {u"STATIC", kCtlHistoryDays, u"days", ce::SS_LEFT, 0, 114, 123, 22, 9},
    {u"BUTTON", kCtlHistoryAdd, u"Add", ce::BS_PUSHBUTTON | kTab, 0, 6, 137, 39, 10},
    {u"BUTTON", kCtlHistoryDelete, u"Delete", ce::BS_PUSHBUTTON | kTab, 0, 50, 137, 39, 10},
    {u"BUTTON", kCtlHistoryDeleteAll, u"Delete All", ce::BS_PUSHBUTTON | kTab, 0, 94, 137, 39, 10},
};

// Prediction: what the stored cycles say, the period to predict over, the predicted starts.
// The average field is the first stop, so that the focus never opens on a date field: a date
// field that gets the focus opens the calendar.
const DialogItemTemplate kPrediction[] = {
    {u"STATIC", kCtlTitle, u"Prediction", ce::SS_LEFT, 0, 47, 2, 45, 10},
    {u"STATIC", kCtlPredictionLastEndLabel, u"Based on Last Cycle End", ce::SS_LEFT, 0, 3, 20, 95,
     10},
    {u"STATIC", kCtlPredictionLastEnd, u"", ce::SS_CENTER, 0, 103, 21, 30, 9},
    {u"STATIC", kCtlPredictionAverageLabel, u"Average cycle length", ce::SS_LEFT, 0, 4, 36, 80, 10},
    {u"EDIT", kCtlPredictionAverage, u"", ce::ES_NUMBER | ce::WS_BORDER | kTab, 0, 89, 34, 14, 12},
    {u"STATIC", kCtlPredictionRange, u"", ce::SS_LEFT, 0, 106, 35, 30, 9},
    {u"STATIC", kCtlPredictionStartLabel, u"Select start date", ce::SS_LEFT, 0, 3, 51, 68, 8},
    {u"EDIT", kCtlPredictionStart, u"", ce::ES_READONLY | ce::WS_BORDER | kTab, 0, 5, 62, 54, 12},
    {u"STATIC", kCtlPredictionEndLabel, u"Select end date", ce::SS_LEFT, 0, 3, 90, 63, 9},
    {u"EDIT", kCtlPredictionEnd, u"", ce::ES_READONLY | ce::WS_BORDER | kTab, 0, 5, 103, 54, 12},
    {u"STATIC", kCtlPredictionListLabel, u"Predicted Dates", ce::SS_LEFT, 0, 74, 51, 62, 8},
    {u"LISTBOX", kCtlPredictionList, u"", ce::WS_VSCROLL | ce::WS_BORDER | kTab, 0, 74, 63, 60, 53},
    {u"BUTTON", kCtlPredict, u"Predict", ce::BS_PUSHBUTTON | kTab, 0, 93, 121, 40, 10},
    {u"BUTTON", kCtlPredictionAddCycle, u"Add Cycle", ce::BS_PUSHBUTTON | kTab, 0, 25, 136, 40, 10},
    {u"BUTTON", ce::IDOK, u"OK", ce::BS_PUSHBUTTON | kTab, 0, 74, 136, 40, 10},
};

const DialogTemplate kTemplates[] = {
    // Modeless: shown as soon as it is made.
    {kDlgCycleHistory, u"Cycle History", kPopup | ce::WS_VISIBLE, 0, 0, 144, 157, u"System", 8,
     kCycleHistory},
    {kDlgPrediction, u"Prediction", kPopup, 0, 0, 151, 157, u"System", 8, kPrediction},
};

}  // namespace

void RegisterCycleListDialogs() {
  ce::RegisterDialogTemplates(kTemplates);
}
