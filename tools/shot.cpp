// Renders Kovaldi's windows to PNG files, for a look at them without a display:
//   QT_QPA_PLATFORM=offscreen kovaldi-shot [--example | --run] [--dark] [output folder]
//   kovaldi-shot --help
// The settings come from a fresh temporary folder, so the main window shows a first start;
// with --example it shows the inputs of a typical run instead (the build renders the
// metainfo's screenshots this way). With --run it renders a run's messages instead, and
// the window while folders are made, from runs in a temporary folder. --dark draws them
// on a dark palette, as a desktop's dark colour scheme hands it over.
#include "about/aboutwindow.h"
#include "desktop/appearance.h"
#include "files/localfilesystem.h"
#include "lists/listdialog.h"
#include "mainwindow/mainwindow.h"
#include "settings/settingsstore.h"

#include <QApplication>
#include <QCommandLineParser>
#include <QDir>
#include <QFile>
#include <QLineEdit>
#include <QMessageBox>
#include <QPalette>
#include <QPixmap>
#include <QPointer>
#include <QPushButton>
#include <QScreen>
#include <QTemporaryDir>
#include <QTimer>
#include <QWidget>
#include <cstdio>
#include <deque>
#include <functional>

namespace {

bool Save(const QPixmap& picture, const QString& path)
{
    if (!picture.save(path)) {
        std::fprintf(stderr, "cannot write %s\n", qPrintable(path));
        return false;
    }
    std::printf("%s\n", qPrintable(path));
    return true;
}

bool Save(QWidget& window, const QString& path)
{
    return Save(window.grab(), path);
}

// Makes folders for real, except that some names fail for reasons a temporary folder
// cannot give, and calls midRun after the 1,500th folder.
class ShotFileSystem : public kovaldi::LocalFileSystem
{
public:
    std::function<void()> midRun;

    kovaldi::CreateResult CreateFolder(const QString& path) override
    {
        using kovaldi::FailureReason;
        const int number = path.right(4).toInt();
        kovaldi::CreateResult result;
        if (number >= 100 && number < 400)
            result = {false, FailureReason::AccessRefused, {}};
        else if (number >= 600 && number < 620)
            result = {false, FailureReason::Other, QStringLiteral("Input/output error")};
        else
            result = LocalFileSystem::CreateFolder(path);
        if (++m_tried == 1500 && midRun)
            std::exchange(midRun, nullptr)();
        return result;
    }

