#include "mainwindow/mainwindow.h"
#include "settings/settingsstore.h"
#include "testenv.h"
#include "windowfixture.h"

#include <QApplication>
#include <QClipboard>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QInputMethodEvent>
#include <QLabel>
#include <QLineEdit>
#include <QTest>
#include <algorithm>
#include <span>
#include <tuple>

using kovaldi::test::MainWindowControls;

namespace {

// Replaces the whole text of the box in one edit, as the user does: select all, then Ctrl+V,
// or one key press carrying the text (Backspace for none), or an input method's commit where
// the keyboard cannot produce the text.
void Enter(QLineEdit* box, const QString& text, bool paste = false)
{
    box->setFocus();
    QTest::keyClick(box, Qt::Key_A, Qt::ControlModifier);
    if (paste) {
        QGuiApplication::clipboard()->setText(text);
        QTest::keyClick(box, Qt::Key_V, Qt::ControlModifier);
    } else if (std::all_of(text.begin(), text.end(), [](QChar c) { return c.unicode() <= 0xff; })) {
        const Qt::Key key = text.isEmpty() ? Qt::Key_Backspace : Qt::Key_unknown;
        QTest::sendKeyEvent(QTest::Click, box, key, text, Qt::NoModifier);
    } else {
        QInputMethodEvent commit;
        commit.setCommitString(text);
        QApplication::sendEvent(box, &commit);
    }
}

// A number as the preview writes it with `zeros` digits, stated independently of the program.
QString Padded(int number, int zeros)
{
    return (number < 0 ? "-" : "") + QString::number(qAbs(number)).rightJustified(zeros, u'0');
}

} // namespace

class NumberBoxesTest : public QObject
{
    Q_OBJECT
private:
    kovaldi::SettingsStore m_store;
    kovaldi::test::MainWindowFixture m_windows;

private slots:
    void initTestCase() { kovaldi::test::UseTemporaryConfigHome(); }
    void init() { kovaldi::test::ClearSettings(); }
    void cleanup()
    {
        m_windows.reset();
        QCOMPARE(QApplication::topLevelWidgets().size(), 0);
    }

    void enteredTextEndsCanonical_data()
    {
        QTest::addColumn<QString>("box");
        QTest::addColumn<QString>("entered");
        QTest::addColumn<QString>("result");
        // Typed or pasted over the whole text, and what the box ends with.
        using Row = std::pair<const char16_t*, const char*>;
        using Rows = std::span<const Row>;
        const Row numbers[] = {
            {u"", "1"},           {u"abc", "1"},        {u"1a", "1"},        {u"-", "1"},
            {u".", "1"},          {u"007", "7"},        {u" 12 ", "12"},     {u"+5", "5"},
            {u"1.9", "1"},        {u"-0.5", "-1"},      {u"-1234", "-1234"}, {u"99999", "99999"},
            {u"100000", "10000"}, {u"-12345", "10000"}, {u"1e3", "1000"},    {u"1e5", "10000"},
            {u"1e15", "10000"},   {u"１２", "12"},      {u"－５．５", "-6"}, {u"ー５", "1"}};
        const Row digitCounts[] = {{u"", "1"},     {u"x", "1"},    {u"03", "3"},
                                   {u"100", "10"}, {u"2.5", "10"}, {u"9.", "9"},
                                   {u".5", "0"},   {u"-5", "-5"},  {u"３", "3"}};
        for (const char* box : {"txtMin", "txtMax", "txtBeam"})
            for (const auto& [entered, result] :
                 box == QLatin1String("txtBeam") ? Rows(digitCounts) : Rows(numbers))
                QTest::addRow("%s: \"%s\"", box, qPrintable(QString::fromUtf16(entered)))
                    << box << QString::fromUtf16(entered) << result;
    }
    void enteredTextEndsCanonical()
    {
        QFETCH(QString, box);
        QFETCH(QString, entered);
        QFETCH(QString, result);
        for (const bool paste : {false, true}) {
            const MainWindowControls& ui = m_windows.show(m_store);
            auto* target = ui.window.findChild<QLineEdit*>(box);
            Enter(target, entered, paste);
            QCOMPARE(target->text(), result);
            QCOMPARE(target->cursorPosition(), target->text().size());
            // The preview follows: minimum 1, maximum 10 and two digits but for the edited box.
            const int count = box == QLatin1String("txtBeam") ? result.toInt() : 2;
            const int minimum = box == QLatin1String("txtMin") ? result.toInt() : 1;
            const int maximum = box == QLatin1String("txtMax") ? result.toInt() : 10;
            QCOMPARE(ui.lblTest->text(), Padded(minimum, count) + " ～ " + Padded(maximum, count));
        }
    }

