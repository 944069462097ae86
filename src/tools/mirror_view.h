// CMirrorView (screen 15): the whole screen one picture; the first tap goes back.
#pragma once

#include "frame/view.h"

class CMirrorView : public CPlainView_ {
 public:
  CMirrorView() : CPlainView_(false) {}
  void OnActivate() override;
  bool OnMessage(ce::HWND window, ce::UINT message, ce::WPARAM wparam, ce::LPARAM lparam) override;
};
