// CHelpView (screen 4): one help text from the string table over the framed background, with
// a Done button that goes back.
#pragma once

#include <array>

#include "frame/dialog_view.h"
#include "gfx/fast_bitmap.h"

class CHelpView : public CFormView_ {
 public:
  CHelpView();
  void OnParams(const ViewParams* params) override;
  void OnLoad() override;
  void OnActivate() override;

 protected:
  ce::INT_PTR OnInitDialog(ce::HWND dialog) override;
  void OnPaint(ce::HWND dialog, ce::HDC dc, const ce::RECT& area) override;
  ce::INT_PTR OnControlColour(ce::WPARAM dc, ce::LPARAM control) override;
  ce::INT_PTR OnScreenMessage(ce::HWND dialog, ce::UINT message, ce::WPARAM wparam,
                              ce::LPARAM lparam) override;

 private:
  uint32_t text_id_ = 0;
  std::array<char16_t, 500> text_{};  // longer texts are cut here
  CFastBitmap frame_;
};
