// The run's logic against one fake that is window, file system and settings store at once and
// logs every call in one list, so that the order across them shows; then against real folders.
#include "files/localfilesystem.h"
#include "files/reasoncodes.h"
#include "run/batchrun.h"
#include "run/runwindow.h"
#include "settings/settingsstore.h"
#include "testenv.h"

#include <QDir>
#include <QDirIterator>
#include <QFile>
#include <QScopeGuard>
#include <QSet>
#include <QTemporaryDir>
#include <QTest>

using namespace kovaldi;

namespace {

// The six box texts: target, header, footer, minimum, maximum, digit count.
using Inputs = QStringList;

class Fake : public RunWindow, public FileSystem, public SettingsStore
{
public:
    explicit Fake(Inputs inputs) : in(std::move(inputs)) {}

    Inputs in;
    mutable QStringList log;
    QSet<QString> folders;
    QHash<QString, FailureReason> refused; // paths that fail with their reason
    bool answerYes = true;
    bool writable = true;
    QChar separator = u'\\'; // the design's; realRun makes folders with the machine's
    int stopDuring = 0; // the creation, from 1, during which Stop is pressed
    int creations = 0;
    bool stopPressed = false;
    int stopQuestions = 0;
    RunFigures figures;
    RunResult told;

    QString TargetFolderText() const override { return in[0]; }
    QString HeaderText() const override { return in[1]; }
    QString FooterText() const override { return in[2]; }
    QString MinimumText() const override { return in[3]; }
    QString MaximumText() const override { return in[4]; }
    QString DigitCountText() const override { return in[5]; }
    void SetStatus(const QString& text) override { log << "status " + text; }
    void SetProgress(float value) override { log << "progress " + QString::number(value); }
    bool Ask(const QString& text) override { return Note("ask " + text, answerYes); }
    bool Confirm(const QString& question, const RunFigures& given) override
    {
        figures = given;
        return Ask(question);
    }
    void Tell(const QString& text, MessageKind kind) override
    {
        log << "tell " + QStringList{"warning", "question", "information", "error"}[int(kind)] +
                   " " + text;
    }
    void TellOutcome(const QString& text, MessageKind kind, const RunResult& result) override
    {
        told = result;
        Tell(text, kind);
    }
    bool StopRequested() override
    {
        ++stopQuestions;
        return stopPressed;
    }
    void LockInputs() override { log << "lock"; }
    void UnlockInputs() override { log << "unlock"; }
    void PumpEvents() override { log << "pump"; }

    bool FolderExists(const QString& path) const override
    {
        return Note("exists " + path, folders.contains(path));
    }
    EntryKind KindOf(const QString& path) const override
    {
        return folders.contains(path) ? EntryKind::Folder : EntryKind::Nothing;
    }
    CreateResult CreateFolder(const QString& path) override
    {
        log << "create " + path;
        stopPressed = stopPressed || ++creations == stopDuring;
        if (folders.contains(path))
            return {false, FailureReason::ExistsAsFolder, {}};
        if (refused.contains(path))
            return {false, refused[path], QStringLiteral("text of ") + path};
        folders.insert(path);
        return {true, {}, {}};
    }
    bool SaveSettings(const QString& application, const QString& section,
                      const SettingsEntries& entries) override
    {
        for (const auto& [key, value] : entries)
            log << QStringLiteral("save %1/%2/%3=%4").arg(application, section, key, value);
        return writable;
    }
    QChar Separator() const override { return separator; }

