#include <SDL.h>
#include <dlfcn.h>
#include <sys/eventfd.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstdlib>
#include <cstring>
#include <mutex>
#include <string>
#include <string_view>
#include <thread>
#include <utility>

#include "platform/display.h"
#include "platform/embedded_resources.h"
#include "platform/messages.h"
#include "platform/text.h"

namespace ce {

namespace {

// Every other source wakes the wait when it has something (see FdWaker); the cap is only a
// safety net.
constexpr int32_t kMaxWaitMs = 1000;
constexpr int kMaxScale = 6;
// A window that fills the desktop edge to edge is uncomfortable; leave room for the
// window manager's decorations and some desktop.
constexpr int kComfortPercent = 85;

// Owns the SDL video subsystem; declared first in the display so it is released last.
struct VideoSubsystem {
  bool started = false;
  VideoSubsystem() = default;
  VideoSubsystem(const VideoSubsystem&) = delete;
  VideoSubsystem& operator=(const VideoSubsystem&) = delete;
  ~VideoSubsystem() {
    if (started) SDL_QuitSubSystem(SDL_INIT_VIDEO);
  }
};

struct WindowDeleter {
  void operator()(SDL_Window* w) const { SDL_DestroyWindow(w); }
};
struct RendererDeleter {
  void operator()(SDL_Renderer* r) const { SDL_DestroyRenderer(r); }
};
struct TextureDeleter {
  void operator()(SDL_Texture* t) const { SDL_DestroyTexture(t); }
};

// Keys the screens and controls react to; everything else reaches them only as text.
uint32_t VirtualKey(SDL_Keycode sym) {
  if (sym >= SDLK_a && sym <= SDLK_z) return 'A' + static_cast<uint32_t>(sym - SDLK_a);
  if (sym >= SDLK_0 && sym <= SDLK_9) return '0' + static_cast<uint32_t>(sym - SDLK_0);
  switch (sym) {
    case SDLK_TAB:
      return VK_TAB;
    case SDLK_RETURN:
    case SDLK_KP_ENTER:
      return VK_RETURN;
    case SDLK_ESCAPE:
      return VK_ESCAPE;
    case SDLK_SPACE:
      return VK_SPACE;
    case SDLK_BACKSPACE:
      return VK_BACK;
    case SDLK_DELETE:
      return VK_DELETE;
    case SDLK_HOME:
      return VK_HOME;
    case SDLK_END:
      return VK_END;
    case SDLK_LEFT:
      return VK_LEFT;
    case SDLK_RIGHT:
      return VK_RIGHT;
    case SDLK_UP:
      return VK_UP;
    case SDLK_DOWN:
      return VK_DOWN;
    case SDLK_PAGEUP:
      return VK_PRIOR;
    case SDLK_PAGEDOWN:
      return VK_NEXT;
    case SDLK_LSHIFT:
    case SDLK_RSHIFT:
      return VK_SHIFT;
    case SDLK_LCTRL:
    case SDLK_RCTRL:
      return VK_CONTROL;
    case SDLK_F1:
      return VK_F1;
    case SDLK_F4:
      return VK_F4;
    case SDLK_F10:
      return VK_F10;
    case SDLK_LALT:
    case SDLK_RALT:
      return VK_MENU;
    default:
      return 0;
  }
}

// Wakes SDL's event wait when one of the window system's other descriptors (the control socket)
// becomes ready, so that the window thread sleeps in one place and still answers within
// milliseconds. This thread only watches: all the work stays on the window thread.
class FdWaker {
 public:
  FdWaker() : control_(::eventfd(0, EFD_CLOEXEC | EFD_NONBLOCK)) {}
  FdWaker(const FdWaker&) = delete;
  FdWaker& operator=(const FdWaker&) = delete;
  ~FdWaker() {
    {
      std::lock_guard lock(mutex_);
      stop_ = true;
    }
    Signal();
    if (thread_.joinable()) thread_.join();
    if (control_ >= 0) ::close(control_);
  }

