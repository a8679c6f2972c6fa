#include "about/aboutwindow.h"
#include "desktop/appearance.h"
#include "mainwindow/mainwindow.h"
#include "modaldriver.h"
#include "settings/settingsstore.h"
#include "testenv.h"
#include "version.h"
#include "widgets/autosizelabel.h"
#include "windowfixture.h"

#include <QApplication>
#include <QDesktopServices>
#include <QKeyEvent>
#include <QLabel>
#include <QPushButton>
#include <QTest>
#include <memory>

using kovaldi::AboutWindow;
using kovaldi::test::ModalDriver;

class AboutWindowTest : public QObject
{
    Q_OBJECT
private:
    const QString m_home = QString::fromUtf8(kovaldi::version::homePageUrl);
    const QString m_mail = QString::fromUtf8(kovaldi::version::mailAddress);
    std::unique_ptr<AboutWindow> m_about;
    QList<QUrl> m_opened;

    // Centred to the pixel: an odd free width leaves one pixel more on one side.
    static bool IsCentred(const QWidget* control)
    {
        const int free = control->parentWidget()->width() - control->width();
        return control->x() == free / 2 || control->x() == (free + 1) / 2;
    }
    // Size, weight, slant, and the colour when it is not the system's text colour.
    static QString Look(const QWidget* control)
    {
        QString look = QString::number(control->font().pixelSize()) + QStringLiteral("px");
        if (control->font().bold())
            look += QStringLiteral(" bold");
        if (control->font().italic())
            look += QStringLiteral(" italic");
        const QColor colour = control->palette().color(control->foregroundRole());
        if (colour != QApplication::palette().color(QPalette::WindowText))
            look += QLatin1Char(' ') + colour.name();
        return look;
    }
    AboutWindow& ShownWindow()
    {
        m_about = std::make_unique<AboutWindow>();
        m_about->setWindowModality(Qt::NonModal); // so that only a question counts as modal
        if (!kovaldi::test::ShowActive(*m_about))
            qWarning("About window did not become active");
        return *m_about;
    }
    // A control by its name; "free" is the window's free area.
    static QWidget* Control(QWidget* about, const QString& name)
    {
        return name == QLatin1String("free") ? about : about->findChild<QWidget*>(name);
    }
    QWidget* Control(const QString& name) { return Control(m_about.get(), name); }

public slots:
    void captureUrl(const QUrl& url) { m_opened << url; }

private slots:
    void initTestCase()
    {
        kovaldi::test::UseTemporaryConfigHome();
        QDesktopServices::setUrlHandler(QUrl(m_home).scheme(), this, "captureUrl");
        QDesktopServices::setUrlHandler(QStringLiteral("mailto"), this, "captureUrl");
    }
    void cleanupTestCase()
    {
        QDesktopServices::unsetUrlHandler(QUrl(m_home).scheme());
        QDesktopServices::unsetUrlHandler(QStringLiteral("mailto"));
    }
    void init() { m_opened.clear(); }
    void cleanup()
    {
        m_about.reset();
        QCOMPARE(AboutWindow::current(), nullptr);
        QCOMPARE(QApplication::topLevelWidgets().size(), 0);
    }

