#include "mainwindow/autosizelabel.h"
#include "mainwindow/mainwindow.h"
#include "mainwindow/updown.h"
#include "platform/programfolder.h"
#include "settings/settingsstore.h"
#include "testenv.h"

#include <QApplication>
#include <QFontInfo>
#include <QGroupBox>
#include <QLineEdit>
#include <QProgressBar>
#include <QPushButton>
#include <QSignalSpy>
#include <QTest>
#include <memory>

using kovaldi::MainWindow;

namespace {
const QString kApp = QStringLiteral("Kovaldi");
const QString kSection = QStringLiteral("Config");
} // namespace

class MainWindowTest : public QObject
{
    Q_OBJECT
private:
    kovaldi::SettingsStore m_store;
    std::unique_ptr<MainWindow> m_window;

    MainWindow& NewWindow()
    {
        m_window = std::make_unique<MainWindow>(m_store);
        return *m_window;
    }
    MainWindow& LoadedWindow()
    {
        NewWindow().Form_Load();
        return *m_window;
    }
    MainWindow& ShownWindow()
    {
        MainWindow& window = LoadedWindow();
        window.show();
        window.activateWindow();
        if (!QTest::qWaitForWindowActive(&window))
            qWarning("window did not become active");
        return window;
    }

private slots:
    void initTestCase() { kovaldi::test::UseTemporaryConfigHome(); }
    void init() { kovaldi::test::ClearSettings(); }
    void cleanup()
    {
        m_window.reset();
        QCOMPARE(QApplication::topLevelWidgets().size(), 0);
    }

    void controlsAsCreated_data()
    {
        QTest::addColumn<QString>("name");
        QTest::addColumn<QString>("parentName");
        QTest::addColumn<QString>("text");
        QTest::addColumn<QRect>("geometry"); // width 0: auto-sized, only the corner counts

        const QString window = QStringLiteral("frmMain");
        const QString frame = QStringLiteral("FrameMain");
        QTest::newRow("Command1") << "Command1" << window << "ﾊﾞｰｼﾞｮﾝ情報(&V)"
                                  << QRect(328, 8, 97, 17);
        QTest::newRow("FrameMain")
            << "FrameMain" << window << "指定パスの配下に、連番のフォルダを一括作成します"
            << QRect(8, 8, 433, 169);
        QTest::newRow("lblStatus") << "lblStatus" << window << "lblStatus" << QRect(8, 184, 0, 0);
        QTest::newRow("pbStatus") << "pbStatus" << window << QString() << QRect(8, 200, 323, 17);
        QTest::newRow("cmdEnd") << "cmdEnd" << window << "終了(&X)" << QRect(344, 192, 89, 25);
        QTest::newRow("lblPath") << "lblPath" << frame << "該当フォルダ" << QRect(16, 24, 0, 0);
        QTest::newRow("txtPath") << "txtPath" << frame << "txtPath" << QRect(16, 40, 337, 18);
        QTest::newRow("cmdBrowse") << "cmdBrowse" << frame << "参照(&B)" << QRect(360, 40, 65, 17);
        QTest::newRow("lblETC(0)") << "lblETC(0)" << frame << "ヘッダ" << QRect(16, 72, 0, 0);
        QTest::newRow("txtHeader") << "txtHeader" << frame << "txtHeader" << QRect(56, 72, 105, 18);
        QTest::newRow("lblETC(2)") << "lblETC(2)" << frame << "最小値" << QRect(184, 72, 0, 0);
        QTest::newRow("txtMin") << "txtMin" << frame << "txtMin" << QRect(224, 72, 73, 18);
        QTest::newRow("lblETC(4)") << "lblETC(4)" << frame << "桁数" << QRect(328, 72, 0, 0);
        QTest::newRow("txtBeam") << "txtBeam" << frame << "txtBeam" << QRect(360, 72, 41, 18);
        QTest::newRow("udBeam") << "udBeam" << frame << QString() << QRect(400, 72, 16, 18);
        QTest::newRow("lblETC(1)") << "lblETC(1)" << frame << "フッタ" << QRect(16, 96, 0, 0);
        QTest::newRow("txtFooter") << "txtFooter" << frame << "txtFooter" << QRect(56, 96, 105, 18);
        QTest::newRow("lblETC(3)") << "lblETC(3)" << frame << "最大値" << QRect(184, 96, 0, 0);
        QTest::newRow("txtMax") << "txtMax" << frame << "txtMax" << QRect(224, 96, 73, 18);
        QTest::newRow("cmdMake") << "cmdMake" << frame << "作成(&M)" << QRect(328, 104, 97, 57);
        QTest::newRow("lblETC(5)")
            << "lblETC(5)" << frame << "＜プレビュー＞ 作成されるフォルダ" << QRect(8, 128, 0, 0);
        QTest::newRow("lblTest") << "lblTest" << frame << "ssssssssssssssssssss"
                                 << QRect(16, 144, 303, 12);
    }
    void controlsAsCreated()
    {
        QFETCH(QString, name);
        QFETCH(QString, parentName);
        QFETCH(QString, text);
        QFETCH(QRect, geometry);
        MainWindow& window = NewWindow();
        auto* control = window.findChild<QWidget*>(name);
        QVERIFY(control);
        QCOMPARE(control->parentWidget()->objectName(), parentName);
        QVERIFY(control->isEnabled());
        QVERIFY(!control->isHidden());
        if (geometry.width() == 0) {
            QCOMPARE(control->pos(), geometry.topLeft());
            QVERIFY(control->height() >= 11 && control->height() <= 16);
        } else {
            QCOMPARE(control->geometry(), geometry);
        }
        if (auto* box = qobject_cast<QLineEdit*>(control))
            QCOMPARE(box->text(), text);
        else if (auto* button = qobject_cast<QPushButton*>(control))
            QCOMPARE(button->text(), text);
        else if (auto* label = qobject_cast<QLabel*>(control))
            QCOMPARE(label->text(), text);
        else if (auto* group = qobject_cast<QGroupBox*>(control))
            QCOMPARE(group->title(), text);
    }

