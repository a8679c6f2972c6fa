// The run's logic against fakes that log every call in one shared list, so that the
// order across window, file system and settings store shows; then the same run against
// the machine's file system in a temporary folder.
#include "platform/localfilesystem.h"
#include "run/batchrun.h"
#include "run/runwindow.h"
#include "settings/settingsstore.h"

#include <QDir>
#include <QDirIterator>
#include <QFile>
#include <QScopeGuard>
#include <QSet>
#include <QTemporaryDir>
#include <QTest>

using namespace kovaldi;

namespace {

struct Inputs
{
    QString target;
    QString header;
    QString footer;
    QString min;
    QString max;
    QString beam;
};

QString KindName(MessageKind kind)
{
    switch (kind) {
    case MessageKind::Warning:
        return QStringLiteral("warning");
    case MessageKind::Question:
        return QStringLiteral("question");
    case MessageKind::Information:
        return QStringLiteral("information");
    case MessageKind::Error:
        return QStringLiteral("error");
    }
    return {};
}

class FakeWindow : public RunWindow
{
public:
    FakeWindow(Inputs inputs, QStringList& log) : m_inputs(std::move(inputs)), m_log(log) {}

    bool answerYes = true;
    bool logPumps = true;

    QString TargetFolderText() const override { return m_inputs.target; }
    QString HeaderText() const override { return m_inputs.header; }
    QString FooterText() const override { return m_inputs.footer; }
    QString MinimumText() const override { return m_inputs.min; }
    QString MaximumText() const override { return m_inputs.max; }
    QString DigitCountText() const override { return m_inputs.beam; }

    void SetStatus(const QString& text) override { m_log << "status " + text; }
    void SetProgress(float value) override { m_log << "progress " + QString::number(value); }
    bool Ask(const QString& text) override
    {
        m_log << "ask " + text;
        return answerYes;
    }
    void Tell(const QString& text, MessageKind kind) override
    {
        m_log << "tell " + KindName(kind) + " " + text;
    }
    void LockInputs() override { m_log << "lock"; }
    void UnlockInputs() override { m_log << "unlock"; }
    void PumpEvents() override
    {
        if (logPumps)
            m_log << "pump";
    }

private:
    Inputs m_inputs;
    QStringList& m_log;
};

class FakeFileSystem : public FileSystem
{
public:
    explicit FakeFileSystem(QStringList& log) : m_log(log) {}

    QSet<QString> folders;

    bool FolderExists(const QString& path) const override
    {
        m_log << "exists " + path;
        return folders.contains(path);
    }
    bool CreateFolder(const QString& path) override
    {
        m_log << "create " + path;
        if (folders.contains(path))
            return false;
        folders.insert(path);
        return true;
    }

private:
    QStringList& m_log;
};

class FakeSettings : public SettingsStore
{
public:
    explicit FakeSettings(QStringList& log) : m_log(log) {}

    bool writable = true;

    bool SaveSetting(const QString& application, const QString& section, const QString& key,
                     const QString& value) override
    {
        m_log << QStringLiteral("save %1/%2/%3=%4").arg(application, section, key, value);
        return writable;
    }

private:
    QStringList& m_log;
};

const QString kCreating = QStringLiteral(" 作成中・・・");

QStringList Saves(const Inputs& in)
{
    return {"save Kovaldi/Config/LastPath=" + in.target, "save Kovaldi/Config/Header=" + in.header,
            "save Kovaldi/Config/Footer=" + in.footer,   "save Kovaldi/Config/Min=" + in.min,
            "save Kovaldi/Config/Max=" + in.max,         "save Kovaldi/Config/Beam=" + in.beam};
}

QStringList Filtered(const QStringList& log, const QString& prefix)
{
    QStringList result;
    for (const QString& line : log)
        if (line.startsWith(prefix))
            result << line.mid(prefix.size());
    return result;
}

} // namespace

Q_DECLARE_METATYPE(Inputs)

class BatchRunTest : public QObject
{
    Q_OBJECT
private slots:
    // ---- refused and declined runs: one message at most, nothing locked, made or stored

