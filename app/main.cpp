#include "mainwindow/mainwindow.h"
#include "platform/appearance.h"
#include "settings/settingsstore.h"
#include "version.h"

#include <QApplication>
#include <cstdio>

namespace {

// Without any display Qt would print a page about platform plugins and abort; one line
// says what is wrong.
bool HasDisplay()
{
#if defined(Q_OS_UNIX) && !defined(Q_OS_MACOS)
    return !qEnvironmentVariableIsEmpty("DISPLAY") ||
           !qEnvironmentVariableIsEmpty("WAYLAND_DISPLAY") ||
           !qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM");
#else
    return true;
#endif
}

} // namespace

int main(int argc, char* argv[])
{
    if (!HasDisplay()) {
        std::fputs("kovaldi: no display found (neither DISPLAY nor WAYLAND_DISPLAY is set); "
                   "start it from a desktop session.\n",
                   stderr);
        return 1;
    }

    QApplication application(argc, argv);
    QApplication::setApplicationName(QString::fromLatin1(kovaldi::version::title));
    QApplication::setApplicationVersion(QStringLiteral("%1.%2.%3")
                                            .arg(kovaldi::version::major)
                                            .arg(kovaldi::version::minor)
                                            .arg(kovaldi::version::revision));
    QApplication::setDesktopFileName(QString::fromLatin1(kovaldi::version::appId));
    QApplication::setWindowIcon(kovaldi::ApplicationIcon());
    QApplication::setFont(kovaldi::JapaneseGothicFont(9));
    kovaldi::InstallQtTranslations(application);

    kovaldi::SettingsStore settings;
    kovaldi::MainWindow window(settings);
    window.Form_Load();
    window.centreOnScreen();
    window.show();
    return application.exec();
}
