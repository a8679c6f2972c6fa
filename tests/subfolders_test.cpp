// Sub-folder templates and the step: the template read from lines and from a folder, and runs
// with both on real folders, down to the journal and an undo.
#include "fakerunwindow.h"
#include "files/localfilesystem.h"
#include "journal/journalreader.h"
#include "run/batchrun.h"
#include "subfolders/subfoldertemplate.h"
#include "undo/undo.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <QTest>

using namespace kovaldi;

namespace {

using Window = test::FakeRunWindow;
using test::Entries;

} // namespace

class SubfoldersTest : public QObject
{
    Q_OBJECT

private slots:
    void fromLines_data()
    {
        QTest::addColumn<QString>("text");
        QTest::addColumn<QString>("expected"); // the template's text, or "!" + the error's start

        QTest::newRow("parents implied, children kept under them")
            << "01_原稿\n02_画像/元\n03_納品\n02_画像/加工"
            << "01_原稿\n02_画像\n02_画像/元\n02_画像/加工\n03_納品";
        QTest::newRow("blank lines, blanks and repeats") << "\n a \n\na\na/b/\n"
                                                         << "!サブフォルダの 5 行目";
        QTest::newRow("repeats taken once") << "a/b\na\n\na/b"
                                            << "a\na/b";
        QTest::newRow("dot dot") << "a\nb/../c"
                                 << "!サブフォルダの 2 行目: 「.」と「..」";
        QTest::newRow("dot") << "./a"
                             << "!サブフォルダの 1 行目: 「.」と「..」";
        QTest::newRow("absolute") << "a\n\n/etc"
                                  << "!サブフォルダの 3 行目: 絶対パス";
        QTest::newRow("empty segment") << "a//b"
                                       << "!サブフォルダの 1 行目: 空のフォルダ名";
        QTest::newRow("too long") << "a/" + QString(256, u'x')
                                  << "!サブフォルダの 1 行目: フォルダ名が長すぎます";
        QTest::newRow("longest") << QString(85, u'あ') << QString(85, u'あ'); // 255 bytes
        QTest::newRow("too deep") << QStringList(33, "d").join('/')
                                  << "!サブフォルダの 1 行目: サブフォルダの階層";
        QStringList many;
        for (int i = 0; i <= SubfolderTemplate::kMostEntries; ++i)
            many << QString::number(i);
        QTest::newRow("too many") << many.join('\n')
                                  << "!サブフォルダの 1001 行目: サブフォルダは 1000 個";
#if defined(Q_OS_WIN)
        QTest::newRow("drive") << "C:/x"
                               << "!サブフォルダの 1 行目: 絶対パス";
#else
        QTest::newRow("backslash is a name's") << "a\\b"
                                               << "a\\b";
#endif
    }
    void fromLines()
    {
        QFETCH(QString, text);
        QFETCH(QString, expected);
        QString error;
        const std::optional<SubfolderTemplate> tree = SubfolderTemplate::FromText(text, &error);
        if (expected.startsWith('!')) {
            QVERIFY2(!tree, qPrintable(tree ? tree->Text() : QString()));
            QVERIFY2(error.startsWith(expected.mid(1)), qPrintable(error));
        } else {
            QVERIFY2(tree, qPrintable(error));
            QCOMPARE(tree->Text(), expected);
            QCOMPARE(SubfolderTemplate::FromText(tree->Text(), nullptr)->Text(), expected);
        }
    }

    void fromFolder()
    {
        QTemporaryDir dir;
        const QString root = dir.path() + "/t";
        for (const char* path : {"t/b/x", "t/a", "elsewhere/inner"})
            QVERIFY(QDir(dir.path()).mkpath(path));
        QFile file(root + "/a/file");
        QVERIFY(file.open(QIODevice::WriteOnly));
#if !defined(Q_OS_WIN)
        QVERIFY(QFile::link(dir.path() + "/elsewhere", root + "/b/link"));
#endif
        QString error;
        std::optional<SubfolderTemplate> tree = SubfolderTemplate::FromFolder(root, &error);
        QVERIFY2(tree, qPrintable(error));
        QCOMPARE(tree->Text(), QString("a\nb\nb/x"));

        QVERIFY(QDir(root).mkpath(QStringList(33, "d").join('/')));
        tree = SubfolderTemplate::FromFolder(root, &error);
        QVERIFY(!tree);
        QVERIFY2(error.contains("階層"), qPrintable(error));
        QVERIFY(!SubfolderTemplate::FromFolder(dir.path() + "/missing", &error));
    }

