// The target box on a first start, and the folder that relative targets and the home
// shorthand lead to in the run and in Browse, through the real main window: real folders,
// a home folder of the test's own, real message boxes answered by the modal driver. Which
// folders take folders, and the fallbacks: targetdefaults_test.
#include "mainwindow/mainwindow.h"
#include "modaldriver.h"
#include "paths/targetdefaults.h"
#include "picker/folderchooser.h"
#include "settings/settingsstore.h"
#include "testenv.h"
#include "windowfixture.h"

#include <QApplication>
#include <QDir>
#include <QDirIterator>
#include <QFileInfo>
#include <QLineEdit>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTest>
#include <chrono>
#include <filesystem>
#include <memory>

using kovaldi::MainWindow;

namespace {

class FakeChooser : public kovaldi::FolderChooser
{
public:
    QStringList asked; // text handed over, current directory
    QString chooseFolder(QWidget*, const QString& initialPath) override
    {
        asked << initialPath << QDir::currentPath();
        return {};
    }
};

} // namespace

class FirstStartTest : public QObject
{
    Q_OBJECT
private:
    // home, elsewhere (the directory each test starts in), a writable program folder, one
    // that takes no folders even for root (a file in its place) and a read-only one.
    QTemporaryDir m_root;
    QString m_startDirectory;
    kovaldi::SettingsStore m_store;

