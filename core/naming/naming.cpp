#include "naming/naming.h"

#include "naming/folderseries.h"

#include <QStringBuilder>
#include <algorithm>

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

QString FoldedName(const QString& name)
{
    // Most names are ASCII without capitals, which fold to themselves.
    const auto plain = [](QChar c) {
        return c.unicode() < 0x80 && !c.isUpper();
    };
    if (std::all_of(name.begin(), name.end(), plain))
        return name;
    return name.normalized(QString::NormalizationForm_C).toCaseFolded();
}

} // namespace kovaldi
