#pragma once

#include <QLabel>

namespace kovaldi {

// A label that takes the size of its text, whenever the text or the font changes. It has
// no frame, margin or indent, and shows its text as plain text on one line per line break.
class AutoSizeLabel : public QLabel
{
public:
    explicit AutoSizeLabel(const QString& text, QWidget* parent = nullptr);

    void setText(const QString& text);

    // The size QLabel's own hint gives the text, from a single layout of it.
    QSize fittedSize() const;
    // Takes that size; setText does so itself.
    void fitToText();

protected:
    void changeEvent(QEvent* event) override;
};

} // namespace kovaldi
