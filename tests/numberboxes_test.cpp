#include "mainwindow/mainwindow.h"
#include "mainwindow/updown.h"
#include "settings/settingsstore.h"
#include "testenv.h"

#include <QApplication>
#include <QClipboard>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QInputMethodEvent>
#include <QLabel>
#include <QLineEdit>
#include <QSignalSpy>
#include <QTest>
#include <memory>

using kovaldi::MainWindow;

namespace {

enum class Entry { Typed, Pasted };

bool IsLatin1(const QString& text)
{
    for (const QChar c : text)
        if (c.unicode() > 0xff)
            return false;
    return true;
}

// Replaces the whole text of the box by `text` in one edit, as the user does: select all,
// then one key press carrying the text (Backspace for an empty text), or an input method's
// commit where the keyboard cannot produce the text, or Ctrl+V.
void Enter(QLineEdit* box, const QString& text, Entry entry)
{
    box->setFocus();
    QTest::keyClick(box, Qt::Key_A, Qt::ControlModifier);
    QVERIFY(box->selectedText() == box->text());
    if (entry == Entry::Pasted) {
        QGuiApplication::clipboard()->setText(text);
        QTest::keyClick(box, Qt::Key_V, Qt::ControlModifier);
    } else if (text.isEmpty()) {
        QTest::keyClick(box, Qt::Key_Backspace);
    } else if (IsLatin1(text)) {
        QTest::sendKeyEvent(QTest::Click, box, Qt::Key_unknown, text, Qt::NoModifier);
    } else {
        QInputMethodEvent commit;
        commit.setCommitString(text);
        QApplication::sendEvent(box, &commit);
    }
}

// A number as the preview writes it with `zeros` digits, stated independently of the
// program's own formatting.
QString Padded(int number, int zeros)
{
    const QString digits = QString::number(qAbs(number));
    return (number < 0 ? QStringLiteral("-") : QString()) +
           QString(qMax(0, zeros - int(digits.size())), QLatin1Char('0')) + digits;
}

QString Preview(const QString& first, const QString& last)
{
    return first + QStringLiteral(" ～ ") + last;
}

} // namespace

class NumberBoxesTest : public QObject
{
    Q_OBJECT
private:
    kovaldi::SettingsStore m_store;
    std::unique_ptr<MainWindow> m_window;

    MainWindow& ShownWindow()
    {
        m_window = std::make_unique<MainWindow>(m_store);
        m_window->Form_Load();
        m_window->show();
        m_window->activateWindow();
        if (!QTest::qWaitForWindowActive(m_window.get()))
            qWarning("window did not become active");
        return *m_window;
    }

    // The settings file as a user or another program may have left it.
    static void WriteSettingsFile(const QByteArray& configLines)
    {
        const QString path = kovaldi::test::SettingsFilePath();
        QVERIFY(QDir().mkpath(QFileInfo(path).path()));
        QFile file(path);
        QVERIFY(file.open(QIODevice::WriteOnly | QIODevice::Truncate));
        file.write("[Config]\n" + configLines);
    }

private slots:
    void initTestCase() { kovaldi::test::UseTemporaryConfigHome(); }
    void init() { kovaldi::test::ClearSettings(); }
    void cleanup()
    {
        m_window.reset();
        QCOMPARE(QApplication::topLevelWidgets().size(), 0);
    }

