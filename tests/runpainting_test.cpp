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
#include <QPushButton>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>
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
        if (statuses.size() == aboutAt) // as if Alt+V came in the pump after this folder
            QTimer::singleShot(0, m_window.Command1, &QPushButton::click);
        return LocalFileSystem::CreateFolder(path);
    }
    bool eventFilter(QObject* watched, QEvent* event) override
    {
        if (event->type() == QEvent::Paint) {
            ++paints;
            if (watched == m_window.lblStatus)
                paintedStatus = m_window.lblStatus->text();
            else
                paintedValue = m_window.pbStatus->value();
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

    // A modal window opened mid-run stands over the status line and the bar as they are
    // at that moment, not as the last paced frame left them.
    void aModalWindowOpensOverTheCurrentFrame()
    {
        kovaldi::SettingsStore settings;
        MainWindow window(settings);
        window.Form_Load();
        window.show();
        QVERIFY(QTest::qWaitForWindowExposed(&window));
        QTemporaryDir target;
        window.txtPath->setText(target.path());
        window.txtMax->setText(QStringLiteral("3000"));
        Watcher fileSystem(window);
        fileSystem.aboutAt = 1500;
        window.setFileSystem(&fileSystem);
        window.lblStatus->installEventFilter(&fileSystem);
        window.pbStatus->installEventFilter(&fileSystem);

        kovaldi::test::ModalDriver driver;
        QStringList shown;
        driver.expectMessage(QMessageBox::Yes);
        driver.expect([&](QWidget* about) {
            shown << fileSystem.paintedStatus << window.lblStatus->text()
                  << QString::number(fileSystem.paintedValue)
                  << QString::number(window.pbStatus->value());
            about->close();
        });
        driver.expectMessage(QMessageBox::Ok);
        window.cmdMake_Click();
        window.setFileSystem(nullptr);
        QCOMPARE(driver.failures(), QStringList());
        QCOMPARE(shown.size(), 4);
        QCOMPARE(shown[0], shown[1]); // the status line drawn is the one set
        QCOMPARE(shown[2], shown[3]); // and so is the bar
    }
};

QTEST_MAIN(RunPaintingTest)
#include "runpainting_test.moc"
