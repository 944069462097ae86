#include "platform/display.h"

#include <SDL.h>
#include <gtest/gtest.h>
#include <png.h>

#include <cstdlib>
#include <cstring>
#include <filesystem>

#include "platform/messages.h"
#include "support/temp_store.h"

namespace ce {
namespace {

using Kind = InputEvent::Kind;

InputEvent Key(uint32_t key) {
  InputEvent e;
  e.kind = Kind::kKeyDown;
  e.key = key;
  return e;
}

InputEvent Tap(Kind kind, int32_t x, int32_t y) {
  InputEvent e;
  e.kind = kind;
  e.x = x;
  e.y = y;
  return e;
}

TEST(DisplayHeadless, PresentCopiesRowsByStrideAndClipsToItsSize) {
  HeadlessDisplay display(4, 3);
  ASSERT_EQ(display.Frame(), std::vector<uint16_t>(12, 0));

  // Six pixels per row in memory, four shown; the padding must never reach the frame.
  std::vector<uint16_t> source(6 * 3, 0xDEAD);
  for (int y = 0; y < 3; ++y) {
    for (int x = 0; x < 4; ++x) source[y * 6 + x] = static_cast<uint16_t>(y * 16 + x);
  }
  display.Present(source.data(), 4, 3, 6 * 2, RECT{1, 1, 2, 2});
  EXPECT_EQ(display.Frame(), (std::vector<uint16_t>{0, 1, 2, 3, 16, 17, 18, 19, 32, 33, 34, 35}));
  EXPECT_EQ(display.PresentCount(), 1);

  // A frame larger than the display is cut to it rather than written past its end.
  std::vector<uint16_t> large(8 * 5, 0x1234);
  display.Present(large.data(), 8, 5, 8 * 2, RECT{0, 0, 8, 5});
  EXPECT_EQ(display.Frame(), std::vector<uint16_t>(12, 0x1234));
  EXPECT_EQ(display.PresentCount(), 2);
}

TEST(DisplayHeadless, WaitInputHandsOverTheQueueInOrderAndIdlesOnlyWhenEmpty) {
  HeadlessDisplay display(240, 294);
  std::vector<InputEvent> out;
  display.WaitInput(-1, {}, out);  // no hook, nothing queued: returns at once
  EXPECT_TRUE(out.empty());

  std::vector<int32_t> idle_calls;
  display.SetIdleHook([&](int32_t timeout_ms) {
    idle_calls.push_back(timeout_ms);
    if (idle_calls.size() == 2) display.Push(Key('Q'));
  });

  display.Push(Tap(Kind::kPenDown, 10, 20));
  display.Push(Tap(Kind::kPenUp, 11, 21));
  display.Push(Key(VK_RETURN));
  out.push_back(Key(VK_ESCAPE));  // what the caller already holds stays in front
  display.WaitInput(100, {}, out);
  EXPECT_TRUE(idle_calls.empty());
  ASSERT_EQ(out.size(), 4u);
  EXPECT_EQ(out[0].key, VK_ESCAPE);
  EXPECT_EQ(out[1].kind, Kind::kPenDown);
  EXPECT_EQ(out[1].x, 10);
  EXPECT_EQ(out[2].kind, Kind::kPenUp);
  EXPECT_EQ(out[2].y, 21);
  EXPECT_EQ(out[3].key, VK_RETURN);

  out.clear();
  display.WaitInput(70, {}, out);
  EXPECT_EQ(idle_calls, std::vector<int32_t>{70});
  EXPECT_TRUE(out.empty());

  display.WaitInput(-1, {}, out);  // the hook queues a key; it arrives in the same call
  EXPECT_EQ(idle_calls, (std::vector<int32_t>{70, -1}));
  ASSERT_EQ(out.size(), 1u);
  EXPECT_EQ(out[0].key, static_cast<uint32_t>('Q'));

  out.clear();
  display.WaitInput(0, {}, out);  // nothing left over from before
  EXPECT_TRUE(out.empty());
  EXPECT_EQ(idle_calls.size(), 3u);
}

struct Rgb {
  int r, g, b;
  bool operator==(const Rgb&) const = default;
};

std::vector<Rgb> ReadPng(const std::filesystem::path& path, int* width, int* height) {
  png_image image;
  std::memset(&image, 0, sizeof(image));
  image.version = PNG_IMAGE_VERSION;
  if (!png_image_begin_read_from_file(&image, path.c_str())) {
    ADD_FAILURE() << image.message;
    return {};
  }
  image.format = PNG_FORMAT_RGB;
  std::vector<uint8_t> bytes(PNG_IMAGE_SIZE(image));
  if (!png_image_finish_read(&image, nullptr, bytes.data(), 0, nullptr)) {
    ADD_FAILURE() << image.message;
    return {};
  }
  *width = static_cast<int>(image.width);
  *height = static_cast<int>(image.height);
  std::vector<Rgb> pixels;
  for (size_t i = 0; i + 2 < bytes.size(); i += 3) {
    pixels.push_back({bytes[i], bytes[i + 1], bytes[i + 2]});
  }
  return pixels;
}

TEST(PngWriter, WritesEightBitChannelsThatReadBack) {
  const auto dir = calvira::testing::MakeTempDir("calvira-png");
  const auto path = dir / "shot.png";
  // Red, green, blue, white; black and a middle value (16, 32, 15) on the second row.
  const uint16_t pixels[] = {0xF800, 0x07E0, 0x001F,
                             0xFFFF, 0x0000, static_cast<uint16_t>(16 << 11 | 32 << 5 | 15),
                             0x0000, 0x0000};
  ASSERT_EQ(WritePng565(path.string(), pixels, 4, 2), "");

  int width = 0;
  int height = 0;
  const auto read = ReadPng(path, &width, &height);
  ASSERT_EQ(width, 4);
  ASSERT_EQ(height, 2);
  ASSERT_EQ(read.size(), 8u);
  EXPECT_EQ(read[0], (Rgb{255, 0, 0}));
  EXPECT_EQ(read[1], (Rgb{0, 255, 0}));
  EXPECT_EQ(read[2], (Rgb{0, 0, 255}));
  EXPECT_EQ(read[3], (Rgb{255, 255, 255}));
  EXPECT_EQ(read[4], (Rgb{0, 0, 0}));
  EXPECT_EQ(read[5], (Rgb{132, 130, 123}));
  std::filesystem::remove_all(dir);
}

TEST(PngWriter, ReportsFailureWithThePath) {
  const auto dir = calvira::testing::MakeTempDir("calvira-png");
  const auto path = (dir / "missing" / "shot.png").string();
  const uint16_t pixel = 0;
  const std::string error = WritePng565(path, &pixel, 1, 1);
  EXPECT_NE(error.find(path), std::string::npos) << error;
  EXPECT_NE(WritePng565((dir / "empty.png").string(), &pixel, 0, 1), "");
  EXPECT_FALSE(std::filesystem::exists(dir / "empty.png"));
  std::filesystem::remove_all(dir);
}

// SDL's dummy video driver needs no X server, so the real back end runs here too.
class DisplaySdl : public ::testing::Test {
 protected:
  void SetUp() override {
    setenv("SDL_VIDEODRIVER", "dummy", 1);
    std::string error;
    display_ = CreateSdlDisplay(240, 294, "Calvira", 2, &error);
    if (!display_) GTEST_SKIP() << "no SDL display: " << error;
  }

