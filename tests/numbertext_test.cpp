#include "numberbox.h"
#include "numberreference.h"
#include "numbers/numbertext.h"

#include <QLocale>
#include <QRandomGenerator>
#include <QTest>
#include <clocale>
#include <limits>

using namespace kovaldi;

namespace {

// Any UTF-16, unpaired surrogates included, half of it grammar characters.
QString ArbitraryText(QRandomGenerator& r)
{
    QString text;
    for (int i = int(r.bounded(r.bounded(10) == 0 ? 200 : 13)); i > 0; --i)
        text += r.bounded(2) ? QChar(char16_t(r.bounded(0x10000)))
                             : QChar(u" +-.eE0123456789０９－＋．−ー"[r.bounded(23)]);
    return text;
}

// Texts near the grammar, exponents often at a double's edges, now and then with one
// character inserted, removed or replaced.
QString NearGrammarText(QRandomGenerator& r)
{
    const auto digits = [&r](int most) {
        QString result;
        for (int i = int(r.bounded(most + 1)); i > 0; --i)
            result += QChar(u'0' + r.bounded(10));
        return result;
    };
    const auto blanks = [&r] {
        return QString(r.bounded(100) < 15 ? r.bounded(1, 3) : 0, u' ');
    };
    QString text = blanks();
    if (r.bounded(100) < 30)
        text += u"+-"[r.bounded(2)];
    text += digits(r.bounded(100) < 5 ? 400 : 7);
    if (r.bounded(100) < 40)
        text += u'.' + digits(r.bounded(100) < 5 ? 400 : 4);
    if (r.bounded(100) < 35) {
        static const char* const edges[] = {"308", "309", "307", "323", "324", "325", "15"};
        text += u"eE"[r.bounded(2)];
        if (r.bounded(2))
            text += u"+-"[r.bounded(2)];
        text += r.bounded(100) < 30 ? QString::fromLatin1(edges[r.bounded(7)]) : digits(3);
    }
    text += blanks();
    if (r.bounded(100) < 20 && !text.isEmpty()) {
        static const char16_t strays[] = {u'.',  u'-',  u'+',  u'e',      u' ', u',', u'x',
                                          u'\t', u'１', u'　', u'\u00a0', u'٣', u'i', u'\0'};
        const QChar stray = strays[r.bounded(int(std::size(strays)))];
        const qsizetype at = r.bounded(int(text.size()));
        const int edit = int(r.bounded(3)); // insert, remove or replace
        text.replace(at, edit == 0 ? 0 : 1, edit == 1 ? QString() : QString(stray));
    }
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
        QTest::addColumn<double>("value"); // NaN: not numeric
        static const struct
        {
            const char16_t* text;
            double value;
        } numbers[] = {{u"5", 5},      {u".5", 0.5},         {u"5.5", 5.5},   {u"5.", 5},
                       {u"007", 7},    {u"  12 ", 12},       {u"+5", 5},      {u"-0.5", -0.5},
                       {u"1e3", 1000}, {u"1E+3", 1000},      {u"25e-1", 2.5}, {u"-.5e1", -5},
                       {u"1e-400", 0}, {u"0e99999999999", 0}};
        for (const auto& row : numbers)
            QTest::addRow("numeric: [%s]", qPrintable(QString::fromUtf16(row.text)))
                << QString::fromUtf16(row.text) << row.value;
        QTest::newRow("largest double")
            << "1.7976931348623157e308" << std::numeric_limits<double>::max();
        QTest::newRow("tiny by its fraction") << "0." + QString(400, u'0') + "1" << 0.0;
        QTest::newRow("just beyond the largest double") << "1.7976931348623159e308" << qQNaN();
        QTest::newRow("400 nines") << QString(400, u'9') << qQNaN();
        QTest::newRow("huge exponent") << "1e99999999999999999999" << qQNaN();
        // The grammar's edges, forms other parsers take, other blanks and digits, overflow.
        static const char16_t* const notNumeric[] = {
            u"",      u".",     u"   ", u"-",    u"+.",  u"+-5",   u"5-",      u"- 5",  u"1 2",
            u"1.2.3", u".e1",   u"1e",  u"1e+",  u"e5",  u"5e1.5", u"1a",      u"inf",  u"nan",
            u"0x10",  u"1,000", u"1,5", u"１２", u"\t5", u"　5",   u"\u00a05", u"1e309"};
        for (const char16_t* text : notNumeric)
            QTest::addRow("not numeric: [%s]", qPrintable(QString::fromUtf16(text)))
                << QString::fromUtf16(text) << qQNaN();
    }
    void numericText()
    {
        QFETCH(QString, text);
        QFETCH(double, value);
        const bool numeric = !qIsNaN(value);
        QCOMPARE(IsNumericText(text), numeric);
        QCOMPARE(ParseNumericText(text).value_or(0.0), numeric ? value : 0.0);
        QCOMPARE(test::ReferenceNumericValue(text).has_value(), numeric);
    }

