#include "process/programfolder.h"
#include "settings/settingsstore.h"
#include "testenv.h"

#include <QDir>
#include <QFile>
#include <QTest>

namespace {

// Each call through a fresh store, so every read comes from what is on disk.
bool Save(const QString& key, const QString& value, const QString& section = "Config")
{
    return kovaldi::SettingsStore().SaveSetting("Kovaldi", section, key, value);
}

QString Get(const QString& key, const QString& fallback, const QString& section = "Config")
{
    return kovaldi::SettingsStore().GetSetting("Kovaldi", section, key, fallback);
}

} // namespace

class SettingsStoreTest : public QObject
{
    Q_OBJECT
private slots:
    void initTestCase() { kovaldi::test::UseTemporaryConfigHome(); }
    void init() { kovaldi::test::ClearSettings(); }

    void valuesRoundTripExactly_data()
    {
        QTest::addColumn<QString>("value");
        QTest::newRow("empty") << QString();
        QTest::newRow("one blank") << QStringLiteral(" ");
        QTest::newRow("blanks around") << QStringLiteral("  padded  ");
        QTest::newRow("commas") << QStringLiteral("a,b, c");
        QTest::newRow("quotes") << QStringLiteral("say \"hi\" 'there'");
        QTest::newRow("at sign first") << QStringLiteral("@Variant(x)");
        QTest::newRow("backslashes") << QStringLiteral("C:\\work\\\\");
        QTest::newRow("comment characters") << QStringLiteral("#x ;y");
        QTest::newRow("equals and brackets") << QStringLiteral("a=b== [Config]");
        QTest::newRow("japanese") << QStringLiteral("画像フォルダ＿テスト");
        QTest::newRow("tab and newline") << QStringLiteral("a\tb\nc");
    }
    void valuesRoundTripExactly()
    {
        QFETCH(QString, value);
        // A later write replaces an earlier one and keeps the other entries.
        QVERIFY(Save("Header", "x") && Save("Footer", value) && Save("Header", value));
        QCOMPARE(Get("Header", "default"), value);
        QCOMPARE(Get("Footer", "default"), value);
    }

    void savedValueIsOnDiskBeforeReturning()
    {
        QVERIFY(Save("Min", "42"));
        QFile file(kovaldi::test::SettingsFilePath());
        QVERIFY(file.open(QIODevice::ReadOnly));
        const QByteArray content = file.readAll();
        QVERIFY2(content.contains("[Config]") && content.contains("Min=42"), content.constData());
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
    }
    void badFilesGiveDefaults()
    {
        QFETCH(QByteArray, content);
        QDir().mkpath(QFileInfo(kovaldi::test::SettingsFilePath()).path());
        QFile file(kovaldi::test::SettingsFilePath());
        QVERIFY(file.open(QIODevice::WriteOnly) && file.write(content) == content.size());
        file.close();
        QCOMPARE(Get("Min", "1"), QStringLiteral("1"));
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

QTEST_GUILESS_MAIN(SettingsStoreTest)
#include "settingsstore_test.moc"