    void restart() { m_tried = 0; }

private:
    int m_tried = 0;
};

// Answers each modal window as it opens, in order.
class Answers
{
public:
    Answers()
    {
        m_timer.setInterval(10);
        QObject::connect(&m_timer, &QTimer::timeout, [this] {
            QWidget* modal = QApplication::activeModalWidget();
            if (m_answers.empty() || !modal || modal == m_last || !modal->isVisible())
                return;
            m_last = modal;
            const auto answer = m_answers.front();
            m_answers.pop_front();
            answer(qobject_cast<QMessageBox*>(modal));
        });
        m_timer.start();
    }
    void then(std::function<void(QMessageBox*)> answer) { m_answers.push_back(std::move(answer)); }

private:
    std::deque<std::function<void(QMessageBox*)>> m_answers;
    QTimer m_timer;
    QPointer<QWidget> m_last; // a new box may take the place of a closed one
};

// The button of a message box with this caption, or its details button for an empty one.
QAbstractButton* Button(QMessageBox* box, const QString& caption)
{
    for (QAbstractButton* button : box->buttons()) {
        const bool details =
            box->buttonRole(button) == QMessageBox::ActionRole && !button->text().contains(u'&');
        if (caption.isEmpty() ? details : button->text() == caption)
            return button;
    }
    return nullptr;
}

// A message box with its details open when it has some; then presses the button with
// the caption, or else the standard one. Clears saved when the picture was not written.
std::function<void(QMessageBox*)> SaveAndPress(bool& saved, const QString& path,
                                               QMessageBox::StandardButton standard,
                                               const QString& caption = QString())
{
    return [&saved, path, standard, caption](QMessageBox* box) {
        if (!box) {
            saved = false;
            return;
        }
        if (QAbstractButton* details = Button(box, QString())) {
            details->click();
            QApplication::processEvents();
        }
        saved = Save(*box, path) && saved;
        if (QAbstractButton* press =
                caption.isEmpty() ? box->button(standard) : Button(box, caption))
            press->click();
        else
            box->close();
    };
}

// Two runs of 3,000 folders: one stopped half-way, then one over the same names in which
// some fail, taken back with a file put into one of its folders.
bool SaveRun(kovaldi::MainWindow& window, const QString& outputFolder)
{
    bool saved = true;
    QTemporaryDir target;
    QFile(target.filePath(QStringLiteral("写真_0007"))).open(QIODevice::WriteOnly);
    const QStringList inputs{target.path(),       QStringLiteral("写真_"), QString(),
                             QStringLiteral("1"), QStringLiteral("3000"),  QStringLiteral("4")};
    const QString names[] = {"txtPath", "txtHeader", "txtFooter", "txtMin", "txtMax", "txtBeam"};
    for (int i = 0; i < 6; ++i)
        window.findChild<QLineEdit*>(names[i])->setText(inputs[i]);
    auto* make = window.findChild<QPushButton*>(QStringLiteral("cmdMake"));
    ShotFileSystem fileSystem;
    window.setFileSystem(&fileSystem);
    const QString folder = outputFolder + u'/';

    Answers answers;
    answers.then(
        SaveAndPress(saved, folder + QStringLiteral("run-confirmation.png"), QMessageBox::Yes));
    fileSystem.midRun = [&] {
        // What the screen shows: the status line and the bar as last drawn.
        saved = Save(window.screen()->grabWindow(window.winId()),
                     folder + QStringLiteral("run-making.png")) &&
                saved;
        make->click();
    };
    answers.then(SaveAndPress(saved, folder + QStringLiteral("run-stopped.png"), QMessageBox::Ok));
    make->click();

    fileSystem.restart();
    answers.then([](QMessageBox* box) { box->button(QMessageBox::Yes)->click(); });
    answers.then([&](QMessageBox* box) {
        QFile(target.filePath(QStringLiteral("写真_2900/memo.txt"))).open(QIODevice::WriteOnly);
        SaveAndPress(saved, folder + QStringLiteral("run-failures.png"), QMessageBox::Ok,
                     QStringLiteral("元に戻す(&U)"))(box);
    });
    answers.then(
        SaveAndPress(saved, folder + QStringLiteral("run-undo-question.png"), QMessageBox::Yes));
    answers.then(
        SaveAndPress(saved, folder + QStringLiteral("run-undo-report.png"), QMessageBox::Ok));
    make->click();
    window.setFileSystem(nullptr);
    return saved;
}

// A dark colour scheme: light text on dark grey, as desktops hand it to Qt.
QPalette DarkPalette()
{
    QPalette palette;
    const QColor text(0xe8, 0xe8, 0xe8);
    palette.setColor(QPalette::Window, QColor(0x2b, 0x2b, 0x2b));
    palette.setColor(QPalette::WindowText, text);
    palette.setColor(QPalette::Base, QColor(0x1e, 0x1e, 0x1e));
    palette.setColor(QPalette::AlternateBase, QColor(0x35, 0x35, 0x35));
    palette.setColor(QPalette::Text, text);
    palette.setColor(QPalette::Button, QColor(0x3a, 0x3a, 0x3a));
    palette.setColor(QPalette::ButtonText, text);
    palette.setColor(QPalette::ToolTipBase, QColor(0x3a, 0x3a, 0x3a));
    palette.setColor(QPalette::ToolTipText, text);
    palette.setColor(QPalette::Highlight, QColor(0x3d, 0x8e, 0xe6));
    palette.setColor(QPalette::HighlightedText, Qt::white);
    palette.setColor(QPalette::Light, QColor(0x50, 0x50, 0x50));
    palette.setColor(QPalette::Midlight, QColor(0x45, 0x45, 0x45));
    palette.setColor(QPalette::Mid, QColor(0x30, 0x30, 0x30));
    palette.setColor(QPalette::Dark, QColor(0x20, 0x20, 0x20));
    palette.setColor(QPalette::Shadow, Qt::black);
    for (const QPalette::ColorRole role :
         {QPalette::WindowText, QPalette::Text, QPalette::ButtonText})
        palette.setColor(QPalette::Disabled, role, QColor(0x80, 0x80, 0x80));
    return palette;
}

} // namespace

