// Taking a run back from its outcome, through the real window: "元に戻す(&U)" asks once,
// removes what is still an empty folder of the run and reports what it kept and why.
// Real folders; a scripted file system for the reasons the disk cannot give here.
#include "mainwindow/mainwindow.h"
#include "modaldriver.h"
#include "scriptedfilesystem.h"
#include "settings/settingsstore.h"
#include "testenv.h"
#include "windowfixture.h"

#include <QApplication>
#include <QDir>
#include <QFile>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTest>

using kovaldi::KeptReason;
using kovaldi::RemoveResult;
using kovaldi::test::ModalDriver;

namespace {

const QString kUndo = QStringLiteral("元に戻す(&U)");
const QString kQuestion = QStringLiteral(
    "question|作成した 3 個のフォルダを削除して、元に戻しますか？|Kovaldi|Yes,No|Yes");
const QString kOutcome =
    QStringLiteral("information|完了！（一部作成できなかったフォルダがあります）|Kovaldi|Ok|Ok");

QStringList Entries(const QString& path)
{
    return QDir(path).entryList(QDir::AllEntries | QDir::NoDotAndDotDot, QDir::Name);
}

} // namespace

class UndoRunTest : public QObject
{
    Q_OBJECT
private:
    kovaldi::SettingsStore m_store;
    kovaldi::test::MainWindowFixture m_windows;

    // Runs n01 to n04 into dir, where n03 exists already, presses Undo on the outcome and
    // answers its question with answer; what the driver saw, from the undo's question on.
    void RunAndUndo(const QString& dir, kovaldi::test::ScriptedFileSystem& fileSystem,
                    QMessageBox::StandardButton answer, ModalDriver& driver)
    {
        QVERIFY(QDir(dir).mkdir("n03"));
        const auto& ui = m_windows.show(m_store);
        ui.window.setFileSystem(&fileSystem);
        ui.setBoxTexts({dir, "n", "", "1", "4", "2"});
        driver.expectMessage(QMessageBox::Yes);
        driver.expectMessage(kUndo);
        driver.expectMessage(answer);
        driver.expectMessage(QMessageBox::Ok);
        ui.cmdMake->click();
        QCOMPARE(driver.failures(), QStringList());
        QCOMPARE(driver.messages().value(1), kOutcome);
        QCOMPARE(driver.messages().value(2), kQuestion);
        QCOMPARE(driver.shown().value(2).informative,
                 "後から作成したものから順に、空のフォルダだけを削除します。"
                 "中にファイルなどがあるフォルダは残します。");
        QCOMPARE(ui.lockMismatch(false), QString());
    }

private slots:
    void initTestCase() { kovaldi::test::UseTemporaryConfigHome(); }
    void cleanup()
    {
        m_windows.reset();
        QCOMPARE(QApplication::topLevelWidgets().size(), 0);
    }

    void undo_data()
    {
        QTest::addColumn<QStringList>("filesInto"); // new folders that get a file after the run
        QTest::addColumn<bool>("confirm");
        QTest::addColumn<QString>("report");
        QTest::addColumn<QString>("informative");
        QTest::addColumn<QString>("details");
        QTest::addColumn<QStringList>("left");
        QTest::newRow("all taken back")
            << QStringList() << true << "information|元に戻しました。|Kovaldi|Ok|"
            << "削除: 3 個"
            << "" << QStringList{"n03"};
        QTest::newRow("a file put into one")
            << QStringList{"n02"} << true
            << "information|元に戻しました。（一部残したフォルダがあります）|Kovaldi|Ok|"
            << "削除: 2 個\n残したフォルダ: 1 個"
            << "残したフォルダ: 1 個\n\n中にファイルやフォルダがあります: 1 個\n  n02"
            << QStringList{"n02", "n03"};
        QTest::newRow("a file in each: nothing removed")
            << QStringList{"n01", "n02", "n04"} << true
            << "warning|フォルダを削除できませんでした。|Kovaldi|Ok|"
            << "削除: 0 個\n残したフォルダ: 3 個"
            << "残したフォルダ: 3 個\n\n中にファイルやフォルダがあります: 3 個\n  n04\n  n02\n  n01"
            << QStringList{"n01", "n02", "n03", "n04"};
        QTest::newRow("declined: back to the outcome, nothing removed")
            << QStringList() << false << kOutcome << "作成: 3 個\n失敗: 1 個"
            << "作成できなかったフォルダ: 1 個\n\n同じ名前のフォルダが既にあります: 1 個\n  n03"
            << QStringList{"n01", "n02", "n03", "n04"};
    }
    void undo()
    {
        QFETCH(QStringList, filesInto);
        QFETCH(bool, confirm);
        QFETCH(QString, report);
        QFETCH(QString, informative);
        QFETCH(QString, details);
        QFETCH(QStringList, left);
        QTemporaryDir dir;
        kovaldi::test::ScriptedFileSystem fileSystem;
        fileSystem.afterCreate = [&](int tried) {
            if (tried < 4)
                return;
            for (const QString& folder : filesInto) {
                QFile file(dir.filePath(folder + "/photo.jpg"));
                QVERIFY(file.open(QIODevice::WriteOnly));
            }
        };
        ModalDriver driver;
        RunAndUndo(dir.path(), fileSystem, confirm ? QMessageBox::Yes : QMessageBox::No, driver);
        QCOMPARE(driver.messages().value(3), report);
        QCOMPARE(driver.shown().value(3).informative, informative);
        QCOMPARE(driver.shown().value(3).details, details);
        QCOMPARE(Entries(dir.path()), left);
    }

