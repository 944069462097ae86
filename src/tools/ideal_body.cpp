#include "tools/ideal_body.h"

#include <algorithm>
#include <charconv>
#include <cmath>
#include <cstdio>

const std::array<double, kIdealWeightCount> kIdealWeightTable = {
    18.0, 18.1, 18.2, 18.3, 18.7, 19.4, 19.5, 19.8, 19.9, 20.1,  // 100 cm
    21.4, 21.6, 22.3, 22.7, 23.4, 23.7, 24.5, 25.6, 26.7, 27.1,  // 110 cm
    28.5, 28.8, 29.7, 30.5, 30.9, 31.9, 32.3, 33.7, 33.8, 34.2,  // 120 cm
    35.9, 36.0, 37.1, 37.7, 38.2, 38.8, 39.8, 40.7, 41.8, 42.2,  // 130 cm
    43.9, 44.3, 44.6, 44.7, 45.0, 45.3, 45.6, 45.9, 46.6, 47.3,  // 140 cm
    47.7, 48.1, 48.6, 49.3, 50.0, 51.0, 51.4, 52.3, 53.2, 53.6,  // 150 cm
    54.0, 54.5, 55.3, 56.1, 56.8, 57.7, 58.6, 59.2, 59.8, 60.5,  // 160 cm
    61.4, 62.2, 62.8, 63.4, 64.1, 65.0, 65.9, 66.5, 67.1, 67.7,  // 170 cm
    68.6, 69.5, 70.1, 70.7, 71.4,                                // 180 cm
};

namespace {

constexpr int kBaseUnit = 1;

// Limits of the calculator, in metres and kilograms.
constexpr double kMinHeight = 1.0;
constexpr double kMaxHeight = 2.1;
constexpr double kMinWeight = 18.0;
constexpr double kMaxWeight = 99.0;
// The last weight the table answers for; heavier weights go by the formula.
constexpr double kLastTableWeight = 70.4;

bool IsKnownUnit(int unit) {
  return unit >= 0 && unit < kBodyUnitCount;
}

// "%.2f", the way every number of the calculator is shown.
std::u16string TwoDecimals(double value) {
  // Wide enough for the largest double in fixed notation.
  char digits[400];
  const int length = std::snprintf(digits, sizeof digits, "%.2f", value);
  std::u16string text;
  for (int i = 0; i < length && i < static_cast<int>(sizeof digits) - 1; ++i) {
    text += static_cast<char16_t>(digits[i]);
  }
  return text;
}

std::u16string RangeMessage(std::u16string_view lead, double limit, const BodyUnit& unit) {
  std::u16string text(lead);
  text += TwoDecimals(limit);
  text += unit.message_suffix;
  return text;
}

bool IsFilterValid(char16_t c) {
  return (c >= u'0' && c <= u'9') || c == u'.';
}

}  // namespace

const BodyUnit& HeightUnitAt(int unit) {
  return kHeightUnits[IsKnownUnit(unit) ? unit : 0];
}

const BodyUnit& WeightUnitAt(int unit) {
  return kWeightUnits[IsKnownUnit(unit) ? unit : 0];
}

double ToHeightUnit(double x, int unit) {
  if (unit == kBaseUnit) return x;
  return x * HeightUnitAt(unit).factor;
}

double ToWeightUnit(double x, int unit) {
  if (unit == kBaseUnit) return x;
  return x * WeightUnitAt(unit).factor;
}

double InputToCentimetres(double value, int unit) {
  if (unit == kBaseUnit) return value * 100.0;
  return value * HeightUnitAt(unit).reciprocal * 100.0;
}

double InputToKilograms(double value, int unit) {
  if (unit == kBaseUnit) return value;
  return value * WeightUnitAt(unit).reciprocal;
}

BodyValue IdealWeight(double cm, double entered, int input_unit) {
  BodyValue result;
  const double min = ToHeightUnit(kMinHeight, input_unit);
  const double max = ToHeightUnit(kMaxHeight, input_unit);
  if (entered < min) {
    result.error = true;
    result.message = RangeMessage(u"Height must be over ", min, HeightUnitAt(input_unit));
    return result;
  }
  if (entered > max) {
    result.error = true;
    result.message = RangeMessage(u"Height must be under ", max, HeightUnitAt(input_unit));
  }
  // A height converted from another unit can land a hair under a whole centimetre
  // (179.99999999999997 for 5.76 feet); nudging fractions above .98 lets it count as the
  // centimetre it means. Truncation stays in doubles, so no height can overflow an integer.
  const double t = cm - 100.0;
  const double whole = std::trunc(t);
  double fraction = t - whole;
  if (fraction * 100.0 > 98.0 && fraction * 100.0 < 100.0) fraction += 0.001;
  const double nudged = whole + fraction;
  const double k = std::trunc(nudged);
  // The table's last entry is never reached: 184 cm and taller go by the formula.
  if (k >= 0.0 && k < kIdealWeightCount - 1) {
    result.value = kIdealWeightTable[static_cast<size_t>(k)];
  } else {
    result.value = nudged - 11.0;
  }
  return result;
}

