#include "about/aboutwindow.h"
#include "mainwindow/autosizelabel.h"
#include "mainwindow/mainwindow.h"
#include "modaldriver.h"
#include "settings/settingsstore.h"
#include "testenv.h"
#include "version.h"

#include <QApplication>
#include <QDesktopServices>
#include <QFontInfo>
#include <QPainter>
#include <QPushButton>
#include <QSignalSpy>
#include <QTest>
#include <QTimer>
#include <QUrlQuery>
#include <memory>

using kovaldi::AboutWindow;
using kovaldi::test::ModalDriver;

namespace {

const QString kHomeQuestion = QStringLiteral("ホームページを表示しますか？");
const QString kMailQuestion =
    QStringLiteral("ご意見、ご感想、ご要望何でもお待ちしております。メールを送信しますか？");

QString HomePage()
{
    return QString::fromUtf8(kovaldi::version::homePageUrl);
}

QString MailAddress()
{
    return QString::fromUtf8(kovaldi::version::mailAddress);
}

bool IsBold(const QWidget* label)
{
    return label->font().weight() == QFont::Bold;
}

// Centred to the pixel: an odd free width leaves one pixel more on one side.
bool IsCentred(const QWidget* control)
{
    const int free = control->parentWidget()->width() - control->width();
    return control->x() == free / 2 || control->x() == (free + 1) / 2;
}

} // namespace

class AboutWindowTest : public QObject
{
    Q_OBJECT
private:
    kovaldi::SettingsStore m_store;
    std::unique_ptr<AboutWindow> m_about;
    std::unique_ptr<kovaldi::MainWindow> m_main;
    QList<QUrl> m_opened;

    AboutWindow& LoadedWindow()
    {
        m_about = std::make_unique<AboutWindow>();
        m_about->Form_Load();
        return *m_about;
    }
    AboutWindow& ShownWindow()
    {
        AboutWindow& about = LoadedWindow();
        about.move(100, 100);
        about.show();
        about.activateWindow();
        if (!QTest::qWaitForWindowActive(&about))
            qWarning("About window did not become active");
        return about;
    }
    kovaldi::MainWindow& ShownMainWindow()
    {
        m_main = std::make_unique<kovaldi::MainWindow>(m_store);
        m_main->Form_Load();
        m_main->move(120, 150);
        m_main->show();
        m_main->activateWindow();
        if (!QTest::qWaitForWindowActive(m_main.get()))
            qWarning("main window did not become active");
        return *m_main;
    }
    QWidget* Control(const QString& name)
    {
        if (name == QLatin1String("free area"))
            return m_about.get();
        return m_about->findChild<QWidget*>(name);
    }
    // A question box over the About window, answered with press; seen records what it showed.
    void ExpectQuestion(ModalDriver& driver, QMessageBox::StandardButton press, QStringList& seen)
    {
        QWidget* about = m_about.get();
        driver.expect([about, press, &seen](QWidget* modal) {
            auto* box = qobject_cast<QMessageBox*>(modal);
            QVERIFY(box);
            QCOMPARE(box->parentWidget(), about);
            seen << ModalDriver::Describe(box);
            box->button(press)->click();
        });
    }

public slots:
    void captureUrl(const QUrl& url) { m_opened << url; }

private slots:
    void initTestCase()
    {
        kovaldi::test::UseTemporaryConfigHome();
        QDesktopServices::setUrlHandler(QUrl(HomePage()).scheme(), this, "captureUrl");
        QDesktopServices::setUrlHandler(QStringLiteral("mailto"), this, "captureUrl");
    }
    void cleanupTestCase()
    {
        QDesktopServices::unsetUrlHandler(QUrl(HomePage()).scheme());
        QDesktopServices::unsetUrlHandler(QStringLiteral("mailto"));
    }
    void init() { m_opened.clear(); }
    void cleanup()
    {
        m_about.reset();
        m_main.reset();
        QCOMPARE(AboutWindow::current(), nullptr);
        QCOMPARE(QApplication::topLevelWidgets().size(), 0);
    }

