#include "naming/naming.h"

namespace kovaldi {

QString BuildZeroMask(int digitCount)
{
    return digitCount > 0 ? QString(digitCount, QLatin1Char('0')) : QString();
}

QString FormatFolderNumber(long long number, const QString& zeroMask)
{
    // Work on the magnitude as unsigned so that the most negative value has one too.
    const unsigned long long magnitude =
        number < 0 ? 0ULL - static_cast<unsigned long long>(number) : number;
    QString digits = QString::number(magnitude);
    if (digits.size() < zeroMask.size())
        digits.prepend(QString(zeroMask.size() - digits.size(), QLatin1Char('0')));
    if (number < 0)
        digits.prepend(QLatin1Char('-'));
    return digits;
}

QString BuildFolderName(const QString& header, const QString& numberText, const QString& footer)
{
    return header + numberText + footer;
}

QString BuildBaseFolder(const QString& targetFolder, QChar separator)
{
    if (targetFolder.endsWith(separator))
        return targetFolder;
    return targetFolder + separator;
}

} // namespace kovaldi
