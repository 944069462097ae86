#include "tools/ideal_body.h"

#include <gtest/gtest.h>

#include <string>

namespace {

constexpr int kFeet = 0, kMeters = 1, kHands = 2, kInches = 3;
constexpr int kPounds = 0, kKilograms = 1, kStones = 4, kOunces = 5;

std::string Utf8(std::u16string_view text) {
  std::string out;
  for (char16_t c : text) out += c < 0x80 ? static_cast<char>(c) : '?';
  return out;
}

double WeightFor(double entered, int unit) {
  const BodyValue kg = IdealWeight(InputToCentimetres(entered, unit), entered, unit);
  EXPECT_FALSE(kg.error) << entered << ": " << Utf8(kg.message);
  return kg.value;
}

double HeightFor(double entered, int unit) {
  const BodyValue cm = IdealHeight(InputToKilograms(entered, unit), entered, unit);
  EXPECT_FALSE(cm.error) << entered << ": " << Utf8(cm.message);
  return cm.value;
}

// The field as the dialog leaves it: every rewrite notifies another update, which filters
// again until the text stays.
std::u16string Settle(std::u16string text, int* caret = nullptr) {
  for (int passes = 0; passes <= kBodyInputBuffer; ++passes) {
    const std::optional<FieldEdit> edit = FilterNumericInput(text);
    if (!edit) return text;
    text = edit->text;
    if (caret) *caret = edit->caret;
  }
  ADD_FAILURE() << "filter did not settle on " << Utf8(text);
  return text;
}

TEST(IdealBodyUnits, TablesAsTheCalculatorShowsThem) {
  EXPECT_EQ(kHeightUnits[kFeet].list_text, u"feet");
  EXPECT_EQ(kHeightUnits[5].result_suffix, u" points\n");
  EXPECT_EQ(kWeightUnits[kOunces].list_text, u"onces(oz)");
  EXPECT_EQ(kWeightUnits[kOunces].message_suffix, u" ones(oz)");
  EXPECT_EQ(kWeightUnits[kOunces].result_suffix, u" ones(oz)\n");
  for (const auto* units : {&kHeightUnits, &kWeightUnits}) {
    for (const BodyUnit& unit : *units) {
      // The reciprocals are the factors' inverses to the last digit or two.
      EXPECT_NEAR(unit.factor * unit.reciprocal, 1.0, 1e-15) << Utf8(unit.list_text);
      EXPECT_EQ(std::u16string(unit.message_suffix) + u"\n", unit.result_suffix);
    }
  }
  for (size_t i = 1; i < kIdealWeightTable.size(); ++i) {
    EXPECT_LT(kIdealWeightTable[i - 1], kIdealWeightTable[i]) << i;
  }
  // A combo without selection answers -1; it reads as the first unit, never past the table.
  EXPECT_EQ(HeightUnitAt(-1).list_text, u"feet");
  EXPECT_EQ(WeightUnitAt(6).list_text, u"pounds");
  EXPECT_EQ(ToWeightUnit(2.0, -1), 4.4);
}

TEST(IdealWeight, FromTheTableAndBeyondIt) {
  EXPECT_EQ(WeightFor(1.70, kMeters), 61.4);
  EXPECT_EQ(WeightFor(1.00, kMeters), 18.0);
  EXPECT_EQ(WeightFor(1.83, kMeters), 70.7);
  // From 184 cm the table's last entry is skipped for height - 111.
  EXPECT_DOUBLE_EQ(WeightFor(1.84, kMeters), 73.0);
  EXPECT_DOUBLE_EQ(WeightFor(1.90, kMeters), 79.0);
  EXPECT_DOUBLE_EQ(WeightFor(2.10, kMeters), 99.0);
  EXPECT_EQ(WeightFor(5.44, kFeet), 61.4);  // 170 cm at 3.2 feet to the metre
}

TEST(IdealWeight, HairUnderACentimetreCountsAsTheCentimetre) {
  // These convert to 179.99999999999997, 112.99999999999999 and 174.99999999999997 cm.
  EXPECT_EQ(WeightFor(5.76, kFeet), kIdealWeightTable[80]);
  EXPECT_EQ(WeightFor(1.13, kMeters), kIdealWeightTable[13]);
  EXPECT_EQ(WeightFor(17.22, kHands), kIdealWeightTable[75]);
  EXPECT_EQ(WeightFor(1.699995, kMeters), kIdealWeightTable[70]);
  // A fraction that is merely high stays in its own centimetre.
  EXPECT_EQ(WeightFor(1.6999, kMeters), kIdealWeightTable[69]);
  EXPECT_EQ(WeightFor(1.7099, kMeters), kIdealWeightTable[70]);
}

TEST(IdealWeight, HeightRangeInTheInputUnit) {
  BodyValue kg = IdealWeight(99.0, 0.99, kMeters);
  EXPECT_TRUE(kg.error);
  EXPECT_EQ(kg.message, u"Height must be over 1.00 meters");
  kg = IdealWeight(211.0, 2.11, kMeters);
  EXPECT_TRUE(kg.error);
  EXPECT_EQ(kg.message, u"Height must be under 2.10 meters");

  WeightFor(3.20, kFeet);
  WeightFor(6.72, kFeet);
  kg = IdealWeight(InputToCentimetres(3.19, kFeet), 3.19, kFeet);
  EXPECT_EQ(kg.message, u"Height must be over 3.20 feet");
  kg = IdealWeight(InputToCentimetres(6.73, kFeet), 6.73, kFeet);
  EXPECT_EQ(kg.message, u"Height must be under 6.72 feet");
  kg = IdealWeight(0.0, 0.0, kInches);
  EXPECT_EQ(kg.message, u"Height must be over 39.30 inches");

  // Far above the range the value is still computed, without overflowing, and flagged unusable.
  kg = IdealWeight(1e300, 1e298, kMeters);
  EXPECT_TRUE(kg.error);
  EXPECT_EQ(kg.message, u"Height must be under 2.10 meters");
}

TEST(IdealHeight, FromTheTableAndBeyondIt) {
  EXPECT_EQ(HeightFor(70.4, kKilograms), 183.0);
  EXPECT_EQ(HeightFor(70.5, kKilograms), 181.5);
  EXPECT_EQ(HeightFor(18.0, kKilograms), 101.0);
  EXPECT_EQ(HeightFor(18.1, kKilograms), 102.0);  // equal to an entry: the next centimetre
  EXPECT_EQ(HeightFor(18.15, kKilograms), 102.0);
  EXPECT_EQ(HeightFor(99.0, kKilograms), 210.0);
  EXPECT_EQ(HeightFor(39.6, kPounds), 101.0);  // exactly the 18 kg minimum in pounds
}

TEST(IdealHeight, WeightRangeInTheInputUnit) {
  BodyValue cm = IdealHeight(17.9, 17.9, kKilograms);
  EXPECT_TRUE(cm.error);
  EXPECT_EQ(cm.message, u"Weight must be over 18.00 kilograms");
  cm = IdealHeight(99.5, 99.5, kKilograms);
  EXPECT_TRUE(cm.error);
  EXPECT_EQ(cm.message, u"Weight must be under 99.00 kilograms");
  cm = IdealHeight(0.0, 0.0, kOunces);
  EXPECT_EQ(cm.message, u"Weight must be over 634.86 ones(oz)");
  cm = IdealHeight(InputToKilograms(20.0, kStones), 20.0, kStones);
  EXPECT_EQ(cm.message, u"Weight must be under 15.54 stones");
}

TEST(IdealBodyCalculate, ResultTexts) {
  BodyCalculation c = CalculateIdealBody(BodyMode::kIdealWeight, u"1.70", kMeters, kKilograms);
  ASSERT_FALSE(c.error);
  EXPECT_EQ(c.result_text,
            u"Your ideal weight, given a\nheight of 1.70 meters\nshould be 61.40 kilograms");
  c = CalculateIdealBody(BodyMode::kIdealWeight, u"1.9", kMeters, kKilograms);
  EXPECT_EQ(c.result_text,
            u"Your ideal weight, given a\nheight of 1.90 meters\nshould be 79.00 kilograms");
  c = CalculateIdealBody(BodyMode::kIdealWeight, u"5.44", kFeet, kPounds);
  EXPECT_EQ(c.result_text,
            u"Your ideal weight, given a\nheight of 5.44 feet\nshould be 135.08 pounds");
  c = CalculateIdealBody(BodyMode::kIdealHeight, u"70.4", kKilograms, kMeters);
  EXPECT_EQ(c.result_text,
            u"Your ideal height, given a\nweight of 70.40 kilograms\nshould be 1.83 meters");
  c = CalculateIdealBody(BodyMode::kIdealHeight, u"18", kKilograms, kFeet);
  EXPECT_EQ(c.result_text,
            u"Your ideal height, given a\nweight of 18.00 kilograms\nshould be 3.23 feet");
  c = CalculateIdealBody(BodyMode::kIdealHeight, u"1000", kOunces, kInches);
  EXPECT_EQ(c.result_text,
            u"Your ideal height, given a\nweight of 1000.00 ones(oz)\nshould be 47.16 inches");
}

TEST(IdealBodyCalculate, RefusalsAndUnreadableInput) {
  BodyCalculation c = CalculateIdealBody(BodyMode::kIdealWeight, u"0.99", kMeters, kKilograms);
  EXPECT_TRUE(c.error);
  EXPECT_EQ(c.message, u"Height must be over 1.00 meters");
  EXPECT_TRUE(c.result_text.empty());
  // Text that is no number reads as 0 and so is below the minimum.
  c = CalculateIdealBody(BodyMode::kIdealHeight, u"", kPounds, kFeet);
  EXPECT_EQ(c.message, u"Weight must be over 39.60 pounds");
  c = CalculateIdealBody(BodyMode::kIdealHeight, u".", kKilograms, kFeet);
  EXPECT_EQ(c.message, u"Weight must be over 18.00 kilograms");

  EXPECT_EQ(ParseEnteredValue(u"1.7"), 1.7);
  EXPECT_EQ(ParseEnteredValue(u"1.7.5"), 1.7);  // a second point ends the number
  EXPECT_EQ(ParseEnteredValue(u"1..2"), 1.0);
  EXPECT_EQ(ParseEnteredValue(u".5"), 0.5);
  EXPECT_EQ(ParseEnteredValue(u"12abc"), 12.0);
  EXPECT_EQ(ParseEnteredValue(u"abc"), 0.0);
  EXPECT_EQ(ParseEnteredValue(u"inf"), 0.0);
  EXPECT_EQ(ParseEnteredValue(u"nan"), 0.0);
  EXPECT_EQ(ParseEnteredValue(std::u16string(400, u'9')), 0.0);  // beyond any double
}

TEST(NumericInputFilter, OnePass) {
  EXPECT_FALSE(FilterNumericInput(u""));
  EXPECT_FALSE(FilterNumericInput(u"12.5"));
  EXPECT_FALSE(FilterNumericInput(u"7"));

  // A letter typed after a digit goes; the caret ends after the text.
  std::optional<FieldEdit> edit = FilterNumericInput(u"12a");
  ASSERT_TRUE(edit);
  EXPECT_EQ(edit->text, u"12");
  EXPECT_EQ(edit->caret, 2);
  // A letter after a leading point takes the point with it.
  edit = FilterNumericInput(u".a");
  ASSERT_TRUE(edit);
  EXPECT_EQ(edit->text, u"");
  EXPECT_EQ(edit->caret, 0);
  // A letter in the middle goes wherever it stands.
  edit = FilterNumericInput(u"1x23");
  ASSERT_TRUE(edit);
  EXPECT_EQ(edit->text, u"123");
  EXPECT_EQ(edit->caret, 3);
  // A lone point empties the field.
  edit = FilterNumericInput(u".");
  ASSERT_TRUE(edit);
  EXPECT_EQ(edit->text, u"");
  EXPECT_EQ(edit->caret, 0);
  // A second point at the end goes.
  edit = FilterNumericInput(u"1.5.");
  ASSERT_TRUE(edit);
  EXPECT_EQ(edit->text, u"1.5");
  EXPECT_EQ(edit->caret, 3);
  // Only the first bad character goes in one pass; the later rewrite wins.
  edit = FilterNumericInput(u"1a2b");
  ASSERT_TRUE(edit);
  EXPECT_EQ(edit->text, u"12b");
  edit = FilterNumericInput(u"1a2..");
  ASSERT_TRUE(edit);
  EXPECT_EQ(edit->text, u"1a2.");
}

TEST(NumericInputFilter, SettlesAsTheDialogReappliesIt) {
  int caret = -1;
  EXPECT_EQ(Settle(u"1a2b", &caret), u"12");
  EXPECT_EQ(caret, 2);
  EXPECT_EQ(Settle(u"1a2.."), u"12.");
  EXPECT_EQ(Settle(u"abc"), u"");
  EXPECT_EQ(Settle(u"x1.75"), u"1.75");
  EXPECT_EQ(Settle(u"1.7\u00e9"), u"1.7");
  EXPECT_EQ(Settle(u"1.7 5"), u"1.75");
  EXPECT_EQ(Settle(u"1.75"), u"1.75");
  // A point typed between others is not caught: only one at the end is.
  EXPECT_EQ(Settle(u"1..2"), u"1..2");
  // A long paste shrinks one character per update and still settles.
  std::u16string pasted;
  for (int i = 0; i < 60; ++i) pasted += u"a1";
  EXPECT_EQ(Settle(pasted), std::u16string(60, u'1'));
}

}  // namespace
