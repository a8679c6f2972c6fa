#include "widgets/autosizelabel.h"

#include "widgets/accessiblewidgets.h"

#include <QAccessible>
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
    // Assistive technology knows this widget as the text; the label inside is none of its
    // business. A name of its own keeps that label from announcing every text it is given.
    InstallAccessibleInterfaces();
    m_label->setAccessibleName(QStringLiteral("text"));
    m_announced = text;
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

QWidget* AutoSizeLabel::buddy() const
{
    return m_label->buddy();
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

void AutoSizeLabel::paintEvent(QPaintEvent* event)
{
    QWidget::paintEvent(event);
    if (m_label->text() == m_announced || !accessibleName().isEmpty())
        return;
    m_announced = m_label->text();
    QAccessibleEvent changed(this, QAccessible::NameChanged);
    QAccessible::updateAccessibility(&changed);
}

} // namespace kovaldi
