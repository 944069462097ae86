// COptionsView (screen 17, "Options"): the start-up logo, the cycle chart's min/max scale and
// the temperature scale. Read from the settings record on every entry, written back on OK only.
#pragma once

#include "frame/view.h"
#include "gfx/fast_bitmap.h"
#include "tools/options_rules.h"

class COptionsView : public CPlainView_ {
 public:
  COptionsView() : CPlainView_(false) {}
  void OnLoad() override;
  void OnActivate() override;
  bool OnDeactivate() override;
  ce::INT_PTR OnDialogMessage(ce::HWND dialog, ce::UINT message, ce::WPARAM wparam,
                              ce::LPARAM lparam);

 private:
  void Initialise(ce::HWND dialog);
  void OnCommand(ce::HWND dialog, int id);
  void OnOk(ce::HWND dialog);
  void Leave(ce::HWND dialog, ce::INT_PTR result);

  // The settings being edited.
  OptionsChoice choice_;
  ce::HWND dialog_ = nullptr;
  ce::INT_PTR result_ = 0;
  CFastBitmap background_;
};
