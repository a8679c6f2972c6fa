#pragma once

#include "lists/folderlist.h"
#include "run/batchrun.h"
#include "run/runresult.h"

#include <QList>
#include <QString>

namespace kovaldi {

class FileSystem;
class RunRecorder;
class RunWindow;
class SettingsStore;
class SubfolderTemplate;

// What a run from a list will try, worked out before it starts: every line checked in
// order, and the parents the lines imply that are neither there nor named earlier. A
// duplicate line is skipped; a folder made as the parent of a line counts as that line's.
struct ListPlan
{
    FolderList list;
    QList<ListLineState> states; // one a line, up to the first invalid one
    qint64 newLines = 0;
    qint64 existingFolders = 0;
    qint64 existingFiles = 0;
    qint64 duplicates = 0;
    // What the run tries, in order: each line's folder (line) after the parents it is the
    // first to imply that are not there yet.
    struct Step
    {
        QString path;
        bool line = true;
    };
    QList<Step> steps;
    qint64 parents = 0;
    // The first line that cannot be made (its index in list.lines), or -1.
    qsizetype invalid = -1;
    QString invalidReason;

    // Checks the list's lines against baseFolder (ending in the file system's separator),
    // stopping at the first invalid one.
    static ListPlan Of(FolderList list, const FileSystem& fileSystem, const QString& baseFolder);

    // The lines a run tries: all but the duplicates.
    qint64 Lines() const { return list.lines.size() - duplicates; }
    // Every folder a run tries beside the sub-folders: the lines and their parents.
    qint64 Folders() const { return steps.size(); }
};

// The parents a path implies, outermost first: "a/b/c" gives "a" and "a/b".
QStringList ParentsOf(const QString& path);

// The refusal of a list with a line that cannot be made: the line and why.
QString InvalidLineMessage(const ListLine& line, const QString& reason);

// What a run from a list tells as it goes, and asks.
class ListRunObserver
{
public:
    virtual ~ListRunObserver() = default;
    // Before each folder, sub-folders included, with its name inside the target.
    virtual void Making(const QString& name) = 0;
    // After each line's folder or parent (not the sub-folders), with how many of those
    // were tried of all.
    virtual void Tried(qint64 tried, qint64 total) = 0;
    // Asked after each folder while more are left; true stops the run there.
    virtual bool StopRequested() = 0;
};

// Makes the plan's folders in baseFolder, each parent before the first line inside it, and
// inside each line's folder the run made the template's folders; records every one. True
// when a stop cut the run short.
bool MakeListFolders(FileSystem& fileSystem, const QString& baseFolder, const ListPlan& plan,
                     const SubfolderTemplate& tree, RunRecorder& recorder,
                     ListRunObserver& observer);

// A list as the window runs it: the text typed or pasted, and its numbering options (the
// number from the window's minimum, step and digit count).
struct ListRunInputs
{
    QString text;
    bool numbered = false;
    QString separator = QStringLiteral("_");
    // The file the list is kept in for the next start after a confirmed run; empty: none.
    QString keptIn;
};

// The window's run from a list: as RunBatch, with the list's lines in place of the series.
// The header, footer, minimum and maximum take no part, but the minimum, the step and the
// digit count when the lines are numbered. A list with only blank lines, too many lines or
// a line that cannot be made is refused before the confirmation, with the first such line
// named.
RunResult RunList(RunWindow& window, FileSystem& fileSystem, SettingsStore& settings,
                  const ListRunInputs& inputs, const RunOptions& options = RunOptions());

// Where the window keeps the list for the next start: list.txt beside the settings.
QString DefaultListPath();
// The kept list, or an empty text when there is none or it cannot be read.
QString ReadKeptList(const QString& path);
// Replaces the kept list at once, all or nothing; false when it cannot.
bool KeepList(const QString& path, const QString& text);

} // namespace kovaldi
