#include "testenv.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>

namespace kovaldi::test {

namespace {
QTemporaryDir& ConfigHome()
{
    static QTemporaryDir dir;
    return dir;
}
} // namespace

QString UseTemporaryConfigHome()
{
    const QString path = ConfigHome().path();
    qputenv("XDG_CONFIG_HOME", QFile::encodeName(path));
    return path;
}

QString SettingsFilePath()
{
    return ConfigHome().path() + QStringLiteral("/Kovaldi/Kovaldi.conf");
}

void ClearSettings()
{
    QDir(ConfigHome().path() + QStringLiteral("/Kovaldi")).removeRecursively();
}

QString LongestFolderName(QChar repeated)
{
#if defined(Q_OS_WIN) || defined(Q_OS_MACOS)
    return QString(255, repeated);
#else
    return QString(255 / QString(repeated).toUtf8().size(), repeated);
#endif
}

} // namespace kovaldi::test