    // Runs with this fake as window and settings store, and as file system unless given one.
    void Run(FileSystem* fileSystem = nullptr)
    {
        RunOptions options;
        options.journalFolder.clear();
        RunBatch(*this, fileSystem ? *fileSystem : *this, *this, options);
    }
    QStringList Only(const QString& prefix) const
    {
        QStringList lines;
        for (const QString& line : log)
            if (line.startsWith(prefix))
                lines << line.mid(prefix.size());
        return lines;
    }
    bool Note(const QString& line, bool result) const
    {
        log << line;
        return result;
    }
    QStringList Saves() const
    {
        QStringList saves;
        for (const StoredInput& input : kStoredInputs)
            saves << QStringLiteral("save Kovaldi/Config/%1=%2").arg(input.key, in[saves.size()]);
        return saves;
    }
};

const QString kCreating = QStringLiteral(" 作成中・・・");
const QString kAsk = QStringLiteral("ask フォルダ作成の一括処理を行います。");
const QString kDone = QStringLiteral("information 完了！");
const QString kSome =
    QStringLiteral("information 完了！（一部作成できなかったフォルダがあります）");
const QString kFailed = QStringLiteral("error フォルダの作成に失敗しました。");
const QString kMissing = QStringLiteral("warning 指定したパスが見つかりません。");
const QString kStopped = QStringLiteral("information 中止しました。");

} // namespace

class BatchRunTest : public QObject
{
    Q_OBJECT
private slots:
    // Refused or declined: one message at most; nothing locked, made or stored.
    void refusedOrDeclined_data()
    {
        QTest::addColumn<Inputs>("inputs");
        QTest::addColumn<bool>("targetExists");
        QTest::addColumn<bool>("answerYes");
        QTest::addColumn<QStringList>("log");

        const QString empty = "tell warning パスを入力してください。";
        const QString order = "tell warning 最小値は最大値より小さい値にしてください。";
        QTest::newRow("empty target")
            << Inputs{"", "", "", "1", "10", "2"} << true << true << QStringList{empty};
        QTest::newRow("empty target and min above max: only the first")
            << Inputs{"", "", "", "6", "5", "2"} << true << true << QStringList{empty};
        QTest::newRow("missing target and min above max: only the second")
            << Inputs{"/w", "", "", "6", "5", "2"} << false << true << QStringList{order};
        QTest::newRow("blank target is not empty")
            << Inputs{"  ", "", "", "1", "10", "2"} << false << true
            << QStringList{"exists   \\", "tell " + kMissing};
        QTest::newRow("declined") << Inputs{"/w", "", "", "1", "10", "2"} << true << false
                                  << QStringList{"exists /w\\", kAsk};
        // Texts that the boxes' normalisation never lets through.
        const char* numbers[][2] = {
            {"abc", "10"}, {"nan", "1"}, {"1", "inf"}, {"1", "2147483648"}, {"-2147483649", "1"}};
        for (const auto& [min, max] : numbers)
            QTest::addRow("min %s, max %s", min, max)
                << Inputs{"/w", "", "", min, max, "2"} << true << true << QStringList{order};
    }
    void refusedOrDeclined()
    {
        QFETCH(Inputs, inputs);
        Fake fake(inputs);
        QFETCH(bool, answerYes);
        QFETCH(bool, targetExists);
        fake.answerYes = answerYes;
        if (targetExists)
            fake.folders.insert(inputs[0] + "\\");
        fake.Run();
        QTEST(fake.log, "log");
    }

    // Call by call: the status before each creation, then the share of the folders done.
    void stepByStep_data()
    {
        QTest::addColumn<QString>("max");
        QTest::addColumn<QStringList>("progress");
        QTest::newRow("three folders") << "3" << QStringList{"0", "50", "100"};
        QTest::newRow("one folder: the bar is left alone") << "1" << QStringList{""};
    }
    void stepByStep()
    {
        QFETCH(QString, max);
        QFETCH(QStringList, progress);
        Fake fake({"C:\\work", "img", "_a", "1", max, "3"});
        fake.folders.insert("C:\\work\\");
        fake.Run();
        QStringList expected{"exists C:\\work\\", kAsk, "lock"};
        for (int i = 1; i <= max.toInt(); ++i) {
            const QString name = QStringLiteral("img00%1_a").arg(i);
            expected << "status " + name + kCreating << "pump"
                     << "create C:\\work\\" + name;
            if (!progress[i - 1].isEmpty())
                expected << "progress " + progress[i - 1];
            expected << "pump";
        }
        QCOMPARE(fake.log, expected << "tell " + kDone << "unlock" << fake.Saves());
        QCOMPARE(QStringList({fake.figures.firstName, fake.figures.lastName}),
                 QStringList({"img001_a", "img00" + max + "_a"}));
    }

