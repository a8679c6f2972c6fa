#include "process/programfolder.h"

#include <QCoreApplication>
#include <QDir>

namespace kovaldi {

QString ExecutableFolder()
{
    return QDir::toNativeSeparators(QCoreApplication::applicationDirPath());
}

QString ProgramFolderFrom(const QString& executableFolder, QChar separator)
{
    if (executableFolder.size() > 1 && executableFolder.endsWith(separator))
        return executableFolder.chopped(1);
    return executableFolder;
}

} // namespace kovaldi
