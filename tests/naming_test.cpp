#include "naming/naming.h"

#include <QTest>
#include <limits>

using namespace kovaldi;

class NamingTest : public QObject
{
    Q_OBJECT
private slots:
    void numberText_data()
    {
        QTest::addColumn<qlonglong>("number");
        QTest::addColumn<int>("digitCount");
        QTest::addColumn<QString>("text");

        QTest::newRow("7, three digits") << 7LL << 3 << "007";
        QTest::newRow("0, three digits") << 0LL << 3 << "000";
        QTest::newRow("longer than the mask is not cut") << 1234LL << 3 << "1234";
        QTest::newRow("99999, ninety-nine digits")
            << 99999LL << 99 << QString(94, QLatin1Char('0')) + "99999";
        // The sign goes in front and is not one of the digits.
        QTest::newRow("-5, three digits") << -5LL << 3 << "-005";
        QTest::newRow("-1234, three digits, not cut") << -1234LL << 3 << "-1234";
        QTest::newRow("-5, no digits") << -5LL << 0 << "-5";
        QTest::newRow("7, negative digit count") << 7LL << -3 << "7";
        QTest::newRow("lowest 32-bit number")
            << qlonglong(std::numeric_limits<qint32>::min()) << 12 << "-002147483648";
        QTest::newRow("lowest 64-bit number")
            << std::numeric_limits<qlonglong>::min() << 0 << "-9223372036854775808";
    }
    void numberText()
    {
        QFETCH(qlonglong, number);
        QFETCH(int, digitCount);
        QTEST(FormatFolderNumber(number, BuildZeroMask(digitCount)), "text");
    }

    void folderName()
    {
        QCOMPARE(BuildFolderName("img", FormatFolderNumber(1, BuildZeroMask(3)), "_a"), "img001_a");
        QCOMPARE(BuildFolderName("", "007", ""), "007");
        QCOMPARE(BuildFolderName(" 写真\\", "-01", "枚目 "), " 写真\\-01枚目 "); // kept as typed
        QCOMPARE(BuildFolderName(" 写真\\", -1, BuildZeroMask(2), "枚目 "), " 写真\\-01枚目 ");
        QCOMPARE(BuildFolderName(QString(), 42, QString(), QString()), "42");
    }

    // Windows' rule, the design's, and the POSIX one, where "\" is part of a name.
    void baseFolder_data()
    {
        QTest::addColumn<QString>("target");
        QTest::addColumn<QChar>("separator");
        QTest::addColumn<QString>("base");
        const QChar windows = u'\\';
        const QChar posix = u'/';
        QTest::newRow("backslash appended") << "C:\\x" << windows << "C:\\x\\";
        QTest::newRow("ending in a backslash: unchanged") << "C:\\x\\" << windows << "C:\\x\\";
        QTest::newRow("drive root stays") << "C:\\" << windows << "C:\\";
        QTest::newRow("bare drive gets one") << "C:" << windows << "C:\\";
        QTest::newRow("two trailing backslashes kept") << "C:\\x\\\\" << windows << "C:\\x\\\\";
        QTest::newRow("forward slash is not a backslash") << "/tmp/x/" << windows << "/tmp/x/\\";
        QTest::newRow("blank after the backslash") << "C:\\x\\ " << windows << "C:\\x\\ \\";
        QTest::newRow("posix: slash appended") << "/tmp/x" << posix << "/tmp/x/";
        QTest::newRow("posix: ending in a slash: unchanged") << "/tmp/x/" << posix << "/tmp/x/";
        QTest::newRow("posix: root stays") << "/" << posix << "/";
        QTest::newRow("posix: a backslash ends no folder") << "/tmp/a\\" << posix << "/tmp/a\\/";
    }
    void baseFolder()
    {
        QFETCH(QString, target);
        QFETCH(QChar, separator);
        QTEST(BuildBaseFolder(target, separator), "base");
    }
};

QTEST_GUILESS_MAIN(NamingTest)
#include "naming_test.moc"
