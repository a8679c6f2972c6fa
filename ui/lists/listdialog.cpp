#include "lists/listdialog.h"

#include "desktop/messagebox.h"
#include "files/filesystem.h"
#include "lists/listrun.h"
#include "widgets/onelinebox.h"

#include <QCheckBox>
#include <QDialogButtonBox>
#include <QHBoxLayout>
#include <QHelpEvent>
#include <QLabel>
#include <QLocale>
#include <QMimeData>
#include <QPainter>
#include <QPushButton>
#include <QScrollBar>
#include <QTextBlock>
#include <QToolTip>
#include <QVBoxLayout>

namespace kovaldi {

namespace {

QString Count(qint64 count)
{
    static const QLocale japanese(QLocale::Japanese, QLocale::Japan);
    return japanese.toString(count);
}

} // namespace

// The margin at the right of a ListEdit; the editor draws it.
class ListMargin : public QWidget
{
public:
    explicit ListMargin(ListEdit* edit) : QWidget(edit), m_edit(edit) {}

protected:
    void paintEvent(QPaintEvent* event) override { m_edit->paintMargin(event); }
    bool event(QEvent* event) override
    {
        // A mark cut short at the margin's edge reads whole in its tip.
        if (event->type() == QEvent::ToolTip) {
            auto* help = static_cast<QHelpEvent*>(event);
            const int line = m_edit->lineAt(help->pos().y());
            if (line >= 0 && line < m_edit->marks().size() && !m_edit->marks()[line].text.isEmpty())
                QToolTip::showText(help->globalPos(), m_edit->marks()[line].text, this);
            else
                QToolTip::hideText();
            return true;
        }
        return QWidget::event(event);
    }

private:
    ListEdit* m_edit;
};

ListEdit::ListEdit(QWidget* parent) : QPlainTextEdit(parent), m_margin(new ListMargin(this))
{
    setLineWrapMode(QPlainTextEdit::NoWrap);
    setTabChangesFocus(true);
    setViewportMargins(0, 0, marginWidth(), 0);
    connect(verticalScrollBar(), &QScrollBar::rangeChanged, this, &ListEdit::placeMargin);
    connect(this, &QPlainTextEdit::updateRequest, this, [this](const QRect& rect, int dy) {
        if (dy != 0)
            m_margin->scroll(0, dy);
        else
            m_margin->update(0, rect.y(), m_margin->width(), rect.height());
    });
    connect(this, &QPlainTextEdit::cursorPositionChanged, this, &ListEdit::describeCursorLine);
}

void ListEdit::describeCursorLine()
{
    const int line = textCursor().blockNumber();
    const QString mark = line < m_marks.size() ? m_marks[line].text : QString();
    const QString description =
        mark.isEmpty() ? QString() : QStringLiteral("%1 行目: %2").arg(line + 1).arg(mark);
    if (accessibleDescription() != description)
        setAccessibleDescription(description);
}

int ListEdit::marginWidth() const
{
    return fontMetrics().horizontalAdvance(QString(16, QChar(0x3042))) + 8;
}

void ListEdit::setMarks(QList<Mark> marks)
{
    m_marks = std::move(marks);
    m_margin->update();
    describeCursorLine();
}

void ListEdit::setMark(qsizetype line, Mark mark)
{
    if (line >= 0 && line < m_marks.size())
        m_marks[line] = std::move(mark);
    if (line == textCursor().blockNumber())
        describeCursorLine();
}

void ListEdit::resizeEvent(QResizeEvent* event)
{
    QPlainTextEdit::resizeEvent(event);
    placeMargin();
}

void ListEdit::placeMargin()
{
    // Between the lines and the scroll bar, which comes and goes with the list's length.
    const QRect lines = viewport()->geometry();
    m_margin->setGeometry(lines.right() + 1, lines.top(), marginWidth(), lines.height());
}

void ListEdit::paintMargin(QPaintEvent* event)
{
    QPainter painter(m_margin);
    painter.fillRect(event->rect(), palette().color(QPalette::AlternateBase));
    painter.setPen(palette().color(QPalette::Mid));
    painter.drawLine(0, event->rect().top(), 0, event->rect().bottom());
    QTextBlock block = firstVisibleBlock();
    qreal top = blockBoundingGeometry(block).translated(contentOffset()).top();
    const int textWidth = m_margin->width() - 8;
    while (block.isValid() && top <= event->rect().bottom()) {
        const qreal height = blockBoundingRect(block).height();
        const int line = block.blockNumber();
        if (line < m_marks.size() && !m_marks[line].text.isEmpty()) {
            const Mark& mark = m_marks[line];
            painter.setPen(mark.fault ? QColor(0xC0, 0x00, 0x00)
                                      : palette().color(QPalette::WindowText));
            painter.drawText(QRectF(5, top, textWidth, height), Qt::AlignLeft | Qt::AlignVCenter,
                             fontMetrics().elidedText(mark.text, Qt::ElideRight, textWidth));
        }
        block = block.next();
        top += height;
    }
}

int ListEdit::lineAt(int y) const
{
    QTextBlock block = firstVisibleBlock();
    qreal top = blockBoundingGeometry(block).translated(contentOffset()).top();
    while (block.isValid()) {
        const qreal bottom = top + blockBoundingRect(block).height();
        if (y >= top && y < bottom)
            return block.blockNumber();
        block = block.next();
        top = bottom;
    }
    return -1;
}

void ListEdit::insertFromMimeData(const QMimeData* source)
{
    // Counted as the editor counts lines: the text kept, less the selection, plus the paste.
    if (source->hasText()) {
        const QString pasted = source->text();
        const QString selected = textCursor().selectedText();
        const qsizetype lines = document()->blockCount() + pasted.count(u'\n') -
                                selected.count(QChar::ParagraphSeparator) -
                                (pasted.endsWith(u'\n') ? 1 : 0);
        if (lines > kMostListLines) {
            ShowMessage(
                this,
                QStringLiteral("貼り付けると一覧が %L1 行を超えるため、貼り付けませんでした。")
                    .arg(kMostListLines),
                MessageKind::Warning);
            return;
        }
    }
    QPlainTextEdit::insertFromMimeData(source);
}

ListDialog::ListDialog(const QString& text, const ListNumbering& numbering,
                       const FileSystem& fileSystem, const QString& baseFolder, QWidget* parent)
    : QDialog(parent), m_numbering(numbering), m_fileSystem(fileSystem), m_baseFolder(baseFolder)
{
    setObjectName(QStringLiteral("frmList"));
    setWindowTitle(QStringLiteral("一覧から作成"));
    auto* layout = new QVBoxLayout(this);

    auto* listLabel = new QLabel(
        QStringLiteral(
            "作成するフォルダ名(&T)（1 行に 1 つ、「/」で階層。表の 1 列を貼り付けられます）"),
        this);
    txtList = new ListEdit(this);
    txtList->setObjectName(QStringLiteral("txtList"));
    txtList->setPlainText(text);
    listLabel->setBuddy(txtList);
    layout->addWidget(listLabel);
    layout->addWidget(txtList, 1);

    auto* numberRow = new QHBoxLayout;
    chkNumbered = new QCheckBox(QStringLiteral("番号を付ける(&N)"), this);
    chkNumbered->setObjectName(QStringLiteral("chkNumbered"));
    chkNumbered->setChecked(numbering.numbered);
    lblSeparator = new QLabel(QStringLiteral("区切り(&S)"), this);
    txtSeparator = new OneLineBox(numbering.separator, this);
    txtSeparator->setObjectName(QStringLiteral("txtSeparator"));
    txtSeparator->setMaximumWidth(fontMetrics().horizontalAdvance(QLatin1Char('0')) * 10);
    lblSeparator->setBuddy(txtSeparator);
    numberRow->addWidget(chkNumbered);
    numberRow->addSpacing(12);
    numberRow->addWidget(lblSeparator);
    numberRow->addWidget(txtSeparator);
    numberRow->addWidget(
        new QLabel(QStringLiteral("（最小値・増分・桁数の番号、区切り、行の順）"), this));
    numberRow->addStretch();
    layout->addLayout(numberRow);

    lblSummary = new QLabel(this);
    lblSummary->setObjectName(QStringLiteral("lblSummary"));
    lblSummary->setTextFormat(Qt::PlainText);
    lblSummary->setWordWrap(true);
    layout->addWidget(lblSummary);

    auto* buttons = new QDialogButtonBox(this);
    cmdMake = buttons->addButton(QStringLiteral("作成(&M)"), QDialogButtonBox::AcceptRole);
    cmdMake->setObjectName(QStringLiteral("cmdMake"));
    cmdClose = buttons->addButton(QStringLiteral("閉じる"), QDialogButtonBox::RejectRole);
    cmdClose->setObjectName(QStringLiteral("cmdClose"));
    layout->addWidget(buttons);

    connect(buttons, &QDialogButtonBox::accepted, this, &ListDialog::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &ListDialog::reject);
    m_pause.setSingleShot(true);
    m_pause.setInterval(kPauseMs);
    m_page.setInterval(0);
    connect(&m_pause, &QTimer::timeout, this, &ListDialog::StartCheck);
    connect(&m_page, &QTimer::timeout, this, &ListDialog::CheckPage);
    // Any edit abandons the pass under way; the next starts after a pause.
    const auto edited = [this] {
        m_page.stop();
        m_pause.start();
        lblSeparator->setEnabled(chkNumbered->isChecked());
        txtSeparator->setEnabled(chkNumbered->isChecked());
    };
    connect(txtList, &QPlainTextEdit::textChanged, this, edited);
    connect(chkNumbered, &QCheckBox::toggled, this, edited);
    connect(txtSeparator, &QLineEdit::textChanged, this, edited);
    edited();
    m_pause.stop();
    StartCheck();

    resize(fontMetrics().averageCharWidth() * 100, fontMetrics().height() * 28);
    txtList->setFocus();
}

ListDialog::~ListDialog() = default;

QString ListDialog::Text() const
{
    return txtList->toPlainText();
}

bool ListDialog::Numbered() const
{
    return chkNumbered->isChecked();
}

QString ListDialog::Separator() const
{
    return txtSeparator->text();
}

void ListDialog::StartCheck()
{
    ListNumbering numbering = m_numbering;
    numbering.numbered = Numbered();
    numbering.separator = Separator();
    m_listError.clear();
    const QString text = Text();
    m_list.reset();
    // An empty box is not a fault yet.
    if (!text.trimmed().isEmpty())
        m_list = FolderList::FromText(text, numbering, &m_listError);
    m_checker = std::make_unique<ListChecker>(m_fileSystem, m_baseFolder);
    std::fill(std::begin(m_counts), std::end(m_counts), 0);
    m_firstInvalid = -1;
    m_firstReason.clear();
    m_next = 0;
    txtList->setMarks(QList<ListEdit::Mark>(m_list ? txtList->document()->blockCount() : 0));
    if (m_list)
        m_page.start();
    UpdateSummary();
}

void ListDialog::CheckPage()
{
    const qsizetype end = std::min(m_list->lines.size(), m_next + kLinesAPass);
    for (; m_next < end; ++m_next) {
        const ListLine& line = m_list->lines[m_next];
        QString reason;
        qsizetype earlier = 0;
        const ListLineState state = m_checker->Check(line, &reason, &earlier);
        ++m_counts[int(state)];
        ListEdit::Mark mark;
        switch (state) {
        case ListLineState::New:
            mark.text = QStringLiteral("新規");
            break;
        case ListLineState::ExistsAsFolder:
            mark.text = QStringLiteral("既存（フォルダ）");
            break;
        case ListLineState::ExistsAsFile:
            mark.text = QStringLiteral("既存（ファイル）");
            mark.fault = true;
            break;
        case ListLineState::Duplicate:
            mark.text = QStringLiteral("重複（%L1 行目）").arg(earlier);
            break;
        case ListLineState::Invalid:
            mark.text = QStringLiteral("無効: ") + reason;
            mark.fault = true;
            if (m_firstInvalid < 0) {
                m_firstInvalid = m_next;
                m_firstReason = reason;
            }
            break;
        }
        txtList->setMark(line.line - 1, std::move(mark));
    }
    if (m_next == m_list->lines.size())
        m_page.stop();
    txtList->updateMargin();
    UpdateSummary();
}

void ListDialog::UpdateSummary()
{
    if (!m_listError.isEmpty()) {
        lblSummary->setText(m_listError);
        return;
    }
    if (!m_list) {
        lblSummary->setText(QString());
        return;
    }
    QString text = QStringLiteral("新規 %1 個、既存 %2 個、重複 %3 個、無効 %4 個")
                       .arg(Count(m_counts[int(ListLineState::New)]),
                            Count(m_counts[int(ListLineState::ExistsAsFolder)] +
                                  m_counts[int(ListLineState::ExistsAsFile)]),
                            Count(m_counts[int(ListLineState::Duplicate)]),
                            Count(m_counts[int(ListLineState::Invalid)]));
    if (m_page.isActive())
        text += QStringLiteral("（確認中: %1 / %2 行）")
                    .arg(Count(m_next), Count(m_list->lines.size()));
    if (m_list->cutLines > 0)
        text += QStringLiteral("\n%1 行の前後の空白を取り除きます。").arg(Count(m_list->cutLines));
    if (m_firstInvalid >= 0)
        text +=
            QStringLiteral("\n") +
            InvalidLineMessage(m_list->lines[m_firstInvalid], m_firstReason).replace(u'\n', u' ');
    lblSummary->setText(text);
}

void ListDialog::accept()
{
    // The check of the text as it stands, to its end.
    if (m_pause.isActive() || !m_list) {
        m_pause.stop();
        StartCheck();
    }
    while (m_page.isActive())
        CheckPage();
    if (!m_list) {
        ShowMessage(this,
                    m_listError.isEmpty()
                        ? QStringLiteral("一覧にフォルダ名がありません（空の行だけです）。")
                        : m_listError,
                    MessageKind::Warning);
        return;
    }
    if (m_firstInvalid >= 0) {
        ShowMessage(this, InvalidLineMessage(m_list->lines[m_firstInvalid], m_firstReason),
                    MessageKind::Warning);
        return;
    }
    QDialog::accept();
}

} // namespace kovaldi
