#pragma once

#include "run/messagekind.h"

#include <QString>

class QWidget;

namespace kovaldi {

// A modal message box over parent, captioned with the program's title. Returns true when
// the user answered Yes (or OK for the kinds with one button).
bool ShowMessage(QWidget* parent, const QString& text, MessageKind kind);

} // namespace kovaldi
