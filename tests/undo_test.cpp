// Undo of a run on the real file system: from memory and from the journal, after the user
// changed what the run made, from a hand-edited journal, and after the run's process was
// killed (which runs in this executable started again with --child).
#include "files/localfilesystem.h"
#include "files/reasoncodes.h"
#include "journal/journallocation.h"
#include "journal/journalreader.h"
#include "quietwindow.h"
#include "run/batchrun.h"
#include "undo/undo.h"

#include <QDir>
#include <QDirIterator>
#include <QFile>
#include <QProcess>
#include <QTemporaryDir>
#include <QTest>

using namespace kovaldi;

namespace {

QStringList Entries(const QString& path)
{
    QStringList found;
    QDirIterator it(path, QDir::AllEntries | QDir::NoDotAndDotDot | QDir::System,
                    QDirIterator::Subdirectories);
    while (it.hasNext())
        found << QDir(path).relativeFilePath(it.next());
    found.sort();
    return found;
}

// "name: reason-code" for every folder undo kept, newest first; "target: state" first when
// the target folder was not opened.
QStringList Kept(const UndoReport& report)
{
    QStringList kept;
    if (report.target == TargetState::NotTheSame)
        kept << "target: not-the-same";
    else if (report.target == TargetState::LinkOnTheWay)
        kept << "target: link-on-the-way";
    else if (report.target != TargetState::Opened)
        kept << "target: gone";
    for (const UndoReport::Kept& item : report.keptItems)
        kept << item.name + ": " + ReasonCode(item.reason);
    return kept;
}

// Makes the folders f1 to f<last> in target, with the journal in journalFolder.
RunResult MakeFolders(const QString& target, int last, const QString& journalFolder)
{
    test::QuietWindow window({target, "f", "", "1", QString::number(last), "0"});
    LocalFileSystem fileSystem;
    RunOptions options;
    options.journalFolder = journalFolder;
    return RunBatch(window, fileSystem, window, options);
}

// Undo from the journal at path, held and recorded in as kovaldi-cli does.
UndoReport UndoFromJournal(const QString& path, UndoMode mode = UndoMode::Remove)
{
    JournalFile file;
    if (file.Open(path) != JournalFile::Problem::None)
        return {};
    const JournalContents contents = ReadJournal(file);
    const UndoPlan plan = PlanFromJournal(contents, path);
    UndoRecord record;
    record.Begin(file, contents, plan.runId);
    LocalFileSystem fileSystem;
    return Undo(fileSystem, plan, mode, nullptr, &record);
}

// Another folder, elsewhere, with empty folders of the run's names.
bool Decoy(const QString& path)
{
    return QDir().mkpath(path + "/f2") && QDir().mkpath(path + "/f3") &&
           QDir().mkpath(path + "/f4");
}

bool Change(const QString& target, const QString& change)
{
    const QString f2 = target + "/f2";
    const QString parent = QFileInfo(target).path();
    const QString other = QDir::cleanPath(parent + "/../other");
    if (change == "a file put into one")
        return QFile(f2 + "/note.txt").open(QIODevice::WriteOnly);
    if (change == "one renamed")
        return QDir().rename(f2, target + "/g2");
    if (change == "one replaced by a file")
        return QDir().rmdir(f2) && QFile(f2).open(QIODevice::WriteOnly);
    if (change == "one replaced by a link to an empty folder")
        return QDir().rmdir(f2) && QDir().mkdir(target + "/../elsewhere") &&
               QFile::link("../elsewhere", f2);
    if (change == "the whole target removed")
        return QDir(target).removeRecursively();
    if (change == "the target moved, another folder in its place")
        return QDir().rename(target, target + ".moved") && Decoy(target);
    if (change == "the target moved, a link in its place")
        return QDir().rename(target, target + ".moved") && Decoy(other) &&
               QFile::link(other, target);
    if (change == "a folder above moved, a link in its place")
        return QDir().rename(parent, parent + ".moved") && Decoy(other + "/target") &&
               QFile::link(other, parent);
    return true;
}

} // namespace