    // Every number is tried whatever fails, and the settings are stored after every outcome.
    void confirmed_data()
    {
        QTest::addColumn<Inputs>("inputs");
        QTest::addColumn<QStringList>("existing"); // besides the base folder "/w\\"
        QTest::addColumn<bool>("writable");
        QTest::addColumn<QStringList>("paths");
        QTest::addColumn<QString>("message");

        const Inputs f3{"/w", "f", "", "1", "3", "0"};
        const QStringList made{"/w\\f1", "/w\\f2", "/w\\f3"};
        QTest::newRow("all made") << f3 << QStringList{} << true << made << kDone;
        QTest::newRow("only the middle exists: one failure")
            << f3 << QStringList{made[1]} << true << made << kSome;
        QTest::newRow("all but the middle exist")
            << f3 << QStringList{made[0], made[2]} << true << made << kSome;
        QTest::newRow("all exist") << f3 << made << true << made << kFailed;
        QTest::newRow("settings cannot be written")
            << f3 << QStringList{} << false << made << kDone;

        const auto row = [](const char* name, const Inputs& inputs, const QStringList& paths) {
            QTest::newRow(name) << inputs << QStringList{} << true << paths << kDone;
        };
        row("target with a trailing backslash", {"/w\\", "i", "_a", "1", "2", "3"},
            {"/w\\i001_a", "/w\\i002_a"});
        row("negative numbers", {"/w", "h", "", "-2", "1", "2"},
            {"/w\\h-02", "/w\\h-01", "/w\\h00", "/w\\h01"});
        row("negative digit count", {"/w", "", "", "-1", "0", "-5"}, {"/w\\-1", "/w\\0"});
        row("digit count not a number: none", {"/w", "", "", "9", "10", "x"}, {"/w\\9", "/w\\10"});
        row("fractions rounded down", {"/w", "", "", "-0.5", "1.9", "2.7"},
            {"/w\\-01", "/w\\00", "/w\\01"});
        row("top of the 32-bit numbers", {"/w", "", "", "2147483647", "2147483647", "0"},
            {"/w\\2147483647"});
        row("wild digit count held at the longest name", {"/w", "", "", "1", "1", "2147483647"},
            {"/w\\" + QString(255, QLatin1Char('0')) + "1"});
    }
    void confirmed()
    {
        QFETCH(Inputs, inputs);
        QFETCH(QStringList, existing);
        QFETCH(bool, writable);
        QFETCH(QString, message);
        Fake fake(inputs);
        fake.writable = writable;
        fake.folders = QSet<QString>(existing.begin(), existing.end()) << "/w\\";
        fake.Run();
        QTEST(fake.Only("create "), "paths");
        QCOMPARE(fake.log.mid(fake.log.size() - 8), QStringList({"tell " + message, "unlock"})
                                                        << fake.Saves());
    }

