#include "process/programfolder.h"

#include <QCoreApplication>
#include <QDir>

namespace kovaldi {

QString ExecutableFolder()
{
    return QDir::toNativeSeparators(QCoreApplication::applicationDirPath());
}

QString ProgramFolderFrom(const QString& executableFolder)
{
    if (executableFolder.endsWith(QLatin1Char('\\')))
        return executableFolder.chopped(1);
    if (executableFolder.size() > 1 && executableFolder.endsWith(QLatin1Char('/')))
        return executableFolder.chopped(1);
    return executableFolder;
}

} // namespace kovaldi