    void windowAsCreated()
    {
        MainWindow& window = NewWindow();
        QCOMPARE(window.objectName(), QStringLiteral("frmMain"));
        QCOMPARE(window.windowTitle(), QStringLiteral("Form1"));
        QCOMPARE(window.size(), QSize(446, 223));
        QCOMPARE(window.minimumSize(), window.maximumSize());
        QVERIFY(!window.windowIcon().isNull());
        QVERIFY(!(window.windowFlags() & Qt::WindowMaximizeButtonHint));
        // The version button is drawn in front of the group box's border.
        const QObjectList children = window.children();
        QVERIFY(children.indexOf(window.Command1) > children.indexOf(window.FrameMain));
        QVERIFY(window.Command1->geometry().intersects(window.FrameMain->geometry()));
        // The auto-sized labels keep the design's 12 pixel line height.
        QCOMPARE(window.lblETC[0]->font().pixelSize(), 12);
        const QString family = QFontInfo(window.lblETC[0]->font()).family();
        QVERIFY2(family.contains(QStringLiteral("IPAPGothic")) ||
                     family.contains(QStringLiteral("Noto Sans CJK")) ||
                     family.contains(QStringLiteral("ＭＳ Ｐゴシック")),
                 qPrintable(family));
    }

    void inputsHaveAccessibleNames()
    {
        MainWindow& window = NewWindow();
        QCOMPARE(window.txtPath->accessibleName(), QStringLiteral("該当フォルダ"));
        QCOMPARE(window.txtHeader->accessibleName(), QStringLiteral("ヘッダ"));
        QCOMPARE(window.txtFooter->accessibleName(), QStringLiteral("フッタ"));
        QCOMPARE(window.txtMin->accessibleName(), QStringLiteral("最小値"));
        QCOMPARE(window.txtMax->accessibleName(), QStringLiteral("最大値"));
        QCOMPARE(window.txtBeam->accessibleName(), QStringLiteral("桁数"));
        QCOMPARE(window.udBeam->accessibleName(), QStringLiteral("桁数"));
    }

