// The settings dialog behind 詳細設定 as a user drives it, and what its settings do to the
// main window's preview, its run and the stored settings.
#include "mainwindow/mainwindow.h"
#include "modaldriver.h"
#include "picker/folderchooser.h"
#include "settings/settingsstore.h"
#include "testenv.h"
#include "windowfixture.h"

#include <QApplication>
#include <QDir>
#include <QDirIterator>
#include <QInputMethodEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>

using kovaldi::MainWindow;
using kovaldi::test::MainWindowControls;
using kovaldi::test::ModalDriver;

namespace {

class FakeChooser : public kovaldi::FolderChooser
{
public:
    QString answer;
    QString chooseFolder(QWidget*, const QString&) override { return answer; }
};

QStringList Entries(const QString& folder)
{
    QStringList found;
    QDirIterator it(folder, QDir::AllEntries | QDir::NoDotAndDotDot, QDirIterator::Subdirectories);
    while (it.hasNext())
        found << QDir(folder).relativeFilePath(it.next());
    found.sort();
    return found;
}

// Types text into the focused widget as an input method commits it.
void Commit(QWidget* widget, const QString& text)
{
    QInputMethodEvent event;
    event.setCommitString(text);
    QApplication::sendEvent(widget, &event);
}

// Presses a button once the answer has returned, so that a message it opens is answered next.
void PressLater(QWidget* dialog, const char* name)
{
    auto* button = dialog->findChild<QPushButton*>(name);
    QVERIFY(button);
    QTimer::singleShot(0, button, &QPushButton::click);
}

} // namespace

class SettingsDialogTest : public QObject
{
    Q_OBJECT
private:
    kovaldi::SettingsStore m_store;
    kovaldi::test::MainWindowFixture m_windows;
    FakeChooser m_chooser;

    QStringList Further() const
    {
        return m_store.GetSettings(kovaldi::kSettingsApplication, kovaldi::kSettingsSection,
                                   {{"Step", "none"}, {"Subfolders", "none"}});
    }
    // Make, Yes, then OK.
    void Make(const MainWindowControls& ui)
    {
        ModalDriver driver;
        driver.expectMessage(QMessageBox::Yes);
        driver.expectMessage(QMessageBox::Ok);
        ui.cmdMake->click();
        QCOMPARE(driver.failures(), QStringList());
    }

private slots:
    void initTestCase() { kovaldi::test::UseTemporaryConfigHome(); }
    void init() { kovaldi::test::ClearSettings(); }
    void cleanup()
    {
        m_windows.reset();
        QCOMPARE(QApplication::topLevelWidgets().size(), 0);
    }

    // Nothing of the dialog in use: nothing new shown, and a run stores the six inputs alone.
    void unusedStoresAsBefore()
    {
        QTemporaryDir dir;
        const MainWindowControls& ui = m_windows.show(m_store);
        QVERIFY(ui.cmdOptions->isVisible() && !ui.lblOptions->isVisible());
        ui.setBoxTexts({dir.path(), "n", "", "1", "2", "1"});
        Make(ui);
        QCOMPARE(Entries(dir.path()), (QStringList{"n1", "n2"}));
        QCOMPARE(Further(), (QStringList{"none", "none"}));
    }

    // The step and a template read from a folder: the preview's last name, the line under
    // it, the folders made and the settings stored; the next start has them back.
    void stepAndTemplate()
    {
        QTemporaryDir dir;
        QTemporaryDir model;
        QVERIFY(QDir(model.path()).mkpath("02_画像/元") && QDir(model.path()).mkpath("01_原稿"));
        m_chooser.answer = model.path();
        {
            const MainWindowControls& ui = m_windows.show(m_store);
            ui.window.setFolderChooser(&m_chooser);
            ui.setBoxTexts({dir.path(), "", "", "1", "6", "2"});
            ModalDriver driver;
            driver.expect([](QWidget* modal) {
                auto* step = modal->findChild<QLineEdit*>("txtStep");
                auto* tree = modal->findChild<QPlainTextEdit*>("txtSubfolders");
                QVERIFY(step && tree);
                step->selectAll();
                QTest::keyClicks(step, "2");
                modal->findChild<QPushButton*>("cmdReadFolder")->click();
                QCOMPARE(tree->toPlainText(), QString("01_原稿\n02_画像\n02_画像/元"));
                PressLater(modal, "OKButton");
            });
            ui.cmdOptions->click();
            QCOMPARE(driver.failures(), QStringList());
            QCOMPARE(ui.lblTest->text(), QString("01 ～ 05"));
            QVERIFY(ui.lblOptions->isVisible());
            QCOMPARE(ui.lblOptions->text(), QString("増分 2、各フォルダに 3 個のサブフォルダ"));
            Make(ui);
            QCOMPARE(Entries(dir.path()).size(), 12);
            QVERIFY(Entries(dir.path()).contains("05/02_画像/元"));
            QCOMPARE(Further(), (QStringList{"2", "01_原稿\n02_画像\n02_画像/元"}));
            m_windows.reset();
        }
        const MainWindowControls& ui = m_windows.show(m_store);
        QCOMPARE(ui.lblOptions->text(), QString("増分 2、各フォルダに 3 個のサブフォルダ"));
    }

    // A fault is told with its line and keeps the dialog open; Cancel changes nothing.
    void faultsKeepTheDialogOpen_data()
    {
        QTest::addColumn<QString>("step");
        QTest::addColumn<QString>("tree");
        QTest::addColumn<QString>("message");
        QTest::newRow("dot dot") << "1"
                                 << "原稿\n../外"
                                 << "サブフォルダの 2 行目: 「.」と「..」";
        QTest::newRow("absolute") << "1"
                                  << "/外"
                                  << "サブフォルダの 1 行目: 絶対パス";
        QTest::newRow("empty segment") << "1"
                                       << "a//b"
                                       << "サブフォルダの 1 行目: 空の";
        QTest::newRow("too long") << "1" << QString(300, u'x')
                                  << "サブフォルダの 1 行目: フォルダ名が長すぎます";
        QTest::newRow("step zero") << "0"
                                   << ""
                                   << "増分には 1 から";
    }
    void faultsKeepTheDialogOpen()
    {
        QFETCH(QString, step);
        QFETCH(QString, tree);
        QFETCH(QString, message);
        const MainWindowControls& ui = m_windows.show(m_store);
        ModalDriver driver;
        QWidget* dialog = nullptr;
        driver.expect([&](QWidget* modal) {
            dialog = modal;
            auto* box = modal->findChild<QLineEdit*>("txtStep");
            box->selectAll();
            QTest::keyClicks(box, step);
            auto* text = modal->findChild<QPlainTextEdit*>("txtSubfolders");
            text->setFocus();
            Commit(text, tree);
            PressLater(modal, "OKButton");
        });
        QString shown;
        driver.expectMessage(QMessageBox::Ok, [&](QMessageBox* box) {
            shown = box->text();
            PressLater(dialog, "CancelButton");
        });
        ui.cmdOptions->click();
        QCOMPARE(driver.failures(), QStringList());
        QVERIFY2(shown.startsWith(message), qPrintable(shown));
        QVERIFY(!ui.lblOptions->isVisible());
    }
};

QTEST_MAIN(SettingsDialogTest)
#include "settingsdialog_test.moc"
