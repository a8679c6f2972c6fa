#include "mainwindow/numbertext.h"
#include "numberreference.h"

#include <QLocale>
#include <QRandomGenerator>
#include <QTest>
#include <clocale>
#include <cmath>
#include <limits>

using namespace kovaldi;

namespace {

// The digits of the double nearest 10^300 and of the largest double.
const char kDigitsOf1e300[] =
    "1000000000000000052504760255204420248704468581108159154915854115511802457988908195786371"
    "3750804478640437044438328838781769425232353604305756447921847867069828483872009265758037"
    "3783023379478809005936895323497079994508111903896764088007465274278014249457925878882005"
    "6842838115669472196386865459400540160";

QString Repeated(const char* piece, int times)
{
    return QString(QLatin1String(piece)).repeated(times);
}

// Texts near the grammar: blanks, signs, digits, points and exponents in random amounts,
// now and then one character inserted, removed or replaced.
QString NearGrammarText(QRandomGenerator& random)
{
    const auto chance = [&random](int percent) {
        return int(random.bounded(100)) < percent;
    };
    const auto digits = [&random](int most) {
        QString text;
        const int count = int(random.bounded(most + 1));
        for (int i = 0; i < count; ++i)
            text += QChar(u'0' + random.bounded(10));
        return text;
    };
    QString text;
    if (chance(15))
        text += QString(int(random.bounded(1, 3)), u' ');
    if (chance(30))
        text += chance(50) ? u'-' : u'+';
    text += digits(chance(5) ? 400 : 7);
    if (chance(40))
        text += u'.' + digits(chance(5) ? 400 : 4);
    if (chance(35)) {
        text += chance(50) ? u'e' : u'E';
        if (chance(50))
            text += chance(50) ? u'-' : u'+';
        // Exponents around the edges of a double's range come up often.
        static const char* const exponents[] = {"308", "309", "307", "323", "324", "325", "15"};
        text += chance(30) ? QString::fromLatin1(exponents[random.bounded(7)]) : digits(3);
    }
    if (chance(15))
        text += QString(int(random.bounded(1, 3)), u' ');
    if (chance(20) && !text.isEmpty()) {
        static const char16_t strays[] = {u'.',  u'-',  u'+',  u'e',      u' ', u',', u'x',
                                          u'\t', u'１', u'　', u'\u00a0', u'٣', u'i', u'\0'};
        const QChar stray = strays[random.bounded(int(std::size(strays)))];
        const qsizetype at = random.bounded(int(text.size()));
        switch (random.bounded(3)) {
        case 0:
            text.insert(at, stray);
            break;
        case 1:
            text.remove(at, 1);
            break;
        default:
            text[at] = stray;
        }
    }
    return text;
}

// Any UTF-16 text, unpaired surrogates included, mostly short, with grammar characters
// mixed in so that some of them are numbers.
QString ArbitraryText(QRandomGenerator& random)
{
    static const char16_t grammar[] = u" +-.eE0123456789";
    QString text;
    const int length = int(random.bounded(random.bounded(10) == 0 ? 200 : 13));
    for (int i = 0; i < length; ++i)
        text += random.bounded(2) ? QChar(char16_t(random.bounded(0x10000)))
                                  : QChar(grammar[random.bounded(int(std::size(grammar)) - 1)]);
    return text;
}

} // namespace

