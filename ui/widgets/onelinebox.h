#pragma once

#include <QLineEdit>

namespace kovaldi {

// A one-line text box as the platform the design comes from has them: whatever reaches
// it (typed, pasted, dropped, committed by an input method or set by the program) keeps
// only the text before its first line break (CR, LF or CR LF), the rest of the box's
// text staying as it was, and it holds a text of any length: no 32,767-character cut.
class OneLineBox : public QLineEdit
{
    Q_OBJECT
public:
    explicit OneLineBox(const QString& text, QWidget* parent = nullptr);
};

} // namespace kovaldi
