// The settings store against real files in a temporary configuration folder. Files that
// could crash or block the reader, and a kill during a write-back, are tried in this
// executable started again with --child, so that a fault fails the test instead of
// ending or stopping it.
#include "process/programfolder.h"
#include "settings/initext.h"
#include "settings/settingsstore.h"
#include "testenv.h"

#include <QDataStream>
#include <QDir>
#include <QFile>
#include <QProcess>
#include <QRandomGenerator>
#include <QSettings>
#include <QTemporaryDir>
#include <QTest>
#include <algorithm>
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

// Differential checks against Qt's settings class, each on a file of its own (its cache
// keeps a file it has read by path).
class QtSettingsFiles
{
public:
    QByteArray writtenByQt(const kovaldi::SettingsEntries& entries)
    {
        const QString path = next();
        {
            QSettings qt(path, QSettings::IniFormat);
            for (const auto& [key, value] : entries)
                qt.setValue("Config/" + key, value);
        }
        QFile file(path);
        return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray("<unreadable>");
    }

    // What Qt reads from the text, as the store would use it (nothing for a missing or
    // invalid value); false when Qt makes it into another type, which the store never
    // decodes.
    bool readByQt(const QByteArray& text, const QStringList& keys,
                  QList<std::optional<QString>>& read)
    {
        const QString path = next();
        QFile file(path);
        if (!file.open(QIODevice::WriteOnly) || file.write(text) != text.size())
            return false;
        file.close();
        QSettings qt(path, QSettings::IniFormat);
        read.clear();
        for (const QString& key : keys) {
            const QVariant value = qt.value("Config/" + key);
            const auto isText = [](const QVariant& v) {
                return !v.isValid() || v.typeId() == QMetaType::QString ||
                       v.typeId() == QMetaType::QByteArray;
            };
            if (value.typeId() == QMetaType::QVariantList ||
                value.typeId() == QMetaType::QStringList) {
                const QVariantList items = value.toList();
                if (!std::all_of(items.begin(), items.end(), isText))
                    return false;
                read << value.toStringList().join(", ");
            } else if (!isText(value)) {
                return false;
            } else {
                read << (value.isValid() ? std::optional(value.toString()) : std::nullopt);
            }
        }
        return true;
    }

private:
    QString next() { return m_folder.filePath(QString::number(m_count++) + ".ini"); }
    QTemporaryDir m_folder;
    int m_count = 0;
};

QString RandomValue(QRandomGenerator& random)
{
    static const QStringList prefixes{"",           "", "", "@", "@@", "@String(", "@ByteArray(",
                                      "@Invalid()", " "};
    static const QString pool =
        QStringLiteral(" \t\"\\;,=@()#[]%xX09aFf/\u00e9\u00ff\u3042\u30fc\uff11\ufeff\u007f");
    QString value = prefixes.at(random.bounded(int(prefixes.size())));
    for (int n = random.bounded(10); n > 0; --n) {
        switch (random.bounded(6)) {
        case 0:
            value += QChar(char16_t(random.bounded(0x20))); // controls and NUL
            break;
        case 1:
            value += QChar(char16_t(0xD800 + random.bounded(0x800))); // a lone surrogate
            break;
        case 2:
            value += QString::fromUcs4(U"\U0001F4C1");
            break;
        default:
            value += pool.at(random.bounded(int(pool.size())));
        }
    }
    if (random.bounded(4) == 0)
        value += u')';
    return value;
}

