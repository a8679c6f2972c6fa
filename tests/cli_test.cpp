// kovaldi-cli as a user or a script runs it: the real program as a child process, real
// folders in a temporary folder, its own settings file, journal and home folder.
#include "files/localfilesystem.h"
#include "files/nativename.h"
#include "journal/journallocation.h"
#include "journal/journalreader.h"

#include <QDir>
#include <QDirIterator>
#include <QFile>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QProcess>
#include <QTemporaryDir>
#include <QTest>
#include <memory>

#if !defined(Q_OS_WIN)
#include <csignal>
#include <sys/stat.h>
#include <unistd.h>
#endif

using kovaldi::JournalContents;
using kovaldi::ReadJournal;

namespace {

// Folders enough for a run to be cut short, and few enough to end soon if a stop is missed.
constexpr qint64 kLongRun = 300000;

struct Outcome
{
    int status = -1;
    QByteArray out;
    QByteArray err;

    QJsonObject Json() const { return QJsonDocument::fromJson(out).object(); }
};

QStringList Names(const QString& folder)
{
    QStringList names = QDir(folder).entryList(QDir::AllEntries | QDir::NoDotAndDotDot |
                                               QDir::Hidden | QDir::System);
    names.sort();
    return names;
}

// Every entry under folder at any depth, as paths from it, sorted.
QStringList Tree(const QString& folder)
{
    QStringList paths;
    QDirIterator it(folder, QDir::AllEntries | QDir::NoDotAndDotDot | QDir::Hidden,
                    QDirIterator::Subdirectories);
    while (it.hasNext())
        paths << QDir(folder).relativeFilePath(it.next());
    paths.sort();
    return paths;
}

} // namespace

class CliTest : public QObject
{
    Q_OBJECT

private slots:
    void init();
    void refused_data();
    void refused();
    void made_data();
    void made();
    void exitStatus_data();
    void exitStatus();
    void dryRun();
    void json();
    void escapedNames();
    void fromSettings();
    void commandLine_data();
    void commandLine();
    void outputError_data();
    void outputError();
    void stopBySignal_data();
    void stopBySignal();
    void undoAfterRun();
    void undoAfterKill();
    void undoWithoutJournal();
#if defined(Q_OS_LINUX)
    void exactNames_data();
    void exactNames();
    void journalRefused_data();
    void journalRefused();
#endif
    void twoRunsAtOnce();
    void japanese();
    void presets();
    void fromList_data();
    void fromList();
    void makesTree();
    void listRefused_data();
    void listRefused();
    void presetRefused_data();
    void presetRefused();

private:
    QString PresetsPath() const
    {
        return m_dir->filePath(QStringLiteral("config/Kovaldi/presets.json"));
    }
    QString Target() const
    {
        return m_dir->filePath(QStringLiteral("t"));
    }
    QString JournalFolder() const
    {
        return m_dir->filePath(QStringLiteral("state/Kovaldi"));
    }
    // The newest journal, or where earlier versions kept their one.
    QString JournalPath() const
    {
        return kovaldi::JournalsNewestFirst(JournalFolder())
            .value(0, JournalFolder() + QStringLiteral("/last-run.journal"));
    }
    void Prepare(QProcess& process, const QStringList& arguments,
                 const QString& locale = QStringLiteral("C.UTF-8")) const;
    Outcome Run(const QStringList& arguments,
                const QString& locale = QStringLiteral("C.UTF-8")) const;
    // Starts a run long enough to be cut short, and returns once its journal names folders.
    bool StartLongRun(QProcess& process) const;
    static Outcome Finish(QProcess& process);
    Outcome RunAsNobody(const QStringList& arguments) const;
    void MakeFile(const QString& path) const;

    std::unique_ptr<QTemporaryDir> m_dir;
};

void CliTest::init()
{
    m_dir = std::make_unique<QTemporaryDir>();
    QVERIFY(m_dir->isValid());
    for (const char* folder : {"t", "home", "config", "state"})
        QVERIFY(QDir(m_dir->path()).mkdir(QLatin1String(folder)));
}

void CliTest::Prepare(QProcess& process, const QStringList& arguments, const QString& locale) const
{
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    environment.insert(QStringLiteral("HOME"), m_dir->filePath(QStringLiteral("home")));
    environment.insert(QStringLiteral("XDG_CONFIG_HOME"),
                       m_dir->filePath(QStringLiteral("config")));
    environment.insert(QStringLiteral("XDG_STATE_HOME"), m_dir->filePath(QStringLiteral("state")));
    environment.insert(QStringLiteral("LC_ALL"), locale);
    environment.remove(QStringLiteral("LANGUAGE"));
    process.setProcessEnvironment(environment);
    process.setWorkingDirectory(m_dir->path());
    process.setProgram(QStringLiteral(KOVALDI_CLI));
    process.setArguments(arguments);
}

Outcome CliTest::Finish(QProcess& process)
{
    Outcome outcome;
    if (!process.waitForFinished(120000)) {
        process.kill();
        process.waitForFinished(10000);
        qWarning("kovaldi-cli did not end within 120 s: killed");
        return outcome;
    }
    if (process.exitStatus() == QProcess::NormalExit)
        outcome.status = process.exitCode();
    outcome.out = process.readAllStandardOutput();
    outcome.err = process.readAllStandardError();
    return outcome;
}

Outcome CliTest::Run(const QStringList& arguments, const QString& locale) const
{
    QProcess process;
    Prepare(process, arguments, locale);
    process.start();
    return Finish(process);
}

bool CliTest::StartLongRun(QProcess& process) const
{
    Prepare(process, {QStringLiteral("--max"), QString::number(kLongRun), QStringLiteral("--json"),
                      Target()});
    process.start();
    const bool progressed = QTest::qWaitFor(
        [&] {
            return ReadJournal(JournalPath()).made.size() >= 20 ||
                   process.state() == QProcess::NotRunning;
        },
        60000);
    if (!progressed || process.state() == QProcess::NotRunning) {
        process.kill();
        process.waitForFinished(10000);
        return false;
    }
    return true;
}

void CliTest::MakeFile(const QString& path) const
{
    QFile file(path);
    QVERIFY(file.open(QIODevice::WriteOnly));
}