    void enteredTextEndsCanonical_data()
    {
        QTest::addColumn<QString>("box");
        QTest::addColumn<QString>("entered");
        QTest::addColumn<QString>("result");

        const struct
        {
            const char* name;
            const char16_t* entered;
            const char* result;
        } numbers[] = {
            {"everything deleted", u"", "1"},
            {"letters", u"abc", "1"},
            {"digit then letter", u"1a", "1"},
            {"lone minus", u"-", "1"},
            {"lone point", u".", "1"},
            {"leading zeros", u"007", "7"},
            {"blanks around", u" 12 ", "12"},
            {"plus sign", u"+5", "5"},
            {"fraction rounds down", u"1.9", "1"},
            {"negative fraction rounds down", u"-0.5", "-1"},
            {"negative four digits", u"-1234", "-1234"},
            {"largest five digits", u"99999", "99999"},
            {"six digits", u"100000", "10000"},
            {"negative five digits is six characters", u"-12345", "10000"},
            {"exponent", u"1e3", "1000"},
            {"exponent with six-digit whole part", u"1e5", "10000"},
            {"10^15 written in full is too long", u"1e15", "10000"},
            {"10^15 with exponent sign", u"1E+15", "10000"},
            {"decimal comma", u"1,5", "1"},
            {"full-width digits", u"１２", "1"},
            {"ideographic space before", u"　5", "1"},
            {"hiragana", u"いち", "1"},
        };
        for (const char* box : {"txtMin", "txtMax"})
            for (const auto& row : numbers)
                QTest::addRow("%s: %s", box, row.name)
                    << box << QString::fromUtf16(row.entered) << row.result;

        const struct
        {
            const char* name;
            const char16_t* entered;
            const char* result;
        } digitCounts[] = {
            {"everything deleted", u"", "1"},
            {"letter", u"x", "1"},
            {"leading zero", u"03", "3"},
            {"three digits", u"100", "10"},
            {"three characters with a point", u"2.5", "10"},
            {"trailing point", u"9.", "9"},
            {"point five rounds down to zero", u".5", "0"},
            {"negative", u"-5", "-5"},
            {"full-width digit", u"３", "1"},
        };
        for (const auto& row : digitCounts)
            QTest::addRow("txtBeam: %s", row.name)
                << "txtBeam" << QString::fromUtf16(row.entered) << row.result;
    }
    void enteredTextEndsCanonical()
    {
        QFETCH(QString, box);
        QFETCH(QString, entered);
        QFETCH(QString, result);
        for (const Entry entry : {Entry::Typed, Entry::Pasted}) {
            MainWindow& window = ShownWindow();
            auto* target = window.findChild<QLineEdit*>(box);
            Enter(target, entered, entry);
            QCOMPARE(target->text(), result);
            // A corrected box has its caret behind the new text.
            QCOMPARE(target->cursorPosition(), target->text().size());
            QVERIFY(!target->hasSelectedText());

            // The preview follows: minimum 1, maximum 10 and two digits but for the edited box.
            const int count = box == QLatin1String("txtBeam") ? result.toInt() : 2;
            const int minimum = box == QLatin1String("txtMin") ? result.toInt() : 1;
            const int maximum = box == QLatin1String("txtMax") ? result.toInt() : 10;
            QCOMPARE(window.lblTest->text(),
                     Preview(Padded(minimum, count), Padded(maximum, count)));
        }
    }

    void typingKeyByKey_data()
    {
        QTest::addColumn<QString>("box");
        QTest::addColumn<QString>("keys");
        QTest::addColumn<QStringList>("texts"); // the box's text after each key

        QTest::newRow("a number digit by digit") << "txtMax"
                                                 << "120" << QStringList{"1", "12", "120"};
        QTest::newRow("a point is dropped at once") << "txtMin"
                                                    << "1.5" << QStringList{"1", "1", "15"};
        QTest::newRow("a minus alone becomes 1") << "txtMin"
                                                 << "-5" << QStringList{"1", "15"};
        QTest::newRow("leading zero is dropped") << "txtBeam"
                                                 << "05" << QStringList{"0", "5"};
        QTest::newRow("third digit exceeds the digit count")
            << "txtBeam"
            << "123" << QStringList{"1", "12", "10"};
    }
    void typingKeyByKey()
    {
        QFETCH(QString, box);
        QFETCH(QString, keys);
        QFETCH(QStringList, texts);
        MainWindow& window = ShownWindow();
        auto* target = window.findChild<QLineEdit*>(box);
        target->setFocus();
        QTest::keyClick(target, Qt::Key_A, Qt::ControlModifier);
        for (int i = 0; i < keys.size(); ++i) {
            QTest::keyClick(target, keys.at(i).toLatin1());
            QCOMPARE(target->text(), texts.at(i));
        }
    }

