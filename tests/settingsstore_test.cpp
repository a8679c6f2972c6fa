#include "platform/programfolder.h"
#include "settings/settingsstore.h"
#include "testenv.h"

#include <QDir>
#include <QFile>
#include <QTest>

using kovaldi::SettingsStore;

namespace {
const QString kApp = QStringLiteral("Kovaldi");
const QString kSection = QStringLiteral("Config");

void WriteSettingsFile(const QByteArray& content)
{
    QDir().mkpath(QFileInfo(kovaldi::test::SettingsFilePath()).path());
    QFile file(kovaldi::test::SettingsFilePath());
    QVERIFY(file.open(QIODevice::WriteOnly | QIODevice::Truncate));
    file.write(content);
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
        QTest::newRow("blanks around") << QStringLiteral("  padded  ");
        QTest::newRow("one blank") << QStringLiteral(" ");
        QTest::newRow("comma") << QStringLiteral("a,b, c");
        QTest::newRow("quotes") << QStringLiteral("say \"hi\" 'there'");
        QTest::newRow("at sign first") << QStringLiteral("@Variant(x)");
        QTest::newRow("at signs") << QStringLiteral("@@a@");
        QTest::newRow("backslashes") << QStringLiteral("C:\\work\\\\");
        QTest::newRow("comment characters") << QStringLiteral("#x ;y");
        QTest::newRow("equals") << QStringLiteral("a=b==");
        QTest::newRow("brackets") << QStringLiteral("[Config]");
        QTest::newRow("japanese") << QStringLiteral("画像フォルダ＿テスト");
        QTest::newRow("number text") << QStringLiteral("-0012");
        QTest::newRow("tab and newline") << QStringLiteral("a\tb\nc");
        QTest::newRow("true") << QStringLiteral("true");
    }
    void valuesRoundTripExactly()
    {
        QFETCH(QString, value);
        SettingsStore store;
        QVERIFY(store.SaveSetting(kApp, kSection, QStringLiteral("Header"), value));
        QCOMPARE(store.GetSetting(kApp, kSection, QStringLiteral("Header"), QStringLiteral("dflt")),
                 value);
    }

    void savedValueIsOnDiskBeforeReturning()
    {
        SettingsStore store;
        QVERIFY(store.SaveSetting(kApp, kSection, QStringLiteral("Min"), QStringLiteral("42")));
        QFile file(kovaldi::test::SettingsFilePath());
        QVERIFY(file.open(QIODevice::ReadOnly));
        const QByteArray content = file.readAll();
        QVERIFY2(content.contains("[Config]"), content.constData());
        QVERIFY2(content.contains("Min=42"), content.constData());
    }

    void missingEntriesGiveTheDefaultAndCreateNothing()
    {
        SettingsStore store;
        QCOMPARE(store.GetSetting(kApp, kSection, QStringLiteral("Max"), QStringLiteral("10")),
                 QStringLiteral("10"));
        QVERIFY(!QFile::exists(kovaldi::test::SettingsFilePath()));
        QVERIFY(store.SaveSetting(kApp, kSection, QStringLiteral("Min"), QStringLiteral("3")));
        QCOMPARE(store.GetSetting(kApp, kSection, QStringLiteral("Max"), QStringLiteral("10")),
                 QStringLiteral("10"));
        QCOMPARE(store.GetSetting(kApp, QStringLiteral("Other"), QStringLiteral("Min"), "d"),
                 QStringLiteral("d"));
    }

    void laterWriteReplacesEarlierAndKeepsOthers()
    {
        SettingsStore store;
        QVERIFY(store.SaveSetting(kApp, kSection, QStringLiteral("Min"), QStringLiteral("1")));
        QVERIFY(store.SaveSetting(kApp, kSection, QStringLiteral("Max"), QStringLiteral("9")));
        QVERIFY(store.SaveSetting(kApp, kSection, QStringLiteral("Min"), QStringLiteral("5")));
        QCOMPARE(store.GetSetting(kApp, kSection, QStringLiteral("Min"), {}), QStringLiteral("5"));
        QCOMPARE(store.GetSetting(kApp, kSection, QStringLiteral("Max"), {}), QStringLiteral("9"));
    }

    void badFilesGiveDefaults_data()
    {
        QTest::addColumn<QByteArray>("content");
        QTest::newRow("empty file") << QByteArray();
        QTest::newRow("binary garbage") << QByteArray("\x00\xff\xfe\x01[\x80\x81=\x00\n\x7f", 12);
        QTest::newRow("half a line") << QByteArray("[Conf");
        QTest::newRow("key without value") << QByteArray("[Config]\nMin");
        QTest::newRow("other section") << QByteArray("[Other]\nMin=7\n");
    }
    void badFilesGiveDefaults()
    {
        QFETCH(QByteArray, content);
        WriteSettingsFile(content);
        SettingsStore store;
        QCOMPARE(store.GetSetting(kApp, kSection, QStringLiteral("Min"), QStringLiteral("1")),
                 QStringLiteral("1"));
    }

    void unreadableStoreGivesDefaultsAndRefusesWrites()
    {
        // A folder where the file should be can be neither read nor written, even by root.
        QVERIFY(QDir().mkpath(kovaldi::test::SettingsFilePath()));
        SettingsStore store;
        QCOMPARE(store.GetSetting(kApp, kSection, QStringLiteral("Beam"), QStringLiteral("2")),
                 QStringLiteral("2"));
        QVERIFY(!store.SaveSetting(kApp, kSection, QStringLiteral("Beam"), QStringLiteral("3")));
    }

    void unwritableFolderRefusesWritesQuietly()
    {
        // The application's folder is a regular file.
        QFile blocker(QFileInfo(kovaldi::test::SettingsFilePath()).path());
        QVERIFY(blocker.open(QIODevice::WriteOnly));
        blocker.close();
        SettingsStore store;
        QVERIFY(!store.SaveSetting(kApp, kSection, QStringLiteral("Beam"), QStringLiteral("3")));
        QCOMPARE(store.GetSetting(kApp, kSection, QStringLiteral("Beam"), QStringLiteral("2")),
                 QStringLiteral("2"));
        QVERIFY(QFile::remove(blocker.fileName()));
    }

    void programFolderDropsTheTrailingSeparator_data()
    {
        QTest::addColumn<QString>("executableFolder");
        QTest::addColumn<QString>("programFolder");
        QTest::newRow("drive root") << "C:\\"
                                    << "C:";
        QTest::newRow("windows folder") << "C:\\Tools\\Kovaldi"
                                        << "C:\\Tools\\Kovaldi";
        QTest::newRow("posix folder") << "/usr/bin"
                                      << "/usr/bin";
        QTest::newRow("posix root stays") << "/"
                                          << "/";
    }
    void programFolderDropsTheTrailingSeparator()
    {
        QFETCH(QString, executableFolder);
        QFETCH(QString, programFolder);
        QCOMPARE(kovaldi::ProgramFolderFrom(executableFolder), programFolder);
    }
};

QTEST_GUILESS_MAIN(SettingsStoreTest)
#include "settingsstore_test.moc"