  // The events SDL itself would deliver to our window.
  static void Push(SDL_Event event) {
    SDL_Window* window = nullptr;
    for (Uint32 id = 1; id < 64 && !window; ++id) window = SDL_GetWindowFromID(id);
    ASSERT_NE(window, nullptr);
    const Uint32 id = SDL_GetWindowID(window);
    switch (event.type) {
      case SDL_MOUSEBUTTONDOWN:
      case SDL_MOUSEBUTTONUP:
        event.button.windowID = id;
        break;
      case SDL_MOUSEMOTION:
        event.motion.windowID = id;
        break;
      case SDL_KEYDOWN:
      case SDL_KEYUP:
        event.key.windowID = id;
        break;
      case SDL_TEXTINPUT:
        event.text.windowID = id;
        break;
      default:
        event.window.windowID = id;
        break;
    }
    ASSERT_EQ(SDL_PushEvent(&event), 1);
  }

  static SDL_Event Button(Uint32 type, Uint8 button, int x, int y) {
    SDL_Event e{};
    e.type = type;
    e.button.button = button;
    e.button.state = type == SDL_MOUSEBUTTONDOWN ? SDL_PRESSED : SDL_RELEASED;
    e.button.x = x;
    e.button.y = y;
    return e;
  }

  std::unique_ptr<Display> display_;
};

TEST_F(DisplaySdl, OpensAtTheScaleAskedAndPresents) {
  EXPECT_EQ(display_->Scale(), 2);
  std::vector<uint16_t> frame(240 * 294, 0xF800);
  display_->Present(frame.data(), 240, 294, 240 * 2, RECT{0, 0, 240, 294});
  display_->Present(frame.data(), 240, 294, 240 * 2, RECT{});
  display_->Raise();
  std::vector<InputEvent> out;
  display_->WaitInput(0, {}, out);
}

TEST_F(DisplaySdl, PicksTheLargestScaleThatFitsTheDesktop) {
  display_.reset();
  std::string error;
  display_ = CreateSdlDisplay(240, 294, "Calvira", 0, &error);
  ASSERT_NE(display_, nullptr) << error;
  SDL_Rect usable{};
  ASSERT_EQ(SDL_GetDisplayUsableBounds(0, &usable), 0);
  const int scale = display_->Scale();
  EXPECT_GE(scale, 1);
  if (scale > 1) {
    EXPECT_LE(294 * scale * 100, usable.h * 85);
    EXPECT_LE(240 * scale * 100, usable.w * 85);
  }
  EXPECT_TRUE(294 * (scale + 1) * 100 > usable.h * 85 || 240 * (scale + 1) * 100 > usable.w * 85);
}

TEST_F(DisplaySdl, TranslatesMouseKeysTextAndWindowEvents) {
  std::vector<InputEvent> out;
  display_->WaitInput(0, {}, out);  // whatever opening the window produced
  out.clear();

  Push(Button(SDL_MOUSEBUTTONUP, SDL_BUTTON_LEFT, 10, 10));  // pressed elsewhere: ignored
  Push(Button(SDL_MOUSEBUTTONDOWN, SDL_BUTTON_RIGHT, 10, 10));
  Push(Button(SDL_MOUSEBUTTONDOWN, SDL_BUTTON_LEFT, 101, 51));
  SDL_Event motion{};
  motion.type = SDL_MOUSEMOTION;
  motion.motion.state = SDL_BUTTON_LMASK;
  motion.motion.x = 2000;  // dragged far out of the window
  motion.motion.y = -40;
  Push(motion);
  Push(Button(SDL_MOUSEBUTTONUP, SDL_BUTTON_LEFT, 478, 586));

  SDL_Event key{};
  key.type = SDL_KEYDOWN;
  key.key.keysym.sym = SDLK_q;
  Push(key);
  key.key.keysym.sym = SDLK_F13;  // nothing we know
  Push(key);
  key.type = SDL_KEYUP;
  key.key.keysym.sym = SDLK_KP_ENTER;
  Push(key);

  SDL_Event text{};
  text.type = SDL_TEXTINPUT;
  std::strcpy(text.text.text, "\xC3\xA9\xF0\x9F\x98\x80");  // é and a character beyond 16 bits
  Push(text);

  SDL_Event window{};
  window.type = SDL_WINDOWEVENT;
  window.window.event = SDL_WINDOWEVENT_FOCUS_LOST;
  Push(window);
  window.window.event = SDL_WINDOWEVENT_CLOSE;
  Push(window);

  display_->WaitInput(0, {}, out);
  ASSERT_EQ(out.size(), 10u);
  // Window pixels at scale 2 become frame-buffer pixels, clamped to the frame.
  EXPECT_EQ(out[0].kind, Kind::kPenDown);
  EXPECT_EQ(out[0].x, 50);
  EXPECT_EQ(out[0].y, 25);
  EXPECT_EQ(out[1].kind, Kind::kPenMove);
  EXPECT_EQ(out[1].x, 239);
  EXPECT_EQ(out[1].y, 0);
  EXPECT_EQ(out[2].kind, Kind::kPenUp);
  EXPECT_EQ(out[2].x, 239);
  EXPECT_EQ(out[2].y, 293);
  EXPECT_EQ(out[3].kind, Kind::kKeyDown);
  EXPECT_EQ(out[3].key, static_cast<uint32_t>('Q'));
  EXPECT_EQ(out[4].kind, Kind::kKeyUp);
  EXPECT_EQ(out[4].key, VK_RETURN);
  EXPECT_EQ(out[5].kind, Kind::kChar);
  EXPECT_EQ(out[5].ch, u'\u00E9');
  EXPECT_EQ(out[6].ch, char16_t{0xD83D});
  EXPECT_EQ(out[7].ch, char16_t{0xDE00});
  EXPECT_EQ(out[8].kind, Kind::kFocusOut);
  EXPECT_EQ(out[9].kind, Kind::kClose);

  out.clear();
  display_->WaitInput(30, {}, out);  // waits briefly, then comes back empty
  EXPECT_TRUE(out.empty());
}

}  // namespace
}  // namespace ce
