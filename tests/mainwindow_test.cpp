#include "desktop/appearance.h"
#include "mainwindow/mainwindow.h"
#include "modaldriver.h"
#include "process/programfolder.h"
#include "settings/settingsstore.h"
#include "testenv.h"
#include "widgets/autosizelabel.h"
#include "widgets/updown.h"
#include "windowfixture.h"

#include <QApplication>
#include <QDir>
#include <QGroupBox>
#include <QKeyEvent>
#include <QLineEdit>
#include <QMessageBox>
#include <QProgressBar>
#include <QPushButton>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QTest>

using kovaldi::MainWindow;
using kovaldi::test::MainWindowControls;

class MainWindowTest : public QObject
{
    Q_OBJECT
private:
    kovaldi::SettingsStore m_store;
    kovaldi::test::MainWindowFixture m_windows;

    void Store(const QStringList& values) // in the order of the boxes
    {
        for (int i = 0; i < values.size(); ++i)
            QVERIFY(
                m_store.SaveSetting("Kovaldi", "Config", kovaldi::kStoredInputs[i].key, values[i]));
    }

private slots:
    void initTestCase() { kovaldi::test::UseTemporaryConfigHome(); }
    void init() { kovaldi::test::ClearSettings(); }
    void cleanup()
    {
        m_windows.reset();
        QCOMPARE(QApplication::topLevelWidgets().size(), 0);
    }

    void controlsAsCreated_data()
    {
        QTest::addColumn<QString>("parentName");
        QTest::addColumn<QString>("text");
        QTest::addColumn<QRect>("geometry"); // width 0: auto-sized, only the corner counts
        QTest::addColumn<QString>("accessibleName");
        const auto row = [](const char* name, const char* parent, const char* text, QRect rect,
                            const char* accessible = "") {
            QTest::newRow(name) << parent << text << rect << accessible;
        };
        const char* window = "frmMain";
        const char* frame = "FrameMain";
        row("Command1", window, "ﾊﾞｰｼﾞｮﾝ情報(&V)", {328, 8, 97, 17});
        row("FrameMain", window, "指定パスの配下に、連番のフォルダを一括作成します",
            {8, 8, 433, 169});
        row("lblStatus", window, "lblStatus", {8, 184, 0, 0});
        row("pbStatus", window, "0%", {8, 200, 323, 17}, // at 0 of 100, the text not shown
            "進捗");
        row("cmdEnd", window, "終了(&X)", {344, 192, 89, 25});
        row("lblPath", frame, "該当フォルダ", {16, 24, 0, 0});
        row("txtPath", frame, "txtPath", {16, 40, 337, 18}, "該当フォルダ");
        row("cmdBrowse", frame, "参照(&B)", {360, 40, 65, 17});
        row("lblETC(0)", frame, "ヘッダ", {16, 72, 0, 0});
        row("txtHeader", frame, "txtHeader", {56, 72, 105, 18}, "ヘッダ");
        row("lblETC(2)", frame, "最小値", {184, 72, 0, 0});
        row("txtMin", frame, "txtMin", {224, 72, 73, 18}, "最小値");
        row("lblETC(4)", frame, "桁数", {328, 72, 0, 0});
        row("txtBeam", frame, "txtBeam", {360, 72, 41, 18}, "桁数");
        row("udBeam", frame, "", {400, 72, 16, 18}, "桁数");
        row("lblETC(1)", frame, "フッタ", {16, 96, 0, 0});
        row("txtFooter", frame, "txtFooter", {56, 96, 105, 18}, "フッタ");
        row("lblETC(3)", frame, "最大値", {184, 96, 0, 0});
        row("txtMax", frame, "txtMax", {224, 96, 73, 18}, "最大値");
        row("cmdMake", window, "作成(&M)", {336, 112, 97, 57}); // over the frame
        row("lblETC(5)", frame, "＜プレビュー＞ 作成されるフォルダ", {8, 128, 0, 0});
        row("lblTest", frame, "ssssssssssssssssssss", {16, 144, 303, 12}); // named by its text
    }
    void controlsAsCreated()
    {
        QFETCH(QRect, geometry);
        auto* control =
            m_windows.create(m_store).window.findChild<QWidget*>(QTest::currentDataTag());
        QVERIFY(control);
        QTEST(control->parentWidget()->objectName(), "parentName");
        QVERIFY(control->isEnabled() && !control->isHidden());
        if (geometry.width() == 0) {
            QCOMPARE(control->pos(), geometry.topLeft());
            QVERIFY(control->height() >= 11 && control->height() <= 16);
        } else {
            QCOMPARE(control->geometry(), geometry);
        }
        const char* text = qobject_cast<QGroupBox*>(control) ? "title" : "text";
        QTEST(control->property(text).toString(), "text");
        QTEST(control->accessibleName(), "accessibleName");
    }