void CliTest::refused_data()
{
    QTest::addColumn<QStringList>("arguments");
    QTest::addColumn<QString>("error");
    const QString t = QStringLiteral("@");
    auto row = [&](const char* name, QStringList arguments, const char* error) {
        QTest::newRow(name) << arguments << QString::fromUtf8(error);
    };
    row("minimum not a number", {"--min", "abc", t}, "--min: \"abc\" is not a whole number");
    row("minimum with a fraction", {"--min", "1.5", t}, "--min: \"1.5\" is not a whole number");
    row("maximum of blanks", {"--max", " ", t}, "--max: \" \" is not a whole number");
    row("maximum past 32 bits", {"--max", "2147483648", t}, "from -2147483648 to 2147483647");
    row("minimum below 32 bits", {"--min", "-2147483649", t}, "from -2147483648 to 2147483647");
    row("hexadecimal", {"--max", "0x10", t}, "--max: \"0x10\"");
    row("digit count past 99", {"--digits", "100", t}, "from -9 to 99");
    row("digit count below -9", {"--digits", "-10", t}, "from -9 to 99");
    row("sub-folder leaving its folder", {"--subfolder", "a/../b", t}, "サブフォルダの 1 行目");
    row("absolute sub-folder", {"--subfolder", "a", "--subfolder", "/b", t},
        "サブフォルダの 2 行目");
    row("sub-folder name too long", {"--subfolder", QString(300, u'x'), t},
        "サブフォルダの 1 行目");
    row("sub-folders from a missing folder", {"--subfolders-from", t + "/none", t}, "フォルダ「");
    row("digit count with a fraction", {"--digits", "2.5", t}, "--digits: \"2.5\"");
    row("step of 0", {"--step", "0", t}, "--step: \"0\" is not a whole number from 1");
    row("negative step", {"--step", "-1", t}, "--step: \"-1\"");
    row("maximum below minimum", {"--min", "6", "--max", "5", t},
        "the maximum (5) is below the minimum (6)");
    row("no target", {}, "no target folder given");
    row("empty target", {""}, "no target folder given");
    row("missing target", {"@/missing"}, "the target folder does not exist: ");
    row("target is a file", {"@/file"}, "the target is not a folder: ");
    row("two targets", {t, t}, "one target folder only");
    row("unknown option", {"--bogus", t}, "Unknown option 'bogus'.");
    row("value missing", {t, "--min"}, "Missing value after '--min'.");
    row("unreadable settings", {"--from-settings", t}, "the stored settings cannot be read");
    row("undo with an argument", {"undo", "x"}, "undo takes no arguments");
    row("a header climbing out of the target", {"--header", "../x", t},
        "a \"..\" in the header or the footer");
    row("a footer climbing out of the target", {"--footer", "x/../../y", t},
        "a \"..\" in the header or the footer");
    row("maximum a hair above a whole number", {"--max", "1.0000000000000001", t},
        "--max: \"1.0000000000000001\" is not a whole number");
    row("minimum a hair below 32 bits", {"--min", "-2147483648.0000001", t},
        "--min: \"-2147483648.0000001\" is not a whole number");
    row("option undo does not take", {"--max=3", "undo"}, "Unknown option 'max'.");
    row("unknown option with controls", {QString::fromUtf8("--\x1b[2J\u0085"), t},
        "Unknown option '\\x1B[2J\\u{0085}'.");
}

void CliTest::refused()
{
    QFETCH(QStringList, arguments);
    QFETCH(QString, error);
    MakeFile(m_dir->filePath(QStringLiteral("file")));
    // A folder where the settings file belongs cannot be read as one.
    QVERIFY(QDir().mkpath(m_dir->filePath(QStringLiteral("config/Kovaldi/Kovaldi.conf"))));
    for (QString& argument : arguments)
        argument.replace(QLatin1Char('@'), m_dir->path());

    const Outcome outcome = Run(arguments);
    QCOMPARE(outcome.status, 64);
    QVERIFY2(outcome.err.startsWith("kovaldi-cli: ") && outcome.err.count('\n') == 1 &&
                 outcome.err.endsWith('\n'),
             outcome.err.constData());
    QVERIFY2(QString::fromUtf8(outcome.err).contains(error), outcome.err.constData());
    QCOMPARE(outcome.out, QByteArray());
    QCOMPARE(Names(Target()), QStringList());
    QVERIFY(!QFile::exists(JournalPath()));
}

void CliTest::made_data()
{
    QTest::addColumn<QStringList>("arguments");
    QTest::addColumn<QStringList>("names");
    auto row = [](const char* name, const QStringList& arguments, const QStringList& names) {
        QTest::newRow(name) << arguments << names;
    };
    row("defaults of the window's first start", {},
        {"01", "02", "03", "04", "05", "06", "07", "08", "09", "10"});
    row("header and footer", {"--header", "img", "--footer", "_a", "--max", "2", "--digits", "3"},
        {"img001_a", "img002_a"});
    row("sign before the zeros", {"--min", "-5", "--max", "-4", "--digits", "3"}, {"-004", "-005"});
    row("longer numbers kept whole", {"--min", "1234", "--max", "1234", "--digits", "2"}, {"1234"});
    row("no padding at 0", {"--min", "7", "--max", "7", "--digits", "0"}, {"7"});
    row("no padding below 0", {"--min", "-5", "--max", "-5", "--digits", "-3"}, {"-5"});
    row("step", {"--max", "10", "--step", "4"}, {"01", "05", "09"});
    row("blanks, sign, exponent: whole numbers", {"--min", " +7 ", "--max", "0.8e1"}, {"07", "08"});
    row("edges of 32 bits", {"--min", "2147483646", "--max", "2147483647", "--digits", "0"},
        {"2147483646", "2147483647"});
    row("lowest number", {"--min", "-2147483648", "--max", "-2147483648", "--digits", "12"},
        {"-002147483648"});
    row("full-width digits and signs", {"--min", "－１", "--max", "＋１", "--digits", "１"},
        {"-1", "0", "1"});
}

void CliTest::made()
{
    QFETCH(QStringList, arguments);
    QFETCH(QStringList, names);
    const Outcome outcome = Run(arguments << Target());
    QCOMPARE(outcome.status, 0);
    QCOMPARE(Names(Target()), names);
    QCOMPARE(outcome.out, QByteArray());
    QVERIFY2(outcome.err.startsWith(
                 QStringLiteral("Made %1 of %1 folders in ").arg(names.size()).toUtf8()),
             outcome.err.constData());

    const JournalContents journal = ReadJournal(JournalPath());
    QCOMPARE(journal.status, JournalContents::Status::Read);
    QVERIFY(journal.ended && !journal.stopped);
    QStringList made = journal.made;
    made.sort();
    QCOMPARE(made, names);
}

