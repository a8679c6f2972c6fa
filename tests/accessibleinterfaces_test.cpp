// What the windows tell assistive technology, read in the process through Qt's accessible
// interfaces: role, name, value and description of every control, the spinner's value
// interface and the links' action. The same tree read over AT-SPI: accessibility_test.py.
#include "about/aboutwindow.h"
#include "mainwindow/mainwindow.h"
#include "modaldriver.h"
#include "settings/settingsstore.h"
#include "testenv.h"
#include "widgets/autosizelabel.h"
#include "widgets/updown.h"
#include "windowfixture.h"

#include <QAccessible>
#include <QApplication>
#include <QLabel>
#include <QLineEdit>
#include <QTest>

using kovaldi::test::MainWindowControls;

namespace {

QAccessibleInterface* Accessible(QWidget* widget)
{
    return QAccessible::queryAccessibleInterface(widget);
}

} // namespace

class AccessibleInterfacesTest : public QObject
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

    void mainWindow_data()
    {
        QTest::addColumn<QString>("control");
        QTest::addColumn<int>("role");
        QTest::addColumn<QString>("name");
        QTest::addColumn<QString>("value");
        QTest::addColumn<QString>("description");
        const auto row = [](const char* control, QAccessible::Role role, const char* name,
                            const char* value = "", const char* description = "") {
            QTest::newRow(control) << control << int(role) << name << value << description;
        };
        row("frmMain", QAccessible::Window, "Kovaldi - Version 1.0.0");
        row("txtHeader", QAccessible::EditableText, "ヘッダ", "img");
        row("txtBeam", QAccessible::EditableText, "桁数", "3");
        row("udBeam", QAccessible::SpinBox, "桁数", "3");
        row("lblETC(4)", QAccessible::StaticText, "桁数");
        row("lblTest", QAccessible::StaticText, "img001_a ～ img120_a", "",
            "＜プレビュー＞ 作成されるフォルダ");
        row("lblStatus", QAccessible::StaticText, "");
        row("pbStatus", QAccessible::ProgressBar, "進捗", "0");
        row("cmdMake", QAccessible::Button, "作成(M)");
    }
    void mainWindow()
    {
        QFETCH(QString, control);
        const MainWindowControls& ui = m_windows.show(m_store);
        ui.setBoxTexts({"/", "img", "_a", "1", "120", "3"});
        QWidget* widget =
            control == "frmMain" ? &ui.window : ui.window.findChild<QWidget*>(control);
        QAccessibleInterface* accessible = Accessible(widget);
        QVERIFY(accessible);
        QTEST(int(accessible->role()), "role");
        QTEST(accessible->text(QAccessible::Name), "name");
        QTEST(accessible->text(QAccessible::Value), "value");
        QTEST(accessible->text(QAccessible::Description), "description");
    }

    // The spinner as a value: its position and range, set within the range as a step would,
    // and stepped by its actions.
    void spinnerValue()
    {
        const MainWindowControls& ui = m_windows.show(m_store);
        QAccessibleValueInterface* value = Accessible(ui.udBeam)->valueInterface();
        QVERIFY(value);
        QCOMPARE(value->currentValue().toInt(), 2);
        QCOMPARE(value->minimumValue().toInt(), 0);
        QCOMPARE(value->maximumValue().toInt(), 10);
        QCOMPARE(value->minimumStepSize().toInt(), 1);
        value->setCurrentValue(7);
        QCOMPARE(ui.txtBeam->text(), QStringLiteral("7"));
        value->setCurrentValue(20);
        QCOMPARE(ui.txtBeam->text(), QStringLiteral("10"));
        QAccessibleActionInterface* actions = Accessible(ui.udBeam)->actionInterface();
        actions->doAction(QAccessibleActionInterface::decreaseAction());
        QCOMPARE(ui.txtBeam->text(), QStringLiteral("9"));
        // A digit box past the range stands at its end.
        ui.txtBeam->setText("50");
        QCOMPARE(value->currentValue().toInt(), 10);
    }

    // The labels stand for their texts, without the label inside them as a child; a caption
    // is the label of the control it names.
    void captions()
    {
        const MainWindowControls& ui = m_windows.show(m_store);
        QAccessibleInterface* caption = Accessible(ui.lblETC[5]);
        QCOMPARE(caption->childCount(), 0);
        const auto labelled = caption->relations(QAccessible::Labelled);
        QCOMPARE(labelled.size(), 1);
        QCOMPARE(labelled.first().first->object(), static_cast<QObject*>(ui.lblTest));
    }

    // The links are links with a press action, which asks its question once the screen
    // reader's call has returned.
    void linkPress_data()
    {
        QTest::addColumn<QString>("link");
        QTest::addColumn<QString>("question");
        QTest::newRow("home page") << "Label2"
                                   << "ホームページを表示しますか？";
        QTest::newRow("mail")
            << "Label3"
            << "ご意見、ご感想、ご要望何でもお待ちしております。メールを送信しますか？";
    }
    void linkPress()
    {
        QFETCH(QString, link);
        QFETCH(QString, question);
        kovaldi::AboutWindow about;
        about.setWindowModality(Qt::NonModal);
        QVERIFY(kovaldi::test::ShowActive(about));
        QAccessibleInterface* accessible = Accessible(about.findChild<QWidget*>(link));
        QCOMPARE(accessible->role(), QAccessible::Link);
        QVERIFY(accessible->state().focusable);
        QAccessibleActionInterface* actions = accessible->actionInterface();
        QCOMPARE(actions->actionNames().first(), QAccessibleActionInterface::pressAction());
        kovaldi::test::ModalDriver driver;
        driver.expectMessage(QMessageBox::No);
        actions->doAction(QAccessibleActionInterface::pressAction());
        QVERIFY(driver.messages().isEmpty()); // not asked inside the call
        QTRY_COMPARE(driver.pending(), 0);
        QCOMPARE(driver.failures(), QStringList());
        QCOMPARE(driver.messages(), QStringList{"question|" + question + "|Kovaldi|Yes,No|Yes"});
    }
};

QTEST_MAIN(AccessibleInterfacesTest)
#include "accessibleinterfaces_test.moc"
