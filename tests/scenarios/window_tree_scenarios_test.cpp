// What `calvira --inspect` and `--screenshot` answer, asked at the moments a user could ask:
// on a screen, with a menu open, inside a message box's modal loop, at the password prompt.
// Answering must leave the program exactly as it was.
#include <cstring>
#include <set>
#include <sstream>
#include <tuple>

#include "frame/commands.h"
#include "scenarios/cycle_steps.h"

namespace calvira::testing {
namespace {

std::vector<std::string> Inspect() {
  std::vector<std::string> lines;
  std::istringstream in(ce::AnswerControlRequest("inspect"));
  for (std::string line; std::getline(in, line);) lines.push_back(line);
  return lines;
}

// The first line that holds every one of `parts`, or "".
std::string LineWith(const std::vector<std::string>& lines,
                     std::initializer_list<std::string_view> parts) {
  for (const std::string& line : lines) {
    bool all = true;
    for (std::string_view part : parts) all = all && line.find(part) != std::string::npos;
    if (all) return line;
  }
  return {};
}

// The main window first, and every window after the one it names as its parent (its owner, for
// a pop-up), so that a reader meets a window before its children.
void ExpectParentsFirst(const std::vector<std::string>& lines) {
  ASSERT_GE(lines.size(), 2u);
  EXPECT_NE(lines[1].find(R"("class": "CalviraApp")"), std::string::npos) << lines[1];
  std::set<std::string> seen = {"0"};
  for (size_t i = 1; i < lines.size(); ++i) {
    const std::string& line = lines[i];
    const auto number = [&line](const std::string& key) {
      const size_t at = line.find("\"" + key + "\": ") + key.size() + 4;
      return line.substr(at, line.find(',', at) - at);
    };
    EXPECT_TRUE(seen.count(number("parent")) > 0) << line;
    seen.insert(number("hwnd"));
  }
}

// Everything that answering could disturb: the frame, the presents, focus and activation, and
// whether the main window waits for a repaint.
auto Observe() {
  ce::FlushDisplay();
  const uint16_t* pixels = ce::FrameBufferPixels();
  ce::RECT r;
  return std::make_tuple(
      std::vector<uint16_t>(pixels, pixels + ce::kScreenWidth * ce::kFrameHeight),
      static_cast<ce::HeadlessDisplay*>(ce::GetDisplay())->PresentCount(), ce::GetFocus(),
      ce::GetActiveWindow(), ce::GetUpdateRect(CDocument_::GetMainWnd(), &r, ce::FALSE));
}

TEST(Inspect, DescribesTheScreenTheMenuAndAMessageBoxWithoutChangingAnything) {
  Scenario s("inspect");
  const ce::UINT main_menu = MenuBarButtons()[0].command;
  s.Check([] {
     const auto lines = Inspect();
     ExpectParentsFirst(lines);
     EXPECT_EQ(lines[0],
               R"({"screen": 5, "previous": 5, "frame_interval_ms": 500, "active": true})");
   })
      .TapMenuEntry(main_menu)
      .Check([] {
        ExpectParentsFirst(Inspect());
        const std::string menu = LineWith(Inspect(), {R"("class": "CalviraMenuPopup")"});
        EXPECT_NE(menu.find(R"("Cycle Charts", "", "Temp History")"), std::string::npos) << menu;
        // The last entry sits on the menu's bottom border, which ends at the screen area's edge.
        EXPECT_NE(menu.find(R"([0, 248, 150, 266]])"), std::string::npos) << menu;
      })
      .TapMenuEntry(main_menu)
      .Menu(40070)
      .Check([] {
        const auto before = Observe();
        const std::vector<uint16_t>& frame = std::get<0>(before);
        const auto lines = Inspect();
        const std::string screenshot = ce::AnswerControlRequest("screenshot");
        EXPECT_EQ(Observe(), before) << "answering disturbed the program";
        ExpectParentsFirst(lines);

        const std::string box = LineWith(
            lines, {R"("caption": "Calvira")", R"("body": "There are no finished cycles!")"});
        ASSERT_NE(box, "");
        const std::string hwnd = box.substr(9, box.find(',') - 9);  // {"hwnd": N, ...
        EXPECT_NE(LineWith(lines, {"\"parent\": " + hwnd + ",", R"("id": 1,)", R"("text": "OK")"}),
                  "");
        // The frame as it is shown, pixel for pixel.
        const std::string header = "frame 240 294\n";
        ASSERT_EQ(screenshot.size(), header.size() + frame.size() * 2);
        EXPECT_EQ(screenshot.substr(0, header.size()), header);
        EXPECT_EQ(std::memcmp(screenshot.data() + header.size(), frame.data(), frame.size() * 2),
                  0);
      })
      .ExpectBox(u"Calvira", u"There are no finished cycles!", ce::IDOK);
  EXPECT_EQ(s.Run(), 0);
  EXPECT_EQ(ce::AnswerControlRequest("what?").rfind("error: ", 0), 0u);
}

TEST(Inspect, APasswordFieldIsReportedByItsLengthOnly) {
  Scenario s("inspect password");
  s.Before(StoreLocked);
  // The prompt with three characters typed is also the README's picture.
  s.Type(u"Sec")
      .Screenshot(ShotPath("password.png"))
      .Check([] {
        const auto lines = Inspect();
        const std::string field = LineWith(lines, {R"("class": "Edit")"});
        EXPECT_NE(field.find(R"("text": "•••")"), std::string::npos) << field;
        EXPECT_NE(field.find(R"("password": true)"), std::string::npos) << field;
        for (const std::string& line : lines) EXPECT_EQ(line.find("Sec"), std::string::npos);
      })
      .Key(ce::VK_ESCAPE);
  EXPECT_EQ(s.Run(), 0);
}

}  // namespace
}  // namespace calvira::testing