void CliTest::exitStatus_data()
{
    QTest::addColumn<QStringList>("existing");
    QTest::addColumn<int>("status");
    QTest::addColumn<QString>("report");
    QTest::newRow("all made") << QStringList{} << 0 << "Made 3 of 3";
    QTest::newRow("one exists") << QStringList{"02"} << 1
                                << "Made 2 of 3 folders in @.\nNot made: 1\n"
                                   "  exists already as a folder: 1\n";
    QTest::newRow("all exist, one as a file")
        << QStringList{"01", "02", "file:03"} << 2
        << "Not made: 3\n  exists already as a folder: 2\n  a file of that name exists: 1\n";
}

void CliTest::exitStatus()
{
    QFETCH(QStringList, existing);
    QFETCH(int, status);
    QFETCH(QString, report);
    for (const QString& name : existing) {
        if (name.startsWith(QLatin1String("file:")))
            MakeFile(Target() + QLatin1Char('/') + name.mid(5));
        else
            QVERIFY(QDir(Target()).mkdir(name));
    }
    const Outcome outcome = Run({QStringLiteral("--max"), QStringLiteral("3"), Target()});
    QCOMPARE(outcome.status, status);
    report.replace(QLatin1Char('@'), QDir(Target()).canonicalPath());
    QVERIFY2(QString::fromUtf8(outcome.err).contains(report), outcome.err.constData());
    QCOMPARE(Names(Target()), (QStringList{"01", "02", "03"}));
}

void CliTest::dryRun()
{
    QVERIFY(QDir(Target()).mkdir(QStringLiteral("02")));
    MakeFile(Target() + QStringLiteral("/03"));
    const QByteArray journal("kovaldi-journal 1\n");
    {
        QVERIFY(QDir().mkpath(QFileInfo(JournalPath()).path()));
        QFile file(JournalPath());
        QVERIFY(file.open(QIODevice::WriteOnly));
        file.write(journal);
    }

    const Outcome outcome = Run({QStringLiteral("-n"), QStringLiteral("--max=4"), Target()});
    QCOMPARE(outcome.status, 0);
    QCOMPARE(outcome.out, QByteArray("new              01\n"
                                     "exists-as-folder 02\n"
                                     "exists-as-file   03\n"
                                     "new              04\n"));
    QVERIFY2(outcome.err.endsWith("4 folders, 2 new, 1 exist as folders, 1 exist as files; "
                                  "nothing made.\n"),
             outcome.err.constData());
    QCOMPARE(Names(Target()), (QStringList{"02", "03"}));
    QFile file(JournalPath());
    QVERIFY(file.open(QIODevice::ReadOnly));
    QCOMPARE(file.readAll(), journal);

    const Outcome quiet = Run({QStringLiteral("-nq"), QStringLiteral("--max=1"), Target()});
    QCOMPARE(quiet.out, QByteArray("new              01\n"));
    QCOMPARE(quiet.err, QByteArray());
}

void CliTest::json()
{
    QVERIFY(QDir(Target()).mkdir(QStringLiteral("b2")));
    const QStringList inputs{QStringLiteral("--header=b"), QStringLiteral("--max=3"),
                             QStringLiteral("--digits=1"), QStringLiteral("--json"), Target()};

    const QJsonObject dry = Run(QStringList{QStringLiteral("--dry-run")} + inputs).Json();
    QCOMPARE(dry.value("dryRun"), QJsonValue(true));
    QCOMPARE(dry.value("names").toArray().size(), 3);
    QCOMPARE(dry.value("names")[1].toObject(),
             (QJsonObject{{"name", "b2"}, {"state", "exists-as-folder"}}));
    QCOMPARE(dry.value("counts").toObject(),
             (QJsonObject{{"total", 3}, {"new", 2}, {"existsAsFolder", 1}, {"existsAsFile", 0}}));

    const Outcome outcome = Run(inputs);
    QCOMPARE(outcome.status, 1);
    QCOMPARE(outcome.err, QByteArray());
    const QJsonObject report = outcome.Json();
    QCOMPARE(report.value("command"), QJsonValue("make"));
    QCOMPARE(report.value("dryRun"), QJsonValue(false));
    QCOMPARE(report.value("inputs").toObject(), (QJsonObject{{"target", Target()},
                                                             {"header", "b"},
                                                             {"footer", ""},
                                                             {"min", 1},
                                                             {"max", 3},
                                                             {"digits", 1},
                                                             {"step", 1},
                                                             {"fromSettings", false}}));
    QCOMPARE(report.value("target"), QJsonValue(QDir(Target()).canonicalPath()));
    QCOMPARE(report.value("counts").toObject(),
             (QJsonObject{{"total", 3},
                          {"made", 2},
                          {"failed", 1},
                          {"notTried", 0},
                          {"failedByReason", QJsonObject{{"exists-as-folder", 1}}}}));
    QCOMPARE(report.value("failures").toArray(),
             (QJsonArray{QJsonObject{{"name", "b2"},
                                     {"reason", "exists-as-folder"},
                                     {"text", "exists already as a folder"}}}));
    QCOMPARE(report.value("failuresLeftOut"), QJsonValue(0));
    QCOMPARE(report.value("stopped"), QJsonValue(false));
    QCOMPARE(report.value("journal"), QJsonValue(JournalPath()));
    QCOMPARE(report.value("exitStatus"), QJsonValue(1));
}

void CliTest::escapedNames()
{
    const QString header = QStringLiteral("a\nb\x1b[2J\\\u202e\t");
    const Outcome dry = Run({QStringLiteral("-n"), QStringLiteral("--max=1"),
                             QStringLiteral("--header"), header, Target()});
    QCOMPARE(dry.out, QByteArray("new              a\\nb\\x1B[2J\\\\\\u{202E}\\t01\n"));

    const Outcome made = Run({QStringLiteral("--json"), QStringLiteral("--max=1"),
                              QStringLiteral("--header"), header, Target()});
    QCOMPARE(made.status, 0);
    QCOMPARE(made.Json().value("inputs")[QStringLiteral("header")], QJsonValue(header));
    QCOMPARE(Names(Target()), QStringList{header + QStringLiteral("01")});

#if !defined(Q_OS_WIN)
    // Bytes that are not UTF-8 reach the program only as the shell hands them on.
    QProcess shell;
    Prepare(shell, {QStringLiteral("-c"),
                    QStringLiteral("for o in -n '' -n; do \"$0\" $o --max 1 --header \"$(printf "
                                   "'x\\377\\300y')\" \"$1\" || exit; done"),
                    QStringLiteral(KOVALDI_CLI), Target()});
    shell.setProgram(QStringLiteral("/bin/sh"));
    shell.start();
    const Outcome raw = Finish(shell);
    QCOMPARE(raw.status, 0);
    QCOMPARE(raw.out, QByteArray("new              x\\xFF\\xC0y01\n"
                                 "exists-as-folder x\\xFF\\xC0y01\n"));
    struct stat status;
    QVERIFY(::stat(QFile::encodeName(Target()) + "/x\377\300y01", &status) == 0 &&
            S_ISDIR(status.st_mode));
    // Undo reaches it by the same bytes.
    QCOMPARE(Run({QStringLiteral("undo")}).status, 0);
    QCOMPARE(Names(Target()), QStringList{header + QStringLiteral("01")});
#endif
}