    void firstStartWithAnEmptyStore()
    {
        MainWindow& window = LoadedWindow();
        QCOMPARE(window.txtPath->text(), kovaldi::ProgramFolderFrom(kovaldi::ExecutableFolder()));
        QCOMPARE(window.txtHeader->text(), QString());
        QCOMPARE(window.txtFooter->text(), QString());
        QCOMPARE(window.txtMin->text(), QStringLiteral("1"));
        QCOMPARE(window.txtMax->text(), QStringLiteral("10"));
        QCOMPARE(window.txtBeam->text(), QStringLiteral("2"));
        QCOMPARE(window.lblStatus->text(), QString());
        QVERIFY(window.pbStatus->isHidden());
        QCOMPARE(window.windowTitle(), QStringLiteral("Kovaldi - Version 1.0.0"));
        QVERIFY(!QFile::exists(kovaldi::test::SettingsFilePath()));
    }

    void storedValuesAreRestored()
    {
        const QString values[][2] = {{"LastPath", " "},   {"Header", "  画像,\"a\";#=@x\\ "},
                                     {"Footer", "_末尾"}, {"Min", "-3"},
                                     {"Max", "120"},      {"Beam", "3"}};
        for (const auto& [key, value] : values)
            QVERIFY(m_store.SaveSetting(kApp, kSection, key, value));
        MainWindow& window = LoadedWindow();
        QCOMPARE(window.txtPath->text(), values[0][1]); // one blank is not empty
        QCOMPARE(window.txtHeader->text(), values[1][1]);
        QCOMPARE(window.txtFooter->text(), values[2][1]);
        QCOMPARE(window.txtMin->text(), values[3][1]);
        QCOMPARE(window.txtMax->text(), values[4][1]);
        QCOMPARE(window.txtBeam->text(), values[5][1]);
    }

    void emptyStoredPathGivesTheProgramFolder_data()
    {
        QTest::addColumn<QString>("executableFolder");
        QTest::addColumn<QString>("expected");
        QTest::newRow("drive root") << "C:\\"
                                    << "C:";
        QTest::newRow("posix root") << "/"
                                    << "/";
        QTest::newRow("folder") << "/opt/kovaldi"
                                << "/opt/kovaldi";
    }
    void emptyStoredPathGivesTheProgramFolder()
    {
        QFETCH(QString, executableFolder);
        QFETCH(QString, expected);
        QVERIFY(m_store.SaveSetting(kApp, kSection, "LastPath", ""));
        MainWindow& window = NewWindow();
        window.setExecutableFolder(executableFolder);
        window.Form_Load();
        QCOMPARE(window.txtPath->text(), expected);
        QCOMPARE(window.programFolder(), expected);
    }

    void loadFillsEachChangedBoxInOrder()
    {
        // A stored text equal to the box's initial text changes nothing and runs nothing.
        QVERIFY(m_store.SaveSetting(kApp, kSection, "Footer", "txtFooter"));
        MainWindow& window = NewWindow();
        QStringList fills;
        for (QLineEdit* box : {window.txtPath, window.txtHeader, window.txtFooter, window.txtMin,
                               window.txtMax, window.txtBeam})
            connect(box, &QLineEdit::textChanged, this,
                    [&fills, box] { fills << box->objectName(); });
        window.Form_Load();
        // These observers run after the window's own handler, so a fill made inside a
        // handler is listed before the fill that caused it: the header's handling finds the
        // digit-count box still holding "txtBeam" and sets it to "1" first.
        QCOMPARE(fills, (QStringList{"txtPath", "txtBeam", "txtHeader", "txtMin", "txtMax",
                                     "txtBeam", "txtPath"})); // the last: the program folder
    }