    void caretAfterTyping()
    {
        const MainWindowControls& ui = m_windows.show(m_store);
        // A canonical text is not rewritten, so the caret stays where the user put it.
        ui.txtMax->setFocus();
        QTest::keyClick(ui.txtMax, Qt::Key_Left); // between 1 and 0
        QTest::keyClick(ui.txtMax, '5');
        QCOMPARE(ui.txtMax->text(), QStringLiteral("150"));
        QCOMPARE(ui.txtMax->cursorPosition(), 2);
        // A correction puts it behind the new text, wherever it was.
        Enter(ui.txtMax, QStringLiteral("12345"));
        QTest::keyClick(ui.txtMax, Qt::Key_Home);
        QTest::keyClick(ui.txtMax, '9');
        QCOMPARE(ui.txtMax->text(), QStringLiteral("10000"));
        QCOMPARE(ui.txtMax->cursorPosition(), 5);
    }

    // Every one-line box keeps what a paste brings up to its first line break; the text
    // around the caret stays.
    void pasteStopsAtTheFirstLineBreak_data()
    {
        QTest::addColumn<QString>("box");
        QTest::addColumn<QString>("before");
        QTest::addColumn<int>("caret");
        QTest::addColumn<QString>("pasted");
        QTest::addColumn<QString>("after");
        QTest::newRow("target, LF") << "txtPath"
                                    << "" << 0 << "/tmp/x\n/etc"
                                    << "/tmp/x";
        QTest::newRow("header, CR LF") << "txtHeader"
                                       << "" << 0 << "img\r\n"
                                       << "img";
        QTest::newRow("footer, CR, into the middle") << "txtFooter"
                                                     << "ab" << 1 << "x\ry"
                                                     << "axb";
        QTest::newRow("minimum, LF") << "txtMin"
                                     << "" << 0 << "12\n"
                                     << "12";
        QTest::newRow("maximum, line break first") << "txtMax"
                                                   << "34" << 2 << "\n5"
                                                   << "34";
        QTest::newRow("digit count, CR LF") << "txtBeam"
                                            << "" << 0 << "3\r\n4"
                                            << "3";
    }
    void pasteStopsAtTheFirstLineBreak()
    {
        QFETCH(QString, box);
        QFETCH(QString, before);
        QFETCH(int, caret);
        QFETCH(QString, pasted);
        const MainWindowControls& ui = m_windows.show(m_store);
        auto* target = ui.window.findChild<QLineEdit*>(box);
        if (before.isEmpty()) { // over the whole text
            Enter(target, pasted, true);
        } else {
            target->setFocus();
            target->setText(before);
            target->setCursorPosition(caret);
            QGuiApplication::clipboard()->setText(pasted);
            QTest::keyClick(target, Qt::Key_V, Qt::ControlModifier);
        }
        QTEST(target->text(), "after");
    }

    void correctionsNestAtMostTwice_data()
    {
        QTest::addColumn<QString>("box");
        // The texts the box takes, in the order their handling finishes: a nested run
        // finishes before the run whose correction started it.
        QTest::addColumn<QStringList>("finished");
        QTest::addColumn<QString>("entered");
        QTest::newRow("canonical") << "txtMin" << QStringList{"42"} << "42";
        QTest::newRow("not numeric") << "txtMin" << QStringList{"1", "abc"} << "abc";
        QTest::newRow("whole part too long, nested twice")
            << "txtMax" << QStringList{"10000", "100000", "1e5"} << "1e5";
        QTest::newRow("digit count not numeric") << "txtBeam" << QStringList{"1", "x"} << "x";
    }
    void correctionsNestAtMostTwice()
    {
        QFETCH(QString, box);
        QFETCH(QString, entered);
        QFETCH(QStringList, finished);
        const MainWindowControls& ui = m_windows.show(m_store);
        auto* target = ui.window.findChild<QLineEdit*>(box);
        QStringList texts; // a change in another box shows with that box's name
        for (QLineEdit* each :
             {ui.txtMin, ui.txtMax, ui.txtBeam, ui.txtHeader, ui.txtFooter, ui.txtPath})
            connect(each, &QLineEdit::textChanged, this,
                    [&texts, each, target](const QString& text) {
                        texts << (each == target ? text : each->objectName() + ": " + text);
                    });
        Enter(target, entered, true);
        QCOMPARE(texts, finished);
    }

