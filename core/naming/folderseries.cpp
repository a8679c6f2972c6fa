#include "naming/folderseries.h"

#include <algorithm>
#include <iterator>
#include <limits>

namespace kovaldi {

qsizetype WriteNumberText(qint64 number, qsizetype width, QChar* out)
{
    // The magnitude as unsigned, so that the most negative number has one too.
    quint64 magnitude = number < 0 ? 0ULL - static_cast<quint64>(number) : quint64(number);
    char16_t digits[kMostNumberUnits];
    qsizetype count = 0;
    do {
        digits[std::size(digits) - 1 - count++] = char16_t(u'0' + magnitude % 10);
        magnitude /= 10;
    } while (magnitude != 0);
    QChar* const start = out;
    if (number < 0)
        *out++ = u'-';
    if (width > count)
        out = std::fill_n(out, width - count, QChar(u'0'));
    out = std::copy_n(digits + std::size(digits) - count, count, out);
    return out - start;
}

qsizetype FolderSeries::LongestName() const
{
    return header.size() + zeroMask.size() + kMostNumberUnits + footer.size();
}

qsizetype FolderSeries::WriteName(qint64 index, QChar* out) const
{
    QChar* const start = out;
    out = std::copy_n(header.constData(), header.size(), out);
    out += WriteNumberText(NumberAt(index), zeroMask.size(), out);
    out = std::copy_n(footer.constData(), footer.size(), out);
    return out - start;
}

void FolderSeries::NameInto(qint64 index, QString& name) const
{
    // Sized once to the longest name; shortening keeps the room.
    name.resize(LongestName());
    name.resize(WriteName(index, name.data()));
}

QString FolderSeries::NameAt(qint64 index) const
{
    QString name;
    NameInto(index, name);
    return name;
}

qint64 FolderSeries::IndexOf(QStringView name) const
{
    if (name.size() <= header.size() + footer.size() || !name.startsWith(header) ||
        !name.endsWith(footer) || step < 1)
        return -1;
    QStringView text = name.mid(header.size(), name.size() - header.size() - footer.size());
    const bool negative = text.front() == u'-';
    if (negative)
        text = text.mid(1);
    if (text.isEmpty() ||
        !std::all_of(text.begin(), text.end(), [](QChar c) { return c >= u'0' && c <= u'9'; }))
        return -1;
    // Zeros in front only as the mask pads: the text is exactly as long as the digits of
    // the number (one for zero) or the mask, whichever is longer.
    const QChar* significant =
        std::find_if(text.begin(), text.end() - 1, [](QChar c) { return c != u'0'; });
    const QStringView digits(significant, text.end());
    if (std::max(digits.size(), zeroMask.size()) != text.size())
        return -1;
    if (negative && digits == u"0")
        return -1; // zero is written without a sign
    // The magnitude, if it fits a qint64 at all, as every number of a series does; 19
    // digits fit the unsigned reckoning.
    if (digits.size() > 19)
        return -1;
    quint64 magnitude = 0;
    for (const QChar c : digits)
        magnitude = magnitude * 10 + (c.unicode() - u'0');
    constexpr quint64 limit = quint64(std::numeric_limits<qint64>::max()) + 1;
    if (magnitude > limit || (!negative && magnitude == limit))
        return -1;
    const qint64 number = negative ? qint64(0ULL - magnitude) : qint64(magnitude);
    if (number < first)
        return -1;
    const quint64 offset = quint64(number) - quint64(first);
    if (offset % quint64(step) != 0)
        return -1;
    const quint64 index = offset / quint64(step);
    return index < quint64(std::max<qint64>(count, 0)) ? qint64(index) : -1;
}

} // namespace kovaldi
