#include "naming/naming.h"

#include <QTest>
#include <limits>

using namespace kovaldi;

class NamingTest : public QObject
{
    Q_OBJECT
private slots:
    void zeroMask_data()
    {
        QTest::addColumn<int>("digitCount");
        QTest::addColumn<QString>("mask");

        QTest::newRow("three digits") << 3 << "000";
        QTest::newRow("one digit") << 1 << "0";
        QTest::newRow("zero digits: empty") << 0 << "";
        QTest::newRow("negative: empty") << -3 << "";
        QTest::newRow("lowest digit count of the box: empty") << -9 << "";
        QTest::newRow("ten, the spinner's top") << 10 << "0000000000";
        QTest::newRow("ninety-nine, the box's top") << 99 << QString(99, QLatin1Char('0'));
    }
    void zeroMask()
    {
        QFETCH(int, digitCount);
        QFETCH(QString, mask);
        QCOMPARE(BuildZeroMask(digitCount), mask);
    }

    void numberText_data()
    {
        QTest::addColumn<qlonglong>("number");
        QTest::addColumn<int>("digitCount");
        QTest::addColumn<QString>("text");

        // Padding.
        QTest::newRow("7, three digits") << 7LL << 3 << "007";
        QTest::newRow("0, three digits") << 0LL << 3 << "000";
        QTest::newRow("7, two digits") << 7LL << 2 << "07";
        QTest::newRow("exactly as long as the mask") << 123LL << 3 << "123";
        QTest::newRow("longer than the mask is not cut") << 1234LL << 3 << "1234";
        QTest::newRow("1234, two digits") << 1234LL << 2 << "1234";
        QTest::newRow("99999, ninety-nine digits")
            << 99999LL << 99 << QString(94, QLatin1Char('0')) + "99999";

        // Negative numbers: the sign goes in front and is not one of the digits.
        QTest::newRow("-5, three digits") << -5LL << 3 << "-005";
        QTest::newRow("-5, two digits") << -5LL << 2 << "-05";
        QTest::newRow("-5, one digit") << -5LL << 1 << "-5";
        QTest::newRow("-2, two digits") << -2LL << 2 << "-02";
        QTest::newRow("-1234, three digits, not cut") << -1234LL << 3 << "-1234";
        QTest::newRow("-9999, five digits") << -9999LL << 5 << "-09999";
        QTest::newRow("-9999, ninety-nine digits")
            << -9999LL << 99 << "-" + QString(95, QLatin1Char('0')) + "9999";

        // No mask: the plain decimal form.
        QTest::newRow("7, no digits") << 7LL << 0 << "7";
        QTest::newRow("-5, no digits") << -5LL << 0 << "-5";
        QTest::newRow("0, no digits") << 0LL << 0 << "0";
        QTest::newRow("7, negative digit count") << 7LL << -3 << "7";
        QTest::newRow("99999, no digits") << 99999LL << 0 << "99999";

        // The ends of the 32-bit folder numbers.
        QTest::newRow("lowest 32-bit number")
            << qlonglong(std::numeric_limits<qint32>::min()) << 12 << "-002147483648";
        QTest::newRow("highest 32-bit number")
            << qlonglong(std::numeric_limits<qint32>::max()) << 0 << "2147483647";
        QTest::newRow("lowest 64-bit number")
            << std::numeric_limits<qlonglong>::min() << 0 << "-9223372036854775808";
    }
    void numberText()
    {
        QFETCH(qlonglong, number);
        QFETCH(int, digitCount);
        QFETCH(QString, text);
        const QString result = FormatFolderNumber(number, BuildZeroMask(digitCount));
        QCOMPARE(result, text);
        // Never a plus sign, a group separator or a decimal point, whatever the locale.
        QVERIFY(!result.contains(QLatin1Char('+')));
        QVERIFY(!result.contains(QLatin1Char(',')));
        QVERIFY(!result.contains(QLatin1Char('.')));
    }

    void folderName_data()
    {
        QTest::addColumn<QString>("header");
        QTest::addColumn<qlonglong>("number");
        QTest::addColumn<int>("digitCount");
        QTest::addColumn<QString>("footer");
        QTest::addColumn<QString>("name");

        QTest::newRow("header and footer around the number") << "a" << 7LL << 2 << "b"
                                                             << "a07b";
        QTest::newRow("img, 1, three digits, _a") << "img" << 1LL << 3 << "_a"
                                                  << "img001_a";
        QTest::newRow("empty header and footer: the number alone") << "" << 7LL << 3 << ""
                                                                   << "007";
        QTest::newRow("blanks are kept, not trimmed") << " x " << 5LL << 0 << " "
                                                      << " x 5 ";
        QTest::newRow("negative between header and footer") << "h" << -1LL << 2 << "f"
                                                            << "h-01f";
        QTest::newRow("Japanese texts") << "写真" << 12LL << 3 << "枚目"
                                        << "写真012枚目";
        QTest::newRow("a separator in the header is kept") << "a\\b" << 3LL << 1 << ""
                                                           << "a\\b3";
    }
    void folderName()
    {
        QFETCH(QString, header);
        QFETCH(qlonglong, number);
        QFETCH(int, digitCount);
        QFETCH(QString, footer);
        QFETCH(QString, name);
        QCOMPARE(
            BuildFolderName(header, FormatFolderNumber(number, BuildZeroMask(digitCount)), footer),
            name);
    }

    void baseFolder_data()
    {
        QTest::addColumn<QString>("target");
        QTest::addColumn<QString>("base");

        QTest::newRow("backslash appended") << "C:\\x"
                                            << "C:\\x\\";
        QTest::newRow("ending in a backslash: unchanged") << "C:\\x\\"
                                                          << "C:\\x\\";
        QTest::newRow("drive root stays") << "C:\\"
                                          << "C:\\";
        QTest::newRow("bare drive gets one") << "C:"
                                             << "C:\\";
        QTest::newRow("two trailing backslashes are both kept") << "C:\\x\\\\"
                                                                << "C:\\x\\\\";
        QTest::newRow("forward slash is not a backslash") << "/tmp/x/"
                                                          << "/tmp/x/\\";
        QTest::newRow("relative text, unresolved") << "sub"
                                                   << "sub\\";
        QTest::newRow("blanks, untrimmed") << "  "
                                           << "  \\";
        QTest::newRow("trailing blank after the backslash") << "C:\\x\\ "
                                                            << "C:\\x\\ \\";
    }
    void baseFolder()
    {
        QFETCH(QString, target);
        QFETCH(QString, base);
        QCOMPARE(BuildBaseFolder(target), base);
    }
};

QTEST_GUILESS_MAIN(NamingTest)
#include "naming_test.moc"
