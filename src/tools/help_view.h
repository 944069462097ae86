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

  uint32_t TextId() const { return text_id_; }

 private:
  static ce::INT_PTR DialogProc(ce::HWND dialog, ce::UINT message, ce::WPARAM wparam,
                                ce::LPARAM lparam);
  uint32_t text_id_ = 0;
};
