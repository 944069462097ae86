#include "platform/display.h"

#include <SDL.h>

#include <cstdlib>
#include <cstring>
#include <functional>

#include "platform/embedded_resources.h"
#include "platform/messages.h"
#include "support/temp_store.h"

namespace ce {
namespace {

using Kind = InputEvent::Kind;

// Events as short texts, to compare sequences at a glance.
std::vector<std::string> Texts(const std::vector<InputEvent>& events) {
  static const char* const kNames[] = {"down", "up",       "move",      "key-down", "key-up",
                                       "char", "focus-in", "focus-out", "close"};
  std::vector<std::string> out;
  for (const InputEvent& e : events) {
    std::string text = kNames[static_cast<int>(e.kind)];
    if (e.kind <= Kind::kPenMove) text += " " + std::to_string(e.x) + "," + std::to_string(e.y);
    if (e.kind == Kind::kKeyDown || e.kind == Kind::kKeyUp) text += " " + std::to_string(e.key);
    if (e.kind == Kind::kChar) text += " " + std::to_string(static_cast<int>(e.ch));
    out.push_back(text);
  }
  return out;
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

// The pixels themselves are the screenshots' (they must stay byte-identical); here, failures.
TEST(Png, TheWriterSaysWhereItFailedAndLeavesNoFileTheReaderDecodesNothingOfABrokenIcon) {
  const auto dir = calvira::testing::MakeTempDir("calvira-png");
  const uint16_t pixels[] = {0xF800, 0x07E0};
  EXPECT_EQ(WritePng565((dir / "shot.png").string(), pixels, 2, 1), "");
  const auto missing = (dir / "missing" / "shot.png").string();
  EXPECT_NE(WritePng565(missing, pixels, 1, 1).find(missing), std::string::npos);
  EXPECT_NE(WritePng565((dir / "empty.png").string(), pixels, 0, 1), "");
  EXPECT_FALSE(std::filesystem::exists(dir / "empty.png"));
  std::filesystem::remove_all(dir);
  // The window's icon is a PNG in the program; one that does not decode leaves only no icon.
  const std::span<const unsigned char> icon = EmbeddedWindowIcon();
  int32_t width = 0, height = 0;
  EXPECT_EQ(ReadPngRgba(icon, &width, &height).size(), 64u * 64u * 4u);
  EXPECT_EQ(std::pair(width, height), std::pair(64, 64));
  EXPECT_TRUE(ReadPngRgba(icon.first(icon.size() / 2), &width, &height).empty());
}

// Usable bounds of a display in, the window's scale out: the frame is 240 x 294.
TEST(DisplayScale, IsTheLargestWholeScaleThatFitsTheDisplayComfortably) {
  const struct {
    int32_t width, height;
    int scale;
  } kRows[] = {
      {0, 0, 1},       {200, 250, 1},   {1280, 720, 2},  {1920, 1080, 3},
      {1080, 1920, 3}, {2560, 1440, 4}, {3840, 2100, 6}, {7680, 4320, 6},
  };
  for (const auto& row : kRows) {
    EXPECT_EQ(PickScale(240, 294, row.width, row.height), row.scale)
        << row.width << " x " << row.height;
  }
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

  // An event of `type`, filled in by `fill`, as SDL itself would deliver it to our window.
  static void Push(Uint32 type, const std::function<void(SDL_Event&)>& fill) {
    SDL_Event event{};
    event.type = type;
    fill(event);
    SDL_Window* window = nullptr;
    for (Uint32 id = 1; id < 64 && !window; ++id) window = SDL_GetWindowFromID(id);
    ASSERT_NE(window, nullptr);
    // Mouse, key, text and window events all keep the window's id right after their type and
    // time stamp.
    event.window.windowID = SDL_GetWindowID(window);
    ASSERT_EQ(SDL_PushEvent(&event), 1);
  }
  static void Button(Uint32 type, Uint8 button, int x, int y) {
    Push(type, [&](SDL_Event& e) {
      e.button.button = button;
      e.button.x = x;
      e.button.y = y;
      e.button.state = type == SDL_MOUSEBUTTONDOWN ? SDL_PRESSED : SDL_RELEASED;
    });
  }

  std::unique_ptr<Display> display_;
};

TEST_F(DisplaySdl, PresentsAtTheScaleAskedAndTranslatesMouseKeysTextAndWindowEvents) {
  EXPECT_EQ(display_->Scale(), 2);
  std::vector<uint16_t> frame(240 * 294, 0xF800);
  display_->Present(frame.data(), 240, 294, 240 * 2, RECT{0, 0, 240, 294});
  display_->Present(frame.data(), 240, 294, 240 * 2, RECT{});
  display_->Raise();
  std::vector<InputEvent> out;
  display_->WaitInput(0, {}, out);  // whatever opening the window produced
  out.clear();

  Button(SDL_MOUSEBUTTONUP, SDL_BUTTON_LEFT, 10, 10);  // pressed elsewhere: ignored
  Button(SDL_MOUSEBUTTONDOWN, SDL_BUTTON_RIGHT, 10, 10);
  Button(SDL_MOUSEBUTTONDOWN, SDL_BUTTON_LEFT, 101, 51);
  Push(SDL_MOUSEMOTION, [](SDL_Event& e) {
    e.motion.state = SDL_BUTTON_LMASK;
    e.motion.x = 2000;  // dragged far out of the window
    e.motion.y = -40;
  });
  Button(SDL_MOUSEBUTTONUP, SDL_BUTTON_LEFT, 478, 586);
  // F13 is nothing we know.
  for (const auto& [type, sym] :
       {std::pair{SDL_KEYDOWN, SDLK_q}, {SDL_KEYDOWN, SDLK_F13}, {SDL_KEYUP, SDLK_KP_ENTER}})
    Push(type, [sym](SDL_Event& e) { e.key.keysym.sym = sym; });
  Push(SDL_TEXTINPUT, [](SDL_Event& e) {
    std::strcpy(e.text.text, "\xC3\xA9\xF0\x9F\x98\x80");  // é and a character beyond 16 bits
  });
  for (Uint8 event : {SDL_WINDOWEVENT_FOCUS_LOST, SDL_WINDOWEVENT_CLOSE})
    Push(SDL_WINDOWEVENT, [event](SDL_Event& e) { e.window.event = event; });

  display_->WaitInput(0, {}, out);
  // Window pixels at scale 2 become frame-buffer pixels, clamped to the frame.
  EXPECT_EQ(Texts(out), (std::vector<std::string>{
                            "down 50,25", "move 239,0", "up 239,293", "key-down 81", "key-up 13",
                            "char 233", "char 55357", "char 56832", "focus-out", "close"}));

  out.clear();
  display_->WaitInput(30, {}, out);  // waits briefly, then comes back empty
  EXPECT_TRUE(out.empty());
}

}  // namespace
}  // namespace ce
