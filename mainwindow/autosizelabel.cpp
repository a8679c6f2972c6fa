#include "mainwindow/autosizelabel.h"

#include <QEvent>

namespace kovaldi {

AutoSizeLabel::AutoSizeLabel(const QString& text, QWidget* parent) : QLabel(text, parent)
{
    // Texts come from the user's boxes: never read them as markup.
    setTextFormat(Qt::PlainText);
    fitToText();
}

void AutoSizeLabel::setText(const QString& text)
{
    QLabel::setText(text);
    fitToText();
}

QSize AutoSizeLabel::fittedSize() const
{
    // QLabel's hint lays the text out three times (for the hint and for the minimum's width
    // and height), and shaping Japanese text is the costly part of measuring it. A frameless
    // one-line label's hint is the box its text takes when laid out from the left edge with
    // tabs expanded, with the mnemonic taken out only when a buddy makes the '&' one; an
    // empty label keeps room for one average character. So one layout gives it.
    const QFontMetrics metrics = fontMetrics();
    QSize content(metrics.averageCharWidth(), metrics.lineSpacing());
    if (!text().isEmpty()) {
        int flags = int(alignment() & ~(Qt::AlignVCenter | Qt::AlignHCenter)) | Qt::TextExpandTabs;
        if (buddy() && text().contains(QLatin1Char('&')))
            flags |= Qt::TextShowMnemonic;
        content = metrics.boundingRect(QRect(0, 0, 2000, 2000), flags, text()).size();
    }
    const QMargins margins = contentsMargins();
    return (content + QSize(margins.left() + margins.right(), margins.top() + margins.bottom()))
        .expandedTo(minimumSize());
}

void AutoSizeLabel::fitToText()
{
    resize(fittedSize());
}

void AutoSizeLabel::changeEvent(QEvent* event)
{
    QLabel::changeEvent(event);
    if (event->type() == QEvent::FontChange)
        fitToText();
}

} // namespace kovaldi
