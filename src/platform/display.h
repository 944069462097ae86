// Where the frame buffer is shown and where input comes from. Two back ends: an SDL2 window for
// people and a headless one for tests and screenshots. The window system owns one display.
#pragma once

#include <poll.h>

#include <cstdint>
#include <functional>
#include <memory>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "platform/geometry.h"

namespace ce {

struct InputEvent {
  enum class Kind {
    kPenDown,  // x, y in frame-buffer pixels
    kPenUp,
    kPenMove,  // only while the pen is down
    kKeyDown,  // key: a virtual-key code (VK_*, or 'A'-'Z', '0'-'9')
    kKeyUp,
    kChar,     // ch: a typed character (text input, already composed)
    kFocusIn,  // the display window got the user's attention
    kFocusOut,
    kClose,  // the window's close button
  };
  Kind kind = Kind::kPenDown;
  int32_t x = 0;
  int32_t y = 0;
  uint32_t key = 0;
  char16_t ch = 0;
};

class Display {
 public:
  virtual ~Display() = default;
  // Shows the frame buffer (RGB 5-6-5, `stride` bytes per row); `dirty` is the part that
  // changed since the last call and may be used to copy less.
  virtual void Present(const uint16_t* pixels, int32_t width, int32_t height, int32_t stride,
                       const RECT& dirty) = 0;
  // Appends the input that has arrived. Waits at most `timeout_ms` for some (0: do not wait;
  // -1: no limit) and returns as soon as there is any, or as soon as one of `wake` is ready.
  virtual void WaitInput(int32_t timeout_ms, std::span<const pollfd> wake,
                         std::vector<InputEvent>& out) = 0;
  // Brings the window to the front and gives it the focus.
  virtual void Raise() = 0;
  // Pixels on the desktop per frame-buffer pixel.
  virtual int Scale() const = 0;
  // The desktop's clipboard, which the edit fields' cut, copy and paste use.
  virtual void SetClipboardText(std::u16string_view text) = 0;
  virtual std::u16string ClipboardText() = 0;
};

// The largest whole scale (1-6) at which a frame of width x height fits comfortably in a
// display's usable area; 1 when even that does not fit or the area is unknown.
int PickScale(int32_t width, int32_t height, int32_t usable_width, int32_t usable_height);

// An SDL2 window of width x height frame-buffer pixels scaled by `scale` (1-6) with nearest-
// pixel filtering; 0 picks the scale for the display the window is on, and picks again when it
// moves to another. The window can be made larger, never smaller than the frame.
// Null with a reason in `error` when no window can be opened.
std::unique_ptr<Display> CreateSdlDisplay(int32_t width, int32_t height, const std::string& title,
                                          int scale, std::string* error);

// The headless display keeps the last frame presented and takes its input from a queue that
// the test harness fills. When the program waits for input and the queue is empty, the idle
// hook runs first with the time the program is willing to wait (-1: forever); the harness then
// queues the next step of its script or lets virtual time pass.
class HeadlessDisplay : public Display {
 public:
  using IdleHook = std::function<void(int32_t timeout_ms)>;
  HeadlessDisplay(int32_t width, int32_t height);
  void Present(const uint16_t* pixels, int32_t width, int32_t height, int32_t stride,
               const RECT& dirty) override;
  void WaitInput(int32_t timeout_ms, std::span<const pollfd> wake,
                 std::vector<InputEvent>& out) override;
  void Raise() override { ++raise_count_; }
  int Scale() const override { return 1; }
  // A clipboard of its own, so that tests never see or change the desktop's.
  void SetClipboardText(std::u16string_view text) override { clipboard_.assign(text); }
  std::u16string ClipboardText() override { return clipboard_; }

  void Push(const InputEvent& event) { queue_.push_back(event); }
  void SetIdleHook(IdleHook hook) { idle_hook_ = std::move(hook); }
  // The frame as last presented, width x height pixels, rows packed.
  const std::vector<uint16_t>& Frame() const { return frame_; }
  int32_t Width() const { return width_; }
  int32_t Height() const { return height_; }
  int RaiseCount() const { return raise_count_; }
  int PresentCount() const { return present_count_; }

 private:
  int32_t width_;
  int32_t height_;
  std::vector<uint16_t> frame_;
  std::vector<InputEvent> queue_;
  std::u16string clipboard_;
  IdleHook idle_hook_;
  int raise_count_ = 0;
  int present_count_ = 0;
};

// Decodes a PNG into 8-bit RGBA, rows packed; empty when it is not one or is over 256 pixels on
// a side.
std::vector<uint8_t> ReadPngRgba(std::span<const unsigned char> png, int32_t* width,
                                 int32_t* height);

// Writes RGB 5-6-5 pixels (rows packed) as an 8-bit RGB PNG. Returns an empty text on success.
std::string WritePng565(const std::string& path, const uint16_t* pixels, int32_t width,
                        int32_t height);

}  // namespace ce