    void run_data()
    {
        QTest::addColumn<QStringList>("inputs");
        QTest::addColumn<qint64>("step");
        QTest::addColumn<QString>("tree");
        QTest::addColumn<QStringList>("prepared"); // folders there before
        QTest::addColumn<int>("stopAfter");
        QTest::addColumn<QStringList>("expected"); // every entry afterwards
        QTest::addColumn<QString>("outcome");
        QTest::addColumn<QString>("cut");

        const QStringList series{"@", "n", "", "1", "7", "0"};
        QTest::newRow("step") << series << qint64(3) << "" << QStringList{} << -1
                              << QStringList{"n1", "n4", "n7"} << "完了！"
                              << "";
        QTest::newRow("step past the maximum")
            << QStringList{"@", "n", "", "1", "6", "0"} << qint64(3) << "" << QStringList{} << -1
            << QStringList{"n1", "n4"} << "完了！"
            << "";
        QTest::newRow("tree and step")
            << series << qint64(5) << "a/x\nb" << QStringList{} << -1
            << QStringList{"n1", "n1/a", "n1/a/x", "n1/b", "n6", "n6/a", "n6/a/x", "n6/b"}
            << "完了！"
            << "";
        QTest::newRow("nothing made in a folder there before")
            << QStringList{"@", "n", "", "1", "2", "0"} << qint64(1) << "a" << QStringList{"n2"}
            << -1 << QStringList{"n1", "n1/a", "n2"}
            << "完了！（一部作成できなかったフォルダがあります）"
            << "";
        QTest::newRow("every folder there before")
            << QStringList{"@", "n", "", "1", "1", "0"} << qint64(1) << "a" << QStringList{"n1"}
            << -1 << QStringList{"n1"} << "フォルダの作成に失敗しました。"
            << "";
        QTest::newRow("two sub-folders")
            << QStringList{"@", "n", "", "1", "1", "0"} << qint64(1) << "a\nb" << QStringList{}
            << -1 << QStringList{"n1", "n1/a", "n1/b"} << "完了！"
            << "";
        // Status lines: n1, n1/a, n1/a/x, then Stop.
        QTest::newRow("stop inside a tree")
            << series << qint64(1) << "a/x\nb" << QStringList{} << 3
            << QStringList{"n1", "n1/a", "n1/a/x"} << "中止しました。"
            << "n1";
        QTest::newRow("stop after a whole tree") << series << qint64(1) << "a" << QStringList{} << 2
                                                 << QStringList{"n1", "n1/a"} << "中止しました。"
                                                 << "";
        QTest::newRow("stop during the last folder changes nothing")
            << QStringList{"@", "n", "", "1", "1", "0"} << qint64(1) << "a" << QStringList{} << 2
            << QStringList{"n1", "n1/a"} << "完了！"
            << "";
    }
    void run()
    {
        QFETCH(QStringList, inputs);
        QFETCH(qint64, step);
        QFETCH(QString, tree);
        QFETCH(QStringList, prepared);
        QFETCH(int, stopAfter);
        QFETCH(QStringList, expected);
        QFETCH(QString, outcome);
        QFETCH(QString, cut);
        QTemporaryDir dir;
        for (const QString& folder : prepared)
            QVERIFY(QDir(dir.path()).mkdir(folder));
        Window window;
        window.in = inputs;
        window.in[0] = dir.path();
        window.step = step;
        window.tree = *SubfolderTemplate::FromText(tree, nullptr);
        window.stopAfter = stopAfter;
        LocalFileSystem fileSystem;
        QTemporaryDir journals;
        const RunResult result =
            RunBatch(window, fileSystem, window, {.journalFolder = journals.path()});
        QCOMPARE(window.told, outcome);
        QCOMPARE(Entries(dir.path()), expected);
        QCOMPARE(result.cutTree, cut);
        QCOMPARE(result.made, qint64(expected.size() - prepared.size()));

        // The journal and the record name the same folders, parents before children.
        const JournalContents contents = ReadJournal(result.journalPath);
        QCOMPARE(contents.made, result.record.NamesInOrderMade());
        QStringList made = contents.made;
        made.replaceInStrings(QDir::separator(), "/");
        for (qsizetype i = 0; i < made.size(); ++i)
            if (made[i].contains('/'))
                QVERIFY(made.indexOf(made[i].section('/', 0, -2)) < i);
    }

    // A file put inside a sub-folder keeps it and its parents; the rest go, children first.
    void undoKeepsWhatHoldsAFile()
    {
        QTemporaryDir dir;
        Window window;
        window.in = QStringList{dir.path(), "n", "", "1", "2", "0"};
        window.tree = *SubfolderTemplate::FromText("a/x\na/y\nb", nullptr);
        LocalFileSystem fileSystem;
        const RunResult result = RunBatch(window, fileSystem, window, {.journalFolder = QString()});
        QCOMPARE(result.made, qint64(10));
        QFile file(dir.path() + "/n2/a/y/note.txt");
        QVERIFY(file.open(QIODevice::WriteOnly));
        file.close();
        const UndoReport report = Undo(fileSystem, PlanFromRun(result), UndoMode::Remove);
        QCOMPARE(report.removed, qint64(7));
        QCOMPARE(report.kept, qint64(3));
        QCOMPARE(Entries(dir.path()), (QStringList{"n2", "n2/a", "n2/a/y", "n2/a/y/note.txt"}));
    }
};

QTEST_GUILESS_MAIN(SubfoldersTest)
#include "subfolders_test.moc"
