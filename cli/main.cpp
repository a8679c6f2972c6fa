// kovaldi-cli: the folder naming rule and the run of Kovaldi from a terminal and from
// scripts, on the core alone (Qt Core, no window toolkit).
#include "command.h"
#include "files/nativename.h"
#include "utils.h"

#include "process/translations.h"
#include "version.h"

#include <QCoreApplication>
#include <cstdio>

#if defined(Q_OS_WIN)
#include <windows.h>
#endif

int main(int argc, char* argv[])
{
    QCoreApplication app(argc, argv);
    QCoreApplication::setApplicationName(QStringLiteral("kovaldi-cli"));
    QCoreApplication::setApplicationVersion(QStringLiteral("%1.%2.%3")
                                                .arg(kovaldi::version::major)
                                                .arg(kovaldi::version::minor)
                                                .arg(kovaldi::version::revision));
#if defined(Q_OS_WIN)
    SetConsoleOutputCP(CP_UTF8);
#endif
    kovaldi::InstallTranslations(app, QStringLiteral("kovaldi-cli"));

    const QStringList arguments = kovaldi::ProgramArguments(argc, argv);
    return kovaldi::cli::RunCommandLine(arguments);
}
