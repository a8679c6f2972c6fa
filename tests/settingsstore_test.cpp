// The settings store against real files in a temporary configuration folder. Files that
// could crash or block the reader, and a kill during a write-back, are tried in this
// executable started again with --child, so that a fault fails the test instead of
// ending or stopping it.
#include "process/programfolder.h"
#include "settings/settingsstore.h"
#include "testenv.h"

#include <QDataStream>
#include <QDir>
#include <QFile>
#include <QProcess>
#include <QSettings>
#include <QTest>
#include <cstdio>

#if defined(Q_OS_UNIX)
#include <sys/stat.h>
#endif

using kovaldi::SettingsStore;

namespace {

// Each call through a fresh store, so every read comes from what is on disk.
bool Save(const QString& key, const QString& value, const QString& section = "Config")
{
    return SettingsStore().SaveSetting("Kovaldi", section, key, value);
}

QString Get(const QString& key, const QString& fallback, const QString& section = "Config")
{
    return SettingsStore().GetSetting("Kovaldi", section, key, fallback);
}

bool WriteFile(const QByteArray& content)
{
    QDir().mkpath(QFileInfo(kovaldi::test::SettingsFilePath()).path());
    QFile file(kovaldi::test::SettingsFilePath());
    return file.open(QIODevice::WriteOnly) && file.write(content) == content.size();
}

QByteArray ReadFile()
{
    QFile file(kovaldi::test::SettingsFilePath());
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray("<unreadable>");
}

// The stored form of a value of Qt's variant streaming: a list nested `depth` deep
// around one number, each byte written as an INI escape.
QByteArray NestedVariantValue(int depth)
{
    QByteArray bytes;
    QDataStream stream(&bytes, QIODevice::WriteOnly);
    stream.setVersion(QDataStream::Qt_4_0);
    for (int i = 0; i < depth; ++i)
        stream << quint32(QMetaType::QVariantList) << quint32(1);
    stream << quint32(QMetaType::Int) << qint32(7);
    QByteArray escaped = "@Variant(";
    for (const char byte : bytes)
        escaped += "\\x" + QByteArray::number(uchar(byte), 16);
    return escaped + ')';
}

const QStringList kSetA{"/a", "ha", "fa", "1", "2", "3"};
const QStringList kSetB{"/b", "hb", "fb", "4", "5", "6"};

// --child read: prints what the store reads, then whether it could write.
// --child write-loop: writes the sets A and B in turn until killed.
int RunChild(const QByteArray& which)
{
    kovaldi::SettingsStore store;
    if (which == "read") {
        const QStringList values = kovaldi::LoadInputs(store);
        std::printf("read %s; min %lld characters\n",
                    qPrintable(QStringList(values.mid(0, 3) + values.mid(4)).join('|')),
                    qlonglong(values[3].size()));
        std::printf("saved %d\n", int(kovaldi::SaveInputs(store, kSetA)));
        return 0;
    }
    for (int i = 0;; ++i) {
        if (!kovaldi::SaveInputs(store, i % 2 ? kSetB : kSetA))
            return 2;
        if (i == 0) {
            std::puts("writing");
            std::fflush(stdout);
        }
    }
}

} // namespace

class SettingsStoreTest : public QObject
{
    Q_OBJECT
private:
    // Runs this executable with --child <which>; its output, or why it did not end well.
    static QByteArray Child(const QString& which, int timeoutMs = 60000)
    {
        QProcess child;
        child.start(QCoreApplication::applicationFilePath(), {"--child", which});
        if (!child.waitForFinished(timeoutMs)) {
            child.kill();
            child.waitForFinished();
            return "hung";
        }
        if (child.exitStatus() != QProcess::NormalExit || child.exitCode() != 0)
            return "crashed or failed: " + child.readAllStandardError().right(400);
        return child.readAllStandardOutput().trimmed();
    }

private slots:
    void initTestCase() { kovaldi::test::UseTemporaryConfigHome(); }
    void init() { kovaldi::test::ClearSettings(); }