    void window()
    {
        AboutWindow& about = LoadedWindow();
        QCOMPARE(about.objectName(), QStringLiteral("frmVersion"));
        QCOMPARE(about.windowTitle(), QStringLiteral("ﾊﾞｰｼﾞｮﾝ情報"));
        QCOMPARE(about.size(), QSize(346, 129));
        QCOMPARE(about.minimumSize(), about.maximumSize());
        QVERIFY(about.isModal());
        const Qt::WindowFlags flags = about.windowFlags();
        QVERIFY(flags & Qt::WindowCloseButtonHint);
        QVERIFY(!(flags & (Qt::WindowMinimizeButtonHint | Qt::WindowMaximizeButtonHint |
                           Qt::WindowContextHelpButtonHint)));
    }

    void controls_data()
    {
        QTest::addColumn<QString>("name");
        QTest::addColumn<QString>("text");
        // left -1: centred, -2: anywhere it fits; width 0: sized to the text
        QTest::addColumn<QRect>("geometry");
        QTest::addColumn<int>("pixelSize");
        QTest::addColumn<bool>("bold");
        QTest::addColumn<bool>("italic");
        QTest::addColumn<QColor>("colour"); // invalid: the system's text colour
        QTest::addColumn<QString>("toolTip");

        const QColor system;
        QTest::newRow("title") << "Label1(0)" << QString::fromUtf8(kovaldi::version::title)
                               << QRect(48, 16, 0, 0) << 16 << true << false << system << QString();
        QTest::newRow("version") << "Label1(1)"
                                 << "Version 1.0.0" << QRect(216, 16, 0, 0) << 16 << true << false
                                 << system << QString();
        QTest::newRow("copyright line")
            << "Label1(2)" << QString::fromUtf8(kovaldi::version::copyright) << QRect(-2, 32, 0, 0)
            << 15 << false << true << system << QString();
        QTest::newRow("home-page link")
            << "Label2" << QStringLiteral("HomePage : ") + HomePage() << QRect(-1, 56, 0, 0) << 13
            << false << false << QColor(0, 0, 255) << "クリックするとホームページを表示します";
        QTest::newRow("mail link")
            << "Label3" << QStringLiteral("Mail : ") + MailAddress() << QRect(-1, 72, 0, 0) << 13
            << false << false << QColor(0, 128, 0) << "クリックするとメールを送信します";
        QTest::newRow("OK button")
            << "OKButton"
            << "OK(&O)" << QRect(-1, 96, 81, 25) << 13 << false << false << system << QString();
    }
    void controls()
    {
        QFETCH(QString, name);
        QFETCH(QString, text);
        QFETCH(QRect, geometry);
        QFETCH(int, pixelSize);
        QFETCH(bool, bold);
        QFETCH(bool, italic);
        QFETCH(QColor, colour);
        QFETCH(QString, toolTip);
        LoadedWindow();
        QWidget* control = Control(name);
        QVERIFY(control);
        if (auto* label = qobject_cast<QLabel*>(control)) {
            QCOMPARE(label->text(), text);
            QCOMPARE(label->size(), label->sizeHint());
            QCOMPARE(label->focusPolicy(), Qt::NoFocus);
        } else {
            QCOMPARE(qobject_cast<QPushButton*>(control)->text(), text);
        }
        if (geometry.left() == -1)
            QVERIFY2(IsCentred(control), qPrintable(QString::number(control->x())));
        else if (geometry.left() == -2) // the designed place when the line fits there
            QVERIFY(control->x() >= 8 && control->x() <= 96);
        else
            QCOMPARE(control->x(), geometry.left());
        QCOMPARE(control->y(), geometry.top());
        if (geometry.width() > 0)
            QCOMPARE(control->size(), geometry.size());
        QVERIFY(control->geometry().right() < 346 - 7 && control->geometry().bottom() < 129);
        QCOMPARE(control->font().pixelSize(), pixelSize);
        QCOMPARE(IsBold(control), bold);
        QCOMPARE(control->font().italic(), italic);
        const QString family = QFontInfo(control->font()).family();
        QVERIFY2(family.contains(QStringLiteral("IPAPGothic")) ||
                     family.contains(QStringLiteral("Noto Sans CJK")) ||
                     family.contains(QStringLiteral("ＭＳ Ｐゴシック")),
                 qPrintable(family));
        const QColor shown = control->palette().color(control->foregroundRole());
        QCOMPARE(shown,
                 colour.isValid() ? colour : QApplication::palette().color(QPalette::WindowText));
        QCOMPARE(control->toolTip(), toolTip);
    }

