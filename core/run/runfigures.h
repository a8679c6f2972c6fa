#pragma once

#include "naming/folderseries.h"

#include <QDeadlineTimer>
#include <QString>

namespace kovaldi {

class FileSystem;

// What a run is about to do, for the confirmation.
struct RunFigures
{
    QString target; // the target folder as an absolute path
    qint64 count = 0;
    QString firstName;
    QString lastName;
    // How many names, from the first on, were looked up before the time ran out, and how
    // many of those exist already.
    qint64 checked = 0;
    qint64 existingFolders = 0;
    qint64 existingFiles = 0;
    // A ".." in the header or the footer takes the folders out of the target folder, where
    // no undo will remove them.
    bool leavesTarget = false;
    // The template's folders made inside each numbered folder made.
    qint64 subfoldersEach = 0;
    // A run from a list: its lines that repeat an earlier one (not made), and the parents
    // its lines imply that are made first.
    bool fromList = false;
    qint64 duplicates = 0;
    qint64 parents = 0;

    bool Complete() const { return checked == count; }
    qint64 Existing() const { return existingFolders + existingFiles; }
    // Every name is taken: the run would make no folder.
    bool NoneNew() const { return Complete() && Existing() == count; }
    // Every folder the run will make, sub-folders included, as far as the names were
    // looked up: a numbered folder that exists gets nothing inside it.
    qint64 FoldersToMake() const { return (count - Existing()) * (1 + subfoldersEach) + parents; }
};

// Whether names of header + number + footer climb out of the folder they are made in: a
// ".." that the header or the footer holds as a whole path component.
bool NamesLeaveTarget(const QString& header, const QString& footer);

// Looks up the names of series inside baseFolder until the deadline: one listing of the
// folder where it can, in up to half the time, else name by name.
RunFigures CountRunFigures(const FileSystem& fileSystem, const QString& baseFolder,
                           const FolderSeries& series, const QDeadlineTimer& deadline);

} // namespace kovaldi
