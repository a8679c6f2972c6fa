// The settings dialog behind 詳細設定 as a user drives it, and what its settings do to the
// main window's preview, its run and the stored settings.
#include "mainwindow/mainwindow.h"
#include "modaldriver.h"
#include "picker/folderchooser.h"
#include "presets/presetstore.h"
#include "settings/settingsstore.h"
#include "testenv.h"
#include "windowfixture.h"

#include <QApplication>
#include <QComboBox>
#include <QDir>
#include <QDirIterator>
#include <QFile>
#include <QFileInfo>
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

// Answers the name dialog: an input method commits the name, then OK or Cancel.
ModalDriver::Answer NameAnswer(const QString& name)
{
    return [name](QWidget* modal) {
        auto* line = modal->findChild<QLineEdit*>();
        QVERIFY(modal->inherits("QInputDialog") && line);
        line->selectAll();
        Commit(line, name);
        QTimer::singleShot(0, static_cast<QDialog*>(modal), &QDialog::accept);
    };
}

kovaldi::PresetFile Presets()
{
    return kovaldi::PresetStore().Read();
}

QByteArray PresetBytes()
{
    QFile file(kovaldi::DefaultPresetsPath());
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray("(none)");
}

void WritePresets(const QByteArray& content)
{
    QVERIFY(QDir().mkpath(QFileInfo(kovaldi::DefaultPresetsPath()).path()));
    QFile file(kovaldi::DefaultPresetsPath());
    QVERIFY(file.open(QIODevice::WriteOnly) && file.write(content) == content.size());
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
                Commit(step, "２"); // full-width, as an input method gives it
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

    // Save as under a Japanese name (blanks only refused), overwrite declined, then 保存
    // accepted, then delete: the file holds what the dialog and the window showed.
    void saveOverwriteDelete()
    {
        const MainWindowControls& ui = m_windows.show(m_store);
        ui.setBoxTexts({"/tmp", "img", "_a", "5", "20", "3"});
        ModalDriver driver;
        const auto step = [](const QString& typed, const char* press) {
            return [typed, press](QWidget* modal) {
                auto* box = modal->findChild<QLineEdit*>("txtStep");
                box->selectAll();
                QTest::keyClicks(box, typed);
                PressLater(modal, press);
            };
        };
        driver.expect(step("2", "cmdSavePresetAs"));
        driver.expect(NameAnswer("\u3000 "));
        driver.expectMessage(QMessageBox::Ok);
        driver.expect(NameAnswer("\u3000写真 "));
        driver.expect(step("4", "cmdSavePresetAs"));
        driver.expect(NameAnswer("写真"));
        driver.expectMessage(QMessageBox::No);
        driver.expect([](QWidget* modal) { PressLater(modal, "cmdSavePreset"); });
        driver.expectMessage(QMessageBox::Yes);
        driver.expect([&](QWidget* modal) {
            const kovaldi::Preset saved = Presets().presets.value(0);
            QCOMPARE(saved.name + saved.Value("Min").value_or("") +
                         saved.Value("Step").value_or("") + QString::number(saved.values.size()),
                     QString("写真548"));
            PressLater(modal, "cmdDeletePreset");
        });
        driver.expectMessage(QMessageBox::Yes);
        driver.expect([&](QWidget* modal) { PressLater(modal, "CancelButton"); });
        ui.cmdOptions->click();
        QCOMPARE(driver.failures(), QStringList());
        QCOMPARE(driver.messages().size(), 4);
        QVERIFY(driver.messages()[0].contains("プリセットの名前を入れてください"));
        QVERIFY(driver.messages()[1].contains("プリセット「写真」を上書きしますか？|Kovaldi"));
        QVERIFY(driver.messages()[3].contains("プリセット「写真」を削除しますか？"));
        QCOMPARE(Presets().state, kovaldi::PresetFileState::Read);
        QVERIFY(Presets().presets.isEmpty());
        QVERIFY(!ui.lblOptions->isVisible()); // Cancel: the step stays 1
    }

    // Loading fills the dialog's boxes at once and the window's on OK, through their
    // normalisation; Cancel leaves the window as it was; what a preset lacks stays.
    void loadFillsTheBoxes_data()
    {
        QTest::addColumn<int>("downs");
        QTest::addColumn<bool>("ok");
        QTest::addColumn<QStringList>("boxes");
        QTest::addColumn<QString>("preview");
        QTest::newRow("full") << 1 << true << QStringList{"/tmp", "img", "f", "12", "30", "3"}
                              << "img012f ～ img027f";
        QTest::newRow("cancelled")
            << 1 << false << QStringList{"/tmp", "h", "f", "1", "10", "2"} << "h01f ～ h10f";
        QTest::newRow("footer only")
            << 2 << true << QStringList{"/tmp", "h", "_b", "1", "10", "2"} << "h01_b ～ h10_b";
    }
    void loadFillsTheBoxes()
    {
        QFETCH(int, downs);
        QFETCH(bool, ok);
        QFETCH(QStringList, boxes);
        QFETCH(QString, preview);
        WritePresets(
            R"({"format":"kovaldi-presets","version":1,"presets":[)"
            R"({"name":"A","values":{"Header":"img","Min":"１２","Max":"30","Beam":"3",)"
            R"("Step":"5","Subfolders":"x\ny","ListSeparator":"-"}},{"name":"B","values":{"Footer":"_b"}}]})");
        const MainWindowControls& ui = m_windows.show(m_store);
        ui.setBoxTexts({"/tmp", "h", "f", "1", "10", "2"});
        ModalDriver driver;
        driver.expect([&](QWidget* modal) {
            for (int i = 0; i < downs; ++i)
                QTest::keyClick(modal->findChild<QComboBox*>("cboPreset"), Qt::Key_Down);
            QCOMPARE(modal->findChild<QLineEdit*>("txtStep")->text(), downs == 1 ? "5" : "1");
            QCOMPARE(ui.txtHeader->text(), QString("h"));
            PressLater(modal, "cmdSavePresetAs");
        });
        driver.expect(NameAnswer("C")); // what the dialog shows once loaded
        driver.expect([&](QWidget* modal) { PressLater(modal, ok ? "OKButton" : "CancelButton"); });
        ui.cmdOptions->click();
        QCOMPARE(driver.failures(), QStringList());
        const kovaldi::Preset saved = Presets().presets.value(2);
        QCOMPARE(saved.Value("Header").value_or("") + saved.Value("ListSeparator").value_or(""),
                 downs == 1 ? "img-" : "h");
        QCOMPARE(ui.window.listSeparator(), ok && downs == 1 ? "-" : "_");
        QCOMPARE(ui.boxTexts(), boxes);
        QCOMPARE(ui.lblTest->text(), preview);
        QCOMPARE(ui.lblOptions->isVisible(), ok && downs == 1);
    }

    // A presets file that cannot be used is told of once and kept byte for byte; a damaged
    // or foreign one is replaced on a Yes, a folder never.
    void unusableFileKept_data()
    {
        QTest::addColumn<QByteArray>("content"); // empty: a folder
        QTest::addColumn<QString>("told");
        QTest::newRow("damaged") << QByteArray("{\"presets\": [") << "は壊れています。";
        QTest::newRow("foreign") << QByteArray("[]") << "プリセットのファイルではありません。";
        QTest::newRow("a folder") << QByteArray() << "は、ファイルではありません。";
    }
    void unusableFileKept()
    {
        QFETCH(QByteArray, content);
        QFETCH(QString, told);
        if (content.isEmpty())
            QVERIFY(QDir().mkpath(kovaldi::DefaultPresetsPath()));
        else
            WritePresets(content);
        const QByteArray before = PresetBytes();
        const bool replaceable = !content.isEmpty();
        const MainWindowControls& ui = m_windows.show(m_store);
        for (const bool yes : {false, true}) {
            ModalDriver driver;
            if (!yes)
                driver.expectMessage(QMessageBox::Ok); // told once, at the first opening
            driver.expect([](QWidget* modal) { PressLater(modal, "cmdSavePresetAs"); });
            driver.expect(NameAnswer("a"));
            driver.expectMessage(!replaceable ? QMessageBox::Ok
                                 : yes        ? QMessageBox::Yes
                                              : QMessageBox::No);
            driver.expect([](QWidget* modal) { PressLater(modal, "CancelButton"); });
            ui.cmdOptions->click();
            QCOMPARE(driver.failures(), QStringList());
            QCOMPARE(driver.messages().size(), yes ? 1 : 2);
            for (const QString& message : driver.messages())
                QVERIFY2(message.contains(told), qPrintable(message));
            QCOMPARE(PresetBytes() == before, !yes || !replaceable);
        }
        if (replaceable)
            QCOMPARE(Presets().presets.value(0).name, QString("a"));
    }
};

QTEST_MAIN(SettingsDialogTest)
#include "settingsdialog_test.moc"
