// Screens whose behaviour later work builds. Each already has its id, class and
// remember-as-previous flag, so the frame, the menu and the screen switch treat it as they
// will treat the finished screen; activating one shows nothing of its own yet.
#pragma once

#include "frame/view.h"

#define CALVIRA_PENDING_VIEW(Class, remember) \
  class Class : public CPlainView_ {          \
   public:                                    \
    Class() : CPlainView_(remember) {}        \
  };

CALVIRA_PENDING_VIEW(CPillHistoryView, true)
CALVIRA_PENDING_VIEW(CDayEntryView, false)
CALVIRA_PENDING_VIEW(CPillTimeView, false)

#undef CALVIRA_PENDING_VIEW
