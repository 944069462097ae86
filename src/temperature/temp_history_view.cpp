#include "temperature/temp_history_view.h"

#include <algorithm>
#include <string>
#include <vector>

#include "frame/frame_fonts.h"
#include "platform/dialog.h"
#include "platform/message_box.h"
#include "store/settings.h"
#include "temperature/temperature_records.h"
#include "ui/ids.h"
#include "ui/texts.h"

namespace {

// The statics and buttons drawn black on cyan; the title is white on blue.
constexpr int kCyanControls[] = {
    kCtlTempHeader, kCtlTempCelsius, kCtlTempFahrenheit,
    kCtlTempAdd,    kCtlTempDelete,  kCtlTempDeleteAll,
};

// The title, the header and the unit labels are in the caption font.
constexpr int kCaptionFontControls[] = {kCtlTitle, kCtlTempHeader, kCtlTempCelsius,
                                        kCtlTempFahrenheit};

void Show(ce::HWND dialog, int id, bool shown) {
  ce::ShowWindow(ce::GetDlgItem(dialog, id), shown ? ce::SW_SHOW : ce::SW_HIDE);
}

void AddRows(ce::HWND dialog, int id, const std::vector<std::u16string>& rows) {
  for (const std::u16string& row : rows) {
    ce::SendDlgItemMessage(dialog, id, ce::LB_ADDSTRING, 0,
                           reinterpret_cast<ce::LPARAM>(row.c_str()));
  }
}

}  // namespace

CTempHistoryView::CTempHistoryView()
    : CListView_(true, {.template_id = kDlgTempHistory,
                        .caption_font = kCaptionFontControls,
                        .cyan = kCyanControls,
                        .create_failure = u"CTempHistoryView::OnActivate"}) {}

void CTempHistoryView::OnLoad() {
  background_.Load(kImgListBackground);
}

void CTempHistoryView::OnParams(const ViewParams* params) {
  if (params == nullptr) return;
  picked_day_ = params->day_number;
  date_picked_ = true;
}

void CTempHistoryView::OnActivate() {
  // The scale is read afresh each time, so a change in Options shows on the next visit.
  Settings settings;
  ReadSettings(&settings);
  scale_ = ScaleFromSetting(settings.scale);
  CListView_::OnActivate();
  const ce::HWND dialog = Dialog();
  if (dialog == nullptr) return;
  Show(dialog, kCtlTempCelsius, scale_ == TemperatureScale::kCelsius);
  Show(dialog, kCtlTempFahrenheit, scale_ == TemperatureScale::kFahrenheit);
  if (date_picked_) {
    FillValuePicker(dialog);
    Show(dialog, kCtlTempPicker, true);
    ce::SetFocus(ce::GetDlgItem(dialog, kCtlTempPicker));
  }
  FillTemperatureList(dialog);
}

bool CTempHistoryView::OnDeactivate() {
  if (IsActive()) date_picked_ = false;
  return CListView_::OnDeactivate();
}

void CTempHistoryView::FillTemperatureList(ce::HWND dialog) {
  ce::SendDlgItemMessage(dialog, kCtlTempList, ce::LB_RESETCONTENT, 0, 0);
  AddRows(dialog, kCtlTempList, TemperatureRows(ReadTemperatures(), scale_));
}

void CTempHistoryView::FillValuePicker(ce::HWND dialog) {
  ce::SendDlgItemMessage(dialog, kCtlTempPicker, ce::LB_RESETCONTENT, 0, 0);
  AddRows(dialog, kCtlTempPicker, ValuePickerRows(scale_));
}

void CTempHistoryView::SaveReading(ce::HWND dialog) {
  const ce::LRESULT row = ce::SendDlgItemMessage(dialog, kCtlTempPicker, ce::LB_GETCURSEL, 0, 0);
  // The picker is shown only after a pick; a selection without one stores nothing.
  if (row == ce::LB_ERR || !date_picked_) return;
  SaveTemperature(picked_day_, PickedCelsius(scale_, static_cast<size_t>(row)));
  // The keyboard goes on in the list of readings, not in the picker that is going.
  const ce::HWND picker = ce::GetDlgItem(dialog, kCtlTempPicker);
  if (ce::GetFocus() == picker) ce::SetFocus(ce::GetDlgItem(dialog, kCtlTempList));
  Show(dialog, kCtlTempPicker, false);
  FillTemperatureList(dialog);
}

