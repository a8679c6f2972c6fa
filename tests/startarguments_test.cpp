// The window program's command line, each case against the started program: the target
// box it loads with (or what it prints instead of a window), its lines on standard error
// and its exit status.
#include "files/localfilesystem.h"
#include "files/nativename.h"
#include "settings/settingsstore.h"

#include <QDir>
#include <QFile>
#include <QProcess>
#include <QTemporaryDir>
#include <QTest>

using kovaldi::NameFromNative;

class StartArgumentsTest : public QObject
{
    Q_OBJECT

private slots:
    void init();
    void cleanup();
    void start_data();
    void start();

private:
    std::unique_ptr<QTemporaryDir> m_dir;
};

void StartArgumentsTest::init()
{
    m_dir = std::make_unique<QTemporaryDir>();
    QVERIFY(m_dir->isValid());
    const QDir dir(m_dir->path());
    for (const char* folder : {"config", "runtime", "stored", "target", "日本 語"})
        QVERIFY(dir.mkdir(QString::fromUtf8(folder)));
    QFile file(dir.filePath(QStringLiteral("target/a file.txt")));
    QVERIFY(file.open(QIODevice::WriteOnly));
    QVERIFY(
        kovaldi::LocalFileSystem().CreateFolder(dir.path() + NameFromNative("/raw\xff\x41")).made);
    qputenv("XDG_CONFIG_HOME", QFile::encodeName(dir.filePath(QStringLiteral("config"))));
    QVERIFY(kovaldi::SettingsStore().SaveSetting(
        kovaldi::kSettingsApplication, kovaldi::kSettingsSection, QStringLiteral("LastPath"),
        dir.path() + "/stored"));
}

// The folder named by a byte that is not UTF-8 goes by its bytes, as it came.
void StartArgumentsTest::cleanup()
{
    kovaldi::LocalFileSystem().RemoveEmptyFolder(m_dir->path(), NameFromNative("raw\xff\x41"),
                                                 false);
}

void StartArgumentsTest::start_data()
{
    QTest::addColumn<QStringList>("arguments");
    QTest::addColumn<QByteArray>("output"); // the target box, or the start of what is printed
    QTest::addColumn<int>("status");
    QTest::addColumn<int>("errorLines");
    QTest::addColumn<QString>("locale"); // set: the program itself, without any display

    const auto row = [](const char* name, QStringList arguments, const char* output, int status = 0,
                        int errorLines = 0, const char* locale = "") {
        QTest::newRow(name) << arguments << QByteArray(output) << status << errorLines
                            << QString::fromLatin1(locale);
    };
    row("none: the stored target", {}, "{tmp}/stored\n");
    row("absolute folder", {"{tmp}/target"}, "{tmp}/target\n");
    row("relative folder", {"target"}, "{tmp}/target\n");
    row("relative, cleaned", {"./target/../日本 語/"}, "{tmp}/日本 語\n");
    row("file URL, encoded", {"file://{tmp}/%E6%97%A5%E6%9C%AC%20%E8%AA%9E"}, "{tmp}/日本 語\n");
    row("file URL, byte not UTF-8", {"file://{tmp}/raw%FFA"},
        "{tmp}/raw\xff"
        "A\n");
    row("file URL, localhost", {"file://localhost{tmp}/target/"}, "{tmp}/target\n");
    row("file URL, not encoded", {"file://{tmp}/日本 語"}, "{tmp}/日本 語\n");
    row("a file gives its folder", {"{tmp}/target/a file.txt"}, "{tmp}/target\n");
    row("a file by URL", {"file://{tmp}/target/a%20file.txt"}, "{tmp}/target\n");
    row("missing path as given", {"gone/x"}, "{tmp}/gone/x\n");
    row("remote URL: stored target", {"sftp://host/target"}, "{tmp}/stored\n", 0, 1);
    row("file URL of another machine", {"file://host/target"}, "{tmp}/stored\n", 0, 1);
    row("several: the first", {"target", "stored", "x"}, "{tmp}/target\n", 0, 1);
    row("a name after --", {"--", "-v"}, "{tmp}/-v\n");
    row("Qt's own option", {"-platform", "offscreen", "target"}, "{tmp}/target\n");
    row("unknown option: no window", {"--bogus", "target"}, "", 64, 1);
    row("help", {"--help"}, "Usage: ", 0, 0, "C.UTF-8");
    row("help, Japanese", {"-h"}, "使い方: ", 0, 0, "ja_JP.UTF-8");
    row("version", {"--version"}, "Kovaldi 1.0.0\n", 0, 0, "C.UTF-8");
    row("version among others", {"-platform", "xcb", "x", "-v"}, "Kovaldi 1.0.0\n", 0, 0,
        "C.UTF-8");
}

void StartArgumentsTest::start()
{
    QFETCH(QStringList, arguments);
    QFETCH(QByteArray, output);
    QFETCH(int, status);
    QFETCH(int, errorLines);
    QFETCH(QString, locale);
    const QString tmp = m_dir->path();
    for (QString& argument : arguments)
        argument.replace(QLatin1String("{tmp}"), tmp);
    output.replace("{tmp}", QFile::encodeName(tmp));

    QProcess process;
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    environment.insert(QStringLiteral("XDG_RUNTIME_DIR"), tmp + QStringLiteral("/runtime"));
    if (locale.isEmpty()) {
        // A probe: the program as it starts, ending once its window is loaded.
        process.setProgram(QStringLiteral(KOVALDI_STARTPROBE));
        environment.insert(QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("offscreen"));
    } else {
        process.setProgram(QStringLiteral(KOVALDI_PROGRAM));
        for (const char* display : {"DISPLAY", "WAYLAND_DISPLAY", "QT_QPA_PLATFORM", "LANGUAGE"})
            environment.remove(QString::fromLatin1(display));
        environment.insert(QStringLiteral("LC_ALL"), locale);
    }
    process.setProcessEnvironment(environment);
    process.setWorkingDirectory(tmp);
    process.setArguments(arguments);
    process.start();
    if (!process.waitForFinished(60000)) {
        process.kill();
        process.waitForFinished(10000);
        QFAIL("the program did not end within 60 s: killed");
    }
    QCOMPARE(process.exitStatus(), QProcess::NormalExit);
    QCOMPARE(process.exitCode(), status);
    const QByteArray printed = process.readAllStandardOutput();
    QCOMPARE(NameFromNative(printed.left(output.size())), NameFromNative(output));
    QCOMPARE(printed.isEmpty(), output.isEmpty());
    const QList<QByteArray> errors = process.readAllStandardError().split('\n');
    QCOMPARE(std::count_if(errors.begin(), errors.end(),
                           [](const QByteArray& line) { return line.startsWith("kovaldi: "); }),
             errorLines);
}

QTEST_GUILESS_MAIN(StartArgumentsTest)
#include "startarguments_test.moc"