void CliTest::fromSettings()
{
    QVERIFY(QDir().mkpath(m_dir->filePath(QStringLiteral("config/Kovaldi"))));
    QVERIFY(QDir().mkpath(m_dir->filePath(QStringLiteral("home/photos"))));
    QFile settings(m_dir->filePath(QStringLiteral("config/Kovaldi/Kovaldi.conf")));
    QVERIFY(settings.open(QIODevice::WriteOnly));
    settings.write("[Config]\nLastPath=~/photos\nHeader=img\nFooter=_a\nMin=8\nMax=12\nBeam=3\n");
    settings.close();

    const Outcome stored = Run({QStringLiteral("--from-settings"), QStringLiteral("--max=9")});
    QCOMPARE(stored.status, 0);
    QCOMPARE(Names(m_dir->filePath(QStringLiteral("home/photos"))),
             (QStringList{"img008_a", "img009_a"}));

    // The stored texts follow the same grammar; a target given overrides the stored one.
    const Outcome overridden =
        Run({QStringLiteral("--from-settings"), QStringLiteral("--header="), Target()});
    QCOMPARE(overridden.status, 0);
    QCOMPARE(Names(Target()), (QStringList{"008_a", "009_a", "010_a", "011_a", "012_a"}));

    QVERIFY(settings.open(QIODevice::WriteOnly));
    settings.write("[Config]\nMin=1.5\n");
    settings.close();
    const Outcome wrong = Run({QStringLiteral("--from-settings"), Target()});
    QCOMPARE(wrong.status, 64);
    QVERIFY2(wrong.err.contains("stored Min: \"1.5\" is not a whole number"),
             wrong.err.constData());

    // A list is numbered as the window numbered its list; the options given override it.
    QVERIFY(settings.open(QIODevice::WriteOnly));
    settings.write("[Config]\nMin=3\nListNumbered=1\nListSeparator=-\n");
    settings.close();
    QFile list(m_dir->filePath(QStringLiteral("list.txt")));
    QVERIFY(list.open(QIODevice::WriteOnly) && list.write("a\n") == 2);
    list.close();
    const QString listed = m_dir->filePath(QStringLiteral("listed"));
    QVERIFY(QDir().mkpath(listed));
    const QStringList fromList{QStringLiteral("--from-settings"), QStringLiteral("--from-list"),
                               list.fileName()};
    QCOMPARE(Run(fromList + QStringList{listed}).status, 0);
    QCOMPARE(Run(fromList + QStringList{QStringLiteral("--separator=+"), listed}).status, 0);
    QCOMPARE(Names(listed), (QStringList{"03+a", "03-a"}));
}

void CliTest::commandLine_data()
{
    QTest::addColumn<QStringList>("arguments");
    QTest::addColumn<int>("status");
    QTest::addColumn<QString>("out"); // the start of standard output
    QTest::addColumn<QString>("err"); // a part of standard error
    QTest::addColumn<QStringList>("made");
    const QString t = QStringLiteral("@");
    auto row = [&](const char* name, QStringList arguments, int status, const char* out,
                   const char* err, QStringList made = {}) {
        QTest::newRow(name) << arguments << status << QString::fromUtf8(out)
                            << QString::fromUtf8(err) << made;
    };
    row("help all beside a target", {"--help-all", t}, 0, "Usage: kovaldi-cli [options] [TARGET]",
        "");
    row("help of undo, which runs nothing", {"undo", "--help-all"}, 0,
        "Usage: kovaldi-cli [options] undo", "");
    row("help beside a refused option", {"--bogus", "-h", t}, 0, "Usage: kovaldi-cli", "");
    row("version after a target", {t, "--version"}, 0, "kovaldi-cli 1.", "");
    row("undo after an option", {"-q", "undo"}, 66, "", "no last run to take back");
    row("undo after a value", {"--json", "undo"}, 66, "", "no last run to take back");
    row("header named undo", {"--header", "undo", "--max=1", t}, 0, "", "Made 1 of 1", {"undo01"});
    row("target named undo after --", {"--max=1", "--", "undo"}, 0, "", "Made 1 of 1");
}

void CliTest::commandLine()
{
    QFETCH(QStringList, arguments);
    QFETCH(int, status);
    QFETCH(QString, out);
    QFETCH(QString, err);
    QFETCH(QStringList, made);
    // A folder named as the sub-command, where a make would put its folders.
    const QString undo = m_dir->filePath(QStringLiteral("undo"));
    QVERIFY(QDir().mkdir(undo));
    for (QString& argument : arguments)
        argument.replace(QLatin1Char('@'), Target());

    const Outcome outcome = Run(arguments);
    QCOMPARE(outcome.status, status);
    QVERIFY2(out.isEmpty() || QString::fromUtf8(outcome.out).startsWith(out),
             outcome.out.constData());
    QVERIFY2(QString::fromUtf8(outcome.err).contains(err), outcome.err.constData());
    QCOMPARE(Names(Target()), made);
    QCOMPARE(Names(undo).size(), arguments.contains(QLatin1String("--")) ? 1 : 0);
    QCOMPARE(QFile::exists(JournalPath()), outcome.err.contains("Made"));
}

void CliTest::outputError_data()
{
    QTest::addColumn<QStringList>("arguments");
    QTest::addColumn<bool>("pipe"); // a pipe closed after the first line, or a full device
    QTest::addColumn<int>("made");
    QTest::newRow("report on a full device") << QStringList{"--json", "--max=3"} << false << 3;
    QTest::newRow("names on a full device") << QStringList{"-n", "--max=100000"} << false << 0;
    QTest::newRow("names into a closed pipe, SIGPIPE ignored")
        << QStringList{"-n", "--max=1000000"} << true << 0;
}

