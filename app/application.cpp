#include "application.h"

#include "desktop/appearance.h"
#include "mainwindow/mainwindow.h"
#include "settings/settingsstore.h"
#include "version.h"

#include <QApplication>
#include <QWidget>
#include <cstdio>

namespace kovaldi {

namespace {

// Without any display Qt would print a page about platform plugins and abort; one line
// says what is wrong.
bool HasDisplay(int argc, char** argv)
{
#if defined(Q_OS_UNIX) && !defined(Q_OS_MACOS)
    for (int i = 1; i < argc; ++i)
        if (qstrcmp(argv[i], "-platform") == 0)
            return true;
    return !qEnvironmentVariableIsEmpty("DISPLAY") ||
           !qEnvironmentVariableIsEmpty("WAYLAND_DISPLAY") ||
           !qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM");
#else
    Q_UNUSED(argc);
    Q_UNUSED(argv);
    return true;
#endif
}

// Shows the window with the desktop id as its X11 window class. Qt's X11 platform names the
// class after the application when it creates its first window, and keeps that for every
// window after; the desktop matches the class against the menu entry's StartupWMClass, as
// on Wayland it matches the app id (the desktop file name). For everything else, a screen
// reader's list of programs among them, the application goes by its title again at once.
void ShowUnderDesktopId(QWidget& window)
{
    QApplication::setApplicationName(QString::fromLatin1(version::appId));
    window.show();
    QApplication::setApplicationName(QString::fromLatin1(version::title));
}

} // namespace

int RunApplication(int& argc, char** argv, const std::function<void(MainWindow&)>& beforeShow)
{
    if (!HasDisplay(argc, argv)) {
        std::fputs("kovaldi: no display found (neither DISPLAY nor WAYLAND_DISPLAY is set); "
                   "start it from a desktop session.\n",
                   stderr);
        return 1;
    }

    QApplication application(argc, argv);
    QApplication::setApplicationName(QString::fromLatin1(version::title));
    QApplication::setApplicationVersion(
        QStringLiteral("%1.%2.%3").arg(version::major).arg(version::minor).arg(version::revision));
    QApplication::setDesktopFileName(QString::fromLatin1(version::appId));
    QApplication::setWindowIcon(ApplicationIcon());
    QApplication::setFont(JapaneseGothicFont(9));
    InstallQtTranslations(application);

    SettingsStore settings;
    MainWindow window(settings);
    window.centreOnScreen();
    if (beforeShow)
        beforeShow(window);
    ShowUnderDesktopId(window);
    return application.exec();
}

} // namespace kovaldi
