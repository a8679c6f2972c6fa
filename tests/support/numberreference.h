#pragma once

#include <QString>
#include <optional>

namespace kovaldi::test {

// A second, independent statement of the number boxes' rules, written differently from the
// program's own: the grammar as a regular expression, the value from the C library's strtod,
// whole numbers printed by printf.

// The value of a numeric text, or nothing for any other text.
std::optional<double> ReferenceNumericValue(const QString& text);

// printf's "%.0f" of a whole number, without the sign of a negative zero.
QString ReferenceWholeNumberText(double wholeNumber);

// Checks one text: the parser agrees with the reference; the minimum/maximum and digit-count
// boxes each end canonical, within the bounded nesting, and keep a canonical text as it is.
// Returns what failed, or an empty text.
QString CheckNumberBoxProperties(const QString& text);

} // namespace kovaldi::test