    // Exactly the text, whoever wrote the file: this store, or Qt's settings class, which
    // wrote it before and whose files must read back unchanged.
    void valuesRoundTripExactly_data()
    {
        QTest::addColumn<QString>("value");
        QTest::newRow("empty") << QString();
        QTest::newRow("one blank") << QStringLiteral(" ");
        QTest::newRow("blanks around") << QStringLiteral("  padded  ");
        QTest::newRow("commas") << QStringLiteral("a,b, c");
        QTest::newRow("quotes") << QStringLiteral("say \"hi\" 'there'");
        QTest::newRow("at sign first") << QStringLiteral("@Variant(x)");
        QTest::newRow("two at signs") << QStringLiteral("@@x");
        QTest::newRow("backslashes") << QStringLiteral("C:\\work\\\\");
        QTest::newRow("escape-like text") << QStringLiteral("\\x41\\n\\0");
        QTest::newRow("comment characters") << QStringLiteral("#x ;y");
        QTest::newRow("equals and brackets") << QStringLiteral("a=b== [Config]");
        QTest::newRow("japanese") << QStringLiteral("画像フォルダ＿テスト");
        QTest::newRow("latin-1 and beyond the basic plane") << QStringLiteral("é\u00ff \U0001F4C1");
        QTest::newRow("tab and line breaks") << QStringLiteral("a\tb\nc\r\nd");
        QTest::newRow("control then hex digit") << QStringLiteral("\x01" "a\x1f" "F\x7f");
        QTest::newRow("NUL inside") << QString("a") + QChar(0) + "1b";
    }
    void valuesRoundTripExactly()
    {
        QFETCH(QString, value);
        // A later write replaces an earlier one and keeps the other entries.
        QVERIFY(Save("Header", "x") && Save("Footer", value) && Save("Header", value));
        QCOMPARE(Get("Header", "default"), value);
        QCOMPARE(Get("Footer", "default"), value);

        kovaldi::test::ClearSettings();
        QVERIFY(SettingsStore().SaveSettings("Kovaldi", "Config",
                                             {{"Header", value}, {"Footer", value}}));
        const QByteArray written = ReadFile();
        kovaldi::test::ClearSettings();
        {
            QSettings qt(QSettings::NativeFormat, QSettings::UserScope, "Kovaldi", "Kovaldi");
            qt.setValue("Config/Header", value);
            qt.setValue("Config/Footer", value);
        }
        QCOMPARE(ReadFile(), written); // the same bytes as Qt writes
        QCOMPARE(Get("Header", "default"), value);
        QSettings qt(QSettings::NativeFormat, QSettings::UserScope, "Kovaldi", "Kovaldi");
        QCOMPARE(qt.value("Config/Header").toString(), value);
    }

    // Lines of other sections, comments and unknown keys stay as they were.
    void writingKeepsTheRestOfTheFile_data()
    {
        QTest::addColumn<QByteArray>("before");
        QTest::addColumn<QByteArray>("after");
        QTest::newRow("empty file") << QByteArray() << QByteArray("[Config]\nMax=9\nMin=5\n");
        QTest::newRow("other section, no line end")
            << QByteArray("[Other]\nMin=1") << QByteArray("[Other]\nMin=1\n\n[Config]\nMax=9\nMin=5\n");
        QTest::newRow("keys replaced in place, the missing one after the last")
            << QByteArray("\xEF\xBB\xBF; note\r\n[Config]\r\nMin = 1 ;old\r\nj=x\r\n\r\n[Next]\r\nMax=0\r\n")
            << QByteArray("\xEF\xBB\xBF; note\r\n[Config]\r\nMin=5\r\nj=x\r\nMax=9\n\r\n[Next]\r\nMax=0\r\n");
        QTest::newRow("every copy of a key")
            << QByteArray("[Config]\nMax=1\n[Config]\nMax=2\nMin=3")
            << QByteArray("[Config]\nMax=9\n[Config]\nMax=9\nMin=5");
    }
    void writingKeepsTheRestOfTheFile()
    {
        QFETCH(QByteArray, before);
        QVERIFY(WriteFile(before));
        QVERIFY(SettingsStore().SaveSettings("Kovaldi", "Config", {{"Min", "5"}, {"Max", "9"}}));
        QTEST(ReadFile(), "after");
        QCOMPARE(Get("Max", "d"), QStringLiteral("9"));
    }

    void savedValueIsOnDiskBeforeReturning()
    {
        QVERIFY(Save("Min", "42"));
        QCOMPARE(ReadFile(), QByteArray("[Config]\nMin=42\n"));
    }

    void missingEntriesGiveTheDefaultAndCreateNothing()
    {
        QCOMPARE(Get("Max", "10"), QStringLiteral("10"));
        QVERIFY(!QFile::exists(kovaldi::test::SettingsFilePath()));
        QVERIFY(Save("Min", "3"));
        QCOMPARE(Get("Max", "10"), QStringLiteral("10"));
        QCOMPARE(Get("Min", "d", "Other"), QStringLiteral("d"));
    }

    void badFilesGiveDefaults_data()
    {
        QTest::addColumn<QByteArray>("content");
        QTest::newRow("empty file") << QByteArray();
        QTest::newRow("binary garbage") << QByteArray("\x00\xff\xfe\x01[\x80\x81=\x00\n\x7f", 12);
        QTest::newRow("half a line") << QByteArray("[Conf");
        QTest::newRow("key without value") << QByteArray("[Config]\nMin");
        QTest::newRow("other case") << QByteArray("[config]\nMin=5\n[Config]\nmin=5");
    }
    void badFilesGiveDefaults()
    {
        QFETCH(QByteArray, content);
        QVERIFY(WriteFile(content));
        QCOMPARE(Get("Min", "1"), QStringLiteral("1"));
        QSettings qt(QSettings::NativeFormat, QSettings::UserScope, "Kovaldi", "Kovaldi");
        QCOMPARE(qt.value("Config/Min", "1").toString(), QStringLiteral("1")); // as it always read
    }