    void controls_data()
    {
        QTest::addColumn<QString>("text");
        QTest::addColumn<QPoint>("pos"); // x -1: centred, -2: anywhere it fits
        QTest::addColumn<QString>("look");
        QTest::addColumn<QString>("toolTip");
        const auto row = [](const char* name, const QString& text, QPoint pos, const char* look,
                            const char* toolTip = "") {
            QTest::newRow(name) << text << pos << look << toolTip;
        };
        row("Label1(0)", QString::fromUtf8(kovaldi::version::title), {48, 16}, "16px bold");
        row("Label1(1)", QStringLiteral("Version 1.0.0"), {216, 16}, "16px bold");
        row("Label1(2)", QString::fromUtf8(kovaldi::version::copyright), {-2, 32}, "15px italic");
        row("Label2", "HomePage : " + m_home, {-1, 56}, "13px #0000ff",
            "クリックするとホームページを表示します");
        row("Label3", "Mail : " + m_mail, {-1, 72}, "13px #008000",
            "クリックするとメールを送信します");
        row("OKButton", QStringLiteral("OK(&O)"), {-1, 96}, "13px");
    }
    void controls()
    {
        QFETCH(QPoint, pos);
        ShownWindow();
        QWidget* control = Control(QString::fromUtf8(QTest::currentDataTag()));
        QTEST(control->property("text").toString(), "text");
        // The labels sized to their texts.
        QCOMPARE(control->size(), qobject_cast<kovaldi::AutoSizeLabel*>(control)
                                      ? control->sizeHint()
                                      : QSize(81, 25));
        if (pos.x() == -1)
            QVERIFY2(IsCentred(control), qPrintable(QString::number(control->x())));
        else if (pos.x() == -2) // the designed place when the line fits there
            QVERIFY(control->x() >= 8 && control->x() <= 96);
        else
            QCOMPARE(control->x(), pos.x());
        QCOMPARE(control->y(), pos.y());
        QVERIFY(control->geometry().right() < 346 - 7 && control->geometry().bottom() < 129);
        QTEST(Look(control), "look");
        QTEST(control->toolTip(), "toolTip");
    }

    void hover_data()
    {
        QTest::addColumn<QString>("moves");
        QTest::addColumn<QString>("bold"); // which link is bold afterwards
        const auto row = [](const char* moves, const char* bold) {
            QTest::newRow(moves) << QString(moves) << QString(bold);
        };
        row("Label2", "home");
        row("Label3", "mail");
        row("Label2 Label3", "mail");
        row("Label3 free", "");      // the free area
        row("Label2 Label1(0)", ""); // the title
        row("Label2 Label1(1)", ""); // the version
        row("Label3 Label1(2)", ""); // the copyright
        row("Label3 OKButton", "");
        row("Label2 Image1", "home"); // the icon changes nothing
        row("Label3 Image1", "mail");
    }
    void hover()
    {
        QFETCH(QString, moves);
        QFETCH(QString, bold);
        AboutWindow& about = ShownWindow();
        QTest::mouseMove(&about, QPoint(-50, -50)); // away, so the first move is a move
        for (const QString& target : moves.split(QLatin1Char(' '))) {
            QWidget* control = Control(target);
            // The free area: below the icon, left of the OK button.
            const QPoint at = control == &about ? QPoint(20, 110) : control->rect().center();
            QVERIFY(control != &about || !about.childAt(at));
            QTest::mouseMove(control, at);
        }
        QCOMPARE(Look(Control("Label2")), bold == "home" ? "13px bold #0000ff" : "13px #0000ff");
        QCOMPARE(Look(Control("Label3")), bold == "mail" ? "13px bold #008000" : "13px #008000");
        for (QWidget* link : {Control("Label2"), Control("Label3")})
            QVERIFY(link->size() == link->sizeHint() && IsCentred(link));
    }

