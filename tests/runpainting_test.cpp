// While a run makes its folders, the status line and the progress bar are drawn at
// display-frame pace, not once per folder, and every frame drawn shows the folder being
// made; a window event waits only a bounded number of folders for the run to let it in.
#include "files/localfilesystem.h"
#include "mainwindow/mainwindow.h"
#include "mainwindow/runwindowadapter.h"
#include "modaldriver.h"
#include "scriptedfilesystem.h"
#include "settings/settingsstore.h"
#include "testenv.h"
#include "widgets/autosizelabel.h"
#include "windowfixture.h"

#include <QDir>
#include <QElapsedTimer>
#include <QLineEdit>
#include <QProgressBar>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTest>
#include <QThread>
#include <QTimer>
#include <cmath>

using kovaldi::MainWindow;
using kovaldi::test::MainWindowControls;

namespace {

// Makes folders for real, counts them and the paints of the widgets it watches, and notes
// every paint of the status line or the bar that did not show the folder being made.
class Watcher : public QObject, public kovaldi::LocalFileSystem
{
public:
    Watcher(const MainWindowControls& ui, int folders) : m_ui(ui), m_folders(folders) {}

    kovaldi::CreateResult CreateFolder(const QString& path) override
    {
        if (++created == aboutAt) // as if Alt+V came in the pump after this folder
            QTimer::singleShot(0, m_ui.Command1, &QPushButton::click);
        return LocalFileSystem::CreateFolder(path);
    }
    // Each folder by its path, so that every creation is counted.
    std::unique_ptr<kovaldi::TargetFolder> OpenTarget(const QString& baseFolder) override
    {
        return FileSystem::OpenTarget(baseFolder);
    }
    bool eventFilter(QObject* watched, QEvent* event) override
    {
        if (event->type() == QEvent::Paint) {
            ++paints;
            if (watched == m_ui.lblStatus)
                paintedStatus = m_ui.lblStatus->text();
            else
                paintedValue = m_ui.pbStatus->value();
            if (created > 0 && !outcomeAnswered && !showsFolderBeingMade())
                wrongPaints << QStringLiteral("after %1 folders: \"%2\", %3")
                                   .arg(created)
                                   .arg(m_ui.lblStatus->text())
                                   .arg(m_ui.pbStatus->value());
        }
        return QObject::eventFilter(watched, event);
    }

    int created = 0;
    int paints = 0;
    int aboutAt = -1; // the folder after which the About window opens
    QString paintedStatus;
    int paintedValue = -1;
    QStringList wrongPaints;
    bool outcomeAnswered = false; // the unlock that follows draws no frame of the run

private:
    // Between the creation of one folder and that of the next, the status line names one
    // of the two, and the bar shows the share of the folders before the last one made.
    bool showsFolderBeingMade() const
    {
        const auto name = [](int number) {
            return QStringLiteral("p%1 作成中・・・").arg(number, 4, 10, QLatin1Char('0'));
        };
        const QString status = m_ui.lblStatus->text();
        const int value = int(std::lround((created - 1) * 100.0 / (m_folders - 1)));
        return (status == name(created) || (created < m_folders && status == name(created + 1))) &&
               m_ui.pbStatus->value() == value;
    }

    const MainWindowControls& m_ui;
    const int m_folders;
};

} // namespace

class RunPaintingTest : public QObject
{
    Q_OBJECT
private:
    kovaldi::SettingsStore m_store;
    kovaldi::test::MainWindowFixture m_windows;

private slots:
    void initTestCase() { kovaldi::test::UseTemporaryConfigHome(); }
    void cleanup() { m_windows.reset(); }

