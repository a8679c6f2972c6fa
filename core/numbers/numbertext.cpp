#include "numbers/numbertext.h"

#include <QByteArray>
#include <algorithm>
#include <array>
#include <charconv>
#include <cmath>
#include <cstdio>
#include <string>
#include <system_error>

namespace kovaldi {

namespace {

constexpr char16_t kBlank = u' ';

bool IsDigit(QChar c)
{
    return c.unicode() >= u'0' && c.unicode() <= u'9';
}

// The grammar check. On success, `core` holds the text without its blanks and without a
// "+" sign, as ASCII, and `order` tells on which side of 1 the magnitude lies when it is
// not zero: above 0 for 1 or more, 0 or below for less than 1.
bool ScanNumericText(const QString& text, std::string& core, long long& order)
{
    qsizetype begin = 0;
    qsizetype end = text.size();
    while (begin < end && text[begin] == kBlank)
        ++begin;
    while (end > begin && text[end - 1] == kBlank)
        --end;

    core.clear();
    qsizetype i = begin;
    if (i < end && (text[i] == u'+' || text[i] == u'-')) {
        if (text[i] == u'-')
            core += '-';
        ++i;
    }

    long long integerDigits = 0;
    long long firstNonZero = -1; // digits before the point up to the first non-zero one
    long long digitsSeen = 0;
    bool point = false;
    for (; i < end; ++i) {
        const QChar c = text[i];
        if (IsDigit(c)) {
            if (firstNonZero < 0 && c != u'0')
                firstNonZero = digitsSeen;
            ++digitsSeen;
            if (!point)
                ++integerDigits;
        } else if (c == u'.' && !point) {
            point = true;
        } else {
            break;
        }
        core += char(c.unicode());
    }
    if (digitsSeen == 0)
        return false;

    long long exponent = 0;
    if (i < end && (text[i] == u'e' || text[i] == u'E')) {
        core += 'e';
        ++i;
        bool negative = false;
        if (i < end && (text[i] == u'+' || text[i] == u'-')) {
            negative = text[i] == u'-';
            core += char(text[i].unicode());
            ++i;
        }
        const qsizetype exponentStart = i;
        for (; i < end && IsDigit(text[i]); ++i) {
            // Saturates far beyond any exponent that a double can reach.
            exponent = std::min(exponent * 10 + (text[i].unicode() - u'0'), 1'000'000'000LL);
            core += char(text[i].unicode());
        }
        if (i == exponentStart)
            return false;
        if (negative)
            exponent = -exponent;
    }
    if (i != end)
        return false;

    // The first non-zero digit stands integerDigits - firstNonZero places before the point
    // (zero or less: behind it); the exponent moves it.
    order = firstNonZero < 0 ? 0 : integerDigits - firstNonZero + exponent;
    return true;
}

} // namespace

std::optional<double> ParseNumericText(const QString& text)
{
    std::string core;
    long long order = 0;
    if (!ScanNumericText(text, core, order))
        return std::nullopt;
    double value = 0;
#if defined(__cpp_lib_to_chars)
    const auto [end, error] = std::from_chars(core.data(), core.data() + core.size(), value);
    if (end != core.data() + core.size())
        return std::nullopt;
#else
    // Standard libraries without from_chars for doubles: Qt's conversion is the same in
    // every locale too, and fails only on a value out of range once the grammar holds.
    bool converted = false;
    value = QByteArray::fromStdString(core).toDouble(&converted);
    const std::errc error = converted ? std::errc() : std::errc::result_out_of_range;
#endif
    if (error == std::errc::result_out_of_range) {
        // Too far from 1 for a double: too large is not numeric, too small rounds to zero.
        if (order > 0)
            return std::nullopt;
        return core.front() == '-' ? -0.0 : 0.0;
    }
    if (error != std::errc() || !std::isfinite(value))
        return std::nullopt;
    return value;
}

bool IsNumericText(const QString& text)
{
    return ParseNumericText(text).has_value();
}

QString WholeNumberText(double wholeNumber)
{
    if (wholeNumber == 0 || !std::isfinite(wholeNumber))
        return QStringLiteral("0");
    // Sign and the 309 digits of the largest double, with room to spare.
    std::array<char, 330> buffer{};
#if defined(__cpp_lib_to_chars)
    const auto [end, error] = std::to_chars(buffer.data(), buffer.data() + buffer.size(),
                                            std::trunc(wholeNumber), std::chars_format::fixed, 0);
    if (error != std::errc())
        return QStringLiteral("0");
    return QString::fromLatin1(buffer.data(), end - buffer.data());
#else
    // Standard libraries without to_chars for doubles: printf writes every digit of a whole
    // number too, and with no fraction there is no decimal point for the locale to change.
    const int length = std::snprintf(buffer.data(), buffer.size(), "%.0f", std::trunc(wholeNumber));
    if (length <= 0 || size_t(length) >= buffer.size())
        return QStringLiteral("0");
    return QString::fromLatin1(buffer.data(), length);
#endif
}

std::optional<long long> WholeNumberIn(const QString& text, long long lowest, long long highest)
{
    std::string core;
    long long order = 0;
    if (!ScanNumericText(text, core, order))
        return std::nullopt;
    // Read exactly, from the digits: a double would take 1.0000000000000001 for 1.
    const bool negative = !core.empty() && core.front() == '-';
    std::string digits;
    long long point = -1; // digits before the decimal point
    size_t i = negative ? 1 : 0;
    for (; i < core.size() && core[i] != 'e'; ++i) {
        if (core[i] == '.')
            point = qsizetype(digits.size());
        else
            digits += core[i];
    }
    if (point < 0)
        point = qsizetype(digits.size());
    long long exponent = 0;
    if (i < core.size()) {
        const bool down = i + 1 < core.size() && core[i + 1] == '-';
        for (size_t e = i + 1; e < core.size(); ++e) {
            if (core[e] >= '0' && core[e] <= '9')
                exponent = std::min(exponent * 10 + (core[e] - '0'), 1'000'000'000LL);
        }
        point += down ? -exponent : exponent;
    }
    // Only zeros may stand behind the point.
    for (long long d = std::max(0LL, point); d < qsizetype(digits.size()); ++d) {
        if (digits[size_t(d)] != '0')
            return std::nullopt;
    }
    unsigned long long magnitude = 0;
    const unsigned long long limit =
        negative ? 0ULL - static_cast<unsigned long long>(std::min(lowest, 0LL))
                 : static_cast<unsigned long long>(std::max(highest, 0LL));
    for (long long d = 0; d < point; ++d) {
        if (magnitude == 0 && d >= qsizetype(digits.size()))
            break; // zeros times ten, however often
        const unsigned digit = d < qsizetype(digits.size()) ? unsigned(digits[size_t(d)] - '0') : 0;
        if (digit > limit || magnitude > (limit - digit) / 10)
            return std::nullopt;
        magnitude = magnitude * 10 + digit;
    }
    if (magnitude == 0)
        return lowest <= 0 && highest >= 0 ? std::optional<long long>(0) : std::nullopt;
    const long long value =
        negative ? static_cast<long long>(0ULL - magnitude) : static_cast<long long>(magnitude);
    if (value < lowest || value > highest)
        return std::nullopt;
    return value;
}

NumberBoxLimits MinMaxLimits()
{
    return {5, QStringLiteral("10000")};
}

NumberBoxLimits DigitCountLimits()
{
    return {2, QStringLiteral("10")};
}

QString FoldWideNumberText(const QString& text)
{
    QString folded = text;
    for (QChar& c : folded) {
        const char16_t code = c.unicode();
        if (code >= 0xFF10 && code <= 0xFF19)
            c = QChar(char16_t(u'0' + (code - 0xFF10)));
        else if (code == 0xFF0D || code == 0x2212)
            c = u'-';
        else if (code == 0xFF0B)
            c = u'+';
        else if (code == 0xFF0E)
            c = u'.';
    }
    return folded;
}

QString NumericOrOne(const QString& text)
{
    return IsNumericText(text) ? text : QStringLiteral("1");
}

QString WithinLimit(const QString& text, const NumberBoxLimits& limits)
{
    return text.size() > limits.longest ? limits.replacement : text;
}

QString WholePartText(const QString& text)
{
    const std::optional<double> value = ParseNumericText(text);
    if (!value)
        return text; // the step fails and is skipped
    return WholeNumberText(std::floor(*value));
}

void RunNumberBoxSteps(const std::function<QString()>& text,
                       const std::function<void(const QString&)>& setText,
                       const NumberBoxLimits& limits)
{
    const auto step = [&](const QString& result, const QString& current) {
        if (result != current)
            setText(result);
    };
    QString current = text();
    step(FoldWideNumberText(current), current);
    current = text();
    step(NumericOrOne(current), current);
    current = text();
    step(WithinLimit(current, limits), current);
    current = text();
    step(WholePartText(current), current);
}

} // namespace kovaldi
