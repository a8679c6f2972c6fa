// kovaldi-cli: the folder naming rule and the run of Kovaldi from a terminal and from
// scripts, on the core alone (Qt Core, no window toolkit).
#include "command.h"
#include "utils.h"

#include "version.h"

#include <QCoreApplication>
#include <QDir>
#include <QLibraryInfo>
#include <QLocale>
#include <QTranslator>
#include <cstdio>

#if defined(Q_OS_WIN)
#include <windows.h>
#endif

namespace {

// The program's own messages from share/kovaldi/translations beside its bin folder, as
// installed, or from translations beside the program, as built; Qt's own (the parser's
// texts) from Qt's folder.
void LoadTranslations(QCoreApplication& app)
{
    const QLocale locale;
    auto* qt = new QTranslator(&app);
    if (qt->load(locale, QStringLiteral("qtbase"), QStringLiteral("_"),
                 QLibraryInfo::path(QLibraryInfo::TranslationsPath)))
        QCoreApplication::installTranslator(qt);
    const QString folder = QCoreApplication::applicationDirPath();
    auto* own = new QTranslator(&app);
    for (const QString& place : {folder + QStringLiteral("/../share/kovaldi/translations"),
                                 folder + QStringLiteral("/translations")}) {
        if (own->load(locale, QStringLiteral("kovaldi-cli"), QStringLiteral("_"), place)) {
            QCoreApplication::installTranslator(own);
            break;
        }
    }
}

} // namespace

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
    LoadTranslations(app);

    const QStringList arguments = kovaldi::cli::Arguments(argc, argv);
    return kovaldi::cli::RunCommandLine(arguments);
}