    void imageShowsTheOwnersIcon()
    {
        QWidget owner;
        QPixmap red(32, 32);
        red.fill(Qt::red);
        owner.setWindowIcon(QIcon(red));
        AboutWindow about(&owner);
        about.Form_Load();
        QCOMPARE(about.Image1->geometry(), QRect(8, 16, 32, 32));
        QCOMPARE(about.Image1->toolTip(), QString());
        const QImage shown = about.Image1->pixmap().toImage();
        QCOMPARE(shown.size(), QSize(32, 32));
        QCOMPARE(shown.pixelColor(16, 16), QColor(Qt::red));
        QCOMPARE(about.windowIcon().pixmap(32, 32).toImage().pixelColor(5, 5), QColor(Qt::red));
    }

    void keysClose_data()
    {
        QTest::addColumn<int>("key");
        QTest::addColumn<int>("modifiers");
        QTest::newRow("Enter") << int(Qt::Key_Return) << int(Qt::NoModifier);
        QTest::newRow("Space") << int(Qt::Key_Space) << int(Qt::NoModifier);
        QTest::newRow("Alt+O") << int(Qt::Key_O) << int(Qt::AltModifier);
        QTest::newRow("Escape") << int(Qt::Key_Escape) << int(Qt::NoModifier);
    }
    void keysClose()
    {
        QFETCH(int, key);
        QFETCH(int, modifiers);
        AboutWindow& about = ShownWindow();
        AboutWindow::setCurrent(&about);
        // The button is the only focus and the default one.
        QCOMPARE(QApplication::focusWidget(), about.OKButton);
        QTest::keyClick(about.OKButton, Qt::Key_Tab);
        QCOMPARE(QApplication::focusWidget(), about.OKButton);
        QTest::keyClick(about.OKButton, Qt::Key(key), Qt::KeyboardModifiers(modifiers));
        QTRY_VERIFY(!about.isVisible());
        QCOMPARE(AboutWindow::current(), nullptr);
    }

    void hoverMakesTheLinkUnderTheMouseBold_data()
    {
        QTest::addColumn<QStringList>("moves");
        QTest::addColumn<bool>("homeBold");
        QTest::addColumn<bool>("mailBold");

        QTest::newRow("onto the home-page link") << QStringList{"Label2"} << true << false;
        QTest::newRow("onto the mail link") << QStringList{"Label3"} << false << true;
        QTest::newRow("home-page link to mail link")
            << QStringList{"Label2", "Label3"} << false << true;
        QTest::newRow("mail link to home-page link")
            << QStringList{"Label3", "Label2"} << true << false;
        QTest::newRow("mail link to the free area")
            << QStringList{"Label3", "free area"} << false << false;
        QTest::newRow("home-page link to the title")
            << QStringList{"Label2", "Label1(0)"} << false << false;
        QTest::newRow("home-page link to the version")
            << QStringList{"Label2", "Label1(1)"} << false << false;
        QTest::newRow("mail link to the copyright line")
            << QStringList{"Label3", "Label1(2)"} << false << false;
        QTest::newRow("mail link to the OK button")
            << QStringList{"Label3", "OKButton"} << false << false;
        QTest::newRow("home-page link to the icon: unchanged")
            << QStringList{"Label2", "Image1"} << true << false;
        QTest::newRow("mail link to the icon: unchanged")
            << QStringList{"Label3", "Image1"} << false << true;
        QTest::newRow("icon alone: unchanged") << QStringList{"Image1"} << false << false;
        QTest::newRow("back and forth")
            << QStringList{"Label2", "free area", "Label3", "Label2"} << true << false;
    }
    void hoverMakesTheLinkUnderTheMouseBold()
    {
        QFETCH(QStringList, moves);
        QFETCH(bool, homeBold);
        QFETCH(bool, mailBold);
        AboutWindow& about = ShownWindow();
        QTest::mouseMove(&about, QPoint(-50, -50)); // away, so the first move is a move
        for (const QString& target : moves) {
            QWidget* control = Control(target);
            QVERIFY(control);
            // The free area: below the icon, left of the OK button.
            const QPoint at = control == &about ? QPoint(20, 110) : control->rect().center();
            if (control == &about)
                QCOMPARE(about.childAt(at), nullptr);
            QTest::mouseMove(control, at);
        }
        QCOMPARE(IsBold(about.Label2), homeBold);
        QCOMPARE(IsBold(about.Label3), mailBold);
        // Only the weight changes, and the links stay sized to their texts and centred.
        for (QLabel* link :
             {static_cast<QLabel*>(about.Label2), static_cast<QLabel*>(about.Label3)}) {
            QCOMPARE(link->font().pixelSize(), 13);
            QCOMPARE(link->size(), link->sizeHint());
            QVERIFY(IsCentred(link));
        }
        QCOMPARE(about.Label2->palette().color(QPalette::WindowText), QColor(0, 0, 255));
    }

