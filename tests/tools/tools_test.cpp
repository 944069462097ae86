// The rules of the Password and Options screens. Password checks: hashes, passwords stored as
// text by older stores, and when to hash again; the Password screen's OK, rule by rule, with no
// password stored and with one stored. What the Options screen shows for a stored scale of any
// value; what it writes back, the password and the flags kept byte for byte, is the Options
// scenarios'.
// Ideal Body: the weight for a height and the height for a weight, the texts it shows, and the
// filter of its field.
#include <gtest/gtest.h>
#include <sodium.h>

#include <optional>
#include <string>
#include <tuple>

#include "platform/text.h"
#include "store/password_hash.h"
#include "tools/ideal_body.h"
#include "tools/options_rules.h"
#include "tools/password_rules.h"

namespace {

TEST(PasswordHash, VerifiesHashesAndTextsExactly) {
  const std::u16string hash = HashPassword(u"Secret");
  const std::u16string odd = u"Gr\u00fc\u00dfe \U0001F600";
  const std::u16string odd_hash = HashPassword(odd);
  const std::u16string s = u"Secret", nul(u"Secret\0", 7), x199(199, u'x'), x200(200, u'x');
  // Stored, typed, accepted; from the seventh row on, kept as text by a store from before
  // hashing.
  const std::tuple<std::u16string, std::u16string, bool> cases[] = {
      {hash, s, true},    {hash, u"secret", false}, {hash, u"Secret ", false},
      {hash, u"", false}, {odd_hash, odd, true},    {odd_hash, u"Gr\u00fc\u00dfe ", false},
      {s, s, true},       {s, u"secret", false},    {s, u"Secre", false},
      {s, s + s, false},  {s, u"", false},          {s, nul, false},
      {odd, odd, true},   {x199, x199, true},       {x199, x200, false},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(VerifyPassword(std::get<0>(c), std::get<1>(c)), std::get<2>(c))
        << "row " << &c - cases;
  }
  EXPECT_TRUE(hash.starts_with(u"$argon2id$"));
  EXPECT_EQ(hash.find(u"Secret"), std::u16string::npos);
}

TEST(PasswordHash, TextAndWeakHashesAreHashedAgain) {
  ASSERT_GE(sodium_init(), 0);
  char weak[crypto_pwhash_STRBYTES];
  ASSERT_EQ(
      crypto_pwhash_str(weak, "Secret", 6, crypto_pwhash_OPSLIMIT_MIN, crypto_pwhash_MEMLIMIT_MIN),
      0);
  const std::u16string weak_hash(weak, weak + std::char_traits<char>::length(weak));
  EXPECT_TRUE(VerifyPassword(weak_hash, u"Secret"));
  // Not a password that is already strong, nor no password at all.
  EXPECT_EQ((std::tuple{NeedsRehash(weak_hash), NeedsRehash(u"Secret"),
                        NeedsRehash(HashPassword(u"Secret")), NeedsRehash(u"")}),
            std::tuple(true, true, false, false));
}

using Step = PasswordStep;

TEST(PasswordRules, EachCombinationOfFieldsGivesItsStep) {
  const Step wrong = Step::kWrongCurrent, failed = Step::kVerificationFailed, save = Step::kSave,
             nothing = Step::kNothing, enter = Step::kEnterCurrent;
  // No password stored (0), one stored and the current one typed wrong (1) or right (2); the
  // three fields. With none stored, only a first password can be set; the case counts. Each
  // message the screen shows, and a first password and a change saved, are the Password screen
  // scenario's.
  const std::tuple<int, std::u16string, std::u16string, std::u16string, Step> cases[] = {
      {0, u"x", u"", u"", wrong},        {0, u"x", u"New", u"New", wrong},
      {0, u"", u"New", u"new", failed},  {0, u"", u"New", u"", failed},
      {0, u"", u"New", u"New ", failed}, {0, u"", u"", u"", nothing},
      {0, u"", u"", u"New", nothing},    {1, u"", u"", u"", enter},
      {1, u"", u"New", u"", nothing},    {2, u"Old", u"", u"New", failed},
      {2, u"Old", u"old", u"old", save},
  };
  for (const auto& c : cases) {
    const auto& [state, current, new_password, verify, step] = c;
    EXPECT_EQ(JudgePasswordFields({state > 0, state == 2, current, new_password, verify}), step)
        << "row " << &c - cases;
  }
}

TEST(OptionsRules, EveryScaleButCelsiusShowsAsFahrenheit) {
  for (uint16_t stored : {0, 1, 2, 3, 0xFFFF}) {
    Settings settings;
    settings.scale = stored;
    EXPECT_EQ(OptionsFromSettings(settings).scale, stored == 1 ? kScaleCelsius : kScaleFahrenheit)
        << stored;
  }
}

constexpr int kFeet = 0, kMeters = 1, kHands = 2, kInches = 3;
constexpr int kPounds = 0, kKilograms = 1, kStones = 4, kOunces = 5;

TEST(IdealBody, AnUnselectedUnitReadsAsTheFirstNeverPastTheTable) {
  EXPECT_EQ(HeightUnitAt(-1).list_text, u"feet");
  EXPECT_EQ(WeightUnitAt(6).list_text, u"pounds");
  EXPECT_EQ(ToWeightUnit(2.0, -1), 4.4);
}

// The weight for a height (w) or the height for a weight (h) from the table and beyond it, and
// the ranges, checked in the input unit: what is entered in which unit; the result in kilograms
// or centimetres, or the refusal. From 184 cm the weight is the height - 111, the table's last
// entry skipped; 5.44 feet are 170 cm at 3.2 feet to the metre. A hair under a centimetre in the
// conversion (179.99999999999997 cm from 5.76 feet) counts as the centimetre; a fraction that is
// merely high stays in its own. A weight equal to an entry gives the next centimetre (18.1);
// 39.6 pounds are exactly the 18 kg minimum. Far above the range (1e298) a height is still
// computed, without overflowing, and flagged unusable.
TEST(IdealBody, WeightForAHeightAndHeightForAWeight) {
  const auto body = [](char mode, double entered, int unit) {
    return mode == 'w' ? IdealWeight(InputToCentimetres(entered, unit), entered, unit)
                       : IdealHeight(InputToKilograms(entered, unit), entered, unit);
  };
  const auto t = kIdealWeightTable;
  const std::tuple<char, double, int, double> values[] = {
      {'w', 1.70, kMeters, 61.4},      {'w', 1.84, kMeters, 73.0},
      {'w', 2.10, kMeters, 99.0},      {'w', 5.44, kFeet, 61.4},
      {'w', 5.76, kFeet, t[80]},       {'w', 17.22, kHands, t[75]},
      {'w', 1.699995, kMeters, t[70]}, {'w', 1.6999, kMeters, t[69]},
      {'w', 3.20, kFeet, t[0]},        {'h', 70.4, kKilograms, 183.0},
      {'h', 70.5, kKilograms, 181.5},  {'h', 18.0, kKilograms, 101.0},
      {'h', 18.1, kKilograms, 102.0},  {'h', 18.15, kKilograms, 102.0},
      {'h', 99.0, kKilograms, 210.0},  {'h', 39.6, kPounds, 101.0},
  };
  for (const auto& [mode, entered, unit, result] : values) {
    const BodyValue v = body(mode, entered, unit);
    EXPECT_FALSE(v.error) << entered << ": " << ce::ToUtf8(v.message);
    EXPECT_DOUBLE_EQ(v.value, result) << entered;
  }
  EXPECT_FALSE(body('w', 6.72, kFeet).error);
  const std::tuple<char, double, int, const char16_t*> refusals[] = {
      {'w', 0.99, kMeters, u"Height must be over 1.00 meters"},
      {'w', 2.11, kMeters, u"Height must be under 2.10 meters"},
      {'w', 3.19, kFeet, u"Height must be over 3.20 feet"},
      {'w', 0.0, kInches, u"Height must be over 39.30 inches"},
      {'w', 1e298, kMeters, u"Height must be under 2.10 meters"},
      {'h', 17.9, kKilograms, u"Weight must be over 18.00 kilograms"},
      {'h', 99.5, kKilograms, u"Weight must be under 99.00 kilograms"},
      {'h', 0.0, kOunces, u"Weight must be over 634.86 ones(oz)"},
      {'h', 20.0, kStones, u"Weight must be under 15.54 stones"},
  };
  for (const auto& [mode, entered, unit, message] : refusals) {
    const BodyValue v = body(mode, entered, unit);
    EXPECT_EQ(std::tuple(v.error, v.message), std::tuple(true, message)) << entered;
  }
}

// The ideal weight's answers, in feet and pounds and in metres and kilograms, are the Ideal Body
// scenarios'; here the ideal height's in other units, and fields that hold no number.
TEST(IdealBody, CalculateShowsTheResultOrTheRefusal) {
  // The field, the units from and to; the result or the refusal's message.
  const std::tuple<const char16_t*, int, int, const char16_t*> cases[] = {
      {u"70.4", kKilograms, kMeters,
       u"Your ideal height, given a\nweight of 70.40 kilograms\nshould be 1.83 meters"},
      {u"1000", kOunces, kInches,
       u"Your ideal height, given a\nweight of 1000.00 ones(oz)\nshould be 47.16 inches"},
      // Text that is no number reads as 0 and so is below the minimum.
      {u"", kPounds, kFeet, u"Weight must be over 39.60 pounds"},
      {u".", kKilograms, kFeet, u"Weight must be over 18.00 kilograms"},
  };
  for (const auto& [field, from, to, result] : cases) {
    const BodyCalculation calculation = CalculateIdealBody(BodyMode::kIdealHeight, field, from, to);
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