    void everyFrameShowsTheFolderBeingMadeAndPaintsFollowTheClock()
    {
        const MainWindowControls& ui = m_windows.show(m_store);
        MainWindow& window = ui.window;

        QTemporaryDir target;
        constexpr int kFolders = 3000;
        ui.setBoxTexts({target.path(), "p", "", "1", QString::number(kFolders), "4"});

        Watcher fileSystem(ui, kFolders);
        fileSystem.aboutAt = kFolders / 2;
        window.setFileSystem(&fileSystem);
        ui.lblStatus->installEventFilter(&fileSystem);
        ui.pbStatus->installEventFilter(&fileSystem);

        kovaldi::test::ModalDriver driver;
        QStringList underAbout; // painted and set, status line then bar
        driver.expectMessage(QMessageBox::Yes);
        driver.expect([&](QWidget* about) {
            underAbout << fileSystem.paintedStatus << ui.lblStatus->text()
                       << QString::number(fileSystem.paintedValue)
                       << QString::number(ui.pbStatus->value());
            about->close();
        });
        driver.expectMessage(QMessageBox::Ok,
                             [&fileSystem](QMessageBox*) { fileSystem.outcomeAnswered = true; });
        QElapsedTimer clock;
        clock.start();
        window.cmdMake_Click();
        const qint64 elapsedMs = clock.elapsed();
        window.setFileSystem(nullptr);
        QCOMPARE(driver.failures(), QStringList());
        QCOMPARE(driver.messages().value(1), QStringLiteral("information|完了！|Kovaldi|Ok|Ok"));
        // The About window, opened mid-run, stands over the status line and the bar as they
        // are at that moment, not as the last paced frame left them.
        QCOMPARE(underAbout.size(), 4);
        QCOMPARE(underAbout[0], underAbout[1]);
        QCOMPARE(underAbout[2], underAbout[3]);

        QCOMPARE(fileSystem.created, kFolders);
        QCOMPARE(fileSystem.wrongPaints.join(u'|'), QString());
        QCOMPARE(QDir(target.path()).entryList(QDir::Dirs | QDir::NoDotAndDotDot).size(), kFolders);

        // At most one paint of each per frame the run draws, with room for the paints of the
        // lock, the unlock and the outcome; far fewer than two per folder.
        qInfo("%d folders in %lld ms: %d paints of the status line and the bar", kFolders,
              elapsedMs, fileSystem.paints);
        const qint64 frames = elapsedMs / kovaldi::RunWindowAdapter::kFrameMs + 1;
        QVERIFY2(
            fileSystem.paints <= 20 + 2 * frames,
            qPrintable(QStringLiteral("%1 paints in %2 ms").arg(fileSystem.paints).arg(elapsedMs)));
    }

    // The run lets window events in at most kPumpMs after they came, and never after more
    // than kMostFoldersUnpumped folders: counted here from the folder during whose creation
    // an event was posted to the folder after which it was handled.
    void windowEventsWaitForABoundedNumberOfFolders_data()
    {
        QTest::addColumn<int>("folders");
        QTest::addColumn<int>("creationMs");
        QTest::addColumn<int>("mostFoldersBetween");
        QTest::newRow("creations that take no time")
            << 3 * kovaldi::RunWindowAdapter::kMostFoldersUnpumped << 0
            << kovaldi::RunWindowAdapter::kMostFoldersUnpumped;
        // Each creation outlasts the interval: the event is let in right after the folder.
        QTest::newRow("creations slower than the interval")
            << 40 << int(kovaldi::RunWindowAdapter::kPumpMs) + 1 << 0;
    }
    void windowEventsWaitForABoundedNumberOfFolders()
    {
        QFETCH(int, folders);
        QFETCH(int, creationMs);
        QFETCH(int, mostFoldersBetween);
        const MainWindowControls& ui = m_windows.show(m_store);
        MainWindow& window = ui.window;
        QTemporaryDir target;
        ui.setBoxTexts({target.path(), "e", "", "1", QString::number(folders), "5"});

        const int postedAt = folders / 3;
        int handledAt = -1;
        QObject receiver;
        kovaldi::test::ScriptedFileSystem fileSystem;
        fileSystem.create = [creationMs](const QString&) {
            QThread::msleep(unsigned(creationMs));
            return std::optional(kovaldi::CreateResult{true, {}, {}});
        };
        int made = 0;
        fileSystem.afterCreate = [&](int tried) {
            made = tried;
            if (tried == postedAt)
                QMetaObject::invokeMethod(
                    &receiver, [&] { handledAt = made; }, Qt::QueuedConnection);
        };
        window.setFileSystem(&fileSystem);
        kovaldi::test::ModalDriver driver;
        driver.expectMessage(QMessageBox::Yes);
        driver.expectMessage(QMessageBox::Ok, 60000);
        window.cmdMake_Click();
        window.setFileSystem(nullptr);
        QCOMPARE(driver.failures(), QStringList());
        QVERIFY(handledAt >= postedAt);
        QVERIFY2(handledAt - postedAt <= mostFoldersBetween,
                 qPrintable(QStringLiteral("handled %1 folders later").arg(handledAt - postedAt)));
    }
};

QTEST_MAIN(RunPaintingTest)
#include "runpainting_test.moc"