    void unreadableOrUnwritableStoreFailsQuietly_data()
    {
        QTest::addColumn<bool>("folderIsAFile");
        QTest::newRow("a folder where the file should be") << false; // not even root reads it
        QTest::newRow("a file where the folder should be") << true;
    }
    void unreadableOrUnwritableStoreFailsQuietly()
    {
        QFETCH(bool, folderIsAFile);
        const QString path = kovaldi::test::SettingsFilePath();
        QFile blocker(QFileInfo(path).path());
        QVERIFY(folderIsAFile ? blocker.open(QIODevice::WriteOnly) : QDir().mkpath(path));
        blocker.close();
        QVERIFY(!Save("Beam", "3"));
        QCOMPARE(Get("Beam", "2"), QStringLiteral("2"));
        if (folderIsAFile)
            QVERIFY(blocker.remove());
    }

    // A start-up reads the six inputs and a run writes them back, whatever lies in the
    // store's place; nothing it holds can crash or stop the program.
    void hostileStoreNeitherCrashesNorBlocks_data()
    {
        QTest::addColumn<QByteArray>("content"); // "fifo": a FIFO in the file's place
        QTest::addColumn<QByteArray>("expected");
        QTest::newRow("a list nested 50,000 deep in Qt's variant form")
            << "[Config]\nHeader=h\nMin=" + NestedVariantValue(50000) + '\n'
            << QByteArray("read |h||10|2; min 400018 characters\nsaved 1");
#if defined(Q_OS_UNIX)
        QTest::newRow("a FIFO") << QByteArray("fifo")
                                << QByteArray("read |||10|2; min 1 characters\nsaved 0");
#endif
    }
    void hostileStoreNeitherCrashesNorBlocks()
    {
        QFETCH(QByteArray, content);
#if defined(Q_OS_UNIX)
        if (content == "fifo") {
            QVERIFY(QDir().mkpath(QFileInfo(kovaldi::test::SettingsFilePath()).path()));
            QCOMPARE(::mkfifo(QFile::encodeName(kovaldi::test::SettingsFilePath()), 0600), 0);
        } else
#endif
            QVERIFY(WriteFile(content));
        QTEST(Child("read"), "expected");
        if (content == "fifo")
            QVERIFY(!QFileInfo(kovaldi::test::SettingsFilePath()).isFile());
    }

    // However late the write-back is cut short, the file holds one whole set of six.
    void killDuringWriteBackLeavesOneWholeSet()
    {
        QByteArray junk = "[Config]\n";
        for (int line = 0; junk.size() < 4 * 1024 * 1024; ++line)
            junk += "j" + QByteArray::number(line) + "=" + QByteArray(40, 'x') + '\n';
        QVERIFY(WriteFile(junk));
        for (int kill = 0; kill < 6; ++kill) {
            QProcess child;
            child.start(QCoreApplication::applicationFilePath(), {"--child", "write-loop"});
            QVERIFY(child.waitForReadyRead(60000));
            QTest::qWait(37 * kill + 20); // cuts a different moment each time
            child.kill();
            QVERIFY(child.waitForFinished(60000));
            const QStringList stored = kovaldi::LoadInputs(SettingsStore());
            QVERIFY2(stored == kSetA || stored == kSetB, qPrintable(stored.join('|')));
            QVERIFY(ReadFile().contains("\nj1000=" + QByteArray(40, 'x') + '\n'));
        }
    }

    void programFolderDropsTheTrailingSeparator_data()
    {
        QTest::addColumn<QString>("executableFolder");
        QTest::addColumn<QChar>("separator");
        QTest::addColumn<QString>("programFolder");
        const QChar windows = u'\\';
        const QChar posix = u'/';
        QTest::newRow("drive root") << "C:\\" << windows << "C:";
        QTest::newRow("windows folder") << "C:\\K\\Bin" << windows << "C:\\K\\Bin";
        QTest::newRow("posix folder") << "/usr/bin" << posix << "/usr/bin";
        QTest::newRow("posix folder, trailing slash") << "/usr/bin/" << posix << "/usr/bin";
        QTest::newRow("posix root stays") << "/" << posix << "/";
        QTest::newRow("posix name ending in a backslash") << "/opt/k\\" << posix << "/opt/k\\";
    }
    void programFolderDropsTheTrailingSeparator()
    {
        QFETCH(QString, executableFolder);
        QFETCH(QChar, separator);
        QTEST(kovaldi::ProgramFolderFrom(executableFolder, separator), "programFolder");
    }
};

int main(int argc, char* argv[])
{
    if (argc > 2 && QByteArray(argv[1]) == "--child") {
        QCoreApplication application(argc, argv);
        return RunChild(argv[2]);
    }
    QCoreApplication application(argc, argv);
    SettingsStoreTest test;
    return QTest::qExec(&test, argc, argv);
}

#include "settingsstore_test.moc"
