// Stopping a run through the real window: the Make button reads "中止(&M)" while folders
// are made, and it, Alt+M or Escape stop the run after the folder being made. Each press
// comes from inside the run (queued after a given folder, so the run's own pump delivers
// it), on real folders, with the real settings file. Each creation outlasts the interval
// at which the run lets window events in, so a press is seen right after its folder.
#include "mainwindow/mainwindow.h"
#include "mainwindow/runwindowadapter.h"
#include "modaldriver.h"
#include "scriptedfilesystem.h"
#include "settings/settingsstore.h"
#include "testenv.h"
#include "widgets/autosizelabel.h"
#include "windowfixture.h"

#include <QApplication>
#include <QDir>
#include <QKeyEvent>
#include <QLineEdit>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTest>
#include <QThread>

using kovaldi::test::MainWindowControls;
using kovaldi::test::ModalDriver;

namespace {

void Press(const MainWindowControls& ui, const QString& press, int presses)
{
    // Keys go to the focused Stop button (or the window for Escape and Alt+M); "held": a
    // repeat of a key held down since before.
    const bool held = press.startsWith("held ");
    const QString key = held ? press.mid(5) : press;
    const Qt::Key code = key == "Enter"   ? Qt::Key_Return
                         : key == "Alt+M" ? Qt::Key_M
                                          : Qt::Key_Escape;
    const Qt::KeyboardModifiers modifiers = key == "Alt+M" ? Qt::AltModifier : Qt::NoModifier;
    QWidget* focused = ui.window.focusWidget();
    for (int i = 0; i < presses; ++i) {
        if (press == "button") {
            ui.cmdMake->click();
        } else if (held) {
            QKeyEvent repeat(QEvent::KeyPress, code, modifiers, QString(), true);
            QApplication::sendEvent(focused, &repeat);
        } else {
            QTest::keyClick(key == "Enter" ? focused : &ui.window, code, modifiers);
        }
    }
}

} // namespace

class StopRunTest : public QObject
{
    Q_OBJECT
private:
    kovaldi::SettingsStore m_store;
    kovaldi::test::MainWindowFixture m_windows;

private slots:
    void initTestCase() { kovaldi::test::UseTemporaryConfigHome(); }
    void init() { kovaldi::test::ClearSettings(); }
    void cleanup()
    {
        m_windows.reset();
        QCOMPARE(QApplication::topLevelWidgets().size(), 0);
    }

