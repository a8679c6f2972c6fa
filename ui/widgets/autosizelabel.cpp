#include "widgets/autosizelabel.h"

#include <QEvent>

namespace kovaldi {

AutoSizeLabel::AutoSizeLabel(const QString& text, QWidget* parent) : QLabel(text, parent)
{
    // Texts come from the user's boxes: never read them as markup.
    setTextFormat(Qt::PlainText);
    adjustSize();
}

void AutoSizeLabel::setText(const QString& text)
{
    QLabel::setText(text);
    adjustSize();
}

void AutoSizeLabel::changeEvent(QEvent* event)
{
    QLabel::changeEvent(event);
    if (event->type() == QEvent::FontChange)
        adjustSize();
}

} // namespace kovaldi