    void caretStaysInACanonicalText()
    {
        MainWindow& window = ShownWindow();
        window.txtMax->setFocus();
        QTest::keyClick(window.txtMax, Qt::Key_End);
        QTest::keyClick(window.txtMax, Qt::Key_Left); // between 1 and 0
        QTest::keyClick(window.txtMax, '5');
        QCOMPARE(window.txtMax->text(), QStringLiteral("150"));
        QCOMPARE(window.txtMax->cursorPosition(), 2);

        // Before the minus of -5: a digit there makes 5-5, not numeric, so the box is corrected.
        Enter(window.txtMin, QStringLiteral("-5"), Entry::Typed);
        QTest::keyClick(window.txtMin, Qt::Key_Home);
        QTest::keyClick(window.txtMin, '5');
        QCOMPARE(window.txtMin->text(), QStringLiteral("1"));
        QCOMPARE(window.txtMin->cursorPosition(), 1);

        // Japanese input in the middle of a canonical number ends in a correction, too.
        Enter(window.txtBeam, QStringLiteral("12"), Entry::Typed);
        QTest::keyClick(window.txtBeam, Qt::Key_Home);
        QInputMethodEvent commit;
        commit.setCommitString(QStringLiteral("あ"));
        QApplication::sendEvent(window.txtBeam, &commit);
        QCOMPARE(window.txtBeam->text(), QStringLiteral("1"));
        QCOMPARE(window.txtBeam->cursorPosition(), 1);
    }

    void correctionsNestAtMostTwice_data()
    {
        QTest::addColumn<QString>("box");
        QTest::addColumn<QString>("entered");
        // The texts the box takes, in the order their handling finishes: a nested run
        // finishes before the run whose correction started it.
        QTest::addColumn<QStringList>("finished");

        QTest::newRow("canonical, no nesting") << "txtMin"
                                               << "42" << QStringList{"42"};
        QTest::newRow("not numeric, nested once") << "txtMin"
                                                  << "abc" << QStringList{"1", "abc"};
        QTest::newRow("too long, nested once") << "txtMax"
                                               << "123456" << QStringList{"10000", "123456"};
        QTest::newRow("whole part too long, nested twice")
            << "txtMax"
            << "1e5" << QStringList{"10000", "100000", "1e5"};
        QTest::newRow("digit count not numeric, nested once") << "txtBeam"
                                                              << "x" << QStringList{"1", "x"};
        QTest::newRow("digit count fraction, nested once") << "txtBeam"
                                                           << ".5" << QStringList{"0", ".5"};
    }
    void correctionsNestAtMostTwice()
    {
        QFETCH(QString, box);
        QFETCH(QString, entered);
        QFETCH(QStringList, finished);
        MainWindow& window = ShownWindow();
        auto* target = window.findChild<QLineEdit*>(box);
        QStringList texts;
        QList<QSignalSpy*> others;
        for (QLineEdit* each : {window.txtMin, window.txtMax, window.txtBeam, window.txtHeader,
                                window.txtFooter, window.txtPath})
            if (each == target)
                connect(each, &QLineEdit::textChanged, this,
                        [&texts](const QString& text) { texts << text; });
            else
                others << new QSignalSpy(each, &QLineEdit::textChanged);
        Enter(target, entered, Entry::Pasted);
        QCOMPARE(texts, finished);
        // Nothing else changes: a correction in one number box leaves the others alone.
        for (QSignalSpy* spy : others) {
            QCOMPARE(spy->size(), 0);
            delete spy;
        }
    }

