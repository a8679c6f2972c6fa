// The Make button through the real main window: real message boxes answered by the modal
// driver, real folders in a temporary folder, the real settings file. A close request in
// the middle of a run ends the process, so that case runs in a child process: this
// executable started again with --child=<case>.
#include "mainwindow/autosizelabel.h"
#include "mainwindow/mainwindow.h"
#include "mainwindow/runwindowadapter.h"
#include "mainwindow/updown.h"
#include "modaldriver.h"
#include "platform/localfilesystem.h"
#include "settings/settingsstore.h"
#include "testenv.h"

#include <QAbstractButton>
#include <QApplication>
#include <QDir>
#include <QGroupBox>
#include <QLineEdit>
#include <QProcess>
#include <QProgressBar>
#include <QPushButton>
#include <QScopeGuard>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>
#include <cstdio>
#include <memory>

using kovaldi::MainWindow;
using kovaldi::test::ModalDriver;

namespace {

const QString kApp = QStringLiteral("Kovaldi");
const QString kSection = QStringLiteral("Config");
const QString kAsk =
    QStringLiteral("question|フォルダ作成の一括処理を行います。|Kovaldi|Yes,No|Yes");

void SetInputs(MainWindow& window, const QString& target, const QString& header,
               const QString& footer, const QString& min, const QString& max, const QString& beam)
{
    window.txtPath->setText(target);
    window.txtHeader->setText(header);
    window.txtFooter->setText(footer);
    window.txtMin->setText(min);
    window.txtMax->setText(max);
    window.txtBeam->setText(beam);
}

// The sixteen controls that the lock switches, besides the progress bar and status line.
QList<QWidget*> Lockable(MainWindow& window)
{
    QList<QWidget*> controls{window.cmdMake, window.cmdEnd,    window.cmdBrowse, window.FrameMain,
                             window.txtPath, window.txtHeader, window.txtFooter, window.txtMin,
                             window.txtMax,  window.txtBeam,   window.udBeam,    window.lblPath};
    for (QWidget* label : window.lblETC)
        controls << label;
    controls << window.lblTest;
    return controls;
}

QString Locked(MainWindow& window)
{
    for (QWidget* control : Lockable(window))
        if (control->isEnabled())
            return control->objectName() + " is enabled";
    if (!window.Command1->isEnabled())
        return QStringLiteral("Command1 is disabled");
    if (!window.pbStatus->isVisible())
        return QStringLiteral("the progress bar is hidden");
    return {};
}

QString Unlocked(MainWindow& window)
{
    for (QWidget* control : Lockable(window))
        if (!control->isEnabled())
            return control->objectName() + " is disabled";
    if (!window.Command1->isEnabled())
        return QStringLiteral("Command1 is disabled");
    if (!window.pbStatus->isHidden())
        return QStringLiteral("the progress bar is visible");
    if (window.pbStatus->value() != 0)
        return QStringLiteral("the progress bar is at %1").arg(window.pbStatus->value());
    if (!window.lblStatus->text().isEmpty())
        return QStringLiteral("the status line reads ") + window.lblStatus->text();
    return {};
}

// Records what a message box shows and presses the button; never leaves a box open.
QString Answer(QWidget* modal, QMessageBox::StandardButton press)
{
    auto* box = qobject_cast<QMessageBox*>(modal);
    if (!box) {
        modal->close();
        return QStringLiteral("not a message box");
    }
    const QString seen = ModalDriver::Describe(box);
    if (QAbstractButton* button = box->button(press))
        button->click();
    else
        box->done(0);
    return seen;
}

QStringList Entries(const QString& path)
{
    return QDir(path).entryList(QDir::AllEntries | QDir::NoDotAndDotDot, QDir::Name);
}

// Creates folders as the machine does and asks the window to close after a given number.
class ClosingFileSystem : public kovaldi::LocalFileSystem
{
public:
    ClosingFileSystem(MainWindow& window, int after) : m_window(window), m_after(after) {}
    bool CreateFolder(const QString& path) override
    {
        if (++m_count == m_after)
            QTimer::singleShot(0, &m_window, [this] { m_window.close(); });
        return LocalFileSystem::CreateFolder(path);
    }

private:
    MainWindow& m_window;
    int m_after;
    int m_count = 0;
};

int RunChild(const QByteArray& which, int argc, char* argv[])
{
    QApplication application(argc, argv);
    if (which != "close-mid-run" || argc < 3)
        return 5;
    kovaldi::SettingsStore settings;
    MainWindow window(settings);
    window.Form_Load();
    window.show();
    window.activateWindow();
    if (!QTest::qWaitForWindowActive(&window))
        return 4;
    SetInputs(window, QString::fromLocal8Bit(argv[2]), "f", "", "1", "2000", "4");
    ClosingFileSystem fileSystem(window, 50);
    window.setFileSystem(&fileSystem);
    ModalDriver driver;
    driver.expectMessage(QMessageBox::Yes);
    driver.expectMessage(QMessageBox::Ok, 60000);
    window.cmdMake->click();
    std::puts("still running");
    for (const QString& message : driver.messages())
        std::puts(message.toUtf8().constData());
    return 3;
}

} // namespace