    void refusedOrDeclined_data()
    {
        QTest::addColumn<Inputs>("inputs");
        QTest::addColumn<bool>("targetExists");
        QTest::addColumn<bool>("answerYes");
        QTest::addColumn<QStringList>("log");

        const QString empty = "tell warning パスを入力してください。";
        const QString order = "tell warning 最小値は最大値より小さい値にしてください。";
        const QString missing = "tell warning 指定したパスが見つかりません。";
        const QString ask = "ask フォルダ作成の一括処理を行います。";

        QTest::newRow("empty target")
            << Inputs{"", "", "", "1", "10", "2"} << true << true << QStringList{empty};
        QTest::newRow("empty target and min above max: only the first")
            << Inputs{"", "", "", "6", "5", "2"} << true << true << QStringList{empty};
        QTest::newRow("min above max")
            << Inputs{"/w", "", "", "6", "5", "2"} << true << true << QStringList{order};
        QTest::newRow("missing target and min above max: only the second")
            << Inputs{"/w", "", "", "6", "5", "2"} << false << true << QStringList{order};
        QTest::newRow("missing target") << Inputs{"/w", "", "", "1", "10", "2"} << false << true
                                        << QStringList{"exists /w\\", missing};
        QTest::newRow("blank target is not empty") << Inputs{"  ", "", "", "1", "10", "2"} << false
                                                   << true << QStringList{"exists   \\", missing};
        QTest::newRow("confirmation declined") << Inputs{"/w", "", "", "1", "10", "2"} << true
                                               << false << QStringList{"exists /w\\", ask};

        // Texts that the window's normalisation never lets through.
        QTest::newRow("minimum not a number")
            << Inputs{"/w", "", "", "abc", "10", "2"} << true << true << QStringList{order};
        QTest::newRow("maximum empty")
            << Inputs{"/w", "", "", "1", "", "2"} << true << true << QStringList{order};
        QTest::newRow("maximum infinite")
            << Inputs{"/w", "", "", "1", "inf", "2"} << true << true << QStringList{order};
        QTest::newRow("minimum nan")
            << Inputs{"/w", "", "", "nan", "1", "2"} << true << true << QStringList{order};
        QTest::newRow("maximum past the 32-bit folder numbers")
            << Inputs{"/w", "", "", "1", "2147483648", "2"} << true << true << QStringList{order};
        QTest::newRow("minimum below the 32-bit folder numbers")
            << Inputs{"/w", "", "", "-2147483649", "1", "2"} << true << true << QStringList{order};
        QTest::newRow("non-numeric minimum but empty target: the target first")
            << Inputs{"", "", "", "x", "1", "2"} << true << true << QStringList{empty};
    }
    void refusedOrDeclined()
    {
        QFETCH(Inputs, inputs);
        QFETCH(bool, targetExists);
        QFETCH(bool, answerYes);
        QFETCH(QStringList, log);

        QStringList actual;
        FakeWindow window(inputs, actual);
        window.answerYes = answerYes;
        FakeFileSystem fileSystem(actual);
        if (targetExists)
            fileSystem.folders.insert(inputs.target + "\\");
        FakeSettings settings(actual);
        RunBatch(window, fileSystem, settings);
        QCOMPARE(actual, log);
    }

    // ---- a whole run, call by call

    void threeFoldersInOrder()
    {
        const Inputs in{"C:\\work", "img", "_a", "1", "3", "3"};
        QStringList log;
        FakeWindow window(in, log);
        FakeFileSystem fileSystem(log);
        fileSystem.folders.insert("C:\\work\\");
        FakeSettings settings(log);
        RunBatch(window, fileSystem, settings);

        QStringList expected{"exists C:\\work\\", "ask フォルダ作成の一括処理を行います。", "lock"};
        const char* progress[] = {"0", "50", "100"};
        for (int i = 1; i <= 3; ++i) {
            const QString name = QStringLiteral("img00%1_a").arg(i);
            expected << "status " + name + kCreating << "pump"
                     << "create C:\\work\\" + name << QString("progress ") + progress[i - 1]
                     << "pump";
        }
        expected << "tell information 完了！"
                 << "unlock" << Saves(in);
        QCOMPARE(log, expected);
    }

