// While a run makes its folders, the status line and the progress bar carry the exact text
// and value of every step, but they are drawn at display-frame pace, not once per folder.
#include "files/localfilesystem.h"
#include "mainwindow/mainwindow.h"
#include "mainwindow/runwindowadapter.h"
#include "modaldriver.h"
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
#include <QTimer>
#include <cmath>

using kovaldi::MainWindow;
using kovaldi::test::MainWindowControls;

namespace {

// Makes folders for real, notes what the window showed at the moment of each creation and
// counts the paints of the widgets it watches.
class Watcher : public QObject, public kovaldi::LocalFileSystem
{
public:
    explicit Watcher(const MainWindowControls& ui) : m_ui(ui) {}

    kovaldi::CreateResult CreateFolder(const QString& path) override
    {
        statuses << m_ui.lblStatus->text();
        values << m_ui.pbStatus->value();
        if (statuses.size() == aboutAt) // as if Alt+V came in the pump after this folder
            QTimer::singleShot(0, m_ui.Command1, &QPushButton::click);
        return LocalFileSystem::CreateFolder(path);
    }
    bool eventFilter(QObject* watched, QEvent* event) override
    {
        if (event->type() == QEvent::Paint) {
            ++paints;
            if (watched == m_ui.lblStatus)
                paintedStatus = m_ui.lblStatus->text();
            else
                paintedValue = m_ui.pbStatus->value();
        }
        return QObject::eventFilter(watched, event);
    }

    QStringList statuses;
    QList<int> values;
    int paints = 0;
    int aboutAt = -1; // the folder after which the About window opens
    QString paintedStatus;
    int paintedValue = -1;

private:
    const MainWindowControls& m_ui;
};

} // namespace

class RunPaintingTest : public QObject
{
    Q_OBJECT
private slots:
    void initTestCase() { kovaldi::test::UseTemporaryConfigHome(); }

    void everyStepShowsItsFolderButPaintsFollowTheClock()
    {
        kovaldi::SettingsStore settings;
        MainWindow window(settings);
        const MainWindowControls ui(window);
        window.show();
        QVERIFY(QTest::qWaitForWindowExposed(&window));

        QTemporaryDir target;
        constexpr int kFolders = 3000;
        ui.setBoxTexts({target.path(), "p", "", "1", QString::number(kFolders), "4"});

        Watcher fileSystem(ui);
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
        driver.expectMessage(QMessageBox::Ok);
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

        QCOMPARE(fileSystem.statuses.size(), kFolders);
        for (int j = 0; j < kFolders; ++j) {
            const QString name = QStringLiteral("p%1").arg(j + 1, 4, 10, QLatin1Char('0'));
            QCOMPARE(fileSystem.statuses[j], name + QStringLiteral(" 作成中・・・"));
            // The bar shows the share of the folders before this one.
            const int expected = j == 0 ? 0 : int(std::lround((j - 1) * 100.0 / (kFolders - 1)));
            QCOMPARE(fileSystem.values[j], expected);
        }
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
};

QTEST_MAIN(RunPaintingTest)
#include "runpainting_test.moc"