void CliTest::outputError()
{
#if defined(Q_OS_WIN)
    QSKIP("A full device and an ignored SIGPIPE are POSIX");
#else
    QFETCH(QStringList, arguments);
    QFETCH(bool, pipe);
    QFETCH(int, made);
    // Started through the shell, which can leave SIGPIPE ignored for the program and keep
    // its status when a pipe follows it.
    const QString status = m_dir->filePath(QStringLiteral("status"));
    QProcess process;
    Prepare(process,
            QStringList{QStringLiteral("-c"),
                        QStringLiteral("trap '' PIPE; { \"$0\" \"$@\"; echo $? >\"$STATUS\"; }") +
                            (pipe ? QStringLiteral(" | head -n 1 >/dev/null")
                                  : QStringLiteral(" >/dev/full")),
                        QStringLiteral(KOVALDI_CLI)} +
                arguments + QStringList{Target()});
    QProcessEnvironment environment = process.processEnvironment();
    environment.insert(QStringLiteral("STATUS"), status);
    process.setProcessEnvironment(environment);
    process.setProgram(QStringLiteral("/bin/sh"));
    process.start();
    Outcome outcome = Finish(process);
    QFile file(status);
    QVERIFY(file.open(QIODevice::ReadOnly));
    outcome.status = file.readAll().trimmed().toInt();
    QCOMPARE(outcome.status, 74);
    QVERIFY2(outcome.err.endsWith("kovaldi-cli: cannot write to standard output: " +
                                  QByteArray(pipe ? "Broken pipe\n" : "No space left on device\n")),
             outcome.err.constData());
    QCOMPARE(Names(Target()).size(), made);
#endif
}

void CliTest::stopBySignal_data()
{
    QTest::addColumn<int>("signal");
#if !defined(Q_OS_WIN)
    QTest::newRow("SIGINT") << int(SIGINT);
    QTest::newRow("SIGTERM") << int(SIGTERM);
#endif
}

void CliTest::stopBySignal()
{
#if defined(Q_OS_WIN)
    QSKIP("Console control events cannot be sent to a child without a console of its own here");
#else
    QFETCH(int, signal);
    QProcess process;
    QVERIFY(StartLongRun(process));
    // Held while the signal is sent, so that the run cannot end before it arrives.
    const auto pid = pid_t(process.processId());
    ::kill(pid, SIGSTOP);
    ::kill(pid, signal);
    ::kill(pid, SIGCONT);
    const Outcome outcome = Finish(process);
    QCOMPARE(outcome.status, 130);
    const QJsonObject report = outcome.Json();
    QCOMPARE(report.value("stopped"), QJsonValue(true));
    const qint64 made = report.value("counts")[QStringLiteral("made")].toInteger();
    QVERIFY(made >= 20);
    QCOMPARE(report.value("counts")[QStringLiteral("notTried")].toInteger(), kLongRun - made);

    const JournalContents journal = ReadJournal(JournalPath());
    QVERIFY(journal.ended && journal.stopped);
    QCOMPARE(journal.made.size(), made);
    QCOMPARE(Names(Target()).size(), made);
#endif
}

void CliTest::undoAfterRun()
{
    QCOMPARE(Run({QStringLiteral("--max=5"), Target()}).status, 0);
    MakeFile(Target() + QStringLiteral("/03/kept"));
    QVERIFY(QDir(Target()).rmdir(QStringLiteral("05")));

    const Outcome dry = Run({QStringLiteral("undo"), QStringLiteral("--dry-run")});
    QCOMPARE(dry.status, 0);
    QCOMPARE(dry.out, QByteArray("keep   05  (gone)\n"
                                 "remove 04\n"
                                 "keep   03  (not-empty)\n"
                                 "remove 02\n"
                                 "remove 01\n"));
    QCOMPARE(Names(Target()), (QStringList{"01", "02", "03", "04"}));

    const Outcome undo = Run({QStringLiteral("undo"), QStringLiteral("--json")});
    QCOMPARE(undo.status, 1);
    const QJsonObject report = undo.Json();
    QCOMPARE(report.value("counts")[QStringLiteral("removed")], QJsonValue(3));
    QCOMPARE(report.value("counts")[QStringLiteral("keptByReason")].toObject(),
             (QJsonObject{{"not-empty", 1}, {"gone", 1}}));
    QCOMPARE(Names(Target()), QStringList{"03"});

    // What was removed is not tried again; what was kept is.
    const Outcome again = Run({QStringLiteral("undo")});
    QCOMPARE(again.status, 2);
    QVERIFY2(again.err.startsWith("Removed 0 of 2 folders"), again.err.constData());
}

void CliTest::undoAfterKill()
{
    QProcess process;
    QVERIFY(StartLongRun(process));
    process.kill();
    QVERIFY(process.waitForFinished(30000));

    // Every folder the journal names exists; at most the last moments of folders are
    // missing from it, and those stay.
    const JournalContents journal = ReadJournal(JournalPath());
    QVERIFY(!journal.ended);
    const qsizetype before = Names(Target()).size();
    QVERIFY(journal.made.size() <= before);

    // Taken back as far as the journal goes, with a word about the folders after it.
    const Outcome undo = Run({QStringLiteral("undo")});
    QCOMPARE(undo.status, 1);
    QVERIFY2(undo.err.contains("may remain"), undo.err.constData());
    QCOMPARE(Names(Target()).size(), before - journal.made.size());
    for (const QString& name : journal.made)
        QVERIFY(!QFileInfo::exists(Target() + QLatin1Char('/') + name));
}

void CliTest::undoWithoutJournal()
{
    const Outcome outcome = Run({QStringLiteral("undo")});
    QCOMPARE(outcome.status, 66);
    QVERIFY2(outcome.err.startsWith("kovaldi-cli: no last run to take back"),
             outcome.err.constData());
}