    void stop_data()
    {
        QTest::addColumn<QString>("press");
        QTest::addColumn<int>("presses");
        QTest::addColumn<int>("after"); // the folder after which the press comes
        QTest::addColumn<QString>("outcome");
        QTest::addColumn<QString>("counts");
        QTest::addColumn<int>("made");
        const QString stopped = QStringLiteral("information|中止しました。|Kovaldi|Ok|Ok");
        QTest::newRow("Make button")
            << "button" << 1 << 3 << stopped << "作成: 3 個\n残り: 7 個" << 3;
        QTest::newRow("Alt+M") << "Alt+M" << 1 << 3 << stopped << "作成: 3 個\n残り: 7 個" << 3;
        QTest::newRow("Escape") << "Escape" << 1 << 3 << stopped << "作成: 3 個\n残り: 7 個" << 3;
        QTest::newRow("pressed twice: one stop")
            << "button" << 2 << 3 << stopped << "作成: 3 個\n残り: 7 個" << 3;
        QTest::newRow("after the first folder")
            << "Escape" << 1 << 1 << stopped << "作成: 1 個\n残り: 9 個" << 1;
        QTest::newRow("during the last folder: nothing left to stop")
            << "button" << 1 << 10 << "information|完了！|Kovaldi|Ok|Ok"
            << "作成: 10 個" << 10;
        // At the key press: the access key's delayed click would let many more folders go.
        QTest::newRow("Enter on the focused Stop")
            << "Enter" << 1 << 3 << stopped << "作成: 3 個\n残り: 7 個" << 3;
        const QString done = QStringLiteral("information|完了！|Kovaldi|Ok|Ok");
        QTest::newRow("held Enter: no stop")
            << "held Enter" << 3 << 3 << done << "作成: 10 個" << 10;
        QTest::newRow("held Escape: no stop")
            << "held Escape" << 3 << 3 << done << "作成: 10 個" << 10;
        QTest::newRow("held Alt+M: no stop")
            << "held Alt+M" << 3 << 3 << done << "作成: 10 個" << 10;
    }
    void stop()
    {
        QFETCH(QString, press);
        QFETCH(int, presses);
        QFETCH(int, after);
        QFETCH(QString, outcome);
        QFETCH(QString, counts);
        QFETCH(int, made);
        QTemporaryDir dir;
        const auto& ui = m_windows.show(m_store);
        const QStringList inputs{dir.path(), "s", "", "1", "10", "2"};
        ui.setBoxTexts(inputs);
        ui.cmdMake->setFocus();

        QString midRun;
        kovaldi::test::ScriptedFileSystem fileSystem;
        fileSystem.create = [](const QString&) {
            QThread::msleep(kovaldi::RunWindowAdapter::kPumpMs + 1);
            return std::optional<kovaldi::CreateResult>();
        };
        fileSystem.afterCreate = [&](int tried) {
            if (tried == 1) { // while folders are made: only Make, as the stop button
                midRun = ui.lockMismatch(true, ui.cmdMake) + ui.cmdMake->text() +
                         (ui.cmdMake->isEnabled() ? " enabled" : " disabled") +
                         (ui.window.focusWidget() == ui.cmdMake ? ", focused" : "");
                // The window system gives the window back its activity when the question
                // closes; the offscreen one does not.
                ui.window.activateWindow();
                QVERIFY(QTest::qWaitForWindowActive(&ui.window));
            }
            if (tried == after)
                QMetaObject::invokeMethod(
                    ui.cmdMake, [&] { Press(ui, press, presses); }, Qt::QueuedConnection);
        };
        ui.window.setFileSystem(&fileSystem);

        ModalDriver driver;
        QString underOutcome;
        driver.expectMessage(QMessageBox::Yes);
        driver.expectMessage(QMessageBox::Ok, [&](QMessageBox*) {
            underOutcome = ui.lockMismatch(true) + ui.cmdMake->text();
        });
        ui.cmdMake->click();
        QCOMPARE(driver.failures(), QStringList());
        QCOMPARE(midRun, "中止(&M) enabled, focused");
        QCOMPARE(underOutcome, "作成(&M)"); // locked as the design has it, Make too
        QCOMPARE(driver.messages(), (QStringList{"question|フォルダ作成の一括処理を行います。|"
                                                 "Kovaldi|Yes,No|Yes",
                                                 outcome}));
        QCOMPARE(driver.shown().value(1).informative, counts);

        QStringList names;
        for (int i = 1; i <= made; ++i)
            names << QStringLiteral("s%1").arg(i, 2, 10, QLatin1Char('0'));
        QCOMPARE(QDir(dir.path()).entryList(QDir::Dirs | QDir::NoDotAndDotDot, QDir::Name), names);
        // Unlocked, Make back as it was, the keyboard where it was, the inputs stored.
        QCOMPARE(ui.lockMismatch(false), QString());
        QCOMPARE(ui.cmdMake->text(), "作成(&M)");
        QCOMPARE(ui.window.focusWidget(), ui.cmdMake);
        QCOMPARE(kovaldi::LoadInputs(m_store), inputs);
        // Escape and Make outside a run stop nothing: the next run goes through.
        driver.expectMessage(QMessageBox::No);
        QTest::keyClick(&ui.window, Qt::Key_Escape);
        ui.cmdMake->click();
        QCOMPARE(driver.failures(), QStringList());
        QCOMPARE(driver.messages().size(), 3);
    }

    // Folders that suddenly take longer than the pump's interval: an event posted at the
    // change is handled within a folder or two, however many fast ones came before.
    void eventsKeepUpWhenFoldersSlowDown()
    {
        QTemporaryDir dir;
        const auto& ui = m_windows.show(m_store);
        ui.setBoxTexts({dir.path(), "s", "", "1", "6000", "4"});
        constexpr int kFast = 5000;
        int tried = 0;
        int postedAt = -1;
        int handledAt = -1;
        kovaldi::test::ScriptedFileSystem fileSystem;
        fileSystem.create = [&](const QString&) {
            if (++tried > kFast)
                QThread::msleep(kovaldi::RunWindowAdapter::kPumpMs + 2);
            if (tried == kFast + 1) {
                postedAt = tried;
                QMetaObject::invokeMethod(
                    ui.cmdMake,
                    [&] {
                        handledAt = tried;
                        ui.cmdMake->click(); // stops the run
                    },
                    Qt::QueuedConnection);
            }
            return std::optional<kovaldi::CreateResult>(kovaldi::CreateResult{true, {}, {}});
        };
        ui.window.setFileSystem(&fileSystem);
        ModalDriver driver;
        driver.expectMessage(QMessageBox::Yes);
        driver.expectMessage(QMessageBox::Ok);
        ui.cmdMake->click();
        QCOMPARE(driver.failures(), QStringList());
        QVERIFY(postedAt > 0 && handledAt > 0);
        QVERIFY2(handledAt - postedAt <= 2, qPrintable(QString::number(handledAt - postedAt)));
    }
};

QTEST_MAIN(StopRunTest)
#include "stoprun_test.moc"