class UndoTest : public QObject
{
    Q_OBJECT
private slots:
    // The run makes f2 to f4 (f1 existed before); the user changes things; undo takes
    // back only what is still an empty folder the run made, and says why it kept the rest.
    void afterChanges_data()
    {
        QTest::addColumn<QString>("change");
        QTest::addColumn<QStringList>("kept");
        QTest::addColumn<QStringList>("left"); // entries of the target afterwards

        QTest::newRow("nothing") << "" << QStringList{} << QStringList{"f1"};
        QTest::newRow("a file put into one")
            << "a file put into one" << QStringList{"f2: not-empty"}
            << QStringList{"f1", "f2", "f2/note.txt"};
        QTest::newRow("one renamed")
            << "one renamed" << QStringList{"f2: gone"} << QStringList{"f1", "g2"};
        QTest::newRow("one replaced by a file")
            << "one replaced by a file" << QStringList{"f2: replaced-by-file"}
            << QStringList{"f1", "f2"};
#if !defined(Q_OS_WIN) // where QFile::link makes a symbolic link
        QTest::newRow("one replaced by a link to an empty folder")
            << "one replaced by a link to an empty folder" << QStringList{"f2: replaced-by-link"}
            << QStringList{"f1", "f2"};
#endif
        QTest::newRow("the whole target removed")
            << "the whole target removed" << QStringList{"target: gone"} << QStringList{};
        // The target's path names another folder now: nothing of it is removed.
        QTest::newRow("the target moved, another folder in its place")
            << "the target moved, another folder in its place"
            << QStringList{"target: not-the-same"} << QStringList{"f2", "f3", "f4"};
#if !defined(Q_OS_WIN)
        QTest::newRow("the target moved, a link in its place")
            << "the target moved, a link in its place" << QStringList{"target: link-on-the-way"}
            << QStringList{"f2", "f3", "f4"};
        QTest::newRow("a folder above moved, a link in its place")
            << "a folder above moved, a link in its place" << QStringList{"target: link-on-the-way"}
            << QStringList{"f2", "f3", "f4"};
#endif
    }
    void afterChanges()
    {
        QFETCH(QString, change);
        QFETCH(QStringList, kept);
        for (const bool fromJournal : {false, true}) {
            QTemporaryDir dir;
            const QString target = dir.filePath("p/target");
            QVERIFY(QDir().mkpath(target + "/f1"));
            const RunResult result = MakeFolders(target, 4, dir.filePath("state"));
            QCOMPARE(result.made, 3);
            QVERIFY(result.journalHoldsRun);
            const QString journal = result.journalPath;
            QVERIFY(Change(target, change));

            const UndoPlan plan =
                fromJournal ? PlanFromJournal(ReadJournal(journal), journal) : PlanFromRun(result);
            QCOMPARE(plan.names, QStringList({"f2", "f3", "f4"}));
            LocalFileSystem fileSystem;
            const QStringList before = Entries(dir.path());
            const UndoReport dry = Undo(fileSystem, plan, UndoMode::DryRun);
            QCOMPARE(Entries(dir.path()), before);
            const UndoReport report = UndoFromJournal(journal);

            QCOMPARE(Kept(dry), kept);
            QCOMPARE(Kept(report), kept);
            QCOMPARE(report.removed, report.target == TargetState::Opened ? 3 - kept.size() : 0);
            QCOMPARE(dry.removed, report.removed);
            QTEST(Entries(target), "left");
            if (change.startsWith("one replaced by a link"))
                QVERIFY(QFileInfo(dir.filePath("p/elsewhere")).isDir());
            // What was removed is in the journal now: the next undo finds only the rest.
            QCOMPARE(report.journalUpdated, report.removed > 0);
            QCOMPARE(PlanFromJournal(ReadJournal(journal), journal).names.size(),
                     3 - report.removed);
        }
    }