    // Why a folder was kept, in Japanese, for every reason the undo gives.
    void undoSaysWhyItKept_data()
    {
        QTest::addColumn<int>("reason"); // KeptReason
        QTest::addColumn<QString>("systemText");
        QTest::addColumn<QString>("reasonText");
        const auto row = [](const char* name, KeptReason reason, const char* text,
                            const char* systemText = "") {
            QTest::newRow(name) << int(reason) << systemText << text;
        };
        row("not empty", KeptReason::NotEmpty, "中にファイルやフォルダがあります");
        row("gone: counted apart, not kept", KeptReason::Gone, "");
        row("replaced by a file", KeptReason::ReplacedByFile, "ファイルに置き換わっています");
        row("replaced by a link", KeptReason::ReplacedByLink, "リンクに置き換わっています");
        row("access refused", KeptReason::AccessRefused, "アクセスが拒否されました");
        row("outside the target", KeptReason::OutsideTarget, "作成先のフォルダの外にあります");
        row("other", KeptReason::Other, "その他のエラー: 1 個\n  n02「Device or resource busy」",
            "Device or resource busy");
    }
    void undoSaysWhyItKept()
    {
        QFETCH(int, reason);
        QFETCH(QString, systemText);
        QFETCH(QString, reasonText);
        QTemporaryDir dir;
        kovaldi::test::ScriptedFileSystem fileSystem;
        fileSystem.remove = [&](const QString& name) -> std::optional<RemoveResult> {
            if (name != "n02")
                return std::nullopt;
            return RemoveResult{false, KeptReason(reason), systemText};
        };
        ModalDriver driver;
        RunAndUndo(dir.path(), fileSystem, QMessageBox::Yes, driver);
        const QString details = driver.shown().value(3).details;
        if (KeptReason(reason) == KeptReason::Gone) {
            QVERIFY(driver.messages().value(3).startsWith("information|元に戻しました。|"));
            QCOMPARE(driver.shown().value(3).informative, "削除: 2 個\n既になかったフォルダ: 1 個");
            QCOMPARE(details, QString());
        } else
            QVERIFY2(details.startsWith("残したフォルダ: 1 個\n\n" + reasonText),
                     qPrintable(details));
        QCOMPARE(Entries(dir.path()), (QStringList{"n02", "n03"}));
    }

    // The undo goes as a run does: Make reads "中止(&M)" and stops it after the folder
    // being removed; the outcome says what was removed and what is left, and offers to take
    // back the rest.
    void stoppedUndo()
    {
        QTemporaryDir dir;
        kovaldi::test::ScriptedFileSystem fileSystem;
        const auto& ui = m_windows.show(m_store);
        QStringList makeDuringUndo;
        fileSystem.remove = [&](const QString&) -> std::optional<RemoveResult> {
            makeDuringUndo << ui.cmdMake->text();
            if (makeDuringUndo.size() == 1 && ui.cmdMake->isEnabled())
                ui.cmdMake->click();
            return std::nullopt;
        };
        ui.window.setFileSystem(&fileSystem);
        ui.setBoxTexts({dir.path(), "n", "", "1", "4", "2"});
        ModalDriver driver;
        driver.expectMessage(QMessageBox::Yes);
        driver.expectMessage(kUndo);
        driver.expectMessage(QMessageBox::Yes);
        driver.expectMessage(kUndo);
        driver.expectMessage(QMessageBox::Yes);
        driver.expectMessage(QMessageBox::Ok);
        ui.cmdMake->click();
        QCOMPARE(driver.failures(), QStringList());
        QCOMPARE(driver.messages().value(3).section('|', 0, 1), "information|中止しました。");
        QVERIFY(driver.shown().value(3).captions.contains(kUndo));
        QCOMPARE(driver.shown().value(3).informative, "削除: 1 個\n残り: 3 個");
        QCOMPARE(driver.messages().value(4),
                 "question|作成した 3 個のフォルダを削除して、元に戻しますか？|Kovaldi|Yes,No|Yes");
        QCOMPARE(driver.messages().value(5), "information|元に戻しました。|Kovaldi|Ok|");
        QCOMPARE(makeDuringUndo.value(0), "中止(&M)");
        QCOMPARE(Entries(dir.path()), QStringList());
        QCOMPARE(ui.lockMismatch(false), QString());
    }
};

QTEST_MAIN(UndoRunTest)
#include "undorun_test.moc"