    // A stop takes effect once the folder being made is made: one outcome, the six inputs
    // stored as after any run. Nothing is left to stop during the last folder.
    void stop_data()
    {
        QTest::addColumn<int>("folders");
        QTest::addColumn<int>("stopDuring");
        QTest::addColumn<QStringList>("existing"); // names taken before the run
        QTest::addColumn<int>("made");
        QTest::addColumn<int>("failed");
        QTest::addColumn<QString>("message");

        QTest::newRow("during the second of five") << 5 << 2 << QStringList{} << 2 << 0 << kStopped;
        QTest::newRow("during the first") << 5 << 1 << QStringList{} << 1 << 0 << kStopped;
        QTest::newRow("after a failure") << 5 << 3 << QStringList{"f1", "f3"} << 1 << 2 << kStopped;
        QTest::newRow("during the last") << 5 << 5 << QStringList{} << 5 << 0 << kDone;
        QTest::newRow("during the only one") << 1 << 1 << QStringList{} << 1 << 0 << kDone;
        QTest::newRow("never") << 3 << 0 << QStringList{"f2"} << 2 << 1 << kSome;
    }
    void stop()
    {
        QFETCH(int, folders);
        QFETCH(int, stopDuring);
        QFETCH(QStringList, existing);
        QFETCH(int, made);
        QFETCH(int, failed);
        Fake fake({"/w", "f", "", "1", QString::number(folders), "0"});
        fake.folders << "/w\\";
        for (const QString& name : existing)
            fake.folders << "/w\\" + name;
        fake.stopDuring = stopDuring;
        fake.Run();

        QFETCH(QString, message);
        QCOMPARE(fake.Only("create ").size(), made + failed);
        QCOMPARE(fake.log.mid(fake.log.size() - 8), QStringList({"tell " + message, "unlock"})
                                                        << fake.Saves());
        QCOMPARE(fake.Only("tell "), QStringList{message});
        QCOMPARE(fake.told.made, made);
        QCOMPARE(fake.told.Failed(), failed);
        QCOMPARE(fake.told.Remaining(), folders - made - failed);
        QCOMPARE(fake.told.stopped, fake.told.Remaining() > 0);
        QCOMPARE(fake.stopQuestions, qMin(made + failed, folders - 1));
        QCOMPARE(fake.told.record.NamesInOrderMade().size(), made);
    }

    // Failures are grouped by reason (other errors also by the system's text), in the order
    // they first came up; the outcome still goes by their number alone.
    void failuresByReason()
    {
        Fake fake({"/w", "f", "", "1", "7", "0"});
        fake.folders << "/w\\"
                     << "/w\\f1"
                     << "/w\\f4";
        fake.refused = {{"/w\\f2", FailureReason::AccessRefused},
                        {"/w\\f5", FailureReason::Other},
                        {"/w\\f6", FailureReason::AccessRefused}};
        fake.Run();
        QCOMPARE(fake.Only("tell "), QStringList{kSome});
        QStringList groups;
        for (const FailureLog::Group& group : fake.told.failures.Groups())
            groups << QStringLiteral("%1 %2 [%3] %4")
                          .arg(ReasonCode(group.reason))
                          .arg(group.count)
                          .arg(group.names.join(','), group.systemText);
        QCOMPARE(groups, QStringList({"exists-as-folder 2 [f1,f4] ", "access-refused 2 [f2,f6] ",
                                      "other 1 [f5] text of /w\\f5"}));
        QCOMPARE(fake.told.made, 2);
        QCOMPARE(fake.told.record.NamesInOrderMade(), QStringList({"f3", "f7"}));
    }

    // However many fail, about a thousand names are kept, and every reason keeps its first.
    void failureNamesCapped_data()
    {
        QTest::addColumn<QList<int>>("perReason"); // failures of reasons 0, 1, ... in turn
        QTest::addColumn<QList<int>>("kept");
        QTest::newRow("few") << QList<int>{3, 4} << QList<int>{3, 4};
        QTest::newRow("one reason, many") << QList<int>{5000} << QList<int>{1000};
        QTest::newRow("a late reason keeps its first ten")
            << QList<int>{1500, 30, 2} << QList<int>{1000, 10, 2};
    }
    void failureNamesCapped()
    {
        QFETCH(QList<int>, perReason);
        FailureLog log;
        for (int reason = 0; reason < perReason.size(); ++reason)
            for (int i = 0; i < perReason[reason]; ++i)
                log.Add(QString::number(i), {false, FailureReason(reason), {}});
        QList<int> kept;
        for (const FailureLog::Group& group : log.Groups())
            kept << int(group.names.size());
        QTEST(kept, "kept");
        QCOMPARE(log.NamesKept() + log.NamesLeftOut(), log.Total());
    }