    void windowAsCreated()
    {
        const MainWindowControls& ui = m_windows.create(m_store);
        const MainWindow& window = ui.window;
        QCOMPARE(window.windowTitle(), QStringLiteral("Form1"));
        QCOMPARE(window.size(), QSize(446, 223));
        QCOMPARE(window.minimumSize(), window.maximumSize());
        QVERIFY(!window.windowIcon().isNull());
        QVERIFY(!(window.windowFlags() & Qt::WindowMaximizeButtonHint));
        // The version button is drawn in front of the group box's border.
        const QObjectList children = window.children();
        QVERIFY(children.indexOf(ui.Command1) > children.indexOf(ui.FrameMain));
        QVERIFY(ui.Command1->geometry().intersects(ui.FrameMain->geometry()));
        // The auto-sized labels keep the design's 12 pixel line height.
        QCOMPARE(ui.lblETC[0]->font(), kovaldi::JapaneseGothicFont(9));
    }

    void storedValuesAreRestored_data()
    {
        QTest::addColumn<QString>("executableFolder");
        QTest::addColumn<QStringList>("stored");
        QTest::addColumn<QStringList>("expected");
        QTest::newRow("first start, empty store")
            << kovaldi::ExecutableFolder() << QStringList()
            << QStringList{
                   kovaldi::ProgramFolderFrom(kovaldi::ExecutableFolder()), "", "", "1", "10", "2"};
        const QStringList awkward{" ", "  画像,\"a\";#=@x\\ ", "_末尾", "-3", "120", "3"};
        QTest::newRow("awkward values; one blank is not empty") << "/opt" << awkward << awkward;
        // Which folder an empty stored path gives, and in what form: firststart_test.
        // A one-line box holds the stored text up to its first line break, and all of it
        // however long.
        QTest::newRow("line breaks in stored texts")
            << "/opt" << QStringList{"/a\nb", "h\r\ni", "\rf", "2\n3", "4", "5\r6"}
            << QStringList{"/a", "h", "", "2", "4", "5"};
        const QString longPath = "/" + QString(40000, u'p');
        QTest::newRow("a path past 32,767 characters")
            << "/opt" << QStringList{longPath} << QStringList{longPath, "", "", "1", "10", "2"};
    }
    void storedValuesAreRestored()
    {
        QFETCH(QString, executableFolder);
        QFETCH(QStringList, stored);
        Store(stored);
        const MainWindowControls& ui = m_windows.create(m_store);
        ui.window.setExecutableFolder(executableFolder);
        ui.window.Form_Load();
        QTEST(ui.boxTexts(), "expected");
        QCOMPARE(ui.lblStatus->text(), QString());
        QVERIFY(ui.pbStatus->isHidden());
        QCOMPARE(ui.window.windowTitle(), QStringLiteral("Kovaldi - Version 1.0.0"));
        QCOMPARE(QFile::exists(kovaldi::test::SettingsFilePath()), !stored.isEmpty());
    }

    void loadFillsEachChangedBoxInOrder()
    {
        // A stored text equal to the box's initial text changes nothing and runs nothing.
        QVERIFY(m_store.SaveSetting("Kovaldi", "Config", "Footer", "txtFooter"));
        const MainWindowControls& ui = m_windows.create(m_store);
        QStringList fills;
        for (QLineEdit* box : ui.boxes())
            connect(box, &QLineEdit::textChanged, this, [&fills, box, &ui] {
                fills << box->objectName() + (ui.window.isVisible() ? " while shown" : "");
            });
        // The first show loads the window before it appears; a later show loads nothing.
        ui.window.show();
        ui.window.hide();
        ui.window.show();
        // These observers run after the window's own handler, so a fill made inside a
        // handler is listed before the fill that caused it: the header's handling finds the
        // digit-count box still holding "txtBeam" and sets it to "1" first.
        QCOMPARE(fills, (QStringList{"txtPath", "txtBeam", "txtHeader", "txtMin", "txtMax",
                                     "txtBeam", "txtPath"})); // the last: the program folder
    }

    void tabOrderRunsDownTheColumns()
    {
        const MainWindowControls& ui = m_windows.show(m_store);
        QCOMPARE(QApplication::focusWidget(), ui.txtPath);
        for (const QWidget* next : std::initializer_list<QWidget*>{
                 ui.cmdBrowse, ui.txtHeader, ui.txtFooter, ui.txtMin, ui.txtMax, ui.txtBeam,
                 ui.udBeam, ui.cmdMake, ui.cmdEnd, ui.cmdOptions, ui.cmdList, ui.Command1,
                 ui.txtPath}) {
            QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
            QCOMPARE(QApplication::focusWidget(), next);
        }
    }

