#include "numberreference.h"

#include "mainwindow/numbertext.h"

#include <QRegularExpression>
#include <cerrno>
#include <clocale>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <locale.h>
#include <vector>

namespace kovaldi::test {

namespace {

const QRegularExpression& NumericPattern()
{
    static const QRegularExpression pattern(
        QStringLiteral(R"(\A *[+-]?(?:[0-9]+\.?[0-9]*|\.[0-9]+)(?:[eE][+-]?[0-9]+)? *\z)"));
    return pattern;
}

const QRegularExpression& CanonicalPattern()
{
    static const QRegularExpression pattern(QStringLiteral(R"(\A(?:0|-?[1-9][0-9]*)\z)"));
    return pattern;
}

locale_t CLocale()
{
    static const locale_t locale = newlocale(LC_ALL_MASK, "C", locale_t(nullptr));
    return locale;
}

QString Describe(const QString& text)
{
    QString codes;
    for (const QChar c : text)
        codes += QStringLiteral("\\u%1").arg(c.unicode(), 4, 16, QLatin1Char('0'));
    return QStringLiteral("\"%1\" (%2)").arg(text.left(80), codes.left(600));
}

} // namespace

std::optional<double> ReferenceNumericValue(const QString& text)
{
    for (const QChar c : text)
        if (c.unicode() > 0x7f)
            return std::nullopt;
    if (!NumericPattern().match(text).hasMatch())
        return std::nullopt;
    const QByteArray ascii = text.toLatin1();
    errno = 0;
    char* end = nullptr;
    const double value = strtod_l(ascii.constData(), &end, CLocale());
    // strtod stops before trailing blanks; everything before them must have been read.
    while (end && *end == ' ')
        ++end;
    if (end != ascii.constData() + ascii.size())
        return std::nullopt;
    if (std::isinf(value))
        return std::nullopt; // overflow
    return value;
}

QString ReferenceWholeNumberText(double wholeNumber)
{
    if (wholeNumber == 0)
        return QStringLiteral("0");
    std::vector<char> buffer(400);
    std::snprintf(buffer.data(), buffer.size(), "%.0f", wholeNumber);
    return QString::fromLatin1(buffer.data());
}

bool IsCanonicalNumberText(const QString& text, int lowest, int highest)
{
    if (text.size() > 6 || !CanonicalPattern().match(text).hasMatch())
        return false;
    const int value = text.toInt();
    return value >= lowest && value <= highest;
}

QString CheckNumberBoxProperties(const QString& text)
{
    const std::optional<double> expected = ReferenceNumericValue(text);
    const std::optional<double> actual = ParseNumericText(text);
    if (expected.has_value() != actual.has_value())
        return QStringLiteral("numeric: reference %1, parser %2 for %3")
            .arg(expected.has_value())
            .arg(actual.has_value())
            .arg(Describe(text));
    if (IsNumericText(text) != actual.has_value())
        return QStringLiteral("IsNumericText disagrees with ParseNumericText for ") +
               Describe(text);
    if (actual) {
        if (std::memcmp(&*expected, &*actual, sizeof(double)) != 0)
            return QStringLiteral("value: reference %1, parser %2 for %3")
                .arg(*expected, 0, 'g', 17)
                .arg(*actual, 0, 'g', 17)
                .arg(Describe(text));
        const QString whole = WholeNumberText(std::floor(*actual));
        if (whole != ReferenceWholeNumberText(std::floor(*actual)))
            return QStringLiteral("whole part written %1, expected %2 for %3")
                .arg(whole, ReferenceWholeNumberText(std::floor(*actual)), Describe(text));
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
        if (!IsCanonicalNumberText(outcome.text, box.lowest, box.highest))
            return QStringLiteral("%1 box ends with %2 for %3")
                .arg(QLatin1String(box.box), Describe(outcome.text), Describe(text));
        // Nested at most twice into itself: once for each step that rewrites the text.
        if (outcome.deepest > 3 || outcome.runs > 3)
            return QStringLiteral("%1 box nests %2 deep in %3 runs for %4")
                .arg(QLatin1String(box.box))
                .arg(outcome.deepest)
                .arg(outcome.runs)
                .arg(Describe(text));
        const NumberBoxOutcome again = NormalizeNumberBoxText(outcome.text, box.limits);
        if (again.text != outcome.text || again.runs != 1)
            return QStringLiteral("%1 box changes its canonical %2 again")
                .arg(QLatin1String(box.box), Describe(outcome.text));
    }
    return {};
}

} // namespace kovaldi::test