    void previewOfTheEdges_data()
    {
        QTest::addColumn<QString>("header");
        QTest::addColumn<QString>("footer");
        QTest::addColumn<QString>("minimum");
        QTest::addColumn<QString>("maximum");
        QTest::addColumn<QString>("digitCount");
        QTest::addColumn<QString>("preview");

        QTest::newRow("defaults") << ""
                                  << ""
                                  << "1"
                                  << "10"
                                  << "2"
                                  << "01 ～ 10";
        QTest::newRow("digit count zero") << ""
                                          << ""
                                          << "1"
                                          << "10"
                                          << "0"
                                          << "1 ～ 10";
        QTest::newRow("digit count negative") << ""
                                              << ""
                                              << "1"
                                              << "10"
                                              << "-5"
                                              << "1 ～ 10";
        QTest::newRow("header and footer") << "img"
                                           << "_a"
                                           << "1"
                                           << "120"
                                           << "3"
                                           << "img001_a ～ img120_a";
        QTest::newRow("minimum above maximum") << ""
                                               << ""
                                               << "10"
                                               << "1"
                                               << "2"
                                               << "10 ～ 01";
        QTest::newRow("negative minimum") << ""
                                          << ""
                                          << "-5"
                                          << "99999"
                                          << "3"
                                          << "-005 ～ 99999";
        QTest::newRow("japanese header and footer") << "画像"
                                                    << "_末尾"
                                                    << "7"
                                                    << "8"
                                                    << "2"
                                                    << "画像07_末尾 ～ 画像08_末尾";
        QTest::newRow("blanks kept") << " a "
                                     << " "
                                     << "1"
                                     << "2"
                                     << "1"
                                     << " a 1  ～  a 2 ";
        QTest::newRow("digit count 99")
            << ""
            << ""
            << "1"
            << "10"
            << "99"
            << Preview(QString(98, QLatin1Char('0')) + "1", QString(97, QLatin1Char('0')) + "10");
    }
    void previewOfTheEdges()
    {
        QFETCH(QString, header);
        QFETCH(QString, footer);
        QFETCH(QString, minimum);
        QFETCH(QString, maximum);
        QFETCH(QString, digitCount);
        QFETCH(QString, preview);
        MainWindow& window = ShownWindow();
        Enter(window.txtHeader, header, Entry::Typed);
        Enter(window.txtFooter, footer, Entry::Typed);
        Enter(window.txtMin, minimum, Entry::Typed);
        Enter(window.txtMax, maximum, Entry::Typed);
        Enter(window.txtBeam, digitCount, Entry::Typed);
        QCOMPARE(window.lblTest->text(), preview);
    }

    void previewFollowsEveryKey()
    {
        MainWindow& window = ShownWindow();
        window.txtHeader->setFocus();
        QTest::keyClicks(window.txtHeader, QStringLiteral("im"));
        QCOMPARE(window.lblTest->text(), QStringLiteral("im01 ～ im10"));
        window.txtFooter->setFocus();
        QTest::keyClick(window.txtFooter, '_');
        QCOMPARE(window.lblTest->text(), QStringLiteral("im01_ ～ im10_"));
        window.txtMax->setFocus();
        QTest::keyClick(window.txtMax, Qt::Key_End);
        QTest::keyClick(window.txtMax, '0');
        QCOMPARE(window.lblTest->text(), QStringLiteral("im01_ ～ im100_"));
        window.txtBeam->setFocus();
        QTest::keyClick(window.txtBeam, Qt::Key_End);
        QTest::keyClick(window.txtBeam, Qt::Key_Backspace); // digit count "" becomes "1"
        QCOMPARE(window.txtBeam->text(), QStringLiteral("1"));
        QCOMPARE(window.lblTest->text(), QStringLiteral("im1_ ～ im100_"));
        QTest::mouseClick(window.udBeam, Qt::LeftButton, {}, QPoint(8, 3));
        QCOMPARE(window.lblTest->text(), QStringLiteral("im01_ ～ im100_"));
        window.txtMin->setFocus();
        QTest::keyClick(window.txtMin, Qt::Key_Home);
        QTest::keyClick(window.txtMin, Qt::Key_Delete); // minimum "" becomes "1"
        QCOMPARE(window.lblTest->text(), QStringLiteral("im01_ ～ im100_"));
    }

