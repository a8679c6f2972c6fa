#include "naming/naming.h"

#include <QStringBuilder>
#include <algorithm>
#include <iterator>

namespace kovaldi {

QString BuildZeroMask(int digitCount)
{
    return digitCount > 0 ? QString(digitCount, QLatin1Char('0')) : QString();
}

QString FormatFolderNumber(long long number, const QString& zeroMask)
{
    return BuildFolderName(QString(), number, zeroMask, QString());
}

QString BuildFolderName(const QString& header, const QString& numberText, const QString& footer)
{
    return header % numberText % footer;
}

QString BuildFolderName(const QString& header, long long number, const QString& zeroMask,
                        const QString& footer)
{
    // Work on the magnitude as unsigned so that the most negative value has one too.
    unsigned long long magnitude =
        number < 0 ? 0ULL - static_cast<unsigned long long>(number) : number;
    char16_t digits[20];
    qsizetype count = 0;
    do {
        digits[std::size(digits) - 1 - count++] = char16_t(u'0' + magnitude % 10);
        magnitude /= 10;
    } while (magnitude != 0);
    const qsizetype width = std::max(count, zeroMask.size());
    const qsizetype sign = number < 0 ? 1 : 0;
    QString name(header.size() + sign + width + footer.size(), Qt::Uninitialized);
    QChar* out = name.data();
    out = std::copy_n(header.constData(), header.size(), out);
    if (sign)
        *out++ = u'-';
    out = std::fill_n(out, width - count, QChar(u'0'));
    out = std::copy_n(digits + std::size(digits) - count, count, out);
    std::copy_n(footer.constData(), footer.size(), out);
    return name;
}

QString BuildBaseFolder(const QString& targetFolder, QChar separator)
{
    if (targetFolder.endsWith(separator))
        return targetFolder;
    return targetFolder + separator;
}

} // namespace kovaldi
