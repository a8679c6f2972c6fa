#include "widgets/linklabel.h"

#include <QKeyEvent>
#include <QPainter>

namespace kovaldi {

LinkLabel::LinkLabel(const QString& text, QWidget* parent) : AutoSizeLabel(text, parent)
{
    setFocusPolicy(Qt::TabFocus);
}

void LinkLabel::keyPressEvent(QKeyEvent* event)
{
    switch (event->key()) {
    case Qt::Key_Return:
    case Qt::Key_Enter:
    case Qt::Key_Space:
    case Qt::Key_Select:
        // A held key repeats into the question that the first press opened.
        if (!event->isAutoRepeat())
            activate();
        break;
    default:
        AutoSizeLabel::keyPressEvent(event);
    }
}

void LinkLabel::paintEvent(QPaintEvent* event)
{
    AutoSizeLabel::paintEvent(event);
    if (!hasFocus())
        return;
    // A dotted frame in the link's own colour, drawn under the text that the label inside
    // paints on top: plain to see on any palette, where a style's own focus frame may be
    // a faint tint or nothing at all for a label.
    QPainter painter(this);
    QPen pen(palette().color(foregroundRole()), 1, Qt::DotLine);
    painter.setPen(pen);
    painter.drawRect(rect().adjusted(0, 0, -1, -1));
}

} // namespace kovaldi
