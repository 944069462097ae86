// CIdealBodyView (screen 13): the ideal weight for a typed height, or after the mode button the
// ideal height for a typed weight, each in units the user picks. The arithmetic is
// tools/ideal_body's; the screen reads its controls and shows what comes back. Nothing is
// stored: every visit starts over in ideal-weight mode with feet and pounds. A form screen: its
// dialog is modal.
#pragma once

#include <string>

#include "frame/dialog_view.h"
#include "tools/ideal_body.h"

class CIdealBodyView : public CFormView_ {
 public:
  CIdealBodyView();
  void OnLoad() override;
  void OnActivate() override;

  BodyMode Mode() const { return mode_; }
  int InputUnit() const { return input_unit_; }
  int OutputUnit() const { return output_unit_; }

 protected:
  ce::INT_PTR OnInitDialog(ce::HWND dialog) override;
  void OnPaint(ce::HWND dialog, ce::HDC dc, const ce::RECT& area) override;
  ce::INT_PTR OnControlColour(ce::WPARAM dc, ce::LPARAM control) override;
  ce::INT_PTR OnScreenMessage(ce::HWND dialog, ce::UINT message, ce::WPARAM wparam,
                              ce::LPARAM lparam) override;

 private:
  // Shows the labels, instruction, button text and unit lists of `mode`, both lists on their
  // first unit.
  void EnterMode(ce::HWND dialog, BodyMode mode);
  void Calculate(ce::HWND dialog);
  // Keeps the input field to digits and points, as each keystroke changes it.
  void FilterInput(ce::HWND dialog);

  BodyMode mode_ = BodyMode::kIdealWeight;
  int input_unit_ = 0;
  int output_unit_ = 0;
  // Set while the filter rewrites the field, whose new text notifies another update.
  bool filtering_ = false;
  std::u16string weight_instruction_;  // in ideal-weight mode
  std::u16string height_instruction_;  // in ideal-height mode
};