class NumberTextTest : public QObject
{
    Q_OBJECT
private slots:
    void numericText_data()
    {
        QTest::addColumn<QString>("text");
        QTest::addColumn<bool>("numeric");
        QTest::addColumn<double>("value");

        // The grammar.
        QTest::newRow("digits") << "5" << true << 5.0;
        QTest::newRow("point then digits") << ".5" << true << 0.5;
        QTest::newRow("digits point digits") << "5.5" << true << 5.5;
        QTest::newRow("trailing point") << "5." << true << 5.0;
        QTest::newRow("leading zeros") << "007" << true << 7.0;
        QTest::newRow("blanks around") << "  12 " << true << 12.0;
        QTest::newRow("plus sign") << "+5" << true << 5.0;
        QTest::newRow("minus sign") << "-0.5" << true << -0.5;
        QTest::newRow("exponent") << "1e3" << true << 1000.0;
        QTest::newRow("capital exponent with sign") << "1E+3" << true << 1000.0;
        QTest::newRow("negative exponent") << "25e-1" << true << 2.5;
        QTest::newRow("point and exponent") << "-.5e1" << true << -5.0;
        QTest::newRow("point alone") << "." << false << 0.0;
        QTest::newRow("empty") << "" << false << 0.0;
        QTest::newRow("blanks only") << "   " << false << 0.0;
        QTest::newRow("sign alone") << "-" << false << 0.0;
        QTest::newRow("sign and point") << "+." << false << 0.0;
        QTest::newRow("two signs") << "+-5" << false << 0.0;
        QTest::newRow("sign behind") << "5-" << false << 0.0;
        QTest::newRow("blank after sign") << "- 5" << false << 0.0;
        QTest::newRow("blank among digits") << "1 2" << false << 0.0;
        QTest::newRow("two points") << "1.2.3" << false << 0.0;
        QTest::newRow("point before exponent only") << ".e1" << false << 0.0;
        QTest::newRow("exponent without digits") << "1e" << false << 0.0;
        QTest::newRow("exponent sign without digits") << "1e+" << false << 0.0;
        QTest::newRow("exponent without mantissa") << "e5" << false << 0.0;
        QTest::newRow("fractional exponent") << "5e1.5" << false << 0.0;
        QTest::newRow("letter behind") << "1a" << false << 0.0;

        // Forms some number parsers take and this one does not.
        QTest::newRow("inf") << "inf" << false << 0.0;
        QTest::newRow("negative infinity") << "-Infinity" << false << 0.0;
        QTest::newRow("nan") << "nan" << false << 0.0;
        QTest::newRow("hexadecimal") << "0x10" << false << 0.0;
        QTest::newRow("hexadecimal with ampersand") << "&H10" << false << 0.0;
        QTest::newRow("group separator") << "1,000" << false << 0.0;
        QTest::newRow("decimal comma") << "1,5" << false << 0.0;
        QTest::newRow("full-width digits") << "１２" << false << 0.0;
        QTest::newRow("arabic-indic digit") << "٣" << false << 0.0;
        QTest::newRow("tab before") << "\t5" << false << 0.0;
        QTest::newRow("newline behind") << "5\n" << false << 0.0;
        QTest::newRow("ideographic space") << "　5" << false << 0.0;
        QTest::newRow("no-break space") << "\u00a05" << false << 0.0;
        QTest::newRow("nul behind") << QString(QStringLiteral("5") + QChar(u'\0')) << false << 0.0;
        QTest::newRow("parentheses for negative") << "(5)" << false << 0.0;
        QTest::newRow("currency sign") << "$5" << false << 0.0;
        QTest::newRow("type suffix") << "5d" << false << 0.0;

        // The range of a double.
        QTest::newRow("largest double")
            << "1.7976931348623157e308" << true << std::numeric_limits<double>::max();
        QTest::newRow("just beyond the largest double") << "1.7976931348623159e308" << false << 0.0;
        QTest::newRow("overflow") << "1e309" << false << 0.0;
        QTest::newRow("negative overflow") << "-1e309" << false << 0.0;
        QTest::newRow("huge exponent") << "1e99999999999999999999" << false << 0.0;
        QTest::newRow("400 nines") << Repeated("9", 400) << false << 0.0;
        QTest::newRow("400 leading zeros") << Repeated("0", 400) + "1" << true << 1.0;
        QTest::newRow("zero with huge exponent") << "0e99999999999" << true << 0.0;
        QTest::newRow("underflow rounds to zero") << "1e-400" << true << 0.0;
        QTest::newRow("subnormal") << "1e-320" << true << 1e-320;
        QTest::newRow("tiny by its fraction") << "0." + Repeated("0", 400) + "1" << true << 0.0;
    }
    void numericText()
    {
        QFETCH(QString, text);
        QFETCH(bool, numeric);
        QFETCH(double, value);
        QCOMPARE(IsNumericText(text), numeric);
        QCOMPARE(NumericValue(text), value);
        QCOMPARE(test::ReferenceNumericValue(text).has_value(), numeric);
    }

