// Runs from a list on real folders: nesting, numbering, repeats, what is there already, the
// template inside each line's folder, a stop, the journal, the kept list and an undo; and
// the lists refused before anything is made.
#include "fakerunwindow.h"
#include "files/localfilesystem.h"
#include "journal/journalreader.h"
#include "lists/listrun.h"
#include "subfolders/subfoldertemplate.h"
#include "undo/undo.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <QTest>

using namespace kovaldi;

namespace {

// The header, footer and maximum take no part in a list run; the step numbers its lines.
class Window : public test::FakeRunWindow
{
public:
    Window()
    {
        in = {"", "h", "f", "9", "0", "2"};
        step = 3;
    }
};

using test::Entries;

} // namespace

class ListRunTest : public QObject
{
    Q_OBJECT

private slots:
    void run_data()
    {
        QTest::addColumn<QString>("list");
        QTest::addColumn<bool>("numbered");
        QTest::addColumn<QString>("tree");
        QTest::addColumn<QStringList>("prepared"); // folders there before; "file:" a file
        QTest::addColumn<int>("stopAfter");
        QTest::addColumn<QStringList>("made");
        QTest::addColumn<QString>("outcome");
        QTest::addColumn<QString>("cut");
        const QString done = "完了！";
        const QString some = "完了！（一部作成できなかったフォルダがあります）";
        const QString stopped = "中止しました。";
        QTest::newRow("nesting, parents once and first")
            << "x/y/z\nx/w\nx\n"
            << false << "" << QStringList{} << -1 << QStringList{"x", "x/w", "x/y", "x/y/z"} << done
            << "";
        QTest::newRow("numbered from the minimum by the step")
            << "企画\n\n デザイン \n"
            << true << "" << QStringList{} << -1 << QStringList{"09_企画", "12_デザイン"} << done
            << "";
        QTest::newRow("a repeat made once") << "a\n a\na/b\na" << false << "" << QStringList{} << -1
                                            << QStringList{"a", "a/b"} << done << "";
        QTest::newRow("a folder there") << "old\nnew" << false << "" << QStringList{"old"} << -1
                                        << QStringList{"new"} << some << "";
        QTest::newRow("a file in the way") << "f" << false << "" << QStringList{"file:f"} << -1
                                           << QStringList{} << "フォルダの作成に失敗しました。"
                                           << "";
        QTest::newRow("template inside each line's folder, not in a parent or one there")
            << "p/a\nold\nb" << false << "s/t\nu" << QStringList{"old"} << -1
            << QStringList{"b", "b/s", "b/s/t", "b/u", "p", "p/a", "p/a/s", "p/a/s/t", "p/a/u"}
            << some << "";
        // Status lines: a, a/s, a/s/t, then Stop.
        QTest::newRow("stop inside a tree") << "a\nb" << false << "s/t\nu" << QStringList{} << 3
                                            << QStringList{"a", "a/s", "a/s/t"} << stopped << "a";
        QTest::newRow("stop after a parent")
            << "p/a\nb" << false << "" << QStringList{} << 1 << QStringList{"p"} << stopped << "";
        QTest::newRow("stop during the last folder changes nothing")
            << "a" << false << "" << QStringList{} << 1 << QStringList{"a"} << done << "";
    }
    void run()
    {
        QFETCH(QString, list);
        QFETCH(bool, numbered);
        QFETCH(QString, tree);
        QFETCH(QStringList, prepared);
        QFETCH(int, stopAfter);
        QFETCH(QStringList, made);
        QFETCH(QString, outcome);
        QFETCH(QString, cut);
        QTemporaryDir dir;
        for (const QString& entry : prepared) {
            QFile file(dir.filePath(entry.mid(5)));
            QVERIFY(entry.startsWith("file:") ? file.open(QIODevice::WriteOnly)
                                              : QDir(dir.path()).mkdir(entry));
        }
        const QStringList before = Entries(dir.path());
        Window window;
        window.in[0] = dir.path();
        window.tree = *SubfolderTemplate::FromText(tree, nullptr);
        window.stopAfter = stopAfter;
        LocalFileSystem fileSystem;
        QTemporaryDir journals;
        const QString kept = journals.filePath("kept/list.txt");
        const RunResult result = RunList(window, fileSystem, window, {list, numbered, "_", kept},
                                         {.journalFolder = journals.path()});
        QCOMPARE(window.told, outcome);
        QStringList expected = before + made;
        expected.sort();
        QCOMPARE(Entries(dir.path()), expected);
        QCOMPARE(result.cutTree, cut);
        QCOMPARE(result.made, qint64(made.size()));
        // The confirmation counted what a whole run makes.
        if (!result.stopped)
            QCOMPARE(window.figures.FoldersToMake(), result.made);
        QCOMPARE(window.saves, 1);
        QFile keptFile(kept);
        QVERIFY(keptFile.open(QIODevice::ReadOnly));
        QCOMPARE(QString::fromUtf8(keptFile.readAll()), list);

        // The journal and the record name the same folders, parents before children, and an
        // undo takes them back.
        const JournalContents contents = ReadJournal(result.journalPath);
        QCOMPARE(contents.made, result.record.NamesInOrderMade());
        QStringList names = contents.made;
        names.replaceInStrings(QDir::separator(), "/");
        for (qsizetype i = 0; i < names.size(); ++i)
            if (names[i].contains('/'))
                QVERIFY(names.indexOf(names[i].section('/', 0, -2)) < i);
        const UndoReport report = Undo(fileSystem, PlanFromRun(result), UndoMode::Remove);
        QCOMPARE(report.removed, result.made);
        QCOMPARE(Entries(dir.path()), before);
    }

    // Refused before the confirmation: nothing made, kept or stored.
    void refused_data()
    {
        QTest::addColumn<QString>("target"); // "@": a temporary folder
        QTest::addColumn<QString>("list");
        QTest::addColumn<QString>("message");
        QTest::newRow("no target") << ""
                                   << "a"
                                   << "パスを入力してください。";
        QTest::newRow("missing target") << "@/missing"
                                        << "a"
                                        << "指定したパスが見つかりません。";
        QTest::newRow("only blank lines") << "@"
                                          << "\n  \n"
                                          << "空の行だけです";
        QTest::newRow("a bad line named") << "@"
                                          << "a\n\nb/../c"
                                          << "一覧の 3 行目は作成できません。";
        QTest::newRow("a row of a table") << "@"
                                          << "a\tb"
                                          << "タブが含まれています";
        QTest::newRow("too many lines")
            << "@" << QString("a\n").repeated(kMostListLines + 1) << "100,000 行を超えています";
    }
    void refused()
    {
        QFETCH(QString, target);
        QFETCH(QString, list);
        QFETCH(QString, message);
        QTemporaryDir dir;
        Window window;
        window.in[0] = target.replace("@", dir.path());
        LocalFileSystem fileSystem;
        const QString kept = dir.filePath("kept.txt");
        const RunResult result = RunList(window, fileSystem, window, {list, false, "_", kept},
                                         {.journalFolder = QString()});
        QVERIFY(!result.confirmed);
        QVERIFY2(window.told.contains(message), qPrintable(window.told));
        QCOMPARE(Entries(dir.path()), QStringList());
        QCOMPARE(window.saves, 0);
    }
};

QTEST_GUILESS_MAIN(ListRunTest)
#include "listrun_test.moc"