    // A journal is never trusted to reach outside its target.
    void handEditedJournal()
    {
        QTemporaryDir dir;
        for (const char* folder : {"target/inside", "outside", "target/a"})
            QVERIFY(QDir().mkpath(dir.filePath(folder)));
        const QString journal = dir.filePath("last-run.journal");
        QFile file(journal);
        QVERIFY(file.open(QIODevice::WriteOnly));
        file.write("kovaldi-journal 1\nrun 1\ntarget " + dir.filePath("target").toUtf8() +
                   "\n+ ../outside\n+ a/../../outside\n+ .\n+ inside\n");
        file.close();

        const UndoReport report = UndoFromJournal(journal);
        QCOMPARE(report.removed, 1);
        QCOMPARE(Kept(report), QStringList({".: outside-target", "a/../../outside: outside-target",
                                            "../outside: outside-target"}));
        QCOMPARE(Entries(dir.path()),
                 QStringList({"last-run.journal", "outside", "target", "target/a"}));
    }

    // Without a journal the run goes on as ever, and undo works from memory.
    void journalCannotBeWritten()
    {
        QTemporaryDir dir;
        QVERIFY(QFile(dir.filePath("blocker")).open(QIODevice::WriteOnly));
        const RunResult result = MakeFolders(dir.path() + "/", 3, dir.filePath("blocker/journal"));
        QCOMPARE(result.made, 3);
        QVERIFY(!result.journalHoldsRun);
        LocalFileSystem fileSystem;
        const UndoReport report = Undo(fileSystem, PlanFromRun(result), UndoMode::Remove);
        QCOMPARE(report.removed, 3);
        QCOMPARE(Entries(dir.path()), QStringList{"blocker"});
    }

#if defined(Q_OS_UNIX)
    // Killed at any moment, the process leaves a journal that names only folders it made,
    // in order; undo from it removes exactly those. Only what the last interval made may
    // be missing from it.
    void killedMidRun()
    {
        QTemporaryDir dir;
        const QString target = dir.filePath("target");
        const QString state = dir.filePath("state");
        QVERIFY(QDir().mkdir(target));
        QProcess child;
        child.start(QCoreApplication::applicationFilePath(), {"--child", target, state});
        QVERIFY(child.waitForStarted());
        // Killed once the journal names a few hundred folders (the run makes a million).
        QDeadlineTimer deadline(60000);
        const auto journal = [&state] {
            return JournalsNewestFirst(state).value(0);
        };
        while (ReadJournal(journal()).made.size() < 300 && !deadline.hasExpired())
            QTest::qWait(5);
        child.kill();
        QVERIFY(child.waitForFinished());
        QCOMPARE(child.exitStatus(), QProcess::CrashExit);

        const JournalContents read = ReadJournal(journal());
        QVERIFY(read.made.size() >= 300);
        QVERIFY(!read.ended);
        const QStringList made = QDir(target).entryList(QDir::Dirs | QDir::NoDotAndDotDot);
        for (int i = 0; i < read.made.size(); ++i)
            QCOMPARE(read.made[i], "f" + QString::number(i + 1));
        QVERIFY(made.size() >= read.made.size());
        qInfo("killed after %lld folders, %lld of them in the journal", qint64(made.size()),
              qint64(read.made.size()));

        const UndoReport report = UndoFromJournal(journal());
        QCOMPARE(report.removed, read.made.size());
        QCOMPARE(report.kept, 0);
        // Left: the folders made after the journal's last line, and no others.
        const QStringList left = QDir(target).entryList(QDir::Dirs | QDir::NoDotAndDotDot);
        QCOMPARE(left.size(), made.size() - read.made.size());
        for (const QString& name : left)
            QVERIFY2(name.mid(1).toLongLong() > read.made.size(), qPrintable(name));
    }
#endif
};

int main(int argc, char* argv[])
{
    if (argc > 3 && QByteArray(argv[1]) == "--child") {
        QCoreApplication application(argc, argv);
        MakeFolders(QString::fromLocal8Bit(argv[2]), 1000000, QString::fromLocal8Bit(argv[3]));
        return 0;
    }
    QCoreApplication application(argc, argv);
    UndoTest test;
    return QTest::qExec(&test, argc, argv);
}

#include "undo_test.moc"