    void accessKeysPressEnabledButtons_data()
    {
        QTest::addColumn<QString>("button");
        QTest::addColumn<int>("key");
        QTest::newRow("Alt+M make") << "cmdMake" << int(Qt::Key_M);
        QTest::newRow("Alt+B browse") << "cmdBrowse" << int(Qt::Key_B);
        QTest::newRow("Alt+V version") << "Command1" << int(Qt::Key_V);
        QTest::newRow("Alt+X exit") << "cmdEnd" << int(Qt::Key_X);
    }
    void accessKeysPressEnabledButtons()
    {
        QFETCH(QString, button);
        QFETCH(int, key);
        const MainWindowControls& ui = m_windows.show(m_store);
        auto* target = ui.window.findChild<QPushButton*>(button);
        // Only the key's mapping is tested here; the handlers have tests of their own.
        disconnect(target, &QPushButton::clicked, &ui.window, nullptr);
        QSignalSpy clicks(target, &QPushButton::clicked);
        // A button pressed by its access key shows itself pressed briefly, then clicks.
        QTest::keyClick(ui.txtHeader, Qt::Key(key), Qt::AltModifier);
        QTRY_COMPARE(clicks.size(), 1);
        target->setEnabled(false);
        QTest::keyClick(ui.txtHeader, Qt::Key(key), Qt::AltModifier);
        QTest::qWait(300);
        QCOMPARE(clicks.size(), 1);
    }

    void enterInABoxPressesMake_data()
    {
        QTest::addColumn<QString>("control");
        QTest::addColumn<int>("key");
        QTest::addColumn<int>("modifiers");
        QTest::addColumn<bool>("autoRepeat");
        QTest::addColumn<int>("clicks");
        for (const char* box : {"txtPath", "txtHeader", "txtFooter", "txtMin", "txtMax", "txtBeam"})
            QTest::newRow(box) << box << int(Qt::Key_Return) << 0 << false << 1;
        QTest::newRow("keypad Enter")
            << "txtMin" << int(Qt::Key_Enter) << int(Qt::KeypadModifier) << false << 1;
        QTest::newRow("a held key's repeats")
            << "txtHeader" << int(Qt::Key_Return) << 0 << true << 0;
        QTest::newRow("Shift+Enter")
            << "txtHeader" << int(Qt::Key_Return) << int(Qt::ShiftModifier) << false << 0;
        QTest::newRow("on the spinner") << "udBeam" << int(Qt::Key_Return) << 0 << false << 0;
    }
    void enterInABoxPressesMake()
    {
        QFETCH(QString, control);
        QFETCH(int, key);
        QFETCH(int, modifiers);
        QFETCH(bool, autoRepeat);
        const MainWindowControls& ui = m_windows.show(m_store);
        auto* target = ui.window.findChild<QWidget*>(control);
        disconnect(ui.cmdMake, &QPushButton::clicked, &ui.window, nullptr);
        QSignalSpy clicks(ui.cmdMake, &QPushButton::clicked);
        const QStringList texts = ui.boxTexts();
        target->setFocus();
        QKeyEvent press(QEvent::KeyPress, key, Qt::KeyboardModifiers(modifiers), QString(),
                        autoRepeat);
        QApplication::sendEvent(target, &press);
        QTEST(int(clicks.size()), "clicks");
        QCOMPARE(ui.boxTexts(), texts);
    }

    // The whole run from the keyboard: each message box takes the Enter meant for it, and the
    // focus comes back to the box, where the key's release starts nothing more.
    void enterRunsMakeWithItsQuestion()
    {
        QTemporaryDir target;
        const MainWindowControls& ui = m_windows.show(m_store);
        ui.setBoxTexts({QDir::toNativeSeparators(target.path()), "n", "", "1", "2", "0"});
        ui.txtMax->setFocus();
        kovaldi::test::ModalDriver driver;
        const auto pressEnter = [](QWidget* modal) {
            QWidget* focus = modal->focusWidget() ? modal->focusWidget() : modal;
            QTest::keyPress(focus, Qt::Key_Return);
        };
        driver.expect(pressEnter);
        driver.expect(pressEnter);
        QTest::keyPress(ui.txtMax, Qt::Key_Return);
        QCOMPARE(driver.failures(), QStringList());
        QCOMPARE(QDir(target.path()).entryList(QDir::Dirs | QDir::NoDotAndDotDot),
                 (QStringList{"n1", "n2"}));
        QCOMPARE(ui.window.focusWidget(), ui.txtMax);
        driver.expect([](QWidget* modal) { modal->close(); }, 300);
        QTest::keyRelease(ui.txtMax, Qt::Key_Return);
        QTRY_COMPARE(driver.pending(), 0);
        QCOMPARE(driver.failures(), QStringList{"no modal window appeared in time"});
    }

