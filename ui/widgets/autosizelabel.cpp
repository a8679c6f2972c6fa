#include "widgets/autosizelabel.h"

#include <QEvent>
#include <QLabel>
#include <QResizeEvent>

namespace kovaldi {

AutoSizeLabel::AutoSizeLabel(const QString& text, QWidget* parent)
    : QWidget(parent), m_label(new QLabel(text, this))
{
    // Texts come from the user's boxes: never read them as markup.
    m_label->setTextFormat(Qt::PlainText);
    // Mouse moves, clicks, tool tips and the cursor belong to this widget, not to the
    // label inside it.
    m_label->setAttribute(Qt::WA_TransparentForMouseEvents);
    adjustSize();
}

QString AutoSizeLabel::text() const
{
    return m_label->text();
}

void AutoSizeLabel::setText(const QString& text)
{
    m_label->setText(text);
    if (!m_sizingDeferred)
        adjustSize();
}

void AutoSizeLabel::setBuddy(QWidget* buddy)
{
    m_label->setBuddy(buddy);
}

void AutoSizeLabel::setSizingDeferred(bool deferred)
{
    m_sizingDeferred = deferred;
    if (!deferred)
        adjustSize();
}

QSize AutoSizeLabel::sizeHint() const
{
    return m_label->sizeHint();
}

void AutoSizeLabel::changeEvent(QEvent* event)
{
    QWidget::changeEvent(event);
    // The label inside has taken the new font by the time this widget hears of it.
    if (event->type() == QEvent::FontChange && !m_sizingDeferred)
        adjustSize();
}

void AutoSizeLabel::resizeEvent(QResizeEvent* event)
{
    m_label->resize(event->size());
}

} // namespace kovaldi
