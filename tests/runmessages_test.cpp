// The run's messages through the real window, answered by the modal driver: the figures
// beneath the confirmation (real folders), the counts beneath the outcome and the failures
// behind its details button (a scripted file system gives each reason).
#include "mainwindow/mainwindow.h"
#include "mainwindow/runtexts.h"
#include "modaldriver.h"
#include "run/runfigures.h"
#include "scriptedfilesystem.h"
#include "settings/settingsstore.h"
#include "testenv.h"
#include "windowfixture.h"

#include <QApplication>
#include <QDir>
#include <QFileInfo>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRegularExpression>
#include <QTemporaryDir>
#include <QTest>
#include <QTextEdit>

using kovaldi::CreateResult;
using kovaldi::FailureReason;
using kovaldi::test::ModalDriver;

namespace {

const QString kUndo = QStringLiteral("元に戻す(&U)");

// The confirmation's text as the rows write it, each figure held to its unit by a no-break
// space, so that a wrapped line never starts with "個".
QString Together(QString text)
{
    return text.replace(QStringLiteral(" 個"), QStringLiteral("\u00A0個"));
}

} // namespace

class RunMessagesTest : public QObject
{
    Q_OBJECT
private:
    kovaldi::SettingsStore m_store;
    kovaldi::test::MainWindowFixture m_windows;

    // Runs n1 to n<max> with digits digits through the window and the scripted file
    // system, confirmed; the driver has the confirmation and the outcome.
    void RunConfirmed(kovaldi::test::ScriptedFileSystem& fileSystem, const QString& max,
                      const QString& digits, ModalDriver& driver)
    {
        const auto& ui = m_windows.show(m_store);
        ui.window.setFileSystem(&fileSystem);
        QTemporaryDir dir;
        ui.setBoxTexts({dir.path(), "n", "", "1", max, digits});
        driver.expectMessage(QMessageBox::Yes);
        driver.expectMessage(QMessageBox::Ok, 120000);
        ui.cmdMake->click();
        QCOMPARE(driver.failures(), QStringList());
    }

private slots:
    void initTestCase() { kovaldi::test::UseTemporaryConfigHome(); }
    void cleanup()
    {
        m_windows.reset();
        QCOMPARE(QApplication::topLevelWidgets().size(), 0);
    }

    // Beneath the question: the target as an absolute path, the count with thousands
    // separators, the first and last names, and the names the target holds already.
    void confirmationShowsTheFigures_data()
    {
        QTest::addColumn<QString>("target"); // "@": the temporary folder
        QTest::addColumn<QString>("min");
        QTest::addColumn<QString>("max");
        QTest::addColumn<QStringList>("folders"); // there before the run
        QTest::addColumn<QStringList>("files");
        QTest::addColumn<QString>("expected");
        QTest::newRow("fresh folder") << "@"
                                      << "1"
                                      << "3" << QStringList() << QStringList()
                                      << "フォルダ数: 3 個\n最初: n01f\n最後: n03f\n"
                                         "既にある名前: なし";
        QTest::newRow("thousands, names taken by folders and a file, target through ..")
            << "@/sub/.."
            << "-5"
            << "1499" << QStringList{"n-05f", "n1499f", "n07"} << QStringList{"n100f"}
            << "フォルダ数: 1,505 個\n最初: n-05f\n最後: n1499f\n"
               "既にある名前: 3 個（フォルダ 2 個、ファイル 1 個）";
        QTest::newRow("every name taken")
            << "@"
            << "1"
            << "2" << QStringList{"n01f"} << QStringList{"n02f"}
            << "フォルダ数: 2 個\n最初: n01f\n最後: n02f\n"
               "既にある名前: 2 個（フォルダ 1 個、ファイル 1 個）\n"
               "すべての名前が既にあるため、フォルダは 1 つも作成されません。";
        QTest::newRow("one folder")
            << "@"
            << "7"
            << "7" << QStringList{"n07f"} << QStringList()
            << "フォルダ数: 1 個\nフォルダ名: n07f\n"
               "既にある名前: 1 個（フォルダ 1 個）\n"
               "すべての名前が既にあるため、フォルダは 1 つも作成されません。";
    }
    void confirmationShowsTheFigures()
    {
        QFETCH(QString, target);
        QFETCH(QString, min);
        QFETCH(QString, max);
        QFETCH(QStringList, folders);
        QFETCH(QStringList, files);
        QFETCH(QString, expected);
        QTemporaryDir dir;
        QVERIFY(QDir(dir.path()).mkdir("sub"));
        for (const QString& name : folders)
            QVERIFY(QDir(dir.path()).mkdir(name));
        for (const QString& name : files) {
            QFile file(dir.filePath(name));
            QVERIFY(file.open(QIODevice::WriteOnly));
        }
        const QStringList before =
            QDir(dir.path()).entryList(QDir::NoDotAndDotDot | QDir::AllEntries);
        const auto& ui = m_windows.show(m_store);
        ui.setBoxTexts({target.replace("@", dir.path()), "n", "f", min, max, "2"});

        ModalDriver driver;
        driver.expectMessage(QMessageBox::No);
        ui.cmdMake->click();
        QCOMPARE(driver.failures(), QStringList());
        QCOMPARE(driver.messages(),
                 QStringList{"question|フォルダ作成の一括処理を行います。|Kovaldi|Yes,No|Yes"});
        const QString absolute =
            QDir::toNativeSeparators(QFileInfo(dir.path()).canonicalFilePath());
        QCOMPARE(driver.shown().value(0).informative,
                 Together("作成先: " + absolute + "\n" + expected));
        QCOMPARE(QDir(dir.path()).entryList(QDir::NoDotAndDotDot | QDir::AllEntries), before);
    }