    void tabOrderRunsDownTheColumns()
    {
        MainWindow& window = ShownWindow();
        QCOMPARE(QApplication::focusWidget(), window.txtPath);
        const QWidget* expected[] = {window.cmdBrowse, window.txtHeader, window.txtFooter,
                                     window.txtMin,    window.txtMax,    window.txtBeam,
                                     window.udBeam,    window.cmdMake,   window.cmdEnd,
                                     window.Command1,  window.txtPath};
        for (const QWidget* next : expected) {
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
        MainWindow& window = ShownWindow();
        auto* target = window.findChild<QPushButton*>(button);
        // Only the key's mapping is tested here; the handlers have tests of their own.
        disconnect(target, &QPushButton::clicked, &window, nullptr);
        QSignalSpy clicks(target, &QPushButton::clicked);
        // A button pressed by its access key shows itself pressed briefly, then clicks.
        QTest::keyClick(window.txtHeader, Qt::Key(key), Qt::AltModifier);
        QTRY_COMPARE(clicks.size(), 1);
        target->setEnabled(false);
        QTest::keyClick(window.txtHeader, Qt::Key(key), Qt::AltModifier);
        QTest::qWait(300);
        QCOMPARE(clicks.size(), 1);
    }

    void spinnerStepsTheDigitCount_data()
    {
        QTest::addColumn<QString>("start");
        QTest::addColumn<QString>("how");
        QTest::addColumn<QString>("expected");
        QTest::newRow("up from 3") << "3"
                                   << "up-arrow"
                                   << "4";
        QTest::newRow("down from 3") << "3"
                                     << "down-arrow"
                                     << "2";
        QTest::newRow("up key from 9") << "9"
                                       << "up-key"
                                       << "10";
        QTest::newRow("down key from 1") << "1"
                                         << "down-key"
                                         << "0";
        QTest::newRow("no step above 10") << "10"
                                          << "up-arrow"
                                          << "10";
        QTest::newRow("no step below 0") << "0"
                                         << "down-arrow"
                                         << "0";
        QTest::newRow("no step below 0 by key") << "0"
                                                << "down-key"
                                                << "0";
        QTest::newRow("above the range steps down from 10") << "50"
                                                            << "down-arrow"
                                                            << "9";
        QTest::newRow("above the range cannot go up") << "50"
                                                      << "up-arrow"
                                                      << "50";
        QTest::newRow("below the range steps up from 0") << "-5"
                                                         << "up-arrow"
                                                         << "1";
        QTest::newRow("below the range cannot go down") << "-5"
                                                        << "down-key"
                                                        << "-5";
    }
    void spinnerStepsTheDigitCount()
    {
        QFETCH(QString, start);
        QFETCH(QString, how);
        QFETCH(QString, expected);
        MainWindow& window = ShownWindow();
        window.txtBeam->setText(start);
        QSignalSpy changes(window.txtBeam, &QLineEdit::textChanged);
        kovaldi::UpDown* spinner = window.udBeam;
        if (how == QLatin1String("up-arrow"))
            QTest::mouseClick(spinner, Qt::LeftButton, {}, QPoint(8, 3));
        else if (how == QLatin1String("down-arrow"))
            QTest::mouseClick(spinner, Qt::LeftButton, {}, QPoint(8, spinner->height() - 3));
        else {
            spinner->setFocus();
            QTest::keyClick(spinner, how == QLatin1String("up-key") ? Qt::Key_Up : Qt::Key_Down);
        }
        QCOMPARE(window.txtBeam->text(), expected);
        QCOMPARE(changes.size(), expected == start ? 0 : 1);
    }

    void disabledSpinnerDoesNotStep()
    {
        MainWindow& window = ShownWindow();
        window.txtBeam->setText(QStringLiteral("3"));
        window.udBeam->setEnabled(false);
        QTest::mouseClick(window.udBeam, Qt::LeftButton, {}, QPoint(8, 3));
        QCOMPARE(window.txtBeam->text(), QStringLiteral("3"));
    }
};

QTEST_MAIN(MainWindowTest)
#include "mainwindow_test.moc"
