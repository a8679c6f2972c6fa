#include "application.h"

#include "commandline.h"
#include "desktop/appearance.h"
#include "files/localfilesystem.h"
#include "files/nativename.h"
#include "mainwindow/mainwindow.h"
#include "process/translations.h"
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

void SetIdentity()
{
    QCoreApplication::setApplicationName(QString::fromLatin1(version::title));
    QCoreApplication::setApplicationVersion(
        QStringLiteral("%1.%2.%3").arg(version::major).arg(version::minor).arg(version::revision));
}

} // namespace

int RunApplication(int& argc, char** argv, const std::function<void(MainWindow&)>& beforeShow)
{
    // The help and the version need no display, nor a connection to one.
    if (CommandLine::AsksForInformation(argc, argv)) {
        QCoreApplication application(argc, argv);
        SetIdentity();
        InstallTranslations(application, QStringLiteral("kovaldi"));
        return CommandLine::AnswerInformation(ProgramArguments(argc, argv));
    }
    if (!HasDisplay(argc, argv)) {
        std::fputs("kovaldi: no display found (neither DISPLAY nor WAYLAND_DISPLAY is set); "
                   "start it from a desktop session.\n",
                   stderr);
        return 1;
    }

    // Takes Qt's own options out of the arguments; what is left is the program's.
    QApplication application(argc, argv);
    SetIdentity();
    CommandLine::Start start;
    if (argc > 1) {
        // The command line's messages in the user's language; the window's are Japanese.
        QObject translations;
        InstallTranslations(translations, QStringLiteral("kovaldi"));
        start = CommandLine::Read(ProgramArguments(argc, argv), CommandLine::CurrentFolder(),
                                  LocalFileSystem());
    }
    if (start.exitStatus)
        return *start.exitStatus;
    QApplication::setDesktopFileName(QString::fromLatin1(version::appId));
    QApplication::setWindowIcon(ApplicationIcon());
    QApplication::setFont(JapaneseGothicFont(9));
    InstallQtTranslations(application);

    SettingsStore settings;
    MainWindow window(settings);
    if (start.target)
        window.setStartTarget(*start.target);
    window.centreOnScreen();
    if (beforeShow)
        beforeShow(window);
    ShowUnderDesktopId(window);
    return application.exec();
}

} // namespace kovaldi
