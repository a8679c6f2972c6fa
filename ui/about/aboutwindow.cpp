#include "about/aboutwindow.h"

#include "desktop/appearance.h"
#include "desktop/messagebox.h"
#include "version.h"
#include "widgets/autosizelabel.h"
#include "widgets/linklabel.h"

#include <QApplication>
#include <QCloseEvent>
#include <QDesktopServices>
#include <QLabel>
#include <QMouseEvent>
#include <QPushButton>
#include <QUrl>
#include <algorithm>

namespace kovaldi {

namespace {

const int kIconSize = 32;

QString HomePageUrl()
{
    return QString::fromUtf8(version::homePageUrl);
}

QString MailAddress()
{
    return QString::fromUtf8(version::mailAddress);
}

QFont WithWeight(QFont font, QFont::Weight weight)
{
    font.setWeight(weight);
    return font;
}

void SetTextColour(QWidget* control, const QColor& colour)
{
    QPalette palette = control->palette();
    palette.setColor(QPalette::WindowText, colour);
    control->setPalette(palette);
}

} // namespace

QPointer<AboutWindow> AboutWindow::s_current;

AboutWindow::AboutWindow(QWidget* owner)
    : QDialog(owner, Qt::Dialog | Qt::WindowTitleHint | Qt::WindowSystemMenuHint |
                         Qt::WindowCloseButtonHint)
{
    setObjectName(QStringLiteral("frmVersion"));
    setWindowTitle(QStringLiteral("ﾊﾞｰｼﾞｮﾝ情報"));
    setFont(JapaneseGothicFont(9.75));
    setFixedSize(Twips(5190), Twips(1935));
    setSizeGripEnabled(false);
    setModal(true);
    setMouseTracking(true);
    createControls();
}

AboutWindow::~AboutWindow()
{
    if (s_current == this)
        s_current = nullptr;
}

AboutWindow* AboutWindow::current()
{
    return s_current;
}

void AboutWindow::setCurrent(AboutWindow* window)
{
    s_current = window;
}

void AboutWindow::createControls()
{
    // The icon has no handler: moving over it leaves the links as they are, so it gets no
    // mouse tracking and its moves go nowhere.
    Image1 = new QLabel(this);
    Image1->setObjectName(QStringLiteral("Image1"));
    Image1->setGeometry(Twips(120), Twips(240), Twips(480), Twips(480));

    const QString title = QString::fromUtf8(version::title);
    const QString copyright = QString::fromUtf8(version::copyright);
    const struct
    {
        QString text;
        int left;
        int top;
        double points;
        bool bold;
        bool italic;
    } titles[] = {
        {title, 720, 240, 12, true, false},
        {QStringLiteral("Version"), 3240, 240, 12, true, false},
        {copyright, 1440, 480, 11.25, false, true},
    };
    for (int i = 0; i < int(Label1.size()); ++i) {
        auto* label = new AutoSizeLabel(titles[i].text, this);
        label->setObjectName(QStringLiteral("Label1(%1)").arg(i));
        QFont font = JapaneseGothicFont(titles[i].points);
        font.setBold(titles[i].bold);
        font.setItalic(titles[i].italic);
        label->setFont(font);
        // The system's text colour for the window's own background: menu text may be
        // meant for a menu's background, which can differ.
        label->setForegroundRole(QPalette::WindowText);
        label->move(Twips(titles[i].left), Twips(titles[i].top));
        Label1[i] = label;
    }
    placeCopyright();

    Label2 = new LinkLabel(QStringLiteral("HomePage : ") + HomePageUrl(), this);
    Label2->setObjectName(QStringLiteral("Label2"));
    Label2->setToolTip(QStringLiteral("クリックするとホームページを表示します"));
    Label3 = new LinkLabel(QStringLiteral("Mail : ") + MailAddress(), this);
    Label3->setObjectName(QStringLiteral("Label3"));
    Label3->setToolTip(QStringLiteral("クリックするとメールを送信します"));
    for (AutoSizeLabel* link : {Label2, Label3}) {
        link->setFont(JapaneseGothicFont(9.75));
        link->setCursor(Qt::PointingHandCursor);
    }
    colourLinks();
    Label2->move(0, Twips(840));
    Label3->move(0, Twips(1080));

    OKButton = new QPushButton(QStringLiteral("OK(&O)"), this);
    OKButton->setObjectName(QStringLiteral("OKButton"));
    OKButton->setGeometry(0, Twips(1440), Twips(1215), Twips(375));
    OKButton->setDefault(true);
    OKButton->setFocus();
    connect(OKButton, &QPushButton::clicked, this, &AboutWindow::OKButton_Click);
    // From the keyboard the links ask what a click asks. They follow the OK button, which
    // keeps the focus at the opening: the order of their tab numbers.
    connect(Label2, &LinkLabel::activated, this, &AboutWindow::Label2_Click);
    connect(Label3, &LinkLabel::activated, this, &AboutWindow::Label3_MouseDown);
    setTabOrder(OKButton, Label2);
    setTabOrder(Label2, Label3);

    for (QWidget* control : std::initializer_list<QWidget*>{Label2, Label3, OKButton})
        placeCentred(control);
    for (QWidget* control : std::initializer_list<QWidget*>{Label1[0], Label1[1], Label1[2], Label2,
                                                            Label3, OKButton}) {
        control->setMouseTracking(true);
        control->installEventFilter(this);
    }
}

void AboutWindow::colourLinks()
{
    const QColor window = palette().color(QPalette::Window);
    SetTextColour(Label2, LinkColourOn(QColor(0, 0, 255), window));
    SetTextColour(Label3, LinkColourOn(QColor(0, 128, 0), window));
}

void AboutWindow::changeEvent(QEvent* event)
{
    QDialog::changeEvent(event);
    // A colour scheme changed while the window is open.
    if (event->type() == QEvent::PaletteChange || event->type() == QEvent::ApplicationPaletteChange)
        colourLinks();
}

void AboutWindow::placeCentred(QWidget* control)
{
    control->move((width() - control->width()) / 2, control->y());
}

void AboutWindow::placeCopyright()
{
    // A packager's longer line moves left rather than run out of the window.
    const int margin = Twips(120);
    QWidget* line = Label1[2];
    const int left = std::min(Twips(1440), width() - margin - line->width());
    line->move(std::max(margin, left), line->y());
}

void AboutWindow::setVisible(bool visible)
{
    if (visible)
        Form_Load();
    QDialog::setVisible(visible);
}

void AboutWindow::Form_Load()
{
    if (m_loaded)
        return;
    m_loaded = true;
    const QWidget* owner = parentWidget();
    setWindowIcon(owner ? owner->windowIcon() : QApplication::windowIcon());
    Image1->setPixmap(windowIcon().pixmap(QSize(kIconSize, kIconSize)));
    Label1[0]->setText(QString::fromUtf8(version::title));
    Label1[1]->setText(QStringLiteral("Version %1.%2.%3")
                           .arg(version::major)
                           .arg(version::minor)
                           .arg(version::revision));
    Label1[2]->setText(QString::fromUtf8(version::copyright));
    placeCopyright();
}

void AboutWindow::setLinksBold(bool homePage, bool mail)
{
    Label2->setFont(WithWeight(Label2->font(), homePage ? QFont::Bold : QFont::Normal));
    Label3->setFont(WithWeight(Label3->font(), mail ? QFont::Bold : QFont::Normal));
    // Each link has resized to its text; keep both centred.
    placeCentred(Label2);
    placeCentred(Label3);
}

void AboutWindow::Form_MouseMove()
{
    setLinksBold(false, false);
}

void AboutWindow::Label1_MouseMove()
{
    setLinksBold(false, false);
}

void AboutWindow::OKButton_MouseMove()
{
    setLinksBold(false, false);
}

void AboutWindow::Label2_MouseMove()
{
    setLinksBold(true, false);
}

void AboutWindow::Label3_MouseMove()
{
    setLinksBold(false, true);
}

void AboutWindow::Label2_Click()
{
    if (!ShowMessage(this, QStringLiteral("ホームページを表示しますか？"), MessageKind::Question))
        return;
    // Whether a browser took it is not the window's business: it stays open either way.
    QDesktopServices::openUrl(QUrl(HomePageUrl(), QUrl::TolerantMode));
}

void AboutWindow::Label3_MouseDown()
{
    if (!ShowMessage(this,
                     QStringLiteral(
                         "ご意見、ご感想、ご要望何でもお待ちしております。メールを送信しますか？"),
                     MessageKind::Question))
        return;
    // The subject is percent-encoded as UTF-8 when the link is handed on, as mail
    // programs expect.
    QDesktopServices::openUrl(QUrl(QStringLiteral("mailto:") + MailAddress() +
                                       QStringLiteral("?Subject=Marrowbyについて"),
                                   QUrl::TolerantMode));
}

void AboutWindow::OKButton_Click()
{
    close();
}

void AboutWindow::Form_QueryUnload()
{
    s_current = nullptr;
}

bool AboutWindow::eventFilter(QObject* watched, QEvent* event)
{
    switch (event->type()) {
    case QEvent::MouseMove:
        if (watched == Label2)
            Label2_MouseMove();
        else if (watched == Label3)
            Label3_MouseMove();
        else if (watched == OKButton)
            OKButton_MouseMove();
        else if (std::find(Label1.begin(), Label1.end(), watched) != Label1.end())
            Label1_MouseMove();
        break;
    case QEvent::MouseButtonPress:
        if (watched == Label3) {
            Label3_MouseDown();
            return true;
        }
        if (watched == Label2)
            m_label2Pressed = static_cast<QMouseEvent*>(event)->button() == Qt::LeftButton;
        break;
    case QEvent::MouseButtonRelease:
        if (watched == Label2 && m_label2Pressed) {
            const auto* release = static_cast<QMouseEvent*>(event);
            if (release->button() != Qt::LeftButton)
                break;
            m_label2Pressed = false;
            if (Label2->rect().contains(release->position().toPoint()))
                Label2_Click();
            return true;
        }
        break;
    default:
        break;
    }
    return QDialog::eventFilter(watched, event);
}

void AboutWindow::mouseMoveEvent(QMouseEvent* event)
{
    // Moves over a control arrive here when the control passes them on; only the free
    // area counts.
    if (!childAt(event->position().toPoint()))
        Form_MouseMove();
    QDialog::mouseMoveEvent(event);
}

void AboutWindow::closeEvent(QCloseEvent* event)
{
    Form_QueryUnload();
    QDialog::closeEvent(event);
}

void AboutWindow::done(int result)
{
    // Escape, and on some platforms a key of their own, end the dialog without a close
    // request; the reference is emptied all the same.
    Form_QueryUnload();
    QDialog::done(result);
}

} // namespace kovaldi