    void singleFolderLeavesTheBarAlone()
    {
        const Inputs in{"/w", "", "", "5", "5", "2"};
        QStringList log;
        FakeWindow window(in, log);
        FakeFileSystem fileSystem(log);
        fileSystem.folders.insert("/w\\");
        FakeSettings settings(log);
        RunBatch(window, fileSystem, settings);
        QCOMPARE(log, QStringList({"exists /w\\", "ask フォルダ作成の一括処理を行います。", "lock",
                                   "status 05" + kCreating, "pump", "create /w\\05", "pump",
                                   "tell information 完了！", "unlock"})
                          << Saves(in));
    }

    void progressValues_data()
    {
        QTest::addColumn<QString>("min");
        QTest::addColumn<QString>("max");
        QTest::addColumn<QStringList>("values");

        QTest::newRow("five folders") << "0"
                                      << "4" << QStringList{"0", "25", "50", "75", "100"};
        QTest::newRow("two folders") << "-1"
                                     << "0" << QStringList{"0", "100"};
        QTest::newRow("four folders, thirds in single precision")
            << "1"
            << "4"
            << QStringList{"0", QString::number(float(1.0 / 3 * 100)),
                           QString::number(float(2.0 / 3 * 100)), "100"};
        QTest::newRow("one folder: no progress at all") << "7"
                                                        << "7" << QStringList{};
    }
    void progressValues()
    {
        QFETCH(QString, min);
        QFETCH(QString, max);
        QFETCH(QStringList, values);
        QStringList log;
        FakeWindow window({"/w", "", "", min, max, "0"}, log);
        FakeFileSystem fileSystem(log);
        fileSystem.folders.insert("/w\\");
        FakeSettings settings(log);
        RunBatch(window, fileSystem, settings);
        QCOMPARE(Filtered(log, "progress "), values);
    }

    // ---- outcome by the failure count

    void outcome_data()
    {
        QTest::addColumn<QStringList>("existing");
        QTest::addColumn<QString>("message");

        QTest::newRow("all made") << QStringList{} << "tell information 完了！";
        QTest::newRow("first exists")
            << QStringList{"/w\\f1"}
            << "tell information 完了！（一部作成できなかったフォルダがあります）";
        QTest::newRow("all but one exist")
            << QStringList{"/w\\f1", "/w\\f2"}
            << "tell information 完了！（一部作成できなかったフォルダがあります）";
        QTest::newRow("all exist") << QStringList{"/w\\f1", "/w\\f2", "/w\\f3"}
                                   << "tell error フォルダの作成に失敗しました。";
    }
    void outcome()
    {
        QFETCH(QStringList, existing);
        QFETCH(QString, message);
        const Inputs in{"/w", "f", "", "1", "3", "0"};
        QStringList log;
        FakeWindow window(in, log);
        window.logPumps = false;
        FakeFileSystem fileSystem(log);
        fileSystem.folders.insert("/w\\");
        for (const QString& folder : existing)
            fileSystem.folders.insert(folder);
        FakeSettings settings(log);
        RunBatch(window, fileSystem, settings);
        // Every number is tried, failures or not, and the settings follow every outcome.
        QCOMPARE(Filtered(log, "create "), QStringList({"/w\\f1", "/w\\f2", "/w\\f3"}));
        QCOMPARE(log.mid(log.size() - 8), QStringList({message, "unlock"}) << Saves(in));
    }

    void unwritableSettingsStillEndTheRun()
    {
        const Inputs in{"/w", "h", "f", "1", "2", "1"};
        QStringList log;
        FakeWindow window(in, log);
        window.logPumps = false;
        FakeFileSystem fileSystem(log);
        fileSystem.folders.insert("/w\\");
        FakeSettings settings(log);
        settings.writable = false;
        RunBatch(window, fileSystem, settings);
        QCOMPARE(log.mid(log.size() - 8), QStringList({"tell information 完了！", "unlock"})
                                              << Saves(in));
        QVERIFY(fileSystem.folders.contains("/w\\h1f"));
        QVERIFY(fileSystem.folders.contains("/w\\h2f"));
    }

    // ---- how the box texts become names

