// While a run makes its folders, the status line and the progress bar carry the exact text
// and value of every step, but they are drawn at display-frame pace, not once per folder.
#include "files/localfilesystem.h"
#include "mainwindow/mainwindow.h"
#include "modaldriver.h"
#include "settings/settingsstore.h"
#include "testenv.h"
#include "widgets/autosizelabel.h"

#include <QDir>
#include <QElapsedTimer>
#include <QLineEdit>
#include <QProgressBar>
#include <QTemporaryDir>
#include <QTest>
#include <cmath>

using kovaldi::MainWindow;

namespace {

// Makes folders for real, notes what the window showed at the moment of each creation and
// counts the paints of the widgets it watches.
class Watcher : public QObject, public kovaldi::LocalFileSystem
{
public:
    explicit Watcher(MainWindow& window) : m_window(window) {}

    bool CreateFolder(const QString& path) override
    {
        statuses << m_window.lblStatus->text();
        values << m_window.pbStatus->value();
        return LocalFileSystem::CreateFolder(path);
    }
    bool eventFilter(QObject* watched, QEvent* event) override
    {
        paints += event->type() == QEvent::Paint;
        return QObject::eventFilter(watched, event);
    }

    QStringList statuses;
    QList<int> values;
    int paints = 0;

private:
    MainWindow& m_window;
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
        window.Form_Load();
        window.show();
        QVERIFY(QTest::qWaitForWindowExposed(&window));

        QTemporaryDir target;
        constexpr int kFolders = 3000;
        window.txtPath->setText(target.path());
        window.txtHeader->setText(QStringLiteral("p"));
        window.txtFooter->setText(QString());
        window.txtMin->setText(QStringLiteral("1"));
        window.txtMax->setText(QString::number(kFolders));
        window.txtBeam->setText(QStringLiteral("4"));

        Watcher fileSystem(window);
        window.setFileSystem(&fileSystem);
        window.lblStatus->installEventFilter(&fileSystem);
        window.pbStatus->installEventFilter(&fileSystem);

        kovaldi::test::ModalDriver driver;
        driver.expectMessage(QMessageBox::Yes);
        driver.expectMessage(QMessageBox::Ok);
        QElapsedTimer clock;
        clock.start();
        window.cmdMake_Click();
        const qint64 elapsedMs = clock.elapsed();
        window.setFileSystem(nullptr);
        QCOMPARE(driver.failures(), QStringList());
        QCOMPARE(driver.messages().value(1), QStringLiteral("information|完了！|Kovaldi|Ok|"));

        QCOMPARE(fileSystem.statuses.size(), kFolders);
        for (int j = 0; j < kFolders; ++j) {
            const QString name = QStringLiteral("p%1").arg(j + 1, 4, 10, QLatin1Char('0'));
            QCOMPARE(fileSystem.statuses[j], name + QStringLiteral(" 作成中・・・"));
            // The bar shows the share of the folders before this one.
            const int expected = j == 0 ? 0 : int(std::lround((j - 1) * 100.0 / (kFolders - 1)));
            QCOMPARE(fileSystem.values[j], expected);
        }
        QCOMPARE(QDir(target.path()).entryList(QDir::Dirs | QDir::NoDotAndDotDot).size(), kFolders);

        // At most one paint of each per display frame (16 ms), with room for the paints of
        // the lock, the unlock and the outcome; far fewer than two per folder.
        qInfo("%d folders in %lld ms: %d paints of the status line and the bar", kFolders,
              elapsedMs, fileSystem.paints);
        QVERIFY2(
            fileSystem.paints <= 20 + 2 * (elapsedMs / 16 + 1),
            qPrintable(QStringLiteral("%1 paints in %2 ms").arg(fileSystem.paints).arg(elapsedMs)));
    }
};

QTEST_MAIN(RunPaintingTest)
#include "runpainting_test.moc"
