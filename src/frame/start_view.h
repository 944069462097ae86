// CStartView (screen 3): never shown; its load creates whatever database is missing.
#pragma once

#include "frame/view.h"

class CStartView : public CPlainView_ {
 public:
  CStartView() : CPlainView_(false) {}
  void OnLoad() override;
};