    void negativeZeroKeepsItsSign()
    {
        QVERIFY(std::signbit(NumericValue(QStringLiteral("-0"))));
        QVERIFY(std::signbit(NumericValue(QStringLiteral("-1e-400"))));
        QCOMPARE(WholePartText(QStringLiteral("-0")), QStringLiteral("0"));
        QCOMPARE(WholePartText(QStringLiteral("-1e-400")), QStringLiteral("0"));
    }

    void pointIsTheDecimalPointInEveryLocale()
    {
        const QLocale previous;
        QLocale::setDefault(QLocale(QLocale::German, QLocale::Germany));
        // Only takes effect where the German locale is installed; harmless elsewhere.
        std::setlocale(LC_ALL, "de_DE.UTF-8");
        const bool commaIsNumeric = IsNumericText(QStringLiteral("1,5"));
        const double value = NumericValue(QStringLiteral("1.5"));
        const QString whole = WholeNumberText(1e15);
        std::setlocale(LC_ALL, "C.UTF-8");
        QLocale::setDefault(previous);
        QVERIFY(!commaIsNumeric);
        QCOMPARE(value, 1.5);
        QCOMPARE(whole, QStringLiteral("1000000000000000"));
    }

    void wholeNumberText_data()
    {
        QTest::addColumn<double>("number");
        QTest::addColumn<QString>("text");
        QTest::newRow("zero") << 0.0 << "0";
        QTest::newRow("negative zero") << -0.0 << "0";
        QTest::newRow("one") << 1.0 << "1";
        QTest::newRow("negative") << -1234.0 << "-1234";
        QTest::newRow("just below 10^15") << 999999999999999.0 << "999999999999999";
        QTest::newRow("10^15 in full") << 1e15 << "1000000000000000";
        QTest::newRow("negative 10^15 in full") << -1e15 << "-1000000000000000";
        QTest::newRow("10^23 as the double holds it") << 1e23 << "99999999999999991611392";
        QTest::newRow("2^63") << 9223372036854775808.0 << "9223372036854775808";
        QTest::newRow("10^300") << 1e300 << kDigitsOf1e300;
        QTest::newRow("lowest double")
            << std::numeric_limits<double>::lowest()
            << test::ReferenceWholeNumberText(std::numeric_limits<double>::lowest());
    }
    void wholeNumberText()
    {
        QFETCH(double, number);
        QFETCH(QString, text);
        QCOMPARE(WholeNumberText(number), text);
        QCOMPARE(WholeNumberText(number), test::ReferenceWholeNumberText(number));
    }

    void wholeNumberIn_data()
    {
        QTest::addColumn<QString>("text");
        QTest::addColumn<int>("lowest");
        QTest::addColumn<int>("highest");
        QTest::addColumn<bool>("found");
        QTest::addColumn<int>("number");
        QTest::newRow("canonical") << "99" << -32768 << 32767 << true << 99;
        QTest::newRow("exponent form") << "1e2" << -32768 << 32767 << true << 100;
        QTest::newRow("below") << "-32769" << -32768 << 32767 << false << 0;
        QTest::newRow("above") << "32768" << -32768 << 32767 << false << 0;
        QTest::newRow("fraction") << "2.5" << -32768 << 32767 << false << 0;
        QTest::newRow("not numeric") << "txtBeam" << -32768 << 32767 << false << 0;
    }
    void wholeNumberIn()
    {
        QFETCH(QString, text);
        QFETCH(int, lowest);
        QFETCH(int, highest);
        QFETCH(bool, found);
        QFETCH(int, number);
        const std::optional<long long> result = WholeNumberIn(text, lowest, highest);
        QCOMPARE(result.has_value(), found);
        if (found)
            QCOMPARE(*result, number);
        QVERIFY(!WholeNumberIn(QStringLiteral("1e19"), std::numeric_limits<long long>::min(),
                               std::numeric_limits<long long>::max()));
    }

