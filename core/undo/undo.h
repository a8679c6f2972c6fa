#pragma once

#include "files/filesystem.h"

#include <QList>
#include <QString>
#include <QStringList>
#include <functional>
#include <map>

namespace kovaldi {

struct JournalContents;
struct RunResult;

// What an undo is to take back: the folders one run made inside its target.
struct UndoPlan
{
    QString target;      // absolute
    QStringList names;   // inside target, in the order made
    QString journalPath; // the journal of that run, where the undo is recorded; empty: none
    QString runId;
};

// The folders a run made, from memory: exact for this process, whether or not its journal
// could be written.
UndoPlan PlanFromRun(const RunResult& result);

// The folders a journal names and no earlier undo removed. Empty when it names no target.
UndoPlan PlanFromJournal(const JournalContents& journal, const QString& journalPath);

enum class UndoMode { Remove, DryRun };

struct UndoReport
{
    static constexpr qint64 kNameCap = 1000;

    struct Kept
    {
        QString name;
        KeptReason reason = KeptReason::Other;
        QString systemText;
    };

    qint64 removed = 0; // with a dry run: would be removed
    qint64 kept = 0;
    std::map<KeptReason, qint64> keptByReason;
    QList<Kept> keptItems; // the first kNameCap, newest first
    bool journalUpdated = false;
};

// Called for every folder, newest first, with what became of it.
using UndoProgress = std::function<void(const QString& name, const RemoveResult& result)>;

// Takes back the plan's folders, newest first, each only while it is still an empty folder
// inside the target: one folder removed at a time, never recursively, never through a
// symbolic link. A dry run removes nothing and says what an undo would do. After a real
// undo the names removed are recorded in the plan's journal, so that a later undo from
// it does not count them again.
UndoReport Undo(FileSystem& fileSystem, const UndoPlan& plan, UndoMode mode,
                const UndoProgress& each = {});

} // namespace kovaldi