    void questionsAndLinks_data()
    {
        QTest::addColumn<QString>("link");
        QTest::addColumn<int>("button");
        QTest::addColumn<bool>("releaseOutside");
        QTest::addColumn<QString>("asksOn"); // empty: asks nothing
        const auto row = [](const char* name, const char* link, Qt::MouseButton button,
                            bool outside, const char* asksOn) {
            QTest::newRow(name) << link << int(button) << outside << asksOn;
        };
        row("home, left click", "Label2", Qt::LeftButton, false, "release");
        row("home, left press released outside", "Label2", Qt::LeftButton, true, "");
        row("home, right click", "Label2", Qt::RightButton, false, "");
        row("mail, left press", "Label3", Qt::LeftButton, false, "press");
        row("mail, right press", "Label3", Qt::RightButton, false, "press");
    }
    void questionsAndLinks()
    {
        QFETCH(QString, link);
        QFETCH(int, button);
        QFETCH(bool, releaseOutside);
        QFETCH(QString, asksOn);
        AboutWindow& about = ShownWindow();
        QWidget* label = Control(link);
        const bool home = link == QLatin1String("Label2");
        const QString question = home ? QStringLiteral("ホームページを表示しますか？")
                                      : QStringLiteral("ご意見、ご感想、ご要望何でもお待ちしてお"
                                                       "ります。メールを送信しますか？");
        for (const auto answer : {QMessageBox::No, QMessageBox::Yes}) {
            ModalDriver driver;
            // A question that should not come is answered too, so that it cannot hang.
            driver.expectMessage(answer, asksOn.isEmpty() ? 300 : 3000);
            QTest::mousePress(label, Qt::MouseButton(button));
            const qsizetype atPress = driver.messages().size();
            QTest::mouseRelease(label, Qt::MouseButton(button), {},
                                releaseOutside ? QPoint(-5, label->height() / 2) : QPoint());
            QTRY_COMPARE(driver.pending(), 0);
            QCOMPARE(atPress, asksOn == QLatin1String("press") ? 1 : 0);
            QCOMPARE(driver.messages(), asksOn.isEmpty() ? QStringList()
                                                         : QStringList{"question|" + question +
                                                                       "|Kovaldi|Yes,No|Yes"});
            QCOMPARE(m_opened.size(), !asksOn.isEmpty() && answer == QMessageBox::Yes ? 1 : 0);
        }
        QVERIFY(about.isVisible()); // open whatever the answer
        // What is handed on: the mail's subject percent-encoded as UTF-8.
        if (!asksOn.isEmpty())
            QCOMPARE(m_opened.first().toEncoded(),
                     home ? m_home.toUtf8()
                          : "mailto:" + m_mail.toUtf8() +
                                "?Subject=Marrowby%E3%81%AB%E3%81%A4%E3%81%84%E3%81%A6");
    }

    // A link reached with Tab shows that it has the focus, and Enter or Space asks its
    // question as a click does; a held key's repeats ask nothing more.
    void linksByKeyboard_data()
    {
        QTest::addColumn<QString>("link");
        QTest::addColumn<int>("key");
        QTest::addColumn<bool>("autoRepeat");
        QTest::addColumn<QString>("question");
        const QString home = QStringLiteral("ホームページを表示しますか？");
        const QString mail = QStringLiteral(
            "ご意見、ご感想、ご要望何でもお待ちしております。メールを送信しますか？");
        QTest::newRow("home, Return") << "Label2" << int(Qt::Key_Return) << false << home;
        QTest::newRow("home, Space") << "Label2" << int(Qt::Key_Space) << false << home;
        QTest::newRow("mail, keypad Enter") << "Label3" << int(Qt::Key_Enter) << false << mail;
        QTest::newRow("mail, Space") << "Label3" << int(Qt::Key_Space) << false << mail;
        QTest::newRow("mail, a repeat") << "Label3" << int(Qt::Key_Space) << true << "";
    }
    void linksByKeyboard()
    {
        QFETCH(QString, link);
        QFETCH(int, key);
        QFETCH(bool, autoRepeat);
        QFETCH(QString, question);
        AboutWindow& about = ShownWindow();
        QWidget* label = Control(link);
        const QImage unfocused = label->grab().toImage();
        while (QApplication::focusWidget() != label) {
            QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
            QVERIFY(QApplication::focusWidget() != Control("OKButton"));
        }
        QVERIFY(label->grab().toImage() != unfocused);
        ModalDriver driver;
        driver.expectMessage(QMessageBox::Yes, question.isEmpty() ? 300 : 3000);
        QKeyEvent press(QEvent::KeyPress, key, {}, QString(), autoRepeat);
        QApplication::sendEvent(label, &press);
        QTRY_COMPARE(driver.pending(), 0);
        QCOMPARE(driver.messages(),
                 question.isEmpty() ? QStringList()
                                    : QStringList{"question|" + question + "|Kovaldi|Yes,No|Yes"});
        QCOMPARE(m_opened.size(), question.isEmpty() ? 0 : 1);
        QVERIFY(about.isVisible());
    }

