#pragma once

#include <QStringList>

namespace kovaldi::cli {

// kovaldi-cli undo [--dry-run]: takes back the last run that the journal names, whichever
// program made it. The arguments come after "undo". Returns the exit status.
int RunUndo(const QStringList& arguments);

} // namespace kovaldi::cli