    // The same run against the machine's file system; "@" is the temporary folder, which is
    // also the current one.
    void realRun_data()
    {
        QTest::addColumn<Inputs>("inputs");
        QTest::addColumn<QStringList>("prepared"); // folders made before; "file:" a file
        QTest::addColumn<QStringList>("expected"); // entries afterwards, relative
        QTest::addColumn<QString>("message");

        QTest::newRow("three folders") << Inputs{"@", "img", "_a", "1", "3", "3"} << QStringList{}
                                       << QStringList{"img001_a", "img002_a", "img003_a"} << kDone;
        QTest::newRow("relative target")
            << Inputs{"sub", "r", "", "1", "2", "1"} << QStringList{"sub"}
            << QStringList{"sub", "sub/r1", "sub/r2"} << kDone;
        QTest::newRow("names taken by a folder and a file")
            << Inputs{"@", "s", "", "1", "3", "1"} << QStringList{"s1", "file:s3"}
            << QStringList{"s1", "s2", "s3"} << kSome;
        const QString nested = QStringLiteral("a") + QDir::separator() + "b";
        QTest::newRow("separator in the header, intermediate folder missing")
            << Inputs{"@", nested, "", "1", "2", "1"} << QStringList{} << QStringList{} << kFailed;
        QTest::newRow("separator in the header, intermediate folder present")
            << Inputs{"@", nested, "", "1", "2", "1"} << QStringList{"a"}
            << QStringList{"a", "a/b1", "a/b2"} << kDone;
#if !defined(Q_OS_WIN)
        // Here "\" is an ordinary character of a name, in the target as in the header.
        QTest::newRow("backslash in the target's name, its parts a folder too")
            << Inputs{"@/t\\b", "w", "", "1", "2", "1"} << QStringList{"t\\b", "t", "t/b"}
            << QStringList{"t", "t/b", "t\\b", "t\\b/w1", "t\\b/w2"} << kDone;
        QTest::newRow("backslash in the header names no parent")
            << Inputs{"@", "..\\x", "", "1", "1", "1"} << QStringList{} << QStringList{"..\\x1"}
            << kDone;
#endif
        // The header alone is as long as a name can be: the number takes each past it.
        QTest::newRow("names past the longest the file system takes")
            << Inputs{"@", test::LongestFolderName(u'あ'), "", "1", "2", "0"} << QStringList{}
            << QStringList{} << kFailed;
    }
    void realRun()
    {
        QFETCH(Inputs, inputs);
        QFETCH(QStringList, prepared);
        QFETCH(QStringList, expected);
        QFETCH(QString, message);
        QTemporaryDir dir;
        const QString previous = QDir::currentPath();
        QVERIFY(dir.isValid() && QDir::setCurrent(dir.path()));
        auto restore = qScopeGuard([&] { QDir::setCurrent(previous); });
        for (const QString& entry : prepared) {
            QFile file(entry.mid(5));
            QVERIFY(entry.startsWith("file:") ? file.open(QIODevice::WriteOnly)
                                              : QDir().mkdir(entry));
        }
        inputs[0].replace("@", dir.path());

        Fake fake(inputs);
        LocalFileSystem fileSystem;
        fake.Run(&fileSystem);
        QCOMPARE(fake.Only("tell "), QStringList{message});
        QStringList found;
        QDirIterator it(".", QDir::AllEntries | QDir::Hidden | QDir::NoDotAndDotDot,
                        QDirIterator::Subdirectories);
        while (it.hasNext())
            found << QDir().relativeFilePath(it.next());
        found.sort();
        expected.sort();
        QCOMPARE(found, expected);
    }
};

QTEST_GUILESS_MAIN(BatchRunTest)
#include "batchrun_test.moc"
