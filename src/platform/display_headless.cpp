#include <algorithm>
#include <cstring>
#include <utility>

#include "platform/display.h"

namespace ce {

HeadlessDisplay::HeadlessDisplay(int32_t width, int32_t height)
    : width_(std::max<int32_t>(width, 0)),
      height_(std::max<int32_t>(height, 0)),
      frame_(static_cast<size_t>(width_) * static_cast<size_t>(height_), 0) {}

void HeadlessDisplay::Present(const uint16_t* pixels, int32_t width, int32_t height, int32_t stride,
                              const RECT& /*dirty*/) {
  ++present_count_;
  if (!pixels || stride <= 0) return;
  // Screenshots compare whole frames, so the full frame is copied rather than trusting that
  // every caller reports its dirty rectangle exactly.
  const int32_t columns = std::min({width, width_, stride / 2});
  const int32_t rows = std::min(height, height_);
  if (columns <= 0 || rows <= 0) return;
  const auto* source = reinterpret_cast<const uint8_t*>(pixels);
  for (int32_t y = 0; y < rows; ++y) {
    std::memcpy(&frame_[static_cast<size_t>(y) * static_cast<size_t>(width_)],
                source + static_cast<size_t>(y) * static_cast<size_t>(stride),
                static_cast<size_t>(columns) * sizeof(uint16_t));
  }
}

void HeadlessDisplay::WaitInput(int32_t timeout_ms, std::span<const pollfd> /*wake*/,
                                std::vector<InputEvent>& out) {
  // Time is the script's here: the window system serves its other sources after every wait.
  if (queue_.empty() && idle_hook_) {
    // The hook may replace itself (a script moving to its next stage); keep this one alive
    // until it returns.
    IdleHook hook = idle_hook_;
    hook(timeout_ms);
  }
  out.insert(out.end(), queue_.begin(), queue_.end());
  queue_.clear();
}

}  // namespace ce