    QString Path(const QString& name) const
    {
        return QDir::toNativeSeparators(m_root.filePath(name));
    }
    QString Canonical(const QString& name) const
    {
        return QFileInfo(m_root.filePath(name)).canonicalFilePath();
    }
    // A loaded window whose program lives in the given folder of the root.
    std::unique_ptr<MainWindow> Loaded(const QString& program)
    {
        auto window = std::make_unique<MainWindow>(m_store);
        window->setExecutableFolder(Path(program));
        window->Form_Load();
        return window;
    }

private slots:
    void initTestCase()
    {
        kovaldi::test::UseTemporaryConfigHome();
        qputenv("HOME", QFile::encodeName(m_root.filePath("home")));
        if (QDir::homePath() != m_root.filePath("home"))
            QSKIP("the home folder cannot be moved for a test on this platform");
        m_startDirectory = QDir::currentPath();
        for (const char* folder : {"program", "read-only", "elsewhere"})
            QVERIFY(QDir(m_root.path()).mkdir(folder));
        QFile file(m_root.filePath("program-file"));
        QVERIFY(file.open(QIODevice::WriteOnly));
        QVERIFY(QFile::setPermissions(m_root.filePath("read-only"),
                                      QFile::ReadOwner | QFile::ExeOwner));
    }
    void cleanupTestCase()
    {
        QFile::setPermissions(m_root.filePath("read-only"),
                              QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
    }
    void init()
    {
        kovaldi::test::ClearSettings();
        QDir(m_root.filePath("home")).removeRecursively();
        QVERIFY(QDir(m_root.path()).mkpath("home/sub"));
        QVERIFY(QDir::setCurrent(m_root.filePath("elsewhere")));
    }
    void cleanup()
    {
        QDir::setCurrent(m_startDirectory);
        QCOMPARE(QApplication::topLevelWidgets().size(), 0);
    }

    void firstStart_data()
    {
        QTest::addColumn<QString>("program");
        QTest::addColumn<QString>("stored");
        QTest::addColumn<QString>("box");       // a folder of the root, or the stored text
        QTest::addColumn<QString>("directory"); // the current directory after the load
        QTest::newRow("portable copy: its own folder, directory untouched") << "program"
                                                                            << ""
                                                                            << "program"
                                                                            << "elsewhere";
        QTest::newRow("a file in the folder's place: home") << "program-file"
                                                            << ""
                                                            << "home"
                                                            << "home";
        QTest::newRow("read-only folder: home") << "read-only"
                                                << ""
                                                << "home"
                                                << "home";
        QTest::newRow("stored relative target stays, directory untouched until used")
            << "program-file"
            << "sub"
            << "=sub"
            << "elsewhere";
    }
    void firstStart()
    {
        QFETCH(QString, program);
        QFETCH(QString, stored);
        QFETCH(QString, box);
        QFETCH(QString, directory);
        if (program == "read-only" && kovaldi::CanCreateFoldersIn(Path(program)))
            QSKIP("permissions do not stop this user (root): the file row stands in");
        if (!stored.isEmpty())
            QVERIFY(m_store.SaveSetting("Kovaldi", "Config", "LastPath", stored));
        const auto window = Loaded(program);
        const kovaldi::test::MainWindowControls ui(*window);
        QCOMPARE(ui.txtPath->text(), box.startsWith('=') ? box.mid(1) : Path(box));
        QCOMPARE(QDir::currentPath(), Canonical(directory));
    }

    // The probe folder comes and goes in the program's folder only when an answer is
    // needed, and once: seen as a change of the folder's modification time.
    void probeOnlyWhenNeeded_data()
    {
        QTest::addColumn<QString>("stored");
        QTest::addColumn<QString>("steps");
        QTest::addColumn<QString>("probes"); // after each step: 1 the folder was touched
        QTest::newRow("empty box: the load") << ""
                                             << "load make browse"
                                             << "1 0 0";
        QTest::newRow("stored absolute target: never") << "@/missing"
                                                       << "load make browse"
                                                       << "0 0 0";
        QTest::newRow("stored relative target: the first Make") << "sub"
                                                                << "load make make browse"
                                                                << "0 1 0 0";
        QTest::newRow("stored relative target: Browse") << "sub"
                                                        << "load browse make"
                                                        << "0 1 0";
        QTest::newRow("home shorthand is absolute") << "~/sub"
                                                    << "load make browse"
                                                    << "0 0 0";
    }
    void probeOnlyWhenNeeded()
    {
        QFETCH(QString, stored);
        QFETCH(QString, steps);
        QFETCH(QString, probes);
        QVERIFY(m_store.SaveSetting("Kovaldi", "Config", "LastPath",
                                    stored.replace("@", m_root.path())));
        const std::filesystem::path program = QFile::encodeName(Path("program")).toStdString();
        const auto past = std::filesystem::file_time_type::clock::now() - std::chrono::hours(48);
        std::filesystem::last_write_time(program, past);
        auto window = std::make_unique<MainWindow>(m_store);
        window->setExecutableFolder(Path("program"));
        FakeChooser chooser;
        window->setFolderChooser(&chooser);
        const kovaldi::test::MainWindowControls ui(*window);
        QStringList touched;
        for (const QString& step : steps.split(' ')) {
            if (step == "load") {
                QVERIFY(kovaldi::test::ShowActive(*window));
            } else if (step == "browse") {
                ui.cmdBrowse->click();
            } else { // a warning or the confirmation, closed: nothing is made
                kovaldi::test::ModalDriver driver;
                driver.expect([](QWidget* modal) { modal->close(); });
                ui.cmdMake->click();
                QCOMPARE(driver.failures(), QStringList());
            }
            touched << (std::filesystem::last_write_time(program) == past ? "0" : "1");
            std::filesystem::last_write_time(program, past);
        }
        QCOMPARE(touched.join(' '), probes);
    }

    // With the program's folder out of reach, a relative target and the home shorthand both
    // lead into the home folder; the stored target is the text as typed.
    void runFromHome_data()
    {
        QTest::addColumn<QString>("target");
        QTest::addColumn<QStringList>("homeAfter"); // everything under home after the run
        const QStringList inSub{"sub", "sub/n1", "sub/n2"};
        QTest::newRow("relative text") << "sub" << inSub;
        QTest::newRow("home shorthand with a path") << "~/sub" << inSub;
        QTest::newRow("home shorthand alone") << "~" << QStringList{"n1", "n2", "sub"};
        QTest::newRow("another user's home is a name: not found")
            << "~nobody/sub" << QStringList{"sub"};
    }
    void runFromHome()
    {
        QFETCH(QString, target);
        QFETCH(QStringList, homeAfter);
        const auto window = Loaded("program-file");
        window->show();
        QVERIFY(QTest::qWaitForWindowExposed(window.get()));
        const kovaldi::test::MainWindowControls ui(*window);
        ui.setBoxTexts({target, "n", "", "1", "2", "0"});

        kovaldi::test::ModalDriver driver;
        const bool found = homeAfter.size() > 1;
        driver.expectMessage(found ? QMessageBox::Yes : QMessageBox::Ok);
        if (found)
            driver.expectMessage(QMessageBox::Ok);
        ui.cmdMake->click();
        QCOMPARE(driver.failures(), QStringList());
        QCOMPARE(driver.messages().last(),
                 found ? "information|完了！|Kovaldi|Ok|Ok"
                       : "warning|指定したパスが見つかりません。|Kovaldi|Ok|");
        QStringList madeUnderHome;
        QDirIterator it(m_root.filePath("home"), QDir::AllEntries | QDir::NoDotAndDotDot,
                        QDirIterator::Subdirectories);
        while (it.hasNext())
            madeUnderHome << QDir(m_root.filePath("home")).relativeFilePath(it.next());
        madeUnderHome.sort();
        QCOMPARE(madeUnderHome, homeAfter);
        QCOMPARE(m_store.GetSetting("Kovaldi", "Config", "LastPath", "<none>"),
                 found ? target : QStringLiteral("<none>"));
    }

    // Browse moves to the same folder that the load chose, and opens "~" in home.
    void browse_data()
    {
        QTest::addColumn<QString>("program");
        QTest::addColumn<QString>("text");
        QTest::addColumn<QString>("handedOver"); // with "@" for the root
        QTest::addColumn<QString>("directory");
        QTest::newRow("portable copy: the program's folder") << "program"
                                                             << "sub"
                                                             << "sub"
                                                             << "program";
        QTest::newRow("installed: home") << "program-file"
                                         << "sub"
                                         << "sub"
                                         << "home";
        QTest::newRow("home shorthand opens in home") << "program"
                                                      << "~/sub"
                                                      << "@/home/sub"
                                                      << "program";
    }
    void browse()
    {
        QFETCH(QString, program);
        QFETCH(QString, text);
        QFETCH(QString, handedOver);
        QFETCH(QString, directory);
        const auto window = Loaded(program);
        FakeChooser chooser;
        window->setFolderChooser(&chooser);
        const kovaldi::test::MainWindowControls ui(*window);
        ui.txtPath->setText(text);
        ui.cmdBrowse->click();
        QCOMPARE(chooser.asked,
                 (QStringList{QDir::toNativeSeparators(handedOver.replace("@", m_root.path())),
                              Canonical(directory)}));
    }
};

QTEST_MAIN(FirstStartTest)
#include "firststart_test.moc"