    // A name of a megabyte (a header from the settings file) is shown with its middle left
    // out, and a character beyond the basic plane is never cut in two.
    void longNamesShortenedForDisplay()
    {
        const QString name = "h" + QString(1 << 20, u'x') + "\U0001F4C1" + QString(37, u'y');
        const QString shown = kovaldi::NameForDisplay(name);
        QCOMPARE(shown, "h" + QString(38, u'x') + u'…' + "\U0001F4C1" + QString(37, u'y'));
        QCOMPARE(kovaldi::NameForDisplay(shown), shown);
        const kovaldi::RunFigures figures{"/t", 2, name + "1", name + "2", 2, 0, 0};
        QVERIFY(kovaldi::ConfirmationDetails(figures).size() < 300);
        const auto& ui = m_windows.show(m_store); // and the preview
        ui.txtHeader->setText(name);
        QCOMPARE(ui.lblTest->text(), kovaldi::NameForDisplay(name + "01", 1000) + " ～ " +
                                         kovaldi::NameForDisplay(name + "10", 1000));
    }

    // When the look-up ran out of time: how far it got.
    void figuresCutShortSayHowFarTheCheckGot_data()
    {
        QTest::addColumn<qint64>("checked");
        QTest::addColumn<qint64>("existing");
        QTest::addColumn<QString>("expected");
        QTest::newRow("part checked")
            << qint64(52000) << qint64(1200)
            << "既にある名前: 1,200 個 以上（フォルダ 1,200 個）\n"
               "時間がかかるため、110,000 個のうち最初の 52,000 個だけを確認しました。";
        QTest::newRow("part checked, none taken")
            << qint64(52000) << qint64(0)
            << "既にある名前: 0 個\n"
               "時間がかかるため、110,000 個のうち最初の 52,000 個だけを確認しました。";
        QTest::newRow("nothing checked")
            << qint64(0) << qint64(0) << "既にある名前: 時間がかかるため確認できませんでした";
    }
    void figuresCutShortSayHowFarTheCheckGot()
    {
        QFETCH(qint64, checked);
        QFETCH(qint64, existing);
        QFETCH(QString, expected);
        const kovaldi::RunFigures figures{"/t", 110000, "a000001", "a110000", checked, existing, 0};
        QCOMPARE(kovaldi::ConfirmationDetails(figures),
                 Together("作成先: /t\nフォルダ数: 110,000 個\n最初: a000001\n最後: a110000\n" +
                          expected));
    }