void CTempHistoryView::DeleteSelected(ce::HWND dialog) {
  if (TemperatureCount() == 0) return;
  const ce::LRESULT selected = ce::SendDlgItemMessage(dialog, kCtlTempList, ce::LB_GETCURSEL, 0, 0);
  if (selected == ce::LB_ERR) {
    ce::MessageBox(dialog, kTextSelectTemperatureToDelete, kTextCalvira, ce::MB_OK);
    return;
  }
  if (ce::MessageBox(dialog, kTextDeleteSelectedTemperature, kTextCalvira, ce::MB_OKCANCEL) !=
      ce::IDOK) {
    return;
  }
  // The list shows the readings in the store's day order, so a row's position is its record's.
  DeleteTemperatureAt(static_cast<size_t>(selected));
  FillTemperatureList(dialog);
}

void CTempHistoryView::DeleteAll(ce::HWND dialog) {
  if (TemperatureCount() == 0) return;
  if (ce::MessageBox(dialog, kTextDeleteAllTemperatures, kTextCalvira, ce::MB_OKCANCEL) !=
      ce::IDOK) {
    return;
  }
  if (DeleteAllTemperatures()) {
    ce::SendDlgItemMessage(dialog, kCtlTempList, ce::LB_RESETCONTENT, 0, 0);
  } else {
    // The store kept every reading: the list goes on showing what is stored.
    FillTemperatureList(dialog);
  }
}

bool CTempHistoryView::OnKey(ce::HWND dialog, ce::UINT key) {
  const ce::HWND picker = ce::GetDlgItem(dialog, kCtlTempPicker);
  if (picker == nullptr || ce::GetFocus() != picker) return false;
  if (key == ce::VK_RETURN) {
    SaveReading(dialog);
    return true;
  }
  const auto ask = [picker](ce::UINT message) {
    return static_cast<int32_t>(ce::SendMessage(picker, message, 0, 0));
  };
  const int32_t count = ask(ce::LB_GETCOUNT);
  ce::RECT client{};
  ce::GetClientRect(picker, &client);
  const int32_t page = std::max(1, client.Height() / std::max(1, ask(ce::LB_GETITEMHEIGHT)) - 1);
  const int32_t selected = ask(ce::LB_GETCURSEL);
  // With nothing chosen yet, the keys start from the first value in sight.
  const int32_t from = selected >= 0 ? selected : ask(ce::LB_GETTOPINDEX);
  int32_t to = from;
  switch (key) {
    case ce::VK_UP:
      to = selected >= 0 ? from - 1 : from;
      break;
    case ce::VK_DOWN:
      to = selected >= 0 ? from + 1 : from;
      break;
    case ce::VK_PRIOR:
      to = from - page;
      break;
    case ce::VK_NEXT:
      to = from + page;
      break;
    case ce::VK_HOME:
      to = 0;
      break;
    case ce::VK_END:
      to = count - 1;
      break;
    default:
      return false;
  }
  if (count > 0) {
    ce::SendMessage(picker, ce::LB_SETCURSEL, static_cast<ce::WPARAM>(std::clamp(to, 0, count - 1)),
                    0);
  }
  return true;
}

ce::INT_PTR CTempHistoryView::OnInitDialog(ce::HWND dialog) {
  ce::SendDlgItemMessage(dialog, kCtlTempList, ce::WM_SETFONT,
                         reinterpret_cast<ce::WPARAM>(FixedFont()), 0);
  // Hidden until the scale and a picked day say otherwise.
  Show(dialog, kCtlTempPicker, false);
  Show(dialog, kCtlTempCelsius, false);
  Show(dialog, kCtlTempFahrenheit, false);
  return ce::TRUE;
}

ce::INT_PTR CTempHistoryView::OnScreenMessage(ce::HWND dialog, ce::UINT message, ce::WPARAM wparam,
                                              ce::LPARAM) {
  using namespace ce;
  if (message != WM_COMMAND) return FALSE;
  switch (LOWORD(wparam)) {
    case kCtlTempAdd:
      date_picked_ = false;
      CDocument_::SetPreviousView(kTempHistoryView);
      CDocument_::SetView(kScheduleView);
      return TRUE;
    case kCtlTempDelete:
      DeleteSelected(dialog);
      return TRUE;
    case kCtlTempDeleteAll:
      DeleteAll(dialog);
      return TRUE;
    case kCtlTempPicker:
      if (HIWORD(wparam) != LBN_SELCHANGE) return FALSE;
      SaveReading(dialog);
      return TRUE;
    case IDCANCEL:
      CDocument_::GoBack();
      return TRUE;
    default:
      return FALSE;
  }
}