void CliTest::japanese()
{
    const Outcome missing =
        Run({m_dir->filePath(QStringLiteral("missing"))}, QStringLiteral("ja_JP.UTF-8"));
    QCOMPARE(missing.status, 64);
    QVERIFY2(
        QString::fromUtf8(missing.err).contains(QStringLiteral("指定したパスが見つかりません")),
        missing.err.constData());

    const Outcome json = Run({QStringLiteral("--json"), QStringLiteral("--max=1"), Target()},
                             QStringLiteral("ja_JP.UTF-8"));
    QCOMPARE(json.status, 0);
    const Outcome again = Run({QStringLiteral("--json"), QStringLiteral("--max=1"), Target()},
                              QStringLiteral("ja_JP.UTF-8"));
    // Keys and reason codes stay; the text follows the language.
    QCOMPARE(again.Json().value("failures")[0].toObject(),
             (QJsonObject{{"name", "01"},
                          {"reason", "exists-as-folder"},
                          {"text", QStringLiteral("同名のフォルダが既にあります")}}));
}

#if defined(Q_OS_LINUX)
// The bytes of a name, as a shell's printf writes them from octal escapes, given to
// kovaldi-cli as its target: each row's target holds what a text conversion would lose,
// and a folder of the name it would become stands beside it with folders of the run's names.
void CliTest::exactNames_data()
{
    QTest::addColumn<QByteArray>("octal");
    QTest::addColumn<QByteArray>("bytes");
    QTest::addColumn<QString>("lookalike");
    QTest::newRow("a byte order mark")
        << QByteArray("t\\357\\273\\277x") << QByteArray("t\xef\xbb\xbfx") << QStringLiteral("tx");
    QTest::newRow("a byte that is not UTF-8")
        << QByteArray("t\\377x") << QByteArray("t\xffx") << QStringLiteral("t\uFFFDx");
}
void CliTest::exactNames()
{
    QFETCH(QByteArray, octal);
    QFETCH(QByteArray, bytes);
    QFETCH(QString, lookalike);
    const QString parent = m_dir->path();
    for (const char* name : {"01", "02", "03"})
        QVERIFY(QDir(parent).mkpath(lookalike + QLatin1Char('/') + QLatin1String(name)));
    QVERIFY(::mkdir((QFile::encodeName(parent) + '/' + bytes).constData(), 0777) == 0);
    const QString target = kovaldi::NameFromNative(QFile::encodeName(parent) + '/' + bytes);
    kovaldi::LocalFileSystem fileSystem;
    const auto count = [&] {
        int entries = 0;
        fileSystem.ListFolder(target,
                              [&](const QString&, kovaldi::EntryKind) { return ++entries; });
        return entries;
    };

    QProcess make;
    Prepare(make, {QStringLiteral("-c"),
                   QStringLiteral("exec \"$0\" --max 3 --json \"$(printf \"$1\")\""),
                   QStringLiteral(KOVALDI_CLI), QString::fromLatin1(octal)});
    make.setProgram(QStringLiteral("/bin/sh"));
    make.start();
    const Outcome made = Finish(make);
    QCOMPARE(made.status, 0);
    QCOMPARE(count(), 3);
    QCOMPARE(made.Json().value("target").toString(), target);

    QCOMPARE(Run({QStringLiteral("undo")}).status, 0);
    QCOMPARE(count(), 0);
    QCOMPARE(Names(parent + QLatin1Char('/') + lookalike), (QStringList{"01", "02", "03"}));
}

// Runs kovaldi-cli as an unprivileged user, in folders that user owns.
Outcome CliTest::RunAsNobody(const QStringList& arguments) const
{
    QProcess process;
    Prepare(process, QStringList{QStringLiteral("--reuid=65534"), QStringLiteral("--regid=65534"),
                                 QStringLiteral("--clear-groups"), QStringLiteral(KOVALDI_CLI)} +
                         arguments);
    process.setProgram(QStringLiteral("setpriv"));
    process.start();
    return Finish(process);
}

// A journal undo must not trust is refused, and nothing is removed: the checks of its
// folder and file, and what an unprivileged user meets.
void CliTest::journalRefused_data()
{
    QTest::addColumn<QString>("change");
    QTest::addColumn<int>("status");
    QTest::addColumn<QString>("error");
    QTest::newRow("another user's journal") << "chown journal" << 77 << "it is not yours";
    QTest::newRow("a journal others may write") << "chmod journal 0622" << 77 << "it is not yours";
    QTest::newRow("a journal folder others may write")
        << "chmod folder 0777" << 77 << "their folder is not yours";
    QTest::newRow("another user's journal folder")
        << "chown folder" << 77 << "their folder is not yours";
    QTest::newRow("a link as the newest journal")
        << "link journal" << 66 << "cannot be opened as a file";
    QTest::newRow("unreadable, for an unprivileged user")
        << "nobody: chmod journal 0000" << 77 << "access refused";
    QTest::newRow("superseded: the next run could not write its own")
        << "nobody: read-only folder" << 66 << "could not write its journal";
}
void CliTest::journalRefused()
{
    QFETCH(QString, change);
    if (::geteuid() != 0)
        QSKIP("needs root, to be another user and to give files away");
    const bool nobody = change.startsWith("nobody: ");
    const auto run = [&](const QStringList& arguments) {
        return nobody ? RunAsNobody(arguments) : Run(arguments);
    };
    if (nobody) {
        QVERIFY(::chmod(QFile::encodeName(m_dir->path()).constData(), 0755) == 0);
        for (const char* folder : {"t", "home", "config", "state"})
            QVERIFY(::chown(QFile::encodeName(m_dir->filePath(folder)).constData(), 65534, 65534) ==
                    0);
    }
    QCOMPARE(run({QStringLiteral("--max=3"), Target()}).status, 0);
    const QByteArray journal = QFile::encodeName(JournalPath());
    const QByteArray folder = QFile::encodeName(JournalFolder());
    if (change == "chown journal")
        QVERIFY(::chown(journal.constData(), 65534, 65534) == 0);
    else if (change == "chmod journal 0622")
        QVERIFY(::chmod(journal.constData(), 0622) == 0);
    else if (change == "chmod folder 0777")
        QVERIFY(::chmod(folder.constData(), 0777) == 0);
    else if (change == "chown folder")
        QVERIFY(::chown(folder.constData(), 65534, 65534) == 0);
    else if (change == "link journal")
        QVERIFY(::rename(journal.constData(), (journal + ".moved").constData()) == 0 &&
                ::symlink((journal + ".moved").constData(), journal.constData()) == 0);
    else if (change == "nobody: chmod journal 0000")
        QVERIFY(::chmod(journal.constData(), 0) == 0);
    else if (change == "nobody: read-only folder") {
        QVERIFY(::chmod(folder.constData(), 0500) == 0);
        const Outcome next = run({QStringLiteral("--min=4"), QStringLiteral("--max=5"), Target()});
        QCOMPARE(next.status, 0);
        QVERIFY2(next.err.contains("cannot take this run back"), next.err.constData());
    }

    const Outcome undo = run({QStringLiteral("undo")});
    QTEST(undo.status, "status");
    QFETCH(QString, error);
    QVERIFY2(QString::fromUtf8(undo.err).contains(error), undo.err.constData());
    QCOMPARE(Names(Target()).size(), change.contains("read-only") ? 5 : 3);
}
#endif