    void questionsAndLinks_data()
    {
        QTest::addColumn<QString>("link");
        QTest::addColumn<int>("button");
        QTest::addColumn<QString>("question");
        QTest::newRow("home page, left click") << "Label2" << int(Qt::LeftButton) << kHomeQuestion;
        QTest::newRow("mail, left press") << "Label3" << int(Qt::LeftButton) << kMailQuestion;
        QTest::newRow("mail, right press") << "Label3" << int(Qt::RightButton) << kMailQuestion;
        QTest::newRow("mail, middle press") << "Label3" << int(Qt::MiddleButton) << kMailQuestion;
    }
    void questionsAndLinks()
    {
        QFETCH(QString, link);
        QFETCH(int, button);
        QFETCH(QString, question);
        AboutWindow& about = ShownWindow();
        QWidget* label = Control(link);
        const QUrl expected(link == QLatin1String("Label2")
                                ? HomePage()
                                : QStringLiteral("mailto:") + MailAddress() +
                                      QStringLiteral("?Subject=Marrowbyについて"));
        for (const QMessageBox::StandardButton answer : {QMessageBox::No, QMessageBox::Yes}) {
            ModalDriver driver;
            QStringList seen;
            ExpectQuestion(driver, answer, seen);
            QTest::mouseClick(label, Qt::MouseButton(button));
            QTRY_COMPARE(driver.pending(), 0);
            QCOMPARE(driver.failures(), QStringList());
            QCOMPARE(seen,
                     QStringList{QStringLiteral("question|%1|Kovaldi|Yes,No|Yes").arg(question)});
            if (answer == QMessageBox::No)
                QCOMPARE(m_opened, QList<QUrl>());
            else
                QCOMPARE(m_opened, QList<QUrl>{expected});
        }
        QVERIFY(about.isVisible());
    }

    void mailLinkCarriesTheSubject()
    {
        AboutWindow& about = ShownWindow();
        ModalDriver driver;
        QStringList seen;
        ExpectQuestion(driver, QMessageBox::Yes, seen);
        QTest::mousePress(about.Label3, Qt::LeftButton);
        QTRY_COMPARE(driver.pending(), 0);
        QTest::mouseRelease(about.Label3, Qt::LeftButton);
        QCOMPARE(m_opened.size(), 1);
        const QUrl url = m_opened.first();
        QVERIFY(url.isValid());
        QCOMPARE(url.scheme(), QStringLiteral("mailto"));
        QCOMPARE(url.path(), MailAddress());
        QCOMPARE(QUrl::fromPercentEncoding(url.toEncoded()),
                 QStringLiteral("mailto:") + MailAddress() +
                     QStringLiteral("?Subject=Marrowbyについて"));
        QCOMPARE(QUrlQuery(url).queryItemValue(QStringLiteral("Subject"), QUrl::FullyDecoded),
                 QStringLiteral("Marrowbyについて"));
        // What reaches the mail program: the subject in UTF-8, percent-encoded.
        QVERIFY(url.toEncoded().endsWith("?Subject=Marrowby%E3%81%AB%E3%81%A4%E3%81%84%E3%81%A6"));
    }

