// COptionsView (screen 17, "Options"): the start-up logo, the cycle chart's min/max scale and
// the temperature scale. Read from the settings record on every entry, written back on OK only.
#pragma once

#include "frame/dialog_view.h"
#include "tools/options_rules.h"

class COptionsView : public CFormView_ {
 public:
  COptionsView();
  void OnLoad() override;
  void OnActivate() override;

 protected:
  ce::INT_PTR OnInitDialog(ce::HWND dialog) override;
  ce::INT_PTR OnControlColour(ce::WPARAM dc, ce::LPARAM control) override;
  ce::INT_PTR OnScreenMessage(ce::HWND dialog, ce::UINT message, ce::WPARAM wparam,
                              ce::LPARAM lparam) override;

 private:
  void OnCommand(ce::HWND dialog, int id);
  void OnOk(ce::HWND dialog);
  void Leave(ce::HWND dialog, ce::INT_PTR result);

  // The settings being edited.
  OptionsChoice choice_;
};