// Two runs at once each keep their own journal, and the report of each names its own;
// undo refuses the journal of a run still going.
void CliTest::twoRunsAtOnce()
{
    QProcess first;
    QVERIFY(StartLongRun(first));
    const QString firstJournal = JournalPath();

    const Outcome busy = Run({QStringLiteral("undo")});
    QCOMPARE(busy.status, 75);
    QVERIFY2(busy.err.contains("still writing the journal"), busy.err.constData());

    const QString second = m_dir->filePath(QStringLiteral("second"));
    QVERIFY(QDir().mkdir(second));
    const Outcome other = Run({QStringLiteral("--max=3"), QStringLiteral("--json"), second});
    QCOMPARE(other.status, 0);
    const QString otherJournal = other.Json().value("journal").toString();
    QCOMPARE(ReadJournal(otherJournal).made, (QStringList{"01", "02", "03"}));

    first.terminate();
    const Outcome stopped = Finish(first);
    QCOMPARE(stopped.status, 130);
    QCOMPARE(stopped.Json().value("journal").toString(), firstJournal);
    QVERIFY(firstJournal != otherJournal);
    const JournalContents journal = ReadJournal(firstJournal);
    QVERIFY(journal.stopped);
    QCOMPARE(journal.made.size(), Names(Target()).size());
}

void CliTest::presets()
{
    QVERIFY(QDir().mkpath(m_dir->filePath(QStringLiteral("config/Kovaldi"))));
    QFile file(PresetsPath());
    QVERIFY(file.open(QIODevice::WriteOnly));
    file.write(R"({"format":"kovaldi-presets","version":1,"presets":[
        {"name":"写真","values":{"Header":"img","Min":"８","Max":"12","Beam":"3","Step":"2"}},
        {"name":"a","values":{"Footer":"_x"}}]})");
    file.close();

    const Outcome listed = Run({QStringLiteral("presets")});
    QCOMPARE(listed.status, 0);
    QCOMPARE(QString::fromUtf8(listed.out), QStringLiteral("写真\na\n"));
    const Outcome json = Run({QStringLiteral("presets"), QStringLiteral("--json")});
    QCOMPARE(json.Json()["presets"].toArray().at(1).toObject()["name"].toString(), "a");

    // The preset's texts take the boxes' grammar; blanks around a name are cut; an option
    // given overrides the preset.
    const Outcome made = Run({QStringLiteral("--preset"), QStringLiteral(" 写真 "),
                              QStringLiteral("--max=11"), Target()});
    QCOMPARE(made.status, 0);
    QCOMPARE(Names(Target()), (QStringList{"img008", "img010"}));
    const Outcome unknown = Run({QStringLiteral("--preset=b"), Target()});
    QCOMPARE(unknown.status, 64);
    QVERIFY2(unknown.err.contains("no preset called \"b\""), unknown.err.constData());

    QFile::remove(PresetsPath());
    const Outcome none = Run({QStringLiteral("presets")});
    QCOMPARE(none.status, 0);
    QCOMPARE(none.out, QByteArray());
}

void CliTest::presetRefused_data()
{
    QTest::addColumn<QString>("kind");
    QTest::addColumn<QStringList>("arguments");
    QTest::addColumn<QString>("error");
    const QStringList use{"--preset", "a", "@/t"};
    QTest::newRow("folder") << "folder" << use << "the presets file is not a file";
#if !defined(Q_OS_WIN)
    QTest::newRow("fifo") << "fifo" << QStringList{"presets"} << "the presets file is not a file";
#endif
    QTest::newRow("invalid JSON") << "invalid" << use << "the presets file is damaged";
    QTest::newRow("cut short") << "cut" << QStringList{"presets"} << "the presets file is damaged";
    QTest::newRow("foreign JSON") << "foreign" << use << "not written by this program";
    QTest::newRow("100 MB") << "large" << QStringList{"presets"} << "too large";
    QTest::newRow("empty name") << "none" << QStringList{"--preset", "", "@/t"}
                                << "a preset name cannot be empty or only blanks";
    QTest::newRow("name of blanks") << "none" << QStringList{"--preset= \t", "@/t"}
                                    << "a preset name cannot be empty or only blanks";
}

void CliTest::presetRefused()
{
    QFETCH(QString, kind);
    QFETCH(QStringList, arguments);
    QFETCH(QString, error);
    QVERIFY(QDir().mkpath(m_dir->filePath(QStringLiteral("config/Kovaldi"))));
    QFile file(PresetsPath());
    if (kind == QLatin1String("folder")) {
        QVERIFY(QDir().mkpath(PresetsPath()));
    } else if (kind == QLatin1String("fifo")) {
#if !defined(Q_OS_WIN)
        QCOMPARE(::mkfifo(QFile::encodeName(PresetsPath()).constData(), 0600), 0);
#endif
    } else if (kind != QLatin1String("none")) {
        QVERIFY(file.open(QIODevice::WriteOnly));
        if (kind == QLatin1String("large"))
            QVERIFY(file.resize(100 * 1024 * 1024));
        else
            file.write(kind == QLatin1String("invalid") ? "{presets:"
                       : kind == QLatin1String("cut")
                           ? R"({"format":"kovaldi-presets","version":1,"presets":[)"
                           : R"({"format":"other","presets":[]})");
        file.close();
    }
    const bool written = QStringList{"invalid", "cut", "foreign"}.contains(kind);
    QByteArray before;
    if (written) {
        QVERIFY(file.open(QIODevice::ReadOnly));
        before = file.readAll();
    }
    file.close();
    for (QString& argument : arguments)
        argument.replace(QLatin1Char('@'), m_dir->path());

    const Outcome outcome = Run(arguments);
    QCOMPARE(outcome.status, 64);
    QVERIFY2(outcome.err.count('\n') == 1 && QString::fromUtf8(outcome.err).contains(error),
             outcome.err.constData());
    QCOMPARE(Names(Target()), QStringList());
    if (written) {
        QVERIFY(file.open(QIODevice::ReadOnly));
        QCOMPARE(file.readAll(), before);
    }
}