    void previewFollowsEveryKey()
    {
        const MainWindowControls& ui = m_windows.show(m_store);
        const std::tuple<QLineEdit*, Qt::Key, const char*> steps[] = {
            {ui.txtHeader, Qt::Key_I, "i01 ～ i10"},
            {ui.txtFooter, Qt::Key_A, "i01a ～ i10a"},
            {ui.txtMax, Qt::Key_0, "i01a ～ i100a"},
            {ui.txtBeam, Qt::Key_Backspace, "i1a ～ i100a"}, // "" becomes "1"
            {ui.txtBeam, Qt::Key_2, "i000000000001a ～ i000000000100a"},
            {ui.txtMin, Qt::Key_0, "i000000000010a ～ i000000000100a"},
        };
        for (const auto& [box, key, preview] : steps) {
            box->setFocus();
            QTest::keyClick(box, key);
            QCOMPARE(ui.lblTest->text(), QString::fromUtf8(preview));
        }
    }

    void errorTextOnlyWhileTheDigitCountIsNoNumber()
    {
        // Before the load handling, every box holds its own name.
        const MainWindowControls& ui = m_windows.create(m_store);
        ui.txtBeam->blockSignals(true); // keeps the nested handling from replacing it
        ui.txtHeader->setText(QString());
        QCOMPARE(ui.lblTest->text(), QStringLiteral("エラー（桁数には整数を入れてください）"));
        QCOMPARE(ui.txtBeam->text(), QStringLiteral("1"));
        ui.txtBeam->blockSignals(false);
        ui.txtMin->setText(QStringLiteral("3"));
        ui.txtMax->setText(QStringLiteral("4"));
        QCOMPARE(ui.lblTest->text(), QStringLiteral("3txtFooter ～ 4txtFooter"));
    }

    void startUpWithStoredValues_data()
    {
        QTest::addColumn<QByteArray>("settings"); // lines of the settings file's section
        QTest::addColumn<QStringList>("boxes");   // minimum, maximum, digit count
        QTest::addColumn<QString>("preview");
        QTest::newRow("empty store") << QByteArray() << QStringList{"1", "10", "2"} << "01 ～ 10";
        QTest::newRow("letters, six digits, three digits")
            << QByteArray("Min=abc\nMax=123456\nBeam=123\n") << QStringList{"1", "10000", "10"}
            << "0000000001 ～ 0000010000";
        QTest::newRow("digit count x")
            << QByteArray("Beam=x\n") << QStringList{"1", "10", "1"} << "1 ～ 10";
        QTest::newRow("digit count zero")
            << QByteArray("Beam=0\n") << QStringList{"1", "10", "0"} << "1 ～ 10";
        QTest::newRow("digit count negative")
            << QByteArray("Beam=-5\n") << QStringList{"1", "10", "-5"} << "1 ～ 10";
        QTest::newRow("header and footer")
            << QByteArray("Header=img\nFooter=_a\nMax=120\nBeam=3\n")
            << QStringList{"1", "120", "3"} << "img001_a ～ img120_a";
        QTest::newRow("minimum above maximum")
            << QByteArray("Min=10\nMax=1\n") << QStringList{"10", "1", "2"} << "10 ～ 01";
        QTest::newRow("digit count 99") << QByteArray("Beam=99\n") << QStringList{"1", "10", "99"}
                                        << QString(98, u'0') + "1 ～ " + QString(97, u'0') + "10";
    }
    void startUpWithStoredValues()
    {
        QFETCH(QByteArray, settings);
        QFETCH(QStringList, boxes);
        QFETCH(QString, preview);
        if (!settings.isEmpty()) { // as a user or another program may have left it
            const QString path = kovaldi::test::SettingsFilePath();
            QVERIFY(QDir().mkpath(QFileInfo(path).path()));
            QFile file(path);
            QVERIFY(file.open(QIODevice::WriteOnly));
            file.write("[Config]\n" + settings);
        }
        const MainWindowControls& ui = m_windows.show(m_store);
        QCOMPARE((QStringList{ui.txtMin->text(), ui.txtMax->text(), ui.txtBeam->text()}), boxes);
        QCOMPARE(ui.lblTest->text(), preview);
    }
};

QTEST_MAIN(NumberBoxesTest)
#include "numberboxes_test.moc"
