#pragma once

#include "run/messagekind.h"

#include <QString>

class QWidget;

namespace kovaldi {

// A modal message box over parent, captioned with the program's title. Returns true when
// the user answered Yes (or OK for the kinds with one button).
bool ShowMessage(QWidget* parent, const QString& text, MessageKind kind);

// What a message box may show beyond its text.
struct MessageExtras
{
    QString informativeText = {}; // lines beneath the text
    QString detailedText = {};    // behind the standard details button
    QString extraButton = {};     // caption of one more button beside OK; empty: none
};

enum class MessageAnswer {
    Accepted, // Yes, or OK
    Declined, // No
    Extra,    // the extra button
};

// The same with the extras. OK stays the default and the answer to Escape, so that only a
// deliberate press takes the extra button.
MessageAnswer ShowMessage(QWidget* parent, const QString& text, MessageKind kind,
                          const MessageExtras& extras);

} // namespace kovaldi
