// The program's report of an internal consistency problem: a "Fatal Error" box with the stop
// icon, owned by the foreground window. The caller goes on afterwards.
#pragma once

#include "platform/message_box.h"

namespace gfx_detail {

inline void ShowFatalError(const char16_t* text) {
  ce::MessageBox(ce::GetForegroundWindow(), text, u"Fatal Error", ce::MB_ICONSTOP);
}

}  // namespace gfx_detail