class MakeRunTest : public QObject
{
    Q_OBJECT
private:
    kovaldi::SettingsStore m_store;
    std::unique_ptr<MainWindow> m_window;
    std::unique_ptr<QTemporaryDir> m_dir;

    MainWindow& ShownWindow()
    {
        m_window = std::make_unique<MainWindow>(m_store);
        m_window->Form_Load();
        m_window->show();
        m_window->activateWindow();
        if (!QTest::qWaitForWindowActive(m_window.get()))
            qWarning("window did not become active");
        return *m_window;
    }
    QString Stored(const QString& key) const
    {
        return m_store.GetSetting(kApp, kSection, key, QStringLiteral("<none>"));
    }

private slots:
    void initTestCase() { kovaldi::test::UseTemporaryConfigHome(); }
    void init()
    {
        kovaldi::test::ClearSettings();
        m_dir = std::make_unique<QTemporaryDir>();
        QVERIFY(m_dir->isValid());
    }
    void cleanup()
    {
        m_window.reset();
        m_dir.reset();
        QCOMPARE(QApplication::topLevelWidgets().size(), 0);
    }

    void lockAndUnlock()
    {
        MainWindow& window = ShownWindow();
        kovaldi::RunWindowAdapter adapter(window);
        window.lblStatus->setText("left over");
        bool pumped = false;
        QTimer::singleShot(0, [&pumped] { pumped = true; });
        adapter.LockInputs();
        QVERIFY(pumped); // the new state is drawn before the run goes on
        QCOMPARE(Locked(window), QString());
        QCOMPARE(window.pbStatus->value(), 0);
        QCOMPARE(window.pbStatus->maximum(), 100);
        QCOMPARE(window.lblStatus->text(), QString());
        // A locked box takes no typing; the version button still takes a click.
        const QString header = window.txtHeader->text();
        QTest::keyClicks(window.txtHeader, "typed");
        QCOMPARE(window.txtHeader->text(), header);

        adapter.SetStatus("img001 作成中・・・");
        adapter.SetProgress(49.6f);
        QCOMPARE(window.pbStatus->value(), 50);
        pumped = false;
        QTimer::singleShot(0, [&pumped] { pumped = true; });
        adapter.UnlockInputs();
        QVERIFY(pumped);
        QCOMPARE(Unlocked(window), QString());
        QCOMPARE(window.pbStatus->maximum(), 100);
    }

