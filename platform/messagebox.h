#pragma once

#include <QString>

class QWidget;

namespace kovaldi {

enum class MessageKind {
    Warning,     // refused input: warning icon, OK
    Question,    // question icon, Yes and No, Yes the default
    Information, // finished run: information icon, OK
    Error,       // every folder failed: error icon, OK
};

// A modal message box over parent, captioned with the program's title. Returns true when
// the user answered Yes (or OK for the kinds with one button).
bool ShowMessage(QWidget* parent, const QString& text, MessageKind kind);

} // namespace kovaldi
