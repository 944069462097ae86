#include "tools/ideal_body.h"

#include <gtest/gtest.h>

#include <optional>
#include <string>
#include <tuple>

#include "platform/text.h"

namespace {

constexpr int kFeet = 0, kMeters = 1, kHands = 2, kInches = 3;
constexpr int kPounds = 0, kKilograms = 1, kStones = 4, kOunces = 5;

TEST(IdealBody, AnUnselectedUnitReadsAsTheFirstNeverPastTheTable) {
  EXPECT_EQ(HeightUnitAt(-1).list_text, u"feet");
  EXPECT_EQ(WeightUnitAt(6).list_text, u"pounds");
  EXPECT_EQ(ToWeightUnit(2.0, -1), 4.4);
}

// What is entered, in which unit, and the result in kilograms or centimetres, or the refusal.
using Row = std::tuple<double, int, double, const char16_t*>;

TEST(IdealBody, WeightForAHeightFromTheTableAndBeyondItAndItsRange) {
  const Row rows[] = {
      {1.70, kMeters, 61.4, nullptr},
      {1.84, kMeters, 73.0, nullptr},  // from 184 cm: height - 111, the table's last entry skipped
      {2.10, kMeters, 99.0, nullptr},
      {5.44, kFeet, 61.4, nullptr},  // 170 cm at 3.2 feet to the metre
      // A hair under a centimetre in the conversion (179.99999999999997 cm) counts as the
      // centimetre; a fraction that is merely high stays in its own.
      {5.76, kFeet, kIdealWeightTable[80], nullptr},
      {17.22, kHands, kIdealWeightTable[75], nullptr},
      {1.699995, kMeters, kIdealWeightTable[70], nullptr},
      {1.6999, kMeters, kIdealWeightTable[69], nullptr},
      // Ranges are checked in the input unit.
      {0.99, kMeters, 0, u"Height must be over 1.00 meters"},
      {2.11, kMeters, 0, u"Height must be under 2.10 meters"},
      {3.19, kFeet, 0, u"Height must be over 3.20 feet"},
      {0.0, kInches, 0, u"Height must be over 39.30 inches"},
      // Far above the range: still computed, without overflowing, and flagged unusable.
      {1e298, kMeters, 0, u"Height must be under 2.10 meters"},
  };
  for (const auto& [entered, unit, kg, refusal] : rows) {
    const BodyValue v = IdealWeight(InputToCentimetres(entered, unit), entered, unit);
    EXPECT_EQ(v.error ? v.message : std::u16string(), refusal ? refusal : u"") << entered;
    if (!refusal) {
      EXPECT_DOUBLE_EQ(v.value, kg) << entered;
    }
  }
  for (double edge : {3.20, 6.72}) {
    EXPECT_FALSE(IdealWeight(InputToCentimetres(edge, kFeet), edge, kFeet).error) << edge;
  }
}

TEST(IdealBody, HeightForAWeightFromTheTableAndBeyondItAndItsRange) {
  const Row rows[] = {
      {70.4, kKilograms, 183.0, nullptr},
      {70.5, kKilograms, 181.5, nullptr},
      {18.0, kKilograms, 101.0, nullptr},
      {18.1, kKilograms, 102.0, nullptr},  // equal to an entry: the next cm
      {18.15, kKilograms, 102.0, nullptr},
      {99.0, kKilograms, 210.0, nullptr},
      {39.6, kPounds, 101.0, nullptr},  // exactly the 18 kg minimum in pounds
      {17.9, kKilograms, 0, u"Weight must be over 18.00 kilograms"},
      {99.5, kKilograms, 0, u"Weight must be under 99.00 kilograms"},
      {0.0, kOunces, 0, u"Weight must be over 634.86 ones(oz)"},
      {20.0, kStones, 0, u"Weight must be under 15.54 stones"},
  };
  for (const auto& [entered, unit, cm, refusal] : rows) {
    const BodyValue v = IdealHeight(InputToKilograms(entered, unit), entered, unit);
    EXPECT_EQ(v.error ? v.message : std::u16string(), refusal ? refusal : u"") << entered;
    if (!refusal) {
      EXPECT_EQ(v.value, cm) << entered;
    }
  }
}

TEST(IdealBody, CalculateShowsTheResultOrTheRefusal) {
  const auto weight = BodyMode::kIdealWeight, height = BodyMode::kIdealHeight;
  // The mode, the field, the units from and to; the result or the refusal's message.
  const std::tuple<BodyMode, const char16_t*, int, int, const char16_t*> cases[] = {
      {weight, u"1.70", kMeters, kKilograms,
       u"Your ideal weight, given a\nheight of 1.70 meters\nshould be 61.40 kilograms"},
      {weight, u"5.44", kFeet, kPounds,
       u"Your ideal weight, given a\nheight of 5.44 feet\nshould be 135.08 pounds"},
      {height, u"70.4", kKilograms, kMeters,
       u"Your ideal height, given a\nweight of 70.40 kilograms\nshould be 1.83 meters"},
      {height, u"1000", kOunces, kInches,
       u"Your ideal height, given a\nweight of 1000.00 ones(oz)\nshould be 47.16 inches"},
      {weight, u"0.99", kMeters, kKilograms, u"Height must be over 1.00 meters"},
      // Text that is no number reads as 0 and so is below the minimum.
      {height, u"", kPounds, kFeet, u"Weight must be over 39.60 pounds"},
      {height, u".", kKilograms, kFeet, u"Weight must be over 18.00 kilograms"},
  };
  for (const auto& [mode, field, from, to, result] : cases) {
    const BodyCalculation calculation = CalculateIdealBody(mode, field, from, to);
    EXPECT_EQ(calculation.error ? calculation.message : calculation.result_text, result);
    EXPECT_TRUE(!calculation.error || calculation.result_text.empty());
  }
}

TEST(IdealBody, TheFieldReadsAsItsLeadingNumber) {
  const std::pair<std::u16string, double> cases[] = {
      {u"1.7", 1.7}, {u"1.7.5", 1.7},  {u"1..2", 1.0},
      {u".5", 0.5},  {u"12abc", 12.0}, {u"abc", 0.0},
      {u"inf", 0.0}, {u"nan", 0.0},    {std::u16string(400, u'9'), 0.0},  // beyond any double
  };
  for (const auto& [text, value] : cases) EXPECT_EQ(ParseEnteredValue(text), value);
}

TEST(IdealBody, TheFilterTakesOutOneBadCharacterPerPass) {
  // Typed; what is left (null: left alone) and where the caret goes (-1: not checked). A
  // letter after a leading point takes the point with it (".a"); only the first bad character
  // goes, the later rewrite wins ("1a2b"); a bad character typed at the end goes alone, whatever
  // the text starts with, and only a point it would leave on its own goes with it (".5a",
  // "..x": the second point goes on the next pass).
  const std::tuple<const char16_t*, const char16_t*, int> cases[] = {
      {u"", nullptr, -1},      {u"12.5", nullptr, -1}, {u"12a", u"12", 2},   {u".a", u"", 0},
      {u"1x23", u"123", 3},    {u".", u"", 0},         {u"1.5.", u"1.5", 3}, {u"1a2b", u"12b", -1},
      {u"1a2..", u"1a2.", -1}, {u".5a", u".5", 2},     {u".75 ", u".75", 3}, {u"..x", u"..", 2},
      {u"q", u"", 0},
  };
  for (const auto& [typed, left, caret] : cases) {
    SCOPED_TRACE(ce::ToUtf8(typed));
    const std::optional<FieldEdit> edit = FilterNumericInput(typed);
    ASSERT_EQ(edit.has_value(), left != nullptr);
    if (!edit) continue;
    EXPECT_EQ(edit->text, left);
    EXPECT_TRUE(caret < 0 || edit->caret == caret) << edit->caret;
  }
}

// The field as the dialog leaves it: every rewrite notifies another update, which filters
// again until the text stays, within the field's size.
TEST(IdealBody, TheFilterSettlesAsTheDialogReappliesIt) {
  std::u16string pasted;  // a long paste shrinks one character per update
  for (int i = 0; i < 60; ++i) pasted += u"a1";
  // A point between others is not caught: only one at the end is ("1..2").
  const std::pair<std::u16string, std::u16string> cases[] = {
      {u"1a2b", u"12"},       {u"1a2..", u"12."},
      {u"abc", u""},          {u"x1.75", u"1.75"},
      {u"1.7\u00e9", u"1.7"}, {u"1.7 5", u"1.75"},
      {u"1..2", u"1..2"},     {pasted, std::u16string(60, u'1')},
  };
  for (const auto& [typed, settled] : cases) {
    std::u16string text = typed;
    int passes = 0;
    while (const std::optional<FieldEdit> edit = FilterNumericInput(text)) {
      text = edit->text;
      ASSERT_LE(++passes, kBodyInputBuffer) << ce::ToUtf8(typed);
    }
    EXPECT_EQ(text, settled);
  }
}

}  // namespace
