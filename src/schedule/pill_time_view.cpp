#include "schedule/pill_time_view.h"

#include <algorithm>
#include <iterator>
#include <utility>

#include "frame/screen_look.h"
#include "gfx/graphic_buffer.h"
#include "ui/ids.h"

namespace {

constexpr int32_t kBackgroundWidth = 240;
constexpr int32_t kBackgroundHeight = 102;
constexpr int32_t kTileWidth = 35;
constexpr int32_t kTileHeight = 17;

void Cut(const CFastBitmap& from, CFastBitmap& to, int32_t left, int32_t top, int32_t width,
         int32_t height) {
  to.Allocate(static_cast<uint16_t>(width), static_cast<uint16_t>(height));
  GraphicBuffer::Blit(from.Pixels(), to.Pixels(), {0, 0, width, height},
                      {left, top, left + width, top + height});
}

constexpr int kCaptionFontControls[] = {kCtlPillTimeColon};

void DrawAt(const CFastBitmap& picture, PickerPlace place) {
  picture.Draw(static_cast<uint16_t>(place.x), static_cast<uint16_t>(place.y));
}

}  // namespace

// No SHInitDialog flags: the picker keeps its template's size and place.
CPillTimeView::CPillTimeView()
    : CFormView_(
          false,
          {.template_id = kDlgPillTime, .init_flags = 0, .caption_font = kCaptionFontControls}) {}

void CPillTimeView::OnLoad() {
  CFastBitmap whole;
  whole.Load(kImgBackground);
  Cut(whole, background_, 0, 0, kBackgroundWidth, kBackgroundHeight);
  CFastBitmap sheet;
  sheet.Load(kImgNumberTiles);
  for (size_t i = 0; i < tiles_.size(); ++i) {
    const auto top = static_cast<int32_t>(i) * kTileHeight;
    Cut(sheet, tiles_[i], 0, top, kTileWidth, kTileHeight);
    Cut(sheet, focus_tiles_[i], kTileWidth, top, kTileWidth, kTileHeight);
  }
  up_.Load(kImgArrowUp);
  down_.Load(kImgArrowDown);
  am_.Load(kImgSwitchAm);
  pm_.Load(kImgSwitchPm);
}

void CPillTimeView::OnParams(const ViewParams* params) {
  if (params != nullptr) editor_ = reinterpret_cast<ce::HWND>(params->extra);
}

void CPillTimeView::OnActivate() {
  time_ = PickerStart();
  CFormView_::OnActivate();
}

void CPillTimeView::OnLeftRunning() {
  if (ce::IsWindow(editor_)) {
    ce::EnableWindow(editor_, ce::TRUE);
    ce::EndDialog(editor_, ce::IDCANCEL);
  }
}

void CPillTimeView::Draw(ce::HWND dialog) const {
  CScreenBuffers* buffers = CDocument_::GetScreenBuffers();
  SetDrawTarget(buffers->GetScreenBuffer());
  background_.Draw(0, 0);
  DrawAt(up_, kUpArrow);
  DrawAt(down_, kDownArrow);
  DrawAt(time_.pm ? pm_ : am_, kHalfSwitch);
  auto tile = [&](int value, TimeField field) -> const CFastBitmap& {
    const auto& set = time_.focus == field ? focus_tiles_ : tiles_;
    return set[static_cast<size_t>(value)];
  };
  DrawAt(tile(time_.hour, TimeField::kHour), kHourTile);
  DrawAt(tile(time_.tens, TimeField::kTens), kTensTile);
  DrawAt(tile(time_.units, TimeField::kUnits), kUnitsTile);
  buffers->PresentTo(dialog);
}

void CPillTimeView::Leave(ce::HWND dialog, bool ok) {
  ForgetDialog();  // ended here: the switch back must not end the editor
  CDocument_::SetView(kDayEntryView);
  // The editor is given back on every way out, or its dialog would stay dead.
  if (ce::IsWindow(editor_)) {
    ce::EnableWindow(editor_, ce::TRUE);
    if (ok) ce::SetDlgItemText(editor_, kCtlDayTime, PickerText(time_).c_str());
    // The keyboard goes on where it left the editor.
    ce::SetFocus(ce::GetDlgItem(editor_, kCtlDayTime));
  }
  ce::EndDialog(dialog, ok ? ce::IDOK : ce::IDCANCEL);
}

ce::INT_PTR CPillTimeView::OnInitDialog(ce::HWND dialog) {
  ce::SetDlgItemText(dialog, kCtlPillTimeColon, u":");
  return ce::TRUE;
}

void CPillTimeView::OnPaint(ce::HWND dialog, ce::HDC, const ce::RECT&) {
  Draw(dialog);
}

ce::INT_PTR CPillTimeView::OnControlColour(ce::WPARAM dc, ce::LPARAM) {
  return ControlColours(dc);
}

bool CPillTimeView::OnKey(ce::HWND dialog, ce::UINT key) {
  using enum PickerKey;
  constexpr std::pair<ce::UINT, PickerKey> kKeys[] = {
      {ce::VK_UP, kUp},       {ce::VK_DOWN, kDown}, {ce::VK_LEFT, kLeft},
      {ce::VK_RIGHT, kRight}, {'A', kAm},           {'P', kPm},
  };
  const auto* found = std::find_if(std::begin(kKeys), std::end(kKeys),
                                   [key](const auto& k) { return k.first == key; });
  if (found == std::end(kKeys)) return false;
  time_ = KeyPicker(time_, found->second);
  Draw(dialog);
  return true;
}

ce::INT_PTR CPillTimeView::OnScreenMessage(ce::HWND dialog, ce::UINT message, ce::WPARAM wparam,
                                           ce::LPARAM lparam) {
  using namespace ce;
  switch (message) {
    case WM_LBUTTONDOWN:
      time_ = TapPicker(time_, GET_X_LPARAM(lparam), GET_Y_LPARAM(lparam));
      Draw(dialog);
      return TRUE;
    case WM_COMMAND:
      if (LOWORD(wparam) != IDOK && LOWORD(wparam) != IDCANCEL) return FALSE;
      Leave(dialog, LOWORD(wparam) == IDOK);
      return TRUE;
    default:
      return FALSE;
  }
}