    void names_data()
    {
        QTest::addColumn<Inputs>("inputs");
        QTest::addColumn<QStringList>("created");

        QTest::newRow("target with a trailing backslash")
            << Inputs{"C:\\work\\", "img", "_a", "1", "2", "3"}
            << QStringList{"C:\\work\\img001_a", "C:\\work\\img002_a"};
        QTest::newRow("negative numbers")
            << Inputs{"/w", "h", "f", "-2", "1", "2"}
            << QStringList{"/w\\h-02f", "/w\\h-01f", "/w\\h00f", "/w\\h01f"};
        QTest::newRow("no padding")
            << Inputs{"/w", "", "", "9", "11", "0"} << QStringList{"/w\\9", "/w\\10", "/w\\11"};
        QTest::newRow("negative digit count")
            << Inputs{"/w", "", "", "-1", "0", "-5"} << QStringList{"/w\\-1", "/w\\0"};
        QTest::newRow("fractions are rounded down") << Inputs{"/w", "", "", "-0.5", "1.9", "2"}
                                                    << QStringList{"/w\\-01", "/w\\00", "/w\\01"};
        QTest::newRow("blanks around a number")
            << Inputs{"/w", "", "", " 3 ", "4", "1"} << QStringList{"/w\\3", "/w\\4"};
        QTest::newRow("digit count not a number: no padding")
            << Inputs{"/w", "", "", "1", "2", "x"} << QStringList{"/w\\1", "/w\\2"};
        QTest::newRow("fractional digit count rounded down")
            << Inputs{"/w", "", "", "1", "1", "2.7"} << QStringList{"/w\\01"};
        QTest::newRow("ends of the 32-bit numbers")
            << Inputs{"/w", "", "", "2147483647", "2147483647", "0"}
            << QStringList{"/w\\2147483647"};
    }
    void names()
    {
        QFETCH(Inputs, inputs);
        QFETCH(QStringList, created);
        QStringList log;
        FakeWindow window(inputs, log);
        FakeFileSystem fileSystem(log);
        fileSystem.folders.insert(BuildBaseFolderOf(inputs.target));
        FakeSettings settings(log);
        RunBatch(window, fileSystem, settings);
        QCOMPARE(Filtered(log, "create "), created);
        // The status line shows the name without the target folder.
        const QString base = BuildBaseFolderOf(inputs.target);
        QStringList statuses;
        for (const QString& path : created)
            statuses << path.mid(base.size()) + kCreating;
        QCOMPARE(Filtered(log, "status "), statuses);
    }

    void hugeDigitCountStaysBounded()
    {
        // A wild digit count must not build a mask of billions of zeros; any name past
        // what a file system takes fails the same way.
        QStringList log;
        FakeWindow window({"/w", "", "", "1", "1", "2147483647"}, log);
        FakeFileSystem fileSystem(log);
        fileSystem.folders.insert("/w\\");
        FakeSettings settings(log);
        RunBatch(window, fileSystem, settings);
        const QStringList created = Filtered(log, "create ");
        QCOMPARE(created.size(), 1);
        QVERIFY(created[0].size() > 3 + 255);
        QVERIFY(created[0].size() < 3 + 1000);
    }

    // ---- the same run against the machine's file system

