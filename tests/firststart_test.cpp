// The target box on a first start, and the folder that relative targets and the home
// shorthand lead to in the run and the picker, through the real main window: real folders,
// a home folder of the test's own, real message boxes answered by the modal driver.
#include "mainwindow/mainwindow.h"
#include "modaldriver.h"
#include "paths/targetdefaults.h"
#include "picker/folderchooser.h"
#include "settings/settingsstore.h"
#include "testenv.h"

#include <QApplication>
#include <QDir>
#include <QDirIterator>
#include <QLineEdit>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTest>

using kovaldi::MainWindow;

namespace {

class FakeChooser : public kovaldi::FolderChooser
{
public:
    QStringList asked; // box text as handed over, current directory
    QString chooseFolder(QWidget*, const QString& initialPath) override
    {
        asked << initialPath << QDir::currentPath();
        return {};
    }
};

QString Canonical(const QString& path)
{
    return QFileInfo(path).canonicalFilePath();
}

} // namespace

class FirstStartTest : public QObject
{
    Q_OBJECT
private:
    QTemporaryDir m_root; // holds home, program, program-file, read-only and elsewhere
    QString m_home;
    QString m_startDirectory;
    kovaldi::SettingsStore m_store;

    // A program folder of the given kind: one the user can create folders in, or one that
    // takes none, for root too (a file in the folder's place, /proc) or for others only.
    QString ProgramFolder(const QString& kind) const
    {
        if (kind.startsWith('/'))
            return kind;
        return QDir::toNativeSeparators(m_root.filePath(kind));
    }
    void SetHome(const QString& kind)
    {
        const QString home = kind == "home"         ? m_home
                             : kind.startsWith('/') ? kind
                                                    : m_root.filePath(kind);
        qputenv("HOME", QFile::encodeName(home));
    }

private slots:
    void initTestCase()
    {
        kovaldi::test::UseTemporaryConfigHome();
        QVERIFY(m_root.isValid());
        m_home = m_root.filePath("home");
        for (const char* folder : {"program", "read-only", "elsewhere"})
            QVERIFY(QDir(m_root.path()).mkdir(folder));
        QFile file(m_root.filePath("program-file"));
        QVERIFY(file.open(QIODevice::WriteOnly));
        QVERIFY(QFile::setPermissions(m_root.filePath("read-only"),
                                      QFile::ReadOwner | QFile::ExeOwner));
        m_startDirectory = QDir::currentPath();
        qputenv("HOME", QFile::encodeName(m_home));
        if (QDir::homePath() != m_home)
            QSKIP("the home folder cannot be moved for a test on this platform");
    }
    void cleanupTestCase()
    {
        QFile::setPermissions(m_root.filePath("read-only"),
                              QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
    }
    void init()
    {
        kovaldi::test::ClearSettings();
        QDir(m_home).removeRecursively();
        QVERIFY(QDir().mkpath(m_home + "/sub"));
        SetHome("home");
        // Neither the program's folder nor home, so that a move to either shows.
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
        QTest::addColumn<QString>("home");
        QTest::addColumn<QString>("stored");
        QTest::addColumn<QString>("box");       // "program", "home" or the text itself
        QTest::addColumn<QString>("directory"); // the current directory after the load

        const auto row = [](const char* name, const char* program, const char* home,
                            const char* stored, const char* box, const char* directory) {
            QTest::newRow(name) << program << home << stored << box << directory;
        };
        row("portable copy: its own folder, directory untouched", "program", "home", "", "program",
            "elsewhere");
        row("portable copy named with a trailing separator", "program/", "home", "", "program",
            "elsewhere");
        row("a file in the folder's place: home", "program-file", "home", "", "home", "home");
        row("read-only folder: home", "read-only", "home", "", "home", "home");
#if defined(Q_OS_LINUX)
        row("system folder (/proc): home", "/proc", "home", "", "home", "home");
        row("home takes no folders: the program's folder", "program-file", "/proc", "", "program",
            "elsewhere");
#endif
        row("home missing: the program's folder", "program-file", "missing", "", "program",
            "elsewhere");
        row("stored relative target stays, taken from home", "program-file", "home", "sub", "sub",
            "home");
        row("stored home shorthand stays as typed", "program-file", "home", "~/sub", "~/sub",
            "home");
    }
    void firstStart()
    {
        QFETCH(QString, program);
        QFETCH(QString, home);
        QFETCH(QString, stored);
        QFETCH(QString, box);
        QFETCH(QString, directory);
        if (program == "read-only" && kovaldi::CanCreateFoldersIn(ProgramFolder(program)))
            QSKIP("permissions do not stop this user (root): the other rows stand in");
        SetHome(home);
        if (!stored.isEmpty())
            QVERIFY(m_store.SaveSetting("Kovaldi", "Config", "LastPath", stored));
        MainWindow window(m_store);
        window.setExecutableFolder(ProgramFolder(program));
        window.Form_Load();
        QString programBox = ProgramFolder(program);
        if (program.endsWith('/'))
            programBox.chop(1);
        const QString expectedBox = box == "program" ? programBox
                                    : box == "home"  ? QDir::toNativeSeparators(m_home)
                                                     : box;
        QCOMPARE(window.txtPath->text(), expectedBox);
        QCOMPARE(QDir::currentPath(),
                 Canonical(directory == "home" ? m_home : m_root.filePath(directory)));
    }

    // With the program's folder out of reach, a relative target and the home shorthand both
    // lead into the home folder; the stored target is the text as typed.
    void runFromHome_data()
    {
        QTest::addColumn<QString>("target");
        QTest::addColumn<QStringList>("homeAfter"); // everything under home after the run
        QTest::addColumn<QString>("message");
        const QString done = QStringLiteral("information|完了！|Kovaldi|Ok|");
        QTest::newRow("relative text") << "sub" << QStringList{"sub", "sub/n1", "sub/n2"} << done;
        QTest::newRow("home shorthand with a path")
            << "~/sub" << QStringList{"sub", "sub/n1", "sub/n2"} << done;
        QTest::newRow("home shorthand alone") << "~" << QStringList{"n1", "n2", "sub"} << done;
        QTest::newRow("another user's home is a name")
            << "~nobody/sub" << QStringList{"sub"}
            << "warning|指定したパスが見つかりません。|Kovaldi|Ok|";
    }
    void runFromHome()
    {
        QFETCH(QString, target);
        QFETCH(QString, message);
        MainWindow window(m_store);
        window.setExecutableFolder(ProgramFolder("program-file"));
        window.Form_Load();
        window.show();
        QVERIFY(QTest::qWaitForWindowExposed(&window));
        const QStringList inputs{target, "n", "", "1", "2", "0"};
        const QList<QLineEdit*> boxes{window.txtPath, window.txtHeader, window.txtFooter,
                                      window.txtMin,  window.txtMax,    window.txtBeam};
        for (int i = 0; i < boxes.size(); ++i)
            boxes[i]->setText(inputs[i]);

        kovaldi::test::ModalDriver driver;
        const bool confirmed = message.startsWith("information");
        driver.expectMessage(confirmed ? QMessageBox::Yes : QMessageBox::Ok);
        if (confirmed)
            driver.expectMessage(QMessageBox::Ok);
        window.cmdMake->click();
        QCOMPARE(driver.failures(), QStringList());
        QCOMPARE(driver.pending(), 0);
        QStringList messages{message};
        if (confirmed)
            messages.prepend("question|フォルダ作成の一括処理を行います。|Kovaldi|Yes,No|Yes");
        QCOMPARE(driver.messages(), messages);

        QStringList homeAfter;
        QDirIterator it(m_home, QDir::AllEntries | QDir::NoDotAndDotDot,
                        QDirIterator::Subdirectories);
        while (it.hasNext())
            homeAfter << QDir(m_home).relativeFilePath(it.next());
        homeAfter.sort();
        QTEST(homeAfter, "homeAfter");
        QCOMPARE(m_store.GetSetting("Kovaldi", "Config", "LastPath", "<none>"),
                 confirmed ? target : QStringLiteral("<none>"));
    }

    void browseStartsFromTheSameFolder_data()
    {
        QTest::addColumn<QString>("program");
        QTest::addColumn<QString>("text");
        QTest::addColumn<QString>("handedOver"); // "~" stands for home here
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
                                                      << "~/sub"
                                                      << "program";
        QTest::newRow("another user's home is handed over as typed") << "program-file"
                                                                     << "~nobody"
                                                                     << "=~nobody"
                                                                     << "home";
    }
    void browseStartsFromTheSameFolder()
    {
        QFETCH(QString, program);
        QFETCH(QString, text);
        QFETCH(QString, handedOver);
        QFETCH(QString, directory);
        MainWindow window(m_store);
        window.setExecutableFolder(ProgramFolder(program));
        window.Form_Load();
        FakeChooser chooser;
        window.setFolderChooser(&chooser);
        window.txtPath->setText(text);
        window.cmdBrowse->click();
        const QString expectedText = handedOver.startsWith('=') ? handedOver.mid(1)
                                     : handedOver.startsWith('~')
                                         ? QDir::toNativeSeparators(m_home) + handedOver.mid(1)
                                         : handedOver;
        const QString expectedDirectory =
            Canonical(directory == "home" ? m_home : m_root.filePath(directory));
        QCOMPARE(chooser.asked, (QStringList{expectedText, expectedDirectory}));
        QCOMPARE(window.txtPath->text(), text); // cancelled
    }
};

QTEST_MAIN(FirstStartTest)
#include "firststart_test.moc"
