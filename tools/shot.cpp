// Renders Kovaldi's windows to PNG files, for a look at them without a display:
//   QT_QPA_PLATFORM=offscreen kovaldi-shot [--example] <output folder>
// The settings come from a fresh temporary folder, so the main window shows a first start;
// with --example it shows the inputs of a typical run instead (the build renders the
// metainfo's screenshots this way).
#include "about/aboutwindow.h"
#include "desktop/appearance.h"
#include "mainwindow/mainwindow.h"
#include "settings/settingsstore.h"

#include <QApplication>
#include <QDir>
#include <QPixmap>
#include <QTemporaryDir>
#include <QWidget>
#include <cstdio>

namespace {

bool Save(QWidget& window, const QString& path)
{
    if (!window.grab().save(path)) {
        std::fprintf(stderr, "cannot write %s\n", qPrintable(path));
        return false;
    }
    std::printf("%s\n", qPrintable(path));
    return true;
}

} // namespace

int main(int argc, char* argv[])
{
    QTemporaryDir configHome;
    qputenv("XDG_CONFIG_HOME", QFile::encodeName(configHome.path()));
    QApplication application(argc, argv);
    QApplication::setFont(kovaldi::JapaneseGothicFont(9));
    kovaldi::InstallQtTranslations(application);
    QStringList arguments = QApplication::arguments().mid(1);
    const bool example = arguments.removeAll(QStringLiteral("--example")) > 0;
    const QString outputFolder = arguments.isEmpty() ? QDir::currentPath() : arguments.first();
    QDir().mkpath(outputFolder);

    kovaldi::SettingsStore settings;
    if (example) {
        const char* const inputs[][2] = {{"LastPath", "~/画像/旅行"},
                                         {"Header", "img"},
                                         {"Footer", "_a"},
                                         {"Min", "1"},
                                         {"Max", "120"},
                                         {"Beam", "3"}};
        for (const auto& [key, value] : inputs)
            settings.SaveSetting(kovaldi::kSettingsApplication, kovaldi::kSettingsSection,
                                 QLatin1String(key), QString::fromUtf8(value));
    }
    kovaldi::MainWindow window(settings);
    window.show();
    QApplication::processEvents();
    if (!Save(window, outputFolder + QStringLiteral("/mainwindow.png")))
        return 1;

    // The About window as it opens, and with the home-page link under the mouse.
    kovaldi::AboutWindow about(&window);
    about.show();
    QApplication::processEvents();
    if (!Save(about, outputFolder + QStringLiteral("/aboutwindow.png")))
        return 1;
    about.Label2_MouseMove();
    QApplication::processEvents();
    if (!Save(about, outputFolder + QStringLiteral("/aboutwindow-link.png")))
        return 1;
    return 0;
}
