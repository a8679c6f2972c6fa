#pragma once

#include <QDateTime>
#include <QString>
#include <QStringList>

namespace kovaldi {

// The per-user folder of the run journals: on Linux and other XDG systems
// $XDG_STATE_HOME/Kovaldi (default ~/.local/state); elsewhere in the user's local
// application data folder, under Kovaldi. Each run that makes a folder keeps its own
// journal there; the newest is the last run's.
QString DefaultJournalFolder();

// Creates the folder and those above it as needed; the folder itself is the user's alone
// (0700 on POSIX). False when it is not there afterwards.
bool EnsureJournalFolder(const QString& folder);

// Whether undo may trust what the folder holds: it must be the user's own, and nobody else
// may write it, as for the user's other private folders. (Windows: the user's profile
// keeps others out, and nothing is checked.)
enum class FolderTrust { Trusted, Missing, NotTrusted };
FolderTrust CheckJournalFolder(const QString& folder);

// The file name of a run's journal: when it started, then its id, so that names sort in
// the order runs started.
QString JournalFileName(const QDateTime& started, const QString& runId);

// The paths of the run journals in folder, newest first, with the one journal that
// earlier versions kept ("last-run.journal") after them all.
QStringList JournalsNewestFirst(const QString& folder);

} // namespace kovaldi
