#include "numberreference.h"

#include "numberbox.h"
#include "numbers/numbertext.h"

#include <QRegularExpression>
#include <clocale>
#include <cmath>
#include <cstdio>
#include <cstdlib>

namespace kovaldi::test {

namespace {

QString Describe(const QString& text)
{
    QString codes;
    for (const QChar c : text.left(150))
        codes += QStringLiteral("\\u%1").arg(c.unicode(), 4, 16, QLatin1Char('0'));
    return QStringLiteral("\"%1\" (%2)").arg(text.left(80), codes);
}

// Plain digits within the box's range: no blanks, no "+", no leading zeros, no "-0".
bool IsCanonical(const QString& text, int lowest, int highest)
{
    static const QRegularExpression pattern(QStringLiteral(R"(\A(?:0|-?[1-9][0-9]{0,5})\z)"));
    return pattern.match(text).hasMatch() && text.toInt() >= lowest && text.toInt() <= highest;
}

} // namespace

std::optional<double> ReferenceNumericValue(const QString& text)
{
    static const QRegularExpression pattern(
        QStringLiteral(R"(\A *[+-]?(?:[0-9]+\.?[0-9]*|\.[0-9]+)(?:[eE][+-]?[0-9]+)? *\z)"));
    if (!pattern.match(text).hasMatch()) // what matches is ASCII
        return std::nullopt;
    // strtod reads the decimal point of the C library's current locale: put that in place
    // of the one "." that the grammar allows, whatever the locale.
    QByteArray ascii = text.toLatin1();
    ascii.replace(".", std::localeconv()->decimal_point);
    char* end = nullptr;
    const double value = std::strtod(ascii.constData(), &end);
    while (end && *end == ' ') // strtod stops before trailing blanks
        ++end;
    if (end != ascii.constData() + ascii.size() || std::isinf(value))
        return std::nullopt; // inf: overflow
    return value;
}

QString ReferenceWholeNumberText(double wholeNumber)
{
    if (wholeNumber == 0)
        return QStringLiteral("0");
    char buffer[400];
    std::snprintf(buffer, sizeof buffer, "%.0f", wholeNumber);
    return QString::fromLatin1(buffer);
}

QString CheckNumberBoxProperties(const QString& text)
{
    const auto failure = [&text](const QString& what) {
        return what + " for " + Describe(text);
    };
    const std::optional<double> expected = ReferenceNumericValue(text);
    const std::optional<double> actual = ParseNumericText(text);
    const auto shown = [](std::optional<double> value) { // 17 digits and the sign of a zero
        char buffer[40] = "not numeric";
        if (value)
            std::snprintf(buffer, sizeof buffer, "%.17g", *value);
        return QString::fromLatin1(buffer);
    };
    if (shown(expected) != shown(actual) || IsNumericText(text) != actual.has_value())
        return failure("reference " + shown(expected) + ", parser " + shown(actual));
    if (actual) {
        const double whole = std::floor(*actual);
        if (WholeNumberText(whole) != ReferenceWholeNumberText(whole))
            return failure("whole part written " + WholeNumberText(whole) + ", expected " +
                           ReferenceWholeNumberText(whole));
    }

    const struct
    {
        const char* box;
        NumberBoxLimits limits;
        int lowest;
        int highest;
    } boxes[] = {{"minimum/maximum", MinMaxLimits(), -9999, 99999},
                 {"digit count", DigitCountLimits(), -9, 99}};
    for (const auto& box : boxes) {
        const NumberBoxOutcome outcome = NormalizeNumberBoxText(text, box.limits);
        const QString name = QLatin1String(box.box);
        if (!IsCanonical(outcome.text, box.lowest, box.highest))
            return failure(name + " box ends with " + Describe(outcome.text));
        // Nested at most twice into itself: once for each step that rewrites the text, and
        // once more for full-width characters read as ASCII.
        const int most = 3 + (FoldWideNumberText(text) != text);
        if (outcome.deepest > most || outcome.runs > most)
            return failure(QStringLiteral("%1 box nests %2 deep in %3 runs")
                               .arg(name)
                               .arg(outcome.deepest)
                               .arg(outcome.runs));
        const NumberBoxOutcome again = NormalizeNumberBoxText(outcome.text, box.limits);
        if (again.text != outcome.text || again.runs != 1)
            return failure(name + " box changes its canonical " + Describe(outcome.text));
    }
    return {};
}

} // namespace kovaldi::test
