#pragma once

#include "widgets/autosizelabel.h"

namespace kovaldi {

// An auto-sized label that stands for a link. Besides what its window does with the mouse
// over it, it is reached with Tab (not by a click), shows a focus frame while it has the
// focus, and is activated by Enter or Space.
class LinkLabel : public AutoSizeLabel
{
    Q_OBJECT
public:
    explicit LinkLabel(const QString& text, QWidget* parent = nullptr);

public slots:
    void activate() { emit activated(); }

signals:
    void activated();

protected:
    void keyPressEvent(QKeyEvent* event) override;
    void paintEvent(QPaintEvent* event) override;
};

} // namespace kovaldi