  // `wake_event` is the SDL event type pushed when a descriptor is ready.
  bool Start(Uint32 wake_event) {
    if (control_ < 0 || wake_event == static_cast<Uint32>(-1)) return false;
    wake_event_ = wake_event;
    thread_ = std::thread([this] { Run(); });
    return true;
  }

  // Watches `fds` until one of them is ready, then pushes one wake event and watches nothing
  // until armed again.
  void Arm(std::span<const pollfd> fds) {
    if (!thread_.joinable()) return;
    {
      std::lock_guard lock(mutex_);
      if (armed_ && SameSet(fds)) return;
      watched_.assign(fds.begin(), fds.end());
      armed_ = !watched_.empty();
      ++generation_;
    }
    Signal();
  }

 private:
  bool SameSet(std::span<const pollfd> fds) const {
    return std::equal(
        fds.begin(), fds.end(), watched_.begin(), watched_.end(),
        [](const pollfd& a, const pollfd& b) { return a.fd == b.fd && a.events == b.events; });
  }

  void Signal() {
    const uint64_t one = 1;
    [[maybe_unused]] const ssize_t written = ::write(control_, &one, sizeof(one));
  }

  void Run() {
    std::vector<pollfd> set;
    for (;;) {
      uint64_t generation = 0;
      {
        std::lock_guard lock(mutex_);
        if (stop_) return;
        set.assign(watched_.begin(), watched_.end());
        generation = generation_;
      }
      set.push_back({control_, POLLIN, 0});
      const int ready = ::poll(set.data(), set.size(), -1);
      if (ready < 0 && errno != EINTR) return;
      if (ready <= 0) continue;
      if (set.back().revents != 0) {
        uint64_t count;
        [[maybe_unused]] const ssize_t got = ::read(control_, &count, sizeof(count));
        continue;
      }
      {
        std::lock_guard lock(mutex_);
        if (generation == generation_) armed_ = false, watched_.clear();
      }
      SDL_Event event{};
      event.type = wake_event_;
      SDL_PushEvent(&event);
    }
  }

  int control_;
  Uint32 wake_event_ = 0;
  std::thread thread_;
  std::mutex mutex_;
  std::vector<pollfd> watched_;
  bool armed_ = false;
  bool stop_ = false;
  uint64_t generation_ = 0;
};

// When the X server goes away, Xlib ends the process from its I/O error handler whatever the
// handler does, and says so in words of its own. Every record is already committed when its
// write returns, so nothing is lost by ending; make it a plain, quiet end instead of a failure.
int DisplayLost(void* /*x_display*/) {
  static const char kMessage[] = "calvira: the display has gone away; ending\n";
  [[maybe_unused]] const ssize_t written = ::write(STDERR_FILENO, kMessage, sizeof(kMessage) - 1);
  ::_exit(0);
}

// Xlib's report of a failed request, as its header lays it out.
struct XErrorReport {
  int type;
  void* display;
  unsigned long resource;
  unsigned long serial;
  unsigned char error_code;
  unsigned char request_code;
  unsigned char minor_code;
};
using XErrorHandler = int (*)(void*, XErrorReport*);
XErrorHandler g_previous_error_handler = nullptr;

// SDL wakes its event wait from another thread (our descriptor watcher) by sending the window a
// message over a second connection. One sent just before the window closes can reach the server
// after it is gone; Xlib's default handler would end the program with 1 for it. Such a message
// has no one left to wake, so its failure is nobody's business; every other error goes on as
// before.
int OnXError(void* display, XErrorReport* report) {
  constexpr unsigned char kBadWindow = 3;
  constexpr unsigned char kSendEvent = 25;
  if (report != nullptr && report->error_code == kBadWindow && report->request_code == kSendEvent) {
    return 0;
  }
  return g_previous_error_handler != nullptr ? g_previous_error_handler(display, report) : 0;
}

// Installed before SDL opens the display, so that SDL keeps them as the handlers it chains to
// and puts back when it closes. Xlib is loaded here as SDL would load it, never linked.
void PrepareXlib() {
  static bool done = false;
  if (done) return;
  done = true;
  void* xlib = ::dlopen("libX11.so.6", RTLD_NOW | RTLD_GLOBAL);
  if (xlib == nullptr) return;  // no Xlib: SDL will not use X11 either
  using IoHandler = int (*)(void*);
  if (auto set_io =
          reinterpret_cast<IoHandler (*)(IoHandler)>(::dlsym(xlib, "XSetIOErrorHandler"))) {
    set_io(&DisplayLost);
  }
  if (auto set =
          reinterpret_cast<XErrorHandler (*)(XErrorHandler)>(::dlsym(xlib, "XSetErrorHandler"))) {
    g_previous_error_handler = set(&OnXError);
  }
  // The library stays loaded for the life of the process, as the handlers live in it.
}

class SdlDisplay : public Display {
 public:
  SdlDisplay(int32_t width, int32_t height)
      : width_(width), height_(height), frame_(static_cast<size_t>(width) * height, 0) {}
  ~SdlDisplay() override {
    if (text_input_) SDL_StopTextInput();
  }

