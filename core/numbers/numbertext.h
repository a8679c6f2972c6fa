#pragma once

#include <QString>
#include <functional>
#include <optional>

namespace kovaldi {

// Numeric text, the one grammar of the number boxes, the same in every locale:
// optional blanks (U+0020) around an optional sign "+" or "-", decimal digits with at most
// one "." among them and at least one digit, then optionally E or e, an optional sign and
// one or more digits. Its value must lie within the range of a double: a text that
// overflows (1e309) is not numeric; one that underflows (1e-400) is numeric and its value
// rounds to zero. Nothing else is numeric: no other blanks, no digit-group separators, no
// decimal comma, no inf or nan, no hexadecimal, no digits other than ASCII 0-9.
std::optional<double> ParseNumericText(const QString& text);
bool IsNumericText(const QString& text);

// A whole number in plain decimal digits, however large: no leading zeros, "-" in front of
// a negative number, never an exponent, "0" for zero (negative zero included).
QString WholeNumberText(double wholeNumber);

// The number of a numeric text that holds a whole number from lowest to highest, read
// exactly from its digits: nothing is rounded.
std::optional<long long> WholeNumberIn(const QString& text, long long lowest, long long highest);

// A number box's longest accepted text and the replacement for a longer one.
struct NumberBoxLimits
{
    qsizetype longest;
    QString replacement;
};
NumberBoxLimits MinMaxLimits();
NumberBoxLimits DigitCountLimits();

// The text with the full-width digits 0-9 (U+FF10-U+FF19), signs (U+FF0B "+", U+FF0D and
// U+2212 "-") and full stop (U+FF0E) that an input method types in their ASCII forms;
// every other character as it is. A number box reads them so before its own rules.
QString FoldWideNumberText(const QString& text);

// The three normalising steps of a number box's change handling, each on its own:
// a text that is not numeric gives "1"; a text longer than the limit gives the replacement;
// a numeric text gives the whole part of its value, rounded toward minus infinity, in
// plain digits. Each gives its text unchanged where the step changes nothing.
QString NumericOrOne(const QString& text);
QString WithinLimit(const QString& text, const NumberBoxLimits& limits);
QString WholePartText(const QString& text);

// Runs the three steps in order, after the folding above, on a box given by its text accessors.
// Each step reads the box's text afresh and writes only a different text, since setting a box to
// the text it holds runs nothing; a write may re-enter the box's change handling before it returns.
void RunNumberBoxSteps(const std::function<QString()>& text,
                       const std::function<void(const QString&)>& setText,
                       const NumberBoxLimits& limits);

} // namespace kovaldi
