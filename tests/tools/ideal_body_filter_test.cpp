#include <gtest/gtest.h>

#include <string>

#include "platform/text.h"
#include "tools/ideal_body.h"

namespace {

// A bad character typed at the end goes alone, whatever the text starts with; only a point it
// would leave on its own goes with it.
TEST(IdealBodyFilter, ABadLastCharacterTakesNothingTypedBeforeIt) {
  const std::pair<std::u16string, std::u16string> cases[] = {
      {u".5a", u".5"}, {u".75 ", u".75"},
      {u"..x", u".."},  // the second point goes on the next pass
      {u".a", u""},    {u"q", u""},
  };
  for (const auto& [typed, left] : cases) {
    const std::optional<FieldEdit> edit = FilterNumericInput(typed);
    ASSERT_TRUE(edit.has_value()) << ce::ToUtf8(typed);
    EXPECT_EQ(edit->text, left) << ce::ToUtf8(typed);
    EXPECT_EQ(edit->caret, static_cast<int>(left.size())) << ce::ToUtf8(typed);
  }
}

}  // namespace