  std::string Open(const std::string& title, int requested_scale);

  void Present(const uint16_t* pixels, int32_t width, int32_t height, int32_t stride,
               const RECT& dirty) override;
  void WaitInput(int32_t timeout_ms, std::span<const pollfd> wake,
                 std::vector<InputEvent>& out) override;
  void Raise() override;
  int Scale() const override { return scale_; }
  void SetClipboardText(std::u16string_view text) override;
  std::u16string ClipboardText() override;

 private:
  int ScaleOn(int display_index) const;
  void Rescale(int display_index);
  void SetIcon();
  void Translate(const SDL_Event& event, std::vector<InputEvent>& out);
  void Show(const RECT& changed);
  InputEvent Pen(InputEvent::Kind kind, int32_t x, int32_t y) const;

  VideoSubsystem video_;
  int32_t width_;
  int32_t height_;
  int scale_ = 1;
  int requested_scale_ = 0;  // the user's, which no display changes
  bool text_input_ = false;
  bool pen_down_ = false;
  // The last frame, rows packed, so that an exposed window can be drawn again without asking
  // the window system to repaint.
  std::vector<uint16_t> frame_;
  std::unique_ptr<SDL_Window, WindowDeleter> window_;
  std::unique_ptr<SDL_Renderer, RendererDeleter> renderer_;
  std::unique_ptr<SDL_Texture, TextureDeleter> texture_;
  // Declared last: its thread pushes SDL events, so it stops before SDL does.
  FdWaker waker_;
};

std::string SdlDisplay::Open(const std::string& title, int requested_scale) {
  PrepareXlib();
  // The window's class is what a desktop matches with the menu entry (StartupWMClass, app_id);
  // SDL would take the executable's name, which a renamed or wrapped binary changes. Whoever
  // sets them on purpose keeps theirs.
  setenv("SDL_VIDEO_X11_WMCLASS", "calvira", 0);
  setenv("SDL_VIDEO_WAYLAND_WMCLASS", "calvira", 0);
  if (SDL_InitSubSystem(SDL_INIT_VIDEO) != 0) {
    return std::string("cannot open a window: ") + SDL_GetError();
  }
  video_.started = true;
  // Without a desktop SDL falls back to drawing nowhere, which would leave an invisible program
  // running; those drivers are only for who asks for them by name.
  const char* driver = SDL_GetCurrentVideoDriver();
  const bool invisible = driver != nullptr && (std::string_view(driver) == "offscreen" ||
                                               std::string_view(driver) == "dummy");
  if (invisible && std::getenv("SDL_VIDEODRIVER") == nullptr) {
    return "no desktop to open a window on (neither DISPLAY nor WAYLAND_DISPLAY is usable)";
  }
  // The close button must arrive once, as a window close; SDL would add a second, as a quit.
  SDL_SetHint(SDL_HINT_QUIT_ON_LAST_WINDOW_CLOSE, "0");
  SDL_SetHint(SDL_HINT_RENDER_SCALE_QUALITY, "0");
  // A 240 x 294 frame scaled by whole numbers needs no graphics card; setting up a GL context
  // for it costs most of the start-up time (about 70 ms here) and buys nothing.
  SDL_SetHint(SDL_HINT_FRAMEBUFFER_ACCELERATION, "0");

  requested_scale_ = std::clamp(requested_scale, 0, kMaxScale);
  scale_ = ScaleOn(0);  // where a centred window opens
  window_.reset(SDL_CreateWindow(title.c_str(), SDL_WINDOWPOS_CENTERED, SDL_WINDOWPOS_CENTERED,
                                 width_ * scale_, height_ * scale_,
                                 SDL_WINDOW_HIDDEN | SDL_WINDOW_RESIZABLE));
  if (!window_) return std::string("cannot open a window: ") + SDL_GetError();
  // Larger is the user's choice (the logical size below keeps the frame whole-number scaled and
  // centred); smaller would cut the frame.
  SDL_SetWindowMinimumSize(window_.get(), width_, height_);
  SetIcon();
  // Shown only now, so that the desktop never sees the window without its icon and least size.
  SDL_ShowWindow(window_.get());

  renderer_.reset(SDL_CreateRenderer(window_.get(), -1, SDL_RENDERER_SOFTWARE));
  if (!renderer_) renderer_.reset(SDL_CreateRenderer(window_.get(), -1, SDL_RENDERER_ACCELERATED));
  if (!renderer_) return std::string("cannot draw in the window: ") + SDL_GetError();

  // A logical size with integer scaling keeps pixels square and sharp even where the window
  // manager or a high-density screen gives us a different size, and SDL then reports mouse
  // positions in frame-buffer pixels.
  if (SDL_RenderSetLogicalSize(renderer_.get(), width_, height_) != 0 ||
      SDL_RenderSetIntegerScale(renderer_.get(), SDL_TRUE) != 0) {
    return std::string("cannot scale the window: ") + SDL_GetError();
  }
  texture_.reset(SDL_CreateTexture(renderer_.get(), SDL_PIXELFORMAT_RGB565,
                                   SDL_TEXTUREACCESS_STREAMING, width_, height_));
  if (!texture_) return std::string("cannot draw in the window: ") + SDL_GetError();

  SDL_StartTextInput();
  text_input_ = true;
  if (!waker_.Start(SDL_RegisterEvents(1))) return "cannot watch the control socket";
  Show(RECT{0, 0, width_, height_});
  return {};
}

int SdlDisplay::ScaleOn(int display_index) const {
  if (requested_scale_ > 0) return requested_scale_;
  SDL_Rect usable{};
  if (SDL_GetDisplayUsableBounds(display_index, &usable) != 0) return 1;
  return PickScale(width_, height_, usable.w, usable.h);
}

// A window taken to a display of another size or density takes that display's scale. It keeps
// its centre where it can and stays inside the display, so that growing cannot carry it back
// over the edge it came from.
void SdlDisplay::Rescale(int display_index) {
  SDL_Rect usable{};
  const int scale = ScaleOn(display_index);
  if (requested_scale_ > 0 || scale == scale_ ||
      (SDL_GetWindowFlags(window_.get()) & (SDL_WINDOW_MAXIMIZED | SDL_WINDOW_FULLSCREEN)) ||
      SDL_GetDisplayUsableBounds(display_index, &usable) != 0) {
    return;
  }
  scale_ = scale;
  int x = 0, y = 0, w = 0, h = 0;
  SDL_GetWindowPosition(window_.get(), &x, &y);
  SDL_GetWindowSize(window_.get(), &w, &h);
  const int new_w = width_ * scale, new_h = height_ * scale;
  x = std::clamp(x + (w - new_w) / 2, usable.x, std::max(usable.x, usable.x + usable.w - new_w));
  y = std::clamp(y + (h - new_h) / 2, usable.y, std::max(usable.y, usable.y + usable.h - new_h));
  SDL_SetWindowSize(window_.get(), new_w, new_h);
  SDL_SetWindowPosition(window_.get(), x, y);
}

// The launcher's mark, for the task bar and the window switcher. Without it the desktop shows
// a generic icon and nothing else is amiss, so a failure here is not worth a word.
void SdlDisplay::SetIcon() {
  int32_t w = 0, h = 0;
  std::vector<uint8_t> rgba = ReadPngRgba(EmbeddedWindowIcon(), &w, &h);
  if (rgba.empty()) return;
  SDL_Surface* icon =
      SDL_CreateRGBSurfaceWithFormatFrom(rgba.data(), w, h, 32, w * 4, SDL_PIXELFORMAT_RGBA32);
  if (icon == nullptr) return;
  SDL_SetWindowIcon(window_.get(), icon);  // copies the pixels
  SDL_FreeSurface(icon);
}

void SdlDisplay::SetClipboardText(std::u16string_view text) {
  SDL_SetClipboardText(ToUtf8(text).c_str());
}

std::u16string SdlDisplay::ClipboardText() {
  char* text = SDL_GetClipboardText();  // never null on success; empty when there is none
  if (text == nullptr) return {};
  std::u16string out = FromUtf8(text);
  SDL_free(text);
  return out;
}

void SdlDisplay::Present(const uint16_t* pixels, int32_t width, int32_t height, int32_t stride,
                         const RECT& dirty) {
  if (!pixels || stride <= 0) return;
  const RECT changed = Intersect(
      dirty, RECT{0, 0, std::min({width, width_, stride / 2}), std::min(height, height_)});
  const auto* source = reinterpret_cast<const uint8_t*>(pixels);
  for (int32_t y = changed.top; y < changed.bottom; ++y) {
    std::memcpy(&frame_[static_cast<size_t>(y) * width_ + changed.left],
                source + static_cast<size_t>(y) * stride + changed.left * sizeof(uint16_t),
                static_cast<size_t>(changed.Width()) * sizeof(uint16_t));
  }
  Show(changed);
}

void SdlDisplay::Show(const RECT& changed) {
  if (!changed.Empty()) {
    const SDL_Rect area{changed.left, changed.top, changed.Width(), changed.Height()};
    SDL_UpdateTexture(texture_.get(), &area,
                      &frame_[static_cast<size_t>(changed.top) * width_ + changed.left],
                      width_ * static_cast<int>(sizeof(uint16_t)));
  }
  SDL_SetRenderDrawColor(renderer_.get(), 0, 0, 0, 255);
  SDL_RenderClear(renderer_.get());
  SDL_RenderCopy(renderer_.get(), texture_.get(), nullptr, nullptr);
  SDL_RenderPresent(renderer_.get());
}

void SdlDisplay::WaitInput(int32_t timeout_ms, std::span<const pollfd> wake,
                           std::vector<InputEvent>& out) {
  SDL_Event event;
  bool any = false;
  while (SDL_PollEvent(&event)) {
    any = true;
    Translate(event, out);
  }
  if (any || timeout_ms == 0) return;
  waker_.Arm(wake);
  const int32_t wait = timeout_ms < 0 ? kMaxWaitMs : std::min(timeout_ms, kMaxWaitMs);
  if (!SDL_WaitEventTimeout(&event, wait)) return;
  Translate(event, out);
  while (SDL_PollEvent(&event)) Translate(event, out);
}

InputEvent SdlDisplay::Pen(InputEvent::Kind kind, int32_t x, int32_t y) const {
  InputEvent e;
  e.kind = kind;
  // Outside the frame while the button is held (the mouse is captured) or in the bars beside
  // a letter-boxed frame: the pen is at the nearest edge.
  e.x = std::clamp<int32_t>(x, 0, width_ - 1);
  e.y = std::clamp<int32_t>(y, 0, height_ - 1);
  return e;
}

void SdlDisplay::Translate(const SDL_Event& event, std::vector<InputEvent>& out) {
  switch (event.type) {
    case SDL_MOUSEBUTTONDOWN:
      if (event.button.button != SDL_BUTTON_LEFT) break;
      pen_down_ = true;
      out.push_back(Pen(InputEvent::Kind::kPenDown, event.button.x, event.button.y));
      break;
    case SDL_MOUSEBUTTONUP:
      // An up without our down (the press began in another window) would lift a pen that
      // never touched us.
      if (event.button.button != SDL_BUTTON_LEFT || !pen_down_) break;
      pen_down_ = false;
      out.push_back(Pen(InputEvent::Kind::kPenUp, event.button.x, event.button.y));
      break;
    case SDL_MOUSEMOTION:
      if (!pen_down_ || !(event.motion.state & SDL_BUTTON_LMASK)) break;
      out.push_back(Pen(InputEvent::Kind::kPenMove, event.motion.x, event.motion.y));
      break;
    case SDL_KEYDOWN:
    case SDL_KEYUP: {
      const uint32_t key = VirtualKey(event.key.keysym.sym);
      if (!key) break;
      InputEvent e;
      e.kind = event.type == SDL_KEYDOWN ? InputEvent::Kind::kKeyDown : InputEvent::Kind::kKeyUp;
      e.key = key;
      out.push_back(e);
      break;
    }
    case SDL_TEXTINPUT:
      for (char16_t unit : FromUtf8(event.text.text)) {
        InputEvent e;
        e.kind = InputEvent::Kind::kChar;
        e.ch = unit;
        out.push_back(e);
      }
      break;
    case SDL_WINDOWEVENT:
      switch (event.window.event) {
        case SDL_WINDOWEVENT_FOCUS_GAINED:
          out.push_back(InputEvent{.kind = InputEvent::Kind::kFocusIn});
          break;
        case SDL_WINDOWEVENT_FOCUS_LOST:
          out.push_back(InputEvent{.kind = InputEvent::Kind::kFocusOut});
          break;
        case SDL_WINDOWEVENT_CLOSE:
          out.push_back(InputEvent{.kind = InputEvent::Kind::kClose});
          break;
        case SDL_WINDOWEVENT_EXPOSED:
        case SDL_WINDOWEVENT_SIZE_CHANGED:
          Show(RECT{});
          break;
        case SDL_WINDOWEVENT_DISPLAY_CHANGED:
          Rescale(event.window.data1);
          break;
        default:
          break;
      }
      break;
    case SDL_QUIT:
      out.push_back(InputEvent{.kind = InputEvent::Kind::kClose});
      break;
    default:
      break;
  }
}

void SdlDisplay::Raise() {
  if (SDL_GetWindowFlags(window_.get()) & SDL_WINDOW_MINIMIZED) SDL_RestoreWindow(window_.get());
  SDL_RaiseWindow(window_.get());
}

}  // namespace

int PickScale(int32_t width, int32_t height, int32_t usable_width, int32_t usable_height) {
  if (width <= 0 || height <= 0 || usable_width <= 0 || usable_height <= 0) return 1;
  const int by_width = usable_width * kComfortPercent / 100 / width;
  const int by_height = usable_height * kComfortPercent / 100 / height;
  return std::clamp(std::min(by_width, by_height), 1, kMaxScale);
}

std::unique_ptr<Display> CreateSdlDisplay(int32_t width, int32_t height, const std::string& title,
                                          int scale, std::string* error) {
  std::string reason;
  if (width <= 0 || height <= 0) {
    reason = "cannot open a window of no size";
  } else {
    auto display = std::make_unique<SdlDisplay>(width, height);
    reason = display->Open(title, scale);
    if (reason.empty()) {
      if (error) error->clear();
      return display;
    }
  }
  if (error) *error = std::move(reason);
  return nullptr;
}

}  // namespace ce