    void errorTextOnlyWhileTheDigitCountIsNoNumber()
    {
        // Before the load handling, every box holds its own name.
        MainWindow window(m_store);
        window.txtBeam->blockSignals(true); // keeps the nested handling from replacing it
        window.txtHeader->setText(QString());
        QCOMPARE(window.lblTest->text(), QStringLiteral("エラー（桁数には整数を入れてください）"));
        QCOMPARE(window.txtBeam->text(), QStringLiteral("1"));

        window.txtBeam->blockSignals(false);
        window.txtBeam->setText(QStringLiteral("txtBeam"));
        QCOMPARE(window.txtBeam->text(), QStringLiteral("1"));
        window.txtMin->setText(QStringLiteral("3"));
        window.txtMax->setText(QStringLiteral("4"));
        QCOMPARE(window.lblTest->text(), QStringLiteral("3txtFooter ～ 4txtFooter"));
    }

    void startUpWithStoredValues_data()
    {
        QTest::addColumn<QByteArray>("settings");
        QTest::addColumn<QStringList>("boxes"); // minimum, maximum, digit count
        QTest::addColumn<QString>("preview");

        QTest::newRow("empty store") << QByteArray() << QStringList{"1", "10", "2"} << "01 ～ 10";
        QTest::newRow("letters, six digits, three digits")
            << QByteArray("Min=abc\nMax=123456\nBeam=123\n") << QStringList{"1", "10000", "10"}
            << "0000000001 ～ 0000010000";
        QTest::newRow("digit count x")
            << QByteArray("Beam=x\n") << QStringList{"1", "10", "1"} << "1 ～ 10";
        QTest::newRow("digit count 1 stored, nothing to fill")
            << QByteArray("Beam=1\n") << QStringList{"1", "10", "1"} << "1 ～ 10";
        QTest::newRow("fraction") << QByteArray("Min=5.7\n") << QStringList{"5", "10", "2"}
                                  << "05 ～ 10";
        QTest::newRow("exponent forms of 10^15")
            << QByteArray("Min=1e15\nMax=1E+15\nBeam=1e15\n") << QStringList{"10000", "10000", "10"}
            << "0000010000 ～ 0000010000";
        QTest::newRow("quoted blanks") << QByteArray("Min=\" 12 \"\nMax=\"   \"\n")
                                       << QStringList{"12", "1", "2"} << "12 ～ 01";
        QTest::newRow("bare comma reads as a list")
            << QByteArray("Max=1,000\n") << QStringList{"1", "1", "2"} << "01 ～ 01";
        QTest::newRow("japanese header, negative digit count")
            << QByteArray("Header=\"\\x753b\\x50cf\"\nMin=-3\nBeam=-1\n")
            << QStringList{"-3", "10", "-1"} << "画像-3 ～ 画像10";
        QTest::newRow("digit count 99")
            << QByteArray("Beam=99\n") << QStringList{"1", "10", "99"}
            << Preview(QString(98, QLatin1Char('0')) + "1", QString(97, QLatin1Char('0')) + "10");
    }
    void startUpWithStoredValues()
    {
        QFETCH(QByteArray, settings);
        QFETCH(QStringList, boxes);
        QFETCH(QString, preview);
        if (!settings.isEmpty())
            WriteSettingsFile(settings);
        MainWindow& window = ShownWindow();
        QCOMPARE(
            (QStringList{window.txtMin->text(), window.txtMax->text(), window.txtBeam->text()}),
            boxes);
        QCOMPARE(window.lblTest->text(), preview);
    }
};

QTEST_MAIN(NumberBoxesTest)
#include "numberboxes_test.moc"