    void confirmedRun()
    {
        MainWindow& window = ShownWindow();
        const QString target = m_dir->path();
        SetInputs(window, target, "img", "_a", "1", "3", "3");
        window.cmdMake->setFocus();
        QCOMPARE(QApplication::focusWidget(), window.cmdMake);

        ModalDriver driver;
        QString beforeConfirmation;
        QString atOutcome;
        QStringList foldersAtOutcome;
        bool storedAtOutcome = true;
        QWidget* parentAtOutcome = nullptr;
        QStringList seen;
        driver.expect([&](QWidget* modal) {
            beforeConfirmation = Unlocked(window);
            seen << Answer(modal, QMessageBox::Yes);
        });
        driver.expect([&](QWidget* modal) {
            // The outcome shows while the window is still locked, the bar full and the
            // status line on the last folder.
            atOutcome = Locked(window);
            if (window.pbStatus->value() != 100)
                atOutcome += " bar at " + QString::number(window.pbStatus->value());
            if (window.lblStatus->text() != "img003_a 作成中・・・")
                atOutcome += " status " + window.lblStatus->text();
            foldersAtOutcome = Entries(target);
            storedAtOutcome = QFile::exists(kovaldi::test::SettingsFilePath());
            parentAtOutcome = modal->parentWidget();
            seen << Answer(modal, QMessageBox::Ok);
        });
        window.cmdMake->click();

        QCOMPARE(driver.failures(), QStringList());
        QCOMPARE(driver.pending(), 0);
        QCOMPARE(seen, QStringList({kAsk, "information|完了！|Kovaldi|Ok|"}));
        QCOMPARE(parentAtOutcome, &window);
        QCOMPARE(beforeConfirmation, QString());
        QCOMPARE(atOutcome, QString());
        QCOMPARE(foldersAtOutcome, QStringList({"img001_a", "img002_a", "img003_a"}));
        QVERIFY(!storedAtOutcome);
        QCOMPARE(Unlocked(window), QString());
        QCOMPARE(window.focusWidget(), window.cmdMake); // the keyboard is back
        QCOMPARE(Stored("LastPath"), target);
        QCOMPARE(Stored("Header"), "img");
        QCOMPARE(Stored("Footer"), "_a");
        QCOMPARE(Stored("Min"), "1");
        QCOMPARE(Stored("Max"), "3");
        QCOMPARE(Stored("Beam"), "3");
    }

    void outcomes_data()
    {
        QTest::addColumn<QStringList>("existing");
        QTest::addColumn<QString>("message");
        QTest::addColumn<QStringList>("after");

        QTest::newRow("negative numbers, all made")
            << QStringList{} << "information|完了！|Kovaldi|Ok|"
            << QStringList{"n-01", "n-02", "n00", "n01"};
        QTest::newRow("some exist")
            << QStringList{"n-01", "n01"}
            << "information|完了！（一部作成できなかったフォルダがあります）|"
               "Kovaldi|Ok|"
            << QStringList{"n-01", "n-02", "n00", "n01"};
        QTest::newRow("all exist") << QStringList{"n-01", "n-02", "n00", "n01"}
                                   << "error|フォルダの作成に失敗しました。|Kovaldi|Ok|"
                                   << QStringList{"n-01", "n-02", "n00", "n01"};
    }
    void outcomes()
    {
        QFETCH(QStringList, existing);
        QFETCH(QString, message);
        QFETCH(QStringList, after);
        for (const QString& name : existing)
            QVERIFY(QDir(m_dir->path()).mkdir(name));
        MainWindow& window = ShownWindow();
        SetInputs(window, m_dir->path() + "\\", "n", "", "-2", "1", "2");
        ModalDriver driver;
        driver.expectMessage(QMessageBox::Yes);
        driver.expectMessage(QMessageBox::Ok);
        window.cmdMake->click();
        QCOMPARE(driver.failures(), QStringList());
        QCOMPARE(driver.messages(), QStringList({kAsk, message}));
        QCOMPARE(Entries(m_dir->path()), after);
        QCOMPARE(Unlocked(window), QString());
        QCOMPARE(Stored("LastPath"), m_dir->path() + "\\"); // as typed
    }