    void spinnerStepsTheDigitCount_data()
    {
        QTest::addColumn<int>("start");
        QTest::addColumn<QString>("how");
        QTest::addColumn<int>("expected");
        const auto row = [](const char* name, int start, const char* how, int expected) {
            QTest::newRow(name) << start << QString(how) << expected;
        };
        row("up from 3", 3, "up-arrow", 4);
        row("down from 3", 3, "down-arrow", 2);
        row("up key from 9", 9, "up-key", 10);
        row("down key from 1", 1, "down-key", 0);
        row("no step above 10", 10, "up-arrow", 10);
        row("no step below 0", 0, "down-key", 0);
        row("above the range steps down from 10", 50, "down-arrow", 9);
        row("above the range cannot go up", 50, "up-arrow", 50);
        row("below the range steps up from 0", -5, "up-arrow", 1);
        row("below the range cannot go down", -5, "down-key", -5);
        row("disabled", 3, "disabled up-arrow", 3);
        row("Up in the digit box from 3", 3, "box up-key", 4);
        row("Down in the digit box from 1", 1, "box down-key", 0);
        row("Up in the digit box at 10", 10, "box up-key", 10);
        row("Down in the digit box above the range", 50, "box down-key", 9);
    }
    void spinnerStepsTheDigitCount()
    {
        QFETCH(int, start);
        QFETCH(QString, how);
        QFETCH(int, expected);
        const MainWindowControls& ui = m_windows.show(m_store);
        ui.txtBeam->setText(QString::number(start));
        QSignalSpy changes(ui.txtBeam, &QLineEdit::textChanged);
        kovaldi::UpDown* spinner = ui.udBeam;
        spinner->setEnabled(!how.startsWith("disabled"));
        if (how.endsWith("up-arrow"))
            QTest::mouseClick(spinner, Qt::LeftButton, {}, QPoint(8, 3));
        else if (how == "down-arrow")
            QTest::mouseClick(spinner, Qt::LeftButton, {}, QPoint(8, spinner->height() - 3));
        else {
            QWidget* focus = how.startsWith("box") ? static_cast<QWidget*>(ui.txtBeam) : spinner;
            focus->setFocus();
            QTest::keyClick(focus, how.endsWith("up-key") ? Qt::Key_Up : Qt::Key_Down);
        }
        QCOMPARE(ui.txtBeam->text(), QString::number(expected));
        QCOMPARE(changes.size(), expected == start ? 0 : 1);
    }

    // An arrow held down repeats only while the spinner has the mouse: whatever takes it
    // away ends the repeat, though the release never reaches the spinner.
    void spinnerRepeatEndsWhenTheMouseIsTaken_data()
    {
        QTest::addColumn<QString>("how");
        for (const char* how : {"Alt+M: the run's question", "Alt+V: the About window",
                                "focus to another box", "another window activated"})
            QTest::newRow(how) << QString(how);
    }
    void spinnerRepeatEndsWhenTheMouseIsTaken()
    {
        QFETCH(QString, how);
        const MainWindowControls& ui = m_windows.show(m_store);
        ui.txtBeam->setText("3");
        QTest::mousePress(ui.udBeam, Qt::LeftButton, {}, QPoint(8, 3)); // one step: 4
        QCOMPARE(ui.txtBeam->text(), QStringLiteral("4"));
        constexpr int kHeldMs = 1500; // well past the repeat's delay and several of its steps
        QString whileOpen = "4";
        QWidget other;
        if (how.startsWith("Alt+")) {
            kovaldi::test::ModalDriver driver;
            driver.expect([&](QWidget* modal) {
                QTest::qWait(kHeldMs);
                whileOpen = ui.txtBeam->text();
                auto* box = qobject_cast<QMessageBox*>(modal);
                if (box && box->button(QMessageBox::No))
                    box->button(QMessageBox::No)->click();
                else
                    modal->close();
            });
            QTest::keyClick(ui.udBeam, how[4].toLatin1() == 'M' ? Qt::Key_M : Qt::Key_V,
                            Qt::AltModifier);
            QTRY_VERIFY_WITH_TIMEOUT(driver.pending() == 0 && !QApplication::activeModalWidget(),
                                     20000);
            QCOMPARE(driver.failures(), QStringList());
        } else if (how.startsWith("focus")) {
            ui.txtHeader->setFocus();
        } else {
            other.show();
            other.activateWindow();
            QVERIFY(QTest::qWaitForWindowActive(&other));
        }
        QTest::qWait(kHeldMs);
        QTest::mouseRelease(ui.udBeam, Qt::LeftButton, {}, QPoint(8, 3));
        QCOMPARE(whileOpen, QStringLiteral("4"));
        QCOMPARE(ui.txtBeam->text(), QStringLiteral("4"));
    }
};

QTEST_MAIN(MainWindowTest)
#include "mainwindow_test.moc"
