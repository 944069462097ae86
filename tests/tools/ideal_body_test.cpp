#include "tools/ideal_body.h"

#include <gtest/gtest.h>

#include <string>

#include "platform/text.h"

namespace {

constexpr int kFeet = 0, kMeters = 1, kHands = 2, kInches = 3;
constexpr int kPounds = 0, kKilograms = 1, kStones = 4, kOunces = 5;

TEST(IdealBody, AnUnselectedUnitReadsAsTheFirstNeverPastTheTable) {
  EXPECT_EQ(HeightUnitAt(-1).list_text, u"feet");
  EXPECT_EQ(WeightUnitAt(6).list_text, u"pounds");
  EXPECT_EQ(ToWeightUnit(2.0, -1), 4.4);
}

TEST(IdealBody, WeightForAHeightFromTheTableAndBeyondIt) {
  struct Case {
    double entered;
    int unit;
    double kg;
  };
  const Case cases[] = {
      {1.70, kMeters, 61.4},
      {1.84, kMeters, 73.0},  // from 184 cm: height - 111, the table's last entry skipped
      {2.10, kMeters, 99.0},
      {5.44, kFeet, 61.4},  // 170 cm at 3.2 feet to the metre
      // A hair under a centimetre in the conversion (179.99999999999997 cm) counts as the
      // centimetre; a fraction that is merely high stays in its own.
      {5.76, kFeet, kIdealWeightTable[80]},
      {17.22, kHands, kIdealWeightTable[75]},
      {1.699995, kMeters, kIdealWeightTable[70]},
      {1.6999, kMeters, kIdealWeightTable[69]},
  };
  for (const Case& c : cases) {
    const BodyValue kg = IdealWeight(InputToCentimetres(c.entered, c.unit), c.entered, c.unit);
    EXPECT_FALSE(kg.error) << c.entered << ": " << ce::ToUtf8(kg.message);
    EXPECT_DOUBLE_EQ(kg.value, c.kg) << c.entered;
  }
}

TEST(IdealBody, HeightForAWeightFromTheTableAndBeyondIt) {
  struct Case {
    double entered;
    int unit;
    double cm;
  };
  const Case cases[] = {
      {70.4, kKilograms, 183.0},  {70.5, kKilograms, 181.5},
      {18.0, kKilograms, 101.0},  {18.1, kKilograms, 102.0},  // equal to an entry: the next cm
      {18.15, kKilograms, 102.0}, {99.0, kKilograms, 210.0},
      {39.6, kPounds, 101.0},  // exactly the 18 kg minimum in pounds
  };
  for (const Case& c : cases) {
    const BodyValue cm = IdealHeight(InputToKilograms(c.entered, c.unit), c.entered, c.unit);
    EXPECT_FALSE(cm.error) << c.entered << ": " << ce::ToUtf8(cm.message);
    EXPECT_EQ(cm.value, c.cm) << c.entered;
  }
}

TEST(IdealBody, RangesAreCheckedInTheInputUnit) {
  struct Case {
    bool weight_for_height;
    double entered;
    int unit;
    const char16_t* message;
  };
  const Case cases[] = {
      {true, 0.99, kMeters, u"Height must be over 1.00 meters"},
      {true, 2.11, kMeters, u"Height must be under 2.10 meters"},
      {true, 3.19, kFeet, u"Height must be over 3.20 feet"},
      {true, 0.0, kInches, u"Height must be over 39.30 inches"},
      // Far above the range: still computed, without overflowing, and flagged unusable.
      {true, 1e298, kMeters, u"Height must be under 2.10 meters"},
      {false, 17.9, kKilograms, u"Weight must be over 18.00 kilograms"},
      {false, 99.5, kKilograms, u"Weight must be under 99.00 kilograms"},
      {false, 0.0, kOunces, u"Weight must be over 634.86 ones(oz)"},
      {false, 20.0, kStones, u"Weight must be under 15.54 stones"},
  };
  for (const Case& c : cases) {
    const BodyValue v = c.weight_for_height
                            ? IdealWeight(InputToCentimetres(c.entered, c.unit), c.entered, c.unit)
                            : IdealHeight(InputToKilograms(c.entered, c.unit), c.entered, c.unit);
    EXPECT_TRUE(v.error) << c.entered;
    EXPECT_EQ(v.message, c.message);
  }
  for (double edge : {3.20, 6.72}) {
    EXPECT_FALSE(IdealWeight(InputToCentimetres(edge, kFeet), edge, kFeet).error) << edge;
  }
}

TEST(IdealBody, CalculateShowsTheResultOrTheRefusal) {
  struct Case {
    BodyMode mode;
    const char16_t* field;
    int from, to;
    const char16_t* result;  // or the refusal's message
  };
  const auto weight = BodyMode::kIdealWeight, height = BodyMode::kIdealHeight;
  const Case cases[] = {
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
  for (const Case& c : cases) {
    const BodyCalculation calculation = CalculateIdealBody(c.mode, c.field, c.from, c.to);
    EXPECT_EQ(calculation.error ? calculation.message : calculation.result_text, c.result);
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
  struct Case {
    const char16_t* typed;
    const char16_t* left;  // null: left alone
    int caret;             // -1: not checked
  };
  const Case cases[] = {
      {u"", nullptr, -1},
      {u"12.5", nullptr, -1},
      {u"12a", u"12", 2},
      {u".a", u"", 0},  // a letter after a leading point takes the point with it
      {u"1x23", u"123", 3},
      {u".", u"", 0},
      {u"1.5.", u"1.5", 3},
      {u"1a2b", u"12b", -1},  // only the first bad character goes; the later rewrite wins
      {u"1a2..", u"1a2.", -1},
      // A bad character typed at the end goes alone, whatever the text starts with; only a
      // point it would leave on its own goes with it.
      {u".5a", u".5", 2},
      {u".75 ", u".75", 3},
      {u"..x", u"..", 2},  // the second point goes on the next pass
      {u"q", u"", 0},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(ce::ToUtf8(c.typed));
    const std::optional<FieldEdit> edit = FilterNumericInput(c.typed);
    ASSERT_EQ(edit.has_value(), c.left != nullptr);
    if (!edit) continue;
    EXPECT_EQ(edit->text, c.left);
    if (c.caret >= 0) {
      EXPECT_EQ(edit->caret, c.caret);
    }
  }
}

// The field as the dialog leaves it: every rewrite notifies another update, which filters
// again until the text stays, within the field's size.
TEST(IdealBody, TheFilterSettlesAsTheDialogReappliesIt) {
  std::u16string pasted;  // a long paste shrinks one character per update
  for (int i = 0; i < 60; ++i) pasted += u"a1";
  const std::pair<std::u16string, std::u16string> cases[] = {
      {u"1a2b", u"12"},
      {u"1a2..", u"12."},
      {u"abc", u""},
      {u"x1.75", u"1.75"},
      {u"1.7\u00e9", u"1.7"},
      {u"1.7 5", u"1.75"},
      {u"1..2", u"1..2"},  // a point between others is not caught: only one at the end is
      {pasted, std::u16string(60, u'1')},
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
