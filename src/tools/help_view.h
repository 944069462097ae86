// CHelpView (screen 4): one help text from the string table over the framed background, with
// a Done button that goes back.
#pragma once

#include <array>

#include "frame/view.h"
#include "gfx/fast_bitmap.h"

class CHelpView : public CPlainView_ {
 public:
  CHelpView() : CPlainView_(false) {}
  void OnParams(const ViewParams* params) override;
  void OnLoad() override;
  void OnActivate() override;
  bool OnDeactivate() override;
  ce::INT_PTR OnDialogMessage(ce::HWND dialog, ce::UINT message, ce::WPARAM wparam,
                              ce::LPARAM lparam);

  uint32_t TextId() const { return text_id_; }

 private:
  uint32_t text_id_ = 0;
  std::array<char16_t, 500> text_{};  // longer texts are cut here
  ce::HWND dialog_ = nullptr;         // while the dialog runs
  CFastBitmap background_;
  CFastBitmap frame_;
};
