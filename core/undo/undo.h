#pragma once

#include "files/filesystem.h"

#include <QList>
#include <QString>
#include <QStringList>
#include <map>

namespace kovaldi {

class UndoRecord;
struct JournalContents;
struct RunResult;

// What an undo is to take back: the folders one run made inside its target.
struct UndoPlan
{
    QString target;      // absolute, links resolved
    QString identity;    // the target folder's (FileSystem::FolderIdentity); empty: unknown
    QStringList names;   // inside target, in the order made
    QString journalPath; // the journal of that run; empty: none
    QString runId;
    // The names are every folder the run made; false for a journal without its end line
    // (the run was killed, or its journal could not be written to the end): folders made
    // after the last one named may remain.
    bool complete = true;
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

    // The target folder as the undo found it; with anything but Opened nothing was tried.
    TargetState target = TargetState::Opened;
    QString targetText; // the system's words, with TargetState::Other
    qint64 removed = 0; // with a dry run: would be removed
    qint64 kept = 0;
    qint64 notTried = 0; // left when the undo was stopped, or the target not opened
    bool stopped = false;
    std::map<KeptReason, qint64> keptByReason;
    QList<Kept> keptItems; // the first kNameCap, newest first
    QStringList left;      // every name not removed, in the order made
    bool journalUpdated = false;
};

// What an undo tells as it goes, and asks.
class UndoObserver
{
public:
    virtual ~UndoObserver() = default;
    // Before each folder, newest first, with how many were tried before it.
    virtual void Removing(const QString& name, qint64 tried)
    {
        Q_UNUSED(name);
        Q_UNUSED(tried);
    }
    // After each folder, with what became of it.
    virtual void Removed(const QString& name, const RemoveResult& result)
    {
        Q_UNUSED(name);
        Q_UNUSED(result);
    }
    // Asked after each folder but the last: true once a stop was asked for.
    virtual bool StopRequested() { return false; }
};

// Takes back the plan's folders, newest first, each only while it is still an empty folder
// inside the target: the target is opened once, without following any link on its way and
// only while it is the folder of the plan's identity, and each folder is removed relative
// to it, one at a time, never recursively, never through a link. A dry run removes nothing
// and says what an undo would do. A real undo records each name removed in record (when
// given: the plan's journal), so that a later undo from it does not count them again.
UndoReport Undo(FileSystem& fileSystem, const UndoPlan& plan, UndoMode mode,
                UndoObserver* observer = nullptr, UndoRecord* record = nullptr);

} // namespace kovaldi