void CliTest::fromList_data()
{
    QTest::addColumn<QByteArray>("list");
    QTest::addColumn<QStringList>("options");
    QTest::addColumn<QStringList>("made");
    QTest::addColumn<int>("status");
    auto row = [](const char* name, const char* list, QStringList options, QStringList made,
                  int status = 0) {
        QTest::newRow(name) << QByteArray(list) << options << made << status;
    };
    row("plain", "企画\ndesign\n", {}, {"design", "企画"});
    row("blank lines and blanks cut", "\n  a \r\n\t\n b\n", {}, {"a", "b"});
    row("nested, parents once", "x/y/z\nx/w\nx\n", {}, {"x", "x/w", "x/y", "x/y/z"});
    row("numbered", "企画\nデザイン\n", {"--number", "--min=9", "--step=3"},
        {"09_企画", "12_デザイン"});
    row("numbered with a separator", "a\nb", {"--number", "--separator= - ", "--digits=3"},
        {"001 - a", "002 - b"});
    row("the maximum takes no part", "a\n", {"--number", "--max=0"}, {"01_a"});
    row("a repeated line made once", "a\na\n", {}, {"a"});
    row("an existing folder", "old\nnew\n", {}, {"new", "old"}, 1);
    row("a file in the way", "file\n", {}, {"file"}, 2);
    // Inside each line's folder made, not inside an implied parent or an existing line.
    row("sub-folders inside each line", "p/a\nold\nb\n", {"--subfolder=x/y", "--subfolder=z"},
        {"b", "b/x", "b/x/y", "b/z", "old", "p", "p/a", "p/a/x", "p/a/x/y", "p/a/z"}, 1);
}

void CliTest::fromList()
{
    QFETCH(QByteArray, list);
    QFETCH(QStringList, options);
    QFETCH(QStringList, made);
    QFETCH(int, status);
    QVERIFY(QDir(Target()).mkdir(QStringLiteral("old")));
    MakeFile(Target() + QStringLiteral("/file"));
    const QStringList before = Tree(Target());
    QFile file(m_dir->filePath(QStringLiteral("list.txt")));
    QVERIFY(file.open(QIODevice::WriteOnly));
    file.write(list);
    file.close();
    const QStringList arguments = QStringList{"--from-list", file.fileName()} + options;

    // A dry run names every line's state and makes nothing; the run makes what it named.
    const Outcome dry = Run(arguments + QStringList{"-n", "--json", Target()});
    QCOMPARE(dry.status, 0);
    QCOMPARE(Tree(Target()), before);
    const Outcome run = Run(arguments + QStringList{Target()});
    QVERIFY2(run.status == status, run.err.constData());
    QStringList expected = made + before;
    expected.removeDuplicates();
    expected.sort();
    QCOMPARE(Tree(Target()), expected);
    // Undo takes back exactly what the run made, children before parents.
    const Outcome undone = Run({QStringLiteral("undo")});
    QVERIFY2(undone.status == 0 || (status == 2 && undone.status == 66), undone.err.constData());
    QCOMPARE(Tree(Target()), before);
}

void CliTest::makesTree()
{
    // "03" is there already: nothing is made inside it.
    QVERIFY(QDir(Target()).mkdir(QStringLiteral("03")));
    const QStringList arguments{"--min",       "1",          "--max",       "3",
                                "--digits",    "2",          "--subfolder", "01_原稿",
                                "--subfolder", "02_画像/元", "--json",      Target()};
    const Outcome run = Run(arguments);
    QCOMPARE(run.status, 1);
    const QJsonObject counts = run.Json().value("counts").toObject();
    QCOMPARE(counts, (QJsonObject{{"total", 9},
                                  {"made", 8},
                                  {"failed", 1},
                                  {"notTried", 0},
                                  {"subfoldersMade", 6},
                                  {"failedByReason", QJsonObject{{"exists-as-folder", 1}}}}));
    const QStringList tree{"01", "01/01_原稿", "01/02_画像", "01/02_画像/元",
                           "02", "02/01_原稿", "02/02_画像", "02/02_画像/元",
                           "03"};
    QCOMPARE(Tree(Target()), tree);

    // A file put inside a sub-folder keeps it and its parent; the rest goes, children first.
    MakeFile(Target() + QStringLiteral("/02/02_画像/元/note.txt"));
    const Outcome undone = Run({"undo", "--json"});
    QCOMPARE(undone.status, 1);
    QCOMPARE(Tree(Target()),
             (QStringList{"02", "02/02_画像", "02/02_画像/元", "02/02_画像/元/note.txt", "03"}));
}

void CliTest::listRefused_data()
{
    QTest::addColumn<QByteArray>("list");
    QTest::addColumn<QString>("error");
    QTest::newRow("only blank lines") << QByteArray("\n \t\n\r\n") << "空の行だけです";
    QTest::newRow("not text") << QByteArray("a\0b\n", 4) << "the list is not text";
    QTest::newRow("not UTF-8") << QByteArray("a\xff\n") << "the list is not text";
    QTest::newRow("..") << QByteArray("a\nb/../c\n") << "line 2: 「.」と「..」";
    QTest::newRow("empty name") << QByteArray("a//b\n") << "line 1: 空のフォルダ名";
    QTest::newRow("absolute") << QByteArray("/a\n") << "line 1: 空のフォルダ名";
    QTest::newRow("too long") << QByteArray(300, 'x') << "フォルダ名が長すぎます";
    QTest::newRow("100,001 lines") << QByteArray("a\n").repeated(100001) << "100,000 行を超えて";
}

void CliTest::listRefused()
{
    QFETCH(QByteArray, list);
    QFETCH(QString, error);
    // From standard input, as a pipe gives it.
    QProcess process;
    Prepare(process, {QStringLiteral("--from-list=-"), Target()});
    process.start();
    process.write(list);
    process.closeWriteChannel();
    const Outcome outcome = Finish(process);
    QCOMPARE(outcome.status, 64);
    QVERIFY2(outcome.err.count('\n') == 1 && QString::fromUtf8(outcome.err).contains(error),
             outcome.err.constData());
    QCOMPARE(Names(Target()), QStringList());
    QVERIFY(!QFile::exists(JournalPath()));
}

QTEST_GUILESS_MAIN(CliTest)
#include "cli_test.moc"