// A hand-edited file: bits of sections, keys, values, escapes, quotes, comments and
// broken UTF-8 in random order.
QByteArray RandomText(QRandomGenerator& random)
{
    static const QList<QByteArray> pieces{"\n[Config]\n",
                                          "[ Config ]",
                                          "\n[Other]\n",
                                          "[Config\n",
                                          "\nMin=",
                                          "\nHeader =",
                                          "\nMax=",
                                          "\n\vMin=",
                                          "\n%4Din=",
                                          "\n\"Min\"=",
                                          " ",
                                          "\t",
                                          "\v",
                                          "=",
                                          "\"",
                                          ";",
                                          ",",
                                          "\\",
                                          "\n",
                                          "\r\n",
                                          "\r",
                                          "@ByteArray(",
                                          "@Invalid()",
                                          "@String(",
                                          "@@",
                                          "@",
                                          ")",
                                          "x",
                                          "5",
                                          "\\x41",
                                          "\\x",
                                          "\\t",
                                          "\\0",
                                          "\\\n",
                                          "\xEF\xBB\xBF",
                                          "\xE3\x81\x82",
                                          "\xE3\x81",
                                          "\xff",
                                          "\xED\xA0\x80",
                                          "#"};
    QByteArray text = random.bounded(8) == 0 ? "\xEF\xBB\xBF" : "";
    for (int n = 4 + random.bounded(30); n > 0; --n)
        text += pieces.at(random.bounded(int(pieces.size())));
    return text;
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
    // wrote it before and whose files must read back unchanged (random values below).
    void valuesRoundTripExactly_data()
    {
        QTest::addColumn<QString>("value");
        QTest::newRow("empty") << QString();
        QTest::newRow("blanks around") << QStringLiteral("  padded  ");
        QTest::newRow("commas") << QStringLiteral("a,b, c");
        QTest::newRow("at sign first") << QStringLiteral("@Variant(x)");
        QTest::newRow("japanese") << QStringLiteral("画像フォルダ＿テスト");
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

    // Random values, written by Qt and read here, written here and read by Qt: the same
    // text, and the same bytes as Qt writes, but for the two Qt cannot keep (a byte order
    // mark first, a lone surrogate), which go as escapes that Qt reads back the same.
    void randomValuesAsQtWritesAndReadsThem()
    {
        QtSettingsFiles files;
        QRandomGenerator random(22);
        for (int batch = 0; batch < 30; ++batch) {
            kovaldi::SettingsEntries entries; // one line each, in key order
            QStringList keys;
            QList<std::optional<QString>> values;
            for (int n = 0; n < 100; ++n) {
                entries.append(
                    {QStringLiteral("K%1").arg(n, 3, 10, QLatin1Char('0')), RandomValue(random)});
                keys << entries.back().first;
                values << entries.back().second;
            }
            const QByteArray ours = kovaldi::WriteIniValues({}, "Config", entries);
            const QByteArray qts = files.writtenByQt(entries);
            const QList<QByteArray> ourLines = ours.split('\n');
            const QList<QByteArray> qtLines = qts.split('\n');
            QCOMPARE(ourLines.size(), qtLines.size());
            const QList<std::optional<QString>> readFromQts =
                kovaldi::ReadIniValues(qts, "Config", keys);
            for (qsizetype n = 0; n < entries.size(); ++n) {
                const QString& value = entries[n].second;
                const bool qtLosesIt = value.contains(QChar(0xFEFF)) ||
                                       std::any_of(value.begin(), value.end(),
                                                   [](QChar c) { return c.isSurrogate(); });
                if (!qtLosesIt) {
                    QCOMPARE(ourLines[n + 1], qtLines[n + 1]);
                    QCOMPARE(readFromQts[n], value);
                }
            }
            QList<std::optional<QString>> read;
            QVERIFY(files.readByQt(ours, keys, read));
            QCOMPARE(read, values);
            QCOMPARE(kovaldi::ReadIniValues(ours, "Config", keys), values);
        }
    }

    // Hand-edited files read as Qt reads them, and written so that Qt reads the new values
    // and every other value as before.
    void randomFilesAsQtReadsThem()
    {
        QtSettingsFiles files;
        QRandomGenerator random(2022);
        const QStringList keys{"Min", "Header", "Max"};
        int compared = 0;
        for (int n = 0; n < 3000; ++n) {
            const QByteArray text = RandomText(random);
            QList<std::optional<QString>> qt;
            if (!files.readByQt(text, keys, qt))
                continue;
            ++compared;
            QVERIFY2(kovaldi::ReadIniValues(text, "Config", keys) == qt,
                     text.toPercentEncoding().constData());
            const QString min = RandomValue(random);
            const QString header = RandomValue(random);
            const QByteArray written =
                kovaldi::WriteIniValues(text, "Config", {{"Min", min}, {"Header", header}});
            QList<std::optional<QString>> after;
            QVERIFY(files.readByQt(written, keys, after));
            QVERIFY2(after == QList<std::optional<QString>>({min, header, qt.value(2)}),
                     (text.toPercentEncoding() + " -> " + written.toPercentEncoding()).constData());
        }
        QVERIFY(compared > 2000);
    }

    // Hand-edited lines that Qt reads its own way: the store reads the same text.
    void handEditedLinesReadAsQtReadsThem_data()
    {
        QTest::addColumn<QByteArray>("text");
        QTest::addColumn<QString>("min"); // "<default>": Qt gives the default
        QTest::newRow("trailing blank") << QByteArray("[Config]\nMin=5 \n") << "5";
        QTest::newRow("escaped tab") << QByteArray("[Config]\nMin=a\\tb\n") << "a\tb";
        QTest::newRow("quote with a semicolon") << QByteArray("[Config]\nMin=\"a;b\";c\n") << "a;b";
        QTest::newRow("two [Config] sections, the last counts")
            << QByteArray("[Config]\nMin=1\n[Other]\nMin=2\n[Config]\nMin=3\n") << "3";
        QTest::newRow("[ Config ]") << QByteArray("[ Config ]\nMin=4\n") << "4";
        QTest::newRow("backslash at the line end")
            << QByteArray("[Config]\nMin=a\\\nb\nMax=1\n") << "ab";
        QTest::newRow("line break inside quotes")
            << QByteArray("[Config]\nMin=\"a\nb\"\n") << "a\nb";
        QTest::newRow("@ByteArray")
            << QByteArray("[Config]\nMin=@ByteArray(\\xe3\\x81\\x82)\n") << "あ";
        QTest::newRow("@Invalid()") << QByteArray("[Config]\nMin=@Invalid()\n") << "<default>";
        QTest::newRow("vertical tab before the key") << QByteArray("[Config]\n\vMin=6\n") << "6";
        QTest::newRow("invalid UTF-8") << QByteArray("[Config]\nMin=a\xff\xe3\x81\n") << "a\ufffd";
        QTest::newRow("byte order mark first in the value")
            << QByteArray("[Config]\nMin=\xEF\xBB\xBF"
                          "7\n")
            << "7";
    }
    void handEditedLinesReadAsQtReadsThem()
    {
        QFETCH(QByteArray, text);
        QFETCH(QString, min);
        QVERIFY(WriteFile(text));
        QCOMPARE(Get("Min", "<default>"), min);
        QList<std::optional<QString>> qt;
        QVERIFY(QtSettingsFiles().readByQt(text, {"Min"}, qt));
        QCOMPARE(qt.value(0).value_or("<default>"), min);
    }

    // Lines of other sections, comments and unknown keys stay as they were.
    void writingKeepsTheRestOfTheFile_data()
    {
        QTest::addColumn<QByteArray>("before");
        QTest::addColumn<QByteArray>("after");
        QTest::newRow("empty file") << QByteArray() << QByteArray("[Config]\nMax=9\nMin=5\n");
        QTest::newRow("other section, no line end")
            << QByteArray("[Other]\nMin=1")
            << QByteArray("[Other]\nMin=1\n\n[Config]\nMax=9\nMin=5\n");
        QTest::newRow("keys replaced in place, the missing one after the last")
            << QByteArray("\xEF\xBB\xBF; note\r\n[Config]\r\nMin = 1 "
                          ";old\r\nj=x\r\n\r\n[Next]\r\nMax=0\r\n")
            << QByteArray("\xEF\xBB\xBF; note\r\n[Config]\r\nMin=5 "
                          ";old\r\nj=x\r\nMax=9\n\r\n[Next]\r\nMax=0\r\n");
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