    void pointIsTheDecimalPointInEveryLocale()
    {
        const QLocale previous;
        QLocale::setDefault(QLocale(QLocale::German, QLocale::Germany));
        std::setlocale(LC_ALL, "de_DE.UTF-8"); // takes effect only where it is installed
        const bool commaIsNumeric = IsNumericText(QStringLiteral("1,5"));
        const double value = ParseNumericText(QStringLiteral("1.5")).value_or(0.0);
        const QString whole = WholeNumberText(1e15);
        std::setlocale(LC_ALL, "C.UTF-8");
        QLocale::setDefault(previous);
        QVERIFY(!commaIsNumeric);
        QCOMPARE(value, 1.5);
        QCOMPARE(whole, QStringLiteral("1000000000000000"));
    }

    void wholeNumbers()
    {
        for (const double number : {-0.0, -1234.0, 1e23, std::numeric_limits<double>::lowest()})
            QCOMPARE(WholeNumberText(number), test::ReferenceWholeNumberText(number));
        QCOMPARE(WholeNumberIn(QStringLiteral("1e2"), -32768, 32767).value_or(0), 100);
        for (const char* outside : {"-32769", "32768", "2.5", "txtBeam"})
            QVERIFY2(!WholeNumberIn(QString::fromLatin1(outside), -32768, 32767), outside);
        QVERIFY(!WholeNumberIn(QStringLiteral("1e19"), std::numeric_limits<long long>::min(),
                               std::numeric_limits<long long>::max()));
    }

    // How deep the minimum/maximum handling nests: each further run in the one before.
    void normalisation_data()
    {
        QTest::addColumn<QString>("text");
        QTest::addColumn<int>("runs");
        QTest::addColumn<QString>("result");
        QTest::newRow("canonical runs once") << "-9999" << 1 << "-9999";
        QTest::newRow("not numeric, nested once") << "abc" << 2 << "1";
        QTest::newRow("too long, nested once") << "100000" << 2 << "10000";
        QTest::newRow("negative zero, nested once") << "-0" << 2 << "0";
        QTest::newRow("whole part too long, nested twice") << "1e5" << 3 << "10000";
        QTest::newRow("10^15 in full, then too long") << "1e15" << 3 << "10000";
        QTest::newRow("full-width digits and sign") << "－１２" << 2 << "-12";
        QTest::newRow("full-width point, then the whole part") << "＋１．５" << 3 << "1";
        QTest::newRow("minus sign") << "\u22127" << 2 << "-7";
        QTest::newRow("long vowel mark is no minus") << "ー５" << 3 << "1";
    }
    void normalisation()
    {
        QFETCH(QString, text);
        QFETCH(int, runs);
        QFETCH(QString, result);
        const test::NumberBoxOutcome outcome = test::NormalizeNumberBoxText(text, MinMaxLimits());
        QCOMPARE(outcome.text, result);
        QCOMPARE(outcome.runs, runs);
        QCOMPARE(outcome.deepest, runs);
    }

    void everyTextEndsCanonical()
    {
        for (const bool nearGrammar : {false, true}) {
            QRandomGenerator random(nearGrammar ? 2 : 1);
            const int count = 50000;
            int numeric = 0;
            for (int i = 0; i < count; ++i) {
                const QString text = nearGrammar ? NearGrammarText(random) : ArbitraryText(random);
                const QString failure = test::CheckNumberBoxProperties(text);
                if (!failure.isEmpty())
                    QFAIL(qPrintable(failure));
                numeric += IsNumericText(text);
            }
            // Both kinds must reach the numbers, or they test little beyond the grammar.
            QVERIFY2(numeric > count / (nearGrammar ? 3 : 50),
                     qPrintable(QString::number(numeric)));
        }
    }
};

QTEST_GUILESS_MAIN(NumberTextTest)
#include "numbertext_test.moc"