    // The links follow a change of colour scheme while the window is open: lighter on a
    // dark palette, the design's own again on a light one.
    void linkColoursFollowThePalette()
    {
        const QPalette light = QApplication::palette();
        const auto restore = qScopeGuard([&light] { QApplication::setPalette(light); });
        ShownWindow();
        QPalette dark = light;
        dark.setColor(QPalette::Window, QColor(0x2b, 0x2b, 0x2b));
        dark.setColor(QPalette::WindowText, QColor(0xe8, 0xe8, 0xe8));
        QApplication::setPalette(dark); // reaches the windows through the event loop
        QTRY_COMPARE(m_about->palette().color(QPalette::Window), QColor(0x2b, 0x2b, 0x2b));
        for (const char* link : {"Label2", "Label3"}) {
            const QColor colour = Control(link)->palette().color(QPalette::WindowText);
            QVERIFY2(kovaldi::ContrastRatio(colour, QColor(0x2b, 0x2b, 0x2b)) >= 4.5,
                     qPrintable(colour.name()));
        }
        QApplication::setPalette(light);
        QTRY_COMPARE(Look(Control("Label2")), QStringLiteral("13px #0000ff"));
        QCOMPARE(Look(Control("Label3")), QStringLiteral("13px #008000"));
    }

    void openAndClose_data()
    {
        QTest::addColumn<QString>("how");
        // A key sequence, the OK button, the close box, or the dialog ended without a close
        // request (as a platform's own key such as Cmd+. on macOS does).
        for (const char* how :
             {"OK button", "close box", "Return", "Space", "Alt+O", "Escape", "reject"})
            QTest::newRow(how) << how;
    }
    void openAndClose()
    {
        QFETCH(QString, how);
        kovaldi::SettingsStore store;
        kovaldi::MainWindow main(store);
        main.show();
        for (int opening = 0; opening < 2; ++opening) { // each opening a fresh window
            ModalDriver driver;
            QStringList seen;
            driver.expect([&](QWidget* modal) {
                auto* about = qobject_cast<AboutWindow*>(modal);
                QVERIFY(about && AboutWindow::current() == about);
                QCOMPARE(about->parentWidget(), &main);
                QCOMPARE(about->windowTitle(), QStringLiteral("ﾊﾞｰｼﾞｮﾝ情報"));
                QCOMPARE(about->size(), QSize(346, 129));
                QCOMPARE(about->minimumSize(), about->maximumSize());
                QVERIFY(!(about->windowFlags() & Qt::WindowMaximizeButtonHint));
                QVERIFY(!Control(about, "Label2")->font().bold() &&
                        !Control(about, "Label3")->font().bold());
                auto* image = about->findChild<QLabel*>("Image1");
                QVERIFY(image);
                QCOMPARE(image->geometry(), QRect(8, 16, 32, 32));
                QCOMPARE(image->pixmap().toImage(), main.windowIcon().pixmap(32, 32).toImage());
                const QPoint offCentre =
                    about->frameGeometry().center() - main.frameGeometry().center();
                QVERIFY(offCentre.manhattanLength() <= 1);
                // The OK button is the only focus (once the window system has activated
                // the window, which a loaded machine may take a moment to do).
                auto* ok = about->findChild<QPushButton*>("OKButton");
                QVERIFY(ok);
                QTRY_COMPARE(QApplication::focusWidget(), ok);
                // Tab runs through the links and back to the button.
                for (const char* next : {"Label2", "Label3", "OKButton"}) {
                    QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
                    QCOMPARE(QApplication::focusWidget(), Control(about, next));
                }
                about->Label2_MouseMove(); // a bold link left behind must not come back
                seen << QStringLiteral("open");
                if (how == QLatin1String("OK button"))
                    ok->click();
                else if (how == QLatin1String("close box"))
                    about->close();
                else if (how == QLatin1String("reject"))
                    about->reject();
                else
                    QTest::keySequence(ok, QKeySequence(how));
            });
            kovaldi::test::MainWindowControls(main).Command1->click();
            seen << QStringLiteral("returned");
            QCOMPARE(driver.failures(), QStringList());
            QCOMPARE(seen, (QStringList{"open", "returned"}));
            QCOMPARE(AboutWindow::current(), nullptr);
            QVERIFY(main.findChildren<AboutWindow*>().isEmpty());
        }
    }
};

QTEST_MAIN(AboutWindowTest)
#include "aboutwindow_test.moc"
