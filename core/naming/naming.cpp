#include "naming/naming.h"

#include "naming/folderseries.h"

#include <QStringBuilder>

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
    const FolderSeries series{header, footer, zeroMask, number, 1, 1};
    return series.NameAt(0);
}

QString BuildBaseFolder(const QString& targetFolder, QChar separator)
{
    if (targetFolder.endsWith(separator))
        return targetFolder;
    return targetFolder + separator;
}

} // namespace kovaldi
