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

} // namespace kovaldi::test
