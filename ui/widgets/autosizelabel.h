#pragma once

#include <QLabel>

namespace kovaldi {

// A label that takes the size of its text, whenever the text or the font changes.
class AutoSizeLabel : public QLabel
{
public:
    explicit AutoSizeLabel(const QString& text, QWidget* parent = nullptr);

    void setText(const QString& text);

protected:
    void changeEvent(QEvent* event) override;
};

} // namespace kovaldi