    // What the tables of typed texts do not show: exponent forms, and how deep each one nests.
    void normalisation_data()
    {
        QTest::addColumn<bool>("digitCount");
        QTest::addColumn<QString>("text");
        QTest::addColumn<QString>("result");
        QTest::addColumn<int>("runs");

        QTest::newRow("canonical runs once") << false << "-9999"
                                             << "-9999" << 1;
        QTest::newRow("not numeric, one nested run") << false << "abc"
                                                     << "1" << 2;
        QTest::newRow("too long, one nested run") << false << "100000"
                                                  << "10000" << 2;
        QTest::newRow("whole part too long, two nested runs") << false << "1e5"
                                                              << "10000" << 3;
        QTest::newRow("negative whole part too long") << false << "-1e4"
                                                      << "10000" << 3;
        QTest::newRow("10^15 is written in full, then too long") << false << "1e15"
                                                                 << "10000" << 3;
        QTest::newRow("10^15 with exponent sign") << false << "1E+15"
                                                  << "10000" << 3;
        QTest::newRow("negative 10^15") << false << "-1e15"
                                        << "10000" << 3;
        QTest::newRow("9e99") << false << "9e99"
                              << "10000" << 3;
        QTest::newRow("tiny negative rounds down to -1") << false << "-1e-9"
                                                         << "-1" << 2;
        QTest::newRow("negative zero") << false << "-0"
                                       << "0" << 2;
        QTest::newRow("overflow is not numeric") << false << "1e309"
                                                 << "1" << 2;
        QTest::newRow("digit count exponent") << true << "1e1"
                                              << "10" << 2;
        QTest::newRow("digit count 10^15") << true << "1e15"
                                           << "10" << 2;
        QTest::newRow("digit count blank before") << true << " 9"
                                                  << "9" << 2;
        QTest::newRow("digit count plus") << true << "+9"
                                          << "9" << 2;
        QTest::newRow("digit count -.5 too long") << true << "-.5"
                                                  << "10" << 2;
        QTest::newRow("digit count -9") << true << "-9"
                                        << "-9" << 1;
    }
    void normalisation()
    {
        QFETCH(bool, digitCount);
        QFETCH(QString, text);
        QFETCH(QString, result);
        QFETCH(int, runs);
        const NumberBoxOutcome outcome =
            NormalizeNumberBoxText(text, digitCount ? DigitCountLimits() : MinMaxLimits());
        QCOMPARE(outcome.text, result);
        QCOMPARE(outcome.runs, runs);
        QCOMPARE(outcome.deepest, runs); // every further run is nested in the one before
    }

    void everyTextEndsCanonical_data()
    {
        QTest::addColumn<int>("seed");
        QTest::addColumn<bool>("nearGrammar");
        QTest::newRow("arbitrary UTF-16, seed 1") << 1 << false;
        QTest::newRow("arbitrary UTF-16, seed 2") << 2 << false;
        QTest::newRow("near the grammar, seed 3") << 3 << true;
        QTest::newRow("near the grammar, seed 4") << 4 << true;
    }
    void everyTextEndsCanonical()
    {
        QFETCH(int, seed);
        QFETCH(bool, nearGrammar);
        QRandomGenerator random(seed);
        int numeric = 0;
        const int count = 25000;
        for (int i = 0; i < count; ++i) {
            const QString text = nearGrammar ? NearGrammarText(random) : ArbitraryText(random);
            const QString failure = test::CheckNumberBoxProperties(text);
            if (!failure.isEmpty())
                QFAIL(qPrintable(failure));
            numeric += IsNumericText(text);
        }
        // Both kinds must reach the numbers, or they test little beyond step 1.
        QVERIFY2(numeric > count / (nearGrammar ? 3 : 50), qPrintable(QString::number(numeric)));
    }
};

QTEST_GUILESS_MAIN(NumberTextTest)
#include "numbertext_test.moc"