BodyValue IdealHeight(double kg, double entered, int input_unit) {
  BodyValue result;
  const double min = ToWeightUnit(kMinWeight, input_unit);
  if (entered < min) {
    result.error = true;
    result.message = RangeMessage(u"Weight must be over ", min, WeightUnitAt(input_unit));
    return result;
  }
  const double max = ToWeightUnit(kMaxWeight, input_unit);
  if (entered > max) {
    result.error = true;
    result.message = RangeMessage(u"Weight must be under ", max, WeightUnitAt(input_unit));
    return result;
  }
  if (kg >= kMinWeight && kg <= kLastTableWeight) {
    // The first height whose ideal weight is above kg; a weight equal to an entry therefore
    // belongs to the next centimetre. The table ends above kLastTableWeight, so one is found.
    for (size_t i = 1; i < kIdealWeightTable.size(); ++i) {
      if (kg < kIdealWeightTable[i]) {
        result.value = static_cast<double>(i) + 100.0;
        return result;
      }
    }
  }
  result.value = ((kg + 100.0) - 11.0) + 22.0;
  return result;
}

double ParseEnteredValue(std::u16string_view text) {
  // The field holds digits and points only; anything else ends the number, as does the first
  // character outside ASCII.
  std::string ascii;
  size_t i = 0;
  while (i < text.size() && (text[i] == u' ' || text[i] == u'\t')) ++i;
  for (; i < text.size() && text[i] < 0x80; ++i) ascii += static_cast<char>(text[i]);
  const char* first = ascii.data();
  if (!ascii.empty() && ascii.front() == '+') ++first;
  double value = 0.0;
  const std::from_chars_result parsed = std::from_chars(first, ascii.data() + ascii.size(), value);
  if (parsed.ec != std::errc() || !std::isfinite(value)) return 0.0;
  return value;
}

BodyCalculation CalculateIdealBody(BodyMode mode, std::u16string_view input_text, int input_unit,
                                   int output_unit) {
  BodyCalculation calculation;
  const double value = ParseEnteredValue(input_text.substr(
      0, std::min<size_t>(input_text.size(), static_cast<size_t>(kBodyInputBuffer - 1))));
  if (mode == BodyMode::kIdealWeight) {
    const BodyValue kg = IdealWeight(InputToCentimetres(value, input_unit), value, input_unit);
    if (kg.error) {
      calculation.error = true;
      calculation.message = kg.message;
      return calculation;
    }
    calculation.result_text = u"Your ideal weight, given a\nheight of ";
    calculation.result_text += TwoDecimals(value);
    calculation.result_text += HeightUnitAt(input_unit).result_suffix;
    calculation.result_text += u"should be ";
    calculation.result_text += TwoDecimals(ToWeightUnit(kg.value, output_unit));
    calculation.result_text += WeightUnitAt(output_unit).message_suffix;
  } else {
    const BodyValue cm = IdealHeight(InputToKilograms(value, input_unit), value, input_unit);
    if (cm.error) {
      calculation.error = true;
      calculation.message = cm.message;
      return calculation;
    }
    calculation.result_text = u"Your ideal height, given a\nweight of ";
    calculation.result_text += TwoDecimals(value);
    calculation.result_text += WeightUnitAt(input_unit).result_suffix;
    calculation.result_text += u"should be ";
    calculation.result_text += TwoDecimals(ToHeightUnit(cm.value, output_unit) * 0.01);
    calculation.result_text += HeightUnitAt(output_unit).message_suffix;
  }
  return calculation;
}

std::optional<FieldEdit> FilterNumericInput(std::u16string_view text) {
  const size_t n = text.size();
  if (n == 0) return std::nullopt;
  const std::u16string_view head = text.substr(0, n - 1);
  const char16_t last = text[n - 1];
  // Every step looks at the text as it was read; when several rewrite the field, the last one
  // is what stays.
  std::optional<std::u16string> rewrite;
  const auto invalid = std::find_if_not(head.begin(), head.end(), IsFilterValid);
  if (invalid == head.end()) {
    // A bad last character goes alone: what was typed before it stays, ".5" included. Only a
    // point left on its own goes with it, as a lone point would on the next pass.
    if (!IsFilterValid(last)) rewrite = head == u"." ? u"" : std::u16string(head);
  } else {
    std::u16string without(text);
    without.erase(static_cast<size_t>(invalid - head.begin()), 1);
    rewrite = std::move(without);
  }
  if (n == 1 && last == u'.') return FieldEdit{u"", 0};
  if (last == u'.' && head.find(u'.') != std::u16string_view::npos) rewrite = std::u16string(head);
  if (!rewrite) return std::nullopt;
  // The caret goes to n - 1, which the edit control keeps within the new text.
  const int caret = static_cast<int>(std::min(n - 1, rewrite->size()));
  return FieldEdit{std::move(*rewrite), caret};
}