    void homePageAsksOnlyForACompletedLeftClick_data()
    {
        QTest::addColumn<QString>("how");
        QTest::newRow("press without release") << "press";
        QTest::newRow("released outside the link") << "release outside";
        QTest::newRow("right click") << "right click";
    }
    void homePageAsksOnlyForACompletedLeftClick()
    {
        QFETCH(QString, how);
        AboutWindow& about = ShownWindow();
        QLabel* link = about.Label2;
        if (how == QLatin1String("right click")) {
            QTest::mouseClick(link, Qt::RightButton);
        } else {
            QTest::mousePress(link, Qt::LeftButton);
            if (how == QLatin1String("release outside"))
                QTest::mouseRelease(link, Qt::LeftButton, {}, QPoint(-5, link->height() / 2));
        }
        QTest::qWait(100);
        QCOMPARE(QApplication::activeModalWidget(), &about); // no question above it
        QCOMPARE(m_opened, QList<QUrl>());
        if (how == QLatin1String("press")) {
            // The question comes with the release over the link.
            ModalDriver driver;
            driver.expectMessage(QMessageBox::No);
            QTest::mouseRelease(link, Qt::LeftButton);
            QTRY_COMPARE(driver.pending(), 0);
            QCOMPARE(driver.messages().size(), 1);
        }
    }

    void versionButtonOpensAFreshWindowEachTime_data()
    {
        QTest::addColumn<QString>("close");
        QTest::newRow("OK button") << "ok";
        QTest::newRow("close box") << "close box";
    }
    void versionButtonOpensAFreshWindowEachTime()
    {
        QFETCH(QString, close);
        kovaldi::MainWindow& main = ShownMainWindow();
        for (int opening = 0; opening < 2; ++opening) {
            ModalDriver driver;
            QStringList seen;
            driver.expect([&](QWidget* modal) {
                auto* about = qobject_cast<AboutWindow*>(modal);
                QVERIFY(about);
                QCOMPARE(AboutWindow::current(), about);
                QCOMPARE(about->parentWidget(), &main);
                QVERIFY(about->isModal());
                QCOMPARE(about->Label1[1]->text(), QStringLiteral("Version 1.0.0"));
                QVERIFY(!IsBold(about->Label2) && !IsBold(about->Label3));
                QCOMPARE(about->Image1->pixmap().size(), QSize(32, 32));
                const QPoint offCentre =
                    about->frameGeometry().center() - main.frameGeometry().center();
                QVERIFY(offCentre.manhattanLength() <= 1);
                QCOMPARE(QApplication::focusWidget(), about->OKButton);
                // Leave a bold link behind: the next opening must not show it.
                about->Label2_MouseMove();
                seen << QStringLiteral("open");
                if (close == QLatin1String("ok"))
                    about->OKButton->click();
                else
                    about->close();
            });
            main.Command1->click();
            seen << QStringLiteral("returned");
            QCOMPARE(driver.failures(), QStringList());
            QCOMPARE(seen, (QStringList{"open", "returned"}));
            QCOMPARE(AboutWindow::current(), nullptr);
            QVERIFY(main.findChildren<AboutWindow*>().isEmpty());
        }
    }

    void openingDuringARunMakesTheRunWait()
    {
        kovaldi::MainWindow& main = ShownMainWindow();
        QStringList steps;
        ModalDriver driver;
        driver.expect([&steps](QWidget* modal) {
            steps << QStringLiteral("About open");
            modal->close();
        });
        // A run pumps the events while the version button is pressed.
        QTimer::singleShot(0, main.Command1, &QPushButton::click);
        steps << QStringLiteral("pump");
        QTest::qWait(20);
        steps << QStringLiteral("next step");
        QCOMPARE(steps, (QStringList{"pump", "About open", "next step"}));
        QCOMPARE(driver.failures(), QStringList());
    }
};

QTEST_MAIN(AboutWindowTest)
#include "aboutwindow_test.moc"