int main(int argc, char* argv[])
{
    // Settings and the runs' journal stay out of the user's own.
    QTemporaryDir configHome;
    qputenv("XDG_CONFIG_HOME", QFile::encodeName(configHome.path()));
    qputenv("XDG_STATE_HOME", QFile::encodeName(configHome.path()));
    // Help needs no display.
    for (int i = 1; i < argc; ++i)
        if (qstrcmp(argv[i], "--help") == 0 || qstrcmp(argv[i], "-h") == 0 ||
            qstrcmp(argv[i], "--help-all") == 0)
            qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication application(argc, argv);
    QApplication::setFont(kovaldi::JapaneseGothicFont(9));
    kovaldi::InstallQtTranslations(application);
    QCommandLineParser parser;
    parser.setApplicationDescription(QStringLiteral(
        "Renders Kovaldi's windows to PNG files (run with QT_QPA_PLATFORM=offscreen)."));
    parser.addHelpOption();
    const QCommandLineOption exampleOption(
        QStringLiteral("example"), QStringLiteral("The main window with a typical run's inputs."));
    const QCommandLineOption runOption(
        QStringLiteral("run"), QStringLiteral("A run's messages and the window while it runs."));
    const QCommandLineOption darkOption(QStringLiteral("dark"),
                                        QStringLiteral("On a dark palette."));
    parser.addOptions({exampleOption, runOption, darkOption});
    parser.addPositionalArgument(QStringLiteral("folder"),
                                 QStringLiteral("Where the pictures go (default: here)."));
    parser.process(application); // --help prints and ends; an unknown option ends with 1
    if (parser.positionalArguments().size() > 1)
        parser.showHelp(64);
    const bool example = parser.isSet(exampleOption);
    const bool run = parser.isSet(runOption);
    if (parser.isSet(darkOption))
        QApplication::setPalette(DarkPalette());
    const QString outputFolder = parser.positionalArguments().value(0, QDir::currentPath());
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
    if (run)
        return SaveRun(window, outputFolder) ? 0 : 1;
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
    // The mail link reached with Tab.
    about.Form_MouseMove();
    if (QWidget* mail = about.findChild<QWidget*>(QStringLiteral("Label3")))
        mail->setFocus(Qt::TabFocusReason);
    QApplication::processEvents();
    if (!Save(about, outputFolder + QStringLiteral("/aboutwindow-focus.png")))
        return 1;
    about.close();

    // The list dialog with its lines checked: one there already, a repeat, a bad one.
    QTemporaryDir target;
    QDir(target.path()).mkdir(QStringLiteral("03_納品"));
    kovaldi::LocalFileSystem fileSystem;
    kovaldi::ListDialog list(
        QStringLiteral("01_企画\n02_デザイン/ラフ\n02_デザイン/清書\n  03_納品\n\n01_企画\n"
                       "04_請求/../領収\n05_保管"),
        {}, fileSystem, target.path() + QLatin1Char('/'), &window);
    list.show();
    while (!list.Checked())
        QApplication::processEvents(QEventLoop::WaitForMoreEvents);
    QApplication::processEvents();
    return Save(list, outputFolder + QStringLiteral("/listdialog.png")) ? 0 : 1;
}
