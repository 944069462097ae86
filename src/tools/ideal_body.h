// The arithmetic and texts of the ideal body calculator, apart from its screen: the unit tables,
// the ideal weight for a height and the ideal height for a weight, the range checks and their
// messages, the result texts and the filter that keeps the input field numeric. Everything is
// computed in centimetres and kilograms and converted at the edges.
#pragma once

#include <array>
#include <optional>
#include <string>
#include <string_view>

struct BodyUnit {
  std::u16string_view list_text;       // the combo-box item
  double factor;                       // units per metre, or per kilogram
  double reciprocal;                   // what input is multiplied by to get metres or kilograms
  std::u16string_view message_suffix;  // after the number in range messages and results
  std::u16string_view result_suffix;   // after the entered number in results, ends the line
};

inline constexpr int kBodyUnitCount = 6;

// In list order. Index 1 is the base unit (metres, kilograms), which converts unchanged. The
// factors are the calculator's own (3.2 feet to the metre, not 3.28), and so are the names.
inline constexpr std::array<BodyUnit, kBodyUnitCount> kHeightUnits = {{
    {u"feet", 3.2, 0.3125, u" feet", u" feet\n"},
    {u"meters", 1.0, 1.0, u" meters", u" meters\n"},
    {u"hands", 9.84, 0.1016260162601626, u" hands", u" hands\n"},
    {u"inches", 39.3, 0.025445292620865142, u" inches", u" inches\n"},
    {u"pica", 237.106, 0.004217522964412542, u" pica", u" pica\n"},
    {u"points", 2849.27, 0.00035096708981598797, u" points", u" points\n"},
}};

inline constexpr std::array<BodyUnit, kBodyUnitCount> kWeightUnits = {{
    {u"pounds", 2.2, 0.45454545454545453, u" pounds", u" pounds\n"},
    {u"kilograms", 1.0, 1.0, u" kilograms", u" kilograms\n"},
    {u"newtons", 9.8, 0.1020408163265306, u" newtons", u" newtons\n"},
    {u"trozs", 32.15, 0.03110419906687403, u" trozs", u" trozs\n"},
    {u"stones", 0.157, 6.369426751592357, u" stones", u" stones\n"},
    {u"onces(oz)", 35.27, 0.02835270768358378, u" ones(oz)", u" ones(oz)\n"},
}};

// Ideal weight in kilograms for a height of 100 + i centimetres.
inline constexpr int kIdealWeightCount = 85;
extern const std::array<double, kIdealWeightCount> kIdealWeightTable;

// The unit at a combo-box index. An index outside 0..5 (a combo without selection answers -1)
// is taken as 0, the unit every list starts on.
const BodyUnit& HeightUnitAt(int unit);
const BodyUnit& WeightUnitAt(int unit);

// x metres (or centimetres) in the given unit, and x kilograms in the given unit.
double ToHeightUnit(double x, int unit);
double ToWeightUnit(double x, int unit);

// The entered number in centimetres or kilograms.
double InputToCentimetres(double value, int unit);
double InputToKilograms(double value, int unit);

// An ideal weight or height. `error` set means the entered value failed the range check: the
// screen shows `message` in a box and leaves its result alone. Above the maximum the value is
// still computed, but it must not be used.
struct BodyValue {
  double value = 0.0;
  bool error = false;
  std::u16string message;
};

// Ideal weight in kilograms for `cm`; the range check (1.00 to 2.10 metres) is made on the
// entered value in its own unit.
BodyValue IdealWeight(double cm, double entered, int input_unit);
// Ideal height in centimetres for `kg`; the range check (18 to 99 kilograms) is made on the
// entered value in its own unit.
BodyValue IdealHeight(double kg, double entered, int input_unit);

// The field's text as a number: its leading numeric part, 0 when there is none.
double ParseEnteredValue(std::u16string_view text);

enum class BodyMode { kIdealWeight, kIdealHeight };

// What the Calculate button does with the field's text. On error, `message` is for the box and
// `result_text` is empty (the result keeps its old text); otherwise `result_text` is the new
// result.
struct BodyCalculation {
  bool error = false;
  std::u16string message;
  std::u16string result_text;
};
BodyCalculation CalculateIdealBody(BodyMode mode, std::u16string_view input_text, int input_unit,
                                   int output_unit);

// Characters the input field reads at a time, terminator included.
inline constexpr int kBodyInputBuffer = 200;

// A rewrite of the input field: its new text and the caret (an empty selection) within it.
struct FieldEdit {
  std::u16string text;
  int caret = 0;
};

// One pass of the numeric filter over the field's text: nothing when it stays as it is. Setting
// the new text notifies another update, so the screen runs the filter again until it answers
// nothing; each pass removes at most one character, or empties the field.
std::optional<FieldEdit> FilterNumericInput(std::u16string_view text);
