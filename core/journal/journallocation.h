#pragma once

#include <QString>

namespace kovaldi {

// The per-user file of the last run's journal: on Linux and other XDG systems
// $XDG_STATE_HOME/Kovaldi/last-run.journal (default ~/.local/state); elsewhere in the
// user's local application data folder, under Kovaldi.
QString DefaultJournalPath();

} // namespace kovaldi