    // Of four folders, n02 and n04 (or the row's) fail for the row's reason: the design's
    // text and icon, the counts beneath, behind the details button the reason in Japanese
    // with the names, and the Undo button when a folder was made.
    void outcomeTellsWhatHappenedAndWhy_data()
    {
        QTest::addColumn<int>("reason"); // FailureReason
        QTest::addColumn<QString>("systemText");
        QTest::addColumn<QString>("reasonText");
        QTest::addColumn<QStringList>("failing");
        QTest::addColumn<QString>("described");
        const QString partly =
            "information|完了！（一部作成できなかったフォルダがあります）|Kovaldi|Ok|Ok";
        const auto row = [&](const char* name, FailureReason reason, const char* text,
                             const char* systemText = "",
                             const QStringList& failing = {"n02", "n04"}) {
            QTest::newRow(name) << int(reason) << systemText << text << failing
                                << (failing.isEmpty() ? "information|完了！|Kovaldi|Ok|Ok"
                                    : failing.size() == 4
                                        ? "error|フォルダの作成に失敗しました。|Kovaldi|Ok|"
                                        : partly);
        };
        row("exists as folder", FailureReason::ExistsAsFolder, "同じ名前のフォルダが既にあります");
        row("exists as file", FailureReason::ExistsAsFile, "同じ名前のファイルが既にあります");
        row("parent missing", FailureReason::ParentMissing, "親フォルダが見つかりません");
        row("access refused", FailureReason::AccessRefused, "アクセスが拒否されました");
        row("name too long", FailureReason::NameTooLong, "名前が長すぎます");
        row("disk full", FailureReason::DiskFull,
            "ディスクがいっぱいです（または使用量の上限に達しました）");
        row("read-only", FailureReason::ReadOnly, "読み取り専用のファイルシステムです");
        row("invalid name", FailureReason::InvalidName, "このシステムでは使えない名前です");
        row("other, with the system's text", FailureReason::Other,
            "その他のエラー「Stale file handle」", "Stale file handle");
        row("other, without a text", FailureReason::Other, "その他のエラー");
        row("nothing fails", FailureReason::Other, "", "", {});
        row("every folder fails: no undo", FailureReason::AccessRefused, "アクセスが拒否されました",
            "", {"n01", "n02", "n03", "n04"});
    }
    void outcomeTellsWhatHappenedAndWhy()
    {
        QFETCH(int, reason);
        QFETCH(QString, systemText);
        QFETCH(QString, reasonText);
        QFETCH(QStringList, failing);
        kovaldi::test::ScriptedFileSystem fileSystem;
        fileSystem.create = [&](const QString& name) -> std::optional<CreateResult> {
            return CreateResult{!failing.contains(name), FailureReason(reason), systemText};
        };
        ModalDriver driver;
        RunConfirmed(fileSystem, "4", "2", driver);
        QTEST(driver.messages().value(1), "described");
        const ModalDriver::Shown outcome = driver.shown().value(1);
        const QString failed = QString::number(failing.size()) + " 個";
        const QString made = QString::number(4 - failing.size()) + " 個";
        QCOMPARE(outcome.informative,
                 "作成: " + made + (failing.isEmpty() ? QString() : "\n失敗: " + failed));
        QCOMPARE(outcome.detailsName, failing.isEmpty() ? "" : "詳細");
        QCOMPARE(outcome.details, failing.isEmpty() ? QString()
                                                    : "作成できなかったフォルダ: " + failed +
                                                          "\n\n" + reasonText + ": " + failed +
                                                          "\n  " + failing.join("\n  "));
        QCOMPARE(outcome.captions.contains(kUndo), failing.size() < 4);
    }

    // 3,000 failures for two reasons: about a thousand names in all, each group saying how
    // many more it has.
    void detailsAreCapped()
    {
        kovaldi::test::ScriptedFileSystem fileSystem;
        fileSystem.create = [](const QString& name) -> std::optional<CreateResult> {
            return CreateResult{false,
                                name <= "n2000" ? FailureReason::ExistsAsFolder
                                                : FailureReason::AccessRefused,
                                {}};
        };
        ModalDriver driver;
        RunConfirmed(fileSystem, "3000", "4", driver);
        const QStringList lines = driver.shown().value(1).details.split('\n');
        const QStringList names = lines.filter(QRegularExpression("^  n\\d{4}$"));
        QCOMPARE(names.size(), 1010);
        QCOMPARE(names.first(), "  n0001");
        QCOMPARE(lines.value(0), "作成できなかったフォルダ: 3,000 個");
        QCOMPARE(lines.value(2), "同じ名前のフォルダが既にあります: 2,000 個");
        QCOMPARE(lines.value(1003), "  ほか 1,000 個");
        QCOMPARE(lines.value(1005), "アクセスが拒否されました: 1,000 個");
        QCOMPARE(lines.value(1006), "  n2001");
        QCOMPARE(lines.last(), "  ほか 990 個");
    }
};

QTEST_MAIN(RunMessagesTest)
#include "runmessages_test.moc"