    void realRun_data()
    {
        QTest::addColumn<Inputs>("inputs");
        QTest::addColumn<QStringList>("prepared"); // folders made before; "file:" a file
        QTest::addColumn<QStringList>("expected"); // folders afterwards, relative
        QTest::addColumn<QString>("message");

        const QString done = "information 完了！";
        const QString some = "information 完了！（一部作成できなかったフォルダがあります）";
        const QString failed = "error フォルダの作成に失敗しました。";
        const QString missing = "warning 指定したパスが見つかりません。";
        const QString kana84 = QString(84, QChar(u'あ'));
        const QString kana86 = QString(86, QChar(u'あ'));

        QTest::newRow("negative numbers") << Inputs{"@", "n", "", "-2", "1", "2"} << QStringList{}
                                          << QStringList{"n-01", "n-02", "n00", "n01"} << done;
        QTest::newRow("relative target")
            << Inputs{"sub", "r", "", "1", "2", "1"} << QStringList{"sub"}
            << QStringList{"sub", "sub/r1", "sub/r2"} << done;
        QTest::newRow("relative target with a backslash")
            << Inputs{"sub\\", "r", "", "1", "1", "1"} << QStringList{"sub"}
            << QStringList{"sub", "sub/r1"} << done;
        QTest::newRow("dot as the target")
            << Inputs{".", "d", "", "1", "1", "1"} << QStringList{} << QStringList{"d1"} << done;
        QTest::newRow("missing target") << Inputs{"@/nope", "x", "", "1", "2", "1"} << QStringList{}
                                        << QStringList{} << missing;
        QTest::newRow("target is a regular file")
            << Inputs{"@/file", "x", "", "1", "2", "1"} << QStringList{"file:file"}
            << QStringList{"file"} << missing;
        QTest::newRow("Windows-style target is simply not found")
            << Inputs{"C:\\work", "x", "", "1", "2", "1"} << QStringList{} << QStringList{}
            << missing;
        QTest::newRow("second run over the same names")
            << Inputs{"@", "s", "", "1", "2", "1"} << QStringList{"s1", "s2"}
            << QStringList{"s1", "s2"} << failed;
        QTest::newRow("some names taken, one by a file")
            << Inputs{"@", "s", "", "1", "3", "1"} << QStringList{"s1", "file:s3"}
            << QStringList{"s1", "s2", "s3"} << some;
        QTest::newRow("header with a separator, intermediate folder missing")
            << Inputs{"@", "a\\b", "", "1", "2", "1"} << QStringList{} << QStringList{} << failed;
        QTest::newRow("header with a separator, intermediate folder present")
            << Inputs{"@", "a\\b", "", "1", "2", "1"} << QStringList{"a"}
            << QStringList{"a", "a/b1", "a/b2"} << done;
        QTest::newRow("Japanese name of 255 bytes")
            << Inputs{"@", kana84, "", "1", "1", "3"} << QStringList{}
            << QStringList{kana84 + "001"} << done;
        QTest::newRow("Japanese name past 255 bytes")
            << Inputs{"@", kana86, "", "1", "2", "0"} << QStringList{} << QStringList{} << failed;
        QTest::newRow("long names, some fit") << Inputs{"@", kana84, "", "99", "1000", "0"}
                                              << QStringList{} <<
            [&] {
                QStringList fits;
                for (int i = 99; i <= 999; ++i)
                    fits << kana84 + QString::number(i);
                return fits;
            }() << some;
    }
    void realRun()
    {
        QFETCH(Inputs, inputs);
        QFETCH(QStringList, prepared);
        QFETCH(QStringList, expected);
        QFETCH(QString, message);

        QTemporaryDir dir;
        QVERIFY(dir.isValid());
        const QString previous = QDir::currentPath();
        QVERIFY(QDir::setCurrent(dir.path()));
        auto restore = qScopeGuard([&] { QDir::setCurrent(previous); });
        for (const QString& entry : prepared) {
            if (entry.startsWith("file:")) {
                QFile file(dir.filePath(entry.mid(5)));
                QVERIFY(file.open(QIODevice::WriteOnly));
            } else {
                QVERIFY(QDir(dir.path()).mkpath(entry));
            }
        }
        inputs.target.replace("@", dir.path());

        QStringList log;
        FakeWindow window(inputs, log);
        LocalFileSystem fileSystem;
        FakeSettings settings(log);
        RunBatch(window, fileSystem, settings);
        QCOMPARE(Filtered(log, "tell "), QStringList{message});

        QStringList found;
        QDirIterator it(dir.path(), QDir::AllEntries | QDir::NoDotAndDotDot,
                        QDirIterator::Subdirectories);
        while (it.hasNext())
            found << QDir(dir.path()).relativeFilePath(it.next());
        found.sort();
        expected.sort();
        QCOMPARE(found, expected);
    }

private:
    static QString BuildBaseFolderOf(const QString& target)
    {
        return target.endsWith('\\') ? target : target + '\\';
    }
};

QTEST_GUILESS_MAIN(BatchRunTest)
#include "batchrun_test.moc"
