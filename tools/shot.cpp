// Renders Kovaldi's windows to PNG files, for a look at them without a display:
//   QT_QPA_PLATFORM=offscreen kovaldi-shot <output folder>
// The settings come from a fresh temporary folder, so the main window shows a first start.
#include "mainwindow/mainwindow.h"
#include "platform/appearance.h"
#include "settings/settingsstore.h"

#include <QApplication>
#include <QDir>
#include <QPixmap>
#include <QTemporaryDir>
#include <cstdio>

int main(int argc, char* argv[])
{
    QTemporaryDir configHome;
    qputenv("XDG_CONFIG_HOME", QFile::encodeName(configHome.path()));
    QApplication application(argc, argv);
    QApplication::setFont(kovaldi::JapaneseGothicFont(9));
    kovaldi::InstallQtTranslations(application);
    const QString outputFolder = argc > 1 ? QString::fromLocal8Bit(argv[1]) : QDir::currentPath();
    QDir().mkpath(outputFolder);

    kovaldi::SettingsStore settings;
    kovaldi::MainWindow window(settings);
    window.Form_Load();
    window.show();
    QApplication::processEvents();
    const QString mainPath = outputFolder + QStringLiteral("/mainwindow.png");
    if (!window.grab().save(mainPath)) {
        std::fprintf(stderr, "cannot write %s\n", qPrintable(mainPath));
        return 1;
    }
    std::printf("%s\n", qPrintable(mainPath));
    return 0;
}