    void nothingHappensUnlessConfirmed_data()
    {
        QTest::addColumn<QString>("target");
        QTest::addColumn<QString>("min");
        QTest::addColumn<QString>("max");
        QTest::addColumn<QString>("message");

        QTest::newRow("empty target") << ""
                                      << "1"
                                      << "3"
                                      << "warning|パスを入力してください。|Kovaldi|Ok|";
        QTest::newRow("min above max")
            << "@"
            << "6"
            << "5"
            << "warning|最小値は最大値より小さい値にしてください。|Kovaldi|Ok|";
        QTest::newRow("missing target") << "@/missing"
                                        << "1"
                                        << "3"
                                        << "warning|指定したパスが見つかりません。|Kovaldi|Ok|";
        QTest::newRow("target is a file") << "@/file"
                                          << "1"
                                          << "3"
                                          << "warning|指定したパスが見つかりません。|Kovaldi|Ok|";
        QTest::newRow("declined") << "@"
                                  << "1"
                                  << "3" << kAsk;
    }
    void nothingHappensUnlessConfirmed()
    {
        QFETCH(QString, target);
        QFETCH(QString, min);
        QFETCH(QString, max);
        QFETCH(QString, message);
        QFile file(m_dir->filePath("file"));
        QVERIFY(file.open(QIODevice::WriteOnly));
        file.close();
        MainWindow& window = ShownWindow();
        SetInputs(window, target.replace("@", m_dir->path()), "x", "", min, max, "1");

        ModalDriver driver;
        QString stateAtMessage;
        QString seen;
        driver.expect([&](QWidget* modal) {
            stateAtMessage = Unlocked(window);
            seen = Answer(modal, message == kAsk ? QMessageBox::No : QMessageBox::Ok);
        });
        window.cmdMake->click();
        QCOMPARE(driver.failures(), QStringList());
        QCOMPARE(driver.pending(), 0);
        QCOMPARE(seen, message);
        QCOMPARE(stateAtMessage, QString());
        QCOMPARE(Unlocked(window), QString());
        QCOMPARE(Entries(m_dir->path()), QStringList{"file"});
        QVERIFY(!QFile::exists(kovaldi::test::SettingsFilePath()));
        QVERIFY(!QApplication::activeModalWidget());
    }

    void unwritableSettingsStillEndTheRun()
    {
        // A folder where the settings file belongs: every write fails.
        QVERIFY(QDir().mkpath(kovaldi::test::SettingsFilePath()));
        auto restore = qScopeGuard([] { kovaldi::test::ClearSettings(); });
        MainWindow& window = ShownWindow();
        SetInputs(window, m_dir->path(), "s", "", "1", "2", "1");
        ModalDriver driver;
        driver.expectMessage(QMessageBox::Yes);
        driver.expectMessage(QMessageBox::Ok);
        window.cmdMake->click();
        QCOMPARE(driver.failures(), QStringList());
        QCOMPARE(driver.messages(), QStringList({kAsk, "information|完了！|Kovaldi|Ok|"}));
        QCOMPARE(Unlocked(window), QString());
        QCOMPARE(Entries(m_dir->path()), QStringList({"s1", "s2"}));
        QVERIFY(QFileInfo(kovaldi::test::SettingsFilePath()).isDir());
    }

    void closeRequestMidRunEndsTheProcess()
    {
        QProcess child;
        child.start(QCoreApplication::applicationFilePath(),
                    {"--child=close-mid-run", m_dir->path()});
        QVERIFY(child.waitForFinished(120000));
        const QByteArray output = child.readAllStandardOutput();
        QCOMPARE(child.exitStatus(), QProcess::NormalExit);
        QCOMPARE(child.exitCode(), 0);
        QVERIFY2(!output.contains("still running"), output.constData());

        // The folders made so far stay, in order from the first; no more followed.
        const QStringList made = Entries(m_dir->path());
        QVERIFY2(made.size() >= 50 && made.size() < 2000, qPrintable(made.join(' ')));
        for (int i = 0; i < made.size(); ++i)
            QCOMPARE(made[i], QStringLiteral("f%1").arg(i + 1, 4, 10, QLatin1Char('0')));
        QVERIFY(!QFile::exists(kovaldi::test::SettingsFilePath()));
    }
};

int main(int argc, char* argv[])
{
    if (argc > 1 && QByteArray(argv[1]).startsWith("--child="))
        return RunChild(QByteArray(argv[1]).mid(8), argc, argv);
    QApplication application(argc, argv);
    MakeRunTest test;
    return QTest::qExec(&test, argc, argv);
}

#include "makerun_test.moc"
